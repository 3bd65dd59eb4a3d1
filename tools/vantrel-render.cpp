// Writes the listing page of a document and a layout file, as the program's
// preview shows it, for batches and scripts:
//   vantrel-render DOCUMENT LAYOUT.rbs [-o OUT.html] [--body]
// DOCUMENT is the document's HTML fragment (.html, .htm), as the editor
// exports it. The page goes to OUT.html, written whole or not at all, or to
// standard output; --body writes only the listing body (the template's
// tables and the document) that publishing copies. Missing or damaged
// inputs give a message on standard error and exit code 1; wrong arguments
// give the usage and exit code 2.
#include "app/appstate.h"
#include "editor/eddocument.h"
#include "editor/htmlfragmentexporter.h"
#include "editor/vdocreader.h"
#include "layout/layout.h"
#include "layout/layoutcontrols.h"
#include "layout/layoutfile.h"
#include "layout/layoutpage.h"
#include "pagegen/pagegenerator.h"
#include "pagegen/pagetext.h"
#include "platform/apperror.h"
#include "platform/inifile.h"
#include "platform/safefile.h"
#include "platform/userdialogs.h"
#include "platform/windows1252.h"
#include "platform/workingfolders.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QPushButton>
#include <QRadioButton>
#include <cstdio>

namespace {

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

/// The program's dialogs with nobody to answer them: questions are answered
/// no, file and colour dialogs cancelled, and every message is kept as a
/// failure of the run.
class BatchDialogs : public UserDialogs {
public:
    QStringList failures;

    void showMessage(const QString& text, Icon, const QString&) override { failures.append(text); }
    void showError(const QString& text) override { failures.append(text); }
    bool askYesNo(const QString&, const QString&, Icon) override { return false; }
    Answer askYesNoCancel(const QString&, const QString&, Icon) override { return Answer::No; }
    QString openFileName(FileDialogOptions&) override { return {}; }
    QString saveFileName(FileDialogOptions&) override { return {}; }
    std::optional<QColor> chooseColor(const QColor&) override { return std::nullopt; }
    void beep() override {}
    bool openUrl(const QUrl&) override { return false; }
    int runModal(QDialog&) override { return 0; }
};

QByteArray readDocument(const QString& fileName) {
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("vdoc")) {
        EdDocument document;
        if (!VDocReader::readFile(fileName, document))
            throw AppError(QStringLiteral("Error loading file. \"%1\" is missing, unreadable or "
                                          "not a Vantrel document.")
                               .arg(fileName));
        HtmlFragmentExporter exporter(document);
        return windows1252::encode(exporter.toHtml());
    }
    if (suffix != QLatin1String("html") && suffix != QLatin1String("htm"))
        throw AppError(
            QStringLiteral("\"%1\": give a Vantrel document (.vdoc) or an HTML fragment (.html).")
                .arg(fileName));
    QByteArray fragment;
    if (!readWholeFile(fileName, fragment))
        throw AppError(QStringLiteral("Could not read the document \"%1\".").arg(fileName));
    return fragment;
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

/// Puts the layout file into the Layout page's controls as opening it there
/// does, so the refresh captures what the program would.
void showLayoutFile(const QString& fileName, AppState& state, Layout& layout, LayoutPage& page) {
    const LayoutFileContent values = layoutfile::read(fileName);
    layout = values.layout;
    const QFileInfo file(fileName);
    state.LayoutFolder = withTrailingSeparator(file.absolutePath());
    state.LayoutFileName = file.fileName();
    state.LayoutLoadNeeded = true;
    const LayoutControls& c = page.controls();
    // A width type other than "0" or "1" checks neither button here.
    if (layout.AdWidthType == QLatin1String("0"))
        c.radAdManual->setChecked(true);
    else if (layout.AdWidthType == QLatin1String("1"))
        c.radAdFull->setChecked(true);
    c.cbxFRepeatX->setEnabled(!layout.FImgHide);
    c.cbxFRepeatY->setEnabled(!layout.FImgHide);
    c.cbxFrmImg->setChecked(layout.FImgHide);
    c.cbxAllMargins->setChecked(values.TxtAllMargins);
    page.UpdateComponents();
}

/// Shows the layout in the Layout page's controls and generates the page
/// the preview would show.
QStringList renderedLines(const Arguments& args) {
    checkLayoutFile(args.layout);
    const QByteArray document = readDocument(args.document);
    AppState state;
    const WorkingFolders folders = WorkingFolders::locate();
    state.ProgramFolder = withTrailingSeparator(QCoreApplication::applicationDirPath());
    state.UserFolder = folders.userFolder;
    state.SharedDataFolder = folders.sharedDataFolder;
    Layout layout;
    BatchDialogs dialogs;
    PageGenerator generator(state, layout, [&](const QString& m) { dialogs.failures.append(m); });
    generator.setDocumentExport([&] { return document; });
    LayoutPage page(state, layout, dialogs);
    bool generated = false;
    page.setPreviewRefresh([&] {
        if (!state.LayoutControlsReady)
            return;
        page.CaptureLayout();
        state.LayoutLoadNeeded = false;
        generator.MergeCss();
        generator.WriteCode();
        generated = true;
    });
    showLayoutFile(args.layout, state, layout, page);
    page.buttons().btnPreview->click();
    if (!dialogs.failures.isEmpty())
        throw AppError(dialogs.failures.join(QLatin1Char('\n')));
    if (!generated)
        throw AppError(QStringLiteral("The layout \"%1\" gave no page.").arg(args.layout));
    return args.body ? state.ListingCode : generator.memPage();
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
    // The layout controls work as in the program, without a screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Arguments args;
    if (!parseArguments(QCoreApplication::arguments(), args)) {
        std::fputs("usage: vantrel-render DOCUMENT.html LAYOUT.rbs [-o OUT.html] [--body]\n",
                   stderr);
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
