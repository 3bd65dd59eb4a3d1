#include "docmodel/eddocument.h"
#include "docmodel/vdocreader.h"
#include "support/sampledocument.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

/// Runs the tool in `folder`, where it saves the pictures of an export to
/// standard output: a test writes only in its own temporary folders.
Run runTool(const QStringList& arguments, const QString& folder = QDir::tempPath()) {
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(QCoreApplication::applicationDirPath() + QStringLiteral("/vantrel-doc"),
                  arguments);
    Run run;
    if (!process.waitForFinished(60000))
        return run;
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write the fixture");
}

} // namespace

class TestVantrelDoc : public QObject {
    Q_OBJECT

private slots:
    void importThenExport();
    void listingPages_data();
    void listingPages();
    void unreadableInput_data();
    void unreadableInput();
    void welcomeDocumentIsBuilt_data();
    void welcomeDocumentIsBuilt();
};

void TestVantrelDoc::importThenExport() {
    QTemporaryDir folder;
    writeFile(folder.filePath(QStringLiteral("dot.gif")), sampledocument::gifBytes());
    writeFile(folder.filePath(QStringLiteral("page.html")),
              "<h1 align=center>Caf\xc3\xa9 <font color=\"#ff0000\">red</font></h1>"
              "<p><a href=\"http://shop.example/\">shop</a> <img src=\"dot.gif\"></p>"
              "<ol><li>one</li></ol><table border=1><tr><td>cell</td></tr></table><hr>");
    const QString vdoc = folder.filePath(QStringLiteral("page.vdoc"));
    Run run =
        runTool({QStringLiteral("import"), folder.filePath(QStringLiteral("page.html")), vdoc});
    QCOMPARE(run.exitCode, 0);
    EdDocument document;
    QVERIFY(VDocReader::readFile(vdoc, document));
    const QString dump = sampledocument::dump(document);
    QVERIFY2(dump.contains(QStringLiteral("'Caf\u00e9 '")), qPrintable(dump));
    QVERIFY2(dump.contains(QStringLiteral("picture gif 43 bytes ''")), qPrintable(dump));
    QVERIFY2(dump.contains(QStringLiteral("'http://shop.example/' 'shop'")), qPrintable(dump));
    QVERIFY2(dump.contains(QStringLiteral("table 1x1")), qPrintable(dump));
    QVERIFY2(dump.contains(QStringLiteral("hline")), qPrintable(dump));

    const QString html = folder.filePath(QStringLiteral("out/page.html"));
    QDir().mkpath(folder.filePath(QStringLiteral("out")));
    run = runTool({QStringLiteral("export"), vdoc, html});
    QCOMPARE(run.exitCode, 0);
    QFile exported(html);
    QVERIFY(exported.open(QIODevice::ReadOnly));
    const QByteArray bytes = exported.readAll();
    QVERIFY(bytes.contains("Caf\xe9 "));
    QVERIFY(bytes.contains("<a href=\"http://shop.example/\">"));
    QVERIFY(bytes.contains("1.&nbsp;"));
    QVERIFY(bytes.contains("<table"));
    // The embedded GIF is saved beside the page, as it was.
    const QStringList pictures = QDir(folder.filePath(QStringLiteral("out")))
                                     .entryList({QStringLiteral("*.gif")}, QDir::Files);
    QCOMPARE(pictures.size(), 1);
    QVERIFY(bytes.contains("src=\"" + pictures.first().toLatin1() + "\""));

    // To standard output: the picture goes to the current folder, and only there.
    const QString current = folder.filePath(QStringLiteral("current"));
    QDir().mkpath(current);
    const QStringList programFiles = QDir(QCoreApplication::applicationDirPath()).entryList();
    run = runTool({QStringLiteral("export"), vdoc}, current);
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.out.contains("<table"));
    QVERIFY(run.out.contains("src=\"" + pictures.first().toLatin1() + "\""));
    QCOMPARE(QDir(current).entryList({QStringLiteral("*.gif")}, QDir::Files), pictures);
    QCOMPARE(QDir(QCoreApplication::applicationDirPath()).entryList(), programFiles);
}

void TestVantrelDoc::listingPages_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("err"); // the whole of standard error
    QTest::addColumn<QString>("text");   // a part of the document's dump
    QTest::newRow("nothing left out")
        << "banner.html" << 0 << QByteArray("Left out: 2 style sheets.\n")
        << "picture png 95 bytes '' 600x120";
    QTest::newRow("web pictures") << "gallery.html" << 0
                                  << QByteArray("Left out: 1 picture on the web.\n")
                                  << "web https://cdn.pics.example/gallery/side.png";
    QTest::newRow("script") << "script.html" << 0
                            << QByteArray("Left out: 4 scripts, 1 embedded frame or media.\n")
                            << "'Silver pocket watch'";
    QTest::newRow("a picture of the page is missing")
        << "missing.html" << 2 << QByteArray("warning: cannot read the picture \"") << QString();
}

/// The tool brings a page in as the program opens it, and says in one line
/// what it left out.
void TestVantrelDoc::listingPages() {
    QFETCH(QString, page);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, err);
    QFETCH(QString, text);
    QTemporaryDir folder;
    QString source = QStringLiteral(VANTREL_LISTING_PAGES "/") + page;
    if (!QFile::exists(source)) {
        source = folder.filePath(page);
        writeFile(source, "<p>gone: <img src=\"gone.png\"></p>");
    }
    const QString vdoc = folder.filePath(QStringLiteral("page.vdoc"));
    const Run run = runTool({QStringLiteral("import"), source, vdoc});
    QCOMPARE(run.exitCode, exitCode);
    if (exitCode != 0) {
        QVERIFY2(run.err.startsWith(err), run.err.constData());
        QVERIFY(!QFile::exists(vdoc));
        return;
    }
    QCOMPARE(run.err, err);
    EdDocument document;
    QVERIFY(VDocReader::readFile(vdoc, document));
    const QString dump = sampledocument::dump(document);
    QVERIFY2(dump.contains(text), qPrintable(dump));
}

void TestVantrelDoc::unreadableInput_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("message");
    QTest::newRow("no command") << QStringList() << 1 << QByteArray("usage:");
    QTest::newRow("unknown command")
        << QStringList{QStringLiteral("print")} << 1 << QByteArray("usage:");
    QTest::newRow("missing html") << QStringList{QStringLiteral("import"),
                                                 QStringLiteral("/no/such.html"),
                                                 QStringLiteral("/tmp/never.vdoc")}
                                  << 2 << QByteArray("cannot read");
    QTest::newRow("missing document")
        << QStringList{QStringLiteral("export"), QStringLiteral("/no/such.vdoc")} << 2
        << QByteArray("Error loading file.");
    QTest::newRow("not a document")
        << QStringList{QStringLiteral("export"), QCoreApplication::applicationFilePath()} << 2
        << QByteArray("Error loading file.");
}

void TestVantrelDoc::unreadableInput() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, message);
    const Run run = runTool(arguments);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(run.err.contains(message), run.err.constData());
}

void TestVantrelDoc::welcomeDocumentIsBuilt_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("title");
    QTest::newRow("English") << "Entry.vdoc"
                             << "Welcome to Vantrel";
    QTest::newRow("French") << "fr_Entry.vdoc"
                            << "Bienvenue dans Vantrel";
}

void TestVantrelDoc::welcomeDocumentIsBuilt() {
    QFETCH(QString, file);
    QFETCH(QString, title);
    EdDocument document;
    QVERIFY(VDocReader::readFile(QCoreApplication::applicationDirPath() + QLatin1Char('/') + file,
                                 document));
    QVERIFY(sampledocument::dump(document).contains(title));
}

QTEST_MAIN(TestVantrelDoc)
#include "tst_vantreldoc.moc"
