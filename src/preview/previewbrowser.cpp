#include "preview/previewbrowser.h"

#include "preview/pagescheme.h"

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
