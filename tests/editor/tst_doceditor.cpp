#include "docmodel/docproperties.h"
#include "docmodel/vdocreader.h"
#include "docmodel/vdocwriter.h"
#include "editor/edactionlist.h"
#include "editor/edactiontable.h"
#include "editor/edfilecommands.h"
#include "editor/hyperlinkdialog.h"
#include "editor/tablesizepicker.h"
#include "editor/tdoceditor.h"
#include "editor/tedactionfontex.h"
#include "support/sampledocument.h"
#include "supportui/scripteddialogs.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextTable>
#include <QVBoxLayout>

namespace {

/// Reaches the clipboard hooks without a system clipboard.
class TestEditor : public TDocEditor {
public:
    using TDocEditor::createMimeDataFromSelection;
    using TDocEditor::insertFromMimeData;
    using TDocEditor::TDocEditor;
};

void typeText(TDocEditor& editor, const QString& text, int styleNo = 0) {
    QTextCursor cursor = editor.textCursor();
    editor.edDocument().insertText(cursor, text, styleNo);
    editor.setTextCursor(cursor);
}

/// The runs of the top level as "text[style]" or "text[style->target]".
QString runs(TDocEditor& editor) {
    QStringList out;
    for (const DocItem& item : editor.edDocument().rootData().items()) {
        if (item.kind != DocItem::Text)
            continue;
        out << item.text +
                   QStringLiteral("[%1%2]")
                       .arg(item.styleNo())
                       .arg(item.tag().isEmpty() ? QString() : QStringLiteral("->") + item.tag());
    }
    return out.join(QLatin1Char(' '));
}

} // namespace

class TestDocEditor : public QObject {
    Q_OBJECT

private slots:
    void detectLinkBeforeCaret_data();
    void detectLinkBeforeCaret();
    void typedAddressBecomesLinkAndTypingGoesOnPlain();
    void readOnlyDocumentStaysUnchanged();
    void linkStyleIndexReusesAnEqualStyle();
    void followLink();
    void followLinkOpensOnlyWebAndMailAddresses_data();
    void followLinkOpensOnlyWebAndMailAddresses();
    void confirmCloseAndNew();
    void saveSaveAsAndFailures();
    void failedSaveStaysModified_data();
    void enterLeavesBreaksAndLinesBehind_data();
    void enterLeavesBreaksAndLinesBehind();
    void textTypedOnALineIsKept();
    void linesAreDrawnAsExported_data();
    void linesAreDrawnAsExported();
    void paragraphBordersAreDrawnAsExported_data();
    void paragraphBordersAreDrawnAsExported();
    void cellBordersAreDrawn_data();
    void cellBordersAreDrawn();
    void failedSaveStaysModified();
    void openGoodAndDamagedFiles();
    void loadDocumentFileRaisesNoChange();
    void insertPictureKeepsItsFile();
    void insertHyperlinkThroughItsDialog();
    void tableSizePickerInsertsATable();
    void fontActionWithoutUserInterface();
    void everyTableRowIsFoundByName_data();
    void everyTableRowIsFoundByName();
    void keysReachTheirCommands_data();
    void keysReachTheirCommands();
    void nativeCopyAndPasteBringStylesAlong();
    void pastedLinksGoThroughReadHyperlink();
    void showsEveryKindOfItem();
};

void TestDocEditor::detectLinkBeforeCaret_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("www") << "see www.shop.example"
                         << "see [0] www.shop.example[6->www.shop.example]";
    QTest::newRow("e-mail") << "bob@shop.example"
                            << "bob@shop.example[6->mailto:bob@shop.example]";
    QTest::newRow("parentheses stay outside")
        << "(http://a.example/x)"
        << "([0] http://a.example/x[6->http://a.example/x] )[0]";
    QTest::newRow("typographic quotes")
        << "\u201cftp.example.org\u201d"
        << "\u201c[0] ftp.example.org[6->ftp.example.org] \u201d[0]";
    QTest::newRow("any letter case") << "HTTPS://X.EXAMPLE"
                                     << "HTTPS://X.EXAMPLE[6->HTTPS://X.EXAMPLE]";
    QTest::newRow("news") << "news:comp.lang"
                          << "news:comp.lang[6->news:comp.lang]";
    QTest::newRow("plain word") << "nothing here"
                                << "nothing here[0]";
    QTest::newRow("at sign without a later dot") << "me.x@y"
                                                 << "me.x@y[0]";
    QTest::newRow("one character") << "w"
                                   << "w[0]";
}

void TestDocEditor::detectLinkBeforeCaret() {
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    ScriptedDialogs dialogs;
    TDocEditor editor(dialogs);
    typeText(editor, typed);
    const int caret = editor.textCursor().position();
    editor.DetectLinkBeforeCaret();
    QCOMPARE(runs(editor), expected);
    QCOMPARE(editor.textCursor().position(), caret);
    QCOMPARE(editor.CaretTextStyle(), 0);
}

void TestDocEditor::typedAddressBecomesLinkAndTypingGoesOnPlain() {
    ScriptedDialogs dialogs;
    TDocEditor editor(dialogs);
    editor.OnKeyPress = [&editor](QChar& key) {
        if (QStringView(u"\t\r ,;").contains(key)) {
            editor.DetectLinkBeforeCaret();
            editor.EndLinkAtCaret();
        }
    };
    QTest::keyClicks(&editor, QStringLiteral("at www.a.example, now"));
    QCOMPARE(runs(editor), QStringLiteral("at [0] www.a.example[6->www.a.example] , now[0]"));
    QCOMPARE(editor.Style().TextStyles.at(6).NonLinkStyleNo, 0);
}

void TestDocEditor::readOnlyDocumentStaysUnchanged() {
    ScriptedDialogs dialogs;
    TDocEditor editor(dialogs);
    typeText(editor, QStringLiteral("www.a.example"));
    editor.setReadOnly(true);
    editor.DetectLinkBeforeCaret();
    QTest::keyClicks(&editor, QStringLiteral(" x"));
    QCOMPARE(runs(editor), QStringLiteral("www.a.example[0]"));
    QCOMPARE(editor.Style().TextStyles.count(), 6);
}

void TestDocEditor::linkStyleIndexReusesAnEqualStyle() {
    ScriptedDialogs dialogs;
    TDocEditor editor(dialogs);
    const int link = editor.LinkStyleIndex(2);
    QCOMPARE(link, 6);
    QVERIFY(editor.Style().TextStyles.at(6).Jump);
    QCOMPARE(editor.Style().TextStyles.at(6).NonLinkStyleNo, 2);
    QCOMPARE(editor.Style().TextStyles.at(6).FontName, QStringLiteral("Arial"));
    QVERIFY(editor.Style().TextStyles.at(6).hasStyle(TTextStyleInfo::fsBold));
    QCOMPARE(editor.LinkStyleIndex(2), 6);
    QCOMPARE(editor.Style().TextStyles.count(), 7);
    typeText(editor, QStringLiteral("x"), 2);
    QCOMPARE(editor.LinkStyleIndex(-1), 6);
    QCOMPARE(editor.LinkStyleIndex(0), 7);
}

void TestDocEditor::followLink() {
    ScriptedDialogs dialogs;
    TDocEditor editor(dialogs);
    QTextCursor cursor = editor.textCursor();
    EdDocument& document = editor.edDocument();
    document.insertText(cursor, QStringLiteral("top"), 4, QStringLiteral("#there"));
    document.insertText(cursor, QStringLiteral("gone"), 4, QStringLiteral("#nowhere"));
    document.insertText(cursor, QStringLiteral("web"), 4, QStringLiteral("www.shop.example"));
    cursor.insertBlock();
    document.insertAnchor(cursor, QStringLiteral("there"));
    editor.FollowLink(1);
    QCOMPARE(editor.textCursor().position(), cursor.position() - 1);
    QVERIFY(dialogs.shown.isEmpty());

    editor.FollowLink(4);
    editor.FollowLink(8);
    dialogs.urlResults.enqueue(false);
    editor.FollowLink(8);
    QCOMPARE(dialogs.shown,
             QStringList({QStringLiteral("message: Cannot navigate to \"#nowhere\""),
                          QStringLiteral("url: http://www.shop.example"),
                          QStringLiteral("url: http://www.shop.example"),
                          QStringLiteral("message: Cannot navigate to \"www.shop.example\"")}));
}

void TestDocEditor::followLinkOpensOnlyWebAndMailAddresses_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("shown");
    const QString refused = QStringLiteral(
        "message: \"%1\" is not opened: only web (http, https, ftp) and e-mail (mailto) links "
        "and links to places in the document are followed.");
    QTest::newRow("https") << "https://shop.example/a"
                           << "url: https://shop.example/a";
    QTest::newRow("ftp") << "ftp://files.example/a"
                         << "url: ftp://files.example/a";
    QTest::newRow("mailto") << "mailto:me@shop.example"
                            << "url: mailto:me@shop.example";
    QTest::newRow("file URL") << "file:///etc/passwd" << refused.arg("file:///etc/passwd");
    QTest::newRow("desktop file") << "/usr/share/applications/evil.desktop"
                                  << refused.arg("/usr/share/applications/evil.desktop");
    QTest::newRow("relative path") << "setup.sh" << refused.arg("setup.sh");
    QTest::newRow("javascript") << " JaVaScRiPt:alert(1)" << refused.arg(" JaVaScRiPt:alert(1)");
    QTest::newRow("data") << "data:text/html,x" << refused.arg("data:text/html,x");
}

void TestDocEditor::followLinkOpensOnlyWebAndMailAddresses() {
    QFETCH(QString, target);
    QFETCH(QString, shown);
    ScriptedDialogs dialogs;
    TDocEditor editor(dialogs);
    QTextCursor cursor = editor.textCursor();
    editor.edDocument().insertText(cursor, QStringLiteral("link"), 4, target);
    editor.FollowLink(1);
    QCOMPARE(dialogs.shown, QStringList{shown});
}

void TestDocEditor::confirmCloseAndNew() {
    ScriptedDialogs dialogs;
    TDocEditor editor(dialogs);
    EdFileCommands files(editor);
    QStringList events;
    connect(&files, &EdFileCommands::OnNew, [&] { events << QStringLiteral("new"); });
    connect(&files, &EdFileCommands::OnDocumentFileChange,
            [&](TDocEditor*, const QString& name, EdFileCommands::TedFileSaveFilter, bool isNew) {
                events << QStringLiteral("file %1 %2").arg(name).arg(isNew);
            });
    connect(&editor, &TDocEditor::OnCurTextStyleChanged,
            [&] { events << QStringLiteral("style"); });

    QVERIFY(files.ConfirmCloseDocument());
    QVERIFY(dialogs.shown.isEmpty());

    files.setDocumentFile(QStringLiteral("/docs/Shoes.vdoc"), true);
    typeText(editor, QStringLiteral("changed"));
    events.clear();
    files.New(); // the scripted question answers Cancel
    QCOMPARE(dialogs.shown,
             QStringList{QStringLiteral("yesnocancel: Save changes to Shoes.vdoc?")});
    QVERIFY(events.isEmpty());
    QVERIFY(editor.DocumentModified());
    QCOMPARE(files.fileName(), QStringLiteral("/docs/Shoes.vdoc"));
    QCOMPARE(runs(editor), QStringLiteral("changed[0]"));

    // The program gives a new document its own style sheet in OnNew.
    connect(&files, &EdFileCommands::OnNew, [&] {
        editor.Style().TextStyles.clear();
        TTextStyleInfo& verdana = editor.Style().TextStyles.add();
        verdana.FontName = QStringLiteral("Verdana");
        verdana.Size = 10;
    });
    dialogs.answers.enqueue(UserDialogs::Answer::No);
    files.New();
    QCOMPARE(events, QStringList({QStringLiteral("new"), QStringLiteral("file Untitled.vdoc 1"),
                                  QStringLiteral("style")}));
    QCOMPARE(runs(editor), QStringLiteral("[0]"));
    QVERIFY(!editor.DocumentModified());
    QVERIFY(!files.hasFile());
    QTest::keyClicks(&editor, QStringLiteral("x"));
    QCOMPARE(editor.edDocument().rootData().items().first().format.fontFamilies().toStringList(),
             QStringList{QStringLiteral("Verdana")});
}

void TestDocEditor::saveSaveAsAndFailures() {
    QTemporaryDir folder;
    ScriptedDialogs dialogs;
    TDocEditor editor(dialogs);
    EdFileCommands files(editor);
    files.SaveAsInitialDir = folder.path();
    QStringList events;
    connect(&files, &EdFileCommands::OnDocumentFileChange,
            [&](TDocEditor*, const QString& name, EdFileCommands::TedFileSaveFilter, bool isNew) {
                events << QStringLiteral("%1 %2").arg(QFileInfo(name).fileName()).arg(isNew);
            });
    typeText(editor, QStringLiteral("text"));

    // Yes to the question on a document that never had a file: Save As.
    dialogs.answers.enqueue(UserDialogs::Answer::Yes);
    dialogs.fileNames.enqueue(folder.filePath(QStringLiteral("first")));
    QVERIFY(files.ConfirmCloseDocument());
    QCOMPARE(dialogs.lastFileDialog.title, QStringLiteral("Save As"));
    QCOMPARE(dialogs.lastFileDialog.initialFolder, folder.path());
    QCOMPARE(dialogs.lastFileDialog.filter,
             QStringLiteral("Vantrel Document Files (*.vdoc)|*.vdoc"));
    QVERIFY(QFile::exists(folder.filePath(QStringLiteral("first.vdoc"))));
    QVERIFY(!editor.DocumentModified());
    QCOMPARE(events, QStringList{QStringLiteral("first.vdoc 0")});

    // A failed save keeps the changes marked and the document's file.
    typeText(editor, QStringLiteral(" more"));
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("blocked.vdoc")));
    dialogs.fileNames.enqueue(folder.filePath(QStringLiteral("blocked.vdoc")));
    QVERIFY(!files.SaveAs());
    QVERIFY(dialogs.shownOf(QStringLiteral("message"))
                .last()
                .startsWith(QStringLiteral("Error saving file.")));
    QVERIFY(editor.DocumentModified());
    QCOMPARE(events.last(), QStringLiteral("first.vdoc 1"));
    QCOMPARE(files.fileName(), folder.filePath(QStringLiteral("first.vdoc")));
    QVERIFY(files.Save());
    QCOMPARE(events.last(), QStringLiteral("first.vdoc 0"));
    QVERIFY(!files.SaveAs()); // cancelled: no attempt, no event
    QCOMPARE(events.last(), QStringLiteral("first.vdoc 0"));
}

void TestDocEditor::failedSaveStaysModified_data() {
    QTest::addColumn<QString>("target");
    QTest::newRow("folder that does not exist") << QStringLiteral("missing/doc.vdoc");
    QTest::newRow("path that is a folder") << QStringLiteral("folder.vdoc");
}

void TestDocEditor::failedSaveStaysModified() {
    QFETCH(QString, target);
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("folder.vdoc")));
    ScriptedDialogs dialogs;
    TDocEditor editor(dialogs);
    EdFileCommands files(editor);
    // The program takes every file change as the end of the changes.
    connect(&files, &EdFileCommands::OnDocumentFileChange,
            [&](TDocEditor*, const QString&, EdFileCommands::TedFileSaveFilter, bool) {
                editor.setDocumentModified(false);
            });
    files.setDocumentFile(folder.filePath(target), true);
    typeText(editor, QStringLiteral("work"));
    QVERIFY(!files.Save());
    QVERIFY(editor.DocumentModified());
    dialogs.shown.clear();
    QVERIFY(!files.ConfirmCloseDocument()); // the scripted question answers Cancel
    QCOMPARE(dialogs.shownOf(QStringLiteral("yesnocancel")).size(), 1);

    // A save that works ends the changes.
    files.setDocumentFile(folder.filePath(QStringLiteral("doc.vdoc")), true);
    QVERIFY(files.Save());
    QVERIFY(!editor.DocumentModified());
}

void TestDocEditor::enterLeavesBreaksAndLinesBehind_data() {
    QTest::addColumn<int>("kind");
    QTest::newRow("page break") << int(DocItem::PageBreak);
    QTest::newRow("horizontal line") << int(DocItem::HLine);
}

void TestDocEditor::enterLeavesBreaksAndLinesBehind() {
    QFETCH(int, kind);
    ScriptedDialogs dialogs;
    TDocEditor editor(dialogs);
    typeText(editor, QStringLiteral("one"));
    QTextCursor cursor = editor.textCursor();
    if (kind == DocItem::PageBreak) {
        editor.edDocument().insertPageBreak(cursor);
    } else {
        editor.edDocument().insertHLine(cursor, QColor(Qt::red), 3);
        cursor.movePosition(QTextCursor::PreviousBlock);
    }
    editor.setTextCursor(cursor);
    QTest::keyClicks(&editor, QStringLiteral("two"));
    QTest::keyClick(&editor, Qt::Key_Return);
    QTest::keyClicks(&editor, QStringLiteral("three"));
    QTest::keyClick(&editor, Qt::Key_Return);
    QTest::keyClicks(&editor, QStringLiteral("four"));
    QStringList kinds;
    for (const DocItem& item : editor.edDocument().rootData().items())
        kinds << (item.kind == DocItem::Text ? item.text : QString::number(item.kind));
    const QString mark = QString::number(kind);
    const QStringList expected =
        kind == DocItem::PageBreak
            ? QStringList{QStringLiteral("one"), mark, QStringLiteral("two"),
                          QStringLiteral("three"), QStringLiteral("four")}
            : QStringList{QStringLiteral("one"),   QStringLiteral("two"),  mark,
                          QStringLiteral("three"), QStringLiteral("four"), QString()};
    QCOMPARE(kinds, expected);
}

void TestDocEditor::textTypedOnALineIsKept() {
    ScriptedDialogs dialogs;
    TDocEditor editor(dialogs);
    QTextCursor cursor = editor.textCursor();
    editor.edDocument().insertHLine(cursor, QColor(Qt::red), 3);
    editor.moveCursor(QTextCursor::Start);
    QTest::keyClicks(&editor, QStringLiteral("on the line"));

    EdDocument reopened;
    QVERIFY(VDocReader::read(VDocWriter::write(editor.edDocument()), reopened));
    QCOMPARE(sampledocument::dump(reopened), sampledocument::dump(editor.edDocument()));
    QVERIFY(sampledocument::dump(reopened).contains(QStringLiteral("'on the line'")));
    QCOMPARE(reopened.textDocument()->toPlainText(), editor.document()->toPlainText());
    // Shown above the line, so exported before it.
    const QString html = HtmlFragmentExporter(editor.edDocument()).toHtml();
    QVERIFY(html.contains(QStringLiteral("on the line")));
    QVERIFY(html.indexOf(QStringLiteral("on the line")) < html.indexOf(QStringLiteral("<hr")));
}

void TestDocEditor::linesAreDrawnAsExported_data() {
    QTest::addColumn<QColor>("color");
    QTest::addColumn<int>("thickness");
    QTest::addColumn<QColor>("drawn");
    QTest::newRow("red 3 px") << QColor(Qt::red) << 3 << QColor(Qt::red);
    QTest::newRow("default colour 1 px") << QColor() << 1 << QColor(128, 128, 128);
}

void TestDocEditor::linesAreDrawnAsExported() {
    QFETCH(QColor, color);
    QFETCH(int, thickness);
    QFETCH(QColor, drawn);
    ScriptedDialogs dialogs;
    TDocEditor editor(dialogs);
    editor.resize(300, 200);
    QTextCursor cursor = editor.textCursor();
    editor.edDocument().insertHLine(cursor, color, thickness);
    const QString html = HtmlFragmentExporter(editor.edDocument()).toHtml();
    QVERIFY(html.contains(QStringLiteral("height: %1px").arg(thickness)));
    QVERIFY(html.contains(QStringLiteral("background-color: ") + drawn.name().toUpper()));

    // Down the middle of the window: the line's rows, and nothing else.
    const QImage image = editor.viewport()->grab().toImage();
    const QColor background = image.pixelColor(image.width() / 2, image.height() - 1);
    QStringList rows;
    for (int y = 0; y < image.height(); ++y) {
        const QColor pixel = image.pixelColor(image.width() / 2, y);
        if (pixel != background)
            rows << pixel.name();
    }
    QCOMPARE(rows, QStringList(QList<QString>(thickness, drawn.name())));
}

void TestDocEditor::paragraphBordersAreDrawnAsExported_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<QColor>("color");
    QTest::addColumn<QColor>("drawn");
    QTest::newRow("blue 2 px") << 2 << QColor(Qt::blue) << QColor(Qt::blue);
    QTest::newRow("no colour 1 px") << 1 << QColor() << QColor(Qt::black);
}

void TestDocEditor::paragraphBordersAreDrawnAsExported() {
    QFETCH(int, width);
    QFETCH(QColor, color);
    QFETCH(QColor, drawn);
    ScriptedDialogs dialogs;
    TDocEditor editor(dialogs);
    editor.resize(300, 200);
    QTextCursor cursor = editor.textCursor();
    editor.edDocument().changeParaStyle(cursor, [&](TParaStyleInfo& info) {
        info.BorderWidth = width;
        info.BorderColor = color;
    });
    const QString html = HtmlFragmentExporter(editor.edDocument()).toHtml();
    QVERIFY2(html.contains(
                 QStringLiteral("border: %1px solid %2;").arg(width).arg(drawn.name().toUpper())),
             qPrintable(html));

    // Down the middle of the empty paragraph: its top and bottom edges; across
    // it: its left and right edges. Read-only, so no caret stands in between.
    editor.setReadOnly(true);
    const QImage image = editor.viewport()->grab().toImage();
    const QColor background = image.pixelColor(image.width() / 2, image.height() - 1);
    QStringList down;
    for (int y = 0; y < image.height(); ++y) {
        const QColor pixel = image.pixelColor(image.width() / 2, y);
        if (pixel != background)
            down << pixel.name();
    }
    QCOMPARE(down, QStringList(QList<QString>(2 * width, drawn.name())));
    const QRect box = editor.document()
                          ->documentLayout()
                          ->blockBoundingRect(editor.document()->begin())
                          .toAlignedRect();
    QStringList across;
    for (int x = 0; x < image.width(); ++x) {
        const QColor pixel = image.pixelColor(x, box.center().y());
        if (pixel != background)
            across << pixel.name();
    }
    QCOMPARE(across.first(), drawn.name());
    QCOMPARE(across.last(), drawn.name());
    QCOMPARE(across.count(drawn.name()), 2 * width);
}

void TestDocEditor::cellBordersAreDrawn_data() {
    QTest::addColumn<int>("tableBorder");
    QTest::newRow("borderless table") << 0;
    QTest::newRow("table with a border") << 1;
}

void TestDocEditor::cellBordersAreDrawn() {
    QFETCH(int, tableBorder);
    ScriptedDialogs dialogs;
    TDocEditor editor(dialogs);
    editor.resize(300, 200);
    QTextCursor cursor = editor.textCursor();
    QTextTable* table = editor.edDocument().insertTable(cursor, 1, 2);
    editor.edDocument().setTableFrame(cursor, tableBorder, 4, 0);
    QTextTableCell first = table->cellAt(0, 0);
    QTextCharFormat format = first.format();
    docprop::setCellBorder(format, docprop::CellLeft,
                           {3, QTextFrameFormat::BorderStyle_Solid, QColor(Qt::red)});
    first.setFormat(format);
    editor.setReadOnly(true);
    const QImage image = editor.viewport()->grab().toImage();
    const int y = editor.document()
                      ->documentLayout()
                      ->blockBoundingRect(first.firstCursorPosition().block())
                      .toAlignedRect()
                      .center()
                      .y();
    int red = 0;
    for (int x = 0; x < image.width(); ++x)
        red += image.pixelColor(x, y) == QColor(Qt::red);
    QCOMPARE(red, 3);
}

void TestDocEditor::openGoodAndDamagedFiles() {
    QTemporaryDir folder;
    ScriptedDialogs dialogs;
    TDocEditor writer(dialogs);
    sampledocument::fillWithEveryKind(writer.edDocument());
    EdFileCommands writerFiles(writer);
    dialogs.fileNames.enqueue(folder.filePath(QStringLiteral("good.vdoc")));
    QVERIFY(writerFiles.SaveAs());
    QFile damaged(folder.filePath(QStringLiteral("damaged.vdoc")));
    QVERIFY(damaged.open(QIODevice::WriteOnly));
    damaged.write("VDOC\x02\x00 from a newer version");
    damaged.close();

    TDocEditor editor(dialogs);
    EdFileCommands files(editor);
    files.OpenInitialDir = folder.path();
    QStringList events;
    connect(&files, &EdFileCommands::OnDocumentFileChange,
            [&](TDocEditor*, const QString& name, EdFileCommands::TedFileSaveFilter, bool isNew) {
                events << QStringLiteral("file %1 %2").arg(QFileInfo(name).fileName()).arg(isNew);
            });
    connect(&files, &EdFileCommands::OnOpenFile,
            [&](TDocEditor*, const QString& name, EdFileCommands::TedFileOpenFilter, int) {
                events << QStringLiteral("open %1").arg(QFileInfo(name).fileName());
            });
    connect(&editor, &TDocEditor::OnCurTextStyleChanged,
            [&] { events << QStringLiteral("style"); });
    dialogs.shown.clear();

    QVERIFY(!files.Open()); // dialog cancelled
    QVERIFY(events.isEmpty());
    dialogs.fileNames.enqueue(folder.filePath(QStringLiteral("good.vdoc")));
    QVERIFY(files.Open());
    QCOMPARE(dialogs.lastFileDialog.initialFolder, folder.path());
    QCOMPARE(events, QStringList({QStringLiteral("file good.vdoc 0"),
                                  QStringLiteral("open good.vdoc"), QStringLiteral("style")}));
    QCOMPARE(sampledocument::dump(editor.edDocument()), sampledocument::dump(writer.edDocument()));
    QVERIFY(!editor.DocumentModified());

    events.clear();
    dialogs.fileNames.enqueue(folder.filePath(QStringLiteral("damaged.vdoc")));
    QVERIFY(!files.Open());
    QCOMPARE(dialogs.shownOf(QStringLiteral("message")),
             QStringList{QStringLiteral("Error loading file.\n") + damaged.fileName()});
    QCOMPARE(events.first(), QStringLiteral("file damaged.vdoc 0"));
    QVERIFY(editor.DocumentModified());
    // Save must not replace the file it could not read: it asks for a name.
    QVERIFY(!files.Save());
    QCOMPARE(dialogs.shown.last(), QStringLiteral("save: Save As"));
}

void TestDocEditor::loadDocumentFileRaisesNoChange() {
    QTemporaryDir folder;
    ScriptedDialogs dialogs;
    TDocEditor writer(dialogs);
    typeText(writer, QStringLiteral("welcome"), 1);
    EdFileCommands writerFiles(writer);
    dialogs.fileNames.enqueue(folder.filePath(QStringLiteral("Entry.vdoc")));
    QVERIFY(writerFiles.SaveAs());

    TDocEditor editor(dialogs);
    typeText(editor, QStringLiteral("old"));
    int changes = 0;
    connect(&editor, &TDocEditor::OnChange, [&] { ++changes; });
    QVERIFY(!editor.LoadDocumentFile(folder.filePath(QStringLiteral("missing.vdoc"))));
    QCOMPARE(runs(editor), QStringLiteral("old[0]"));
    QVERIFY(editor.LoadDocumentFile(folder.filePath(QStringLiteral("Entry.vdoc"))));
    QCOMPARE(runs(editor), QStringLiteral("welcome[1]"));
    QCOMPARE(changes, 0);
    QVERIFY(!editor.DocumentModified());
    editor.RemoveUnusedStyles(true, true, true); // as the Publish page does
    QCOMPARE(editor.Style().TextStyles.count(), 2);
    QCOMPARE(runs(editor), QStringLiteral("welcome[1]"));
    QCOMPARE(changes, 0);
    QVERIFY(!editor.DocumentModified());
    editor.setReadOnly(true);
    QTest::keyClicks(&editor, QStringLiteral("x"));
    QCOMPARE(changes, 0);
    editor.setReadOnly(false);
    QTest::keyClicks(&editor, QStringLiteral("x"));
    QCOMPARE(changes, 1);
    QVERIFY(editor.DocumentModified());
}

void TestDocEditor::insertPictureKeepsItsFile() {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("My Sky.png"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(sampledocument::pngBytes(5, 4));
    file.close();
    ScriptedDialogs dialogs;
    TDocEditor editor(dialogs);
    EdFileCommands files(editor);
    EdActionList actions(editor, files);
    actions.PictureInitialDir = folder.path();
    TedAction* insertPicture = actions.action(u"edActionInsertPicture1");
    QVERIFY(insertPicture);
    typeText(editor, QStringLiteral("a"));
    const TDocEditor::ItemId before = editor.CaretItem();

    dialogs.fileNames.enqueue(folder.filePath(QStringLiteral("missing.png")));
    insertPicture->trigger();
    QCOMPARE(dialogs.shownOf(QStringLiteral("message")).size(), 1);
    QVERIFY(dialogs.shownOf(QStringLiteral("message"))
                .first()
                .startsWith(QStringLiteral("Error loading image file.")));
    QCOMPARE(editor.CaretItem(), before);

    dialogs.fileNames.enqueue(path);
    insertPicture->trigger();
    QCOMPARE(dialogs.lastFileDialog.initialFolder, folder.path());
    QVERIFY(
        dialogs.lastFileDialog.filter.startsWith(QStringLiteral("All images (*.jpg *.gif *.png)")));
    QVERIFY(editor.CaretItem() != before);
    QCOMPARE(editor.CaretItemPictureFile(), path);
    QString stored;
    QVERIFY(editor.ItemPictureFile(editor.edDocument().rootData(), 1, stored));
    QCOMPARE(stored, path);

    // A handler replaces the own behaviour, which it may still run.
    int handled = 0;
    insertPicture->OnExecute = [&] { ++handled; };
    insertPicture->trigger();
    QCOMPARE(handled, 1);
    QCOMPARE(dialogs.shownOf(QStringLiteral("open")).size(), 2);
    insertPicture->OnExecute = [&] {
        ++handled;
        insertPicture->executeOwn();
    };
    dialogs.fileNames.enqueue(path);
    insertPicture->trigger();
    QCOMPARE(handled, 2);
    QCOMPARE(dialogs.shownOf(QStringLiteral("open")).size(), 3);
}

void TestDocEditor::insertHyperlinkThroughItsDialog() {
    ScriptedDialogs dialogs;
    TDocEditor editor(dialogs);
    EdFileCommands files(editor);
    EdActionList actions(editor, files);
    TedAction* insertHyperlink = actions.action(u"edActionInsertHyperlink1");
    QVERIFY(insertHyperlink);
    typeText(editor, QStringLiteral("go "));
    dialogs.modalActions.enqueue([](QDialog& dialog) {
        auto& link = static_cast<HyperlinkDialog&>(dialog);
        link.setText(QStringLiteral("shop"));
        link.setTarget(QStringLiteral("http://shop.example/\r\nx"));
        return int(QDialog::Accepted);
    });
    insertHyperlink->trigger();
    QCOMPARE(dialogs.shown, QStringList{QStringLiteral("modal: HyperlinkDialog")});
    QCOMPARE(runs(editor), QStringLiteral("go [0] shop[6->http://shop.example/x]"));
    QCOMPARE(editor.CaretTextStyle(), 0);
    insertHyperlink->trigger(); // rejected: nothing happens
    QCOMPARE(runs(editor), QStringLiteral("go [0] shop[6->http://shop.example/x]"));
}

void TestDocEditor::tableSizePickerInsertsATable() {
    ScriptedDialogs dialogs;
    TDocEditor editor(dialogs);
    QWidget button;
    editor.ShowTableSizePicker(&button);
    auto* picker = editor.findChild<TableSizePicker*>();
    QVERIFY(picker);
    QTest::mouseRelease(picker, Qt::LeftButton, {}, QPoint(4 + 2 * 18 + 5, 4 + 1 * 18 + 5));
    const QList<DocItem> items = editor.edDocument().rootData().items();
    const auto table = std::find_if(items.begin(), items.end(), [](const DocItem& item) {
        return item.kind == DocItem::Table;
    });
    QVERIFY(table != items.end());
    QCOMPARE(table->table->rows(), 2);
    QCOMPARE(table->table->columns(), 3);
}

void TestDocEditor::fontActionWithoutUserInterface() {
    ScriptedDialogs dialogs;
    TDocEditor editor(dialogs);
    EdFileCommands files(editor);
    EdActionList actions(editor, files);
    typeText(editor, QStringLiteral("one two"), 1);
    QTextCursor cursor = editor.textCursor();
    cursor.setPosition(0);
    cursor.setPosition(3, QTextCursor::KeepAnchor);
    editor.setTextCursor(cursor);
    TedActionFontEx* font = actions.fontAction();
    QVERIFY(font);
    font->UserInterface = false;
    font->ValidProperties = TedActionFontEx::vpFontName;
    font->FontName = QStringLiteral("Verdana");
    font->FontSize = 30;
    font->trigger();
    const TTextStyleInfo& changed = editor.Style().TextStyles.at(editor.CaretTextStyle());
    QCOMPARE(changed.FontName, QStringLiteral("Verdana"));
    QCOMPARE(changed.Size, 10);
    QVERIFY(changed.hasStyle(TTextStyleInfo::fsBold));
    QCOMPARE(runs(editor), QStringLiteral("one[6]  two[1]"));
    QVERIFY(dialogs.shown.isEmpty());

    // Nothing selected: the size applies to the text typed next.
    cursor.movePosition(QTextCursor::End);
    editor.setTextCursor(cursor);
    font->ValidProperties = TedActionFontEx::vpSize;
    font->trigger();
    QTest::keyClicks(&editor, QStringLiteral("!"));
    QCOMPARE(editor.Style().TextStyles.at(editor.CaretTextStyle()).Size, 30);
    QCOMPARE(editor.Style().TextStyles.at(editor.CaretTextStyle()).FontName,
             QStringLiteral("Arial"));
}

void TestDocEditor::everyTableRowIsFoundByName_data() {
    QTest::addColumn<int>("index");
    const std::vector<EdActionRow>& table = edActionTable();
    for (std::size_t index = 0; index < table.size(); ++index)
        QTest::newRow(table[index].name) << int(index);
}

void TestDocEditor::everyTableRowIsFoundByName() {
    QFETCH(int, index);
    const EdActionRow& row = edActionTable().at(std::size_t(index));
    ScriptedDialogs dialogs;
    TDocEditor editor(dialogs);
    EdFileCommands files(editor);
    EdActionList actions(editor, files);
    const QString name = QString::fromLatin1(row.name);
    TedAction* action = actions.action(name);
    QVERIFY(action);
    QCOMPARE(action->objectName(), name);
    QCOMPARE(action->text(), QString::fromUtf8(row.caption));
    // A second row of the same name would hide this one from look-up.
    QCOMPARE(actions.actions().at(index), action);
    QCOMPARE(action->shortcut(), QKeySequence(QLatin1String(row.keys.primary)));
    QCOMPARE(action->shortcuts().value(1), QKeySequence(QLatin1String(row.keys.second)));
    QCOMPARE(action->isCheckable(), row.kind == EdActionKind::Checkable);
    QCOMPARE(qobject_cast<TedActionFontEx*>(action) != nullptr, row.kind == EdActionKind::FontEx);
    QVERIFY(editor.actions().contains(action));
    QVERIFY(!actions.action(u"edActionMissing1"));
}

void TestDocEditor::keysReachTheirCommands_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<QStringList>("expected");
    const QStringList save{QStringLiteral("save: Save As")};
    const QStringList open{QStringLiteral("open: Open")};
    QTest::newRow("nominal: Ctrl+S in the editor, unnamed document")
        << int(Qt::Key_S) << "editor" << false << save;
    QTest::newRow("nominal: Ctrl+O in the editor") << int(Qt::Key_O) << "editor" << false << open;
    QTest::newRow("nominal: Ctrl+S from a box beside the editor")
        << int(Qt::Key_S) << "field" << false << save;
    QTest::newRow("nominal: Ctrl+S on a read-only document")
        << int(Qt::Key_S) << "editor" << true << save;
    QTest::newRow("robustness: Ctrl+S on another page of the window")
        << int(Qt::Key_S) << "other page" << false << QStringList();
}

void TestDocEditor::keysReachTheirCommands() {
    QFETCH(int, key);
    QFETCH(QString, focus);
    QFETCH(bool, readOnly);
    QFETCH(QStringList, expected);
    ScriptedDialogs dialogs;
    // Like the main window: the editor's page beside another page.
    QTabWidget window;
    auto* page = new QWidget;
    auto* field = new QLineEdit(page);
    auto* editor = new TDocEditor(dialogs, page);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(field);
    layout->addWidget(editor);
    window.addTab(page, QStringLiteral("Document"));
    auto* otherField = new QLineEdit;
    window.addTab(otherField, QStringLiteral("Layout"));
    EdFileCommands files(*editor);
    EdActionList actions(*editor, files);
    typeText(*editor, QStringLiteral("text"));
    editor->setDocumentModified(false);
    editor->setReadOnly(readOnly);

    QWidget* target = editor;
    if (focus == QLatin1String("field"))
        target = field;
    if (focus == QLatin1String("other page")) {
        window.setCurrentIndex(1);
        target = otherField;
    }
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    target->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), target);
    QTest::keyClick(target, Qt::Key(key), Qt::ControlModifier);
    QCOMPARE(dialogs.shown, expected);
    QCOMPARE(runs(*editor), QStringLiteral("text[0]"));
    QVERIFY(!editor->DocumentModified());
}

void TestDocEditor::nativeCopyAndPasteBringStylesAlong() {
    ScriptedDialogs dialogs;
    TestEditor source(dialogs);
    sampledocument::fillWithEveryKind(source.edDocument());
    source.selectAll();
    std::unique_ptr<QMimeData> mime(source.createMimeDataFromSelection());
    QVERIFY(mime->hasFormat(QStringLiteral("application/x-vantrel-vdoc")));
    QVERIFY(mime->text().contains(QStringLiteral("after the break")));
    QVERIFY(mime->html().contains(QStringLiteral("<table")));

    TestEditor target(dialogs);
    target.Style().TextStyles.clear();
    target.Style().TextStyles.add().FontName = QStringLiteral("Verdana");
    target.insertFromMimeData(mime.get());
    const QList<DocItem> items = target.edDocument().rootData().items();
    const auto big = std::find_if(items.begin(), items.end(), [](const DocItem& item) {
        return item.text == QStringLiteral("big");
    });
    QVERIFY(big != items.end());
    QCOMPARE(target.Style().TextStyles.at(big->styleNo()).FontName, QStringLiteral("Verdana"));
    QCOMPARE(target.Style().TextStyles.at(big->styleNo()).Size, 14);
    const auto link = std::find_if(items.begin(), items.end(), [](const DocItem& item) {
        return item.text == QStringLiteral("the shop");
    });
    QVERIFY(target.Style().TextStyles.at(link->styleNo()).Jump);
    QCOMPARE(link->tag(), QStringLiteral("http://shop.example/"));
    QString fileName;
    const auto picture = std::find_if(items.begin(), items.end(), [](const DocItem& item) {
        return item.kind == DocItem::Picture;
    });
    QVERIFY(target.ItemPictureFile(target.edDocument().rootData(),
                                   static_cast<int>(picture - items.begin()), fileName));
    QCOMPARE(fileName, QStringLiteral("/pics/My Sky.png"));
}

void TestDocEditor::pastedLinksGoThroughReadHyperlink() {
    ScriptedDialogs dialogs;
    TestEditor editor(dialogs);
    QStringList reads;
    editor.OnReadHyperlink = [&](const QString& target, const QString&,
                                 TDocEditor::TEdLoadFormat format, int& styleNo, QString& tag,
                                 QString&) {
        reads << QStringLiteral("%1 %2").arg(format).arg(target);
        if (format == TDocEditor::edlfURL)
            styleNo = editor.LinkStyleIndex(-1);
        tag = target + QStringLiteral("#read");
    };
    QMimeData html;
    html.setHtml(QStringLiteral("<a href=\"http://a.example/\">a</a>"));
    editor.insertFromMimeData(&html);
    QMimeData url;
    url.setText(QStringLiteral(" www.b.example "));
    editor.insertFromMimeData(&url);
    QCOMPARE(reads, QStringList({QStringLiteral("0 http://a.example/"),
                                 QStringLiteral("3 www.b.example")}));
    // The caret stood after the pasted link, so the address takes that link's style.
    QCOMPARE(runs(editor),
             QStringLiteral("a[6->http://a.example/#read] www.b.example[6->www.b.example#read]"));
}

void TestDocEditor::showsEveryKindOfItem() {
    // Anchors, lines, page breaks, pictures and tables are drawn; a damaged
    // picture shows the invalid picture.
    ScriptedDialogs dialogs;
    TDocEditor editor(dialogs);
    sampledocument::fillWithEveryKind(editor.edDocument());
    DocPicture broken;
    broken.bytes = "not a picture";
    broken.format = "png";
    QTextCursor cursor = editor.textCursor();
    editor.edDocument().insertPicture(cursor, broken);
    editor.resize(400, 300);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    const QImage shot = editor.viewport()->grab().toImage();
    QVERIFY(!shot.isNull());
    editor.verticalScrollBar()->setValue(editor.verticalScrollBar()->maximum());
    QVERIFY(!editor.viewport()->grab().toImage().isNull());
}

QTEST_MAIN(TestDocEditor)
#include "tst_doceditor.moc"
