#pragma once

#include "http/curlloader.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPair>

#include <functional>
#include <memory>

class QSocketNotifier;
class QTimer;

/// The one libcurl multi handle that every transfer of the thread goes
/// through, driven from the Qt event loop: libcurl names the sockets to
/// watch and when to call it back, socket notifiers and a timer do the rest.
/// Nothing waits and no thread is needed.
class CurlMulti : public QObject {
public:
    /// Called once when libcurl is done with a handle, with its outcome.
    using Done = std::function<void(CURLcode)>;

    /// The thread's multi handle, made when the first transfer needs it and
    /// kept as long as a transfer holds it. Fails when libcurl cannot be used.
    static Result<std::shared_ptr<CurlMulti>> shared();

    ~CurlMulti() override;

    const CurlApi& api() const { return m_api; }
    /// Starts `easy`; `done` follows from the event loop, never from here.
    void add(CURL* easy, Done done);
    /// Ends `easy` where it is; its `done` is not called.
    void remove(CURL* easy);

private:
    struct Watch {
        QSocketNotifier* read = nullptr;
        QSocketNotifier* write = nullptr;
    };

    explicit CurlMulti(const CurlApi& api);
    void watch(curl_socket_t socket, int what);
    void unwatch(curl_socket_t socket);
    QSocketNotifier* notifierFor(curl_socket_t socket, int type, int mask);
    void act(curl_socket_t socket, int mask);
    QList<QPair<CURL*, CURLcode>> takeFinished();
    void report(CURL* easy, CURLcode code);
    void setTimer(long milliseconds);

    static int onSocket(CURL*, curl_socket_t socket, int what, void* self, void*);
    static int onTimer(CURLM*, long milliseconds, void* self);

    const CurlApi& m_api;
    CURLM* m_multi = nullptr;
    QTimer* m_timer = nullptr;
    QHash<curl_socket_t, Watch> m_watches;
    QHash<CURL*, Done> m_running;
};
