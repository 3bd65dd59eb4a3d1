#pragma once

#include <QList>
#include <QObject>
#include <QStringView>
#include <QTextDocument>
#include <QTimer>
#include <memory>
#include <optional>

class EdFileCommands;
struct EdActionRow;
class QMenu;
class TDocEditor;
class TEdPrint;
class TedAction;
class TedActionFontEx;

/// The editor's actions (`ActionList1`), built from the rows of
/// `edActionTable()`, that the program executes or binds to its buttons. All
/// of them belong to the editor widget, so their keys work while its window
/// is active. Their enabled and checked states follow the caret, the
/// selection, the undo history, the clipboard and the read-only state.
class EdActionList : public QObject {
    Q_OBJECT
public:
    EdActionList(TDocEditor& editor, EdFileCommands& files, QObject* parent = nullptr);
    ~EdActionList() override;

    /// The action of that object name ("edActionSave1"), or nullptr.
    TedAction* action(QStringView objectName) const;
    /// The font action, whose properties a caller sets before running it.
    TedActionFontEx* fontAction() const;
    /// Every action, in table order.
    const QList<TedAction*>& actions() const { return m_actions; }

    TDocEditor& editor() const { return m_editor; }
    EdFileCommands& files() const { return m_files; }
    TEdPrint& print() const { return *m_print; }

    /// Sets every action's enabled and checked state from the editor.
    void updateState();
    /// The context menu (`EdPopupMenu1`) for a point of the editor's
    /// viewport, with the actions that fit what lies there; the caller owns it.
    QMenu* createPopupMenu(const QPoint& viewportPoint);

    /// Folder the picture dialog starts in.
    QString PictureInitialDir;
    /// What Find Next looks for: the last search of the find dialogs.
    QString SearchText;
    QTextDocument::FindFlags SearchFlags;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TedAction* create(const EdActionRow& row);
    /// Gives the editor the keyboard once an action has run.
    void returnKeyboardToEditor();
    /// Whether Paste can insert what the clipboard holds.
    bool pasteAvailable();

    TDocEditor& m_editor;
    EdFileCommands& m_files;
    std::unique_ptr<TEdPrint> m_print;
    QTimer m_updateTimer;
    QList<TedAction*> m_actions;
    /// What the clipboard last offered; unknown once it changes.
    std::optional<bool> m_pasteAvailable;
    /// Whether the clipboard may be asked yet.
    bool m_mayAskClipboard = false;
};
