#pragma once

#include <QObject>

class EdFileCommands;
class TDocEditor;
class TedAction;
class TedActionFontEx;

/// The editor's actions (`ActionList1`) that the program executes or binds
/// to its buttons: document file actions, picture and link insertion and
/// the font action.
class EdActionList : public QObject {
    Q_OBJECT
public:
    EdActionList(TDocEditor& editor, EdFileCommands& files, QObject* parent = nullptr);

    TedAction* edActionNew1;
    TedAction* edActionOpen1;
    TedAction* edActionSave1;
    TedAction* edActionSaveAs1;
    TedAction* edActionInsertPicture1;
    TedAction* edActionInsertHyperlink1;
    TedActionFontEx* edActionFontEx1;

    /// Folder the picture dialog starts in.
    QString PictureInitialDir;

private:
    void insertPicture();
    void insertHyperlink();

    TDocEditor& m_editor;
};
