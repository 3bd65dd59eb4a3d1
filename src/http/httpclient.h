#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QUrl>
#include <memory>

/// What went wrong with a fetch, in the groups a caller reacts to.
enum class HttpError {
    None,
    NotWebAddress,    // the address is not http or https
    HostNotFound,     // the server's name does not resolve
    ConnectFailed,    // refused or unreachable
    ProxyUnreachable, // the proxy cannot be found or refuses
    BadProxySetting,  // the proxy port is not a port number
    TimedOut,         // the time limit ended the fetch
    Aborted,          // `abort()` ended the fetch
    TooManyRedirects, // more relocations in a row than allowed
    RedirectLoop,     // a relocation back to an address already visited
    RedirectNotWeb,   // a relocation to an address that is not http or https
    ConnectionReset,  // the connection broke during the exchange
    BadAnswer,        // what came back is not an HTTP answer
    SecureConnection, // TLS handshake or certificate failure
    HttpStatus,       // the final status is 400 or more, except 401 and 407
    Busy,             // a fetch of this client is already waiting
    Other,
};

/// The outcome of one GET. The body itself is not kept: only its first bytes,
/// enough to recognise a picture signature.
struct HttpResult {
    HttpError error = HttpError::None;
    /// A sentence a seller can read; empty without error.
    QString errorText;
    /// The final status; 0 when no answer came.
    int status = 0;
    /// The final content type without its parameters, in lower case.
    QString contentType;
    QByteArray firstBytes;
    qint64 bodyBytes = 0;
    int redirects = 0;
    QUrl finalUrl;
    /// The name of the document at the final address (see `documentName`).
    QString documentName;
    /// True once any response header arrived.
    bool answered = false;

    bool failed() const { return error != HttpError::None; }
};

/// A synchronous HTTP client for checking pictures: `get()` returns when the
/// answer has come in full or the fetch failed, and keeps the calling
/// thread's event loop running meanwhile (so windows repaint and timers
/// fire). Requests are HTTP/1.0 GETs with a browser's user agent and accept
/// header; up to `maxRedirects` relocations are followed; only http and https
/// are ever fetched. The environment's proxy settings are never used.
class HttpClient : public QObject {
    Q_OBJECT
public:
    /// How many bytes of the body are kept, whatever the server sends.
    static constexpr int keptBytes = 64;
    static constexpr int maxRedirects = 5;
    static constexpr int defaultTimeLimitMs = 10000;

    explicit HttpClient(QObject* parent = nullptr);
    ~HttpClient() override;

    /// The address as a seller or a page writes it; spaces and letters
    /// outside ASCII are encoded as a browser does.
    void setUrl(const QString& address) { m_address = address; }
    QString url() const { return m_address; }
    /// An empty host means a direct connection; an empty port means 80.
    void setProxy(const QString& host, const QString& port);
    /// The longest a fetch may take, in milliseconds; 0 for no limit.
    void setTimeLimit(int milliseconds) { m_timeLimitMs = milliseconds; }
    int timeLimit() const { return m_timeLimitMs; }

    /// Fetches the address. Fails with `Busy` when called again from inside
    /// a waiting fetch.
    HttpResult get();
    /// Ends the fetch in progress (it returns `Aborted`); closes nothing else,
    /// as no connection outlives its fetch.
    void abort();
    bool isBusy() const { return m_busy; }

    /// The address that `get()` would send for `address`, or an empty URL
    /// when it is not an http or https address.
    static QUrl encodedUrl(const QString& address);
    /// The name of the document at `finalUrl`: the last element of the path
    /// without the query, "document.htm" for an empty path or one ending
    /// with "/", and with ".htm" for an HTML answer whose name has no
    /// extension or ".exe".
    static QString documentName(const QUrl& finalUrl, const QString& contentType, bool hasBody);
    /// "10 seconds", "1 second", "0.5 seconds".
    static QString durationText(int milliseconds);

private:
    struct Transfer;
    friend struct Transfer;

    QString m_address;
    QString m_proxyHost;
    QString m_proxyPort;
    int m_timeLimitMs = defaultTimeLimitMs;
    bool m_busy = false;
    Transfer* m_transfer = nullptr;
    /// The curl multi handle, kept from one fetch to the next.
    void* m_multi = nullptr;
};
