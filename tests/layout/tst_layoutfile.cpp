#include "layout/layoutfile.h"
#include "layout/layoutrules.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

Q_DECLARE_METATYPE(LayoutFileContent)

namespace {

QByteArray contentsOf(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void writeBytes(const QString& fileName, const QByteArray& bytes) {
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

/// "SECTION/Key" of every key line, in file order.
QStringList keyLines(const QByteArray& bytes) {
    QStringList keys;
    QString section;
    for (const QByteArray& raw : bytes.split('\n')) {
        const QString line = QString::fromLatin1(raw).trimmed();
        if (line.startsWith(QLatin1Char('[')))
            section = line.mid(1, line.size() - 2);
        else if (line.contains(QLatin1Char('=')))
            keys.append(section + QLatin1Char('/') + line.section(QLatin1Char('='), 0, 0));
    }
    return keys;
}

/// A layout with every field away from its default.
LayoutFileContent everythingChanged() {
    LayoutFileContent c;
    Layout& l = c.layout;
    l.AdWidthValue = QStringLiteral("755");
    l.AdWidthType = QStringLiteral("0");
    l.AdBackCol = QStringLiteral("#A0B0C0");
    l.AdCenter = false;
    l.AdImg = QStringLiteral("/My images/page.jpg");
    l.AdImgHide = false;
    l.AdHideCol = false;
    l.OBWidth = QStringLiteral("3");
    l.OBColor = QStringLiteral("#112233");
    l.OBType = QStringLiteral("double");
    l.FWidth = QStringLiteral("12");
    l.FBgCol = QStringLiteral("#445566");
    l.FBgHideCol = false;
    l.FBgImg = QStringLiteral("/My images/fr\u00e8me.gif");
    l.FImgHide = false;
    l.FImgRepX = false;
    l.FImgRepY = false;
    l.FBWidth = QStringLiteral("2");
    l.FBType = QStringLiteral("dotted");
    l.FBCol = QStringLiteral("#778899");
    l.TxtPadLeft = QStringLiteral("5");
    l.TxtPadRight = QStringLiteral("10");
    l.TxtPadTop = QStringLiteral("20");
    l.TxtBgCol = QStringLiteral("#FEDCBA");
    l.TxtHideCol = true;
    l.TxtBgImg = QStringLiteral("/backgrounds/paper.png");
    l.TxtImgHide = false;
    l.TxtRepeatX = false;
    l.TxtRepeatY = false;
    l.TxtCol = QStringLiteral("#010203");
    c.TxtAllMargins = false;
    return c;
}

} // namespace

class TestLayoutFile : public QObject {
    Q_OBJECT

private slots:
    void newFileHoldsTheKeysInOrder();
    void savingOverAFileKeepsEverythingElse();
    void writtenFileReadsBackTheSame_data();
    void writtenFileReadsBackTheSame();
    void readingFillsDefaults_data();
    void readingFillsDefaults();
    void loadedNumbersCanBeCaptured_data();
    void loadedNumbersCanBeCaptured();
    void failedWriteNamesTheFile();
    void interruptedWriteLeavesTheFile();
    void unstorableValueWritesNothing_data();
    void unstorableValueWritesNothing();
    void shippedDefaultLayoutSpellsEveryKey();

private:
    QTemporaryDir m_dir;
    QString path(const char* name) const { return m_dir.filePath(QLatin1String(name)); }
};

void TestLayoutFile::newFileHoldsTheKeysInOrder() {
    const QString file = path("new.rbs");
    QVERIFY(layoutfile::write(file, LayoutFileContent{}));
    const QByteArray bytes = contentsOf(file);
    const QStringList keys = keyLines(bytes);
    QCOMPARE(keys.size(), 32);
    QCOMPARE(keys, layoutfile::writtenKeys());
    QCOMPARE(keys.mid(15, 3), (QStringList{"FRAME/FBType", "FRAME/FBcol", "FRAME/FBgImg"}));
    QVERIFY(keys.contains(QStringLiteral("TEXT/TxTImgHide")));
    // Flags as "1"/"0", an absent picture as nothing after the equals sign,
    // and the frame's second transparency key in step with the first.
    QVERIFY(bytes.contains("AdCenter=1\r\n"));
    QVERIFY(bytes.contains("TxtHideCol=0\r\n"));
    QVERIFY(bytes.contains("AdImg=\r\n"));
    QVERIFY(bytes.contains("FHideCol=1\r\nFBgHideCol=1\r\n"));
    QVERIFY(bytes.startsWith("[POS]\r\nAdWidthValue=690\r\n"));
}

void TestLayoutFile::savingOverAFileKeepsEverythingElse() {
    const QString file = path("notes.rbs");
    writeBytes(file, "[POS]\r\nAdWidthValue=300\r\nSellerNote=keep me\r\n"
                     "[NOTES]\r\nline1=My summer layout\r\n; a comment\r\n");
    QVERIFY(layoutfile::write(file, everythingChanged()));
    const QByteArray bytes = contentsOf(file);
    QVERIFY(bytes.contains("AdWidthValue=755\r\nSellerNote=keep me\r\n"));
    QVERIFY(bytes.contains("[NOTES]\r\nline1=My summer layout\r\n; a comment\r\n"));
    QCOMPARE(bytes.count("AdWidthValue"), 1);
    QCOMPARE(keyLines(bytes).size(), 32 + 2);
}

void TestLayoutFile::writtenFileReadsBackTheSame_data() {
    QTest::addColumn<LayoutFileContent>("content");
    QTest::newRow("defaults") << LayoutFileContent{};
    QTest::newRow("every field changed") << everythingChanged();
    LayoutFileContent unusual = everythingChanged();
    unusual.layout.AdWidthType = QStringLiteral("2");
    unusual.layout.OBType = QStringLiteral("Dotted");
    unusual.layout.TxtPadTop = QString();
    QTest::newRow("values the controls would not give") << unusual;
}

void TestLayoutFile::writtenFileReadsBackTheSame() {
    QFETCH(LayoutFileContent, content);
    const QString file = path("roundtrip.rbs");
    QFile::remove(file);
    QVERIFY(layoutfile::write(file, content));
    const LayoutFileContent back = layoutfile::read(file).value();
    QCOMPARE(back.layout, content.layout);
    QCOMPARE(back.TxtAllMargins, content.TxtAllMargins);
}

void TestLayoutFile::readingFillsDefaults_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<LayoutFileContent>("expected");

    const LayoutFileContent defaults;
    QTest::newRow("missing file") << QByteArray() << defaults;
    LayoutFileContent textOnly;
    textOnly.layout.TxtPadLeft = QStringLiteral("8");
    QTest::newRow("only a TEXT section") << QByteArray("[TEXT]\nTxtPadLeft=8\n") << textOnly;

    LayoutFileContent spelled;
    spelled.layout.FBCol = QStringLiteral("#123456");
    spelled.layout.TxtImgHide = false;
    QTest::newRow("writer's spelling")
        << QByteArray("[FRAME]\nFBcol=#123456\n[TEXT]\nTxTImgHide=0\n") << spelled;
    QTest::newRow("reader's spelling")
        << QByteArray("[frame]\nFBCol=#123456\n[Text]\nTxtImgHide=0\n") << spelled;

    LayoutFileContent flags;
    flags.layout.AdCenter = false;
    flags.layout.TxtHideCol = true;
    flags.TxtAllMargins = false;
    QTest::newRow("flags: zero, non-zero, not a number")
        << QByteArray("[POS]\nAdCenter=0\nAdImgHide=yes\n[TEXT]\nTxtHideCol=5\n"
                      "TxtAllMargins=0\nTxtRepeatX=\n")
        << flags;

    LayoutFileContent widthType;
    widthType.layout.AdWidthType = QStringLiteral("2");
    QTest::newRow("width type 2 read as it stands")
        << QByteArray("[POS]\nAdWidthType=2\n") << widthType;

    LayoutFileContent secondCopy;
    QTest::newRow("FHideCol is never read") << QByteArray("[FRAME]\nFHideCol=0\n") << secondCopy;
}

void TestLayoutFile::readingFillsDefaults() {
    QFETCH(QByteArray, text);
    QFETCH(LayoutFileContent, expected);
    const QString file = path("read.rbs");
    QFile::remove(file);
    if (!text.isEmpty())
        writeBytes(file, text);
    const LayoutFileContent read = layoutfile::read(file).value();
    QCOMPARE(read.layout, expected.layout);
    QCOMPARE(read.TxtAllMargins, expected.TxtAllMargins);
}

void TestLayoutFile::loadedNumbersCanBeCaptured_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<LayoutFileContent>("expected");

    LayoutFileContent numbers;
    numbers.layout.FWidth = QStringLiteral("5");
    numbers.layout.TxtPadLeft = QString();
    numbers.layout.TxtPadRight = QStringLiteral("-2");
    QTest::newRow("numbers that are not integers take their defaults")
        << QByteArray("[POS]\nAdWidthValue=7.5\n[OUTER]\nOBWidth=3x\n[FRAME]\nFWidth=5\n"
                      "FBWidth=0x10\n[TEXT]\nTxtPadLeft=\nTxtPadTop=- 1\nTxtPadRight=-2\n")
        << numbers;
}

void TestLayoutFile::loadedNumbersCanBeCaptured() {
    QFETCH(QByteArray, text);
    QFETCH(LayoutFileContent, expected);
    const QString file = path("numbers.rbs");
    writeBytes(file, text);
    const Layout loaded = withCapturableNumbers(layoutfile::read(file)->layout);
    QCOMPARE(loaded, expected.layout);
    normalised(loaded); // does not throw
}

void TestLayoutFile::failedWriteNamesTheFile() {
    const QString file = path("no such folder/layout.rbs");
    const Status written = layoutfile::write(file, LayoutFileContent{});
    QVERIFY2(!written, "the write should have failed");
    QVERIFY2(written.error().contains(file), qPrintable(written.error()));
}

void TestLayoutFile::interruptedWriteLeavesTheFile() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("mine.rbs"));
    const QByteArray before("[POS]\r\nAdWidthValue=300\r\n");
    writeBytes(file, before);

    // The file may not grow beyond a few bytes, so the new content cannot all
    // be written, even for root; the signal that would end the process is
    // ignored.
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 100;
    std::signal(SIGXFSZ, SIG_IGN);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    const QString message = layoutfile::write(file, everythingChanged()).error();
    setrlimit(RLIMIT_FSIZE, &old);

    QVERIFY2(message.contains(file), qPrintable(message));
    QCOMPARE(contentsOf(file), before);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList(QStringLiteral("mine.rbs")));
}

void TestLayoutFile::unstorableValueWritesNothing_data() {
    QTest::addColumn<QByteArray>("before"); // null: no file
    QTest::addColumn<LayoutFileContent>("content");
    QTest::addColumn<QString>("key");

    // A picture name the file's code page cannot hold. Each key used to be
    // its own file replacement, so the keys before it reached the file.
    const QString paper = QString::fromUtf8("/backgrounds/\u7D19.png");
    LayoutFileContent late = everythingChanged();
    late.layout.TxtBgImg = paper;
    QTest::newRow("27th key of an existing file")
        << QByteArray("[POS]\r\nAdWidthValue=300\r\n; mine\r\n[TEXT]\r\nTxtBgImg=old.png\r\n")
        << late << "TxtBgImg";
    LayoutFileContent early;
    early.layout.AdImg = paper;
    QTest::newRow("6th key of a new file") << QByteArray() << early << "AdImg";
}

void TestLayoutFile::unstorableValueWritesNothing() {
    QFETCH(QByteArray, before);
    QFETCH(LayoutFileContent, content);
    QFETCH(QString, key);
    const QString file = path("unstorable.rbs");
    QFile::remove(file);
    if (!before.isNull())
        writeBytes(file, before);
    const Status written = layoutfile::write(file, content);
    QVERIFY2(!written, "the write should have failed");
    QVERIFY2(written.error().contains(file) && written.error().contains(key),
             qPrintable(written.error()));
    QCOMPARE(QFile::exists(file), !before.isNull());
    QCOMPARE(contentsOf(file), before);
}

void TestLayoutFile::shippedDefaultLayoutSpellsEveryKey() {
    // A misspelt key would silently read as its default.
    const QString file = QCoreApplication::applicationDirPath() + QStringLiteral("/Default.rbs");
    QCOMPARE(keyLines(contentsOf(file)), layoutfile::writtenKeys());
}

QTEST_GUILESS_MAIN(TestLayoutFile)
#include "tst_layoutfile.moc"
