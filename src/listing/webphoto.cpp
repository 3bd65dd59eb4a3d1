#include "listing/webphoto.h"

#include "platform/uilanguage.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>

namespace webphoto {

namespace {

constexpr char pngSignature[] = "\x89PNG\r\n\x1a\n";

int byteAt(const QByteArray& bytes, qsizetype at) {
    return at < bytes.size() ? static_cast<unsigned char>(bytes[at]) : -1;
}

quint32 bigEndian(const QByteArray& bytes, qsizetype at, int width) {
    quint32 value = 0;
    for (int i = 0; i < width; ++i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

/// APP1 to APP15 and comments hold what the camera and programs say about
/// the picture; APP0 (JFIF), the colour profile in APP2 and Adobe's colour
/// transform in APP14 are needed to show it right.
bool isJpegMetadata(const QByteArray& jpeg, qsizetype at, int marker) {
    if (marker == 0xFE)
        return true;
    if (marker < 0xE1 || marker > 0xEF || marker == 0xEE)
        return false;
    return marker != 0xE2 || jpeg.mid(at + 4, 12) != QByteArray("ICC_PROFILE\0", 12);
}

/// The length of the entropy-coded data from `at`: up to the next marker
/// that is not a restart, a stuffed byte or a fill byte.
qsizetype scanLength(const QByteArray& jpeg, qsizetype at) {
    qsizetype end = at;
    while (end + 1 < jpeg.size()) {
        const int next = byteAt(jpeg, end + 1);
        if (byteAt(jpeg, end) == 0xFF && next != 0x00 && next != 0xFF &&
            (next < 0xD0 || next > 0xD7))
            return end - at;
        ++end;
    }
    return -1;
}

QByteArray encoded(const QImage& image, const char* format, int quality) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    if (!writer.write(image))
        return {};
    return bytes;
}

QString unreadable(const QString& why) {
    return uilanguage::text("MESSAGES", "webPhotoUnreadable",
                            QStringLiteral("The picture cannot be prepared for the web: %1"))
        .arg(why);
}

/// The size to decode at: twice the final size at most, which the final
/// smooth scaling then halves, so a phone photo is never held whole.
QSize decodeSize(const QImageReader& reader, int maxLongSide) {
    const QSize stored = reader.size();
    const int longSide = qMax(stored.width(), stored.height());
    if (longSide <= 2 * maxLongSide)
        return stored;
    return stored.scaled(2 * maxLongSide, 2 * maxLongSide, Qt::KeepAspectRatio);
}

QImage fitted(const QImage& image, int maxLongSide) {
    if (qMax(image.width(), image.height()) <= maxLongSide)
        return image;
    return image.scaled(maxLongSide, maxLongSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

/// A JPEG copy: the original without its metadata when nothing about its
/// pixels changes and it is the smaller one.
Prepared asJpeg(const QByteArray& original, const QImage& image, bool pixelsChanged,
                const Options& options) {
    const QImage opaque =
        image.hasAlphaChannel() ? image.convertToFormat(QImage::Format_RGB32) : image;
    QByteArray bytes = withoutJpegMetadata(encoded(opaque, "jpeg", options.jpegQuality));
    if (!pixelsChanged) {
        const QByteArray kept = withoutJpegMetadata(original);
        if (!kept.isEmpty() && kept.size() <= bytes.size())
            bytes = kept;
    }
    return {bytes, "jpeg", image.size()};
}

Prepared asPng(const QByteArray& original, const QImage& image, bool pixelsChanged) {
    const QByteArray kept = pixelsChanged ? QByteArray() : withoutPngMetadata(original);
    const QByteArray bytes = !kept.isEmpty() ? kept : withoutPngMetadata(encoded(image, "png", -1));
    return {bytes, "png", image.size()};
}

} // namespace

Result<Prepared> prepare(const QByteArray& original, const Options& options) {
    QBuffer buffer;
    buffer.setData(original);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    const QByteArray format = reader.format().toLower();
    if (format.isEmpty() || !reader.size().isValid())
        return fail(unreadable(reader.errorString()));
    if (format == "gif")
        return Prepared{original, "gif", reader.size()};
    const bool turned = reader.transformation() != QImageIOHandler::TransformationNone;
    const QSize decoded = decodeSize(reader, qMax(1, options.maxLongSide));
    const bool scaled = decoded != reader.size();
    if (scaled)
        reader.setScaledSize(decoded);
    QImage image = reader.read();
    if (image.isNull())
        return fail(unreadable(reader.errorString()));
    const QImage shown = fitted(image, qMax(1, options.maxLongSide));
    const bool pixelsChanged = turned || scaled || shown.size() != image.size();
    if (format == "png" || (format != "jpeg" && shown.hasAlphaChannel()))
        return asPng(format == "png" ? original : QByteArray(), shown, pixelsChanged);
    return asJpeg(format == "jpeg" ? original : QByteArray(), shown,
                  pixelsChanged || format != "jpeg", options);
}

QByteArray withoutJpegMetadata(const QByteArray& jpeg) {
    if (byteAt(jpeg, 0) != 0xFF || byteAt(jpeg, 1) != 0xD8)
        return {};
    QByteArray kept = jpeg.left(2);
    qsizetype at = 2;
    while (at + 1 < jpeg.size()) {
        if (byteAt(jpeg, at) != 0xFF)
            return {};
        const int marker = byteAt(jpeg, at + 1);
        if (marker == 0xFF) { // fill byte before a marker
            ++at;
            continue;
        }
        if (marker == 0xD9)
            return kept + jpeg.mid(at, 2);
        if (at + 3 >= jpeg.size())
            return {};
        const qsizetype length = bigEndian(jpeg, at + 2, 2);
        if (length < 2 || at + 2 + length > jpeg.size())
            return {};
        if (!isJpegMetadata(jpeg, at, marker))
            kept += jpeg.mid(at, 2 + length);
        at += 2 + length;
        if (marker == 0xDA) { // the scan's data follows its header
            const qsizetype data = scanLength(jpeg, at);
            if (data < 0)
                return {};
            kept += jpeg.mid(at, data);
            at += data;
        }
    }
    return {};
}

QByteArray withoutPngMetadata(const QByteArray& png) {
    if (!png.startsWith(QByteArray(pngSignature, 8)))
        return {};
    static const QByteArrayList dropped = {"tEXt", "zTXt", "iTXt", "eXIf", "tIME"};
    QByteArray kept = png.left(8);
    qsizetype at = 8;
    while (at + 12 <= png.size()) {
        const qsizetype length = bigEndian(png, at, 4);
        if (length > png.size() - at - 12)
            return {};
        const QByteArray type = png.mid(at + 4, 4);
        if (!dropped.contains(type))
            kept += png.mid(at, 12 + length);
        at += 12 + length;
        if (type == "IEND")
            return kept;
    }
    return {};
}

} // namespace webphoto
