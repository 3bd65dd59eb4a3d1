#pragma once

#include <QWidget>
#include <memory>

class DocumentEditor;
class RichDocumentEditor;
class UserDialogs;

/// The Document page `tabCompose`: the rich-text editor `DocEditor1`
/// filling the page.
class DocumentPage : public QWidget {
    Q_OBJECT
public:
    DocumentPage(UserDialogs& dialogs, QWidget* parent = nullptr);
    ~DocumentPage() override;

    DocumentEditor& editor() const;
    RichDocumentEditor& richEditor() const { return *m_editor; }

    /// The page's show reaction: the editor takes the keyboard.
    void tabComposeShow();

private:
    std::unique_ptr<RichDocumentEditor> m_editor;
};
