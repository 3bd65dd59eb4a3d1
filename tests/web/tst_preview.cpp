#include "app/appstate.h"
#include "docmodel/docpicture.h"
#include "docmodel/eddocument.h"
#include "docmodel/htmlfragmentexporter.h"
#include "layout/layout.h"
#include "layoutui/colorcombo.h"
#include "layoutui/layoutcolumn.h"
#include "layoutui/layoutpage.h"
#include "pagegen/pagegenerator.h"
#include "pagegen/pagetext.h"
#include "platform/windows1252.h"
#include "supportui/scripteddialogs.h"
#include "ui/numberedit.h"
#include "web/previewbrowser.h"
#include "web/previewcontroller.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QImage>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextTable>
#include <QWebEngineScript>
#include <functional>
#include <vector>

namespace {

constexpr int loadTimeout = 60000;

/// Runs a script in the program's own world of the page and waits for its answer.
QVariant evaluateIn(QWebEnginePage& page, const QString& script) {
    QVariant result;
    bool done = false;
    page.runJavaScript(script, QWebEngineScript::ApplicationWorld, [&](const QVariant& value) {
        result = value;
        done = true;
    });
    if (!QTest::qWaitFor([&] { return done; }, loadTimeout))
        qWarning("script did not answer");
    return result;
}

/// What a page shows: its serialized document, every element's computed
/// style and the scroll position; the page's own address left out.
QString rendering(QWebEnginePage& page) {
    return evaluateIn(page, QStringLiteral(R"js(
        (function () {
            var out = [document.documentElement.outerHTML, window.scrollX, window.scrollY];
            var all = document.querySelectorAll('*');
            for (var i = 0; i < all.length; ++i) {
                var style = getComputedStyle(all[i]);
                var values = [];
                for (var j = 0; j < style.length; ++j)
                    values.push(style[j] + ':' + style.getPropertyValue(style[j]));
                out.push(values.join(';'));
            }
            return out.join('\n').split(document.URL).join('PAGE');
        })()
    )js"))
        .toString();
}

/// The Layout page with its preview, on the shipped template, showing the
/// default layout.
struct PreviewFixture {
    AppState state;
    const Layout& layout = state.layout.layout();
    ScriptedDialogs dialogs;
    LayoutPage page{state.layout, dialogs};
    PageGenerator generator{state.folders, state.layout.state(), state.publishing, layout};
    PreviewController preview{state.publishing, page, generator, dialogs};
    QByteArray document = "<p>A fine old clock</p>";
    int captions = 0;

    PreviewFixture() {
        state.folders.ProgramFolder = QCoreApplication::applicationDirPath() + QLatin1Char('/');
        state.layout.setFile(QString(), QStringLiteral("Untitled.rbs"));
        state.layout.setLayout(Layout::withDefaults());
        generator.setDocumentExport([this] { return document; });
        QObject::connect(&page, &LayoutPage::previewRequested, [this] { ++captions; });
        page.resize(1000, 700);
        page.show();
        page.column()->setGroupsVisible(false);
        page.UpdateComponents();
    }
    bool groupsVisible() const { return page.controls().gbxTA->isVisible(); }
    /// Refreshes and waits until the browser has the page.
    bool refresh() {
        QSignalSpy completed(&preview, &PreviewController::documentCompleted);
        page.buttons().btnPreview->click();
        return completed.wait(loadTimeout);
    }
    /// Runs a script in the program's own world of the shown page.
    QVariant evaluate(const QString& script) {
        return evaluateIn(*preview.broPreview()->page(), script);
    }
    /// Makes a change and waits until the preview shows every page it asked for.
    bool change(const std::function<void()>& make) {
        QSignalSpy requested(&page, &LayoutPage::previewRequested);
        QSignalSpy completed(&preview, &PreviewController::documentCompleted);
        make();
        return !requested.isEmpty() &&
               QTest::qWaitFor([&] { return completed.size() >= requested.size(); }, loadTimeout);
    }
};

QString writePicture(const QString& path, Qt::GlobalColor color) {
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(color);
    if (!image.save(path, "PNG"))
        qFatal("cannot write the picture");
    return path;
}

} // namespace

class TestPreview : public QObject {
    Q_OBJECT

private slots:
    void refreshWaitsForFilledControls();
    void showsTheGeneratedPage();
    void layoutChangeRedraws();
    void layoutChangesInPlaceShowWhatAFullLoadShows_data();
    void layoutChangesInPlaceShowWhatAFullLoadShows();
    void wholePageLoadsWhenNotJustTheLayoutChanged_data();
    void wholePageLoadsWhenNotJustTheLayoutChanged();
    void pageOverTwoMegabytes();
    void localPicturesShow();
    void exportedDocumentShowsAsInTheEditor();
    void documentLooksInThePageAsInTheEditor_data();
    void documentLooksInThePageAsInTheEditor();
    void noContextMenu();
    void controlsReturnWhenThePageNeverCompletes();
};

void TestPreview::refreshWaitsForFilledControls() {
    PreviewFixture f;
    f.state.layout.setControlsReady(false);
    f.page.buttons().btnPreview->click();
    QVERIFY(f.preview.pageText().isEmpty());
    QVERIFY(f.state.publishing.ListingCode.isEmpty());
    QCOMPARE(f.captions, 0);
}

void TestPreview::showsTheGeneratedPage() {
    PreviewFixture f;
    f.state.layout.setLoadNeeded(true);
    f.document = "<p id=\"doc\">Clock \xA3"
                 "20</p><script>document.title = 'ran';</script>";
    QVERIFY(f.refresh());
    QVERIFY(f.groupsVisible());
    QCOMPARE(f.captions, 1);
    QVERIFY(!f.state.layout.state().LayoutLoadNeeded);
    QVERIFY(f.preview.pageText().contains(QStringLiteral("This is the default Layout.")));
    QCOMPARE(f.evaluate(QStringLiteral("document.getElementById('doc').textContent")).toString(),
             QStringLiteral("Clock £20"));
    // Listing pages carry no scripts: the page's own one does not run.
    QCOMPARE(f.preview.broPreview()->title(), QStringLiteral("Generated by Vantrel"));
    QCOMPARE(f.evaluate(QStringLiteral("document.body.style.borderStyle")).toString(),
             QStringLiteral("none"));
    // Hidden only while it loaded: shown, and its head as the page wrote it.
    QCOMPARE(
        f.evaluate(QStringLiteral("getComputedStyle(document.documentElement).display")).toString(),
        QStringLiteral("block"));
    QCOMPARE(f.evaluate(QStringLiteral("document.head.outerHTML")).toString(),
             f.preview.pageText()
                     .section(QStringLiteral("<head>"), 1)
                     .section(QStringLiteral("</head>"), 0, 0)
                     .prepend(QStringLiteral("<head>")) +
                 QStringLiteral("</head>"));
}

void TestPreview::layoutChangeRedraws() {
    PreviewFixture f;
    QVERIFY(f.refresh());
    QSignalSpy completed(&f.preview, &PreviewController::documentCompleted);
    f.page.controls().edtFW->setText(QStringLiteral("7"));
    QVERIFY(completed.wait(loadTimeout));
    QCOMPARE(f.layout.FWidth, QStringLiteral("7"));
    QCOMPARE(f.evaluate(QStringLiteral("document.querySelector('.vtrl-main td').style.padding"))
                 .toString(),
             QStringLiteral("7px"));
}

void TestPreview::layoutChangesInPlaceShowWhatAFullLoadShows_data() {
    QTest::addColumn<bool>("fromDefault");
    QTest::newRow("changes to a changed layout") << false;
    // The first change takes the default-layout note away.
    QTest::newRow("first change from the untouched default") << true;
}

void TestPreview::layoutChangesInPlaceShowWhatAFullLoadShows() {
    QFETCH(bool, fromDefault);
    PreviewFixture f;
    QTemporaryDir home;
    f.state.folders.UserFolder = home.path() + QLatin1Char('/');
    QVERIFY(QDir().mkpath(f.state.folders.UserFolder + QStringLiteral("images/My images")));
    writePicture(f.state.folders.UserFolder + QStringLiteral("images/My images/Sky.png"), Qt::red);
    f.state.layout.setText(&Layout::AdImg, QStringLiteral("/My images/Sky.png"));
    if (fromDefault)
        f.state.layout.markSaved(); // untouched: the page shows the default-layout note
    else
        f.state.layout.markModified();
    f.document = "<h2 style=\"color:#7A5C3A\">Clock</h2><ul><li>Brass</li></ul>";
    for (int line = 0; line < 100; ++line)
        f.document += "<p>A <b>fine</b> clock</p>"; // long enough to scroll
    QVERIFY(f.refresh());
    const QString note = QStringLiteral("This is the default Layout");
    QCOMPARE(f.preview.pageText().contains(note), fromDefault);
    PreviewBrowser* browser = f.preview.broPreview();
    const QUrl loaded = browser->url();
    QSignalSpy loads(browser, &QWebEngineView::loadStarted);
    browser->page()->runJavaScript(QStringLiteral("window.scrollTo(0, 200)"),
                                   QWebEngineScript::ApplicationWorld);
    const LayoutControls& c = f.page.controls();
    const std::vector<std::function<void()>> changes{
        [&] { c.edtFW->setText(QStringLiteral("17")); },
        [&] { c.cbxAdCenter->click(); },
        [&] { emit c.clrOB->colorPicked(QColor(0x12, 0x34, 0x56)); },
        [&] { c.cbxAdCol->click(); },
        [&] { c.cbxAdImg->click(); },
        [&] { c.cbxTxtRepeatX->setChecked(!c.cbxTxtRepeatX->isChecked()); },
        [&] { (c.radAdFull->isChecked() ? c.radAdManual : c.radAdFull)->click(); },
        [&] { c.edtOBW->setText(QStringLiteral("3")); },
    };
    for (size_t i = 0; i < changes.size(); ++i)
        QVERIFY2(f.change(changes[i]), qPrintable(QString::number(i)));
    QCOMPARE(loads.count(), 0);
    QCOMPARE(browser->url(), loaded);
    QVERIFY(f.groupsVisible());

    PreviewBrowser reference;
    reference.resize(browser->size());
    reference.show();
    QSignalSpy referenceLoaded(&reference, &QWebEngineView::loadFinished);
    reference.loadPage(windows1252::encode(f.preview.pageText()));
    QVERIFY(referenceLoaded.wait(loadTimeout));
    evaluateIn(*reference.page(), QStringLiteral("document.body.style.borderStyle = 'none';"));
    const QString shown = rendering(*browser->page());
    QVERIFY(shown.contains(QStringLiteral("Sky.png")));
    QVERIFY(shown.contains(QStringLiteral("padding:17px")));
    QVERIFY(!shown.contains(note));
    QCOMPARE(shown, rendering(*reference.page()));
}

void TestPreview::wholePageLoadsWhenNotJustTheLayoutChanged_data() {
    QTest::addColumn<bool>("documentChanged");
    QTest::addColumn<QString>("pageChangedBy"); // a script run on the shown page first
    QTest::newRow("the document changed") << true << QString();
    QTest::newRow("the shown page is not the one generated")
        << false << QStringLiteral("document.querySelector('.vtrl-main').removeAttribute('align')");
}

void TestPreview::wholePageLoadsWhenNotJustTheLayoutChanged() {
    QFETCH(bool, documentChanged);
    QFETCH(QString, pageChangedBy);
    PreviewFixture f;
    QVERIFY(f.refresh());
    QSignalSpy loads(f.preview.broPreview(), &QWebEngineView::loadStarted);
    if (documentChanged)
        f.document = "<p id=\"doc\">A finer clock</p>";
    if (!pageChangedBy.isEmpty())
        f.evaluate(pageChangedBy);
    QVERIFY(f.change([&] { f.page.controls().edtFW->setText(QStringLiteral("9")); }));
    QTRY_COMPARE_WITH_TIMEOUT(loads.count(), 1, loadTimeout);
    QTRY_VERIFY_WITH_TIMEOUT(f.evaluate(QStringLiteral("document.readyState")).toString() ==
                                 QLatin1String("complete"),
                             loadTimeout);
    QCOMPARE(f.evaluate(QStringLiteral("document.getElementById('doc') ? "
                                       "document.getElementById('doc').textContent : ''"))
                 .toString(),
             documentChanged ? QStringLiteral("A finer clock") : QString());
    QCOMPARE(f.evaluate(QStringLiteral("document.querySelector('.vtrl-main td').style.padding + "
                                       "document.querySelector('.vtrl-main').align"))
                 .toString(),
             QStringLiteral("9pxcenter"));
}

void TestPreview::pageOverTwoMegabytes() {
    PreviewFixture f;
    f.document = QByteArray("<p>") + QByteArray(3 * 1024 * 1024, 'x') + "</p><p id=\"end\">end</p>";
    QVERIFY(f.refresh());
    QVERIFY(f.preview.pageText().size() > 3 * 1024 * 1024);
    QCOMPARE(f.evaluate(QStringLiteral("document.getElementById('end').textContent")).toString(),
             QStringLiteral("end"));
}

void TestPreview::localPicturesShow() {
    PreviewFixture f;
    QTemporaryDir home;
    f.state.folders.UserFolder = home.path() + QStringLiteral("/Ann's Documents/Vantrel/");
    QVERIFY(QDir().mkpath(f.state.folders.UserFolder + QStringLiteral("images/My images")));
    writePicture(f.state.folders.UserFolder + QStringLiteral("images/My images/Sky (1).PNG"),
                 Qt::red);
    f.state.layout.setText(&Layout::AdImg, QStringLiteral("/My images/Sky (1).PNG"));
    f.page.controls().cbxAdImg->setChecked(false); // shows the page picture
    QVERIFY(QDir(home.path()).mkpath(QStringLiteral("My Pictures")));
    const QString inDocument =
        writePicture(home.path() + QStringLiteral("/My Pictures/Clock.PNG"), Qt::blue);
    f.document = "<img id=\"pic\" src=\"" + PathToFileUrl(inDocument).toLatin1() + "\">";
    QVERIFY(f.refresh());
    QCOMPARE(f.evaluate(QStringLiteral("document.getElementById('pic').naturalWidth")).toInt(), 3);
    QVERIFY(f.preview.pageText().contains(QStringLiteral("Ann%27s%20Documents")));
}

void TestPreview::exportedDocumentShowsAsInTheEditor() {
    PreviewFixture f;
    QTemporaryDir home;
    EdDocument document;
    QTextCursor cursor(document.textDocument());
    // A picture inserted from a file whose name holds a space.
    DocPicture picture;
    QVERIFY(DocPicture::fromFile(
        writePicture(home.filePath(QStringLiteral("My Sky.png")), Qt::blue), picture));
    document.insertPicture(cursor, picture);
    cursor.insertBlock();
    QTextTable* table = document.insertTable(cursor, 1, 2);
    QTextTableFormat format = table->format();
    format.setCellSpacing(5);
    format.setCellPadding(7);
    table->setFormat(format);
    f.document = windows1252::encode(HtmlFragmentExporter(document).toHtml());
    QVERIFY(f.refresh());
    QCOMPARE(
        f.evaluate(QStringLiteral("document.querySelector('.vtrl-text img').naturalWidth")).toInt(),
        3);
    // The page's style sheet does not change the table's own spacing and padding.
    const QString tableStyle = QStringLiteral("getComputedStyle(document.querySelector('.vtrl-text "
                                              "table'))");
    const QString cell = QStringLiteral("getComputedStyle(document.querySelector('.vtrl-text "
                                        "table td'))");
    QCOMPARE(f.evaluate(tableStyle + QStringLiteral(".borderCollapse")).toString(),
             QStringLiteral("separate"));
    QCOMPARE(f.evaluate(tableStyle + QStringLiteral(".borderSpacing")).toString(),
             QStringLiteral("5px 5px"));
    QCOMPARE(f.evaluate(cell + QStringLiteral(".padding")).toString(), QStringLiteral("7px"));
}

void TestPreview::documentLooksInThePageAsInTheEditor_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("expected");

    // The colour behind the text: the nearest one set around it.
    QTest::newRow("document background colour") << "background"
                                                << "rgb(255, 238, 221)";
    // Every line of a wrapped item starts where its first line's text does.
    QTest::newRow("wrapped bullet item") << "bullets"
                                         << "lines start alike";
    QTest::newRow("wrapped numbered item, second level") << "numbers"
                                                         << "lines start alike";
}

void TestPreview::documentLooksInThePageAsInTheEditor() {
    QFETCH(QString, kind);
    PreviewFixture f;
    EdDocument document;
    QTextCursor cursor(document.textDocument());
    QString text;
    for (int word = 0; word < 80; ++word)
        text += QStringLiteral("clock%1 ").arg(word);
    if (kind == QLatin1String("background")) {
        document.setBackgroundColor(QColor(0xFF, 0xEE, 0xDD));
        document.insertText(cursor, QStringLiteral("Clock"), 0);
    } else {
        document.insertText(cursor, QStringLiteral("First item"), 0);
        cursor.insertBlock();
        document.insertText(cursor, text.trimmed(), 0);
        cursor.movePosition(QTextCursor::Start);
        cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        const bool numbers = kind == QLatin1String("numbers");
        document.setList(cursor, numbers ? TListInfo::lstDecimal : TListInfo::lstBullet,
                         numbers ? 1 : 0);
    }
    f.document = windows1252::encode(HtmlFragmentExporter(document).toHtml());
    QVERIFY(f.refresh());
    const QString found = f.evaluate(QStringLiteral(R"js(
        (function () {
            var spans = document.querySelectorAll('.vtrl-text span');
            var span = null;
            for (var i = 0; i < spans.length; ++i) {
                if (spans[i].textContent.indexOf('Clock') === 0 ||
                    spans[i].textContent.indexOf('clock0 ') === 0)
                    span = spans[i];
            }
            if (!span)
                return 'text not found';
            if ('%1' === 'background') {
                for (var e = span; e; e = e.parentElement) {
                    var colour = getComputedStyle(e).backgroundColor;
                    if (colour !== 'rgba(0, 0, 0, 0)' && colour !== 'transparent')
                        return colour;
                }
                return 'none';
            }
            var range = document.createRange();
            range.selectNodeContents(span.firstChild);
            var lines = range.getClientRects();
            if (lines.length < 2)
                return 'one line';
            for (var j = 1; j < lines.length; ++j) {
                if (Math.abs(lines[j].left - lines[0].left) > 1)
                    return 'line ' + j + ' starts at ' + lines[j].left + ', the first at ' +
                           lines[0].left;
            }
            return 'lines start alike';
        })()
    )js")
                                         .arg(kind))
                              .toString();
    QTEST(found, "expected");
}

void TestPreview::noContextMenu() {
    PreviewFixture f;
    QVERIFY(f.refresh());
    PreviewBrowser* browser = f.preview.broPreview();
    QCOMPARE(browser->contextMenuPolicy(), Qt::NoContextMenu);
    // A browser that keeps its menu shows one for the same click.
    QWebEngineView other;
    other.resize(300, 200);
    other.show();
    QSignalSpy loaded(&other, &QWebEngineView::loadFinished);
    other.setHtml(QStringLiteral("<p>text</p>"));
    QVERIFY(loaded.wait(loadTimeout));
    for (QWebEngineView* view : {static_cast<QWebEngineView*>(browser), &other}) {
        QWidget* target = view->focusProxy() ? view->focusProxy() : view;
        QTest::mouseClick(target, Qt::RightButton, {}, QPoint(20, 20));
    }
    QTRY_VERIFY_WITH_TIMEOUT(other.findChild<QMenu*>(), loadTimeout);
    QVERIFY(!browser->findChild<QMenu*>());
}

void TestPreview::controlsReturnWhenThePageNeverCompletes() {
    // A picture from a server that never answers keeps the page loading.
    QTcpServer silent;
    QVERIFY(silent.listen(QHostAddress::LocalHost));
    PreviewFixture f;
    f.preview.setReadyTimeLimit(500);
    f.document = QStringLiteral("<img src=\"http://127.0.0.1:%1/never.jpg\">")
                     .arg(silent.serverPort())
                     .toLatin1();
    QSignalSpy completed(&f.preview, &PreviewController::documentCompleted);
    f.page.buttons().btnPreview->click();
    QTRY_VERIFY_WITH_TIMEOUT(f.groupsVisible(), loadTimeout);
    QTRY_VERIFY_WITH_TIMEOUT(silent.hasPendingConnections(), loadTimeout);
    QCOMPARE(completed.count(), 0);
    // The page itself has arrived: it shows while the picture is awaited.
    QTRY_COMPARE_WITH_TIMEOUT(
        f.evaluate(QStringLiteral("getComputedStyle(document.documentElement).display")).toString(),
        QStringLiteral("block"), loadTimeout);
}

QTEST_MAIN(TestPreview)
#include "tst_preview.moc"
