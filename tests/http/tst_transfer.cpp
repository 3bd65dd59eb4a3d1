#include "http/picturetestserver.h"
#include "http/transfer.h"
#include "http/transfererrors.h"

#include <QBuffer>
#include <QSignalSpy>
#include <QTest>

#include <cerrno>
#include <memory>
#include <vector>

namespace {

constexpr int shortLimitMs = 800;
// Long enough that only the test ends the transfer.
constexpr int longLimitMs = 60000;
constexpr int waitMs = 30000;

TransferRequest request(const QString& address, int timeLimitMs) {
    TransferRequest request;
    request.address = address;
    request.timeLimitMs = timeLimitMs;
    return request;
}

/// A transfer and what it signalled.
struct Watched {
    explicit Watched(const TransferRequest& request)
        : transfer(std::make_unique<Transfer>(request))
        , progress(transfer.get(), &Transfer::progress)
        , finished(transfer.get(), &Transfer::finished) {}

    std::unique_ptr<Transfer> transfer;
    QSignalSpy progress;
    QSignalSpy finished;
};

} // namespace

class TestTransfer : public QObject {
    Q_OBJECT
private slots:
    void severalAtOnce();
    void cancelInTheMiddle();
    void deletedInTheMiddle();
    void cancelledBeforeTheEventLoopRuns();
    void progressOfALongAnswer();
    void uploadSendsItsMethodAndBody_data();
    void uploadSendsItsMethodAndBody();
    void errorMapping_data();
    void errorMapping();
};

// A refusing port, a server that never answers, a slow one and a good one,
// all at the same time: each ends with its own outcome.
void TestTransfer::severalAtOnce() {
    PictureTestServer server;
    const QString refused = QStringLiteral("http://127.0.0.1:%1/a.gif").arg(closedPort());
    std::vector<std::unique_ptr<Watched>> transfers;
    for (const QString& address :
         {server.url(QStringLiteral("/stall/a.gif")), server.url(QStringLiteral("/slow/b.gif")),
          refused, server.url(QStringLiteral("/pictures/c.gif")),
          server.url(QStringLiteral("/missing/d.gif"))})
        transfers.push_back(std::make_unique<Watched>(request(address, shortLimitMs)));
    for (const auto& watched : transfers)
        watched->transfer->start();
    for (const auto& watched : transfers) {
        QVERIFY(watched->transfer->isRunning() || watched->finished.size() == 1);
        QTRY_COMPARE_WITH_TIMEOUT(watched->finished.size(), 1, waitMs);
    }
    const auto error = [&](int index) { return transfers.at(index)->transfer->result().error; };
    QCOMPARE(error(0), HttpError::TimedOut);
    QCOMPARE(transfers.at(0)->transfer->result().errorText,
             QStringLiteral("No answer within 0.8 seconds"));
    QCOMPARE(error(1), HttpError::TimedOut);
    QCOMPARE(transfers.at(1)->transfer->result().errorText,
             QStringLiteral("Picture not received in full within 0.8 seconds"));
    QCOMPARE(error(2), HttpError::ConnectFailed);
    QCOMPARE(error(3), HttpError::None);
    QCOMPARE(transfers.at(3)->transfer->result().firstBytes, PictureTestServer::gifBytes());
    QCOMPARE(error(4), HttpError::HttpStatus);
    QCOMPARE(server.requests.size(), 4);
    for (const auto& watched : transfers)
        QVERIFY(!watched->transfer->isRunning());
}

// Cancelled while its answer trickles in: nothing more comes from it, and
// the others go on.
void TestTransfer::cancelInTheMiddle() {
    PictureTestServer server;
    Watched slow(request(server.url(QStringLiteral("/slow/a.gif")), longLimitMs));
    Watched stalled(request(server.url(QStringLiteral("/stall/b.gif")), longLimitMs));
    Watched good(request(server.url(QStringLiteral("/pictures/c.gif")), longLimitMs));
    slow.transfer->start();
    stalled.transfer->start();
    QVERIFY(slow.progress.wait(waitMs));
    slow.transfer->cancel();
    QVERIFY(!slow.transfer->isRunning());
    const qsizetype progressBefore = slow.progress.size();
    good.transfer->start();
    QVERIFY(good.finished.wait(waitMs));
    QVERIFY(!good.transfer->result().failed());
    stalled.transfer->cancel();
    // Long enough for the slow server's next bytes, were anyone listening.
    QTest::qWait(1500);
    QCOMPARE(slow.progress.size(), progressBefore);
    QCOMPARE(slow.finished.size(), 0);
    QCOMPARE(stalled.finished.size(), 0);
    // A cancelled transfer does not start again.
    slow.transfer->start();
    QVERIFY(!slow.transfer->isRunning());
}

void TestTransfer::deletedInTheMiddle() {
    PictureTestServer server;
    auto endless = std::make_unique<Watched>(
        request(server.url(QStringLiteral("/endless/a.gif")), longLimitMs));
    endless->transfer->start();
    QVERIFY(endless->progress.wait(waitMs));
    endless->transfer.reset();
    Watched next(request(server.url(QStringLiteral("/pictures/b.gif")), longLimitMs));
    next.transfer->start();
    QVERIFY(next.finished.wait(waitMs));
    QVERIFY(!next.transfer->result().failed());
}

// Even a request that cannot start says nothing once cancelled.
void TestTransfer::cancelledBeforeTheEventLoopRuns() {
    PictureTestServer server;
    Watched bad(request(QStringLiteral("images/a.gif"), shortLimitMs));
    Watched good(request(server.url(QStringLiteral("/pictures/a.gif")), shortLimitMs));
    bad.transfer->start();
    good.transfer->start();
    bad.transfer->cancel();
    good.transfer->cancel();
    QTest::qWait(300);
    QCOMPARE(bad.finished.size(), 0);
    QCOMPARE(good.finished.size(), 0);
}

void TestTransfer::progressOfALongAnswer() {
    PictureTestServer server;
    Watched endless(request(server.url(QStringLiteral("/endless/a.gif")), 1500));
    endless.transfer->start();
    QVERIFY(endless.finished.wait(waitMs));
    QVERIFY(endless.progress.size() > 0);
    qint64 last = 0;
    for (const QList<QVariant>& signal : std::as_const(endless.progress)) {
        QVERIFY(signal.at(0).toLongLong() > last);
        last = signal.at(0).toLongLong();
        QCOMPARE(signal.at(1).toLongLong(), 0);
    }
    QVERIFY(last <= endless.transfer->result().bodyBytes);
}

void TestTransfer::uploadSendsItsMethodAndBody_data() {
    QTest::addColumn<QByteArray>("method");
    QTest::addColumn<bool>("fromDevice");
    QTest::newRow("PUT of bytes") << QByteArray("PUT") << false;
    QTest::newRow("PUT from a device") << QByteArray("PUT") << true;
}

void TestTransfer::uploadSendsItsMethodAndBody() {
    QFETCH(QByteArray, method);
    QFETCH(bool, fromDevice);
    PictureTestServer server;
    const QByteArray bytes = PictureTestServer::gifBytes();
    QBuffer source;
    source.setData(bytes);
    source.open(QIODevice::ReadOnly);
    TransferRequest put = request(server.url(QStringLiteral("/pictures/new.gif")), waitMs);
    put.method = method;
    if (fromDevice)
        put.uploadSource = &source;
    else
        put.body = bytes;
    Watched upload(put);
    upload.transfer->start();
    QVERIFY(upload.finished.wait(waitMs));
    QVERIFY2(!upload.transfer->result().failed(), qPrintable(upload.transfer->result().errorText));
    QCOMPARE(server.requests.size(), 1);
    const QByteArray head = server.requests.first();
    QVERIFY2(head.startsWith(method + " /pictures/new.gif HTTP/1.0\r\n"), head.constData());
    QVERIFY2(head.contains("\r\nContent-Length: " + QByteArray::number(bytes.size()) + "\r\n"),
             head.constData());
    QCOMPARE(upload.progress.isEmpty() ? bytes.size() : upload.progress.last().at(1).toLongLong(),
             bytes.size());
}

void TestTransfer::errorMapping_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("reason");
    QTest::addColumn<int>("tunnelStatus");
    QTest::addColumn<int>("osError");
    QTest::addColumn<bool>("answered");
    QTest::addColumn<bool>("looped");
    QTest::addColumn<QString>("lastLocation");
    QTest::addColumn<QString>("proxy");
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("text");
    const QByteArray none;
    const QString direct;
    const QString proxy = QStringLiteral("proxy.example:8080");
    const auto row = [](const char* name) -> QTestData& { return QTest::newRow(name); };
    row("nominal: picture") << int(CURLE_OK) << 200 << none << 0 << 0 << true << false << ""
                            << direct << int(HttpError::None) << "";
    row("nominal: 404 with its reason")
        << int(CURLE_OK) << 404 << QByteArray("Not Found") << 0 << 0 << true << false << ""
        << direct << int(HttpError::HttpStatus) << "h.example answered 404 Not Found";
    row("nominal: 500 without a reason")
        << int(CURLE_OK) << 500 << none << 0 << 0 << true << false << "" << direct
        << int(HttpError::HttpStatus) << "h.example answered 500";
    row("nominal: 401 is an answer") << int(CURLE_OK) << 401 << QByteArray("Unauthorized") << 0 << 0
                                     << true << false << "" << direct << int(HttpError::None) << "";
    row("nominal: 407 is an answer") << int(CURLE_OK) << 407 << none << 0 << 0 << true << false
                                     << "" << proxy << int(HttpError::None) << "";
    row("nominal: 302 left as it is") << int(CURLE_OK) << 302 << none << 0 << 0 << true << false
                                      << "" << direct << int(HttpError::None) << "";
    row("proxy: tunnel refused") << int(CURLE_RECV_ERROR) << 0 << none << 403 << 0 << true << false
                                 << "" << proxy << int(HttpError::HttpStatus)
                                 << "The proxy server proxy.example:8080 refused to connect to "
                                    "h.example (403)";
    row("proxy: tunnel needs a password") << int(CURLE_RECV_ERROR) << 0 << none << 407 << 0 << true
                                          << false << "" << proxy << int(HttpError::None) << "";
    row("proxy: cannot be found") << int(CURLE_COULDNT_RESOLVE_PROXY) << 0 << none << 0 << 0
                                  << false << false << "" << proxy
                                  << int(HttpError::ProxyUnreachable)
                                  << "The proxy server proxy.example:8080 cannot be found";
    row("proxy: cannot be reached")
        << int(CURLE_COULDNT_CONNECT) << 0 << none << 0 << ECONNREFUSED << false << false << ""
        << proxy << int(HttpError::ProxyUnreachable)
        << "The proxy server proxy.example:8080 cannot be reached";
    row("robustness: host not found")
        << int(CURLE_COULDNT_RESOLVE_HOST) << 0 << none << 0 << 0 << false << false << "" << direct
        << int(HttpError::HostNotFound) << "The server h.example cannot be found";
    row("robustness: refused") << int(CURLE_COULDNT_CONNECT) << 0 << none << 0 << ECONNREFUSED
                               << false << false << "" << direct << int(HttpError::ConnectFailed)
                               << "Connection refused by h.example";
    row("robustness: unreachable")
        << int(CURLE_COULDNT_CONNECT) << 0 << none << 0 << EHOSTUNREACH << false << false << ""
        << direct << int(HttpError::ConnectFailed) << "h.example cannot be reached";
    row("robustness: no answer in time")
        << int(CURLE_OPERATION_TIMEDOUT) << 0 << none << 0 << 0 << false << false << "" << direct
        << int(HttpError::TimedOut) << "No answer within 1.5 seconds";
    row("robustness: answer cut by the time limit")
        << int(CURLE_OPERATION_TIMEDOUT) << 200 << none << 0 << 0 << true << false << "" << direct
        << int(HttpError::TimedOut) << "Picture not received in full within 1.5 seconds";
    row("robustness: too many relocations")
        << int(CURLE_TOO_MANY_REDIRECTS) << 302 << none << 0 << 0 << true << false << "" << direct
        << int(HttpError::TooManyRedirects) << "More than 5 relocations in a row";
    row("robustness: relocation loop")
        << int(CURLE_TOO_MANY_REDIRECTS) << 302 << none << 0 << 0 << true << true << "" << direct
        << int(HttpError::RedirectLoop) << "h.example sends the picture round in a loop";
    row("robustness: relocation to ftp:")
        << int(CURLE_UNSUPPORTED_PROTOCOL) << 302 << none << 0 << 0 << true << false
        << "ftp://files.example/a.gif" << direct << int(HttpError::RedirectNotWeb)
        << "h.example sends the picture on to a non-web address (ftp:)";
    row("robustness: unsupported answer")
        << int(CURLE_UNSUPPORTED_PROTOCOL) << 0 << none << 0 << 0 << false << false << "" << direct
        << int(HttpError::BadAnswer) << "h.example did not answer as a web server";
    row("robustness: reset") << int(CURLE_RECV_ERROR) << 0 << none << 0 << ECONNRESET << false
                             << false << "" << direct << int(HttpError::ConnectionReset)
                             << "Connection reset by h.example";
    row("robustness: broken while sending")
        << int(CURLE_SEND_ERROR) << 0 << none << 0 << EPIPE << false << false << "" << direct
        << int(HttpError::ConnectionReset) << "Connection to h.example broken";
    row("robustness: closed without answering")
        << int(CURLE_GOT_NOTHING) << 0 << none << 0 << 0 << false << false << "" << direct
        << int(HttpError::ConnectionReset) << "h.example closed the connection without answering";
    row("robustness: stopped before the end")
        << int(CURLE_PARTIAL_FILE) << 200 << none << 0 << 0 << true << false << "" << direct
        << int(HttpError::ConnectionReset) << "h.example stopped sending before the end";
    row("robustness: no web server")
        << int(CURLE_WEIRD_SERVER_REPLY) << 0 << none << 0 << 0 << false << false << "" << direct
        << int(HttpError::BadAnswer) << "h.example did not answer as a web server";
    row("robustness: certificate")
        << int(CURLE_PEER_FAILED_VERIFICATION) << 0 << none << 0 << 0 << false << false << ""
        << direct << int(HttpError::SecureConnection) << "Secure connection to h.example failed";
    row("robustness: anything else, in libcurl's words")
        << int(CURLE_LOGIN_DENIED) << 0 << none << 0 << 0 << false << false << "" << direct
        << int(HttpError::Other) << "Cannot fetch from h.example: Login denied";
}

void TestTransfer::errorMapping() {
    QFETCH(int, code);
    QFETCH(int, status);
    QFETCH(QByteArray, reason);
    QFETCH(int, tunnelStatus);
    QFETCH(int, osError);
    QFETCH(bool, answered);
    QFETCH(bool, looped);
    QFETCH(QString, lastLocation);
    QFETCH(QString, proxy);
    QFETCH(int, error);
    QFETCH(QString, text);
    transfererrors::TransferFacts facts;
    facts.code = CURLcode(code);
    facts.status = status;
    facts.reason = reason;
    facts.tunnelStatus = tunnelStatus;
    facts.osError = osError;
    facts.answered = answered;
    facts.looped = looped;
    facts.lastLocation = QUrl(lastLocation);
    facts.host = QStringLiteral("h.example");
    facts.proxy = proxy;
    facts.timeLimitMs = 1500;
    facts.maxRedirects = Transfer::maxRedirects;
    facts.detail = QStringLiteral("Login denied");
    const transfererrors::HttpFailure failure = transfererrors::describe(facts);
    QCOMPARE(int(failure.error), error);
    QCOMPARE(failure.text, text);
}

QTEST_GUILESS_MAIN(TestTransfer)
#include "tst_transfer.moc"
