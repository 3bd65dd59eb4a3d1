#include "http/curlmulti.h"

#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>

Result<std::shared_ptr<CurlMulti>> CurlMulti::shared() {
    static std::weak_ptr<CurlMulti> current;
    if (auto multi = current.lock())
        return multi;
    const Result<const CurlApi*> api = curlApi();
    if (!api)
        return fail(api.error());
    // Deleted from the event loop: the last holder may let go inside one of
    // its notifiers' signals.
    std::shared_ptr<CurlMulti> multi(new CurlMulti(**api), [](CurlMulti* m) { m->deleteLater(); });
    current = multi;
    return multi;
}

CurlMulti::CurlMulti(const CurlApi& api)
    : m_api(api)
    , m_multi(api.multi_init())
    , m_timer(new QTimer(this)) {
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, [this] { act(CURL_SOCKET_TIMEOUT, 0); });
    m_api.multi_setopt(m_multi, CURLMOPT_SOCKETFUNCTION, &CurlMulti::onSocket);
    m_api.multi_setopt(m_multi, CURLMOPT_SOCKETDATA, this);
    m_api.multi_setopt(m_multi, CURLMOPT_TIMERFUNCTION, &CurlMulti::onTimer);
    m_api.multi_setopt(m_multi, CURLMOPT_TIMERDATA, this);
}

CurlMulti::~CurlMulti() {
    m_api.multi_setopt(m_multi, CURLMOPT_SOCKETDATA, nullptr);
    m_api.multi_setopt(m_multi, CURLMOPT_TIMERDATA, nullptr);
    m_api.multi_cleanup(m_multi);
}

void CurlMulti::add(CURL* easy, Done done) {
    m_running.insert(easy, std::move(done));
    m_api.multi_add_handle(m_multi, easy);
}

void CurlMulti::remove(CURL* easy) {
    if (m_running.remove(easy))
        m_api.multi_remove_handle(m_multi, easy);
}

void CurlMulti::watch(curl_socket_t socket, int what) {
    if (what == CURL_POLL_REMOVE)
        return unwatch(socket);
    Watch& watch = m_watches[socket];
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

// Never deleted at once: curl may give up a socket from inside its notifier's
// own signal.
void CurlMulti::unwatch(curl_socket_t socket) {
    const Watch watch = m_watches.take(socket);
    for (QSocketNotifier* notifier : {watch.read, watch.write}) {
        if (notifier) {
            notifier->setEnabled(false);
            notifier->deleteLater();
        }
    }
}

QSocketNotifier* CurlMulti::notifierFor(curl_socket_t socket, int type, int mask) {
    auto* notifier = new QSocketNotifier(socket, QSocketNotifier::Type(type), this);
    connect(notifier, &QSocketNotifier::activated, this,
            [this, socket, mask] { act(socket, mask); });
    return notifier;
}

void CurlMulti::act(curl_socket_t socket, int mask) {
    int running = 0;
    m_api.multi_socket_action(m_multi, socket, mask, &running);
    // Each report may end or start other transfers: collect first.
    for (const auto& [easy, code] : takeFinished())
        report(easy, code);
}

QList<QPair<CURL*, CURLcode>> CurlMulti::takeFinished() {
    QList<QPair<CURL*, CURLcode>> finished;
    int left = 0;
    while (CURLMsg* message = m_api.multi_info_read(m_multi, &left)) {
        if (message->msg == CURLMSG_DONE)
            finished.append({message->easy_handle, message->data.result});
    }
    return finished;
}

void CurlMulti::report(CURL* easy, CURLcode code) {
    const auto found = m_running.find(easy);
    if (found == m_running.end())
        return;
    const Done done = found.value();
    remove(easy);
    done(code);
}

void CurlMulti::setTimer(long milliseconds) {
    if (milliseconds < 0)
        m_timer->stop();
    else
        m_timer->start(int(std::min<long>(milliseconds, 24L * 3600 * 1000)));
}

int CurlMulti::onSocket(CURL*, curl_socket_t socket, int what, void* self, void*) {
    if (self)
        static_cast<CurlMulti*>(self)->watch(socket, what);
    return 0;
}

int CurlMulti::onTimer(CURLM*, long milliseconds, void* self) {
    if (self)
        static_cast<CurlMulti*>(self)->setTimer(milliseconds);
    return 0;
}
