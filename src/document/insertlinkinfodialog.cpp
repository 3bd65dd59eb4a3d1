#include "document/insertlinkinfodialog.h"

#include "document/infowindowparts.h"
#include "settings/settingschoices.h"
#include "settings/settingsfile.h"
#include "ui/productwebsite.h"
#include "ui/userdialogs.h"
#include "ui/windowplacement.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

InsertLinkInfoDialog::InsertLinkInfoDialog(UserDialogs& dialogs, QString settingsFile,
                                           SettingsChoices* settings, QWidget* parent)
    : QDialog(parent)
    , m_dialogs(dialogs)
    , m_settingsFile(std::move(settingsFile))
    , m_settings(settings) {
    setObjectName(QStringLiteral("T_frmInsertLinkInfo"));
    setWindowTitle(QStringLiteral("Information - Inserting links in Document"));
    setWindowFlags(Qt::Dialog | Qt::WindowCloseButtonHint);
    infowindow::useDialogFont(*this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(infowindow::addText(
        this, "lblInsertLink1",
        QStringLiteral("PLEASE NOTE : Links are neutralized (not active) when you enter the "
                       "program's LAYOUT tab. Links will of course react normaly when your "
                       "Auction advertisement is published.")));
    layout->addWidget(infowindow::addText(
        this, "lblInsertLink2",
        QStringLiteral("While in the DOCUMENT tab (this one), Ctrl-click links to navigate to "
                       "their target.")));
    layout->addWidget(infowindow::addText(
        this, "lblInsertLink3",
        QStringLiteral("Also note that most Auction sites restrict the use of external links in "
                       "advertisements. Read their Terms & Conditions to avoid your ad being "
                       "banned for non-compliance. Click the Help link below for more "
                       "information about the subject :")));
    QLabel* help =
        infowindow::addLinkLabel(this, "lblInsertLinkLink", QStringLiteral("Access Online Help"));
    connect(help, &QLabel::linkActivated, this, [this] {
        openWebPage(m_dialogs, productWebPage(QStringLiteral("/support.html#links")));
    });
    layout->addWidget(help);
    layout->addStretch();
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("BitBtn1"));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    layout->addWidget(close, 0, Qt::AlignHCenter);
    cbxHideInsertLinkInfo = infowindow::addHideBox(this, "cbxHideInsertLinkInfo");
    connectCommand(cbxHideInsertLinkInfo, &QCheckBox::clicked, this, m_dialogs,
                   [this] { cbxHideInsertLinkInfoClick(cbxHideInsertLinkInfo->isChecked()); });
    layout->addWidget(cbxHideInsertLinkInfo);
    setFixedSize(462, 277);
    centreOnScreen(*this);
}

void InsertLinkInfoDialog::showEvent(QShowEvent* event) {
    if (m_settings)
        cbxHideInsertLinkInfo->setChecked(m_settings->hideInsertLink());
    QDialog::showEvent(event);
}

void InsertLinkInfoDialog::cbxHideInsertLinkInfoClick(bool hide) {
    SettingsFile(m_settingsFile).writeBool(SettingKey::hideInsertLink, hide);
    if (m_settings)
        m_settings->setHideInsertLink(hide);
}
