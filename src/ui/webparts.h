#pragma once

#include <QString>
#include <QtPlugin>
#include <functional>
#include <memory>

class ExportProgress;
class LayoutPage;
class PageGenerator;
class QObject;
class QUrl;
class QWidget;
class SettingsChoices;
class UserDialogs;
struct PublishingState;
struct ServerMirror;
struct WorkingFolders;

// The parts of the program that show web pages live in a module of their own
// (vantrel_web), loaded after the main window has painted: the program starts
// without the browser engine's libraries. These are all it sees of them.

/// The Layout page's preview.
class LayoutPreview {
public:
    virtual ~LayoutPreview() = default;
    /// Generates the page, keeps its listing code and shows it.
    virtual void LoadInBrowser() = 0;
    /// Shows a page file; one that cannot be read shows an empty page.
    virtual void showPageFile(const QString& fileName) = 0;
};

/// The Publish page with its internal browser.
class PublishBrowserPage {
public:
    virtual ~PublishBrowserPage() = default;
    virtual QWidget* widget() = 0;
    virtual ExportProgress& progress() const = 0;
    /// The internal browser opens the address.
    virtual void open(const QUrl& address) = 0;
    virtual void showExternalBrowserPanel(bool show) = 0;
    virtual void setHelpLinkVisible(bool visible) = 0;
};

/// The online preview of the listing with every picture from the servers.
class OnlinePreview {
public:
    virtual ~OnlinePreview() = default;
    /// Shows `ListingCode` modally; throws `AppError` when it cannot.
    virtual void showOnlinePreview(const WorkingFolders& folders, const PublishingState& publishing,
                                   const ServerMirror& servers, UserDialogs& dialogs) = 0;
};

/// Makes the web parts; the module's one entry.
class WebParts {
public:
    virtual ~WebParts() = default;

    /// The preview, put into the page's preview place; a child of `parent`.
    virtual LayoutPreview* createPreview(PublishingState& publishing, LayoutPage& page,
                                         PageGenerator& generator, UserDialogs& dialogs,
                                         QObject* parent) = 0;
    /// The Publish page, a child of `parent`; `helpRequested` and
    /// `backToLayout` run on its help link and its way back.
    virtual PublishBrowserPage* createPublishPage(std::function<void()> helpRequested,
                                                  std::function<void()> backToLayout,
                                                  QWidget* parent) = 0;
    /// The publishing help window `T_frmExport1`, owned by `parent`;
    /// `shownChanged` runs when it is shown or closed.
    virtual QWidget* createPublishHelp(std::function<QString()> helpPage, QString settingsFile,
                                       SettingsChoices& settings, UserDialogs& dialogs,
                                       std::function<void(bool)> shownChanged, QWidget* parent) = 0;
    /// The online preview window `T_frmPreviewLive`, a window of its own.
    virtual std::unique_ptr<OnlinePreview> createOnlinePreview() = 0;
};

#define VANTREL_WEB_PARTS_IID "net.vantrel.WebParts/1"
Q_DECLARE_INTERFACE(WebParts, VANTREL_WEB_PARTS_IID)
