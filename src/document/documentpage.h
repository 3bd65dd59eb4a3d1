#pragma once

#include "docmodel/keptexport.h"
#include "platform/pictureplan.h"

#include <QWidget>
#include <memory>

class DocumentEditor;
class DocumentTools;
class InsertLinkInfoDialog;
class InsertPicInfoDialog;
class LayoutDocument;
class QPushButton;
class RichDocumentEditor;
class SettingsChoices;
class UserDialogs;
class WebPictureLoader;
class TCustomDocData;
struct DocumentState;
struct PublishingState;
struct ServerMirror;
struct WorkingFolders;

/// The Document page `tabCompose`: the document buttons, the tool panel and
/// the rich-text editor `DocEditor1`, with the page's own reactions to them:
/// the document's file name and modified state, the shipped examples, the
/// font boxes, typed and pasted links, link targets and inserted pictures.
/// The page decides how the exported document refers to its pictures and
/// links: local and dead while previewing, on the seller's server and live
/// while publishing.
class DocumentPage : public QWidget {
    Q_OBJECT
public:
    /// The shared state the page reads and writes.
    struct Parts {
        const WorkingFolders& folders;
        DocumentState& document;
        LayoutDocument& layout;
        PublishingState& publishing;
        const ServerMirror& servers;
    };

    DocumentPage(UserDialogs& dialogs, Parts parts, QWidget* parent = nullptr);
    ~DocumentPage() override;

    /// The settings window's choices (links in a new window, the two
    /// information windows) and those windows; any may be left out.
    void setSettings(SettingsChoices* settings, InsertPicInfoDialog* pictureInfo,
                     InsertLinkInfoDialog* linkInfo);

    DocumentEditor& editor() const;
    RichDocumentEditor& richEditor() const { return *m_editor; }
    /// The document as the fragment of the page being made. The preview's is
    /// kept until the document changes, so a layout change does not export
    /// it again; the published page's is made anew each time, as publishing
    /// records the pictures and links it needs while exporting.
    QByteArray pageFragment();
    DocumentTools& tools() const { return *m_tools; }

    QPushButton* btnNewDoc = nullptr;
    QPushButton* btnOpenDoc = nullptr;
    QPushButton* btnSaveDoc = nullptr;
    QPushButton* btnSaveAsDoc = nullptr;

    /// The editor takes the keyboard, as the page shows.
    void focusEditor();

    /// A new, empty document to edit.
    void newDocument();
    /// A document chosen by the seller, to edit.
    void openDocument();
    /// A listing page made elsewhere, chosen by the seller, as a new
    /// untitled document; the seller is told in one line what it held that
    /// the document cannot.
    void openListingPage();
    /// The document saved under a name the seller chooses.
    void saveDocumentAs();
    /// Opens the document file the desktop handed over, to edit.
    void openDocumentFile(const QString& fileName);
    /// Shows the welcome document in the language of the code, read-only.
    void showWelcomeDocument(const QString& languageCode);
    /// The editor still shows the welcome document: read-only and no example.
    bool showsWelcomeDocument() const;
    /// Opens the shipped example or tutorial of that name (without
    /// extension) read-only, and has its companion layout loaded.
    void openExample(const QString& name);
    /// Gives the texts the page hands to the editor the current language.
    void languageApplied();

signals:
    /// The window caption must be computed again.
    void captionChanged();
    /// The seller opened or saved this document file (its whole path).
    void documentFileUsed(const QString& path);
    /// The page wants the main window to show the page of that index
    /// (0 this page, 1 the Layout page).
    void pageWanted(int index);

private:
    void createButtons(QWidget* row);
    void connectEditor();
    void connectFontBoxes();
    bool eventFilter(QObject* watched, QEvent* event) override;

    void OnNew();
    void OnOpenFile(const QString& fileName);
    void OnDocumentFileChange(const QString& fileName);
    void DocEditor1Change();
    void showTableSizePicker();
    void applyFontName();
    void applyFontSize();
    void showCaretFont();
    void DocEditor1KeyPress(QChar& key);
    void DocEditor1ReadHyperlink(const QString& target, int docFormat, int& styleNo,
                                 QString& itemTag);
    void DocEditor1WriteHyperlink(const TCustomDocData& data, int itemNo, QString& target,
                                  QString& extras);
    void insertPicture();
    void insertHyperlink();
    /// The picture plan of the document's pictures for the page being made:
    /// for publishing when `Publishing` is set, for the preview otherwise.
    /// Pictures of no file are saved where the plan puts them; publishing
    /// keeps the plan's addresses and its pictures without a server.
    Result<pictureplan::Plan> planPictures(const QList<pictureplan::DocumentPicture>& pictures);
    /// Why the example file cannot be shown; empty when it can.
    QString exampleProblem(const QString& path) const;

    UserDialogs& m_dialogs;
    Parts m_parts;
    std::unique_ptr<RichDocumentEditor> m_editor;
    DocumentTools* m_tools = nullptr;
    SettingsChoices* m_settings = nullptr;
    /// Shows the document's pictures on the web as they arrive.
    WebPictureLoader* m_webPictures = nullptr;
    InsertPicInfoDialog* m_pictureInfo = nullptr;
    InsertLinkInfoDialog* m_linkInfo = nullptr;
    bool FontControlsBusy = false;
    bool ExampleNoteShown = false;
    KeptExport m_previewFragment;
};
