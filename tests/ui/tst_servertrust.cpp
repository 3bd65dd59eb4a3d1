#include "settings/settings.h"
#include "supportui/scripteddialogs.h"
#include "ui/servertrust.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString hostLine =
    QStringLiteral("[sftp.example]:2222 ssh-ed25519 AAAAC3NzaC1lZDI1NTE5AAAAIA");
const QString pinLine = QStringLiteral("sha256//YhKJKSzoTt2b5FP18fvpHo7fJYqQCjAa3HWY3tvRMwE=");

UploadOutcome outcome(UploadProblem problem, ServerIdentity::Kind kind, const QString& trustLine) {
    UploadOutcome outcome;
    outcome.problem = problem;
    outcome.message = QStringLiteral("not trusted");
    outcome.identity.kind = kind;
    outcome.identity.fingerprint = QStringLiteral("SHA256:abcdefFINGERPRINT");
    outcome.identity.description = QStringLiteral("ssh-ed25519");
    outcome.identity.trustLine = trustLine;
    return outcome;
}

QByteArray contentOf(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    return file.readAll();
}

/// A temporary home for the known-hosts files and the settings.
struct Fixture {
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    QString settingsFile = dir.filePath(QStringLiteral("defaults.ini"));
    Settings settings{settingsFile};
    UploadAccount account;

    Fixture() {
        account.protocol = UploadAccount::Protocol::Sftp;
        account.host = QStringLiteral("sftp.example");
        account.port = 2222;
        account.knownHostsFiles = {dir.filePath(QStringLiteral("user/known_hosts")),
                                   dir.filePath(QStringLiteral("own/data/known_hosts"))};
    }
    QString ownFile() const { return account.knownHostsFiles.last(); }
    QString storedPin() const {
        Settings fresh(settingsFile);
        (void)fresh.load();
        return fresh.text(SettingKey::upPin);
    }
};

} // namespace

class TestServerTrust : public QObject {
    Q_OBJECT

private slots:
    void unknownHostKey_data() {
        QTest::addColumn<QByteArray>("before"); // "<missing>" for no file
        QTest::addColumn<bool>("accept");
        QTest::addColumn<QByteArray>("after");
        const QByteArray line = hostLine.toUtf8() + '\n';
        QTest::newRow("accepted: file and folder made") << QByteArray("<missing>") << true << line;
        QTest::newRow("accepted: appended after the lines there")
            << QByteArray("a ssh-rsa AAA\n") << true << "a ssh-rsa AAA\n" + line;
        QTest::newRow("accepted: a last line without its end is kept whole")
            << QByteArray("a ssh-rsa AAA") << true << "a ssh-rsa AAA\n" + line;
        QTest::newRow("declined: nothing written")
            << QByteArray("a ssh-rsa AAA") << false << QByteArray("a ssh-rsa AAA");
        QTest::newRow("declined: no file made")
            << QByteArray("<missing>") << false << QByteArray("<missing>");
    }
    void unknownHostKey() {
        QFETCH(QByteArray, before);
        QFETCH(bool, accept);
        QFETCH(QByteArray, after);
        Fixture f;
        if (before != "<missing>") {
            QVERIFY(QDir().mkpath(QFileInfo(f.ownFile()).absolutePath()));
            QFile file(f.ownFile());
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(before);
        }
        f.dialogs.answers.enqueue(accept ? UserDialogs::Answer::Yes : UserDialogs::Answer::No);
        const bool trusted = servertrust::askToTrust(
            outcome(UploadProblem::UnknownHostKey, ServerIdentity::Kind::HostKey, hostLine),
            f.account, f.dialogs, f.settings);
        QCOMPARE(trusted, accept);
        const QStringList asked = f.dialogs.shownOf(QStringLiteral("yesno"));
        QCOMPARE(asked.size(), 1);
        QVERIFY(asked.first().contains(QStringLiteral("SHA256:abcdefFINGERPRINT")));
        QVERIFY(asked.first().contains(QStringLiteral("sftp.example")));
        QCOMPARE(contentOf(f.ownFile()), after);
        // The user's own file is never written.
        QCOMPARE(contentOf(f.account.knownHostsFiles.first()), QByteArray("<missing>"));
        if (before == "<missing>" && accept)
            QCOMPARE(QFile::permissions(f.ownFile()) &
                         (QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                          QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther),
                     QFile::ReadOwner | QFile::WriteOwner);
        QCOMPARE(f.storedPin(), QString());
    }

    void untrustedCertificate_data() {
        QTest::addColumn<bool>("accept");
        QTest::newRow("accepted: pinned") << true;
        QTest::newRow("declined: nothing pinned") << false;
    }
    void untrustedCertificate() {
        QFETCH(bool, accept);
        Fixture f;
        f.account.protocol = UploadAccount::Protocol::WebDav;
        f.dialogs.answers.enqueue(accept ? UserDialogs::Answer::Yes : UserDialogs::Answer::No);
        const bool trusted =
            servertrust::askToTrust(outcome(UploadProblem::UntrustedCertificate,
                                            ServerIdentity::Kind::Certificate, pinLine),
                                    f.account, f.dialogs, f.settings);
        QCOMPARE(trusted, accept);
        QCOMPARE(f.dialogs.shownOf(QStringLiteral("yesno")).size(), 1);
        QCOMPARE(f.storedPin(), accept ? pinLine : QString());
        QCOMPARE(contentOf(f.ownFile()), QByteArray("<missing>"));
    }

    void refusedWithoutAQuestion_data() {
        QTest::addColumn<int>("problem");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("trustLine");
        QTest::addColumn<QString>("shown"); // part of the one message shown; empty for none
        QTest::newRow("changed host key: warned, own file named")
            << int(UploadProblem::ChangedHostKey) << int(ServerIdentity::Kind::HostKey) << hostLine
            << QStringLiteral("nothing was sent");
        QTest::newRow("certificate that could not be read")
            << int(UploadProblem::UntrustedCertificate) << int(ServerIdentity::Kind::None)
            << QString() << QStringLiteral("could not read");
        QTest::newRow("host key line that would spill into a second line")
            << int(UploadProblem::UnknownHostKey) << int(ServerIdentity::Kind::HostKey)
            << hostLine + QStringLiteral("\nevil.example ssh-rsa AAA")
            << QStringLiteral("could not read");
        QTest::newRow("pin that would spill into a second line")
            << int(UploadProblem::UntrustedCertificate) << int(ServerIdentity::Kind::Certificate)
            << pinLine + QStringLiteral("\r\n[GENERAL]") << QStringLiteral("could not read");
        QTest::newRow("another problem: nothing to trust")
            << int(UploadProblem::WrongLogin) << int(ServerIdentity::Kind::None) << QString()
            << QString();
    }
    void refusedWithoutAQuestion() {
        QFETCH(int, problem);
        QFETCH(int, kind);
        QFETCH(QString, trustLine);
        QFETCH(QString, shown);
        Fixture f;
        // A Yes would be taken if anything asked.
        f.dialogs.answers.enqueue(UserDialogs::Answer::Yes);
        QVERIFY(!servertrust::askToTrust(
            outcome(UploadProblem(problem), ServerIdentity::Kind(kind), trustLine), f.account,
            f.dialogs, f.settings));
        QCOMPARE(f.dialogs.shownOf(QStringLiteral("yesno")), QStringList());
        const QStringList messages = f.dialogs.shownOf(QStringLiteral("message"));
        if (shown.isEmpty()) {
            QCOMPARE(messages, QStringList());
        } else {
            QCOMPARE(messages.size(), 1);
            QVERIFY2(messages.first().contains(shown), qPrintable(messages.first()));
        }
        if (UploadProblem(problem) == UploadProblem::ChangedHostKey)
            QVERIFY(messages.first().contains(f.ownFile()));
        QCOMPARE(contentOf(f.ownFile()), QByteArray("<missing>"));
        QCOMPARE(f.storedPin(), QString());
    }
};

QTEST_MAIN(TestServerTrust)
#include "tst_servertrust.moc"
