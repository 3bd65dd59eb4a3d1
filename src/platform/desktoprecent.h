#pragma once

#include "platform/result.h"

#include <QDateTime>
#include <QString>

/// The desktop's list of recently used files ("recently-used.xbel" in the
/// user's data folder), which file dialogs and file managers show. Vantrel
/// adds the files it opens and saves there, so that they appear beside the
/// other programs' files.
namespace desktoprecent {

struct Use {
    QString path;     // absolute
    QString mimeType; // e.g. "application/x-vantrel-document"
    QString program;  // the program's name, as its desktop file names it
    QString command;  // how the desktop opens the file with it, e.g. "vantrel %u"
    QDateTime when = QDateTime::currentDateTimeUtc();
};

/// "recently-used.xbel" in the user's data folder.
QString listFile();

/// Records the use in `list`: a file listed already gets its new time and
/// one use more by the program; other entries and other programs' records
/// stay as they are. A list that cannot be read as one is left untouched
/// and the failure says so; the file is replaced all at once.
Status add(const QString& list, const Use& use);

} // namespace desktoprecent
