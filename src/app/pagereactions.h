#pragma once

#include <QObject>
#include <functional>

struct AppState;
class DocumentEditor;
class ExportProgress;
class LayoutCommands;
class LayoutPage;
class MainMenu;

/// What happens when one of the main window's pages is shown.
class PageReactions : public QObject {
    Q_OBJECT
public:
    struct Parts {
        AppState& state;
        DocumentEditor& editor;
        LayoutPage& layoutPage;
        LayoutCommands& layoutCommands;
        MainMenu& menu;
        ExportProgress& progress;
    };

    explicit PageReactions(Parts parts, QObject* parent = nullptr);

    /// Closes the publishing help window and the publish dialog.
    void setClosePublishWindows(std::function<void()> close) {
        m_closePublishWindows = std::move(close);
    }
    void setUpdateCaption(std::function<void()> update) { m_updateCaption = std::move(update); }

    /// Runs the show reaction of the page with this index.
    void pageShown(int index);

    void tabComposeShow();
    void tabDecorateShow();
    void tabExportShow();

private:
    void leavePublishing();

    Parts m_parts;
    std::function<void()> m_closePublishWindows;
    std::function<void()> m_updateCaption;
};
