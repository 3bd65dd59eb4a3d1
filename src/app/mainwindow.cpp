#include "app/mainwindow.h"

#include "app/aboutdialog.h"
#include "app/appcaption.h"
#include "app/closesequence.h"
#include "app/mainmenu.h"
#include "app/pagecontrol.h"
#include "app/pagereactions.h"
#include "app/programlanguage.h"
#include "app/publishingcontroller.h"
#include "app/recentmenu.h"
#include "app/webpartshost.h"
#include "document/documentpage.h"
#include "document/richdocumenteditor.h"
#include "layoutui/layoutcommands.h"
#include "layoutui/layoutpage.h"
#include "layoutui/layoutpictures.h"
#include "listing/serverlist.h"
#include "pagegen/pagegenerator.h"
#include "platform/apperror.h"
#include "platform/desktoprecent.h"
#include "platform/uilanguage.h"
#include "publish/publishedlistingswindow.h"
#include "settings/recentfiles.h"
#include "settings/settings.h"
#include "settingsui/settingsdialog.h"
#include "ui/userdialogs.h"
#include "ui/webparts.h"
#include "ui/windowplacement.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

/// A page of the page control holding one widget without margins.
QWidget* addPage(QTabWidget* pages, const char* name, const QString& caption, QWidget* content) {
    auto* page = new QWidget(pages);
    page->setObjectName(QString::fromLatin1(name));
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    content->setParent(page);
    layout->addWidget(content);
    pages->addTab(page, caption);
    return page;
}

} // namespace

MainWindow::MainWindow(UserDialogs& dialogs, WorkingFolders folders, MainWindowDialogs windows,
                       QWidget* parent)
    : QMainWindow(parent)
    , m_dialogs(dialogs)
    , m_windows(windows) {
    m_state.folders = std::move(folders);
    useSettings();
    setObjectName(QStringLiteral("T_FrmMain"));
    setWindowTitle(applicationTitle());
    m_menu = std::make_unique<MainMenu>(menuBar());
    createPages();
    createPageReactions();
    createPublishing();
    connectMenu();
    if (m_windows.settings) {
        // Saved settings show in the preview at once.
        connect(m_windows.settings, &SettingsDialog::saved, m_layoutPage,
                &LayoutPage::refreshPreview);
    }
    // Smaller on a small screen: the pages' side panels scroll, and the
    // layout keeps the window from becoming smaller than its controls need.
    placeOnScreen(*this, QSize(1008, 760));
    FormCreate();
}

MainWindow::~MainWindow() = default;

void MainWindow::useSettings() {
    m_settings = m_windows.programSettings;
    if (!m_settings) {
        m_ownSettings = std::make_unique<Settings>(m_state.folders.settingsFile());
        // A file that cannot be read is named at the first activation.
        (void)m_ownSettings->load();
        m_settings = m_ownSettings.get();
    }
    m_state.servers = m_settings->servers();
    // The dialog's choices count at once, saved or not.
    connect(m_settings, &Settings::changed, this,
            [this] { m_state.servers = m_settings->servers(); });
}

void MainWindow::createPages() {
    m_pages = new PageControl(this);
    m_documentPage = new DocumentPage(
        m_dialogs,
        {m_state.folders, m_state.document, m_state.layout, m_state.publishing, m_state.servers},
        m_pages);
    m_documentPage->setSettings(m_settings, m_windows.insertPicInfo, m_windows.insertLinkInfo);
    connect(m_documentPage, &DocumentPage::captionChanged, this, &MainWindow::UpdateAppCaption);
    connect(m_documentPage, &DocumentPage::pageWanted, m_pages, &QTabWidget::setCurrentIndex);
    m_pages->addTab(m_documentPage,
                    QStringLiteral("DOCUMENT Editor ( text writing and formatting )"));
    m_layoutPage = new LayoutPage(m_state.layout, m_dialogs);
    m_layoutPage->rememberPhonePreview(m_state.folders.settingsFile(), m_dialogs);
    addPage(m_pages, "tabDecorate", QStringLiteral("LAYOUT Editor ( decorating and publishing )"),
            m_layoutPage);

    m_pageGenerator = std::make_unique<PageGenerator>(m_state.folders, m_state.layout.state(),
                                                      m_state.publishing, m_state.layout.layout());
    DocumentPage* document = m_documentPage;
    m_pageGenerator->setDocumentExport([document] { return document->pageFragment(); });
    connect(m_layoutPage, &LayoutPage::previewRequested, this, &MainWindow::UpdateAppCaption);
    setCentralWidget(m_pages);
}

void MainWindow::createPageReactions() {
    m_layoutCommands = new LayoutCommands({m_state.folders, m_state.layout, m_state.document},
                                          *m_layoutPage, m_dialogs, m_windows.saveExit, this);
    connect(m_layoutCommands, &LayoutCommands::captionChanged, this, &MainWindow::UpdateAppCaption);
    connect(m_layoutCommands, &LayoutCommands::fullMenuNeeded, this,
            [this] { m_menu->MainMenuDisplay(QStringLiteral("show")); });
    connect(m_layoutCommands, &LayoutCommands::layoutPageNeeded, this,
            [this] { m_pages->setCurrentIndex(int(MainPage::Decorate)); });
    connect(m_layoutCommands, &LayoutCommands::pageFileShown, this, [this](const QString& file) {
        if (LayoutPreview* shown = preview())
            shown->showPageFile(file);
    });

    auto* pictures = new LayoutPictures(m_layoutPage->controls(), m_state.layout, m_state.folders,
                                        m_dialogs, this);
    connect(pictures, &LayoutPictures::refreshNeeded, m_layoutPage, &LayoutPage::refreshPreview);
    connect(pictures, &LayoutPictures::pictureCopied, this,
            [this](const QString& copy) { m_state.publishing.LastPictureCopy = copy; });

    m_pageReactions = new PageReactions({m_state, *m_documentPage, *m_layoutPage, *m_layoutCommands,
                                         *m_menu, [this] { return m_publishing->publishPage(); }},
                                        this);
    connect(m_pageReactions, &PageReactions::captionChanged, this, &MainWindow::UpdateAppCaption);
    connect(m_pages, &QTabWidget::currentChanged, this, [this](int index) {
        // Both the Layout and the Publish page show web parts.
        if (index != int(MainPage::Compose))
            preview();
        runCommand(m_dialogs, [this, index] { m_pageReactions->pageShown(index); });
    });
}

void MainWindow::connectMenu() {
    const auto on = [this](QAction* action, auto reaction) {
        connectCommand(action, &QAction::triggered, this, m_dialogs, reaction);
    };
    const MainMenuActions& menu = m_menu->actions();
    LayoutCommands* layout = m_layoutCommands;
    connect(menu.Exit1, &QAction::triggered, this, &QWidget::close);
    on(menu.mnuNewLayout, [this, layout] {
        m_pages->setCurrentIndex(int(MainPage::Decorate));
        layout->newLayout();
    });
    on(menu.mnuOpenLayout, [this, layout] {
        m_pages->setCurrentIndex(int(MainPage::Decorate));
        layout->openLayout();
    });
    on(menu.SaveLayoutAs, [layout] { layout->saveLayoutAs(); });
    // The page shows first, so the layout published is the one it loads.
    on(menu.ExporttoORV1, [this] {
        m_pages->setCurrentIndex(int(MainPage::Decorate));
        m_publishing->publish();
    });
    on(menu.mnuPublishedListings, [this] { m_publishing->showPublishedListings(); });
    // A listing's document opens as one the desktop hands over.
    connect(&m_publishing->publishedListings(), &PublishedListingsWindow::documentWanted, this,
            &MainWindow::openFromDesktop);
    DocumentPage* document = m_documentPage;
    on(menu.mnuNewDoc, [document] { document->newDocument(); });
    on(menu.mnuOpenDoc, [document] { document->openDocument(); });
    on(menu.mnuOpenListing, [document] { document->openListingPage(); });
    on(menu.SaveDocAs, [document] { document->saveDocumentAs(); });
    for (QAction* example : menu.examples) {
        // The document is named after its entry, without "mnu".
        on(example,
           [document, name = example->objectName().mid(3)] { document->openExample(name); });
    }
    on(menu.Settings1, [this] { openSettings(); });
    on(menu.mnuAbout, [this] {
        if (m_windows.about)
            m_dialogs.runModal(*m_windows.about());
    });
    m_menu->connectWebSite(this, m_dialogs);
    // The files used last, in File > Open, and in the desktop's own list.
    m_recent = std::make_unique<RecentFiles>(*m_settings, desktoprecent::listFile());
    m_recentMenu = new RecentMenu(
        menu.recentDocs, menu.recentLayouts, *m_recent, m_dialogs,
        [this](const QString& path) { openFromDesktop(path); }, this);
    connect(m_documentPage, &DocumentPage::documentFileUsed, m_recentMenu,
            [this](const QString& path) {
                m_recentMenu->remember(RecentFiles::Kind::Documents, path);
            });
    connect(
        m_layoutCommands, &LayoutCommands::layoutFileUsed, m_recentMenu,
        [this](const QString& path) { m_recentMenu->remember(RecentFiles::Kind::Layouts, path); });
}

void MainWindow::openSettings() {
    SettingsDialog* settings = m_windows.settings;
    if (!settings)
        return;
    if (m_pages->currentIndex() == int(MainPage::Export))
        m_pages->setCurrentIndex(int(MainPage::Decorate));
    settings->showServers(m_state.servers.PrimaryServer, m_state.servers.SecondaryServer);
    m_dialogs.runModal(*settings);
    // The window is active again when the dialog closes; where the desktop
    // sends no activation (no window manager), the saved servers must still
    // count at once.
    FormActivate();
}

void MainWindow::createPublishing() {
    m_publishing = new PublishingController(
        {m_state, *m_pageGenerator, m_clipboard, *m_pages, *m_layoutPage->buttons().btnExport,
         [this] { return m_webParts->load(); }},
        m_dialogs, m_windows.settings, m_settings, m_windows.testImages, this);
    m_webParts = new WebPartsHost(
        {m_state.publishing, *m_layoutPage, *m_pageGenerator, *m_publishing}, m_dialogs, this);
    // Windows made after the first activation take the language now.
    connect(m_webParts, &WebPartsHost::windowsMade, this, [this] {
        if (!m_state.FirstActivation)
            m_language->apply();
    });
    connect(m_publishing, &PublishingController::settingsRequested, this,
            &MainWindow::openSettings);
    connect(m_layoutCommands, &LayoutCommands::publishingLeft, m_publishing,
            &PublishingController::leavePublishing);
    connect(m_pageReactions, &PageReactions::publishingLeft, m_publishing,
            &PublishingController::closePublishWindows);
}

void MainWindow::openFromDesktop(const QString& fileName) {
    // The welcome document must not come over the file afterwards.
    if (m_state.FirstActivation)
        FormActivate();
    runCommand(m_dialogs, [this, fileName] {
        const QFileInfo file(fileName);
        const QString suffix = file.suffix().toLower();
        // Said before anything changes: the page, its file and the caption
        // stay those of the work on show.
        if (!file.isFile())
            throw AppError(uilanguage::text("MESSAGES", "desktopFileMissing",
                                            QStringLiteral("\"%1\" was not found: it may have "
                                                           "been moved, renamed or deleted."))
                               .arg(QDir::toNativeSeparators(fileName)));
        if (suffix == QLatin1String("rbs")) {
            m_pages->setCurrentIndex(int(MainPage::Decorate));
            m_layoutCommands->openLayoutFile(fileName);
            return;
        }
        if (suffix != QLatin1String("vdoc"))
            throw AppError(uilanguage::text(
                               "MESSAGES", "notVantrelFile",
                               QStringLiteral("\"%1\" is neither a Vantrel document (.vdoc) nor a "
                                              "layout (.rbs)."))
                               .arg(fileName));
        m_documentPage->openDocumentFile(fileName);
    });
}

void MainWindow::UpdateAppCaption() {
    const auto page = static_cast<MainPage>(m_pages->currentIndex());
    if (const auto caption = appCaption(m_state, page, editor().DocumentModified()))
        setWindowTitle(*caption);
}

QWidget* MainWindow::layoutPage() const {
    return m_pages->widget(int(MainPage::Decorate));
}

PublishBrowserPage* MainWindow::publishPage() const {
    return m_publishing->publishPage();
}

DocumentEditor& MainWindow::editor() const {
    return m_documentPage->editor();
}

void MainWindow::FormCreate() {
    m_state.FirstActivation = true;
    m_state.AppTitle = applicationTitle();
    m_menu->MainMenuDisplay(QStringLiteral("show"));
    m_pages->setCurrentIndex(int(MainPage::Compose));
    LayoutDocument& layout = m_state.layout;
    layout.setFile(layout.state().LayoutFolder, WorkingFolders::untitledLayoutName());
    layout.setLoadRequest(LayoutLoadRequest::None);
    layout.markSaved();
    m_language =
        new ProgramLanguage({m_state, *m_menu, *m_documentPage, *m_settings}, m_dialogs, this);
    connect(m_language, &ProgramLanguage::applied, this, &MainWindow::UpdateAppCaption);
    connect(m_language, &ProgramLanguage::chosen, this, [this] {
        // The preview on show says it in the new language's words too.
        if (m_pages->currentIndex() == int(MainPage::Decorate))
            m_layoutPage->refreshPreview();
    });
    keepTitlesWhole(this);
    layout.setLoadNeeded(true);
}

LayoutPreview* MainWindow::preview() {
    return m_webParts->preview();
}

bool MainWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return QMainWindow::event(event);
}

void MainWindow::FormActivate() {
    if (m_state.FirstActivation) {
        showWelcomeDocument();
        // The page on show from the start gets its show reaction too.
        runCommand(m_dialogs, [this] { m_pageReactions->pageShown(m_pages->currentIndex()); });
    }
    m_language->apply();
    m_state.publishing.Publishing = false;
    try {
        refreshServerSettings();
        m_activationError.clear();
    } catch (const AppError& error) {
        // Closing the error box activates this window again; the same fault
        // is reported once instead of in an endless chain of boxes.
        if (error.message() != m_activationError)
            m_dialogs.showError(error.message());
        m_activationError = error.message();
    }
}

void MainWindow::showWelcomeDocument() {
    m_pages->setCurrentIndex(int(MainPage::Compose));
    m_state.layout.setLoadNeeded(true);
    m_state.layout.markSaved();
    m_documentPage->showWelcomeDocument(m_state.LanguageCode);
    m_state.FirstActivation = false;
}

void MainWindow::refreshServerSettings() {
    // Another run of the program may have saved the settings since. When the
    // file cannot be read the program goes on with every key's default, as
    // the settings dialog shows them; the file is named once the rest is done.
    const Status loaded = m_settings->reloadIfChanged();
    m_state.servers = m_settings->servers();
    const int serverSet = serverlist::serverSetIndex(m_state.servers.ServerSet);
    if (m_windows.settings)
        m_windows.settings->setServerSetIndex(serverSet);
    m_state.ProductServer = serverlist::offeredProductServers(m_state.folders.serverListFile(),
                                                              m_state.servers.ServerSet);
    if (!loaded)
        throw AppError(loaded.error() + QStringLiteral("\n\n") +
                       uilanguage::text("MESSAGES", "settingsDefaultsUsed",
                                        QStringLiteral("Vantrel goes on with its default "
                                                       "settings.")));
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!FormCloseQuery(m_state, editor(), *m_layoutCommands, m_dialogs)) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

void MainWindow::FormClose() {
    m_state.publishing.RequiredImages.clear();
    m_state.publishing.ListingCode.clear();
    m_clipboard.clearOwnCode();
    QCoreApplication::quit();
}
