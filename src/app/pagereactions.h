#pragma once

#include <QObject>

struct AppState;
class DocumentPage;
class LayoutCommands;
class LayoutPage;
class MainMenu;
class PublishPage;

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
        PublishPage& publishPage;
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
