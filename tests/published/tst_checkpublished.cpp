#include "http/picturetestserver.h"
#include "published/publishedrecord.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Listing {
    QString title;
    int daysAgo;
    QStringList paths;
};

} // namespace

Q_DECLARE_METATYPE(QList<Listing>)

/// `vantrel-check --published`: the pictures of the record of published
/// listings, checked from the shell.
class TestCheckPublished : public QObject {
    Q_OBJECT
private slots:
    void linesAndExitCode_data();
    void linesAndExitCode();
};

void TestCheckPublished::linesAndExitCode_data() {
    // "@" stands for the test server's address; "!" writes garbage into the
    // record instead of listings.
    QTest::addColumn<QList<Listing>>("listings");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("exitCode");
    const QString day = QDateTime::currentDateTime().addDays(-10).toString("yyyy-MM-dd");
    const QString today = QDate::currentDate().toString("yyyy-MM-dd");
    QTest::newRow("all online")
        << QList<Listing>{{"Chair", 1, {"@/pictures/a.gif", "@/pictures/b.gif"}},
                          {"Lamp", 3, {"@/pictures/a.gif"}}}
        << QStringList() << QStringList{"2 listings, 3 pictures: all online"} << 0;
    QTest::newRow("one missing")
        << QList<Listing>{{"Chair", 1, {"@/pictures/a.gif"}},
                          {"Old vase", 10, {"@/pictures/a.gif", "@/missing/vase.gif"}}}
        << QStringList()
        << QStringList{"MISSING  NOT FOUND (404)  (127.0.0.1 answered 404 Not Found)  "
                       "@/missing/vase.gif  in \"Old vase\" (published " +
                           day + " on Auctions Nord), since " + today,
                       "2 listings, 3 pictures: 1 not online"}
        << 1;
    QTest::newRow("the missing one is older than --since")
        << QList<Listing>{{"Chair", 1, {"@/pictures/a.gif"}},
                          {"Old vase", 10, {"@/missing/vase.gif"}}}
        << QStringList{"--since", "7"} << QStringList{"1 listings, 1 pictures: all online"} << 0;
    QTest::newRow("no answer")
        << QList<Listing>{{"Chair", 1, {"@/stall/a.gif"}}} << QStringList{"--timeout", "0.8"}
        << QStringList{"UNREACHABLE  TIMEOUT  (No answer within 0.8 seconds)  @/stall/a.gif  in "
                       "\"Chair\" (published " +
                           QDateTime::currentDateTime().addDays(-1).toString("yyyy-MM-dd") +
                           " on Auctions Nord), since " + today,
                       "1 listings, 1 pictures: 1 not online"}
        << 1;
    QTest::newRow("nothing published yet")
        << QList<Listing>{} << QStringList() << QStringList{"0 listings, 0 pictures: all online"}
        << 0;
    QTest::newRow("damaged record")
        << QList<Listing>{{"!", 0, {}}} << QStringList() << QStringList() << 2;
    QTest::newRow("--since without a number")
        << QList<Listing>{} << QStringList{"--since", "week"} << QStringList() << 2;
    QTest::newRow("a page besides")
        << QList<Listing>{} << QStringList{"page.html"} << QStringList() << 2;
}

void TestCheckPublished::linesAndExitCode() {
    QFETCH(QList<Listing>, listings);
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, lines);
    QFETCH(int, exitCode);
    PictureTestServer server;
    const auto fill = [&](QString text) { return text.replace(QLatin1Char('@'), server.base()); };
    QTemporaryDir home;
    QVERIFY(home.isValid());
    const QString folder = home.filePath(QStringLiteral("Vantrel/"));
    QVERIFY(QDir().mkpath(folder));
    const QString file = PublishedRecord::fileIn(folder);
    if (!listings.isEmpty() && listings.at(0).title == QLatin1String("!")) {
        QFile garbage(file);
        QVERIFY(garbage.open(QIODevice::WriteOnly));
        garbage.write(QByteArray("not a record ").repeated(100));
    } else if (!listings.isEmpty()) {
        PublishedRecord record(file);
        for (const Listing& l : std::as_const(listings)) {
            PublishedListing listing;
            listing.title = l.title;
            listing.site = QStringLiteral("Auctions Nord");
            listing.published = QDateTime::currentDateTimeUtc().addDays(-l.daysAgo);
            for (const QString& path : l.paths) {
                PublishedPicture picture;
                picture.address = fill(path);
                listing.pictures.append(picture);
            }
            QVERIFY(record.add(listing));
        }
    }
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.path());
    process.setProcessEnvironment(environment);
    QSignalSpy finished(&process, &QProcess::finished);
    // The server answers from this thread: wait with the event loop running.
    process.start(QCoreApplication::applicationDirPath() + QStringLiteral("/vantrel-check"),
                  QStringList{QStringLiteral("--published")} + arguments);
    QVERIFY2(process.waitForStarted(), qPrintable(process.errorString()));
    QVERIFY(finished.wait(60000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    const QString errors = QString::fromLocal8Bit(process.readAllStandardError());
    QStringList expected;
    for (const QString& line : std::as_const(lines))
        expected.append(fill(line));
    const QString output = QString::fromLocal8Bit(process.readAllStandardOutput());
    QCOMPARE(output.split(QLatin1Char('\n'), Qt::SkipEmptyParts), expected);
    QCOMPARE(process.exitCode(), exitCode);
    if (exitCode == 2)
        QVERIFY2(!errors.isEmpty(), "a failure says why");
    if (QTest::currentDataTag() == QLatin1String("damaged record")) {
        QVERIFY2(errors.contains(QLatin1String("set aside")), qPrintable(errors));
        QCOMPARE(QDir(folder).entryList({QStringLiteral("published.sqlite.damaged-*")}).size(), 1);
    }
    // What was found is in the record for the program's window.
    if (exitCode == 1) {
        PublishedRecord record(file);
        const auto read = record.listings();
        QVERIFY(read);
        QVERIFY(
            std::any_of(read.value().cbegin(), read.value().cend(), [](const PublishedListing& l) {
                return l.checked.isValid() && !l.allOnline();
            }));
    }
}

QTEST_GUILESS_MAIN(TestCheckPublished)
#include "tst_checkpublished.moc"
