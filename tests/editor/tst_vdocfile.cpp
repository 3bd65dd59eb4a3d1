#include "editor/eddocument.h"
#include "editor/vdocreader.h"
#include "editor/vdocwriter.h"
#include "editor/zlibcodec.h"
#include "support/sampledocument.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>

namespace {

QByteArray fileWithPayload(const QByteArray& payload) {
    QByteArray header("VDOC\x01\x00\x00\x00", 8);
    const quint32 size = static_cast<quint32>(payload.size());
    for (int shift = 0; shift < 32; shift += 8)
        header.append(static_cast<char>((size >> shift) & 0xFF));
    return header + zlibcodec::compress(payload);
}

QByteArray payloadOf(const QByteArray& file) {
    QByteArray payload;
    const quint32 size = static_cast<quint8>(file[8]) | static_cast<quint8>(file[9]) << 8 |
                         static_cast<quint8>(file[10]) << 16 | static_cast<quint8>(file[11]) << 24;
    if (!zlibcodec::decompress(QByteArrayView(file).sliced(12), size, payload))
        qFatal("cannot unpack the fixture");
    return payload;
}

bool loads(const QByteArray& file) {
    EdDocument document;
    return VDocReader::read(file, document);
}

QByteArray everyKindFile() {
    EdDocument document;
    sampledocument::fillWithEveryKind(document);
    return VDocWriter::write(document);
}

} // namespace

class TestVDocFile : public QObject {
    Q_OBJECT

private slots:
    void roundTripKeepsEverything();
    void roundTripOfAnEmptyDocument();
    void fileOnDisk();
    void damagedHeader_data();
    void damagedHeader();
    void truncatedAnywhere();
    void payloadCutAtEveryByte();
    void lengthsAndCountsPastTheEnd_data();
    void lengthsAndCountsPastTheEnd();
    void randomDamageNeverCrashes();
};

void TestVDocFile::roundTripKeepsEverything() {
    EdDocument original;
    sampledocument::fillWithEveryKind(original);
    const QByteArray file = VDocWriter::write(original);
    QVERIFY(file.startsWith("VDOC"));

    EdDocument loaded;
    // Loading brings the file's style sheet in, whatever was there before.
    loaded.docStyle().TextStyles.clear();
    QVERIFY(VDocReader::read(file, loaded));
    QCOMPARE(sampledocument::dump(loaded), sampledocument::dump(original));
    QVERIFY(loaded.docStyle() == original.docStyle());
    QCOMPARE(VDocWriter::write(loaded), file);

    // The pictures come back byte for byte: the GIF stays a GIF.
    QString fileName;
    QVERIFY(loaded.ItemPictureFile(loaded.rootData(), 6, fileName));
    const DocItem gif = loaded.rootData().items().at(6);
    QCOMPARE(DocPicture::fromFormat(gif.format.toImageFormat()).bytes, sampledocument::gifBytes());
}

void TestVDocFile::roundTripOfAnEmptyDocument() {
    EdDocument original;
    EdDocument loaded;
    QTextCursor cursor(loaded.textDocument());
    loaded.insertText(cursor, QStringLiteral("old content"), 1);
    loaded.clear();
    QVERIFY(VDocReader::read(VDocWriter::write(original), loaded));
    QCOMPARE(sampledocument::dump(loaded), sampledocument::dump(original));
}

void TestVDocFile::fileOnDisk() {
    QTemporaryDir folder;
    const QString fileName = folder.filePath(QStringLiteral("doc.vdoc"));
    EdDocument original;
    sampledocument::fillWithEveryKind(original);
    VDocWriter::writeFile(original, fileName);
    EdDocument loaded;
    QVERIFY(VDocReader::readFile(fileName, loaded));
    QCOMPARE(sampledocument::dump(loaded), sampledocument::dump(original));
    QVERIFY(!VDocReader::readFile(folder.filePath(QStringLiteral("missing.vdoc")), loaded));
}

void TestVDocFile::damagedHeader_data() {
    QTest::addColumn<QByteArray>("file");
    const QByteArray good = everyKindFile();
    QByteArray wrongMagic = good;
    wrongMagic[0] = 'X';
    QByteArray wrongVersion = good;
    wrongVersion[4] = 2;
    QByteArray sizeTooSmall = good;
    sizeTooSmall[8] = static_cast<char>(static_cast<quint8>(good[8]) - 1);
    QByteArray sizeTooLarge = good;
    sizeTooLarge[9] = static_cast<char>(static_cast<quint8>(good[9]) + 1);
    QByteArray sizeHuge = good;
    sizeHuge[11] = static_cast<char>(0x7F);
    QTest::newRow("zero length") << QByteArray();
    QTest::newRow("header only") << good.left(12);
    QTest::newRow("wrong magic") << wrongMagic;
    QTest::newRow("newer version") << wrongVersion;
    QTest::newRow("payload size one short") << sizeTooSmall;
    QTest::newRow("payload size too large") << sizeTooLarge;
    QTest::newRow("payload size past every limit") << sizeHuge;
    QTest::newRow("trailing bytes after the stream") << good + QByteArray("junk");
    QTest::newRow("payload not compressed") << good.left(12) + payloadOf(good);
}

void TestVDocFile::damagedHeader() {
    QFETCH(QByteArray, file);
    QVERIFY(!loads(file));
}

void TestVDocFile::truncatedAnywhere() {
    const QByteArray good = everyKindFile();
    for (qsizetype size = 0; size < good.size(); ++size)
        QVERIFY2(!loads(good.left(size)), qPrintable(QString::number(size)));
}

void TestVDocFile::payloadCutAtEveryByte() {
    // A well-compressed payload that ends early: every section's reader must
    // notice that its data is missing.
    const QByteArray payload = payloadOf(everyKindFile());
    QVERIFY(loads(fileWithPayload(payload)));
    for (qsizetype size = 0; size < payload.size(); ++size)
        QVERIFY2(!loads(fileWithPayload(payload.left(size))), qPrintable(QString::number(size)));
}

void TestVDocFile::lengthsAndCountsPastTheEnd_data() {
    QTest::addColumn<int>("offset");
    // The payload starts with the text style count, then the first style's
    // name length; both are patched to 0xFFFFFFFF and to just past the end.
    QTest::newRow("text style count") << 0;
    QTest::newRow("first style name length") << 4;
}

void TestVDocFile::lengthsAndCountsPastTheEnd() {
    QFETCH(int, offset);
    const QByteArray payload = payloadOf(everyKindFile());
    for (quint32 value : {0xFFFFFFFFu, 0x80000000u, static_cast<quint32>(payload.size())}) {
        QByteArray damaged = payload;
        for (int i = 0; i < 4; ++i)
            damaged[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
        QVERIFY(!loads(fileWithPayload(damaged)));
    }
}

void TestVDocFile::randomDamageNeverCrashes() {
    // Flipped bytes inside a valid stream reach every reader; the result may
    // be a failure or a (different) document, but never a crash or a hang.
    QRandomGenerator random(20261209);
    const QByteArray payload = payloadOf(everyKindFile());
    for (int round = 0; round < 300; ++round) {
        QByteArray damaged = payload;
        for (int flips = 1 + random.bounded(4); flips > 0; --flips)
            damaged[random.bounded(static_cast<int>(damaged.size()))] =
                static_cast<char>(random.bounded(256));
        loads(fileWithPayload(damaged));
    }
    for (int round = 0; round < 50; ++round) {
        QByteArray noise(random.bounded(1, 2000), Qt::Uninitialized);
        for (char& byte : noise)
            byte = static_cast<char>(random.bounded(256));
        QVERIFY(!loads(noise));
        QVERIFY(!loads(QByteArray("VDOC\x01\x00\x00\x00\x10\x00\x00\x00", 12) + noise));
    }
}

QTEST_MAIN(TestVDocFile)
#include "tst_vdocfile.moc"
