#include "app/mainwindow.h"
#include "app/programwindows.h"
#include "document/documentpage.h"
#include "layoutui/layoutcolumn.h"
#include "layoutui/layoutpage.h"
#include "support/testfolders.h"
#include "supportui/offscreenscreen.h"
#include "supportui/scripteddialogs.h"

#include <QApplication>
#include <QGroupBox>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <memory>

// The whole program on a netbook's screen of 1024 by 600 pixels: before the
// application starts, the offscreen platform is given that one screen.

namespace {

const QSize netbook(1024, 600);

/// Every window of the program in temporary folders, after the main
/// window's first activation, with the main window shown.
struct Program {
    TestFolders folders;
    ScriptedDialogs dialogs;
    std::unique_ptr<ProgramWindows> windows;

    Program() {
        folders.write(QStringLiteral("program/Default.rbs"), "[OUTER]\r\nOBWidth=4\r\n");
        windows = std::make_unique<ProgramWindows>(dialogs, folders.folders());
        window().FormActivate();
        window().show();
        if (!QTest::qWaitForWindowExposed(&window()))
            qFatal("the main window is not shown");
    }
    MainWindow& window() const { return windows->mainWindow(); }
};

/// The part of `widget` that shows in the area's viewport.
QRect shownPart(const QScrollArea& area, const QWidget& widget) {
    const QRect inViewport(widget.mapTo(area.viewport(), QPoint()), widget.size());
    return inViewport.intersected(area.viewport()->rect());
}

QString describe(const QRect& rect) {
    return QStringLiteral("%1,%2 %3x%4")
        .arg(rect.x())
        .arg(rect.y())
        .arg(rect.width())
        .arg(rect.height());
}

} // namespace

class TestSmallScreen : public QObject {
    Q_OBJECT

public:
    /// Runs before the application object is made.
    static void initMain();

private slots:
    void screenIsTheNetbooks();
    void windowOpensWhollyOnTheScreen();
    void sidePanelsScrollToEveryControl_data();
    void sidePanelsScrollToEveryControl();
};

void TestSmallScreen::screenIsTheNetbooks() {
    QCOMPARE(QGuiApplication::primaryScreen()->availableGeometry().size(), netbook);
}

void TestSmallScreen::windowOpensWhollyOnTheScreen() {
    Program p;
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect frame = p.window().frameGeometry();
    QVERIFY2(available.contains(frame), qPrintable(describe(frame)));
    // The title bar, the menus and the tabs are on the screen.
    QVERIFY(p.window().geometry().top() > available.top());
    // The window can be made as large as the screen's area and no larger:
    // its controls do not need more.
    QVERIFY2(p.window().minimumSize().height() < available.height() - 40,
             qPrintable(QString::number(p.window().minimumSize().height())));
    QVERIFY2(p.window().minimumSize().width() <= available.width() - 20,
             qPrintable(QString::number(p.window().minimumSize().width())));
}

void TestSmallScreen::sidePanelsScrollToEveryControl_data() {
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("area");
    QTest::addColumn<QString>("lastGroup");

    QTest::newRow("Layout page: the control column down to the text area") << 1 << "scrLayoutColumn"
                                                                           << "gbxTA";
    QTest::newRow("Document page: the tools down to images and links") << 0 << "scrDocTools"
                                                                       << "gbxImagesLinks";
}

void TestSmallScreen::sidePanelsScrollToEveryControl() {
    QFETCH(int, page);
    QFETCH(QString, area);
    QFETCH(QString, lastGroup);

    Program p;
    p.window().pages()->setCurrentIndex(page);
    // What the preview does once the browser has shown the page.
    p.window().layoutControls().column()->setGroupsVisible(true);
    auto* scroller = p.window().findChild<QScrollArea*>(area);
    QVERIFY(scroller);
    QVERIFY(scroller->isVisible());
    QTRY_VERIFY(scroller->verticalScrollBar()->isVisible());
    QVERIFY(!scroller->horizontalScrollBar()->isVisible());

    QWidget* panel = scroller->widget();
    auto* last = panel->findChild<QGroupBox*>(lastGroup);
    QVERIFY(last);
    QVERIFY(last->isVisible());
    // Scrolled to the end, the last group shows whole.
    scroller->verticalScrollBar()->setValue(scroller->verticalScrollBar()->maximum());
    QCOMPARE(shownPart(*scroller, *last).size(), last->size());
    // Every control of the panel can be brought into view.
    for (QWidget* control : panel->findChildren<QWidget*>()) {
        if (!control->isVisibleTo(panel) || control->isWindow())
            continue;
        // An edit's own place is that of its cursor: the whole control is
        // asked for.
        const QRect place(control->mapTo(panel, QPoint()), control->size());
        scroller->ensureVisible(place.left(), place.bottom() + 1, 0, 0);
        scroller->ensureVisible(place.left(), place.top(), 0, 0);
        const QRect shown = shownPart(*scroller, *control);
        QVERIFY2(shown.height() == qMin(control->height(), scroller->viewport()->height()),
                 qPrintable(control->objectName() + QLatin1Char(' ') + describe(shown)));
    }
}

void TestSmallScreen::initMain() {
    useOffscreenScreen(netbook);
}

QTEST_MAIN(TestSmallScreen)
#include "tst_smallscreen.moc"
