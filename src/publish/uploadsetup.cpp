#include "publish/uploadsetup.h"

#include "platform/workingfolders.h"
#include "settings/settings.h"

#include <QDir>

namespace uploadsetup {

bool configured(const Settings& settings) {
    return settings.integer(SettingKey::upProto) != 0 &&
           !settings.text(SettingKey::upHost).trimmed().isEmpty();
}

UploadAccount account(const Settings& settings, const WorkingFolders& folders) {
    UploadAccount account;
    switch (settings.integer(SettingKey::upProto)) {
    case 2:
        account.protocol = UploadAccount::Protocol::WebDav;
        break;
    case 3:
        account.protocol = UploadAccount::Protocol::Ftps;
        break;
    case 4:
        account.protocol = UploadAccount::Protocol::Ftp;
        break;
    default:
        account.protocol = UploadAccount::Protocol::Sftp;
        break;
    }
    account.host = settings.text(SettingKey::upHost).trimmed();
    account.port = settings.integer(SettingKey::upPort);
    account.user = settings.text(SettingKey::upUser).trimmed();
    account.folder = settings.text(SettingKey::upFolder).trimmed();
    account.keyFile = settings.text(SettingKey::upKey).trimmed();
    account.knownHostsFiles = {QDir::homePath() + QStringLiteral("/.ssh/known_hosts"),
                               folders.knownHostsFile()};
    account.pinnedKey = settings.text(SettingKey::upPin).trimmed();
    return account;
}

} // namespace uploadsetup
