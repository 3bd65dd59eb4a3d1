#include "docmodel/vdocreader.h"

#include "docmodel/docproperties.h"
#include "docmodel/eddocument.h"
#include "docmodel/vdocformat.h"
#include "docmodel/zlibcodec.h"
#include "platform/safefile.h"

#include <QTextList>
#include <QTextTable>

using namespace vdocformat;

namespace {

/// Characters that would change the structure of the text instead of being
/// text: paragraph and frame boundaries, object characters, line breaks.
bool isPlainText(const QString& text) {
    for (QChar ch : text) {
        const char16_t code = ch.unicode();
        if (code == u'\n' || code == u'\r' || code == QChar::ParagraphSeparator ||
            isStrayCharacter(ch))
            return false;
    }
    return true;
}

} // namespace

VDocReader::VDocReader(QByteArrayView payload, EdDocument& document, int version)
    : m_in(payload)
    , m_document(document)
    , m_version(version) {}

bool VDocReader::read(QByteArrayView file, EdDocument& document) {
    ByteReader header(file);
    const QByteArray magic = header.bytesOfSize(4);
    const quint16 version = header.u16();
    header.u16();
    const quint32 size = header.u32();
    if (!header.ok() || magic != vdocformat::magic() || version < kOldestVersion ||
        version > kVersion || static_cast<qsizetype>(size) > kMaxPayload)
        return false;
    QByteArray payload;
    if (!zlibcodec::decompress(file.sliced(kHeaderSize), static_cast<qsizetype>(size), payload))
        return false;
    QTextDocument* text = document.textDocument();
    const bool undo = text->isUndoRedoEnabled();
    text->setUndoRedoEnabled(false);
    VDocReader reader(payload, document, version);
    const bool ok = reader.readPayload();
    text->setUndoRedoEnabled(undo);
    return ok;
}

bool VDocReader::readFile(const QString& fileName, EdDocument& document) {
    QByteArray bytes;
    return readWholeFile(fileName, bytes) && read(bytes, document);
}

bool VDocReader::readPayload() {
    TDocStyle style = m_document.docStyle();
    if (!readStyles(style))
        return false;
    m_document.setDocStyle(style);
    if (!readLayout() || !readLists())
        return false;
    QTextCursor cursor(m_document.textDocument());
    // One edit for the whole document: it is laid out once, at the end,
    // instead of after every piece of text.
    cursor.beginEditBlock();
    const bool read = readContainer(cursor, 0) && m_in.atEnd();
    cursor.endEditBlock();
    return read;
}

bool VDocReader::readStyles(TDocStyle& style) {
    style.TextStyles.clear();
    for (int i = m_in.count(23); i > 0 && m_in.ok(); --i) {
        TTextStyleInfo& info = style.TextStyles.add();
        info.StyleName = m_in.string();
        info.FontName = m_in.string();
        info.Size = m_in.bounded(1, kMaxFontSize);
        info.Style = m_in.code(16);
        info.Color = m_in.color();
        info.BackColor = m_in.color();
        info.Overline = m_in.boolean();
        info.AllCaps = m_in.boolean();
        info.VAlign = static_cast<TTextStyleInfo::VShift>(m_in.code(3));
        info.Jump = m_in.boolean();
        info.NonLinkStyleNo = m_in.i32();
    }
    style.ParaStyles.clear();
    for (int i = m_in.count(34); i > 0 && m_in.ok(); --i) {
        TParaStyleInfo& info = style.ParaStyles.add();
        info.StyleName = m_in.string();
        info.Alignment = static_cast<TParaStyleInfo::TAlignment>(m_in.code(4));
        for (int tab = m_in.count(4); tab > 0 && m_in.ok(); --tab)
            info.Tabs.append(TParaStyleInfo::Tab{m_in.bounded(0, kMaxMeasure)});
        info.LeftIndent = m_in.bounded(-kMaxMeasure, kMaxMeasure);
        info.RightIndent = m_in.bounded(-kMaxMeasure, kMaxMeasure);
        info.FirstIndent = m_in.bounded(-kMaxMeasure, kMaxMeasure);
        info.SpaceBefore = m_in.bounded(0, kMaxMeasure);
        info.SpaceAfter = m_in.bounded(0, kMaxMeasure);
        info.LineSpacing = m_in.bounded(kMinLineSpacing, kMaxLineSpacing);
        info.Background = m_in.color();
        if (m_version >= 3) {
            info.BiDiMode = static_cast<TParaStyleInfo::TBiDiMode>(m_in.code(3));
            info.BorderWidth = m_in.bounded(0, kMaxBorder);
            info.BorderColor = m_in.color();
            if (info.BorderWidth == 0)
                info.BorderColor = QColor();
        }
    }
    style.ListStyles.clear();
    for (int i = m_in.count(17); i > 0 && m_in.ok(); --i) {
        TListInfo& info = style.ListStyles.add();
        info.StyleName = m_in.string();
        info.ListType = static_cast<TListInfo::TListType>(m_in.code(6));
        info.BulletText = m_in.string();
        info.StartFrom = m_in.bounded(0, kMaxMeasure);
        info.IndentStep = m_in.bounded(0, kMaxMeasure);
    }
    return m_in.ok();
}

bool VDocReader::readLayout() {
    const QColor background = m_in.color();
    DocPicture picture;
    if (m_in.boolean() && !readPicture(picture))
        return false;
    QMargins margins;
    margins.setLeft(m_in.bounded(0, kMaxMeasure));
    margins.setTop(m_in.bounded(0, kMaxMeasure));
    margins.setRight(m_in.bounded(0, kMaxMeasure));
    margins.setBottom(m_in.bounded(0, kMaxMeasure));
    if (!m_in.ok())
        return false;
    m_document.setBackgroundColor(background);
    m_document.setBackgroundPicture(picture);
    m_document.setMargins(margins);
    return true;
}

bool VDocReader::readLists() {
    for (int i = m_in.count(8); i > 0 && m_in.ok(); --i) {
        const int listNo = m_in.i32();
        const int level = m_in.bounded(0, kMaxListLevel);
        m_lists.append(ListSlot{m_document.docStyle().listFormat(listNo, level), nullptr});
    }
    return m_in.ok();
}

bool VDocReader::readContainer(QTextCursor& cursor, int depth) {
    if (depth > kMaxNesting)
        return false;
    bool blockUsed = false;
    for (int i = m_in.count(2); i > 0 && m_in.ok(); --i) {
        const quint8 code = m_in.u8();
        const bool startsParagraph = m_in.code(2) & kStartsParagraph;
        if (!m_in.ok())
            return false;
        if (code == ItemTable) {
            if (!readTable(cursor, depth))
                return false;
            blockUsed = false;
            continue;
        }
        if (startsParagraph ? !readParagraph(cursor, blockUsed) : !blockUsed)
            return false;
        if (!readItem(code, cursor))
            return false;
    }
    return m_in.ok();
}

bool VDocReader::readParagraph(QTextCursor& cursor, bool& blockUsed) {
    const int paraNo = m_in.i32();
    const int listId = m_in.bounded(-1, static_cast<int>(m_lists.size()) - 1);
    if (!m_in.ok())
        return false;
    const QTextBlockFormat format = m_document.docStyle().blockFormat(paraNo);
    if (blockUsed)
        cursor.insertBlock(format, m_document.runFormat(0));
    else
        cursor.setBlockFormat(format);
    blockUsed = true;
    if (listId >= 0) {
        ListSlot& slot = m_lists[listId];
        if (slot.list)
            slot.list->add(cursor.block());
        else
            slot.list = cursor.createList(slot.format);
    }
    return true;
}

bool VDocReader::readItem(quint8 code, QTextCursor& cursor) {
    switch (code) {
    case ItemText:
        return readText(cursor);
    case ItemPicture: {
        DocPicture picture;
        if (!readPicture(picture))
            return false;
        m_document.insertPicture(cursor, picture);
        return true;
    }
    case ItemHLine: {
        QTextBlockFormat format = cursor.blockFormat();
        format.setProperty(QTextFormat::BlockTrailingHorizontalRulerWidth, docprop::lineRuler());
        const QColor color = m_in.color();
        if (color.isValid())
            format.setProperty(docprop::HLineColor, color);
        format.setProperty(docprop::HLineWidth, m_in.bounded(0, kMaxBorder));
        cursor.setBlockFormat(format);
        return m_in.ok();
    }
    case ItemPageBreak: {
        QTextBlockFormat format = cursor.blockFormat();
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        cursor.setBlockFormat(format);
        return true;
    }
    case ItemAnchor: {
        const QString name = m_in.string();
        if (m_in.ok())
            m_document.insertAnchor(cursor, name);
        return m_in.ok();
    }
    }
    return false;
}

bool VDocReader::readText(QTextCursor& cursor) {
    const int styleNo = m_in.i32();
    const QString tag = m_in.string();
    const QString text = m_in.string();
    if (!m_in.ok() || !isPlainText(text))
        return false;
    if (text.isEmpty())
        cursor.setBlockCharFormat(
            docprop::blockRunFormat(cursor.blockCharFormat(), m_document.runFormat(styleNo, tag)));
    else
        m_document.insertText(cursor, text, styleNo, tag);
    return true;
}

bool VDocReader::readPicture(DocPicture& picture) {
    picture.bytes = m_in.bytes();
    picture.format = m_in.bytes();
    picture.fileName = m_in.string();
    picture.width = m_in.bounded(0, kMaxMeasure);
    picture.height = m_in.bounded(0, kMaxMeasure);
    picture.vAlign = static_cast<DocPicture::TVAlign>(m_in.code(3));
    picture.tag = m_in.string();
    picture.jump = m_in.boolean();
    if (m_version >= 4) {
        picture.address = m_in.string();
        // Only a web address is shown from the web: anything else would
        // have the editor fetch from wherever a file points it.
        if (!picture.address.isEmpty() &&
            DocPicture::webAddress(picture.address) != picture.address)
            return false;
    }
    return m_in.ok() && picture.format.size() <= 16;
}

bool VDocReader::readTable(QTextCursor& cursor, int depth) {
    const int rows = m_in.bounded(1, kMaxTableSide);
    const int columns = m_in.bounded(1, kMaxTableSide);
    QTextTableFormat format;
    format.setBorder(m_in.bounded(0, kMaxBorder));
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    const QColor borderColor = m_in.color();
    if (borderColor.isValid())
        format.setBorderBrush(borderColor);
    format.setCellPadding(m_in.bounded(0, kMaxCellSpace));
    format.setCellSpacing(m_in.bounded(0, kMaxCellSpace));
    const QColor background = m_in.color();
    if (background.isValid())
        format.setBackground(background);
    static const Qt::Alignment alignments[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    format.setAlignment(alignments[m_in.code(3)]);
    const auto widthType = static_cast<QTextLength::Type>(m_in.code(3));
    const int width = m_in.bounded(0, kMaxMeasure);
    if (widthType != QTextLength::VariableLength)
        format.setWidth(QTextLength(widthType, width));
    if (m_version >= 2) {
        const int count = m_in.count(5);
        if (count != 0 && count != columns)
            return false;
        QList<QTextLength> widths;
        for (int column = 0; column < count && m_in.ok(); ++column) {
            const auto type = static_cast<QTextLength::Type>(m_in.code(3));
            widths.append(QTextLength(type, m_in.bounded(0, kMaxMeasure)));
        }
        format.setColumnWidthConstraints(widths);
    }
    // The grid is made only once the stored cells say it may be that large.
    const int count = m_in.count(22);
    if (!m_in.ok() || !tableGridFits(rows, columns, count))
        return false;
    QTextTable* table = cursor.insertTable(rows, columns, format);
    if (!readCells(table, count, depth))
        return false;
    cursor = table->lastCursorPosition();
    cursor.movePosition(QTextCursor::NextBlock);
    return true;
}

bool VDocReader::readCells(QTextTable* table, int count, int depth) {
    const int rows = table->rows();
    const int columns = table->columns();
    QList<bool> covered(qsizetype(rows) * columns, false);
    qsizetype previous = -1;
    for (int i = 0; i < count; ++i) {
        const int row = m_in.bounded(0, rows - 1);
        const int column = m_in.bounded(0, columns - 1);
        const int rowSpan = m_in.bounded(1, rows - row);
        const int columnSpan = m_in.bounded(1, columns - column);
        const QColor background = m_in.color();
        const int vAlign = m_in.code(QTextCharFormat::AlignBaseline + 1);
        docprop::CellBorder borders[4];
        for (int side = 0; m_version >= 3 && side < 4; ++side) {
            borders[side].width = m_in.bounded(0, kMaxBorder);
            borders[side].style = static_cast<QTextFrameFormat::BorderStyle>(
                m_in.code(QTextFrameFormat::BorderStyle_Outset + 1));
            borders[side].color = m_in.color();
        }
        const qsizetype index = qsizetype(row) * columns + column;
        if (!m_in.ok() || index <= previous)
            return false;
        previous = index;
        for (int r = row; r < row + rowSpan; ++r) {
            for (int c = column; c < column + columnSpan; ++c) {
                if (covered[qsizetype(r) * columns + c])
                    return false;
                covered[qsizetype(r) * columns + c] = true;
            }
        }
        if (rowSpan > 1 || columnSpan > 1)
            table->mergeCells(row, column, rowSpan, columnSpan);
        QTextTableCell cell = table->cellAt(row, column);
        QTextCharFormat cellFormat = cell.format();
        if (background.isValid())
            cellFormat.setBackground(background);
        cellFormat.setVerticalAlignment(static_cast<QTextCharFormat::VerticalAlignment>(vAlign));
        for (int side = 0; side < 4; ++side)
            docprop::setCellBorder(cellFormat, side, borders[side]);
        cell.setFormat(cellFormat);
        QTextCursor content = cell.firstCursorPosition();
        if (!readContainer(content, depth + 1))
            return false;
    }
    return true;
}
