#include "platform/windows1252.h"

#include <QSet>
#include <QStringDecoder>
#include <QTest>

class TestWindows1252 : public QObject {
    Q_OBJECT

private slots:
    void everyByteRoundTrips();
    void bytesMeanWhatTheCodePageSays();
    void everyOtherCharacterIsUnmappable();
    void unmappableCharactersAreCollected();
};

void TestWindows1252::everyByteRoundTrips() {
    QByteArray bytes;
    for (int byte = 0; byte < 256; ++byte)
        bytes.append(static_cast<char>(byte));
    const QString text = windows1252::decode(bytes);
    QCOMPARE(text.size(), 256);
    QVERIFY(windows1252::canEncode(text));
    QCOMPARE(windows1252::encode(text), bytes);
    for (int byte = 0; byte < 256; ++byte)
        QCOMPARE(windows1252::decodeByte(static_cast<unsigned char>(byte)), text[byte]);
}

void TestWindows1252::bytesMeanWhatTheCodePageSays() {
    QStringDecoder reference("windows-1252");
    if (!reference.isValid())
        QSKIP("no Windows-1252 codec in this Qt");
    for (int byte = 0; byte < 256; ++byte) {
        // The five bytes the code page leaves undefined are ours to map.
        if (byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D)
            continue;
        const char single = static_cast<char>(byte);
        QCOMPARE(windows1252::decodeByte(static_cast<unsigned char>(byte)),
                 QString(reference(QByteArrayView(&single, 1))).at(0));
    }
}

void TestWindows1252::everyOtherCharacterIsUnmappable() {
    QSet<char16_t> inCodePage;
    for (int byte = 0; byte < 256; ++byte)
        inCodePage.insert(windows1252::decodeByte(static_cast<unsigned char>(byte)).unicode());
    for (int code = 0; code < 0x10000; ++code) {
        const int byte = windows1252::encodeChar(QChar(char16_t(code)));
        if (inCodePage.contains(char16_t(code)))
            QCOMPARE(windows1252::decodeByte(static_cast<unsigned char>(byte)).unicode(),
                     char16_t(code));
        else
            QCOMPARE(byte, -1);
    }
}

void TestWindows1252::unmappableCharactersAreCollected() {
    QString unmappable;
    QCOMPARE(windows1252::encode(u"a\u0416\U0001F600\u20ac", &unmappable), QByteArray("a??\x80"));
    QCOMPARE(unmappable, QStringLiteral("\u0416\U0001F600"));
    QCOMPARE(windows1252::encode(u"\xD800x"), QByteArray("?x"));
    QVERIFY(!windows1252::canEncode(u"\u0416"));
}

QTEST_GUILESS_MAIN(TestWindows1252)
#include "tst_windows1252.moc"
