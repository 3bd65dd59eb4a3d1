#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QTextImageFormat>

/// A picture item: the original file bytes as they were (a GIF stays a GIF),
/// the stored source file name and how it is shown. A picture on the web is
/// held by its address instead: the document keeps no bytes of it, the page
/// names it where it is, and the editor shows it once it has been fetched.
struct DocPicture {
    enum TVAlign { edvaBaseline, edvaMiddle, edvaTop };

    QByteArray bytes;
    QByteArray format; // lower-case image format name: "png", "jpeg", "gif", ...
    QString fileName;  // full path of the source file; empty when none
    int width = 0;     // shown size in pixels; 0 takes the upright picture's own
    int height = 0;
    TVAlign vAlign = edvaBaseline;
    QString tag;
    bool jump = false; // the picture is a hyperlink whose target is its tag
    QString address;   // http or https address of a picture on the web; else empty

    /// The most pixels a picture may have: beyond this even a phone's
    /// high-resolution photo mode.
    static constexpr qint64 kMaxPixels = 150'000'000;
    /// Pictures with more pixels than this are shown from a copy decoded at
    /// most `kShownSide` pixels on its long side; the bytes stay as they are.
    static constexpr qint64 kFullDecodePixels = 4096 * 4096;
    static constexpr int kShownSide = 2048;

    bool isEmpty() const { return bytes.isEmpty() && address.isEmpty(); }
    bool isOnWeb() const { return !address.isEmpty(); }
    /// The web address as a picture is held by: only absolute http and
    /// https addresses with a host, "//host/..." taken as https; empty for
    /// anything else.
    static QString webAddress(const QString& source);
    /// The picture decoded for showing and turned upright as its EXIF
    /// orientation says: full size, or scaled down for a very large picture
    /// (see `kFullDecodePixels`); a null image when the bytes are not a
    /// picture or have more than `kMaxPixels` pixels.
    QImage image() const;
    /// The upright picture's own size in pixels, read from its header; empty
    /// when the bytes are no picture.
    QSize pixelSize() const;
    /// The format name found in the bytes, or "" when they are no picture.
    static QByteArray detectFormat(const QByteArray& bytes);
    /// Reads a picture file at its own size; false when it cannot be read or
    /// decoded, or has more than `kMaxPixels` pixels.
    static bool fromFile(const QString& fileName, DocPicture& picture);
    /// The upright size of the picture in a file, read from its header;
    /// empty when the file is no picture.
    static QSize filePixelSize(const QString& fileName);

    /// The name under which the picture's image is registered with the
    /// document; equal bytes share one name, as does one web address.
    QString resourceName() const;
    QTextImageFormat toFormat() const;
    static DocPicture fromFormat(const QTextImageFormat& format);

    bool operator==(const DocPicture& other) const;
};
