#include "docmodel/eddocument.h"

#include "docmodel/docproperties.h"
#include "docmodel/edtextdocument.h"
#include "docmodel/importadopter.h"
#include "docmodel/runwalker.h"
#include "docmodel/stylerenumberer.h"
#include "docmodel/vdocformat.h"
#include "platform/uilanguage.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTextList>
#include <QTextTable>
#include <QUrl>

namespace {

/// The most memory the document's decoded pictures may take: past it, the
/// invalid picture stands for the rest.
constexpr qint64 kPictureMemoryLimit = qint64(1) << 30;

/// What the editor shows of a picture on the web that has no image yet: a
/// framed box with the picture's address over `state`, at the size the
/// picture is shown in when it has one.
QImage webPlaceholder(const DocPicture& picture, const QString& state) {
    const QSize size(picture.width > 0 ? qBound(16, picture.width, 2000) : 320,
                     picture.height > 0 ? qBound(16, picture.height, 2000) : 72);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(0xF2, 0xF2, 0xF2));
    QPainter painter(&image);
    painter.setPen(QPen(QColor(0x99, 0x99, 0x99), 1, Qt::DashLine));
    painter.drawRect(image.rect().adjusted(0, 0, -1, -1));
    QFont font = painter.font();
    font.setPixelSize(12);
    painter.setFont(font);
    const QFontMetrics metrics(font);
    const QRect inside = image.rect().adjusted(6, 4, -6, -4);
    painter.setPen(QColor(0x1A, 0x4E, 0x9C));
    painter.drawText(inside, Qt::AlignLeft | Qt::AlignTop,
                     metrics.elidedText(picture.address, Qt::ElideMiddle, inside.width()));
    painter.setPen(QColor(0x44, 0x44, 0x44));
    painter.drawText(inside.adjusted(0, metrics.lineSpacing(), 0, 0),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, state);
    return image;
}

} // namespace

EdDocument::EdDocument(QObject* parent)
    : QObject(parent)
    , m_text(new EdTextDocument(this))
    , m_style(TDocStyle::designed()) {
    m_text->setInvalidPicture(m_style.InvalidPicture);
    connect(m_text, &QTextDocument::contentsChanged, this, [this] {
        m_cacheValid = false;
        ++m_revision;
    });
    clear();
}

EdDocument::~EdDocument() = default;

QTextDocument* EdDocument::textDocument() const {
    return m_text;
}

void EdDocument::setDocStyle(const TDocStyle& style) {
    m_style = style;
    // The text may keep its formats while the styles it names change.
    ++m_revision;
    m_text->setInvalidPicture(m_style.InvalidPicture);
    restyle();
}

void EdDocument::setBackgroundColor(const QColor& color) {
    m_backgroundColor = color;
    applyDocumentFrame();
}

void EdDocument::setBackgroundPicture(const DocPicture& picture) {
    m_backgroundPicture = picture;
    applyDocumentFrame();
}

void EdDocument::setMargins(const QMargins& margins) {
    m_margins = margins;
    applyDocumentFrame();
}

void EdDocument::applyDocumentFrame() {
    ++m_revision;
    QTextFrameFormat format = m_text->rootFrame()->frameFormat();
    format.setLeftMargin(m_margins.left());
    format.setTopMargin(m_margins.top());
    format.setRightMargin(m_margins.right());
    format.setBottomMargin(m_margins.bottom());
    if (!m_backgroundPicture.isEmpty())
        format.setBackground(QBrush(m_backgroundPicture.image()));
    else if (m_backgroundColor.isValid())
        format.setBackground(m_backgroundColor);
    else
        format.clearBackground();
    m_text->rootFrame()->setFrameFormat(format);
}

void EdDocument::clear() {
    m_text->setUndoRedoEnabled(false);
    m_text->clear();
    m_registered.clear();
    m_pictureMemory = 0;
    m_webAddresses.clear();
    m_webShown.clear();
    m_text->setDocumentMargin(0);
    m_backgroundColor = QColor();
    m_backgroundPicture = DocPicture();
    m_margins = defaultMargins();
    applyDocumentFrame();
    QTextCursor cursor(m_text);
    cursor.setBlockFormat(m_style.blockFormat(0));
    cursor.setBlockCharFormat(runFormat(0));
    m_text->setUndoRedoEnabled(true);
    m_text->setModified(false);
}

void EdDocument::restyle() {
    // Only what differs from the style sheet is touched, so a document that
    // already shows its styles is left without a change or an undo step.
    QTextCursor cursor(m_text);
    cursor.beginEditBlock();
    for (QTextBlock block = m_text->begin(); block.isValid(); block = block.next()) {
        QTextBlockFormat format =
            m_style.blockFormat(block.blockFormat().intProperty(docprop::ParaNo));
        docprop::keepBlockKind(block.blockFormat(), format);
        const QTextCharFormat empty = docprop::blockRunFormat(
            block.charFormat(), runFormat(block.charFormat().intProperty(docprop::StyleNo),
                                          block.charFormat().stringProperty(docprop::Tag)));
        cursor.setPosition(block.position());
        if (format != block.blockFormat())
            cursor.setBlockFormat(format);
        if (empty != block.charFormat())
            cursor.setBlockCharFormat(empty);
    }
    RunWalker::forEachRun(m_text, 0, m_text->characterCount(), [this](const QTextCharFormat& run) {
        return runFormat(run.intProperty(docprop::StyleNo), run.stringProperty(docprop::Tag));
    });
    cursor.endEditBlock();
}

TCustomDocData EdDocument::rootData() const {
    return TCustomDocData(m_text);
}

bool EdDocument::ItemPictureFile(const TCustomDocData& data, int itemNo, QString& fileName) const {
    fileName.clear();
    DocItem item;
    if (!itemOf(data, itemNo, item) || item.kind != DocItem::Picture)
        return false;
    fileName = item.format.stringProperty(docprop::PictureFile);
    return true;
}

bool EdDocument::ItemPicture(const TCustomDocData& data, int itemNo, DocPicture& picture) const {
    DocItem item;
    if (!itemOf(data, itemNo, item) || item.kind != DocItem::Picture)
        return false;
    picture = DocPicture::fromFormat(item.format.toImageFormat());
    return true;
}

QString EdDocument::ItemLinkTarget(const TCustomDocData& data, int itemNo) const {
    DocItem item;
    return itemOf(data, itemNo, item) ? item.tag() : QString();
}

bool EdDocument::itemOf(const TCustomDocData& data, int itemNo, DocItem& item) const {
    if (!m_cacheValid || m_cachedData != data || !data.isValid()) {
        m_cachedData = data;
        m_cachedItems = data.items();
        m_cacheValid = true;
    }
    if (itemNo < 0 || itemNo >= m_cachedItems.size())
        return false;
    item = m_cachedItems.at(itemNo);
    return true;
}

QTextCharFormat EdDocument::runFormat(int styleNo, const QString& tag) const {
    QTextCharFormat format = m_style.charFormat(styleNo);
    if (!tag.isEmpty()) {
        format.setProperty(docprop::Tag, tag);
        if (m_style.TextStyles.at(styleNo).Jump)
            format.setAnchorHref(tag);
    }
    return format;
}

void EdDocument::insertText(QTextCursor& cursor, const QString& text, int styleNo,
                            const QString& tag) {
    cursor.insertText(text, runFormat(styleNo, tag));
}

void EdDocument::registerPicture(const DocPicture& picture) {
    const QString name = picture.resourceName();
    if (m_registered.contains(name))
        return;
    if (picture.isOnWeb()) {
        m_registered.insert(name);
        m_webAddresses.append(picture.address);
        m_text->addResource(
            QTextDocument::ImageResource, QUrl(name),
            webPlaceholder(
                picture, uilanguage::text("MESSAGES", "webPictureLoading",
                                          QStringLiteral("Picture on the web, not fetched yet."))));
        emit webPictureWanted(picture.address);
        return;
    }
    QImage image = picture.image();
    if (image.isNull() || m_pictureMemory + image.sizeInBytes() > kPictureMemoryLimit)
        image = m_style.InvalidPicture;
    m_pictureMemory += image.sizeInBytes();
    m_registered.insert(name);
    m_text->addResource(QTextDocument::ImageResource, QUrl(name), image);
}

bool EdDocument::showWebPicture(const QString& address, const QByteArray& bytes) {
    if (!m_webAddresses.contains(address))
        return false;
    DocPicture fetched;
    fetched.bytes = bytes;
    fetched.format = DocPicture::detectFormat(bytes);
    const QImage image = fetched.format.isEmpty() ? QImage() : fetched.image();
    if (image.isNull() || m_pictureMemory + image.sizeInBytes() > kPictureMemoryLimit) {
        showWebPictureFailed(
            address, uilanguage::text("MESSAGES", "webPictureNoPicture",
                                      QStringLiteral("Not shown: what is there is no picture.")));
        return false;
    }
    m_pictureMemory += image.sizeInBytes();
    m_webShown.insert(address);
    replaceWebImage(address, image);
    return true;
}

void EdDocument::showWebPictureFailed(const QString& address, const QString& why) {
    if (!m_webAddresses.contains(address) || m_webShown.contains(address))
        return;
    DocPicture picture;
    picture.address = address;
    // The size the first picture of that address is shown in.
    bool found = false;
    for (QTextBlock block = m_text->begin(); block.isValid() && !found; block = block.next()) {
        for (auto it = block.begin(); !it.atEnd() && !found; ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            found =
                format.isImageFormat() && format.stringProperty(docprop::PictureAddress) == address;
            if (found)
                picture = DocPicture::fromFormat(format.toImageFormat());
        }
    }
    replaceWebImage(address, webPlaceholder(picture, why));
}

void EdDocument::replaceWebImage(const QString& address, const QImage& image) {
    DocPicture picture;
    picture.address = address;
    m_text->addResource(QTextDocument::ImageResource, QUrl(picture.resourceName()), image);
    m_text->markContentsDirty(0, m_text->characterCount());
}

void EdDocument::insertPicture(QTextCursor& cursor, const DocPicture& picture) {
    DocPicture shown = picture;
    limitToFile(shown);
    registerPicture(shown);
    cursor.insertImage(shown.toFormat());
}

void EdDocument::limitToFile(DocPicture& picture) {
    picture.width = qBound(0, picture.width, vdocformat::kMaxMeasure);
    picture.height = qBound(0, picture.height, vdocformat::kMaxMeasure);
}

void EdDocument::insertHLine(QTextCursor& cursor, const QColor& color, int width) {
    const QTextBlockFormat paragraph = cursor.blockFormat();
    QTextBlockFormat line = m_style.blockFormat(paragraph.intProperty(docprop::ParaNo));
    line.setProperty(QTextFormat::BlockTrailingHorizontalRulerWidth, docprop::lineRuler());
    line.setProperty(docprop::HLineWidth, qBound(1, width, 100));
    if (color.isValid())
        line.setProperty(docprop::HLineColor, color);
    cursor.beginEditBlock();
    if (cursor.block().length() > 1)
        cursor.insertBlock(line);
    else
        cursor.setBlockFormat(line);
    QTextBlockFormat after = paragraph;
    after.clearProperty(QTextFormat::BlockTrailingHorizontalRulerWidth);
    after.setPageBreakPolicy(QTextFormat::PageBreak_Auto);
    cursor.insertBlock(after);
    cursor.endEditBlock();
}

void EdDocument::insertPageBreak(QTextCursor& cursor) {
    QTextBlockFormat format = cursor.blockFormat();
    format.clearProperty(QTextFormat::BlockTrailingHorizontalRulerWidth);
    format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    if (cursor.block().length() > 1 || cursor.block().position() == 0)
        cursor.insertBlock(format);
    else
        cursor.setBlockFormat(format);
}

void EdDocument::insertAnchor(QTextCursor& cursor, const QString& name) {
    QTextCharFormat format;
    format.setObjectType(docprop::AnchorObject);
    format.setProperty(docprop::AnchorName, name);
    format.setAnchor(true);
    format.setAnchorNames(QStringList{name});
    cursor.insertText(QString(QChar::ObjectReplacementCharacter), format);
}

QTextTable* EdDocument::insertTable(QTextCursor& cursor, int rows, int columns) {
    const QTextBlockFormat paragraph = cursor.blockFormat();
    const QTextCharFormat run = cursor.charFormat();
    QTextTableFormat format;
    format.setBorder(1);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorderBrush(QColor(Qt::gray));
    format.setCellPadding(2);
    format.setCellSpacing(2);
    cursor.beginEditBlock();
    QTextTable* table = cursor.insertTable(qMax(1, rows), qMax(1, columns), format);
    for (int row = 0; row < table->rows(); ++row) {
        for (int column = 0; column < table->columns(); ++column) {
            QTextCursor cell = table->cellAt(row, column).firstCursorPosition();
            cell.setBlockFormat(m_style.blockFormat(paragraph.intProperty(docprop::ParaNo)));
            cell.setBlockCharFormat(docprop::blockRunFormat(
                cell.blockCharFormat(), runFormat(run.intProperty(docprop::StyleNo))));
        }
    }
    cursor.endEditBlock();
    cursor = table->cellAt(0, 0).firstCursorPosition();
    return table;
}

void EdDocument::applyTextStyle(QTextCursor& cursor, int styleNo) {
    if (!cursor.hasSelection()) {
        cursor.setCharFormat(runFormat(styleNo));
        return;
    }
    RunWalker::forEachRun(m_text, cursor.selectionStart(), cursor.selectionEnd(),
                          [this, styleNo](const QTextCharFormat& run) {
                              return runFormat(styleNo, run.stringProperty(docprop::Tag));
                          });
}

void EdDocument::changeTextStyle(QTextCursor& cursor,
                                 const std::function<void(TTextStyleInfo&)>& change) {
    auto changed = [this, &change](const QTextCharFormat& run) {
        TTextStyleInfo info = m_style.TextStyles.at(run.intProperty(docprop::StyleNo));
        change(info);
        TDocStyle::limitToFile(info);
        const int styleNo = m_style.TextStyles.findOrAppend(info);
        return runFormat(styleNo, run.stringProperty(docprop::Tag));
    };
    if (!cursor.hasSelection())
        cursor.setCharFormat(changed(cursor.charFormat()));
    else
        RunWalker::forEachRun(m_text, cursor.selectionStart(), cursor.selectionEnd(), changed);
}

void EdDocument::RemoveUnusedStyles(bool textStyles, bool paraStyles, bool listStyles) {
    // Renumbering cannot be undone, and older undo steps would bring back
    // the old numbers: once a style goes, the undo history goes with it. It
    // is the style sheet being tidied, not the document being changed.
    const bool wasModified = m_text->isModified();
    bool changed = false;
    StyleRenumberer renumberer(*this, [this, &changed] {
        changed = true;
        m_text->setUndoRedoEnabled(false);
    });
    if (textStyles)
        renumberer.removeUnusedTextStyles();
    if (paraStyles)
        renumberer.removeUnusedParaStyles();
    if (listStyles)
        renumberer.removeUnusedListStyles();
    if (changed) {
        m_text->setUndoRedoEnabled(true);
        m_text->setModified(wasModified);
    }
}

void EdDocument::adoptImportedContent(int from, int to, const ReadHyperlinkHandler& readHyperlink,
                                      const PictureResolver& resolvePicture) {
    ImportAdopter adopter(*this, readHyperlink, resolvePicture);
    adopter.adopt(from, to);
}

namespace {

/// The paragraphs from the selection's first to its last (or the caret's).
QList<QTextBlock> touchedBlocks(const QTextCursor& cursor) {
    QList<QTextBlock> blocks;
    QTextDocument* document = cursor.document();
    const QTextBlock last = document->findBlock(cursor.selectionEnd());
    for (QTextBlock block = document->findBlock(cursor.selectionStart()); block.isValid();
         block = block.next()) {
        blocks.append(block);
        if (block == last)
            break;
    }
    return blocks;
}

/// The table the cursor is in, with the rows and columns it covers: the
/// selected cells, or the cell of the caret.
struct TableRange {
    QTextTable* table = nullptr;
    int row = 0, rows = 1, column = 0, columns = 1;
};

TableRange tableRange(const QTextCursor& cursor) {
    TableRange range;
    range.table = cursor.currentTable();
    if (!range.table)
        return range;
    if (cursor.hasComplexSelection()) {
        cursor.selectedTableCells(&range.row, &range.rows, &range.column, &range.columns);
        return range;
    }
    const QTextTableCell cell = range.table->cellAt(cursor);
    range.row = cell.row();
    range.column = cell.column();
    range.rows = cell.rowSpan();
    range.columns = cell.columnSpan();
    return range;
}

} // namespace

void EdDocument::changeParaStyle(QTextCursor& cursor,
                                 const std::function<void(TParaStyleInfo&)>& change) {
    QTextCursor edit(cursor);
    edit.beginEditBlock();
    for (const QTextBlock& block : touchedBlocks(cursor)) {
        TParaStyleInfo info =
            m_style.ParaStyles.at(block.blockFormat().intProperty(docprop::ParaNo));
        change(info);
        TDocStyle::limitToFile(info);
        QTextBlockFormat format = m_style.blockFormat(m_style.ParaStyles.findOrAppend(info));
        docprop::keepBlockKind(block.blockFormat(), format);
        if (format == block.blockFormat())
            continue;
        edit.setPosition(block.position());
        edit.setBlockFormat(format);
    }
    edit.endEditBlock();
}

void EdDocument::toggleList(QTextCursor& cursor, TListInfo::TListType type) {
    const QList<QTextBlock> blocks = touchedBlocks(cursor);
    bool allOfType = true;
    for (const QTextBlock& block : blocks) {
        const QTextList* list = block.textList();
        allOfType =
            allOfType && list &&
            m_style.ListStyles.at(list->format().intProperty(docprop::ListNo)).ListType == type;
    }
    if (allOfType) {
        removeList(cursor);
        return;
    }
    setList(cursor, type, 0);
}

void EdDocument::setList(QTextCursor& cursor, TListInfo::TListType type, int level) {
    TListInfo info;
    info.ListType = type;
    const int listNo = m_style.ListStyles.findOrAppend(info);
    QTextCursor edit(cursor);
    edit.beginEditBlock();
    removeList(edit);
    edit.createList(m_style.listFormat(listNo, qBound(0, level, vdocformat::kMaxListLevel)));
    edit.endEditBlock();
}

void EdDocument::removeList(QTextCursor& cursor) {
    QTextCursor edit(cursor);
    edit.beginEditBlock();
    for (const QTextBlock& block : touchedBlocks(cursor)) {
        QTextList* list = block.textList();
        if (!list)
            continue;
        list->remove(block);
        // The paragraph goes back to the indent its own style gives it.
        QTextBlockFormat format =
            m_style.blockFormat(block.blockFormat().intProperty(docprop::ParaNo));
        docprop::keepBlockKind(block.blockFormat(), format);
        format.clearProperty(QTextFormat::ObjectIndex);
        edit.setPosition(block.position());
        edit.setBlockFormat(format);
    }
    edit.endEditBlock();
}

bool EdDocument::hasPageBreak(const QTextCursor& cursor) {
    return cursor.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore;
}

void EdDocument::removePageBreak(QTextCursor& cursor) {
    if (!hasPageBreak(cursor))
        return;
    QTextBlockFormat format = cursor.blockFormat();
    format.setPageBreakPolicy(QTextFormat::PageBreak_Auto);
    cursor.setBlockFormat(format);
}

void EdDocument::changeCase(QTextCursor& cursor,
                            const std::function<QString(const QString&)>& change) {
    if (!cursor.hasSelection())
        return;
    const int start = cursor.selectionStart();
    const int end = cursor.selectionEnd();
    QString text;
    for (int position = start; position < end; ++position)
        text.append(m_text->characterAt(position));
    const QString changed = change(text);
    if (changed.size() != text.size() || changed == text)
        return;
    // Letter by letter, so every run keeps its own format and pictures and
    // anchors stay where they are.
    QTextCursor edit(m_text);
    edit.beginEditBlock();
    for (int index = 0; index < text.size(); ++index) {
        if (changed.at(index) == text.at(index))
            continue;
        edit.setPosition(start + index);
        edit.setPosition(start + index + 1, QTextCursor::KeepAnchor);
        const QTextCharFormat format = edit.charFormat();
        edit.insertText(QString(changed.at(index)), format);
    }
    edit.endEditBlock();
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
}

int EdDocument::replaceAll(const QString& text, const QString& replacement, int findFlags) {
    if (text.isEmpty())
        return 0;
    const auto flags = QTextDocument::FindFlags(findFlags & ~int(QTextDocument::FindBackward));
    int count = 0;
    QTextCursor edit(m_text);
    edit.beginEditBlock();
    QTextCursor found = m_text->find(text, 0, flags);
    while (!found.isNull()) {
        found.insertText(replacement, found.charFormat());
        ++count;
        found = m_text->find(text, found.position(), flags);
    }
    edit.endEditBlock();
    return count;
}

void EdDocument::styleCells(QTextTable* table, int row, int rows, int column, int columns,
                            const QTextCursor& model) {
    const int paraNo = model.blockFormat().intProperty(docprop::ParaNo);
    const int styleNo = model.charFormat().intProperty(docprop::StyleNo);
    for (int r = row; r < row + rows; ++r) {
        for (int c = column; c < column + columns; ++c) {
            QTextCursor cell = table->cellAt(r, c).firstCursorPosition();
            if (cell.isNull())
                continue;
            cell.setBlockFormat(m_style.blockFormat(paraNo));
            cell.setBlockCharFormat(
                docprop::blockRunFormat(cell.blockCharFormat(), runFormat(styleNo)));
        }
    }
}

void EdDocument::insertTableRows(QTextCursor& cursor, bool below) {
    const TableRange range = tableRange(cursor);
    if (!range.table)
        return;
    const int at = below ? range.row + range.rows : range.row;
    QTextCursor edit(cursor);
    edit.beginEditBlock();
    range.table->insertRows(at, range.rows);
    styleCells(range.table, at, range.rows, 0, range.table->columns(), cursor);
    edit.endEditBlock();
}

void EdDocument::insertTableColumns(QTextCursor& cursor, bool right) {
    const TableRange range = tableRange(cursor);
    if (!range.table)
        return;
    const int at = right ? range.column + range.columns : range.column;
    const QTextCursor model(cursor);
    // The text layout cannot lay out columns inserted inside an open edit
    // block: the styling joins the insertion's undo step afterwards.
    range.table->insertColumns(at, range.columns);
    QTextCursor edit(m_text);
    edit.joinPreviousEditBlock();
    styleCells(range.table, 0, range.table->rows(), at, range.columns, model);
    edit.endEditBlock();
}

void EdDocument::deleteTableRows(QTextCursor& cursor) {
    const TableRange range = tableRange(cursor);
    if (!range.table)
        return;
    if (range.rows >= range.table->rows())
        deleteTable(cursor);
    else
        range.table->removeRows(range.row, range.rows);
}

void EdDocument::deleteTableColumns(QTextCursor& cursor) {
    const TableRange range = tableRange(cursor);
    if (!range.table)
        return;
    if (range.columns >= range.table->columns())
        deleteTable(cursor);
    else
        range.table->removeColumns(range.column, range.columns);
}

void EdDocument::deleteTable(QTextCursor& cursor) {
    QTextTable* table = cursor.currentTable();
    if (!table)
        return;
    QTextCursor edit(m_text);
    edit.setPosition(table->firstPosition() - 1);
    edit.setPosition(table->lastPosition() + 1, QTextCursor::KeepAnchor);
    edit.removeSelectedText();
    cursor.setPosition(edit.position());
}

bool EdDocument::mergeTableCells(QTextCursor& cursor) {
    const TableRange range = tableRange(cursor);
    if (!range.table || !cursor.hasComplexSelection())
        return true;
    // The cells left once the selected ones are one.
    qint64 cells = 1;
    for (int row = 0; row < range.table->rows(); ++row) {
        for (int column = 0; column < range.table->columns(); ++column) {
            const QTextTableCell cell = range.table->cellAt(row, column);
            const bool selected = row >= range.row && row < range.row + range.rows &&
                                  column >= range.column && column < range.column + range.columns;
            cells += !selected && cell.row() == row && cell.column() == column;
        }
    }
    if (!vdocformat::tableGridFits(range.table->rows(), range.table->columns(), cells))
        return false;
    range.table->mergeCells(cursor);
    return true;
}

void EdDocument::splitTableCell(QTextCursor& cursor, int rows, int columns) {
    const TableRange range = tableRange(cursor);
    if (!range.table)
        return;
    range.table->splitCell(range.row, range.column, qBound(1, rows, range.rows),
                           qBound(1, columns, range.columns));
}

void EdDocument::setCellVAlign(QTextCursor& cursor, QTextCharFormat::VerticalAlignment align) {
    const TableRange range = tableRange(cursor);
    if (!range.table)
        return;
    QTextCursor edit(cursor);
    edit.beginEditBlock();
    for (int r = range.row; r < range.row + range.rows; ++r) {
        for (int c = range.column; c < range.column + range.columns; ++c) {
            QTextTableCell cell = range.table->cellAt(r, c);
            QTextCharFormat format = cell.format();
            format.setVerticalAlignment(align);
            cell.setFormat(format);
        }
    }
    edit.endEditBlock();
}

void EdDocument::setCellBackground(QTextCursor& cursor, const QColor& color) {
    const TableRange range = tableRange(cursor);
    if (!range.table)
        return;
    QTextCursor edit(cursor);
    edit.beginEditBlock();
    for (int r = range.row; r < range.row + range.rows; ++r) {
        for (int c = range.column; c < range.column + range.columns; ++c) {
            QTextTableCell cell = range.table->cellAt(r, c);
            QTextCharFormat format = cell.format();
            if (color.isValid())
                format.setBackground(color);
            else
                format.clearBackground();
            cell.setFormat(format);
        }
    }
    edit.endEditBlock();
}

namespace {

/// The border a table's own grid gives every side of its cells.
docprop::CellBorder gridBorder(const QTextTable* table) {
    docprop::CellBorder border;
    border.width = qRound(table->format().border());
    const QBrush brush = table->format().borderBrush();
    border.color =
        brush.style() != Qt::NoBrush && brush.color().isValid() ? brush.color() : QColor(Qt::black);
    return border;
}

} // namespace

bool EdDocument::cellsHaveBorder(const QTextCursor& cursor, int side) const {
    const TableRange range = tableRange(cursor);
    if (!range.table)
        return false;
    // The table's grid borders every side its cells do not border themselves.
    if (gridBorder(range.table).width > 0)
        return true;
    for (int r = range.row; r < range.row + range.rows; ++r) {
        for (int c = range.column; c < range.column + range.columns; ++c) {
            if (docprop::cellBorder(range.table->cellAt(r, c).format(), side).width == 0)
                return false;
        }
    }
    return true;
}

void EdDocument::toggleCellBorder(QTextCursor& cursor, int side) {
    setCellBorders(cursor, 1u << side, !cellsHaveBorder(cursor, side));
}

void EdDocument::setCellBorders(QTextCursor& cursor, unsigned sides, bool on) {
    const TableRange range = tableRange(cursor);
    if (!range.table)
        return;
    docprop::CellBorder border = gridBorder(range.table);
    QTextCursor edit(cursor);
    edit.beginEditBlock();
    if (!on && border.width > 0) {
        // The table's grid borders every cell alike and cannot leave one
        // out: it becomes borders of the cells' own, which can.
        for (int r = 0; r < range.table->rows(); ++r) {
            for (int c = 0; c < range.table->columns(); ++c) {
                QTextTableCell cell = range.table->cellAt(r, c);
                if (cell.row() != r || cell.column() != c)
                    continue;
                QTextCharFormat format = cell.format();
                for (int side = docprop::CellLeft; side <= docprop::CellBottom; ++side) {
                    if (docprop::cellBorder(format, side).width == 0)
                        docprop::setCellBorder(format, side, border);
                }
                cell.setFormat(format);
            }
        }
        QTextTableFormat tableFormat = range.table->format();
        tableFormat.setBorder(0);
        range.table->setFormat(tableFormat);
    }
    border.width = on ? qMax(1, border.width) : 0;
    for (int r = range.row; r < range.row + range.rows; ++r) {
        for (int c = range.column; c < range.column + range.columns; ++c) {
            QTextTableCell cell = range.table->cellAt(r, c);
            if (cell.row() != r || cell.column() != c)
                continue;
            QTextCharFormat format = cell.format();
            for (int side = docprop::CellLeft; side <= docprop::CellBottom; ++side) {
                if (sides & (1u << side))
                    docprop::setCellBorder(format, side, border);
            }
            cell.setFormat(format);
        }
    }
    edit.endEditBlock();
}

void EdDocument::setTableFrame(QTextCursor& cursor, int border, int padding, int spacing) {
    QTextTable* table = cursor.currentTable();
    if (!table)
        return;
    QTextTableFormat format = table->format();
    format.setBorder(qBound(0, border, 100));
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setCellPadding(qBound(0, padding, 100));
    format.setCellSpacing(qBound(0, spacing, 100));
    table->setFormat(format);
}

int EdDocument::pictureAt(const QTextCursor& cursor) const {
    QTextCursor probe(m_text);
    const int candidates[] = {cursor.selectionStart(), cursor.position() - 1, cursor.position()};
    for (int position : candidates) {
        if (position < 0 || position + 1 >= m_text->characterCount())
            continue;
        probe.setPosition(position);
        probe.setPosition(position + 1, QTextCursor::KeepAnchor);
        if (probe.charFormat().isImageFormat())
            return position;
    }
    return -1;
}

void EdDocument::resizePicture(int position, int width, int height) {
    QTextCursor edit(m_text);
    edit.setPosition(position);
    edit.setPosition(position + 1, QTextCursor::KeepAnchor);
    if (!edit.charFormat().isImageFormat())
        return;
    DocPicture picture = DocPicture::fromFormat(edit.charFormat().toImageFormat());
    picture.width = width;
    picture.height = height;
    limitToFile(picture);
    edit.setCharFormat(picture.toFormat());
}

int EdDocument::hLineAt(const QTextCursor& cursor) {
    const QTextBlock block = cursor.block();
    return block.blockFormat().hasProperty(QTextFormat::BlockTrailingHorizontalRulerWidth)
               ? block.position()
               : -1;
}

void EdDocument::setHLine(int position, const QColor& color, int width) {
    QTextCursor edit(m_text);
    edit.setPosition(position);
    QTextBlockFormat format = edit.blockFormat();
    if (!format.hasProperty(QTextFormat::BlockTrailingHorizontalRulerWidth))
        return;
    if (color.isValid())
        format.setProperty(docprop::HLineColor, color);
    else
        format.clearProperty(docprop::HLineColor);
    format.setProperty(docprop::HLineWidth, qBound(1, width, vdocformat::kMaxBorder));
    edit.setBlockFormat(format);
}
