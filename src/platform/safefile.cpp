#include "platform/safefile.h"

#include "platform/apperror.h"

#include <QFile>
#include <QSaveFile>

void writeFileAtomically(const QString& fileName, const QByteArray& bytes) {
    QSaveFile file(fileName);
    // Unbuffered, so a short write (disk full, size limit) shows up as a
    // short count here instead of being lost in a buffered flush.
    bool ok = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    qsizetype written = 0;
    while (ok && written < bytes.size()) {
        const qint64 count = file.write(bytes.constData() + written, bytes.size() - written);
        ok = count > 0;
        written += ok ? count : 0;
    }
    if (ok && file.commit())
        return;
    const QString reason = file.error() == QFileDevice::NoError || file.errorString().isEmpty()
                               ? QStringLiteral("the data could not all be written")
                               : file.errorString();
    file.cancelWriting();
    throw AppError(QStringLiteral("Could not write the file \"%1\": %2.").arg(fileName, reason));
}

bool readWholeFile(const QString& fileName, QByteArray& bytes) {
    bytes.clear();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    bytes = file.readAll();
    return file.error() == QFileDevice::NoError;
}
