#pragma once

class QUrl;

/// What the publish dialog asks of the main window once the seller has
/// chosen where to publish.
class PublishTarget {
public:
    virtual ~PublishTarget() = default;

    /// The Publish page becomes the current page; with `externalBrowser`
    /// its panel "Click here when your listing has been published" shows.
    virtual void showPublishPage(bool externalBrowser) = 0;
    /// The Publish page's internal browser opens the address.
    virtual void openInInternalBrowser(const QUrl& address) = 0;
    /// The publishing help window shows, not modally.
    virtual void showPublishHelp() = 0;
    /// Publishing is given up: the listing code leaves the clipboard and the
    /// main window goes back to its Document page, then its Layout page.
    virtual void cancelPublishing() = 0;
};
