#include "mergesource.h"

#include "pagegen/bbmdatamerge.h"

#include <QFile>
#include <QSaveFile>

namespace {

constexpr int VariableCount = 28;
constexpr char Pound = '\xA3';

QByteArray variableName(qsizetype index) {
    return "var" + QByteArray::number(index % VariableCount);
}

} // namespace

namespace mergesource {

QByteArray generate(qsizetype size, qsizetype period) {
    static const QByteArray words("border-width: 2px; background-color: #ffffff; padding: 4px; ");
    QByteArray text;
    text.reserve(size);
    for (qsizetype index = 0; text.size() < size; ++index) {
        const QByteArray variable = Pound + variableName(index) + Pound;
        const qsizetype end = std::min(size, text.size() + period);
        while (text.size() < end - variable.size())
            text.append(words.left(end - variable.size() - text.size()));
        text.append(variable.left(end - text.size()));
    }
    return text;
}

void writeFile(const QString& fileName, qint64 size, qsizetype period) {
    // One piece is a whole number of periods, so pieces join seamlessly.
    const QByteArray piece = generate(256 * SparsePeriod, period);
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot create %s", qPrintable(fileName));
    for (qint64 written = 0; written < size; written += piece.size()) {
        const qint64 count = std::min<qint64>(piece.size(), size - written);
        if (file.write(piece.constData(), count) != count)
            qFatal("cannot write %s", qPrintable(fileName));
    }
}

void copyFile(const QString& sourceFile, const QString& destFile) {
    QFile source(sourceFile);
    QSaveFile dest(destFile);
    if (!source.open(QIODevice::ReadOnly | QIODevice::Unbuffered) ||
        !dest.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        qFatal("cannot open the copy files");
    copyDevice(source, dest);
    if (!dest.commit())
        qFatal("cannot commit the copy");
}

void copyDevice(QIODevice& source, QIODevice& dest) {
    QByteArray chunk(64 * 1024, Qt::Uninitialized);
    for (;;) {
        const qint64 count = source.read(chunk.data(), chunk.size());
        if (count < 0 || dest.write(chunk.constData(), count) != count)
            qFatal("copy failed");
        if (count == 0)
            return;
    }
}

void setMergeVariables(TBBMDataMerge& merge) {
    merge.DelimStart = QStringLiteral("£");
    merge.DelimEnd = QStringLiteral("£");
    merge.Vars().Clear();
    for (int index = 0; index < VariableCount; ++index)
        merge.Vars().SetVar(QString::fromLatin1(variableName(index)),
                            QStringLiteral("value %1").arg(index));
}

} // namespace mergesource
