#include "layoutui/colorcombo.h"
#include "supportui/scripteddialogs.h"

#include <QAbstractItemView>
#include <QPaintEngine>
#include <QSignalSpy>
#include <QTest>

namespace {

/// Opens the list and clicks the entry, as the user does.
void pickEntry(ColorCombo& combo, const QString& text) {
    const int index = combo.findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    combo.showPopup();
    QAbstractItemView* view = combo.view();
    QTRY_VERIFY(view->isVisible());
    const QRect item = view->visualRect(view->model()->index(index, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
    QTRY_VERIFY(!view->isVisible());
}

/// A paint device that keeps the texts drawn on it, as they are drawn:
/// shortened with "…" when they did not fit.
class TextRecorder : public QPaintDevice {
public:
    explicit TextRecorder(QSize size)
        : m_size(size) {}
    QPaintEngine* paintEngine() const override { return &m_engine; }
    const QStringList& texts() const { return m_engine.texts; }

protected:
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
        case PdmWidth:
            return m_size.width();
        case PdmHeight:
            return m_size.height();
        case PdmDepth:
            return 32;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 96;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        default:
            return 1;
        }
    }

private:
    struct Engine : QPaintEngine {
        QStringList texts;
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState&) override {}
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawTextItem(const QPointF&, const QTextItem& item) override {
            texts.append(item.text());
        }
        void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
        Type type() const override { return User; }
    };
    QSize m_size;
    mutable Engine m_engine;
};

QColor pickedColor(const QSignalSpy& spy) {
    return spy.isEmpty() ? QColor(Qt::transparent) : spy.last().at(0).value<QColor>();
}

} // namespace

class TestColorCombo : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void settingByProgramIsSilent();
    void userPicksOneSignal_data();
    void userPicksOneSignal();
    void dialogEntryCancelledKeepsColor();
    void listShowsTheLongestEntryWhole_data();
    void listShowsTheLongestEntryWhole();

private:
    ScriptedDialogs* m_dialogs = nullptr;
    ColorCombo* m_combo = nullptr;
};

void TestColorCombo::init() {
    m_dialogs = new ScriptedDialogs;
    m_combo = new ColorCombo(*m_dialogs);
    m_combo->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_combo));
}

void TestColorCombo::cleanup() {
    delete m_combo;
    delete m_dialogs;
}

void TestColorCombo::settingByProgramIsSilent() {
    QSignalSpy picked(m_combo, &ColorCombo::colorPicked);
    QCOMPARE(m_combo->currentText(), QStringLiteral("Default color"));
    QVERIFY(!m_combo->color().isValid());

    m_combo->setColor(QColor(255, 0, 0));
    QCOMPARE(m_combo->currentText(), QStringLiteral("Red"));
    m_combo->setColor(QColor(0x12, 0x34, 0x56));
    QCOMPARE(m_combo->currentText(), QStringLiteral("#123456"));
    m_combo->setColor(QColor(0x65, 0x43, 0x21));
    QCOMPARE(m_combo->currentText(), QStringLiteral("#654321"));
    QCOMPARE(m_combo->findText(QStringLiteral("#123456")), -1); // one slot for other colours
    m_combo->setColor(QColor());
    QCOMPARE(m_combo->currentText(), QStringLiteral("Default color"));

    QCOMPARE(picked.count(), 0);
    QVERIFY(m_dialogs->shown.isEmpty());
}

void TestColorCombo::userPicksOneSignal_data() {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QColor>("color");
    QTest::addColumn<QString>("shown");

    QTest::newRow("nominal: common colour") << "Navy" << QColor(0, 0, 128) << "Navy";
    QTest::newRow("nominal: automatic entry") << "Default color" << QColor() << "Default color";
    QTest::newRow("nominal: colour dialog") << "Custom..." << QColor(0x12, 0xAB, 0x34) << "#12AB34";
}

void TestColorCombo::userPicksOneSignal() {
    QFETCH(QString, entry);
    QFETCH(QColor, color);
    QFETCH(QString, shown);
    m_combo->setColor(QColor(255, 255, 0));
    m_dialogs->colors.enqueue(QColor(0x12, 0xAB, 0x34));
    QSignalSpy picked(m_combo, &ColorCombo::colorPicked);

    pickEntry(*m_combo, entry);

    QCOMPARE(picked.count(), 1);
    QCOMPARE(pickedColor(picked), color);
    QCOMPARE(m_combo->color(), color);
    QCOMPARE(m_combo->currentText(), shown);
}

void TestColorCombo::dialogEntryCancelledKeepsColor() {
    m_combo->setColor(QColor(0x12, 0x34, 0x56));
    QSignalSpy picked(m_combo, &ColorCombo::colorPicked);

    pickEntry(*m_combo, QStringLiteral("Custom..."));

    QCOMPARE(m_dialogs->shownOf(QStringLiteral("color")), QStringList{"#123456"});
    QCOMPARE(picked.count(), 0);
    QCOMPARE(m_combo->color(), QColor(0x12, 0x34, 0x56));
    QCOMPARE(m_combo->currentText(), QStringLiteral("#123456"));
}

void TestColorCombo::listShowsTheLongestEntryWhole_data() {
    QTest::addColumn<QString>("automatic");

    QTest::newRow("nominal: the English entries") << QString();
    // The language file names the entries after the box is made.
    QTest::newRow("nominal: a longer name from the language file")
        << QStringLiteral("Couleur par défaut du modèle");
}

void TestColorCombo::listShowsTheLongestEntryWhole() {
    QFETCH(QString, automatic);
    if (!automatic.isEmpty())
        m_combo->setItemText(0, automatic);
    m_combo->setColor(QColor(0x12, 0x34, 0x56)); // the slot of other colours too
    // As narrow as in the Layout page's column.
    m_combo->setFixedWidth(100);

    m_combo->showPopup();
    QAbstractItemView* view = m_combo->view();
    QTRY_VERIFY(view->isVisible());
    QWidget* list = view->viewport();
    TextRecorder drawn(list->size());
    list->render(&drawn);
    m_combo->hidePopup();
    QStringList entries;
    for (int i = 0; i < m_combo->count(); ++i)
        entries.append(m_combo->itemText(i));
    QCOMPARE(drawn.texts(), entries);
}

QTEST_MAIN(TestColorCombo)
#include "tst_colorcombo.moc"
