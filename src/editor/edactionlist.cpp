#include "editor/edactionlist.h"

#include "editor/docpicture.h"
#include "editor/edfilecommands.h"
#include "editor/hyperlinkdialog.h"
#include "editor/tdoceditor.h"
#include "editor/tedactionfontex.h"
#include "platform/userdialogs.h"

EdActionList::EdActionList(TDocEditor& editor, EdFileCommands& files, QObject* parent)
    : QObject(parent)
    , m_editor(editor) {
    setObjectName(QStringLiteral("ActionList1"));
    UserDialogs& dialogs = editor.dialogs();
    edActionNew1 = new TedAction(QStringLiteral("edActionNew1"), QStringLiteral("&New Document"),
                                 dialogs, this, [&files] { files.New(); });
    edActionOpen1 = new TedAction(QStringLiteral("edActionOpen1"), QStringLiteral("&Open..."),
                                  dialogs, this, [&files] { files.Open(); });
    edActionOpen1->setShortcut(QKeySequence(QStringLiteral("Ctrl+O")));
    edActionSave1 = new TedAction(QStringLiteral("edActionSave1"), QStringLiteral("&Save Document"),
                                  dialogs, this, [&files] { files.Save(); });
    edActionSave1->setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));
    edActionSaveAs1 =
        new TedAction(QStringLiteral("edActionSaveAs1"), QStringLiteral("Save Document as..."),
                      dialogs, this, [&files] { files.SaveAs(); });
    edActionInsertPicture1 =
        new TedAction(QStringLiteral("edActionInsertPicture1"), QStringLiteral("&Picture..."),
                      dialogs, this, [this] { insertPicture(); });
    edActionInsertHyperlink1 = new TedAction(QStringLiteral("edActionInsertHyperlink1"),
                                             QStringLiteral("Hypertext &Link..."), dialogs, this,
                                             [this] { insertHyperlink(); });
    edActionFontEx1 = new TedActionFontEx(editor, this);
}

void EdActionList::insertPicture() {
    if (m_editor.isReadOnly())
        return;
    UserDialogs::FileDialogOptions options;
    options.title = QStringLiteral("Insert Picture");
    options.filter = m_editor.controlPanel().PictureFilter;
    options.initialFolder = PictureInitialDir;
    options.defaultExtension = QStringLiteral("jpg");
    const QString fileName = m_editor.dialogs().openFileName(options);
    if (fileName.isEmpty())
        return;
    DocPicture picture;
    if (!DocPicture::fromFile(fileName, picture)) {
        m_editor.dialogs().showMessage(QStringLiteral("Error loading image file.\n") + fileName,
                                       UserDialogs::Icon::Error, QStringLiteral("Error"));
        return;
    }
    QTextCursor cursor = m_editor.textCursor();
    cursor.removeSelectedText();
    m_editor.edDocument().insertPicture(cursor, picture);
    m_editor.setTextCursor(cursor);
}

void EdActionList::insertHyperlink() {
    if (m_editor.isReadOnly())
        return;
    HyperlinkDialog dialog(&m_editor);
    QFont font = dialog.font();
    font.setFamily(m_editor.controlPanel().DialogFontName);
    dialog.setFont(font);
    dialog.setText(m_editor.textCursor().selectedText());
    if (m_editor.dialogs().runModal(dialog) != QDialog::Accepted)
        return;
    m_editor.insertHyperlink(dialog.text(), dialog.target());
}
