#pragma once

#include "http/httpresult.h"

#include <curl/curl.h>

#include <QByteArray>
#include <QString>
#include <QUrl>

/// The one place where the ways a transfer can fail become sentences a
/// seller can read.
namespace transfererrors {

/// What is known of a transfer when libcurl ended it.
struct TransferFacts {
    CURLcode code = CURLE_OK;
    /// The final HTTP status, and the reason phrase that came with it.
    long status = 0;
    QByteArray reason;
    /// The proxy's answer to a tunnel request; 0 without one.
    long tunnelStatus = 0;
    /// The system's error number of the failed connection.
    long osError = 0;
    bool answered = false;
    /// A relocation led back to an address already visited.
    bool looped = false;
    /// The last relocation's target, whatever its scheme.
    QUrl lastLocation;
    /// The server to name in a message.
    QString host;
    /// "host:port" of the proxy; empty for a direct connection.
    QString proxy;
    int timeLimitMs = 0;
    int maxRedirects = 0;
    /// libcurl's own words, for the failures without a sentence here.
    QString detail;
};

struct HttpFailure {
    HttpError error = HttpError::None;
    QString text;
};

/// The failure the facts show; `HttpError::None` when there is none
/// (a 401 or 407 status is an answer, not a failure).
HttpFailure describe(const TransferFacts& facts);

QString notWebAddress(const QString& address);
QString badProxyPort(const QString& port);
QString libraryUnusable(const QString& why);
/// The answer was longer than the `limit` bytes the request keeps.
QString bodyTooLong(qint64 limit);
/// "10 seconds", "1 second", "0.5 seconds".
QString durationText(int milliseconds);

} // namespace transfererrors
