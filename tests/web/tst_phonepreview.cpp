#include "app/appstate.h"
#include "layout/layout.h"
#include "layoutui/layoutcolumn.h"
#include "layoutui/layoutpage.h"
#include "pagegen/pagegenerator.h"
#include "supportui/scripteddialogs.h"
#include "web/previewbrowser.h"
#include "web/previewcontroller.h"

#include <QBuffer>
#include <QImage>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QWebEngineScript>

namespace {

constexpr int loadTimeout = 60000;

/// The Layout page with its preview on the shipped template, wide enough for
/// any layout the tests show.
struct PhoneFixture {
    AppState state;
    const Layout& layout = state.layout.layout();
    ScriptedDialogs dialogs;
    LayoutPage page{state.layout, dialogs};
    PageGenerator generator{state.folders, state.layout.state(), state.publishing, layout};
    PreviewController preview{state.publishing, page, generator, dialogs};
    QByteArray document = "<h1>Mantel clock</h1><p>A fine old clock, 1890, in working order. "
                          "Shipping worldwide.</p><ul><li>Oak case</li><li>Brass dial</li></ul>";

    PhoneFixture() {
        state.folders.ProgramFolder = QCoreApplication::applicationDirPath() + QLatin1Char('/');
        state.layout.setFile(QString(), QStringLiteral("Untitled.rbs"));
        state.layout.setLayout(Layout::withDefaults());
        generator.setDocumentExport([this] { return document; });
        page.resize(1500, 800);
        page.show();
        page.UpdateComponents();
    }
    PreviewBrowser& browser() const { return *preview.broPreview(); }
    /// Shows `shown` in the controls and waits until the browser has its page.
    bool showLayout(const Layout& shown) {
        state.layout.setLayout(shown);
        state.layout.setLoadNeeded(true);
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
    double pictureWidth() {
        return evaluate(QStringLiteral("document.querySelector('.vtrl-text img')"
                                       ".getBoundingClientRect().width"))
            .toDouble();
    }
    /// Waits until the page has been laid out at `width` CSS pixels.
    bool viewBecomes(int width) {
        return QTest::qWaitFor([&] { return viewWidth() == width; }, loadTimeout);
    }
};

/// A picture of `width` pixels as the editor writes it, in the page itself or,
/// when not `found`, at an address that does not answer, as a picture not
/// yet on its server.
QByteArray pictureTag(int width, bool found, const QTemporaryDir& folder) {
    const int height = width / 4;
    QByteArray source;
    if (found) {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(Qt::darkRed);
        QBuffer png;
        png.open(QIODevice::WriteOnly);
        image.save(&png, "PNG");
        source = "data:image/png;base64," + png.data().toBase64();
    } else {
        source = QUrl::fromLocalFile(folder.filePath(QStringLiteral("missing.png"))).toEncoded();
    }
    return "<p><img src=\"" + source + "\" width=\"" + QByteArray::number(width) + "\" height=\"" +
           QByteArray::number(height) + "\" alt=\"\" style=\"vertical-align: baseline\"></p>";
}

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
    QVERIFY(QTest::qWaitFor(
        [&] {
            return f.browser().width() == PreviewBrowser::PhoneWidth &&
                   qAbs(f.browser().geometry().center().x() - place->width() / 2) <= 1;
        },
        loadTimeout));
    QVERIFY(f.viewBecomes(PreviewBrowser::PhoneWidth));
    // The page has the whole width: no scroll bar takes a part of it.
    QCOMPARE(f.evaluate(QStringLiteral("document.documentElement.clientWidth")).toInt(),
             PreviewBrowser::PhoneWidth);

    toggle->click();
    QVERIFY(!f.browser().showsPhoneWidth());
    QVERIFY(QTest::qWaitFor([&] { return f.browser().width() == wide; }, loadTimeout));
    QVERIFY(f.viewBecomes(wide));
}

void TestPhonePreview::pageFitsAPhone_data() {
    QTest::addColumn<QString>("widthType");
    QTest::addColumn<QString>("widthValue");
    QTest::addColumn<QString>("outerBorder");
    QTest::addColumn<QString>("frame");
    QTest::addColumn<int>("wideWidth");     // 0: the whole view
    QTest::addColumn<int>("picture");       // its width; 0: none
    QTest::addColumn<bool>("pictureFound"); // false: the address does not answer
    QTest::newRow("690 px") << "0"
                            << "690"
                            << "0"
                            << "0" << 690 << 0 << true;
    QTest::newRow("690 px, wide border and frame") << "0"
                                                   << "690"
                                                   << "8"
                                                   << "30" << 690 << 0 << true;
    QTest::newRow("900 px") << "0"
                            << "900"
                            << "2"
                            << "10" << 900 << 0 << true;
    QTest::newRow("whole width") << "1"
                                 << "690"
                                 << "2"
                                 << "10" << 0 << 0 << true;
    QTest::newRow("690 px, picture that fits") << "0"
                                               << "690"
                                               << "2"
                                               << "10" << 690 << 500 << true;
    QTest::newRow("690 px, wider picture") << "0"
                                           << "690"
                                           << "2"
                                           << "10" << 690 << 800 << true;
    QTest::newRow("900 px, picture not found") << "0"
                                               << "900"
                                               << "2"
                                               << "10" << 900 << 800 << false;
}

void TestPhonePreview::pageFitsAPhone() {
    QFETCH(QString, widthType);
    QFETCH(QString, widthValue);
    QFETCH(QString, outerBorder);
    QFETCH(QString, frame);
    QFETCH(int, wideWidth);
    QFETCH(int, picture);
    QFETCH(bool, pictureFound);
    PhoneFixture f;
    const QTemporaryDir folder;
    if (picture > 0)
        f.document += pictureTag(picture, pictureFound, folder);
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
    // A picture that fits shows at its own size, a wider one within the page.
    if (picture > 0 && picture < wide - 100)
        QCOMPARE(f.pictureWidth(), double(picture));
    else if (picture > 0)
        QVERIFY(f.pictureWidth() < wide);

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
