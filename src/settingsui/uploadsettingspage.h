#pragma once

#include "http/remotefolder.h"
#include "platform/result.h"
#include "platform/workingfolders.h"
#include "settings/settingsfile.h"

#include <QList>
#include <QWidget>
#include <functional>
#include <memory>

class NumberEdit;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class Settings;
class UserDialogs;

/// The "Upload" page of the settings dialog: the seller's own server the
/// pictures are sent to while publishing, how to log in, and a test of the
/// connection. Its values are the settings' current values, as the other
/// pages' are; the password alone goes to the desktop's secret store, when
/// the dialog saves.
class UploadSettingsPage : public QWidget {
    Q_OBJECT
public:
    UploadSettingsPage(UserDialogs& dialogs, Settings& settings, QWidget* parent = nullptr);
    ~UploadSettingsPage() override;

    /// The keys of this page that "Save changes" writes.
    static QList<SettingKey> savedKeys();

    /// The fields hold values that can be saved; otherwise `showPage` is
    /// called, the first field that does not is named in a message and gets
    /// the focus, and false is given.
    bool checkFields(const std::function<void()>& showPage);
    /// Puts the password typed into the secret store (or forgets it when the
    /// field was emptied); nothing is done when it was not changed.
    Status savePassword();
    /// The choices not saved are dropped: a test running stops and the
    /// password is read again from the secret store at the next showing.
    void discard();

    /// Where "Test connection" finds the server's folder; the protocols' own
    /// by default.
    using FolderOpener = std::function<std::unique_ptr<RemoteFolder>(const UploadAccount&)>;
    void setFolderOpener(FolderOpener opener) { m_openFolder = std::move(opener); }

    /// "Test connection": logs in, writes and removes a small file, and says
    /// how it went. Returns at once; the outcome follows from the event loop.
    void btnUpTestClick();
    bool isTesting() const { return m_folder != nullptr; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showSettings(const QList<SettingKey>& keys);
    void connectChoices();
    void choose(SettingKey key, const QVariant& value);
    void choosePublicAddress(const QString& typed);
    SettingKey publicAddressKey() const;
    void showProtocolParts();
    void loadPassword();
    void browseKeyFile();
    UploadAccount account() const;
    void startTest(const UploadAccount& account);
    void tested(const UploadOutcome& outcome);
    void endTest();

    UserDialogs& m_dialogs;
    Settings& m_settings;
    /// The program's own known-hosts file lies beside the settings file.
    WorkingFolders m_folders;
    bool m_showing = false;
    QComboBox* m_protocol = nullptr;
    QLineEdit* m_host = nullptr;
    NumberEdit* m_port = nullptr;
    QLineEdit* m_user = nullptr;
    QLineEdit* m_password = nullptr;
    QLabel* m_passwordStore = nullptr;
    QLineEdit* m_keyFile = nullptr;
    QPushButton* m_browseKey = nullptr;
    QLineEdit* m_folderField = nullptr;
    QLineEdit* m_publicAddress = nullptr;
    NumberEdit* m_maxSide = nullptr;
    QLabel* m_ftpWarning = nullptr;
    QPushButton* m_test = nullptr;
    QLabel* m_testing = nullptr;
    /// The password as the secret store holds it for `m_passwordKey`; the
    /// field is loaded once per showing, not while the seller types.
    QString m_storedPassword;
    QString m_passwordKey;
    bool m_passwordLoaded = false;
    FolderOpener m_openFolder;
    std::unique_ptr<RemoteFolder> m_folder;
    /// The seller accepted the server's identity during this test: a second
    /// refusal is shown, not asked again.
    bool m_trustAsked = false;
};
