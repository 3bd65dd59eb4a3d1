#pragma once

#include "http/curlloader.h"
#include "http/remotefolder.h"

#include <QObject>

/// How the TLS certificate of the seller's server (WebDAV, FTPS) is trusted:
/// by the system's authorities and the account's certificate file, or, once
/// the seller accepted a certificate no authority signed, by its pinned
/// public key alone.
namespace tlstrust {

/// Sets the certificate checks of `easy` for `account`.
void apply(const CurlApi& api, CURL* easy, const UploadAccount& account);

/// The transfer failed because the server's certificate is not trusted.
bool isUntrusted(CURLcode code);

/// Reads the certificate the server shows, without trusting it, so that the
/// seller can be asked about it: `finished` follows from the event loop with
/// its identity (empty when it could not be read).
class CertificateProbe : public QObject {
    Q_OBJECT
public:
    explicit CertificateProbe(UploadAccount account, QObject* parent = nullptr);
    ~CertificateProbe() override;
    void start();
    void cancel();

signals:
    void finished(const ServerIdentity& identity);

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace tlstrust
