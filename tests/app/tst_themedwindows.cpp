#include "app/aboutdialog.h"
#include "app/pagecontrol.h"
#include "editor/tdoceditor.h"
#include "supportui/darkpalette.h"
#include "supportui/scripteddialogs.h"

#include <QApplication>
#include <QLabel>
#include <QPalette>
#include <QTabBar>
#include <QTest>

namespace {

/// Sets the application palette for as long as it lives.
class PaletteScope {
public:
    explicit PaletteScope(const QPalette& palette)
        : m_before(QApplication::palette()) {
        QApplication::setPalette(palette);
    }
    ~PaletteScope() { QApplication::setPalette(m_before); }

private:
    QPalette m_before;
};

} // namespace

/// Windows of the program under the desktop's fonts and colours: the page
/// tabs show their whole captions, and what paints its own light paper
/// writes dark text on it in a dark theme.
class TestThemedWindows : public QObject {
    Q_OBJECT

private slots:
    void tabCaptionsShowWhole_data();
    void tabCaptionsShowWhole();
    void darkThemeKeepsTextOnPaperReadable();
};

void TestThemedWindows::tabCaptionsShowWhole_data() {
    QTest::addColumn<int>("pixelSize"); // 0: the application's font
    QTest::newRow("application font") << 0;
    QTest::newRow("a desktop's larger font") << 15;
    QTest::newRow("a large font") << 22;
}

void TestThemedWindows::tabCaptionsShowWhole() {
    QFETCH(int, pixelSize);
    PageControl pages;
    if (pixelSize > 0) {
        QFont font = pages.font();
        font.setPixelSize(pixelSize);
        pages.setFont(font);
    }
    const QStringList captions = {QStringLiteral("DOCUMENT Editor ( text writing and formatting )"),
                                  QStringLiteral("LAYOUT Editor ( decorating and publishing )"),
                                  QStringLiteral("Export to Auctions site")};
    for (const QString& caption : captions)
        pages.addTab(new QWidget, caption);
    pages.resize(3 * 600, 400);
    pages.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pages));

    const QTabBar* bar = pages.tabBar();
    const QFontMetrics metrics(bar->font());
    for (int i = 0; i < bar->count(); ++i) {
        const QRect tab = bar->tabRect(i);
        QVERIFY2(tab.width() > metrics.horizontalAdvance(captions.at(i)),
                 qPrintable(captions.at(i)));
        QVERIFY(tab.height() > metrics.height());
        // Never smaller than the designed tab, and all of one size.
        QVERIFY(tab.width() >= PageControl::tabSize.width());
        QVERIFY(tab.height() >= PageControl::tabSize.height());
        QCOMPARE(tab.size(), bar->tabRect(0).size());
    }
}

void TestThemedWindows::darkThemeKeepsTextOnPaperReadable() {
    const PaletteScope dark(darkPalette());
    ScriptedDialogs dialogs;

    // The document is shown black on white, as its listing shows it.
    TDocEditor editor(dialogs);
    QVERIFY(editor.palette().color(QPalette::Base).lightness() > 200);
    QVERIFY(editor.palette().color(QPalette::Text).lightness() < 60);

    // The About box paints its own light background under its labels.
    AboutDialog about(dialogs);
    const QImage shot = about.grab().toImage();
    const int background = shot.pixelColor(2, 2).lightness();
    for (const char* name : {"lblVersion", "lblWebsite", "lblFooter"}) {
        const auto* label = about.findChild<QLabel*>(QLatin1String(name));
        QVERIFY2(label, name);
        const int text = label->palette().color(label->foregroundRole()).lightness();
        QVERIFY2(background - text >= 100, name);
    }
}

QTEST_MAIN(TestThemedWindows)
#include "tst_themedwindows.moc"
