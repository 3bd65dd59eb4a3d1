#pragma once

#include <QDialog>

class QLineEdit;
class UserDialogs;

/// The add dialog `T_frmAddSite`: adds an auction site to a region of the
/// site list, or gives a site of the same name a new address.
class AddSiteDialog : public QDialog {
    Q_OBJECT
public:
    AddSiteDialog(UserDialogs& dialogs, QString siteListFile, QWidget* parent = nullptr);

    /// Shows the dialog modally for a region (0..4) with empty fields.
    /// Accepted when the site list may have changed.
    int showForRegion(int region);

    /// "Add site to region": writes the site when the entry is sound. An
    /// empty field gives up the operation; any other problem is named and
    /// the dialog stays open to correct it.
    void btnAddSiteClick();

private:
    UserDialogs& m_dialogs;
    QString m_siteListFile;
    QLineEdit* m_name;
    QLineEdit* m_address;
    int m_region = 0;
};
