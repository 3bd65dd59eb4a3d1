#include "publish/editsitedialog.h"

#include "listing/sitelist.h"
#include "platform/uilanguage.h"
#include "publish/siteentry.h"
#include "ui/userdialogs.h"
#include "ui/windowplacement.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

EditSiteDialog::EditSiteDialog(UserDialogs& dialogs, QString siteListFile, QWidget* parent)
    : QDialog(parent)
    , m_dialogs(dialogs)
    , m_siteListFile(std::move(siteListFile))
    , m_name(new QLineEdit)
    , m_address(new QLineEdit) {
    setObjectName(QStringLiteral("T_frmEditSite"));
    setWindowTitle(QStringLiteral("Modify or Delete Auction site"));
    m_name->setObjectName(QStringLiteral("edtSiteName"));
    m_address->setObjectName(QStringLiteral("edtSiteUrl"));
    m_address->setMinimumWidth(360);

    auto* fields = new QFormLayout;
    fields->setRowWrapPolicy(QFormLayout::WrapAllRows);
    fields->addRow(QStringLiteral("Site name"), m_name);
    fields->addRow(QStringLiteral("Login screen URL"), m_address);

    auto* cancel = new QPushButton(QStringLiteral("Cancel"));
    cancel->setObjectName(QStringLiteral("btnCancelChanges"));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* remove = new QPushButton(QStringLiteral("Delete site"));
    remove->setObjectName(QStringLiteral("btnDeleteSite"));
    remove->setAutoDefault(false);
    connectCommand(remove, &QPushButton::clicked, this, m_dialogs,
                   [this] { btnDeleteSiteClick(); });
    auto* save = new QPushButton(QStringLiteral("Save changes"));
    save->setObjectName(QStringLiteral("btnSaveChanges"));
    save->setDefault(true);
    connectCommand(save, &QPushButton::clicked, this, m_dialogs, [this] { btnSaveChangesClick(); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(remove);
    buttons->addStretch();
    buttons->addWidget(cancel);
    buttons->addWidget(save);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    fitAndCentreWhenFirstShown(*this);
}

int EditSiteDialog::showForSite(int region, const QString& siteName, const QString& siteUrl) {
    m_region = sitelist::clampRegion(region);
    m_formerName = siteName;
    m_savedName.clear();
    m_outcome = Outcome::Unchanged;
    m_name->setText(siteName);
    m_address->setText(siteUrl);
    m_name->setFocus();
    return m_dialogs.runModal(*this);
}

void EditSiteDialog::btnSaveChangesClick() {
    sitelist::SiteList list(m_siteListFile);
    SiteEntry entry{m_name->text(), m_address->text()};
    switch (checkSiteEntry(m_dialogs, list, m_region, entry, m_formerName, windowTitle())) {
    case SiteEntryVerdict::Refused:
        return;
    case SiteEntryVerdict::Accepted:
        list.replaceSite(m_region, m_formerName, entry.name, entry.address);
        m_savedName = entry.name;
        m_outcome = Outcome::Saved;
        break;
    case SiteEntryVerdict::Empty:
        break;
    }
    accept();
}

void EditSiteDialog::btnDeleteSiteClick() {
    if (m_dialogs.askYesNo(
            uilanguage::text("MESSAGES", "deleteSite", QStringLiteral("Delete site \"%1\" ?"))
                .arg(m_formerName),
            windowTitle(), UserDialogs::Icon::Question)) {
        sitelist::SiteList(m_siteListFile).deleteSite(m_region, m_formerName);
        m_outcome = Outcome::Deleted;
    }
    accept();
}
