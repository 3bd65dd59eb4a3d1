#include "editor/edfilecommands.h"

#include "docmodel/vdocwriter.h"
#include "editor/edclipboard.h"
#include "editor/tdoceditor.h"
#include "platform/apperror.h"
#include "platform/safefile.h"
#include "platform/uilanguage.h"
#include "ui/userdialogs.h"

#include <QFileInfo>
#include <QMimeData>

namespace {

/// The largest file Insert File reads: beyond it the editor would hold a
/// document no listing page can carry.
constexpr qint64 kInsertFileLimit = qint64(50) * 1024 * 1024;

} // namespace

EdFileCommands::EdFileCommands(TDocEditor& editor, QObject* parent)
    : QObject(parent)
    , m_editor(editor)
    , m_fileName(editor.controlPanel().DefaultFileName) {}

void EdFileCommands::setDocumentFile(const QString& fileName, bool hasFile) {
    m_fileName = fileName;
    m_hasFile = hasFile;
}

bool EdFileCommands::ConfirmCloseDocument() {
    if (!m_editor.DocumentModified())
        return true;
    const QString name = QFileInfo(m_fileName).fileName();
    const QString question =
        uilanguage::text("EDITOR", "saveChanges", QStringLiteral("Save changes to %1?")).arg(name);
    switch (m_editor.dialogs().askYesNoCancel(
        question, uilanguage::text("EDITOR", "confirmTitle", QStringLiteral("Confirm")))) {
    case UserDialogs::Answer::Yes:
        return Save();
    case UserDialogs::Answer::No:
        return true;
    case UserDialogs::Answer::Cancel:
        break;
    }
    return false;
}

void EdFileCommands::New() {
    if (!ConfirmCloseDocument())
        return;
    m_editor.clearDocument();
    emit OnNew();
    m_editor.RelayoutDocument();
    m_fileName = m_editor.controlPanel().DefaultFileName;
    m_hasFile = false;
    emit OnDocumentFileChange(&m_editor, m_fileName, ffeNative, true);
    m_editor.raiseCurTextStyleChanged();
}

bool EdFileCommands::Open() {
    if (!ConfirmCloseDocument())
        return false;
    UserDialogs::FileDialogOptions options;
    options.title = uilanguage::text("EDITOR", "openTitle", QStringLiteral("Open"));
    options.filter = m_editor.controlPanel().DocFilter;
    options.initialFolder = OpenInitialDir;
    options.defaultExtension = m_editor.controlPanel().DefaultExt;
    const QString fileName = m_editor.dialogs().openFileName(options);
    if (fileName.isEmpty())
        return false;
    return openFile(fileName);
}

bool EdFileCommands::openFile(const QString& fileName) {
    QByteArray bytes;
    bool loaded = false;
    if (readWholeFile(fileName, bytes))
        loaded = m_editor.readDocument(bytes);
    else
        m_editor.clearDocument();
    m_fileName = fileName;
    // A file that could not be read is not overwritten by a plain Save: what
    // could not be read would be lost for good.
    m_hasFile = loaded;
    emit OnDocumentFileChange(&m_editor, fileName, ffeNative, false);
    if (!loaded) {
        m_editor.reportLoadError(fileName);
        m_editor.setDocumentModified(true);
    }
    m_editor.RelayoutDocument();
    emit OnOpenFile(&m_editor, fileName, ffiNative, 0);
    m_editor.raiseCurTextStyleChanged();
    return loaded;
}

bool EdFileCommands::Save() {
    if (!m_hasFile)
        return SaveAs();
    return saveTo(m_fileName);
}

bool EdFileCommands::SaveAs() {
    UserDialogs::FileDialogOptions options;
    options.title = uilanguage::text("EDITOR", "saveAsTitle", QStringLiteral("Save As"));
    options.filter = m_editor.controlPanel().DocFilter;
    options.initialFolder = SaveAsInitialDir;
    options.fileName = QFileInfo(m_fileName).fileName();
    options.defaultExtension = m_editor.controlPanel().DefaultExt;
    const QString fileName = m_editor.dialogs().saveFileName(options);
    if (fileName.isEmpty())
        return false;
    return saveTo(fileName);
}

bool EdFileCommands::saveTo(const QString& fileName) {
    try {
        VDocWriter::writeFile(m_editor.edDocument(), fileName);
    } catch (const AppError& error) {
        m_editor.dialogs().showMessage(
            uilanguage::text("EDITOR", "fileNotSaved", QStringLiteral("Error saving file.")) +
                QLatin1Char('\n') + error.message(),
            UserDialogs::Icon::Error,
            uilanguage::text("EDITOR", "errorTitle", QStringLiteral("Error")));
        m_editor.setDocumentModified(true);
        emit OnDocumentFileChange(&m_editor, m_fileName, ffeNative, true);
        // The changes are still in no file, whatever a handler of the file
        // change did: the question on closing must still come.
        m_editor.setDocumentModified(true);
        return false;
    }
    m_fileName = fileName;
    m_hasFile = true;
    m_editor.setDocumentModified(false);
    emit OnDocumentFileChange(&m_editor, m_fileName, ffeNative, false);
    return true;
}

void EdFileCommands::exportDocument() {
    UserDialogs::FileDialogOptions options;
    options.title = QStringLiteral("Export");
    options.filter =
        QStringLiteral("HTML files (*.htm, *.html)|*.htm;*.html|Text files (*.txt)|*.txt");
    options.defaultExtension = QStringLiteral("html");
    const QString fileName = m_editor.dialogs().saveFileName(options);
    if (fileName.isEmpty())
        return;
    QByteArray bytes;
    if (options.filterIndex == 2 || fileName.endsWith(QLatin1String(".txt"), Qt::CaseInsensitive)) {
        // Pictures and anchors have no text: their placeholder characters go.
        bytes =
            m_editor.document()->toPlainText().remove(QChar::ObjectReplacementCharacter).toUtf8();
    } else {
        // The program's link handler decides what a published page links
        // to; an exported file keeps every link as the document has it.
        HtmlFragmentExporter exporter(m_editor.edDocument());
        exporter.picturesFolder = QFileInfo(fileName).absolutePath();
        bytes = "<html><head><meta charset=\"utf-8\"></head><body>\n" + exporter.toHtml().toUtf8() +
                "\n</body></html>\n";
    }
    writeFileAtomically(fileName, bytes);
}

void EdFileCommands::insertFile() {
    UserDialogs::FileDialogOptions options;
    options.title = QStringLiteral("Insert File");
    options.filter = m_editor.controlPanel().DocFilter +
                     QStringLiteral("|HTML files (*.htm, *.html)|*.htm;*.html"
                                    "|Text files (*.txt)|*.txt");
    const QString fileName = m_editor.dialogs().openFileName(options);
    if (fileName.isEmpty())
        return;
    if (QFileInfo(fileName).size() > kInsertFileLimit) {
        m_editor.dialogs().showMessage(
            QStringLiteral("The file is larger than 50 MB and cannot be inserted.\n") + fileName,
            UserDialogs::Icon::Error, QStringLiteral("Error"));
        return;
    }
    QByteArray bytes;
    if (!readWholeFile(fileName, bytes)) {
        m_editor.dialogs().showMessage(QStringLiteral("Error loading file.\n") + fileName,
                                       UserDialogs::Icon::Error, QStringLiteral("Error"));
        return;
    }
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    QMimeData content;
    if (suffix == QLatin1String("vdoc"))
        content.setData(EdClipboard::nativeMimeType(), bytes);
    else if (suffix == QLatin1String("htm") || suffix == QLatin1String("html"))
        content.setHtml(QString::fromUtf8(bytes));
    else
        content.setText(QString::fromUtf8(bytes));
    m_editor.insertMimeData(content);
}
