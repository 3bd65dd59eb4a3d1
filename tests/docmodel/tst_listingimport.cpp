#include "docmodel/docpicture.h"
#include "docmodel/eddocument.h"
#include "docmodel/listingimport.h"
#include "docmodel/vdocreader.h"
#include "docmodel/vdocwriter.h"
#include "support/sampledocument.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString fixture(const QString& name) {
    return QStringLiteral(VANTREL_LISTING_PAGES "/") + name;
}

QString readFixture(const QString& name) {
    QFile file(fixture(name));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read the fixture");
    return listingimport::decode(file.readAll());
}

int pictureCount(const QString& dump) {
    return int(dump.count(QRegularExpression(QStringLiteral("picture (png|gif|jpeg) \\d+ bytes"))));
}

} // namespace

class TestListingImport : public QObject {
    Q_OBJECT

private slots:
    void listingPages_data();
    void listingPages();
    void importedPageReadsBack_data();
    void importedPageReadsBack();
    void foreignParts_data();
    void foreignParts();
    void pictureSources_data();
    void pictureSources();
    void summaryLine_data();
    void summaryLine();
    void decodesWindows1252();
};

void TestListingImport::listingPages_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("summary");
    QTest::addColumn<QStringList>("kept");    // parts of the document's dump
    QTest::addColumn<QStringList>("dropped"); // texts that must not come in
    QTest::addColumn<int>("pictures");

    QTest::newRow("banner") << "banner.html"
                            << "Left out: 2 style sheets."
                            << QStringList{"'Vintage rangefinder camera'",
                                           "'fully working'",
                                           "'Camera body",
                                           "caf\u00e9-tested",
                                           "table 2x2",
                                           "'https://shop.example/about' 'About our shop'",
                                           "picture png 95 bytes '' 600x120",
                                           "picture png 74 bytes '' 8x8"}
                            << QStringList{"text-align", "Old Lens Shop", "favicon"} << 2;
    QTest::newRow("gallery of web pictures")
        << "gallery.html"
        << "Left out: 1 picture on the web."
        << QStringList{"'Pictures of the item'",
                       "table 2x2",
                       "'Seal of the shop: '",
                       "picture png 73 bytes '' 3x2",
                       "'More pictures on request.",
                       "picture  0 bytes '' 200x0 0 'https://pics.example/gallery/front-large.jpg' "
                       "1 web https://pics.example/gallery/front.jpg",
                       "picture  0 bytes '' 200x0 0 '' 0 web "
                       "http://pics.example/gallery/back.jpg?size=200&fmt=jpg",
                       "picture  0 bytes '' 0x0 0 '' 0 web "
                       "https://cdn.pics.example/gallery/side.png",
                       "web https://pics.example/gallery/box.gif"}
        << QStringList{"ftp:", "old.jpg"} << 1;
    QTest::newRow("tab set made with a style sheet")
        << "tabs.html"
        << "Left out: 3 form fields, 1 style sheet."
        << QStringList{"'Description Shipping Returns", "wool scarf", "tracked mail",
                       "within 30 days"}
        << QStringList{"display", "checked"} << 0;
    QTest::newRow("form") << "form.html"
                          << "Left out: 1 form."
                          << QStringList{"'Antique brass compass'", "'Still points north.",
                                         "'Thank you for looking."}
                          << QStringList{"Ask the seller", "Your e-mail", "Payment",
                                         "Type your question", "Send question"}
                          << 0;
    QTest::newRow("script") << "script.html"
                            << "Left out: 4 scripts, 1 embedded frame or media."
                            << QStringList{"'Silver pocket watch'", "'Wound and ticking. Zoom in",
                                           "'https://shop.example/watches'"}
                            << QStringList{"zoom()",          "javascript",
                                           "track(",          "Turn on JavaScript",
                                           "Watch the video", "</p>"}
                            << 0;
}

void TestListingImport::listingPages() {
    QFETCH(QString, page);
    QFETCH(QStringList, kept);
    QFETCH(QStringList, dropped);
    EdDocument document;
    const listingimport::LeftOut leftOut = listingimport::importPage(
        document, readFixture(page), QStringLiteral(VANTREL_LISTING_PAGES));
    QTEST(listingimport::summary(leftOut), "summary");
    const QString dump = sampledocument::dump(document);
    for (const QString& part : kept)
        QVERIFY2(dump.contains(part), qPrintable(part + QStringLiteral(" in\n") + dump));
    for (const QString& part : dropped)
        QVERIFY2(!dump.contains(part), qPrintable(part + QStringLiteral(" in\n") + dump));
    QTEST(pictureCount(dump), "pictures");
}

void TestListingImport::importedPageReadsBack_data() {
    QTest::addColumn<QString>("page");
    QTest::newRow("banner") << "banner.html";
    QTest::newRow("gallery of web pictures") << "gallery.html";
}

void TestListingImport::importedPageReadsBack() {
    QFETCH(QString, page);
    EdDocument document;
    listingimport::importPage(document, readFixture(page), QStringLiteral(VANTREL_LISTING_PAGES));
    EdDocument read;
    QVERIFY(VDocReader::read(VDocWriter::write(document), read));
    QCOMPARE(sampledocument::dump(read), sampledocument::dump(document));
}

void TestListingImport::foreignParts_data() {
    QTest::addColumn<QString>("html");
    QTest::addColumn<QString>("cleaned");
    QTest::addColumn<QString>("summary");
    QTest::newRow("nothing foreign") << "<p class=\"a\">x &amp; y<br/></p>"
                                     << "<p class=\"a\">x &amp; y<br/></p>"
                                     << "";
    QTest::newRow("markup inside a script is text")
        << "<p>a</p><script>if (a < b) x = '</p><form>';</script><p>b</p>"
        << "<p>a</p><p>b</p>"
        << "Left out: 1 script.";
    QTest::newRow("script never closed") << "<p>a</p><script>x()"
                                         << "<p>a</p>"
                                         << "Left out: 1 script.";
    QTest::newRow("letter case and attributes with >")
        << "<SCRIPT data-x=\"a>b\">x()</Script><p>c</p>"
        << "<p>c</p>"
        << "Left out: 1 script.";
    QTest::newRow("comments stay as they are") << "<!-- <script>x()</script> --><p>a</p>"
                                               << "<!-- <script>x()</script> --><p>a</p>"
                                               << "";
    QTest::newRow("script link keeps its text")
        << "<a class=z href='JavaScript:go()' title=t>go</a>"
        << "<a class=z  title=t>go</a>"
        << "Left out: 1 script.";
    QTest::newRow("a form with everything in it")
        << "<form><div><form-x></form-x><input name=a></div></form>b"
        << "b"
        << "Left out: 1 form.";
    QTest::newRow("nested embedded objects")
        << "<object><object><embed src=a.swf></object></object>c<video src=v.mp4/>d"
        << "cd"
        << "Left out: 2 embedded frames or media.";
    QTest::newRow("only style sheets count among links")
        << "<link rel=\"icon\" href=i.ico><link rel=StyleSheet href=a.css><style>p{}</style>x"
        << "x"
        << "Left out: 2 style sheets.";
    QTest::newRow("a stray closing tag goes") << "a</form>b</textarea>c"
                                              << "abc"
                                              << "";
    QTest::newRow("a lone < is text") << "1 < 2 <3 <> x"
                                      << "1 < 2 <3 <> x"
                                      << "";
    QTest::newRow("noscript goes silently") << "<noscript>Turn on scripts</noscript>a"
                                            << "a"
                                            << "";
}

void TestListingImport::foreignParts() {
    QFETCH(QString, html);
    listingimport::LeftOut leftOut;
    QTEST(listingimport::withoutForeignParts(html, leftOut), "cleaned");
    QTEST(listingimport::summary(leftOut), "summary");
}

void TestListingImport::pictureSources_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<bool>("read");
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("summary");
    const QString base64 = QString::fromLatin1(sampledocument::gifBytes().toBase64());
    QTest::newRow("data address") << "data:image/gif;base64," + base64 << true << QByteArray("gif")
                                  << ""
                                  << "";
    QTest::newRow("data address with line breaks")
        << "data:image/gif;base64," + base64.left(20) + "\n" + base64.mid(20) << true
        << QByteArray("gif") << ""
        << "";
    QTest::newRow("data address of no picture")
        << "data:text/plain;base64,aGVsbG8=" << false << QByteArray() << ""
        << "Left out: 1 picture that cannot be read.";
    QTest::newRow("relative path") << "images/banner.png" << true << QByteArray("png") << ""
                                   << "";
    QTest::newRow("relative address with a percent code")
        << "images/shop%20logo.png" << true << QByteArray("png") << ""
        << "";
    QTest::newRow("file address") << QUrl::fromLocalFile(fixture("images/banner.png")).toString()
                                  << true << QByteArray("png") << ""
                                  << "";
    QTest::newRow("missing file") << "images/gone.png" << false << QByteArray() << ""
                                  << "Left out: 1 picture that cannot be read.";
    QTest::newRow("not a picture") << "banner.html" << false << QByteArray() << ""
                                   << "Left out: 1 picture that cannot be read.";
    QTest::newRow("web address") << " https://pics.example/a.jpg " << true << QByteArray()
                                 << "https://pics.example/a.jpg"
                                 << "";
    QTest::newRow("web address with a query") << "http://pics.example/p?id=3&size=l" << true
                                              << QByteArray() << "http://pics.example/p?id=3&size=l"
                                              << "";
    QTest::newRow("address without scheme is https")
        << "//pics.example/a.jpg" << true << QByteArray() << "https://pics.example/a.jpg"
        << "";
    QTest::newRow("ftp address") << "ftp://files.example/a.jpg" << false << QByteArray() << ""
                                 << "Left out: 1 picture on the web.";
    QTest::newRow("web address without a host") << "http:///a.jpg" << false << QByteArray() << ""
                                                << "Left out: 1 picture on the web.";
}

void TestListingImport::pictureSources() {
    QFETCH(QString, source);
    QFETCH(bool, read);
    QFETCH(QByteArray, format);
    DocPicture picture;
    listingimport::LeftOut leftOut;
    QCOMPARE(
        listingimport::readPicture(source, QStringLiteral(VANTREL_LISTING_PAGES), picture, leftOut),
        read);
    QCOMPARE(picture.format, format);
    QTEST(picture.address, "address");
    // A picture on the web is held by its address alone.
    if (picture.isOnWeb())
        QVERIFY(picture.bytes.isEmpty());
    // The document never names the machine the page came from.
    QVERIFY(picture.fileName.isEmpty());
    QTEST(listingimport::summary(leftOut), "summary");
}

void TestListingImport::summaryLine_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("summary");
    QTest::newRow("none") << 0 << "";
    QTest::newRow("one") << 1
                         << "Left out: 1 script, 1 form, 1 form field, 1 style sheet, "
                            "1 embedded frame or media, 1 picture on the web, 1 picture "
                            "that cannot be read.";
    QTest::newRow("more") << 2
                          << "Left out: 2 scripts, 2 forms, 2 form fields, 2 style sheets, "
                             "2 embedded frames or media, 2 pictures on the web, 2 pictures "
                             "that cannot be read.";
}

void TestListingImport::summaryLine() {
    QFETCH(int, count);
    listingimport::LeftOut leftOut;
    leftOut.scripts = leftOut.forms = leftOut.formFields = leftOut.styleSheets = leftOut.embedded =
        leftOut.webPictures = count;
    for (int i = 0; i < count; ++i)
        leftOut.unreadablePictures.append(QStringLiteral("p.png"));
    QTEST(listingimport::summary(leftOut), "summary");
    QCOMPARE(leftOut.isEmpty(), count == 0);
}

void TestListingImport::decodesWindows1252() {
    QCOMPARE(listingimport::decode("caf\xe9"), QStringLiteral("caf\u00e9"));
    QCOMPARE(listingimport::decode("caf\xc3\xa9"), QStringLiteral("caf\u00e9"));
}

QTEST_MAIN(TestListingImport)
#include "tst_listingimport.moc"
