#include "ui/themecolors.h"

#include <QPalette>
#include <QTest>

namespace {

QPalette withWindow(const QColor& window) {
    QPalette palette;
    palette.setColor(QPalette::Window, window);
    return palette;
}

} // namespace

/// The accent colours of the program's windows (dark red titles and
/// warnings, blue links, green and amber check lines) stay readable on the
/// window colour of light and dark themes alike.
class TestThemeColors : public QObject {
    Q_OBJECT

private slots:
    void accentReadsOnTheWindow_data();
    void accentReadsOnTheWindow();
};

void TestThemeColors::accentReadsOnTheWindow_data() {
    QTest::addColumn<QString>("designed");
    QTest::addColumn<QColor>("window");
    QTest::addColumn<QString>("style"); // empty: any colour that reads
    const QColor light(0xef, 0xef, 0xef);
    const QColor dark(0x35, 0x35, 0x35);
    const QColor black(Qt::black);
    QTest::newRow("light: maroon title as designed") << "maroon" << light << "maroon";
    QTest::newRow("light: link blue as designed") << "blue" << light << "blue";
    QTest::newRow("light: warning red as designed") << "#b00020" << light << "#b00020";
    for (const char* designed : {"maroon", "#b00020", "blue", "red", "#8a5a00", "#1b7a1b"}) {
        QTest::addRow("dark: %s", designed) << designed << dark << QString();
        QTest::addRow("black: %s", designed) << designed << black << QString();
    }
}

void TestThemeColors::accentReadsOnTheWindow() {
    QFETCH(QString, designed);
    QFETCH(QColor, window);
    QFETCH(QString, style);
    const QPalette palette = withWindow(window);
    const QString shown = themecolors::styleColor(designed, palette);
    if (!style.isEmpty())
        QCOMPARE(shown, style);
    const QColor colour(shown);
    QVERIFY(colour.isValid());
    // Far enough from the window's lightness to read, and of the same hue.
    QVERIFY2(qAbs(colour.lightness() - window.lightness()) >= 100,
             qPrintable(shown + QStringLiteral(" on ") + window.name()));
    // (Within the rounding of eight-bit components.)
    QVERIFY(qAbs(colour.toHsl().hslHue() - QColor(designed).toHsl().hslHue()) <= 2);
}

QTEST_MAIN(TestThemeColors)
#include "tst_themecolors.moc"
