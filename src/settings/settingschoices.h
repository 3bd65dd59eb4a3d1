#pragma once

#include <QString>

/// The settings other windows follow while the program runs, as the
/// settings dialog holds them (saved or not yet). Some of them are set from
/// those windows too, such as the "hide this window" boxes.
class SettingsChoices {
public:
    virtual ~SettingsChoices() = default;

    /// The product server (1..3) and the personal server (1..2) chosen.
    virtual int defaultServer() const = 0;
    virtual int ownServer() const = 0;
    /// Personal server addresses; empty when not set.
    virtual QString primaryServer() const = 0;
    virtual QString secondaryServer() const = 0;
    /// Layout pictures are published on the personal server too.
    virtual bool useOwnServer() const = 0;
    /// Links of the published listing open in a new browser window.
    virtual bool linksInNewWindow() const = 0;
    /// The proxy the program's own fetches go through: its host, empty for
    /// a direct connection, and its port ("80" when none is set).
    virtual QString proxyHost() const = 0;
    virtual QString proxyPort() const = 0;

    virtual bool hideExportHelp() const = 0;
    virtual void setHideExportHelp(bool hide) = 0;
    virtual bool hideInsertPicture() const = 0;
    virtual void setHideInsertPicture(bool hide) = 0;
    virtual bool hideInsertLink() const = 0;
    virtual void setHideInsertLink(bool hide) = 0;
    /// Until the program ends only; never stored.
    virtual bool hideCheckImage() const = 0;
    virtual void setHideCheckImage(bool hide) = 0;
};
