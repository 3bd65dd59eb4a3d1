#include "layoutui/layoutcolumn.h"

#include "layout/layout.h"
#include "layoutui/colorcombo.h"
#include "platform/uilanguage.h"
#include "ui/numberedit.h"
#include "ui/updown.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

constexpr int columnWidth = 265;
const QString infoDoubleWidth = QStringLiteral("Double type requires a minimum width of 3");

template <typename Widget>
Widget* named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// The column's controls are reached with the mouse only: no Tab stops.
template <typename Widget>
Widget* control(Widget* widget, const char* name) {
    widget->setFocusPolicy(Qt::ClickFocus);
    return named(widget, name);
}

QCheckBox* checkBox(QWidget* parent, const char* name, const QString& caption, bool checked) {
    auto* box = control(new QCheckBox(caption, parent), name);
    box->setChecked(checked);
    return box;
}

QPushButton* pictureButton(QWidget* parent, const char* name, const QString& caption) {
    return control(new QPushButton(caption, parent), name);
}

QLabel* label(QWidget* parent, const char* name, const QString& caption) {
    return named(new QLabel(caption, parent), name);
}

QLabel* infoLabel(QWidget* parent, const char* name) {
    QLabel* info = label(parent, name, infoDoubleWidth);
    info->setWordWrap(true);
    QFont small = info->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    info->setFont(small);
    return info;
}

QComboBox* borderList(QWidget* parent, const char* name) {
    auto* list = control(new QComboBox(parent), name);
    // The shown names may be translated; the type itself is the item's data.
    for (const QString& type : borderTypes())
        list->addItem(type, type);
    list->setProperty("translatableItems", true);
    return list;
}

/// An edit with its up-down to the right, as one cell of a grid.
QWidget* numberField(QWidget* parent, NumberEdit*& edit, const char* editName, int maxDigits,
                     const QString& text, UpDown*& upDown, const char* upDownName, int minimum,
                     int maximum) {
    auto* field = new QWidget(parent);
    auto* row = new QHBoxLayout(field);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    edit = control(new NumberEdit(maxDigits, field), editName);
    edit->setText(text);
    edit->setFixedWidth(40);
    upDown = named(new UpDown(edit, minimum, maximum, field), upDownName);
    upDown->setFixedHeight(edit->sizeHint().height());
    row->addWidget(edit);
    row->addWidget(upDown);
    row->addStretch();
    return field;
}

/// A caption followed by its field, as one cell of a grid.
QHBoxLayout* labelled(QLabel* caption, QWidget* field) {
    auto* row = new QHBoxLayout;
    row->setSpacing(4);
    row->addWidget(caption);
    row->addWidget(field, 1);
    return row;
}

/// The "Width" caption and field that open each group box.
void addWidthRow(QGridLayout* grid, QWidget* group, const char* labelName, QWidget* field) {
    grid->addLayout(labelled(label(group, labelName, QStringLiteral("Width")), field), 0, 0);
}

/// `a` moved by `share` (0 to 1) towards `b`.
QColor blend(const QColor& a, const QColor& b, qreal share) {
    const auto mix = [share](qreal from, qreal to) { return from + (to - from) * share; };
    return QColor::fromRgbF(float(mix(a.redF(), b.redF())), float(mix(a.greenF(), b.greenF())),
                            float(mix(a.blueF(), b.blueF())));
}

} // namespace

QLinearGradient LayoutColumn::columnGradient(const QPalette& palette, int height) {
    // The window colour tinted with the selection colour at the top, fading
    // to the plain window colour: the labels, drawn in the window's text
    // colour, read on it in light and dark themes alike.
    const QColor window = palette.color(QPalette::Window);
    const QColor tint = palette.color(QPalette::Highlight);
    QLinearGradient gradient(0, 0, 0, height);
    gradient.setColorAt(0, blend(window, tint, 0.15));
    gradient.setColorAt(1, blend(window, tint, 0.04));
    return gradient;
}

LayoutColumn::LayoutColumn(UserDialogs& dialogs, QWidget* parent)
    : QWidget(parent)
    , m_dialogs(dialogs) {
    setObjectName(QStringLiteral("pnlLeft"));
    setFixedWidth(columnWidth);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(6, 6, 6, 6);
    column->setSpacing(6);
    buildPageGroup();
    LayoutControls& c = m_controls;
    c.gbxOB = buildBorderGroup({"gbxOB", " Outer Border ", "lblOBWidth", "edtOBW", "UpDown1",
                                "lblOBType", "cbxOBT", "clrOB", "lblInfoOBWidth"},
                               c.edtOBW, c.UpDown1, c.cbxOBT, c.clrOB);
    buildFrameGroup();
    c.gbxIB = buildBorderGroup({"gbxIB", " Inner Border ", "lblIBWidth", "edtIBW", "UpDown3",
                                "lblIBType", "cbxIBT", "clrIB", "lblInfoIBWidth"},
                               c.edtIBW, c.UpDown3, c.cbxIBT, c.clrIB);
    buildTextAreaGroup();
    for (QGroupBox* group : {m_controls.gbxPage, m_controls.gbxOB, m_controls.gbxF,
                             m_controls.gbxIB, m_controls.gbxTA})
        column->addWidget(group);
    column->addStretch();
}

void LayoutColumn::setGroupsVisible(bool visible) {
    for (QGroupBox* group : {m_controls.gbxPage, m_controls.gbxOB, m_controls.gbxF,
                             m_controls.gbxIB, m_controls.gbxTA})
        group->setVisible(visible);
    update();
}

void LayoutColumn::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), columnGradient(palette(), height()));
    if (groupsHidden())
        painter.drawText(
            rect(), Qt::AlignCenter,
            uilanguage::text("MESSAGES", "oneMoment", QStringLiteral("One moment please...")));
}

bool LayoutColumn::groupsHidden() const {
    return m_controls.gbxPage->isHidden() && m_controls.gbxOB->isHidden() &&
           m_controls.gbxF->isHidden() && m_controls.gbxIB->isHidden() &&
           m_controls.gbxTA->isHidden();
}

QGroupBox* LayoutColumn::makeGroup(const char* name, const QString& title, QGridLayout*& grid) {
    auto* group = named(new QGroupBox(title, this), name);
    grid = new QGridLayout(group);
    grid->setContentsMargins(6, 4, 6, 6);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(3);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    return group;
}

void LayoutColumn::buildPageGroup() {
    LayoutControls& c = m_controls;
    QGridLayout* grid = nullptr;
    c.gbxPage = makeGroup("gbxPage", QStringLiteral(" Ad's Background, Width && Position "), grid);
    QWidget* group = c.gbxPage;

    addWidthRow(grid, group, "lblAdWidth",
                numberField(group, c.edtAdW, "edtAdW", 3, QStringLiteral("100"), c.UpDown5,
                            "UpDown5", 10, 999));
    c.radAdManual = control(new QRadioButton(QStringLiteral("User def."), group), "radAdManual");
    c.radAdFull = control(new QRadioButton(QStringLiteral("Full width"), group), "radAdFull");
    grid->addWidget(c.radAdManual, 0, 1);
    c.cbxAdCenter = checkBox(group, "cbxAdCenter", QStringLiteral("Screen Center"), true);
    grid->addWidget(c.cbxAdCenter, 1, 0);
    grid->addWidget(c.radAdFull, 1, 1);
    c.clrAd = control(new ColorCombo(m_dialogs, group), "clrAd");
    c.btnAdImg = pictureButton(group, "btnAdImg", QStringLiteral("Back image"));
    grid->addWidget(c.clrAd, 2, 0);
    grid->addWidget(c.btnAdImg, 2, 1);
    c.cbxAdCol = checkBox(group, "cbxAdCol", QStringLiteral("Transparent"), true);
    c.cbxAdImg = checkBox(group, "cbxAdImg", QStringLiteral("Hide image"), true);
    grid->addWidget(c.cbxAdCol, 3, 0);
    grid->addWidget(c.cbxAdImg, 3, 1);
}

QGroupBox* LayoutColumn::buildBorderGroup(const BorderNames& names, NumberEdit*& width,
                                          UpDown*& upDown, QComboBox*& type, ColorCombo*& color) {
    QGridLayout* grid = nullptr;
    QGroupBox* group = makeGroup(names.group, QString::fromLatin1(names.title), grid);
    addWidthRow(grid, group, names.widthLabel,
                numberField(group, width, names.width, 2, QStringLiteral("0"), upDown, names.upDown,
                            0, 99));
    type = borderList(group, names.type);
    grid->addLayout(labelled(label(group, names.typeLabel, QStringLiteral("Type")), type), 0, 1);
    color = control(new ColorCombo(m_dialogs, group), names.color);
    grid->addWidget(color, 1, 0);
    grid->addWidget(infoLabel(group, names.info), 2, 0, 1, 2);
    return group;
}

void LayoutColumn::buildFrameGroup() {
    LayoutControls& c = m_controls;
    QGridLayout* grid = nullptr;
    c.gbxF = makeGroup("gbxF", QStringLiteral(" Frame "), grid);
    QWidget* group = c.gbxF;

    addWidthRow(
        grid, group, "lblFWidth",
        numberField(group, c.edtFW, "edtFW", 2, QStringLiteral("0"), c.UpDown2, "UpDown2", 0, 99));
    c.btnFrmImg = pictureButton(group, "btnFrmImg", QStringLiteral("Frame image"));
    grid->addWidget(c.btnFrmImg, 0, 1);
    c.clrFrame = control(new ColorCombo(m_dialogs, group), "clrFrame");
    c.cbxFrmImg = checkBox(group, "cbxFrmImg", QStringLiteral("Hide image"), true);
    grid->addWidget(c.clrFrame, 1, 0);
    grid->addWidget(c.cbxFrmImg, 1, 1);
    c.cbxFrmCol = checkBox(group, "cbxFrmCol", QStringLiteral("Transparent"), true);
    grid->addWidget(c.cbxFrmCol, 2, 0);
    c.cbxFRepeatX = checkBox(group, "cbxFRepeatX", QStringLiteral("Repeat Horiz."), true);
    c.cbxFRepeatY = checkBox(group, "cbxFRepeatY", QStringLiteral("Repeat Vert."), true);
    grid->addWidget(c.cbxFRepeatX, 3, 0);
    grid->addWidget(c.cbxFRepeatY, 3, 1);
}

void LayoutColumn::buildTextAreaGroup() {
    LayoutControls& c = m_controls;
    QGridLayout* grid = nullptr;
    c.gbxTA = makeGroup("gbxTA", QStringLiteral(" Text Area "), grid);
    QWidget* group = c.gbxTA;

    c.cbxAllMargins = checkBox(group, "cbxAllMargins", QStringLiteral("Equal Margins"), false);
    grid->addWidget(c.cbxAllMargins, 0, 0, 1, 2);
    grid->addWidget(label(group, "lblTxtMarginLeft", QStringLiteral("Marge Gauche")), 1, 0);
    grid->addWidget(label(group, "lblTxTMarginRight", QStringLiteral("Marge Droite")), 1, 1);
    grid->addWidget(numberField(group, c.edtTxtMarginLeft, "edtTxtMarginLeft", 3,
                                QStringLiteral("0"), c.UpDown7, "UpDown7", 0, 200),
                    2, 0);
    grid->addWidget(numberField(group, c.edtTxtMarginRight, "edtTxtMarginRight", 3,
                                QStringLiteral("0"), c.UpDown6, "UpDown6", 0, 200),
                    2, 1);
    QLabel* topLabel = label(group, "lblTxtMarginTop", QStringLiteral("Top && Bott. Margins"));
    grid->addLayout(
        labelled(topLabel, numberField(group, c.edtTxtMarginTop, "edtTxtMarginTop", 3,
                                       QStringLiteral("0"), c.UpDown4, "UpDown4", 0, 200)),
        3, 0, 1, 2);
    // With a buddy, "&&" shows as one "&".
    topLabel->setBuddy(c.edtTxtMarginTop);
    c.clrTxt = control(new ColorCombo(m_dialogs, group), "clrTxt");
    c.btnTxtImg = pictureButton(group, "btnTxtImg", QStringLiteral("Back image"));
    grid->addWidget(c.clrTxt, 4, 0);
    grid->addWidget(c.btnTxtImg, 4, 1);
    c.cbxTxtCol = checkBox(group, "cbxTxtCol", QStringLiteral("Transparent"), true);
    c.cbxTxtImg = checkBox(group, "cbxTxtImg", QStringLiteral("Hide image"), true);
    grid->addWidget(c.cbxTxtCol, 5, 0);
    grid->addWidget(c.cbxTxtImg, 5, 1);
    c.cbxTxtRepeatX = checkBox(group, "cbxTxtRepeatX", QStringLiteral("Repeat Horiz."), true);
    c.cbxTxtRepeatY = checkBox(group, "cbxTxtRepeatY", QStringLiteral("Repeat Vert."), true);
    grid->addWidget(c.cbxTxtRepeatX, 6, 0);
    grid->addWidget(c.cbxTxtRepeatY, 6, 1);
}
