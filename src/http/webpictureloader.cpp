#include "http/webpictureloader.h"

#include "docmodel/eddocument.h"
#include "http/transfer.h"
#include "platform/uilanguage.h"
#include "platform/webpicturecache.h"
#include "settings/settingschoices.h"

WebPictureLoader::WebPictureLoader(EdDocument& document, QObject* parent)
    : QObject(parent)
    , m_document(document) {
    // Queued: the document asks while it reads a file or a paste, and shows
    // the picture only once that is done.
    connect(&document, &EdDocument::webPictureWanted, this, &WebPictureLoader::want,
            Qt::QueuedConnection);
}

WebPictureLoader::~WebPictureLoader() {
    for (Transfer* transfer : std::as_const(m_running))
        transfer->cancel();
}

void WebPictureLoader::want(const QString& address) {
    // Asked again after the document was cleared: what runs will show it.
    if (m_waiting.contains(address) || m_running.contains(address))
        return;
    const QByteArray kept = webpicturecache::read(address);
    if (!kept.isEmpty())
        m_document.showWebPicture(address, kept);
    m_waiting.append(address);
    startWaiting();
}

void WebPictureLoader::startWaiting() {
    while (m_running.size() < kAtOnce && !m_waiting.isEmpty()) {
        const QString address = m_waiting.takeFirst();
        TransferRequest request;
        request.address = address;
        if (m_settings) {
            request.proxyHost = m_settings->proxyHost();
            request.proxyPort = m_settings->proxyPort();
        }
        request.keepBody = kLargestPicture;
        request.timeLimitMs = 30000;
        auto* transfer = new Transfer(request, this);
        m_running.insert(address, transfer);
        connect(transfer, &Transfer::finished, this,
                [this, address](const HttpResult& result) { fetched(address, result); });
        transfer->start();
    }
}

void WebPictureLoader::fetched(const QString& address, const HttpResult& result) {
    if (Transfer* transfer = m_running.take(address))
        transfer->deleteLater();
    if (result.failed()) {
        m_document.showWebPictureFailed(
            address,
            uilanguage::text("MESSAGES", "webPictureNotFetched", QStringLiteral("Not shown: %1"))
                .arg(result.errorText));
    } else if (m_document.showWebPicture(address, result.body)) {
        webpicturecache::write(address, result.body);
    }
    startWaiting();
    if (pending() == 0)
        emit settled();
}
