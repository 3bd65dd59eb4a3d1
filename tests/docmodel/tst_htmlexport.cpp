#include "docmodel/docpicture.h"
#include "docmodel/docproperties.h"
#include "docmodel/eddocument.h"
#include "docmodel/htmlfragmentexporter.h"
#include "docmodel/vdocreader.h"
#include "docmodel/vdocwriter.h"
#include "platform/pictureplan.h"
#include "platform/windows1252.h"
#include "support/sampledocument.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextList>
#include <QTextTable>
#include <QUrl>

namespace {

const QString kPara = QStringLiteral("<p style=\"margin: 0px 0px 0px 0px; text-align: left;\">");
const QString kArial =
    QStringLiteral("<span style=\"font-family: 'Arial', sans-serif; font-size: 10pt;\">");
const QString kLink =
    QStringLiteral("<span style=\"font-family: 'Arial', sans-serif; font-size: 10pt; "
                   "text-decoration: underline; color: #008000;\">");

QString paragraph(const QString& content) {
    return kPara + content + QStringLiteral("</p>\r\n");
}

DocPicture picture(const QByteArray& bytes, const QByteArray& format, const QString& fileName) {
    DocPicture result;
    result.bytes = bytes;
    result.format = format;
    result.fileName = fileName;
    return result;
}

} // namespace

class TestHtmlExport : public QObject {
    Q_OBJECT

private slots:
    void textIsEscapedInTheCodePage_data();
    void textIsEscapedInTheCodePage();
    void contentOnlyWithInlineStyles();
    void fontNamesAreFollowedByTheirGenericFamily_data();
    void fontNamesAreFollowedByTheirGenericFamily();
    void links_data();
    void links();
    void pictureSources_data();
    void pictureSources();
    void webPicturesKeepTheirAddress_data();
    void webPicturesKeepTheirAddress();
    void picturesTheExporterSaves_data();
    void picturesTheExporterSaves();
    void picturesWithoutAFolderGoToAFolderOfThisProcess();
    void aFileFoundUnderAPictureNameIsReplaced();
    void photosAreShownAndExportedUpright_data();
    void photosAreShownAndExportedUpright();
    void listMarkersAsText();
    void tablesWithSpansAndNestedContent();
    void tableSpacingAndPaddingAreInline_data();
    void tableSpacingAndPaddingAreInline();
    void otherItems();
    void invalidColoursAreNoColours_data();
    void invalidColoursAreNoColours();
    void columnWidthsAreKeptAndExported();
    void cellBordersAreInline_data();
    void cellBordersAreInline();
    void paragraphLookIsInline_data();
    void paragraphLookIsInline();
};

void TestHtmlExport::textIsEscapedInTheCodePage_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("html");
    QTest::newRow("markup characters")
        << QStringLiteral("a<b>&\"c'") << QByteArray("a&lt;b&gt;&amp;&quot;c'");
    QTest::newRow("pound signs never reach the merge")
        << QStringLiteral("\u00a3name\u00a3 costs \u00a35")
        << QByteArray("&#163;name&#163; costs &#163;5");
    QTest::newRow("code page characters as bytes")
        << QStringLiteral("\u20ac \u00e9\u2019") << QByteArray("\x80 \xe9\x92");
    QTest::newRow("outside the code page as references")
        << QStringLiteral("\u0416 \U0001F600") << QByteArray("&#1046; &#128512;");
    QTest::newRow("spaces and tabs stay visible")
        << QStringLiteral(" a  b\tc") << QByteArray("&nbsp;a &nbsp;b&nbsp;&nbsp;&nbsp;&nbsp;c");
    QTest::newRow("line break inside a paragraph")
        << QStringLiteral("a\u2028b") << QByteArray("a<br>b");
}

void TestHtmlExport::textIsEscapedInTheCodePage() {
    QFETCH(QString, text);
    QFETCH(QByteArray, html);
    EdDocument document;
    QTextCursor cursor(document.textDocument());
    document.insertText(cursor, text, 0);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(HtmlFragmentExporter(document).write(buffer));
    QCOMPARE(bytes, windows1252::encode(kPara + kArial) + html + "</span></p>\r\n");
}

void TestHtmlExport::contentOnlyWithInlineStyles() {
    EdDocument document;
    TTextStyleInfo odd;
    odd.FontName = QStringLiteral("Evil'; color: red\"><script>");
    odd.Size = 12;
    odd.Style = TTextStyleInfo::fsBold | TTextStyleInfo::fsItalic | TTextStyleInfo::fsStrikeOut;
    odd.Color = QColor(0x12, 0xab, 0xcd);
    odd.BackColor = Qt::yellow;
    odd.AllCaps = true;
    odd.VAlign = TTextStyleInfo::vsSubscript;
    const int oddNo = document.docStyle().TextStyles.findOrAppend(odd);
    QTextCursor cursor(document.textDocument());
    cursor.setBlockFormat(document.docStyle().blockFormat(1));
    document.insertText(cursor, QStringLiteral("Title"), 1);
    document.insertText(cursor, QStringLiteral("x"), oddNo);
    const QString html = HtmlFragmentExporter(document).toHtml();
    QCOMPARE(html,
             QStringLiteral("<p style=\"margin: 0px 0px 0px 0px; text-align: center;\">"
                            "<span style=\"font-family: 'Arial', sans-serif; font-size: 10pt; "
                            "font-weight: bold; "
                            "color: #0000FF;\">Title</span>"
                            "<span style=\"font-family: 'Evil color: redscript', sans-serif; "
                            "font-size: 12pt; "
                            "font-weight: bold; font-style: italic; text-decoration: line-through; "
                            "color: #12ABCD; background-color: #FFFF00; text-transform: uppercase; "
                            "vertical-align: sub;\">x</span></p>\r\n"));
}

void TestHtmlExport::fontNamesAreFollowedByTheirGenericFamily_data() {
    QTest::addColumn<QString>("fontName");
    QTest::addColumn<QString>("family");
    QTest::newRow("Verdana") << "Verdana"
                             << "'Verdana', sans-serif";
    QTest::newRow("Arial") << "Arial"
                           << "'Arial', sans-serif";
    QTest::newRow("Times New Roman") << "Times New Roman"
                                     << "'Times New Roman', serif";
    QTest::newRow("Georgia") << "Georgia"
                             << "'Georgia', serif";
    QTest::newRow("Book Antiqua") << "Book Antiqua"
                                  << "'Book Antiqua', serif";
    QTest::newRow("Liberation Serif") << "Liberation Serif"
                                      << "'Liberation Serif', serif";
    QTest::newRow("DejaVu Sans") << "DejaVu Sans"
                                 << "'DejaVu Sans', sans-serif";
    QTest::newRow("Century Gothic") << "Century Gothic"
                                    << "'Century Gothic', sans-serif";
    QTest::newRow("Courier New") << "Courier New"
                                 << "'Courier New', monospace";
    QTest::newRow("Lucida Console") << "Lucida Console"
                                    << "'Lucida Console', monospace";
    QTest::newRow("DejaVu Sans Mono") << "DejaVu Sans Mono"
                                      << "'DejaVu Sans Mono', monospace";
    QTest::newRow("unknown name") << "Shop Display"
                                  << "'Shop Display', sans-serif";
    QTest::newRow("no name") << ""
                             << "sans-serif";
}

void TestHtmlExport::fontNamesAreFollowedByTheirGenericFamily() {
    QFETCH(QString, fontName);
    QFETCH(QString, family);
    EdDocument document;
    TTextStyleInfo style;
    style.FontName = fontName;
    const int styleNo = document.docStyle().TextStyles.findOrAppend(style);
    QTextCursor cursor(document.textDocument());
    document.insertText(cursor, QStringLiteral("x"), styleNo);
    QCOMPARE(HtmlFragmentExporter(document).toHtml(),
             paragraph(QStringLiteral("<span style=\"font-family: %1; font-size: 10pt;\">x</span>")
                           .arg(family)));
}

void TestHtmlExport::links_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("extras");
    QTest::addColumn<QString>("expected");
    QTest::newRow("target and extras")
        << QStringLiteral("http://shop.example/?a=1&b=2") << QStringLiteral("target=_blank")
        << QStringLiteral("<a href=\"http://shop.example/?a=1&amp;b=2\" target=_blank>") + kLink +
               QStringLiteral("shop</span></a>");
    QTest::newRow("extras alone") << QString() << QStringLiteral("name=x")
                                  << QStringLiteral("<a name=x>") + kLink +
                                         QStringLiteral("shop</span></a>");
    QTest::newRow("no anchor at all")
        << QString() << QString() << kLink + QStringLiteral("shop</span>");
    QTest::newRow("a target cannot leave its attribute")
        << QStringLiteral("http://x\" onclick=\"alert('\u00a3')") << QString()
        << QStringLiteral("<a href=\"http://x&quot; onclick=&quot;alert(&#39;&#163;&#39;)\">") +
               kLink + QStringLiteral("shop</span></a>");
    const QString text = kLink + QStringLiteral("shop</span>");
    auto anchor = [](const char* href) {
        return QStringLiteral("<a href=\"%1\">").arg(QLatin1String(href)) + kLink +
               QStringLiteral("shop</span></a>");
    };
    QTest::newRow("https") << "HTTPS://shop.example/" << QString()
                           << anchor("HTTPS://shop.example/");
    QTest::newRow("ftp") << "ftp://files.example/a" << QString() << anchor("ftp://files.example/a");
    QTest::newRow("mailto") << "mailto:me@shop.example" << QString()
                            << anchor("mailto:me@shop.example");
    QTest::newRow("anchor in the document") << "#terms" << QString() << anchor("#terms");
    QTest::newRow("typed www address")
        << "www.shop.example" << QString() << anchor("http://www.shop.example");
    QTest::newRow("blanks around")
        << "  http://shop.example/ " << QString() << anchor("http://shop.example/");
    QTest::newRow("javascript") << "javascript:alert(1)"
                                << "target=_blank" << text;
    QTest::newRow("javascript, mixed case and blanks")
        << "  JaVaScRiPt:alert(1)" << QString() << text;
    QTest::newRow("javascript with a tab") << "java\tscript:alert(1)" << QString() << text;
    QTest::newRow("javascript with a line break") << "java\nscript:alert(1)" << QString() << text;
    QTest::newRow("javascript with a control character")
        << "\x01javascript:alert(1)" << QString() << text;
    QTest::newRow("javascript, decimal reference")
        << "&#106;avascript:alert(1)" << QString() << text;
    QTest::newRow("javascript, padded reference without semicolon")
        << "&#0000106avascript:alert(1)" << QString() << text;
    QTest::newRow("javascript, hexadecimal reference")
        << "&#x6A;avascript:alert(1)" << QString() << text;
    QTest::newRow("javascript, named colon") << "javascript&colon;alert(1)" << QString() << text;
    QTest::newRow("javascript, tab reference") << "java&Tab;script:alert(1)" << QString() << text;
    QTest::newRow("vbscript") << "vbscript:msgbox(1)" << QString() << text;
    QTest::newRow("data") << "data:text/html;base64,PHNjcmlwdD4=" << QString() << text;
    QTest::newRow("local file") << "file:///etc/passwd" << QString() << text;
    QTest::newRow("bare path") << "/usr/share/applications/x.desktop" << QString() << text;
}

void TestHtmlExport::links() {
    QFETCH(QString, target);
    QFETCH(QString, extras);
    QFETCH(QString, expected);
    EdDocument document;
    QTextCursor cursor(document.textDocument());
    document.insertText(cursor, QStringLiteral("shop"), 4, QStringLiteral("tag"));
    HtmlFragmentExporter exporter(document);
    QStringList calls;
    exporter.OnWriteHyperlink = [&](int id, const TCustomDocData& data, int itemNo,
                                    HtmlFragmentExporter::TEdSaveFormat, QString& t, QString& e) {
        QVERIFY(t.isEmpty() && e.isEmpty());
        calls << QStringLiteral("%1 %2 %3")
                     .arg(id)
                     .arg(itemNo)
                     .arg(document.ItemLinkTarget(data, itemNo));
        t = target;
        e = extras;
    };
    QCOMPARE(exporter.toHtml(), paragraph(expected));
    QCOMPARE(calls, QStringList{QStringLiteral("0 0 tag")});
}

void TestHtmlExport::pictureSources_data() {
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("location");
    QTest::addColumn<bool>("doDefault");
    QTest::addColumn<QString>("source");
    QTest::newRow("handler location")
        << QStringLiteral("/p/a.png") << QStringLiteral("http://srv/a b.png") << false
        << QStringLiteral("http://srv/a b.png");
    QTest::newRow("stored file name") << QStringLiteral("/p/My \"Sky\".png") << QString() << true
                                      << QStringLiteral("file:///p/My%20%22Sky%22.png");
    QTest::newRow("stored file name with a space as a file URL")
        << QStringLiteral("/home/seller/My Sky.jpg") << QString() << true
        << QStringLiteral("file:///home/seller/My%20Sky.jpg");
    QTest::newRow("handler leaves it to the default")
        << QStringLiteral("/p/a.png") << QStringLiteral("ignored") << true
        << QStringLiteral("file:///p/a.png");
    QTest::newRow("cleared default without a location")
        << QStringLiteral("/p/a.png") << QString() << false << QStringLiteral("file:///p/a.png");
}

void TestHtmlExport::pictureSources() {
    QFETCH(QString, fileName);
    QFETCH(QString, location);
    QFETCH(bool, doDefault);
    QFETCH(QString, source);
    EdDocument document;
    QTextCursor cursor(document.textDocument());
    DocPicture shown = picture(sampledocument::pngBytes(4, 3), "png", fileName);
    shown.width = 40;
    shown.height = 30;
    document.insertPicture(cursor, shown);
    HtmlFragmentExporter exporter(document);
    exporter.picturesFolder = QStringLiteral("/nowhere");
    int calls = 0;
    exporter.OnHTMLSaveImage = [&](const TCustomDocData& data, int itemNo, const QString& path,
                                   const QColor&, QString& l, bool& d) {
        ++calls;
        QCOMPARE(path, QStringLiteral("/nowhere"));
        QString stored;
        QVERIFY(document.ItemPictureFile(data, itemNo, stored));
        QCOMPARE(stored, fileName);
        l = location;
        d = doDefault;
    };
    QCOMPARE(exporter.toHtml(),
             paragraph(QStringLiteral("<img src=\"%1\" width=\"40\" height=\"30\" alt=\"\" "
                                      "style=\"vertical-align: baseline\">")
                           .arg(source)));
    QCOMPARE(calls, 1);
}

void TestHtmlExport::webPicturesKeepTheirAddress_data() {
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("sizeAttributes");
    QTest::newRow("shown at a size of its own")
        << QSize(200, 150) << " width=\"200\" height=\"150\"";
    QTest::newRow("only its width given") << QSize(200, 0) << " width=\"200\"";
    // Its own size is not known before it arrives: the browser takes it.
    QTest::newRow("shown at the picture's size") << QSize() << "";
}

void TestHtmlExport::webPicturesKeepTheirAddress() {
    QFETCH(QSize, size);
    EdDocument document;
    QTextCursor cursor(document.textDocument());
    DocPicture web;
    web.address = QStringLiteral("https://pics.example/a b.jpg?x=1&y=2");
    web.width = qMax(0, size.width());
    web.height = qMax(0, size.height());
    document.insertPicture(cursor, web);
    // Neither the handler, the pictures folder nor the plan moves it.
    HtmlFragmentExporter exporter(document);
    exporter.picturesFolder = QStringLiteral("/nowhere");
    int calls = 0;
    exporter.OnHTMLSaveImage = [&](const TCustomDocData&, int, const QString&, const QColor&,
                                   QString& location, bool& doDefault) {
        ++calls;
        location = QStringLiteral("elsewhere.jpg");
        doDefault = false;
    };
    pictureplan::Input input;
    input.target = pictureplan::Target::Publish;
    input.document = HtmlFragmentExporter::documentPictures(document);
    input.servers.document = QStringLiteral("https://own.example/");
    const pictureplan::Plan plan = pictureplan::make(input);
    exporter.picturePlan = &plan;
    QFETCH(QString, sizeAttributes);
    QCOMPARE(exporter.toHtml(),
             paragraph(QStringLiteral("<img src=\"https://pics.example/a b.jpg?x=1&amp;y=2\"%1 "
                                      "alt=\"\" style=\"vertical-align: baseline\">")
                           .arg(sizeAttributes)));
    QCOMPARE(calls, 0);
    QCOMPARE(plan.addresses(), QStringList{web.address});
}

void TestHtmlExport::picturesTheExporterSaves_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<bool>("asTheyAre");
    QTest::newRow("png as it is") << sampledocument::pngBytes() << QByteArray("png") << "png"
                                  << true;
    QTest::newRow("gif as it is") << sampledocument::gifBytes() << QByteArray("gif") << "gif"
                                  << true;
    QTest::newRow("jpeg as it is")
        << sampledocument::jpegBytes() << QByteArray("jpeg") << "jpg" << true;
    QTest::newRow("bmp becomes jpeg")
        << sampledocument::bmpBytes() << QByteArray("bmp") << "jpg" << false;
}

void TestHtmlExport::picturesTheExporterSaves() {
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, format);
    QFETCH(QString, extension);
    QFETCH(bool, asTheyAre);
    QTemporaryDir folder;
    EdDocument document;
    QTextCursor cursor(document.textDocument());
    // A link picture: no border inside the anchor.
    DocPicture shown = picture(bytes, format, QString());
    shown.jump = true;
    shown.tag = QStringLiteral("#top");
    document.insertPicture(cursor, shown);
    HtmlFragmentExporter exporter(document);
    exporter.picturesFolder = folder.path();
    const QString html = exporter.toHtml();
    const QStringList files = QDir(folder.path()).entryList(QDir::Files);
    QCOMPARE(files.size(), 1);
    QVERIFY(files.first().startsWith(QStringLiteral("img")));
    QVERIFY(files.first().endsWith(QLatin1Char('.') + extension));
    const QImage natural = shown.image();
    QCOMPARE(html, paragraph(QStringLiteral("<a href=\"#top\"><img src=\"%1\" width=\"%2\" "
                                            "height=\"%3\" alt=\"\" border=\"0\" style=\"vertical-"
                                            "align: baseline\"></a>")
                                 .arg(files.first())
                                 .arg(natural.width())
                                 .arg(natural.height())));
    QFile saved(folder.filePath(files.first()));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QByteArray savedBytes = saved.readAll();
    if (asTheyAre)
        QCOMPARE(savedBytes, bytes);
    else
        QCOMPARE(DocPicture::detectFormat(savedBytes), QByteArray("jpeg"));
}

void TestHtmlExport::picturesWithoutAFolderGoToAFolderOfThisProcess() {
    EdDocument document;
    QTextCursor cursor(document.textDocument());
    document.insertPicture(cursor, picture(sampledocument::pngBytes(), "png", QString()));
    const QString html = HtmlFragmentExporter(document).toHtml();
    const qsizetype start = html.indexOf(QStringLiteral("src=\"")) + 5;
    const QUrl source(html.mid(start, html.indexOf(u'"', start) - start));
    QVERIFY(source.isLocalFile());
    const QFileInfo saved(source.toLocalFile());
    QVERIFY(saved.exists());
    const QFileInfo folder(saved.absolutePath());
    QVERIFY(folder.absoluteFilePath() != QDir::temp().filePath(QStringLiteral("vantrel-export")));
    QCOMPARE(folder.dir().absolutePath(), QDir(QDir::tempPath()).absolutePath());
    // Nobody but this user may read, list or plant files there.
    QCOMPARE(folder.permissions() & (QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                     QFile::ReadOther | QFile::WriteOther | QFile::ExeOther),
             QFile::Permissions());
}

void TestHtmlExport::aFileFoundUnderAPictureNameIsReplaced() {
    const QByteArray bytes = sampledocument::pngBytes(5, 5);
    EdDocument document;
    QTextCursor cursor(document.textDocument());
    document.insertPicture(cursor, picture(bytes, "png", QString()));
    auto exportInto = [&](const QString& folder) {
        HtmlFragmentExporter exporter(document);
        exporter.picturesFolder = folder;
        return exporter.toHtml();
    };
    auto plant = [](const QString& path, const QByteArray& content) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(content), content.size());
    };
    auto content = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    QTemporaryDir first;
    const QString html = exportInto(first.path());
    const QString name = QDir(first.path()).entryList(QDir::Files).value(0);
    QVERIFY(html.contains(name));

    // A file that was there before is not taken for the picture...
    QTemporaryDir second;
    const QString path = QDir(second.path()).filePath(name);
    plant(path, "not this picture");
    QCOMPARE(exportInto(second.path()), html);
    QCOMPARE(content(path), bytes);
    // ...nor one that replaced the picture after it was written.
    plant(path, "not this picture either");
    QCOMPARE(exportInto(second.path()), html);
    QCOMPARE(content(path), bytes);
}

void TestHtmlExport::photosAreShownAndExportedUpright_data() {
    QTest::addColumn<int>("orientation");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("redOnTop");
    QTest::newRow("upright") << 1 << QSize(200, 100) << true;
    QTest::newRow("upside down") << 3 << QSize(200, 100) << false;
    QTest::newRow("turned a quarter clockwise") << 6 << QSize(100, 200) << false;
    QTest::newRow("turned a quarter anticlockwise") << 8 << QSize(100, 200) << true;
}

void TestHtmlExport::photosAreShownAndExportedUpright() {
    QFETCH(int, orientation);
    QFETCH(QSize, size);
    QFETCH(bool, redOnTop);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("phone.jpg"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(sampledocument::orientedJpegBytes(200, 100, orientation));
    file.close();
    DocPicture photo;
    QVERIFY(DocPicture::fromFile(path, photo));
    QCOMPARE(QSize(photo.width, photo.height), size);
    const QImage shown = photo.image();
    QCOMPARE(shown.size(), size);
    const QColor corner = shown.pixelColor(2, 2);
    QCOMPARE(corner.red() > corner.blue(), redOnTop);
    // Exported with the size it is shown at, also when none was stored.
    for (const bool sizeStored : {true, false}) {
        EdDocument document;
        QTextCursor cursor(document.textDocument());
        DocPicture inserted = photo;
        if (!sizeStored)
            inserted.width = inserted.height = 0;
        document.insertPicture(cursor, inserted);
        QVERIFY(HtmlFragmentExporter(document).toHtml().contains(
            QStringLiteral("width=\"%1\" height=\"%2\"").arg(size.width()).arg(size.height())));
    }
}

void TestHtmlExport::listMarkersAsText() {
    EdDocument document;
    TListInfo numbers;
    numbers.ListType = TListInfo::lstUpperRoman;
    numbers.StartFrom = 3;
    numbers.IndentStep = 20;
    document.docStyle().ListStyles.add(numbers);
    QTextCursor cursor(document.textDocument());
    cursor.createList(document.docStyle().listFormat(0, 1));
    document.insertText(cursor, QStringLiteral("a"), 0);
    cursor.insertBlock();
    document.insertText(cursor, QStringLiteral("b"), 0);
    // The marker hangs in the level's step, left of where every line starts.
    const QString item =
        QStringLiteral("<p style=\"margin: 0px 0px 0px 40px; text-align: left; text-indent: "
                       "-20px;\"><span style=\"display: inline-block; min-width: 20px; "
                       "text-indent: 0; text-align: right; font-family: 'Arial', sans-serif; "
                       "font-size: 10pt;\">%1.&nbsp;</span>") +
        kArial + QStringLiteral("%2</span></p>\r\n");
    QCOMPARE(HtmlFragmentExporter(document).toHtml(),
             item.arg(QStringLiteral("III"), QStringLiteral("a")) +
                 item.arg(QStringLiteral("IV"), QStringLiteral("b")));
}

void TestHtmlExport::tablesWithSpansAndNestedContent() {
    EdDocument document;
    QTextCursor cursor(document.textDocument());
    QTextTable* table = document.insertTable(cursor, 2, 2);
    table->mergeCells(0, 0, 1, 2);
    QTextTableCell cell = table->cellAt(1, 1);
    QTextCharFormat cellFormat = cell.format();
    cellFormat.setVerticalAlignment(QTextCharFormat::AlignTop);
    cellFormat.setBackground(QColor(1, 2, 3));
    cell.setFormat(cellFormat);
    document.insertText(cursor, QStringLiteral("wide"), 0);
    const QString empty = kPara + kArial + QStringLiteral("&nbsp;</span></p>\r\n");
    QCOMPARE(
        HtmlFragmentExporter(document).toHtml(),
        empty +
            QStringLiteral("<table border=\"1\" cellpadding=\"2\" cellspacing=\"2\" "
                           "style=\"border-collapse: separate; border-spacing: 2px; border-color: "
                           "#A0A0A4;\">\r\n<tr>\r\n<td colspan=\"2\" style=\"padding: 2px; "
                           "vertical-align: top;\">\r\n") +
            paragraph(kArial + QStringLiteral("wide</span>")) +
            QStringLiteral("</td>\r\n</tr>\r\n<tr>\r\n<td style=\"padding: 2px; vertical-align: "
                           "top;\">\r\n") +
            empty +
            QStringLiteral("</td>\r\n<td valign=\"top\" style=\"padding: 2px; vertical-align: "
                           "top; background-color: #010203;\">\r\n") +
            empty + QStringLiteral("</td>\r\n</tr>\r\n</table>\r\n") + empty);
}

void TestHtmlExport::tableSpacingAndPaddingAreInline_data() {
    QTest::addColumn<int>("spacing");
    QTest::addColumn<int>("padding");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("cell");
    QTest::newRow("wide spacing, no padding")
        << 8 << 0 << int(QTextCharFormat::AlignNormal)
        << "style=\"border-collapse: separate; border-spacing: 8px;"
        << "<td style=\"padding: 0px; vertical-align: top;\">";
    QTest::newRow("no spacing, wide padding")
        << 0 << 10 << int(QTextCharFormat::AlignNormal)
        << "style=\"border-collapse: separate; border-spacing: 0px;"
        << "<td style=\"padding: 10px; vertical-align: top;\">";
    QTest::newRow("cells aligned to the middle")
        << 2 << 2 << int(QTextCharFormat::AlignMiddle)
        << "style=\"border-collapse: separate; border-spacing: 2px;"
        << "<td valign=\"middle\" style=\"padding: 2px; vertical-align: middle;\">";
    QTest::newRow("cells aligned to the bottom")
        << 2 << 2 << int(QTextCharFormat::AlignBottom)
        << "style=\"border-collapse: separate; border-spacing: 2px;"
        << "<td valign=\"bottom\" style=\"padding: 2px; vertical-align: bottom;\">";
}

void TestHtmlExport::tableSpacingAndPaddingAreInline() {
    QFETCH(int, spacing);
    QFETCH(int, padding);
    QFETCH(int, alignment);
    QFETCH(QString, table);
    QFETCH(QString, cell);
    EdDocument document;
    QTextCursor cursor(document.textDocument());
    QTextTable* inserted = document.insertTable(cursor, 1, 1);
    QTextTableFormat format = inserted->format();
    format.setCellSpacing(spacing);
    format.setCellPadding(padding);
    inserted->setFormat(format);
    QTextTableCell only = inserted->cellAt(0, 0);
    QTextCharFormat cellFormat = only.format();
    cellFormat.setVerticalAlignment(QTextCharFormat::VerticalAlignment(alignment));
    only.setFormat(cellFormat);
    const QString html = HtmlFragmentExporter(document).toHtml();
    QVERIFY2(html.contains(table), qPrintable(html));
    QVERIFY2(html.contains(cell + QStringLiteral("\r\n")), qPrintable(html));
}

void TestHtmlExport::otherItems() {
    EdDocument document;
    QTextCursor cursor(document.textDocument());
    document.insertAnchor(cursor, QStringLiteral("a\"b"));
    cursor.insertBlock();
    document.insertHLine(cursor, QColor(255, 0, 0), 3);
    document.insertPageBreak(cursor);
    document.insertText(cursor, QStringLiteral("x"), 0);
    QCOMPARE(HtmlFragmentExporter(document).toHtml(),
             paragraph(QStringLiteral("<a name=\"a&quot;b\"></a>")) +
                 QStringLiteral("<hr style=\"height: 3px; border: none; color: #FF0000; "
                                "background-color: #FF0000\">\r\n"
                                "<div style=\"page-break-before: always\"></div>\r\n") +
                 paragraph(kArial + QStringLiteral("x</span>")));
}

void TestHtmlExport::invalidColoursAreNoColours_data() {
    QTest::addColumn<QString>("html");
    QTest::newRow("table") << QStringLiteral(
        "<table bgcolor=\"bogus\" border=\"1\"><tr><td>x</td></tr></table>");
    QTest::newRow("cell") << QStringLiteral(
        "<table border=\"1\"><tr><td bgcolor=\"bogus\">x</td></tr></table>");
}

void TestHtmlExport::invalidColoursAreNoColours() {
    QFETCH(QString, html);
    EdDocument imported;
    QTextCursor cursor(imported.textDocument());
    cursor.insertHtml(html);
    imported.adoptImportedContent(0, imported.textDocument()->characterCount());
    EdDocument reopened;
    QVERIFY(VDocReader::read(VDocWriter::write(imported), reopened));
    const QString before = HtmlFragmentExporter(imported).toHtml();
    QVERIFY2(!before.contains(QStringLiteral("background-color")), qPrintable(before));
    QCOMPARE(HtmlFragmentExporter(reopened).toHtml(), before);

    // Nor does the export make one up for a colour set without the import.
    EdDocument document;
    QTextCursor tableCursor(document.textDocument());
    QTextTable* table = document.insertTable(tableCursor, 1, 1);
    QTextTableFormat format = table->format();
    format.setBackground(QBrush(QColor()));
    table->setFormat(format);
    QTextTableCell cell = table->cellAt(0, 0);
    QTextCharFormat cellFormat = cell.format();
    cellFormat.setBackground(QBrush(QColor()));
    cell.setFormat(cellFormat);
    QVERIFY(!HtmlFragmentExporter(document).toHtml().contains(QStringLiteral("background-color")));
}

void TestHtmlExport::columnWidthsAreKeptAndExported() {
    EdDocument imported;
    QTextCursor cursor(imported.textDocument());
    cursor.insertHtml(QStringLiteral("<table><tr><td width=\"80\">a</td><td width=\"30%\">b</td>"
                                     "<td>c</td></tr></table>"));
    imported.adoptImportedContent(0, imported.textDocument()->characterCount());
    EdDocument reopened;
    QVERIFY(VDocReader::read(VDocWriter::write(imported), reopened));
    const QString html = HtmlFragmentExporter(reopened).toHtml();
    QVERIFY2(html.contains(QStringLiteral("<td width=\"80\" ")), qPrintable(html));
    QVERIFY2(html.contains(QStringLiteral("<td width=\"30%\" ")), qPrintable(html));
    QCOMPARE(html, HtmlFragmentExporter(imported).toHtml());
}

void TestHtmlExport::cellBordersAreInline_data() {
    QTest::addColumn<int>("side");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("style");
    QTest::addColumn<QColor>("color");
    QTest::addColumn<QString>("css");
    using F = QTextFrameFormat;
    QTest::newRow("left") << int(docprop::CellLeft) << 1 << int(F::BorderStyle_Solid)
                          << QColor(Qt::red) << "border-left: 1px solid #FF0000;";
    QTest::newRow("top, no colour") << int(docprop::CellTop) << 2 << int(F::BorderStyle_Solid)
                                    << QColor() << "border-top: 2px solid #000000;";
    QTest::newRow("right, dotted") << int(docprop::CellRight) << 3 << int(F::BorderStyle_Dotted)
                                   << QColor(0, 0, 255) << "border-right: 3px dotted #0000FF;";
    QTest::newRow("bottom, double") << int(docprop::CellBottom) << 4 << int(F::BorderStyle_Double)
                                    << QColor(Qt::black) << "border-bottom: 4px double #000000;";
    QTest::newRow("dot-dash as dashes")
        << int(docprop::CellLeft) << 1 << int(F::BorderStyle_DotDash) << QColor(Qt::black)
        << "border-left: 1px dashed #000000;";
}

void TestHtmlExport::cellBordersAreInline() {
    QFETCH(int, side);
    QFETCH(int, width);
    QFETCH(int, style);
    QFETCH(QColor, color);
    QFETCH(QString, css);
    EdDocument document;
    QTextCursor cursor(document.textDocument());
    QTextTable* table = document.insertTable(cursor, 1, 2);
    QTextTableCell first = table->cellAt(0, 0);
    QTextCharFormat format = first.format();
    docprop::setCellBorder(format, side, {width, QTextFrameFormat::BorderStyle(style), color});
    first.setFormat(format);
    const QString html = HtmlFragmentExporter(document).toHtml();
    QCOMPARE(html.count(QRegularExpression(QStringLiteral("border-(left|top|right|bottom):"))), 1);
    QVERIFY2(html.contains(QStringLiteral(" ") + css + QStringLiteral("\">")), qPrintable(html));
    // It goes back into the file and out again as it was.
    EdDocument reopened;
    QVERIFY(VDocReader::read(VDocWriter::write(document), reopened));
    QCOMPARE(HtmlFragmentExporter(reopened).toHtml(), html);
}

void TestHtmlExport::paragraphLookIsInline_data() {
    QTest::addColumn<int>("direction");
    QTest::addColumn<int>("border");
    QTest::addColumn<QColor>("borderColor");
    QTest::addColumn<QColor>("background");
    QTest::addColumn<QString>("start");
    const QString margins = QStringLiteral("margin: 0px 0px 0px 0px; text-align: left;");
    const int fromText = TParaStyleInfo::bdDefault;
    QTest::newRow("plain") << fromText << 0 << QColor() << QColor()
                           << QStringLiteral("<p style=\"%1\">").arg(margins);
    QTest::newRow("right to left")
        << int(TParaStyleInfo::bdRightToLeft) << 0 << QColor() << QColor()
        << QStringLiteral("<p dir=\"rtl\" style=\"%1 direction: rtl;\">").arg(margins);
    QTest::newRow("left to right")
        << int(TParaStyleInfo::bdLeftToRight) << 0 << QColor() << QColor()
        << QStringLiteral("<p dir=\"ltr\" style=\"%1 direction: ltr;\">").arg(margins);
    QTest::newRow("border")
        << fromText << 2 << QColor(0, 0, 255) << QColor()
        << QStringLiteral("<p style=\"%1 border: 2px solid #0000FF;\">").arg(margins);
    QTest::newRow("border without colour")
        << fromText << 1 << QColor() << QColor()
        << QStringLiteral("<p style=\"%1 border: 1px solid #000000;\">").arg(margins);
    QTest::newRow("border and background")
        << fromText << 1 << QColor(255, 0, 0) << QColor(255, 255, 0)
        << QStringLiteral("<p style=\"%1 background-color: #FFFF00; border: 1px solid #FF0000;\">")
               .arg(margins);
    QTest::newRow("colour without a border") << fromText << 0 << QColor(255, 0, 0) << QColor()
                                             << QStringLiteral("<p style=\"%1\">").arg(margins);
    QTest::newRow("everything")
        << int(TParaStyleInfo::bdRightToLeft) << 3 << QColor(0, 128, 0) << QColor(255, 255, 255)
        << QStringLiteral("<p dir=\"rtl\" style=\"%1 background-color: #FFFFFF; border: 3px solid "
                          "#008000; direction: rtl;\">")
               .arg(margins);
}

void TestHtmlExport::paragraphLookIsInline() {
    QFETCH(int, direction);
    QFETCH(int, border);
    QFETCH(QColor, borderColor);
    QFETCH(QColor, background);
    QFETCH(QString, start);
    EdDocument document;
    TParaStyleInfo look;
    look.BiDiMode = TParaStyleInfo::TBiDiMode(direction);
    look.BorderWidth = border;
    look.BorderColor = borderColor;
    look.Background = background;
    TDocStyle::limitToFile(look);
    const int paraNo = document.docStyle().ParaStyles.findOrAppend(look);
    QTextCursor cursor(document.textDocument());
    cursor.setBlockFormat(document.docStyle().blockFormat(paraNo));
    document.insertText(cursor, QStringLiteral("x"), 0);
    const QString html = HtmlFragmentExporter(document).toHtml();
    QCOMPARE(html, start + kArial + QStringLiteral("x</span></p>\r\n"));
    // It goes back into the file and out again as it was.
    EdDocument reopened;
    QVERIFY(VDocReader::read(VDocWriter::write(document), reopened));
    QCOMPARE(HtmlFragmentExporter(reopened).toHtml(), html);
}

QTEST_MAIN(TestHtmlExport)
#include "tst_htmlexport.moc"
