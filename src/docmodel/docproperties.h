#pragma once

#include <QTextFormat>

/// Our own properties on the formats of the underlying QTextDocument. They
/// carry the item model (style numbers, tags, pictures) inside the text, so
/// undo, copy and paste keep it with the characters it belongs to.
namespace docprop {

enum : int {
    StyleNo = QTextFormat::UserProperty + 1,          // char format: index in TextStyles
    Tag = QTextFormat::UserProperty + 2,              // char/image format: the item's tag
    PictureBytes = QTextFormat::UserProperty + 3,     // image format: original file bytes
    PictureFormat = QTextFormat::UserProperty + 4,    // image format: "png", "jpeg", "gif"...
    PictureFile = QTextFormat::UserProperty + 5,      // image format: stored source file name
    PictureJump = QTextFormat::UserProperty + 6,      // image format: the picture is a link
    PictureVAlign = QTextFormat::UserProperty + 7,    // image format: TPictureVAlign
    ParaNo = QTextFormat::UserProperty + 10,          // block format: index in ParaStyles
    ListNo = QTextFormat::UserProperty + 11,          // list format: index in ListStyles
    ListLevel = QTextFormat::UserProperty + 12,       // list format: nesting level from 0
    HLineColor = QTextFormat::UserProperty + 13,      // block format of a horizontal line
    HLineWidth = QTextFormat::UserProperty + 14,      // block format: line thickness
    AnchorName = QTextFormat::UserProperty + 15,      // anchor object: its name
    ParaBorderWidth = QTextFormat::UserProperty + 16, // block format: frame the editor draws
    ParaBorderColor = QTextFormat::UserProperty + 17, // block format: its colour
    PictureAddress = QTextFormat::UserProperty + 18,  // image format: its web address
};

/// Object type of a named anchor (one object character in the text).
constexpr int AnchorObject = QTextFormat::UserObject + 1;

/// Prefix of the resource names under which pictures are shown.
inline QString pictureResourcePrefix() {
    return QStringLiteral("vdoc-picture:");
}

/// Prefix of the resource names under which pictures on the web are shown:
/// their picture changes when it arrives, their name stays.
inline QString webPictureResourcePrefix() {
    return QStringLiteral("vdoc-web-picture:");
}

} // namespace docprop

#include <QColor>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextFrameFormat>

namespace docprop {

/// The format to give a paragraph's empty text. The first paragraph of a
/// table cell shares it with the cell (span, background, alignment), so
/// there the run's properties are laid over the cell's, whose background
/// stays.
inline QTextCharFormat blockRunFormat(const QTextCharFormat& current, const QTextCharFormat& run) {
    if (!current.isTableCellFormat())
        return run;
    QTextCharFormat merged = current;
    QTextCharFormat laid = run;
    laid.clearBackground();
    merged.merge(laid);
    return merged;
}

/// The ruler width that makes a paragraph a horizontal line. It is zero, so
/// the text layout draws no hairline of its own: the editor draws the line
/// in the colour and thickness the export gives it.
inline QTextLength lineRuler() {
    return QTextLength(QTextLength::FixedLength, 0);
}

/// The colour and thickness a horizontal line is drawn and exported with.
inline QColor hLineColor(const QTextBlockFormat& format) {
    return format.hasProperty(HLineColor) ? format.colorProperty(HLineColor)
                                          : QColor(128, 128, 128);
}
inline int hLineWidth(const QTextBlockFormat& format) {
    return qMax(1, format.intProperty(HLineWidth));
}

/// Carries what makes a paragraph a page break, a horizontal line or a list
/// item over to a paragraph format rebuilt from its style.
inline void keepBlockKind(const QTextBlockFormat& from, QTextBlockFormat& to) {
    to.setPageBreakPolicy(from.pageBreakPolicy());
    for (int property : {int(QTextFormat::BlockTrailingHorizontalRulerWidth), int(HLineColor),
                         int(HLineWidth), int(QTextFormat::ObjectIndex)}) {
        if (from.hasProperty(property))
            to.setProperty(property, from.property(property));
    }
}

/// Takes off a paragraph format what belongs to the one place it was put
/// (a page break before it, a horizontal line), for a paragraph that only
/// copied it; true when there was something to take.
inline bool dropBlockKind(QTextBlockFormat& format) {
    bool dropped = false;
    for (int property :
         {int(QTextFormat::PageBreakPolicy), int(QTextFormat::BlockTrailingHorizontalRulerWidth),
          int(HLineColor), int(HLineWidth)}) {
        if (format.hasProperty(property)) {
            format.clearProperty(property);
            dropped = true;
        }
    }
    return dropped;
}

/// The sides of a table cell, in the order the file keeps their borders.
enum CellSide { CellLeft, CellTop, CellRight, CellBottom };

/// A border on one side of one cell, drawn by the text layout over the
/// table's own grid. Width 0 is no border of the cell's own.
struct CellBorder {
    int width = 0;
    QTextFrameFormat::BorderStyle style = QTextFrameFormat::BorderStyle_Solid;
    QColor color; // invalid: the layout's default
    bool operator==(const CellBorder& other) const {
        return width == other.width && style == other.style && color == other.color;
    }
};

inline void cellBorderProperties(int side, int& width, int& style, int& brush) {
    static const int widths[] = {QTextFormat::TableCellLeftBorder, QTextFormat::TableCellTopBorder,
                                 QTextFormat::TableCellRightBorder,
                                 QTextFormat::TableCellBottomBorder};
    static const int styles[] = {
        QTextFormat::TableCellLeftBorderStyle, QTextFormat::TableCellTopBorderStyle,
        QTextFormat::TableCellRightBorderStyle, QTextFormat::TableCellBottomBorderStyle};
    static const int brushes[] = {
        QTextFormat::TableCellLeftBorderBrush, QTextFormat::TableCellTopBorderBrush,
        QTextFormat::TableCellRightBorderBrush, QTextFormat::TableCellBottomBorderBrush};
    width = widths[side];
    style = styles[side];
    brush = brushes[side];
}

inline CellBorder cellBorder(const QTextFormat& cell, int side) {
    int width, style, brush;
    cellBorderProperties(side, width, style, brush);
    CellBorder border;
    if (!cell.hasProperty(width))
        return border;
    border.width = qRound(qBound(0.0, cell.doubleProperty(width), 1e6));
    if (cell.hasProperty(style))
        border.style = QTextFrameFormat::BorderStyle(
            qBound(0, cell.intProperty(style), int(QTextFrameFormat::BorderStyle_Outset)));
    if (cell.brushProperty(brush).style() != Qt::NoBrush)
        border.color = cell.brushProperty(brush).color();
    return border;
}

/// Sets one side's border; width 0 takes the cell's own border off, so the
/// table's grid shows there again.
inline void setCellBorder(QTextFormat& cell, int side, const CellBorder& border) {
    int width, style, brush;
    cellBorderProperties(side, width, style, brush);
    if (border.width <= 0) {
        cell.clearProperty(width);
        cell.clearProperty(style);
        cell.clearProperty(brush);
        return;
    }
    cell.setProperty(width, qreal(border.width));
    cell.setProperty(style, int(border.style));
    if (border.color.isValid())
        cell.setProperty(brush, QBrush(border.color));
    else
        cell.clearProperty(brush);
}

} // namespace docprop
