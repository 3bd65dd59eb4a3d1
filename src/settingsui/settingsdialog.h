#pragma once

#include "settings/settingschoices.h"
#include "settings/settingsfile.h"

#include <QDialog>
#include <QList>
#include <memory>

class NumberEdit;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTabWidget;
class Settings;
class UpDown;
class UploadSettingsPage;
class UserDialogs;

/// The settings dialog `T_frmSettings`: the image servers, the connection,
/// the hidden refresh timer, the windows to hide and the seller's upload
/// server. It edits the program's
/// `Settings`: each choice counts at once, and "Save changes" writes them
/// all to the settings file. Closing it any other way discards the choices
/// not saved: the next opening shows what is stored. Its controls follow
/// the settings when they change elsewhere.
class SettingsDialog : public QDialog, public SettingsChoices {
    Q_OBJECT
public:
    SettingsDialog(UserDialogs& dialogs, Settings& settings, QWidget* parent = nullptr);
    /// On settings of its own, loaded from `settingsFile`.
    SettingsDialog(UserDialogs& dialogs, QString settingsFile, QWidget* parent = nullptr);
    ~SettingsDialog() override;

    /// The server set `radServerSet` carries. The group offers sets 0..3; any
    /// other index selects none of them but is still the one kept, so that
    /// saving writes back the value it was given.
    void setServerSetIndex(int index);
    int serverSetIndex() const { return m_serverSetIndex; }

    /// Each opening shows the personal servers the program uses now.
    void showServers(const QString& primary, const QString& secondary);

    /// "Save changes": checks the fields, writes every key in one go and
    /// closes. A field that holds no valid value is named in a message and
    /// nothing is written; a file that cannot be written is named in an error
    /// message, stays as it was, and the dialog stays open.
    void btnSettingsSaveClick();

    // SettingsChoices
    int defaultServer() const override;
    int ownServer() const override;
    QString primaryServer() const override;
    QString secondaryServer() const override;
    bool useOwnServer() const override;
    bool linksInNewWindow() const override;
    QString proxyHost() const override;
    QString proxyPort() const override;
    bool hideExportHelp() const override;
    void setHideExportHelp(bool hide) override;
    bool hideInsertPicture() const override;
    void setHideInsertPicture(bool hide) override;
    bool hideInsertLink() const override;
    void setHideInsertLink(bool hide) override;
    bool hideCheckImage() const override;
    void setHideCheckImage(bool hide) override;

signals:
    /// The settings were written: the preview is to show them at once.
    void saved();
    /// The seller clicked `cbxHideCheckImage`.
    void hideCheckImageClicked(bool hide);

protected:
    void reject() override;

private:
    SettingsDialog(UserDialogs& dialogs, std::unique_ptr<Settings> own, QWidget* parent);

    void fillServersPage(QWidget* page);
    QWidget* createTimerPage();
    QWidget* createProxyPage();
    QWidget* createOthersPage();
    QGroupBox* createServerSetGroup(QWidget* parent);
    /// The controls show the current settings.
    void showSettings();
    void showSetting(SettingKey key);
    void showSettings(const QList<SettingKey>& keys);
    /// Each control's changes become the settings' current values.
    void connectChoices();
    void choose(SettingKey key, const QVariant& value);
    void choosePersonalServer(SettingKey key, const QString& typed);
    bool checkFields(QString& primary, QString& secondary);
    void showProxyPanel();

    UserDialogs& m_dialogs;
    std::unique_ptr<Settings> m_ownSettings;
    Settings& m_settings;
    /// Set while the controls are made to show the settings: those changes
    /// are no choices.
    bool m_showing = false;
    QTabWidget* m_pages = nullptr;
    QButtonGroup* m_defaultServers = nullptr;
    QButtonGroup* m_ownServers = nullptr;
    QButtonGroup* m_serverSets = nullptr;
    QLineEdit* m_primaryServer = nullptr;
    QLineEdit* m_secondaryServer = nullptr;
    QCheckBox* m_useOwnServer = nullptr;
    NumberEdit* m_refreshInterval = nullptr;
    UpDown* m_refreshUpDown = nullptr;
    QButtonGroup* m_connection = nullptr;
    QGroupBox* m_proxyPanel = nullptr;
    QLineEdit* m_proxyHost = nullptr;
    QLineEdit* m_proxyPort = nullptr;
    QCheckBox* m_hideImageDialog = nullptr;
    QCheckBox* m_hideLinkDialog = nullptr;
    QCheckBox* m_hideExportHelp = nullptr;
    QCheckBox* m_hideCheckImage = nullptr;
    QCheckBox* m_linksTarget = nullptr;
    QCheckBox* m_watchAtStart = nullptr;
    UploadSettingsPage* m_upload = nullptr;
    int m_serverSetIndex = 0;
};
