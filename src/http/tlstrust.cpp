#include "http/tlstrust.h"

#include "http/curlmulti.h"
#include "platform/uilanguage.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QTimer>

#include <optional>

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

namespace {

/// One element of DER: its tag, and where its contents and the element
/// itself lie in the bytes read.
struct DerElement {
    int tag = 0;
    qsizetype start = 0;
    qsizetype contentStart = 0;
    qsizetype end = 0;
};

/// The element at `at`, when it lies whole before `limit`. The certificate
/// comes from a server not trusted yet: every length is checked.
std::optional<DerElement> derElement(const QByteArray& der, qsizetype at, qsizetype limit) {
    if (at + 2 > limit)
        return std::nullopt;
    DerElement element;
    element.start = at;
    element.tag = quint8(der[at]);
    qsizetype length = quint8(der[at + 1]);
    qsizetype next = at + 2;
    if (length & 0x80) {
        const int count = int(length & 0x7f);
        if (count == 0 || count > 4 || next + count > limit)
            return std::nullopt;
        length = 0;
        for (int i = 0; i < count; ++i)
            length = (length << 8) | quint8(der[next++]);
    }
    if (length > limit - next)
        return std::nullopt;
    element.contentStart = next;
    element.end = next + length;
    return element;
}

/// The elements inside a constructed element.
QList<DerElement> derChildren(const QByteArray& der, const DerElement& parent) {
    QList<DerElement> children;
    for (qsizetype at = parent.contentStart; at < parent.end;) {
        const std::optional<DerElement> child = derElement(der, at, parent.end);
        if (!child)
            return {};
        children.append(*child);
        at = child->end;
    }
    return children;
}

QByteArray contents(const QByteArray& der, const DerElement& element) {
    return der.mid(element.contentStart, element.end - element.contentStart);
}

/// The common name in a distinguished name, or the whole name's first
/// text when it has none.
QString commonName(const QByteArray& der, const DerElement& name) {
    static const QByteArray commonNameOid("\x55\x04\x03", 3);
    for (const DerElement& set : derChildren(der, name)) {
        for (const DerElement& pair : derChildren(der, set)) {
            const QList<DerElement> parts = derChildren(der, pair);
            if (parts.size() == 2 && parts[0].tag == 0x06 &&
                contents(der, parts[0]) == commonNameOid)
                return QString::fromUtf8(contents(der, parts[1]));
        }
    }
    return {};
}

/// A UTCTime or GeneralizedTime as a date.
QDate derDate(const QByteArray& der, const DerElement& time) {
    const QString text = QString::fromLatin1(contents(der, time));
    if (time.tag == 0x17 && text.size() >= 6) {
        const int year = text.left(2).toInt();
        return QDate(year < 50 ? 2000 + year : 1900 + year, text.mid(2, 2).toInt(),
                     text.mid(4, 2).toInt());
    }
    if (time.tag == 0x18 && text.size() >= 8)
        return QDate::fromString(text.left(8), QStringLiteral("yyyyMMdd"));
    return {};
}

/// The identity of a certificate in DER: empty when it cannot be read.
ServerIdentity identityOf(const QByteArray& der) {
    const std::optional<DerElement> certificate = derElement(der, 0, der.size());
    if (!certificate || certificate->tag != 0x30)
        return {};
    const QList<DerElement> parts = derChildren(der, *certificate);
    if (parts.isEmpty() || parts[0].tag != 0x30)
        return {};
    QList<DerElement> fields = derChildren(der, parts[0]);
    // The version comes first, tagged [0], when it is not the first one.
    if (!fields.isEmpty() && fields[0].tag == 0xa0)
        fields.removeFirst();
    // serial, signature, issuer, validity, subject, subject public key
    if (fields.size() < 6 || fields[5].tag != 0x30)
        return {};
    const QList<DerElement> validity = derChildren(der, fields[3]);
    const DerElement& key = fields[5];
    ServerIdentity identity;
    identity.kind = ServerIdentity::Kind::Certificate;
    const QByteArray digest = QCryptographicHash::hash(der, QCryptographicHash::Sha256);
    identity.fingerprint = QString::fromLatin1(digest.toHex(':').toUpper());
    const QByteArray keyDigest = QCryptographicHash::hash(der.mid(key.start, key.end - key.start),
                                                          QCryptographicHash::Sha256);
    identity.trustLine = QStringLiteral("sha256//") + QString::fromLatin1(keyDigest.toBase64());
    const QDate until = validity.size() == 2 ? derDate(der, validity[1]) : QDate();
    identity.description = uilanguage::text("WEBDAV", "certificateDescription",
                                            QStringLiteral("Issued to %1 by %2, valid until %3"))
                               .arg(commonName(der, fields[4]), commonName(der, fields[2]),
                                    until.toString(Qt::ISODate));
    return identity;
}

/// The server's own certificate, the first of the chain libcurl read.
QByteArray leafCertificate(const CurlApi& api, CURL* easy) {
    curl_certinfo* chain = nullptr;
    api.easy_getinfo(easy, CURLINFO_CERTINFO, &chain);
    if (!chain || chain->num_of_certs < 1)
        return {};
    for (curl_slist* line = chain->certinfo[0]; line; line = line->next) {
        const QByteArray text(line->data);
        if (!text.startsWith("Cert:"))
            continue;
        QByteArray base64;
        for (const QByteArray& row : text.mid(5).split('\n')) {
            if (!row.startsWith("-----"))
                base64 += row.trimmed();
        }
        return QByteArray::fromBase64(base64);
    }
    return {};
}

} // namespace

struct CertificateProbe::Private {
    UploadAccount account;
    bool running = false;
    std::shared_ptr<CurlMulti> multi;
    CURL* easy = nullptr;

    void release() {
        if (!easy)
            return;
        multi->remove(easy);
        multi->api().easy_cleanup(easy);
        easy = nullptr;
        multi.reset();
    }
};

CertificateProbe::CertificateProbe(UploadAccount account, QObject* parent)
    : QObject(parent)
    , d(std::make_unique<Private>()) {
    d->account = std::move(account);
    // Nothing of the login goes to a server not trusted yet.
    d->account.password.clear();
}

CertificateProbe::~CertificateProbe() {
    cancel();
}

void CertificateProbe::start() {
    if (d->running)
        return;
    d->running = true;
    const UploadAccount& account = d->account;
    const bool ftp = account.protocol == UploadAccount::Protocol::Ftps;
    Result<std::shared_ptr<CurlMulti>> multi = CurlMulti::shared();
    if (!multi || (!ftp && account.protocol != UploadAccount::Protocol::WebDav)) {
        QTimer::singleShot(0, this, [this] {
            if (!d->running)
                return;
            d->running = false;
            emit finished({});
        });
        return;
    }
    d->multi = std::move(multi).value();
    const CurlApi& api = d->multi->api();
    CURL* easy = d->easy = api.easy_init();
    // Explicit TLS: the connection begins as FTP and turns secure.
    QUrl url = account.folderUrl();
    url.setScheme(ftp ? QStringLiteral("ftp") : QStringLiteral("https"));
    url.setPath(QStringLiteral("/"));
    api.easy_setopt(easy, CURLOPT_URL, url.toEncoded().constData());
    api.easy_setopt(easy, CURLOPT_PROTOCOLS_STR, ftp ? "ftp" : "https");
    if (ftp)
        api.easy_setopt(easy, CURLOPT_USE_SSL, long(CURLUSESSL_ALL));
    // Only the handshake is wanted: the certificate is read, nothing is sent.
    api.easy_setopt(easy, CURLOPT_CONNECT_ONLY, 1L);
    api.easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 0L);
    api.easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 0L);
    api.easy_setopt(easy, CURLOPT_SSL_SESSIONID_CACHE, 0L);
    api.easy_setopt(easy, CURLOPT_CERTINFO, 1L);
    api.easy_setopt(easy, CURLOPT_PROXY, "");
    api.easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    api.easy_setopt(easy, CURLOPT_FORBID_REUSE, 1L);
    api.easy_setopt(easy, CURLOPT_TIMEOUT_MS, 30000L);
    d->multi->add(easy, [this](CURLcode) {
        const QByteArray der = leafCertificate(d->multi->api(), d->easy);
        d->release();
        d->running = false;
        emit finished(der.isEmpty() ? ServerIdentity() : identityOf(der));
    });
}

void CertificateProbe::cancel() {
    d->running = false;
    d->release();
}

} // namespace tlstrust
