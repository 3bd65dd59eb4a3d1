#include "http/httpclient.h"

#include <QEventLoop>
#include <QHash>
#include <QLibrary>
#include <QList>
#include <QSet>
#include <QSocketNotifier>
#include <QTimer>

#include <curl/curl.h>

#include <algorithm>
#include <cerrno>

namespace {

const char userAgent[] = "Mozilla/4.0 (compatible; Vantrel)";
const char acceptHeader[] = "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*";

/// libcurl's functions, from the library loaded when the first fetch needs
/// it: linked to the program, it and the TLS, name-service and directory
/// libraries it brings would load at every start.
struct Curl {
    decltype(&::curl_global_init) global_init = nullptr;
    decltype(&::curl_multi_init) multi_init = nullptr;
    decltype(&::curl_multi_cleanup) multi_cleanup = nullptr;
    decltype(&::curl_multi_setopt) multi_setopt = nullptr;
    decltype(&::curl_multi_add_handle) multi_add_handle = nullptr;
    decltype(&::curl_multi_remove_handle) multi_remove_handle = nullptr;
    decltype(&::curl_multi_socket_action) multi_socket_action = nullptr;
    decltype(&::curl_multi_info_read) multi_info_read = nullptr;
    decltype(&::curl_easy_init) easy_init = nullptr;
    decltype(&::curl_easy_cleanup) easy_cleanup = nullptr;
    decltype(&::curl_easy_setopt) easy_setopt = nullptr;
    decltype(&::curl_easy_getinfo) easy_getinfo = nullptr;
    decltype(&::curl_easy_strerror) easy_strerror = nullptr;
    decltype(&::curl_slist_append) slist_append = nullptr;
    decltype(&::curl_slist_free_all) slist_free_all = nullptr;
    /// Why the library cannot be used; empty when it can.
    QString failure;
};

template <typename Function>
void resolve(QLibrary& library, const char* name, Function& function, QStringList& missing) {
    function = reinterpret_cast<Function>(library.resolve(name));
    if (!function)
        missing.append(QLatin1String(name));
}

const Curl& curl() {
    static const Curl loaded = [] {
        Curl c;
        QLibrary library(QStringLiteral("curl"), 4);
        if (!library.load()) {
            c.failure = library.errorString();
            return c;
        }
        QStringList missing;
        resolve(library, "curl_global_init", c.global_init, missing);
        resolve(library, "curl_multi_init", c.multi_init, missing);
        resolve(library, "curl_multi_cleanup", c.multi_cleanup, missing);
        resolve(library, "curl_multi_setopt", c.multi_setopt, missing);
        resolve(library, "curl_multi_add_handle", c.multi_add_handle, missing);
        resolve(library, "curl_multi_remove_handle", c.multi_remove_handle, missing);
        resolve(library, "curl_multi_socket_action", c.multi_socket_action, missing);
        resolve(library, "curl_multi_info_read", c.multi_info_read, missing);
        resolve(library, "curl_easy_init", c.easy_init, missing);
        resolve(library, "curl_easy_cleanup", c.easy_cleanup, missing);
        resolve(library, "curl_easy_setopt", c.easy_setopt, missing);
        resolve(library, "curl_easy_getinfo", c.easy_getinfo, missing);
        resolve(library, "curl_easy_strerror", c.easy_strerror, missing);
        resolve(library, "curl_slist_append", c.slist_append, missing);
        resolve(library, "curl_slist_free_all", c.slist_free_all, missing);
        if (!missing.isEmpty()) {
            c.failure = QStringLiteral("%1 lacks %2")
                            .arg(library.fileName(), missing.join(QLatin1String(", ")));
            return c;
        }
        if (c.global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK)
            c.failure = QStringLiteral("%1 could not start").arg(library.fileName());
        return c;
    }();
    return loaded;
}

bool isWebScheme(const QString& scheme) {
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

} // namespace

/// One GET in progress: the curl handles, the socket watches that drive them
/// from the event loop, and what has been learnt of the answer so far.
struct HttpClient::Transfer {
    struct Watch {
        QSocketNotifier* read = nullptr;
        QSocketNotifier* write = nullptr;
    };

    CURLM* multi = nullptr;
    CURL* easy = nullptr;
    curl_slist* headers = nullptr;
    QEventLoop loop;
    QTimer curlTimer;
    QHash<curl_socket_t, Watch> watches;
    // Notifiers curl no longer needs; deleted with the transfer, never from
    // inside their own signal.
    QList<QSocketNotifier*> retired;
    bool done = false;
    bool aborted = false;
    CURLcode code = CURLE_OK;

    QByteArray firstBytes;
    qint64 bodyBytes = 0;
    bool answered = false;
    int lastStatus = 0;
    QByteArray reason;
    QUrl current;
    QUrl lastLocation;
    QSet<QUrl> visited;
    bool looped = false;
    char errorBuffer[CURL_ERROR_SIZE] = {};

    Transfer() {
        curlTimer.setSingleShot(true);
        QObject::connect(&curlTimer, &QTimer::timeout, &loop,
                         [this] { act(CURL_SOCKET_TIMEOUT, 0); });
    }

    ~Transfer() {
        if (easy)
            curl().multi_remove_handle(multi, easy);
        // The multi handle outlives this transfer: it must not call back here.
        curl().multi_setopt(multi, CURLMOPT_SOCKETDATA, nullptr);
        curl().multi_setopt(multi, CURLMOPT_TIMERDATA, nullptr);
        if (easy)
            curl().easy_cleanup(easy);
        curl().slist_free_all(headers);
        for (const Watch& watch : std::as_const(watches))
            retire(watch);
        qDeleteAll(retired);
    }

    void retire(const Watch& watch) {
        for (QSocketNotifier* notifier : {watch.read, watch.write}) {
            if (notifier) {
                notifier->setEnabled(false);
                retired.append(notifier);
            }
        }
    }

    QSocketNotifier* notifierFor(curl_socket_t socket, QSocketNotifier::Type type, int mask) {
        auto* notifier = new QSocketNotifier(socket, type);
        QObject::connect(notifier, &QSocketNotifier::activated, &loop,
                         [this, socket, mask] { act(socket, mask); });
        return notifier;
    }

    void watch(curl_socket_t socket, int what) {
        if (what == CURL_POLL_REMOVE) {
            retire(watches.take(socket));
            return;
        }
        Watch& watch = watches[socket];
        const bool wantRead = what == CURL_POLL_IN || what == CURL_POLL_INOUT;
        const bool wantWrite = what == CURL_POLL_OUT || what == CURL_POLL_INOUT;
        if (wantRead && !watch.read)
            watch.read = notifierFor(socket, QSocketNotifier::Read, CURL_CSELECT_IN);
        if (wantWrite && !watch.write)
            watch.write = notifierFor(socket, QSocketNotifier::Write, CURL_CSELECT_OUT);
        if (watch.read)
            watch.read->setEnabled(wantRead);
        if (watch.write)
            watch.write->setEnabled(wantWrite);
    }

    void act(curl_socket_t socket, int mask) {
        if (done)
            return;
        int running = 0;
        curl().multi_socket_action(multi, socket, mask, &running);
        int left = 0;
        while (CURLMsg* message = curl().multi_info_read(multi, &left)) {
            if (message->msg == CURLMSG_DONE) {
                code = message->data.result;
                done = true;
            }
        }
        if (done)
            loop.quit();
    }

    void header(const QByteArray& raw) {
        const QByteArray line = raw.trimmed();
        if (line.startsWith("HTTP/")) {
            answered = true;
            const qsizetype first = line.indexOf(' ');
            const qsizetype second = first < 0 ? -1 : line.indexOf(' ', first + 1);
            lastStatus =
                first < 0 ? 0 : line.mid(first + 1, second < 0 ? -1 : second - first - 1).toInt();
            reason = second < 0 ? QByteArray() : line.mid(second + 1).trimmed();
            return;
        }
        const int colon = line.indexOf(':');
        if (colon <= 0 || line.left(colon).trimmed().toLower() != "location")
            return;
        if (lastStatus < 300 || lastStatus > 399)
            return;
        const QUrl target = current.resolved(QUrl::fromEncoded(line.mid(colon + 1).trimmed()));
        if (visited.contains(target))
            looped = true;
        visited.insert(target);
        lastLocation = target;
        // curl will not follow to any other scheme; the host to name in a
        // message stays the one that sent the relocation.
        if (isWebScheme(target.scheme()))
            current = target;
    }

    static int onSocket(CURL*, curl_socket_t socket, int what, void* self, void*) {
        if (self)
            static_cast<Transfer*>(self)->watch(socket, what);
        return 0;
    }
    static int onTimer(CURLM*, long milliseconds, void* self) {
        auto* transfer = static_cast<Transfer*>(self);
        if (!transfer)
            return 0;
        if (milliseconds < 0)
            transfer->curlTimer.stop();
        else
            transfer->curlTimer.start(int(std::min<long>(milliseconds, 24L * 3600 * 1000)));
        return 0;
    }
    static size_t onBody(char* data, size_t size, size_t count, void* self) {
        auto* transfer = static_cast<Transfer*>(self);
        const size_t length = size * count;
        transfer->bodyBytes += qint64(length);
        const qsizetype room = HttpClient::keptBytes - transfer->firstBytes.size();
        if (room > 0)
            transfer->firstBytes.append(data, std::min<qsizetype>(room, qsizetype(length)));
        return length;
    }
    static size_t onHeader(char* data, size_t size, size_t count, void* self) {
        static_cast<Transfer*>(self)->header(QByteArray(data, qsizetype(size * count)));
        return size * count;
    }
};

HttpClient::HttpClient(QObject* parent)
    : QObject(parent) {}

HttpClient::~HttpClient() {
    abort();
    if (m_multi)
        curl().multi_cleanup(static_cast<CURLM*>(m_multi));
}

void HttpClient::setProxy(const QString& host, const QString& port) {
    m_proxyHost = host.trimmed();
    m_proxyPort = port.trimmed();
}

QUrl HttpClient::encodedUrl(const QString& address) {
    // Only an address that names its scheme: a relative one would otherwise
    // be taken for a host name.
    if (!isWebScheme(QUrl(address.trimmed(), QUrl::TolerantMode).scheme()))
        return {};
    const QUrl url = QUrl::fromUserInput(address.trimmed());
    if (!url.isValid() || !isWebScheme(url.scheme()) || url.host().isEmpty())
        return {};
    return url;
}

QString HttpClient::documentName(const QUrl& finalUrl, const QString& contentType, bool hasBody) {
    const QString path = finalUrl.path(QUrl::FullyDecoded);
    if (path.isEmpty() || path.endsWith(QLatin1Char('/')))
        return QStringLiteral("document.htm");
    QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    if (hasBody && contentType == QLatin1String("text/html")) {
        const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
        if (dot < 0)
            name += QLatin1String(".htm");
        else if (name.mid(dot).compare(QLatin1String(".exe"), Qt::CaseInsensitive) == 0)
            name = name.left(dot) + QLatin1String(".htm");
    }
    return name;
}

QString HttpClient::durationText(int milliseconds) {
    if (milliseconds == 1000)
        return tr("1 second");
    return tr("%1 seconds").arg(milliseconds / 1000.0);
}

void HttpClient::abort() {
    if (!m_transfer || m_transfer->done)
        return;
    m_transfer->aborted = true;
    m_transfer->done = true;
    m_transfer->loop.quit();
}

HttpResult HttpClient::get() {
    HttpResult result;
    if (m_busy) {
        result.error = HttpError::Busy;
        result.errorText = tr("A check is already running");
        return result;
    }
    const QUrl url = encodedUrl(m_address);
    if (url.isEmpty()) {
        result.error = HttpError::NotWebAddress;
        result.errorText = tr("%1 is not a web address").arg(m_address);
        return result;
    }
    bool portOk = true;
    const int proxyPort = m_proxyPort.isEmpty() ? 80 : m_proxyPort.toInt(&portOk);
    const bool viaProxy = !m_proxyHost.isEmpty();
    if (viaProxy && (!portOk || proxyPort <= 0 || proxyPort > 65535)) {
        result.error = HttpError::BadProxySetting;
        result.errorText = tr("The proxy port \"%1\" is not a port number").arg(m_proxyPort);
        return result;
    }

    if (!curl().failure.isEmpty()) {
        result.error = HttpError::Other;
        result.errorText = tr("The web library cannot be used: %1").arg(curl().failure);
        return result;
    }

    Transfer transfer;
    transfer.current = url;
    transfer.visited.insert(url);
    if (!m_multi)
        m_multi = curl().multi_init();
    transfer.multi = static_cast<CURLM*>(m_multi);
    transfer.easy = curl().easy_init();
    CURL* easy = transfer.easy;
    const QByteArray encoded = url.toEncoded();
    const QByteArray proxy = viaProxy ? m_proxyHost.toUtf8() : QByteArray();
    transfer.headers = curl().slist_append(nullptr, acceptHeader);

    curl().easy_setopt(easy, CURLOPT_URL, encoded.constData());
    curl().easy_setopt(easy, CURLOPT_HTTPGET, 1L);
    curl().easy_setopt(easy, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_0));
    curl().easy_setopt(easy, CURLOPT_USERAGENT, userAgent);
    curl().easy_setopt(easy, CURLOPT_HTTPHEADER, transfer.headers);
    curl().easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
    curl().easy_setopt(easy, CURLOPT_MAXREDIRS, long(maxRedirects));
    curl().easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl().easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    // Set explicitly, even when empty, so that the environment's proxy
    // variables never apply.
    curl().easy_setopt(easy, CURLOPT_PROXY, proxy.constData());
    curl().easy_setopt(easy, CURLOPT_NOPROXY, "");
    if (viaProxy) {
        curl().easy_setopt(easy, CURLOPT_PROXYTYPE, long(CURLPROXY_HTTP));
        curl().easy_setopt(easy, CURLOPT_PROXYPORT, long(proxyPort));
    }
    curl().easy_setopt(easy, CURLOPT_TIMEOUT_MS, long(std::max(0, m_timeLimitMs)));
    // No connection outlives its fetch.
    curl().easy_setopt(easy, CURLOPT_FORBID_REUSE, 1L);
    curl().easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl().easy_setopt(easy, CURLOPT_ERRORBUFFER, transfer.errorBuffer);
    curl().easy_setopt(easy, CURLOPT_WRITEFUNCTION, &Transfer::onBody);
    curl().easy_setopt(easy, CURLOPT_WRITEDATA, &transfer);
    curl().easy_setopt(easy, CURLOPT_HEADERFUNCTION, &Transfer::onHeader);
    curl().easy_setopt(easy, CURLOPT_HEADERDATA, &transfer);
    curl().multi_setopt(transfer.multi, CURLMOPT_SOCKETFUNCTION, &Transfer::onSocket);
    curl().multi_setopt(transfer.multi, CURLMOPT_SOCKETDATA, &transfer);
    curl().multi_setopt(transfer.multi, CURLMOPT_TIMERFUNCTION, &Transfer::onTimer);
    curl().multi_setopt(transfer.multi, CURLMOPT_TIMERDATA, &transfer);

    m_busy = true;
    m_transfer = &transfer;
    curl().multi_add_handle(transfer.multi, easy);
    if (!transfer.done)
        transfer.loop.exec();
    // The loop also ends when the application quits: the fetch did not finish.
    if (!transfer.done)
        transfer.aborted = true;
    m_transfer = nullptr;
    m_busy = false;

    long status = 0;
    curl().easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
    char* contentType = nullptr;
    curl().easy_getinfo(easy, CURLINFO_CONTENT_TYPE, &contentType);
    char* effective = nullptr;
    curl().easy_getinfo(easy, CURLINFO_EFFECTIVE_URL, &effective);
    long redirects = 0;
    curl().easy_getinfo(easy, CURLINFO_REDIRECT_COUNT, &redirects);
    long osError = 0;
    curl().easy_getinfo(easy, CURLINFO_OS_ERRNO, &osError);
    long tunnelStatus = 0;
    curl().easy_getinfo(easy, CURLINFO_HTTP_CONNECTCODE, &tunnelStatus);

    result.status = int(status);
    result.contentType = QString::fromLatin1(contentType ? contentType : "")
                             .section(QLatin1Char(';'), 0, 0)
                             .trimmed()
                             .toLower();
    result.firstBytes = transfer.firstBytes;
    result.bodyBytes = transfer.bodyBytes;
    result.redirects = int(redirects);
    result.answered = transfer.answered;
    result.finalUrl = effective ? QUrl::fromEncoded(effective) : url;
    result.documentName = documentName(result.finalUrl, result.contentType, result.bodyBytes > 0);

    const QString host = transfer.current.host();
    const QString proxyName = m_proxyHost + QLatin1Char(':') + QString::number(proxyPort);
    auto fail = [&result](HttpError error, const QString& text) {
        result.error = error;
        result.errorText = text;
    };
    if (transfer.aborted) {
        fail(HttpError::Aborted, tr("The check was stopped"));
        return result;
    }
    // An https address through a proxy: the proxy refused to open the tunnel.
    if (transfer.code != CURLE_OK && viaProxy && tunnelStatus >= 300) {
        result.status = int(tunnelStatus);
        if (tunnelStatus != 407)
            fail(HttpError::HttpStatus, tr("The proxy server %1 refused to connect to %2 (%3)")
                                            .arg(proxyName, host)
                                            .arg(tunnelStatus));
        return result;
    }
    switch (transfer.code) {
    case CURLE_OK:
        if (status >= 400 && status != 401 && status != 407) {
            const QString reason = QString::fromLatin1(transfer.reason).trimmed();
            fail(HttpError::HttpStatus,
                 reason.isEmpty() ? tr("%1 answered %2").arg(host).arg(status)
                                  : tr("%1 answered %2 %3").arg(host).arg(status).arg(reason));
        }
        break;
    case CURLE_UNSUPPORTED_PROTOCOL:
        if (transfer.lastLocation.isValid() && !isWebScheme(transfer.lastLocation.scheme()))
            fail(HttpError::RedirectNotWeb, tr("%1 sends the picture on to a non-web address (%2:)")
                                                .arg(host, transfer.lastLocation.scheme()));
        else
            fail(HttpError::BadAnswer, tr("%1 did not answer as a web server").arg(host));
        break;
    case CURLE_COULDNT_RESOLVE_PROXY:
        fail(HttpError::ProxyUnreachable, tr("The proxy server %1 cannot be found").arg(proxyName));
        break;
    case CURLE_COULDNT_RESOLVE_HOST:
        fail(HttpError::HostNotFound, tr("The server %1 cannot be found").arg(host));
        break;
    case CURLE_COULDNT_CONNECT:
        if (viaProxy)
            fail(HttpError::ProxyUnreachable,
                 tr("The proxy server %1 cannot be reached").arg(proxyName));
        else if (osError == ECONNREFUSED)
            fail(HttpError::ConnectFailed, tr("Connection refused by %1").arg(host));
        else
            fail(HttpError::ConnectFailed, tr("%1 cannot be reached").arg(host));
        break;
    case CURLE_OPERATION_TIMEDOUT:
        fail(HttpError::TimedOut,
             transfer.answered
                 ? tr("Picture not received in full within %1").arg(durationText(m_timeLimitMs))
                 : tr("No answer within %1").arg(durationText(m_timeLimitMs)));
        break;
    case CURLE_TOO_MANY_REDIRECTS:
        if (transfer.looped)
            fail(HttpError::RedirectLoop, tr("%1 sends the picture round in a loop").arg(host));
        else
            fail(HttpError::TooManyRedirects,
                 tr("More than %1 relocations in a row").arg(maxRedirects));
        break;
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
        fail(HttpError::ConnectionReset, osError == ECONNRESET
                                             ? tr("Connection reset by %1").arg(host)
                                             : tr("Connection to %1 broken").arg(host));
        break;
    case CURLE_GOT_NOTHING:
        fail(HttpError::ConnectionReset,
             tr("%1 closed the connection without answering").arg(host));
        break;
    case CURLE_PARTIAL_FILE:
        fail(HttpError::ConnectionReset, tr("%1 stopped sending before the end").arg(host));
        break;
    case CURLE_WEIRD_SERVER_REPLY:
        fail(HttpError::BadAnswer, tr("%1 did not answer as a web server").arg(host));
        break;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
        fail(HttpError::SecureConnection, tr("Secure connection to %1 failed").arg(host));
        break;
    default: {
        const QString detail = QString::fromLocal8Bit(transfer.errorBuffer).trimmed();
        fail(HttpError::Other,
             tr("Cannot fetch from %1: %2")
                 .arg(host, detail.isEmpty()
                                ? QString::fromLatin1(curl().easy_strerror(transfer.code))
                                : detail));
        break;
    }
    }
    return result;
}
