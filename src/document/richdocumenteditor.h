#pragma once

#include "document/documenteditor.h"
#include "platform/pictureplan.h"

#include <functional>
#include <memory>

class EdActionList;
class EdFileCommands;
class TDocEditor;
class UserDialogs;

/// The Document page's editor: the rich-text editor `DocEditor1` with its
/// file commands and actions, as the main window sees it.
class RichDocumentEditor : public DocumentEditor {
public:
    RichDocumentEditor(UserDialogs& dialogs, QWidget* parent);
    ~RichDocumentEditor() override;

    QWidget* widget() override;
    void newDocument() override;
    void setReadOnly(bool readOnly) override;
    bool isReadOnly() const override;
    bool LoadDocumentFile(const QString& fileName) override;
    bool loadWelcomeDocument(const QString& fileName) override;
    void RelayoutDocument() override;
    bool DocumentModified() const override;
    bool ConfirmCloseDocument() override;
    void RemoveUnusedStyles(bool textStyles, bool paragraphStyles, bool listStyles) override;

    /// Makes the picture plan for the document's pictures before an export.
    using PicturePlanner =
        std::function<Result<pictureplan::Plan>(const QList<pictureplan::DocumentPicture>&)>;
    void setPicturePlanner(PicturePlanner planner);

    /// The document as the listing's HTML fragment, in Windows-1252, its
    /// pictures where the planner's plan puts them. Throws `AppError` when
    /// the plan cannot be made.
    QByteArray exportHtmlFragment();

    TDocEditor& editor() const { return *m_editor; }
    EdFileCommands& files() const { return *m_files; }
    EdActionList& actions() const { return *m_actions; }

private:
    TDocEditor* m_editor = nullptr;
    EdFileCommands* m_files = nullptr;
    EdActionList* m_actions = nullptr;
    PicturePlanner m_planPictures;
};
