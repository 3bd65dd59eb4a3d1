#pragma once

#include "platform/result.h"

#include <QString>
#include <QStringList>

class Settings;

/// The documents and layouts the seller opened or saved last, newest first,
/// kept in the settings so that every run of the program offers them. Each
/// use is also added to the desktop's list of recent files.
class RecentFiles {
public:
    enum class Kind { Documents, Layouts };
    /// How many of each kind are kept.
    static constexpr int kept = 8;

    /// `desktopList`: the desktop's list of recent files; empty for none.
    RecentFiles(Settings& settings, QString desktopList);

    /// Newest first, at most `kept`.
    QStringList files(Kind kind) const;
    /// The file goes first (once), the oldest beyond `kept` go. Saved at
    /// once; a settings file or desktop list that cannot be written fails,
    /// naming it, and the list counts for this run all the same.
    Status add(Kind kind, const QString& path);
    /// The file leaves the list (it is gone); saved at once.
    Status remove(Kind kind, const QString& path);

    /// The settings' text for a list, and back: every path percent-encoded,
    /// "|" between them, so that any name survives the settings file.
    static QString encode(const QStringList& paths);
    static QStringList decode(const QString& text);

private:
    Status store(Kind kind, const QStringList& paths);

    Settings& m_settings;
    QString m_desktopList;
};
