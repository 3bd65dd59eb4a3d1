#pragma once

#include <QObject>
#include <functional>

struct AppState;
class DocumentPage;
class LayoutCommands;
class LayoutPage;
class MainMenu;
class PublishBrowserPage;

/// What happens when one of the main window's pages is shown.
class PageReactions : public QObject {
    Q_OBJECT
public:
    struct Parts {
        AppState& state;
        DocumentPage& documentPage;
        LayoutPage& layoutPage;
        LayoutCommands& layoutCommands;
        MainMenu& menu;
        /// The Publish page; none while the web module is not loaded.
        std::function<PublishBrowserPage*()> publishPage;
    };

    explicit PageReactions(Parts parts, QObject* parent = nullptr);

    /// Runs the show reaction of the page with this index.
    void pageShown(int index);

    void tabComposeShow();
    void tabDecorateShow();
    void tabExportShow();

signals:
    /// Publishing has ended: its help window and dialog are to close.
    void publishingLeft();
    /// The window caption must be computed again.
    void captionChanged();

private:
    void leavePublishing();

    Parts m_parts;
};
