#include "http/picturetestserver.h"
#include "published/picturewatch.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int shortLimitMs = 800;
constexpr int waitMs = 30000;

PublishedListing listingOf(const QString& title, const QStringList& addresses) {
    PublishedListing listing;
    listing.published = QDateTime::currentDateTimeUtc();
    listing.title = title;
    for (const QString& address : addresses) {
        PublishedPicture picture;
        picture.address = address;
        listing.pictures.append(picture);
    }
    return listing;
}

/// Adds the listings to the record and gives them back with their ids.
QList<PublishedListing> added(PublishedRecord& record, QList<PublishedListing> listings) {
    for (PublishedListing& listing : listings)
        listing.id = record.add(listing).value();
    return listings;
}

PictureCheckOptions shortOptions() {
    PictureCheckOptions options = PictureWatch::defaultOptions();
    options.timeLimitMs = shortLimitMs;
    return options;
}

/// A server that answers every request after a short while, and counts how
/// many connections it held open at the same time.
class CountingServer : public QTcpServer {
public:
    CountingServer() {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = nextPendingConnection()) {
                mostAtOnce = std::max(mostAtOnce, ++open);
                connect(socket, &QTcpSocket::disconnected, socket, [this, socket] {
                    --open;
                    socket->deleteLater();
                });
                connect(socket, &QTcpSocket::readyRead, socket, [socket] {
                    if (!socket->readAll().contains("\r\n\r\n"))
                        return;
                    QTimer::singleShot(60, socket, [socket] {
                        socket->write("HTTP/1.0 200 OK\r\nContent-Type: image/gif\r\n\r\n" +
                                      PictureTestServer::gifBytes());
                        socket->disconnectFromHost();
                    });
                });
            }
        });
        listen(QHostAddress::LocalHost);
    }
    QString url(const QString& path) const {
        return QStringLiteral("http://127.0.0.1:%1").arg(serverPort()) + path;
    }

    int open = 0;
    int mostAtOnce = 0;
};

} // namespace

class TestPictureWatch : public QObject {
    Q_OBJECT
private slots:
    void eachListingShowsWhatIsMissing_data();
    void eachListingShowsWhatIsMissing();
    void sharedAddressIsFetchedOnce();
    void atMostFourFromOneServer();
    void cancelKeepsWhatWasChecked();
};

void TestPictureWatch::eachListingShowsWhatIsMissing_data() {
    // "@" stands for the test server, "refused" for a port nothing listens on.
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("verdict");
    QTest::newRow("online") << "@/pictures/a.gif" << int(PictureState::Online) << "OK";
    QTest::newRow("missing") << "@/missing/a.gif" << int(PictureState::Missing)
                             << "NOT FOUND (404)  (127.0.0.1 answered 404 Not Found)";
    QTest::newRow("a page instead")
        << "@/page/a.gif" << int(PictureState::Missing) << "NOT AN IMAGE (text/html)";
    QTest::newRow("password") << "@/private/a.gif" << int(PictureState::Missing)
                              << "NOT AVAILABLE (password required)";
    QTest::newRow("slow") << "@/slow/a.gif" << int(PictureState::Unreachable) << "TIMEOUT";
    QTest::newRow("refusing") << "refused/pictures/a.gif" << int(PictureState::Unreachable)
                              << "FAILED";
}

void TestPictureWatch::eachListingShowsWhatIsMissing() {
    QFETCH(QString, address);
    QFETCH(int, state);
    QFETCH(QString, verdict);
    PictureTestServer server;
    const QString fill = QString(address)
                             .replace(QLatin1Char('@'), server.base())
                             .replace(QLatin1String("refused"),
                                      QStringLiteral("http://127.0.0.1:%1").arg(closedPort()));
    QTemporaryDir folder;
    PublishedRecord record(folder.filePath(QStringLiteral("published.sqlite")));
    const QString good = server.url(QStringLiteral("/pictures/good.gif"));
    const QList<PublishedListing> listings =
        added(record, {listingOf(QStringLiteral("Tested"), {good, fill}),
                       listingOf(QStringLiteral("Untouched"), {good})});
    PictureWatch watch(record);
    QSignalSpy finished(&watch, &PictureWatch::finished);
    QSignalSpy progress(&watch, &PictureWatch::progress);
    watch.start({listings.at(0)}, shortOptions());
    QVERIFY(finished.wait(waitMs));
    QVERIFY2(watch.stored(), qPrintable(watch.stored().error()));
    QCOMPARE(progress.count(), 2);
    QCOMPARE(progress.last(), (QVariantList{2, 2}));
    const QList<PublishedListing> read = record.listings().value();
    const auto tested = std::find_if(read.cbegin(), read.cend(),
                                     [](const PublishedListing& l) { return l.title == "Tested"; });
    QVERIFY(tested != read.cend());
    QVERIFY(tested->checked.isValid());
    QCOMPARE(tested->pictures.at(0).state, PictureState::Online);
    const PublishedPicture& picture = tested->pictures.at(1);
    QCOMPARE(int(picture.state), state);
    QVERIFY2(picture.verdict.startsWith(verdict), qPrintable(picture.verdict));
    QCOMPARE(picture.since.isValid(), state != int(PictureState::Online));
    QCOMPARE(tested->allOnline(), state == int(PictureState::Online));
    // A listing left out of the check is not marked.
    const auto untouched = std::find_if(read.cbegin(), read.cend(), [](const PublishedListing& l) {
        return l.title == "Untouched";
    });
    QVERIFY(untouched->checked.isNull());
    QCOMPARE(untouched->pictures.at(0).state, PictureState::NotChecked);
}

void TestPictureWatch::sharedAddressIsFetchedOnce() {
    PictureTestServer server;
    QTemporaryDir folder;
    PublishedRecord record(folder.filePath(QStringLiteral("published.sqlite")));
    const QString logo = server.url(QStringLiteral("/pictures/logo.gif"));
    const QString gone = server.url(QStringLiteral("/missing/old.gif"));
    const QList<PublishedListing> listings =
        added(record, {listingOf(QStringLiteral("First"), {logo, gone}),
                       listingOf(QStringLiteral("Second"), {logo}),
                       listingOf(QStringLiteral("Third"), {gone, logo})});
    PictureWatch watch(record);
    QSignalSpy finished(&watch, &PictureWatch::finished);
    watch.start(listings, shortOptions());
    QVERIFY(finished.wait(waitMs));
    QCOMPARE(watch.total(), 2);
    QCOMPARE(server.requests.size(), 2);
    const QList<PublishedListing> read = record.listings().value();
    QStringList summary;
    for (const PublishedListing& listing : read) {
        QStringList states;
        for (const PublishedPicture& picture : listing.pictures)
            states << QString::number(int(picture.state));
        summary << listing.title + QLatin1Char(' ') + states.join(QLatin1Char(','));
    }
    summary.sort();
    QCOMPARE(summary, (QStringList{"First 1,2", "Second 1", "Third 2,1"}));
}

void TestPictureWatch::atMostFourFromOneServer() {
    CountingServer server;
    PictureTestServer other;
    QTemporaryDir folder;
    PublishedRecord record(folder.filePath(QStringLiteral("published.sqlite")));
    QStringList addresses;
    for (int i = 0; i < 16; ++i)
        addresses << server.url(QStringLiteral("/p%1.gif").arg(i));
    addresses << other.url(QStringLiteral("/pictures/elsewhere.gif"));
    PictureWatch watch(record);
    QSignalSpy finished(&watch, &PictureWatch::finished);
    watch.start(added(record, {listingOf(QStringLiteral("Many"), addresses)}),
                PictureWatch::defaultOptions());
    QVERIFY(finished.wait(waitMs));
    QVERIFY(record.listings().value().at(0).allOnline());
    QCOMPARE(server.mostAtOnce, 4);
}

void TestPictureWatch::cancelKeepsWhatWasChecked() {
    PictureTestServer server;
    QTemporaryDir folder;
    PublishedRecord record(folder.filePath(QStringLiteral("published.sqlite")));
    const QString quick = server.url(QStringLiteral("/missing/quick.gif"));
    const QString stalled = server.url(QStringLiteral("/stall/never.gif"));
    const QList<PublishedListing> listings =
        added(record, {listingOf(QStringLiteral("Half"), {quick, stalled})});
    PictureWatch watch(record);
    QSignalSpy finished(&watch, &PictureWatch::finished);
    QSignalSpy progress(&watch, &PictureWatch::progress);
    PictureCheckOptions options = PictureWatch::defaultOptions();
    options.timeLimitMs = 60000;
    watch.start(listings, options);
    QVERIFY(progress.wait(waitMs));
    QVERIFY(watch.isRunning());
    QVERIFY(watch.cancel());
    QVERIFY(!watch.isRunning());
    QTest::qWait(100);
    QCOMPARE(finished.count(), 0);
    const PublishedListing read = record.listings().value().at(0);
    QCOMPARE(read.pictures.at(0).state, PictureState::Missing);
    QCOMPARE(read.pictures.at(1).state, PictureState::NotChecked);
    // Not every picture was checked: the listing keeps no check time.
    QVERIFY(read.checked.isNull());
}

QTEST_GUILESS_MAIN(TestPictureWatch)
#include "tst_picturewatch.moc"
