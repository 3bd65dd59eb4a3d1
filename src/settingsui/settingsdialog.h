#pragma once

#include "settings/settingschoices.h"

#include <QDialog>

class NumberEdit;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTabWidget;
class SettingsFile;
class UpDown;
class UserDialogs;
struct ServerMirror;

/// The settings dialog `T_frmSettings`: the image servers, the connection,
/// the hidden refresh timer and the windows to hide, read from the settings
/// file when it is created and written back, all keys at once, by "Save
/// changes". Closing it any other way discards the edits: the next opening
/// shows what is stored.
class SettingsDialog : public QDialog, public SettingsChoices {
    Q_OBJECT
public:
    SettingsDialog(UserDialogs& dialogs, QString settingsFile, QWidget* parent = nullptr);

    /// Shows the mirrored settings: the product server (1..3) and the
    /// personal server (1..2) of those numbers become selected, a true
    /// `UseOwnServer` checks `cbxUseOwnServer`, and `cbxHideExportHelp`
    /// takes `HideExportHelp`. Numbers out of range select nothing, and a
    /// false `UseOwnServer` leaves its box unchanged.
    void mirrorServerSettings(const ServerMirror& mirror);

    /// The server set `radServerSet` carries. The group offers sets 0..3; any
    /// other index selects none of them but is still the one kept, so that
    /// saving writes back the value it was given.
    void setServerSetIndex(int index);
    int serverSetIndex() const { return m_serverSetIndex; }

    /// Each opening shows the personal servers the program uses now.
    void showServers(const QString& primary, const QString& secondary);

    /// "Save changes": checks the fields, writes every key in one go and
    /// closes. A field that holds no valid value is named in a message and
    /// nothing is written; a file that cannot be written throws `AppError`.
    void btnSettingsSaveClick();

    // SettingsChoices
    int defaultServer() const override;
    int ownServer() const override;
    QString primaryServer() const override;
    QString secondaryServer() const override;
    bool useOwnServer() const override;
    bool linksInNewWindow() const override;
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
    void fillServersPage(QWidget* page);
    QWidget* createTimerPage();
    QWidget* createProxyPage();
    QWidget* createOthersPage();
    QGroupBox* createServerSetGroup(QWidget* parent);
    /// Shows what the settings file holds; the defaults when it cannot be read.
    void readSettingsFile();
    void showSettings(const SettingsFile& file);
    bool checkFields(QString& primary, QString& secondary);
    void showProxyPanel();

    UserDialogs& m_dialogs;
    QString m_settingsFile;
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
    int m_serverSetIndex = 0;
};
