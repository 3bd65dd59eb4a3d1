#include "layoutui/layoutcolumn.h"

#include "supportui/darkpalette.h"
#include "supportui/scripteddialogs.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPalette>
#include <QStyle>
#include <QTest>

namespace {} // namespace

/// The Layout page's left column is painted in the desktop's colours: its
/// labels, drawn in the window's text colour, stay readable on it.
class TestLayoutColumn : public QObject {
    Q_OBJECT

private slots:
    void labelsReadOnTheBackground_data();
    void labelsReadOnTheBackground();
};

void TestLayoutColumn::labelsReadOnTheBackground_data() {
    QTest::addColumn<QPalette>("palette");
    QTest::newRow("light theme") << QApplication::style()->standardPalette();
    QTest::newRow("dark theme") << darkPalette();
}

void TestLayoutColumn::labelsReadOnTheBackground() {
    QFETCH(QPalette, palette);
    const QPalette before = QApplication::palette();
    QApplication::setPalette(palette);
    ScriptedDialogs dialogs;
    LayoutColumn column(dialogs);
    column.resize(column.sizeHint());
    column.setGroupsVisible(false); // only the background is painted
    const QImage shot = column.grab().toImage();
    const auto* label = column.findChild<QLabel*>(QStringLiteral("lblAdWidth"));
    QVERIFY(label);
    const int text = label->palette().color(label->foregroundRole()).lightness();
    const int title = column.controls().gbxPage->palette().color(QPalette::WindowText).lightness();
    QApplication::setPalette(before);

    for (const QPoint& point :
         {QPoint(2, 2), QPoint(2, shot.height() / 2), QPoint(2, shot.height() - 3)}) {
        const int background = shot.pixelColor(point).lightness();
        QVERIFY2(qAbs(background - text) >= 120,
                 qPrintable(QStringLiteral("background %1, labels %2 at y %3")
                                .arg(background)
                                .arg(text)
                                .arg(point.y())));
        QVERIFY(qAbs(background - title) >= 120);
    }
}

QTEST_MAIN(TestLayoutColumn)
#include "tst_layoutcolumn.moc"
