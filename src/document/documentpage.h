#pragma once

#include <QWidget>
#include <memory>

class DocumentEditor;
class RichDocumentEditor;
class UserDialogs;
class TCustomDocData;
struct PublishingState;
struct ServerMirror;
struct WorkingFolders;

/// The Document page `tabCompose`: the rich-text editor `DocEditor1`
/// filling the page. The page decides how the exported document refers to
/// its pictures: by local file while previewing, on the seller's own server
/// while publishing.
class DocumentPage : public QWidget {
    Q_OBJECT
public:
    DocumentPage(UserDialogs& dialogs, const WorkingFolders& folders, PublishingState& publishing,
                 const ServerMirror& servers, QWidget* parent = nullptr);
    ~DocumentPage() override;

    DocumentEditor& editor() const;
    RichDocumentEditor& richEditor() const { return *m_editor; }

    /// The page's show reaction: the editor takes the keyboard.
    void tabComposeShow();

private:
    void DocEditor1HTMLSaveImage(const TCustomDocData& data, int itemNo, QString& location,
                                 bool& doDefault);

    const WorkingFolders& m_folders;
    PublishingState& m_publishing;
    const ServerMirror& m_servers;
    std::unique_ptr<RichDocumentEditor> m_editor;
};
