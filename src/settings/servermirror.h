#pragma once

#include "settings/settingsfile.h"

#include <QChar>
#include <QString>

/// The server choices of the settings, as the pages and publishing read them.
struct ServerMirror {
    int DefaultServer = 1;
    int OwnServer = 1;
    bool UseOwnServer = false;
    QString PrimaryServer;
    QString SecondaryServer;
    bool HideExportHelp = false;
    /// First character of "srvSet"; null when the value is empty.
    QChar ServerSet;
};

namespace settingsfile {

/// The server choices among the values of every key.
ServerMirror serverMirror(const SettingValues& values);
/// The first two characters of "lang" among the values of every key.
QString languageCode(const SettingValues& values);

/// The keys with their defaults for absent or unreadable values (all of
/// them for a file without a name). Throws `AppError` naming the file when
/// it is too large to be a settings file.
ServerMirror readServerMirror(const QString& fileName);

/// The first two characters of "lang", default "en"; also the default when
/// the file is too large to be read.
QString readLanguageCode(const QString& fileName);

} // namespace settingsfile
