#include "docmodel/docpicture.h"
#include "docmodel/eddocument.h"
#include "docmodel/vdocwriter.h"
#include "platform/fileurl.h"
#include "support/sampledocument.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>

namespace {

struct Run {
    int exitCode = -1;
    QByteArray out;
    QString errors;
};

struct RenderFixture {
    QTemporaryDir dir;

    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write the fixture");
        return path;
    }
    QString path(const QString& name) const { return dir.filePath(name); }

    Run run(const QStringList& args) {
        QProcess tool;
        // Qt complains on standard error about a missing runtime folder; the
        // tool's own message must be found whatever else is said there.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        tool.setProcessEnvironment(environment);
        tool.start(QCoreApplication::applicationDirPath() + QStringLiteral("/vantrel-render"),
                   args);
        Run result;
        if (!tool.waitForFinished(120000))
            return result;
        result.exitCode = tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
        result.out = tool.readAllStandardOutput();
        result.errors = QString::fromUtf8(tool.readAllStandardError());
        return result;
    }
};

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QByteArray document = "<p>Clock\r\n\xA3"
                            "20</p>";

// Equal margins: the controls end with all three margins on the right one.
const QByteArray layout = "[POS]\r\nAdWidthType=0\r\nAdWidthValue=0640\r\n"
                          "[FRAME]\r\nFWidth=12\r\nFBgHideCol=0\r\nFBgCol=#123456\r\n"
                          "[TEXT]\r\nTxtAllMargins=1\r\nTxtPadTop=5\r\nTxtPadLeft=10\r\n"
                          "TxtPadRight=20\r\n";

} // namespace

class TestRender : public QObject {
    Q_OBJECT

private slots:
    void writesThePreviewPage();
    void bodyOnly();
    void picturesOfADocument();
    void picturesOfAnHtmlDescription_data();
    void picturesOfAnHtmlDescription();
    void damagedInputs_data();
    void damagedInputs();
    void numbersThatAreNoneTakeTheirDefaults_data();
    void numbersThatAreNoneTakeTheirDefaults();
};

void TestRender::writesThePreviewPage() {
    RenderFixture f;
    const QString doc = f.write(QStringLiteral("item.html"), document);
    const QString rbs = f.write(QStringLiteral("Shop.rbs"), layout);
    const QString out = f.path(QStringLiteral("out.html"));
    const Run toFile = f.run({doc, rbs, QStringLiteral("-o"), out});
    QCOMPARE(toFile.exitCode, 0);
    QVERIFY(toFile.out.isEmpty());
    const QByteArray page = fileBytes(out);
    QVERIFY(page.startsWith("<!DOCTYPE HTML PUBLIC"));
    for (const char* part :
         {"width:640px", "padding:12px", "background-color:#123456", "padding:20px 20px 20px 20px",
          "<p>Clock  \xA3"
          "20</p>  \r\n",
          "</div></td></tr></table> <!-- wrapper -->\r\n"})
        QVERIFY2(page.contains(part), part);
    QVERIFY(!page.contains("This is the default Layout"));
    QVERIFY(page.endsWith("</body>\r\n</html>\r\n"));
    QCOMPARE(f.run({doc, QStringLiteral("-o"), out, rbs}).exitCode, 0);
    const Run toStdout = f.run({doc, rbs});
    QCOMPARE(toStdout.exitCode, 0);
    QCOMPARE(toStdout.out, page);
}

void TestRender::bodyOnly() {
    RenderFixture f;
    const Run run = f.run({f.write(QStringLiteral("item.html"), document),
                           f.write(QStringLiteral("Shop.rbs"), layout), QStringLiteral("--body")});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.out.startsWith("<style"));
    QVERIFY(run.out.endsWith("<div style=\"width:100%\">\r\n<p>Clock  \xA3"
                             "20</p>  \r\n</div></td></tr></table> <!-- wrapper -->\r\n"
                             "</td></tr></table> <!-- main -->\r\n"));
}

void TestRender::picturesOfADocument() {
    RenderFixture f;
    const QString pictureFile = f.write(QStringLiteral("My Sky.png"), sampledocument::pngBytes());
    EdDocument document;
    QTextCursor cursor(document.textDocument());
    DocPicture fromFile;
    QVERIFY(DocPicture::fromFile(pictureFile, fromFile));
    document.insertPicture(cursor, fromFile);
    DocPicture pasted;
    pasted.bytes = sampledocument::gifBytes();
    pasted.format = "gif";
    document.insertPicture(cursor, pasted);
    const QString vdoc = f.path(QStringLiteral("item.vdoc"));
    VDocWriter::writeFile(document, vdoc);
    const QString out = f.path(QStringLiteral("page/out.html"));
    QVERIFY(QDir(f.path(QString())).mkpath(QStringLiteral("page")));
    const Run run = f.run({vdoc, f.write(QStringLiteral("Shop.rbs"), layout), "-o", out});
    QCOMPARE(run.exitCode, 0);
    const QString page = QString::fromLatin1(fileBytes(out));
    QStringList sources;
    static const QRegularExpression source(QStringLiteral("<img src=\"([^\"]*)\""));
    for (auto it = source.globalMatch(page); it.hasNext();)
        sources << it.next().captured(1);
    QCOMPARE(sources.size(), 2);
    // The preview's address of a picture file, whatever its name holds.
    QCOMPARE(sources[0], PathToFileUrl(QFileInfo(pictureFile).absoluteFilePath()));
    QVERIFY(sources[0].endsWith(QStringLiteral("/My%20Sky.png")));
    // A picture of no file is saved beside the page and outlives the run.
    QVERIFY2(!sources[1].contains(u'/'), qPrintable(sources[1]));
    QCOMPARE(fileBytes(QFileInfo(out).dir().filePath(sources[1])), sampledocument::gifBytes());
}

void TestRender::picturesOfAnHtmlDescription_data() {
    QTest::addColumn<QByteArray>("fragment"); // in the folder "desc"
    // In the page; DESC: the folder "desc" as a file URL, ABOVE: the folder above.
    QTest::addColumn<QString>("written");
    QTest::newRow("relative src") << QByteArray("<p><img src=\"pics/sky.png\"></p>")
                                  << "<img src=\"DESC/pics/sky.png\">";
    QTest::newRow("unquoted, in a folder above")
        << QByteArray("<img src=../top.gif alt=x>") << "<img src=\"ABOVE/top.gif\" alt=x>";
    QTest::newRow("name with a blank, single quotes")
        << QByteArray("<IMG SRC='My Sky.png'>") << "<IMG SRC=\"DESC/My%20Sky.png\">";
    QTest::newRow("percent-encoded name")
        << QByteArray("<img src=\"My%20Sky.png\">") << "<img src=\"DESC/My%20Sky.png\">";
    QTest::newRow("backslashes") << QByteArray("<img src=\"pics\\sky.png\">")
                                 << "<img src=\"DESC/pics/sky.png\">";
    QTest::newRow("character reference")
        << QByteArray("<img src=\"a&amp;b.png\">") << "<img src=\"DESC/a%26b.png\">";
    QTest::newRow("Windows-1252 name")
        << QByteArray("<img src=\"caf\xe9.png\">") << "<img src=\"DESC/caf%C3%A9.png\">";
    QTest::newRow("background attribute")
        << QByteArray("<table background=\"back.jpg\"><tr><td>x</td></tr></table>")
        << "<table background=\"DESC/back.jpg\">";
    QTest::newRow("CSS url() in a style attribute")
        << QByteArray("<div style=\"background-image: url(&quot;pics/back.png&quot;)\">x</div>")
        << "<div style=\"background-image: url(DESC/pics/back.png)\">";
    QTest::newRow("CSS url() in single quotes")
        << QByteArray("<div style=\"background:url('b.png') repeat\">x</div>")
        << "<div style=\"background:url(DESC/b.png) repeat\">";
    QTest::newRow("absolute path")
        << QByteArray("<img src=\"/srv/p/a.png\">") << "<img src=\"file:///srv/p/a.png\">";
    QTest::newRow("web address stays") << QByteArray("<img src=\"https://pics.example/a.png\">")
                                       << "<img src=\"https://pics.example/a.png\">";
    QTest::newRow("file URL stays")
        << QByteArray("<img src=\"file:///srv/a.png\">") << "<img src=\"file:///srv/a.png\">";
    QTest::newRow("embedded picture stays") << QByteArray("<img src=\"data:image/gif;base64,R0\">")
                                            << "<img src=\"data:image/gif;base64,R0\">";
    QTest::newRow("a link's address stays")
        << QByteArray("<a href=\"more.html\">more</a>") << "<a href=\"more.html\">more</a>";
    QTest::newRow("text that names a picture stays")
        << QByteArray("<p>src=pics/sky.png</p>") << "<p>src=pics/sky.png</p>";
}

void TestRender::picturesOfAnHtmlDescription() {
    QFETCH(QByteArray, fragment);
    QFETCH(QString, written);
    RenderFixture f;
    QVERIFY(QDir(f.path(QString())).mkpath(QStringLiteral("desc")));
    QVERIFY(QDir(f.path(QString())).mkpath(QStringLiteral("page")));
    const QString doc = f.write(QStringLiteral("desc/item.html"), fragment);
    // The page goes to another folder, where the relative paths lead nowhere.
    const QString out = f.path(QStringLiteral("page/out.html"));
    const Run run = f.run({doc, f.write(QStringLiteral("Shop.rbs"), layout), "-o", out});
    QCOMPARE(run.exitCode, 0);
    const QByteArray page = fileBytes(out);
    const QString folder = PathToFileUrl(QFileInfo(doc).absolutePath());
    const QString above = PathToFileUrl(QDir(f.path(QString())).absolutePath());
    const QByteArray expected = QString(written)
                                    .replace(QLatin1String("DESC"), folder)
                                    .replace(QLatin1String("ABOVE"), above)
                                    .toLatin1();
    QVERIFY2(page.contains(expected), page.mid(page.lastIndexOf("<div")).constData());
}

void TestRender::damagedInputs_data() {
    QTest::addColumn<QString>("documentName");
    QTest::addColumn<QByteArray>("layoutBytes");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("document missing") << "missing.html" << layout << 1;
    QTest::newRow("document not a fragment") << "item.vdoc" << layout << 1;
    QTest::newRow("layout missing") << "item.html" << QByteArray() << 1;
    QTest::newRow("layout not a layout") << "item.html" << QByteArray("\x89PNG\r\n\x1a\n") << 1;
}

void TestRender::damagedInputs() {
    QFETCH(QString, documentName);
    QFETCH(QByteArray, layoutBytes);
    QFETCH(int, exitCode);
    RenderFixture f;
    f.write(QStringLiteral("item.html"), document);
    f.write(QStringLiteral("item.vdoc"), "VDOC");
    const QString rbs = layoutBytes.isNull() ? f.path(QStringLiteral("none.rbs"))
                                             : f.write(QStringLiteral("bad.rbs"), layoutBytes);
    const QString out = f.write(QStringLiteral("out.html"), "earlier page");
    const Run run = f.run({f.path(documentName), rbs, QStringLiteral("-o"), out});
    QCOMPARE(run.exitCode, exitCode);
    const QStringList lines = run.errors.split(QLatin1Char('\n'));
    QVERIFY2(lines.filter(QRegularExpression(QStringLiteral("^vantrel-render: "))).size() == 1,
             qPrintable(run.errors));
    QCOMPARE(fileBytes(out), QByteArray("earlier page"));
    QCOMPARE(f.run({f.path(documentName)}).exitCode, 2);
}

void TestRender::numbersThatAreNoneTakeTheirDefaults_data() {
    QTest::addColumn<QByteArray>("section");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("value");
    QTest::newRow("outer border 3x")
        << QByteArray("OUTER") << QByteArray("OBWidth") << QByteArray("3x");
    QTest::newRow("frame width letters")
        << QByteArray("FRAME") << QByteArray("FWidth") << QByteArray("ab");
    QTest::newRow("page width with a fraction")
        << QByteArray("POS") << QByteArray("AdWidthValue") << QByteArray("7.5");
    QTest::newRow("inner border in hexadecimal")
        << QByteArray("FRAME") << QByteArray("FBWidth") << QByteArray("0x10");
}

void TestRender::numbersThatAreNoneTakeTheirDefaults() {
    QFETCH(QByteArray, section);
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, value);
    RenderFixture f;
    const QString doc = f.write(QStringLiteral("item.html"), document);
    // The same layout with the key absent: the page the program shows for
    // the file, since it opens it with the key's default.
    const QByteArray plainLayout = "[TEXT]\r\nTxtAllMargins=1\r\nTxtPadRight=20\r\n";
    const QByteArray withKey = plainLayout + "[" + section + "]\r\n" + key + "=" + value + "\r\n";
    const Run broken = f.run({doc, f.write(QStringLiteral("broken.rbs"), withKey)});
    const Run plain = f.run({doc, f.write(QStringLiteral("plain.rbs"), plainLayout)});
    QVERIFY2(broken.exitCode == 0, qPrintable(broken.errors));
    QCOMPARE(plain.exitCode, 0);
    QCOMPARE(broken.out, plain.out);
}

QTEST_MAIN(TestRender)
#include "tst_render.moc"
