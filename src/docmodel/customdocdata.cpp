#include "docmodel/customdocdata.h"

#include "docmodel/docproperties.h"

#include <QTextDocument>

namespace {

void appendBlockItems(const QTextBlock& block, QList<DocItem>& items) {
    const int first = static_cast<int>(items.size());
    const QTextBlockFormat blockFormat = block.blockFormat();
    if (blockFormat.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore) {
        DocItem item;
        item.kind = DocItem::PageBreak;
        item.position = block.position();
        item.block = block;
        items.append(item);
    }
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const QTextCharFormat format = fragment.charFormat();
        const bool isObject =
            format.isImageFormat() || format.objectType() == docprop::AnchorObject;
        if (!isObject) {
            DocItem item;
            item.position = fragment.position();
            item.length = fragment.length();
            item.block = block;
            item.format = format;
            item.text = fragment.text();
            items.append(item);
            continue;
        }
        // Equal pictures next to each other share one fragment.
        for (int i = 0; i < fragment.length(); ++i) {
            DocItem item;
            item.kind = format.isImageFormat() ? DocItem::Picture : DocItem::Anchor;
            item.position = fragment.position() + i;
            item.length = 1;
            item.block = block;
            item.format = format;
            items.append(item);
        }
    }
    // Text typed on a line stands above it, as it is shown: the line comes
    // last in its paragraph.
    if (blockFormat.hasProperty(QTextFormat::BlockTrailingHorizontalRulerWidth)) {
        DocItem item;
        item.kind = DocItem::HLine;
        item.position = block.position() + block.length() - 1;
        item.block = block;
        items.append(item);
    } else if (items.size() == first ||
               (items.size() == first + 1 && items.last().kind == DocItem::PageBreak)) {
        // An empty paragraph is one empty text run in the paragraph's style.
        DocItem item;
        item.position = block.position();
        item.block = block;
        item.format = block.charFormat();
        items.append(item);
    }
    items[first].startsParagraph = true;
}

void appendFrameItems(QTextFrame::iterator it, QList<DocItem>& items) {
    for (; !it.atEnd(); ++it) {
        if (QTextFrame* frame = it.currentFrame()) {
            if (auto* table = qobject_cast<QTextTable*>(frame)) {
                DocItem item;
                item.kind = DocItem::Table;
                item.startsParagraph = true;
                item.position = table->firstPosition();
                item.length = table->lastPosition() - table->firstPosition();
                item.table = table;
                items.append(item);
            } else {
                appendFrameItems(frame->begin(), items);
            }
        } else if (it.currentBlock().isValid()) {
            appendBlockItems(it.currentBlock(), items);
        }
    }
}

} // namespace

TCustomDocData::TCustomDocData(QTextDocument* document)
    : m_document(document) {}

TCustomDocData::TCustomDocData(QTextTable* table, int row, int column)
    : m_document(table ? table->document() : nullptr)
    , m_table(table)
    , m_row(row)
    , m_column(column) {
    // A cell covered by a span belongs to the cell that spans it.
    const QTextTableCell cell = table ? table->cellAt(row, column) : QTextTableCell();
    if (cell.isValid()) {
        m_row = cell.row();
        m_column = cell.column();
    }
}

bool TCustomDocData::isValid() const {
    if (!m_document)
        return false;
    return isRoot() || m_table->cellAt(m_row, m_column).isValid();
}

QList<DocItem> TCustomDocData::items() const {
    QList<DocItem> result;
    if (!isValid())
        return result;
    if (isRoot())
        appendFrameItems(m_document->rootFrame()->begin(), result);
    else
        appendFrameItems(m_table->cellAt(m_row, m_column).begin(), result);
    return result;
}

bool TCustomDocData::item(int itemNo, DocItem& result) const {
    const QList<DocItem> all = items();
    if (itemNo < 0 || itemNo >= all.size())
        return false;
    result = all.at(itemNo);
    return true;
}

bool TCustomDocData::operator==(const TCustomDocData& other) const {
    return m_document == other.m_document && m_table == other.m_table &&
           (isRoot() || (m_row == other.m_row && m_column == other.m_column));
}
