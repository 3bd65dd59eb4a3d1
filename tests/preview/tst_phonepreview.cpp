#include "app/appstate.h"
#include "layout/layout.h"
#include "layout/layoutcolumn.h"
#include "layout/layoutpage.h"
#include "pagegen/pagegenerator.h"
#include "preview/previewbrowser.h"
#include "preview/previewcontroller.h"
#include "support/scripteddialogs.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QWebEngineScript>

namespace {

constexpr int loadTimeout = 60000;

/// The Layout page with its preview on the shipped template, wide enough for
/// any layout the tests show.
struct PhoneFixture {
    AppState state;
    Layout layout = Layout::withDefaults();
    ScriptedDialogs dialogs;
    LayoutPage page{state.layout, layout, dialogs};
    PageGenerator generator{state.folders, state.layout, state.publishing, layout};
    PreviewController preview{state.publishing, page, generator, dialogs};
    // A picture wider than a phone, as sellers put in.
    QByteArray document = "<h1>Mantel clock</h1><p>A fine old clock, 1890, in working order. "
                          "Shipping worldwide.</p><ul><li>Oak case</li><li>Brass dial</li></ul>";

    PhoneFixture() {
        state.folders.ProgramFolder = QCoreApplication::applicationDirPath() + QLatin1Char('/');
        state.layout.LayoutFileName = QStringLiteral("Untitled.rbs");
        generator.setDocumentExport([this] { return document; });
        page.resize(1500, 800);
        page.show();
        page.UpdateComponents();
    }
    PreviewBrowser& browser() const { return *preview.broPreview(); }
    /// Shows `shown` in the controls and waits until the browser has its page.
    bool showLayout(const Layout& shown) {
        layout = shown;
        state.layout.LayoutLoadNeeded = true;
        page.UpdateComponents();
        QSignalSpy completed(&preview, &PreviewController::documentCompleted);
        page.buttons().btnPreview->click();
        return completed.wait(loadTimeout);
    }
    QVariant evaluate(const QString& script) {
        QVariant result;
        bool done = false;
        browser().page()->runJavaScript(script, QWebEngineScript::ApplicationWorld,
                                        [&](const QVariant& value) {
                                            result = value;
                                            done = true;
                                        });
        if (!QTest::qWaitFor([&] { return done; }, loadTimeout))
            qWarning("script did not answer");
        return result;
    }
    int viewWidth() { return evaluate(QStringLiteral("window.innerWidth")).toInt(); }
    int scrollWidth() {
        return evaluate(QStringLiteral("document.documentElement.scrollWidth")).toInt();
    }
    double pageWidth() {
        return evaluate(QStringLiteral(
                            "document.querySelector('.vtrl-main').getBoundingClientRect().width"))
            .toDouble();
    }
    /// Waits until the page has been laid out at `width` CSS pixels.
    bool viewBecomes(int width) {
        return QTest::qWaitFor([&] { return viewWidth() == width; }, loadTimeout);
    }
};

} // namespace

class TestPhonePreview : public QObject {
    Q_OBJECT

private slots:
    void toggleShowsPhoneWidth();
    void pageFitsAPhone_data();
    void pageFitsAPhone();
};

void TestPhonePreview::toggleShowsPhoneWidth() {
    PhoneFixture f;
    // Longer than the view: it scrolls.
    f.document = QByteArray("<p>A fine old clock.</p>").repeated(100);
    QVERIFY(f.showLayout(f.layout));
    QPushButton* toggle = f.page.buttons().btnPhonePreview;
    QVERIFY(toggle->isCheckable());
    QVERIFY(toggle->isVisible());
    const int wide = f.browser().width();
    QVERIFY(wide > 800);

    toggle->click();
    QVERIFY(f.browser().showsPhoneWidth());
    const QWidget* place = f.page.previewHost();
    // Centred in its place once the place has laid it out again.
    QVERIFY(QTest::qWaitFor([&] {
        return f.browser().width() == PreviewBrowser::PhoneWidth &&
               qAbs(f.browser().geometry().center().x() - place->width() / 2) <= 1;
    }));
    QVERIFY(f.viewBecomes(PreviewBrowser::PhoneWidth));
    // The page has the whole width: no scroll bar takes a part of it.
    QCOMPARE(f.evaluate(QStringLiteral("document.documentElement.clientWidth")).toInt(),
             PreviewBrowser::PhoneWidth);

    toggle->click();
    QVERIFY(!f.browser().showsPhoneWidth());
    QVERIFY(QTest::qWaitFor([&] { return f.browser().width() == wide; }));
    QVERIFY(f.viewBecomes(wide));
}

void TestPhonePreview::pageFitsAPhone_data() {
    QTest::addColumn<QString>("widthType");
    QTest::addColumn<QString>("widthValue");
    QTest::addColumn<QString>("outerBorder");
    QTest::addColumn<QString>("frame");
    QTest::addColumn<int>("wideWidth"); // 0: the whole view
    QTest::newRow("690 px") << "0"
                            << "690"
                            << "0"
                            << "0" << 690;
    QTest::newRow("690 px, wide border and frame") << "0"
                                                   << "690"
                                                   << "8"
                                                   << "30" << 690;
    QTest::newRow("900 px") << "0"
                            << "900"
                            << "2"
                            << "10" << 900;
    QTest::newRow("whole width") << "1"
                                 << "690"
                                 << "2"
                                 << "10" << 0;
}

void TestPhonePreview::pageFitsAPhone() {
    QFETCH(QString, widthType);
    QFETCH(QString, widthValue);
    QFETCH(QString, outerBorder);
    QFETCH(QString, frame);
    QFETCH(int, wideWidth);
    PhoneFixture f;
    Layout shown = Layout::withDefaults();
    shown.AdWidthType = widthType;
    shown.AdWidthValue = widthValue;
    shown.OBWidth = outerBorder;
    shown.FWidth = frame;
    QVERIFY(f.showLayout(shown));

    // On a wide screen the page keeps the width the seller set.
    const int view = f.viewWidth();
    QVERIFY(view > 1000);
    const double wide = f.pageWidth();
    if (wideWidth > 0)
        QCOMPARE(wide, double(wideWidth));
    else
        QVERIFY2(wide > view - 40, qPrintable(QString::number(wide)));
    QVERIFY(f.scrollWidth() <= view);

    // On a phone it shrinks to the screen: nothing to scroll sideways.
    f.page.buttons().btnPhonePreview->click();
    QVERIFY(f.viewBecomes(PreviewBrowser::PhoneWidth));
    const int phoneScroll = f.scrollWidth();
    qInfo("%s: %.0f px wide at a %d px view; scroll width %d at a %d px view",
          QTest::currentDataTag(), wide, view, phoneScroll, PreviewBrowser::PhoneWidth);
    QVERIFY2(phoneScroll <= PreviewBrowser::PhoneWidth, qPrintable(QString::number(phoneScroll)));
    QVERIFY(f.pageWidth() <= PreviewBrowser::PhoneWidth);
}

QTEST_MAIN(TestPhonePreview)
#include "tst_phonepreview.moc"
