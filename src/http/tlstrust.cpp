#include "http/tlstrust.h"

#include <QTimer>

namespace tlstrust {

void apply(const CurlApi& api, CURL* easy, const UploadAccount& account) {
    const bool pinned = !account.pinnedKey.isEmpty();
    // A pinned key replaces the authorities: the certificate is one no
    // authority signed, and only its key is trusted.
    api.easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, pinned ? 0L : 1L);
    api.easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, pinned ? 0L : 2L);
    if (pinned)
        api.easy_setopt(easy, CURLOPT_PINNEDPUBLICKEY, account.pinnedKey.toUtf8().constData());
    if (!account.caCertFile.isEmpty())
        api.easy_setopt(easy, CURLOPT_CAINFO, account.caCertFile.toLocal8Bit().constData());
}

bool isUntrusted(CURLcode code) {
    return code == CURLE_PEER_FAILED_VERIFICATION || code == CURLE_SSL_PINNEDPUBKEYNOTMATCH ||
           code == CURLE_SSL_CACERT_BADFILE;
}

struct CertificateProbe::Private {
    UploadAccount account;
    bool running = false;
};

CertificateProbe::CertificateProbe(UploadAccount account, QObject* parent)
    : QObject(parent)
    , d(std::make_unique<Private>()) {
    d->account = std::move(account);
}

CertificateProbe::~CertificateProbe() = default;

// Placeholder until the certificate is read: no identity.
void CertificateProbe::start() {
    d->running = true;
    QTimer::singleShot(0, this, [this] {
        if (!d->running)
            return;
        d->running = false;
        emit finished({});
    });
}

void CertificateProbe::cancel() {
    d->running = false;
}

} // namespace tlstrust
