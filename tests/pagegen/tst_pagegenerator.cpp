#include "layout/layout.h"
#include "layout/layoutstate.h"
#include "pagegen/documentpictures.h"
#include "pagegen/listingvariables.h"
#include "pagegen/pagegenerator.h"
#include "pagegen/pagetemplate.h"
#include "pagegen/pagetext.h"
#include "pagegen/publishingstate.h"
#include "pagegen/shifttext.h"
#include "platform/windows1252.h"
#include "platform/workingfolders.h"
#include "settings/servermirror.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

using LayoutChange = std::function<void(Layout&, PublishingState&)>;
Q_DECLARE_METATYPE(LayoutChange)

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write the fixture");
}

/// A template as the build stores it: raised by the template key, one line.
QByteArray storedTemplate(const QString& plain) {
    return ShiftText(windows1252::encode(plain), 256 - shiftkeys::TemplateKey);
}

/// The generator on a template of the test's own in a temporary program folder.
struct GeneratorFixture {
    QTemporaryDir folder;
    WorkingFolders folders;
    LayoutState layoutState;
    PublishingState publishing;
    Layout layout = Layout::withDefaults();
    QStringList reported;
    QByteArray document = "<p>Item</p>";
    PageGenerator generator{folders, layoutState, publishing, layout};

    explicit GeneratorFixture(
        const QString& plainTemplate = QStringLiteral("<table><tr><td>\r\n"
                                                      "<table><tr><td>\r\n")) {
        folders.ProgramFolder = folder.path() + QLatin1Char('/');
        folders.UserFolder = QStringLiteral("/home/seller/Documents/Vantrel/");
        layoutState.LayoutFileName = QStringLiteral("Untitled.rbs");
        writeFile(folders.pageTemplateFile(), storedTemplate(plainTemplate));
        generator.setDocumentExport([this] { return document; });
    }
    /// Generates the page; a fault it worked around is kept in `reported`.
    GeneratedPage generate() {
        GeneratedPage made = generator.generate();
        if (!made.error.isEmpty())
            reported.append(made.error);
        return made;
    }
    QString page() { return generate().pageText(); }
};

QString shippedTemplate() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/Default.tmpl");
}

/// The elements the code leaves open, outermost first, or the first end tag
/// that closes no open element ("unexpected </td>").
QStringList openElements(const QString& code) {
    static const QRegularExpression tag(QStringLiteral("<!--.*?-->|<(/?)([a-zA-Z][a-zA-Z0-9]*)"),
                                        QRegularExpression::DotMatchesEverythingOption);
    static const QStringList empty = {"area", "base",  "br",   "col",  "embed",  "hr",
                                      "img",  "input", "link", "meta", "source", "wbr"};
    QStringList open;
    for (auto it = tag.globalMatch(code); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const QString name = match.captured(2).toLower();
        if (name.isEmpty() || empty.contains(name))
            continue;
        if (match.captured(1).isEmpty()) {
            open.append(name);
        } else if (!open.isEmpty() && open.constLast() == name) {
            open.removeLast();
        } else {
            return {QStringLiteral("unexpected </%1>").arg(name)};
        }
    }
    return open;
}

} // namespace

class TestPageGenerator : public QObject {
    Q_OBJECT

private slots:
    void variables_data();
    void variables();
    void hostileLayoutValuesAreNeutralised_data();
    void hostileLayoutValuesAreNeutralised();
    void defaultLayoutNote_data();
    void defaultLayoutNote();
    void documentIsOneLineAfterTheTemplate();
    void poundSignInTheDocumentSurvives();
    void storedTemplateGivesItsPlainLines_data();
    void storedTemplateGivesItsPlainLines();
    void unreadableTemplateIsReportedAndNotRepeated();
    void pathToFileUrl_data();
    void pathToFileUrl();
    void shippedTemplateUsesEveryVariableAndCloses();
    void documentPictureLocation_data();
    void documentPictureLocation();
    void publishedCodeClosesWhatItOpens_data();
    void publishedCodeClosesWhatItOpens();
};

void TestPageGenerator::variables_data() {
    QTest::addColumn<LayoutChange>("change");
    // "name=value" for a set variable, "-name" for one left unset.
    QTest::addColumn<QStringList>("expected");
    const LayoutChange none = [](Layout&, PublishingState&) {};

    QTest::newRow("defaults") << none << QStringList{"-adimg",
                                                     "-fimg",
                                                     "-timg",
                                                     "adbc=transparent",
                                                     "adw=100%",
                                                     "adal=center",
                                                     "admc=0 auto",
                                                     "obw=0",
                                                     "obt=solid",
                                                     "obc=#ffffff",
                                                     "fbgc=transparent",
                                                     "firboth=repeat",
                                                     "tirboth=repeat",
                                                     "tbgc=#ffffff",
                                                     "tcol=#000000"};
    QTest::newRow("frame repeats nowhere")
        << LayoutChange([](Layout& l, PublishingState&) { l.FImgRepX = l.FImgRepY = false; })
        << QStringList{"firnot=no-repeat", "-firx", "-firy", "-firboth"};
    QTest::newRow("text repeats across only")
        << LayoutChange([](Layout& l, PublishingState&) { l.TxtRepeatY = false; })
        << QStringList{"tirx=repeat-x", "-tiry", "-tirnot", "-tirboth"};
    QTest::newRow("frame repeats down only")
        << LayoutChange([](Layout& l, PublishingState&) { l.FImgRepX = false; })
        << QStringList{"firy=repeat-y", "-firx", "-firnot", "-firboth"};
    QTest::newRow("hidden picture despite a file") << LayoutChange([](Layout& l, PublishingState&) {
        l.AdImg = QStringLiteral("/My images/a.jpg");
    }) << QStringList{"-adimg"};
    QTest::newRow("shown pictures are local file URLs")
        << LayoutChange([](Layout& l, PublishingState&) {
               l.AdImgHide = l.FImgHide = false;
               l.AdImg = QStringLiteral("/My images/Sky.GIF");
           })
        << QStringList{"adimg=file:///home/seller/Documents/Vantrel/images/My%20images/Sky.GIF",
                       "fimg=file:///home/seller/Documents/Vantrel/images"};
    QTest::newRow("a layout written with backslashes")
        << LayoutChange([](Layout& l, PublishingState&) {
               l.AdImgHide = false;
               l.AdImg = QStringLiteral("\\Backgrounds\\Roses.png");
           })
        << QStringList{"adimg=file:///home/seller/Documents/Vantrel/images/Backgrounds/Roses.png"};
    QTest::newRow("publishing takes the server addresses")
        << LayoutChange([](Layout& l, PublishingState& s) {
               l.TxtImgHide = false;
               l.TxtBgImg = QStringLiteral("/My images/t.jpg");
               s.Publishing = true;
               s.TextImageURL = QStringLiteral("http://img.example/t.jpg");
           })
        << QStringList{"timg=http://img.example/t.jpg"};
    // The server's folder is no picture: bidders' browsers would fetch it.
    QTest::newRow("publishing an area shown without a picture names none")
        << LayoutChange([](Layout& l, PublishingState& s) {
               l.AdImgHide = l.FImgHide = l.TxtImgHide = false;
               s.Publishing = true;
               s.AdImageURL = s.FrameImageURL = s.TextImageURL =
                   QStringLiteral("https://img.example/shop/");
           })
        << QStringList{"-adimg", "-fimg", "-timg"};
    QTest::newRow("transparent colours win over the colour")
        << LayoutChange([](Layout& l, PublishingState&) {
               l.AdBackCol = l.FBgCol = QStringLiteral("#FF0000");
               l.TxtHideCol = true;
           })
        << QStringList{"adbc=transparent", "fbgc=transparent", "tbgc=transparent"};
    QTest::newRow("opaque colours") << LayoutChange([](Layout& l, PublishingState&) {
        l.AdHideCol = l.FBgHideCol = false;
        l.AdBackCol = QStringLiteral("#FF0000");
        l.FBgCol = QStringLiteral("#00aa00");
    }) << QStringList{"adbc=#FF0000", "fbgc=#00aa00"};
    QTest::newRow("user width, left aligned") << LayoutChange([](Layout& l, PublishingState&) {
        l.AdWidthType = QStringLiteral("0");
        l.AdWidthValue = QStringLiteral("700");
        l.AdCenter = false;
    }) << QStringList{"adw=700px", "adal=left", "admc=0"};
    QTest::newRow("widths and margins as held") << LayoutChange([](Layout& l, PublishingState&) {
        l.OBWidth = QStringLiteral("3");
        l.OBType = QStringLiteral("double");
        l.FWidth = QStringLiteral("12");
        l.FBWidth = QStringLiteral("1");
        l.TxtPadTop = QStringLiteral("5");
        l.TxtPadLeft = QStringLiteral("10");
        l.TxtPadRight = QStringLiteral("20");
    }) << QStringList{"obw=3",     "obt=double",  "fw=12",       "fbw=1",
                      "tpadtop=5", "tpadleft=10", "tpadright=20"};
}

void TestPageGenerator::variables() {
    QFETCH(LayoutChange, change);
    QFETCH(QStringList, expected);
    PublishingState publishing;
    const QString userFolder = QStringLiteral("/home/seller/Documents/Vantrel/");
    Layout layout = Layout::withDefaults();
    change(layout, publishing);
    QMap<QString, QString> values;
    QStringList order;
    for (const ListingVariable& v : listingVariables(layout, {userFolder, publishing})) {
        QVERIFY2(!values.contains(v.name), qPrintable(v.name));
        values.insert(v.name, v.value);
        order.append(v.name);
    }
    for (const QString& entry : expected) {
        if (entry.startsWith(QLatin1Char('-'))) {
            QVERIFY2(!values.contains(entry.mid(1)), qPrintable(entry));
            continue;
        }
        const QString name = entry.section(QLatin1Char('='), 0, 0);
        QCOMPARE(name + QLatin1Char('=') + values.value(name, QStringLiteral("<unset>")), entry);
    }
    // Table order: pictures first, the text colour last.
    QCOMPARE(order.constLast(), QStringLiteral("tcol"));
}

void TestPageGenerator::hostileLayoutValuesAreNeutralised_data() {
    QTest::addColumn<LayoutChange>("change");
    QTest::addColumn<QString>("expected");
    QTest::newRow("colour") << LayoutChange([](Layout& l, PublishingState&) {
        l.OBColor = QStringLiteral("red\"><script>alert(1)</script>");
    }) << QStringLiteral("obc=#ffffff");
    QTest::newRow("colour with a style") << LayoutChange([](Layout& l, PublishingState&) {
        l.TxtCol = QStringLiteral("#000000;position:fixed");
    }) << QStringLiteral("tcol=#000000");
    QTest::newRow("width") << LayoutChange([](Layout& l, PublishingState&) {
        l.FWidth = QStringLiteral("1px;background:url(x)");
    }) << QStringLiteral("fw=0");
    QTest::newRow("page width") << LayoutChange([](Layout& l, PublishingState&) {
        l.AdWidthType = QStringLiteral("0");
        l.AdWidthValue = QStringLiteral("9\"onmouseover=\"x");
    }) << QStringLiteral("adw=690px");
    QTest::newRow("border type") << LayoutChange([](Layout& l, PublishingState&) {
        l.FBType = QStringLiteral("solid;}</style><script>x()</script>");
    }) << QStringLiteral("fbt=solid");
    QTest::newRow("picture path")
        << LayoutChange([](Layout& l, PublishingState&) {
               l.AdImgHide = false;
               l.AdImg = QStringLiteral("/a');}</style><script>x()</script>(\"");
           })
        << QStringLiteral("adimg=file:///u/images/a%27%29%3B%7D%3C/style%3E%3Cscript%3Ex%28%29%3C/"
                          "script%3E%28%22");
    QTest::newRow("server address") << LayoutChange([](Layout& l, PublishingState& s) {
        l.FImgHide = false;
        s.Publishing = true;
        s.FrameImageURL = QStringLiteral("http://x.example/a'b(c)\"d<e>&f");
    }) << QStringLiteral("fimg=http://x.example/a%27b%28c%29%22d%3Ce%3E&amp;f");
}

void TestPageGenerator::hostileLayoutValuesAreNeutralised() {
    QFETCH(LayoutChange, change);
    QFETCH(QString, expected);
    GeneratorFixture f(QStringLiteral("<style>x</style><table><tr><td>£adw£ £adimg£ £fimg£ £obc£ "
                                      "£tcol£ £fw£ £fbt£\r\n<table><tr><td>\r\n"));
    f.folders.UserFolder = QStringLiteral("/u/");
    change(f.layout, f.publishing);
    const QString name = expected.section(QLatin1Char('='), 0, 0);
    for (const ListingVariable& v :
         listingVariables(f.layout, {f.folders.UserFolder, f.publishing})) {
        if (v.name == name)
            QCOMPARE(name + QLatin1Char('=') + v.value, expected);
    }
    const QString page = f.page();
    QCOMPARE(page.count(QStringLiteral("<script")), 0);
    QCOMPARE(page.count(QStringLiteral("</style>")), 1);
}

void TestPageGenerator::defaultLayoutNote_data() {
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("modified");
    QTest::addColumn<bool>("note");
    QTest::newRow("new and unchanged") << "Untitled.rbs"
                                       << "" << false << true;
    QTest::newRow("changed") << "Untitled.rbs"
                             << "" << true << false;
    QTest::newRow("saved under that name") << "Untitled.rbs"
                                           << "/home/s/" << false << false;
    QTest::newRow("opened") << "Shop.rbs"
                            << "/home/s/" << false << false;
}

void TestPageGenerator::defaultLayoutNote() {
    QFETCH(QString, fileName);
    QFETCH(QString, folder);
    QFETCH(bool, modified);
    QFETCH(bool, note);
    GeneratorFixture f;
    f.layoutState.LayoutFileName = fileName;
    f.layoutState.LayoutFolder = folder;
    f.layoutState.LayoutModified = modified;
    const GeneratedPage made = f.generate();
    QStringList expected = {
        QStringLiteral("<table><tr><td>"),
        QStringLiteral("<table><tr><td>"),
        QStringLiteral("<div style=\"width:100%\">"),
        QStringLiteral("<p>Item</p>  "),
        QStringLiteral("</div></td></tr></table> <!-- wrapper -->"),
        QStringLiteral("</td></tr></table> <!-- main -->"),
    };
    if (note)
        expected << QStringLiteral("<br />")
                 << QStringLiteral("<div style=\"width:100%;text-align:center;font-family:verdana,"
                                   "arial,sans-serif;font-size:10pt;color:gray\">This is the "
                                   "default Layout. Use the controls on the left to customize "
                                   "it.</div>");
    expected << QStringLiteral("</body>") << QStringLiteral("</html>");
    const QStringList page = made.memPage;
    QVERIFY(page.constFirst().endsWith(QStringLiteral("<title>Generated by Vantrel</title></head>"
                                                      "<body>")));
    QCOMPARE(page.mid(1), expected);
    QVERIFY(made.pageText().endsWith(QStringLiteral("</body>\r\n</html>\r\n")));
}

void TestPageGenerator::documentIsOneLineAfterTheTemplate() {
    GeneratorFixture f;
    f.document = "<p>one\r\ntwo\nthree\rfour</p>\r\n";
    const GeneratedPage page = f.generate();
    QCOMPARE(page.ListingCode.size(), 6);
    QCOMPARE(page.ListingCode[3], QStringLiteral("<p>one  two  three  four</p>  "));
    QCOMPARE(page.memPage[page.documentLineIndex()], page.ListingCode[3]);
    QCOMPARE(DeleteLineBreaks(QStringLiteral("a\r\nb\nc\r")), QStringLiteral("a  b c "));
}

void TestPageGenerator::poundSignInTheDocumentSurvives() {
    GeneratorFixture f(QStringLiteral("<td style=\"color:£tcol£\">\r\n"));
    f.document = "<p>Was \xA3"
                 "20, now \xA3"
                 "15 \xA3tcol\xA3 \xA3</p>";
    QCOMPARE(f.generate().ListingCode.mid(0, 3),
             (QStringList{QStringLiteral("<td style=\"color:#000000\">"),
                          QStringLiteral("<div style=\"width:100%\">"),
                          QStringLiteral("<p>Was £20, now £15 £tcol£ £</p>  ")}));
}

void TestPageGenerator::storedTemplateGivesItsPlainLines_data() {
    QTest::addColumn<QByteArray>("stored");
    const QString plain = QStringLiteral("<style>\r\np { color:£tcol£ }\n</style>\r\n<table>é");
    QTest::newRow("one line") << storedTemplate(plain);
    QTest::newRow("one line and a break") << storedTemplate(plain) + "\r\n";
    QTest::newRow("plain text ending in a break") << storedTemplate(plain + QStringLiteral("\r\n"));
}

void TestPageGenerator::storedTemplateGivesItsPlainLines() {
    QFETCH(QByteArray, stored);
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("Default.tmpl"));
    writeFile(file, stored);
    QStringList lines;
    QVERIFY(readPageTemplate(file, lines));
    QCOMPARE(lines, (QStringList{"<style>", "p { color:£tcol£ }", "</style>", "<table>é"}));
}

void TestPageGenerator::unreadableTemplateIsReportedAndNotRepeated() {
    GeneratorFixture f;
    QFile::remove(f.folders.pageTemplateFile());
    f.generate();
    const QStringList listingCode = f.generate().ListingCode;
    QCOMPARE(f.reported.size(), 2);
    const QStringList sentences = f.reported.constFirst().split(QLatin1Char('\n'));
    QCOMPARE(sentences.size(), 4);
    QVERIFY(sentences[0].contains(QStringLiteral("\"Default.tmpl\"")));
    QVERIFY(!sentences[1].isEmpty() && sentences[2].isEmpty() && !sentences[3].isEmpty());
    QCOMPARE(listingCode, (QStringList{QStringLiteral("<div style=\"width:100%\">"),
                                       QStringLiteral("<p>Item</p>  "), QStringLiteral("</div>")}));
}

void TestPageGenerator::pathToFileUrl_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("url");
    QTest::newRow("spaces and capitals") << "/home/Ann/My Pictures/Sky.GIF"
                                         << "file:///home/Ann/My%20Pictures/Sky.GIF";
    QTest::newRow("drive path") << "C:\\My Files\\Sky.GIF"
                                << "file:///C:/My%20Files/Sky.GIF";
    QTest::newRow("URL characters in a name") << "/p/50% off #1?.jpg"
                                              << "file:///p/50%25%20off%20%231%3F.jpg";
    QTest::newRow("non-ASCII") << "/p/caf\u00e9.png"
                               << "file:///p/caf%C3%A9.png";
    QTest::newRow("backslash in a name") << "/p/back\\slash.png"
                                         << "file:///p/back%5Cslash.png";
    QTest::newRow("folder") << "/home/Ann/images/"
                            << "file:///home/Ann/images/";
}

void TestPageGenerator::pathToFileUrl() {
    QFETCH(QString, path);
    QFETCH(QString, url);
    QCOMPARE(PathToFileUrl(path), url);
    const QUrl parsed(url, QUrl::StrictMode);
    QVERIFY(parsed.isValid());
    if (path.startsWith(QLatin1Char('/')))
        QCOMPARE(parsed.toLocalFile(), path);
}

void TestPageGenerator::shippedTemplateUsesEveryVariableAndCloses() {
    QStringList lines;
    QVERIFY2(readPageTemplate(shippedTemplate(), lines), qPrintable(shippedTemplate()));
    const QString text = lines.join(QLatin1Char('\n'));
    const QStringList names = {"adimg",    "fimg",      "timg",   "adbc",    "adw",  "adal",
                               "admc",     "obw",       "obt",    "obc",     "fw",   "fbgc",
                               "firx",     "firy",      "firnot", "firboth", "tirx", "tiry",
                               "tirnot",   "tirboth",   "fbw",    "fbc",     "fbt",  "tpadtop",
                               "tpadleft", "tpadright", "tbgc",   "tcol"};
    for (const QString& name : names)
        QVERIFY2(text.contains(QStringLiteral("£%1£").arg(name)), qPrintable(name));
    QCOMPARE(text.count(QStringLiteral("£")), 2 * text.count(QRegularExpression("£[a-z]+£")));
    // Open: the main table and the wrapper inside it, each down to a cell.
    QCOMPARE(text.count(QStringLiteral("<table")), 2);
    QCOMPARE(text.count(QStringLiteral("<td")), 2);
    QCOMPARE(text.count(QStringLiteral("</t")), 0);
    QVERIFY(text.trimmed().endsWith(QLatin1Char('>')));
}

void TestPageGenerator::documentPictureLocation_data() {
    QTest::addColumn<bool>("publishing");
    QTest::addColumn<int>("ownServer");
    QTest::addColumn<int>("itemNo");
    QTest::addColumn<QString>("stored");
    // "-" when the editor is left to itself.
    QTest::addColumn<QString>("location");
    QTest::addColumn<QStringList>("required");
    const QString sky = QStringLiteral("/home/Ann/My Pics/Sky.JPG");
    QTest::newRow("preview") << false << 1 << 0 << sky << "file:///home/Ann/My%20Pics/Sky.JPG"
                             << QStringList();
    QTest::newRow("drive path") << false << 1 << 3 << "C:\\Pics\\My Sky.jpg"
                                << "file:///C:/Pics/My%20Sky.jpg" << QStringList();
    QTest::newRow("first own server") << true << 1 << 0 << sky << "http://one.example/Sky.JPG"
                                      << QStringList{"http://one.example/Sky.JPG"};
    QTest::newRow("second own server")
        << true << 2 << 0 << "C:\\Pics\\My Sky.jpg"
        << "http://two.example/My%20Sky.jpg" << QStringList{"http://two.example/My%20Sky.jpg"};
    QTest::newRow("no own server chosen") << true << 0 << 0 << sky << "as passed" << QStringList();
    QTest::newRow("not an item") << false << 1 << -1 << sky << "-" << QStringList();
    QTest::newRow("no file") << true << 1 << 0 << ""
                             << "-" << QStringList();
}

void TestPageGenerator::documentPictureLocation() {
    QFETCH(bool, publishing);
    QFETCH(int, ownServer);
    QFETCH(int, itemNo);
    QFETCH(QString, stored);
    QFETCH(QString, location);
    QFETCH(QStringList, required);
    PublishingState state;
    ServerMirror servers;
    state.Publishing = publishing;
    servers.OwnServer = ownServer;
    servers.PrimaryServer = QStringLiteral("http://one.example/");
    servers.SecondaryServer = QStringLiteral("http://two.example/");
    QString written = QStringLiteral("as passed");
    const bool decided = ::documentPictureLocation(state, servers, itemNo, stored, written);
    QCOMPARE(decided, location != QLatin1String("-"));
    QCOMPARE(written, decided ? location : QStringLiteral("as passed"));
    // The same name from another folder is one more reference, not a second entry.
    if (!stored.isEmpty()) {
        const QString name =
            stored.mid(stored.lastIndexOf(QRegularExpression(QStringLiteral("[/\\\\]"))) + 1);
        ::documentPictureLocation(state, servers, itemNo, QStringLiteral("/elsewhere/") + name,
                                  written);
    }
    QCOMPARE(state.RequiredImages.items(), required);
}

void TestPageGenerator::publishedCodeClosesWhatItOpens_data() {
    QTest::addColumn<bool>("shipped"); // the template the program ships; false: none readable
    QTest::newRow("shipped template") << true;
    QTest::newRow("unreadable template") << false;
}

void TestPageGenerator::publishedCodeClosesWhatItOpens() {
    QFETCH(bool, shipped);
    GeneratorFixture f;
    QFile::remove(f.folders.pageTemplateFile());
    if (shipped)
        QVERIFY(QFile::copy(shippedTemplate(), f.folders.pageTemplateFile()));
    f.document = "<p>Clock <b>brass</b><br></p><table><tr><td>1850</td></tr></table>"
                 "<ul><li>key</li></ul><img src=\"http://a.example/c.jpg\">";
    const GeneratedPage page = f.generate();
    QCOMPARE(openElements(page.ListingCode.join(QLatin1Char('\n'))), QStringList());
    // The preview's page around it closes nothing twice.
    QCOMPARE(openElements(page.pageText()), QStringList());
}

QTEST_GUILESS_MAIN(TestPageGenerator)
#include "tst_pagegenerator.moc"
