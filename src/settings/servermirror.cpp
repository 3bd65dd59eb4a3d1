#include "settings/servermirror.h"

#include "platform/inifile.h"

namespace settingsfile {

QString fileName(const QString& sharedDataFolder) {
    return sharedDataFolder + QStringLiteral("defaults.ini");
}

ServerMirror readServerMirror(const QString& fileName) {
    const IniFile file(fileName);
    const QString section = QStringLiteral("GENERAL");
    ServerMirror mirror;
    mirror.DefaultServer = file.readInteger(section, QStringLiteral("DefSrv"), 1);
    mirror.OwnServer = file.readInteger(section, QStringLiteral("ownSrv"), 1);
    mirror.UseOwnServer = file.readBool(section, QStringLiteral("useOwnSrv"), false);
    mirror.PrimaryServer = file.readString(section, QStringLiteral("primSrv"),
                                           QStringLiteral("your primary server *"));
    mirror.SecondaryServer = file.readString(section, QStringLiteral("secSrv"),
                                             QStringLiteral("your secondary server *"));
    mirror.HideExportHelp = file.readBool(section, QStringLiteral("hideExportHlp"), false);
    const QString serverSet =
        file.readString(section, QStringLiteral("srvSet"), QStringLiteral("0"));
    mirror.ServerSet = serverSet.isEmpty() ? QChar() : serverSet.front();
    return mirror;
}

QString readLanguageCode(const QString& fileName) {
    return IniFile(fileName)
        .readString(QStringLiteral("General"), QStringLiteral("lang"), QStringLiteral("en"))
        .left(2);
}

} // namespace settingsfile
