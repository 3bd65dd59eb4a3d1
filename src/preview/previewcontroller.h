#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

struct AppState;
class LayoutPage;
class PageGenerator;
class PreviewBrowser;

/// The preview of the Layout page: its browser `broPreview` and the preview
/// refresh that every layout change ends in. The refresh captures the
/// controls into the `Layout`, generates the page and shows it; once the
/// browser has the page, the layout controls become visible again.
class PreviewController : public QObject {
    Q_OBJECT
public:
    /// How long the layout controls stay hidden waiting for a page the
    /// browser never finishes (a picture that does not arrive, a renderer
    /// that hangs); then they are shown anyway.
    static constexpr int DefaultReadyTimeLimitMs = 8000;

    /// Puts `broPreview` into the page's preview place and makes the refresh
    /// the page's preview command.
    PreviewController(AppState& state, LayoutPage& page, PageGenerator& generator,
                      QObject* parent = nullptr);

    /// Recomputes the window caption; run by every refresh.
    void setCaptionUpdate(std::function<void()> updateCaption);
    void setReadyTimeLimit(int milliseconds) { m_readyLimit.setInterval(milliseconds); }

    PreviewBrowser* broPreview() const { return m_browser; }

    /// The preview refresh. Does nothing while the controls are being
    /// filled. Throws `AppError` when a number field holds no number; the
    /// preview then keeps its page.
    void _btnPreviewClick();
    /// Generates the page into `PageText` and shows it.
    void LoadInBrowser();
    /// Shows a page file, such as the empty page shown while a layout is
    /// being set up; a file that cannot be read shows an empty page.
    void showPageFile(const QString& fileName);

signals:
    /// A page is shown, its body border removed and the controls visible.
    void documentCompleted();

private:
    void documentComplete();
    void showLayoutGroups();

    AppState& m_state;
    LayoutPage& m_page;
    PageGenerator& m_generator;
    PreviewBrowser* m_browser;
    std::function<void()> m_updateCaption;
    QTimer m_readyLimit;
};
