#include "platform/ownpictures.h"

#include "platform/apperror.h"
#include "platform/safefile.h"
#include "platform/uilanguage.h"
#include "platform/windows1252.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString canonicalFolder(const QString& folder) {
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(folder) : canonical;
}

/// Characters that end or change the meaning of an address or a path, or
/// that the program's files quote away.
bool breaksAnAddress(QChar ch) {
    static const QString unsafe = QStringLiteral("#?%\"'<>\\/:*|&;=[]{}^`");
    return ch.unicode() < 0x20 || ch.unicode() == 0x7F || unsafe.contains(ch);
}

/// "sky.jpg", 2 -> "sky (2).jpg"
QString numbered(const QString& name, int number) {
    const QFileInfo info(name);
    const QString suffix = info.suffix();
    const QString base = suffix.isEmpty() ? name : name.chopped(suffix.size() + 1);
    return base + QStringLiteral(" (%1)").arg(number) +
           (suffix.isEmpty() ? QString() : QLatin1Char('.') + suffix);
}

QByteArray readPicture(const QString& file) {
    QByteArray bytes;
    if (!readWholeFile(file, bytes))
        throw AppError(uilanguage::text("MESSAGES", "pictureNotRead",
                                        QStringLiteral("Could not read the picture \"%1\"."))
                           .arg(file));
    return bytes;
}

} // namespace

namespace ownpictures {

QString safeFileName(const QString& name) {
    // Accented letters lose their accents first, so "Łódź" reads "Lodz".
    const QString decomposed = name.normalized(QString::NormalizationForm_KD);
    QString safe;
    for (QChar ch : decomposed) {
        if (ch.category() == QChar::Mark_NonSpacing)
            continue;
        if (ch == QChar(0x0141))
            ch = QLatin1Char('L');
        else if (ch == QChar(0x0142))
            ch = QLatin1Char('l');
        if (breaksAnAddress(ch) || windows1252::encodeChar(ch) < 0)
            ch = QLatin1Char('_');
        safe += ch;
    }
    safe = safe.trimmed();
    if (safe.isEmpty() || safe.startsWith(QLatin1Char('.')))
        safe.prepend(QStringLiteral("picture"));
    return safe;
}

void FileCopy(const QString& source, const QString& destination) {
    const QFileInfo from(source);
    const QFileInfo to(destination);
    if (to.exists() && from.canonicalFilePath() == to.canonicalFilePath())
        return;
    writeFileAtomically(destination, readPicture(source));
}

Placement CheckImageLocation(const QString& file, const QString& ownPicturesFolder) {
    const QFileInfo source(file);
    const QString ownFolder = canonicalFolder(ownPicturesFolder);
    const QString canonical = source.canonicalFilePath();
    if (!canonical.isEmpty() && QFileInfo(canonical).path() == ownFolder)
        return {canonical, false, false};

    const QByteArray bytes = readPicture(file);
    const QString name = safeFileName(source.fileName());
    Placement placed;
    placed.renamed = name != source.fileName();
    for (int number = 1;; ++number) {
        const QString candidate = number == 1 ? name : numbered(name, number);
        const QString destination = ownFolder + QLatin1Char('/') + candidate;
        if (!QFileInfo::exists(destination)) {
            writeFileAtomically(destination, bytes);
            placed.path = destination;
            placed.copied = true;
            placed.renamed = placed.renamed || number > 1;
            return placed;
        }
        QByteArray existing;
        if (readWholeFile(destination, existing) && existing == bytes) {
            placed.path = destination;
            placed.renamed = placed.renamed || number > 1;
            return placed;
        }
    }
}

QString ReverseURL(const QString& path) {
    QString reversed = path;
    for (QChar& ch : reversed) {
        if (ch >= QLatin1Char('A') && ch <= QLatin1Char('Z'))
            ch = ch.toLower();
        else if (ch == QLatin1Char('/'))
            ch = QLatin1Char('\\');
    }
    return reversed;
}

QString imagesRelativePath(const QString& file, const QString& imagesFolder) {
    const QString folder = canonicalFolder(imagesFolder);
    QString canonical = QFileInfo(file).canonicalFilePath();
    if (canonical.isEmpty())
        canonical = QDir::cleanPath(file);
    if (!canonical.startsWith(folder + QLatin1Char('/')))
        return {};
    return canonical.mid(folder.size());
}

} // namespace ownpictures
