#include "editor/tdoceditor.h"

#include "docmodel/anchormarker.h"
#include "docmodel/blockdecorations.h"
#include "docmodel/docproperties.h"
#include "docmodel/importadopter.h"
#include "docmodel/linkdetection.h"
#include "docmodel/vdocformat.h"
#include "docmodel/vdocreader.h"
#include "editor/edclipboard.h"
#include "editor/edprint.h"
#include "editor/tablesizepicker.h"
#include "platform/safefile.h"
#include "platform/uilanguage.h"
#include "ui/userdialogs.h"

#include <QAbstractTextDocumentLayout>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPalette>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextTable>
#include <QToolTip>
#include <QUrl>

TDocEditor::TDocEditor(UserDialogs& dialogs, QWidget* parent)
    : QTextEdit(parent)
    , m_dialogs(dialogs)
    , m_document(new EdDocument(this))
    , m_clipboard(new EdClipboard(*this)) {
    setObjectName(QStringLiteral("DocEditor1"));
    setDocument(m_document->textDocument());
    setLineWrapMode(QTextEdit::WidgetWidth);
    setTabChangesFocus(false);
    setMouseTracking(true);
    // The document is written for the listing's text area, black on white
    // unless it says otherwise: shown on that paper whatever the desktop's
    // colours, its own coloured cells and texts stay readable.
    QPalette paper = palette();
    paper.setColor(QPalette::Base, Qt::white);
    paper.setColor(QPalette::Text, Qt::black);
    setPalette(paper);
    document()->documentLayout()->registerHandler(docprop::AnchorObject, new AnchorMarker(this));
    connect(m_document->textDocument(), &QTextDocument::contentsChanged, this,
            &TDocEditor::onContentsChange);
    connect(this, &QTextEdit::cursorPositionChanged, this, &TDocEditor::onCaretMoved);
    connect(this, &QTextEdit::currentCharFormatChanged, this, &TDocEditor::onCaretMoved);
    setCurrentCharFormat(m_document->runFormat(0));
}

TDocEditor::~TDocEditor() {
    delete m_clipboard;
}

bool TDocEditor::LoadDocumentFile(const QString& fileName, bool reportErrors) {
    QByteArray bytes;
    if (!readWholeFile(fileName, bytes))
        return false;
    const bool loaded = readDocument(bytes);
    if (!loaded && reportErrors)
        reportLoadError(fileName);
    onCaretMoved();
    return loaded;
}

bool TDocEditor::readDocument(const QByteArray& bytes) {
    clearDocument();
    m_programChange = true;
    // Without a page size nothing is laid out while the text comes in; the
    // page size given back lays the whole text out again, the part on show
    // first and the rest in the background, as when Qt itself loads a text.
    QTextDocument* text = document();
    const QSizeF page = text->pageSize();
    text->setPageSize(QSizeF(0, 0));
    const bool loaded = VDocReader::read(bytes, *m_document);
    text->setPageSize(page);
    moveCursor(QTextCursor::Start);
    setCurrentCharFormat(textCursor().charFormat());
    m_programChange = false;
    setDocumentModified(!loaded);
    return loaded;
}

void TDocEditor::reportLoadError(const QString& fileName) {
    m_dialogs.showMessage(QStringLiteral("Error loading file.\n") + fileName,
                          UserDialogs::Icon::Error, QStringLiteral("Error"));
}

void TDocEditor::RelayoutDocument() {
    // The program may have changed the style sheet (a new document gets its
    // own): the text is shown with the styles as they are now.
    m_programChange = true;
    const bool modified = DocumentModified();
    bool restyled = false;
    const auto watch =
        connect(document(), &QTextDocument::contentsChange, this, [&restyled] { restyled = true; });
    m_document->restyle();
    disconnect(watch);
    const QTextCharFormat typing = textCursor().charFormat();
    setCurrentCharFormat(m_document->runFormat(typing.intProperty(docprop::StyleNo),
                                               typing.stringProperty(docprop::Tag)));
    setDocumentModified(modified);
    m_programChange = false;
    // Giving the same page size again lays the whole text out anew, the part
    // on show first; a text whose formats all stayed keeps its layout.
    if (restyled)
        document()->setPageSize(document()->pageSize());
    viewport()->update();
}

bool TDocEditor::DocumentModified() const {
    return m_document->textDocument()->isModified();
}

void TDocEditor::setDocumentModified(bool modified) {
    m_document->textDocument()->setModified(modified);
}

void TDocEditor::clearDocument() {
    m_programChange = true;
    m_document->clear();
    setCurrentCharFormat(m_document->runFormat(0));
    m_programChange = false;
    setDocumentModified(false);
}

QTextCharFormat TDocEditor::formatAt(int position) const {
    const QTextBlock block = document()->findBlock(position);
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        if (it.fragment().contains(position))
            return it.fragment().charFormat();
    }
    return block.charFormat();
}

int TDocEditor::CaretTextStyle() const {
    const QTextCharFormat format = textCursor().charFormat();
    if (format.hasProperty(docprop::StyleNo))
        return format.intProperty(docprop::StyleNo);
    return textCursor().block().charFormat().intProperty(docprop::StyleNo);
}

namespace {

TCustomDocData containerAt(QTextDocument* document, const QTextCursor& cursor) {
    if (QTextTable* table = cursor.currentTable()) {
        const QTextTableCell cell = table->cellAt(cursor);
        return TCustomDocData(table, cell.row(), cell.column());
    }
    return TCustomDocData(document);
}

/// The item at the caret: the one holding the character before it, or the
/// first of the paragraph when the caret stands at its start.
bool caretItem(QTextDocument* document, const QTextCursor& cursor, DocItem& result) {
    const QList<DocItem> items = containerAt(document, cursor).items();
    const int position = cursor.position();
    const bool atStart = cursor.atBlockStart();
    for (const DocItem& item : items) {
        if (item.kind == DocItem::Table || item.block != cursor.block())
            continue;
        const bool holds =
            atStart ? item.position == position
                    : item.position < position && position <= item.position + item.length;
        if (holds && item.kind != DocItem::PageBreak) {
            result = item;
            return true;
        }
    }
    return false;
}

} // namespace

TDocEditor::ItemId TDocEditor::CaretItem() const {
    DocItem item;
    if (!caretItem(document(), textCursor(), item))
        return ItemId();
    return ItemId{item.kind, item.position, item.length};
}

QString TDocEditor::CaretItemPictureFile() const {
    DocItem item;
    if (!caretItem(document(), textCursor(), item) || item.kind != DocItem::Picture)
        return QString();
    return item.format.stringProperty(docprop::PictureFile);
}

bool TDocEditor::ItemPictureFile(const TCustomDocData& data, int itemNo, QString& fileName) const {
    return m_document->ItemPictureFile(data, itemNo, fileName);
}

QString TDocEditor::ItemLinkTarget(const TCustomDocData& data, int itemNo) const {
    return m_document->ItemLinkTarget(data, itemNo);
}

void TDocEditor::RemoveUnusedStyles(bool textStyles, bool paraStyles, bool listStyles) {
    m_programChange = true;
    m_document->RemoveUnusedStyles(textStyles, paraStyles, listStyles);
    m_programChange = false;
    // The text typed next must not refer to a style that moved.
    setCurrentCharFormat(
        m_document->runFormat(textCursor().charFormat().intProperty(docprop::StyleNo),
                              textCursor().charFormat().stringProperty(docprop::Tag)));
}

bool TDocEditor::ExportHtmlFragment(QIODevice& out, const pictureplan::Plan* plan) {
    HtmlFragmentExporter exporter(*m_document);
    exporter.imagePrefix.clear();
    exporter.picturePlan = plan;
    exporter.OnWriteHyperlink = OnWriteHyperlink;
    exporter.OnHTMLSaveImage = OnHTMLSaveImage;
    return exporter.write(out);
}

void TDocEditor::ShowTableSizePicker(QWidget* button) {
    auto* picker = new TableSizePicker(this);
    connect(picker, &TableSizePicker::sizeChosen, this, &TDocEditor::insertTableAtCaret);
    picker->popupBelow(button);
}

void TDocEditor::insertTableAtCaret(int rows, int columns) {
    if (isReadOnly())
        return;
    QTextCursor cursor = textCursor();
    // The document file keeps tables only so deep inside other tables.
    if (ImportAdopter::tableDepth(cursor) >= vdocformat::kMaxNesting) {
        m_dialogs.showMessage(
            uilanguage::text("EDITOR", "tableTooDeep",
                             QStringLiteral("No table can be inserted here: tables can stand at "
                                            "most %1 deep inside each other."))
                .arg(vdocformat::kMaxNesting),
            UserDialogs::Icon::Information,
            uilanguage::text("EDITOR", "insertTableTitle", QStringLiteral("Insert Table")));
        return;
    }
    m_document->insertTable(cursor, rows, columns);
    setTextCursor(cursor);
}

int TDocEditor::pageTextWidth() const {
    return m_pageTextWidth > 0 ? m_pageTextWidth : TEdPrint::defaultTextWidth();
}

void TDocEditor::fitPictureToPage(DocPicture& picture) const {
    const int widest = pageTextWidth();
    if (picture.width <= widest)
        return;
    picture.height = qMax(1, qRound(double(picture.height) * widest / picture.width));
    picture.width = widest;
}

void TDocEditor::changeTextStyle(const std::function<void(TTextStyleInfo&)>& change) {
    QTextCursor cursor = textCursor();
    m_document->changeTextStyle(cursor, change);
    if (!cursor.hasSelection())
        setCurrentCharFormat(cursor.charFormat());
    onCaretMoved();
}

void TDocEditor::onContentsChange() {
    if (!m_programChange)
        emit OnChange();
}

void TDocEditor::raiseCurTextStyleChanged() {
    m_lastCaretStyle = CaretTextStyle();
    emit OnCurTextStyleChanged();
}

void TDocEditor::onCaretMoved() {
    if (m_programChange)
        return;
    const int style = CaretTextStyle();
    if (style != m_lastCaretStyle) {
        m_lastCaretStyle = style;
        emit OnCurTextStyleChanged();
    }
}

void TDocEditor::keyPressEvent(QKeyEvent* event) {
    const int blocks = document()->blockCount();
    typeKey(event);
    if (document()->blockCount() > blocks)
        startPlainParagraph();
}

void TDocEditor::startPlainParagraph() {
    // Enter copies the paragraph's format to the new paragraph after it; a
    // page break or a line stays with the paragraph it was put on.
    const QTextBlock block = textCursor().block();
    if (!block.previous().isValid())
        return;
    QTextBlockFormat format = block.blockFormat();
    if (!docprop::dropBlockKind(format))
        return;
    QTextCursor cursor(block);
    cursor.joinPreviousEditBlock();
    cursor.setBlockFormat(format);
    cursor.endEditBlock();
}

void TDocEditor::typeKey(QKeyEvent* event) {
    const QString text = event->text();
    const bool command = event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier);
    if (text.size() == 1 && !command &&
        (text[0].isPrint() || text[0] == u'\t' || text[0] == u'\r')) {
        QChar key = text[0];
        if (OnKeyPress)
            OnKeyPress(key);
        if (key.isNull()) {
            event->accept();
            return;
        }
        if (key != text[0]) {
            QKeyEvent changed(event->type(), event->key(), event->modifiers(), QString(key));
            QTextEdit::keyPressEvent(&changed);
            return;
        }
    }
    QTextEdit::keyPressEvent(event);
}

void TDocEditor::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        QTextCursor cursor = textCursor();
        cursor.clearSelection();
        setTextCursor(cursor);
    }
    QTextEdit::mousePressEvent(event);
}

void TDocEditor::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && (event->modifiers() & Qt::ControlModifier)) {
        const int id = linkAt(event->position().toPoint());
        if (id >= 0) {
            QTextEdit::mouseReleaseEvent(event);
            emit OnJump(id);
            return;
        }
    }
    QTextEdit::mouseReleaseEvent(event);
}

void TDocEditor::mouseMoveEvent(QMouseEvent* event) {
    QTextEdit::mouseMoveEvent(event);
    // Links are followed on Ctrl+click only; the hand shows when that works.
    const bool onLink =
        (event->modifiers() & Qt::ControlModifier) && linkAt(event->position().toPoint()) >= 0;
    viewport()->setCursor(onLink         ? Qt::PointingHandCursor
                          : isReadOnly() ? Qt::ArrowCursor
                                         : Qt::IBeamCursor);
}

bool TDocEditor::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip)
        return QTextEdit::event(event);
    // Item hints: a link's target, a picture's file name.
    auto* help = static_cast<QHelpEvent*>(event);
    const QPoint point = viewport()->mapFromGlobal(help->globalPos());
    const int position = document()->documentLayout()->hitTest(
        point + QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value()), Qt::ExactHit);
    const QTextCharFormat format = position >= 0 ? formatAt(position) : QTextCharFormat();
    const QString hint = format.isImageFormat() ? format.stringProperty(docprop::PictureFile)
                                                : format.stringProperty(docprop::Tag);
    if (hint.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), hint, this);
    return true;
}

void TDocEditor::paintEvent(QPaintEvent* event) {
    QTextEdit::paintEvent(event);
    paintPageBreaks();
    paintTableGrid();
    paintDecorations();
}

void TDocEditor::paintDecorations() {
    QPainter painter(viewport());
    const QPoint scroll(horizontalScrollBar()->value(), verticalScrollBar()->value());
    painter.translate(-scroll);
    blockdecorations::paint(painter, *document(), QRectF(scroll, viewport()->size()));
}

void TDocEditor::paintPageBreaks() {
    QPainter painter(viewport());
    painter.setPen(QPen(palette().color(QPalette::Mid), 1, Qt::DashLine));
    const QPoint scroll(horizontalScrollBar()->value(), verticalScrollBar()->value());
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        if (!(block.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore))
            continue;
        const QRectF rect = document()->documentLayout()->blockBoundingRect(block);
        const int y = qRound(rect.top()) - scroll.y() - 1;
        painter.drawLine(0, y, viewport()->width(), y);
    }
}

QMimeData* TDocEditor::createMimeDataFromSelection() const {
    return m_clipboard->mimeFromSelection(textCursor());
}

bool TDocEditor::canInsertFromMimeData(const QMimeData* source) const {
    return m_clipboard->canInsert(source);
}

void TDocEditor::insertFromMimeData(const QMimeData* source) {
    if (isReadOnly())
        return;
    QTextCursor cursor = textCursor();
    m_clipboard->insert(source, cursor);
    setTextCursor(cursor);
    ensureCursorVisible();
}

listingimport::LeftOut TDocEditor::insertListingPage(const QString& html,
                                                     const QString& baseFolder) {
    QTextCursor cursor = textCursor();
    const listingimport::LeftOut leftOut = m_clipboard->insertPage(html, baseFolder, cursor);
    setTextCursor(cursor);
    return leftOut;
}

void TDocEditor::pasteSpecial() {
    m_clipboard->pasteSpecial();
}

void TDocEditor::setShowTableGrid(bool show) {
    m_showTableGrid = show;
    viewport()->update();
}

void TDocEditor::paintTableGrid() {
    if (!m_showTableGrid)
        return;
    QAbstractTextDocumentLayout* layout = document()->documentLayout();
    QPainter painter(viewport());
    painter.setPen(QPen(palette().color(QPalette::Mid), 1, Qt::DotLine));
    painter.translate(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
    QList<QTextFrame*> frames = document()->rootFrame()->childFrames();
    while (!frames.isEmpty()) {
        QTextFrame* frame = frames.takeFirst();
        frames += frame->childFrames();
        auto* table = qobject_cast<QTextTable*>(frame);
        if (!table || table->format().border() > 0)
            continue;
        // The layout gives no cell rectangles: rows and columns are where
        // the text of their cells lies, widened by the padding.
        const qreal pad = table->format().cellPadding();
        QList<qreal> top(table->rows(), 1e9), bottom(table->rows(), -1e9);
        QList<qreal> left(table->columns(), 1e9), right(table->columns(), -1e9);
        for (int row = 0; row < table->rows(); ++row) {
            for (int column = 0; column < table->columns(); ++column) {
                const QTextTableCell cell = table->cellAt(row, column);
                if (cell.row() != row || cell.column() != column)
                    continue;
                QRectF text;
                for (auto it = cell.begin(); !it.atEnd(); ++it) {
                    if (it.currentBlock().isValid())
                        text |= layout->blockBoundingRect(it.currentBlock());
                }
                const int lastRow = row + cell.rowSpan() - 1;
                const int lastColumn = column + cell.columnSpan() - 1;
                top[row] = qMin(top[row], text.top() - pad);
                bottom[lastRow] = qMax(bottom[lastRow], text.bottom() + pad);
                left[column] = qMin(left[column], text.left() - pad);
                right[lastColumn] = qMax(right[lastColumn], text.right() + pad);
            }
        }
        for (int row = 0; row < table->rows(); ++row) {
            for (int column = 0; column < table->columns(); ++column) {
                const QTextTableCell cell = table->cellAt(row, column);
                if (cell.row() != row || cell.column() != column)
                    continue;
                const int lastRow = row + cell.rowSpan() - 1;
                const int lastColumn = column + cell.columnSpan() - 1;
                painter.drawRect(QRectF(QPointF(left[column], top[row]),
                                        QPointF(right[lastColumn], bottom[lastRow])));
            }
        }
    }
}
