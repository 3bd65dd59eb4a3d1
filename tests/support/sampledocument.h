#pragma once

#include <QByteArray>
#include <QColor>

class EdDocument;

/// Small documents and pictures for the editor tests.
namespace sampledocument {

QByteArray pngBytes(int width = 4, int height = 3, const QColor& color = Qt::red);
QByteArray jpegBytes(int width = 4, int height = 3);
/// A JPEG whose top half is red and bottom half blue, stored `width` x
/// `height`, with an EXIF orientation (1 upright, 3 upside down, 6 and 8 to
/// be turned a quarter clockwise and anticlockwise) as phones write it.
QByteArray orientedJpegBytes(int width, int height, int orientation);
QByteArray bmpBytes(int width = 2, int height = 2);
/// A 1x1 GIF, written out because Qt reads GIF but cannot write it.
QByteArray gifBytes();

/// A document holding every kind of item and style: runs in several styles
/// with tags, a link, pictures (with and without a stored file name), a
/// table with a merged cell and nested content, a list, a horizontal line,
/// a page break and a named anchor; a background colour and margins.
void fillWithEveryKind(EdDocument& document);

/// Everything the native file keeps, as text: style sheet, background,
/// margins and every item of every container with its properties.
QString dump(const EdDocument& document);

} // namespace sampledocument
