#include "http/transfer.h"

#include "http/curlmulti.h"
#include "http/tlstrust.h"
#include "http/transfererrors.h"
#include "http/uploadaccount.h"

#include <QIODevice>
#include <QSet>

#include <algorithm>

namespace {

const char userAgent[] = "Mozilla/4.0 (compatible; Vantrel)";
const char acceptHeader[] = "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*";

/// The proxy's port: 80 when none is given.
Result<int> proxyPortNumber(const QString& port) {
    if (port.isEmpty())
        return 80;
    bool ok = false;
    const int number = port.toInt(&ok);
    if (!ok || number <= 0 || number > 65535)
        return fail(transfererrors::badProxyPort(port));
    return number;
}

} // namespace

/// The transfer's curl handle and what has been learnt of the answer so far.
struct Transfer::Private {
    enum class State { Idle, Running, Done, Cancelled };

    explicit Private(TransferRequest r)
        : request(std::move(r)) {
        request.proxyHost = request.proxyHost.trimmed();
        request.proxyPort = request.proxyPort.trimmed();
    }
    ~Private() { release(); }

    const CurlApi& api() const { return multi->api(); }
    bool viaProxy() const { return !request.proxyHost.isEmpty(); }
    QString proxyName() const {
        return viaProxy() ? request.proxyHost + QLatin1Char(':') + QString::number(proxyPort)
                          : QString();
    }

    void prepare();
    void setAddressOptions();
    void setProxyOptions();
    void setLimitOptions();
    void setMethodOptions();
    void setCallbacks();
    void setServerOptions();
    template <typename Value>
    void set(CURLoption option, Value value) {
        api().easy_setopt(easy, option, value);
    }
    long infoNumber(CURLINFO info) const;
    QByteArray infoText(CURLINFO info) const;
    void collect(CURLcode code);
    transfererrors::TransferFacts facts(CURLcode code) const;
    void release();

    void header(const QByteArray& raw);
    void statusLine(const QByteArray& line);
    void relocation(const QByteArray& value);
    size_t body(const char* data, size_t length);
    size_t upload(char* buffer, size_t length);
    int rewind(curl_off_t offset, int origin);

    static size_t onBody(char* data, size_t size, size_t count, void* self);
    static size_t onHeader(char* data, size_t size, size_t count, void* self);
    static size_t onRead(char* buffer, size_t size, size_t count, void* self);
    static int onSeek(void* self, curl_off_t offset, int origin);

    Transfer* owner = nullptr;
    TransferRequest request;
    State state = State::Idle;
    HttpResult result;
    std::shared_ptr<CurlMulti> multi;
    CURL* easy = nullptr;
    curl_slist* headers = nullptr;
    QUrl url;
    int proxyPort = 80;

    qint64 sent = 0;
    bool progressQueued = false;
    bool answered = false;
    int lastStatus = 0;
    QByteArray reason;
    QUrl current;
    QUrl lastLocation;
    QSet<QUrl> visited;
    bool looped = false;
    bool bodyTooLong = false;
    char errorBuffer[CURL_ERROR_SIZE] = {};
};

void Transfer::Private::prepare() {
    easy = api().easy_init();
    headers = api().slist_append(nullptr, acceptHeader);
    for (const QByteArray& line : request.headers)
        headers = api().slist_append(headers, line.constData());
    current = url;
    visited.insert(url);
    setAddressOptions();
    setProxyOptions();
    setLimitOptions();
    setMethodOptions();
    setCallbacks();
    setServerOptions();
}

void Transfer::Private::setAddressOptions() {
    set(CURLOPT_URL, url.toEncoded().constData());
    set(CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_0));
    set(CURLOPT_USERAGENT, userAgent);
    set(CURLOPT_HTTPHEADER, headers);
    set(CURLOPT_FOLLOWLOCATION, 1L);
    set(CURLOPT_MAXREDIRS, long(maxRedirects));
    set(CURLOPT_PROTOCOLS_STR, "http,https");
    set(CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
}

void Transfer::Private::setProxyOptions() {
    // Set explicitly, even when empty, so that the environment's proxy
    // variables never apply.
    set(CURLOPT_PROXY, request.proxyHost.toUtf8().constData());
    set(CURLOPT_NOPROXY, "");
    if (!viaProxy())
        return;
    set(CURLOPT_PROXYTYPE, long(CURLPROXY_HTTP));
    set(CURLOPT_PROXYPORT, long(proxyPort));
}

void Transfer::Private::setLimitOptions() {
    set(CURLOPT_TIMEOUT_MS, long(std::max(0, request.timeLimitMs)));
    set(CURLOPT_FORBID_REUSE, 1L);
    set(CURLOPT_NOSIGNAL, 1L);
    set(CURLOPT_ERRORBUFFER, errorBuffer);
}

void Transfer::Private::setMethodOptions() {
    if (request.method == "GET" && !request.uploads())
        return set(CURLOPT_HTTPGET, 1L);
    if (request.method != "PUT" || !request.uploads())
        set(CURLOPT_CUSTOMREQUEST, request.method.constData());
    if (!request.uploads())
        return;
    const QIODevice* source = request.uploadSource;
    const qint64 size = !source                  ? request.body.size()
                        : source->isSequential() ? -1
                                                 : source->size();
    set(CURLOPT_UPLOAD, 1L);
    set(CURLOPT_INFILESIZE_LARGE, curl_off_t(size));
    set(CURLOPT_READFUNCTION, &Private::onRead);
    set(CURLOPT_READDATA, this);
    // A login that answers 401 first makes libcurl send the body again.
    set(CURLOPT_SEEKFUNCTION, &Private::onSeek);
    set(CURLOPT_SEEKDATA, this);
}

void Transfer::Private::setCallbacks() {
    set(CURLOPT_WRITEFUNCTION, &Private::onBody);
    set(CURLOPT_WRITEDATA, this);
    set(CURLOPT_HEADERFUNCTION, &Private::onHeader);
    set(CURLOPT_HEADERDATA, this);
}

void Transfer::Private::setServerOptions() {
    if (!request.server)
        return;
    const UploadAccount& server = *request.server;
    // The password goes to that server only, never over plain http nor on
    // to wherever a relocation points.
    set(CURLOPT_FOLLOWLOCATION, 0L);
    set(CURLOPT_PROTOCOLS_STR, "https");
    // HTTP/1.1: servers that offer only it and HTTP/2 end the handshake of
    // a client that offers HTTP/1.0 alone.
    set(CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_1));
    set(CURLOPT_REDIR_PROTOCOLS_STR, "https");
    tlstrust::apply(api(), easy, server);
    if (server.user.isEmpty())
        return;
    set(CURLOPT_HTTPAUTH, long(CURLAUTH_BASIC | CURLAUTH_DIGEST));
    set(CURLOPT_USERNAME, server.user.toUtf8().constData());
    set(CURLOPT_PASSWORD, server.password.toUtf8().constData());
}

long Transfer::Private::infoNumber(CURLINFO info) const {
    long value = 0;
    api().easy_getinfo(easy, info, &value);
    return value;
}

QByteArray Transfer::Private::infoText(CURLINFO info) const {
    char* value = nullptr;
    api().easy_getinfo(easy, info, &value);
    return QByteArray(value ? value : "");
}

void Transfer::Private::collect(CURLcode code) {
    result.status = int(infoNumber(CURLINFO_RESPONSE_CODE));
    result.contentType =
        QString::fromLatin1(infoText(CURLINFO_CONTENT_TYPE)).section(';', 0, 0).trimmed().toLower();
    const QByteArray effective = infoText(CURLINFO_EFFECTIVE_URL);
    result.finalUrl = effective.isEmpty() ? url : QUrl::fromEncoded(effective);
    result.redirects = int(infoNumber(CURLINFO_REDIRECT_COUNT));
    result.answered = answered;
    result.libraryCode = int(code);
    result.osError = infoNumber(CURLINFO_OS_ERRNO);
    result.documentName = documentName(result.finalUrl, result.contentType, result.bodyBytes > 0);
    const transfererrors::TransferFacts known = facts(code);
    // The proxy's answer to the tunnel is the status there is.
    if (code != CURLE_OK && viaProxy() && known.tunnelStatus >= 300)
        result.status = int(known.tunnelStatus);
    const transfererrors::HttpFailure failure = transfererrors::describe(known);
    result.error = failure.error;
    result.errorText = failure.text;
    if (bodyTooLong) {
        result.error = HttpError::Other;
        result.errorText = transfererrors::bodyTooLong(request.keepBody);
        result.body.clear();
    }
}

transfererrors::TransferFacts Transfer::Private::facts(CURLcode code) const {
    transfererrors::TransferFacts facts;
    facts.code = code;
    facts.status = result.status;
    facts.reason = reason;
    facts.tunnelStatus = infoNumber(CURLINFO_HTTP_CONNECTCODE);
    facts.osError = infoNumber(CURLINFO_OS_ERRNO);
    facts.answered = answered;
    facts.looped = looped;
    facts.lastLocation = lastLocation;
    facts.host = current.host();
    facts.proxy = proxyName();
    facts.timeLimitMs = request.timeLimitMs;
    facts.maxRedirects = maxRedirects;
    const QString detail = QString::fromLocal8Bit(errorBuffer).trimmed();
    facts.detail = detail.isEmpty() ? QString::fromLatin1(api().easy_strerror(code)) : detail;
    return facts;
}

void Transfer::Private::release() {
    if (easy) {
        multi->remove(easy);
        api().easy_cleanup(easy);
        easy = nullptr;
    }
    if (multi)
        api().slist_free_all(headers);
    headers = nullptr;
    multi.reset();
}

void Transfer::Private::header(const QByteArray& raw) {
    const QByteArray line = raw.trimmed();
    if (line.startsWith("HTTP/"))
        return statusLine(line);
    const qsizetype colon = line.indexOf(':');
    if (colon <= 0 || line.left(colon).trimmed().toLower() != "location")
        return;
    if (lastStatus >= 300 && lastStatus <= 399)
        relocation(line.mid(colon + 1).trimmed());
}

void Transfer::Private::statusLine(const QByteArray& line) {
    answered = true;
    const qsizetype first = line.indexOf(' ');
    const qsizetype second = first < 0 ? -1 : line.indexOf(' ', first + 1);
    lastStatus = first < 0 ? 0 : line.mid(first + 1, second < 0 ? -1 : second - first - 1).toInt();
    reason = second < 0 ? QByteArray() : line.mid(second + 1).trimmed();
}

void Transfer::Private::relocation(const QByteArray& value) {
    const QUrl target = current.resolved(QUrl::fromEncoded(value));
    if (visited.contains(target))
        looped = true;
    visited.insert(target);
    lastLocation = target;
    // curl will not follow to any other scheme; the host to name in a
    // message stays the one that sent the relocation.
    if (isWebScheme(target.scheme()))
        current = target;
}

size_t Transfer::Private::body(const char* data, size_t length) {
    if (request.keepBody > 0) {
        // Fewer bytes than were given make curl end the transfer.
        if (result.bodyBytes + qint64(length) > request.keepBody) {
            bodyTooLong = true;
            return 0;
        }
        result.body.append(data, qsizetype(length));
    }
    result.bodyBytes += qint64(length);
    const qsizetype room = keptBytes - result.firstBytes.size();
    if (room > 0)
        result.firstBytes.append(data, std::min<qsizetype>(room, qsizetype(length)));
    owner->queueProgress();
    return length;
}

size_t Transfer::Private::upload(char* buffer, size_t length) {
    const qint64 read = request.uploadSource
                            ? request.uploadSource->read(buffer, qint64(length))
                            : qint64(request.body.mid(sent, qsizetype(length)).size());
    if (read < 0)
        return CURL_READFUNC_ABORT;
    if (!request.uploadSource)
        std::copy_n(request.body.constData() + sent, read, buffer);
    sent += read;
    owner->queueProgress();
    return size_t(read);
}

int Transfer::Private::rewind(curl_off_t offset, int origin) {
    QIODevice* source = request.uploadSource;
    if (origin != SEEK_SET || offset < 0 || (source && source->isSequential()))
        return CURL_SEEKFUNC_CANTSEEK;
    if (source ? !source->seek(qint64(offset)) : offset > request.body.size())
        return CURL_SEEKFUNC_FAIL;
    sent = qint64(offset);
    return CURL_SEEKFUNC_OK;
}

size_t Transfer::Private::onBody(char* data, size_t size, size_t count, void* self) {
    return static_cast<Private*>(self)->body(data, size * count);
}

size_t Transfer::Private::onHeader(char* data, size_t size, size_t count, void* self) {
    static_cast<Private*>(self)->header(QByteArray(data, qsizetype(size * count)));
    return size * count;
}

size_t Transfer::Private::onRead(char* buffer, size_t size, size_t count, void* self) {
    return static_cast<Private*>(self)->upload(buffer, size * count);
}

int Transfer::Private::onSeek(void* self, curl_off_t offset, int origin) {
    return static_cast<Private*>(self)->rewind(offset, origin);
}

Transfer::Transfer(TransferRequest request, QObject* parent)
    : QObject(parent)
    , d(std::make_unique<Private>(std::move(request))) {
    d->owner = this;
}

Transfer::~Transfer() {
    cancel();
}

const TransferRequest& Transfer::request() const {
    return d->request;
}

bool Transfer::isRunning() const {
    return d->state == Private::State::Running;
}

const HttpResult& Transfer::result() const {
    return d->result;
}

void Transfer::start() {
    if (d->state != Private::State::Idle)
        return;
    d->state = Private::State::Running;
    const Result<QUrl> url = webUrl(d->request.address);
    if (!url)
        return failAtStart(HttpError::NotWebAddress, url.error());
    const Result<int> port = proxyPortNumber(d->request.proxyPort);
    if (d->viaProxy() && !port)
        return failAtStart(HttpError::BadProxySetting, port.error());
    Result<std::shared_ptr<CurlMulti>> multi = CurlMulti::shared();
    if (!multi)
        return failAtStart(HttpError::Other, transfererrors::libraryUnusable(multi.error()));
    d->url = *url;
    d->proxyPort = port.valueOr(80);
    d->multi = std::move(multi).value();
    d->prepare();
    d->multi->add(d->easy, [this](CURLcode code) {
        d->collect(code);
        finish();
    });
}

void Transfer::cancel() {
    if (d->state != Private::State::Running)
        return;
    d->state = Private::State::Cancelled;
    d->release();
}

void Transfer::finish() {
    d->state = Private::State::Done;
    d->release();
    emit finished(d->result);
}

// A request that cannot start finishes from the event loop all the same, as
// every other transfer does.
void Transfer::failAtStart(HttpError error, const QString& text) {
    d->result.error = error;
    d->result.errorText = text;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (isRunning())
                finish();
        },
        Qt::QueuedConnection);
}

// Several pieces between two turns of the event loop make one signal, sent
// outside libcurl's callbacks so that a receiver may cancel.
void Transfer::queueProgress() {
    if (d->progressQueued)
        return;
    d->progressQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            d->progressQueued = false;
            if (isRunning())
                emit progress(d->result.bodyBytes, d->sent);
        },
        Qt::QueuedConnection);
}
