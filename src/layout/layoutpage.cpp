#include "layout/layoutpage.h"

#include "app/appstate.h"
#include "layout/colorcombo.h"
#include "layout/colortext.h"
#include "layout/layout.h"
#include "layout/layoutcolumn.h"
#include "layout/layoutreactions.h"
#include "layout/numberedit.h"
#include "layout/updown.h"
#include "platform/apperror.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {

constexpr int buttonBarHeight = 41;

int integerValue(const QLineEdit* edit) {
    bool isNumber = false;
    const int value = edit->text().toInt(&isNumber);
    if (!isNumber)
        throw AppError(QStringLiteral("'%1' is not a valid integer value").arg(edit->text()));
    return value;
}

/// Rewrites the edit's number in plain decimal form: "0075" becomes "75".
void rewriteAsInteger(QLineEdit* edit) {
    edit->setText(QString::number(integerValue(edit)));
}

bool isZeroOrEmpty(const QLineEdit* edit) {
    return edit->text().isEmpty() || edit->text() == QLatin1String("0");
}

void selectBorderType(QComboBox* list, const QString& type) {
    // A word not in the list leaves the list as it was.
    const int index = list->findText(type, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0)
        list->setCurrentIndex(index);
}

/// Captures run the preview command's reactions to their own rewrites
/// nested inside it; those would only repeat the capture under way.
class RefreshSuspension {
public:
    explicit RefreshSuspension(LayoutReactions& reactions)
        : m_reactions(reactions)
        , m_wasSuspended(reactions.refreshSuspended()) {
        m_reactions.setRefreshSuspended(true);
    }
    ~RefreshSuspension() { m_reactions.setRefreshSuspended(m_wasSuspended); }
    RefreshSuspension(const RefreshSuspension&) = delete;
    RefreshSuspension& operator=(const RefreshSuspension&) = delete;

private:
    LayoutReactions& m_reactions;
    bool m_wasSuspended;
};

} // namespace

LayoutPage::LayoutPage(AppState& state, Layout& layout, UserDialogs& dialogs, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_layout(layout) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    m_column = new LayoutColumn(dialogs, this);
    row->addWidget(m_column);
    row->addWidget(buildRightPart(), 1);
    m_reactions = new LayoutReactions(controls(), state, layout, dialogs, this);
    connect(m_buttons.btnPreview, &QPushButton::clicked, m_reactions,
            &LayoutReactions::refreshPreview);
}

const LayoutControls& LayoutPage::controls() const {
    return m_column->controls();
}

void LayoutPage::setPreviewRefresh(std::function<void()> refresh) {
    m_reactions->setPreviewRefresh(std::move(refresh));
}

void LayoutPage::refreshPreview() {
    m_reactions->refreshPreview();
}

QWidget* LayoutPage::buildRightPart() {
    auto* right = new QWidget(this);
    right->setObjectName(QStringLiteral("pnlBrowserBack"));
    auto* column = new QVBoxLayout(right);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    m_buttonBar = buildButtonBar(right);
    column->addWidget(m_buttonBar);
    m_previewHost = new QWidget(right);
    m_previewHost->setObjectName(QStringLiteral("pnlPreviewHost"));
    auto* host = new QVBoxLayout(m_previewHost);
    host->setContentsMargins(0, 0, 0, 0);
    column->addWidget(m_previewHost, 1);
    return right;
}

QWidget* LayoutPage::buildButtonBar(QWidget* parent) {
    auto* bar = new QWidget(parent);
    bar->setObjectName(QStringLiteral("pnlbuttons"));
    bar->setFixedHeight(buttonBarHeight);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(6, 4, 6, 4);
    auto button = [bar](const char* name, const QString& caption) {
        auto* made = new QPushButton(caption, bar);
        made->setObjectName(QString::fromLatin1(name));
        return made;
    };
    LayoutButtons& b = m_buttons;
    row->addWidget(b.btnNewLayout = button("btnNewLayout", QStringLiteral("New Layout")));
    row->addWidget(b.btnOpenLayout = button("btnOpenLayout", QStringLiteral("Open layout...")));
    row->addWidget(b.btnSaveLayout = button("btnSaveLayout", QStringLiteral("Save layout")));
    row->addWidget(b.btnSaveAs = button("btnSaveAs", QStringLiteral("Save layout as...")));
    row->addStretch();
    row->addWidget(b.btnExport = button("btnExport", QStringLiteral("Publish now...")));
    b.btnPreview = button("btnPreview", QString());
    b.btnPreview->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    b.btnPreview->setToolTip(QStringLiteral("Instant Refresh"));
    const int side = buttonBarHeight - 8;
    b.btnPreview->setFixedSize(side, side);
    row->addWidget(b.btnPreview);
    return bar;
}

void LayoutPage::UpdateComponents() {
    // Each step below raises the controls' own change reactions, in order.
    m_state.LayoutControlsReady = false;
    showPageArea();
    showOuterBorder();
    showFrame();
    showInnerBorderAndText();
    showMargins();
    showTextFlags();
    m_state.LayoutControlsReady = true;
}

void LayoutPage::showPageArea() {
    const LayoutControls& c = controls();
    c.edtAdW->setText(m_layout.AdWidthValue);
    if (m_layout.AdWidthType == QLatin1String("1"))
        c.radAdFull->setChecked(true);
    else
        c.radAdManual->setChecked(true);
    c.cbxAdCenter->setChecked(m_layout.AdCenter);
    c.clrAd->setColor(HtmlToColor(m_layout.AdBackCol));
    c.cbxAdCol->setChecked(m_layout.AdHideCol);
    c.cbxAdImg->setChecked(m_layout.AdImgHide);
}

void LayoutPage::showOuterBorder() {
    const LayoutControls& c = controls();
    c.edtOBW->setText(m_layout.OBWidth);
    selectBorderType(c.cbxOBT, m_layout.OBType);
    c.clrOB->setColor(HtmlToColor(m_layout.OBColor));
}

void LayoutPage::showFrame() {
    const LayoutControls& c = controls();
    c.edtFW->setText(m_layout.FWidth);
    c.cbxFRepeatX->setChecked(m_layout.FImgRepX);
    c.cbxFRepeatY->setChecked(m_layout.FImgRepY);
    c.cbxFrmImg->setChecked(m_layout.FImgHide);
    c.clrFrame->setColor(HtmlToColor(m_layout.FBgCol));
    c.cbxFrmCol->setChecked(m_layout.FBgHideCol);
}

void LayoutPage::showInnerBorderAndText() {
    const LayoutControls& c = controls();
    c.edtIBW->setText(m_layout.FBWidth);
    selectBorderType(c.cbxIBT, m_layout.FBType);
    c.clrIB->setColor(HtmlToColor(m_layout.FBCol));
    c.clrTxt->setColor(HtmlToColor(m_layout.TxtBgCol));
}

void LayoutPage::showMargins() {
    // With equal margins each assignment is copied to the other two fields,
    // so they all end on the right margin.
    const LayoutControls& c = controls();
    c.edtTxtMarginTop->setText(m_layout.TxtPadTop);
    c.edtTxtMarginLeft->setText(m_layout.TxtPadLeft);
    c.edtTxtMarginRight->setText(m_layout.TxtPadRight);
}

void LayoutPage::showTextFlags() {
    const LayoutControls& c = controls();
    c.cbxTxtCol->setChecked(m_layout.TxtHideCol);
    c.cbxTxtImg->setChecked(m_layout.TxtImgHide);
    c.cbxTxtRepeatX->setChecked(m_layout.TxtRepeatX);
    c.cbxTxtRepeatY->setChecked(m_layout.TxtRepeatY);
}

void LayoutPage::CaptureLayout() {
    const RefreshSuspension suspension(*m_reactions);
    const LayoutControls& c = controls();
    if (c.edtAdW->text().isEmpty())
        c.edtAdW->setText(QStringLiteral("700"));
    else
        rewriteAsInteger(c.edtAdW);
    m_layout.AdImgHide = c.cbxAdImg->isChecked();
    for (QLineEdit* edit : {c.edtOBW, c.edtFW, c.edtIBW, c.edtTxtMarginLeft, c.edtTxtMarginTop,
                            c.edtTxtMarginRight}) {
        if (!edit->text().isEmpty())
            rewriteAsInteger(edit);
    }
    captureFlags();
    captureOuterBorder();
    captureFrame();
    captureInnerBorder();
    c.cbxTxtRepeatX->setEnabled(!c.cbxTxtImg->isChecked());
    c.cbxTxtRepeatY->setEnabled(!c.cbxTxtImg->isChecked());
    captureFields();
    captureFlags();
}

void LayoutPage::captureFlags() {
    const LayoutControls& c = controls();
    m_layout.FImgRepX = c.cbxFRepeatX->isChecked();
    m_layout.FImgRepY = c.cbxFRepeatY->isChecked();
    m_layout.TxtRepeatX = c.cbxTxtRepeatX->isChecked();
    m_layout.TxtRepeatY = c.cbxTxtRepeatY->isChecked();
    m_layout.TxtHideCol = c.cbxTxtCol->isChecked();
    m_layout.TxtImgHide = c.cbxTxtImg->isChecked();
}

void LayoutPage::captureOuterBorder() {
    const LayoutControls& c = controls();
    if (c.edtOBW->text().isEmpty())
        c.edtOBW->setText(QStringLiteral("0"));
    const bool hasBorder = integerValue(c.edtOBW) >= 1;
    if (!hasBorder)
        c.edtOBW->setText(QStringLiteral("0"));
    c.clrOB->setEnabled(hasBorder);
    c.cbxOBT->setEnabled(hasBorder);
}

void LayoutPage::captureFrame() {
    const LayoutControls& c = controls();
    const bool hasFrame = !isZeroOrEmpty(c.edtFW);
    for (QWidget* control :
         std::initializer_list<QWidget*>{c.btnFrmImg, c.cbxFrmCol, c.cbxFrmImg, c.clrFrame})
        control->setEnabled(hasFrame);
    // With the picture hidden the repeat boxes keep their state.
    if (!hasFrame || !c.cbxFrmImg->isChecked()) {
        c.cbxFRepeatX->setEnabled(hasFrame);
        c.cbxFRepeatY->setEnabled(hasFrame);
    }
}

void LayoutPage::captureInnerBorder() {
    const LayoutControls& c = controls();
    const bool hasBorder = !isZeroOrEmpty(c.edtIBW);
    if (!hasBorder)
        c.edtIBW->setText(QStringLiteral("0"));
    c.clrIB->setEnabled(hasBorder);
    c.cbxIBT->setEnabled(hasBorder);
}

void LayoutPage::captureFields() {
    const LayoutControls& c = controls();
    m_layout.AdWidthType = c.radAdFull->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    m_layout.AdWidthValue = c.edtAdW->text();
    m_layout.AdCenter = c.cbxAdCenter->isChecked();
    m_layout.OBWidth = c.edtOBW->text();
    m_layout.OBType = c.cbxOBT->currentText();
    m_layout.FWidth = c.edtFW->text();
    m_layout.FBWidth = c.edtIBW->text();
    m_layout.FBType = c.cbxIBT->currentText();
    m_layout.TxtPadLeft = c.edtTxtMarginLeft->text();
    m_layout.TxtPadRight = c.edtTxtMarginRight->text();
    m_layout.TxtPadTop = c.edtTxtMarginTop->text();
}
