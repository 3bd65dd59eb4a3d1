#pragma once

#include "platform/result.h"

#include <QByteArray>
#include <QString>
#include <QUrl>

/// What went wrong with a transfer, in the groups a caller reacts to.
enum class HttpError {
    None,
    NotWebAddress,    // the address is not http or https
    HostNotFound,     // the server's name does not resolve
    ConnectFailed,    // refused or unreachable
    ProxyUnreachable, // the proxy cannot be found or refuses
    BadProxySetting,  // the proxy port is not a port number
    TimedOut,         // the time limit ended the transfer
    TooManyRedirects, // more relocations in a row than allowed
    RedirectLoop,     // a relocation back to an address already visited
    RedirectNotWeb,   // a relocation to an address that is not http or https
    ConnectionReset,  // the connection broke during the exchange
    BadAnswer,        // what came back is not an HTTP answer
    SecureConnection, // TLS handshake or certificate failure
    HttpStatus,       // the final status is 400 or more, except 401 and 407
    Other,
};

/// The outcome of one transfer. The body itself is kept only when the request
/// asks for it; otherwise only its first bytes, enough to recognise a picture
/// signature.
struct HttpResult {
    HttpError error = HttpError::None;
    /// A sentence a seller can read; empty without error.
    QString errorText;
    /// The final status; 0 when no answer came.
    int status = 0;
    /// The final content type without its parameters, in lower case.
    QString contentType;
    QByteArray firstBytes;
    /// The whole body, when the request keeps it (`TransferRequest::keepBody`).
    QByteArray body;
    qint64 bodyBytes = 0;
    int redirects = 0;
    QUrl finalUrl;
    /// The name of the document at the final address (see `documentName`).
    QString documentName;
    /// True once any response header arrived.
    bool answered = false;
    /// libcurl's code for how the transfer ended (0 when it ran to its end),
    /// and the system's error number of a connection that failed.
    int libraryCode = 0;
    long osError = 0;

    bool failed() const { return error != HttpError::None; }
};

/// The address as a transfer sends it: spaces and letters outside ASCII
/// encoded as a browser does. Fails for anything but an absolute http or
/// https address with a host.
Result<QUrl> webUrl(const QString& address);

/// True for "http" and "https".
bool isWebScheme(const QString& scheme);

/// The name of the document at `finalUrl`: the last element of the path
/// without the query, "document.htm" for an empty path or one ending with
/// "/", and with ".htm" for an HTML answer whose name has no extension or
/// ".exe".
QString documentName(const QUrl& finalUrl, const QString& contentType, bool hasBody);
