#pragma once

#include "settings/recentfiles.h"

#include <QObject>
#include <functional>

class QMenu;
class UserDialogs;

/// The recent documents and layouts of File > Open: each submenu lists its
/// files anew when it opens, newest first, with the folder on hover.
/// Choosing one opens it as the desktop's files are opened; a file that is
/// gone is named and leaves the list. Every file the seller opens or saves
/// is remembered here.
class RecentMenu : public QObject {
    Q_OBJECT
public:
    using Opener = std::function<void(const QString& path)>;

    RecentMenu(QMenu* documents, QMenu* layouts, RecentFiles& recent, UserDialogs& dialogs,
               Opener open, QObject* parent = nullptr);

    /// The seller opened or saved this file.
    void remember(RecentFiles::Kind kind, const QString& path);
    /// Lists the kind's files in its submenu, which is usable only with
    /// files to offer.
    void fill(RecentFiles::Kind kind);
    /// What choosing an entry does.
    void choose(RecentFiles::Kind kind, const QString& path);

private:
    QMenu* menuOf(RecentFiles::Kind kind) const;

    QMenu* m_documents;
    QMenu* m_layouts;
    RecentFiles& m_recent;
    UserDialogs& m_dialogs;
    Opener m_open;
    /// A list that cannot be stored is said once per run, not at every save.
    bool m_failureShown = false;
};
