#include "publish/addsitedialog.h"

#include "listing/sitelist.h"
#include "platform/uilanguage.h"
#include "publish/siteentry.h"
#include "ui/userdialogs.h"
#include "ui/windowplacement.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

/// The region as the publish dialog shows it in the current language; its
/// section name in English.
QString regionName(int region) {
    return uilanguage::text("T_frmExportInfo", sitelist::regionCaption(region).trimmed(),
                            sitelist::regionSection(region))
        .trimmed();
}

} // namespace

AddSiteDialog::AddSiteDialog(UserDialogs& dialogs, QString siteListFile, QWidget* parent)
    : QDialog(parent)
    , m_dialogs(dialogs)
    , m_siteListFile(std::move(siteListFile))
    , m_name(new QLineEdit)
    , m_address(new QLineEdit) {
    setObjectName(QStringLiteral("T_frmAddSite"));
    setWindowTitle(QStringLiteral("Add an Auction site to the list"));
    m_name->setObjectName(QStringLiteral("edtAddSiteName"));
    m_address->setObjectName(QStringLiteral("edtAddSiteURL"));
    m_address->setMinimumWidth(360);

    auto* fields = new QFormLayout;
    fields->setRowWrapPolicy(QFormLayout::WrapAllRows);
    fields->addRow(QStringLiteral("Site name"), m_name);
    fields->addRow(QStringLiteral("Login screen URL (for example https://signin.example.com/)"),
                   m_address);

    auto* cancel = new QPushButton(QStringLiteral("Cancel"));
    cancel->setObjectName(QStringLiteral("btnAddCancel"));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* add = new QPushButton(QStringLiteral("Add site to region"));
    add->setObjectName(QStringLiteral("btnAddSite"));
    add->setDefault(true);
    connectCommand(add, &QPushButton::clicked, this, m_dialogs, [this] { btnAddSiteClick(); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancel);
    buttons->addWidget(add);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    fitAndCentreWhenFirstShown(*this);
}

int AddSiteDialog::showForRegion(int region) {
    m_region = sitelist::clampRegion(region);
    setWindowTitle(
        uilanguage::text("MESSAGES", "addSiteTitle", QStringLiteral("Adding site to Region : ")) +
        regionName(m_region));
    m_name->clear();
    m_address->clear();
    m_name->setFocus();
    return m_dialogs.runModal(*this);
}

void AddSiteDialog::btnAddSiteClick() {
    sitelist::SiteList list(m_siteListFile);
    SiteEntry entry{m_name->text(), m_address->text()};
    switch (checkSiteEntry(m_dialogs, list, m_region, entry, QString(), windowTitle())) {
    case SiteEntryVerdict::Refused:
        return;
    case SiteEntryVerdict::Accepted:
        list.addSite(m_region, entry.name, entry.address);
        break;
    case SiteEntryVerdict::Empty:
        break;
    }
    accept();
}
