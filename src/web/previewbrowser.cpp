#include "web/previewbrowser.h"

#include "web/pagescheme.h"

#include <QLayout>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>

namespace {

// A page arrives from the page scheme in many small pieces, and the engine
// lays out and paints what it has after each: a large page laid out again and
// again while it grows took several times as long as a file's load. Hidden
// while it loads, it is laid out once; the style is taken out again when the
// load has finished, leaving the page as written.
const QByteArray loadingStyle =
    QByteArrayLiteral("<style id=\"vantrel-loading\">html{display:none}</style>");

const char* const showLoadedPage = R"js(
(function () {
    var style = document.getElementById('vantrel-loading');
    if (style && style.parentNode === document.head && style.localName === 'style')
        style.remove();
})()
)js";

/// The page with the loading style at the end of its head, where the page
/// has one near its start.
QByteArray hiddenWhileLoading(const QByteArray& page) {
    const qsizetype headEnd =
        QByteArrayView(page).first(std::min<qsizetype>(page.size(), 4096)).indexOf("</head>");
    if (headEnd < 0)
        return page;
    QByteArray hidden;
    hidden.reserve(page.size() + loadingStyle.size());
    hidden.append(page.constData(), headEnd);
    hidden.append(loadingStyle);
    hidden.append(page.constData() + headEnd, page.size() - headEnd);
    return hidden;
}

} // namespace

PreviewBrowser::PreviewBrowser(QWidget* parent)
    : QWebEngineView(parent) {
    static quint64 browsers = 0;
    m_slot = QStringLiteral("page%1").arg(++browsers);
    setContextMenuPolicy(Qt::NoContextMenu);
    settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    // Shown as soon as the page itself has arrived, while its pictures may
    // still be on their way; and at the latest when the load has finished
    // (connected first, so whoever waits for that finds the page shown).
    QWebEngineScript shown;
    shown.setName(QStringLiteral("vantrel-show-loaded"));
    shown.setInjectionPoint(QWebEngineScript::DocumentReady);
    shown.setWorldId(QWebEngineScript::ApplicationWorld);
    shown.setRunsOnSubFrames(false);
    shown.setSourceCode(QString::fromLatin1(showLoadedPage));
    page()->scripts().insert(shown);
    connect(this, &QWebEngineView::loadFinished, this, [this] {
        page()->runJavaScript(QString::fromLatin1(showLoadedPage),
                              QWebEngineScript::ApplicationWorld);
    });
}

PreviewBrowser::~PreviewBrowser() {
    PageSchemeHandler::of(*page()->profile()).release(m_slot);
}

QUrl PreviewBrowser::loadPage(const QByteArray& text) {
    const QUrl address =
        PageSchemeHandler::of(*page()->profile()).publish(m_slot, hiddenWhileLoading(text));
    setUrl(address);
    return address;
}

void PreviewBrowser::showAtPhoneWidth(bool phone) {
    m_phone = phone;
    // A phone's scroll bars lie over the page and take none of its width.
    settings()->setAttribute(QWebEngineSettings::ShowScrollBars, !phone);
    if (phone) {
        // A zoomed page has as many CSS pixels in more screen pixels.
        setFixedWidth(qRound(PhoneWidth * zoomFactor()));
    } else {
        setMinimumWidth(0);
        setMaximumWidth(QWIDGETSIZE_MAX);
    }
    if (QWidget* place = parentWidget(); place && place->layout())
        place->layout()->setAlignment(this, phone ? Qt::AlignHCenter : Qt::Alignment());
}
