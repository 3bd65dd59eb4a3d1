#include "http/remotefolder.h"
#include "http/tlstrust.h"
#include "support/serverprocess.h"
#include "support/webdavtestserver.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>
#include <optional>

namespace {

constexpr int waitMs = 60000;
const char user[] = "seller";
const char password[] = "s3cret pass";

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
    std::unique_ptr<WebDavTestServer> startServer(const QString& root,
                                                  const QStringList& extra = {});
    UploadAccount account(int port) const;
    QString pem() const { return m_server->certificateFile(); }

    QTemporaryDir m_dir;
    QString m_root;
    TestCertificate m_other;
    std::unique_ptr<WebDavTestServer> m_server;
};

// Every server of the test shows the same certificate, the one the
// accounts trust.
std::unique_ptr<WebDavTestServer> TestWebDavFolder::startServer(const QString& root,
                                                                const QStringList& extra) {
    QString why;
    std::unique_ptr<WebDavTestServer> server =
        WebDavTestServer::start(root, QLatin1String(user), QLatin1String(password), extra, &why,
                                m_server ? &m_server->certificate() : nullptr);
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
    QVERIFY2(m_other.make(m_dir.path(), QStringLiteral("other")), "the openssl program is needed");
    m_root = m_dir.filePath(QStringLiteral("root"));
    QVERIFY(QDir().mkpath(m_root));
    m_server = startServer(m_root);
    QVERIFY2(m_server, "the openssl and rclone programs are needed to serve WebDAV");
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
    // Characters an address gives a meaning of its own.
    QTest::newRow("# ? % in folder and name") << "lot #3/50% off?"
                                              << ""
                                              << "rouge #2 ?100% é.jpg"
                                              << "lot #3/50% off?/rouge #2 ?100% é.jpg";
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
        << "\"a.jpg\" was not sent to https://127.0.0.1:%1/pics/. 127.0.0.1 does not accept "
           "this user name and password.";
    QTest::newRow("nothing listens on the port")
        << password << true << "a.jpg" << UploadProblem::Refused
        << "\"a.jpg\" was not sent to https://127.0.0.1:%1/pics/. Connection refused by "
           "127.0.0.1.";
    QTest::newRow("a name that leaves the folder")
        << password << false << "../a.jpg" << UploadProblem::NameRefused
        << "\"../a.jpg\" was not sent to https://127.0.0.1:%1/pics/. The name \"../a.jpg\" "
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
        server.pinnedKey = m_server->pin();
    if (trust == Trust::OtherKey)
        server.pinnedKey = m_other.pin();
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
    QCOMPARE(outcome.identity.fingerprint, m_server->fingerprint());
    QCOMPARE(outcome.identity.trustLine, m_server->pin());
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
    const std::unique_ptr<WebDavTestServer> readOnly =
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
                              m_server->certificate().keyFile(), m_root},
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
    QCOMPARE(identity->fingerprint, m_server->fingerprint());
    QCOMPARE(identity->trustLine, m_server->pin());
}

QTEST_GUILESS_MAIN(TestWebDavFolder)
#include "tst_webdavfolder.moc"
