#include "settings/settings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <climits>

Q_DECLARE_METATYPE(SettingKey)

namespace {

using Keys = QList<SettingKey>;

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

/// Settings on a file of the test's own, with every `changed` recorded.
struct Fixture {
    QTemporaryDir folder;
    QString file = folder.filePath(QStringLiteral("defaults.ini"));
    Settings settings{file};
    QList<Keys> signalled;

    explicit Fixture(const QByteArray& stored = QByteArray()) {
        if (!stored.isNull())
            writeBytes(file, stored);
        QObject::connect(&settings, &Settings::changed,
                         [this](const Keys& keys) { signalled.append(keys); });
    }
    /// What another run of the program finds in the file.
    QVariant reread(SettingKey key) const {
        Settings other(file);
        if (!other.load())
            qFatal("cannot read the settings back");
        return other.value(key);
    }
};

} // namespace

class TestSettings : public QObject {
    Q_OBJECT

private slots:
    void everyKeyReadsBackWhatWasSaved_data();
    void everyKeyReadsBackWhatWasSaved();
    void outOfRangeIsTheKeysDefault_data();
    void outOfRangeIsTheKeysDefault();
    void eachChangeIsSignalledOnceWithItsKeys_data();
    void eachChangeIsSignalledOnceWithItsKeys();
    void unsavedChoicesCountForReaders();
    void reloadFollowsTheFileOnlyWhenItChanged_data();
    void reloadFollowsTheFileOnlyWhenItChanged();
    void failedSaveKeepsFileAndChoices_data();
    void failedSaveKeepsFileAndChoices();
};

void TestSettings::everyKeyReadsBackWhatWasSaved_data() {
    QTest::addColumn<SettingKey>("key");
    QTest::addColumn<QVariant>("value");
    const auto row = [](const char* name, SettingKey key, const QVariant& value) {
        QTest::newRow(name) << key << value;
    };
    row("DefSrv lowest", SettingKey::DefSrv, 1);
    row("DefSrv highest", SettingKey::DefSrv, 3);
    row("ownSrv highest", SettingKey::ownSrv, 2);
    row("useOwnSrv off", SettingKey::useOwnSrv, false);
    row("srvSet", SettingKey::srvSet, QStringLiteral("3"));
    row("primSrv", SettingKey::primSrv, QStringLiteral("https://a.example/pics/"));
    row("secSrv empty", SettingKey::secSrv, QString());
    row("connType highest", SettingKey::connType, 1);
    row("httpProxy with blanks around", SettingKey::httpProxy, QStringLiteral(" proxy.example "));
    row("httpPort", SettingKey::httpPort, QStringLiteral("65535"));
    row("refreshInterval no number", SettingKey::refreshInterval, QStringLiteral("7x"));
    row("hideInsertPic on", SettingKey::hideInsertPic, true);
    row("hideInsertLink on", SettingKey::hideInsertLink, true);
    row("linksInNewWin off", SettingKey::linksInNewWin, false);
    row("hideExportHlp on", SettingKey::hideExportHlp, true);
    row("region lowest", SettingKey::region, 0);
    row("siteIndex largest", SettingKey::siteIndex, INT_MAX);
    row("useBrowser highest", SettingKey::useBrowser, 1);
    row("lang accented, longest value", SettingKey::lang,
        QString(QString::fromUtf8("\u00E9") + QString(IniFile::MaxValueLength - 1, u'x')));
    row("phonePreview on", SettingKey::phonePreview, true);
}

void TestSettings::everyKeyReadsBackWhatWasSaved() {
    QFETCH(SettingKey, key);
    QFETCH(QVariant, value);
    Fixture f("[GENERAL]\r\nlang=fr\r\n");
    QVERIFY(f.settings.load());

    f.settings.setValue(key, value);
    QCOMPARE(f.settings.value(key), value);
    QCOMPARE(f.settings.isUnsaved(key), f.reread(key) != value);
    QVERIFY(f.settings.save({key}));
    QVERIFY(!f.settings.isUnsaved(key));
    QCOMPARE(f.reread(key), value);
    // The other keys are as the file held them.
    if (key != SettingKey::lang)
        QCOMPARE(f.reread(SettingKey::lang), QVariant(QStringLiteral("fr")));
}

void TestSettings::outOfRangeIsTheKeysDefault_data() {
    QTest::addColumn<SettingKey>("key");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("expected");
    const auto row = [](const char* label, SettingKey key, const char* name, int value,
                        int expected) {
        QTest::newRow(label) << key << QByteArray(name) << value << expected;
    };
    row("DefSrv zero", SettingKey::DefSrv, "DefSrv", 0, 1);
    row("DefSrv above", SettingKey::DefSrv, "DefSrv", 4, 1);
    row("ownSrv above", SettingKey::ownSrv, "ownSrv", 3, 1);
    row("connType above", SettingKey::connType, "connType", 2, 0);
    row("region negative", SettingKey::region, "region", -1, 4);
    row("region above", SettingKey::region, "region", 5, 4);
    row("siteIndex negative", SettingKey::siteIndex, "siteIndex", -3, 0);
    row("useBrowser above", SettingKey::useBrowser, "useBrowser", 2, 0);
    row("near miss: region lowest", SettingKey::region, "region", 0, 0);
    row("near miss: ownSrv highest", SettingKey::ownSrv, "ownSrv", 2, 2);
}

void TestSettings::outOfRangeIsTheKeysDefault() {
    QFETCH(SettingKey, key);
    QFETCH(QByteArray, name);
    QFETCH(int, value);
    QFETCH(int, expected);
    // Stored so by hand, or by an older program.
    Fixture stored("[GENERAL]\r\n" + name + '=' + QByteArray::number(value) + "\r\n");
    QVERIFY(stored.settings.load());
    QCOMPARE(stored.settings.integer(key), expected);

    // Chosen so: what is saved reads back unchanged.
    Fixture chosen;
    QVERIFY(chosen.settings.load());
    chosen.settings.setInteger(key, value);
    QCOMPARE(chosen.settings.integer(key), expected);
    QVERIFY(chosen.settings.save({key}));
    QCOMPARE(chosen.reread(key), QVariant(expected));
}

void TestSettings::eachChangeIsSignalledOnceWithItsKeys_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<QList<Keys>>("signalled");
    QTest::newRow("a new value") << "set DefSrv 2" << QList<Keys>{{SettingKey::DefSrv}};
    QTest::newRow("the same value") << "set DefSrv 3" << QList<Keys>{};
    QTest::newRow("out of range, the default already") << "set ownSrv 9" << QList<Keys>{};
    QTest::newRow("discarding two choices")
        << "discard" << QList<Keys>{{SettingKey::DefSrv, SettingKey::hideInsertLink}};
    QTest::newRow("saving what counts already") << "save" << QList<Keys>{};
    QTest::newRow("another run saved two keys")
        << "reload" << QList<Keys>{{SettingKey::ownSrv, SettingKey::lang}};
    QTest::newRow("file unchanged") << "reload unchanged" << QList<Keys>{};
}

void TestSettings::eachChangeIsSignalledOnceWithItsKeys() {
    QFETCH(QString, action);
    Fixture f("[GENERAL]\r\nDefSrv=3\r\n");
    QVERIFY(f.settings.load());
    f.signalled.clear();
    if (action == "set DefSrv 2")
        f.settings.setInteger(SettingKey::DefSrv, 2);
    if (action == "set DefSrv 3")
        f.settings.setInteger(SettingKey::DefSrv, 3);
    if (action == "set ownSrv 9")
        f.settings.setInteger(SettingKey::ownSrv, 9);
    if (action == "discard" || action == "save") {
        f.settings.setFlag(SettingKey::hideInsertLink, true);
        f.settings.setInteger(SettingKey::DefSrv, 1);
        f.signalled.clear();
        if (action == "discard")
            f.settings.discardUnsaved();
        else
            QVERIFY(f.settings.save({SettingKey::DefSrv, SettingKey::hideInsertLink}));
    }
    if (action == "reload") {
        writeBytes(f.file, "[GENERAL]\r\nDefSrv=3\r\nownSrv=2\r\nlang=fr\r\n");
        QVERIFY(f.settings.reloadIfChanged());
    }
    if (action == "reload unchanged")
        QVERIFY(f.settings.reloadIfChanged());
    QTEST(f.signalled, "signalled");
}

void TestSettings::unsavedChoicesCountForReaders() {
    const QByteArray stored("[GENERAL]\r\nprimSrv=https://old.example/\r\nlang=fr\r\n");
    Fixture f(stored);
    QVERIFY(f.settings.load());
    const SettingsChoices& choices = f.settings;

    // Chosen in the dialog, not saved: every reader has them, the file not.
    f.settings.setInteger(SettingKey::DefSrv, 2);
    f.settings.setText(SettingKey::primSrv, QStringLiteral("https://new.example/"));
    f.settings.setFlag(SettingKey::useOwnSrv, false);
    f.settings.setInteger(SettingKey::connType, 1);
    f.settings.setHideCheckImage(true);
    const ServerMirror servers = f.settings.servers();
    QCOMPARE(servers.DefaultServer, 2);
    QCOMPARE(servers.PrimaryServer, QStringLiteral("https://new.example/"));
    QVERIFY(!servers.UseOwnServer);
    QCOMPARE(choices.defaultServer(), 2);
    QCOMPARE(choices.primaryServer(), QStringLiteral("https://new.example/"));
    QVERIFY(choices.hideCheckImage());
    QCOMPARE(f.settings.integer(SettingKey::connType), 1);
    QVERIFY(f.settings.isUnsaved(SettingKey::primSrv));
    QCOMPARE(contentsOf(f.file), stored);

    // Another run saves a key meanwhile: it counts, and the choices still do.
    writeBytes(f.file, stored + "ownSrv=2\r\nDefSrv=3\r\n");
    QVERIFY(f.settings.reloadIfChanged());
    QCOMPARE(f.settings.servers().OwnServer, 2);
    QCOMPARE(f.settings.servers().DefaultServer, 2);

    // Dropped, they give way to what is stored; the session's choice stays.
    f.settings.discardUnsaved();
    QCOMPARE(f.settings.servers().DefaultServer, 3);
    QCOMPARE(f.settings.servers().PrimaryServer, QStringLiteral("https://old.example/"));
    QVERIFY(f.settings.servers().UseOwnServer);
    QCOMPARE(f.settings.integer(SettingKey::connType), 0);
    QVERIFY(choices.hideCheckImage());
    QVERIFY(!f.settings.isUnsaved(SettingKey::primSrv));
}

void TestSettings::reloadFollowsTheFileOnlyWhenItChanged_data() {
    QTest::addColumn<QByteArray>("rewritten"); // null: removed
    QTest::addColumn<int>("defaultServer");
    QTest::addColumn<bool>("signalled");
    QTest::addColumn<bool>("readable");
    QTest::newRow("nominal: another value of the same length")
        << QByteArray("[GENERAL]\r\nDefSrv=3\r\n") << 3 << true << true;
    QTest::newRow("nominal: same bytes written again")
        << QByteArray("[GENERAL]\r\nDefSrv=2\r\n") << 2 << false << true;
    QTest::newRow("robustness: removed") << QByteArray() << 1 << true << true;
    QTest::newRow("robustness: too large to be read")
        << QByteArray("[GENERAL]\r\nDefSrv=3\r\n" + QByteArray(IniFile::MaxFileSize, ';')) << 1
        << true << false;
}

void TestSettings::reloadFollowsTheFileOnlyWhenItChanged() {
    QFETCH(QByteArray, rewritten);
    QFETCH(bool, signalled);
    QFETCH(bool, readable);
    Fixture f("[GENERAL]\r\nDefSrv=2\r\n");
    QVERIFY(f.settings.load());
    f.signalled.clear();

    if (rewritten.isNull())
        QVERIFY(QFile::remove(f.file));
    else
        writeBytes(f.file, rewritten);
    const Status reloaded = f.settings.reloadIfChanged();
    QCOMPARE(reloaded.ok(), readable);
    QTEST(f.settings.integer(SettingKey::DefSrv), "defaultServer");
    QCOMPARE(f.signalled.size(), signalled ? 1 : 0);
    if (!readable) {
        QVERIFY2(reloaded.error().contains(f.file), qPrintable(reloaded.error()));
        // Every key has its default.
        QCOMPARE(f.settings.languageCode(), QStringLiteral("en"));
    }
    // Unchanged since: nothing new, and the same outcome.
    const Status again = f.settings.reloadIfChanged();
    QCOMPARE(again.error(), reloaded.error());
    QCOMPARE(f.signalled.size(), signalled ? 1 : 0);
}

void TestSettings::failedSaveKeepsFileAndChoices_data() {
    QTest::addColumn<bool>("folderMissing");
    QTest::addColumn<QString>("primary");
    QTest::newRow("robustness: folder missing") << true << QStringLiteral("https://new.example/");
    QTest::newRow("robustness: a character the file cannot hold")
        << false << QString::fromUtf8("https://\u4F8B.example/");
}

void TestSettings::failedSaveKeepsFileAndChoices() {
    QFETCH(bool, folderMissing);
    QFETCH(QString, primary);
    const QByteArray stored("[GENERAL]\r\nDefSrv=2\r\n");
    Fixture f(stored);
    Settings gone(f.folder.filePath(QStringLiteral("gone/defaults.ini")));
    Settings& settings = folderMissing ? gone : f.settings;
    QVERIFY(settings.load());
    settings.setInteger(SettingKey::DefSrv, 3);
    settings.setText(SettingKey::primSrv, primary);

    const Status saved = settings.save({SettingKey::DefSrv, SettingKey::primSrv});
    QVERIFY(!saved);
    QVERIFY2(saved.error().contains(settings.fileName()), qPrintable(saved.error()));
    QCOMPARE(contentsOf(f.file), stored);
    QVERIFY(!QDir(f.folder.filePath(QStringLiteral("gone"))).exists());
    // The choices still count, and are still to be saved.
    QCOMPARE(settings.integer(SettingKey::DefSrv), 3);
    QVERIFY(settings.isUnsaved(SettingKey::DefSrv));
    QVERIFY(settings.isUnsaved(SettingKey::primSrv));
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
