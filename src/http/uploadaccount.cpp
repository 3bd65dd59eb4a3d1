#include "http/uploadaccount.h"

namespace {

QString schemeOf(UploadAccount::Protocol protocol) {
    switch (protocol) {
    case UploadAccount::Protocol::Sftp:
        return QStringLiteral("sftp");
    case UploadAccount::Protocol::WebDav:
        return QStringLiteral("https");
    case UploadAccount::Protocol::Ftps:
        return QStringLiteral("ftps");
    case UploadAccount::Protocol::Ftp:
        break;
    }
    return QStringLiteral("ftp");
}

/// The folder as "/a/b/": leading and trailing slashes once, no empty parts.
QString folderPath(const QString& folder) {
    const QStringList parts = folder.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    return parts.isEmpty() ? QStringLiteral("/")
                           : QLatin1Char('/') + parts.join(QLatin1Char('/')) + QLatin1Char('/');
}

} // namespace

int UploadAccount::effectivePort() const {
    if (port > 0)
        return port;
    switch (protocol) {
    case Protocol::Sftp:
        return 22;
    case Protocol::WebDav:
        return 443;
    case Protocol::Ftps:
    case Protocol::Ftp:
        break;
    }
    return 21;
}

QUrl UploadAccount::folderUrl() const {
    QUrl url;
    url.setScheme(schemeOf(protocol));
    url.setHost(host);
    url.setPort(effectivePort());
    url.setPath(folderPath(folder));
    return url;
}

QUrl UploadAccount::fileUrl(const QString& remoteName) const {
    QUrl url = folderUrl();
    url.setPath(url.path() + remoteName);
    return url;
}

QString UploadAccount::displayName() const {
    QUrl url = folderUrl();
    UploadAccount usual;
    usual.protocol = protocol;
    if (port <= 0 || port == usual.effectivePort())
        url.setPort(-1);
    return url.toDisplayString();
}

QString UploadAccount::secretKey() const {
    return schemeOf(protocol) + QStringLiteral("://") + user + QLatin1Char('@') + host +
           QLatin1Char(':') + QString::number(effectivePort());
}

Result<UploadAccount> UploadAccount::fromUrl(const QString& address) {
    const QUrl url(address.trimmed(), QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    UploadAccount account;
    if (scheme == QLatin1String("sftp"))
        account.protocol = Protocol::Sftp;
    else if (scheme == QLatin1String("https") || scheme == QLatin1String("davs"))
        account.protocol = Protocol::WebDav;
    else if (scheme == QLatin1String("ftps"))
        account.protocol = Protocol::Ftps;
    else if (scheme == QLatin1String("ftp"))
        account.protocol = Protocol::Ftp;
    else
        return fail(QStringLiteral("\"%1\" is no server address to send pictures to: it must "
                                   "begin with sftp://, https:// (WebDAV), ftps:// or ftp://.")
                        .arg(address));
    if (!url.isValid() || url.host().isEmpty())
        return fail(QStringLiteral("\"%1\" names no server.").arg(address));
    account.host = url.host();
    account.port = url.port(0);
    account.user = url.userName();
    account.folder = url.path();
    return account;
}
