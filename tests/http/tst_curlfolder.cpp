#include "http/knownhosts.h"
#include "http/remotefolder.h"
#include "support/serverprocess.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QMessageAuthenticationCode>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

constexpr int waitMs = 60000;
const QString password = QStringLiteral("s3cret-Pw");
const QString python = QStringLiteral("/usr/bin/python3");

QString script(const char* name) {
    return QStringLiteral(VANTREL_TEST_SERVERS "/") + QLatin1String(name);
}

QByteArray readAll(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void writeFile(const QString& fileName, const QByteArray& bytes) {
    QFile file(fileName);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(fileName));
    file.write(bytes);
}

QByteArray picture(int size, char seed) {
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = char(seed + i * 7 + i / 251);
    return bytes;
}

/// The key of a ".pub" file ("type base64 comment"), in its wire form.
QByteArray publicKeyBlob(const QString& pubFile) {
    return QByteArray::fromBase64(readAll(pubFile).split(' ').value(1));
}

/// One test server on a loopback port with its root folder, where the
/// folders named after a fault show it.
struct Server {
    QTemporaryDir dir;
    std::unique_ptr<ServerProcess> process;

    QString root() const { return dir.filePath(QStringLiteral("root")); }
    QString file(const QString& name) const { return dir.filePath(name); }
    /// The files in a folder of the server, the hidden ones too.
    QStringList filesIn(const QString& folder) const {
        return QDir(root() + QLatin1Char('/') + folder)
            .entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }
    void start(const QString& program, const QStringList& arguments, const char* ready) {
        QDir().mkpath(root());
        for (const char* fault : {"readonly", "full", "drop"})
            QDir().mkpath(root() + QLatin1Char('/') + QLatin1String(fault));
        QString why;
        process = ServerProcess::start(program, arguments, QRegularExpression(QLatin1String(ready)),
                                       &why);
        QVERIFY2(process, qPrintable(why));
    }
};

enum class Kind { SftpPassword, SftpKey, Ftp, Ftps };

} // namespace

Q_DECLARE_METATYPE(Kind)
Q_DECLARE_METATYPE(UploadProblem)

class TestCurlFolder : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void sendReplaceRemoveAndTest_data();
    void sendReplaceRemoveAndTest();
    void failuresLeaveNothingUnderTheName_data();
    void failuresLeaveNothingUnderTheName();
    void nothingListening_data();
    void nothingListening();
    void unknownHostKeyThenTrusted();
    void changedHostKeySendsNothing();
    void untrustedCertificateSendsNothing();
    void cancelInTheMiddleLeavesNothing_data();
    void cancelInTheMiddleLeavesNothing();
    void knownHostsLookup_data();
    void knownHostsLookup();

private:
    UploadAccount account(Kind kind, const QString& folder) const;
    Server& serverOf(Kind kind);
    static UploadOutcome wait(RemoteFolder& folder, QSignalSpy& finished);
    void addSftpColumns();

    Server m_sftp;
    Server m_ftp;
    Server m_ftps;
    QString m_knownHosts;
};

void TestCurlFolder::initTestCase() {
    // The tests' own keys only: a developer's agent stays out of them.
    qunsetenv("SSH_AUTH_SOCK");
    m_sftp.start(python,
                 {script("sftpserver.py"), QStringLiteral("--root"), m_sftp.root(),
                  QStringLiteral("--password"), password, QStringLiteral("--host-key"),
                  m_sftp.file(QStringLiteral("host")), QStringLiteral("--client-key"),
                  m_sftp.file(QStringLiteral("client"))},
                 "SFTP READY PORT=(\\d+)");
    m_ftp.start(python,
                {script("ftpserver.py"), QStringLiteral("--root"), m_ftp.root(),
                 QStringLiteral("--password"), password},
                "FTP READY PORT=(\\d+)");
    m_ftps.start(python,
                 {script("ftpserver.py"), QStringLiteral("--root"), m_ftps.root(),
                  QStringLiteral("--password"), password, QStringLiteral("--tls"),
                  QStringLiteral("--cert"), m_ftps.file(QStringLiteral("cert.pem"))},
                 "FTP READY PORT=(\\d+)");
    // The host's key, known as the program would have stored it.
    m_knownHosts = m_sftp.file(QStringLiteral("known_hosts"));
    const QByteArray hostKey = publicKeyBlob(m_sftp.file(QStringLiteral("host.pub")));
    QVERIFY(!hostKey.isEmpty());
    writeFile(m_knownHosts,
              "# other hosts first\nexample.org ssh-ed25519 AAAAC3NzaC1lZDI1NTE5AAAAIE\n" +
                  knownhosts::line(QStringLiteral("127.0.0.1"), m_sftp.process->port(), hostKey)
                      .toUtf8() +
                  '\n');
}

UploadAccount TestCurlFolder::account(Kind kind, const QString& folder) const {
    UploadAccount account;
    account.host = QStringLiteral("127.0.0.1");
    account.user = QStringLiteral("seller");
    account.folder = folder;
    account.timeLimitMs = waitMs;
    switch (kind) {
    case Kind::SftpPassword:
    case Kind::SftpKey:
        account.protocol = UploadAccount::Protocol::Sftp;
        account.port = m_sftp.process->port();
        account.knownHostsFiles = {m_sftp.file(QStringLiteral("missing_known_hosts")),
                                   m_knownHosts};
        if (kind == Kind::SftpKey)
            account.keyFile = m_sftp.file(QStringLiteral("client"));
        else
            account.password = password;
        break;
    case Kind::Ftp:
        account.protocol = UploadAccount::Protocol::Ftp;
        account.port = m_ftp.process->port();
        account.password = password;
        break;
    case Kind::Ftps:
        account.protocol = UploadAccount::Protocol::Ftps;
        account.port = m_ftps.process->port();
        account.password = password;
        account.caCertFile = m_ftps.file(QStringLiteral("cert.pem.crt"));
        break;
    }
    return account;
}

Server& TestCurlFolder::serverOf(Kind kind) {
    if (kind == Kind::Ftp)
        return m_ftp;
    if (kind == Kind::Ftps)
        return m_ftps;
    return m_sftp;
}

UploadOutcome TestCurlFolder::wait(RemoteFolder& folder, QSignalSpy& finished) {
    if (finished.isEmpty() && !finished.wait(waitMs))
        return {UploadProblem::Other, QStringLiteral("no outcome in time"), {}};
    [&] { QCOMPARE(finished.size(), 1); }();
    Q_UNUSED(folder)
    return finished.takeFirst().at(0).value<UploadOutcome>();
}

void TestCurlFolder::addSftpColumns() {
    QTest::addColumn<Kind>("kind");
    QTest::newRow("SFTP, password") << Kind::SftpPassword;
    QTest::newRow("SFTP, key file") << Kind::SftpKey;
    QTest::newRow("FTP") << Kind::Ftp;
    QTest::newRow("FTPS") << Kind::Ftps;
}

void TestCurlFolder::sendReplaceRemoveAndTest_data() {
    addSftpColumns();
}

// Into a nested folder that does not exist yet: created, the file complete
// under its name, replaced by the next version, removed, removed again.
void TestCurlFolder::sendReplaceRemoveAndTest() {
    QFETCH(Kind, kind);
    Server& server = serverOf(kind);
    const QString folderName = QStringLiteral("shop %1 #é/new?/50% 2026").arg(int(kind));
    const auto folder = RemoteFolder::open(account(kind, folderName));
    QSignalSpy progress(folder.get(), &RemoteFolder::progress);
    QSignalSpy finished(folder.get(), &RemoteFolder::finished);
    const QString name = QStringLiteral("Red dress #2 ?100% é.jpg");
    const QString onDisk = server.root() + QLatin1Char('/') + folderName + QLatin1Char('/') + name;

    const QByteArray first = picture(300000, 'a');
    folder->send(name, first);
    QVERIFY(folder->isBusy());
    UploadOutcome outcome = wait(*folder, finished);
    QVERIFY2(outcome.ok(), qPrintable(outcome.message));
    QCOMPARE(readAll(onDisk), first);
    QCOMPARE(server.filesIn(folderName), QStringList{name});
    QVERIFY(!progress.isEmpty());
    QCOMPARE(progress.last().at(0).toLongLong(), qint64(first.size()));
    QCOMPARE(progress.last().at(1).toLongLong(), qint64(first.size()));

    const QByteArray second = picture(1000, 'z');
    folder->send(name, second);
    outcome = wait(*folder, finished);
    QVERIFY2(outcome.ok(), qPrintable(outcome.message));
    QCOMPARE(readAll(onDisk), second);
    QCOMPARE(server.filesIn(folderName), QStringList{name});

    for (int round = 0; round < 2; ++round) {
        folder->remove(name);
        outcome = wait(*folder, finished);
        QVERIFY2(outcome.ok(), qPrintable(outcome.message));
        QVERIFY(!QFile::exists(onDisk));
    }

    folder->test();
    outcome = wait(*folder, finished);
    QVERIFY2(outcome.ok(), qPrintable(outcome.message));
    QVERIFY(!folder->isBusy());
    QCOMPARE(server.filesIn(folderName), QStringList());
}

void TestCurlFolder::failuresLeaveNothingUnderTheName_data() {
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("wrongPassword");
    QTest::addColumn<int>("size");
    QTest::addColumn<UploadProblem>("problem");
    const struct {
        const char* label;
        Kind kind;
    } kinds[] = {{"SFTP", Kind::SftpPassword}, {"FTP", Kind::Ftp}, {"FTPS", Kind::Ftps}};
    for (const auto& k : kinds) {
        const auto row = [&](const char* what) {
            return &QTest::newRow(qPrintable(QStringLiteral("%1: %2").arg(k.label, what)));
        };
        *row("wrong password") << k.kind << "pics"
                               << "a.jpg" << true << 1000 << UploadProblem::WrongLogin;
        *row("read-only folder") << k.kind << "readonly"
                                 << "a.jpg" << false << 1000 << UploadProblem::FolderNotWritable;
        *row("read-only, missing subfolder")
            << k.kind << "readonly/sub"
            << "a.jpg" << false << 1000 << UploadProblem::FolderNotWritable;
        *row("full disk") << k.kind << "full"
                          << "a.jpg" << false << 200000 << UploadProblem::ServerFull;
        *row("dropped mid-file") << k.kind << "drop"
                                 << "a.jpg" << false << 200000 << UploadProblem::Dropped;
        *row("name refused") << k.kind << "names"
                             << "refused.jpg" << false << 1000 << UploadProblem::NameRefused;
        // Never sent as a path or a second command.
        *row("name with a slash") << k.kind << "names"
                                  << "../a.jpg" << false << 1000 << UploadProblem::NameRefused;
        *row("name with a line break")
            << k.kind << "names"
            << "a.jpg\r\nDELE b.jpg" << false << 1000 << UploadProblem::NameRefused;
    }
}

void TestCurlFolder::failuresLeaveNothingUnderTheName() {
    QFETCH(Kind, kind);
    QFETCH(QString, folder);
    QFETCH(QString, name);
    QFETCH(bool, wrongPassword);
    QFETCH(int, size);
    QFETCH(UploadProblem, problem);
    Server& server = serverOf(kind);
    UploadAccount target = account(kind, folder);
    if (wrongPassword)
        target.password = QStringLiteral("not-the-password");
    const auto remote = RemoteFolder::open(target);
    QSignalSpy finished(remote.get(), &RemoteFolder::finished);
    remote->send(name, picture(size, 'q'));
    const UploadOutcome outcome = wait(*remote, finished);
    if (outcome.problem != problem)
        qWarning() << outcome.message;
    QCOMPARE(int(outcome.problem), int(problem));
    QVERIFY2(outcome.message.contains(target.displayName()), qPrintable(outcome.message));
    QVERIFY2(outcome.message.contains(name), qPrintable(outcome.message));
    QVERIFY(!outcome.message.contains(target.password));
    QVERIFY(outcome.identity.isEmpty());
    // Nothing under the name, and the temporary file removed.
    QCOMPARE(server.filesIn(folder), QStringList());
    QVERIFY(!QFile::exists(server.root() + QStringLiteral("/b.jpg")));
}

void TestCurlFolder::nothingListening_data() {
    addSftpColumns();
}

void TestCurlFolder::nothingListening() {
    QFETCH(Kind, kind);
    UploadAccount target = account(kind, QStringLiteral("pics"));
    target.port = ServerProcess::freePort();
    const auto folder = RemoteFolder::open(target);
    QSignalSpy finished(folder.get(), &RemoteFolder::finished);
    folder->test();
    const UploadOutcome outcome = wait(*folder, finished);
    QCOMPARE(int(outcome.problem), int(UploadProblem::Refused));
    QVERIFY2(outcome.message.contains(target.displayName()), qPrintable(outcome.message));
}

// Unknown: stopped before logging in, with what the seller needs to decide;
// the line offered, once added to the program's file, makes the host known.
void TestCurlFolder::unknownHostKeyThenTrusted() {
    UploadAccount target = account(Kind::SftpPassword, QStringLiteral("trust"));
    const QString ownFile = m_sftp.file(QStringLiteral("own_known_hosts"));
    QFile::remove(ownFile);
    target.knownHostsFiles = {m_sftp.file(QStringLiteral("no_such_file")), ownFile};
    const auto folder = RemoteFolder::open(target);
    QSignalSpy finished(folder.get(), &RemoteFolder::finished);
    folder->send(QStringLiteral("a.jpg"), picture(5000, 'k'));
    UploadOutcome outcome = wait(*folder, finished);
    QCOMPARE(int(outcome.problem), int(UploadProblem::UnknownHostKey));
    const QByteArray key = publicKeyBlob(m_sftp.file(QStringLiteral("host.pub")));
    QByteArray digest = QCryptographicHash::hash(key, QCryptographicHash::Sha256).toBase64();
    digest.chop(1); // an Ed25519 key's digest ends with one "=" of padding
    QCOMPARE(int(outcome.identity.kind), int(ServerIdentity::Kind::HostKey));
    QCOMPARE(outcome.identity.fingerprint, QStringLiteral("SHA256:") + QString::fromLatin1(digest));
    QVERIFY2(outcome.message.contains(outcome.identity.fingerprint), qPrintable(outcome.message));
    QVERIFY(outcome.identity.description.contains(QLatin1String("ED25519")));
    QVERIFY(!QFile::exists(ownFile));
    QCOMPARE(m_sftp.filesIn(QStringLiteral("trust")), QStringList());

    QFile own(ownFile);
    QVERIFY(own.open(QIODevice::Append));
    own.write(outcome.identity.trustLine.toUtf8() + '\n');
    own.close();
    folder->send(QStringLiteral("a.jpg"), picture(5000, 'k'));
    outcome = wait(*folder, finished);
    QVERIFY2(outcome.ok(), qPrintable(outcome.message));
    QCOMPARE(m_sftp.filesIn(QStringLiteral("trust")), QStringList{QStringLiteral("a.jpg")});
}

// Another key of the same type for this host and port: a server posing as
// the seller's gets nothing, and the known-hosts file stays as it was.
void TestCurlFolder::changedHostKeySendsNothing() {
    UploadAccount target = account(Kind::SftpPassword, QStringLiteral("changed"));
    const QString file = m_sftp.file(QStringLiteral("changed_known_hosts"));
    const QByteArray other = publicKeyBlob(m_sftp.file(QStringLiteral("client.pub")));
    const QByteArray lines =
        knownhosts::line(target.host, target.effectivePort(), other).toUtf8() + '\n';
    writeFile(file, lines);
    target.knownHostsFiles = {file};
    const auto folder = RemoteFolder::open(target);
    QSignalSpy finished(folder.get(), &RemoteFolder::finished);
    folder->send(QStringLiteral("a.jpg"), picture(5000, 'c'));
    const UploadOutcome outcome = wait(*folder, finished);
    QCOMPARE(int(outcome.problem), int(UploadProblem::ChangedHostKey));
    QCOMPARE(int(outcome.identity.kind), int(ServerIdentity::Kind::HostKey));
    QVERIFY(!outcome.identity.fingerprint.isEmpty());
    QVERIFY(!outcome.identity.trustLine.isEmpty());
    QCOMPARE(m_sftp.filesIn(QStringLiteral("changed")), QStringList());
    QVERIFY(!QDir(m_sftp.root() + QStringLiteral("/changed")).exists());
    QCOMPARE(readAll(file), lines);
}

void TestCurlFolder::untrustedCertificateSendsNothing() {
    UploadAccount target = account(Kind::Ftps, QStringLiteral("untrusted"));
    target.caCertFile.clear();
    const auto folder = RemoteFolder::open(target);
    QSignalSpy finished(folder.get(), &RemoteFolder::finished);
    folder->send(QStringLiteral("a.jpg"), picture(5000, 'u'));
    const UploadOutcome outcome = wait(*folder, finished);
    QCOMPARE(int(outcome.problem), int(UploadProblem::UntrustedCertificate));
    QVERIFY2(outcome.message.contains(target.displayName()), qPrintable(outcome.message));
    QVERIFY(!QDir(m_ftps.root() + QStringLiteral("/untrusted")).exists());
}

void TestCurlFolder::cancelInTheMiddleLeavesNothing_data() {
    addSftpColumns();
}

// Stopped at the first piece sent: nothing is signalled after, and the
// temporary file goes from the server.
void TestCurlFolder::cancelInTheMiddleLeavesNothing() {
    QFETCH(Kind, kind);
    Server& server = serverOf(kind);
    const QString folderName = QStringLiteral("cancel%1").arg(int(kind));
    const auto folder = RemoteFolder::open(account(kind, folderName));
    QSignalSpy finished(folder.get(), &RemoteFolder::finished);
    bool cancelled = false;
    connect(folder.get(), &RemoteFolder::progress, folder.get(), [&](qint64 sent, qint64 total) {
        if (!cancelled && sent > 0 && sent < total) {
            cancelled = true;
            folder->cancel();
        }
    });
    folder->send(QStringLiteral("big.jpg"), picture(32 * 1024 * 1024, 'b'));
    QTRY_VERIFY_WITH_TIMEOUT(cancelled, waitMs);
    QVERIFY(!folder->isBusy());
    QTRY_COMPARE_WITH_TIMEOUT(server.filesIn(folderName), QStringList(), 20000);
    QTest::qWait(200);
    QCOMPARE(finished.size(), 0);
}

void TestCurlFolder::knownHostsLookup_data() {
    const QByteArray key = QByteArray::fromBase64(
        "AAAAC3NzaC1lZDI1NTE5AAAAIOMqqnkVzrm0SdG6UOoqKLsabgH5C9okWi0dh2l9GKJl");
    const QByteArray otherKey = QByteArray::fromBase64(
        "AAAAC3NzaC1lZDI1NTE5AAAAIBuRoEc3zQvN0p4rR0Xxc1zU3Gq1tW4dC3pQyW5gGz9q");
    const QByteArray rsaKey = QByteArray::fromBase64("AAAAB3NzaC1yc2EAAAADAQABAAAAgQC7");
    const QByteArray salt = QByteArray("0123456789abcdefghij");
    const auto hashed = [&](const char* name) {
        return "|1|" + salt.toBase64() + '|' +
               QMessageAuthenticationCode::hash(name, salt, QCryptographicHash::Sha1).toBase64();
    };
    const QByteArray line = ' ' + QByteArray("ssh-ed25519 ") + key.toBase64() + " me@home\n";
    const QByteArray otherLine = ' ' + QByteArray("ssh-ed25519 ") + otherKey.toBase64() + '\n';
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("port");
    QTest::addColumn<QByteArray>("blob");
    QTest::addColumn<int>("verdict");
    const int known = int(knownhosts::Verdict::Known);
    const int changed = int(knownhosts::Verdict::Changed);
    const int unknown = int(knownhosts::Verdict::Unknown);
    QTest::newRow("plain name") << "shop.example" + line << 22 << key << known;
    QTest::newRow("name in a list, any case")
        << "a.example,Shop.Example" + line << 22 << key << known;
    QTest::newRow("other port in brackets") << "[shop.example]:2222" + line << 2222 << key << known;
    QTest::newRow("bracket entry is not port 22")
        << "[shop.example]:2222" + line << 22 << key << unknown;
    QTest::newRow("plain entry is port 22 only") << "shop.example" + line << 2222 << key << unknown;
    QTest::newRow("hashed") << hashed("shop.example") + line << 22 << key << known;
    QTest::newRow("hashed with port")
        << hashed("[shop.example]:2222") + line << 2222 << key << known;
    QTest::newRow("hashed, other host") << hashed("other.example") + line << 22 << key << unknown;
    QTest::newRow("wildcard") << "*.example" + line << 22 << key << known;
    QTest::newRow("negated") << "*.example,!shop.example" + line << 22 << key << unknown;
    QTest::newRow("same type, other key") << "shop.example" + otherLine << 22 << key << changed;
    QTest::newRow("hashed, other key")
        << hashed("shop.example") + otherLine << 22 << key << changed;
    QTest::newRow("other key, then this one")
        << "shop.example" + otherLine + "shop.example" + line << 22 << key << known;
    QTest::newRow("only another type known") << "shop.example ssh-rsa " + rsaKey.toBase64() + '\n'
                                             << 22 << key << unknown;
    QTest::newRow("revoked") << "@revoked *" + line + "shop.example" + line << 22 << key << changed;
    QTest::newRow("comments and blank lines") << "# shop.example" + line + "\n\n"
                                              << 22 << key << unknown;
    QTest::newRow("not a key") << "shop.example" + line << 22 << QByteArray("\xff\xff") << changed;
}

void TestCurlFolder::knownHostsLookup() {
    QFETCH(QByteArray, file);
    QFETCH(int, port);
    QFETCH(QByteArray, blob);
    QFETCH(int, verdict);
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("known_hosts"));
    writeFile(name, file);
    QCOMPARE(int(knownhosts::check({dir.filePath(QStringLiteral("absent")), name},
                                   QStringLiteral("shop.example"), port, blob)),
             verdict);
}

QTEST_GUILESS_MAIN(TestCurlFolder)
#include "tst_curlfolder.moc"
