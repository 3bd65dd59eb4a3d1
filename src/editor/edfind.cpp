#include "editor/edfind.h"

#include "editor/edactionlist.h"
#include "editor/eddialogs.h"
#include "editor/tdoceditor.h"
#include "ui/userdialogs.h"

namespace edfind {

namespace {

/// Looks for the next occurrence from the caret and selects it.
bool findNext(EdActionList& list) {
    TDocEditor& editor = list.editor();
    if (list.SearchText.isEmpty())
        return false;
    if (editor.find(list.SearchText, list.SearchFlags))
        return true;
    // Past the end (or the start) the search goes on from the other end.
    QTextCursor from(editor.document());
    if (list.SearchFlags & QTextDocument::FindBackward)
        from.movePosition(QTextCursor::End);
    const QTextCursor found = editor.document()->find(list.SearchText, from, list.SearchFlags);
    if (!found.isNull()) {
        editor.setTextCursor(found);
        return true;
    }
    editor.dialogs().showMessage(QStringLiteral("Cannot find \"%1\".").arg(list.SearchText),
                                 UserDialogs::Icon::Information, QStringLiteral("Find"));
    return false;
}

void runFindDialog(EdActionList& list, bool replacing) {
    TDocEditor& editor = list.editor();
    EdFindDialog dialog(replacing, &editor);
    const QString selected = editor.textCursor().selectedText();
    dialog.setText(selected.isEmpty() || selected.contains(QChar::ParagraphSeparator)
                       ? list.SearchText
                       : selected);
    dialog.setWholeWord(list.SearchFlags & QTextDocument::FindWholeWords);
    dialog.setMatchCase(list.SearchFlags & QTextDocument::FindCaseSensitively);
    dialog.setBackward(list.SearchFlags & QTextDocument::FindBackward);
    const int command = editor.dialogs().runModal(dialog);
    if (command == QDialog::Rejected || dialog.text().isEmpty())
        return;
    list.SearchText = dialog.text();
    list.SearchFlags = {};
    if (dialog.wholeWord())
        list.SearchFlags |= QTextDocument::FindWholeWords;
    if (dialog.matchCase())
        list.SearchFlags |= QTextDocument::FindCaseSensitively;
    if (dialog.backward())
        list.SearchFlags |= QTextDocument::FindBackward;
    if (command == EdFindDialog::ReplaceAll) {
        const int count = editor.edDocument().replaceAll(list.SearchText, dialog.replacement(),
                                                         int(list.SearchFlags));
        editor.dialogs().showMessage(count == 1
                                         ? QStringLiteral("1 occurrence replaced.")
                                         : QStringLiteral("%1 occurrences replaced.").arg(count),
                                     UserDialogs::Icon::Information, QStringLiteral("Replace"));
        return;
    }
    if (command == EdFindDialog::ReplaceOne) {
        QTextCursor cursor = editor.textCursor();
        const Qt::CaseSensitivity sensitivity =
            dialog.matchCase() ? Qt::CaseSensitive : Qt::CaseInsensitive;
        // The occurrence found last is replaced; otherwise the next is found.
        if (cursor.selectedText().compare(list.SearchText, sensitivity) == 0) {
            cursor.insertText(dialog.replacement(), cursor.charFormat());
            editor.setTextCursor(cursor);
        }
    }
    findNext(list);
}

} // namespace

void find(EdActionList& list) {
    runFindDialog(list, false);
}

void replace(EdActionList& list) {
    runFindDialog(list, true);
}

void findAgain(EdActionList& list) {
    if (list.SearchText.isEmpty())
        runFindDialog(list, false);
    else
        findNext(list);
}

} // namespace edfind
