#pragma once

#include "platform/result.h"
#include "publish/publishtarget.h"

#include <QObject>
#include <functional>
#include <memory>

class ExportInfoDialog;
class ListingClipboard;
class OnlinePreview;
class PageGenerator;
class PublishBrowserPage;
class PublishCommand;
class PublishedListingsWindow;
class PublishedRecord;
class StartupWatch;
class QPushButton;
class QTabWidget;
class QWidget;
class Settings;
class SettingsDialog;
class TestImagesDialog;
class UserDialogs;
class WebParts;
struct AppState;

/// Publishing from the main window: the publish command behind "Publish
/// now...", the publish dialog with its auction-site dialogs, the image
/// test's way to the online preview, and the web parts of publishing (the
/// Publish page and the publishing help window). What the publish dialog asks
/// of the window comes here.
class PublishingController : public QObject, public PublishTarget {
    Q_OBJECT
public:
    /// What publishing reads and changes of the main window.
    struct Parts {
        AppState& state;
        PageGenerator& generator;
        ListingClipboard& clipboard;
        /// The window's pages, by `MainPage` index; the Publish page's
        /// tab is added to the Document and Layout pages.
        QTabWidget& pages;
        /// "Publish now...".
        QPushButton& exportButton;
        /// Loads the web module at the first call, which then has
        /// `createWebParts` make the parts; fails, saying why, without it.
        std::function<Status()> webModule;
    };

    /// The publish dialog and the help window need the settings dialog; the
    /// image test needs both windows. `window` owns the dialogs made here.
    PublishingController(Parts parts, UserDialogs& dialogs, SettingsDialog* settingsDialog,
                         Settings* settings, TestImagesDialog* imageTest, QWidget* window);
    ~PublishingController() override;

    /// Makes the Publish page, the publishing help window and the online
    /// preview with the loaded web module.
    void createWebParts(WebParts& web);

    /// The publish command, as "Publish now..." runs it.
    void publish();
    /// A new layout ends publishing: the publish dialog closes and the
    /// pictures of the last publication are forgotten.
    void leavePublishing();
    /// The publishing help window and the publish dialog close.
    void closePublishWindows();

    /// File > "Published listings...".
    void showPublishedListings();
    /// The record of published listings, its window and the check of its
    /// pictures at start-up (none without the program's settings).
    PublishedRecord& publishedRecord() const { return *m_record; }
    PublishedListingsWindow& publishedListings() const { return *m_publishedWindow; }
    StartupWatch* startupWatch() const { return m_startupWatch; }

    /// The Publish page; none before the web module is loaded.
    PublishBrowserPage* publishPage() const { return m_publishPage; }
    /// The tab that holds the Publish page.
    QWidget& publishTab() const { return *m_publishTab; }

    // PublishTarget
    void showPublishPage(bool externalBrowser) override;
    void openInInternalBrowser(const QUrl& address) override;
    void showPublishHelp() override;
    void cancelPublishing() override;

signals:
    /// The seller wants to set the personal server now.
    void settingsRequested();

private:
    void createPublishTab();
    void createPublishDialog(QWidget* window);
    void connectImageTest();
    void createPublishedListings(QWidget* window);
    void showOnlinePreview();
    void backToLayout();

    Parts m_parts;
    UserDialogs& m_dialogs;
    SettingsDialog* m_settingsDialog;
    Settings* m_settings;
    TestImagesDialog* m_imageTest;
    QWidget* m_window;
    QWidget* m_publishTab = nullptr;
    ExportInfoDialog* m_publishDialog = nullptr;
    PublishCommand* m_command = nullptr;
    PublishedRecord* m_record = nullptr;
    PublishedListingsWindow* m_publishedWindow = nullptr;
    StartupWatch* m_startupWatch = nullptr;
    PublishBrowserPage* m_publishPage = nullptr;
    QWidget* m_publishHelp = nullptr;
    std::unique_ptr<OnlinePreview> m_onlinePreview;
};
