#pragma once

#include "ui/webparts.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QUrl>

struct GeneratedPage;
struct PublishingState;
class LayoutPage;
class PageGenerator;
class PreviewBrowser;
class UserDialogs;

/// The preview of the Layout page: its browser `broPreview`, which shows the
/// page of every layout the page's preview command has captured. Once the
/// browser has the page, the layout controls become visible again.
///
/// A page that differs from the one shown only by layout values is applied
/// to the shown page in place, without loading the document again; any
/// other page, or one the in-place update cannot apply, is loaded whole.
class PreviewController : public QObject, public LayoutPreview {
    Q_OBJECT
public:
    /// How long the layout controls stay hidden waiting for a page the
    /// browser never finishes (a picture that does not arrive, a renderer
    /// that hangs); then they are shown anyway.
    static constexpr int DefaultReadyTimeLimitMs = 8000;

    /// Puts `broPreview` into the page's preview place and shows a new page
    /// whenever the page asks for one. A generation fault is shown with
    /// `dialogs`.
    PreviewController(PublishingState& publishing, LayoutPage& page, PageGenerator& generator,
                      UserDialogs& dialogs, QObject* parent = nullptr);

    void setReadyTimeLimit(int milliseconds) { m_readyLimit.setInterval(milliseconds); }
    /// With false, every page is loaded whole (to compare against).
    void setInPlaceUpdates(bool enabled) { m_inPlaceUpdates = enabled; }

    PreviewBrowser* broPreview() const { return m_browser; }
    /// The complete page text of the last page generated.
    QString pageText() const;

    /// Generates the page, keeps its listing code as the last generated one
    /// and shows it.
    void LoadInBrowser() override;
    /// Shows a page file, such as the empty page shown while a layout is
    /// being set up; a file that cannot be read shows an empty page.
    void showPageFile(const QString& fileName) override;

signals:
    /// A page is shown, its body border removed and the controls visible.
    void documentCompleted();

private:
    /// The page the browser shows, or is loading.
    struct ShownPage {
        QStringList lines;
        qsizetype documentLine = 0;
        QUrl url;
        /// Loaded completely: in-place updates may apply to it.
        bool loaded = false;
    };

    bool updateInPlace(const GeneratedPage& page);
    void reloadShownPage();
    void documentComplete(bool ok);
    void pageShown();
    void showLayoutGroups();

    PublishingState& m_publishing;
    LayoutPage& m_page;
    PageGenerator& m_generator;
    UserDialogs& m_dialogs;
    PreviewBrowser* m_browser;
    /// The last page generated, as lines: joined only when a whole load
    /// needs its text.
    QStringList m_pageLines;
    QTimer m_readyLimit;
    ShownPage m_shown;
    /// Counts the pages asked for; a failed in-place update reloads only
    /// when no page was asked for after it.
    quint64 m_requests = 0;
    bool m_inPlaceUpdates = true;
};
