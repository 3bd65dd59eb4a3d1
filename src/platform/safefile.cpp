#include "platform/safefile.h"

#include "platform/apperror.h"
#include "platform/uilanguage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

// The temporary file of a write to "name" is ".name.XXXXXX.vtmp" in the same
// folder: hidden, on the same file system for the rename, and recognisable,
// so that one left behind by a write that never finished can be removed by
// the next write of the same file.
const QString temporarySuffix = QStringLiteral(".vtmp");
constexpr int randomLength = 6;

QString temporaryPrefix(const QFileInfo& target) {
    return QLatin1Char('.') + target.fileName() + QLatin1Char('.');
}

bool isRandomPart(QStringView text) {
    if (text.size() != randomLength)
        return false;
    for (QChar c : text) {
        if (!(c.isDigit() || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z')))
            return false;
    }
    return true;
}

bool isLeftoverOf(const QFileInfo& target, const QString& name) {
    const QString prefix = temporaryPrefix(target);
    return name.size() == prefix.size() + randomLength + temporarySuffix.size() &&
           name.startsWith(prefix) && name.endsWith(temporarySuffix) &&
           isRandomPart(QStringView(name).sliced(prefix.size(), randomLength));
}

void removeLeftovers(const QFileInfo& target) {
    const QDir folder = target.absoluteDir();
    const QString pattern = temporaryPrefix(target) + QLatin1Char('*') + temporarySuffix;
    // The name filter only narrows the listing; the exact test decides.
    for (const QString& name :
         folder.entryList({pattern}, QDir::Files | QDir::Hidden | QDir::System)) {
        if (isLeftoverOf(target, name))
            QFile::remove(folder.filePath(name));
    }
}

QString randomPart() {
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QString text;
    for (int i = 0; i < randomLength; ++i)
        text += QLatin1Char(letters[QRandomGenerator::global()->bounded(int(sizeof letters) - 1)]);
    return text;
}

// Opens a new temporary file beside the target; false with the reason when
// none can be made. While it replaces an existing file, only its owner can
// read it until it takes on that file's permissions.
bool openTemporary(const QFileInfo& target, QFile& file, QString& reason) {
    const QFile::Permissions permissions =
        target.exists() ? QFile::ReadOwner | QFile::WriteOwner
                        : QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                              QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;
    for (int attempt = 0; attempt < 100; ++attempt) {
        file.setFileName(target.absoluteDir().filePath(temporaryPrefix(target) + randomPart() +
                                                       temporarySuffix));
        // Unbuffered, so a short write (disk full, size limit) shows up as a
        // short count here instead of being lost in a buffered flush.
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered,
                      permissions))
            return true;
        if (!file.exists()) {
            reason = file.errorString();
            return false;
        }
    }
    reason = uilanguage::text("MESSAGES", "fileNoTemporary",
                              QStringLiteral("no temporary file could be made beside it"));
    return false;
}

bool writeAll(QFile& file, const QByteArray& bytes) {
    qsizetype written = 0;
    while (written < bytes.size()) {
        const qint64 count = file.write(bytes.constData() + written, bytes.size() - written);
        if (count <= 0)
            return false;
        written += count;
    }
    return true;
}

} // namespace

void writeFileAtomically(const QString& fileName, const QByteArray& bytes) {
    const QFileInfo given(fileName);
    // A link is followed, so that the file it points at gets the new content
    // and the link stays a link.
    const QFileInfo target(!given.isSymLink() ? given.absoluteFilePath()
                           : given.exists()   ? given.canonicalFilePath()
                                              : given.symLinkTarget());
    const auto fail = [&fileName](const QString& reason) {
        throw AppError(uilanguage::text("MESSAGES", "fileNotWritten",
                                        QStringLiteral("Could not write the file \"%1\": %2."))
                           .arg(fileName, reason));
    };
    if (target.exists() && !target.isWritable())
        fail(uilanguage::text("MESSAGES", "fileReadOnly", QStringLiteral("the file is read-only")));
    if (target.isDir())
        fail(uilanguage::text("MESSAGES", "fileIsFolder", QStringLiteral("it is a folder")));

    removeLeftovers(target);
    QFile file;
    QString reason;
    if (!openTemporary(target, file, reason))
        fail(reason);
    bool ok = writeAll(file, bytes);
    if (ok && target.exists())
        file.setPermissions(QFile::permissions(target.absoluteFilePath()));
    // On disk before it takes the old file's place, so a crash leaves one
    // whole file or the other.
    ok = ok && ::fsync(file.handle()) == 0;
    if (!ok)
        reason = file.error() == QFileDevice::NoError || file.errorString().isEmpty()
                     ? uilanguage::text("MESSAGES", "fileDataNotWritten",
                                        QStringLiteral("the data could not all be written"))
                     : file.errorString();
    file.close();
    if (ok && std::rename(QFile::encodeName(file.fileName()).constData(),
                          QFile::encodeName(target.absoluteFilePath()).constData()) != 0) {
        ok = false;
        reason = QString::fromLocal8Bit(std::strerror(errno));
    }
    if (ok)
        return;
    QFile::remove(file.fileName());
    fail(reason);
}

void writeFileOrStandardOutput(const QString& fileName, const QByteArray& bytes) {
    if (!fileName.isEmpty()) {
        writeFileAtomically(fileName, bytes);
        return;
    }
    if (std::fwrite(bytes.constData(), 1, bytes.size(), stdout) != std::size_t(bytes.size()) ||
        std::fflush(stdout) != 0)
        throw AppError(QStringLiteral("Could not write the page to standard output."));
}

bool readWholeFile(const QString& fileName, QByteArray& bytes) {
    bytes.clear();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    bytes = file.readAll();
    return file.error() == QFileDevice::NoError;
}
