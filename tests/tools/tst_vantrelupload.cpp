#include "support/sampledocument.h"
#include "support/serverprocess.h"
#include "support/webdavtestserver.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A frame with a picture of the seller's images folder.
const QByteArray layout = "[POS]\r\nAdWidthType=0\r\nAdWidthValue=0640\r\n"
                          "[FRAME]\r\nFWidth=12\r\nFBgHideCol=0\r\nFBgCol=#123456\r\n"
                          "FBgImg=\\Backgrounds\\sky.png\r\nFImgHide=0\r\n"
                          "[TEXT]\r\nTxtAllMargins=1\r\nTxtPadTop=5\r\nTxtPadLeft=10\r\n"
                          "TxtPadRight=20\r\n";

const QString password = QStringLiteral("s3cret-Pw");
const QString publicFolder = QStringLiteral("https://shop.example/p/");

QByteArray readAll(const QString& fileName) {
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/// The tool said it sent a picture.
bool sentAny(const QString& errors) {
    return errors.contains(QRegularExpression(QStringLiteral("(^|\n)sent ")));
}

struct Run {
    int exitCode = -1;
    QByteArray out;
    QString errors;
};

} // namespace

class TestVantrelUpload : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void refusesWhatCannotBeSent_data();
    void refusesWhatCannotBeSent();
    void sendsOnceThenNothing();
    void refusedLoginWritesNoPage();
    void unknownHostKeyIsRefused();
    void webDavTrustsOnlyItsCertificate_data();
    void webDavTrustsOnlyItsCertificate();

private:
    QString write(const QString& name, const QByteArray& bytes);
    QString path(const QString& name) const { return m_dir->filePath(name); }
    Run run(const QStringList& arguments, const QString& password = QString());

    /// The SFTP server's folder for `test`, as --to names it.
    QString sftpFolder(const QString& test) const;
    Run runSftp(const QString& test, const QString& knownHosts, const QString& login);

    std::unique_ptr<QTemporaryDir> m_dir;
    QTemporaryDir m_serverDir;
    std::unique_ptr<ServerProcess> m_sftp;
    QString m_knownHosts;
};

void TestVantrelUpload::initTestCase() {
    QVERIFY(m_serverDir.isValid());
    QDir().mkpath(m_serverDir.filePath(QStringLiteral("root")));
    QString why;
    // The system's Python, which has the server's packages.
    m_sftp = ServerProcess::start(
        QStringLiteral("/usr/bin/python3"),
        {QStringLiteral(VANTREL_TEST_SERVERS "/sftpserver.py"), QStringLiteral("--root"),
         m_serverDir.filePath(QStringLiteral("root")), QStringLiteral("--password"), password,
         QStringLiteral("--host-key"), m_serverDir.filePath(QStringLiteral("host")),
         QStringLiteral("--client-key"), m_serverDir.filePath(QStringLiteral("client"))},
        QRegularExpression(QStringLiteral("SFTP READY PORT=(\\d+)")), &why);
    QVERIFY2(m_sftp, qPrintable(why));
    // The host's key as known-hosts files name a host on another port.
    const QList<QByteArray> hostKey =
        readAll(m_serverDir.filePath(QStringLiteral("host.pub"))).trimmed().split(' ');
    QVERIFY(hostKey.size() >= 2);
    m_knownHosts = m_serverDir.filePath(QStringLiteral("known_hosts"));
    QFile file(m_knownHosts);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[127.0.0.1]:" + QByteArray::number(m_sftp->port()) + ' ' + hostKey.at(0) + ' ' +
               hostKey.at(1) + '\n');
}

QString TestVantrelUpload::sftpFolder(const QString& test) const {
    return m_serverDir.filePath(QStringLiteral("root/") + test);
}

Run TestVantrelUpload::runSftp(const QString& test, const QString& knownHosts,
                               const QString& login) {
    return run({QStringLiteral("item.html"), QStringLiteral("shop.rbs"), QStringLiteral("--to"),
                QStringLiteral("sftp://127.0.0.1:%1/%2/").arg(m_sftp->port()).arg(test),
                QStringLiteral("--user"), QStringLiteral("seller"), QStringLiteral("--public"),
                publicFolder, QStringLiteral("--known-hosts"), knownHosts, QStringLiteral("-o"),
                path(QStringLiteral("page.html"))},
               login);
}

void TestVantrelUpload::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    write(QStringLiteral("photo.png"), sampledocument::pngBytes(64, 48, qRgb(30, 90, 150)));
    write(QStringLiteral("home/Documents/Vantrel/images/Backgrounds/sky.png"),
          sampledocument::pngBytes(32, 32, qRgb(200, 220, 250)));
    write(QStringLiteral("item.html"), "<p>Clock</p><img src=\"photo.png\">");
    write(QStringLiteral("shop.rbs"), layout);
}

QString TestVantrelUpload::write(const QString& name, const QByteArray& bytes) {
    const QString file = path(name);
    QDir().mkpath(QFileInfo(file).absolutePath());
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
        qFatal("cannot write the fixture");
    return file;
}

Run TestVantrelUpload::run(const QStringList& arguments, const QString& password) {
    QProcess tool;
    // The record of what was sent and the known hosts stay in the test's
    // folder; Qt's complaint about a missing runtime folder stays out of the
    // tool's messages.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    environment.insert(QStringLiteral("HOME"), path(QStringLiteral("home")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), path(QStringLiteral("home/data")));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), path(QStringLiteral("home/config")));
    environment.remove(QStringLiteral("VANTREL_PASSWORD"));
    environment.remove(QStringLiteral("SSH_AUTH_SOCK"));
    if (!password.isNull())
        environment.insert(QStringLiteral("VANTREL_PASSWORD"), password);
    tool.setProcessEnvironment(environment);
    tool.setWorkingDirectory(m_dir->path());
    // No terminal to ask a password on.
    tool.setStandardInputFile(QProcess::nullDevice());
    tool.start(QCoreApplication::applicationDirPath() + QStringLiteral("/vantrel-upload"),
               arguments);
    Run result;
    if (!tool.waitForFinished(120000))
        return result;
    result.exitCode = tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
    result.out = tool.readAllStandardOutput();
    result.errors = QString::fromUtf8(tool.readAllStandardError());
    return result;
}

void TestVantrelUpload::refusesWhatCannotBeSent_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    const QString closed = QString::number(ServerProcess::freePort());
    const QStringList files{QStringLiteral("item.html"), QStringLiteral("shop.rbs")};
    const QStringList pub{QStringLiteral("--public"), QStringLiteral("https://shop.example/p/")};
    QTest::newRow("no --to") << files + pub << 2 << "--to is missing";
    QTest::newRow("no --public") << files + QStringList{"--to", "sftp://127.0.0.1/p/"} << 2
                                 << "--public is missing";
    QTest::newRow("--to of no known protocol")
        << files + pub + QStringList{"--to", "gopher://127.0.0.1/p/"} << 2 << "--to: ";
    QTest::newRow("--public that is no web address")
        << files + QStringList{"--to", "sftp://127.0.0.1/p/", "--public", "shop pictures"} << 2
        << "--public needs";
    QTest::newRow("--max-side that is no number")
        << files + pub + QStringList{"--to", "sftp://127.0.0.1/p/", "--max-side", "big"} << 2
        << "--max-side";
    QTest::newRow("--user without its value")
        << files + pub + QStringList{"--to", "sftp://127.0.0.1/p/", "--user"} << 2
        << "--user needs a value";
    QTest::newRow("one file only") << QStringList{"item.html", "--to", "sftp://127.0.0.1/p/"} + pub
                                   << 2 << "give a document and a layout";
    QTest::newRow("missing document")
        << QStringList{"gone.html", "shop.rbs", "--to", "sftp://127.0.0.1/p/"} + pub << 1
        << "gone.html";
    QTest::newRow("no layout file")
        << QStringList{"item.html", "item.html", "--to", "sftp://127.0.0.1/p/"} + pub << 1
        << "is not a layout file";
    QTest::newRow("nothing listens on the server's port")
        << files + pub + QStringList{"--to", "sftp://seller@127.0.0.1:" + closed + "/p/"} << 1
        << "failed photo.png: ";
}

void TestVantrelUpload::refusesWhatCannotBeSent() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    const Run result = run(QStringList{"-o", path("page.html")} + arguments, "not-the-password");
    QCOMPARE(result.exitCode, exitCode);
    QVERIFY2(result.errors.contains(message), qPrintable(result.errors));
    QVERIFY2(!QFile::exists(path(QStringLiteral("page.html"))), "a page was written");
    QVERIFY(result.out.isEmpty());
    QVERIFY(!result.errors.contains(QLatin1String("not-the-password")));
}

// The first run sends every picture the page needs, the document's and the
// layout's, prepared, and the page names them at the public folder; the next
// run finds them there in the same version and sends nothing.
void TestVantrelUpload::sendsOnceThenNothing() {
    const Run first = runSftp(QStringLiteral("once"), m_knownHosts, password);
    QVERIFY2(first.exitCode == 0, qPrintable(first.errors));
    QVERIFY2(first.errors.contains(QLatin1String("sent photo.png\n")) &&
                 first.errors.contains(QLatin1String("sent sky.png\n")),
             qPrintable(first.errors));
    QCOMPARE(QDir(sftpFolder(QStringLiteral("once")))
                 .entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
             (QStringList{"photo.png", "sky.png"}));
    QCOMPARE(QImage::fromData(readAll(sftpFolder(QStringLiteral("once/photo.png")))).size(),
             QSize(64, 48));
    const QByteArray page = readAll(path(QStringLiteral("page.html")));
    QVERIFY2(page.contains((publicFolder + "photo.png").toUtf8()) &&
                 page.contains((publicFolder + "sky.png").toUtf8()),
             page.constData());
    QVERIFY(!page.contains("file:"));
    QVERIFY(!first.errors.contains(password));

    // Changed on the server behind the record's back: a second run that sent
    // anything would put the picture back.
    QFile::remove(path(QStringLiteral("page.html")));
    const QString onServer = sftpFolder(QStringLiteral("once/photo.png"));
    QFile marked(onServer);
    QVERIFY(marked.open(QIODevice::WriteOnly));
    marked.write("marker");
    marked.close();
    const Run second = runSftp(QStringLiteral("once"), m_knownHosts, password);
    QVERIFY2(second.exitCode == 0, qPrintable(second.errors));
    QVERIFY2(second.errors.contains(QLatin1String("unchanged photo.png\n")) &&
                 second.errors.contains(QLatin1String("unchanged sky.png\n")) &&
                 !sentAny(second.errors),
             qPrintable(second.errors));
    QCOMPARE(readAll(onServer), QByteArray("marker"));
    QVERIFY(
        readAll(path(QStringLiteral("page.html"))).contains((publicFolder + "photo.png").toUtf8()));
}

void TestVantrelUpload::refusedLoginWritesNoPage() {
    const Run result = runSftp(QStringLiteral("refused"), m_knownHosts, "not-" + password);
    QCOMPARE(result.exitCode, 1);
    QVERIFY2(result.errors.contains(QLatin1String("failed photo.png: \"photo.png\"")) &&
                 result.errors.contains(QLatin1String("failed sky.png: \"sky.png\"")),
             qPrintable(result.errors));
    QVERIFY2(!sentAny(result.errors), qPrintable(result.errors));
    QVERIFY(!QFile::exists(path(QStringLiteral("page.html"))));
    QVERIFY(result.out.isEmpty());
    QVERIFY(!result.errors.contains(password));
    QVERIFY(QDir(sftpFolder(QStringLiteral("refused")))
                .entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot)
                .isEmpty());
}

// --known-hosts replaces the default: a host not in that file is refused,
// with its fingerprint, before anything is sent.
void TestVantrelUpload::unknownHostKeyIsRefused() {
    const QString empty = write(QStringLiteral("empty_known_hosts"), "");
    const Run result = runSftp(QStringLiteral("unknown"), empty, password);
    QCOMPARE(result.exitCode, 1);
    QVERIFY2(result.errors.contains(QLatin1String("not trusted")) &&
                 result.errors.contains(QLatin1String("SHA256:")),
             qPrintable(result.errors));
    QVERIFY2(!sentAny(result.errors), qPrintable(result.errors));
    QVERIFY(!QFile::exists(path(QStringLiteral("page.html"))));
    QVERIFY(!QDir(sftpFolder(QStringLiteral("unknown"))).exists() ||
            QDir(sftpFolder(QStringLiteral("unknown")))
                .entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot)
                .isEmpty());
    // Nothing was added to the file given.
    QCOMPARE(readAll(empty), QByteArray());
}

void TestVantrelUpload::webDavTrustsOnlyItsCertificate_data() {
    QTest::addColumn<bool>("caCert");
    QTest::newRow("with --cacert") << true;
    QTest::newRow("a certificate no authority signed") << false;
}

void TestVantrelUpload::webDavTrustsOnlyItsCertificate() {
    QFETCH(bool, caCert);
    const QString root = path(QStringLiteral("dav"));
    QDir().mkpath(root);
    QString why;
    // Its certificate is a self-signed one for the loopback address.
    const std::unique_ptr<WebDavTestServer> server =
        WebDavTestServer::start(root, QStringLiteral("seller"), password, {}, &why);
    QVERIFY2(server, qPrintable(why));
    QStringList arguments{
        "item.html", "shop.rbs",
        "--to",      QStringLiteral("https://seller@127.0.0.1:%1/shop/p/").arg(server->port()),
        "--public",  publicFolder,
        "-o",        path(QStringLiteral("page.html"))};
    if (caCert)
        arguments += QStringList{"--cacert", server->certificateFile()};
    const Run result = run(arguments, password);
    QVERIFY(!result.errors.contains(password));
    if (caCert) {
        QVERIFY2(result.exitCode == 0, qPrintable(result.errors));
        QVERIFY2(result.errors.contains(QLatin1String("sent photo.png\n")),
                 qPrintable(result.errors));
        QCOMPARE(QImage::fromData(readAll(root + QStringLiteral("/shop/p/sky.png"))).size(),
                 QSize(32, 32));
        QVERIFY(readAll(path(QStringLiteral("page.html")))
                    .contains((publicFolder + "sky.png").toUtf8()));
    } else {
        QCOMPARE(result.exitCode, 1);
        QVERIFY2(result.errors.contains(QLatin1String("not trusted")), qPrintable(result.errors));
        QVERIFY2(!sentAny(result.errors), qPrintable(result.errors));
        QVERIFY(!QFile::exists(path(QStringLiteral("page.html"))));
        QVERIFY(!QFile::exists(root + QStringLiteral("/shop/p/photo.png")));
    }
}

QTEST_MAIN(TestVantrelUpload)
#include "tst_vantrelupload.moc"
