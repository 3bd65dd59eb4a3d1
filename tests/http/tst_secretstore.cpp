#include "http/secretstore.h"
#include "http/uploadaccount.h"

#include <QProcess>
#include <QTest>
#include <cstdio>

namespace {

UploadAccount account(UploadAccount::Protocol protocol, const QString& user, const QString& host,
                      int port = 0) {
    UploadAccount account;
    account.protocol = protocol;
    account.user = user;
    account.host = host;
    account.port = port;
    return account;
}

QString stored(const QString& key) {
    const Result<QString> password = secretstore::readPassword(key);
    if (!password)
        return QStringLiteral("<failed: ") + password.error() + QLatin1Char('>');
    return *password;
}

} // namespace

/// The passwords against a real secret store: the ctest command runs this
/// in a D-Bus session of its own with a fresh keyring
/// (tests/servers/with-keyring.sh).
class TestSecretStore : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        // Never the developer's own keyring.
        QVERIFY2(qEnvironmentVariableIsSet("VANTREL_KEYRING_SESSION"),
                 "run through tests/servers/with-keyring.sh (ctest does)");
        const Status written = secretstore::writePassword(QStringLiteral("probe"), "x");
        QVERIFY2(written.ok(), qPrintable(written.error()));
    }

    void writeThenRead_data() {
        QTest::addColumn<QString>("password");
        QTest::newRow("plain") << QStringLiteral("s3cret");
        QTest::newRow("non-ASCII and quotes")
            << QStringLiteral("pâté \"à\" l'œuf — ünïcødé € 日本");
        QTest::newRow("spaces and backslash") << QStringLiteral("  a\\b c  ");
        QTest::newRow("long") << QString(300, QLatin1Char('k'));
    }
    void writeThenRead() {
        QFETCH(QString, password);
        const QString key = QStringLiteral("sftp://seller@write.example:22");
        QVERIFY(secretstore::writePassword(key, password).ok());
        QCOMPARE(stored(key), password);
    }

    void replaceKeepsTheLastOne() {
        const QString key = QStringLiteral("ftps://seller@replace.example:21");
        QVERIFY(secretstore::writePassword(key, QStringLiteral("first")).ok());
        QVERIFY(secretstore::writePassword(key, QStringLiteral("second")).ok());
        QCOMPARE(stored(key), QStringLiteral("second"));
    }

    void removeForgets() {
        const QString key = QStringLiteral("https://seller@remove.example:443");
        QVERIFY(secretstore::writePassword(key, QStringLiteral("gone soon")).ok());
        const Status removed = secretstore::removePassword(key);
        QVERIFY2(removed.ok(), qPrintable(removed.error()));
        QCOMPARE(stored(key), QString());
        // Removing what is not there is no failure.
        QVERIFY(secretstore::removePassword(key).ok());
    }

    void withoutAStoreTheSellerIsToldSo() {
        // This program again, on a session bus that does not exist.
        QProcess probe;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                           QStringLiteral("unix:path=/nonexistent/vantrel-bus"));
        environment.insert(QStringLiteral("VANTREL_SECRET_PROBE"), QStringLiteral("1"));
        probe.setProcessEnvironment(environment);
        probe.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(probe.waitForFinished(60000));
        const QString said = QString::fromUtf8(probe.readAllStandardOutput());
        QVERIFY2(said.startsWith(QLatin1String("No secret store is running on this desktop: the "
                                               "password cannot be kept.")),
                 qPrintable(said));
    }

    void missingReadsEmpty() {
        QCOMPARE(stored(QStringLiteral("sftp://nobody@never.example:22")), QString());
    }

    void accountsKeptApart_data() {
        using P = UploadAccount::Protocol;
        QTest::addColumn<QString>("firstKey");
        QTest::addColumn<QString>("secondKey");
        const auto row = [](const char* name, const UploadAccount& a, const UploadAccount& b) {
            QTest::newRow(name) << a.secretKey() << b.secretKey();
        };
        row("other user", account(P::Sftp, "anne", "apart.example"),
            account(P::Sftp, "bob", "apart.example"));
        row("other host", account(P::Sftp, "anne", "one.example"),
            account(P::Sftp, "anne", "two.example"));
        row("other protocol", account(P::Ftps, "anne", "proto.example"),
            account(P::WebDav, "anne", "proto.example"));
        row("other port", account(P::Sftp, "anne", "port.example"),
            account(P::Sftp, "anne", "port.example", 2222));
    }
    void accountsKeptApart() {
        QFETCH(QString, firstKey);
        QFETCH(QString, secondKey);
        QVERIFY(firstKey != secondKey);
        QVERIFY(secretstore::writePassword(firstKey, QStringLiteral("first's")).ok());
        QVERIFY(secretstore::writePassword(secondKey, QStringLiteral("second's")).ok());
        QCOMPARE(stored(firstKey), QStringLiteral("first's"));
        QCOMPARE(stored(secondKey), QStringLiteral("second's"));
        QVERIFY(secretstore::removePassword(firstKey).ok());
        QCOMPARE(stored(firstKey), QString());
        QCOMPARE(stored(secondKey), QStringLiteral("second's"));
    }
};

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    if (qEnvironmentVariableIsSet("VANTREL_SECRET_PROBE")) {
        // What a read says where no secret store runs.
        const Result<QString> read = secretstore::readPassword(QStringLiteral("probe"));
        std::fputs(read ? "read" : read.error().toUtf8().constData(), stdout);
        return 0;
    }
    TestSecretStore test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_secretstore.moc"
