#pragma once

#include "docmodel/customdocdata.h"
#include "platform/result.h"

#include <QColor>
#include <QHash>
#include <QString>
#include <functional>

class EdDocument;
class QIODevice;
struct DocPicture;

namespace pictureplan {
class Plan;
struct DocumentPicture;
} // namespace pictureplan

/// Writes a document as an HTML fragment for the listing page: content only
/// (no document type, html, head or body), formatting as inline style
/// attributes, Windows-1252 bytes with CR LF line ends, list markers as
/// text, every picture with its width and height, every text and attribute
/// value escaped.
class HtmlFragmentExporter {
public:
    enum TEdSaveFormat { edsfHTML };
    /// Decides a picture's source: set `location` and clear `doDefault` to
    /// have `location` written and no picture file saved.
    using HtmlSaveImageHandler =
        std::function<void(const TCustomDocData& data, int itemNo, const QString& path,
                           const QColor& backgroundColor, QString& location, bool& doDefault)>;
    /// Decides a link's anchor; `target` and `extras` are empty on entry.
    using WriteHyperlinkHandler =
        std::function<void(int id, const TCustomDocData& data, int itemNo, TEdSaveFormat saveFormat,
                           QString& target, QString& extras)>;

    explicit HtmlFragmentExporter(const EdDocument& document);

    /// Where the page takes the document's pictures from, decided before the
    /// export: every picture the plan holds is written with its address
    /// there, and neither `OnHTMLSaveImage` nor the exporter decides it.
    /// The pictures of no file must be in their planned files already.
    const pictureplan::Plan* picturePlan = nullptr;
    HtmlSaveImageHandler OnHTMLSaveImage;
    /// Without a handler a link is written with its tag as the target. Only
    /// targets that `linkdetection::allowedLinkAddress` allows are written,
    /// as it gives them; other links are written as their text alone.
    WriteHyperlinkHandler OnWriteHyperlink;
    /// Where the exporter saves pictures that have no other source. Their
    /// source is then the bare file name (the page is meant to live in that
    /// folder); when empty, a folder of this process under the system's
    /// temporary folder is used (removed when the process ends) and the
    /// source is a file URL.
    QString picturesFolder;
    QString imagePrefix = QStringLiteral("img");

    /// Every picture of the document, in the plan's terms.
    static QList<pictureplan::DocumentPicture> documentPictures(const EdDocument& document);
    /// The folder of this process alone (under the system's temporary
    /// folder, removed when the process ends) where pictures of no file are
    /// kept for a page shown on this computer.
    static Result<QString> privatePicturesFolder();

    /// The fragment as text (only Windows-1252 characters).
    QString toHtml();
    /// Writes the fragment in Windows-1252; false when writing failed.
    /// Throws AppError when a picture file cannot be saved.
    bool write(QIODevice& out);

private:
    void writeContainer(const TCustomDocData& data);
    void writeParagraph(const TCustomDocData& data, const QList<DocItem>& items, int first,
                        int end);
    void writeListMarker(const DocItem& first, int width);
    void writeRun(const DocItem& item);
    void writeItem(const TCustomDocData& data, const DocItem& item, int itemNo);
    void writePicture(const TCustomDocData& data, const DocItem& item, int itemNo, bool inLink);
    void writeTable(const DocItem& item);
    void writeHLine(const DocItem& item);
    QString pictureSource(const TCustomDocData& data, int itemNo, const DocPicture& picture,
                          const QString& resourceName);
    /// Saves the picture under a name made from its content (the hash in its
    /// resource name), so an unchanged picture is written once.
    QString savedPicture(const DocPicture& picture, const QString& resourceName);
    bool linkAnchor(const TCustomDocData& data, const DocItem& item, int itemNo, QString& start);
    /// The start tags of a text style's span and of a paragraph, made once
    /// per export.
    const QString& spanStart(int styleNo);
    const QString& paragraphStart(int paraNo, int listIndent, int hanging);

    const EdDocument& m_document;
    QString m_html;
    bool m_paragraphHasText = false;
    QHash<int, QString> m_spanStarts;
    /// By paragraph style, list indentation and hanging first line.
    QHash<std::pair<int, std::pair<int, int>>, QString> m_paragraphStarts;
};
