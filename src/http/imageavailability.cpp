#include "http/imageavailability.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QStringList>
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

/// Types whose pictures the signatures tell: a body declared as one of them
/// that has none is no such picture.
bool signatureExpected(const QString& contentType) {
    static const QStringList types = {"image/png",   "image/apng", "image/jpeg", "image/jpg",
                                      "image/pjpeg", "image/gif",  "image/webp"};
    return types.contains(contentType);
}

/// The start of an HTML page, what servers send for a file they do not have.
bool startsLikeAPage(const QByteArray& bytes) {
    QByteArray start = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
    start = start.trimmed().toLower();
    for (const char* opening : {"<!doctype html", "<html", "<head", "<body", "<title"}) {
        if (start.startsWith(opening))
            return true;
    }
    return false;
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
    const QString& type = result.contentType;
    if (!type.isEmpty() && !type.startsWith(QLatin1String("image/")))
        return verdict(ImageAvailability::NotAnImage, tr("NOT AN IMAGE (%1)").arg(type));
    // A server may call anything a picture: the first bytes tell. Formats
    // without a signature known here only have to be no page.
    const bool picture = hasPictureSignature(result.firstBytes) ||
                         (!type.isEmpty() && !signatureExpected(type) &&
                          !result.firstBytes.isEmpty() && !startsLikeAPage(result.firstBytes));
    if (!picture)
        return verdict(ImageAvailability::NotAnImage, tr("NOT AN IMAGE (no picture inside)"));
    return verdict(ImageAvailability::Available, QStringLiteral("OK"));
}
