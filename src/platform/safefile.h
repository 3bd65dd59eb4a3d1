#pragma once

#include <QByteArray>
#include <QString>

/// Replaces a file's content all at once: the bytes go to a temporary file
/// beside it (".NAME.XXXXXX.vtmp") that is renamed over the old one only when
/// every byte is on disk. On any failure the previous file is left exactly as
/// it was and an AppError naming the file is thrown. Temporary files of that
/// pattern that an interrupted write left beside the file are removed first.
/// A symbolic link is followed: the file it names is replaced.
void writeFileAtomically(const QString& fileName, const QByteArray& bytes);

/// What the command-line tools do with their result: the file named, written
/// as writeFileAtomically does, or standard output when no name is given.
/// AppError when the bytes cannot all be written.
void writeFileOrStandardOutput(const QString& fileName, const QByteArray& bytes);

/// Reads a whole file; false (and `bytes` empty) when it cannot be read.
bool readWholeFile(const QString& fileName, QByteArray& bytes);
