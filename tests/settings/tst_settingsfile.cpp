#include "platform/apperror.h"
#include "settings/servermirror.h"
#include "settings/settingsfile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(SettingKey)

namespace {

QByteArray contentsOf(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void writeBytes(const QString& fileName, const QByteArray& bytes) {
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write the fixture");
}

// The key read with the call of the value's type.
QVariant readAs(const SettingsFile& file, SettingKey key, const QVariant& like) {
    switch (like.typeId()) {
    case QMetaType::Int:
        return file.readInt(key);
    case QMetaType::Bool:
        return file.readBool(key);
    default:
        return file.readString(key);
    }
}

template <class Target>
void writeAs(Target& target, SettingKey key, const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::Int:
        target.writeInt(key, value.toInt());
        break;
    case QMetaType::Bool:
        target.writeBool(key, value.toBool());
        break;
    default:
        target.writeString(key, value.toString());
    }
}

} // namespace

class TestSettingsFile : public QObject {
    Q_OBJECT

private slots:
    void everyKey_data();
    void everyKey();
    void outOfRangeReadsAsTheDefault_data();
    void outOfRangeReadsAsTheDefault();
    void severalKeysAreOneCommit();
    void oversizeFileIsReported();

private:
    QTemporaryDir m_dir;
    QString path(const char* name) const { return m_dir.filePath(QLatin1String(name)); }
};

void TestSettingsFile::everyKey_data() {
    QTest::addColumn<SettingKey>("key");
    QTest::addColumn<QByteArray>("name");   // as the file spells it
    QTest::addColumn<QVariant>("fallback"); // the default, of the key's type
    QTest::addColumn<QVariant>("value");    // a value away from the default
    QTest::addColumn<QByteArray>("stored"); // the value as the file holds it

    const auto row = [](SettingKey key, const char* name, const QVariant& fallback,
                        const QVariant& value, const char* stored) {
        QTest::newRow(name) << key << QByteArray(name) << fallback << value << QByteArray(stored);
    };
    row(SettingKey::DefSrv, "DefSrv", 1, 3, "3");
    row(SettingKey::ownSrv, "ownSrv", 1, 2, "2");
    row(SettingKey::useOwnSrv, "useOwnSrv", true, false, "0");
    row(SettingKey::srvSet, "srvSet", QStringLiteral("0"), QStringLiteral("3"), "3");
    row(SettingKey::primSrv, "primSrv", QStringLiteral("your primary server *"),
        QStringLiteral("http://my.example/pics/"), "http://my.example/pics/");
    row(SettingKey::secSrv, "secSrv", QStringLiteral("your secondary server *"),
        QStringLiteral("/"), "/");
    row(SettingKey::connType, "connType", 0, 1, "1");
    row(SettingKey::httpProxy, "httpProxy", QString(), QStringLiteral("proxy.example"),
        "proxy.example");
    row(SettingKey::httpPort, "httpPort", QString(), QStringLiteral("8080"), "8080");
    row(SettingKey::refreshInterval, "refreshInterval", QStringLiteral("770"),
        QStringLiteral("500"), "500");
    row(SettingKey::hideInsertPic, "hideInsertPic", false, true, "1");
    row(SettingKey::hideInsertLink, "hideInsertLink", false, true, "1");
    row(SettingKey::linksInNewWin, "linksInNewWin", true, false, "0");
    row(SettingKey::hideExportHlp, "hideExportHlp", false, true, "1");
    row(SettingKey::region, "region", 4, 0, "0");
    row(SettingKey::siteIndex, "siteIndex", 0, 12, "12");
    row(SettingKey::useBrowser, "useBrowser", 0, 1, "1");
    row(SettingKey::lang, "lang", QStringLiteral("en"), QStringLiteral("fr"), "fr");
    row(SettingKey::phonePreview, "phonePreview", false, true, "1");
}

void TestSettingsFile::everyKey() {
    QFETCH(SettingKey, key);
    QFETCH(QByteArray, name);
    QFETCH(QVariant, fallback);
    QFETCH(QVariant, value);
    QFETCH(QByteArray, stored);
    const QString fileName = path("defaults.ini");
    QFile::remove(fileName);
    SettingsFile file(fileName);

    QCOMPARE(readAs(file, key, fallback), fallback);

    // A misspelt key or section would still read back what it wrote.
    writeAs(file, key, value);
    QCOMPARE(contentsOf(fileName), "[GENERAL]\r\n" + name + '=' + stored + "\r\n");
    QCOMPARE(readAs(file, key, fallback), value);

    // Another letter case is the same key; a number that is not one reads as
    // the default, while a text key reads what is there.
    writeBytes(fileName, "[general]\r\n" + name.toLower() + "=2x\r\n");
    const QVariant notANumber =
        fallback.typeId() == QMetaType::QString ? QVariant(QStringLiteral("2x")) : fallback;
    QCOMPARE(readAs(file, key, fallback), notANumber);
}

void TestSettingsFile::outOfRangeReadsAsTheDefault_data() {
    QTest::addColumn<SettingKey>("key");
    QTest::addColumn<QByteArray>("line"); // as the file holds it
    QTest::addColumn<int>("expected");

    QTest::newRow("ownSrv above") << SettingKey::ownSrv << QByteArray("ownSrv=3") << 1;
    QTest::newRow("ownSrv zero") << SettingKey::ownSrv << QByteArray("ownSrv=0") << 1;
    QTest::newRow("ownSrv highest") << SettingKey::ownSrv << QByteArray("ownSrv=2") << 2;
    QTest::newRow("ownSrv in hexadecimal") << SettingKey::ownSrv << QByteArray("ownSrv=0x2") << 2;
    QTest::newRow("DefSrv above") << SettingKey::DefSrv << QByteArray("DefSrv=7") << 1;
    QTest::newRow("DefSrv highest") << SettingKey::DefSrv << QByteArray("DefSrv=3") << 3;
    QTest::newRow("connType above") << SettingKey::connType << QByteArray("connType=2") << 0;
    QTest::newRow("connType negative") << SettingKey::connType << QByteArray("connType=-1") << 0;
    QTest::newRow("region above") << SettingKey::region << QByteArray("region=5") << 4;
    QTest::newRow("region negative") << SettingKey::region << QByteArray("region=-1") << 4;
    QTest::newRow("region lowest") << SettingKey::region << QByteArray("region=0") << 0;
    QTest::newRow("useBrowser above") << SettingKey::useBrowser << QByteArray("useBrowser=2") << 0;
    QTest::newRow("siteIndex negative") << SettingKey::siteIndex << QByteArray("siteIndex=-3") << 0;
    QTest::newRow("siteIndex large") << SettingKey::siteIndex << QByteArray("siteIndex=500") << 500;
}

void TestSettingsFile::outOfRangeReadsAsTheDefault() {
    QFETCH(SettingKey, key);
    QFETCH(QByteArray, line);
    const QString fileName = path("range.ini");
    writeBytes(fileName, "[GENERAL]\r\n" + line + "\r\n");
    QTEST(SettingsFile(fileName).readInt(key), "expected");

    // The server choices the main window mirrors, and publishing uses,
    // follow the same reading.
    const ServerMirror mirror = settingsfile::readServerMirror(fileName);
    if (key == SettingKey::ownSrv)
        QTEST(mirror.OwnServer, "expected");
    if (key == SettingKey::DefSrv)
        QTEST(mirror.DefaultServer, "expected");
}

void TestSettingsFile::severalKeysAreOneCommit() {
    const QString fileName = path("saved.ini");
    const QByteArray before("[GENERAL]\r\nlang=fr\r\n; mine\r\n");
    writeBytes(fileName, before);
    SettingsFile file(fileName);

    SettingsFile::Edit save = file.edit();
    save.writeInt(SettingKey::DefSrv, 2);
    save.writeString(SettingKey::primSrv, QStringLiteral("http://a.example/"));
    save.writeBool(SettingKey::linksInNewWin, false);
    QCOMPARE(contentsOf(fileName), before);
    save.commit();
    const QByteArray saved =
        before + "DefSrv=2\r\nprimSrv=http://a.example/\r\nlinksInNewWin=0\r\n";
    QCOMPARE(contentsOf(fileName), saved);

    // A server address the file cannot hold stops the whole save.
    try {
        SettingsFile::Edit failing = file.edit();
        failing.writeInt(SettingKey::DefSrv, 3);
        failing.writeString(SettingKey::secSrv, QString::fromUtf8("http://\u4F8B.example/"));
        failing.commit();
        QFAIL("the save should have failed");
    } catch (const AppError& error) {
        QVERIFY2(error.message().contains(fileName) && error.message().contains("secSrv"),
                 qPrintable(error.message()));
    }
    QCOMPARE(contentsOf(fileName), saved);
}

void TestSettingsFile::oversizeFileIsReported() {
    const QString fileName = path("huge.ini");
    writeBytes(fileName, "[GENERAL]\r\nlang=fr\r\nDefSrv=3\r\n" + QByteArray(2 << 20, ';'));
    // The server settings read at every activation reports it; the language,
    // read before the window shows, is the default meanwhile.
    try {
        settingsfile::readServerMirror(fileName);
        QFAIL("the read should have failed");
    } catch (const AppError& error) {
        QVERIFY2(error.message().contains(fileName), qPrintable(error.message()));
    }
    QCOMPARE(settingsfile::readLanguageCode(fileName), QStringLiteral("en"));
}

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
