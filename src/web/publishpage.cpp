#include "web/publishpage.h"

#include "publish/exportprogress.h"
#include "web/browserbar.h"

#include "platform/uilanguage.h"
#include "ui/themecolors.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace {

template <typename Widget>
Widget* named(Widget* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

/// The page shown when a site cannot be opened, in the program's language
/// (the browser engine's own would be in the language it started with).
QString failurePage(const QUrl& address, const QString& reason) {
    const QString shown = address.toDisplayString().toHtmlEscaped();
    const QString title = uilanguage::text("MESSAGES", "sitePageFailedTitle",
                                           QStringLiteral("The page cannot be shown"))
                              .toHtmlEscaped();
    const QString text =
        uilanguage::text(
            "MESSAGES", "sitePageFailed",
            QStringLiteral("The page %1 could not be opened. Check your Internet connection "
                           "and the site's address, then try again."))
            .toHtmlEscaped()
            .arg(QStringLiteral("<b>") + shown + QStringLiteral("</b>"));
    const QString retry =
        uilanguage::text("MESSAGES", "sitePageRetry", QStringLiteral("Try again")).toHtmlEscaped();
    return QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>%1</title>"
                          "</head><body style=\"font-family:sans-serif;margin:3em\"><h2>%1</h2>"
                          "<p>%2</p><p><a href=\"%3\">%4</a></p>"
                          "<p style=\"color:gray;font-size:small\">%5</p></body></html>")
        .arg(title, text, address.toString(QUrl::FullyEncoded).toHtmlEscaped(), retry,
             reason.toHtmlEscaped());
}

/// A failure the engine would show its own page for; a stopped load, or an
/// answer of the site (its own error page), is none.
bool needsFailurePage(const QWebEngineLoadingInfo& info) {
    constexpr int aborted = -3; // the engine's code for a load given up for another
    return info.status() == QWebEngineLoadingInfo::LoadFailedStatus && !info.isErrorPage() &&
           info.errorDomain() != QWebEngineLoadingInfo::HttpErrorDomain &&
           info.errorDomain() != QWebEngineLoadingInfo::HttpStatusCodeDomain &&
           info.errorCode() != aborted;
}

} // namespace

PublishPage::PublishPage(QWidget* parent)
    : QWidget(parent) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(buildTopStrip());
    m_bar = new BrowserBar(this);
    // Its keys belong to this page: they work while it is on show.
    addActions(m_bar->keyActions());
    column->addWidget(m_bar);
    column->addWidget(buildBrowserArea(), 1);

    auto* row = new QHBoxLayout;
    row->setContentsMargins(6, 2, 6, 2);
    m_helpLink = named(
        new QLabel(QStringLiteral("<a href=\"#\" style=\"color:%1\">Show Export Help Window</a>")
                       .arg(themecolors::styleColor(QStringLiteral("blue"), palette())),
                   this),
        "lblShowHideHelp");
    m_helpLink->setCursor(Qt::PointingHandCursor);
    connect(m_helpLink, &QLabel::linkActivated, this, &PublishPage::helpRequested);
    row->addWidget(m_helpLink);
    row->addStretch();
    column->addLayout(row);
}

QWidget* PublishPage::buildTopStrip() {
    auto* strip = new QWidget(this);
    auto* row = new QHBoxLayout(strip);
    row->setContentsMargins(6, 4, 6, 4);
    auto* back =
        named(new QPushButton(QStringLiteral("Back to LAYOUT Editor"), strip), "btnBack2Layout");
    connect(back, &QPushButton::clicked, this, &PublishPage::backToLayoutRequested);
    row->addWidget(back);
    auto* note = named(new QLabel(QStringLiteral("NOTE : When modifying an existing auction, "
                                                 "always delete the old code before pasting the "
                                                 "new one in place."),
                                  strip),
                       "lblNoteStep1");
    note->setTextFormat(Qt::PlainText);
    note->setWordWrap(true);
    row->addWidget(note, 1);
    return strip;
}

QWidget* PublishPage::buildBrowserArea() {
    m_browserArea = named(new QWidget(this), "pnlBroExportBack");
    auto* fill = new QVBoxLayout(m_browserArea);
    fill->setContentsMargins(0, 0, 0, 0);

    m_loadingPanel = named(new QWidget(m_browserArea), "pnlExportConn");
    m_loadingPanel->setAutoFillBackground(true);
    auto* loading = new QVBoxLayout(m_loadingPanel);
    auto* label = named(new QLabel(QStringLiteral("Connecting to the auction site, one moment "
                                                  "please..."),
                                   m_loadingPanel),
                        "lblLoadingSite");
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignCenter);
    loading->addWidget(label);
    m_progress = new ExportProgress(m_loadingPanel);
    loading->addWidget(m_progress);
    m_loadingPanel->setFixedSize(360, 80);

    m_externalPanel =
        named(new QPushButton(QStringLiteral("Click here when your listing has been published"),
                              m_browserArea),
              "pnlUseExtBrowser");
    m_externalPanel->setFixedSize(360, 80);
    m_externalPanel->hide();
    connect(m_externalPanel, &QPushButton::clicked, this, &PublishPage::backToLayoutRequested);

    m_browserArea->installEventFilter(this);
    return m_browserArea;
}

QWebEngineView* PublishPage::broXport() {
    if (m_browser)
        return m_browser;
    // Made when first needed: its profile starts the web engine, which the
    // program's start does not wait for. A profile of its own: the seller
    // stays signed in for the session, and nothing of the site mixes with
    // the previews.
    auto* profile = new QWebEngineProfile(this);
    m_browser = named(new QWebEngineView(profile, m_browserArea), "broXport");
    m_browser->settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, true);
    m_browser->settings()->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    m_browserArea->layout()->addWidget(m_browser);
    connect(m_browser, &QWebEngineView::loadFinished, this, &PublishPage::siteLoaded);
    m_bar->attach(m_browser);
    // Shown once the failed load has ended, not from within it.
    connect(
        m_browser->page(), &QWebEnginePage::loadingChanged, this,
        [this](const QWebEngineLoadingInfo& info) {
            if (needsFailurePage(info)) {
                m_bar->showFailedAddress(info.url());
                m_browser->setHtml(failurePage(info.url(), info.errorString()));
            }
        },
        Qt::QueuedConnection);
    centrePanels();
    return m_browser;
}

void PublishPage::open(const QUrl& address) {
    broXport()->load(address);
}

void PublishPage::showExternalBrowserPanel(bool show) {
    m_externalPanel->setVisible(show);
    if (show)
        m_externalPanel->raise();
}

void PublishPage::setHelpLinkVisible(bool visible) {
    m_helpLink->setVisible(visible);
}

void PublishPage::siteLoaded() {
    // Once a page has arrived the site is there; the panel stays away.
    m_progress->timer()->stop();
    m_loadingPanel->hide();
}

void PublishPage::showEvent(QShowEvent* event) {
    broXport(); // the page looks the same before the site is opened
    QWidget::showEvent(event);
}

bool PublishPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_browserArea && event->type() == QEvent::Resize)
        centrePanels();
    return QWidget::eventFilter(watched, event);
}

void PublishPage::centrePanels() {
    for (QWidget* panel : {m_loadingPanel, static_cast<QWidget*>(m_externalPanel)}) {
        panel->move((m_browserArea->width() - panel->width()) / 2,
                    (m_browserArea->height() - panel->height()) / 2);
        panel->raise();
    }
}
