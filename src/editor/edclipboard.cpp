#include "editor/edclipboard.h"

#include "docmodel/docproperties.h"
#include "docmodel/htmlfragmentexporter.h"
#include "docmodel/importadopter.h"
#include "docmodel/linkdetection.h"
#include "docmodel/styleimporter.h"
#include "docmodel/vdocformat.h"
#include "docmodel/vdocreader.h"
#include "docmodel/vdocwriter.h"
#include "editor/eddialogs.h"
#include "editor/tdoceditor.h"
#include "ui/userdialogs.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QUrl>
#include <utility>

namespace {

/// A document holding the selection, with the editor's style sheet.
void fillWithSelection(EdDocument& copy, const TDocStyle& style, const QTextCursor& cursor) {
    copy.setDocStyle(style);
    QTextCursor target(copy.textDocument());
    target.insertFragment(cursor.selection());
    copy.adoptImportedContent(0, copy.textDocument()->characterCount());
}

QByteArray pngOf(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace

QMimeData* EdClipboard::mimeFromSelection(const QTextCursor& cursor) const {
    auto* mime = new QMimeData;
    EdDocument copy;
    fillWithSelection(copy, m_editor.edDocument().docStyle(), cursor);
    mime->setText(cursor.selection().toPlainText());
    mime->setHtml(HtmlFragmentExporter(copy).toHtml());
    mime->setData(nativeMimeType(), VDocWriter::write(copy));
    const QList<DocItem> items = copy.rootData().items();
    if (items.size() == 1 && items.first().kind == DocItem::Picture)
        mime->setImageData(DocPicture::fromFormat(items.first().format.toImageFormat()).image());
    return mime;
}

bool EdClipboard::canInsert(const QMimeData* source) const {
    return source->hasFormat(nativeMimeType()) || source->hasImage() || source->hasUrls() ||
           source->hasHtml() || source->hasText();
}

void EdClipboard::insert(const QMimeData* source, QTextCursor& cursor) {
    m_toAdopt.reset();
    cursor.beginEditBlock();
    insertContent(source, cursor);
    cursor.endEditBlock();
    adoptInserted(cursor);
}

listingimport::LeftOut EdClipboard::insertPage(const QString& html, const QString& baseFolder,
                                               QTextCursor& cursor) {
    listingimport::LeftOut leftOut;
    m_toAdopt.reset();
    cursor.beginEditBlock();
    insertHtml(html, cursor, baseFolder, leftOut);
    cursor.endEditBlock();
    adoptInserted(cursor);
    return leftOut;
}

void EdClipboard::adoptInserted(QTextCursor& cursor) {
    if (!m_toAdopt)
        return;
    // The text document files the tables an edit brought only when its edit
    // block has ended; the adoption, which flattens and limits them to what
    // the document file keeps, must see them. It joins the same undo step.
    const Inserted inserted = *std::exchange(m_toAdopt, std::nullopt);
    cursor.joinPreviousEditBlock();
    m_editor.edDocument().adoptImportedContent(inserted.from, inserted.to, inserted.readHyperlink,
                                               inserted.resolvePicture);
    cursor.endEditBlock();
}

void EdClipboard::insertContent(const QMimeData* source, QTextCursor& cursor) {
    if (source->hasFormat(nativeMimeType()) && insertNative(source->data(nativeMimeType()), cursor))
        return;
    if (source->hasUrls() && insertPictureFiles(source, cursor))
        return;
    if (source->hasImage()) {
        DocPicture picture;
        const QImage image = qvariant_cast<QImage>(source->imageData());
        picture.bytes = pngOf(image);
        picture.format = "png";
        picture.width = image.width();
        picture.height = image.height();
        m_editor.fitPictureToPage(picture);
        m_editor.edDocument().insertPicture(cursor, picture);
        return;
    }
    if (source->hasHtml()) {
        listingimport::LeftOut leftOut;
        insertHtml(source->html(), cursor, QString(), leftOut);
    } else if (source->hasText())
        insertText(source->text(), cursor);
}

bool EdClipboard::insertNative(const QByteArray& bytes, QTextCursor& cursor) {
    EdDocument pasted;
    if (!VDocReader::read(bytes, pasted))
        return false;
    StyleImporter::renumberInto(pasted, m_editor.edDocument().docStyle());
    const int start = qMin(cursor.position(), cursor.anchor());
    ImportAdopter::flattenTablesBeyond(pasted.textDocument(), roomForTables(cursor));
    cursor.removeSelectedText();
    cursor.insertFragment(QTextDocumentFragment(pasted.textDocument()));
    m_toAdopt = Inserted{start, cursor.position(), {}, {}};
    return true;
}

int EdClipboard::roomForTables(const QTextCursor& cursor) {
    // Tables deeper than the document keeps are flattened before they reach
    // the editor, which would lay each level out twice for the one around it.
    QTextCursor at(cursor);
    at.setPosition(qMin(cursor.position(), cursor.anchor()));
    return qMax(0, vdocformat::kMaxNesting - ImportAdopter::tableDepth(at));
}

bool EdClipboard::insertPictureFiles(const QMimeData* source, QTextCursor& cursor) {
    QList<DocPicture> pictures;
    for (const QUrl& url : source->urls()) {
        DocPicture picture;
        if (url.isLocalFile() && DocPicture::fromFile(url.toLocalFile(), picture)) {
            m_editor.fitPictureToPage(picture);
            pictures.append(picture);
        }
    }
    for (const DocPicture& picture : pictures)
        m_editor.edDocument().insertPicture(cursor, picture);
    return !pictures.isEmpty();
}

void EdClipboard::insertHtml(const QString& pasted, QTextCursor& cursor, const QString& baseFolder,
                             listingimport::LeftOut& leftOut) {
    // Scripts, forms and style sheets never come in, wherever the HTML
    // came from.
    const listingimport::Prepared prepared = listingimport::prepare(pasted, baseFolder, leftOut);
    const QString& html = prepared.html;
    const int start = qMin(cursor.position(), cursor.anchor());
    QTextDocument outside;
    QTextCursor atOutside(&outside);
    listingimport::insertHtml(atOutside, html);
    if (ImportAdopter::flattenTablesBeyond(&outside, roomForTables(cursor)) > 0)
        cursor.insertFragment(QTextDocumentFragment(&outside));
    else
        listingimport::insertHtml(cursor, html);
    m_toAdopt =
        Inserted{start, cursor.position(),
                 [this](const QString& target, int& styleNo, QString& tag) {
                     TDocEditor::ReadHyperlinkHandler handler = m_editor.OnReadHyperlink;
                     QString itemName;
                     tag = TDocEditor::NormalizeLinkTarget(target);
                     if (handler)
                         handler(target, QString(), TDocEditor::edlfHTML, styleNo, tag, itemName);
                 },
                 prepared.resolver()};
}

void EdClipboard::insertText(const QString& pasted, QTextCursor& cursor) {
    QString text = pasted;
    text.removeIf(vdocformat::isStrayCharacter);
    const QString trimmed = text.trimmed();
    linkdetection::DetectedLink link;
    const bool bareAddress =
        !trimmed.contains(QLatin1Char(' ')) && !trimmed.contains(QLatin1Char('\n')) &&
        linkdetection::detect(trimmed, link) && link.start == 0 && link.end == trimmed.size();
    if (!bareAddress) {
        cursor.insertText(text);
        return;
    }
    int styleNo = m_editor.LinkStyleIndex(-1);
    QString tag = link.target;
    QString itemName;
    if (m_editor.OnReadHyperlink)
        m_editor.OnReadHyperlink(trimmed, QString(), TDocEditor::edlfURL, styleNo, tag, itemName);
    const QTextCharFormat plain = cursor.charFormat();
    cursor.removeSelectedText();
    m_editor.edDocument().insertText(cursor, trimmed, styleNo, tag);
    cursor.setCharFormat(plain);
}

void EdClipboard::pasteSpecial() {
    const QMimeData* source = QGuiApplication::clipboard()->mimeData();
    if (!source)
        return;
    struct Offer {
        QString caption;
        QString mime;
    };
    QList<Offer> offers;
    if (source->hasFormat(nativeMimeType()))
        offers.append({QStringLiteral("Vantrel document"), nativeMimeType()});
    if (source->hasHtml())
        offers.append({QStringLiteral("HTML format"), QStringLiteral("text/html")});
    if (source->hasImage())
        offers.append({QStringLiteral("Picture"), QStringLiteral("application/x-qt-image")});
    if (source->hasText())
        offers.append({QStringLiteral("Unformatted text"), QStringLiteral("text/plain")});
    if (offers.isEmpty())
        return;
    QStringList captions;
    for (const Offer& offer : offers)
        captions.append(offer.caption);
    EdChoiceDialog dialog(QStringLiteral("PasteSpecialDialog"), QStringLiteral("Paste Special"),
                          captions, &m_editor);
    if (m_editor.dialogs().runModal(dialog) != QDialog::Accepted || dialog.chosen() < 0)
        return;
    const QString mime = offers.at(dialog.chosen()).mime;
    QMimeData only;
    if (mime == QLatin1String("application/x-qt-image"))
        only.setImageData(source->imageData());
    else
        only.setData(mime, source->data(mime));
    m_editor.insertMimeData(only);
}
