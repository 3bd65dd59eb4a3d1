#pragma once

#include <QImage>
#include <QString>

/// Pictures the program draws the same way at every start (the tool panel's
/// pictures, the product logo), kept in the user's cache folder so that a
/// start reads them instead of drawing them again. A kept picture names what
/// it was drawn from (its key) and is used only for the same key. The file
/// holds the picture's pixels as they are in memory: reading it needs no
/// decoder.
namespace picturecache {

/// The file called `name` in the user's cache folder.
QString file(const QString& name);

/// The picture kept in `fileName` for `key`; a null picture when there is
/// none, it was kept for another key, or the file is damaged.
QImage read(const QString& fileName, const QString& key);

/// Keeps `picture` in `fileName` for `key`, replacing the file whole. False
/// when it cannot be written: the picture is then drawn again next time.
bool write(const QString& fileName, const QString& key, const QImage& picture);

} // namespace picturecache
