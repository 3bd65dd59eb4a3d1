#pragma once

#include "app/appstate.h"
#include "publish/listingclipboard.h"

#include <QMainWindow>
#include <functional>
#include <memory>

class AboutDialog;
class InsertLinkInfoDialog;
class InsertPicInfoDialog;
class DocumentEditor;
class DocumentPage;
class LayoutCommands;
class LayoutPage;
class MainMenu;
class PageGenerator;
class PageReactions;
class ProgramLanguage;
class LayoutPreview;
class PublishBrowserPage;
class PublishingController;
class RecentFiles;
class RecentMenu;
class QTabWidget;
class SaveExitDialog;
class Settings;
class SettingsDialog;
class TestImagesDialog;
class UserDialogs;
class WebPartsHost;

/// The program's windows that the main window opens or closes. They are
/// created before it, but for those it only opens, which are made when first
/// asked for; a window left out is simply not used.
struct MainWindowDialogs {
    SettingsDialog* settings = nullptr;
    std::function<AboutDialog*()> about;
    SaveExitDialog* saveExit = nullptr;
    /// The image availability test run by the publish command.
    TestImagesDialog* testImages = nullptr;
    /// The Document page's information windows about pictures and links.
    InsertPicInfoDialog* insertPicInfo = nullptr;
    InsertLinkInfoDialog* insertLinkInfo = nullptr;
    /// The settings the program runs with, which the settings dialog edits;
    /// left out, the main window loads its own from the settings file.
    Settings* programSettings = nullptr;
};

/// The program's one working window, `T_FrmMain`: a thin owner of the three
/// pages, the main menu and the state they share.
class MainWindow : public QMainWindow {
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
    /// then the language is applied again and the settings are loaded again
    /// when the settings file changed.
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
    /// The Publish page; made with the preview.
    PublishBrowserPage* publishPage() const;

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    /// The program's settings, or settings of its own when none are given.
    void useSettings();
    void createPages();
    void createPageReactions();
    void connectMenu();
    void openSettings();
    /// Publishing and the parts that come with the web module.
    void createPublishing();
    void showWelcomeDocument();
    void refreshServerSettings();

    UserDialogs& m_dialogs;
    MainWindowDialogs m_windows;
    std::unique_ptr<Settings> m_ownSettings;
    Settings* m_settings = nullptr;
    AppState m_state;
    ListingClipboard m_clipboard;
    QTabWidget* m_pages = nullptr;
    DocumentPage* m_documentPage = nullptr;
    LayoutPage* m_layoutPage = nullptr;
    std::unique_ptr<MainMenu> m_menu;
    LayoutCommands* m_layoutCommands = nullptr;
    PageReactions* m_pageReactions = nullptr;
    std::unique_ptr<PageGenerator> m_pageGenerator;
    PublishingController* m_publishing = nullptr;
    WebPartsHost* m_webParts = nullptr;
    ProgramLanguage* m_language = nullptr;
    std::unique_ptr<RecentFiles> m_recent;
    RecentMenu* m_recentMenu = nullptr;
    /// The error of the last activation's server refresh, shown once only:
    /// closing its box activates the window again.
    QString m_activationError;
};
