#include "app/webmoduleloader.h"

#include "platform/webparts.h"

#include <QDir>
#include <QFileInfo>
#include <QPluginLoader>
#include <dlfcn.h>

namespace webmoduleloader {

QString fileName() {
    // This library's own folder: the module is installed beside it.
    Dl_info info{};
    QString folder;
    if (dladdr(reinterpret_cast<void*>(&fileName), &info) && info.dli_fname)
        folder = QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absolutePath();
    return QDir(folder).filePath(QStringLiteral(VANTREL_WEB_MODULE));
}

WebParts* load(QString* error) {
    static QString failure;
    static WebParts* parts = [] {
        const QString file = fileName();
        QPluginLoader loader(file);
        WebParts* loaded = qobject_cast<WebParts*>(loader.instance());
        if (!loaded) {
            QString reason = loader.errorString();
            if (!reason.endsWith(QLatin1Char('.')))
                reason += QLatin1Char('.');
            failure = QStringLiteral("The web module \"%1\" could not be loaded: %2 The "
                                     "previews and the Publish page are not available; the "
                                     "Document page works as before.")
                          .arg(QDir::toNativeSeparators(file), reason);
        }
        return loaded;
    }();
    if (error)
        *error = failure;
    return parts;
}

} // namespace webmoduleloader
