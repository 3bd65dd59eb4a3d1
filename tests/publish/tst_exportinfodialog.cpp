#include "publish/addsitedialog.h"
#include "publish/editsitedialog.h"
#include "publish/exportinfodialog.h"
#include "publish/publishtarget.h"
#include "settings/settingschoices.h"
#include "settings/settingsfile.h"
#include "supportui/scripteddialogs.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

namespace {

enum Region { NorthAmerica, Europe, LatinAmerica, Australia, Asia };

const QByteArray siteFixture = "[NORTH AMERICA]\r\n"
                               "Alpha=https://alpha.example/\r\n"
                               "[ASIA]\r\n"
                               "First=https://first.example/login\r\n"
                               "Second=http://second.example/\r\n"
                               "Third=https://third.example/\r\n";

/// The main window as the dialog sees it: every request recorded in order.
struct FakeTarget : PublishTarget {
    QStringList calls;
    void showPublishPage(bool externalBrowser) override {
        calls.append(externalBrowser ? "page with panel" : "page");
    }
    void openInInternalBrowser(const QUrl& address) override {
        calls.append("browse " + address.toString());
    }
    void showPublishHelp() override { calls.append("help"); }
    void cancelPublishing() override { calls.append("cancel"); }
};

struct FakeChoices : SettingsChoices {
    bool hideHelp = false;
    int defaultServer() const override { return 1; }
    int ownServer() const override { return 1; }
    QString primaryServer() const override { return {}; }
    QString secondaryServer() const override { return {}; }
    bool useOwnServer() const override { return true; }
    bool linksInNewWindow() const override { return true; }
    QString proxyHost() const override { return {}; }
    QString proxyPort() const override { return QStringLiteral("80"); }
    bool hideExportHelp() const override { return hideHelp; }
    void setHideExportHelp(bool hide) override { hideHelp = hide; }
    bool hideInsertPicture() const override { return false; }
    void setHideInsertPicture(bool) override {}
    bool hideInsertLink() const override { return false; }
    void setHideInsertLink(bool) override {}
    bool hideCheckImage() const override { return false; }
    void setHideCheckImage(bool) override {}
};

QByteArray readFile(const QString& name) {
    QFile in(name);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

void writeFile(const QString& name, const QByteArray& bytes) {
    QFile out(name);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
        qFatal("cannot write a fixture");
}

template <typename Widget>
Widget* find(const QWidget& parent, const char* name) {
    auto* widget = parent.findChild<Widget*>(QLatin1String(name));
    if (!widget)
        qFatal("no control %s", name);
    return widget;
}

QRadioButton* radio(const QWidget& dialog, const char* group, int index) {
    return find<QGroupBox>(dialog, group)->findChildren<QRadioButton*>().at(index);
}

void click(const QWidget& parent, const char* name) {
    find<QAbstractButton>(parent, name)->click();
}

/// A modal window's run: fills it, then reports its result, or -1 while it
/// is still open.
std::function<int(QDialog&)> fillAndClick(const QString& name, const QString& address,
                                          const char* button, const char* nameField,
                                          const char* addressField) {
    return [=](QDialog& dialog) {
        if (nameField)
            find<QLineEdit>(dialog, nameField)->setText(name);
        if (addressField)
            find<QLineEdit>(dialog, addressField)->setText(address);
        dialog.setResult(-1);
        click(dialog, button);
        return dialog.result();
    };
}

void enqueueAnswers(ScriptedDialogs& dialogs, const QString& answers) {
    for (QChar answer : answers)
        dialogs.answers.enqueue(answer == u'y' ? UserDialogs::Answer::Yes
                                               : UserDialogs::Answer::No);
}

/// The three dialogs on files of the test's own.
struct Fixture {
    QTemporaryDir folder;
    QString settingsFile = folder.filePath(QStringLiteral("defaults.ini"));
    QString siteFile = folder.filePath(QStringLiteral("sys.dft"));
    ScriptedDialogs dialogs;
    FakeTarget target;
    FakeChoices choices;
    AddSiteDialog addSite{dialogs, siteFile};
    EditSiteDialog editSite{dialogs, siteFile};
    ExportInfoDialog dialog{dialogs, settingsFile, siteFile, choices, target, addSite, editSite};

    explicit Fixture(const QByteArray& settings = QByteArray()) {
        writeFile(siteFile, siteFixture);
        if (!settings.isNull())
            writeFile(settingsFile, settings);
    }

    /// Shows the dialog and leaves it as the program would find it on screen.
    void show() {
        dialogs.modalActions.enqueue([](QDialog&) { return -1; });
        QCOMPARE(dialog.showModally(), -1);
    }
    /// Shows the dialog and posts the listing at once.
    void publish() {
        show();
        click(dialog, "btnPublishNow");
    }
    QComboBox* sites() const { return find<QComboBox>(dialog, "coxAuctionSites"); }
    int stored(SettingKey key) const { return SettingsFile(settingsFile).readInt(key); }
};

} // namespace

class TestExportInfoDialog : public QObject {
    Q_OBJECT

private slots:
    void firstUse();
    void storedChoicesAreShownAndClamped();
    void postListingOpensTheSiteOnce();
    void defaultBrowser_data();
    void defaultBrowser();
    void cancel_data();
    void cancel();
    void helpBox();
    void regionWithoutSites();
    void unsafeStoredAddressIsNotOpened();
    void siteOpensWhenTheChoiceCannotBeStored_data();
    void siteOpensWhenTheChoiceCannotBeStored();
    void addSite_data();
    void addSite();
    void editSite_data();
    void editSite();
    void editedSiteStaysSelected();
    void deletedSiteSelectsTheFirst();
};

void TestExportInfoDialog::firstUse() {
    Fixture f;
    QCOMPARE(f.dialog.windowTitle(), QStringLiteral("Publish"));
    f.show();
    QVERIFY(radio(f.dialog, "radWorld", Asia)->isChecked());
    QCOMPARE(radio(f.dialog, "radWorld", Australia)->text(),
             QStringLiteral("Australia && New Zealand   "));
    QVERIFY(radio(f.dialog, "radBrowserChoice", 0)->isChecked());
    QCOMPARE(f.sites()->count(), 3);
    QCOMPARE(f.sites()->currentText(), QStringLiteral("First"));
    QCOMPARE(f.dialog.windowTitle(), QStringLiteral("Publishing to : First"));
    QCOMPARE(f.dialog.SiteURL(), QStringLiteral("https://first.example/login"));
    QVERIFY(find<QCheckBox>(f.dialog, "cbxShowExportHelp")->isChecked());
    // Looking is not choosing: nothing is stored until the listing is posted.
    QVERIFY(!QFile::exists(f.settingsFile));
    QVERIFY(f.target.calls.isEmpty());
    QVERIFY(f.dialogs.shownOf("message").isEmpty());
}

void TestExportInfoDialog::storedChoicesAreShownAndClamped() {
    Fixture f("[GENERAL]\r\nregion=9\r\nsiteIndex=2\r\nuseBrowser=1\r\nhideExportHlp=1\r\n");
    f.choices.hideHelp = true;
    f.show();
    QVERIFY(radio(f.dialog, "radWorld", Asia)->isChecked());
    QCOMPARE(f.sites()->currentText(), QStringLiteral("Third"));
    QVERIFY(radio(f.dialog, "radBrowserChoice", 1)->isChecked());
    QVERIFY(!find<QCheckBox>(f.dialog, "cbxShowExportHelp")->isChecked());

    // Another region starts at its first site; back in the stored region the
    // site last selected is selected again.
    radio(f.dialog, "radWorld", NorthAmerica)->click();
    QCOMPARE(f.dialog.windowTitle(), QStringLiteral("Publishing to : Alpha"));
    writeFile(f.settingsFile, "[GENERAL]\r\nregion=4\r\nsiteIndex=7\r\n");
    f.show();
    QCOMPARE(f.sites()->currentText(), QStringLiteral("Third"));
}

void TestExportInfoDialog::postListingOpensTheSiteOnce() {
    Fixture f;
    f.show();
    f.sites()->setCurrentIndex(1);
    QCOMPARE(f.dialog.SiteURL(), QStringLiteral("http://second.example/"));
    click(f.dialog, "btnPublishNow");
    QCOMPARE(f.dialog.result(), int(QDialog::Accepted));
    QCOMPARE(f.stored(SettingKey::region), 4);
    QCOMPARE(f.stored(SettingKey::siteIndex), 1);
    QCOMPARE(f.stored(SettingKey::useBrowser), 0);
    QCOMPARE(f.target.calls, QStringList({"page", "browse http://second.example/", "help"}));
    QCOMPARE(f.dialog.LastOpenedURL(), QStringLiteral("http://second.example/"));

    // Published again to the same site: the page already open is reused.
    f.target.calls.clear();
    f.choices.hideHelp = true;
    f.publish();
    QCOMPARE(f.sites()->currentText(), QStringLiteral("Second"));
    QCOMPARE(f.target.calls, QStringList({"page"}));

    // The other browser has not opened it; coming back, the internal one
    // opens it again.
    f.target.calls.clear();
    f.show();
    radio(f.dialog, "radBrowserChoice", 1)->click();
    click(f.dialog, "btnPublishNow");
    QCOMPARE(f.stored(SettingKey::useBrowser), 1);
    QCOMPARE(f.dialogs.shownOf("url"), QStringList({"http://second.example/"}));
    f.show();
    radio(f.dialog, "radBrowserChoice", 0)->click();
    click(f.dialog, "btnPublishNow");
    QCOMPARE(f.target.calls,
             QStringList({"page with panel", "page", "browse http://second.example/"}));
}

void TestExportInfoDialog::defaultBrowser_data() {
    QTest::addColumn<bool>("opened");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("lastOpened");
    QTest::addColumn<int>("urlsAfterSecondPublish");
    QTest::newRow("nominal") << true << QStringList() << "https://first.example/login" << 1;
    QTest::newRow("robustness: the desktop cannot open it")
        << false << QStringList({"Web Browser Error!", "Web Browser Error!"}) << "" << 2;
}

void TestExportInfoDialog::defaultBrowser() {
    QFETCH(bool, opened);
    QFETCH(QStringList, messages);
    QFETCH(QString, lastOpened);
    QFETCH(int, urlsAfterSecondPublish);

    Fixture f("[GENERAL]\r\nuseBrowser=1\r\n");
    f.dialogs.urlResults.enqueue(opened);
    f.dialogs.urlResults.enqueue(opened);
    f.publish();
    QCOMPARE(f.dialog.result(), int(QDialog::Accepted));
    QCOMPARE(f.target.calls, QStringList({"page with panel", "help"}));
    QCOMPARE(f.dialogs.shownOf("url"), QStringList({"https://first.example/login"}));
    QCOMPARE(f.dialog.LastOpenedURL(), lastOpened);
    // A site that did not open is tried again the next time.
    f.publish();
    QCOMPARE(f.dialogs.shownOf("url").size(), urlsAfterSecondPublish);
    QCOMPARE(f.dialogs.shownOf("message"), messages);
}

void TestExportInfoDialog::cancel_data() {
    QTest::addColumn<bool>("escape");
    QTest::newRow("nominal: Cancel Publishing") << false;
    QTest::newRow("nominal: Esc") << true;
}

void TestExportInfoDialog::cancel() {
    QFETCH(bool, escape);
    Fixture f;
    f.show();
    f.sites()->setCurrentIndex(2);
    if (escape)
        QTest::keyClick(&f.dialog, Qt::Key_Escape);
    else
        click(f.dialog, "btnCancelPublish");
    QCOMPARE(f.dialog.result(), int(QDialog::Rejected));
    QCOMPARE(f.target.calls, QStringList({"cancel"}));
    QVERIFY(f.dialogs.shownOf("url").isEmpty());
    QVERIFY(!QFile::exists(f.settingsFile));
}

void TestExportInfoDialog::helpBox() {
    Fixture f("[GENERAL]\r\nlang=fr\r\n");
    f.show();
    auto* box = find<QCheckBox>(f.dialog, "cbxShowExportHelp");
    box->click();
    QVERIFY(f.choices.hideHelp);
    QCOMPARE(readFile(f.settingsFile), QByteArray("[GENERAL]\r\nlang=fr\r\nhideExportHlp=1\r\n"));
    box->click();
    QVERIFY(!f.choices.hideHelp);
    QCOMPARE(readFile(f.settingsFile), QByteArray("[GENERAL]\r\nlang=fr\r\nhideExportHlp=0\r\n"));

    // Turned off in the settings dialog meanwhile: the box follows and the
    // file says so.
    f.choices.hideHelp = true;
    f.show();
    QVERIFY(!box->isChecked());
    QCOMPARE(readFile(f.settingsFile), QByteArray("[GENERAL]\r\nlang=fr\r\nhideExportHlp=1\r\n"));
    click(f.dialog, "btnPublishNow");
    QVERIFY(!f.target.calls.contains("help"));
}

void TestExportInfoDialog::regionWithoutSites() {
    Fixture f;
    f.show();
    radio(f.dialog, "radWorld", LatinAmerica)->click();
    QCOMPARE(f.sites()->count(), 0);
    QCOMPARE(f.dialog.windowTitle(), QStringLiteral("Publish"));
    QVERIFY(f.dialog.SiteURL().isEmpty());
    f.dialog.setResult(-1);
    click(f.dialog, "btnPublishNow");
    QCOMPARE(f.dialog.result(), -1);
    QCOMPARE(f.dialogs.shownOf("message").size(), 1);
    f.dialog.lblEditSitesClick();
    QCOMPARE(f.dialogs.shownOf("beep").size(), 1);
    QVERIFY(f.dialogs.shownOf("modal").size() == 1); // only the publish dialog itself
    QVERIFY(f.target.calls.isEmpty());
    QVERIFY(f.dialogs.shownOf("url").isEmpty());
    QVERIFY(!QFile::exists(f.settingsFile));
}

void TestExportInfoDialog::unsafeStoredAddressIsNotOpened() {
    Fixture f("[GENERAL]\r\nuseBrowser=1\r\n");
    writeFile(f.siteFile, "[ASIA]\r\nTrap=file:///usr/bin/xterm\r\n");
    f.show();
    f.dialog.setResult(-1);
    click(f.dialog, "btnPublishNow");
    QCOMPARE(f.dialog.result(), -1);
    QCOMPARE(f.dialogs.shownOf("message").size(), 1);
    QVERIFY(f.dialogs.shownOf("url").isEmpty());
    QVERIFY(f.target.calls.isEmpty());
}

void TestExportInfoDialog::siteOpensWhenTheChoiceCannotBeStored_data() {
    QTest::addColumn<bool>("external");
    QTest::addColumn<bool>("tooLarge"); // else a folder stands where the file goes
    QTest::newRow("robustness: internal browser") << false << false;
    QTest::newRow("robustness: default browser") << true << false;
    QTest::newRow("robustness: file too large to be read") << false << true;
}

void TestExportInfoDialog::siteOpensWhenTheChoiceCannotBeStored() {
    QFETCH(bool, external);
    QFETCH(bool, tooLarge);
    Fixture f(tooLarge ? "[GENERAL]\r\nregion=0\r\n" + QByteArray(2 << 20, ';') : QByteArray());
    if (!tooLarge) // a folder where the file goes: not writable, even by root
        QVERIFY(QDir().mkpath(f.settingsFile));
    f.show();
    QCOMPARE(f.sites()->currentText(), QStringLiteral("First")); // as on first use
    radio(f.dialog, "radBrowserChoice", external ? 1 : 0)->click();
    click(f.dialog, "btnPublishNow");

    QCOMPARE(f.dialog.result(), int(QDialog::Accepted));
    if (external) {
        QCOMPARE(f.target.calls, QStringList({"page with panel", "help"}));
        QCOMPARE(f.dialogs.shownOf("url"), QStringList({"https://first.example/login"}));
    } else {
        QCOMPARE(f.target.calls,
                 QStringList({"page", "browse https://first.example/login", "help"}));
    }
    const QStringList warnings = f.dialogs.shownOf("message");
    QCOMPARE(warnings.size(), 1);
    QVERIFY2(warnings.first().contains(f.settingsFile), qPrintable(warnings.first()));
    QCOMPARE(f.dialog.LastOpenedURL(), QStringLiteral("https://first.example/login"));
}

void TestExportInfoDialog::addSite_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("answers"); // y or n per question, in order
    QTest::addColumn<QStringList>("shownKinds");
    QTest::addColumn<QByteArray>("asiaAfter"); // the ASIA section as stored afterwards
    QTest::addColumn<int>("result");           // -1: stays open to correct the entry

    const QByteArray asia = "First=https://first.example/login\r\nSecond=http://second.example/"
                            "\r\nThird=https://third.example/\r\n";
    const QString yes = QStringLiteral("y");
    const QString no = QStringLiteral("n");
    QTest::newRow("nominal: appended, trimmed")
        << "  Fourth "
        << " https://fourth.example/ " << yes << QStringList()
        << asia + "Fourth=https://fourth.example/\r\n"
        << 1;
    QTest::newRow("nominal: unencrypted address kept when confirmed")
        << "Fourth"
        << "http://fourth.example/" << yes << QStringList({"yesno"})
        << asia + "Fourth=http://fourth.example/\r\n"
        << 1;
    QTest::newRow("robustness: unencrypted address declined")
        << "Fourth"
        << "http://fourth.example/" << no << QStringList({"yesno"}) << asia << -1;
    QTest::newRow("nominal: same name replaces the address when confirmed")
        << "THIRD"
        << "https://new.example/" << yes << QStringList({"yesno"})
        << QByteArray("First=https://first.example/login\r\nSecond=http://second.example/\r\n"
                      "Third=https://new.example/\r\n")
        << 1;
    QTest::newRow("robustness: same name declined")
        << "third"
        << "https://new.example/" << no << QStringList({"yesno"}) << asia << -1;
    QTest::newRow("robustness: empty name")
        << " "
        << "https://fourth.example/" << yes << QStringList({"message"}) << asia << 1;
    QTest::newRow("robustness: empty address")
        << "Fourth"
        << "" << yes << QStringList({"message"}) << asia << 1;
    QTest::newRow("robustness: name breaking the list")
        << "[EUROPE]"
        << "https://x.example/" << yes << QStringList({"message"}) << asia << -1;
    QTest::newRow("robustness: not a web page")
        << "Fourth"
        << "javascript:alert(1)" << yes << QStringList({"message"}) << asia << -1;
}

void TestExportInfoDialog::addSite() {
    QFETCH(QString, name);
    QFETCH(QString, address);
    QFETCH(QString, answers);
    QFETCH(QStringList, shownKinds);
    QFETCH(QByteArray, asiaAfter);
    QFETCH(int, result);

    Fixture f;
    f.show();
    f.sites()->setCurrentIndex(1);
    f.dialogs.shown.clear();
    enqueueAnswers(f.dialogs, answers);
    QString caption;
    int returned = 0;
    f.dialogs.modalActions.enqueue([&](QDialog& dialog) {
        caption = dialog.windowTitle();
        returned =
            fillAndClick(name, address, "btnAddSite", "edtAddSiteName", "edtAddSiteURL")(dialog);
        return returned;
    });
    f.dialog.lblAddSiteClick();

    QCOMPARE(caption, QStringLiteral("Adding site to Region : ASIA"));
    QCOMPARE(returned, result);
    QStringList kinds;
    for (const QString& entry : f.dialogs.shown.mid(1))
        kinds.append(entry.section(QLatin1Char(':'), 0, 0));
    QCOMPARE(kinds, shownKinds);
    if (name.trimmed().isEmpty() || address.trimmed().isEmpty())
        QCOMPARE(f.dialogs.shownOf("message"), QStringList({"Invalid entry. Operation cancelled"}));
    QCOMPARE(readFile(f.siteFile),
             QByteArray("[NORTH AMERICA]\r\nAlpha=https://alpha.example/\r\n[ASIA]\r\n") +
                 asiaAfter);
    if (result == 1) {
        // Reloaded, with the site selected before still selected.
        QCOMPARE(f.sites()->count(), asiaAfter.count('\n'));
        QCOMPARE(f.sites()->currentText(), QStringLiteral("Second"));
    }
}

void TestExportInfoDialog::editSite_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("answers"); // y or n per question, in order
    QTest::addColumn<QByteArray>("asiaAfter");
    QTest::addColumn<int>("result");

    const QByteArray asia = "First=https://first.example/login\r\nSecond=http://second.example/"
                            "\r\nThird=https://third.example/\r\n";
    const QString yes = QStringLiteral("y");
    const QString no = QStringLiteral("n");
    QTest::newRow("nominal: new address moves the site to the end")
        << "btnSaveChanges"
        << "First"
        << "https://first.example/new" << yes
        << QByteArray("Second=http://second.example/\r\nThird=https://third.example/\r\n"
                      "First=https://first.example/new\r\n")
        << 1;
    QTest::newRow("nominal: renamed")
        << "btnSaveChanges"
        << "Premier"
        << "https://first.example/login" << yes
        << QByteArray("Second=http://second.example/\r\nThird=https://third.example/\r\n"
                      "Premier=https://first.example/login\r\n")
        << 1;
    QTest::newRow("nominal: renamed onto another site when confirmed")
        << "btnSaveChanges"
        << "third"
        << "https://first.example/login" << yes
        << QByteArray("Second=http://second.example/\r\nthird=https://first.example/login\r\n")
        << 1;
    QTest::newRow("robustness: renamed onto another site declined")
        << "btnSaveChanges"
        << "third"
        << "https://first.example/login" << no << asia << -1;
    QTest::newRow("robustness: empty name") << "btnSaveChanges"
                                            << ""
                                            << "https://first.example/login" << yes << asia << 1;
    QTest::newRow("robustness: name with an equals sign")
        << "btnSaveChanges"
        << "a=b"
        << "https://first.example/login" << yes << asia << -1;
    QTest::newRow("nominal: deleted")
        << "btnDeleteSite"
        << ""
        << "" << yes
        << QByteArray("Second=http://second.example/\r\nThird=https://third.example/\r\n") << 1;
    QTest::newRow("nominal: delete declined") << "btnDeleteSite"
                                              << ""
                                              << "" << no << asia << 1;
}

void TestExportInfoDialog::editSite() {
    QFETCH(QString, button);
    QFETCH(QString, name);
    QFETCH(QString, address);
    QFETCH(QString, answers);
    QFETCH(QByteArray, asiaAfter);
    QFETCH(int, result);

    Fixture f;
    f.show();
    enqueueAnswers(f.dialogs, answers);
    QString shownName;
    QString shownAddress;
    const bool save = button == QLatin1String("btnSaveChanges");
    int returned = 0;
    f.dialogs.modalActions.enqueue([&](QDialog& dialog) {
        shownName = find<QLineEdit>(dialog, "edtSiteName")->text();
        shownAddress = find<QLineEdit>(dialog, "edtSiteUrl")->text();
        returned = fillAndClick(name, address, qPrintable(button), save ? "edtSiteName" : nullptr,
                                save ? "edtSiteUrl" : nullptr)(dialog);
        return returned;
    });
    f.dialog.lblEditSitesClick();

    QCOMPARE(shownName, QStringLiteral("First"));
    QCOMPARE(shownAddress, QStringLiteral("https://first.example/login"));
    QCOMPARE(returned, result);
    QCOMPARE(readFile(f.siteFile),
             QByteArray("[NORTH AMERICA]\r\nAlpha=https://alpha.example/\r\n[ASIA]\r\n") +
                 asiaAfter);
    if (!save)
        QCOMPARE(f.dialogs.shownOf("yesno"), QStringList({"Delete site \"First\" ?"}));
}

void TestExportInfoDialog::editedSiteStaysSelected() {
    Fixture f;
    f.show();
    f.dialogs.modalActions.enqueue(fillAndClick("Premier", "https://premier.example/",
                                                "btnSaveChanges", "edtSiteName", "edtSiteUrl"));
    f.dialog.lblEditSitesClick();
    QCOMPARE(f.sites()->currentText(), QStringLiteral("Premier"));
    QCOMPARE(f.dialog.SiteURL(), QStringLiteral("https://premier.example/"));
    QCOMPARE(f.dialog.windowTitle(), QStringLiteral("Publishing to : Premier"));
    click(f.dialog, "btnPublishNow");
    QCOMPARE(f.stored(SettingKey::siteIndex), 2);
    QVERIFY(f.target.calls.contains("browse https://premier.example/"));
}

void TestExportInfoDialog::deletedSiteSelectsTheFirst() {
    Fixture f("[GENERAL]\r\nsiteIndex=2\r\n");
    f.show();
    QCOMPARE(f.sites()->currentText(), QStringLiteral("Third"));
    f.dialogs.answers.enqueue(UserDialogs::Answer::Yes);
    f.dialogs.modalActions.enqueue(
        fillAndClick(QString(), QString(), "btnDeleteSite", nullptr, nullptr));
    f.dialog.lblEditSitesClick();
    QCOMPARE(f.sites()->count(), 2);
    QCOMPARE(f.sites()->currentText(), QStringLiteral("First"));
    QCOMPARE(f.dialog.SiteURL(), QStringLiteral("https://first.example/login"));
}

QTEST_MAIN(TestExportInfoDialog)
#include "tst_exportinfodialog.moc"
