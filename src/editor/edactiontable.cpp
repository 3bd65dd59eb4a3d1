#include "editor/edactiontable.h"

#include "editor/docpicture.h"
#include "editor/edactionlist.h"
#include "editor/edfilecommands.h"
#include "editor/hyperlinkdialog.h"
#include "editor/tdoceditor.h"
#include "platform/userdialogs.h"

namespace {

void newDocument(EdActionList& list) {
    list.files().New();
}

void openDocument(EdActionList& list) {
    list.files().Open();
}

void saveDocument(EdActionList& list) {
    list.files().Save();
}

void saveDocumentAs(EdActionList& list) {
    list.files().SaveAs();
}

void insertPicture(EdActionList& list) {
    TDocEditor& editor = list.editor();
    if (editor.isReadOnly())
        return;
    UserDialogs::FileDialogOptions options;
    options.title = QStringLiteral("Insert Picture");
    options.filter = editor.controlPanel().PictureFilter;
    options.initialFolder = list.PictureInitialDir;
    options.defaultExtension = QStringLiteral("jpg");
    const QString fileName = editor.dialogs().openFileName(options);
    if (fileName.isEmpty())
        return;
    DocPicture picture;
    if (!DocPicture::fromFile(fileName, picture)) {
        editor.dialogs().showMessage(QStringLiteral("Error loading image file.\n") + fileName,
                                     UserDialogs::Icon::Error, QStringLiteral("Error"));
        return;
    }
    QTextCursor cursor = editor.textCursor();
    cursor.removeSelectedText();
    editor.edDocument().insertPicture(cursor, picture);
    editor.setTextCursor(cursor);
}

void insertHyperlink(EdActionList& list) {
    TDocEditor& editor = list.editor();
    if (editor.isReadOnly())
        return;
    HyperlinkDialog dialog(&editor);
    QFont font = dialog.font();
    font.setFamily(editor.controlPanel().DialogFontName);
    dialog.setFont(font);
    dialog.setText(editor.textCursor().selectedText());
    if (editor.dialogs().runModal(dialog) != QDialog::Accepted)
        return;
    editor.insertHyperlink(dialog.text(), dialog.target());
}

using Kind = EdActionKind;

} // namespace

const std::vector<EdActionRow>& edActionTable() {
    static const std::vector<EdActionRow> rows = {
        // name, caption, keys, kind, handler
        {"edActionNew1", "&New Document", {}, Kind::Plain, newDocument},
        {"edActionOpen1", "&Open...", {"Ctrl+O"}, Kind::Plain, openDocument},
        {"edActionSave1", "&Save Document", {"Ctrl+S"}, Kind::Plain, saveDocument},
        {"edActionSaveAs1", "Save Document as...", {}, Kind::Plain, saveDocumentAs},
        {"edActionFontEx1", "&Font...", {}, Kind::FontEx, nullptr},
        {"edActionInsertPicture1", "&Picture...", {}, Kind::Plain, insertPicture},
        {"edActionInsertHyperlink1", "Hypertext &Link...", {}, Kind::Plain, insertHyperlink},
    };
    return rows;
}
