#include "settings/servermirror.h"

#include "platform/apperror.h"
#include "settings/settingsfile.h"

namespace settingsfile {

namespace {

const QVariant& valueOf(const SettingValues& values, SettingKey key) {
    return values[static_cast<std::size_t>(key)];
}

} // namespace

ServerMirror serverMirror(const SettingValues& values) {
    ServerMirror mirror;
    mirror.DefaultServer = valueOf(values, SettingKey::DefSrv).toInt();
    mirror.OwnServer = valueOf(values, SettingKey::ownSrv).toInt();
    mirror.UseOwnServer = valueOf(values, SettingKey::useOwnSrv).toBool();
    mirror.PrimaryServer = valueOf(values, SettingKey::primSrv).toString();
    mirror.SecondaryServer = valueOf(values, SettingKey::secSrv).toString();
    mirror.HideExportHelp = valueOf(values, SettingKey::hideExportHlp).toBool();
    const QString serverSet = valueOf(values, SettingKey::srvSet).toString();
    mirror.ServerSet = serverSet.isEmpty() ? QChar() : serverSet.front();
    return mirror;
}

QString languageCode(const SettingValues& values) {
    return valueOf(values, SettingKey::lang).toString().left(2);
}

ServerMirror readServerMirror(const QString& fileName) {
    return serverMirror(SettingsFile(fileName).readAll());
}

QString readLanguageCode(const QString& fileName) {
    try {
        return languageCode(SettingsFile(fileName).readAll());
    } catch (const AppError&) {
        // Read before the window shows; the file's fault is reported by the
        // server settings read at the first activation.
        return SettingsFile::defaultText(SettingKey::lang).left(2);
    }
}

} // namespace settingsfile
