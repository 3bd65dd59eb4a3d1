#include "app/mainwindow.h"

#include "app/aboutdialog.h"
#include "app/appcaption.h"
#include "app/application.h"
#include "app/closesequence.h"
#include "app/languageapplier.h"
#include "app/mainmenu.h"
#include "app/pagecontrol.h"
#include "app/pagereactions.h"
#include "app/webmoduleloader.h"
#include "document/documentpage.h"
#include "document/richdocumenteditor.h"
#include "editor/edfilecommands.h"
#include "layoutui/layoutcolumn.h"
#include "layoutui/layoutcommands.h"
#include "layoutui/layoutpage.h"
#include "layoutui/layoutpictures.h"
#include "listing/serverlist.h"
#include "pagegen/pagegenerator.h"
#include "platform/apperror.h"
#include "platform/uilanguage.h"
#include "publish/addsitedialog.h"
#include "publish/editsitedialog.h"
#include "publish/exportinfodialog.h"
#include "publish/publishcommand.h"
#include "publish/testimagesdialog.h"
#include "settings/servermirror.h"
#include "settings/settingsfile.h"
#include "settingsui/settingsdialog.h"
#include "ui/productwebsite.h"
#include "ui/userdialogs.h"
#include "ui/webparts.h"
#include "ui/windowplacement.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
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
    setObjectName(QStringLiteral("T_FrmMain"));
    setWindowTitle(VantrelApplication::title());
    resize(1008, 760);
    setMinimumSize(1000, 760);
    m_menu = std::make_unique<MainMenu>(menuBar());
    createPages();
    createPageReactions();
    createPublishing();
    connectMenu();
    if (m_windows.settings) {
        // Saved settings show in the preview at once.
        connect(m_windows.settings, &SettingsDialog::saved, m_layoutPage->buttons().btnPreview,
                &QPushButton::click);
    }
    centreOnScreen(*this);
    FormCreate();
}

MainWindow::~MainWindow() = default;

void MainWindow::createPages() {
    m_pages = new PageControl(this);
    m_documentPage = new DocumentPage(
        m_dialogs,
        {m_state.folders, m_state.document, m_state.layout, m_state.publishing, m_state.servers},
        m_pages);
    m_documentPage->setSettings(m_windows.settings, m_windows.insertPicInfo,
                                m_windows.insertLinkInfo);
    connect(m_documentPage, &DocumentPage::captionChanged, this, &MainWindow::UpdateAppCaption);
    connect(m_documentPage, &DocumentPage::pageWanted, m_pages, &QTabWidget::setCurrentIndex);
    m_pages->addTab(m_documentPage,
                    QStringLiteral("DOCUMENT Editor ( text writing and formatting )"));
    m_layoutPage = new LayoutPage(m_state.layout, m_layout, m_dialogs);
    m_layoutPage->rememberPhonePreview(m_state.folders.settingsFile(), m_dialogs);
    addPage(m_pages, "tabDecorate", QStringLiteral("LAYOUT Editor ( decorating and publishing )"),
            m_layoutPage);
    // The Publish page's content comes with the web module.
    m_publishTab = new QWidget(m_pages);
    m_publishTab->setObjectName(QStringLiteral("tabExport"));
    (new QVBoxLayout(m_publishTab))->setContentsMargins(0, 0, 0, 0);
    m_pages->addTab(m_publishTab, QStringLiteral("Export to Auctions site"));

    m_pageGenerator = std::make_unique<PageGenerator>(m_state.folders, m_state.layout,
                                                      m_state.publishing, m_layout);
    RichDocumentEditor& editor = m_documentPage->richEditor();
    m_pageGenerator->setDocumentExport([&editor] { return editor.exportHtmlFragment(); });
    // A refresh asked for before the preview exists makes it and shows the page.
    connect(m_layoutPage, &LayoutPage::previewRequested, this, [this] {
        if (m_preview)
            return;
        if (LayoutPreview* shown = preview())
            shown->LoadInBrowser();
        else // no page will come that the controls wait for
            m_layoutPage->column()->setGroupsVisible(true);
    });
    connect(m_layoutPage, &LayoutPage::previewRequested, this, &MainWindow::UpdateAppCaption);
    setCentralWidget(m_pages);
}

void MainWindow::createPageReactions() {
    m_layoutCommands =
        new LayoutCommands({m_state.folders, m_state.layout, m_state.document, m_layout},
                           *m_layoutPage, m_dialogs, m_windows.saveExit, this);
    connect(m_layoutCommands, &LayoutCommands::captionChanged, this, &MainWindow::UpdateAppCaption);
    connect(m_layoutCommands, &LayoutCommands::fullMenuNeeded, this,
            [this] { m_menu->MainMenuDisplay(QStringLiteral("show")); });
    connect(m_layoutCommands, &LayoutCommands::publishingLeft, this, &MainWindow::leavePublishing);
    connect(m_layoutCommands, &LayoutCommands::layoutPageNeeded, this,
            [this] { m_pages->setCurrentIndex(int(MainPage::Decorate)); });
    connect(m_layoutCommands, &LayoutCommands::pageFileShown, this, [this](const QString& file) {
        if (LayoutPreview* shown = preview())
            shown->showPageFile(file);
    });

    auto* pictures = new LayoutPictures(m_layoutPage->controls(), m_state.layout, m_layout,
                                        m_state.folders, m_dialogs, this);
    connect(pictures, &LayoutPictures::refreshNeeded, m_layoutPage, &LayoutPage::refreshPreview);
    connect(pictures, &LayoutPictures::pictureCopied, this,
            [this](const QString& copy) { m_state.publishing.LastPictureCopy = copy; });

    m_pageReactions = new PageReactions({m_state, *m_documentPage, *m_layoutPage, *m_layoutCommands,
                                         *m_menu, [this] { return m_publishPage; }},
                                        this);
    connect(m_pageReactions, &PageReactions::publishingLeft, this,
            &MainWindow::closePublishWindows);
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
    const auto onLayoutPage = [this](QPushButton* button) {
        return [this, button] {
            m_pages->setCurrentIndex(int(MainPage::Decorate));
            button->click();
        };
    };
    const MainMenuActions& menu = m_menu->actions();
    const LayoutButtons& buttons = m_layoutPage->buttons();
    connect(menu.Exit1, &QAction::triggered, this, &QWidget::close);
    on(menu.mnuNewLayout, onLayoutPage(buttons.btnNewLayout));
    on(menu.mnuOpenLayout, onLayoutPage(buttons.btnOpenLayout));
    on(menu.SaveLayoutAs, [buttons] { buttons.btnSaveAs->click(); });
    // The page shows first, so the layout published is the one it loads.
    on(menu.ExporttoORV1, onLayoutPage(buttons.btnExport));
    DocumentPage* document = m_documentPage;
    on(menu.mnuNewDoc, [document] { document->mnuNewDocClick(); });
    on(menu.mnuOpenDoc, [document] { document->mnuOpenDocClick(); });
    on(menu.SaveDocAs, [document] { document->btnSaveAsDoc->click(); });
    for (QAction* example : menu.examples) {
        // The document is named after its entry, without "mnu".
        on(example,
           [document, name = example->objectName().mid(3)] { document->openExample(name); });
    }
    on(menu.mnuJoinAffiliate,
       [this] { openWebPage(m_dialogs, productWebPage(QStringLiteral("/affiliate/aff.php"))); });
    on(menu.Settings1, [this] { openSettings(); });
    on(menu.en, [this] { chooseLanguage(QStringLiteral("en")); });
    on(menu.fr, [this] { chooseLanguage(QStringLiteral("fr")); });
    on(menu.mnuAbout, [this] {
        if (m_windows.about)
            m_dialogs.runModal(*m_windows.about);
    });
    on(menu.mnuOnlineHelp,
       [this] { openWebPage(m_dialogs, productWebPage(QStringLiteral("/support.html"))); });
    on(menu.mnuWebsite,
       [this] { openWebPage(m_dialogs, productWebPage(QStringLiteral("/index.php"))); });
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

void MainWindow::leavePublishing() {
    if (m_publishDialog)
        m_publishDialog->close();
    m_state.publishing.RequiredImages.clear();
    m_state.publishing.Publishing = false;
}

void MainWindow::closePublishWindows() {
    for (QWidget* window :
         {static_cast<QWidget*>(m_publishHelp), static_cast<QWidget*>(m_publishDialog)}) {
        if (window)
            window->close();
    }
}

void MainWindow::createPublishing() {
    if (m_windows.settings) {
        const QString sites = m_state.folders.siteListFile();
        auto* addSite = new AddSiteDialog(m_dialogs, sites, this);
        auto* editSite = new EditSiteDialog(m_dialogs, sites, this);
        m_publishDialog =
            new ExportInfoDialog(m_dialogs, m_state.folders.settingsFile(), sites,
                                 *m_windows.settings, *this, *addSite, *editSite, this);
    }
    m_publishCommand =
        new PublishCommand({m_state.document, m_state.layout, m_state.publishing, m_state.servers,
                            m_state.ProductServer, m_layout, *m_pageGenerator, m_clipboard,
                            m_state.folders, m_state.LanguageCode},
                           m_dialogs, m_publishDialog, this);
    connectImageTest();
    connect(m_publishCommand, &PublishCommand::settingsRequested, this, &MainWindow::openSettings);
    connectCommand(m_layoutPage->buttons().btnExport, &QPushButton::clicked, this, m_dialogs,
                   [this] { m_publishCommand->btnExportClick(); });
}

void MainWindow::openFromDesktop(const QString& fileName) {
    // The welcome document must not come over the file afterwards.
    if (m_state.FirstActivation)
        FormActivate();
    runCommand(m_dialogs, [this, fileName] {
        const QString suffix = QFileInfo(fileName).suffix().toLower();
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
        m_pages->setCurrentIndex(int(MainPage::Compose));
        RichDocumentEditor& editor = m_documentPage->richEditor();
        editor.setReadOnly(false);
        editor.files().openFile(QFileInfo(fileName).absoluteFilePath());
        m_state.document.DocumentFileName = QFileInfo(fileName).fileName();
        UpdateAppCaption();
    });
}

void MainWindow::connectImageTest() {
    TestImagesDialog* test = m_windows.testImages;
    SettingsDialog* settings = m_windows.settings;
    if (!test || !settings)
        return;
    m_publishCommand->setImageTest(test, settings);
    // The two "hide the image test" boxes are one choice.
    test->setDisableImgWin(settings->hideCheckImage());
    connect(test, &TestImagesDialog::disableImgWinClicked, settings,
            &SettingsDialog::setHideCheckImage);
    connect(settings, &SettingsDialog::hideCheckImageClicked, test,
            &TestImagesDialog::setDisableImgWin);
    connectCommand(test, &TestImagesDialog::viewInBrowserRequested, this, m_dialogs, [this] {
        if (!createWebParts()) {
            QString error;
            webmoduleloader::load(&error);
            throw AppError(error);
        }
        m_previewLive->showOnlinePreview(m_state.folders, m_state.publishing, m_state.servers,
                                         m_dialogs);
    });
}

bool MainWindow::createWebParts() {
    QString error;
    WebParts* web = webmoduleloader::load(&error);
    if (m_webPartsTried)
        return web != nullptr;
    m_webPartsTried = true;
    if (!web) {
        showWebModuleMissing(error);
        return false;
    }
    m_publishPage = web->createPublishPage([this] { showPublishHelp(); },
                                           [this] { backToLayout(); }, m_publishTab);
    m_publishTab->layout()->addWidget(m_publishPage->widget());
    if (m_windows.settings) {
        m_publishHelp = web->createPublishHelp(
            [this] {
                return m_state.folders.ProgramFolder + m_state.LanguageCode +
                       QStringLiteral("_export1.html");
            },
            m_state.folders.settingsFile(), *m_windows.settings, m_dialogs,
            [this](bool shown) { m_publishPage->setHelpLinkVisible(!shown); }, this);
    }
    m_previewLive = web->createOnlinePreview();
    // Windows made after the first activation take the language now.
    if (!m_state.FirstActivation)
        applyLanguage();
    return true;
}

void MainWindow::showWebModuleMissing(const QString& error) {
    qWarning("%s", qPrintable(error));
    for (QWidget* place : {m_publishTab, m_layoutPage->previewHost()}) {
        auto* note = new QLabel(error, place);
        note->setWordWrap(true);
        note->setAlignment(Qt::AlignCenter);
        place->layout()->addWidget(note);
    }
    m_dialogs.showError(error);
}

void MainWindow::showPublishPage(bool externalBrowser) {
    m_pages->setTabVisible(int(MainPage::Export), true);
    m_pages->setCurrentIndex(int(MainPage::Export));
    if (createWebParts())
        m_publishPage->showExternalBrowserPanel(externalBrowser);
}

void MainWindow::openInInternalBrowser(const QUrl& address) {
    if (createWebParts())
        m_publishPage->open(address);
}

void MainWindow::showPublishHelp() {
    if (createWebParts() && m_publishHelp)
        m_publishHelp->show();
}

void MainWindow::cancelPublishing() {
    m_clipboard.clearOwnCode();
    m_pages->setCurrentIndex(int(MainPage::Compose));
    m_pages->setCurrentIndex(int(MainPage::Decorate));
}

void MainWindow::backToLayout() {
    m_clipboard.clearOwnCode();
    if (m_publishPage)
        m_publishPage->showExternalBrowserPanel(false);
    m_pages->setCurrentIndex(int(MainPage::Decorate));
}

void MainWindow::UpdateAppCaption() {
    const auto page = static_cast<MainPage>(m_pages->currentIndex());
    if (const auto caption = appCaption(m_state, page, editor().DocumentModified()))
        setWindowTitle(*caption);
}

QWidget* MainWindow::layoutPage() const {
    return m_pages->widget(int(MainPage::Decorate));
}

DocumentEditor& MainWindow::editor() const {
    return m_documentPage->editor();
}

void MainWindow::FormCreate() {
    m_state.FirstActivation = true;
    m_state.AppTitle = VantrelApplication::title();
    m_menu->MainMenuDisplay(QStringLiteral("show"));
    m_pages->setCurrentIndex(int(MainPage::Compose));
    // The Publish page is reached only by the publish command.
    m_pages->setTabVisible(int(MainPage::Export), false);
    LayoutState& layout = m_state.layout;
    layout.LayoutFileName = WorkingFolders::untitledLayoutName();
    layout.LayoutLoadRequested = LayoutLoadRequest::None;
    layout.LayoutModified = false;
    m_state.LanguageCode = settingsfile::readLanguageCode(m_state.folders.settingsFile());
    m_menu->checkLanguage(m_state.LanguageCode);
    languageapplier::followShownDialogs(this);
    keepTitlesWhole(this);
    layout.LayoutLoadNeeded = true;
}

LayoutPreview* MainWindow::preview() {
    if (!m_preview && createWebParts()) {
        m_preview = webmoduleloader::load()->createPreview(m_state.publishing, *m_layoutPage,
                                                           *m_pageGenerator, m_dialogs, this);
    }
    return m_preview;
}

bool MainWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    if (event->type() == QEvent::Paint && !m_preview && !m_previewPending) {
        // The preview's browser starts the web engine, which the Document
        // page shown first does not need: once this paint is on the screen.
        m_previewPending = true;
        QTimer::singleShot(0, this, [this] {
            if (isVisible()) // not for a window closed at once
                preview();
        });
    }
    return QMainWindow::event(event);
}

void MainWindow::FormActivate() {
    if (m_state.FirstActivation) {
        showWelcomeDocument();
        // The page on show from the start gets its show reaction too.
        runCommand(m_dialogs, [this] { m_pageReactions->pageShown(m_pages->currentIndex()); });
    }
    applyLanguage();
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
    m_state.layout.LayoutLoadNeeded = true;
    m_state.layout.LayoutModified = false;
    loadWelcomeDocument();
    m_state.FirstActivation = false;
}

void MainWindow::loadWelcomeDocument() {
    DocumentEditor& welcome = editor();
    welcome.newDocument();
    welcome.setReadOnly(true);
    // Without the welcome document the editor just stays empty.
    welcome.loadWelcomeDocument(m_state.folders.welcomeDocumentFile(m_state.LanguageCode));
    welcome.RelayoutDocument();
}

bool MainWindow::welcomeDocumentShown() const {
    return !m_state.FirstActivation && editor().isReadOnly() && !m_state.document.ExampleOpen;
}

void MainWindow::applyLanguage() {
    m_menu->checkLanguage(m_state.LanguageCode);
    const QString problem = languageapplier::apply(
        m_state.folders.ProgramFolder, m_state.LanguageCode, languageapplier::programWindows());
    // Applied at every activation: a file that cannot be read is named once.
    if (!problem.isEmpty() && problem != m_languageError)
        m_dialogs.showError(problem + QStringLiteral("\n\n") +
                            uilanguage::text("MESSAGES", "languageDefaultsUsed",
                                             QStringLiteral("The windows keep their built-in "
                                                            "texts.")));
    m_languageError = problem;
    m_documentPage->languageApplied();
    // The caption's words are the language's too.
    UpdateAppCaption();
}

void MainWindow::chooseLanguage(const QString& code) {
    const bool welcome = welcomeDocumentShown();
    m_state.LanguageCode = code;
    applyLanguage();
    // The seller who has not begun yet reads the welcome in the new language.
    if (welcome)
        loadWelcomeDocument();
    // The preview on show says it in the new language's words too.
    if (m_pages->currentIndex() == int(MainPage::Decorate))
        m_layoutPage->refreshPreview();
    SettingsFile(m_state.folders.settingsFile()).writeString(SettingKey::lang, code);
}

void MainWindow::refreshServerSettings() {
    QString unreadSettings;
    try {
        m_state.servers = settingsfile::readServerMirror(m_state.folders.settingsFile());
    } catch (const AppError& error) {
        // The program goes on with every key's default, as the settings
        // dialog shows them; the file is named once the rest is done.
        m_state.servers = settingsfile::readServerMirror(QString());
        unreadSettings = error.message();
    }
    if (m_windows.settings)
        m_windows.settings->mirrorServerSettings(m_state.servers);
    const int serverSet = serverlist::serverSetIndex(m_state.servers.ServerSet);
    if (m_windows.settings)
        m_windows.settings->setServerSetIndex(serverSet);
    m_state.ProductServer =
        serverlist::readProductServers(m_state.folders.serverListFile(), m_state.servers.ServerSet);
    if (!unreadSettings.isEmpty())
        throw AppError(unreadSettings + QStringLiteral("\n\n") +
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
