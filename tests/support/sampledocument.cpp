#include "support/sampledocument.h"

#include "docmodel/docpicture.h"
#include "docmodel/docproperties.h"
#include "docmodel/eddocument.h"

#include <QBuffer>
#include <QImage>
#include <QTextCursor>
#include <QTextList>
#include <QTextTable>

namespace sampledocument {

namespace {

QByteArray imageBytes(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QImage filled(int width, int height, const QColor& color) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

DocPicture picture(const QByteArray& bytes, const QByteArray& format, const QString& fileName) {
    DocPicture result;
    result.bytes = bytes;
    result.format = format;
    result.fileName = fileName;
    const QImage image = result.image();
    result.width = image.width();
    result.height = image.height();
    return result;
}

} // namespace

QByteArray pngBytes(int width, int height, const QColor& color) {
    return imageBytes(filled(width, height, color), "PNG");
}

QByteArray jpegBytes(int width, int height) {
    return imageBytes(filled(width, height, Qt::blue), "JPEG");
}

QByteArray orientedJpegBytes(int width, int height, int orientation) {
    QImage image = filled(width, height, Qt::blue);
    for (int y = 0; y < height / 2; ++y) {
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(255, 0, 0));
    }
    QByteArray bytes = imageBytes(image, "JPEG");
    // An APP1 segment right after the start of image: "Exif", a big-endian
    // TIFF header and one IFD with the orientation tag (0x0112, SHORT).
    const char exif[] = {
        '\xFF', '\xE1', 0, 34,   'E', 'x', 'i', 'f', 0, 0,
        'M',    'M',    0, 0x2A, 0,   0,   0,   8,   0, 1,
        1,      0x12,   0, 3,    0,   0,   0,   1,   0, static_cast<char>(orientation),
        0,      0,      0, 0,    0,   0};
    bytes.insert(2, exif, sizeof exif);
    return bytes;
}

QByteArray bmpBytes(int width, int height) {
    return imageBytes(filled(width, height, Qt::green), "BMP");
}

QByteArray gifBytes() {
    static const unsigned char gif[] = {
        'G',  'I',  'F',  '8',  '9',  'a',  0x01, 0x00, 0x01, 0x00, 0x80, 0x00, 0x00, 0xff, 0xff,
        0xff, 0x00, 0x00, 0x00, '!',  0xf9, 0x04, 0x01, 0x00, 0x00, 0x00, 0x00, ',',  0x00, 0x00,
        0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x02, 0x02, 'D',  0x01, 0x00, ';'};
    return QByteArray(reinterpret_cast<const char*>(gif), sizeof(gif));
}

void fillWithEveryKind(EdDocument& document) {
    TDocStyle& style = document.docStyle();
    TTextStyleInfo big;
    big.StyleName = QStringLiteral("Big");
    big.FontName = QStringLiteral("Verdana");
    big.Size = 14;
    big.Style = TTextStyleInfo::fsBold | TTextStyleInfo::fsStrikeOut;
    big.BackColor = QColor(255, 255, 0);
    big.Overline = true;
    big.AllCaps = true;
    big.VAlign = TTextStyleInfo::vsSuperscript;
    const int bigNo = style.TextStyles.findOrAppend(big);
    TParaStyleInfo indented;
    indented.StyleName = QStringLiteral("Indented");
    indented.Alignment = TParaStyleInfo::edaJustify;
    indented.LeftIndent = 20;
    indented.SpaceAfter = 6;
    indented.LineSpacing = 150;
    indented.Tabs = {{40}, {80}};
    indented.BiDiMode = TParaStyleInfo::bdRightToLeft;
    indented.BorderWidth = 2;
    indented.BorderColor = QColor(0, 0, 255);
    indented.Background = QColor(240, 240, 255);
    const int indentedNo = style.ParaStyles.findOrAppend(indented);
    TListInfo numbers;
    numbers.StyleName = QStringLiteral("Numbers");
    numbers.ListType = TListInfo::lstDecimal;
    const int numbersNo = style.ListStyles.findOrAppend(numbers);

    QTextCursor cursor(document.textDocument());
    document.insertText(cursor, QStringLiteral("Heading"), 1, QStringLiteral("tag of heading"));
    document.insertText(cursor, QStringLiteral(" plain\ttext "), 0);
    document.insertText(cursor, QStringLiteral("big"), bigNo);
    document.insertText(cursor, QStringLiteral("the shop"), 4,
                        QStringLiteral("http://shop.example/"));
    cursor.insertBlock(style.blockFormat(indentedNo), document.runFormat(3));
    document.insertText(cursor, QStringLiteral("Indented \u00a3 \u20ac \u0416"), 3);
    document.insertPicture(cursor, picture(pngBytes(), "png", QStringLiteral("/pics/My Sky.png")));
    document.insertPicture(cursor, picture(gifBytes(), "gif", QString()));
    document.insertAnchor(cursor, QStringLiteral("details"));
    cursor.insertBlock(style.blockFormat(0), document.runFormat(0));
    cursor.createList(style.listFormat(numbersNo, 0));
    document.insertText(cursor, QStringLiteral("first"), 0);
    cursor.insertBlock();
    document.insertText(cursor, QStringLiteral("second"), 0);
    cursor.insertBlock(style.blockFormat(1), document.runFormat(0));
    document.insertHLine(cursor, QColor(128, 0, 0), 2);
    document.insertPageBreak(cursor);
    document.insertText(cursor, QStringLiteral("after the break"), 2);
    cursor.insertBlock(style.blockFormat(0), document.runFormat(0));
    QTextTable* table = document.insertTable(cursor, 2, 3);
    table->mergeCells(0, 1, 1, 2);
    QTextTableFormat tableFormat = table->format();
    tableFormat.setColumnWidthConstraints({QTextLength(QTextLength::FixedLength, 80),
                                           QTextLength(QTextLength::PercentageLength, 30),
                                           QTextLength()});
    table->setFormat(tableFormat);
    document.insertText(cursor, QStringLiteral("cell"), 0);
    cursor = table->cellAt(0, 1).firstCursorPosition();
    document.insertText(cursor, QStringLiteral("merged"), 2);
    QTextTableCell shaded = table->cellAt(1, 0);
    QTextCharFormat shadedFormat = shaded.format();
    shadedFormat.setBackground(QColor(0xDD, 0xEB, 0xF7));
    shadedFormat.setVerticalAlignment(QTextCharFormat::AlignBottom);
    docprop::setCellBorder(shadedFormat, docprop::CellLeft,
                           {2, QTextFrameFormat::BorderStyle_Dashed, QColor(255, 0, 0)});
    docprop::setCellBorder(shadedFormat, docprop::CellBottom,
                           {1, QTextFrameFormat::BorderStyle_Solid, QColor()});
    shaded.setFormat(shadedFormat);
    cursor = table->cellAt(1, 2).firstCursorPosition();
    QTextTable* inner = document.insertTable(cursor, 1, 1);
    Q_UNUSED(inner);
    document.insertText(cursor, QStringLiteral("nested"), 0);
    cursor.movePosition(QTextCursor::End);
    document.insertText(cursor, QStringLiteral("end"), 0);
    document.setBackgroundColor(QColor(255, 250, 240));
    document.setMargins(QMargins(10, 20, 30, 40));
}

} // namespace sampledocument

namespace sampledocument {

namespace {

QString colorText(const QColor& color) {
    return color.isValid() ? color.name(QColor::HexArgb) : QStringLiteral("none");
}

QString brushText(const QBrush& brush) {
    if (brush.style() == Qt::NoBrush)
        return QStringLiteral("none");
    return brush.color().isValid() ? brush.color().name(QColor::HexArgb)
                                   : QStringLiteral("invalid colour");
}

void dumpStyles(const TDocStyle& style, QStringList& out) {
    for (int i = 0; i < style.TextStyles.count(); ++i) {
        const TTextStyleInfo& s = style.TextStyles.at(i);
        out << QStringLiteral("text style %1: %2 %3 %4 %5 %6 %7 %8%9 %10 %11 %12")
                   .arg(i)
                   .arg(s.StyleName, s.FontName)
                   .arg(s.Size)
                   .arg(s.Style)
                   .arg(colorText(s.Color), colorText(s.BackColor))
                   .arg(s.Overline)
                   .arg(s.AllCaps)
                   .arg(s.VAlign)
                   .arg(s.Jump)
                   .arg(s.NonLinkStyleNo);
    }
    for (int i = 0; i < style.ParaStyles.count(); ++i) {
        const TParaStyleInfo& s = style.ParaStyles.at(i);
        QStringList tabs;
        for (const TParaStyleInfo::Tab& tab : s.Tabs)
            tabs << QString::number(tab.Position);
        out << QStringLiteral(
                   "para style %1: %2 %3 [%4] %5 %6 %7 %8 %9 %10 %11 dir %12 border %13 %14")
                   .arg(i)
                   .arg(s.StyleName)
                   .arg(s.Alignment)
                   .arg(tabs.join(QLatin1Char(',')))
                   .arg(s.LeftIndent)
                   .arg(s.RightIndent)
                   .arg(s.FirstIndent)
                   .arg(s.SpaceBefore)
                   .arg(s.SpaceAfter)
                   .arg(s.LineSpacing)
                   .arg(colorText(s.Background))
                   .arg(s.BiDiMode)
                   .arg(s.BorderWidth)
                   .arg(colorText(s.BorderColor));
    }
    for (int i = 0; i < style.ListStyles.count(); ++i) {
        const TListInfo& s = style.ListStyles.at(i);
        out << QStringLiteral("list style %1: %2 %3 %4 %5 %6")
                   .arg(i)
                   .arg(s.StyleName)
                   .arg(s.ListType)
                   .arg(s.BulletText)
                   .arg(s.StartFrom)
                   .arg(s.IndentStep);
    }
}

void dumpContainer(const TCustomDocData& data, const QString& indent, QStringList& out) {
    for (const DocItem& item : data.items()) {
        QString line =
            indent + (item.startsParagraph ? QStringLiteral("| ") : QStringLiteral("  "));
        if (item.startsParagraph && item.kind != DocItem::Table) {
            const QTextList* list = item.block.textList();
            line += QStringLiteral("para %1 list %2/%3 ")
                        .arg(item.block.blockFormat().intProperty(docprop::ParaNo))
                        .arg(list ? list->format().intProperty(docprop::ListNo) : -1)
                        .arg(list ? list->format().intProperty(docprop::ListLevel) : -1);
        }
        switch (item.kind) {
        case DocItem::Text:
            line +=
                QStringLiteral("text %1 '%2' '%3'").arg(item.styleNo()).arg(item.tag(), item.text);
            break;
        case DocItem::Picture: {
            const DocPicture p = DocPicture::fromFormat(item.format.toImageFormat());
            line += QStringLiteral("picture %1 %2 bytes '%3' %4x%5 %6 '%7' %8")
                        .arg(QString::fromLatin1(p.format))
                        .arg(p.bytes.size())
                        .arg(p.fileName)
                        .arg(p.width)
                        .arg(p.height)
                        .arg(p.vAlign)
                        .arg(p.tag)
                        .arg(p.jump);
            if (p.isOnWeb())
                line += QStringLiteral(" web ") + p.address;
            break;
        }
        case DocItem::Table: {
            const QTextTableFormat f = item.table->format();
            line += QStringLiteral("table %1x%2 border %3 %4 padding %5 spacing %6 background %7 "
                                   "width %8/%9 columns")
                        .arg(item.table->rows())
                        .arg(item.table->columns())
                        .arg(f.border())
                        .arg(brushText(f.borderBrush()))
                        .arg(f.cellPadding())
                        .arg(f.cellSpacing())
                        .arg(brushText(f.background()))
                        .arg(f.width().type())
                        .arg(f.width().rawValue());
            for (const QTextLength& width : f.columnWidthConstraints())
                line += QStringLiteral(" %1/%2").arg(width.type()).arg(width.rawValue());
            out << line;
            for (int r = 0; r < item.table->rows(); ++r) {
                for (int c = 0; c < item.table->columns(); ++c) {
                    const QTextTableCell cell = item.table->cellAt(r, c);
                    if (cell.row() != r || cell.column() != c)
                        continue;
                    const QBrush background = cell.format().background();
                    QString borders;
                    for (int side = docprop::CellLeft; side <= docprop::CellBottom; ++side) {
                        const docprop::CellBorder border = docprop::cellBorder(cell.format(), side);
                        borders += QStringLiteral(" %1/%2/%3")
                                       .arg(border.width)
                                       .arg(border.style)
                                       .arg(colorText(border.color));
                    }
                    out << indent +
                               QStringLiteral("  cell %1,%2 span %3x%4 valign %5 background %6 "
                                              "borders%7")
                                   .arg(r)
                                   .arg(c)
                                   .arg(cell.rowSpan())
                                   .arg(cell.columnSpan())
                                   .arg(cell.format().verticalAlignment())
                                   .arg(brushText(background))
                                   .arg(borders);
                    dumpContainer(TCustomDocData(item.table, r, c), indent + QStringLiteral("    "),
                                  out);
                }
            }
            continue;
        }
        case DocItem::HLine:
            line += QStringLiteral("hline %1 %2")
                        .arg(colorText(item.block.blockFormat().colorProperty(docprop::HLineColor)))
                        .arg(item.block.blockFormat().intProperty(docprop::HLineWidth));
            break;
        case DocItem::PageBreak:
            line += QStringLiteral("pagebreak");
            break;
        case DocItem::Anchor:
            line +=
                QStringLiteral("anchor '%1'").arg(item.format.stringProperty(docprop::AnchorName));
            break;
        }
        out << line;
    }
}

} // namespace

QString dump(const EdDocument& document) {
    QStringList out;
    dumpStyles(document.docStyle(), out);
    const QMargins m = document.margins();
    out << QStringLiteral("background %1, picture %2 bytes; margins %3 %4 %5 %6")
               .arg(colorText(document.backgroundColor()))
               .arg(document.backgroundPicture().bytes.size())
               .arg(m.left())
               .arg(m.top())
               .arg(m.right())
               .arg(m.bottom());
    dumpContainer(document.rootData(), QString(), out);
    return out.join(QLatin1Char('\n'));
}

} // namespace sampledocument
