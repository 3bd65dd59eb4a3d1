#include "http/httpresult.h"

#include "http/transfererrors.h"

bool isWebScheme(const QString& scheme) {
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

Result<QUrl> webUrl(const QString& address) {
    // Only an address that names its scheme: a relative one would otherwise
    // be taken for a host name.
    if (!isWebScheme(QUrl(address.trimmed(), QUrl::TolerantMode).scheme()))
        return fail(transfererrors::notWebAddress(address));
    const QUrl url = QUrl::fromUserInput(address.trimmed());
    if (!url.isValid() || !isWebScheme(url.scheme()) || url.host().isEmpty())
        return fail(transfererrors::notWebAddress(address));
    return url;
}

QString documentName(const QUrl& finalUrl, const QString& contentType, bool hasBody) {
    const QString path = finalUrl.path(QUrl::FullyDecoded);
    if (path.isEmpty() || path.endsWith(QLatin1Char('/')))
        return QStringLiteral("document.htm");
    QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    if (!hasBody || contentType != QLatin1String("text/html"))
        return name;
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return name + QLatin1String(".htm");
    if (name.mid(dot).compare(QLatin1String(".exe"), Qt::CaseInsensitive) == 0)
        return name.left(dot) + QLatin1String(".htm");
    return name;
}
