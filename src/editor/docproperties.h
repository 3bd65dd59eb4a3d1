#pragma once

#include <QTextFormat>

/// Our own properties on the formats of the underlying QTextDocument. They
/// carry the item model (style numbers, tags, pictures) inside the text, so
/// undo, copy and paste keep it with the characters it belongs to.
namespace docprop {

enum : int {
    StyleNo = QTextFormat::UserProperty + 1,       // char format: index in TextStyles
    Tag = QTextFormat::UserProperty + 2,           // char/image format: the item's tag
    PictureBytes = QTextFormat::UserProperty + 3,  // image format: original file bytes
    PictureFormat = QTextFormat::UserProperty + 4, // image format: "png", "jpeg", "gif"...
    PictureFile = QTextFormat::UserProperty + 5,   // image format: stored source file name
    PictureJump = QTextFormat::UserProperty + 6,   // image format: the picture is a link
    PictureVAlign = QTextFormat::UserProperty + 7, // image format: TPictureVAlign
    ParaNo = QTextFormat::UserProperty + 10,       // block format: index in ParaStyles
    ListNo = QTextFormat::UserProperty + 11,       // list format: index in ListStyles
    ListLevel = QTextFormat::UserProperty + 12,    // list format: nesting level from 0
    HLineColor = QTextFormat::UserProperty + 13,   // block format of a horizontal line
    HLineWidth = QTextFormat::UserProperty + 14,   // block format: line thickness
    AnchorName = QTextFormat::UserProperty + 15,   // anchor object: its name
};

/// Object type of a named anchor (one object character in the text).
constexpr int AnchorObject = QTextFormat::UserObject + 1;

/// Prefix of the resource names under which pictures are shown.
inline QString pictureResourcePrefix() {
    return QStringLiteral("vdoc-picture:");
}

} // namespace docprop

#include <QTextBlockFormat>
#include <QTextCharFormat>

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

} // namespace docprop
