#include "settings/servermirror.h"

#include "platform/apperror.h"
#include "settings/settingsfile.h"

namespace settingsfile {

ServerMirror readServerMirror(const QString& fileName) {
    const SettingsFile file(fileName);
    ServerMirror mirror;
    mirror.DefaultServer = file.readInt(SettingKey::DefSrv);
    mirror.OwnServer = file.readInt(SettingKey::ownSrv);
    mirror.UseOwnServer = file.readBool(SettingKey::useOwnSrv);
    mirror.PrimaryServer = file.readString(SettingKey::primSrv);
    mirror.SecondaryServer = file.readString(SettingKey::secSrv);
    mirror.HideExportHelp = file.readBool(SettingKey::hideExportHlp);
    const QString serverSet = file.readString(SettingKey::srvSet);
    mirror.ServerSet = serverSet.isEmpty() ? QChar() : serverSet.front();
    return mirror;
}

QString readLanguageCode(const QString& fileName) {
    try {
        return SettingsFile(fileName).readString(SettingKey::lang).left(2);
    } catch (const AppError&) {
        // Read before the window shows; the file's fault is reported by the
        // server settings read at the first activation.
        return SettingsFile::defaultText(SettingKey::lang).left(2);
    }
}

} // namespace settingsfile
