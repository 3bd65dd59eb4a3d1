#include "listing/uploadrecord.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString server = QStringLiteral("sftp://pictures.example:2222/shop/");

QByteArray readAll(const QString& fileName) {
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void write(const QString& fileName, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(fileName).absolutePath());
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class TestUploadRecord : public QObject {
    Q_OBJECT
private slots:
    void namesReadBack_data();
    void namesReadBack();
    void sendsAgainWhatChangedOrWentMissing();
    void damagedRecordsAreRefused_data();
    void damagedRecordsAreRefused();
    void failedSaveIsReported();
    void eachServerHasItsOwnFile();
};

void TestUploadRecord::namesReadBack_data() {
    QTest::addColumn<QStringList>("names");
    QTest::newRow("plain") << QStringList{QStringLiteral("lamp.jpg")};
    QTest::newRow("characters of addresses")
        << QStringList{QStringLiteral("my lamp #2 (50%)?.jpg"), QStringLiteral("a&b=c.png")};
    QTest::newRow("accents and beyond")
        << QStringList{QStringLiteral("Lampe été.jpg"), QString::fromUtf8("ランプ.png")};
    QTest::newRow("letter case tells apart")
        << QStringList{QStringLiteral("Lamp.jpg"), QStringLiteral("lamp.jpg")};
    QTest::newRow("long name") << QStringList{QString(240, u'x') + QStringLiteral(".jpg")};
    QTest::newRow("quotes and backslashes")
        << QStringList{QStringLiteral("say \"hi\".jpg"), QStringLiteral("back\\slash.gif")};
}

void TestUploadRecord::namesReadBack() {
    QFETCH(QStringList, names);
    QTemporaryDir folder;
    const QString file = UploadRecord::fileFor(folder.path() + u'/', server);
    UploadRecord record(file, server);
    for (const QString& name : names)
        record.remember(name, UploadRecord::contentHash(name.toUtf8()));
    QVERIFY(record.save().ok());
    const Result<UploadRecord> read = UploadRecord::load(file, server);
    QVERIFY2(read.ok(), qPrintable(read.error()));
    QCOMPARE(read->size(), names.size());
    for (const QString& name : names)
        QVERIFY(read->holds(name, UploadRecord::contentHash(name.toUtf8())));
    // Saved again unchanged, the file is the same.
    const QByteArray first = readAll(file);
    QVERIFY(read.value().save().ok());
    QCOMPARE(readAll(file).size(), first.size());
}

void TestUploadRecord::sendsAgainWhatChangedOrWentMissing() {
    QTemporaryDir folder;
    UploadRecord record(folder.filePath(QStringLiteral("r.json")), server);
    const QByteArray before = UploadRecord::contentHash("old bytes");
    record.remember(QStringLiteral("lamp.jpg"), before);
    QVERIFY(record.holds(QStringLiteral("lamp.jpg"), before));
    QVERIFY(!record.holds(QStringLiteral("lamp.jpg"), UploadRecord::contentHash("new bytes")));
    QVERIFY(!record.holds(QStringLiteral("Lamp.jpg"), before));
    record.forget(QStringLiteral("lamp.jpg"));
    QVERIFY(!record.holds(QStringLiteral("lamp.jpg"), before));
    // No record yet is an empty one.
    const Result<UploadRecord> none =
        UploadRecord::load(folder.filePath(QStringLiteral("missing.json")), server);
    QVERIFY(none.ok());
    QCOMPARE(none->size(), 0);
}

void TestUploadRecord::damagedRecordsAreRefused_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("not json") << QByteArray("sent: everything");
    QTest::newRow("cut short") << QByteArray("{\"server\": \"sftp://pictures.example:2222/shop/\"");
    QTest::newRow("a list") << QByteArray("[1, 2]");
    QTest::newRow("another server's")
        << QByteArray("{\"server\": \"https://elsewhere.example/\", \"sent\": {}}");
    QTest::newRow("hash that is no text")
        << QByteArray("{\"server\": \"sftp://pictures.example:2222/shop/\", \"sent\": {\"a.jpg\": "
                      "5}}");
    QTest::newRow("empty") << QByteArray();
}

void TestUploadRecord::damagedRecordsAreRefused() {
    QFETCH(QByteArray, content);
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("r.json"));
    write(file, content);
    const Result<UploadRecord> read = UploadRecord::load(file, server);
    QVERIFY(!read.ok());
    QVERIFY(read.error().contains(file));
}

void TestUploadRecord::failedSaveIsReported() {
    QTemporaryDir folder;
    // A folder stands where the record goes, and a file where its folder goes.
    const QString inTheWay = folder.filePath(QStringLiteral("r.json"));
    QVERIFY(QDir().mkpath(inTheWay + QStringLiteral("/kept")));
    write(folder.filePath(QStringLiteral("file")), "x");
    for (const QString& file : {inTheWay, folder.filePath(QStringLiteral("file/r.json"))}) {
        UploadRecord record(file, server);
        record.remember(QStringLiteral("a.jpg"), UploadRecord::contentHash("a"));
        const Status failed = record.save();
        QVERIFY2(!failed.ok(), qPrintable(file));
        QVERIFY(failed.error().contains(file));
    }
    QVERIFY(QFileInfo(inTheWay + QStringLiteral("/kept")).isDir());
    QCOMPARE(readAll(folder.filePath(QStringLiteral("file"))), QByteArray("x"));
}

void TestUploadRecord::eachServerHasItsOwnFile() {
    const QString data = QStringLiteral("/data/");
    const QString one = UploadRecord::fileFor(data, server);
    QCOMPARE(one, UploadRecord::fileFor(data, server));
    QVERIFY(one.startsWith(QStringLiteral("/data/Uploads/")));
    QVERIFY(one != UploadRecord::fileFor(data, QStringLiteral("sftp://pictures.example/shop/")));
    QVERIFY(one !=
            UploadRecord::fileFor(data, QStringLiteral("SFTP://pictures.example:2222/shop/")));
}

QTEST_MAIN(TestUploadRecord)
#include "tst_uploadrecord.moc"
