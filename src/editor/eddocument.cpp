#include "editor/eddocument.h"

#include "editor/docproperties.h"
#include "editor/edtextdocument.h"
#include "editor/importadopter.h"
#include "editor/runwalker.h"
#include "editor/stylerenumberer.h"
#include "editor/vdocformat.h"

#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTextList>
#include <QUrl>

EdDocument::EdDocument(QObject* parent)
    : QObject(parent)
    , m_text(new EdTextDocument(this))
    , m_style(TDocStyle::designed()) {
    m_text->setInvalidPicture(m_style.InvalidPicture);
    connect(m_text, &QTextDocument::contentsChanged, this, [this] { m_cacheValid = false; });
    clear();
}

EdDocument::~EdDocument() = default;

QTextDocument* EdDocument::textDocument() const {
    return m_text;
}

void EdDocument::setDocStyle(const TDocStyle& style) {
    m_style = style;
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
    constexpr qint64 kPictureMemoryLimit = qint64(1) << 30;
    const QString name = picture.resourceName();
    if (m_registered.contains(name))
        return;
    QImage image = picture.image();
    if (image.isNull() || m_pictureMemory + image.sizeInBytes() > kPictureMemoryLimit)
        image = m_style.InvalidPicture;
    m_pictureMemory += image.sizeInBytes();
    m_registered.insert(name);
    m_text->addResource(QTextDocument::ImageResource, QUrl(name), image);
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
