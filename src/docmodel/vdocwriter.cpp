#include "docmodel/vdocwriter.h"

#include "docmodel/docproperties.h"
#include "docmodel/eddocument.h"
#include "docmodel/vdocformat.h"
#include "docmodel/zlibcodec.h"
#include "platform/safefile.h"

#include <QTextList>
#include <QTextTable>

using namespace vdocformat;

QByteArray VDocWriter::write(const EdDocument& document) {
    VDocWriter writer(document);
    const QByteArray body = writer.payload();
    ByteWriter header;
    header.u8('V');
    header.u8('D');
    header.u8('O');
    header.u8('C');
    header.u16(kVersion);
    header.u16(0);
    header.u32(static_cast<quint32>(body.size()));
    return header.data() + zlibcodec::compress(body);
}

void VDocWriter::writeFile(const EdDocument& document, const QString& fileName) {
    writeFileAtomically(fileName, write(document));
}

QByteArray VDocWriter::payload() {
    writeStyles(m_document.docStyle());
    m_out.color(m_document.backgroundColor());
    m_out.boolean(!m_document.backgroundPicture().isEmpty());
    if (!m_document.backgroundPicture().isEmpty())
        writePicture(m_document.backgroundPicture());
    const QMargins margins = m_document.margins();
    for (int side : {margins.left(), margins.top(), margins.right(), margins.bottom()})
        m_out.i32(side);
    writeLists();
    writeContainer(m_document.rootData(), 0);
    return m_out.data();
}

void VDocWriter::writeStyles(const TDocStyle& style) {
    m_out.u32(static_cast<quint32>(style.TextStyles.count()));
    for (int i = 0; i < style.TextStyles.count(); ++i) {
        const TTextStyleInfo& info = style.TextStyles.at(i);
        m_out.string(info.StyleName);
        m_out.string(info.FontName);
        m_out.i32(info.Size);
        m_out.u8(static_cast<quint8>(info.Style));
        m_out.color(info.Color);
        m_out.color(info.BackColor);
        m_out.boolean(info.Overline);
        m_out.boolean(info.AllCaps);
        m_out.u8(info.VAlign);
        m_out.boolean(info.Jump);
        m_out.i32(info.NonLinkStyleNo);
    }
    m_out.u32(static_cast<quint32>(style.ParaStyles.count()));
    for (int i = 0; i < style.ParaStyles.count(); ++i) {
        const TParaStyleInfo& info = style.ParaStyles.at(i);
        m_out.string(info.StyleName);
        m_out.u8(info.Alignment);
        m_out.u32(static_cast<quint32>(info.Tabs.size()));
        for (const TParaStyleInfo::Tab& tab : info.Tabs)
            m_out.i32(tab.Position);
        for (int value : {info.LeftIndent, info.RightIndent, info.FirstIndent, info.SpaceBefore,
                          info.SpaceAfter, info.LineSpacing})
            m_out.i32(value);
        m_out.color(info.Background);
        m_out.u8(info.BiDiMode);
        m_out.i32(info.BorderWidth);
        m_out.color(info.BorderColor);
    }
    m_out.u32(static_cast<quint32>(style.ListStyles.count()));
    for (int i = 0; i < style.ListStyles.count(); ++i) {
        const TListInfo& info = style.ListStyles.at(i);
        m_out.string(info.StyleName);
        m_out.u8(info.ListType);
        m_out.string(info.BulletText);
        m_out.i32(info.StartFrom);
        m_out.i32(info.IndentStep);
    }
}

void VDocWriter::writeLists() {
    // Every list of the document once, numbered in order of appearance, so
    // paragraphs can say which list they belong to.
    QList<QTextList*> lists;
    for (QTextBlock block = m_document.textDocument()->begin(); block.isValid();
         block = block.next()) {
        QTextList* list = block.textList();
        if (list && !m_lists.contains(list)) {
            m_lists.insert(list, static_cast<int>(lists.size()));
            lists.append(list);
        }
    }
    m_out.u32(static_cast<quint32>(lists.size()));
    for (QTextList* list : lists) {
        m_out.i32(list->format().intProperty(docprop::ListNo));
        m_out.i32(list->format().intProperty(docprop::ListLevel));
    }
}

QList<DocItem> VDocWriter::writtenItems(const TCustomDocData& data, int depth) {
    QList<DocItem> items;
    for (const DocItem& item : data.items()) {
        if (item.kind != DocItem::Table || depth < kMaxNesting) {
            items.append(item);
            continue;
        }
        // A table deeper inside tables than the file keeps is written as the
        // content of its cells, one after the other, rather than as a file
        // that cannot be opened again.
        QTextTable* table = item.table;
        for (int row = 0; row < table->rows(); ++row) {
            for (int column = 0; column < table->columns(); ++column) {
                const QTextTableCell cell = table->cellAt(row, column);
                if (cell.row() == row && cell.column() == column)
                    items += writtenItems(TCustomDocData(table, row, column), depth);
            }
        }
    }
    return items;
}

void VDocWriter::writeContainer(const TCustomDocData& data, int depth) {
    const QList<DocItem> items = writtenItems(data, depth);
    m_out.u32(static_cast<quint32>(items.size()));
    for (const DocItem& item : items) {
        static const quint8 codes[] = {ItemText,  ItemPicture,   ItemTable,
                                       ItemHLine, ItemPageBreak, ItemAnchor};
        m_out.u8(codes[item.kind]);
        m_out.u8(item.startsParagraph ? kStartsParagraph : 0);
        if (item.startsParagraph && item.kind != DocItem::Table)
            writeParagraph(item);
        writeItem(item, depth);
    }
}

void VDocWriter::writeParagraph(const DocItem& item) {
    m_out.i32(item.block.blockFormat().intProperty(docprop::ParaNo));
    QTextList* list = item.block.textList();
    m_out.i32(list ? m_lists.value(list, -1) : -1);
}

void VDocWriter::writeItem(const DocItem& item, int depth) {
    switch (item.kind) {
    case DocItem::Text:
        m_out.i32(item.styleNo());
        m_out.string(item.tag());
        m_out.string(item.text);
        break;
    case DocItem::Picture:
        writePicture(DocPicture::fromFormat(item.format.toImageFormat()));
        break;
    case DocItem::Table:
        writeTable(item.table, depth);
        break;
    case DocItem::HLine: {
        const QTextBlockFormat format = item.block.blockFormat();
        m_out.color(format.colorProperty(docprop::HLineColor));
        m_out.i32(format.intProperty(docprop::HLineWidth));
        break;
    }
    case DocItem::PageBreak:
        break;
    case DocItem::Anchor:
        m_out.string(item.format.stringProperty(docprop::AnchorName));
        break;
    }
}

void VDocWriter::writePicture(const DocPicture& picture) {
    m_out.bytes(picture.bytes);
    m_out.bytes(picture.format);
    m_out.string(picture.fileName);
    m_out.i32(picture.width);
    m_out.i32(picture.height);
    m_out.u8(picture.vAlign);
    m_out.string(picture.tag);
    m_out.boolean(picture.jump);
    m_out.string(picture.address);
}

void VDocWriter::writeTable(QTextTable* table, int depth) {
    const QTextTableFormat format = table->format();
    m_out.i32(table->rows());
    m_out.i32(table->columns());
    m_out.i32(qRound(format.border()));
    m_out.color(format.borderBrush().style() != Qt::NoBrush ? format.borderBrush().color()
                                                            : QColor());
    m_out.i32(qRound(format.cellPadding()));
    m_out.i32(qRound(format.cellSpacing()));
    m_out.color(format.background().style() != Qt::NoBrush ? format.background().color()
                                                           : QColor());
    m_out.u8(format.alignment() & Qt::AlignHCenter ? 1
             : format.alignment() & Qt::AlignRight ? 2
                                                   : 0);
    m_out.u8(static_cast<quint8>(format.width().type()));
    m_out.i32(qRound(format.width().rawValue()));
    // One width for every column, or none at all.
    const QList<QTextLength> widths = format.columnWidthConstraints();
    m_out.u32(widths.isEmpty() ? 0 : static_cast<quint32>(table->columns()));
    for (int column = 0; !widths.isEmpty() && column < table->columns(); ++column) {
        const QTextLength width = widths.value(column);
        m_out.u8(static_cast<quint8>(width.type()));
        m_out.i32(qRound(width.rawValue()));
    }
    QList<QTextTableCell> heads;
    for (int row = 0; row < table->rows(); ++row) {
        for (int column = 0; column < table->columns(); ++column) {
            const QTextTableCell cell = table->cellAt(row, column);
            if (cell.row() == row && cell.column() == column)
                heads.append(cell);
        }
    }
    m_out.u32(static_cast<quint32>(heads.size()));
    for (const QTextTableCell& cell : heads) {
        m_out.i32(cell.row());
        m_out.i32(cell.column());
        m_out.i32(cell.rowSpan());
        m_out.i32(cell.columnSpan());
        const QTextCharFormat cellFormat = cell.format();
        m_out.color(cellFormat.background().style() != Qt::NoBrush ? cellFormat.background().color()
                                                                   : QColor());
        m_out.u8(static_cast<quint8>(cellFormat.verticalAlignment()));
        for (int side = docprop::CellLeft; side <= docprop::CellBottom; ++side) {
            const docprop::CellBorder border = docprop::cellBorder(cellFormat, side);
            m_out.i32(qMin(border.width, int(kMaxBorder)));
            m_out.u8(static_cast<quint8>(border.style));
            m_out.color(border.color);
        }
        writeContainer(TCustomDocData(table, cell.row(), cell.column()), depth + 1);
    }
}
