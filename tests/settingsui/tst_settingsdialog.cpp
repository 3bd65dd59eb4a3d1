#include "listing/serverlist.h"
#include "settings/servermirror.h"
#include "settings/settings.h"
#include "settings/settingsfile.h"
#include "settingsui/settingsdialog.h"
#include "supportui/scripteddialogs.h"

#include <QAbstractButton>
#include <QFile>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

/// The dialog on a settings file of the test's own.
struct DialogFixture {
    QTemporaryDir folder;
    QString file = folder.filePath(QStringLiteral("defaults.ini"));
    ScriptedDialogs dialogs;

    explicit DialogFixture(const QByteArray& stored = QByteArray()) {
        if (!stored.isNull())
            write(stored);
    }
    void write(const QByteArray& bytes) const {
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
            qFatal("cannot write the settings fixture");
    }
    QByteArray stored() const {
        QFile in(file);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    }
};

template <typename Widget>
Widget* find(const QDialog& dialog, const char* name) {
    auto* widget = dialog.findChild<Widget*>(QLatin1String(name));
    if (!widget)
        qFatal("no control %s", name);
    return widget;
}

bool checked(const QDialog& dialog, const char* name) {
    return find<QAbstractButton>(dialog, name)->isChecked();
}

QString text(const QDialog& dialog, const char* name) {
    return find<QLineEdit>(dialog, name)->text();
}

void setText(const QDialog& dialog, const char* name, const QString& value) {
    find<QLineEdit>(dialog, name)->setText(value);
}

void save(const QDialog& dialog) {
    find<QPushButton>(dialog, "btnSettingsSave")->click();
}

} // namespace

class TestSettingsDialog : public QObject {
    Q_OBJECT

private slots:
    void freshInstallation();
    void saveWritesEveryKeyAndANewDialogReadsThem();
    void personalServers_data();
    void personalServers();
    void insecureServerWarns_data();
    void insecureServerWarns();
    void proxy_data();
    void proxy();
    void leavingWithoutSavingDiscardsTheEdits_data();
    void leavingWithoutSavingDiscardsTheEdits();
    void unwritableFileKeepsTheDialogOpen();
    void choicesCountBeforeSavingAndTheControlsFollowTheSettings();
};

void TestSettingsDialog::freshInstallation() {
    DialogFixture f;
    SettingsDialog dialog(f.dialogs, f.file);
    for (const char* name :
         {"radServer1", "radServer4", "radDirect", "cbxUseOwnServer", "cbxLinksTarget"})
        QVERIFY2(checked(dialog, name), name);
    for (const char* name :
         {"cbxHideImageDlg", "cbxHideLinkDlg", "cbxHideExportHelp", "cbxHideCheckImage"})
        QVERIFY2(!checked(dialog, name), name);
    QVERIFY(find<QGroupBox>(dialog, "pnlProxy")->isHidden());
    // The product servers, and the choice between them and the personal
    // server, are offered only when the build names real ones.
    for (const char* name : {"cbxUseOwnServer", "radServer1", "edtServer1", "lblInfoServer1"})
        QCOMPARE(find<QWidget>(dialog, name)->isVisibleTo(&dialog),
                 serverlist::productServersOffered());
    QVERIFY(find<QWidget>(dialog, "radServer4")->isVisibleTo(&dialog));
    QVERIFY(!find<QWidget>(dialog, "radServerSet")->isVisibleTo(&dialog));
    // Nobody has set a personal server: the fields only show what to type.
    QCOMPARE(text(dialog, "edtServer4"), QString());
    QCOMPARE(find<QLineEdit>(dialog, "edtServer4")->placeholderText(),
             QStringLiteral("Your primary server"));
    QCOMPARE(text(dialog, "lblRefreshTimer"), QStringLiteral("770"));
    QCOMPARE(dialog.primaryServer(), QString());
    // Shown, it takes the size its content needs and stands in the middle.
    dialog.show();
    QCOMPARE(dialog.size(), dialog.sizeHint());
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY((dialog.geometry().center() - screen.center()).manhattanLength() <= 8);
}

void TestSettingsDialog::saveWritesEveryKeyAndANewDialogReadsThem() {
    DialogFixture f("; mine\r\n[Other]\r\nkeep=1\r\n[GENERAL]\r\nlang=fr\r\nregion=2\r\n");
    SettingsDialog dialog(f.dialogs, f.file);
    QSignalSpy saved(&dialog, &SettingsDialog::saved);
    find<QAbstractButton>(dialog, "radServer3")->click();
    find<QAbstractButton>(dialog, "radServer5")->click();
    setText(dialog, "edtServer4", QStringLiteral("http://one.example/pics"));
    setText(dialog, "edtServer5", QStringLiteral(" https://two.example/ "));
    find<QAbstractButton>(dialog, "radProxy")->click();
    QVERIFY(!find<QGroupBox>(dialog, "pnlProxy")->isHidden());
    setText(dialog, "lblProxy", QStringLiteral("proxy.example"));
    setText(dialog, "lblProxyPort", QStringLiteral("3128"));
    find<QAbstractButton>(dialog, "cbxHideImageDlg")->click();
    find<QAbstractButton>(dialog, "cbxLinksTarget")->click();
    find<QAbstractButton>(dialog, "cbxUseOwnServer")->click();
    find<QAbstractButton>(dialog, "cbxWatchAtStart")->click();
    dialog.setServerSetIndex(2);
    save(dialog);

    QCOMPARE(saved.size(), 1);
    QVERIFY(f.dialogs.shown.isEmpty());
    QCOMPARE(f.stored(), QByteArray("; mine\r\n[Other]\r\nkeep=1\r\n[GENERAL]\r\nlang=fr\r\n"
                                    "region=2\r\nDefSrv=3\r\nownSrv=2\r\nuseOwnSrv=0\r\n"
                                    "srvSet=2\r\nprimSrv=http://one.example/pics/\r\n"
                                    "secSrv=https://two.example/\r\nconnType=1\r\n"
                                    "refreshInterval=770\r\nhttpProxy=proxy.example\r\n"
                                    "httpPort=3128\r\nhideInsertPic=1\r\nhideInsertLink=0\r\n"
                                    "linksInNewWin=0\r\nhideExportHlp=0\r\nwatchPics=1\r\n"
                                    "[UPLOAD]\r\nupProto=0\r\nupHost=\r\nupPort=0\r\n"
                                    "upUser=\r\nupFolder=\r\nupKey=\r\nupMaxSide=1600\r\n"));
    QCOMPARE(text(dialog, "edtServer4"), QStringLiteral("http://one.example/pics/"));

    SettingsDialog reread(f.dialogs, f.file);
    for (const char* name :
         {"radServer3", "radServer5", "radProxy", "cbxHideImageDlg", "cbxWatchAtStart"})
        QVERIFY2(checked(reread, name), name);
    for (const char* name : {"cbxLinksTarget", "cbxUseOwnServer", "cbxHideLinkDlg"})
        QVERIFY2(!checked(reread, name), name);
    QVERIFY(!find<QGroupBox>(reread, "pnlProxy")->isHidden());
    QCOMPARE(text(reread, "lblProxy"), QStringLiteral("proxy.example"));
    QCOMPARE(text(reread, "lblProxyPort"), QStringLiteral("3128"));
    QCOMPARE(reread.secondaryServer(), QStringLiteral("https://two.example/"));
}

void TestSettingsDialog::personalServers_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored"); // null: refused
    QTest::newRow("nominal: slash appended") << "http://a.example/pics"
                                             << "http://a.example/pics/";
    QTest::newRow("nominal: kept as it is") << "https://a.example/"
                                            << "https://a.example/";
    QTest::newRow("nominal: trimmed") << "  http://a.example/x/ "
                                      << "http://a.example/x/";
    QTest::newRow("nominal: empty is not set") << ""
                                               << "";
    QTest::newRow("robustness: old placeholder is not set") << "your primary server *"
                                                            << "";
    QTest::newRow("robustness: no scheme") << "www.a.example/pics/" << QString();
    QTest::newRow("robustness: other scheme") << "ftp://a.example/" << QString();
    QTest::newRow("robustness: no host") << "http:///pics/" << QString();
    QTest::newRow("robustness: space inside") << "http://a.example/my pics/" << QString();
}

void TestSettingsDialog::personalServers() {
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    DialogFixture f("[GENERAL]\r\nprimSrv=http://old.example/\r\n");
    SettingsDialog dialog(f.dialogs, f.file);
    setText(dialog, "edtServer4", typed);
    save(dialog);
    const SettingsFile file(f.file);
    if (stored.isNull()) {
        QCOMPARE(f.dialogs.shownOf(QStringLiteral("message")).size(), 1);
        QVERIFY(f.dialogs.shown.constFirst().contains(QStringLiteral("Personal image server")));
        QCOMPARE(f.stored(), QByteArray("[GENERAL]\r\nprimSrv=http://old.example/\r\n"));
        return;
    }
    QVERIFY(f.dialogs.shown.isEmpty());
    QCOMPARE(file.readString(SettingKey::primSrv), stored);
    QCOMPARE(dialog.primaryServer(), stored);
}

void TestSettingsDialog::insecureServerWarns_data() {
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("typed"); // the primary server; null: what the file holds stays
    QTest::addColumn<bool>("warned");
    QTest::newRow("stored http") << QByteArray("[GENERAL]\r\nsecSrv=http://two.example/\r\n")
                                 << QString() << true;
    QTest::newRow("typed http, upper case, spaces")
        << QByteArray() << " HTTP://one.example/" << true;
    QTest::newRow("near miss: https, no scheme")
        << QByteArray("[GENERAL]\r\nsecSrv=https://two.example/\r\n") << "http.example/pics/"
        << false;
}

void TestSettingsDialog::insecureServerWarns() {
    QFETCH(QByteArray, stored);
    QFETCH(QString, typed);
    QFETCH(bool, warned);
    DialogFixture f(stored);
    SettingsDialog dialog(f.dialogs, f.file);
    if (!typed.isNull())
        setText(dialog, "edtServer4", typed);
    auto* warning = find<QWidget>(dialog, "pnlServerInsecure");
    QCOMPARE(warning->isVisibleTo(&dialog), warned);
    // A warning beside the fields, never a box while typing.
    QVERIFY(f.dialogs.shown.isEmpty());
    if (!warned)
        return;
    emit find<QLabel>(dialog, "lblUseHttps")->linkActivated(QStringLiteral("https"));
    QVERIFY(!warning->isVisibleTo(&dialog));
    if (typed.isNull())
        QCOMPARE(text(dialog, "edtServer5"), QStringLiteral("https://two.example/"));
    else
        QCOMPARE(text(dialog, "edtServer4"), QStringLiteral("https://one.example/"));
}

void TestSettingsDialog::proxy_data() {
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("refusal"); // the field named, empty when saved
    QTest::newRow("nominal: port given") << "proxy.example"
                                         << "8080"
                                         << "";
    QTest::newRow("nominal: no port is 80") << "proxy.example"
                                            << ""
                                            << "";
    QTest::newRow("robustness: no host") << ""
                                         << "8080"
                                         << "HTTP Proxy";
    QTest::newRow("robustness: port 0") << "proxy.example"
                                        << "0"
                                        << "Port";
    QTest::newRow("robustness: port too high") << "proxy.example"
                                               << "65536"
                                               << "Port";
    QTest::newRow("robustness: port not a number") << "proxy.example"
                                                   << "80a"
                                                   << "Port";
}

void TestSettingsDialog::proxy() {
    QFETCH(QString, host);
    QFETCH(QString, port);
    QFETCH(QString, refusal);
    DialogFixture f;
    SettingsDialog dialog(f.dialogs, f.file);
    find<QAbstractButton>(dialog, "radProxy")->click();
    setText(dialog, "lblProxy", host);
    setText(dialog, "lblProxyPort", port);
    save(dialog);
    if (refusal.isEmpty()) {
        QVERIFY(f.dialogs.shown.isEmpty());
        QCOMPARE(SettingsFile(f.file).readInt(SettingKey::connType), 1);
        return;
    }
    QCOMPARE(f.dialogs.shownOf(QStringLiteral("message")).size(), 1);
    QVERIFY(f.dialogs.shown.constFirst().contains(QLatin1Char('"') + refusal + QLatin1Char('"')));
    QVERIFY(f.stored().isEmpty());
    // The direct connection needs no proxy at all.
    find<QAbstractButton>(dialog, "radDirect")->click();
    QVERIFY(find<QGroupBox>(dialog, "pnlProxy")->isHidden());
    save(dialog);
    QCOMPARE(SettingsFile(f.file).readString(SettingKey::httpPort), port);
}

void TestSettingsDialog::leavingWithoutSavingDiscardsTheEdits_data() {
    QTest::addColumn<bool>("cancelButton");
    QTest::newRow("Esc") << false;
    QTest::newRow("Cancel") << true;
}

void TestSettingsDialog::leavingWithoutSavingDiscardsTheEdits() {
    QFETCH(bool, cancelButton);
    DialogFixture f("[GENERAL]\r\nhideInsertLink=1\r\nsecSrv=http://two.example/\r\n");
    SettingsDialog dialog(f.dialogs, f.file);
    dialog.show();
    find<QAbstractButton>(dialog, "cbxHideLinkDlg")->click();
    setText(dialog, "edtServer5", QStringLiteral("http://elsewhere.example/"));
    if (cancelButton) {
        QAbstractButton* cancel = find<QAbstractButton>(dialog, "btnSettingsCancel");
        QVERIFY(cancel->isVisible());
        cancel->click();
    } else {
        QTest::keyClick(&dialog, Qt::Key_Escape);
    }
    QVERIFY(!dialog.isVisible());
    QVERIFY(checked(dialog, "cbxHideLinkDlg"));
    QCOMPARE(text(dialog, "edtServer5"), QStringLiteral("http://two.example/"));
    QCOMPARE(f.stored(),
             QByteArray("[GENERAL]\r\nhideInsertLink=1\r\nsecSrv=http://two.example/\r\n"));
}

void TestSettingsDialog::unwritableFileKeepsTheDialogOpen() {
    DialogFixture f;
    const QString missingFolder = f.folder.filePath(QStringLiteral("gone/defaults.ini"));
    SettingsDialog dialog(f.dialogs, missingFolder);
    QSignalSpy saved(&dialog, &SettingsDialog::saved);
    save(dialog);
    QCOMPARE(f.dialogs.shownOf(QStringLiteral("error")).size(), 1);
    QVERIFY(f.dialogs.shown.constFirst().contains(missingFolder));
    QCOMPARE(saved.size(), 0);
    QCOMPARE(dialog.result(), 0);
}

void TestSettingsDialog::choicesCountBeforeSavingAndTheControlsFollowTheSettings() {
    const QByteArray stored("[GENERAL]\r\nDefSrv=2\r\nuseOwnSrv=1\r\n");
    DialogFixture f(stored);
    Settings settings(f.file);
    QVERIFY(settings.load());
    SettingsDialog dialog(f.dialogs, settings);
    QVERIFY(checked(dialog, "radServer2"));

    // The seller's choices count for every reader before they are saved.
    find<QAbstractButton>(dialog, "radServer3")->click();
    setText(dialog, "edtServer4", QStringLiteral("https://mine.example/pics"));
    find<QAbstractButton>(dialog, "radProxy")->click();
    QCOMPARE(settings.servers().DefaultServer, 3);
    QCOMPARE(settings.primaryServer(), QStringLiteral("https://mine.example/pics/"));
    QCOMPARE(settings.integer(SettingKey::connType), 1);
    QCOMPARE(f.stored(), stored);

    // Left without saving: what is stored counts again, and shows.
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QCOMPARE(settings.servers().DefaultServer, 2);
    QCOMPARE(settings.primaryServer(), QString());
    QVERIFY(checked(dialog, "radServer2"));
    QVERIFY(checked(dialog, "radDirect"));
    QCOMPARE(text(dialog, "edtServer4"), QString());

    // Another run of the program turns the personal server off: the box
    // shows what the program now uses, and a save keeps it off.
    f.write("[GENERAL]\r\nDefSrv=2\r\nuseOwnSrv=0\r\n");
    QVERIFY(settings.reloadIfChanged());
    QVERIFY(!checked(dialog, "cbxUseOwnServer"));
    settings.setHideExportHelp(true); // as the publishing help window does
    QVERIFY(checked(dialog, "cbxHideExportHelp"));
    save(dialog);
    QVERIFY(f.dialogs.shown.isEmpty());
    QVERIFY(f.stored().contains("useOwnSrv=0\r\n"));
    QVERIFY(f.stored().contains("hideExportHlp=1\r\n"));
    QVERIFY(!settings.isUnsaved(SettingKey::hideExportHlp));
}

QTEST_MAIN(TestSettingsDialog)
#include "tst_settingsdialog.moc"
