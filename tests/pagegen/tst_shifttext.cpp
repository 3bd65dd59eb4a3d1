#include "listing/serverlist.h"
#include "pagegen/shifttext.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray everyByte() {
    QByteArray bytes(256, Qt::Uninitialized);
    for (int b = 0; b < 256; ++b)
        bytes[b] = static_cast<char>(b);
    return bytes;
}

// The stored form of one byte under a key.
unsigned char stored(int byte, int key) {
    return static_cast<unsigned char>((byte + key) % 256);
}

bool isLineBreak(unsigned char byte) {
    return byte == '\r' || byte == '\n';
}

} // namespace

class TestShiftText : public QObject {
    Q_OBJECT

private slots:
    void lowersEveryByte_data();
    void lowersEveryByte();
    void keysKeepLineBreaksApart();
    void templateTextIsStoredOnOneLine();
    void serverAddressesSurviveTheSettingsReader();
    void shippedServerListHoldsPlainAddresses();
    void toolRefusesAnOutputThatIsItsInput_data();
    void toolRefusesAnOutputThatIsItsInput();
    void toolFailsOnAMissingInput_data();
    void toolFailsOnAMissingInput();
};

void TestShiftText::lowersEveryByte_data() {
    QTest::addColumn<int>("count");
    QTest::newRow("server-list key") << shiftkeys::ServerListKey;
    QTest::newRow("template key") << shiftkeys::TemplateKey;
    QTest::newRow("count above 255") << 300;
}

void TestShiftText::lowersEveryByte() {
    QFETCH(int, count);
    const QByteArray plain = everyByte();
    const QByteArray shifted = ShiftText(plain, count);
    QCOMPARE(shifted.size(), plain.size());
    for (int b = 0; b < 256; ++b)
        QCOMPARE(static_cast<unsigned char>(shifted[b]),
                 static_cast<unsigned char>((b - count) & 0xFF));
    QCOMPARE(ShiftText(plain, count + 256), shifted);
    QCOMPARE(ShiftText(ShiftText(plain, 256 - count % 256), count), plain);
}

void TestShiftText::keysKeepLineBreaksApart() {
    for (int key : {shiftkeys::TemplateKey, shiftkeys::ServerListKey}) {
        QVERIFY2(!isLineBreak(stored('\r', key)), qPrintable(QString::number(key)));
        QVERIFY2(!isLineBreak(stored('\n', key)), qPrintable(QString::number(key)));
    }
}

void TestShiftText::templateTextIsStoredOnOneLine() {
    // Tab, line breaks, printable ASCII and everything from 0x80 up.
    QList<int> textBytes = {'\t', '\n', '\r'};
    for (int b = 0x20; b < 0x100; ++b)
        textBytes.append(b);
    for (int byte : textBytes)
        QVERIFY2(!isLineBreak(stored(byte, shiftkeys::TemplateKey)),
                 qPrintable(QString::number(byte, 16)));
}

void TestShiftText::serverAddressesSurviveTheSettingsReader() {
    const QByteArray unsafe("\r\n \t\"'");
    for (int byte = 0x21; byte < 0x7F; ++byte)
        QVERIFY2(!unsafe.contains(static_cast<char>(stored(byte, shiftkeys::ServerListKey))),
                 qPrintable(QString::number(byte, 16)));
}

void TestShiftText::shippedServerListHoldsPlainAddresses() {
    const QString file =
        QCoreApplication::applicationDirPath() + QStringLiteral("/shared/vtrlsrv.dft");
    // Shipped even when it names no server.
    QVERIFY2(QFile::exists(file), qPrintable(file));
    const auto servers = serverlist::readProductServers(file, u'0');
    // The list holds the servers the build was configured with, or none.
    for (const QString& server : servers) {
        if (serverlist::productServersOffered())
            QVERIFY2(server.startsWith(QLatin1String("http")) &&
                         server.endsWith(QLatin1Char('/')) &&
                         server.size() > int(sizeof "https://"),
                     qPrintable(server));
        else
            QCOMPARE(server, QStringLiteral("http://"));
    }
    // Nothing a build without servers ships is offered.
    if (!serverlist::productServersOffered())
        QCOMPARE(serverlist::offeredProductServers(file, u'0'), (std::array<QString, 3>{}));
}

void TestShiftText::toolRefusesAnOutputThatIsItsInput_data() {
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("output"); // how the output names the input "in.ini"

    QTest::newRow("ini, same path") << "ini"
                                    << "in.ini";
    QTest::newRow("file, same path") << "file"
                                     << "in.ini";
    QTest::newRow("utf8, path through the folder itself") << "utf8"
                                                          << "./sub/../in.ini";
    QTest::newRow("ini, symbolic link to the input") << "ini"
                                                     << "link.ini";
}

void TestShiftText::toolRefusesAnOutputThatIsItsInput() {
    QFETCH(QString, mode);
    QFETCH(QString, output);
    QTemporaryDir dir;
    const QDir folder(dir.path());
    QVERIFY(folder.mkdir(QStringLiteral("sub")));
    const QString input = folder.filePath(QStringLiteral("in.ini"));
    const QByteArray before("[s]\r\nk=value\r\n");
    {
        QFile file(input);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(before);
    }
    QVERIFY(QFile::link(input, folder.filePath(QStringLiteral("link.ini"))));

    // A build tool: it lands in the build's tools folder, beside bin.
    QProcess tool;
    tool.start(QCoreApplication::applicationDirPath() + QStringLiteral("/../tools/vantrel-shift"),
               {mode, QStringLiteral("server"), input, folder.filePath(output)});
    QVERIFY(tool.waitForFinished());
    QCOMPARE(tool.exitStatus(), QProcess::NormalExit);
    QCOMPARE(tool.exitCode(), 2);
    QVERIFY2(tool.readAllStandardError().contains("both the input and the output"),
             "the refusal says why");
    QFile file(input);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
}

void TestShiftText::toolFailsOnAMissingInput_data() {
    QTest::addColumn<QString>("mode");
    QTest::newRow("ini") << "ini";
    QTest::newRow("file") << "file";
    QTest::newRow("utf8") << "utf8";
}

void TestShiftText::toolFailsOnAMissingInput() {
    QFETCH(QString, mode);
    QTemporaryDir dir;
    const QDir folder(dir.path());
    const QString output = folder.filePath(QStringLiteral("out.ini"));
    QProcess tool;
    tool.start(
        QCoreApplication::applicationDirPath() + QStringLiteral("/../tools/vantrel-shift"),
        {mode, QStringLiteral("server"), folder.filePath(QStringLiteral("gone.ini")), output});
    QVERIFY(tool.waitForFinished());
    QCOMPARE(tool.exitStatus(), QProcess::NormalExit);
    QCOMPARE(tool.exitCode(), 1);
    QVERIFY2(tool.readAllStandardError().contains("gone.ini"), "the failure names the input");
    QVERIFY2(!QFile::exists(output), "no output is left from a missing input");
}

QTEST_GUILESS_MAIN(TestShiftText)
#include "tst_shifttext.moc"
