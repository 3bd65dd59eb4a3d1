#include "pagegen/publishingstate.h"
#include "published/publishedlisting.h"
#include "published/publishedrecord.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

namespace {

QDateTime at(const char* text) {
    return QDateTime::fromString(QLatin1String(text), Qt::ISODateWithMs);
}

PublishedListing sampleListing(const QString& title, const QDateTime& when,
                               const QStringList& addresses) {
    PublishedListing listing;
    listing.published = when;
    listing.site = QStringLiteral("Auctions «Nord» & Co");
    listing.documentFile = QStringLiteral("/home/seller/Documents/Vantrel/été 2026.vdoc");
    listing.layoutFile = QStringLiteral("/home/seller/Documents/Vantrel/Blue frame.rbs");
    listing.title = title;
    listing.code = QStringLiteral("<table>\r\n<tr><td>Caf\u00e9 'quote' \"double\"</td></tr>\r\n"
                                  "</table>\r\n");
    for (const QString& address : addresses) {
        PublishedPicture picture;
        picture.address = address;
        picture.hash = QStringLiteral("ab12");
        listing.pictures.append(picture);
    }
    return listing;
}

/// Writes straight into the record's file, as another program could.
void execute(const QString& fileName, const QString& statement) {
    const QString name = QStringLiteral("test-side");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(fileName);
        QVERIFY(db.open());
        QSqlQuery query(db);
        QVERIFY2(query.exec(statement), qPrintable(query.lastError().text()));
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

} // namespace

class TestPublishedRecord : public QObject {
    Q_OBJECT
private slots:
    void readsBackWhatItWrote();
    void aListingIsWrittenWholeOrNotAtAll();
    void removesListingsWithTheirPictures();
    void findingsKeepWhenAPictureWentMissing();
    void sinceLimitsTheListings();
    void damagedFileIsSetAside_data();
    void damagedFileIsSetAside();
    void lockedFileIsNotSetAside();
    void titleOfTheDocument_data();
    void titleOfTheDocument();
    void picturesCarryTheHashOfWhatWasSent();
};

void TestPublishedRecord::readsBackWhatItWrote() {
    QTemporaryDir folder;
    const QString file = PublishedRecord::fileIn(folder.path() + QLatin1Char('/'));
    PublishedListing first =
        sampleListing(QStringLiteral("Vase en cristal"), at("2026-12-01T10:00:00.250Z"),
                      {QStringLiteral("https://pics.example/a b.jpg"),
                       QStringLiteral("https://pics.example/b.jpg")});
    first.pictures[1].hash.clear();
    PublishedListing second =
        sampleListing(QStringLiteral("Lamp"), at("2026-12-02T10:00:00.000Z"), {});
    second.site.clear();
    second.documentFile.clear();
    {
        PublishedRecord record(file);
        const Result<qint64> a = record.add(first);
        QVERIFY2(a, qPrintable(a.error()));
        first.id = a.value();
        const Result<qint64> b = record.add(second);
        QVERIFY(b);
        second.id = b.value();
        QVERIFY(first.id != second.id);
    }
    // Another run of the program reads the same.
    PublishedRecord again(file);
    const Result<QList<PublishedListing>> read = again.listings();
    QVERIFY2(read, qPrintable(read.error()));
    QCOMPARE(read.value().size(), 2);
    // The newest first.
    QVERIFY(read.value().at(0) == second);
    QVERIFY(read.value().at(1) == first);
}

void TestPublishedRecord::aListingIsWrittenWholeOrNotAtAll() {
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("published.sqlite"));
    PublishedRecord record(file);
    QVERIFY(record.add(sampleListing(QStringLiteral("Kept"), at("2026-12-01T10:00:00.000Z"),
                                     {QStringLiteral("https://pics.example/a.jpg")})));
    // The second picture of the next listing cannot be written.
    execute(file, QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON picture "
                                 "WHEN NEW.address LIKE '%refused%' "
                                 "BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    QSignalSpy changed(&record, &PublishedRecord::changed);
    const Result<qint64> added =
        record.add(sampleListing(QStringLiteral("Lost"), at("2026-12-02T10:00:00.000Z"),
                                 {QStringLiteral("https://pics.example/ok.jpg"),
                                  QStringLiteral("https://pics.example/refused.jpg")}));
    QVERIFY(!added);
    QVERIFY2(added.error().contains(QLatin1String("refused")), qPrintable(added.error()));
    QCOMPARE(changed.count(), 0);
    const auto read = record.listings();
    QVERIFY(read);
    QCOMPARE(read.value().size(), 1);
    QCOMPARE(read.value().at(0).title, QStringLiteral("Kept"));
    // No picture of the listing that failed was left behind.
    execute(file, QStringLiteral("DROP TRIGGER refuse"));
    const QString name = QStringLiteral("count");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(file);
        QVERIFY(db.open());
        QSqlQuery query(QStringLiteral("SELECT count(*) FROM picture"), db);
        QVERIFY(query.next());
        QCOMPARE(query.value(0).toInt(), 1);
    }
    QSqlDatabase::removeDatabase(name);
}

void TestPublishedRecord::removesListingsWithTheirPictures() {
    QTemporaryDir folder;
    PublishedRecord record(folder.filePath(QStringLiteral("published.sqlite")));
    QList<qint64> ids;
    for (const char* title : {"One", "Two", "Three"})
        ids.append(
            record
                .add(sampleListing(
                    QLatin1String(title), at("2026-12-01T10:00:00.000Z"),
                    {QStringLiteral("https://pics.example/%1.jpg").arg(QLatin1String(title))}))
                .value());
    QVERIFY(record.remove({ids.at(0), ids.at(2)}));
    const auto read = record.listings();
    QVERIFY(read);
    QCOMPARE(read.value().size(), 1);
    QCOMPARE(read.value().at(0).title, QStringLiteral("Two"));
    QCOMPARE(read.value().at(0).pictures.size(), 1);
    QCOMPARE(read.value().at(0).pictures.at(0).address,
             QStringLiteral("https://pics.example/Two.jpg"));
}

void TestPublishedRecord::findingsKeepWhenAPictureWentMissing() {
    QTemporaryDir folder;
    PublishedRecord record(folder.filePath(QStringLiteral("published.sqlite")));
    const QString a = QStringLiteral("https://pics.example/a.jpg");
    const QString b = QStringLiteral("https://pics.example/b.jpg");
    const qint64 shared =
        record.add(sampleListing(QStringLiteral("Both"), at("2026-12-01T10:00:00.000Z"), {a, b}))
            .value();
    const qint64 other =
        record.add(sampleListing(QStringLiteral("Other"), at("2026-12-01T11:00:00.000Z"), {a}))
            .value();
    const auto find = [](PictureState state, const char* verdict) {
        return PictureFinding{state, QLatin1String(verdict)};
    };
    const QDateTime first = at("2026-12-05T08:00:00.000Z");
    const QDateTime second = at("2026-12-06T08:00:00.000Z");
    const QDateTime third = at("2026-12-07T08:00:00.000Z");
    QVERIFY(record.storeFindings({shared},
                                 {{a, find(PictureState::Online, "OK")},
                                  {b, find(PictureState::Missing, "NOT FOUND (404)")}},
                                 first));
    QVERIFY(record.storeFindings(
        {shared},
        {{a, find(PictureState::Online, "OK")}, {b, find(PictureState::Unreachable, "TIMEOUT")}},
        second));
    auto read = record.listings().value();
    QCOMPARE(read.size(), 2);
    const PublishedListing& both = read.at(1);
    QCOMPARE(both.checked, second);
    QCOMPARE(both.pictures.at(0).state, PictureState::Online);
    QVERIFY(both.pictures.at(0).since.isNull());
    QCOMPARE(both.pictures.at(1).state, PictureState::Unreachable);
    QCOMPARE(both.pictures.at(1).verdict, QStringLiteral("TIMEOUT"));
    QCOMPARE(both.pictures.at(1).checked, second);
    // Missing since the first check that did not find it.
    QCOMPARE(both.pictures.at(1).since, first);
    QVERIFY(!both.allOnline());
    // The listing not checked is left as it was.
    QVERIFY(read.at(0).checked.isNull());
    QCOMPARE(read.at(0).pictures.at(0).state, PictureState::NotChecked);
    // Online again: no longer missing since then.
    QVERIFY(record.storeFindings(
        {shared, other},
        {{a, find(PictureState::Online, "OK")}, {b, find(PictureState::Online, "OK")}}, third));
    read = record.listings().value();
    QVERIFY(read.at(1).allOnline());
    QVERIFY(read.at(1).pictures.at(1).since.isNull());
    QVERIFY(read.at(0).allOnline());
    // A check that did not reach every picture of a listing leaves its time.
    QVERIFY(record.storeFindings({shared}, {{a, find(PictureState::Missing, "NOT FOUND (404)")}},
                                 third.addDays(1)));
    read = record.listings().value();
    QCOMPARE(read.at(1).checked, third);
    QCOMPARE(read.at(1).pictures.at(0).since, third.addDays(1));
}

void TestPublishedRecord::sinceLimitsTheListings() {
    QTemporaryDir folder;
    PublishedRecord record(folder.filePath(QStringLiteral("published.sqlite")));
    QVERIFY(record.add(sampleListing(QStringLiteral("Old"), at("2026-11-01T10:00:00.000Z"), {})));
    QVERIFY(record.add(sampleListing(QStringLiteral("New"), at("2026-12-01T10:00:00.000Z"), {})));
    const auto read = record.listings(at("2026-11-15T00:00:00.000Z"));
    QVERIFY(read);
    QCOMPARE(read.value().size(), 1);
    QCOMPARE(read.value().at(0).title, QStringLiteral("New"));
}

void TestPublishedRecord::damagedFileIsSetAside_data() {
    QTest::addColumn<QString>("damage");
    QTest::newRow("garbage") << "garbage";
    QTest::newRow("cut short") << "cut";
    QTest::newRow("another program's tables") << "foreign";
}

void TestPublishedRecord::damagedFileIsSetAside() {
    QFETCH(QString, damage);
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("published.sqlite"));
    QByteArray damaged;
    if (damage == QLatin1String("garbage")) {
        damaged = QByteArray("This is no database at all.\n").repeated(200);
    } else if (damage == QLatin1String("cut")) {
        {
            PublishedRecord record(file);
            for (int i = 0; i < 50; ++i)
                QVERIFY(record.add(sampleListing(QStringLiteral("Listing %1").arg(i),
                                                 at("2026-12-01T10:00:00.000Z"),
                                                 {QStringLiteral("https://pics.example/a.jpg")})));
        }
        QFile whole(file);
        QVERIFY(whole.open(QIODevice::ReadOnly));
        damaged = whole.readAll();
        // The header promises pages that are not there.
        damaged = damaged.left(damaged.size() / 2);
        damaged.replace(4096, 2048, QByteArray(2048, '\x5a'));
    } else {
        execute(file, QStringLiteral("CREATE TABLE listing (name TEXT)"));
        QFile whole(file);
        QVERIFY(whole.open(QIODevice::ReadOnly));
        damaged = whole.readAll();
    }
    {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(damaged);
    }
    PublishedRecord record(file);
    QSignalSpy setAside(&record, &PublishedRecord::setAside);
    // The first use finds the damage; the work goes on in a new record.
    const Result<qint64> added =
        record.add(sampleListing(QStringLiteral("After"), at("2026-12-03T10:00:00.000Z"), {}));
    QVERIFY2(added, qPrintable(added.error()));
    QCOMPARE(setAside.count(), 1);
    const QString message = setAside.at(0).at(0).toString();
    const QStringList aside =
        QDir(folder.path()).entryList({QStringLiteral("published.sqlite.damaged-*")});
    QCOMPARE(aside.size(), 1);
    QVERIFY2(message.contains(aside.at(0)), qPrintable(message));
    // Nothing of the damaged file is lost: it is there as it was.
    QFile kept(folder.filePath(aside.at(0)));
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), damaged);
    const auto read = record.listings();
    QVERIFY(read);
    QCOMPARE(read.value().size(), 1);
    QCOMPARE(read.value().at(0).title, QStringLiteral("After"));
}

void TestPublishedRecord::lockedFileIsNotSetAside() {
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("published.sqlite"));
    {
        PublishedRecord record(file);
        QVERIFY(
            record.add(sampleListing(QStringLiteral("Kept"), at("2026-12-01T10:00:00.000Z"), {})));
    }
    // Another run of the program holds the file for a long write.
    const QString name = QStringLiteral("holder");
    {
        QSqlDatabase holder = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        holder.setDatabaseName(file);
        QVERIFY(holder.open());
        QSqlQuery lock(holder);
        QVERIFY(lock.exec(QStringLiteral("BEGIN EXCLUSIVE")));
        PublishedRecord record(file);
        QSignalSpy setAside(&record, &PublishedRecord::setAside);
        const Result<qint64> added =
            record.add(sampleListing(QStringLiteral("New"), at("2026-12-02T10:00:00.000Z"), {}));
        QVERIFY(!added);
        QVERIFY2(added.error().contains(QLatin1String("published.sqlite")),
                 qPrintable(added.error()));
        QCOMPARE(setAside.count(), 0);
        QVERIFY(lock.exec(QStringLiteral("ROLLBACK")));
        holder.close();
    }
    QSqlDatabase::removeDatabase(name);
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files),
             QStringList{QStringLiteral("published.sqlite")});
    // Once free, the record is there as it was.
    PublishedRecord record(file);
    const auto read = record.listings();
    QVERIFY(read);
    QCOMPARE(read.value().size(), 1);
    QCOMPARE(read.value().at(0).title, QStringLiteral("Kept"));
}

void TestPublishedRecord::titleOfTheDocument_data() {
    QTest::addColumn<QString>("html");
    QTest::addColumn<QString>("title");
    QTest::newRow("first heading") << "<p>Intro line</p><h2>Oak &amp; <b>pine</b> chair</h2>"
                                   << "Oak & pine chair";
    QTest::newRow("first line") << "<p>  </p><p>Blue   vase<br>with a chip</p><p>More</p>"
                                << "Blue vase";
    QTest::newRow("pictures around the words")
        << "<p><img src=\"a.png\"></p><p><img src=\"b.png\"> Lamp <img src=\"c.png\"></p>"
        << "Lamp";
    QTest::newRow("inside a table") << "<table><tr><td>Cell text</td></tr></table>"
                                    << "Cell text";
    QTest::newRow("empty") << "<p></p>"
                           << "";
    QTest::newRow("long") << "<p>" + QString(300, QLatin1Char('x')) + "</p>"
                          << QString(200, QLatin1Char('x'));
}

void TestPublishedRecord::titleOfTheDocument() {
    QFETCH(QString, html);
    QFETCH(QString, title);
    QCOMPARE(listingTitle(html), title);
}

void TestPublishedRecord::picturesCarryTheHashOfWhatWasSent() {
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("sky.jpg"));
    const QByteArray fileBytes("picture in a file");
    {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(fileBytes);
    }
    const QByteArray madeBytes("picture made in memory");
    const auto sha = [](const QByteArray& bytes) {
        return QString::fromLatin1(
            QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
    };
    QList<PlacedPicture> placed(3);
    placed[0].localFile = file;
    placed[0].serverAddress = QStringLiteral("https://me.example/sky.jpg");
    placed[1].bytes = madeBytes;
    placed[1].serverAddress = QStringLiteral("https://me.example/made.png");
    placed[2].localFile = folder.filePath(QStringLiteral("gone.jpg"));
    placed[2].serverAddress = QStringLiteral("https://me.example/gone.jpg");
    const QList<PublishedPicture> pictures =
        publishedPictures({QStringLiteral("https://web.example/only-address.jpg"),
                           QStringLiteral("https://me.example/sky.jpg"),
                           QStringLiteral("https://me.example/made.png"),
                           QStringLiteral("https://me.example/gone.jpg")},
                          placed);
    QCOMPARE(pictures.size(), 4);
    QCOMPARE(pictures.at(0).hash, QString());
    QCOMPARE(pictures.at(1).hash, sha(fileBytes));
    QCOMPARE(pictures.at(2).hash, sha(madeBytes));
    QCOMPARE(pictures.at(3).hash, QString());
    QCOMPARE(pictures.at(1).address, QStringLiteral("https://me.example/sky.jpg"));
}

// The titles are read with the text document, which needs the GUI application.
QTEST_MAIN(TestPublishedRecord)
#include "tst_publishedrecord.moc"
