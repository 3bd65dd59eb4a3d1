#include "web/previewbrowser.h"

#include "web/pagescheme.h"

#include <QLayout>
#include <QWebEngineProfile>
#include <QWebEngineSettings>

PreviewBrowser::PreviewBrowser(QWidget* parent)
    : QWebEngineView(parent) {
    static quint64 browsers = 0;
    m_slot = QStringLiteral("page%1").arg(++browsers);
    setContextMenuPolicy(Qt::NoContextMenu);
    settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
}

PreviewBrowser::~PreviewBrowser() {
    PageSchemeHandler::of(*page()->profile()).release(m_slot);
}

QUrl PreviewBrowser::loadPage(const QByteArray& text) {
    const QUrl address = PageSchemeHandler::of(*page()->profile()).publish(m_slot, text);
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
