#include "ui/sidepanelscroll.h"
#include "ui/windowplacement.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QVBoxLayout>

namespace {

/// A narrow panel of many rows, as tall as `rows` labels.
QWidget* tallPanel(int rows) {
    auto* panel = new QWidget;
    panel->setFixedWidth(180);
    auto* column = new QVBoxLayout(panel);
    for (int row = 0; row < rows; ++row)
        column->addWidget(new QLabel(QStringLiteral("row %1").arg(row), panel));
    column->addStretch();
    return panel;
}

/// The part of `widget` that shows in the area's viewport.
QRect shownPart(const QScrollArea& area, const QWidget& widget) {
    const QRect inViewport(widget.mapTo(area.viewport(), QPoint()), widget.size());
    return inViewport.intersected(area.viewport()->rect());
}

} // namespace

class TestWindowPlacement : public QObject {
    Q_OBJECT

private slots:
    void placementIsClampedToTheAvailableArea_data();
    void placementIsClampedToTheAvailableArea();
    void mainWindowFitsTheScreen();
    void sidePanelScrollsWhenItDoesNotFit_data();
    void sidePanelScrollsWhenItDoesNotFit();
};

void TestWindowPlacement::placementIsClampedToTheAvailableArea_data() {
    QTest::addColumn<QRect>("frame");
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QRect>("placed");

    const QRect small(0, 0, 1024, 600);
    const QRect withPanel(0, 0, 1280, 764); // a panel along the bottom
    QTest::newRow("nominal: inside stays where it is")
        << QRect(100, 50, 800, 500) << withPanel << QRect(100, 50, 800, 500);
    QTest::newRow("nominal: exactly the area") << small << small << small;
    QTest::newRow("robustness: off the top")
        << QRect(100, -60, 800, 500) << withPanel << QRect(100, 0, 800, 500);
    QTest::newRow("robustness: off the left")
        << QRect(-300, 40, 800, 500) << withPanel << QRect(0, 40, 800, 500);
    QTest::newRow("robustness: off the right")
        << QRect(900, 40, 800, 500) << withPanel << QRect(480, 40, 800, 500);
    QTest::newRow("robustness: over the panel at the bottom")
        << QRect(100, 300, 800, 500) << withPanel << QRect(100, 264, 800, 500);
    QTest::newRow("robustness: below a panel at the top")
        << QRect(100, 0, 800, 500) << QRect(0, 32, 1280, 768) << QRect(100, 32, 800, 500);
    // The designed size with its title bar, centred on a netbook's screen.
    QTest::newRow("robustness: bigger than the screen")
        << QRect(0, -92, 1024, 784) << small << small;
    QTest::newRow("robustness: taller than the screen, off the right")
        << QRect(500, -92, 400, 784) << small << QRect(500, 0, 400, 600);
    QTest::newRow("robustness: wider than the screen, low down")
        << QRect(-100, 300, 1200, 200) << small << QRect(0, 300, 1024, 200);
    const QRect second(1280, 0, 1920, 1080); // right of the first screen
    QTest::newRow("nominal: on a second screen")
        << QRect(1500, 100, 1008, 760) << second << QRect(1500, 100, 1008, 760);
    QTest::newRow("robustness: half on the first screen, placed on the second")
        << QRect(1000, 100, 1008, 760) << second << QRect(1280, 100, 1008, 760);
    QTest::newRow("robustness: past the second screen's bottom right")
        << QRect(3000, 900, 400, 300) << second << QRect(2800, 780, 400, 300);
}

void TestWindowPlacement::placementIsClampedToTheAvailableArea() {
    QFETCH(QRect, frame);
    QFETCH(QRect, available);
    QFETCH(QRect, placed);
    QCOMPARE(placeWithin(frame, available), placed);
}

void TestWindowPlacement::mainWindowFitsTheScreen() {
    QWidget window;
    placeOnScreen(window, QSize(4000, 3000));
    const QRect available = window.screen()->availableGeometry();
    // Not shown yet, the window's frame is not known: room is left for it.
    QVERIFY2(available.contains(window.geometry()), qPrintable(QStringLiteral("%1,%2 %3x%4")
                                                                   .arg(window.x())
                                                                   .arg(window.y())
                                                                   .arg(window.width())
                                                                   .arg(window.height())));
    QVERIFY(window.height() < available.height());
    QVERIFY(window.width() < available.width());

    // A window smaller than the screen keeps its size and is centred.
    QWidget smaller;
    placeOnScreen(smaller, available.size() / 2);
    QCOMPARE(smaller.size(), available.size() / 2);
    QVERIFY(qAbs(smaller.geometry().center().x() - available.center().x()) <= 8);
}

void TestWindowPlacement::sidePanelScrollsWhenItDoesNotFit_data() {
    QTest::addColumn<int>("height");
    QTest::addColumn<bool>("scrolls");

    QTest::newRow("nominal: tall enough") << 1400 << false;
    QTest::newRow("nominal: too low") << 250 << true;
}

void TestWindowPlacement::sidePanelScrollsWhenItDoesNotFit() {
    QFETCH(int, height);
    QFETCH(bool, scrolls);

    QWidget page;
    auto* row = new QHBoxLayout(&page);
    row->setContentsMargins(0, 0, 0, 0);
    QWidget* panel = tallPanel(30);
    auto* area = new SidePanelScroll(panel, &page);
    row->addWidget(area);
    row->addWidget(new QWidget(&page), 1);
    page.resize(600, height);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));

    QTRY_COMPARE(area->verticalScrollBar()->isVisibleTo(area), scrolls);
    QVERIFY(!area->horizontalScrollBar()->isVisibleTo(area));
    // The panel keeps its width; the area is wider by the bar alone.
    QCOMPARE(panel->width(), 180);
    const int bar = scrolls ? area->verticalScrollBar()->width() : 0;
    QTRY_COMPARE(area->width(), 180 + bar);
    // The panel fills the area's height at least.
    QVERIFY(panel->height() >= area->viewport()->height());

    // Every row can be brought into view, the last one too.
    for (QLabel* label : panel->findChildren<QLabel*>()) {
        area->ensureWidgetVisible(label);
        QCOMPARE(shownPart(*area, *label).size(), label->size());
    }
}

QTEST_MAIN(TestWindowPlacement)
#include "tst_windowplacement.moc"
