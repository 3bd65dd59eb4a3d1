#include "layoutui/layoutreactions.h"

#include "layout/colortext.h"
#include "layout/layout.h"
#include "layout/layoutdocument.h"
#include "layoutui/colorcombo.h"
#include "ui/numberedit.h"
#include "ui/updown.h"
#include "ui/userdialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QRadioButton>

LayoutReactions::LayoutReactions(const LayoutControls& controls, LayoutDocument& document,
                                 UserDialogs& dialogs, QObject* parent)
    : QObject(parent)
    , m_controls(controls)
    , m_document(document)
    , m_dialogs(dialogs) {
    connectEdits();
    connectMargins();
    connectCheckBoxes();
    connectWidthRadios();
    connectColors();
    connectModifiedMarks();
}

void LayoutReactions::refreshPreview() {
    runCommand(m_dialogs, [this] { runPreviewCommand(); });
}

void LayoutReactions::runPreviewCommand() {
    if (m_refresh && !m_refreshSuspended)
        m_refresh();
}

void LayoutReactions::refreshUnlessLoading() {
    if (!m_document.state().LayoutLoadNeeded)
        refreshPreview();
}

void LayoutReactions::refreshBeepingOnError() {
    try {
        runPreviewCommand();
    } catch (const std::exception&) {
        m_dialogs.beep();
    }
}

void LayoutReactions::connectEdits() {
    const LayoutControls& c = m_controls;
    for (NumberEdit* edit : {c.edtAdW, c.edtOBW, c.edtFW, c.edtIBW}) {
        connect(edit, &QLineEdit::textChanged, this, &LayoutReactions::numberChanged);
    }
    for (NumberEdit* edit : {c.edtAdW, c.edtOBW, c.edtFW, c.edtIBW, c.edtTxtMarginLeft,
                             c.edtTxtMarginRight, c.edtTxtMarginTop}) {
        // Every key counts as a change, even one the edit discards.
        connect(edit, &NumberEdit::keyTyped, this, &LayoutReactions::markModified);
        if (edit != c.edtAdW)
            connect(edit, &NumberEdit::focusLeft, this, [this, edit] { zeroWhenEmpty(edit); });
    }
    connect(c.edtAdW, &NumberEdit::focusLeft, this, &LayoutReactions::edtAdWExit);
    // What is typed into a field is one step of the layout's history until
    // the seller leaves it (the limits put on leaving join that step).
    for (NumberEdit* edit : {c.edtAdW, c.edtOBW, c.edtFW, c.edtIBW, c.edtTxtMarginLeft,
                             c.edtTxtMarginRight, c.edtTxtMarginTop}) {
        connect(edit, &NumberEdit::focusLeft, &m_document, &LayoutDocument::endBurst);
    }
    // The page width steps from 200 up once its arrows have been used.
    connect(c.UpDown5, &UpDown::changing, this, [this] { m_controls.UpDown5->setRange(200, 999); });
}

void LayoutReactions::connectMargins() {
    const LayoutControls& c = m_controls;
    for (NumberEdit* edit : {c.edtTxtMarginLeft, c.edtTxtMarginRight, c.edtTxtMarginTop}) {
        connect(edit, &QLineEdit::textChanged, this, [this, edit] { marginChanged(edit); });
    }
    connect(c.cbxAllMargins, &QCheckBox::toggled, this, [this](bool checked) {
        // The box and the margins it makes equal are one step.
        const LayoutDocument::Step step(m_document);
        m_document.setAllMargins(checked);
        if (!checked)
            return;
        const QString left = m_controls.edtTxtMarginLeft->text();
        m_controls.edtTxtMarginRight->setText(left);
        m_controls.edtTxtMarginTop->setText(left);
    });
}

void LayoutReactions::numberChanged() {
    if (!m_document.state().LayoutLoadNeeded)
        refreshBeepingOnError();
}

void LayoutReactions::marginChanged(QLineEdit* changed) {
    const LayoutControls& c = m_controls;
    if (c.cbxAllMargins->isChecked()) {
        // Each copy raises the other field's change, which finds its
        // siblings equal already; so the linking ends after one round.
        for (QLineEdit* margin : {c.edtTxtMarginLeft, c.edtTxtMarginRight, c.edtTxtMarginTop}) {
            if (margin != changed)
                margin->setText(changed->text());
        }
    }
    numberChanged();
}

void LayoutReactions::zeroWhenEmpty(QLineEdit* edit) {
    if (edit->text().isEmpty())
        edit->setText(QStringLiteral("0"));
}

void LayoutReactions::edtAdWExit() {
    QLineEdit* edit = m_controls.edtAdW;
    bool isNumber = false;
    const int width = edit->text().toInt(&isNumber);
    if (edit->text().isEmpty() || (isNumber && width < 200))
        edit->setText(QStringLiteral("200"));
}

void LayoutReactions::connectCheckBoxes() {
    const LayoutControls& c = m_controls;
    connect(c.cbxAdCol, &QCheckBox::toggled, this,
            [this](bool on) { flagBoxClicked(&Layout::AdHideCol, on); });
    connect(c.cbxFrmCol, &QCheckBox::toggled, this,
            [this](bool on) { flagBoxClicked(&Layout::FBgHideCol, on); });
    connect(c.cbxTxtCol, &QCheckBox::toggled, this,
            [this](bool on) { flagBoxClicked(&Layout::TxtHideCol, on); });
    connect(c.cbxAdImg, &QCheckBox::toggled, this,
            [this](bool on) { flagBoxClicked(&Layout::AdImgHide, on); });
    connect(c.cbxFrmImg, &QCheckBox::toggled, this, [this](bool on) {
        flagBoxClicked(&Layout::FImgHide, on, m_controls.cbxFRepeatX, m_controls.cbxFRepeatY);
    });
    connect(c.cbxTxtImg, &QCheckBox::toggled, this, [this](bool on) {
        flagBoxClicked(&Layout::TxtImgHide, on, m_controls.cbxTxtRepeatX, m_controls.cbxTxtRepeatY);
    });
    // The preview's capture stores these states.
    for (QCheckBox* box :
         {c.cbxFRepeatX, c.cbxFRepeatY, c.cbxTxtRepeatX, c.cbxTxtRepeatY, c.cbxAdCenter}) {
        connect(box, &QCheckBox::toggled, this, &LayoutReactions::refreshPreview);
    }
}

void LayoutReactions::flagBoxClicked(bool Layout::*field, bool checked, QCheckBox* repeatX,
                                     QCheckBox* repeatY) {
    m_document.setFlag(field, checked);
    // A hidden picture has nothing to repeat.
    if (repeatX)
        repeatX->setEnabled(!checked);
    if (repeatY)
        repeatY->setEnabled(!checked);
    refreshUnlessLoading();
}

void LayoutReactions::connectWidthRadios() {
    connect(m_controls.radAdManual, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked)
            setWidthType(false);
    });
    connect(m_controls.radAdFull, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked)
            setWidthType(true);
    });
}

void LayoutReactions::setWidthType(bool fullWidth) {
    m_controls.edtAdW->setEnabled(!fullWidth);
    m_controls.UpDown5->setEnabled(!fullWidth);
    m_document.setText(&Layout::AdWidthType, fullWidth ? QStringLiteral("1") : QStringLiteral("0"));
    refreshUnlessLoading();
}

void LayoutReactions::connectColors() {
    const LayoutControls& c = m_controls;
    connect(c.clrAd, &ColorCombo::colorPicked, this, [this](const QColor& color) {
        areaColorPicked(&Layout::AdBackCol, m_controls.cbxAdCol, color);
    });
    connect(c.clrFrame, &ColorCombo::colorPicked, this, [this](const QColor& color) {
        areaColorPicked(&Layout::FBgCol, m_controls.cbxFrmCol, color);
    });
    connect(c.clrTxt, &ColorCombo::colorPicked, this, [this](const QColor& color) {
        areaColorPicked(&Layout::TxtBgCol, m_controls.cbxTxtCol, color);
    });
    connect(c.clrOB, &ColorCombo::colorPicked, this,
            [this](const QColor& color) { borderColorPicked(&Layout::OBColor, color); });
    connect(c.clrIB, &ColorCombo::colorPicked, this,
            [this](const QColor& color) { borderColorPicked(&Layout::FBCol, color); });
    for (QComboBox* list : {c.cbxOBT, c.cbxIBT}) {
        connect(list, &QComboBox::activated, this, [this] {
            markModified();
            m_document.setLoadNeeded(false);
            refreshPreview();
        });
    }
}

void LayoutReactions::areaColorPicked(QString Layout::*field, QCheckBox* transparent,
                                      const QColor& color) {
    // The colour and the area made to show it are one step.
    const LayoutDocument::Step step(m_document);
    m_document.pickColour(field, ColorToHtml(color));
    // Picking a colour means the area should show it.
    transparent->setChecked(false);
    refreshUnlessLoading();
}

void LayoutReactions::borderColorPicked(QString Layout::*field, const QColor& color) {
    m_document.pickColour(field, ColorToHtml(color));
    refreshUnlessLoading();
}

void LayoutReactions::connectModifiedMarks() {
    const LayoutControls& c = m_controls;
    for (UpDown* upDown : {c.UpDown1, c.UpDown2, c.UpDown3, c.UpDown4, c.UpDown5, c.UpDown6})
        connect(upDown, &UpDown::clicked, this, &LayoutReactions::markModified);
    for (UpDown* upDown : {c.UpDown4, c.UpDown5, c.UpDown6, c.UpDown7})
        connect(upDown, &UpDown::pressed, this, &LayoutReactions::markModified);
    const std::initializer_list<QAbstractButton*> pressable = {
        c.cbxAdCenter,   c.cbxAdImg,      c.cbxAdCol,    c.cbxFrmImg, c.cbxFrmCol,
        c.cbxFRepeatX,   c.cbxFRepeatY,   c.cbxTxtCol,   c.cbxTxtImg, c.cbxTxtRepeatX,
        c.cbxTxtRepeatY, c.cbxAllMargins, c.radAdManual, c.radAdFull};
    for (QAbstractButton* box : pressable)
        box->installEventFilter(this);
}

bool LayoutReactions::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress)
        markModified();
    return QObject::eventFilter(watched, event);
}

void LayoutReactions::markModified() {
    m_document.markModified();
}
