#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QTextImageFormat>

/// A picture item: the original file bytes as they were (a GIF stays a GIF),
/// the stored source file name and how it is shown.
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

    bool isEmpty() const { return bytes.isEmpty(); }
    /// The picture decoded and turned upright as its EXIF orientation says; a
    /// null image when the bytes are not a picture.
    QImage image() const;
    /// The format name found in the bytes, or "" when they are no picture.
    static QByteArray detectFormat(const QByteArray& bytes);
    /// Reads a picture file; false when it cannot be read or decoded.
    static bool fromFile(const QString& fileName, DocPicture& picture);

    /// The name under which the picture's image is registered with the
    /// document; equal bytes share one name.
    QString resourceName() const;
    QTextImageFormat toFormat() const;
    static DocPicture fromFormat(const QTextImageFormat& format);

    bool operator==(const DocPicture& other) const;
};
