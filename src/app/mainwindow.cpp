#include "app/mainwindow.h"

#include "app/application.h"
#include "app/mainmenu.h"
#include "app/pagecontrol.h"
#include "app/plaindocumenteditor.h"
#include "layout/layoutpage.h"
#include "pagegen/pagegenerator.h"
#include "platform/apperror.h"
#include "platform/userdialogs.h"
#include "platform/windowplacement.h"
#include "preview/previewcontroller.h"
#include "publish/serverlist.h"
#include "settings/servermirror.h"
#include "settings/settingsdialog.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QMenuBar>
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
    m_editor = std::make_unique<PlainDocumentEditor>(compose);
    (new QVBoxLayout(compose))->addWidget(m_editor->widget());
    QWidget* decorate = m_pages->widget(DecoratePage);
    auto* decorateLayout = new QHBoxLayout(decorate);
    decorateLayout->setContentsMargins(0, 0, 0, 0);
    m_layoutPage = new LayoutPage(m_state, m_layout, m_dialogs, decorate);
    decorateLayout->addWidget(m_layoutPage);
    m_pageGenerator = std::make_unique<PageGenerator>(m_state, m_layout, [this](const QString& m) {
        m_dialogs.showMessage(m, UserDialogs::Icon::Error);
    });
    m_preview = new PreviewController(m_state, *m_layoutPage, *m_pageGenerator, this);
    setCentralWidget(m_pages);
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
    if (m_state.FirstActivation)
        showWelcomeDocument();
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
    // The save prompts for the document and the layout decide here, before
    // anything is released, once their commands exist.
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
