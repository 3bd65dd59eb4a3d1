#pragma once

#include "app/appstate.h"
#include "publish/listingclipboard.h"
#include "publish/publishtarget.h"

#include <QMainWindow>
#include <memory>

class AboutDialog;
class ExportInfoDialog;
class InsertLinkInfoDialog;
class InsertPicInfoDialog;
class PublishCommand;
class QDialog;
class DocumentEditor;
class DocumentPage;
class LayoutCommands;
class LayoutPage;
class MainMenu;
class PageGenerator;
class PageReactions;
class LayoutPreview;
class OnlinePreview;
class PublishBrowserPage;
class QTabWidget;
class SaveExitDialog;
class SettingsDialog;
class TestImagesDialog;
class UserDialogs;

/// The program's windows that the main window opens or closes. They are
/// created before it; a window left out is simply not used.
struct MainWindowDialogs {
    SettingsDialog* settings = nullptr;
    AboutDialog* about = nullptr;
    SaveExitDialog* saveExit = nullptr;
    /// The image availability test run by the publish command.
    TestImagesDialog* testImages = nullptr;
    /// The Document page's information windows about pictures and links.
    InsertPicInfoDialog* insertPicInfo = nullptr;
    InsertLinkInfoDialog* insertLinkInfo = nullptr;
};

/// The program's one working window, `T_FrmMain`: a thin owner of the three
/// pages, the main menu and the state they share.
class MainWindow : public QMainWindow, public PublishTarget {
    Q_OBJECT
public:
    MainWindow(UserDialogs& dialogs, WorkingFolders folders, MainWindowDialogs windows = {},
               QWidget* parent = nullptr);
    ~MainWindow() override;

    /// Opens a document (".vdoc") or layout (".rbs") the desktop handed the
    /// program, as the Open commands do once a file is chosen.
    void openFromDesktop(const QString& fileName);

    /// Recomputes the window caption from the current page's file.
    void UpdateAppCaption();

    /// Runs at every activation of the window: the first-activation work,
    /// then the language and the server settings are read again.
    void FormActivate();
    /// Releases the shared data, empties the clipboard of the program's own
    /// listing code and ends the program.
    void FormClose();

    AppState& state() { return m_state; }
    const AppState& state() const { return m_state; }
    QTabWidget* pages() const { return m_pages; }
    /// The Layout page (`tabDecorate`) and the layout controls it holds.
    QWidget* layoutPage() const;
    LayoutPage& layoutControls() const { return *m_layoutPage; }
    /// The layout being edited; it is changed only through its operations.
    LayoutDocument& layoutDocument() { return m_state.layout; }
    const Layout& layout() const { return m_state.layout.layout(); }
    MainMenu& mainMenu() const { return *m_menu; }
    DocumentEditor& editor() const;
    DocumentPage& documentPage() const { return *m_documentPage; }
    ListingClipboard& listingClipboard() { return m_clipboard; }
    LayoutCommands& layoutCommands() const { return *m_layoutCommands; }
    PageReactions& pageReactions() const { return *m_pageReactions; }
    PageGenerator& pageGenerator() const { return *m_pageGenerator; }
    /// The Layout page's preview; made after the window's first paint, or
    /// sooner when needed. None when the web module cannot be loaded.
    LayoutPreview* preview();
    PublishCommand& publishCommand() const { return *m_publishCommand; }
    /// The Publish page; made with the preview.
    PublishBrowserPage* publishPage() const { return m_publishPage; }
    /// The publishing help window and the publish dialog; none without a
    /// settings dialog to follow (the help window also none before the
    /// Publish page is made).
    QWidget* publishHelp() const { return m_publishHelp; }
    ExportInfoDialog* publishDialog() const { return m_publishDialog; }

    // PublishTarget
    void showPublishPage(bool externalBrowser) override;
    void openInInternalBrowser(const QUrl& address) override;
    void showPublishHelp() override;
    void cancelPublishing() override;

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void createPages();
    void createPageReactions();
    void connectMenu();
    void closePublishWindows();
    void openSettings();
    void createPublishing();
    /// Loads the web module at the first call and makes the parts that show
    /// web pages; false, once said, when it cannot be loaded.
    bool createWebParts();
    void showWebModuleMissing(const QString& error);
    void connectImageTest();
    void backToLayout();
    void leavePublishing();
    void showWelcomeDocument();
    /// The welcome document in the current language, read-only.
    void loadWelcomeDocument();
    /// The editor still shows the welcome document: read-only and no example.
    bool welcomeDocumentShown() const;
    /// Applies `LanguageCode` to every window of the program.
    void applyLanguage();
    /// The Language menu's commands: apply the language and remember it.
    void chooseLanguage(const QString& code);
    void refreshServerSettings();

    UserDialogs& m_dialogs;
    MainWindowDialogs m_windows;
    AppState m_state;
    ListingClipboard m_clipboard;
    QTabWidget* m_pages = nullptr;
    DocumentPage* m_documentPage = nullptr;
    LayoutPage* m_layoutPage = nullptr;
    QWidget* m_publishTab = nullptr;
    PublishBrowserPage* m_publishPage = nullptr;
    std::unique_ptr<MainMenu> m_menu;
    LayoutCommands* m_layoutCommands = nullptr;
    PageReactions* m_pageReactions = nullptr;
    std::unique_ptr<PageGenerator> m_pageGenerator;
    bool m_webPartsTried = false;
    LayoutPreview* m_preview = nullptr;
    bool m_previewPending = false;
    std::unique_ptr<OnlinePreview> m_previewLive;
    PublishCommand* m_publishCommand = nullptr;
    QWidget* m_publishHelp = nullptr;
    ExportInfoDialog* m_publishDialog = nullptr;
    /// The error of the last activation's server refresh, shown once only:
    /// closing its box activates the window again.
    QString m_activationError;
    /// Why the language file could not be read, once said.
    QString m_languageError;
};
