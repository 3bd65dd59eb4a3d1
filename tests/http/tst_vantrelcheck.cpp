#include "http/picturetestserver.h"

#include <QCoreApplication>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestVantrelCheck : public QObject {
    Q_OBJECT
private slots:
    void linesAndExitCode_data();
    void linesAndExitCode();
    void wrongArguments();
};

void TestVantrelCheck::linesAndExitCode_data() {
    // "@" stands for the test server's address, "#" for its port.
    QTest::addColumn<QString>("page");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("all available")
        << "<style>td{background:url(@/pictures/tile.gif)}</style><img src=\"@/pictures/a.gif\">"
           "<table background=\"@/moved/bg.gif\">"
        << QStringList()
        << QStringList{"OK  @/pictures/tile.gif", "OK  @/pictures/a.gif", "OK  @/moved/bg.gif"}
        << 0;
    QTest::newRow("one missing")
        << "<img src=\"@/pictures/a.gif\"><img src=\"@/missing/b.gif\">" << QStringList()
        << QStringList{"OK  @/pictures/a.gif",
                       "NOT FOUND (404)  @/missing/b.gif  (127.0.0.1 answered 404 Not Found)"}
        << 1;
    QTest::newRow("HTML page") << "<img src=\"@/page/a.gif\">" << QStringList()
                               << QStringList{"NOT AN IMAGE (text/html)  @/page/a.gif"} << 1;
    QTest::newRow("HTML page sent as image/png")
        << "<img src=\"@/disguised/a.png\">" << QStringList()
        << QStringList{"NOT AN IMAGE (no picture inside)  @/disguised/a.png"} << 1;
    QTest::newRow("names in another letter case")
        << "<img src=\"@/pictures/Sky.jpg\"><img src=\"@/pictures/sky.jpg\">" << QStringList()
        << QStringList{"OK  @/pictures/Sky.jpg", "OK  @/pictures/sky.jpg"} << 0;
    QTest::newRow("stall") << "<img src=\"@/stall/a.gif\"><img src=\"@/pictures/b.gif\">"
                           << QStringList{"--timeout", "0.8"}
                           << QStringList{"TIMEOUT  @/stall/a.gif  (No answer within 0.8 seconds)",
                                          "OK  @/pictures/b.gif"}
                           << 1;
    QTest::newRow("through a proxy")
        << "<img src=\"http://pictures.example/pictures/a.gif\">"
        << QStringList{"--proxy", "127.0.0.1:#"}
        << QStringList{"OK  http://pictures.example/pictures/a.gif"} << 0;
    QTest::newRow("relative address")
        << "<img src=\"images/a.gif\">" << QStringList()
        << QStringList{"NOT A WEB ADDRESS  images/a.gif  (images/a.gif is not a web address)"} << 1;
    QTest::newRow("no pictures") << "<p>Nothing to see</p>" << QStringList() << QStringList() << 0;
    QTest::newRow("from standard input") << "<img src=\"@/pictures/a.gif\">" << QStringList{"-"}
                                         << QStringList{"OK  @/pictures/a.gif"} << 0;
    QTest::newRow("rules: an error, nothing fetched")
        << "<img src=\"@/missing/a.gif\">" << QStringList{"--rules"}
        << QStringList{"error http-picture line 1: @/missing/a.gif"} << 1;
    QTest::newRow("rules: a warning only")
        << "<a href=\"http://shop.example/\">Shop</a>" << QStringList{"--rules"}
        << QStringList{"warning http-link line 1: http://shop.example/ «Shop»"} << 0;
    QTest::newRow("rules: nothing found")
        << "<p>Nothing to see</p>" << QStringList{"--rules"} << QStringList() << 0;
    QTest::newRow("rules and pictures")
        << "<script></script><img src=\"@/pictures/a.gif\">" << QStringList{"--rules", "--pictures"}
        << QStringList{"error http-picture line 1: @/pictures/a.gif",
                       "error script line 1: <script>", "OK  @/pictures/a.gif"}
        << 1;
    QTest::newRow("rules in French")
        << "<img src=\"@/pictures/a.gif\">" << QStringList{"--rules", "--lang", "fr"}
        << QStringList{QString::fromUtf8(
               "error http-picture line 1: @/pictures/a.gif  (Image en connexion non sécurisée "
               "(http://) : les sites d'enchères n'affichent qu'un extrait d'une description au "
               "contenu non sécurisé. Utilisez un serveur d'images dont l'adresse commence par "
               "https://.)")}
        << 1;
    QTest::newRow("rules from standard input")
        << "<iframe src=\"@/pictures/a.gif\"></iframe>" << QStringList{"-", "--rules"}
        << QStringList{"error iframe line 1: <iframe>"} << 1;
}

void TestVantrelCheck::linesAndExitCode() {
    QFETCH(QString, page);
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, lines);
    QFETCH(int, exitCode);
    PictureTestServer server;
    const QString port = QString::number(server.serverPort());
    auto fill = [&](QString text) {
        return text.replace(QLatin1Char('@'), server.base()).replace(QLatin1Char('#'), port);
    };
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QByteArray html = "<html><body>" + fill(page).toUtf8() + "</body></html>";
    QStringList commandLine;
    QProcess process;
    if (arguments.contains(QStringLiteral("-"))) {
        commandLine = arguments;
    } else {
        const QString pageFile = folder.filePath(QStringLiteral("page.html"));
        QFile file(pageFile);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(html);
        file.close();
        commandLine = QStringList{pageFile};
        for (const QString& argument : std::as_const(arguments))
            commandLine.append(fill(argument));
    }
    QSignalSpy finished(&process, &QProcess::finished);
    // The server answers from this thread: wait with the event loop running.
    process.start(QCoreApplication::applicationDirPath() + QStringLiteral("/vantrel-check"),
                  commandLine);
    QVERIFY2(process.waitForStarted(), qPrintable(process.errorString()));
    if (arguments.contains(QStringLiteral("-"))) {
        process.write(html);
        process.closeWriteChannel();
    }
    QVERIFY(finished.wait(60000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QStringList expected;
    for (const QString& line : std::as_const(lines))
        expected.append(fill(line));
    const QString output = QString::fromLocal8Bit(process.readAllStandardOutput());
    QCOMPARE(output.split(QLatin1Char('\n'), Qt::SkipEmptyParts), expected);
    QCOMPARE(process.exitCode(), exitCode);
}

void TestVantrelCheck::wrongArguments() {
    QProcess process;
    process.start(QCoreApplication::applicationDirPath() + QStringLiteral("/vantrel-check"),
                  {QStringLiteral("--timeout")});
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), 2);
    QVERIFY(process.readAllStandardError().contains("usage: vantrel-check"));
}

QTEST_GUILESS_MAIN(TestVantrelCheck)
#include "tst_vantrelcheck.moc"
