#include "http/secretstore.h"
#include "settings/settings.h"
#include "settingsui/settingsdialog.h"
#include "settingsui/uploadsettingspage.h"
#include "supportui/scripteddialogs.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QQueue>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

/// A server folder whose test ends with the outcomes a test queues.
class FakeFolder : public RemoteFolder {
public:
    FakeFolder(const UploadAccount& account, UploadOutcome outcome)
        : RemoteFolder(account)
        , m_outcome(std::move(outcome)) {}
    void send(const QString&, const QByteArray&) override {}
    void remove(const QString&) override {}
    void test() override {
        m_busy = true;
        QTimer::singleShot(0, this, [this] {
            if (!m_busy)
                return;
            m_busy = false;
            emit finished(m_outcome);
        });
    }
    void cancel() override { m_busy = false; }
    bool isBusy() const override { return m_busy; }

private:
    UploadOutcome m_outcome;
    bool m_busy = false;
};

/// The settings dialog on a settings file of the test's own, its Upload page
/// shown and its server tests answered by `outcomes`.
struct Fixture {
    QTemporaryDir folder;
    QString file = folder.filePath(QStringLiteral("defaults.ini"));
    ScriptedDialogs dialogs;
    QQueue<UploadOutcome> outcomes;
    QList<UploadAccount> tried;

    std::unique_ptr<SettingsDialog> open() {
        auto dialog = std::make_unique<SettingsDialog>(dialogs, file);
        page(*dialog)->setFolderOpener([this](const UploadAccount& account) {
            tried.append(account);
            return std::make_unique<FakeFolder>(account, outcomes.isEmpty() ? UploadOutcome{}
                                                                            : outcomes.dequeue());
        });
        dialog->findChild<QTabWidget*>()->setCurrentWidget(page(*dialog));
        dialog->show();
        return dialog;
    }
    static UploadSettingsPage* page(const QDialog& dialog) {
        return dialog.findChild<UploadSettingsPage*>();
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

QString text(const QDialog& dialog, const char* name) {
    return find<QLineEdit>(dialog, name)->text();
}

void setText(const QDialog& dialog, const char* name, const QString& value) {
    find<QLineEdit>(dialog, name)->setText(value);
}

void save(const QDialog& dialog) {
    find<QPushButton>(dialog, "btnSettingsSave")->click();
}

void fillSftp(const QDialog& dialog) {
    find<QComboBox>(dialog, "cbxUpProto")->setCurrentIndex(1);
    setText(dialog, "edtUpHost", QStringLiteral("sftp.example"));
    setText(dialog, "edtUpPort", QStringLiteral("2222"));
    setText(dialog, "edtUpUser", QStringLiteral("anne"));
    setText(dialog, "edtUpFolder", QStringLiteral("www/pics"));
}

UploadOutcome outcome(UploadProblem problem, const QString& message,
                      ServerIdentity::Kind kind = ServerIdentity::Kind::None) {
    UploadOutcome outcome;
    outcome.problem = problem;
    outcome.message = message;
    outcome.identity.kind = kind;
    outcome.identity.fingerprint = QStringLiteral("SHA256:fingerprint");
    outcome.identity.trustLine = kind == ServerIdentity::Kind::HostKey
                                     ? QStringLiteral("[sftp.example]:2222 ssh-ed25519 AAAA")
                                     : QStringLiteral("sha256//pin=");
    return outcome;
}

} // namespace

/// The Upload page inside the settings dialog. The ctest command runs it in
/// a D-Bus session of its own with a fresh keyring
/// (tests/servers/with-keyring.sh), so saving really stores the password.
class TestUploadSettingsPage : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY2(qEnvironmentVariableIsSet("VANTREL_KEYRING_SESSION"),
                 "run through tests/servers/with-keyring.sh (ctest does)");
    }

    void saveThenReopenShowsEverythingAndThePasswordStaysOutOfTheFile() {
        Fixture f;
        const QString password = QStringLiteral("pâté \"secret\" l'œuf");
        {
            auto dialog = f.open();
            fillSftp(*dialog);
            setText(*dialog, "edtUpPassword", password);
            setText(*dialog, "edtUpKey", QStringLiteral("/home/anne/.ssh/id_ed25519"));
            setText(*dialog, "edtUpPublic", QStringLiteral("https://www.example.com/pics"));
            setText(*dialog, "edtUpMaxSide", QStringLiteral("1200"));
            save(*dialog);
            QCOMPARE(f.dialogs.shown, QStringList());
            QVERIFY(!dialog->isVisible());
        }
        const QByteArray file = f.stored();
        QVERIFY2(file.contains("[UPLOAD]\r\nupProto=1\r\nupHost=sftp.example\r\nupPort=2222\r\n"
                               "upUser=anne\r\nupFolder=www/pics\r\n"
                               "upKey=/home/anne/.ssh/id_ed25519\r\nupMaxSide=1200\r\n"),
                 file.constData());
        QVERIFY(file.contains("primSrv=https://www.example.com/pics/\r\n"));
        QVERIFY(!file.contains("secret"));

        auto reopened = f.open();
        QCOMPARE(find<QComboBox>(*reopened, "cbxUpProto")->currentIndex(), 1);
        QCOMPARE(text(*reopened, "edtUpHost"), QStringLiteral("sftp.example"));
        QCOMPARE(text(*reopened, "edtUpPort"), QStringLiteral("2222"));
        QCOMPARE(text(*reopened, "edtUpUser"), QStringLiteral("anne"));
        QCOMPARE(text(*reopened, "edtUpFolder"), QStringLiteral("www/pics"));
        QCOMPARE(text(*reopened, "edtUpKey"), QStringLiteral("/home/anne/.ssh/id_ed25519"));
        QCOMPARE(text(*reopened, "edtUpPublic"), QStringLiteral("https://www.example.com/pics/"));
        QCOMPARE(text(*reopened, "edtUpMaxSide"), QStringLiteral("1200"));
        QCOMPARE(text(*reopened, "edtUpPassword"), password);
        QCOMPARE(text(*reopened, "edtServer4"), QStringLiteral("https://www.example.com/pics/"));

        // Emptied and saved, the password is forgotten.
        setText(*reopened, "edtUpPassword", QString());
        save(*reopened);
        UploadAccount account;
        account.host = QStringLiteral("sftp.example");
        account.port = 2222;
        account.user = QStringLiteral("anne");
        QCOMPARE(secretstore::readPassword(account.secretKey()).valueOr("<failed>"), QString());
    }

    void leavingWithoutSavingForgetsTheTypedPassword() {
        Fixture f;
        {
            auto dialog = f.open();
            fillSftp(*dialog);
            setText(*dialog, "edtUpPassword", QStringLiteral("kept"));
            save(*dialog);
        }
        auto dialog = f.open();
        setText(*dialog, "edtUpPassword", QStringLiteral("typed, not saved"));
        static_cast<QDialog*>(dialog.get())->reject();
        dialog->show();
        QCOMPARE(text(*dialog, "edtUpPassword"), QStringLiteral("kept"));
    }

    void publicAddressIsTheChosenPersonalServer_data() {
        QTest::addColumn<int>("ownServer");
        QTest::addColumn<QString>("sameField");
        QTest::addColumn<QString>("otherField");
        QTest::newRow("primary") << 1 << QStringLiteral("edtServer4")
                                 << QStringLiteral("edtServer5");
        QTest::newRow("secondary")
            << 2 << QStringLiteral("edtServer5") << QStringLiteral("edtServer4");
    }
    void publicAddressIsTheChosenPersonalServer() {
        QFETCH(int, ownServer);
        QFETCH(QString, sameField);
        QFETCH(QString, otherField);
        Fixture f;
        auto dialog = f.open();
        find<QAbstractButton>(*dialog, ownServer == 2 ? "radServer5" : "radServer4")->click();
        setText(*dialog, "edtUpPublic", QStringLiteral("https://up.example/p/"));
        QCOMPARE(text(*dialog, qPrintable(sameField)), QStringLiteral("https://up.example/p/"));
        QCOMPARE(text(*dialog, qPrintable(otherField)), QString());
        setText(*dialog, qPrintable(sameField), QStringLiteral("https://servers.example/q/"));
        QCOMPARE(text(*dialog, "edtUpPublic"), QStringLiteral("https://servers.example/q/"));
    }

    void plainFtpWarns_data() {
        QTest::addColumn<int>("protocol");
        QTest::addColumn<bool>("warned");
        QTest::newRow("none") << 0 << false;
        QTest::newRow("SFTP") << 1 << false;
        QTest::newRow("WebDAV") << 2 << false;
        QTest::newRow("FTPS") << 3 << false;
        QTest::newRow("FTP") << 4 << true;
    }
    void plainFtpWarns() {
        QFETCH(int, protocol);
        QFETCH(bool, warned);
        Fixture f;
        auto dialog = f.open();
        find<QComboBox>(*dialog, "cbxUpProto")->setCurrentIndex(protocol);
        QCOMPARE(find<QLabel>(*dialog, "lblUpFtpWarning")->isVisible(), warned);
    }

    void badFieldIsNamedAndNothingIsWritten_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("named");
        QTest::newRow("no server") << "edtUpHost"
                                   << ""
                                   << "\"Server\"";
        QTest::newRow("port too large") << "edtUpPort"
                                        << "70000"
                                        << "\"Port\"";
        QTest::newRow("picture side too small") << "edtUpMaxSide"
                                                << "50"
                                                << "\"Largest picture side\"";
        QTest::newRow("web address not http") << "edtUpPublic"
                                              << "ftp://up.example/"
                                              << "\"Its web address\"";
    }
    void badFieldIsNamedAndNothingIsWritten() {
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QString, named);
        Fixture f;
        auto dialog = f.open();
        fillSftp(*dialog);
        setText(*dialog, qPrintable(field), value);
        save(*dialog);
        const QStringList messages = f.dialogs.shownOf(QStringLiteral("message"));
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages.first().startsWith(named), qPrintable(messages.first()));
        QVERIFY(dialog->isVisible());
        QCOMPARE(f.stored(), QByteArray());
    }

    void testConnection_data() {
        QTest::addColumn<QList<UploadOutcome>>("outcomes");
        QTest::addColumn<QList<UserDialogs::Answer>>("answers");
        QTest::addColumn<int>("tests");
        QTest::addColumn<QStringList>("shown");
        const QString works = QStringLiteral(
            "message: Connection works: a test file was written to sftp://sftp.example:2222/www/"
            "pics/ and removed.");
        QTest::newRow("works") << QList<UploadOutcome>{} << QList<UserDialogs::Answer>{} << 1
                               << QStringList{works};
        QTest::newRow("wrong password: said as the folder says it")
            << QList<UploadOutcome>{outcome(UploadProblem::WrongLogin,
                                            QStringLiteral("The password was refused."))}
            << QList<UserDialogs::Answer>{} << 1
            << QStringList{QStringLiteral("message: The password was refused.")};
        QTest::newRow("unknown host key accepted: tested again")
            << QList<UploadOutcome>{outcome(UploadProblem::UnknownHostKey, QStringLiteral("?"),
                                            ServerIdentity::Kind::HostKey)}
            << QList<UserDialogs::Answer>{UserDialogs::Answer::Yes} << 2
            << QStringList{QStringLiteral("yesno"), works};
        QTest::newRow("certificate declined: not tested again")
            << QList<UploadOutcome>{outcome(UploadProblem::UntrustedCertificate,
                                            QStringLiteral("?"), ServerIdentity::Kind::Certificate)}
            << QList<UserDialogs::Answer>{UserDialogs::Answer::No} << 1
            << QStringList{QStringLiteral("yesno")};
        QTest::newRow("refused again after accepting: said, not asked again")
            << QList<UploadOutcome>{outcome(UploadProblem::UnknownHostKey, QStringLiteral("?"),
                                            ServerIdentity::Kind::HostKey),
                                    outcome(UploadProblem::UnknownHostKey,
                                            QStringLiteral("Still unknown."),
                                            ServerIdentity::Kind::HostKey)}
            << QList<UserDialogs::Answer>{UserDialogs::Answer::Yes} << 2
            << QStringList{QStringLiteral("yesno"), QStringLiteral("message: Still unknown.")};
    }
    void testConnection() {
        QFETCH(QList<UploadOutcome>, outcomes);
        QFETCH(QList<UserDialogs::Answer>, answers);
        QFETCH(int, tests);
        QFETCH(QStringList, shown);
        Fixture f;
        for (const UploadOutcome& outcome : outcomes)
            f.outcomes.enqueue(outcome);
        for (UserDialogs::Answer answer : answers)
            f.dialogs.answers.enqueue(answer);
        auto dialog = f.open();
        fillSftp(*dialog);
        setText(*dialog, "edtUpPassword", QStringLiteral("typed"));
        auto* button = find<QPushButton>(*dialog, "btnUpTest");
        button->click();
        // Running: the seller sees it, cannot start a second one, and the
        // dialog answers.
        QVERIFY(!button->isEnabled());
        QVERIFY(find<QLabel>(*dialog, "lblUpTesting")->isVisible());
        QTRY_VERIFY(button->isEnabled());
        QTRY_COMPARE(f.tried.size(), tests);
        QTRY_VERIFY(button->isEnabled());
        QVERIFY(!find<QLabel>(*dialog, "lblUpTesting")->isVisible());
        QCOMPARE(f.tried.first().password, QStringLiteral("typed"));
        QCOMPARE(f.tried.first().host, QStringLiteral("sftp.example"));
        QStringList seen = f.dialogs.shown;
        for (QString& entry : seen) {
            if (entry.startsWith(QLatin1String("yesno")))
                entry = QStringLiteral("yesno");
        }
        QCOMPARE(seen, shown);
        // Nothing was saved by testing, except an accepted key in the
        // program's own file.
        QCOMPARE(f.stored(), QByteArray());
        const bool accepted = !answers.isEmpty() && answers.first() == UserDialogs::Answer::Yes;
        QCOMPARE(QFile::exists(f.folder.filePath(QStringLiteral("known_hosts"))), accepted);
        if (accepted)
            QVERIFY(f.tried.last().knownHostsFiles.last() ==
                    f.folder.filePath(QStringLiteral("known_hosts")));
    }
};

QTEST_MAIN(TestUploadSettingsPage)
#include "tst_uploadsettingspage.moc"
