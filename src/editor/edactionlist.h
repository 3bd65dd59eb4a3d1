#pragma once

#include <QList>
#include <QObject>
#include <QStringView>

class EdFileCommands;
struct EdActionRow;
class TDocEditor;
class TedAction;
class TedActionFontEx;

/// The editor's actions (`ActionList1`), built from the rows of
/// `edActionTable()`, that the program executes or binds to its buttons. All
/// of them belong to the editor widget, so their keys work while its window
/// is active.
class EdActionList : public QObject {
    Q_OBJECT
public:
    EdActionList(TDocEditor& editor, EdFileCommands& files, QObject* parent = nullptr);

    /// The action of that object name ("edActionSave1"), or nullptr.
    TedAction* action(QStringView objectName) const;
    /// The font action, whose properties a caller sets before running it.
    TedActionFontEx* fontAction() const;
    /// Every action, in table order.
    const QList<TedAction*>& actions() const { return m_actions; }

    TDocEditor& editor() const { return m_editor; }
    EdFileCommands& files() const { return m_files; }

    /// Folder the picture dialog starts in.
    QString PictureInitialDir;

private:
    TedAction* create(const EdActionRow& row);

    TDocEditor& m_editor;
    EdFileCommands& m_files;
    QList<TedAction*> m_actions;
};
