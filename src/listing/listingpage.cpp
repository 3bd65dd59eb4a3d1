#include "listing/listingpage.h"

#include "docmodel/eddocument.h"
#include "docmodel/htmlfragmentexporter.h"
#include "docmodel/vdocreader.h"
#include "layout/layout.h"
#include "layout/layoutfile.h"
#include "layout/layoutrules.h"
#include "layout/layoutstate.h"
#include "listing/imageservers.h"
#include "pagegen/pagegenerator.h"
#include "pagegen/pagepictures.h"
#include "pagegen/pagetext.h"
#include "pagegen/pictureinputs.h"
#include "pagegen/publishingstate.h"
#include "platform/apperror.h"
#include "platform/fileurl.h"
#include "platform/inifile.h"
#include "platform/safefile.h"
#include "platform/windows1252.h"
#include "platform/workingfolders.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include <algorithm>
#include <optional>

namespace listingpage {

namespace {

/// An attribute value or url() argument as the text it stands for.
QString withoutReferences(QString value) {
    value.replace(QLatin1String("&quot;"), QLatin1String("\""));
    value.replace(QLatin1String("&apos;"), QLatin1String("'"));
    value.replace(QLatin1String("&#39;"), QLatin1String("'"));
    value.replace(QLatin1String("&lt;"), QLatin1String("<"));
    value.replace(QLatin1String("&gt;"), QLatin1String(">"));
    value.replace(QLatin1String("&amp;"), QLatin1String("&"));
    value = value.trimmed();
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        value = value.mid(1, value.size() - 2).trimmed();
    return value;
}

/// The file of a picture the fragment refers to by a local path, taken from
/// `folder` when relative; nothing for an address (any scheme), an anchor or
/// an empty reference, which stay as they are.
std::optional<QString> pictureFile(const QString& reference, const QDir& folder) {
    QString path = withoutReferences(reference);
    if (path.isEmpty() || path.startsWith(u'#') || path.startsWith(QLatin1String("//")) ||
        path.startsWith(QLatin1String("\\\\")))
        return std::nullopt;
    path.replace(u'\\', u'/');
    // A page's reference is a URL: "My%20Sky.png" is the file "My Sky.png".
    const QUrl url(path);
    if (!url.scheme().isEmpty() || !url.isValid())
        return std::nullopt;
    const QUrl base = QUrl::fromLocalFile(folder.absolutePath() + QLatin1Char('/'));
    const QString file = base.resolved(url).toLocalFile();
    return file.isEmpty() ? std::nullopt : std::optional<QString>(file);
}

/// The document's picture plan: for the preview at their files, for
/// publishing at the request's server.
pictureplan::Input documentPlanInput(const Request& request) {
    pictureplan::Input input;
    if (!request.server.isEmpty()) {
        input.target = pictureplan::Target::Publish;
        input.servers.document = request.server;
    }
    return input;
}

/// The fragment with its pictures' local paths resolved against the
/// fragment's folder, as their plan places them; every other byte stays as
/// it is.
QByteArray withPicturesFromFolder(const QByteArray& fragment, const QDir& folder,
                                  const Request& request, pictureplan::Plan& plan) {
    // Latin-1 keeps one character per byte, so the bytes come back unchanged.
    const QString text = QString::fromLatin1(fragment);
    struct Replacement {
        qsizetype start;
        qsizetype length;
        QString value;
    };
    QList<Replacement> replacements;
    pictureplan::Input input = documentPlanInput(request);
    QList<std::pair<PagePictureReference, QString>> local;
    for (const PagePictureReference& reference : pagePictureReferences(text)) {
        const QString value = windows1252::decode(reference.value.toLatin1());
        if (const auto file = pictureFile(value, folder)) {
            local.append({reference, *file});
            input.document.append(pictureplan::DocumentPicture(*file));
        }
    }
    plan = pictureplan::make(input);
    for (const auto& [reference, file] : std::as_const(local)) {
        const pictureplan::Entry* planned = plan.documentPicture({file, {}, {}});
        if (!planned)
            continue;
        // A file URL or a server address holds neither quotes nor
        // parentheses: it goes bare into url().
        const QString& url = planned->address;
        replacements.append(
            {reference.start, reference.length, reference.attribute ? u'"' + url + u'"' : url});
    }
    std::sort(replacements.begin(), replacements.end(),
              [](const Replacement& a, const Replacement& b) { return a.start > b.start; });
    QString result = text;
    qsizetype untouchedFrom = text.size();
    for (const Replacement& r : std::as_const(replacements)) {
        // A url() inside an attribute already replaced stays as it was.
        if (r.start + r.length > untouchedFrom)
            continue;
        result.replace(r.start, r.length, r.value);
        untouchedFrom = r.start;
    }
    return result.toLatin1();
}

/// The document's pictures as the plan puts them. The preview's pictures of
/// no file are saved beside the page, which must outlive this run; the
/// published ones go to the server from their bytes.
pictureplan::Plan planPictures(const EdDocument& document, const Request& request) {
    pictureplan::Input input = documentPlanInput(request);
    input.document = HtmlFragmentExporter::documentPictures(document);
    input.unfiledFolder = request.picturesFolder;
    input.unfiledByName = true;
    pictureplan::Plan plan = pictureplan::make(input);
    if (plan.target == pictureplan::Target::Preview) {
        const Status saved = pictureplan::saveUnfiledPictures(plan);
        if (!saved)
            throw AppError(saved.error());
    }
    return plan;
}

QByteArray readDocument(const Request& request, pictureplan::Plan& plan) {
    const QString& fileName = request.document;
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("vdoc")) {
        EdDocument document;
        if (!VDocReader::readFile(fileName, document))
            throw AppError(QStringLiteral("Error loading file. \"%1\" is missing, unreadable or "
                                          "not a Vantrel document.")
                               .arg(fileName));
        plan = planPictures(document, request);
        HtmlFragmentExporter exporter(document);
        exporter.picturePlan = &plan;
        // A picture the plan leaves out (one with nothing in it) goes there too.
        exporter.picturesFolder = request.picturesFolder;
        return windows1252::encode(exporter.toHtml());
    }
    if (suffix != QLatin1String("html") && suffix != QLatin1String("htm"))
        throw AppError(
            QStringLiteral("\"%1\": give a Vantrel document (.vdoc) or an HTML fragment (.html).")
                .arg(fileName));
    QByteArray fragment;
    if (!readWholeFile(fileName, fragment))
        throw AppError(QStringLiteral("Could not read the document \"%1\".").arg(fileName));
    return withPicturesFromFolder(fragment, QFileInfo(fileName).absoluteDir(), request, plan);
}

void checkLayoutFile(const QString& fileName) {
    QByteArray bytes;
    if (!readWholeFile(fileName, bytes))
        throw AppError(QStringLiteral("Could not read the layout file \"%1\".").arg(fileName));
    // Every key would take its default: not what the caller meant to render.
    const QStringList sections = IniFile(fileName).readSections();
    for (const char* section : {"POS", "OUTER", "FRAME", "TEXT"}) {
        if (sections.contains(QString::fromLatin1(section), Qt::CaseInsensitive))
            return;
    }
    throw AppError(QStringLiteral("\"%1\" is not a layout file.").arg(fileName));
}

/// The pictures the page needs on the server, each once. Two different
/// pictures of one name would overwrite each other there: the page could
/// not show both.
QList<pictureplan::Entry> neededOnServer(const QList<const pictureplan::Plan*>& plans) {
    QList<pictureplan::Entry> pictures;
    for (const pictureplan::Plan* plan : plans) {
        for (const pictureplan::Entry& entry : plan->entries) {
            if (!entry.needed() || !entry.placed() || entry.onWeb)
                continue;
            const auto same = std::find_if(pictures.cbegin(), pictures.cend(),
                                           [&](const pictureplan::Entry& kept) {
                                               return kept.serverAddress == entry.serverAddress;
                                           });
            if (same == pictures.cend()) {
                pictures.append(entry);
            } else if (same->localFile != entry.localFile || same->bytes != entry.bytes) {
                throw AppError(QStringLiteral("\"%1\" and \"%2\" would both be published as "
                                              "\"%3\": rename one of them.")
                                   .arg(QDir::toNativeSeparators(same->localFile),
                                        QDir::toNativeSeparators(entry.localFile),
                                        entry.serverName));
            }
        }
    }
    return pictures;
}

Page generated(const Request& request, const WorkingFolders& folders) {
    checkLayoutFile(request.layout);
    pictureplan::Plan documentPlan;
    const QByteArray document = readDocument(request, documentPlan);
    LayoutState layoutState;
    const QFileInfo file(request.layout);
    layoutState.LayoutFolder = withTrailingSeparator(file.absolutePath());
    layoutState.LayoutFileName = file.fileName();
    // Read as the program opens it: a number that is not one takes its default.
    const Result<LayoutFileContent> content = loadedLayoutFile(request.layout);
    if (!content)
        throw AppError(content.error());
    const Layout layout = normalised(shownLayout(*content));
    PublishingState publishing;
    pictureplan::Plan layoutPlan;
    if (!request.server.isEmpty()) {
        publishing.Publishing = true;
        layoutPlan = imageservers::placeLayoutPictures(layout, request.server, layoutState,
                                                       publishing, folders.UserFolder);
    }
    PageGenerator generator(folders, layoutState, publishing, layout);
    generator.setDocumentExport([&] { return document; });
    const GeneratedPage page = generator.generate();
    if (!page.error.isEmpty())
        throw AppError(page.error);
    Page made;
    made.lines = page.memPage;
    made.body = page.ListingCode;
    if (!request.server.isEmpty())
        made.pictures = neededOnServer({&documentPlan, &layoutPlan});
    return made;
}

} // namespace

Result<Page> make(const Request& request, const WorkingFolders& folders) {
    try {
        return generated(request, folders);
    } catch (const AppError& error) {
        return fail(error.message());
    }
}

} // namespace listingpage
