#include "docmodel/bytewriter.h"
#include "docmodel/eddocument.h"
#include "docmodel/listingimport.h"
#include "docmodel/vdocformat.h"
#include "docmodel/vdocreader.h"
#include "docmodel/vdocwriter.h"
#include "docmodel/zlibcodec.h"
#include "editor/tdoceditor.h"
#include "support/sampledocument.h"
#include "supportui/scripteddialogs.h"

#include <QFile>
#include <QMimeData>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextTable>

namespace {

QByteArray fileWithPayload(const QByteArray& payload, quint16 version = vdocformat::kVersion) {
    QByteArray header("VDOC", 4);
    header.append(static_cast<char>(version & 0xFF));
    header.append(static_cast<char>(version >> 8));
    header.append(2, '\0');
    const quint32 size = static_cast<quint32>(payload.size());
    for (int shift = 0; shift < 32; shift += 8)
        header.append(static_cast<char>((size >> shift) & 0xFF));
    return header + zlibcodec::compress(payload);
}

QByteArray payloadOf(const QByteArray& file) {
    QByteArray payload;
    const quint32 size = static_cast<quint8>(file[8]) | static_cast<quint8>(file[9]) << 8 |
                         static_cast<quint8>(file[10]) << 16 | static_cast<quint8>(file[11]) << 24;
    if (!zlibcodec::decompress(QByteArrayView(file).sliced(12), size, payload))
        qFatal("cannot unpack the fixture");
    return payload;
}

bool loads(const QByteArray& file) {
    EdDocument document;
    return VDocReader::read(file, document);
}

QByteArray everyKindFile() {
    EdDocument document;
    sampledocument::fillWithEveryKind(document);
    return VDocWriter::write(document);
}

/// A payload's start with no styles, no background, margins of 5 and no
/// lists: what a hand-made payload needs before its items.
void writeBareDocumentHead(ByteWriter& out) {
    for (int i = 0; i < 3; ++i)
        out.u32(0); // no text, paragraph or list styles
    out.color(QColor());
    out.boolean(false);
    for (int i = 0; i < 4; ++i)
        out.i32(5); // margins
    out.u32(0);     // lists
}

/// The start of a payload's only item, a table of `rows` x `columns` with a
/// border of 1, up to its column widths.
void writeTableItemHead(ByteWriter& out, int rows, int columns) {
    out.u32(1); // one item
    out.u8(vdocformat::ItemTable);
    out.u8(vdocformat::kStartsParagraph);
    for (int value : {rows, columns, 1})
        out.i32(value); // rows, columns, border
    out.color(QColor());
    out.i32(2); // padding
    out.i32(2); // spacing
    out.color(QColor());
    out.u8(0); // alignment
    out.u8(0); // width type
    out.i32(0);
}

} // namespace

class TestVDocFile : public QObject {
    Q_OBJECT

private slots:
    void roundTripKeepsEverything();
    void roundTripOfAnEmptyDocument();
    void fileOnDisk();
    void damagedHeader_data();
    void damagedHeader();
    void truncatedAnywhere();
    void payloadCutAtEveryByte();
    void lengthsAndCountsPastTheEnd_data();
    void lengthsAndCountsPastTheEnd();
    void randomDamageNeverCrashes();
    void importedContentReopens_data();
    void importedContentReopens();
    void pastedPageIsTheImportedPage_data();
    void pastedPageIsTheImportedPage();
    void tooDeepTablesAreWrittenAsTheirContent();
    void hugeTableHeaderIsRefusedBeforeItsGrid();
    void firstVersionFilesStillOpen();
    void secondVersionFilesStillOpen();
    void webPicturesReopenByAddress_data();
    void webPicturesReopenByAddress();
    void storedPictureAddresses_data();
    void storedPictureAddresses();
};

void TestVDocFile::roundTripKeepsEverything() {
    EdDocument original;
    sampledocument::fillWithEveryKind(original);
    const QByteArray file = VDocWriter::write(original);
    QVERIFY(file.startsWith("VDOC"));

    EdDocument loaded;
    // Loading brings the file's style sheet in, whatever was there before.
    loaded.docStyle().TextStyles.clear();
    QVERIFY(VDocReader::read(file, loaded));
    QCOMPARE(sampledocument::dump(loaded), sampledocument::dump(original));
    QVERIFY(loaded.docStyle() == original.docStyle());
    QCOMPARE(VDocWriter::write(loaded), file);

    // The pictures come back byte for byte: the GIF stays a GIF.
    QString fileName;
    QVERIFY(loaded.ItemPictureFile(loaded.rootData(), 6, fileName));
    const DocItem gif = loaded.rootData().items().at(6);
    QCOMPARE(DocPicture::fromFormat(gif.format.toImageFormat()).bytes, sampledocument::gifBytes());
}

void TestVDocFile::roundTripOfAnEmptyDocument() {
    EdDocument original;
    EdDocument loaded;
    QTextCursor cursor(loaded.textDocument());
    loaded.insertText(cursor, QStringLiteral("old content"), 1);
    loaded.clear();
    QVERIFY(VDocReader::read(VDocWriter::write(original), loaded));
    QCOMPARE(sampledocument::dump(loaded), sampledocument::dump(original));
}

void TestVDocFile::fileOnDisk() {
    QTemporaryDir folder;
    const QString fileName = folder.filePath(QStringLiteral("doc.vdoc"));
    EdDocument original;
    sampledocument::fillWithEveryKind(original);
    VDocWriter::writeFile(original, fileName);
    EdDocument loaded;
    QVERIFY(VDocReader::readFile(fileName, loaded));
    QCOMPARE(sampledocument::dump(loaded), sampledocument::dump(original));
    QVERIFY(!VDocReader::readFile(folder.filePath(QStringLiteral("missing.vdoc")), loaded));
}

void TestVDocFile::damagedHeader_data() {
    QTest::addColumn<QByteArray>("file");
    const QByteArray good = everyKindFile();
    QByteArray wrongMagic = good;
    wrongMagic[0] = 'X';
    QByteArray wrongVersion = good;
    wrongVersion[4] = static_cast<char>(vdocformat::kVersion + 1);
    QByteArray sizeTooSmall = good;
    sizeTooSmall[8] = static_cast<char>(static_cast<quint8>(good[8]) - 1);
    QByteArray sizeTooLarge = good;
    sizeTooLarge[9] = static_cast<char>(static_cast<quint8>(good[9]) + 1);
    QByteArray sizeHuge = good;
    sizeHuge[11] = static_cast<char>(0x7F);
    QTest::newRow("zero length") << QByteArray();
    QTest::newRow("header only") << good.left(12);
    QTest::newRow("wrong magic") << wrongMagic;
    QTest::newRow("newer version") << wrongVersion;
    QTest::newRow("payload size one short") << sizeTooSmall;
    QTest::newRow("payload size too large") << sizeTooLarge;
    QTest::newRow("payload size past every limit") << sizeHuge;
    QTest::newRow("trailing bytes after the stream") << good + QByteArray("junk");
    QTest::newRow("payload not compressed") << good.left(12) + payloadOf(good);
}

void TestVDocFile::damagedHeader() {
    QFETCH(QByteArray, file);
    QVERIFY(!loads(file));
}

void TestVDocFile::truncatedAnywhere() {
    const QByteArray good = everyKindFile();
    for (qsizetype size = 0; size < good.size(); ++size)
        QVERIFY2(!loads(good.left(size)), qPrintable(QString::number(size)));
}

void TestVDocFile::payloadCutAtEveryByte() {
    // A well-compressed payload that ends early: every section's reader must
    // notice that its data is missing.
    const QByteArray payload = payloadOf(everyKindFile());
    QVERIFY(loads(fileWithPayload(payload)));
    for (qsizetype size = 0; size < payload.size(); ++size)
        QVERIFY2(!loads(fileWithPayload(payload.left(size))), qPrintable(QString::number(size)));
}

void TestVDocFile::lengthsAndCountsPastTheEnd_data() {
    QTest::addColumn<int>("offset");
    // The payload starts with the text style count, then the first style's
    // name length; both are patched to 0xFFFFFFFF and to just past the end.
    QTest::newRow("text style count") << 0;
    QTest::newRow("first style name length") << 4;
}

void TestVDocFile::lengthsAndCountsPastTheEnd() {
    QFETCH(int, offset);
    const QByteArray payload = payloadOf(everyKindFile());
    for (quint32 value : {0xFFFFFFFFu, 0x80000000u, static_cast<quint32>(payload.size())}) {
        QByteArray damaged = payload;
        for (int i = 0; i < 4; ++i)
            damaged[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
        QVERIFY(!loads(fileWithPayload(damaged)));
    }
}

void TestVDocFile::randomDamageNeverCrashes() {
    // Flipped bytes inside a valid stream reach every reader; the result may
    // be a failure or a (different) document, but never a crash or a hang.
    QRandomGenerator random(20261209);
    const QByteArray payload = payloadOf(everyKindFile());
    for (int round = 0; round < 300; ++round) {
        QByteArray damaged = payload;
        for (int flips = 1 + random.bounded(4); flips > 0; --flips)
            damaged[random.bounded(static_cast<int>(damaged.size()))] =
                static_cast<char>(random.bounded(256));
        loads(fileWithPayload(damaged));
    }
    for (int round = 0; round < 50; ++round) {
        QByteArray noise(random.bounded(1, 2000), Qt::Uninitialized);
        for (char& byte : noise)
            byte = static_cast<char>(random.bounded(256));
        QVERIFY(!loads(noise));
        QVERIFY(!loads(QByteArray("VDOC\x01\x00\x00\x00\x10\x00\x00\x00", 12) + noise));
    }
}

namespace {

QString nestedTables(int count) {
    QString nested = QStringLiteral("deep");
    for (int level = 0; level < count; ++level)
        nested = QStringLiteral("<table><tr><td>L%1 %2</td></tr></table>").arg(level).arg(nested);
    return nested;
}

} // namespace

void TestVDocFile::importedContentReopens_data() {
    QTest::addColumn<QString>("how"); // "import" or "paste"
    QTest::addColumn<int>("around");  // tables around the caret a paste goes to
    QTest::addColumn<QString>("html");
    const QString nested = nestedTables(17);
    QString spread = QStringLiteral("<table><tr><td colspan=\"200\" rowspan=\"100\">x</td></tr>");
    for (int row = 1; row < 100; ++row)
        spread += QStringLiteral("<tr></tr>");
    spread += QStringLiteral("</table>");
    QString tall = QStringLiteral("<table>");
    for (int row = 0; row < 10001; ++row)
        tall += QStringLiteral("<tr><td>%1</td></tr>").arg(row);
    tall += QStringLiteral("</table>");
    const auto both = [](const char* name, const QString& html) {
        QTest::addRow("import: %s", name) << "import" << 0 << html;
        QTest::addRow("paste: %s", name) << "paste" << 0 << html;
    };
    both("font size 1639pt", QStringLiteral("<p><span style=\"font-size: 1639pt\">big</span></p>"));
    both("font size 3000px", QStringLiteral("<p><span style=\"font-size: 3000px\">big</span></p>"));
    both("left indent 100001px", QStringLiteral("<p style=\"margin-left: 100001px\">wide</p>"));
    both("first line indent -100001px",
         QStringLiteral("<p style=\"text-indent: -100001px\">wide</p>"));
    both("space before 100001px", QStringLiteral("<p style=\"margin-top: 100001px\">far</p>"));
    both("negative space after", QStringLiteral("<p style=\"margin-bottom: -5px\">tight</p>"));
    both("line height 100001%", QStringLiteral("<p style=\"line-height: 100001%\">tall</p>"));
    both("cell padding 100001",
         QStringLiteral("<table cellpadding=\"100001\"><tr><td>x</td></tr></table>"));
    both("cell spacing 100001",
         QStringLiteral("<table cellspacing=\"100001\"><tr><td>x</td></tr></table>"));
    both("table border 101", QStringLiteral("<table border=\"101\"><tr><td>x</td></tr></table>"));
    both("table width 100001px",
         QStringLiteral("<table width=\"100001\"><tr><td>x</td></tr></table>"));
    both("column width 100001px",
         QStringLiteral("<table><tr><td width=\"100001\">x</td><td>y</td></tr></table>"));
    both("picture width 100001",
         QStringLiteral("<p><img src=\"p.png\" width=\"100001\" height=\"2\"></p>"));
    both("data picture width 100001",
         QStringLiteral("<p><img src=\"data:image/gif;base64,") +
             QString::fromLatin1(sampledocument::gifBytes().toBase64()) +
             QStringLiteral("\" width=\"100001\" height=\"2\"></p>"));
    both("17 nested tables", nested);
    both("NUL in text", QStringLiteral("<p>a") + QChar(0) + QStringLiteral("b</p>"));
    both("U+FFFC in text", QStringLiteral("<p>a\uFFFCb</p>"));
    both("invalid table colour",
         QStringLiteral("<table bgcolor=\"bogus\"><tr><td>x</td></tr></table>"));
    both("right-to-left paragraph",
         QStringLiteral("<p dir=\"rtl\">\u05E9\u05DC\u05D5\u05DD</p><p dir=\"ltr\">b</p>"));
    both("cell border 101px",
         QStringLiteral(
             "<table><tr><td style=\"border-left: 101px solid red\">x</td></tr></table>"));
    both("invalid cell colour",
         QStringLiteral("<table><tr><td bgcolor=\"bogus\">x</td></tr></table>"));
    both("18 nested tables", nestedTables(18));
    both("40 nested tables", nestedTables(40));
    both("one cell spread over 100 x 200", spread);
    both("10001 rows", tall);
    QTest::newRow("paste: 3 nested tables into a cell 15 deep") << "paste" << 15 << nestedTables(3);
    QTest::newRow("paste: a table into a cell 16 deep") << "paste" << 16 << nestedTables(1);
}

void TestVDocFile::importedContentReopens() {
    QFETCH(QString, how);
    QFETCH(int, around);
    QFETCH(QString, html);
    ScriptedDialogs dialogs;
    TDocEditor editor(dialogs);
    EdDocument imported;
    // The import (of the command-line tool) fills a document of its own.
    EdDocument& document = how == QLatin1String("import") ? imported : editor.edDocument();
    if (how == QLatin1String("import")) {
        QTextCursor cursor(document.textDocument());
        cursor.insertHtml(html);
        document.adoptImportedContent(0, document.textDocument()->characterCount());
    } else {
        QTextCursor caret = editor.textCursor();
        for (int table = 0; table < around; ++table)
            document.insertTable(caret, 1, 1);
        editor.setTextCursor(caret);
        QMimeData pasted;
        pasted.setHtml(html);
        editor.insertMimeData(pasted);
    }
    EdDocument reopened;
    QVERIFY(VDocReader::read(VDocWriter::write(document), reopened));
    QCOMPARE(sampledocument::dump(reopened), sampledocument::dump(document));
    // Nothing of the text is lost on the way.
    if (html.contains(QLatin1String("deep")))
        QVERIFY(!reopened.textDocument()->find(QStringLiteral("deep")).isNull());
}

void TestVDocFile::pastedPageIsTheImportedPage_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("how"); // "paste": from the clipboard, "open": with its folder
    QTest::newRow("gallery, pasted") << "gallery.html"
                                     << "paste";
    QTest::newRow("tab set, pasted") << "tabs.html"
                                     << "paste";
    QTest::newRow("form, pasted") << "form.html"
                                  << "paste";
    QTest::newRow("script, pasted") << "script.html"
                                    << "paste";
    QTest::newRow("banner, opened") << "banner.html"
                                    << "open";
}

/// The editor brings a page in as the command-line import does, whether it
/// is pasted or opened with its pictures' folder.
void TestVDocFile::pastedPageIsTheImportedPage() {
    QFETCH(QString, page);
    QFETCH(QString, how);
    const QString folder = QStringLiteral(VANTREL_LISTING_PAGES);
    QFile file(folder + QLatin1Char('/') + page);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString html = listingimport::decode(file.readAll());
    EdDocument imported;
    listingimport::importPage(imported, html, folder);

    ScriptedDialogs dialogs;
    TDocEditor editor(dialogs);
    if (how == QLatin1String("paste")) {
        QMimeData pasted;
        pasted.setHtml(html);
        editor.insertMimeData(pasted);
    } else {
        editor.insertListingPage(html, folder);
    }
    QCOMPARE(sampledocument::dump(editor.edDocument()), sampledocument::dump(imported));
}

void TestVDocFile::tooDeepTablesAreWrittenAsTheirContent() {
    // A document holding tables deeper than the file keeps, made without the
    // import's care: the file still opens, with every word of the text.
    EdDocument document;
    QTextCursor cursor(document.textDocument());
    for (int level = 0; level < 20; ++level) {
        document.insertText(cursor, QStringLiteral("L%1 ").arg(level), 0);
        QTextTable* table = document.insertTable(cursor, 1, 2);
        QTextCursor right = table->cellAt(0, 1).firstCursorPosition();
        document.insertText(right, QStringLiteral("R%1").arg(level), 0);
    }
    document.insertText(cursor, QStringLiteral("deep"), 0);
    EdDocument reopened;
    QVERIFY(VDocReader::read(VDocWriter::write(document), reopened));
    const QString text = reopened.textDocument()->toPlainText();
    for (int level = 0; level < 20; ++level) {
        QVERIFY2(text.contains(QStringLiteral("L%1").arg(level)), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("R%1").arg(level)), qPrintable(text));
    }
    QVERIFY(text.contains(QLatin1String("deep")));
}

void TestVDocFile::hugeTableHeaderIsRefusedBeforeItsGrid() {
    // A few bytes claiming a table of 200 x 200 cells with one stored cell
    // (which the file could claim of 10000 x 10000 as well): refused before
    // the grid is made.
    ByteWriter out;
    writeBareDocumentHead(out);
    writeTableItemHead(out, 200, 200);
    out.u32(0); // no column widths
    out.u32(1); // one stored cell
    for (int value : {0, 0, 200, 200})
        out.i32(value);
    out.color(QColor());
    out.u8(0);
    for (int side = 0; side < 4; ++side) {
        out.i32(0);
        out.u8(0);
        out.color(QColor());
    }
    out.u32(0);
    EdDocument document;
    QVERIFY(!VDocReader::read(fileWithPayload(out.data(), vdocformat::kVersion), document));
    for (const DocItem& item : document.rootData().items())
        QVERIFY(item.kind != DocItem::Table);
}

void TestVDocFile::firstVersionFilesStillOpen() {
    // A first-version file: tables without column widths.
    ByteWriter out;
    writeBareDocumentHead(out);
    writeTableItemHead(out, 1, 2);
    out.u32(2);
    for (int column = 0; column < 2; ++column) {
        for (int value : {0, column, 1, 1})
            out.i32(value);
        out.color(QColor());
        out.u8(0);
        out.u32(1);
        out.u8(vdocformat::ItemText);
        out.u8(vdocformat::kStartsParagraph);
        out.i32(0);
        out.i32(-1);
        out.i32(0);
        out.string(QString());
        out.string(QStringLiteral("cell %1").arg(column));
    }
    EdDocument document;
    QVERIFY(VDocReader::read(fileWithPayload(out.data(), 1), document));
    const QList<DocItem> items = document.rootData().items();
    const auto table = std::find_if(items.begin(), items.end(), [](const DocItem& item) {
        return item.kind == DocItem::Table;
    });
    QVERIFY(table != items.end());
    QCOMPARE(table->table->columns(), 2);
    QVERIFY(table->table->format().columnWidthConstraints().isEmpty());
    QCOMPARE(TCustomDocData(table->table, 0, 1).items().first().text, QStringLiteral("cell 1"));
}

void TestVDocFile::secondVersionFilesStillOpen() {
    // A second-version file: paragraph styles without a direction.
    ByteWriter out;
    out.u32(0); // no text styles
    out.u32(1); // one paragraph style
    out.string(QStringLiteral("Right"));
    out.u8(TParaStyleInfo::edaRight);
    out.u32(0); // tabs
    for (int value : {4, 0, 0, 0, 0, 100})
        out.i32(value);
    out.color(QColor(1, 2, 3));
    out.u32(0); // list styles
    out.color(QColor());
    out.boolean(false);
    for (int i = 0; i < 4; ++i)
        out.i32(5); // margins
    out.u32(0);     // lists
    out.u32(1);     // one item: a text run
    out.u8(vdocformat::ItemText);
    out.u8(vdocformat::kStartsParagraph);
    out.i32(0); // paragraph style
    out.i32(-1);
    out.i32(0);
    out.string(QString());
    out.string(QStringLiteral("old"));
    EdDocument document;
    QVERIFY(VDocReader::read(fileWithPayload(out.data(), 2), document));
    const TParaStyleInfo& style = document.docStyle().ParaStyles.at(0);
    QCOMPARE(style.Alignment, TParaStyleInfo::edaRight);
    QCOMPARE(style.LeftIndent, 4);
    QCOMPARE(style.Background, QColor(1, 2, 3));
    QCOMPARE(style.BiDiMode, TParaStyleInfo::bdDefault);
    QCOMPARE(document.rootData().items().first().text, QStringLiteral("old"));
}

void TestVDocFile::webPicturesReopenByAddress_data() {
    QTest::addColumn<QString>("address");
    QTest::newRow("plain") << "https://pics.example/gallery/front.jpg";
    QTest::newRow("query, spaces and accents")
        << "http://pics.example/\u00c9t\u00e9 photo.jpg?id=3&size=l";
    QTest::newRow("long") << "https://pics.example/" + QString(4000, u'a') + ".png";
    QTest::newRow("percent and hash") << "https://pics.example/50%off/pic%201#2.jpg";
}

void TestVDocFile::webPicturesReopenByAddress() {
    QFETCH(QString, address);
    EdDocument original;
    QTextCursor cursor(original.textDocument());
    original.insertText(cursor, QStringLiteral("Front: "), 0);
    DocPicture picture;
    picture.address = address;
    picture.width = 200;
    picture.tag = QStringLiteral("https://pics.example/large.jpg");
    picture.jump = true;
    original.insertPicture(cursor, picture);
    const QByteArray file = VDocWriter::write(original);
    EdDocument loaded;
    QVERIFY(VDocReader::read(file, loaded));
    QCOMPARE(sampledocument::dump(loaded), sampledocument::dump(original));
    QVERIFY(sampledocument::dump(loaded).contains(QStringLiteral(" web ") + address));
    QCOMPARE(VDocWriter::write(loaded), file);
}

void TestVDocFile::storedPictureAddresses_data() {
    QTest::addColumn<int>("version");
    QTest::addColumn<QString>("address"); // null: a file without the field
    QTest::addColumn<bool>("opens");
    QTest::newRow("third version: no address field") << 3 << QString() << true;
    QTest::newRow("picture of its bytes") << 4 << "" << true;
    QTest::newRow("web address") << 4 << "https://pics.example/a.jpg" << true;
    QTest::newRow("a local file is no web address") << 4 << "file:///etc/passwd" << false;
    QTest::newRow("a script is no web address") << 4 << "javascript:alert(1)" << false;
    QTest::newRow("a web address must be as the program writes it")
        << 4 << " //pics.example/a.jpg" << false;
}

void TestVDocFile::storedPictureAddresses() {
    QFETCH(int, version);
    QFETCH(QString, address);
    ByteWriter out;
    writeBareDocumentHead(out);
    out.u32(1); // one item: a picture
    out.u8(vdocformat::ItemPicture);
    out.u8(vdocformat::kStartsParagraph);
    out.i32(0);  // paragraph style
    out.i32(-1); // no list
    out.bytes(address.isEmpty() ? sampledocument::gifBytes() : QByteArray());
    out.bytes(address.isEmpty() ? QByteArray("gif") : QByteArray());
    out.string(QString());
    out.i32(0);
    out.i32(0);
    out.u8(0);
    out.string(QString());
    out.boolean(false);
    if (!address.isNull())
        out.string(address);
    EdDocument document;
    QTEST(VDocReader::read(fileWithPayload(out.data(), quint16(version)), document), "opens");
    if (!document.rootData().items().isEmpty() &&
        document.rootData().items().first().kind == DocItem::Picture) {
        const DocPicture read =
            DocPicture::fromFormat(document.rootData().items().first().format.toImageFormat());
        QCOMPARE(read.address, address.isNull() ? QString() : address);
    }
}

QTEST_MAIN(TestVDocFile)
#include "tst_vdocfile.moc"
