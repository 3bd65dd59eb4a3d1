#include "http/imageavailability.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QUrl>

#include <algorithm>

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("ImageAvailability", text);
}

ImageVerdict verdict(ImageAvailability availability, const QString& summary,
                     const QString& detail = {}) {
    return {availability, summary, detail};
}

} // namespace

bool hasPictureSignature(const QByteArray& bytes) {
    return bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a") ||
           bytes.startsWith("\xFF\xD8\xFF") || bytes.startsWith("\x89PNG\r\n\x1A\n") ||
           (bytes.startsWith("RIFF") && bytes.mid(8, 4) == "WEBP");
}

QString expectedDocumentName(const QString& address) {
    QString name = address;
    const qsizetype end = name.indexOf(QRegularExpression(QStringLiteral("[?#]")));
    if (end >= 0)
        name.truncate(end);
    const qsizetype slash =
        std::max({name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf(QLatin1Char('\\')),
                  name.lastIndexOf(QLatin1Char(':'))});
    // The server's name comes back decoded; an address may spell it encoded.
    return QUrl::fromPercentEncoding(name.mid(slash + 1).toUtf8());
}

ImageVerdict judgeImage(const HttpResult& result, const QString& expectedName) {
    switch (result.error) {
    case HttpError::None:
        break;
    case HttpError::HttpStatus:
        return verdict(ImageAvailability::NotFound, tr("NOT FOUND (%1)").arg(result.status),
                       result.errorText);
    case HttpError::TimedOut:
        return verdict(ImageAvailability::TimedOut, tr("TIMEOUT"), result.errorText);
    case HttpError::ProxyUnreachable:
    case HttpError::BadProxySetting:
        return verdict(ImageAvailability::ProxyUnreachable, tr("PROXY UNREACHABLE"),
                       result.errorText);
    case HttpError::TooManyRedirects:
        return verdict(ImageAvailability::FetchFailed, tr("TOO MANY REDIRECTS"), result.errorText);
    case HttpError::NotWebAddress:
        return verdict(ImageAvailability::FetchFailed, tr("NOT A WEB ADDRESS"), result.errorText);
    case HttpError::RedirectLoop:
        return verdict(ImageAvailability::FetchFailed, tr("REDIRECT LOOP"), result.errorText);
    default:
        return verdict(ImageAvailability::FetchFailed, tr("FAILED"), result.errorText);
    }
    if (result.status == 401 || result.status == 407)
        return verdict(ImageAvailability::PasswordRequired, tr("NOT AVAILABLE (password required)"),
                       tr("The server asks for a password"));
    if (result.status < 200 || result.status > 299)
        return verdict(ImageAvailability::NotFound, tr("NOT FOUND (%1)").arg(result.status));
    if (result.documentName.compare(expectedName, Qt::CaseInsensitive) != 0)
        return verdict(ImageAvailability::OtherDocument,
                       tr("NOT FOUND (sent on to %1)").arg(result.documentName));
    if (result.contentType.isEmpty()) {
        if (!hasPictureSignature(result.firstBytes))
            return verdict(ImageAvailability::NotAnImage, tr("NOT AN IMAGE (no picture inside)"));
    } else if (!result.contentType.startsWith(QLatin1String("image/"))) {
        return verdict(ImageAvailability::NotAnImage,
                       tr("NOT AN IMAGE (%1)").arg(result.contentType));
    }
    return verdict(ImageAvailability::Available, QStringLiteral("OK"));
}
