#pragma once

#include "platform/result.h"

#include <QObject>

class LayoutPage;
class LayoutPreview;
class PageGenerator;
class PublishingController;
class QWidget;
class UserDialogs;
struct PublishingState;

/// The main window's parts that come with the web module: the Layout page's
/// preview and the web parts of publishing. The module is loaded after the
/// window's first paint, or sooner when a part is needed; without it, the
/// places of the preview and of the Publish page say which file could not be
/// loaded, the seller is told once, and the Document page works as before.
class WebPartsHost : public QObject {
    Q_OBJECT
public:
    struct Parts {
        PublishingState& publishingState;
        LayoutPage& layoutPage;
        PageGenerator& generator;
        PublishingController& publishing;
    };

    /// Watches `window` for its first paint.
    WebPartsHost(Parts parts, UserDialogs& dialogs, QWidget* window);

    /// Loads the module at the first call and has publishing make its parts;
    /// fails, saying why, without the module.
    Status load();
    /// The Layout page's preview, made at the first call; none without the
    /// module.
    LayoutPreview* preview();

signals:
    /// Windows came with the module: they take the language.
    void windowsMade();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showModuleMissing(const QString& error);

    Parts m_parts;
    UserDialogs& m_dialogs;
    QWidget* m_window;
    bool m_tried = false;
    bool m_previewPending = false;
    LayoutPreview* m_preview = nullptr;
};
