#include "http/picturecheck.h"
#include "http/picturetestserver.h"

#include <QSignalSpy>
#include <QTest>

namespace {

constexpr int shortLimitMs = 800;
constexpr int longLimitMs = 60000;
constexpr int waitMs = 30000;

/// What a check signalled, one line each: "0 OK", "2 not checked", "end".
struct Record {
    explicit Record(PictureCheck& check) {
        QObject::connect(&check, &PictureCheck::checked, &check,
                         [this](int index, const ImageVerdict& verdict) {
                             lines << QStringLiteral("%1 %2").arg(index).arg(verdict.summary);
                         });
        QObject::connect(&check, &PictureCheck::notChecked, &check, [this](int index) {
            lines << QStringLiteral("%1 not checked").arg(index);
        });
        QObject::connect(&check, &PictureCheck::finished, &check,
                         [this] { lines << QStringLiteral("end"); });
    }
    bool ended() const { return lines.contains(QStringLiteral("end")); }

    QStringList lines;
};

PictureCheckOptions options(int atOnce, int atOncePerHost = 0, int timeLimitMs = shortLimitMs) {
    PictureCheckOptions options;
    options.atOnce = atOnce;
    options.atOncePerHost = atOncePerHost;
    options.timeLimitMs = timeLimitMs;
    return options;
}

} // namespace

class TestPictureCheck : public QObject {
    Q_OBJECT
private slots:
    void verdictsInTheListsOrder_data();
    void verdictsInTheListsOrder();
    void unreachableProxyLeavesTheRestUnchecked_data();
    void unreachableProxyLeavesTheRestUnchecked();
    void severalAtOnce();
    void atMostSoManyPerServer();
    void cancelInTheMiddle();
    void restartFromAReceiver();
};

void TestPictureCheck::verdictsInTheListsOrder_data() {
    QTest::addColumn<int>("atOnce");
    QTest::newRow("one at a time") << 1;
    QTest::newRow("all at once") << 5;
}

// The first picture answers last, and is reported first all the same.
void TestPictureCheck::verdictsInTheListsOrder() {
    QFETCH(int, atOnce);
    PictureTestServer server;
    PictureCheck check;
    Record record(check);
    check.start({server.url(QStringLiteral("/stall/a.gif")),
                 server.url(QStringLiteral("/pictures/b.gif")),
                 server.url(QStringLiteral("/missing/c.gif")), QStringLiteral("images/d.gif"),
                 QStringLiteral("http://127.0.0.1:%1/e.gif").arg(closedPort())},
                options(atOnce));
    QVERIFY(check.isRunning());
    QTRY_VERIFY_WITH_TIMEOUT(record.ended(), waitMs);
    QCOMPARE(record.lines, (QStringList{"0 TIMEOUT", "1 OK", "2 NOT FOUND (404)",
                                        "3 NOT A WEB ADDRESS", "4 FAILED", "end"}));
    QVERIFY(!check.isRunning());
}

void TestPictureCheck::unreachableProxyLeavesTheRestUnchecked_data() {
    QTest::addColumn<int>("atOnce");
    QTest::newRow("one at a time") << 1;
    QTest::newRow("all at once") << 3;
}

void TestPictureCheck::unreachableProxyLeavesTheRestUnchecked() {
    QFETCH(int, atOnce);
    PictureCheck check;
    Record record(check);
    PictureCheckOptions viaProxy = options(atOnce, 0, 5000);
    viaProxy.proxyHost = QStringLiteral("127.0.0.1");
    viaProxy.proxyPort = QString::number(closedPort());
    check.start(
        {"http://pics.example/a.gif", "http://pics.example/b.gif", "http://pics.example/c.gif"},
        viaProxy);
    QTRY_VERIFY_WITH_TIMEOUT(record.ended(), waitMs);
    QCOMPARE(record.lines,
             (QStringList{"0 PROXY UNREACHABLE", "1 not checked", "2 not checked", "end"}));
}

// Three pictures that never come: all three asked for at once.
void TestPictureCheck::severalAtOnce() {
    PictureTestServer server;
    PictureCheck check;
    Record record(check);
    check.start({server.url(QStringLiteral("/stall/a.gif")),
                 server.url(QStringLiteral("/stall/b.gif")),
                 server.url(QStringLiteral("/stall/c.gif"))},
                options(3, 0, longLimitMs));
    QTRY_COMPARE_WITH_TIMEOUT(server.requests.size(), 3, waitMs);
    check.cancel();
    QVERIFY(record.lines.isEmpty());
}

void TestPictureCheck::atMostSoManyPerServer() {
    PictureTestServer busy;
    PictureTestServer other;
    PictureCheck check;
    Record record(check);
    check.start({busy.url(QStringLiteral("/stall/a.gif")), busy.url(QStringLiteral("/stall/b.gif")),
                 other.url(QStringLiteral("/pictures/c.gif"))},
                options(3, 1, longLimitMs));
    QTRY_COMPARE_WITH_TIMEOUT(other.requests.size(), 1, waitMs);
    QTRY_COMPARE_WITH_TIMEOUT(busy.requests.size(), 1, waitMs);
    // Time for a second request to the busy server, were one allowed.
    QTest::qWait(300);
    QCOMPARE(busy.requests.size(), 1);
    // The third picture is in, but waits for the first two to be reported.
    QVERIFY(record.lines.isEmpty());
    check.cancel();
}

void TestPictureCheck::cancelInTheMiddle() {
    PictureTestServer server;
    PictureCheck check;
    Record record(check);
    check.start({server.url(QStringLiteral("/pictures/a.gif")),
                 server.url(QStringLiteral("/slow/b.gif")),
                 server.url(QStringLiteral("/pictures/c.gif"))},
                options(1, 0, longLimitMs));
    QTRY_COMPARE_WITH_TIMEOUT(server.requests.size(), 2, waitMs);
    check.cancel();
    QVERIFY(!check.isRunning());
    // Long enough for the slow server's next byte and the next picture.
    QTest::qWait(1500);
    QCOMPARE(record.lines, QStringList{"0 OK"});
    QCOMPARE(server.requests.size(), 2);
}

// A receiver that starts the check anew ends the first run there.
void TestPictureCheck::restartFromAReceiver() {
    PictureTestServer server;
    PictureCheck check;
    Record record(check);
    const QStringList first{server.url(QStringLiteral("/pictures/a.gif")),
                            server.url(QStringLiteral("/pictures/b.gif"))};
    bool restarted = false;
    connect(&check, &PictureCheck::checked, this, [&] {
        if (restarted)
            return;
        restarted = true;
        check.start({server.url(QStringLiteral("/missing/c.gif"))}, options(1));
    });
    check.start(first, options(2));
    QTRY_VERIFY_WITH_TIMEOUT(record.ended(), waitMs);
    QCOMPARE(record.lines, (QStringList{"0 OK", "0 NOT FOUND (404)", "end"}));
}

QTEST_GUILESS_MAIN(TestPictureCheck)
#include "tst_picturecheck.moc"
