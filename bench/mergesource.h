#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;
class TBBMDataMerge;

/// Generated merge sources: plain text with one "£name£" variable every
/// `period` bytes, the names cycling through the variables that
/// `setMergeVariables` sets.
namespace mergesource {

constexpr qsizetype SparsePeriod = 4096;
constexpr qsizetype DensePeriod = 64;

/// `size` bytes of source text (a multiple of the period is best).
QByteArray generate(qsizetype size, qsizetype period);

/// Writes `size` bytes of source text to a file, a piece at a time.
void writeFile(const QString& fileName, qint64 size, qsizetype period);

/// Copies a file through a plain read/write loop: the baseline of a
/// file-to-file merge, with the same devices and open modes the merge uses.
void copyFile(const QString& sourceFile, const QString& destFile);

/// Copies a device from its position to its end in 64 KiB pieces.
void copyDevice(QIODevice& source, QIODevice& dest);

/// Sets "£" as both delimiters and fills the variables the sources use.
void setMergeVariables(TBBMDataMerge& merge);

} // namespace mergesource
