#include "docmodel/htmlfragmentexporter.h"

#include "docmodel/docpicture.h"
#include "docmodel/docproperties.h"
#include "docmodel/eddocument.h"
#include "docmodel/htmlcss.h"
#include "docmodel/htmlescape.h"
#include "docmodel/linkdetection.h"
#include "platform/apperror.h"
#include "platform/fileurl.h"
#include "platform/pictureplan.h"
#include "platform/safefile.h"
#include "platform/windows1252.h"

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QIODevice>
#include <QMutex>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

/// Text of a run as HTML: spaces that HTML would collapse stay visible, tabs
/// become four spaces and line breaks inside a paragraph become <br>.
void appendRunText(QString& out, const QString& text, bool& previousWasSpace) {
    qsizetype start = 0;
    auto flush = [&](qsizetype end) {
        htmlescape::appendText(out, QStringView(text).mid(start, end - start));
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        const bool space = ch == u' ';
        if ((space && previousWasSpace) || ch == u'\t' || ch == QChar::LineSeparator ||
            ch == QChar::ObjectReplacementCharacter || ch.unicode() == 0xFDD0 ||
            ch.unicode() == 0xFDD1) {
            flush(i);
            start = i + 1;
            if (space)
                out += QStringLiteral("&nbsp;");
            else if (ch == u'\t')
                out += QStringLiteral("&nbsp;&nbsp;&nbsp;&nbsp;");
            else if (ch == QChar::LineSeparator)
                out += QStringLiteral("<br>");
        }
        previousWasSpace = space || ch == u'\t';
    }
    flush(text.size());
}

QString tableStartTag(const QTextTableFormat& format) {
    QString tag = QStringLiteral("<table border=\"%1\" cellpadding=\"%2\" cellspacing=\"%3\"")
                      .arg(qRound(format.border()))
                      .arg(qRound(format.cellPadding()))
                      .arg(qRound(format.cellSpacing()));
    if (format.alignment() & Qt::AlignHCenter)
        tag += QStringLiteral(" align=\"center\"");
    else if (format.alignment() & Qt::AlignRight)
        tag += QStringLiteral(" align=\"right\"");
    // The page's style sheet may set its own spacing, collapsing and
    // padding for tables; inline, the document's own win.
    QStringList css;
    css << QStringLiteral("border-collapse: separate; border-spacing: %1px;")
               .arg(qRound(format.cellSpacing()));
    if (format.borderBrush().style() != Qt::NoBrush && format.borderBrush().color().isValid())
        css << QStringLiteral("border-color: ") + htmlcss::color(format.borderBrush().color()) +
                   u';';
    if (format.background().style() != Qt::NoBrush && format.background().color().isValid())
        css << QStringLiteral("background-color: ") + htmlcss::color(format.background().color()) +
                   u';';
    if (format.width().type() == QTextLength::FixedLength)
        css << QStringLiteral("width: %1px;").arg(qRound(format.width().rawValue()));
    else if (format.width().type() == QTextLength::PercentageLength)
        css << QStringLiteral("width: %1%;").arg(qRound(format.width().rawValue()));
    tag += QStringLiteral(" style=\"") + css.join(u' ') + u'"';
    return tag + u'>';
}

QString cellStartTag(const QTextTableCell& cell, const QList<QTextLength>& columnWidths,
                     int padding) {
    QString tag = QStringLiteral("<td");
    const QTextLength width = columnWidths.value(cell.column());
    if (cell.columnSpan() == 1 && width.type() == QTextLength::FixedLength)
        tag += QStringLiteral(" width=\"%1\"").arg(qRound(width.rawValue()));
    else if (cell.columnSpan() == 1 && width.type() == QTextLength::PercentageLength)
        tag += QStringLiteral(" width=\"%1%\"").arg(qRound(width.rawValue()));
    if (cell.rowSpan() > 1)
        tag += QStringLiteral(" rowspan=\"%1\"").arg(cell.rowSpan());
    if (cell.columnSpan() > 1)
        tag += QStringLiteral(" colspan=\"%1\"").arg(cell.columnSpan());
    const QTextCharFormat format = cell.format();
    // The editor puts cell content at the top unless told otherwise.
    const QTextCharFormat::VerticalAlignment alignment = format.verticalAlignment();
    const char* vAlign = alignment == QTextCharFormat::AlignMiddle   ? "middle"
                         : alignment == QTextCharFormat::AlignBottom ? "bottom"
                                                                     : "top";
    if (alignment == QTextCharFormat::AlignTop || alignment == QTextCharFormat::AlignMiddle ||
        alignment == QTextCharFormat::AlignBottom)
        tag += QStringLiteral(" valign=\"%1\"").arg(QLatin1String(vAlign));
    // Inline, so the page's style sheet cannot change them.
    tag += QStringLiteral(" style=\"padding: %1px; vertical-align: %2;")
               .arg(padding)
               .arg(QLatin1String(vAlign));
    if (format.background().style() != Qt::NoBrush && format.background().color().isValid())
        tag += QStringLiteral(" background-color: ") + htmlcss::color(format.background().color()) +
               u';';
    static const char* sides[] = {"left", "top", "right", "bottom"};
    // Names of the layout's border styles; the dot-dash ones have no CSS
    // counterpart and come closest as dashes and dots.
    static const char* styles[] = {"none",   "dotted", "dashed", "solid", "double", "dashed",
                                   "dotted", "groove", "ridge",  "inset", "outset"};
    for (int side = docprop::CellLeft; side <= docprop::CellBottom; ++side) {
        const docprop::CellBorder border = docprop::cellBorder(format, side);
        if (border.width == 0)
            continue;
        tag += QStringLiteral(" border-%1: %2px %3 %4;")
                   .arg(QLatin1String(sides[side]))
                   .arg(border.width)
                   .arg(QLatin1String(styles[border.style]))
                   .arg(htmlcss::color(border.color.isValid() ? border.color : QColor(Qt::black)));
    }
    return tag + QStringLiteral("\">");
}

/// Pictures the exporter saves without a folder of the caller's go to a
/// folder of this process alone: a new name, readable by its owner only, and
/// removed when the process ends.
const QTemporaryDir& ownPicturesFolder() {
    static const QTemporaryDir folder(
        QDir(QDir::tempPath()).filePath(QStringLiteral("vantrel-pictures-XXXXXX")));
    return folder;
}

/// A picture file as this process wrote it.
struct WrittenPicture {
    qint64 size = -1;
    QDateTime modified;
};

/// The picture files this process has written, by full path.
QHash<QString, WrittenPicture>& writtenPictures() {
    static QHash<QString, WrittenPicture> files;
    return files;
}

/// True when the file at `path` is still the one this process wrote there.
bool isOurPicture(const QString& path) {
    const auto it = writtenPictures().constFind(path);
    if (it == writtenPictures().constEnd())
        return false;
    const QFileInfo file(path);
    return file.isFile() && !file.isSymLink() && file.size() == it->size &&
           file.lastModified() == it->modified;
}

/// A picture in the picture plan's terms, named by the document's name for
/// its bytes when it has one (their SHA-1), which spares hashing them again.
pictureplan::DocumentPicture plannedPicture(const DocPicture& picture,
                                            const QString& resourceName) {
    const QString prefix = docprop::pictureResourcePrefix();
    const QString hash =
        resourceName.startsWith(prefix) ? resourceName.mid(prefix.size()) : QString();
    pictureplan::DocumentPicture planned(picture.fileName, picture.bytes, picture.format,
                                         hash.size() == 40 ? hash : QString());
    planned.webAddress = picture.address;
    return planned;
}

QMutex& writtenPicturesMutex() {
    static QMutex mutex;
    return mutex;
}

} // namespace

HtmlFragmentExporter::HtmlFragmentExporter(const EdDocument& document)
    : m_document(document) {}

QList<pictureplan::DocumentPicture>
HtmlFragmentExporter::documentPictures(const EdDocument& document) {
    QList<pictureplan::DocumentPicture> pictures;
    const QTextDocument* text = document.textDocument();
    for (QTextBlock block = text->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (!format.isImageFormat())
                continue;
            const QTextImageFormat image = format.toImageFormat();
            pictures.append(plannedPicture(DocPicture::fromFormat(image), image.name()));
        }
    }
    return pictures;
}

Result<QString> HtmlFragmentExporter::privatePicturesFolder() {
    const QTemporaryDir& own = ownPicturesFolder();
    if (!own.isValid())
        return fail(QStringLiteral("Cannot create a folder for the document's pictures in "
                                   "\"%1\": %2")
                        .arg(QDir::tempPath(), own.errorString()));
    return own.path();
}

QString HtmlFragmentExporter::toHtml() {
    // The last fragment's size is a good guess for this one's.
    const qsizetype lastSize = m_html.size();
    m_html = QString();
    m_html.reserve(lastSize + lastSize / 8);
    m_spanStarts.clear();
    m_paragraphStarts.clear();
    // The document's background colour, as the editor and the printed page
    // show it, stands behind the document's content in the page too.
    const QColor background = m_document.backgroundColor();
    if (background.isValid())
        m_html += QStringLiteral("<div style=\"background-color: ") + htmlcss::color(background) +
                  QStringLiteral("\">") + kLineEnd;
    writeContainer(m_document.rootData());
    if (background.isValid())
        m_html += QStringLiteral("</div>") + kLineEnd;
    return m_html;
}

const QString& HtmlFragmentExporter::spanStart(int styleNo) {
    auto it = m_spanStarts.find(styleNo);
    if (it == m_spanStarts.end()) {
        it = m_spanStarts.insert(styleNo,
                                 QStringLiteral("<span style=\"") +
                                     htmlcss::text(m_document.docStyle().TextStyles.at(styleNo)) +
                                     QStringLiteral("\">"));
    }
    return *it;
}

const QString& HtmlFragmentExporter::paragraphStart(int paraNo, int listIndent, int hanging) {
    const std::pair<int, std::pair<int, int>> key{paraNo, {listIndent, hanging}};
    auto it = m_paragraphStarts.find(key);
    if (it == m_paragraphStarts.end()) {
        const TParaStyleInfo& para = m_document.docStyle().ParaStyles.at(paraNo);
        // The attribute as well as the style: mail clients and auction
        // sites that strip styles keep it.
        const QString dir =
            para.BiDiMode == TParaStyleInfo::bdRightToLeft   ? QStringLiteral(" dir=\"rtl\"")
            : para.BiDiMode == TParaStyleInfo::bdLeftToRight ? QStringLiteral(" dir=\"ltr\"")
                                                             : QString();
        it = m_paragraphStarts.insert(
            key, QStringLiteral("<p") + dir + QStringLiteral(" style=\"") +
                     htmlcss::paragraph(para, listIndent, hanging) + QStringLiteral("\">"));
    }
    return *it;
}

bool HtmlFragmentExporter::write(QIODevice& out) {
    const QByteArray bytes = windows1252::encode(toHtml());
    return out.write(bytes) == bytes.size();
}

void HtmlFragmentExporter::writeContainer(const TCustomDocData& data) {
    const QList<DocItem> items = data.items();
    int first = 0;
    for (int i = 1; i <= items.size(); ++i) {
        if (i == items.size() || items.at(i).startsParagraph) {
            writeParagraph(data, items, first, i);
            first = i;
        }
    }
}

void HtmlFragmentExporter::writeParagraph(const TCustomDocData& data, const QList<DocItem>& items,
                                          int first, int end) {
    int i = first;
    if (items.at(i).kind == DocItem::PageBreak) {
        m_html += QStringLiteral("<div style=\"page-break-before: always\"></div>") + kLineEnd;
        ++i;
    }
    if (i < end && items.at(i).kind == DocItem::Table) {
        writeTable(items.at(i));
        return;
    }
    if (i < end && items.at(end - 1).kind == DocItem::HLine) {
        // Text typed on a line stands above it.
        if (i < end - 1)
            writeParagraph(data, items, i, end - 1);
        writeHLine(items.at(end - 1));
        return;
    }
    if (i >= end)
        return;
    const TDocStyle& style = m_document.docStyle();
    const QTextBlock block = items.at(i).block;
    const QTextList* list = block.textList();
    // A list item's marker hangs in the step its level is indented by, as
    // the editor shows it: every line of the item starts under its text.
    const int step =
        list ? style.ListStyles.at(list->format().intProperty(docprop::ListNo)).IndentStep : 0;
    const int listIndent = list ? step * (list->format().intProperty(docprop::ListLevel) + 1) : 0;
    m_html += paragraphStart(block.blockFormat().intProperty(docprop::ParaNo), listIndent, step);
    m_paragraphHasText = false;
    if (list)
        writeListMarker(items.at(i), step);
    const bool empty =
        end - i == 1 && items.at(i).kind == DocItem::Text && items.at(i).text.isEmpty();
    if (empty) {
        m_html += spanStart(items.at(i).styleNo());
        m_html += QLatin1String("&nbsp;</span>");
    }
    for (; i < end && !empty; ++i)
        writeItem(data, items.at(i), i);
    m_html += QLatin1String("</p>\r\n");
}

void HtmlFragmentExporter::writeListMarker(const DocItem& first, int width) {
    const QTextList* list = first.block.textList();
    const TListInfo& info =
        m_document.docStyle().ListStyles.at(list->format().intProperty(docprop::ListNo));
    const int styleNo = first.kind == DocItem::Text ? first.styleNo() : 0;
    m_html += QStringLiteral("<span style=\"") + htmlcss::listMarkerBox(width) + u' ' +
              htmlcss::text(m_document.docStyle().TextStyles.at(styleNo)) + QStringLiteral("\">");
    htmlescape::appendText(m_html, htmlcss::listMarker(info, list->itemNumber(first.block)));
    m_html += QLatin1String("&nbsp;</span>");
}

void HtmlFragmentExporter::writeItem(const TCustomDocData& data, const DocItem& item, int itemNo) {
    QString anchorStart;
    const bool inLink = item.isLink(m_document.docStyle().TextStyles) &&
                        linkAnchor(data, item, itemNo, anchorStart);
    m_html += anchorStart;
    switch (item.kind) {
    case DocItem::Text:
        writeRun(item);
        break;
    case DocItem::Picture:
        writePicture(data, item, itemNo, inLink);
        break;
    case DocItem::Anchor:
        m_html += QStringLiteral("<a name=\"") +
                  htmlescape::attribute(item.format.stringProperty(docprop::AnchorName)) +
                  QStringLiteral("\"></a>");
        break;
    default:
        break;
    }
    if (inLink)
        m_html += QStringLiteral("</a>");
}

bool HtmlFragmentExporter::linkAnchor(const TCustomDocData& data, const DocItem& item, int itemNo,
                                      QString& start) {
    QString target;
    QString extras;
    if (OnWriteHyperlink)
        OnWriteHyperlink(item.position, data, itemNo, edsfHTML, target, extras);
    else
        target = item.tag();
    if (!target.isEmpty()) {
        // Script, data and local addresses never reach the page: such a
        // link's text is written without the link.
        target = linkdetection::allowedLinkAddress(target);
        if (target.isEmpty())
            return false;
    }
    if (target.isEmpty() && extras.isEmpty())
        return false;
    start = QStringLiteral("<a");
    if (!target.isEmpty())
        start += QStringLiteral(" href=\"") + htmlescape::attribute(target) + QLatin1Char('"');
    // Extras are markup the program itself supplies ("target=_blank").
    if (!extras.isEmpty())
        start += QLatin1Char(' ') + extras;
    start += QLatin1Char('>');
    return true;
}

void HtmlFragmentExporter::writeRun(const DocItem& item) {
    m_html += spanStart(item.styleNo());
    bool previousWasSpace = !m_paragraphHasText;
    appendRunText(m_html, item.text, previousWasSpace);
    m_paragraphHasText = m_paragraphHasText || !item.text.isEmpty();
    m_html += QLatin1String("</span>");
}

void HtmlFragmentExporter::writePicture(const TCustomDocData& data, const DocItem& item, int itemNo,
                                        bool inLink) {
    const DocPicture picture = DocPicture::fromFormat(item.format.toImageFormat());
    QSize size(picture.width, picture.height);
    // The size of a picture on the web is not known before it arrives: the
    // page gives what the document gives and the browser the rest.
    if (!picture.isOnWeb() && (size.width() <= 0 || size.height() <= 0)) {
        const QSize own = picture.pixelSize();
        size = own.isEmpty() ? m_document.docStyle().InvalidPicture.size() : own;
    }
    static const char* alignments[] = {"baseline", "middle", "top"};
    m_html += QStringLiteral("<img src=\"") +
              htmlescape::attribute(
                  pictureSource(data, itemNo, picture, item.format.toImageFormat().name())) +
              QLatin1Char('"');
    if (size.width() > 0)
        m_html += QStringLiteral(" width=\"%1\"").arg(size.width());
    if (size.height() > 0)
        m_html += QStringLiteral(" height=\"%1\"").arg(size.height());
    m_html += QStringLiteral(" alt=\"\"");
    if (inLink)
        m_html += QStringLiteral(" border=\"0\"");
    m_html += QStringLiteral(" style=\"vertical-align: %1\">")
                  .arg(QLatin1String(alignments[picture.vAlign]));
    m_paragraphHasText = true;
}

QString HtmlFragmentExporter::pictureSource(const TCustomDocData& data, int itemNo,
                                            const DocPicture& picture,
                                            const QString& resourceName) {
    // A picture on the web is named where it is, on every page.
    if (picture.isOnWeb())
        return picture.address;
    if (picturePlan) {
        if (const pictureplan::Entry* planned =
                picturePlan->documentPicture(plannedPicture(picture, resourceName)))
            return planned->address;
    }
    if (OnHTMLSaveImage) {
        QString location;
        bool doDefault = true;
        OnHTMLSaveImage(data, itemNo, picturesFolder, m_document.backgroundColor(), location,
                        doDefault);
        if (!doDefault && !location.isEmpty())
            return location;
    }
    // A bare path is no address in a page: the preview would not find it.
    if (!picture.fileName.isEmpty())
        return PathToFileUrl(picture.fileName);
    return savedPicture(picture, resourceName);
}

QString HtmlFragmentExporter::savedPicture(const DocPicture& picture, const QString& resourceName) {
    QByteArray bytes = picture.bytes;
    QByteArray extension = picture.format == "jpeg" ? QByteArray("jpg") : picture.format;
    if (extension != "jpg" && extension != "png" && extension != "gif") {
        QImage image = picture.image();
        if (image.isNull())
            image = m_document.docStyle().InvalidPicture;
        bytes.clear();
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.convertToFormat(QImage::Format_RGB32).save(&buffer, "JPEG", 90);
        extension = "jpg";
    }
    const bool ownFolder = picturesFolder.isEmpty();
    QString folder = picturesFolder;
    if (ownFolder) {
        const Result<QString> own = privatePicturesFolder();
        if (!own)
            throw AppError(own.error());
        folder = own.value();
    } else {
        QDir().mkpath(folder);
    }
    const QString prefix = docprop::pictureResourcePrefix();
    const QString hash = (resourceName.startsWith(prefix) ? resourceName : picture.resourceName())
                             .mid(prefix.size(), 16);
    const QString name = imagePrefix + hash + QLatin1Char('.') + QString::fromLatin1(extension);
    const QString path = QDir(folder).filePath(name);
    // The name follows the content, so a file this process wrote under it is
    // this picture; a file found there may be anyone's and is replaced.
    QMutexLocker lock(&writtenPicturesMutex());
    if (!isOurPicture(path)) {
        writeFileAtomically(path, bytes);
        const QFileInfo written(path);
        writtenPictures().insert(path, {written.size(), written.lastModified()});
    }
    return ownFolder ? PathToFileUrl(path) : name;
}

void HtmlFragmentExporter::writeHLine(const DocItem& item) {
    const QTextBlockFormat format = item.block.blockFormat();
    const QColor color = docprop::hLineColor(format);
    const int width = docprop::hLineWidth(format);
    m_html +=
        QStringLiteral("<hr style=\"height: %1px; border: none; color: %2; background-color: %2\">")
            .arg(width)
            .arg(htmlcss::color(color)) +
        kLineEnd;
}

void HtmlFragmentExporter::writeTable(const DocItem& item) {
    QTextTable* table = item.table;
    m_html += tableStartTag(table->format()) + kLineEnd;
    const int padding = qRound(table->format().cellPadding());
    for (int row = 0; row < table->rows(); ++row) {
        m_html += QStringLiteral("<tr>") + kLineEnd;
        for (int column = 0; column < table->columns(); ++column) {
            const QTextTableCell cell = table->cellAt(row, column);
            if (cell.row() != row || cell.column() != column)
                continue;
            m_html +=
                cellStartTag(cell, table->format().columnWidthConstraints(), padding) + kLineEnd;
            writeContainer(TCustomDocData(table, row, column));
            m_html += QStringLiteral("</td>") + kLineEnd;
        }
        m_html += QStringLiteral("</tr>") + kLineEnd;
    }
    m_html += QStringLiteral("</table>") + kLineEnd;
}
