#include "platform/picturecache.h"
#include "platform/safefile.h"

#include <QDir>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

namespace {

QImage sample() {
    QImage picture(7, 5, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.fillRect(1, 1, 3, 2, QColor(200, 40, 10, 128));
    painter.end();
    picture.setDevicePixelRatio(2);
    return picture;
}

QByteArray bytesOf(const QString& fileName) {
    QByteArray bytes;
    readWholeFile(fileName, bytes);
    return bytes;
}

} // namespace

/// Kept pictures read back exactly, only for their own key, and a damaged
/// file reads as no picture.
class TestPictureCache : public QObject {
    Q_OBJECT

private slots:
    void keptPictureReadsBackForItsKeyOnly();
    void damagedFileReadsAsNoPicture_data();
    void damagedFileReadsAsNoPicture();
    void failedWriteKeepsThePreviousFile();
};

void TestPictureCache::keptPictureReadsBackForItsKeyOnly() {
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("sub/picture"));
    const QString key = QStringLiteral("tools|22|é");
    QVERIFY(picturecache::write(file, key, sample()));
    const QImage read = picturecache::read(file, key);
    QCOMPARE(read, sample());
    QCOMPARE(read.devicePixelRatio(), 2.0);
    QVERIFY(picturecache::read(file, QStringLiteral("tools|44|é")).isNull());
    QVERIFY(picturecache::read(folder.filePath(QStringLiteral("none")), key).isNull());
}

void TestPictureCache::damagedFileReadsAsNoPicture_data() {
    QTest::addColumn<int>("keep");        // bytes of the good file kept; -1 all
    QTest::addColumn<int>("at");          // byte changed; -1 none
    QTest::addColumn<QByteArray>("tail"); // bytes added at the end
    QTest::newRow("empty") << 0 << -1 << QByteArray();
    QTest::newRow("magic only") << 8 << -1 << QByteArray();
    QTest::newRow("cut in the key") << 14 << -1 << QByteArray();
    QTest::newRow("cut in the pixels") << 60 << -1 << QByteArray();
    QTest::newRow("last pixel byte missing") << -2 << -1 << QByteArray();
    QTest::newRow("a byte too many") << -1 << -1 << QByteArray("x");
    QTest::newRow("other magic") << -1 << 0 << QByteArray();
    QTest::newRow("key length beyond reason") << -1 << 8 << QByteArray();
    QTest::newRow("width beyond reason") << -1 << 13 << QByteArray();
    QTest::newRow("pixel ratio beyond reason") << -1 << 21 << QByteArray();
}

void TestPictureCache::damagedFileReadsAsNoPicture() {
    QFETCH(int, keep);
    QFETCH(int, at);
    QFETCH(QByteArray, tail);
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("picture"));
    const QString key = QStringLiteral("k");
    QVERIFY(picturecache::write(file, key, sample()));
    QByteArray bytes = bytesOf(file);
    // Magic 8 bytes, key length 4, key 1, width 4, height 4, pixel ratio 8.
    if (keep >= 0)
        bytes.truncate(keep);
    else if (keep == -2)
        bytes.chop(1);
    if (at >= 0)
        bytes[at] = char(0x7f);
    bytes += tail;
    writeFileAtomically(file, bytes);
    QVERIFY(picturecache::read(file, key).isNull());
}

void TestPictureCache::failedWriteKeepsThePreviousFile() {
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("picture"));
    QVERIFY(picturecache::write(file, QStringLiteral("k"), sample()));
    const QByteArray before = bytesOf(file);
    QVERIFY(!picturecache::write(file, QStringLiteral("k"), QImage()));
    // A folder where the file should be: it cannot be replaced.
    const QString blocked = folder.filePath(QStringLiteral("blocked"));
    QVERIFY(QDir().mkpath(blocked));
    QVERIFY(!picturecache::write(blocked, QStringLiteral("k"), sample()));
    QCOMPARE(bytesOf(file), before);
}

QTEST_MAIN(TestPictureCache)
#include "tst_picturecache.moc"
