#include "platform/webpicturecache.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace webpicturecache {
namespace {

const QByteArray magic = QByteArrayLiteral("VTRLWEB1\n");

QString fileOf(const QString& address) {
    return QDir(folder()).filePath(QString::fromLatin1(
        QCryptographicHash::hash(address.toUtf8(), QCryptographicHash::Sha1).toHex()));
}

/// Drops the files written longest ago until the folder is within its limit.
void keepWithinLimit() {
    QFileInfoList files =
        QDir(folder()).entryInfoList(QDir::Files | QDir::NoDotAndDotDot, QDir::Time);
    qint64 total = 0;
    for (const QFileInfo& file : files)
        total += file.size();
    // Newest first: the oldest are at the end.
    while (total > kFolderLimit && !files.isEmpty()) {
        const QFileInfo oldest = files.takeLast();
        if (QFile::remove(oldest.filePath()))
            total -= oldest.size();
    }
}

} // namespace

QString folder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::CacheLocation))
        .filePath(QStringLiteral("web-pictures"));
}

QByteArray read(const QString& address) {
    QFile in(fileOf(address));
    if (!in.open(QIODevice::ReadOnly))
        return {};
    const QByteArray kept = in.readAll();
    const QByteArray head = magic + address.toUtf8() + '\n';
    if (!kept.startsWith(head))
        return {};
    return kept.mid(head.size());
}

bool write(const QString& address, const QByteArray& bytes) {
    if (!QDir().mkpath(folder()))
        return false;
    QSaveFile out(fileOf(address));
    if (!out.open(QIODevice::WriteOnly))
        return false;
    out.write(magic + address.toUtf8() + '\n');
    out.write(bytes);
    if (!out.commit())
        return false;
    keepWithinLimit();
    return true;
}

} // namespace webpicturecache
