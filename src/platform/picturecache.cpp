#include "platform/picturecache.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <cstring>

namespace picturecache {
namespace {

const char magic[8] = {'V', 'T', 'R', 'L', 'P', 'I', 'C', '1'};
// Far beyond any picture kept here; a larger size means a damaged file.
constexpr quint32 maxSide = 16384;
constexpr quint32 maxKeyBytes = 65536;
constexpr QImage::Format keptFormat = QImage::Format_ARGB32_Premultiplied;

} // namespace

QString file(const QString& name) {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::CacheLocation)).filePath(name);
}

QImage read(const QString& fileName, const QString& key) {
    QFile in(fileName);
    if (!in.open(QIODevice::ReadOnly))
        return {};
    QDataStream stream(&in);
    char start[sizeof magic] = {};
    if (stream.readRawData(start, sizeof start) != int(sizeof start) ||
        memcmp(start, magic, sizeof magic) != 0)
        return {};
    quint32 keyBytes = 0;
    stream >> keyBytes;
    if (stream.status() != QDataStream::Ok || keyBytes > maxKeyBytes)
        return {};
    QByteArray keptKey(qsizetype(keyBytes), Qt::Uninitialized);
    if (stream.readRawData(keptKey.data(), int(keyBytes)) != int(keyBytes) ||
        QString::fromUtf8(keptKey) != key)
        return {};
    quint32 width = 0;
    quint32 height = 0;
    double ratio = 0;
    stream >> width >> height >> ratio;
    if (stream.status() != QDataStream::Ok || width == 0 || height == 0 || width > maxSide ||
        height > maxSide || !(ratio >= 0.5 && ratio <= 16))
        return {};
    QImage picture(int(width), int(height), keptFormat);
    const qsizetype bytes = picture.sizeInBytes();
    if (picture.isNull() || in.size() - in.pos() != bytes ||
        stream.readRawData(reinterpret_cast<char*>(picture.bits()), int(bytes)) != int(bytes))
        return {};
    picture.setDevicePixelRatio(ratio);
    return picture;
}

bool write(const QString& fileName, const QString& key, const QImage& picture) {
    if (picture.isNull())
        return false;
    const QImage kept = picture.convertToFormat(keptFormat);
    const QByteArray keyBytes = key.toUtf8();
    QDir().mkpath(QFileInfo(fileName).absolutePath());
    QSaveFile out(fileName);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    QDataStream stream(&out);
    stream.writeRawData(magic, sizeof magic);
    stream << quint32(keyBytes.size());
    stream.writeRawData(keyBytes.constData(), int(keyBytes.size()));
    stream << quint32(kept.width()) << quint32(kept.height()) << double(kept.devicePixelRatio());
    stream.writeRawData(reinterpret_cast<const char*>(kept.constBits()), int(kept.sizeInBytes()));
    return stream.status() == QDataStream::Ok && out.commit();
}

} // namespace picturecache
