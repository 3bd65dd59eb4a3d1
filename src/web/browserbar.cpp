#include "web/browserbar.h"

#include "platform/uilanguage.h"

#include <QAction>
#include <QEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QProgressBar>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWebEngineHistory>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {

QIcon themeIcon(const QWidget* widget, const char* name, QStyle::StandardPixmap fallback) {
    return QIcon::fromTheme(QLatin1String(name), widget->style()->standardIcon(fallback));
}

QIcon padlockIcon(const QWidget* widget, BrowserBar::Security security) {
    return security == BrowserBar::Security::Secure
               ? themeIcon(widget, "security-high", QStyle::SP_DialogApplyButton)
               : themeIcon(widget, "security-low", QStyle::SP_MessageBoxWarning);
}

/// A page that stands for no address of a site: none yet, or one the
/// program wrote itself.
bool isBlank(const QUrl& address) {
    return address.isEmpty() || address.scheme() == QLatin1String("about") ||
           address.scheme() == QLatin1String("data");
}

} // namespace

BrowserBar::BrowserBar(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("pnlBroNavigation"));
    m_back = makeAction("actBroBack", QStringLiteral("Back (Alt+Left)"), {Qt::ALT | Qt::Key_Left});
    m_forward = makeAction("actBroForward", QStringLiteral("Forward (Alt+Right)"),
                           {Qt::ALT | Qt::Key_Right});
    m_reload = makeAction("actBroReload", QStringLiteral("Reload (F5)"),
                          {Qt::Key_F5, Qt::CTRL | Qt::Key_R});
    m_stop = makeAction("actBroStop", QStringLiteral("Stop"), {});

    auto* row = new QHBoxLayout;
    row->setContentsMargins(4, 2, 4, 2);
    row->setSpacing(2);
    const auto button = [this, row](const char* name, QAction* action) {
        auto* made = new QToolButton(this);
        made->setObjectName(QLatin1String(name));
        made->setDefaultAction(action);
        made->setAutoRaise(true);
        row->addWidget(made);
        return made;
    };
    button("tobBroBack", m_back);
    button("tobBroForward", m_forward);
    m_reloadButton = button("tobBroReload", m_reload);

    m_address = new QLineEdit(this);
    m_address->setObjectName(QStringLiteral("edtBroAddress"));
    m_address->setReadOnly(true);
    m_padlock = new QAction(m_address);
    m_padlock->setVisible(false);
    m_address->addAction(m_padlock, QLineEdit::LeadingPosition);
    row->addWidget(m_address, 1);

    m_loading = new QProgressBar(this);
    m_loading->setObjectName(QStringLiteral("prgBroLoading"));
    m_loading->setRange(0, 100);
    m_loading->setTextVisible(false);
    m_loading->setFixedHeight(3);
    // The page below does not move when the bar comes and goes.
    QSizePolicy keepPlace = m_loading->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    m_loading->setSizePolicy(keepPlace);
    m_loading->hide();

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addLayout(row);
    column->addWidget(m_loading);
    refresh();
}

QAction* BrowserBar::makeAction(const char* name, const QString& text,
                                const QList<QKeySequence>& keys) {
    auto* action = new QAction(text, this);
    action->setObjectName(QLatin1String(name));
    action->setShortcuts(keys);
    // The keys work while the page is on show, wherever the focus is in the
    // window; Qt ignores the keys of a hidden page, so they meet no other.
    action->setShortcutContext(Qt::WindowShortcut);
    action->setEnabled(false);
    return action;
}

QList<QAction*> BrowserBar::keyActions() const {
    return {m_back, m_forward, m_reload};
}

void BrowserBar::attach(QWebEngineView* browser) {
    m_browser = browser;
    connect(m_back, &QAction::triggered, browser, &QWebEngineView::back);
    connect(m_forward, &QAction::triggered, browser, &QWebEngineView::forward);
    connect(m_reload, &QAction::triggered, this, &BrowserBar::reload);
    connect(m_stop, &QAction::triggered, browser, &QWebEngineView::stop);
    connect(browser, &QWebEngineView::urlChanged, this, &BrowserBar::refresh);
    connect(browser, &QWebEngineView::loadStarted, this, [this] { setLoading(true); });
    connect(browser, &QWebEngineView::loadProgress, m_loading, &QProgressBar::setValue);
    connect(browser, &QWebEngineView::loadFinished, this, [this] { setLoading(false); });
    QWebEnginePage* page = browser->page();
    connect(page, &QWebEnginePage::loadingChanged, this, &BrowserBar::loadingChanged);
    // Left unanswered, the engine refuses the certificate; the padlock says so.
    connect(page, &QWebEnginePage::certificateError, this, [this] {
        m_certificateError = true;
        refresh();
    });
    refresh();
}

void BrowserBar::showFailedAddress(const QUrl& address) {
    m_failed = address;
    refresh();
}

QString BrowserBar::securityHint() const {
    switch (m_security) {
    case Security::None:
        return QString();
    case Security::Secure:
        return uilanguage::text(
            "MESSAGES", "browserSecure",
            QStringLiteral("Secure connection: the site's certificate is valid"));
    case Security::Insecure:
        break;
    }
    if (m_certificateError)
        return uilanguage::text(
            "MESSAGES", "browserBadCertificate",
            QStringLiteral(
                "Not secure: the site's certificate is not valid. Do not sign in here."));
    if (!m_failed.isEmpty())
        return uilanguage::text("MESSAGES", "browserPageFailed",
                                QStringLiteral("Not secure: the page could not be opened"));
    return uilanguage::text(
        "MESSAGES", "browserNotEncrypted",
        QStringLiteral("Not secure: the connection to this site is not encrypted. Do not sign in "
                       "here."));
}

void BrowserBar::showEvent(QShowEvent* event) {
    // Looked up when first seen: the icon theme is not read at start-up.
    if (m_back->icon().isNull())
        setIcons();
    refresh(); // the hint in the language chosen meanwhile
    QWidget::showEvent(event);
}

void BrowserBar::changeEvent(QEvent* event) {
    // The padlock's hint is the program's own text, not a control's caption.
    if (event->type() == QEvent::LanguageChange)
        refresh();
    QWidget::changeEvent(event);
}

void BrowserBar::setIcons() {
    m_back->setIcon(themeIcon(this, "go-previous", QStyle::SP_ArrowBack));
    m_forward->setIcon(themeIcon(this, "go-next", QStyle::SP_ArrowForward));
    m_reload->setIcon(themeIcon(this, "view-refresh", QStyle::SP_BrowserReload));
    m_stop->setIcon(themeIcon(this, "process-stop", QStyle::SP_BrowserStop));
}

void BrowserBar::loadingChanged(const QWebEngineLoadingInfo& info) {
    // A new address: what was known of the last one no longer holds. The
    // program's own failure page keeps the address it stands for.
    if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus && !isBlank(info.url())) {
        m_failed.clear();
        m_certificateError = false;
        refresh();
    }
}

void BrowserBar::setLoading(bool loading) {
    if (loading)
        m_loading->setValue(0);
    m_loading->setVisible(loading);
    m_stop->setEnabled(loading);
    // One action at a time: a button holding two would offer them as a menu.
    m_reloadButton->removeAction(loading ? m_reload : m_stop);
    m_reloadButton->setDefaultAction(loading ? m_stop : m_reload);
    refresh(); // a page that arrived is a step back in the history
}

void BrowserBar::reload() {
    // The failure page would only show itself again: try the site instead.
    if (!m_failed.isEmpty())
        m_browser->load(m_failed);
    else
        m_browser->reload();
}

void BrowserBar::refresh() {
    const QUrl shown = !m_failed.isEmpty() ? m_failed : m_browser ? m_browser->url() : QUrl();
    const bool blank = isBlank(shown);
    m_address->setText(blank ? QString() : shown.toDisplayString());
    m_address->setCursorPosition(0);
    if (blank)
        m_security = Security::None;
    else if (m_failed.isEmpty() && shown.scheme() == QLatin1String("https") && !m_certificateError)
        m_security = Security::Secure;
    else
        m_security = Security::Insecure;
    m_padlock->setVisible(m_security != Security::None);
    if (m_security != Security::None)
        m_padlock->setIcon(padlockIcon(this, m_security));
    m_padlock->setToolTip(securityHint());

    QWebEngineHistory* history = m_browser ? m_browser->history() : nullptr;
    m_back->setEnabled(history && history->canGoBack());
    m_forward->setEnabled(history && history->canGoForward());
    m_reload->setEnabled(m_browser && !blank);
}
