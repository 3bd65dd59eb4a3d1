#include "settings/recentfiles.h"

#include "platform/desktoprecent.h"
#include "settings/settings.h"

#include <QFileInfo>
#include <QUrl>
#include <utility>

namespace {

SettingKey keyOf(RecentFiles::Kind kind) {
    return kind == RecentFiles::Kind::Documents ? SettingKey::recentDocs
                                                : SettingKey::recentLayouts;
}

QString absolute(const QString& path) {
    return QFileInfo(path).absoluteFilePath();
}

} // namespace

RecentFiles::RecentFiles(Settings& settings, QString desktopList)
    : m_settings(settings)
    , m_desktopList(std::move(desktopList)) {}

QStringList RecentFiles::files(Kind kind) const {
    return decode(m_settings.text(keyOf(kind)));
}

Status RecentFiles::add(Kind kind, const QString& path) {
    const QString file = absolute(path);
    // Another run of the program may have added files since.
    (void)m_settings.reloadIfChanged();
    QStringList paths = files(kind);
    paths.removeAll(file);
    paths.prepend(file);
    Status stored = store(kind, paths);
    if (m_desktopList.isEmpty())
        return stored;
    desktoprecent::Use use;
    use.path = file;
    use.mimeType = kind == Kind::Documents ? QStringLiteral("application/x-vantrel-document")
                                           : QStringLiteral("application/x-vantrel-layout");
    use.program = QStringLiteral("vantrel");
    use.command = QStringLiteral("vantrel %u");
    Status listed = desktoprecent::add(m_desktopList, use);
    return stored ? listed : stored;
}

Status RecentFiles::remove(Kind kind, const QString& path) {
    (void)m_settings.reloadIfChanged();
    QStringList paths = files(kind);
    paths.removeAll(absolute(path));
    return store(kind, paths);
}

Status RecentFiles::store(Kind kind, const QStringList& paths) {
    return m_settings.store(keyOf(kind), encode(paths.mid(0, kept)));
}

QString RecentFiles::encode(const QStringList& paths) {
    QStringList parts;
    for (const QString& path : paths)
        parts << QString::fromLatin1(QUrl::toPercentEncoding(path, "/"));
    return parts.join(QLatin1Char('|'));
}

QStringList RecentFiles::decode(const QString& text) {
    QStringList paths;
    for (const QString& part : text.split(QLatin1Char('|'), Qt::SkipEmptyParts)) {
        const QString path = QUrl::fromPercentEncoding(part.toUtf8());
        // Only whole paths count: a hand-edited entry cannot name a file
        // relative to wherever the program happens to run.
        if (QFileInfo(path).isAbsolute() && !paths.contains(path))
            paths << path;
        if (paths.size() == kept)
            break;
    }
    return paths;
}
