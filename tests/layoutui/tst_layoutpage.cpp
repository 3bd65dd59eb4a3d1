#include "layout/layout.h"
#include "layout/layoutdocument.h"
#include "layout/layoutfile.h"
#include "layoutui/colorcombo.h"
#include "layoutui/layoutcolumn.h"
#include "layoutui/layoutpage.h"
#include "supportui/scripteddialogs.h"
#include "ui/numberedit.h"
#include "ui/updown.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <memory>

using LayoutText = QString Layout::*;
using LayoutFlag = bool Layout::*;
Q_DECLARE_METATYPE(LayoutText)
Q_DECLARE_METATYPE(LayoutFlag)

namespace {

/// The page with its layout document; every capture of the page's preview
/// command is counted.
struct PageFixture {
    LayoutDocument document;
    const LayoutState& state = document.state();
    const Layout& layout = document.layout();
    ScriptedDialogs dialogs;
    LayoutPage page{document, dialogs};
    int captures = 0;

    PageFixture() {
        QObject::connect(&page, &LayoutPage::previewRequested, [this] { ++captures; });
        page.resize(1000, 720);
        page.show();
    }

    /// Fills the controls as a layout load does, without its final refresh.
    void show(const Layout& shown) {
        document.setLoadNeeded(true);
        LayoutFileContent content;
        content.layout = shown;
        content.TxtAllMargins = page.controls().cbxAllMargins->isChecked();
        page.showLayoutFile(content);
    }
    /// A whole load: the controls filled, then one refresh.
    void load(const Layout& loaded) {
        show(loaded);
        page.buttons().btnPreview->click();
    }
    template <typename Widget>
    Widget* find(const QString& name) const {
        auto* widget = page.findChild<Widget*>(name);
        if (!widget)
            qFatal("no control %s", qPrintable(name));
        return widget;
    }
    QString text(const QString& editName) const { return find<QLineEdit>(editName)->text(); }
};

void pickEntry(ColorCombo* combo, const QString& text) {
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    const QModelIndex index = view->model()->index(combo->findText(text), 0);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
}

/// Clicks a check box or radio button on its caption, as the user does.
void click(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}

void leave(QWidget* edit) {
    QFocusEvent focusOut(QEvent::FocusOut, Qt::MouseFocusReason);
    QCoreApplication::sendEvent(edit, &focusOut);
}

} // namespace

class TestLayoutPage : public QObject {
    Q_OBJECT

private slots:
    void init() { m_f = std::make_unique<PageFixture>(); }
    void cleanup() { m_f.reset(); }

    void controlsCarryNamesAndCaptions_data();
    void controlsCarryNamesAndCaptions();
    void controlsAreOutOfTabOrder();
    void controlsStartAsDesigned();
    void numberFieldsKeepTheirLimits_data();
    void numberFieldsKeepTheirLimits();
    void layoutOfOnlyTextSectionShowsDefaults();
    void fillingControlsCapturesNothing();
    void unknownBorderTypeKeepsSelection();
    void equalMarginsEndOnTheRightMargin_data();
    void equalMarginsEndOnTheRightMargin();
    void typingLinksEqualMargins();
    void captureWritesNumbersInDecimalForm_data();
    void captureWritesNumbersInDecimalForm();
    void enablingFollowsWidths_data();
    void enablingFollowsWidths();
    void pageWidthLimitsOnLeavingAndStepping();
    void pickedColourIsStoredAsText_data();
    void pickedColourIsStoredAsText();
    void malformedStoredColourShowsDefault();
    void widthRadiosSetTypeAndEnableWidth();
    void hideBoxesEnableRepeatBoxes();
    void nonNumberFailsTheRefresh();

private:
    std::unique_ptr<PageFixture> m_f;
};

void TestLayoutPage::controlsCarryNamesAndCaptions_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    const char* rows[][2] = {
        {"gbxPage", " Ad's Background, Width && Position "},
        {"radAdManual", "User def."},
        {"radAdFull", "Full width"},
        {"cbxAdCenter", "Screen Center"},
        {"btnAdImg", "Back image"},
        {"cbxAdCol", "Transparent"},
        {"cbxAdImg", "Hide image"},
        {"gbxOB", " Outer Border "},
        {"lblInfoOBWidth", "Double type requires a minimum width of 3"},
        {"gbxF", " Frame "},
        {"btnFrmImg", "Frame image"},
        {"cbxFrmCol", "Transparent"},
        {"cbxFRepeatX", "Repeat Horiz."},
        {"cbxFRepeatY", "Repeat Vert."},
        {"cbxFrmImg", "Hide image"},
        {"gbxIB", " Inner Border "},
        {"lblInfoIBWidth", "Double type requires a minimum width of 3"},
        {"gbxTA", " Text Area "},
        {"cbxAllMargins", "Equal Margins"},
        {"lblTxtMarginTop", "Top && Bott. Margins"},
        {"btnTxtImg", "Back image"},
        {"cbxTxtCol", "Transparent"},
        {"cbxTxtRepeatX", "Repeat Horiz."},
        {"cbxTxtRepeatY", "Repeat Vert."},
        {"cbxTxtImg", "Hide image"},
        {"btnNewLayout", "New Layout"},
        {"btnOpenLayout", "Open layout..."},
        {"btnSaveLayout", "Save layout"},
        {"btnSaveAs", "Save layout as..."},
        {"btnExport", "Publish now..."},
    };
    for (const auto& row : rows)
        QTest::newRow(row[0]) << QString::fromLatin1(row[0]) << QString::fromLatin1(row[1]);
}

void TestLayoutPage::controlsCarryNamesAndCaptions() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QObject* control = m_f->find<QWidget>(name);
    const char* property = qobject_cast<QGroupBox*>(control) ? "title" : "text";
    QCOMPARE(control->property(property).toString(), caption);
}

void TestLayoutPage::controlsAreOutOfTabOrder() {
    const QList<QWidget*> widgets = m_f->page.column()->findChildren<QWidget*>();
    QVERIFY(widgets.size() > 50);
    for (const QWidget* widget : widgets) {
        QVERIFY2(
            !(widget->focusPolicy() & Qt::TabFocus),
            qPrintable(widget->objectName() + QLatin1String(widget->metaObject()->className())));
    }
    QCOMPARE(m_f->page.column()->objectName(), QStringLiteral("pnlLeft"));
    QCOMPARE(m_f->page.buttonBar()->objectName(), QStringLiteral("pnlbuttons"));
    QCOMPARE(m_f->page.buttons().btnPreview->toolTip(), QStringLiteral("Instant Refresh"));
}

void TestLayoutPage::controlsStartAsDesigned() {
    const LayoutControls& c = m_f->page.controls();
    QCOMPARE(c.edtAdW->text(), QStringLiteral("100"));
    for (NumberEdit* edit :
         {c.edtOBW, c.edtFW, c.edtIBW, c.edtTxtMarginLeft, c.edtTxtMarginRight, c.edtTxtMarginTop})
        QCOMPARE(edit->text(), QStringLiteral("0"));
    QCOMPARE(c.cbxOBT->currentText(), QStringLiteral("solid"));
    QCOMPARE(c.cbxIBT->currentText(), QStringLiteral("solid"));
    QCOMPARE(c.cbxOBT->count(), 8);
    for (QCheckBox* box : m_f->page.column()->findChildren<QCheckBox*>())
        QCOMPARE(box->isChecked(), box != c.cbxAllMargins);
    QVERIFY(!c.radAdManual->isChecked());
    QVERIFY(!c.radAdFull->isChecked());
    for (ColorCombo* combo : {c.clrAd, c.clrOB, c.clrFrame, c.clrIB, c.clrTxt})
        QCOMPARE(combo->currentText(), QStringLiteral("Default color"));
    QVERIFY(!m_f->state.LayoutControlsReady);
    QVERIFY(!m_f->state.LayoutModified);
    // Its picture is looked up once the page is seen.
    QVERIFY(!m_f->page.buttons().btnPreview->icon().isNull());
}

void TestLayoutPage::numberFieldsKeepTheirLimits_data() {
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("upDown");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");

    QTest::newRow("page width") << "edtAdW"
                                << "UpDown5"
                                << "123" << 10 << 999;
    QTest::newRow("outer border") << "edtOBW"
                                  << "UpDown1"
                                  << "12" << 0 << 99;
    QTest::newRow("frame") << "edtFW"
                           << "UpDown2"
                           << "12" << 0 << 99;
    QTest::newRow("inner border") << "edtIBW"
                                  << "UpDown3"
                                  << "12" << 0 << 99;
    QTest::newRow("left margin") << "edtTxtMarginLeft"
                                 << "UpDown7"
                                 << "123" << 0 << 200;
    QTest::newRow("right margin") << "edtTxtMarginRight"
                                  << "UpDown6"
                                  << "123" << 0 << 200;
    QTest::newRow("top margin") << "edtTxtMarginTop"
                                << "UpDown4"
                                << "123" << 0 << 200;
}

void TestLayoutPage::numberFieldsKeepTheirLimits() {
    QFETCH(QString, edit);
    QFETCH(QString, upDown);
    QFETCH(QString, typed);
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    auto* field = m_f->find<NumberEdit>(edit);
    field->clear();

    // Letters are discarded, digits stop at the field's length.
    QTest::keyClicks(field, QStringLiteral("1a2b3c4"));
    QCOMPARE(field->text(), typed);
    QVERIFY(m_f->state.LayoutModified);
    QTest::keyClick(field, Qt::Key_Home);
    // Some platforms give Delete a character of its own.
    QKeyEvent deleteKey(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier, QStringLiteral("\x7f"));
    QCoreApplication::sendEvent(field, &deleteKey);
    QTest::keyClick(field, Qt::Key_End);
    QTest::keyClick(field, Qt::Key_Backspace);
    QCOMPARE(field->text(), typed.mid(1, typed.size() - 2));

    const auto* arrows = m_f->find<UpDown>(upDown);
    QCOMPARE(arrows->minimum(), minimum);
    QCOMPARE(arrows->maximum(), maximum);
}

void TestLayoutPage::layoutOfOnlyTextSectionShowsDefaults() {
    Layout onlyText = Layout::withDefaults();
    onlyText.TxtPadLeft = onlyText.TxtPadRight = onlyText.TxtPadTop = QStringLiteral("8");
    onlyText.TxtCol = QStringLiteral("#333333");

    m_f->load(onlyText);

    const LayoutControls& c = m_f->page.controls();
    QVERIFY(m_f->state.LayoutControlsReady);
    QVERIFY(!m_f->state.LayoutLoadNeeded);
    QVERIFY(!m_f->state.LayoutModified);
    QCOMPARE(m_f->captures, 1); // filling the controls captured nothing
    QCOMPARE(c.edtAdW->text(), QStringLiteral("690"));
    QVERIFY(c.radAdFull->isChecked());
    QVERIFY(!c.edtAdW->isEnabled());
    QVERIFY(!c.UpDown5->isEnabled());
    for (ColorCombo* combo : {c.clrAd, c.clrFrame, c.clrTxt})
        QCOMPARE(combo->color(), QColor(Qt::white));
    QVERIFY(!c.cbxTxtCol->isChecked());
    QCOMPARE(m_f->layout, onlyText);
}

void TestLayoutPage::fillingControlsCapturesNothing() {
    m_f->load(Layout::withDefaults());
    const int before = m_f->captures;
    Layout other = Layout::withDefaults();
    other.AdCenter = other.FImgRepX = other.TxtRepeatY = false;
    other.FWidth = QStringLiteral("05");

    // Check boxes refresh even while loading; the half-filled controls
    // must not be captured.
    m_f->show(other);
    QCOMPARE(m_f->captures, before);
    QCOMPARE(m_f->text(QStringLiteral("edtFW")), QStringLiteral("05"));
    m_f->page.buttons().btnPreview->click();
    QCOMPARE(m_f->captures, before + 1);
    other.FWidth = QStringLiteral("5");
    QCOMPARE(m_f->layout, other);

    // One change, one refresh, although the capture rewrites the field.
    m_f->page.controls().edtFW->setText(QStringLiteral("07"));
    QCOMPARE(m_f->captures, before + 2);
    QCOMPARE(m_f->layout.FWidth, QStringLiteral("7"));
}

void TestLayoutPage::unknownBorderTypeKeepsSelection() {
    Layout layout = Layout::withDefaults();
    layout.OBWidth = QStringLiteral("2");
    layout.OBType = QStringLiteral("dashed");
    m_f->load(layout);

    layout.OBType = QStringLiteral("Dotted");
    m_f->load(layout);

    QCOMPARE(m_f->page.controls().cbxOBT->currentText(), QStringLiteral("dashed"));
    QCOMPARE(m_f->layout.OBType, QStringLiteral("dashed"));
}

void TestLayoutPage::equalMarginsEndOnTheRightMargin_data() {
    QTest::addColumn<bool>("equal");
    QTest::addColumn<QStringList>("shown"); // top, left, right

    QTest::newRow("nominal: equal margins") << true << QStringList{"20", "20", "20"};
    QTest::newRow("nominal: separate margins") << false << QStringList{"5", "10", "20"};
}

void TestLayoutPage::equalMarginsEndOnTheRightMargin() {
    QFETCH(bool, equal);
    QFETCH(QStringList, shown);
    Layout layout = Layout::withDefaults();
    layout.TxtPadTop = QStringLiteral("5");
    layout.TxtPadLeft = QStringLiteral("10");
    layout.TxtPadRight = QStringLiteral("20");
    // A layout file puts its margin setting straight into the box.
    m_f->page.controls().cbxAllMargins->setChecked(equal);

    m_f->load(layout);

    QCOMPARE((QStringList{m_f->text("edtTxtMarginTop"), m_f->text("edtTxtMarginLeft"),
                          m_f->text("edtTxtMarginRight")}),
             shown);
    QCOMPARE((QStringList{m_f->layout.TxtPadTop, m_f->layout.TxtPadLeft, m_f->layout.TxtPadRight}),
             shown);
}

void TestLayoutPage::typingLinksEqualMargins() {
    m_f->load(Layout::withDefaults());
    const LayoutControls& c = m_f->page.controls();
    c.edtTxtMarginLeft->setText(QStringLiteral("4"));
    QCOMPARE(c.edtTxtMarginTop->text(), QStringLiteral("0"));

    click(c.cbxAllMargins);
    QCOMPARE(c.edtTxtMarginTop->text(), QStringLiteral("4"));
    QCOMPARE(c.edtTxtMarginRight->text(), QStringLiteral("4"));

    c.edtTxtMarginTop->clear();
    QTest::keyClicks(c.edtTxtMarginTop, QStringLiteral("12"));
    QCOMPARE(c.edtTxtMarginLeft->text(), QStringLiteral("12"));
    QCOMPARE(c.edtTxtMarginRight->text(), QStringLiteral("12"));
    QCOMPARE(m_f->layout.TxtPadRight, QStringLiteral("12"));

    // Unchecking leaves the margins as they are and unlinks them.
    click(c.cbxAllMargins);
    c.edtTxtMarginTop->setText(QStringLiteral("3"));
    QCOMPARE(c.edtTxtMarginLeft->text(), QStringLiteral("12"));
}

void TestLayoutPage::captureWritesNumbersInDecimalForm_data() {
    QTest::addColumn<LayoutText>("field");
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("captured");

    QTest::newRow("nominal: page width 0075") << &Layout::AdWidthValue << "edtAdW"
                                              << "0075"
                                              << "75";
    QTest::newRow("robustness: empty page width") << &Layout::AdWidthValue << "edtAdW"
                                                  << ""
                                                  << "700";
    QTest::newRow("robustness: outer border 00") << &Layout::OBWidth << "edtOBW"
                                                 << "00"
                                                 << "0";
    QTest::newRow("robustness: empty outer border") << &Layout::OBWidth << "edtOBW"
                                                    << ""
                                                    << "0";
    QTest::newRow("robustness: negative outer border") << &Layout::OBWidth << "edtOBW"
                                                       << "-4"
                                                       << "0";
    QTest::newRow("nominal: frame 05") << &Layout::FWidth << "edtFW"
                                       << "05"
                                       << "5";
    QTest::newRow("robustness: empty inner border") << &Layout::FBWidth << "edtIBW"
                                                    << ""
                                                    << "0";
    QTest::newRow("nominal: inner border 07") << &Layout::FBWidth << "edtIBW"
                                              << "07"
                                              << "7";
    QTest::newRow("nominal: left margin 010") << &Layout::TxtPadLeft << "edtTxtMarginLeft"
                                              << "010"
                                              << "10";
    QTest::newRow("nominal: top margin 0") << &Layout::TxtPadTop << "edtTxtMarginTop"
                                           << "0"
                                           << "0";
    QTest::newRow("nominal: right margin 007") << &Layout::TxtPadRight << "edtTxtMarginRight"
                                               << "007"
                                               << "7";
}

void TestLayoutPage::captureWritesNumbersInDecimalForm() {
    QFETCH(LayoutText, field);
    QFETCH(QString, edit);
    QFETCH(QString, stored);
    QFETCH(QString, captured);
    Layout layout = Layout::withDefaults();
    layout.AdWidthType = QStringLiteral("0");
    layout.*field = stored;

    m_f->show(layout);
    QCOMPARE(m_f->text(edit), stored); // shown as stored
    m_f->page.buttons().btnPreview->click();

    QCOMPARE(m_f->text(edit), captured);
    QCOMPARE(m_f->layout.*field, captured);
    QVERIFY(m_f->dialogs.shown.isEmpty());
}

void TestLayoutPage::enablingFollowsWidths_data() {
    QTest::addColumn<QString>("outer");
    QTest::addColumn<QString>("frame");
    QTest::addColumn<QString>("inner");
    QTest::addColumn<bool>("frameImageHidden");
    QTest::addColumn<bool>("outerEnabled");
    QTest::addColumn<bool>("frameEnabled");
    QTest::addColumn<bool>("repeatEnabled");
    QTest::addColumn<bool>("innerEnabled");

    QTest::newRow("nominal: no borders, no frame")
        << "0"
        << "0"
        << "0" << false << false << false << false << false;
    QTest::newRow("robustness: widths written 00")
        << "00"
        << "00"
        << "00" << false << false << false << false << false;
    QTest::newRow("nominal: all present, frame picture used")
        << "1"
        << "8"
        << "2" << false << true << true << true << true;
    QTest::newRow("nominal: frame picture hidden") << "1"
                                                   << "8"
                                                   << "2" << true << true << true << false << true;
}

void TestLayoutPage::enablingFollowsWidths() {
    QFETCH(QString, outer);
    QFETCH(QString, frame);
    QFETCH(QString, inner);
    QFETCH(bool, frameImageHidden);
    QFETCH(bool, outerEnabled);
    QFETCH(bool, frameEnabled);
    QFETCH(bool, repeatEnabled);
    QFETCH(bool, innerEnabled);
    Layout layout = Layout::withDefaults();
    layout.OBWidth = outer;
    layout.FWidth = frame;
    layout.FBWidth = inner;
    layout.FImgHide = frameImageHidden;

    m_f->load(layout);

    const LayoutControls& c = m_f->page.controls();
    QCOMPARE(c.clrOB->isEnabled(), outerEnabled);
    QCOMPARE(c.cbxOBT->isEnabled(), outerEnabled);
    for (QWidget* control :
         std::initializer_list<QWidget*>{c.btnFrmImg, c.cbxFrmCol, c.cbxFrmImg, c.clrFrame})
        QCOMPARE(control->isEnabled(), frameEnabled);
    QCOMPARE(c.cbxFRepeatX->isEnabled(), repeatEnabled);
    QCOMPARE(c.cbxFRepeatY->isEnabled(), repeatEnabled);
    QCOMPARE(c.clrIB->isEnabled(), innerEnabled);
    QCOMPARE(c.cbxIBT->isEnabled(), innerEnabled);
}

void TestLayoutPage::pageWidthLimitsOnLeavingAndStepping() {
    Layout layout = Layout::withDefaults();
    layout.AdWidthType = QStringLiteral("0");
    layout.AdWidthValue = QStringLiteral("0075");
    m_f->load(layout);
    QCOMPARE(m_f->layout.AdWidthValue, QStringLiteral("75"));
    const LayoutControls& c = m_f->page.controls();

    leave(c.edtAdW);
    QCOMPARE(c.edtAdW->text(), QStringLiteral("200"));
    QCOMPARE(m_f->layout.AdWidthValue, QStringLiteral("200"));

    // Until its first use the arrows step from 10; from then on from 200.
    c.edtAdW->setText(QStringLiteral("150"));
    QCOMPARE(c.UpDown5->minimum(), 10);
    c.UpDown5->step(-1);
    QCOMPARE(c.UpDown5->minimum(), 200);
    QCOMPARE(c.edtAdW->text(), QStringLiteral("200"));
    c.UpDown5->step(1);
    QCOMPARE(m_f->layout.AdWidthValue, QStringLiteral("201"));
    QVERIFY(m_f->state.LayoutModified);

    // The other fields only refill an empty field.
    c.edtOBW->clear();
    leave(c.edtOBW);
    QCOMPARE(c.edtOBW->text(), QStringLiteral("0"));
}

void TestLayoutPage::pickedColourIsStoredAsText_data() {
    QTest::addColumn<QString>("combo");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<LayoutText>("field");
    QTest::addColumn<LayoutFlag>("transparent");
    QTest::addColumn<QString>("stored");

    QTest::newRow("nominal: default colour for the outer border")
        << "clrOB"
        << "Default color" << &Layout::OBColor << LayoutFlag() << "#FFFFFF";
    QTest::newRow("nominal: inner border")
        << "clrIB"
        << "Maroon" << &Layout::FBCol << LayoutFlag() << "#800000";
    QTest::newRow("nominal: page from the colour dialog")
        << "clrAd"
        << "Custom..." << &Layout::AdBackCol << &Layout::AdHideCol << "#12AB34";
    QTest::newRow("nominal: frame") << "clrFrame"
                                    << "Red" << &Layout::FBgCol << &Layout::FBgHideCol << "#FF0000";
    QTest::newRow("nominal: text area")
        << "clrTxt"
        << "Navy" << &Layout::TxtBgCol << &Layout::TxtHideCol << "#000080";
}

void TestLayoutPage::pickedColourIsStoredAsText() {
    QFETCH(QString, combo);
    QFETCH(QString, entry);
    QFETCH(LayoutText, field);
    QFETCH(LayoutFlag, transparent);
    QFETCH(QString, stored);
    Layout layout = Layout::withDefaults();
    layout.OBColor = layout.FBCol = QStringLiteral("#123456");
    layout.TxtHideCol = true;
    m_f->load(layout);
    m_f->dialogs.colors.enqueue(QColor(0x12, 0xAB, 0x34));
    const int before = m_f->captures;

    pickEntry(m_f->find<ColorCombo>(combo), entry);

    QCOMPARE(m_f->layout.*field, stored);
    if (transparent)
        QCOMPARE(m_f->layout.*transparent, false);
    QVERIFY(m_f->state.LayoutModified);
    QVERIFY(m_f->captures > before);
}

void TestLayoutPage::malformedStoredColourShowsDefault() {
    Layout layout = Layout::withDefaults();
    layout.OBColor = QStringLiteral("#12G456");
    layout.TxtBgCol = QStringLiteral("red");
    layout.TxtRepeatY = false;

    m_f->load(layout);

    const LayoutControls& c = m_f->page.controls();
    QVERIFY(m_f->state.LayoutControlsReady);
    QCOMPARE(c.clrOB->currentText(), QStringLiteral("Default color"));
    QCOMPARE(c.clrTxt->currentText(), QStringLiteral("Default color"));
    QVERIFY(!c.cbxTxtRepeatY->isChecked()); // the last steps ran too
    QCOMPARE(m_f->layout.OBColor, QStringLiteral("#12G456"));
    QCOMPARE(m_f->layout.TxtBgCol, QStringLiteral("red"));
}

void TestLayoutPage::widthRadiosSetTypeAndEnableWidth() {
    m_f->load(Layout::withDefaults());
    const LayoutControls& c = m_f->page.controls();
    const int before = m_f->captures;

    click(c.radAdManual);
    QVERIFY(c.edtAdW->isEnabled());
    QVERIFY(c.UpDown5->isEnabled());
    QCOMPARE(m_f->layout.AdWidthType, QStringLiteral("0"));
    QVERIFY(m_f->state.LayoutModified);
    QCOMPARE(m_f->captures, before + 1);

    click(c.radAdFull);
    QVERIFY(!c.edtAdW->isEnabled());
    QCOMPARE(m_f->layout.AdWidthType, QStringLiteral("1"));

    // A stored type other than "1" means a width of its own.
    Layout odd = Layout::withDefaults();
    odd.AdWidthType = QStringLiteral("2");
    m_f->load(odd);
    QVERIFY(c.radAdManual->isChecked());
    QCOMPARE(m_f->layout.AdWidthType, QStringLiteral("0"));
}

void TestLayoutPage::hideBoxesEnableRepeatBoxes() {
    Layout layout = Layout::withDefaults();
    layout.FWidth = QStringLiteral("6");
    m_f->load(layout);
    const LayoutControls& c = m_f->page.controls();
    QVERIFY(!c.cbxFRepeatX->isEnabled());
    QVERIFY(!c.cbxTxtRepeatY->isEnabled());

    click(c.cbxFrmImg);
    click(c.cbxTxtImg);

    QVERIFY(c.cbxFRepeatX->isEnabled() && c.cbxFRepeatY->isEnabled());
    QVERIFY(c.cbxTxtRepeatX->isEnabled() && c.cbxTxtRepeatY->isEnabled());
    QVERIFY(!m_f->layout.FImgHide);
    QVERIFY(!m_f->layout.TxtImgHide);
    QVERIFY(m_f->state.LayoutModified);

    click(c.cbxFRepeatY);
    QVERIFY(!m_f->layout.FImgRepY); // stored by the refresh it runs
}

void TestLayoutPage::nonNumberFailsTheRefresh() {
    m_f->load(Layout::withDefaults());
    const LayoutControls& c = m_f->page.controls();
    c.cbxAdImg->setChecked(false);
    m_f->document.setLoadNeeded(true); // so only the failing refresh below captures
    c.cbxAdImg->setChecked(true);
    m_f->document.setLoadNeeded(false);

    // Pasted text reaches the field without the key filter.
    c.edtOBW->setText(QStringLiteral("1a"));
    QCOMPARE(m_f->dialogs.shown, QStringList{"beep: "});
    QVERIFY(m_f->layout.AdImgHide); // captured before the failing field
    QCOMPARE(m_f->layout.OBWidth, QStringLiteral("0"));

    m_f->page.buttons().btnPreview->click();
    QCOMPARE(m_f->dialogs.shownOf(QStringLiteral("error")),
             QStringList{"'1a' is not a valid integer value"});
}

QTEST_MAIN(TestLayoutPage)
#include "tst_layoutpage.moc"
