#include "docmodel/importadopter.h"

#include "docmodel/docproperties.h"
#include "docmodel/vdocformat.h"

#include <QSet>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTextList>
#include <QTextTable>

namespace {

struct Run {
    int from;
    int to;
    QTextCharFormat format;
};

QList<Run> runsBetween(QTextDocument* text, int from, int to) {
    QList<Run> runs;
    for (QTextBlock block = text->findBlock(from); block.isValid() && block.position() <= to;
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int start = qMax(from, fragment.position());
            const int end = qMin(to, fragment.position() + fragment.length());
            if (start < end)
                runs.append(Run{start, end, fragment.charFormat()});
        }
    }
    return runs;
}

/// A measure within the file's limits, rounded as the file keeps it.
int limited(qreal value, int minimum, int maximum) {
    return qRound(qBound(qreal(minimum), value, qreal(maximum)));
}

/// The tables starting between the two positions that the document cannot
/// hold as tables: lying deeper than `maxDepth` in other tables (counted
/// from `depth`, the frame's own), or with more rows or columns than the
/// file keeps. Outer tables come before the tables inside them.
void tablesToFlatten(QTextFrame* frame, int depth, int maxDepth, int from, int to,
                     QList<QTextTable*>& found) {
    for (QTextFrame* child : frame->childFrames()) {
        auto* table = qobject_cast<QTextTable*>(child);
        const int childDepth = table ? depth + 1 : depth;
        if (table && table->firstPosition() >= from && table->firstPosition() <= to &&
            (childDepth > maxDepth || table->rows() > vdocformat::kMaxTableSide ||
             table->columns() > vdocformat::kMaxTableSide))
            found.append(table);
        tablesToFlatten(child, childDepth, maxDepth, from, to, found);
    }
}

/// Replaces a table by the content of its cells, one after the other.
void flattenTable(QTextTable* table) {
    QTextDocument* text = table->document();
    QList<QTextDocumentFragment> contents;
    for (int row = 0; row < table->rows(); ++row) {
        for (int column = 0; column < table->columns(); ++column) {
            const QTextTableCell cell = table->cellAt(row, column);
            if (cell.row() != row || cell.column() != column)
                continue;
            QTextCursor content(text);
            content.setPosition(cell.firstPosition());
            content.setPosition(cell.lastPosition(), QTextCursor::KeepAnchor);
            contents.append(content.selection());
        }
    }
    QTextCursor cursor(text);
    cursor.setPosition(table->firstPosition() - 1);
    cursor.setPosition(table->lastPosition() + 1, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    for (qsizetype i = 0; i < contents.size(); ++i) {
        if (i > 0)
            cursor.insertBlock();
        cursor.insertFragment(contents.at(i));
    }
}

/// A colour that cannot be shown is no colour.
bool dropInvalidBackground(QTextFormat& format) {
    if (format.background().style() == Qt::NoBrush || format.background().color().isValid())
        return false;
    format.clearBackground();
    return true;
}

/// Gives every merged cell its rows and columns back when the table's grid
/// is too large for the cells it stores.
void splitWhenTooSpread(QTextTable* table) {
    qint64 cells = 0;
    for (int row = 0; row < table->rows(); ++row) {
        for (int column = 0; column < table->columns(); ++column) {
            const QTextTableCell cell = table->cellAt(row, column);
            cells += cell.row() == row && cell.column() == column;
        }
    }
    if (vdocformat::tableGridFits(table->rows(), table->columns(), cells))
        return;
    for (int row = 0; row < table->rows(); ++row) {
        for (int column = 0; column < table->columns(); ++column) {
            const QTextTableCell cell = table->cellAt(row, column);
            if (cell.row() == row && cell.column() == column &&
                (cell.rowSpan() > 1 || cell.columnSpan() > 1))
                table->splitCell(row, column, 1, 1);
        }
    }
}

void limitTable(QTextTable* table) {
    using namespace vdocformat;
    splitWhenTooSpread(table);
    QTextTableFormat format = table->format();
    const QTextTableFormat before = format;
    format.setBorder(limited(format.border(), 0, kMaxBorder));
    format.setCellPadding(limited(format.cellPadding(), 0, kMaxCellSpace));
    format.setCellSpacing(limited(format.cellSpacing(), 0, kMaxCellSpace));
    if (format.borderBrush().style() != Qt::NoBrush && !format.borderBrush().color().isValid())
        format.clearProperty(QTextFormat::FrameBorderBrush);
    dropInvalidBackground(format);
    if (format.width().type() != QTextLength::VariableLength)
        format.setWidth(
            QTextLength(format.width().type(), limited(format.width().rawValue(), 0, kMaxMeasure)));
    QList<QTextLength> widths = format.columnWidthConstraints();
    for (QTextLength& width : widths)
        width = QTextLength(width.type(), limited(width.rawValue(), 0, kMaxMeasure));
    if (!widths.isEmpty())
        format.setColumnWidthConstraints(widths);
    if (format != before)
        table->setFormat(format);
    for (int row = 0; row < table->rows(); ++row) {
        for (int column = 0; column < table->columns(); ++column) {
            QTextTableCell cell = table->cellAt(row, column);
            if (cell.row() != row || cell.column() != column)
                continue;
            QTextCharFormat cellFormat = cell.format();
            bool changed = dropInvalidBackground(cellFormat);
            for (int side = docprop::CellLeft; side <= docprop::CellBottom; ++side) {
                docprop::CellBorder border = docprop::cellBorder(cellFormat, side);
                border.width = qMin(border.width, int(kMaxBorder));
                QTextCharFormat limitedFormat = cellFormat;
                docprop::setCellBorder(limitedFormat, side, border);
                if (limitedFormat != cellFormat) {
                    cellFormat = limitedFormat;
                    changed = true;
                }
            }
            if (changed)
                cell.setFormat(cellFormat);
        }
    }
}

void limitTables(QTextFrame* frame, int from, int to) {
    for (QTextFrame* child : frame->childFrames()) {
        if (auto* table = qobject_cast<QTextTable*>(child);
            table && table->firstPosition() >= from && table->firstPosition() <= to)
            limitTable(table);
        limitTables(child, from, to);
    }
}

} // namespace

ImportAdopter::ImportAdopter(EdDocument& document,
                             const EdDocument::ReadHyperlinkHandler& readHyperlink,
                             const EdDocument::PictureResolver& resolvePicture)
    : m_document(document)
    , m_readHyperlink(readHyperlink)
    , m_resolvePicture(resolvePicture) {}

void ImportAdopter::adopt(int from, int to) {
    QTextDocument* text = m_document.textDocument();
    QTextCursor cursor(text);
    cursor.beginEditBlock();
    // What follows the content stays as it is while the content changes.
    const int tail = text->characterCount() - to;
    flattenTablesBeyond(text, vdocformat::kMaxNesting, from, to);
    to = text->characterCount() - tail;
    limitTables(text->rootFrame(), from, to);
    removeStrayCharacters(from, to);
    to = text->characterCount() - tail;
    adoptBlocks(from, to);
    adoptLists(from, to);
    adoptRuns(from, to);
    cursor.endEditBlock();
}

int ImportAdopter::flattenTablesBeyond(QTextDocument* text, int maxDepth, int from, int to) {
    // The innermost first: a table is flattened once the tables inside it
    // are, so no flattening inserts a table again (the text document files
    // tables inserted inside an edit block only when the block ends).
    QList<QTextTable*> flatten;
    tablesToFlatten(text->rootFrame(), 0, maxDepth, from, to, flatten);
    for (auto table = flatten.crbegin(); table != flatten.crend(); ++table)
        flattenTable(*table);
    return int(flatten.size());
}

int ImportAdopter::tableDepth(const QTextCursor& cursor) {
    int depth = 0;
    for (QTextFrame* frame = cursor.currentFrame(); frame; frame = frame->parentFrame())
        depth += qobject_cast<QTextTable*>(frame) != nullptr;
    return depth;
}

void ImportAdopter::removeStrayCharacters(int from, int to) {
    QList<int> strays;
    for (const Run& run : runsBetween(m_document.textDocument(), from, to)) {
        if (run.format.isImageFormat() || run.format.objectType() == docprop::AnchorObject)
            continue;
        for (int position = run.from; position < run.to; ++position) {
            if (vdocformat::isStrayCharacter(m_document.textDocument()->characterAt(position)))
                strays.append(position);
        }
    }
    QTextCursor cursor(m_document.textDocument());
    for (auto it = strays.crbegin(); it != strays.crend(); ++it) {
        cursor.setPosition(*it);
        cursor.setPosition(*it + 1, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
}

void ImportAdopter::adoptBlocks(int from, int to) {
    TDocStyle& style = m_document.docStyle();
    QTextCursor cursor(m_document.textDocument());
    for (QTextBlock block = m_document.textDocument()->findBlock(from);
         block.isValid() && block.position() <= to; block = block.next()) {
        cursor.setPosition(block.position());
        const QTextBlockFormat format = block.blockFormat();
        if (!format.hasProperty(docprop::ParaNo)) {
            QTextBlockFormat adopted =
                style.blockFormat(style.ParaStyles.findOrAppend(TDocStyle::paraStyleOf(format)));
            docprop::keepBlockKind(format, adopted);
            if (adopted.hasProperty(QTextFormat::BlockTrailingHorizontalRulerWidth))
                adopted.setProperty(QTextFormat::BlockTrailingHorizontalRulerWidth,
                                    docprop::lineRuler());
            cursor.setBlockFormat(adopted);
        }
        if (!block.charFormat().hasProperty(docprop::StyleNo))
            cursor.setBlockCharFormat(
                docprop::blockRunFormat(block.charFormat(), adoptedRun(block.charFormat())));
    }
}

void ImportAdopter::adoptLists(int from, int to) {
    TDocStyle& style = m_document.docStyle();
    QSet<QTextList*> done;
    for (QTextBlock block = m_document.textDocument()->findBlock(from);
         block.isValid() && block.position() <= to; block = block.next()) {
        QTextList* list = block.textList();
        if (!list || done.contains(list))
            continue;
        done.insert(list);
        const QTextListFormat format = list->format();
        if (format.hasProperty(docprop::ListNo))
            continue;
        const int listNo = style.ListStyles.findOrAppend(TDocStyle::listStyleOf(format));
        list->setFormat(style.listFormat(listNo, qBound(0, format.indent() - 1, 8)));
    }
}

void ImportAdopter::adoptRuns(int from, int to) {
    QTextCursor cursor(m_document.textDocument());
    const QList<Run> runs = runsBetween(m_document.textDocument(), from, to);
    // Backwards, so that anchors inserted at a run do not move the others.
    for (auto it = runs.crbegin(); it != runs.crend(); ++it) {
        const QTextCharFormat& format = it->format;
        if (format.objectType() == docprop::AnchorObject)
            continue;
        const bool adopt = format.isImageFormat() || !format.hasProperty(docprop::StyleNo);
        if (adopt) {
            cursor.setPosition(it->from);
            cursor.setPosition(it->to, QTextCursor::KeepAnchor);
            cursor.setCharFormat(format.isImageFormat() ? adoptedPicture(format.toImageFormat())
                                                        : adoptedRun(format));
        }
        if (format.isImageFormat() || format.objectType() == docprop::AnchorObject)
            continue;
        const QStringList names = format.anchorNames();
        for (auto name = names.crbegin(); name != names.crend(); ++name) {
            cursor.setPosition(it->from);
            m_document.insertAnchor(cursor, *name);
        }
    }
}

QTextCharFormat ImportAdopter::adoptedRun(const QTextCharFormat& format) {
    TDocStyle& style = m_document.docStyle();
    const TTextStyleInfo look = TDocStyle::textStyleOf(format, style.TextStyles.at(0));
    if (!look.Jump)
        return m_document.runFormat(style.TextStyles.findOrAppend(look));
    int styleNo = linkStyleFor(look);
    QString tag = format.anchorHref();
    if (m_readHyperlink)
        m_readHyperlink(format.anchorHref(), styleNo, tag);
    return m_document.runFormat(styleNo, tag);
}

int ImportAdopter::linkStyleFor(const TTextStyleInfo& look) {
    TTextStyleInfos& styles = m_document.docStyle().TextStyles;
    const int found = styles.indexOfLook(look);
    if (found >= 0)
        return found;
    // The text after a link goes back to the plain look of the paragraph.
    TTextStyleInfo plain = look;
    plain.Jump = false;
    plain.Style &= ~TTextStyleInfo::fsUnderline;
    plain.Color = styles.at(0).Color;
    TTextStyleInfo link = look;
    link.NonLinkStyleNo = styles.findOrAppend(plain);
    styles.add(link);
    return styles.count() - 1;
}

QTextCharFormat ImportAdopter::adoptedPicture(const QTextImageFormat& format) {
    DocPicture picture;
    if (format.hasProperty(docprop::PictureBytes)) {
        picture = DocPicture::fromFormat(format);
    } else {
        const QString source = format.name();
        if (!m_resolvePicture || !m_resolvePicture(source, picture))
            picture.fileName = source;
        if (format.width() > 0)
            picture.width = limited(format.width(), 0, vdocformat::kMaxMeasure);
        if (format.height() > 0)
            picture.height = limited(format.height(), 0, vdocformat::kMaxMeasure);
        if (format.isAnchor() && !format.anchorHref().isEmpty()) {
            int styleNo = -1;
            picture.jump = true;
            picture.tag = format.anchorHref();
            if (m_readHyperlink)
                m_readHyperlink(format.anchorHref(), styleNo, picture.tag);
        }
    }
    EdDocument::limitToFile(picture);
    m_document.registerPicture(picture);
    return picture.toFormat();
}
