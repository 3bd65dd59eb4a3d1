// vantrel-doc: builds editor documents from HTML and exports them again.
//
//   vantrel-doc import SOURCE.html OUT.vdoc
//   vantrel-doc export IN.vdoc [OUT.html]
//   vantrel-doc --help
//
// Import reads a listing page as the editor pastes it (paragraphs,
// headings, bold, italic, underline, strike-out, font face, size and colour,
// alignment, lists, tables, pictures from files and data addresses, links,
// anchors, horizontal lines); scripts, forms, style sheets, embedded objects
// and pictures on the web are left out, and one line on standard error says
// which. Pictures are embedded; their source paths are not stored, so shipped
// documents do not refer to the machine they were built on. Export writes the fragment the
// listing page is built from; pictures without a source of their own are
// saved beside OUT.html (or in the current folder when writing to stdout).
#include "docmodel/eddocument.h"
#include "docmodel/htmlfragmentexporter.h"
#include "docmodel/listingimport.h"
#include "docmodel/vdocreader.h"
#include "docmodel/vdocwriter.h"
#include "platform/apperror.h"
#include "platform/safefile.h"
#include "platform/windows1252.h"
#include "toolmessages.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <cstdio>

namespace {

enum ExitCode { Ok = 0, Usage = 1, BadInput = 2, CannotWrite = 3 };

void say(const QString& text) {
    std::fputs(qPrintable(text + QLatin1Char('\n')), stderr);
}

const char usageText[] =
    "usage: vantrel-doc import SOURCE.html OUT.vdoc\n"
    "       vantrel-doc export IN.vdoc [OUT.html]\n"
    "  import: a document from a listing page, its pictures embedded; what it leaves\n"
    "          out (scripts, forms, style sheets, ...) is named on standard error\n"
    "  export: the document's HTML fragment, to OUT.html or standard output; pictures\n"
    "          without a file of their own are saved beside it (or in the current folder)\n"
    "exit code 0 when done, 1 for wrong arguments, 2 for an unreadable input,\n"
    "3 when the output cannot be written\n";

int usage() {
    std::fputs(usageText, stderr);
    return Usage;
}

int importHtml(const QString& sourceName, const QString& outName) {
    QByteArray bytes;
    if (!readWholeFile(sourceName, bytes)) {
        say(QStringLiteral("vantrel-doc: cannot read \"%1\"").arg(sourceName));
        return BadInput;
    }
    EdDocument document;
    const listingimport::LeftOut leftOut = listingimport::importPage(
        document, listingimport::decode(bytes), QFileInfo(sourceName).absolutePath());
    // A picture of the page's own that is missing is a fault of the page:
    // the document is not written without it.
    for (const QString& path : leftOut.unreadablePictures)
        say(QStringLiteral("warning: cannot read the picture \"%1\"").arg(path));
    if (!leftOut.unreadablePictures.isEmpty())
        return BadInput;
    const QString summary = listingimport::summary(leftOut);
    if (!summary.isEmpty())
        say(summary);
    try {
        VDocWriter::writeFile(document, outName);
    } catch (const AppError& error) {
        say(QStringLiteral("vantrel-doc: ") + error.message());
        return CannotWrite;
    }
    return Ok;
}

int exportHtml(const QString& inName, const QString& outName) {
    EdDocument document;
    if (!VDocReader::readFile(inName, document)) {
        say(QStringLiteral("vantrel-doc: Error loading file. \"%1\" is missing, unreadable or "
                           "not a Vantrel document.")
                .arg(inName));
        return BadInput;
    }
    HtmlFragmentExporter exporter(document);
    // The pictures the exporter saves must outlive this run.
    exporter.picturesFolder =
        outName.isEmpty() ? QDir::currentPath() : QFileInfo(outName).absolutePath();
    try {
        const QByteArray html = windows1252::encode(exporter.toHtml());
        if (outName.isEmpty()) {
            std::fwrite(html.constData(), 1, static_cast<size_t>(html.size()), stdout);
            return std::fflush(stdout) == 0 ? Ok : CannotWrite;
        }
        writeFileAtomically(outName, html);
    } catch (const AppError& error) {
        say(QStringLiteral("vantrel-doc: ") + error.message());
        return CannotWrite;
    }
    return Ok;
}

} // namespace

int main(int argc, char** argv) {
    // Fonts and pictures need a GUI application, but never a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    toolmessages::leaveOutRuntimeFolderNotice();
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"))) {
        std::fputs(usageText, stdout);
        return Ok;
    }
    if (args.size() == 3 && args[0] == QStringLiteral("import"))
        return importHtml(args[1], args[2]);
    if ((args.size() == 2 || args.size() == 3) && args[0] == QStringLiteral("export"))
        return exportHtml(args[1], args.value(2));
    return usage();
}
