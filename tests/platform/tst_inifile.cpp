#include "platform/apperror.h"
#include "platform/inifile.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <cstddef>
#include <functional>
#include <sys/resource.h>

namespace {

// The bytes of a literal that holds NUL bytes, without its terminating NUL.
template <std::size_t N>
QByteArray bytesOf(const char (&text)[N]) {
    return QByteArray(text, N - 1);
}

// A file as an editor saves it in UTF-16 ("Unicode"), with its byte-order mark.
QByteArray utf16(const QString& text, bool littleEndian = true) {
    QStringEncoder encoder(littleEndian ? QStringEncoder::Utf16LE : QStringEncoder::Utf16BE);
    return (littleEndian ? QByteArray("\xFF\xFE") : QByteArray("\xFE\xFF")) +
           QByteArray(encoder(text));
}

} // namespace

class TestIniFile : public QObject {
    Q_OBJECT

private slots:
    void readString_data();
    void readString();
    void readInteger_data();
    void readInteger();
    void write_data();
    void write();
    void deleteKey_data();
    void deleteKey();
    void sectionKeysInFileOrder();
    void sectionKeysLeaveOutCommentsAndEmptyNames();
    void oversizeFileIsRefused();
    void failedWriteKeepsPreviousFile();
    void leftoverTemporaryFileGoesAtNextWrite();
    void batch_data();
    void batch();

private:
    QString writeFile(const QByteArray& bytes, const char* name = "test.ini");
    QByteArray fileBytes() const;

    QTemporaryDir m_dir;
    QString m_path;
};

QString TestIniFile::writeFile(const QByteArray& bytes, const char* name) {
    m_path = m_dir.filePath(QLatin1String(name));
    QFile::remove(m_path);
    if (!bytes.isNull()) {
        QFile file(m_path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write the fixture");
    }
    return m_path;
}

QByteArray TestIniFile::fileBytes() const {
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void TestIniFile::readString_data() {
    QTest::addColumn<QByteArray>("content"); // null: no file at all
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected"); // default is "dflt"

    const QByteArray basic("[General]\r\nlang=fr\r\n");
    QTest::newRow("nominal") << basic << "General"
                             << "lang"
                             << "fr";
    QTest::newRow("names ignore letter case") << basic << "GENERAL"
                                              << "LANG"
                                              << "fr";
    QTest::newRow("names asked for are trimmed") << basic << " General\t"
                                                 << " lang "
                                                 << "fr";
    QTest::newRow("UTF-8 byte-order mark before the first section")
        << QByteArray("\xEF\xBB\xBF[General]\r\nlang=fr\r\n") << "General"
        << "lang"
        << "fr";
    QTest::newRow("UTF-16 file") << utf16(
                                        QString::fromUtf8("[General]\r\nname=Caf\u00E9 \u20AC\r\n"))
                                 << "general"
                                 << "NAME" << QString::fromUtf8("Caf\u00E9 \u20AC");
    QTest::newRow("UTF-16 big-endian file")
        << utf16(QString::fromUtf8("[s]\nk=\u7D19\n"), false) << "s"
        << "k" << QString::fromUtf8("\u7D19");
    QTest::newRow("UTF-16 file: a name ending in NEL")
        << utf16(QString::fromUtf8("[Sites]\r\neBay\u0085=https://ebay.example/\r\n")) << "Sites"
        << "eBay"
        << "https://ebay.example/";
    QTest::newRow("UTF-8 file with its mark")
        << QByteArray("\xEF\xBB\xBF[s]\nk=Caf\xC3\xA9\n") << "s"
        << "k" << QString::fromUtf8("Caf\u00E9");
    QTest::newRow("damaged: UTF-8 mark before Windows-1252 bytes")
        << QByteArray("\xEF\xBB\xBF[s]\nk=Caf\xE9\n") << "s"
        << "k" << QString::fromUtf8("Caf\u00E9");
    QTest::newRow("missing file") << QByteArray() << "General"
                                  << "lang"
                                  << "dflt";
    QTest::newRow("missing section") << basic << "Other"
                                     << "lang"
                                     << "dflt";
    QTest::newRow("missing key") << basic << "General"
                                 << "srvSet"
                                 << "dflt";
    QTest::newRow("other white space around names, as listed")
        << QByteArray("[\vSites\xA0]\r\neBay Deutschland\xA0=https://ebay.example/\r\n") << "Sites"
        << "eBay Deutschland"
        << "https://ebay.example/";
    QTest::newRow("other white space around names, as asked for")
        << QByteArray("[Sites]\r\n\fAlpha\t\v=https://alpha.example/\r\n")
        << QString::fromUtf8("Sites\u0085") << QString::fromUtf8("\u00A0Alpha\f")
        << "https://alpha.example/";
    QTest::newRow("other white space around a value") << QByteArray("[s]\nk=\v\xA0\f fr\f\n") << "s"
                                                      << "k"
                                                      << "fr";
    QTest::newRow("blanks around name and value")
        << QByteArray("  [ General ]  \n \tlang \t=  fr x \t\n") << "General"
        << "lang"
        << "fr x";
    QTest::newRow("double quotes removed") << QByteArray("[s]\nk=\" a b \"\n") << "s"
                                           << "k"
                                           << " a b ";
    QTest::newRow("single quotes removed") << QByteArray("[s]\nk='x'\n") << "s"
                                           << "k"
                                           << "x";
    QTest::newRow("only one pair removed") << QByteArray("[s]\nk=\"'x'\"\n") << "s"
                                           << "k"
                                           << "'x'";
    QTest::newRow("unmatched quotes kept") << QByteArray("[s]\nk=\"x'\n") << "s"
                                           << "k"
                                           << "\"x'";
    QTest::newRow("lone quote kept") << QByteArray("[s]\nk=\"\n") << "s"
                                     << "k"
                                     << "\"";
    QTest::newRow("empty value") << QByteArray("[s]\nk=\n") << "s"
                                 << "k"
                                 << "";
    QTest::newRow("equals in value") << QByteArray("[s]\nk=a=b\n") << "s"
                                     << "k"
                                     << "a=b";
    QTest::newRow("key before any section ignored") << QByteArray("k=1\n[s]\n") << "s"
                                                    << "k"
                                                    << "dflt";
    QTest::newRow("first of two equal sections") << QByteArray("[s]\nk=1\n[S]\nk=2\n") << "s"
                                                 << "k"
                                                 << "1";
    QTest::newRow("key of next section not taken") << QByteArray("[a]\n[b]\nk=2\n") << "a"
                                                   << "k"
                                                   << "dflt";
    QTest::newRow("long value cut to 2047") << QByteArray("[s]\nk=") + QByteArray(5000, 'v') + "\n"
                                            << "s"
                                            << "k" << QString(2047, QLatin1Char('v'));
    QTest::newRow("windows-1252 bytes") << QByteArray("[s]\nk=\xA3\x80\xE9\n") << "s"
                                        << "k" << QString::fromUtf8("£€é");
    QTest::newRow("damaged: CR-only line ends") << QByteArray("[s]\rj=0\rk=v\r") << "s"
                                                << "k"
                                                << "v";
    QTest::newRow("damaged: mixed line ends") << QByteArray("[s]\r\nj=0\rk=v\n\nx=1") << "s"
                                              << "k"
                                              << "v";
    QTest::newRow("damaged: NUL bytes and junk")
        << bytesOf("\x00\xFF\xFE[junk\x00\n\x01\x02=\x03\n[s]\nk=v\x00w\n") << "s"
        << "k" << QString::fromLatin1("v\0w", 3);
    QTest::newRow("damaged: no sections") << QByteArray("k=v\nj=w\n") << "s"
                                          << "k"
                                          << "dflt";
    QTest::newRow("damaged: megabyte line before the key")
        << QByteArray("[s]\n") + QByteArray((1 << 20) - 16, 'x') + "\nk=v\n"
        << "s"
        << "k"
        << "v";
    QTest::newRow("header name holding ]") << QByteArray("[a]b]\r\nk=v\r\n") << "a]b"
                                           << "k"
                                           << "v";
    QTest::newRow("header name runs to the last ]") << QByteArray("[a]b]\r\nk=v\r\n") << "a"
                                                    << "k"
                                                    << "dflt";
    QTest::newRow("damaged: unclosed header is no header")
        << QByteArray("[s]\r\n[abc\r\nk=v\r\n") << "s"
        << "k"
        << "v";
    QTest::newRow("damaged: header without bracket") << QByteArray("[s\nk=v\n") << "s"
                                                     << "k"
                                                     << "dflt";
}

void TestIniFile::readString() {
    QFETCH(QByteArray, content);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    const IniFile ini(writeFile(content));
    QCOMPARE(ini.readString(section, key, QStringLiteral("dflt")), expected);
}

void TestIniFile::readInteger_data() {
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<int>("integer");  // default is -77
    QTest::addColumn<bool>("boolean"); // default is true

    QTest::newRow("decimal") << QByteArray("12") << 12 << true;
    QTest::newRow("zero") << QByteArray("0") << 0 << false;
    QTest::newRow("negative") << QByteArray("-5") << -5 << true;
    QTest::newRow("hexadecimal") << QByteArray("0x1F") << 31 << true;
    QTest::newRow("hexadecimal upper case") << QByteArray("0XfF") << 255 << true;
    QTest::newRow("hexadecimal all bits") << QByteArray("0xFFFFFFFF") << -1 << true;
    QTest::newRow("quoted") << QByteArray("\"3\"") << 3 << true;
    QTest::newRow("trailing text") << QByteArray("12abc") << -77 << true;
    QTest::newRow("empty") << QByteArray("") << -77 << true;
    QTest::newRow("words") << QByteArray("yes") << -77 << true;
    QTest::newRow("prefix only") << QByteArray("0x") << -77 << true;
    QTest::newRow("too large") << QByteArray("99999999999") << -77 << true;
    QTest::newRow("decimal point") << QByteArray("1.5") << -77 << true;
}

void TestIniFile::readInteger() {
    QFETCH(QByteArray, value);
    QFETCH(int, integer);
    QFETCH(bool, boolean);
    const IniFile ini(writeFile("[s]\nk=" + value + "\n"));
    QCOMPARE(ini.readInteger(QStringLiteral("S"), QStringLiteral("K"), -77), integer);
    QCOMPARE(ini.readBool(QStringLiteral("s"), QStringLiteral("k"), true), boolean);
}

void TestIniFile::write_data() {
    QTest::addColumn<QByteArray>("before"); // null: no file
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("after");

    const QByteArray layout("; my layout\r\n[PAGE]\r\nPgW=640\r\nPgC=1\r\n\r\n[TEXT]\r\nTxC=x\r\n");
    QTest::newRow("replace in place") << layout << "PAGE"
                                      << "PgW"
                                      << "800"
                                      << QByteArray("; my layout\r\n[PAGE]\r\nPgW=800\r\nPgC=1\r\n"
                                                    "\r\n[TEXT]\r\nTxC=x\r\n");
    QTest::newRow("replace keeps file's spelling")
        << QByteArray("[Page]\n  pgw = 1 \nz=2\n") << "PAGE"
        << "PGW"
        << "7" << QByteArray("[Page]\n  pgw=7\nz=2\n");
    QTest::newRow("append at end of section")
        << layout << "page"
        << "New"
        << "a b"
        << QByteArray(
               "; my layout\r\n[PAGE]\r\nPgW=640\r\nPgC=1\r\nNew=a b\r\n\r\n[TEXT]\r\nTxC=x\r\n");
    QTest::newRow("append to last section without final line end")
        << QByteArray("[a]\nk=1") << "a"
        << "j"
        << "2" << QByteArray("[a]\nk=1\nj=2\n");
    QTest::newRow("new section at end") << layout << "FRAME"
                                        << "FrW"
                                        << "3" << layout + "[FRAME]\r\nFrW=3\r\n";
    QTest::newRow("new section after missing line end")
        << QByteArray("[a]\nk=1") << "b"
        << "j"
        << "2" << QByteArray("[a]\nk=1\n[b]\nj=2\n");
    QTest::newRow("new file") << QByteArray() << "General"
                              << "lang"
                              << "fr" << QByteArray("[General]\r\nlang=fr\r\n");
    QTest::newRow("LF file gets LF lines") << QByteArray("[a]\nk=1\n") << "a"
                                           << "j"
                                           << "2" << QByteArray("[a]\nk=1\nj=2\n");
    QTest::newRow("written in windows-1252")
        << QByteArray() << "s"
        << "k" << QString::fromUtf8("£é€") << QByteArray("[s]\r\nk=\xA3\xE9\x80\r\n");
    QTest::newRow("line break in value written as space")
        << QByteArray("[s]\nk=1\n") << "s"
        << "k"
        << "a\r\nb" << QByteArray("[s]\nk=a  b\n");
    QTest::newRow("byte-order mark kept, value replaced in place")
        << QByteArray("\xEF\xBB\xBF[s]\r\nk=1\r\n") << "s"
        << "k"
        << "2" << QByteArray("\xEF\xBB\xBF[s]\r\nk=2\r\n");
    QTest::newRow("byte-order mark alone: section right after it")
        << QByteArray("\xEF\xBB\xBF") << "s"
        << "k"
        << "v" << QByteArray("\xEF\xBB\xBF[s]\r\nk=v\r\n");
    QTest::newRow("UTF-16 file stays UTF-16")
        << utf16(QStringLiteral("[s]\r\nk=1\r\n")) << "s"
        << "j" << QString::fromUtf8("\u00E9\u20AC")
        << utf16(QString::fromUtf8("[s]\r\nk=1\r\nj=\u00E9\u20AC\r\n"));
    QTest::newRow("UTF-16 file takes what Windows-1252 lacks")
        << utf16(QStringLiteral("[s]\nk=1\n"), false) << QString::fromUtf8("\u0416") << "k"
        << QString::fromUtf8("/pics/\u7D19.png")
        << utf16(QString::fromUtf8("[s]\nk=1\n[\u0416]\nk=/pics/\u7D19.png\n"), false);
    QTest::newRow("UTF-8 file stays UTF-8") << QByteArray("\xEF\xBB\xBF[s]\r\nk=1\r\n") << "s"
                                            << "k" << QString::fromUtf8("Caf\u00E9")
                                            << QByteArray("\xEF\xBB\xBF[s]\r\nk=Caf\xC3\xA9\r\n");
    QTest::newRow("damaged: UTF-8 mark before Windows-1252 bytes, kept so")
        << QByteArray("\xEF\xBB\xBF[s]\r\nk=Caf\xE9\r\n") << "s"
        << "j" << QString::fromUtf8("\u00E9")
        << QByteArray("\xEF\xBB\xBF[s]\r\nk=Caf\xE9\r\nj=\xE9\r\n");
    QTest::newRow("names asked for are trimmed: no second section")
        << QByteArray("[A]\r\nk=1\r\n") << " A "
        << "\tk "
        << "2" << QByteArray("[A]\r\nk=2\r\n");
    QTest::newRow("section name holding ]: no second section")
        << QByteArray("[a]b]\r\nk=1\r\n") << "a]b"
        << "k"
        << "2" << QByteArray("[a]b]\r\nk=2\r\n");
    QTest::newRow("new section name holding ]") << QByteArray() << "x]y"
                                                << "k"
                                                << "1" << QByteArray("[x]y]\r\nk=1\r\n");
    QTest::newRow("new key written with its name trimmed") << QByteArray("[A]\r\n") << "A"
                                                           << " j "
                                                           << "3" << QByteArray("[A]\r\nj=3\r\n");
    QTest::newRow("leading blank quoted") << QByteArray("[s]\r\nk=1\r\n") << "s"
                                          << "k"
                                          << " x" << QByteArray("[s]\r\nk=\" x\"\r\n");
    QTest::newRow("trailing tab quoted") << QByteArray("[s]\r\nk=1\r\n") << "s"
                                         << "k"
                                         << "x\t" << QByteArray("[s]\r\nk=\"x\t\"\r\n");
    QTest::newRow("trailing no-break space quoted")
        << QByteArray("[s]\r\nk=1\r\n") << "s"
        << "k" << QString::fromUtf8("x\u00A0") << QByteArray("[s]\r\nk=\"x\xA0\"\r\n");
    QTest::newRow("name with other white space at its end: replaced in place")
        << QByteArray("[Sites\xA0]\r\nAlpha\f=1\r\n") << "Sites"
        << "Alpha"
        << "2" << QByteArray("[Sites\xA0]\r\nAlpha=2\r\n");
    QTest::newRow("enclosing double quotes quoted")
        << QByteArray("[s]\r\nk=1\r\n") << "s"
        << "k"
        << "\"x\"" << QByteArray("[s]\r\nk=\"\"x\"\"\r\n");
    QTest::newRow("enclosing single quotes quoted") << QByteArray("[s]\r\nk=1\r\n") << "s"
                                                    << "k"
                                                    << "'x'" << QByteArray("[s]\r\nk=\"'x'\"\r\n");
    QTest::newRow("lone quote quoted") << QByteArray("[s]\r\nk=1\r\n") << "s"
                                       << "k"
                                       << "\"" << QByteArray("[s]\r\nk=\"\"\"\r\n");
    QTest::newRow("quotes and blanks inside kept as they are")
        << QByteArray("[s]\r\nk=1\r\n") << "s"
        << "k"
        << "a \"b\" c" << QByteArray("[s]\r\nk=a \"b\" c\r\n");
    QTest::newRow("line break at the end quoted") << QByteArray("[s]\nk=1\n") << "s"
                                                  << "k"
                                                  << "x\n"
                                                  << QByteArray("[s]\nk=\"x \"\n");
    QTest::newRow("longest value kept whole")
        << QByteArray("[s]\nk=1\n") << "s"
        << "k" << QString(2047, QLatin1Char('v'))
        << QByteArray("[s]\nk=") + QByteArray(2047, 'v') + "\n";
    QTest::newRow("damaged bytes elsewhere kept")
        << bytesOf("\x00\xFF\r[s]\rk=1\r\x80\x00\r") << "s"
        << "k"
        << "2" << bytesOf("\x00\xFF\r[s]\rk=2\r\x80\x00\r");
}

void TestIniFile::write() {
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QByteArray, after);
    IniFile ini(writeFile(before));
    ini.writeString(section, key, value);
    QCOMPARE(fileBytes(), after);
    QCOMPARE(ini.readString(section, key, {}), QString(value)
                                                   .replace(QLatin1Char('\r'), QLatin1Char(' '))
                                                   .replace(QLatin1Char('\n'), QLatin1Char(' ')));
}

void TestIniFile::deleteKey_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("middle key") << QByteArray("[s]\r\na=1\r\nb=2\r\nc=3\r\n") << "B"
                                << QByteArray("[s]\r\na=1\r\nc=3\r\n");
    QTest::newRow("last key without line end")
        << QByteArray("[s]\na=1\nb=2") << "b" << QByteArray("[s]\na=1\n");
    QTest::newRow("missing key leaves file")
        << QByteArray("[s]\na=1\n") << "z" << QByteArray("[s]\na=1\n");
    QTest::newRow("name with a no-break space at its end")
        << QByteArray("[s]\r\na=1\r\neBay Deutschland\xA0=2\r\n") << "eBay Deutschland"
        << QByteArray("[s]\r\na=1\r\n");
    QTest::newRow("same key in other section kept")
        << QByteArray("[t]\nb=0\n[s]\nb=1\n") << "b" << QByteArray("[t]\nb=0\n[s]\n");
}

void TestIniFile::deleteKey() {
    QFETCH(QByteArray, before);
    QFETCH(QString, key);
    QFETCH(QByteArray, after);
    IniFile ini(writeFile(before));
    ini.deleteKey(QStringLiteral("s"), key);
    QCOMPARE(fileBytes(), after);
}

void TestIniFile::sectionKeysInFileOrder() {
    const IniFile ini(
        writeFile("[Sites]\nzeta=1\nAlpha=2\n\nnot a key\n\vmid\xA0 = 3\n[Other\f]\nx=1\n"));
    QCOMPARE(ini.readSectionKeys(QStringLiteral("sites")),
             QStringList({QStringLiteral("zeta"), QStringLiteral("Alpha"), QStringLiteral("mid")}));
    QCOMPARE(ini.readSections(), QStringList({QStringLiteral("Sites"), QStringLiteral("Other")}));
    QVERIFY(ini.readSectionKeys(QStringLiteral("none")).isEmpty());
}

void TestIniFile::sectionKeysLeaveOutCommentsAndEmptyNames() {
    // A site commented out by hand stays hidden.
    const IniFile ini(writeFile("\xEF\xBB\xBF[Sites]\n;old=http://a\n  ; spaced=1\nnew=http://b\n"
                                "=x\n = y\n[Other]\n"));
    QCOMPARE(ini.readSectionKeys(QStringLiteral(" Sites ")), QStringList(QStringLiteral("new")));
    QCOMPARE(ini.readSections(), QStringList({QStringLiteral("Sites"), QStringLiteral("Other")}));
}

void TestIniFile::oversizeFileIsRefused() {
    const QByteArray before = "[s]\nk=v\n" + QByteArray(1 << 20, ';') + "\n";
    IniFile ini(writeFile(before));
    const auto refused = [this](const std::function<void()>& call) {
        try {
            call();
        } catch (const AppError& error) {
            return error.message().contains(m_path);
        }
        return false;
    };
    QVERIFY(refused([&] { ini.readString(QStringLiteral("s"), QStringLiteral("k"), {}); }));
    QVERIFY(refused([&] { ini.readSectionKeys(QStringLiteral("s")); }));
    QVERIFY(refused([&] { ini.writeString(QStringLiteral("s"), QStringLiteral("k"), "w"); }));
    QCOMPARE(fileBytes(), before);

    // A write that would make the file too large to read again is refused.
    const QByteArray full = "[s]\nk=v\n" + QByteArray((1 << 20) - 20, ';') + "\n";
    IniFile nearlyFull(writeFile(full));
    QCOMPARE(nearlyFull.readString(QStringLiteral("s"), QStringLiteral("k"), {}),
             QStringLiteral("v"));
    QVERIFY(refused([&] {
        nearlyFull.writeString(QStringLiteral("s"), QStringLiteral("j"), QString(100, 'x'));
    }));
    QCOMPARE(fileBytes(), full);
}

void TestIniFile::failedWriteKeepsPreviousFile() {
    const QByteArray before("[s]\r\nk=1\r\n");
    IniFile ini(writeFile(before));

    // Limit the size a file may grow to, so the rewrite fails half-way even
    // for root; the signal that would end the process is ignored.
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 64;
    std::signal(SIGXFSZ, SIG_IGN);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    QString message;
    try {
        ini.writeString(QStringLiteral("s"), QStringLiteral("k"), QString(500, QLatin1Char('x')));
    } catch (const AppError& error) {
        message = error.message();
    }
    setrlimit(RLIMIT_FSIZE, &old);

    QVERIFY2(message.contains(m_path), qPrintable(message));
    QCOMPARE(fileBytes(), before);
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList(QStringLiteral("test.ini")));

    // A folder that does not exist cannot take the file either.
    IniFile nowhere(m_dir.filePath(QStringLiteral("missing/x.ini")));
    QVERIFY_THROWS_EXCEPTION(AppError,
                             nowhere.writeBool(QStringLiteral("s"), QStringLiteral("k"), true));
}

void TestIniFile::leftoverTemporaryFileGoesAtNextWrite() {
    QTemporaryDir dir;
    const QDir folder(dir.path());
    // What a write that was killed before its rename leaves, and files that
    // only look alike.
    const QStringList leftovers{".defaults.ini.a1B2c3.vtmp", ".defaults.ini.ZZZZZZ.vtmp"};
    const QStringList kept{".defaults.ini.old.vtmp", "defaults.ini.backup",
                           ".other.ini.a1B2c3.vtmp", ".defaults.ini.a1B2c3.vtmp.keep"};
    for (const QString& name : leftovers + kept) {
        QFile file(folder.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[s]\r\nk=half");
    }
    IniFile ini(folder.filePath(QStringLiteral("defaults.ini")));
    ini.writeString(QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("1"));

    QStringList expected = kept;
    expected.append(QStringLiteral("defaults.ini"));
    expected.sort();
    QCOMPARE(folder.entryList(QDir::Files | QDir::Hidden, QDir::Name), expected);
}

namespace {

// One step of a batch: "section/key=value" writes, "-section/key" deletes.
// Both write through the same calls, so a whole edit and single writes are
// compared step for step.
template <class Target>
void apply(Target& target, const QString& step) {
    const bool deletion = step.startsWith(QLatin1Char('-'));
    const QString entry = deletion ? step.mid(1) : step;
    const QString section = entry.section(QLatin1Char('/'), 0, 0);
    const QString rest = entry.section(QLatin1Char('/'), 1);
    const QString key = rest.section(QLatin1Char('='), 0, 0);
    if (deletion)
        target.deleteKey(section, key);
    else
        target.writeString(section, key, rest.section(QLatin1Char('='), 1));
}

// The key a step names.
QString keyOf(const QString& step) {
    return step.section(QLatin1Char('/'), 1).section(QLatin1Char('='), 0, 0);
}

} // namespace

void TestIniFile::batch_data() {
    QTest::addColumn<QByteArray>("before"); // null: no file
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("failing"); // the key whose write cannot be stored

    const QByteArray layout("; my layout\r\n[PAGE]\r\nPgW=640\r\nPgC=1\r\n\r\n[TEXT]\r\nTxC=x\r\n");
    QTest::newRow("replace, append, new section, delete")
        << layout << QStringList{"PAGE/PgW=800", "page/New=a b", "FRAME/FrW=3",
                                 "-TEXT/txc",    "FRAME/FrH=4",  "PAGE/pgw=801"}
        << QString();
    QTest::newRow("new file with two sections")
        << QByteArray() << QStringList{"General/lang=fr", "Other/k=1", "GENERAL/srvSet=2"}
        << QString();
    QTest::newRow("appends after a last line without line end")
        << QByteArray("[a]\nk=1") << QStringList{"a/j=2", "a/i=3", "b/x=4"} << QString();
    QTest::newRow("delete, then write the key again")
        << QByteArray("[s]\r\na=1\r\nb=2\r\n") << QStringList{"-s/a", "s/A=9", "-s/b"} << QString();
    QTest::newRow("only deletions of missing keys: no file made")
        << QByteArray() << QStringList{"-s/a", "-t/b"} << QString();
    QTest::newRow("value the code page lacks, mid-batch")
        << layout
        << QStringList{"PAGE/PgW=800", QString::fromUtf8("PAGE/PgImg=/pics/\u7D19.png"),
                       "TEXT/TxC=y"}
        << "PgImg";
    QTest::newRow("key name the code page lacks")
        << layout << QStringList{"PAGE/PgW=800", QString::fromUtf8("PAGE/\u03A9=1")}
        << QString::fromUtf8("\u03A9");
    QTest::newRow("value longer than the reader keeps")
        << layout
        << QStringList{"PAGE/PgW=800", "PAGE/PgNote=" + QString(2048, QLatin1Char('n')),
                       "TEXT/TxC=y"}
        << "PgNote";
    QTest::newRow("key name that reads as a section header")
        << layout << QStringList{"PAGE/PgW=800", "PAGE/[TEXT]=1", "TEXT/TxC=y"} << "[TEXT]";
    QTest::newRow("section name with a line break")
        << QByteArray() << QStringList{"s/k=2", "a\nb/NewKey=1"} << "NewKey";
    QTest::newRow("section name the code page lacks, new file")
        << QByteArray() << QStringList{"s/k=2", QString::fromUtf8("\u0416/NewKey=1")} << "NewKey";
}

void TestIniFile::batch() {
    QFETCH(QByteArray, before);
    QFETCH(QStringList, steps);
    QFETCH(QString, failing);

    // The same steps as single writes, each one a file replacement.
    IniFile single(writeFile(before, "single.ini"));
    for (const QString& step : steps) {
        if (keyOf(step) == failing)
            QVERIFY_THROWS_EXCEPTION(AppError, apply(single, step));
        else
            apply(single, step);
    }
    const QByteArray expected = QFile::exists(m_path) ? fileBytes() : QByteArray();

    IniFile ini(writeFile(before));
    QStringList thrownKeys;
    QString message;
    const auto runSteps = [&](IniFile::Edit& edit) {
        thrownKeys.clear();
        for (const QString& step : steps) {
            try {
                apply(edit, step);
            } catch (const AppError& error) {
                thrownKeys.append(keyOf(step));
                message = error.message();
            }
        }
    };
    {
        IniFile::Edit abandoned = ini.edit();
        runSteps(abandoned);
        QCOMPARE(fileBytes(), before); // nothing reaches the file before the commit
    }
    QCOMPARE(QFile::exists(m_path), !before.isNull());
    QCOMPARE(fileBytes(), before);

    // A write that could not be stored drops out; the rest commit together.
    IniFile::Edit edit = ini.edit();
    runSteps(edit);
    edit.commit();
    QCOMPARE(QFile::exists(m_path), !expected.isNull());
    QCOMPARE(fileBytes(), expected);

    QCOMPARE(thrownKeys, failing.isEmpty() ? QStringList() : QStringList{failing});
    QVERIFY2(failing.isEmpty() || (message.contains(m_path) && message.contains(failing)),
             qPrintable(message));
}

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
