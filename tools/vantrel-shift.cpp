// Prepares the program's stored data forms from readable sources:
//   vantrel-shift ini  server|template|COUNT INPUT OUTPUT
//       copies the sections and keys of a settings-style file, each value
//       raised by the count (comments and blank lines are dropped);
//   vantrel-shift file server|template|COUNT INPUT OUTPUT
//       raises every byte of the file, line breaks included, so the result is
//       one line, as the page template is stored;
//   vantrel-shift utf8 server|template|COUNT INPUT OUTPUT
//       the same for a UTF-8 text, stored in the program's Windows-1252;
//   vantrel-shift utf8 none INPUT OUTPUT
//       only converts a UTF-8 text to Windows-1252 (the language files).
// Each result is checked (values read back, no stored line breaks); a
// failure leaves no output file and exits with 1. An output that is the input
// itself is refused with exit code 2, before anything is written or removed.
#include "pagegen/shifttext.h"
#include "platform/apperror.h"
#include "platform/inifile.h"
#include "platform/safefile.h"
#include "platform/windows1252.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <optional>

namespace {

std::optional<int> countFromName(const QString& name) {
    if (name == QLatin1String("server"))
        return shiftkeys::ServerListKey;
    if (name == QLatin1String("template"))
        return shiftkeys::TemplateKey;
    if (name == QLatin1String("none"))
        return 0;
    const std::optional<int> count = IniFile::parseInteger(name);
    if (count && *count > 0 && *count < 256)
        return count;
    return std::nullopt;
}

QString raised(const QString& text, int count) {
    return windows1252::decode(ShiftText(windows1252::encode(text), 256 - count));
}

QString lowered(const QString& text, int count) {
    return windows1252::decode(ShiftText(windows1252::encode(text), count));
}

void shiftIniFile(const QString& input, const QString& output, int count) {
    // The settings reader takes a missing file for an empty one; a source
    // that is not there is a mistake, not an empty list to ship.
    QByteArray bytes;
    if (!readWholeFile(input, bytes))
        throw AppError(QStringLiteral("Could not read the file \"%1\".").arg(input));
    const IniFile source(input);
    QFile::remove(output);
    IniFile target(output);
    for (const QString& section : source.readSections()) {
        for (const QString& key : source.readSectionKeys(section)) {
            const QString plain = source.readString(section, key, QString());
            target.writeString(section, key, raised(plain, count));
            if (lowered(target.readString(section, key, QString()), count) != plain)
                throw AppError(QStringLiteral("The value of [%1] %2 does not survive the shift by "
                                              "%3: it would be read back differently.")
                                   .arg(section, key)
                                   .arg(count));
        }
    }
    // A source without values still gives its file: a list with nothing in
    // it is shipped and installed like any other.
    QFile made(output);
    if (!made.exists() && !made.open(QIODevice::WriteOnly))
        throw AppError(QStringLiteral("\"%1\" cannot be made: %2").arg(output, made.errorString()));
}

QByteArray fromUtf8(const QString& input, const QByteArray& text) {
    QString unmappable;
    const QByteArray bytes = windows1252::encode(QString::fromUtf8(text), &unmappable);
    if (!unmappable.isEmpty())
        throw AppError(QStringLiteral("\"%1\" holds characters that Windows-1252 lacks: %2")
                           .arg(input, unmappable));
    return bytes;
}

void shiftWholeFile(const QString& input, const QString& output, int count, bool utf8) {
    QByteArray plain;
    if (!readWholeFile(input, plain))
        throw AppError(QStringLiteral("Could not read the file \"%1\".").arg(input));
    if (utf8)
        plain = fromUtf8(input, plain);
    if (count == 0) {
        writeFileAtomically(output, plain);
        return;
    }
    const QByteArray stored = ShiftText(plain, 256 - count);
    const qsizetype lineBreak = std::max(stored.indexOf('\r'), stored.indexOf('\n'));
    if (lineBreak >= 0)
        throw AppError(QStringLiteral("Byte %1 of \"%2\" would be stored as a line break.")
                           .arg(lineBreak)
                           .arg(input));
    writeFileAtomically(output, stored);
}

// Both names lead to one file (the same path spelt otherwise, or a link).
bool isSameFile(const QString& input, const QString& output) {
    const QString canonicalInput = QFileInfo(input).canonicalFilePath();
    return !canonicalInput.isEmpty() && canonicalInput == QFileInfo(output).canonicalFilePath();
}

const char usageText[] =
    "usage: vantrel-shift ini|file|utf8 server|template|none|COUNT INPUT OUTPUT\n"
    "  ini: each value of a settings-style file raised by the count\n"
    "  file: every byte of the file raised by the count\n"
    "  utf8: the same for a UTF-8 text, stored in Windows-1252 (none: only converted)\n"
    "exit code 0 when written, 1 when the result would not read back, 2 for wrong arguments\n";

int usage() {
    std::fputs(usageText, stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"))) {
        std::fputs(usageText, stdout);
        return 0;
    }
    if (args.size() != 5)
        return usage();
    const std::optional<int> count = countFromName(args[2]);
    const QString mode = args[1];
    const bool ini = mode == QLatin1String("ini");
    const bool utf8 = mode == QLatin1String("utf8");
    if (!count || (!ini && !utf8 && mode != QLatin1String("file")) || (*count == 0 && !utf8))
        return usage();
    // The output is removed first and on failure: that would be the input.
    if (isSameFile(args[3], args[4])) {
        std::fprintf(stderr, "vantrel-shift: \"%s\" is both the input and the output.\n",
                     qPrintable(args[4]));
        return 2;
    }
    try {
        if (ini)
            shiftIniFile(args[3], args[4], *count);
        else
            shiftWholeFile(args[3], args[4], *count, utf8);
    } catch (const AppError& error) {
        std::fprintf(stderr, "vantrel-shift: %s\n", error.what());
        QFile::remove(args[4]);
        return 1;
    }
    return 0;
}
