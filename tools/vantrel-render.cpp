// Writes the listing page of a document and a layout file, as the program's
// preview shows it, for batches and scripts:
//   vantrel-render DOCUMENT LAYOUT.rbs [-o OUT.html] [--body]
//   vantrel-render --help
// DOCUMENT is the document's HTML fragment (.html, .htm), as the editor
// exports it. The page goes to OUT.html, written whole or not at all, or to
// standard output; --body writes only the listing body (the template's
// tables and the document) that publishing copies. Missing or damaged
// inputs give a message on standard error and exit code 1; wrong arguments
// give the usage and exit code 2. Pictures of a Vantrel document that came
// from files are referred to by file URLs; the others are saved beside
// OUT.html (in the current folder without -o) and referred to by name.
// Pictures an HTML fragment refers to by a local path (img src, background
// attributes, CSS url()) are resolved against the fragment's folder and
// referred to by file URLs too, so the page shows them wherever it is written.
// The layout is read as the program opens it: a number that is not an
// integer ("3x") takes its key's default.
#include "docmodel/eddocument.h"
#include "docmodel/htmlfragmentexporter.h"
#include "docmodel/vdocreader.h"
#include "layout/layout.h"
#include "layout/layoutfile.h"
#include "layout/layoutrules.h"
#include "layout/layoutstate.h"
#include "pagegen/pagegenerator.h"
#include "pagegen/pagepictures.h"
#include "pagegen/pagetext.h"
#include "pagegen/publishingstate.h"
#include "platform/apperror.h"
#include "platform/fileurl.h"
#include "platform/inifile.h"
#include "platform/pictureplan.h"
#include "platform/safefile.h"
#include "platform/windows1252.h"
#include "platform/workingfolders.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QUrl>
#include <algorithm>
#include <cstdio>
#include <optional>

namespace {

const char usage[] = "usage: vantrel-render DOCUMENT LAYOUT.rbs [-o OUT.html] [--body]\n"
                     "  DOCUMENT: a Vantrel document (.vdoc) or its HTML fragment (.html, .htm)\n"
                     "  -o OUT.html: write the page to that file instead of standard output\n"
                     "  --body: only the listing body that publishing copies\n"
                     "exit code 0 when the page was written, 1 for a missing or damaged input,\n"
                     "2 for wrong arguments\n";

struct Arguments {
    QString document;
    QString layout;
    QString output;
    bool body = false;
};

bool parseArguments(const QStringList& args, Arguments& parsed) {
    QStringList files;
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--body"))
            parsed.body = true;
        else if (args[i] == QLatin1String("-o") && i + 1 < args.size() && parsed.output.isEmpty())
            parsed.output = args[++i];
        else if (args[i].startsWith(QLatin1Char('-')))
            return false;
        else
            files.append(args[i]);
    }
    if (files.size() != 2)
        return false;
    parsed.document = files[0];
    parsed.layout = files[1];
    return true;
}

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

/// The fragment with its pictures' local paths resolved against the
/// fragment's folder, as file URLs; every other byte stays as it is.
QByteArray withPicturesFromFolder(const QByteArray& fragment, const QDir& folder) {
    // Latin-1 keeps one character per byte, so the bytes come back unchanged.
    const QString text = QString::fromLatin1(fragment);
    struct Replacement {
        qsizetype start;
        qsizetype length;
        QString value;
    };
    QList<Replacement> replacements;
    // The pictures go where the preview's plan puts them: at their files.
    pictureplan::Input input;
    QList<std::pair<PagePictureReference, QString>> local;
    for (const PagePictureReference& reference : pagePictureReferences(text)) {
        const QString value = windows1252::decode(reference.value.toLatin1());
        if (const auto file = pictureFile(value, folder)) {
            local.append({reference, *file});
            input.document.append(pictureplan::DocumentPicture(*file));
        }
    }
    const pictureplan::Plan plan = pictureplan::make(input);
    for (const auto& [reference, file] : std::as_const(local)) {
        const pictureplan::Entry* planned = plan.documentPicture({file, {}, {}});
        if (!planned)
            continue;
        // A file URL holds neither quotes nor parentheses: it goes bare into url().
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

/// The document's pictures as the preview's plan puts them: the files they
/// came from, and beside the page the pictures of no file, which must
/// outlive this run.
pictureplan::Plan planPictures(const EdDocument& document, const Arguments& args) {
    pictureplan::Input input;
    input.document = HtmlFragmentExporter::documentPictures(document);
    input.unfiledFolder =
        args.output.isEmpty() ? QDir::currentPath() : QFileInfo(args.output).absolutePath();
    input.unfiledByName = true;
    pictureplan::Plan plan = pictureplan::make(input);
    const Status saved = pictureplan::saveUnfiledPictures(plan);
    if (!saved)
        throw AppError(saved.error());
    return plan;
}

QByteArray readDocument(const Arguments& args) {
    const QString& fileName = args.document;
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("vdoc")) {
        EdDocument document;
        if (!VDocReader::readFile(fileName, document))
            throw AppError(QStringLiteral("Error loading file. \"%1\" is missing, unreadable or "
                                          "not a Vantrel document.")
                               .arg(fileName));
        const pictureplan::Plan plan = planPictures(document, args);
        HtmlFragmentExporter exporter(document);
        exporter.picturePlan = &plan;
        // A picture the plan leaves out (one with nothing in it) goes there too.
        exporter.picturesFolder =
            args.output.isEmpty() ? QDir::currentPath() : QFileInfo(args.output).absolutePath();
        return windows1252::encode(exporter.toHtml());
    }
    if (suffix != QLatin1String("html") && suffix != QLatin1String("htm"))
        throw AppError(
            QStringLiteral("\"%1\": give a Vantrel document (.vdoc) or an HTML fragment (.html).")
                .arg(fileName));
    QByteArray fragment;
    if (!readWholeFile(fileName, fragment))
        throw AppError(QStringLiteral("Could not read the document \"%1\".").arg(fileName));
    return withPicturesFromFolder(fragment, QFileInfo(fileName).absoluteDir());
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

/// The page the Layout page's preview shows for the document and the layout
/// file: the layout as the page shows and captures it, in its own file.
QStringList renderedLines(const Arguments& args) {
    checkLayoutFile(args.layout);
    const QByteArray document = readDocument(args);
    // The preview's page: nothing is being published.
    const PublishingState publishing;
    const WorkingFolders folders = WorkingFolders::locate();
    LayoutState layoutState;
    const QFileInfo file(args.layout);
    layoutState.LayoutFolder = withTrailingSeparator(file.absolutePath());
    layoutState.LayoutFileName = file.fileName();
    // Read as the program opens it: a number that is not one takes its default.
    const Result<LayoutFileContent> content = loadedLayoutFile(args.layout);
    if (!content)
        throw AppError(content.error());
    const Layout layout = normalised(shownLayout(*content));
    PageGenerator generator(folders, layoutState, publishing, layout);
    generator.setDocumentExport([&] { return document; });
    const GeneratedPage page = generator.generate();
    if (!page.error.isEmpty())
        throw AppError(page.error);
    return args.body ? page.ListingCode : page.memPage;
}

void writeOutput(const QString& output, const QByteArray& bytes) {
    if (!output.isEmpty()) {
        writeFileAtomically(output, bytes);
        return;
    }
    if (std::fwrite(bytes.constData(), 1, bytes.size(), stdout) != std::size_t(bytes.size()) ||
        std::fflush(stdout) != 0)
        throw AppError(QStringLiteral("Could not write the page to standard output."));
}

} // namespace

int main(int argc, char** argv) {
    // Pictures and text of the document need the GUI module, not a screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.contains(QLatin1String("--help")) || arguments.contains(QLatin1String("-h"))) {
        std::fputs(usage, stdout);
        return 0;
    }
    Arguments args;
    if (!parseArguments(arguments, args)) {
        std::fputs(usage, stderr);
        return 2;
    }
    try {
        writeOutput(args.output, windows1252::encode(joinLines(renderedLines(args))));
    } catch (const AppError& error) {
        std::fprintf(stderr, "vantrel-render: %s\n", error.what());
        return 1;
    }
    return 0;
}
