#pragma once

#include <QByteArray>
#include <QString>

/// The pictures on the web that documents show, kept by address in the
/// user's cache folder, so that a document opens with its pictures even
/// before (or without) the network answering. Each file holds the address it
/// was fetched from and the bytes as they came; the folder is kept under a
/// size by dropping the files written longest ago.
namespace webpicturecache {

/// The folder the pictures are kept in.
QString folder();

/// The bytes kept for `address`; empty when none are, or the file is not
/// the one of that address.
QByteArray read(const QString& address);

/// Keeps `bytes` for `address`, replacing what was kept; false when it
/// cannot be written, which only means the picture is fetched again.
bool write(const QString& address, const QByteArray& bytes);

/// How many bytes the folder may hold before the oldest files go.
constexpr qint64 kFolderLimit = 256LL * 1024 * 1024;

} // namespace webpicturecache
