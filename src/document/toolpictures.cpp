#include "document/toolpictures.h"

#include "platform/picturecache.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <cmath>

namespace toolpictures {
namespace {

/// What a cache must have been made from to be used: a new theme version
/// comes with a new index file.
QString cacheKey(const QStringList& names, int pixels, qreal ratio) {
    QString index;
    for (const QString& folder : QIcon::themeSearchPaths()) {
        const QFileInfo file(
            QDir(folder).filePath(QIcon::themeName() + QLatin1String("/index.theme")));
        if (file.exists()) {
            index = file.absoluteFilePath() + QLatin1Char('@') +
                    QString::number(file.lastModified().toMSecsSinceEpoch());
            break;
        }
    }
    return QStringList{
        QStringLiteral("2"),     QLatin1String(qVersion()), QIcon::themeName(),          index,
        QString::number(pixels), QString::number(ratio),    names.join(QLatin1Char(','))}
        .join(QLatin1Char('|'));
}

QIcon themePicture(const QString& name, int size, qreal ratio) {
    if (name != QLatin1String("overline"))
        return QIcon::fromTheme(name);
    const QImage underline = QIcon::fromTheme(QStringLiteral("format-text-underline"))
                                 .pixmap(QSize(size, size), ratio)
                                 .toImage();
    return underline.isNull() ? QIcon()
                              : QIcon(QPixmap::fromImage(underline.mirrored(false, true)));
}

QList<QIcon> cut(const QImage& strip, int count, int pixels, qreal ratio) {
    QList<QIcon> icons;
    for (int i = 0; i < count; ++i) {
        QPixmap picture = QPixmap::fromImage(strip.copy(i * pixels, 0, pixels, pixels));
        picture.setDevicePixelRatio(ratio);
        icons.append(QIcon(picture));
    }
    return icons;
}

} // namespace

QString cacheFile() {
    return picturecache::file(QStringLiteral("tool-pictures"));
}

QList<QIcon> load(const QStringList& names, int size, const QString& cacheFile) {
    return load(names, size, qGuiApp ? qGuiApp->devicePixelRatio() : 1.0, cacheFile);
}

QList<QIcon> load(const QStringList& names, int size, qreal ratio, const QString& cacheFile) {
    const int pixels = int(std::ceil(size * ratio));
    const QString key = cacheKey(names, pixels, ratio);
    const QImage kept = picturecache::read(cacheFile, key);
    if (kept.width() == pixels * names.size() && kept.height() == pixels)
        return cut(kept, int(names.size()), pixels, ratio);

    QImage strip(pixels * int(names.size()), pixels, QImage::Format_ARGB32_Premultiplied);
    strip.fill(Qt::transparent);
    QList<bool> found;
    {
        QPainter painter(&strip);
        for (int i = 0; i < names.size(); ++i) {
            const QPixmap picture =
                themePicture(names.at(i), size, ratio).pixmap(QSize(size, size), ratio);
            found.append(!picture.isNull());
            if (picture.isNull())
                continue;
            QImage image = picture.toImage().scaled(pixels, pixels, Qt::KeepAspectRatio,
                                                    Qt::SmoothTransformation);
            // The strip is counted in device pixels: a picture keeping its
            // ratio would be drawn at its logical size, a corner of its cell.
            image.setDevicePixelRatio(1.0);
            painter.drawImage(i * pixels + (pixels - image.width()) / 2,
                              (pixels - image.height()) / 2, image);
        }
    }
    QList<QIcon> icons = cut(strip, int(names.size()), pixels, ratio);
    const bool complete = !found.contains(false);
    for (int i = 0; i < names.size(); ++i) {
        if (!found.at(i))
            icons[i] = QIcon();
    }
    // A cache that cannot be written only means the next start renders again.
    if (complete)
        picturecache::write(cacheFile, key, strip);
    return icons;
}

} // namespace toolpictures
