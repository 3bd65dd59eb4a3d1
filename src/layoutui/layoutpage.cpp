#include "layoutui/layoutpage.h"

#include "layout/colortext.h"
#include "layout/layout.h"
#include "layout/layoutdocument.h"
#include "layout/layoutfile.h"
#include "layout/layoutrules.h"
#include "layoutui/colorcombo.h"
#include "layoutui/layoutcolumn.h"
#include "layoutui/layoutreactions.h"
#include "platform/apperror.h"
#include "settings/settingsfile.h"
#include "ui/numberedit.h"
#include "ui/sidepanelscroll.h"
#include "ui/updown.h"
#include "ui/userdialogs.h"
#include "ui/windowplacement.h"

#include <QCheckBox>
#include <QColor>
#include <QComboBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QStyle>
#include <QVBoxLayout>

namespace {

constexpr int buttonBarHeight = 41;

void selectBorderType(QComboBox* list, const QString& type) {
    // A word not in the list leaves the list as it was.
    const int index = list->findData(type, Qt::UserRole, Qt::MatchExactly | Qt::MatchCaseSensitive);
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

LayoutPage::LayoutPage(LayoutDocument& document, UserDialogs& dialogs, QWidget* parent)
    : QWidget(parent)
    , m_document(document) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    m_column = new LayoutColumn(dialogs, this);
    // A low screen scrolls the column rather than cutting off its last groups.
    auto* scroller = new SidePanelScroll(m_column, this);
    scroller->setObjectName(QStringLiteral("scrLayoutColumn"));
    row->addWidget(scroller);
    row->addWidget(buildRightPart(), 1);
    m_reactions = new LayoutReactions(controls(), document, dialogs, this);
    m_reactions->setPreviewCommand([this] { _btnPreviewClick(); });
    connect(m_buttons.btnPreview, &QPushButton::clicked, m_reactions,
            &LayoutReactions::refreshPreview);
    connect(&document, &LayoutDocument::changed, this,
            [this](LayoutDocument::Changes what) { documentChanged(int(what)); });
}

void LayoutPage::documentChanged(int what) {
    const LayoutDocument::Changes changes = LayoutDocument::Changes::fromInt(what);
    if (changes & LayoutDocument::Change::Loaded)
        showLoadedLayout();
    if (changes & LayoutDocument::Change::Pictures)
        showPictureHints();
    // A step undone or redone: the preview shows what the controls show now.
    if (changes & LayoutDocument::Change::History)
        refreshPreview();
}

void LayoutPage::showPictureHints() {
    const LayoutControls& c = controls();
    const LayoutState& state = m_document.state();
    const std::pair<QPushButton*, const QString*> hints[] = {{c.btnAdImg, &state.AdImageHint},
                                                             {c.btnFrmImg, &state.FrameImageHint},
                                                             {c.btnTxtImg, &state.TextImageHint}};
    for (const auto& [button, hint] : hints) {
        if (!hint->isEmpty())
            button->setToolTip(*hint);
    }
}

const LayoutControls& LayoutPage::controls() const {
    return m_column->controls();
}

void LayoutPage::_btnPreviewClick() {
    if (!m_document.state().LayoutControlsReady)
        return;
    CaptureLayout();
    m_document.setLoadNeeded(false);
    emit previewRequested();
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
    const int side = buttonBarHeight - 8;
    const struct {
        QPushButton** made;
        const char* name;
        const char* icon;
        QStyle::StandardPixmap fallback;
        QString hint;
    } history[] = {
        {&b.btnLayoutUndo, "btnLayoutUndo", "edit-undo", QStyle::SP_ArrowBack,
         QStringLiteral("Undo the last layout change (Ctrl+Z)")},
        {&b.btnLayoutRedo, "btnLayoutRedo", "edit-redo", QStyle::SP_ArrowForward,
         QStringLiteral("Redo the layout change (Ctrl+Y)")},
    };
    for (const auto& entry : history) {
        QPushButton* made = button(entry.name, QString());
        made->setToolTip(entry.hint);
        made->setFixedSize(side, side);
        made->setEnabled(false);
        onFirstShow(*made, [made, icon = entry.icon, fallback = entry.fallback] {
            made->setIcon(
                QIcon::fromTheme(QLatin1String(icon), made->style()->standardIcon(fallback)));
        });
        row->addWidget(made);
        *entry.made = made;
    }
    row->addStretch();
    row->addWidget(b.btnExport = button("btnExport", QStringLiteral("Publish now...")));
    b.btnPreview = button("btnPreview", QString());
    // The picture is looked up in the icon theme once the page is first seen.
    onFirstShow(*b.btnPreview, [button = b.btnPreview] {
        button->setIcon(button->style()->standardIcon(QStyle::SP_BrowserReload));
    });
    b.btnPreview->setToolTip(QStringLiteral("Instant Refresh"));
    b.btnPreview->setFixedSize(side, side);
    b.btnPhonePreview = button("btnPhonePreview", QStringLiteral("Phone"));
    b.btnPhonePreview->setCheckable(true);
    b.btnPhonePreview->setToolTip(
        QStringLiteral("Phone preview: the listing as a bidder sees it on a phone"));
    b.btnPhonePreview->setFixedHeight(side);
    connect(b.btnPhonePreview, &QPushButton::toggled, this, [this](bool phone) {
        showPreviewSurround(phone);
        emit phonePreviewToggled(phone);
    });
    row->addWidget(b.btnPhonePreview);
    row->addWidget(b.btnPreview);
    return bar;
}

void LayoutPage::rememberPhonePreview(const QString& settingsFile, UserDialogs& dialogs) {
    QPushButton* toggle = m_buttons.btnPhonePreview;
    try {
        toggle->setChecked(SettingsFile(settingsFile).readBool(SettingKey::phonePreview));
    } catch (const AppError&) {
        // Read before the window shows; the file's fault is reported by the
        // server settings read at the first activation.
    }
    connectCommand(toggle, &QPushButton::toggled, this, dialogs, [settingsFile, toggle] {
        SettingsFile(settingsFile).writeBool(SettingKey::phonePreview, toggle->isChecked());
    });
}

void LayoutPage::showPreviewSurround(bool phone) {
    m_previewHost->setAutoFillBackground(phone);
    QPalette surround = m_previewHost->palette();
    surround.setColor(QPalette::Window, QColor(0x3c, 0x3c, 0x40));
    m_previewHost->setPalette(phone ? surround : QPalette());
    const int bezel = phone ? 12 : 0;
    m_previewHost->layout()->setContentsMargins(0, bezel, 0, bezel);
}

void LayoutPage::showLayoutFile(const LayoutFileContent& content) {
    m_document.replaceWith(content);
}

void LayoutPage::showLoadedLayout() {
    // Each control below raises its own change reaction, which writes the
    // document: the record is read anew for every one.
    const Layout& l = m_document.layout();
    const LayoutControls& c = controls();
    // A width type other than "0" or "1" checks neither button here.
    if (l.AdWidthType == QLatin1String("0"))
        c.radAdManual->setChecked(true);
    else if (l.AdWidthType == QLatin1String("1"))
        c.radAdFull->setChecked(true);
    c.cbxFRepeatX->setEnabled(!l.FImgHide);
    c.cbxFRepeatY->setEnabled(!l.FImgHide);
    c.cbxFrmImg->setChecked(l.FImgHide);
    c.cbxAllMargins->setChecked(m_document.allMargins());
    UpdateComponents();
}

void LayoutPage::UpdateComponents() {
    // Each step below raises the controls' own change reactions, in order.
    m_document.setControlsReady(false);
    const auto ready = qScopeGuard([this] { m_document.setControlsReady(true); });
    showPageArea();
    showOuterBorder();
    showFrame();
    showInnerBorderAndText();
    showMargins();
    showTextFlags();
}

void LayoutPage::showPageArea() {
    const Layout& l = m_document.layout();
    const LayoutControls& c = controls();
    c.edtAdW->setText(l.AdWidthValue);
    if (l.AdWidthType == QLatin1String("1"))
        c.radAdFull->setChecked(true);
    else
        c.radAdManual->setChecked(true);
    c.cbxAdCenter->setChecked(l.AdCenter);
    c.clrAd->setColor(HtmlToColor(l.AdBackCol));
    c.cbxAdCol->setChecked(l.AdHideCol);
    c.cbxAdImg->setChecked(l.AdImgHide);
}

void LayoutPage::showOuterBorder() {
    const Layout& l = m_document.layout();
    const LayoutControls& c = controls();
    c.edtOBW->setText(l.OBWidth);
    selectBorderType(c.cbxOBT, l.OBType);
    c.clrOB->setColor(HtmlToColor(l.OBColor));
}

void LayoutPage::showFrame() {
    const Layout& l = m_document.layout();
    const LayoutControls& c = controls();
    c.edtFW->setText(l.FWidth);
    c.cbxFRepeatX->setChecked(l.FImgRepX);
    c.cbxFRepeatY->setChecked(l.FImgRepY);
    c.cbxFrmImg->setChecked(l.FImgHide);
    c.clrFrame->setColor(HtmlToColor(l.FBgCol));
    c.cbxFrmCol->setChecked(l.FBgHideCol);
}

void LayoutPage::showInnerBorderAndText() {
    const Layout& l = m_document.layout();
    const LayoutControls& c = controls();
    c.edtIBW->setText(l.FBWidth);
    selectBorderType(c.cbxIBT, l.FBType);
    c.clrIB->setColor(HtmlToColor(l.FBCol));
    c.clrTxt->setColor(HtmlToColor(l.TxtBgCol));
}

void LayoutPage::showMargins() {
    const Layout& l = m_document.layout();
    // With equal margins each assignment is copied to the other two fields,
    // so they all end on the right margin.
    const LayoutControls& c = controls();
    c.edtTxtMarginTop->setText(l.TxtPadTop);
    c.edtTxtMarginLeft->setText(l.TxtPadLeft);
    c.edtTxtMarginRight->setText(l.TxtPadRight);
}

void LayoutPage::showTextFlags() {
    const Layout& l = m_document.layout();
    const LayoutControls& c = controls();
    c.cbxTxtCol->setChecked(l.TxtHideCol);
    c.cbxTxtImg->setChecked(l.TxtImgHide);
    c.cbxTxtRepeatX->setChecked(l.TxtRepeatX);
    c.cbxTxtRepeatY->setChecked(l.TxtRepeatY);
}

void LayoutPage::CaptureLayout() {
    const RefreshSuspension suspension(*m_reactions);
    const Layout captured = normalised(layoutFromControls());
    showNumbers(captured);
    // The equal margins copy each rewrite to the others: keep what shows.
    m_document.setLayout(layoutFromControls());
    const LayoutEnabling enabling = enabledControls(m_document.layout());
    const LayoutControls& c = controls();
    c.clrOB->setEnabled(enabling.outerBorder);
    c.cbxOBT->setEnabled(enabling.outerBorder);
    for (QWidget* control :
         std::initializer_list<QWidget*>{c.btnFrmImg, c.cbxFrmCol, c.cbxFrmImg, c.clrFrame})
        control->setEnabled(enabling.frame);
    for (QWidget* control : std::initializer_list<QWidget*>{c.cbxFRepeatX, c.cbxFRepeatY})
        control->setEnabled(enabling.frameRepeat);
    c.clrIB->setEnabled(enabling.innerBorder);
    c.cbxIBT->setEnabled(enabling.innerBorder);
    c.cbxTxtRepeatX->setEnabled(enabling.textRepeat);
    c.cbxTxtRepeatY->setEnabled(enabling.textRepeat);
}

Layout LayoutPage::layoutFromControls() const {
    const LayoutControls& c = controls();
    Layout l = m_document.layout();
    l.AdWidthType = c.radAdFull->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    l.AdWidthValue = c.edtAdW->text();
    l.AdCenter = c.cbxAdCenter->isChecked();
    l.AdImgHide = c.cbxAdImg->isChecked();
    l.OBWidth = c.edtOBW->text();
    l.OBType = c.cbxOBT->currentData().toString();
    l.FWidth = c.edtFW->text();
    l.FImgHide = c.cbxFrmImg->isChecked();
    l.FImgRepX = c.cbxFRepeatX->isChecked();
    l.FImgRepY = c.cbxFRepeatY->isChecked();
    l.FBWidth = c.edtIBW->text();
    l.FBType = c.cbxIBT->currentData().toString();
    l.TxtPadLeft = c.edtTxtMarginLeft->text();
    l.TxtPadRight = c.edtTxtMarginRight->text();
    l.TxtPadTop = c.edtTxtMarginTop->text();
    l.TxtHideCol = c.cbxTxtCol->isChecked();
    l.TxtImgHide = c.cbxTxtImg->isChecked();
    l.TxtRepeatX = c.cbxTxtRepeatX->isChecked();
    l.TxtRepeatY = c.cbxTxtRepeatY->isChecked();
    return l;
}

void LayoutPage::showNumbers(const Layout& l) {
    const LayoutControls& c = controls();
    const std::pair<QLineEdit*, const QString*> numbers[] = {{c.edtAdW, &l.AdWidthValue},
                                                             {c.edtOBW, &l.OBWidth},
                                                             {c.edtFW, &l.FWidth},
                                                             {c.edtIBW, &l.FBWidth},
                                                             {c.edtTxtMarginLeft, &l.TxtPadLeft},
                                                             {c.edtTxtMarginTop, &l.TxtPadTop},
                                                             {c.edtTxtMarginRight, &l.TxtPadRight}};
    for (const auto& [edit, text] : numbers) {
        if (edit->text() != *text)
            edit->setText(*text);
    }
}
