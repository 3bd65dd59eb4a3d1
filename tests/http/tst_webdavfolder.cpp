#include "http/remotefolder.h"
#include "http/tlstrust.h"
#include "support/serverprocess.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>
#include <optional>

namespace {

constexpr int waitMs = 60000;
const char user[] = "seller";
const char password[] = "s3cret pass";

/// Runs `command` and gives its standard output; empty when it failed.
QByteArray run(const QString& program, const QStringList& arguments, const QByteArray& input = {}) {
    QProcess process;
    process.start(program, arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    return process.readAllStandardOutput();
}

/// A self-signed certificate for 127.0.0.1 and localhost, made in `folder`.
bool makeCertificate(const QString& folder, const QString& name) {
    const QString base = folder + QLatin1Char('/') + name;
    run(QStringLiteral("openssl"),
        {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
         QStringLiteral("rsa:2048"), QStringLiteral("-nodes"), QStringLiteral("-days"),
         QStringLiteral("2"), QStringLiteral("-subj"), QStringLiteral("/CN=localhost"),
         QStringLiteral("-addext"), QStringLiteral("subjectAltName=IP:127.0.0.1,DNS:localhost"),
         QStringLiteral("-keyout"), base + QStringLiteral(".key"), QStringLiteral("-out"),
         base + QStringLiteral(".pem")});
    return QFile::exists(base + QStringLiteral(".pem"));
}

/// The certificate's fingerprint as openssl prints it.
QString opensslFingerprint(const QString& pem) {
    const QByteArray line =
        run(QStringLiteral("openssl"),
            {QStringLiteral("x509"), QStringLiteral("-in"), pem, QStringLiteral("-noout"),
             QStringLiteral("-fingerprint"), QStringLiteral("-sha256")});
    return QString::fromLatin1(line.mid(line.indexOf('=') + 1).trimmed());
}

/// The certificate's public key in the form a pin takes, as openssl computes it.
QString opensslPin(const QString& pem) {
    const QByteArray key =
        run(QStringLiteral("openssl"), {QStringLiteral("x509"), QStringLiteral("-in"), pem,
                                        QStringLiteral("-noout"), QStringLiteral("-pubkey")});
    const QByteArray der = run(QStringLiteral("openssl"),
                               {QStringLiteral("pkey"), QStringLiteral("-pubin"),
                                QStringLiteral("-outform"), QStringLiteral("der")},
                               key);
    const QByteArray digest =
        run(QStringLiteral("openssl"),
            {QStringLiteral("dgst"), QStringLiteral("-sha256"), QStringLiteral("-binary")}, der);
    return QStringLiteral("sha256//") + QString::fromLatin1(digest.toBase64());
}

/// What an operation ended with; Other with "no outcome" when it never ended.
UploadOutcome await(RemoteFolder& folder, const std::function<void()>& start) {
    std::optional<UploadOutcome> outcome;
    const QMetaObject::Connection connection = QObject::connect(
        &folder, &RemoteFolder::finished, [&](const UploadOutcome& o) { outcome = o; });
    start();
    const QDeadlineTimer deadline(waitMs);
    while (!outcome && !deadline.hasExpired())
        QTest::qWait(10);
    QObject::disconnect(connection);
    return outcome.value_or(UploadOutcome{UploadProblem::Other, QStringLiteral("no outcome"), {}});
}

/// The files under `root`, as paths relative to it.
QStringList filesUnder(const QString& root) {
    QStringList files;
    QDir dir(root);
    const auto entries =
        dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries) {
        if (entry.isDir()) {
            for (const QString& inner : filesUnder(entry.filePath()))
                files.append(entry.fileName() + QLatin1Char('/') + inner);
        } else {
            files.append(entry.fileName());
        }
    }
    files.sort();
    return files;
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

enum class Trust { Nothing, CaFile, PinnedKey, OtherKey };

} // namespace

Q_DECLARE_METATYPE(Trust)
Q_DECLARE_METATYPE(UploadProblem)

class TestWebDavFolder : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void send_data();
    void send();
    void remove_data();
    void remove();
    void connectionTest();
    void refusals_data();
    void refusals();
    void trust_data();
    void trust();
    void cancelLeavesNoFile_data();
    void cancelLeavesNoFile();
    void readOnlyServer_data();
    void readOnlyServer();
    void probeReadsAnFtpsCertificate();

private:
    std::unique_ptr<ServerProcess> startServer(const QString& root, const QStringList& extra = {});
    UploadAccount account(int port) const;
    QString pem() const { return m_dir.filePath(QStringLiteral("server.pem")); }

    QTemporaryDir m_dir;
    QString m_root;
    std::unique_ptr<ServerProcess> m_server;
};

std::unique_ptr<ServerProcess> TestWebDavFolder::startServer(const QString& root,
                                                             const QStringList& extra) {
    QString why;
    const int port = ServerProcess::freePort();
    std::unique_ptr<ServerProcess> server = ServerProcess::start(
        QStringLiteral("rclone"),
        QStringList{QStringLiteral("serve"), QStringLiteral("webdav"), root,
                    QStringLiteral("--addr"), QStringLiteral("127.0.0.1:%1").arg(port),
                    QStringLiteral("--cert"), pem(), QStringLiteral("--key"),
                    m_dir.filePath(QStringLiteral("server.key")), QStringLiteral("--user"),
                    QLatin1String(user), QStringLiteral("--pass"), QLatin1String(password),
                    QStringLiteral("--config"), m_dir.filePath(QStringLiteral("rclone.conf")),
                    // The tests change the served folder behind its back.
                    QStringLiteral("--dir-cache-time"), QStringLiteral("0s")} +
            extra,
        QRegularExpression(QStringLiteral("Server started on https://127\\.0\\.0\\.1:(\\d+)/")),
        &why);
    if (!server)
        qWarning().noquote() << why;
    return server;
}

UploadAccount TestWebDavFolder::account(int port) const {
    UploadAccount account;
    account.protocol = UploadAccount::Protocol::WebDav;
    account.host = QStringLiteral("127.0.0.1");
    account.port = port;
    account.user = QLatin1String(user);
    account.password = QLatin1String(password);
    account.caCertFile = pem();
    account.timeLimitMs = 30000;
    return account;
}

void TestWebDavFolder::initTestCase() {
    QVERIFY(m_dir.isValid());
    QVERIFY2(makeCertificate(m_dir.path(), QStringLiteral("server")),
             "the openssl program is needed");
    QVERIFY(makeCertificate(m_dir.path(), QStringLiteral("other")));
    m_root = m_dir.filePath(QStringLiteral("root"));
    QVERIFY(QDir().mkpath(m_root));
    m_server = startServer(m_root);
    QVERIFY2(m_server, "the rclone program is needed to serve WebDAV");
}

void TestWebDavFolder::init() {
    QDir(m_root).removeRecursively();
    QVERIFY(QDir().mkpath(m_root));
}

void TestWebDavFolder::send_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("path");

    QTest::newRow("new file at the top") << ""
                                         << ""
                                         << "a.jpg"
                                         << "a.jpg";
    QTest::newRow("replaces a file of that name") << "pics"
                                                  << "pics/a.jpg"
                                                  << "a.jpg"
                                                  << "pics/a.jpg";
    QTest::newRow("missing folders are made") << "/shop/2026/pics/"
                                              << ""
                                              << "b c.png"
                                              << "shop/2026/pics/b c.png";
    QTest::newRow("folders partly there") << "shop/new"
                                          << "shop/old.jpg"
                                          << "été.gif"
                                          << "shop/new/été.gif";
}

void TestWebDavFolder::send() {
    QFETCH(QString, folder);
    QFETCH(QString, before);
    QFETCH(QString, name);
    QFETCH(QString, path);
    if (!before.isEmpty())
        writeFile(m_root + QLatin1Char('/') + before, "old picture");
    UploadAccount server = account(m_server->port());
    server.folder = folder;
    const std::unique_ptr<RemoteFolder> remote = RemoteFolder::open(server);
    QList<QPair<qint64, qint64>> progress;
    connect(remote.get(), &RemoteFolder::progress, this, [&](qint64 sent, qint64 total) {
        progress.append({sent, total});
    });
    const QByteArray bytes = QByteArray(300000, 'x') + name.toUtf8();

    const UploadOutcome outcome = await(*remote, [&] { remote->send(name, bytes); });

    QVERIFY2(outcome.ok(), qPrintable(outcome.message));
    QVERIFY(!remote->isBusy());
    QCOMPARE(readFile(m_root + QLatin1Char('/') + path), bytes);
    QStringList expected{path};
    if (!before.isEmpty() && before != path)
        expected.append(before);
    expected.sort();
    QCOMPARE(filesUnder(m_root), expected);
    QVERIFY(!progress.isEmpty());
    QCOMPARE(progress.last(), qMakePair(qint64(bytes.size()), qint64(bytes.size())));
}

void TestWebDavFolder::remove_data() {
    QTest::addColumn<bool>("present");
    QTest::newRow("a file that is there") << true;
    QTest::newRow("a file that is not there") << false;
}

void TestWebDavFolder::remove() {
    QFETCH(bool, present);
    writeFile(m_root + QStringLiteral("/pics/keep.jpg"), "keep");
    if (present)
        writeFile(m_root + QStringLiteral("/pics/gone.jpg"), "gone");
    UploadAccount server = account(m_server->port());
    server.folder = QStringLiteral("pics");
    const std::unique_ptr<RemoteFolder> remote = RemoteFolder::open(server);

    const UploadOutcome outcome =
        await(*remote, [&] { remote->remove(QStringLiteral("gone.jpg")); });

    QVERIFY2(outcome.ok(), qPrintable(outcome.message));
    QCOMPARE(filesUnder(m_root), QStringList{QStringLiteral("pics/keep.jpg")});
}

// The test makes the folder, and leaves nothing in it.
void TestWebDavFolder::connectionTest() {
    UploadAccount server = account(m_server->port());
    server.folder = QStringLiteral("shop/pics");
    const std::unique_ptr<RemoteFolder> remote = RemoteFolder::open(server);

    const UploadOutcome outcome = await(*remote, [&] { remote->test(); });

    QVERIFY2(outcome.ok(), qPrintable(outcome.message));
    QVERIFY(QFileInfo(m_root + QStringLiteral("/shop/pics")).isDir());
    QCOMPARE(filesUnder(m_root), QStringList());
}

void TestWebDavFolder::refusals_data() {
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("closedPort");
    QTest::addColumn<QString>("name");
    QTest::addColumn<UploadProblem>("problem");
    QTest::addColumn<QString>("message");

    QTest::newRow("wrong password")
        << "wrong" << false << "a.jpg" << UploadProblem::WrongLogin
        << "a.jpg could not be sent to https://127.0.0.1:%1/pics/. 127.0.0.1 does not accept "
           "this user name and password.";
    QTest::newRow("nothing listens on the port")
        << password << true << "a.jpg" << UploadProblem::Refused
        << "a.jpg could not be sent to https://127.0.0.1:%1/pics/. Connection refused by "
           "127.0.0.1.";
    QTest::newRow("a name that leaves the folder")
        << password << false << "../a.jpg" << UploadProblem::NameRefused
        << "../a.jpg could not be sent to https://127.0.0.1:%1/pics/. The name \"../a.jpg\" "
           "cannot be used on the server.";
}

void TestWebDavFolder::refusals() {
    QFETCH(QString, password);
    QFETCH(bool, closedPort);
    QFETCH(QString, name);
    UploadAccount server = account(closedPort ? ServerProcess::freePort() : m_server->port());
    server.folder = QStringLiteral("pics");
    server.password = password;
    const std::unique_ptr<RemoteFolder> remote = RemoteFolder::open(server);

    const UploadOutcome outcome = await(*remote, [&] { remote->send(name, "picture"); });

    QTEST(outcome.problem, "problem");
    QFETCH(QString, message);
    QCOMPARE(outcome.message, message.arg(server.port));
    QVERIFY(!outcome.message.contains(QLatin1String(::password)));
    QCOMPARE(filesUnder(m_root), QStringList());
}

void TestWebDavFolder::trust_data() {
    QTest::addColumn<Trust>("trust");
    QTest::addColumn<bool>("sent");
    QTest::newRow("a certificate no authority signed") << Trust::Nothing << false;
    QTest::newRow("the certificate's file trusted") << Trust::CaFile << true;
    QTest::newRow("its public key pinned") << Trust::PinnedKey << true;
    QTest::newRow("another key pinned") << Trust::OtherKey << false;
}

void TestWebDavFolder::trust() {
    QFETCH(Trust, trust);
    QFETCH(bool, sent);
    UploadAccount server = account(m_server->port());
    server.caCertFile = trust == Trust::CaFile ? pem() : QString();
    if (trust == Trust::PinnedKey)
        server.pinnedKey = opensslPin(pem());
    if (trust == Trust::OtherKey)
        server.pinnedKey = opensslPin(m_dir.filePath(QStringLiteral("other.pem")));
    QVERIFY(server.pinnedKey.isEmpty() == (trust != Trust::PinnedKey && trust != Trust::OtherKey));
    const std::unique_ptr<RemoteFolder> remote = RemoteFolder::open(server);

    const UploadOutcome outcome = await(*remote, [&] { remote->send("a.jpg", "picture"); });

    QCOMPARE(filesUnder(m_root), sent ? QStringList{QStringLiteral("a.jpg")} : QStringList());
    if (sent) {
        QVERIFY2(outcome.ok(), qPrintable(outcome.message));
        return;
    }
    QCOMPARE(outcome.problem, UploadProblem::UntrustedCertificate);
    QCOMPARE(outcome.identity.kind, ServerIdentity::Kind::Certificate);
    QCOMPARE(outcome.identity.fingerprint, opensslFingerprint(pem()));
    QCOMPARE(outcome.identity.trustLine, opensslPin(pem()));
    QVERIFY2(outcome.identity.description.startsWith(
                 QLatin1String("Issued to localhost by localhost, valid until ")),
             qPrintable(outcome.identity.description));
}

void TestWebDavFolder::cancelLeavesNoFile_data() {
    QTest::addColumn<bool>("allSent");
    QTest::newRow("while the bytes travel") << false;
    QTest::newRow("once every byte is there, before the rename") << true;
}

// Nothing under the picture's name, and the part sent is cleared away.
void TestWebDavFolder::cancelLeavesNoFile() {
    QFETCH(bool, allSent);
    const std::unique_ptr<RemoteFolder> remote = RemoteFolder::open(account(m_server->port()));
    const QByteArray bytes(allSent ? 1000 : 48 * 1024 * 1024, 'x');
    bool cancelled = false;
    connect(remote.get(), &RemoteFolder::progress, this, [&](qint64 sent, qint64 total) {
        if (!cancelled && sent > 0 && (allSent ? sent == total : sent < total)) {
            cancelled = true;
            remote->cancel();
        }
    });
    bool finished = false;
    connect(remote.get(), &RemoteFolder::finished, this, [&] { finished = true; });

    remote->send(QStringLiteral("big.jpg"), bytes);
    QTRY_VERIFY_WITH_TIMEOUT(cancelled, waitMs);

    QVERIFY(!remote->isBusy());
    QTRY_COMPARE_WITH_TIMEOUT(filesUnder(m_root), QStringList(), 20000);
    QTest::qWait(300);
    QCOMPARE(filesUnder(m_root), QStringList());
    QVERIFY(!finished);
}

void TestWebDavFolder::readOnlyServer_data() {
    QTest::addColumn<bool>("sending");
    QTest::newRow("send") << true;
    QTest::newRow("connection test") << false;
}

void TestWebDavFolder::readOnlyServer() {
    QFETCH(bool, sending);
    const QString root = m_dir.filePath(QStringLiteral("readonly"));
    QVERIFY(QDir().mkpath(root));
    const std::unique_ptr<ServerProcess> readOnly =
        startServer(root, {QStringLiteral("--read-only")});
    QVERIFY(readOnly);
    const std::unique_ptr<RemoteFolder> remote = RemoteFolder::open(account(readOnly->port()));

    const UploadOutcome outcome = await(*remote, [&] {
        if (sending)
            remote->send(QStringLiteral("a.jpg"), "picture");
        else
            remote->test();
    });

    QCOMPARE(outcome.problem, UploadProblem::FolderNotWritable);
    QCOMPARE(filesUnder(root), QStringList());
}

// An FTP server that turns secure on request (explicit TLS) shows the same
// identity as the WebDAV server with that certificate.
void TestWebDavFolder::probeReadsAnFtpsCertificate() {
    static const char script[] = R"(
import sys
from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import TLS_FTPHandler
from pyftpdlib.servers import FTPServer
certificate, key, root = sys.argv[1:4]
authorizer = DummyAuthorizer()
authorizer.add_user("seller", "secret", root, perm="elradfmw")
handler = TLS_FTPHandler
handler.certfile, handler.keyfile = certificate, key
handler.authorizer = authorizer
handler.tls_control_required = True
server = FTPServer(("127.0.0.1", 0), handler)
print("listening on port %d" % server.address[1], flush=True)
server.serve_forever()
)";
    QString why;
    const std::unique_ptr<ServerProcess> ftps =
        ServerProcess::start(QStringLiteral("/usr/bin/python3"),
                             {QStringLiteral("-c"), QString::fromLatin1(script), pem(),
                              m_dir.filePath(QStringLiteral("server.key")), m_root},
                             QRegularExpression(QStringLiteral("listening on port (\\d+)")), &why);
    QVERIFY2(ftps, qPrintable(why));
    UploadAccount server = account(ftps->port());
    server.protocol = UploadAccount::Protocol::Ftps;
    tlstrust::CertificateProbe probe(server);
    std::optional<ServerIdentity> identity;
    connect(&probe, &tlstrust::CertificateProbe::finished, this,
            [&](const ServerIdentity& shown) { identity = shown; });

    probe.start();

    QTRY_VERIFY_WITH_TIMEOUT(identity.has_value(), waitMs);
    QCOMPARE(identity->kind, ServerIdentity::Kind::Certificate);
    QCOMPARE(identity->fingerprint, opensslFingerprint(pem()));
    QCOMPARE(identity->trustLine, opensslPin(pem()));
}

QTEST_GUILESS_MAIN(TestWebDavFolder)
#include "tst_webdavfolder.moc"
