#include "app/mainwindow.h"

#include "app/aboutdialog.h"
#include "app/appcaption.h"
#include "app/application.h"
#include "app/closesequence.h"
#include "app/exportpageframe.h"
#include "app/mainmenu.h"
#include "app/pagecontrol.h"
#include "app/pagereactions.h"
#include "app/productwebsite.h"
#include "app/richdocumenteditor.h"
#include "layout/layoutcolumn.h"
#include "layout/layoutcommands.h"
#include "layout/layoutpage.h"
#include "pagegen/pagegenerator.h"
#include "platform/apperror.h"
#include "platform/userdialogs.h"
#include "platform/windowplacement.h"
#include "preview/previewcontroller.h"
#include "publish/serverlist.h"
#include "settings/servermirror.h"
#include "settings/settingsdialog.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

enum Page { ComposePage = 0, DecoratePage = 1, ExportPage = 2 };

} // namespace

MainWindow::MainWindow(UserDialogs& dialogs, WorkingFolders folders, QWidget* parent)
    : QMainWindow(parent)
    , m_dialogs(dialogs)
    , m_folders(std::move(folders)) {
    setObjectName(QStringLiteral("T_FrmMain"));
    setWindowTitle(VantrelApplication::title());
    resize(1008, 760);
    setMinimumSize(1000, 760);
    m_menu = std::make_unique<MainMenu>(menuBar());
    connect(m_menu->exitAction(), &QAction::triggered, this, &QWidget::close);
    createPages();
    createPageReactions();
    connectMenu();
    centreOnScreen(*this);
    FormCreate();
}

MainWindow::~MainWindow() = default;

void MainWindow::createPages() {
    m_pages = new PageControl(this);
    struct PageInfo {
        const char* name;
        const char* caption;
    };
    const PageInfo pageInfos[] = {
        {"tabCompose", "DOCUMENT Editor ( text writing and formatting )"},
        {"tabDecorate", "LAYOUT Editor ( decorating and publishing )"},
        {"tabExport", "Export to Auctions site"},
    };
    for (const PageInfo& info : pageInfos) {
        auto* page = new QWidget(m_pages);
        page->setObjectName(QString::fromLatin1(info.name));
        m_pages->addTab(page, QString::fromLatin1(info.caption));
    }
    QWidget* compose = m_pages->widget(ComposePage);
    auto editor = std::make_unique<RichDocumentEditor>(m_dialogs, compose);
    RichDocumentEditor* richEditor = editor.get();
    m_editor = std::move(editor);
    (new QVBoxLayout(compose))->addWidget(m_editor->widget());
    QWidget* decorate = m_pages->widget(DecoratePage);
    auto* decorateLayout = new QHBoxLayout(decorate);
    decorateLayout->setContentsMargins(0, 0, 0, 0);
    m_layoutPage = new LayoutPage(m_state, m_layout, m_dialogs, decorate);
    decorateLayout->addWidget(m_layoutPage);
    QWidget* publish = m_pages->widget(ExportPage);
    m_exportPage = new ExportPageFrame(publish);
    auto* publishLayout = new QVBoxLayout(publish);
    publishLayout->setContentsMargins(0, 0, 0, 0);
    publishLayout->addWidget(m_exportPage);
    connect(m_exportPage, &ExportPageFrame::helpRequested, this, [this] {
        if (m_publishHelp)
            m_publishHelp->show();
    });
    m_pageGenerator = std::make_unique<PageGenerator>(m_state, m_layout, [this](const QString& m) {
        m_dialogs.showMessage(m, UserDialogs::Icon::Error);
    });
    m_pageGenerator->setDocumentExport([richEditor] { return richEditor->exportHtmlFragment(); });
    m_preview = new PreviewController(m_state, *m_layoutPage, *m_pageGenerator, this);
    setCentralWidget(m_pages);
}

void MainWindow::createPageReactions() {
    m_layoutCommands = new LayoutCommands(m_state, m_layout, *m_layoutPage, m_dialogs, this);
    LayoutCommandHooks hooks;
    hooks.updateCaption = [this] { UpdateAppCaption(); };
    hooks.showFullMenu = [this] { m_menu->MainMenuDisplay(QStringLiteral("show")); };
    hooks.closePublishDialog = [this] {
        if (m_publishDialog)
            m_publishDialog->close();
    };
    hooks.selectLayoutPage = [this] { m_pages->setCurrentIndex(DecoratePage); };
    hooks.showPageFile = [this](const QString& fileName) { m_preview->showPageFile(fileName); };
    m_layoutCommands->setHooks(hooks);
    m_pageReactions = new PageReactions(
        {m_state, *m_editor, *m_layoutPage, *m_layoutCommands, *m_menu, m_exportPage->progress()},
        this);
    m_pageReactions->setClosePublishWindows([this] { closePublishWindows(); });
    m_pageReactions->setUpdateCaption([this] { UpdateAppCaption(); });
    connect(m_pages, &QTabWidget::currentChanged, this, [this](int index) {
        runCommand(m_dialogs, [this, index] { m_pageReactions->pageShown(index); });
    });
    m_preview->setCaptionUpdate([this] { UpdateAppCaption(); });
}

void MainWindow::connectMenu() {
    const auto on = [this](const char* name, auto reaction) {
        connect(menuBar()->findChild<QAction*>(QLatin1String(name)), &QAction::triggered, this,
                [this, reaction] { runCommand(m_dialogs, reaction); });
    };
    const auto onLayoutPage = [this](QPushButton* button) {
        return [this, button] {
            m_pages->setCurrentIndex(DecoratePage);
            button->click();
        };
    };
    on("mnuNewLayout", onLayoutPage(m_layoutPage->buttons().btnNewLayout));
    on("mnuOpenLayout", onLayoutPage(m_layoutPage->buttons().btnOpenLayout));
    on("SaveLayoutAs", [this] { m_layoutPage->buttons().btnSaveAs->click(); });
    on("Settings1", [this] {
        if (m_settingsDialog)
            m_dialogs.runModal(*m_settingsDialog);
    });
    on("mnuAbout", [this] {
        if (m_aboutDialog)
            m_dialogs.runModal(*m_aboutDialog);
    });
    on("mnuOnlineHelp",
       [this] { openWebPage(m_dialogs, productWebPage(QStringLiteral("/support.html"))); });
    on("mnuWebsite",
       [this] { openWebPage(m_dialogs, productWebPage(QStringLiteral("/index.php"))); });
}

void MainWindow::setSaveExitDialog(SaveExitDialog* dialog) {
    m_layoutCommands->setSavePrompt(dialog);
}

void MainWindow::setPublishWindows(QWidget* helpWindow, QWidget* publishDialog) {
    m_publishHelp = helpWindow;
    m_publishDialog = publishDialog;
}

void MainWindow::closePublishWindows() {
    for (QWidget* window : {m_publishHelp, m_publishDialog}) {
        if (window)
            window->close();
    }
}

void MainWindow::UpdateAppCaption() {
    const auto page = static_cast<MainPage>(m_pages->currentIndex());
    if (const auto caption = appCaption(m_state, page, m_editor->DocumentModified()))
        setWindowTitle(*caption);
}

QWidget* MainWindow::layoutPage() const {
    return m_pages->widget(DecoratePage);
}

void MainWindow::FormCreate() {
    m_state.OwnImagesFolderName = QStringLiteral("My images");
    m_state.FirstActivation = true;
    m_state.ProgramFolder = m_folders.programFolder;
    m_state.UserFolder = m_folders.userFolder;
    m_state.SharedDataFolder = m_folders.sharedDataFolder;
    m_state.AppTitle = VantrelApplication::title();
    m_menu->MainMenuDisplay(QStringLiteral("show"));
    m_pages->setCurrentIndex(ComposePage);
    // The Publish page is reached only by the publish command.
    m_pages->setTabVisible(ExportPage, false);
    m_state.NewLayoutPending = false;
    m_state.OpenLayoutPending = false;
    m_state.ExampleLayoutPending = false;
    m_state.LayoutModified = false;
    m_state.LanguageCode =
        settingsfile::readLanguageCode(settingsfile::fileName(m_state.SharedDataFolder));
    m_menu->checkLanguage(m_state.LanguageCode);
    m_state.LayoutLoadNeeded = true;
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
    applyLanguage();
    m_state.Publishing = false;
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
    m_pages->setCurrentIndex(ComposePage);
    m_state.LayoutLoadNeeded = true;
    m_state.LayoutModified = false;
    m_editor->newDocument();
    m_editor->setReadOnly(true);
    // Without the welcome document the editor just stays empty.
    m_editor->LoadDocumentFile(m_state.ProgramFolder + QStringLiteral("Entry.vdoc"));
    m_editor->RelayoutDocument();
    m_state.FirstActivation = false;
}

void MainWindow::applyLanguage() {
    // The language files are applied here once the localisation is in; the
    // design texts stay until then.
}

void MainWindow::refreshServerSettings() {
    const ServerMirror mirror =
        settingsfile::readServerMirror(settingsfile::fileName(m_state.SharedDataFolder));
    m_state.DefaultServer = mirror.DefaultServer;
    m_state.OwnServer = mirror.OwnServer;
    m_state.UseOwnServer = mirror.UseOwnServer;
    m_state.PrimaryServer = mirror.PrimaryServer;
    m_state.SecondaryServer = mirror.SecondaryServer;
    m_state.ServerSet = mirror.ServerSet;
    if (m_settingsDialog)
        m_settingsDialog->mirrorServerSettings(mirror);
    const int serverSet = serverlist::serverSetIndex(m_state.ServerSet);
    if (m_settingsDialog)
        m_settingsDialog->setServerSetIndex(serverSet);
    m_state.ProductServer = serverlist::readProductServers(
        serverlist::fileName(m_state.SharedDataFolder), m_state.ServerSet);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!FormCloseQuery(m_state, *m_editor, *m_layoutCommands, m_dialogs)) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

void MainWindow::FormClose() {
    m_state.RequiredImages.clear();
    m_state.ListingCode.clear();
    m_state.PageSource.clear();
    m_state.DocumentHtmlLines.clear();
    m_state.DocumentHtml.clear();
    m_state.DocumentHtmlAllocated = false;
    m_clipboard.clearOwnCode();
    QCoreApplication::quit();
}
