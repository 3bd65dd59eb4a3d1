#include "http/transfererrors.h"

#include <QCoreApplication>

#include <cerrno>

namespace transfererrors {

namespace {

// The French texts are kept under the name of the class that first had them.
QString tr(const char* text) {
    return QCoreApplication::translate("HttpClient", text);
}

HttpFailure failure(HttpError error, const QString& text) {
    return {error, text};
}

HttpFailure statusFailure(const TransferFacts& f) {
    if (f.status < 400 || f.status == 401 || f.status == 407)
        return {};
    const QString reason = QString::fromLatin1(f.reason).trimmed();
    if (reason.isEmpty())
        return failure(HttpError::HttpStatus, tr("%1 answered %2").arg(f.host).arg(f.status));
    return failure(HttpError::HttpStatus,
                   tr("%1 answered %2 %3").arg(f.host).arg(f.status).arg(reason));
}

/// An https address through a proxy: the proxy refused to open the tunnel.
HttpFailure tunnelFailure(const TransferFacts& f) {
    if (f.tunnelStatus == 407)
        return {};
    return failure(HttpError::HttpStatus, tr("The proxy server %1 refused to connect to %2 (%3)")
                                              .arg(f.proxy, f.host)
                                              .arg(f.tunnelStatus));
}

HttpFailure notFollowed(const TransferFacts& f) {
    if (f.lastLocation.isValid() && !isWebScheme(f.lastLocation.scheme()))
        return failure(HttpError::RedirectNotWeb,
                       tr("%1 sends the picture on to a non-web address (%2:)")
                           .arg(f.host, f.lastLocation.scheme()));
    return failure(HttpError::BadAnswer, tr("%1 did not answer as a web server").arg(f.host));
}

HttpFailure notConnected(const TransferFacts& f) {
    if (!f.proxy.isEmpty())
        return failure(HttpError::ProxyUnreachable,
                       tr("The proxy server %1 cannot be reached").arg(f.proxy));
    if (f.osError == ECONNREFUSED)
        return failure(HttpError::ConnectFailed, tr("Connection refused by %1").arg(f.host));
    return failure(HttpError::ConnectFailed, tr("%1 cannot be reached").arg(f.host));
}

HttpFailure timedOut(const TransferFacts& f) {
    const QString limit = durationText(f.timeLimitMs);
    if (f.answered)
        return failure(HttpError::TimedOut,
                       tr("Picture not received in full within %1").arg(limit));
    return failure(HttpError::TimedOut, tr("No answer within %1").arg(limit));
}

HttpFailure tooManyRedirects(const TransferFacts& f) {
    if (f.looped)
        return failure(HttpError::RedirectLoop,
                       tr("%1 sends the picture round in a loop").arg(f.host));
    return failure(HttpError::TooManyRedirects,
                   tr("More than %1 relocations in a row").arg(f.maxRedirects));
}

HttpFailure broken(const TransferFacts& f) {
    if (f.osError == ECONNRESET)
        return failure(HttpError::ConnectionReset, tr("Connection reset by %1").arg(f.host));
    return failure(HttpError::ConnectionReset, tr("Connection to %1 broken").arg(f.host));
}

HttpFailure codeFailure(const TransferFacts& f) {
    switch (f.code) {
    case CURLE_OK:
        return statusFailure(f);
    case CURLE_UNSUPPORTED_PROTOCOL:
        return notFollowed(f);
    case CURLE_COULDNT_RESOLVE_PROXY:
        return failure(HttpError::ProxyUnreachable,
                       tr("The proxy server %1 cannot be found").arg(f.proxy));
    case CURLE_COULDNT_RESOLVE_HOST:
        return failure(HttpError::HostNotFound, tr("The server %1 cannot be found").arg(f.host));
    case CURLE_COULDNT_CONNECT:
        return notConnected(f);
    case CURLE_OPERATION_TIMEDOUT:
        return timedOut(f);
    case CURLE_TOO_MANY_REDIRECTS:
        return tooManyRedirects(f);
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
        return broken(f);
    case CURLE_GOT_NOTHING:
        return failure(HttpError::ConnectionReset,
                       tr("%1 closed the connection without answering").arg(f.host));
    case CURLE_PARTIAL_FILE:
        return failure(HttpError::ConnectionReset,
                       tr("%1 stopped sending before the end").arg(f.host));
    case CURLE_WEIRD_SERVER_REPLY:
        return failure(HttpError::BadAnswer, tr("%1 did not answer as a web server").arg(f.host));
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
        return failure(HttpError::SecureConnection,
                       tr("Secure connection to %1 failed").arg(f.host));
    default:
        return failure(HttpError::Other, tr("Cannot fetch from %1: %2").arg(f.host, f.detail));
    }
}

} // namespace

HttpFailure describe(const TransferFacts& facts) {
    if (facts.code != CURLE_OK && !facts.proxy.isEmpty() && facts.tunnelStatus >= 300)
        return tunnelFailure(facts);
    return codeFailure(facts);
}

QString notWebAddress(const QString& address) {
    return tr("%1 is not a web address").arg(address);
}

QString badProxyPort(const QString& port) {
    return tr("The proxy port \"%1\" is not a port number").arg(port);
}

QString libraryUnusable(const QString& why) {
    return tr("The web library cannot be used: %1").arg(why);
}

QString bodyTooLong(qint64 limit) {
    return tr("The answer is larger than %1 MB.").arg(double(limit) / (1024 * 1024), 0, 'g', 3);
}

QString durationText(int milliseconds) {
    if (milliseconds == 1000)
        return tr("1 second");
    return tr("%1 seconds").arg(milliseconds / 1000.0);
}

} // namespace transfererrors
