#include "docmodel/docproperties.h"
#include "docmodel/eddocument.h"
#include "docmodel/keptexport.h"
#include "support/sampledocument.h"

#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

namespace {

QString kinds(const QList<DocItem>& items) {
    static const char* names[] = {"text", "picture", "table", "hline", "pagebreak", "anchor"};
    QStringList result;
    for (const DocItem& item : items)
        result.append(QString::fromLatin1(item.startsParagraph ? "|" : "") +
                      QString::fromLatin1(names[item.kind]));
    return result.join(QLatin1Char(' '));
}

QTextCursor select(EdDocument& document, const QString& text) {
    QTextCursor cursor = document.textDocument()->find(text);
    if (cursor.isNull())
        qFatal("text not found in the fixture");
    return cursor;
}

int styleAt(EdDocument& document, int position) {
    QTextCursor cursor(document.textDocument());
    cursor.setPosition(position);
    return cursor.charFormat().intProperty(docprop::StyleNo);
}

} // namespace

class TestDocModel : public QObject {
    Q_OBJECT

private slots:
    void designedStyleSheet();
    void textStyleOutsideTheListIsADefault();
    void itemsOfEveryKind();
    void pictureFileAndLinkTarget();
    void formattingFindsOrAppendsAStyle();
    void removeUnusedStylesRenumbers();
    void htmlContentIsAdopted();
    void paragraphStyleComesBackFromItsFormat_data();
    void paragraphStyleComesBackFromItsFormat();
    void keptExportFollowsTheDocument_data();
    void keptExportFollowsTheDocument();
};

void TestDocModel::designedStyleSheet() {
    const TDocStyle style = TDocStyle::designed();
    QCOMPARE(style.TextStyles.count(), 6);
    QCOMPARE(style.TextStyles.at(1).StyleName, QStringLiteral("Heading"));
    QCOMPARE(style.TextStyles.at(2).Color, QColor(0, 0, 128));
    QVERIFY(style.TextStyles.at(5).Jump);
    QCOMPARE(style.TextStyles.at(5).Size, 10);
    QCOMPARE(style.ParaStyles.count(), 2);
    QCOMPARE(style.ParaStyles.at(1).Alignment, TParaStyleInfo::edaCenter);
    QCOMPARE(style.ListStyles.count(), 0);
}

void TestDocModel::textStyleOutsideTheListIsADefault() {
    TTextStyleInfos styles;
    QCOMPARE(styles.at(0).FontName, QStringLiteral("Arial"));
    styles.add().FontName = QStringLiteral("Verdana");
    QCOMPARE(styles.at(7).Size, 10);
    QCOMPARE(styles.at(-1).FontName, QStringLiteral("Arial"));
    QVERIFY(styles.item(1) == nullptr);
    QCOMPARE(TDocStyle().charFormat(42).fontPointSize(), 10.0);
}

void TestDocModel::itemsOfEveryKind() {
    EdDocument document;
    sampledocument::fillWithEveryKind(document);
    const QList<DocItem> items = document.rootData().items();
    QCOMPARE(kinds(items), QStringLiteral("|text text text text |text picture picture anchor |text "
                                          "|text |hline |pagebreak text |text |table |text"));
    QCOMPARE(items.at(3).tag(), QStringLiteral("http://shop.example/"));
    QVERIFY(items.at(3).isLink(document.docStyle().TextStyles));
    QVERIFY(!items.at(0).isLink(document.docStyle().TextStyles));

    QTextTable* table = items.at(14).table;
    QCOMPARE(kinds(TCustomDocData(table, 0, 2).items()), QStringLiteral("|text"));
    QCOMPARE(TCustomDocData(table, 0, 2), TCustomDocData(table, 0, 1));
    QCOMPARE(TCustomDocData(table, 0, 1).items().first().text, QStringLiteral("merged"));
    QCOMPARE(kinds(TCustomDocData(table, 1, 2).items()), QStringLiteral("|text |table |text"));
}

void TestDocModel::pictureFileAndLinkTarget() {
    EdDocument document;
    sampledocument::fillWithEveryKind(document);
    QString fileName = QStringLiteral("junk");
    QVERIFY(document.ItemPictureFile(document.rootData(), 5, fileName));
    QCOMPARE(fileName, QStringLiteral("/pics/My Sky.png"));
    QVERIFY(document.ItemPictureFile(document.rootData(), 6, fileName));
    QCOMPARE(fileName, QString());
    QVERIFY(!document.ItemPictureFile(document.rootData(), 0, fileName));
    QVERIFY(!document.ItemPictureFile(document.rootData(), 99, fileName));
    QCOMPARE(document.ItemLinkTarget(document.rootData(), 3),
             QStringLiteral("http://shop.example/"));
    QCOMPARE(document.ItemLinkTarget(document.rootData(), -1), QString());

    // Answers follow the text as it is now, not as it was at the last question.
    QTextCursor cursor(document.textDocument());
    document.insertText(cursor, QStringLiteral("new "), 4, QStringLiteral("#new"));
    QCOMPARE(document.ItemLinkTarget(document.rootData(), 0), QStringLiteral("#new"));
    QCOMPARE(document.ItemLinkTarget(document.rootData(), 4),
             QStringLiteral("http://shop.example/"));
    // A format change alone splits a run into two items.
    cursor = document.textDocument()->find(QStringLiteral("new"));
    document.applyTextStyle(cursor, 1);
    QCOMPARE(document.ItemLinkTarget(document.rootData(), 1), QStringLiteral("#new"));
    QCOMPARE(document.ItemLinkTarget(document.rootData(), 2), QStringLiteral("tag of heading"));
}

void TestDocModel::formattingFindsOrAppendsAStyle() {
    EdDocument document;
    QTextCursor cursor(document.textDocument());
    document.insertText(cursor, QStringLiteral("one two"), 0);
    document.insertText(cursor, QStringLiteral(" link"), 4, QStringLiteral("http://a.example/"));
    auto bold = [](TTextStyleInfo& style) { style.Style |= TTextStyleInfo::fsBold; };

    QTextCursor one = select(document, QStringLiteral("one"));
    document.changeTextStyle(one, bold);
    QCOMPARE(document.docStyle().TextStyles.count(), 7);
    QCOMPARE(styleAt(document, 1), 6);
    QVERIFY(document.docStyle().TextStyles.at(6).hasStyle(TTextStyleInfo::fsBold));
    QCOMPARE(document.docStyle().TextStyles.at(6).FontName, QStringLiteral("Arial"));

    QTextCursor two = select(document, QStringLiteral("two"));
    document.changeTextStyle(two, bold);
    QCOMPARE(document.docStyle().TextStyles.count(), 7);
    QCOMPARE(styleAt(document, 5), 6);
    QVERIFY(document.textDocument()->begin().charFormat().fontWeight() != QFont::Bold);

    // Bold on a link keeps it a link with its target.
    QTextCursor link = select(document, QStringLiteral("link"));
    document.changeTextStyle(link, bold);
    const int linkStyle = styleAt(document, 10);
    QVERIFY(document.docStyle().TextStyles.at(linkStyle).Jump);
    QCOMPARE(document.ItemLinkTarget(document.rootData(), 3), QStringLiteral("http://a.example/"));
}

void TestDocModel::removeUnusedStylesRenumbers() {
    EdDocument document;
    TTextStyleInfos& styles = document.docStyle().TextStyles;
    TTextStyleInfo plainRed;
    plainRed.StyleName = QStringLiteral("Red");
    plainRed.Color = Qt::red;
    styles.add(plainRed); // 6, only referred to by the link style
    TTextStyleInfo redLink = plainRed;
    redLink.Jump = true;
    redLink.NonLinkStyleNo = 6;
    styles.add(redLink); // 7
    TParaStyleInfo right;
    right.Alignment = TParaStyleInfo::edaRight;
    document.docStyle().ParaStyles.add(right); // 2
    document.docStyle().ListStyles.add();      // 0, unused

    QTextCursor cursor(document.textDocument());
    cursor.setBlockFormat(document.docStyle().blockFormat(2));
    document.insertText(cursor, QStringLiteral("heading "), 1);
    document.insertText(cursor, QStringLiteral("link"), 7, QStringLiteral("#x"));

    document.textDocument()->setModified(false);
    QVERIFY(document.textDocument()->isUndoAvailable());

    document.RemoveUnusedStyles(true, true, true);

    // Tidying the style sheet is no change of the document, and the undo
    // steps, which hold the old numbers, are gone.
    QVERIFY(!document.textDocument()->isModified());
    QVERIFY(!document.textDocument()->isUndoAvailable());
    QCOMPARE(styles.count(), 4); // 0 (the paragraph's empty text), 1, 6, 7
    QCOMPARE(styles.at(1).StyleName, QStringLiteral("Heading"));
    QCOMPARE(styles.at(2).StyleName, QStringLiteral("Red"));
    QCOMPARE(styles.at(3).NonLinkStyleNo, 2);
    QCOMPARE(styleAt(document, 2), 1);
    QCOMPARE(styleAt(document, 10), 3);
    QCOMPARE(document.ItemLinkTarget(document.rootData(), 1), QStringLiteral("#x"));
    QCOMPARE(document.docStyle().ParaStyles.count(), 1);
    QCOMPARE(document.docStyle().ParaStyles.at(0).Alignment, TParaStyleInfo::edaRight);
    QCOMPARE(document.textDocument()->begin().blockFormat().intProperty(docprop::ParaNo), 0);
    QCOMPARE(document.docStyle().ListStyles.count(), 0);

    // Nothing left to remove: nothing changes, the undo history stays.
    document.insertText(cursor, QStringLiteral("!"), 1);
    document.RemoveUnusedStyles(true, true, true);
    QVERIFY(document.textDocument()->isUndoAvailable());
    QCOMPARE(styles.count(), 4);
}

void TestDocModel::htmlContentIsAdopted() {
    EdDocument document;
    QTextCursor cursor(document.textDocument());
    cursor.insertHtml(
        QStringLiteral("<p align=center>Hello <b>bold</b> <a href=\"http://x.example/\">x</a>"
                       "<a name=\"here\"></a> <img src=\"pic.png\" width=5 height=6></p>"
                       "<ol><li>one</li></ol>"));
    QStringList resolved;
    document.adoptImportedContent(
        0, document.textDocument()->characterCount(),
        [](const QString& target, int&, QString& tag) { tag = target + QStringLiteral("#read"); },
        [&resolved](const QString& source, DocPicture& picture) {
            resolved.append(source);
            picture.bytes = sampledocument::pngBytes();
            picture.format = "png";
            picture.fileName = QStringLiteral("/full/") + source;
            return true;
        });
    QCOMPARE(resolved, QStringList{QStringLiteral("pic.png")});

    const TTextStyleInfos& styles = document.docStyle().TextStyles;
    for (const DocItem& item : document.rootData().items()) {
        if (item.kind == DocItem::Text)
            QVERIFY2(item.format.hasProperty(docprop::StyleNo), qPrintable(item.text));
        QVERIFY(item.block.blockFormat().hasProperty(docprop::ParaNo));
    }
    const QList<DocItem> items = document.rootData().items();
    const auto boldItem = std::find_if(items.begin(), items.end(), [](const DocItem& item) {
        return item.text == QStringLiteral("bold");
    });
    QVERIFY(boldItem != items.end());
    QVERIFY(styles.at(boldItem->styleNo()).hasStyle(TTextStyleInfo::fsBold));
    const auto link = std::find_if(items.begin(), items.end(), [](const DocItem& item) {
        return item.text == QStringLiteral("x");
    });
    QVERIFY(styles.at(link->styleNo()).Jump);
    QCOMPARE(link->tag(), QStringLiteral("http://x.example/#read"));
    QVERIFY(styles.at(link->styleNo()).NonLinkStyleNo >= 0);
    QVERIFY(!styles.at(styles.at(link->styleNo()).NonLinkStyleNo).Jump);
    QString fileName;
    const int pictureNo = static_cast<int>(
        std::find_if(items.begin(), items.end(),
                     [](const DocItem& item) { return item.kind == DocItem::Picture; }) -
        items.begin());
    QVERIFY(document.ItemPictureFile(document.rootData(), pictureNo, fileName));
    QCOMPARE(fileName, QStringLiteral("/full/pic.png"));
    QCOMPARE(document.docStyle().ListStyles.count(), 1);
    QCOMPARE(document.docStyle().ListStyles.at(0).ListType, TListInfo::lstDecimal);
    QCOMPARE(document.docStyle()
                 .ParaStyles.at(items.first().block.blockFormat().intProperty(docprop::ParaNo))
                 .Alignment,
             TParaStyleInfo::edaCenter);
}

void TestDocModel::paragraphStyleComesBackFromItsFormat_data() {
    QTest::addColumn<int>("border");
    QTest::newRow("no border") << 0;
    // The border's width is laid into the margins to keep the text clear.
    QTest::newRow("bordered") << 3;
}

void TestDocModel::paragraphStyleComesBackFromItsFormat() {
    QFETCH(int, border);
    TDocStyle style = TDocStyle::designed();
    TParaStyleInfo info;
    info.LeftIndent = 20;
    info.RightIndent = 4;
    info.SpaceBefore = 6;
    info.SpaceAfter = 1;
    info.BorderWidth = border;
    info.BorderColor = border > 0 ? QColor(Qt::red) : QColor();
    const QTextBlockFormat format = style.blockFormat(style.ParaStyles.findOrAppend(info));
    QCOMPARE(format.leftMargin(), qreal(20 + border));
    const TParaStyleInfo back = TDocStyle::paraStyleOf(format);
    QCOMPARE(back.LeftIndent, 20);
    QCOMPARE(back.RightIndent, 4);
    QCOMPARE(back.SpaceBefore, 6);
    QCOMPARE(back.SpaceAfter, 1);
    QCOMPARE(back.BorderWidth, border);
}

enum class Change { None, Typing, RunFormat, Background, Margins, StyleSheet, Cleared };

void TestDocModel::keptExportFollowsTheDocument_data() {
    QTest::addColumn<int>("change");
    QTest::addColumn<bool>("reusable");
    QTest::addColumn<int>("exports");
    // A page made again for the layout alone takes the kept export.
    QTest::newRow("nothing changed") << int(Change::None) << true << 1;
    QTest::newRow("text typed") << int(Change::Typing) << true << 2;
    QTest::newRow("run made bold") << int(Change::RunFormat) << true << 2;
    QTest::newRow("background colour") << int(Change::Background) << true << 2;
    QTest::newRow("margins") << int(Change::Margins) << true << 2;
    QTest::newRow("style sheet replaced") << int(Change::StyleSheet) << true << 2;
    QTest::newRow("document cleared") << int(Change::Cleared) << true << 2;
    // Publishing records its pictures while exporting: never kept.
    QTest::newRow("not reusable") << int(Change::None) << false << 2;
}

void TestDocModel::keptExportFollowsTheDocument() {
    QFETCH(int, change);
    QFETCH(bool, reusable);
    QFETCH(int, exports);
    EdDocument document;
    QTextCursor cursor(document.textDocument());
    document.insertText(cursor, QStringLiteral("Brass clock"), 0);
    int made = 0;
    const auto exportNow = [&] {
        ++made;
        return document.textDocument()->toPlainText().toLatin1() + QByteArray::number(made);
    };
    KeptExport kept;
    const QByteArray first = kept.get(document, reusable, exportNow);
    switch (Change(change)) {
    case Change::None:
        break;
    case Change::Typing:
        document.insertText(cursor, QStringLiteral(" and key"), 0);
        break;
    case Change::RunFormat:
        cursor.select(QTextCursor::Document);
        document.changeTextStyle(
            cursor, [](TTextStyleInfo& style) { style.Style |= TTextStyleInfo::fsBold; });
        break;
    case Change::Background:
        document.setBackgroundColor(Qt::yellow);
        break;
    case Change::Margins:
        document.setMargins(QMargins(20, 20, 20, 20));
        break;
    case Change::StyleSheet: {
        TDocStyle style = document.docStyle();
        style.TextStyles.item(0)->Size += 4;
        document.setDocStyle(style);
        break;
    }
    case Change::Cleared:
        document.clear();
        break;
    }
    const QByteArray second = kept.get(document, reusable, exportNow);
    QCOMPARE(made, exports);
    QCOMPARE(second == first, exports == 1);
}

QTEST_MAIN(TestDocModel)
#include "tst_docmodel.moc"
