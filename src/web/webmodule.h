#pragma once

#include "ui/webparts.h"

#include <QObject>

/// The entry of the web module: the program loads this library after its
/// first paint and makes every part that shows web pages through it.
class WebModule : public QObject, public WebParts {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID VANTREL_WEB_PARTS_IID)
    Q_INTERFACES(WebParts)
public:
    LayoutPreview* createPreview(PublishingState& publishing, LayoutPage& page,
                                 PageGenerator& generator, UserDialogs& dialogs,
                                 QObject* parent) override;
    PublishBrowserPage* createPublishPage(std::function<void()> helpRequested,
                                          std::function<void()> backToLayout,
                                          QWidget* parent) override;
    QWidget* createPublishHelp(std::function<QString()> helpPage, QString settingsFile,
                               SettingsChoices& settings, UserDialogs& dialogs,
                               std::function<void(bool)> shownChanged, QWidget* parent) override;
    std::unique_ptr<OnlinePreview> createOnlinePreview() override;
};
