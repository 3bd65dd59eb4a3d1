#include "http/picturecheck.h"

#include "http/transfer.h"

#include <QPointer>

#include <algorithm>

namespace {

/// The server an address names, port included: two servers on one machine
/// are two servers.
QString serverOf(const QString& address) {
    const QUrl url = webUrl(address).valueOr(QUrl());
    const int port = url.port(url.scheme() == QLatin1String("https") ? 443 : 80);
    return url.host() + QLatin1Char(':') + QString::number(port);
}

} // namespace

PictureCheck::PictureCheck(QObject* parent)
    : QObject(parent) {}

PictureCheck::~PictureCheck() {
    cancel();
}

void PictureCheck::start(const QStringList& addresses, const PictureCheckOptions& options) {
    cancel();
    m_active = true;
    m_addresses = addresses;
    m_options = options;
    m_hosts.clear();
    for (const QString& address : addresses)
        m_hosts.append(serverOf(address));
    m_waiting.clear();
    for (int index = 0; index < addresses.size(); ++index)
        m_waiting.append(index);
    m_reported = 0;
    const quint64 generation = m_generation;
    // Even an empty list ends from the event loop, as every other does.
    QMetaObject::invokeMethod(
        this,
        [this, generation] {
            if (generation == m_generation)
                reportReady();
        },
        Qt::QueuedConnection);
}

void PictureCheck::cancel() {
    ++m_generation;
    m_active = false;
    stopTransfers();
    m_waiting.clear();
    m_ready.clear();
}

void PictureCheck::stopTransfers() {
    for (Transfer* transfer : std::as_const(m_running)) {
        transfer->cancel();
        transfer->deleteLater();
    }
    m_running.clear();
}

void PictureCheck::fill() {
    const int atOnce = std::max(1, m_options.atOnce);
    for (auto next = m_waiting.begin(); next != m_waiting.end() && m_running.size() < atOnce;) {
        if (!mayStart(m_hosts.at(*next))) {
            ++next;
            continue;
        }
        const int index = *next;
        next = m_waiting.erase(next);
        startOne(index);
    }
}

bool PictureCheck::mayStart(const QString& host) const {
    if (m_options.atOncePerHost <= 0)
        return true;
    const auto sameHost = [this, &host](int index) { return m_hosts.at(index) == host; };
    const QList<int> running = m_running.keys();
    return std::count_if(running.begin(), running.end(), sameHost) < m_options.atOncePerHost;
}

void PictureCheck::startOne(int index) {
    TransferRequest request;
    request.address = m_addresses.at(index);
    request.proxyHost = m_options.proxyHost;
    request.proxyPort = m_options.proxyPort;
    request.timeLimitMs = m_options.timeLimitMs;
    auto* transfer = new Transfer(request, this);
    m_running.insert(index, transfer);
    connect(transfer, &Transfer::finished, this, [this, index, transfer](const HttpResult& result) {
        m_running.remove(index);
        transfer->deleteLater();
        done(index, result);
    });
    transfer->start();
}

void PictureCheck::done(int index, const HttpResult& result) {
    m_ready.insert(index, judgeImage(result, expectedDocumentName(m_addresses.at(index))));
    reportReady();
}

// Each receiver may stop, restart or delete the check: after every signal,
// go on only if nothing of that happened.
void PictureCheck::reportReady() {
    QPointer<PictureCheck> alive(this);
    const quint64 generation = m_generation;
    while (m_ready.contains(m_reported)) {
        const int index = m_reported++;
        const ImageVerdict verdict = m_ready.take(index);
        emit checked(index, verdict);
        if (!alive || generation != m_generation)
            return;
        if (verdict.availability == ImageAvailability::ProxyUnreachable)
            return skipRest();
    }
    if (m_reported == m_addresses.size())
        return end();
    fill();
}

void PictureCheck::skipRest() {
    stopTransfers();
    m_waiting.clear();
    m_ready.clear();
    QPointer<PictureCheck> alive(this);
    const quint64 generation = m_generation;
    while (m_reported < m_addresses.size()) {
        emit notChecked(m_reported++);
        if (!alive || generation != m_generation)
            return;
    }
    end();
}

void PictureCheck::end() {
    m_active = false;
    ++m_generation;
    emit finished();
}
