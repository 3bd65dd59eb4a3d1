#include "web/webmodule.h"

#include "web/exporthelpwindow.h"
#include "web/previewcontroller.h"
#include "web/previewlivewindow.h"
#include "web/publishpage.h"

LayoutPreview* WebModule::createPreview(PublishingState& publishing, LayoutPage& page,
                                        PageGenerator& generator, UserDialogs& dialogs,
                                        QObject* parent) {
    return new PreviewController(publishing, page, generator, dialogs, parent);
}

PublishBrowserPage* WebModule::createPublishPage(std::function<void()> helpRequested,
                                                 std::function<void()> backToLayout,
                                                 QWidget* parent) {
    auto* page = new PublishPage(parent);
    connect(page, &PublishPage::helpRequested, page, std::move(helpRequested));
    connect(page, &PublishPage::backToLayoutRequested, page, std::move(backToLayout));
    return page;
}

QWidget* WebModule::createPublishHelp(std::function<QString()> helpPage, QString settingsFile,
                                      SettingsChoices& settings, UserDialogs& dialogs,
                                      std::function<void(bool)> shownChanged, QWidget* parent) {
    auto* help = new ExportHelpWindow(std::move(helpPage), std::move(settingsFile), settings,
                                      dialogs, parent);
    connect(help, &ExportHelpWindow::shownChanged, help, std::move(shownChanged));
    return help;
}

std::unique_ptr<OnlinePreview> WebModule::createOnlinePreview() {
    return std::make_unique<PreviewLiveWindow>();
}
