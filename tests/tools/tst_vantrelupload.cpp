#include "support/serverprocess.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Equal margins: the controls end with all three margins on the right one.
const QByteArray layout = "[POS]\r\nAdWidthType=0\r\nAdWidthValue=0640\r\n"
                          "[FRAME]\r\nFWidth=12\r\nFBgHideCol=0\r\nFBgCol=#123456\r\n"
                          "[TEXT]\r\nTxtAllMargins=1\r\nTxtPadTop=5\r\nTxtPadLeft=10\r\n"
                          "TxtPadRight=20\r\n";

struct Run {
    int exitCode = -1;
    QByteArray out;
    QString errors;
};

} // namespace

class TestVantrelUpload : public QObject {
    Q_OBJECT

private slots:
    void init();
    void refusesWhatCannotBeSent_data();
    void refusesWhatCannotBeSent();

private:
    QString write(const QString& name, const QByteArray& bytes);
    QString path(const QString& name) const { return m_dir->filePath(name); }
    Run run(const QStringList& arguments, const QString& password = QString());

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestVantrelUpload::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QImage photo(64, 48, QImage::Format_RGB32);
    photo.fill(qRgb(30, 90, 150));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(photo.save(&buffer, "png"));
    write(QStringLiteral("photo.png"), png);
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

QTEST_MAIN(TestVantrelUpload)
#include "tst_vantrelupload.moc"
