#pragma once

#include <QDialog>

class QLineEdit;
class UserDialogs;

/// The edit dialog `T_frmEditSite`: renames, re-addresses or deletes one
/// auction site of a region. The site list is read and written once per
/// operation; nothing holds it open while the dialog is shown.
class EditSiteDialog : public QDialog {
    Q_OBJECT
public:
    enum class Outcome { Unchanged, Saved, Deleted };

    EditSiteDialog(UserDialogs& dialogs, QString siteListFile, QWidget* parent = nullptr);

    /// Shows the dialog modally for the site `siteName` of a region (0..4),
    /// the fields filled with its name and address. Accepted when the site
    /// list may have changed; `outcome` then says what happened.
    int showForSite(int region, const QString& siteName, const QString& siteUrl);

    Outcome outcome() const { return m_outcome; }
    /// The name the site was saved under.
    const QString& savedName() const { return m_savedName; }

    /// "Save changes": the edited site replaces the former one, moved to the
    /// end of its region, in one rewrite of the list. Checked like a new site.
    void btnSaveChangesClick();
    /// "Delete site": asks, then removes the former site.
    void btnDeleteSiteClick();

private:
    UserDialogs& m_dialogs;
    QString m_siteListFile;
    QLineEdit* m_name;
    QLineEdit* m_address;
    int m_region = 0;
    QString m_formerName;
    QString m_savedName;
    Outcome m_outcome = Outcome::Unchanged;
};
