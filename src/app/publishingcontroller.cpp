#include "app/publishingcontroller.h"

#include "app/appcaption.h"
#include "app/appstate.h"
#include "platform/apperror.h"
#include "publish/addsitedialog.h"
#include "publish/editsitedialog.h"
#include "publish/exportinfodialog.h"
#include "publish/listingclipboard.h"
#include "publish/publishcommand.h"
#include "publish/publishedlistingswindow.h"
#include "publish/startupwatch.h"
#include "publish/testimagesdialog.h"
#include "published/publishedrecord.h"
#include "settings/settings.h"
#include "settingsui/settingsdialog.h"
#include "ui/userdialogs.h"
#include "ui/webparts.h"

#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

PublishingController::PublishingController(Parts parts, UserDialogs& dialogs,
                                           SettingsDialog* settingsDialog, Settings* settings,
                                           TestImagesDialog* imageTest, QWidget* window)
    : QObject(window)
    , m_parts(std::move(parts))
    , m_dialogs(dialogs)
    , m_settingsDialog(settingsDialog)
    , m_settings(settings)
    , m_imageTest(imageTest)
    , m_window(window) {
    createPublishTab();
    if (m_settingsDialog)
        createPublishDialog(window);
    AppState& state = m_parts.state;
    m_command = new PublishCommand({state.document, state.layout, state.publishing, state.servers,
                                    state.ProductServer, m_parts.generator, m_parts.clipboard,
                                    state.folders, state.LanguageCode},
                                   m_dialogs, m_publishDialog, this);
    if (m_settings)
        m_command->setUpload(m_settings);
    connectImageTest();
    createPublishedListings(window);
    connect(m_command, &PublishCommand::settingsRequested, this,
            &PublishingController::settingsRequested);
    connectCommand(&m_parts.exportButton, &QPushButton::clicked, this, m_dialogs,
                   [this] { m_command->btnExportClick(); });
}

PublishingController::~PublishingController() = default;

void PublishingController::createPublishTab() {
    // Its content comes with the web module.
    m_publishTab = new QWidget(&m_parts.pages);
    m_publishTab->setObjectName(QStringLiteral("tabExport"));
    (new QVBoxLayout(m_publishTab))->setContentsMargins(0, 0, 0, 0);
    m_parts.pages.addTab(m_publishTab, QStringLiteral("Export to Auctions site"));
    // The Publish page is reached only by the publish command.
    m_parts.pages.setTabVisible(int(MainPage::Export), false);
}

void PublishingController::createPublishDialog(QWidget* window) {
    const QString sites = m_parts.state.folders.siteListFile();
    auto* addSite = new AddSiteDialog(m_dialogs, sites, window);
    auto* editSite = new EditSiteDialog(m_dialogs, sites, window);
    m_publishDialog = new ExportInfoDialog(m_dialogs, m_parts.state.folders.settingsFile(), sites,
                                           *m_settings, *this, *addSite, *editSite, window);
}

void PublishingController::connectImageTest() {
    TestImagesDialog* test = m_imageTest;
    SettingsDialog* settings = m_settingsDialog;
    if (!test || !settings)
        return;
    m_command->setImageTest(test, m_settings);
    // The two "hide the image test" boxes are one choice.
    test->setDisableImgWin(m_settings->hideCheckImage());
    connect(test, &TestImagesDialog::disableImgWinClicked, settings,
            &SettingsDialog::setHideCheckImage);
    connect(settings, &SettingsDialog::hideCheckImageClicked, test,
            &TestImagesDialog::setDisableImgWin);
    connectCommand(test, &TestImagesDialog::viewInBrowserRequested, this, m_dialogs,
                   [this] { showOnlinePreview(); });
}

void PublishingController::createPublishedListings(QWidget* window) {
    m_record =
        new PublishedRecord(PublishedRecord::fileIn(m_parts.state.folders.SharedDataFolder), this);
    m_command->setRecord(m_record);
    m_publishedWindow =
        new PublishedListingsWindow(*m_record, m_dialogs, m_parts.clipboard, window);
    if (!m_settings)
        return;
    m_publishedWindow->setCheckOptions([this] { return pictureWatchOptions(*m_settings); });
    m_startupWatch = new StartupWatch(*m_record, *m_settings, m_dialogs, window);
    connect(m_startupWatch, &StartupWatch::listingsWanted, this,
            &PublishingController::showPublishedListings);
}

void PublishingController::showPublishedListings() {
    m_publishedWindow->showWindow();
}

void PublishingController::showOnlinePreview() {
    if (const Status loaded = m_parts.webModule(); !loaded)
        throw AppError(loaded.error());
    const AppState& state = m_parts.state;
    m_onlinePreview->showOnlinePreview(state.folders, state.publishing, state.servers, m_dialogs);
}

void PublishingController::createWebParts(WebParts& web) {
    m_publishPage = web.createPublishPage([this] { showPublishHelp(); }, [this] { backToLayout(); },
                                          m_publishTab);
    m_publishTab->layout()->addWidget(m_publishPage->widget());
    if (m_settingsDialog) {
        m_publishHelp = web.createPublishHelp(
            [this] {
                const AppState& state = m_parts.state;
                return state.folders.ProgramFolder + state.LanguageCode +
                       QStringLiteral("_export1.html");
            },
            m_parts.state.folders.settingsFile(), *m_settings, m_dialogs,
            [this](bool shown) { m_publishPage->setHelpLinkVisible(!shown); }, m_window);
    }
    m_onlinePreview = web.createOnlinePreview();
}

void PublishingController::publish() {
    m_command->publish();
}

void PublishingController::leavePublishing() {
    if (m_publishDialog)
        m_publishDialog->close();
    m_parts.state.publishing.RequiredImages.clear();
    m_parts.state.publishing.Publishing = false;
}

void PublishingController::closePublishWindows() {
    for (QWidget* window :
         {static_cast<QWidget*>(m_publishHelp), static_cast<QWidget*>(m_publishDialog)}) {
        if (window)
            window->close();
    }
}

void PublishingController::showPublishPage(bool externalBrowser) {
    m_parts.pages.setTabVisible(int(MainPage::Export), true);
    m_parts.pages.setCurrentIndex(int(MainPage::Export));
    if (m_parts.webModule())
        m_publishPage->showExternalBrowserPanel(externalBrowser);
}

void PublishingController::openInInternalBrowser(const QUrl& address) {
    if (m_parts.webModule())
        m_publishPage->open(address);
}

void PublishingController::showPublishHelp() {
    if (m_parts.webModule() && m_publishHelp)
        m_publishHelp->show();
}

void PublishingController::cancelPublishing() {
    m_parts.clipboard.clearOwnCode();
    m_parts.pages.setCurrentIndex(int(MainPage::Compose));
    m_parts.pages.setCurrentIndex(int(MainPage::Decorate));
}

void PublishingController::backToLayout() {
    m_parts.clipboard.clearOwnCode();
    if (m_publishPage)
        m_publishPage->showExternalBrowserPanel(false);
    m_parts.pages.setCurrentIndex(int(MainPage::Decorate));
}
