#pragma once

#include <QIcon>
#include <QList>
#include <QString>
#include <QStringList>

/// The tool panel's pictures. Drawn from the icon theme's SVG files, they
/// would be parsed and rendered one by one at every start before the window
/// could paint; instead they are rendered once into a cache file, one strip
/// of pictures, that later starts read whole. The cache names what it was
/// made from (pictures, size, theme, Qt) and is made again when any differs.
namespace toolpictures {

/// The cache file in the user's cache folder.
QString cacheFile();

/// One icon per theme picture name, `size` pixels square at the screen's
/// pixel ratio, in the order of `names`. "overline" is the underline picture
/// turned upside down (the theme has none). A picture the theme lacks gives
/// a null icon; the cache is then not written, so that it comes once the
/// theme has it.
QList<QIcon> load(const QStringList& names, int size, const QString& cacheFile);

/// As above for a given device pixel ratio: each picture is `size` logical
/// pixels square, drawn on `size` × `ratio` device pixels (rounded up).
QList<QIcon> load(const QStringList& names, int size, qreal ratio, const QString& cacheFile);

} // namespace toolpictures
