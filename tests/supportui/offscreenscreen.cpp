#include "supportui/offscreenscreen.h"

#include <QFile>
#include <QString>
#include <QTemporaryDir>

void useOffscreenScreen(const QSize& size) {
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty() && platform != "offscreen")
        return;
    // The platform reads the file as the application starts.
    static QTemporaryDir config;
    const QString file = config.filePath(QStringLiteral("screen.json"));
    QFile json(file);
    if (!json.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(file));
    json.write(QStringLiteral("{\"screens\": [{\"name\": \"screen\", \"x\": 0, \"y\": 0, "
                              "\"width\": %1, \"height\": %2, \"logicalDpi\": 96}]}")
                   .arg(size.width())
                   .arg(size.height())
                   .toUtf8());
    json.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + file.toLocal8Bit());
}
