#pragma once

#include <QDialog>

class AddSiteDialog;
class EditSiteDialog;
class PublishTarget;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QStackedLayout;
class SettingsChoices;
class UserDialogs;

/// The publish dialog `T_frmExportInfo`: the seller picks a world region,
/// an auction site of it and the browser to publish in; "Post Listing now"
/// opens the site's login page there. Created once and only hidden, so it
/// keeps its region, site list and selection for the whole run.
class ExportInfoDialog : public QDialog {
    Q_OBJECT
public:
    /// What the listing rules found in the listing about to be published.
    enum class ListingCheck {
        NotRun,       // no line
        Clean,        // green: nothing found
        WarningsKept, // amber: only warnings, and the seller went on
        ErrorsKept,   // red: the seller published anyway
    };

    ExportInfoDialog(UserDialogs& dialogs, QString settingsFile, QString siteListFile,
                     SettingsChoices& settings, PublishTarget& target, AddSiteDialog& addSite,
                     EditSiteDialog& editSite, QWidget* parent = nullptr);

    /// Prepares the dialog from the settings (`FormShow`) and runs it
    /// modally. Accepted after "Post Listing now", Rejected after "Cancel
    /// Publishing".
    int showModally();

    /// Shows the line about the listing check, until the next call.
    void setListingCheck(ListingCheck check);

    /// The name of the selected site; empty when none is selected.
    QString SiteName() const;
    /// Login address of the selected site; empty when none is selected.
    const QString& SiteURL() const { return m_siteUrl; }
    /// The address last opened for publishing in this run; empty at first.
    const QString& LastOpenedURL() const { return m_lastOpenedUrl; }

    /// Reads the stored region, site index and browser, and selects them.
    void FormShow();
    /// Fills the site list with the sites of the selected region.
    void radWorldClick();
    void coxAuctionSitesSelect();
    void radBrowserChoiceClick();
    void cbxShowExportHelpClick();
    void btnPublishNowClick();
    void btnCancelPublishClick();
    void lblAddSiteClick();
    void lblEditSitesClick();

protected:
    /// Esc and the window manager's close: "Cancel Publishing".
    void reject() override;

private:
    int selectedRegion() const;
    /// "Publishing to : " and the chosen site, in the current language.
    void showSiteInCaption();
    /// Stores the region, site and browser for the next showing; a settings
    /// file that cannot take them is a warning, not the end of publishing.
    void rememberChoice();

    UserDialogs& m_dialogs;
    QString m_settingsFile;
    QString m_siteListFile;
    SettingsChoices& m_settings;
    PublishTarget& m_target;
    AddSiteDialog& m_addSite;
    EditSiteDialog& m_editSite;
    QButtonGroup* m_regions;
    QButtonGroup* m_browsers;
    QComboBox* m_sites;
    QCheckBox* m_showHelp;
    /// One line per `ListingCheck`, the one that applies on show.
    QStackedLayout* m_checkLines;
    int m_storedRegion;
    int m_storedSiteIndex = 0;
    QString m_siteUrl;
    QString m_lastOpenedUrl;
};
