#include "app/recentmenu.h"

#include "platform/apperror.h"
#include "platform/uilanguage.h"
#include "ui/userdialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <utility>

RecentMenu::RecentMenu(QMenu* documents, QMenu* layouts, RecentFiles& recent, UserDialogs& dialogs,
                       Opener open, QObject* parent)
    : QObject(parent)
    , m_documents(documents)
    , m_layouts(layouts)
    , m_recent(recent)
    , m_dialogs(dialogs)
    , m_open(std::move(open)) {
    for (const RecentFiles::Kind kind :
         {RecentFiles::Kind::Documents, RecentFiles::Kind::Layouts}) {
        QMenu* menu = menuOf(kind);
        menu->setToolTipsVisible(true);
        connect(menu, &QMenu::aboutToShow, this, [this, kind] { fill(kind); });
        fill(kind);
    }
}

QMenu* RecentMenu::menuOf(RecentFiles::Kind kind) const {
    return kind == RecentFiles::Kind::Documents ? m_documents : m_layouts;
}

void RecentMenu::remember(RecentFiles::Kind kind, const QString& path) {
    const Status stored = m_recent.add(kind, path);
    if (!stored && !m_failureShown) {
        m_failureShown = true;
        m_dialogs.showMessage(stored.error(), UserDialogs::Icon::Warning);
    }
    fill(kind);
}

void RecentMenu::fill(RecentFiles::Kind kind) {
    QMenu* menu = menuOf(kind);
    // Later: the entry chosen may be the one whose command is running.
    for (QAction* old : menu->actions()) {
        menu->removeAction(old);
        old->deleteLater();
    }
    const QStringList files = m_recent.files(kind);
    int number = 0;
    for (const QString& path : files) {
        const QFileInfo file(path);
        // "&1" … "&8": each entry has its key; a "&" of the name shows as one.
        QString name = file.fileName();
        name.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* entry = menu->addAction(QStringLiteral("&%1 %2").arg(++number).arg(name));
        const QString folder = QDir::toNativeSeparators(file.absolutePath());
        entry->setToolTip(folder);
        entry->setStatusTip(folder);
        entry->setData(path);
        connectCommand(entry, &QAction::triggered, this, m_dialogs,
                       [this, kind, path] { choose(kind, path); });
    }
    menu->menuAction()->setEnabled(!files.isEmpty());
}

void RecentMenu::choose(RecentFiles::Kind kind, const QString& path) {
    if (!QFileInfo(path).isFile()) {
        const Status removed = m_recent.remove(kind, path);
        fill(kind);
        QString message = uilanguage::text("MESSAGES", "recentFileGone",
                                           QStringLiteral("\"%1\" was not found: it may have been "
                                                          "moved, renamed or deleted. It was "
                                                          "taken off the list of recent files."))
                              .arg(QDir::toNativeSeparators(path));
        if (!removed)
            message += QStringLiteral("\n\n") + removed.error();
        throw AppError(message);
    }
    m_open(path);
}
