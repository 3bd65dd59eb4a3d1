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
#include "listing/listingpage.h"
#include "pagegen/pagetext.h"
#include "platform/apperror.h"
#include "platform/safefile.h"
#include "platform/windows1252.h"
#include "platform/workingfolders.h"
#include "toolmessages.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <cstdio>

namespace {

const char usage[] = "usage: vantrel-render DOCUMENT LAYOUT.rbs [-o OUT.html] [--body]\n"
                     "  DOCUMENT: a Vantrel document (.vdoc) or its HTML fragment (.html, .htm)\n"
                     "  LAYOUT.rbs: the layout file that decorates the page\n"
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

/// The page the Layout page's preview shows for the document and the layout
/// file: the layout as the page shows and captures it, in its own file.
QStringList renderedLines(const Arguments& args) {
    listingpage::Request request;
    request.document = args.document;
    request.layout = args.layout;
    request.picturesFolder =
        args.output.isEmpty() ? QDir::currentPath() : QFileInfo(args.output).absolutePath();
    const Result<listingpage::Page> page = listingpage::make(request, WorkingFolders::locate());
    if (!page)
        throw AppError(page.error());
    return args.body ? page->body : page->lines;
}

} // namespace

int main(int argc, char** argv) {
    // Pictures and text of the document need the GUI module, not a screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    toolmessages::leaveOutRuntimeFolderNotice();
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
        writeFileOrStandardOutput(args.output, windows1252::encode(joinLines(renderedLines(args))));
    } catch (const AppError& error) {
        std::fprintf(stderr, "vantrel-render: %s\n", error.what());
        return 1;
    }
    return 0;
}
