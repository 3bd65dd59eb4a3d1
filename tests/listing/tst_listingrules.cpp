#include "listing/listingrules.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTest>

class TestListingRules : public QObject {
    Q_OBJECT
private slots:
    void findings_data();
    void findings();
    void frenchMessages();
    void welcomePageAsPublished_data();
    void welcomePageAsPublished();
};

namespace {

QStringList described(const QList<listingrules::Finding>& findings) {
    QStringList lines;
    for (const listingrules::Finding& finding : findings)
        lines.append(listingrules::describe(finding));
    return lines;
}

QString longText(qsizetype characters) {
    // The listing as copied ends its one line with CR LF.
    return QString(characters - 2, QLatin1Char('x'));
}

} // namespace

void TestListingRules::findings_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<QStringList>("expected");
    const QStringList none;

    // Insecure content.
    QTest::newRow("http picture") << "<img src=\"http://pics.example/a.jpg\">"
                                  << QStringList{
                                         "error http-picture line 1: http://pics.example/a.jpg"};
    QTest::newRow("http picture, unquoted, upper case")
        << "<IMG SRC=HTTP://pics.example/a.jpg>"
        << QStringList{"error http-picture line 1: HTTP://pics.example/a.jpg"};
    QTest::newRow("http background attribute")
        << "<td background='http://pics.example/bg.gif'>"
        << QStringList{"error http-picture line 1: http://pics.example/bg.gif"};
    QTest::newRow("http style url, second line")
        << "<p>Clock</p>\n<div style=\"background-image:url( 'http://pics.example/t.png' )\">"
        << QStringList{"error http-picture line 2: http://pics.example/t.png"};
    QTest::newRow("http url in a style sheet")
        << "<style>\n.a { background: url(http://pics.example/t.png) }\n</style>"
        << QStringList{"error http-picture line 2: http://pics.example/t.png"};
    QTest::newRow("near miss: https pictures")
        << "<img src=\"https://pics.example/a.jpg\"><div "
           "style=\"background:url('https://pics.example/t.png')\">"
        << none;
    QTest::newRow("http and local srcset candidates")
        << "<img src=\"https://pics.example/a.jpg\"\n srcset=\"https://pics.example/a.jpg 1x,"
           "http://pics.example/a2.jpg 2x, images/a3.jpg 3x\">"
        << QStringList{"error http-picture line 2: http://pics.example/a2.jpg",
                       "error relative-picture line 2: images/a3.jpg"};
    QTest::newRow("file srcset in a picture element")
        << "<picture><source srcset=\"file:///home/me/a.webp\"><img "
           "src=\"https://pics.example/a.jpg\"></picture>"
        << QStringList{"error local-picture line 1: file:///home/me/a.webp"};
    QTest::newRow("near miss: https srcset, commas inside an address")
        << "<img srcset=\"https://pics.example/a,b.jpg 640w,https://pics.example/c.jpg,\n"
           "https://pics.example/d.jpg 2x\" src=\"https://pics.example/a.jpg\">"
        << none;
    QTest::newRow("http link") << "<a href=\"http://shop.example/\">Shop</a>"
                               << QStringList{
                                      "warning http-link line 1: http://shop.example/ «Shop»"};
    QTest::newRow("near miss: https link, http address in the text")
        << "<a href=\"https://shop.example/\">see http://shop.example</a>" << none;

    // Active content.
    QTest::newRow("script") << "<script>document.write('<img src=x.gif>')</script>"
                            << QStringList{"error script line 1: <script>"};
    QTest::newRow("near miss: scripted is not script")
        << "<scripted>text</scripted><p>A script: the play</p>" << none;
    QTest::newRow("event handler")
        << "<img src=\"https://pics.example/a.jpg\" onmouseover=\"zoom()\">"
        << QStringList{"error event-handler line 1: onmouseover=zoom()"};
    QTest::newRow("event handler, unquoted, upper case")
        << "<BODY ONLOAD=go()>" << QStringList{"error event-handler line 1: onload=go()"};
    QTest::newRow("near miss: onion")
        << "<p>Fresh onion soup, on=sale</p><img alt=\"onion\" data-onclick=\"x\" "
           "src=\"https://pics.example/o.jpg\">"
        << none;
    QTest::newRow("javascript address")
        << "<a href=\" JavaScript:buy()\">Buy</a>"
        << QStringList{"error javascript-url line 1: href=JavaScript:buy() «Buy»"};
    QTest::newRow("javascript address behind a character reference")
        << "<a href=\"javascript&#58;buy()\">Buy</a>"
        << QStringList{"error javascript-url line 1: href=javascript:buy() «Buy»"};
    QTest::newRow("near miss: javascript in a path and in the text")
        << "<a href=\"https://shop.example/javascript:guide\">JavaScript: the guide</a>" << none;
    QTest::newRow("form") << "<FORM action=\"https://shop.example/buy\"></FORM>"
                          << QStringList{"error form line 1: <form>"};
    QTest::newRow("near miss: form as a word") << "<p class=\"form\">In good form</p>" << none;
    QTest::newRow("iframe") << "<iframe src=\"https://video.example/v\"></iframe>"
                            << QStringList{"error iframe line 1: <iframe>"};
    QTest::newRow("object") << "<object data=\"https://x.example/a.swf\"></object>"
                            << QStringList{"error plugin line 1: <object>"};
    QTest::newRow("embed") << "<embed src=\"https://x.example/a.swf\">"
                           << QStringList{"error plugin line 1: <embed>"};
    QTest::newRow("applet") << "<applet code=\"A.class\"></applet>"
                            << QStringList{"error plugin line 1: <applet>"};
    QTest::newRow("external style sheet")
        << "<link href=\"https://shop.example/s.css\" REL='Alternate StyleSheet'>"
        << QStringList{"error style-sheet-link line 1: <link>"};
    QTest::newRow("other link element")
        << "<link rel=\"preload\" as=\"font\" href=\"https://fonts.example/f.woff2\">"
        << QStringList{"warning link-element line 1: <link>"};
    QTest::newRow("near miss: links, stylesheet as a word")
        << "<a href=\"https://shop.example/\" rel=\"stylesheet\">style sheets</a><linked "
           "rel=stylesheet>"
        << none;
    QTest::newRow("near miss: escaped tags in the text")
        << "<p>An object &lt;embed&gt; &lt;iframe&gt;</p><!-- <script> -->" << none;
    QTest::newRow("meta refresh")
        << "<meta http-equiv=\"Refresh\" content=\"0; url=https://elsewhere.example/\">"
        << QStringList{"error meta-refresh line 1: http-equiv=Refresh"};
    QTest::newRow("near miss: meta content type")
        << "<meta http-equiv=\"Content-Type\" content=\"text/html\">" << none;
    QTest::newRow("css expression")
        << "<div style=\"width:EXPRESSION (document.body.clientWidth)\">"
        << QStringList{"error css-expression line 1: EXPRESSION ("};
    QTest::newRow("near miss: expression in the text") << "<p>An expression (of joy)</p>" << none;
    QTest::newRow("css behavior") << "<span style=\"Behavior :none\">"
                                  << QStringList{"error css-behavior line 1: Behavior :"};
    QTest::newRow("near miss: scroll-behavior")
        << "<style>html { scroll-behavior: smooth }</style>" << none;

    // Size.
    QTest::newRow("over 500,000 characters")
        << longText(500001) << QStringList{"error page-too-long: 500001 characters"};
    QTest::newRow("over 450,000 characters")
        << longText(450001) << QStringList{"warning page-long: 450001 characters"};
    QTest::newRow("near miss: 450,000 characters") << longText(450000) << none;

    // Pictures only this computer has.
    QTest::newRow("file picture")
        << "<img src=\"file:///home/me/images/a.jpg\">"
        << QStringList{"error local-picture line 1: file:///home/me/images/a.jpg"};
    QTest::newRow("relative picture") << "<img src=\"images/a.jpg\">"
                                      << QStringList{"error relative-picture line 1: images/a.jpg"};
    QTest::newRow("relative picture in a style")
        << "<td style=\"background:url(bg.gif)\">"
        << QStringList{"error relative-picture line 1: bg.gif"};
    QTest::newRow("near miss: no picture, address without scheme")
        << "<td style=\"background-image:url('')\"><img src=\"//pics.example/a.jpg\">" << none;
    const QString largeData =
        QStringLiteral("data:image/png;base64,") + QString(13700, QLatin1Char('A'));
    QTest::newRow("data picture over 10 KB")
        << "<img src=\"" + largeData + "\">"
        << QStringList{"error data-picture line 1: " + largeData.left(99) + QChar(0x2026)};
    QTest::newRow("near miss: small data picture")
        << "<img src=\"data:image/gif;base64,R0lGODlhAQABAAAAACw=\">" << none;

    // Phones.
    QTest::newRow("fixed width") << "<div style=\"width:600px\">"
                                 << QStringList{"warning wide-fixed-width line 1: width:600px"};
    QTest::newRow("fixed width in a style sheet")
        << "<style>\n.m { width: 640px; }\n</style>"
        << QStringList{"warning wide-fixed-width line 2: width: 640px"};
    QTest::newRow("near miss: max-width, narrow width")
        << "<div style=\"width:600px; max-width:100%\"><div style=\"max-width:900px;width:480px\">"
        << none;
    QTest::newRow("wide table") << "<table width=640>"
                                << QStringList{"warning wide-table line 1: width=640"};
    QTest::newRow("near miss: table in percent, table with max-width")
        << "<table width=\"100%\"><table width=\"600\" style=\"max-width:100%\">" << none;
    QTest::newRow("small font") << "<span style=\"font-size:9px\">"
                                << QStringList{"warning small-font line 1: font-size:9px"};
    QTest::newRow("small font in points")
        << "<p style=\"font-size: 7.5pt\">"
        << QStringList{"warning small-font line 1: font-size: 7.5pt"};
    QTest::newRow("small font on the second line of a style")
        << "<div style=\"color:#333;\n font-size:8px\">"
        << QStringList{"warning small-font line 2: font-size:8px"};
    QTest::newRow("the same small font twice on a line is one finding")
        << "<span style=\"font-size:7pt\">Ctrl</span> and <span "
           "style=\"font-size:7pt\">click</span>"
           "\n<span style=\"font-size:7pt\">again</span>"
        << QStringList{"warning small-font line 1: font-size:7pt «Ctrl and click again»",
                       "warning small-font line 2: font-size:7pt «again»"};
    QTest::newRow("near miss: 11 px, 10 pt")
        << "<p style=\"font-size:11px\"><p style=\"font-size:10pt\">" << none;

    QTest::newRow("font size 1") << "<font size=\"1\">small print</font>"
                                 << QStringList{
                                        "warning small-font-tag line 1: size=1 «small print»"};
    QTest::newRow("font size two below the usual")
        << "<FONT color=red SIZE=-2>" << QStringList{"warning small-font-tag line 1: size=-2"};
    QTest::newRow("near miss: font sizes 2 and -1, size of a field")
        << "<font size=\"2\"><font size=\"-1\"><font size=\"+1\"><input size=\"1\">" << none;

    // The words bidders read where the finding is, so that the seller finds it in the text.
    QTest::newRow("words: to the end of the paragraph, across inline tags and references")
        << "<p><span style=\"font-size:7pt\">Hold <b>Ctrl</b>&nbsp;and&#32;click</span> a "
           "li<i>nk</i></p><p>Next paragraph</p>"
        << QStringList{"warning small-font line 1: font-size:7pt «Hold Ctrl and click a link»"};
    QTest::newRow("words: at most eight, then an ellipsis")
        << "<td style=\"font-size:6px\">one two three four five six seven eight nine</td>"
        << QStringList{"warning small-font line 1: font-size:6px «one two three four five six "
                       "seven eight…»"};
    QTest::newRow("words: none in a style sheet, the style's words skipped")
        << "<style>p { font-size:7pt }</style><p style=\"font-size:8px\"><style>x{}</style>"
           "Small</p>"
        << QStringList{"warning small-font line 1: font-size:7pt",
                       "warning small-font line 1: font-size:8px «Small»"};
    QTest::newRow("words: an empty element gives the text after it")
        << "<li><span style=\"font-size:7pt\"></span>After</li><li>Other</li>"
        << QStringList{"warning small-font line 1: font-size:7pt «After»"};
    QTest::newRow("errors first, then in page order")
        << "<a href=\"http://a.example/\">\n<img src=\"http://b.example/p.jpg\">\n<script></script>"
        << QStringList{"error http-picture line 2: http://b.example/p.jpg",
                       "error script line 3: <script>",
                       "warning http-link line 1: http://a.example/"};
}

void TestListingRules::findings() {
    QFETCH(QString, page);
    QFETCH(QStringList, expected);
    const QList<listingrules::Finding> findings = listingrules::check(QStringList{page});
    QCOMPARE(described(findings), expected);
    QCOMPARE(listingrules::hasErrors(findings), expected.join(QLatin1Char('|')).contains("error "));
}

void TestListingRules::frenchMessages() {
    const QString page = QStringLiteral("<img src=\"http://pics.example/a.jpg\">");
    QVERIFY(listingrules::check(page).value(0).message.startsWith(QStringLiteral("Picture over")));
    QVERIFY(listingrules::check(page, QStringLiteral("fr"))
                .value(0)
                .message.startsWith(QStringLiteral("Image en connexion")));
}

void TestListingRules::welcomePageAsPublished_data() {
    QTest::addColumn<QString>("document");
    QTest::addColumn<QString>("title");
    QTest::newRow("English") << "Entry.vdoc"
                             << "Welcome to Vantrel";
    QTest::newRow("French") << "fr_Entry.vdoc"
                            << "Vantrel";
}

void TestListingRules::welcomePageAsPublished() {
    QFETCH(QString, document);
    QFETCH(QString, title);
    // The listing body the program copies for its welcome document in its
    // default layout.
    const QString folder = QCoreApplication::applicationDirPath();
    QProcess render;
    render.start(folder + QStringLiteral("/vantrel-render"),
                 {folder + QLatin1Char('/') + document, folder + QStringLiteral("/Default.rbs"),
                  QStringLiteral("--body")});
    QVERIFY(render.waitForFinished(120000));
    QCOMPARE(render.exitCode(), 0);
    const QString body = QString::fromLatin1(render.readAllStandardOutput());
    QVERIFY(body.contains(title));
    // Neither errors nor warnings: the seller's first listing is a clean one.
    QCOMPARE(described(listingrules::check(body)), QStringList());
}

QTEST_GUILESS_MAIN(TestListingRules)
#include "tst_listingrules.moc"
