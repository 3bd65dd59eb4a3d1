#pragma once

#include "platform/result.h"

#include <QByteArray>
#include <QSize>

/// A copy of a picture made fit for a listing on the web: not larger than
/// bidders need, turned the way the camera meant, and without what the file
/// tells about the seller (position, camera, thumbnails, comments). The
/// seller's own file is never changed.
namespace webphoto {

struct Options {
    /// The longest side of the copy, in pixels; larger pictures are scaled
    /// down, smaller ones keep their size.
    int maxLongSide = 1600;
    /// The quality of a JPEG that is encoded again (0 to 100).
    int jpegQuality = 85;
};

struct Prepared {
    QByteArray bytes;
    /// "jpeg", "png" or "gif": the format of `bytes`.
    QByteArray format;
    /// The size of the picture in `bytes`, as shown.
    QSize size;
};

/// The copy of `original` for the web. A GIF is kept as it is (it may be
/// animated); a JPEG or PNG loses every metadata block and is scaled down
/// when larger than `options.maxLongSide`; a JPEG's orientation is applied
/// to its pixels; a JPEG is encoded again unless the original is smaller.
/// Other formats become a PNG when they have transparency, a JPEG otherwise.
Result<Prepared> prepare(const QByteArray& original, const Options& options = {});

/// A JPEG without its metadata segments (EXIF, XMP, thumbnails, maker
/// notes, comments) and without what follows its end (further pictures some
/// cameras append). Colour profile and colour transform stay. Bytes that are
/// no JPEG come back empty.
QByteArray withoutJpegMetadata(const QByteArray& jpeg);

/// A PNG without its text, EXIF and time chunks and without what follows its
/// end. Bytes that are no PNG come back empty.
QByteArray withoutPngMetadata(const QByteArray& png);

} // namespace webphoto
