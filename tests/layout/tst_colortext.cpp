#include "layout/colortext.h"

#include <QTest>

class TestColorText : public QObject {
    Q_OBJECT

private slots:
    void readsColorText_data();
    void readsColorText();
    void writesUpperCaseDigits_data();
    void writesUpperCaseDigits();
};

void TestColorText::readsColorText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("color");

    QTest::newRow("nominal: upper case") << "#FF8000" << QColor(255, 128, 0);
    QTest::newRow("nominal: lower case default") << "#ffffff" << QColor(255, 255, 255);
    QTest::newRow("nominal: mixed case") << "#0aB0c1" << QColor(0x0A, 0xB0, 0xC1);
    QTest::newRow("nominal: black") << "#000000" << QColor(0, 0, 0);
    QTest::newRow("robustness: not hexadecimal") << "#12G456" << QColor();
    QTest::newRow("robustness: colour name") << "red" << QColor();
    QTest::newRow("robustness: no hash") << "FF0000" << QColor();
    QTest::newRow("robustness: other first character") << "xFF0000" << QColor();
    QTest::newRow("robustness: too short") << "#FFF" << QColor();
    QTest::newRow("robustness: too long") << "#FF00001" << QColor();
    QTest::newRow("robustness: sign inside") << "#+1FFFF" << QColor();
    QTest::newRow("robustness: empty") << "" << QColor();
}

void TestColorText::readsColorText() {
    QFETCH(QString, text);
    QFETCH(QColor, color);
    QCOMPARE(HtmlToColor(text), color);
}

void TestColorText::writesUpperCaseDigits_data() {
    QTest::addColumn<QColor>("color");
    QTest::addColumn<QString>("text");

    QTest::newRow("nominal: red") << QColor(255, 0, 0) << "#FF0000";
    QTest::newRow("nominal: small components keep two digits") << QColor(1, 10, 171) << "#010AAB";
    QTest::newRow("nominal: read lower case, written upper case")
        << HtmlToColor(QStringLiteral("#abcdef")) << "#ABCDEF";
    QTest::newRow("nominal: other colour model") << QColor::fromHsv(0, 255, 255) << "#FF0000";
    QTest::newRow("nominal: no colour means white") << QColor() << "#FFFFFF";
}

void TestColorText::writesUpperCaseDigits() {
    QFETCH(QColor, color);
    QFETCH(QString, text);
    QCOMPARE(ColorToHtml(color), text);
}

QTEST_GUILESS_MAIN(TestColorText)
#include "tst_colortext.moc"
