#include "docmodel/docpicture.h"

#include "docmodel/docproperties.h"
#include "platform/safefile.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QFileInfo>
#include <QImageReader>
#include <QUrl>

namespace {

/// The size a reader's picture has once turned upright.
QSize uprightSize(QImageReader& reader) {
    const QSize stored = reader.size();
    return reader.transformation() & QImageIOHandler::TransformationRotate90 ? stored.transposed()
                                                                             : stored;
}

} // namespace

QImage DocPicture::image() const {
    // A hostile picture header must not make us allocate gigabytes.
    constexpr int kAllocationLimitMB = 64;
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer, format);
    reader.setAllocationLimit(kAllocationLimitMB);
    // Phones store photos as the sensor saw them and say in EXIF how to turn
    // them; shown as stored, they would lie on their side.
    reader.setAutoTransform(true);
    const QSize stored = reader.size();
    const qint64 pixels = qint64(stored.width()) * stored.height();
    if (pixels > kMaxPixels)
        return QImage();
    if (pixels <= kFullDecodePixels)
        return reader.read();
    // A large photo is shown from a copy the decoder scales down as it reads
    // (a JPEG in its first pass): the full picture would not fit the memory
    // a picture may take, and nobody sees its detail on a page anyway.
    reader.setScaledSize(stored.scaled(kShownSide, kShownSide, Qt::KeepAspectRatio));
    QImage shown = reader.read();
    if (!shown.isNull())
        return shown;
    // Some decoders (grey or palette PNG, GIF) cannot scale as they read:
    // the picture, whose size is within bounds, is read whole and scaled.
    QBuffer again;
    again.setData(bytes);
    QImageReader whole(&again, format);
    whole.setAutoTransform(true);
    QImageReader::setAllocationLimit(int(pixels * 4 / (1024 * 1024)) + 1);
    const QImage full = whole.read();
    QImageReader::setAllocationLimit(kAllocationLimitMB);
    return full.isNull()
               ? full
               : full.scaled(kShownSide, kShownSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

QSize DocPicture::pixelSize() const {
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer, format);
    const QSize size = uprightSize(reader);
    return size.isValid() ? size : image().size();
}

QSize DocPicture::filePixelSize(const QString& fileName) {
    QImageReader reader(fileName);
    return uprightSize(reader);
}

QByteArray DocPicture::detectFormat(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return QImageReader::imageFormat(&buffer).toLower();
}

bool DocPicture::fromFile(const QString& fileName, DocPicture& picture) {
    DocPicture read;
    if (!readWholeFile(fileName, read.bytes) || read.bytes.isEmpty())
        return false;
    read.format = detectFormat(read.bytes);
    if (read.format.isEmpty() || read.image().isNull())
        return false;
    const QSize size = read.pixelSize();
    read.fileName = QFileInfo(fileName).absoluteFilePath();
    read.width = size.width();
    read.height = size.height();
    picture = read;
    return true;
}

QString DocPicture::webAddress(const QString& source) {
    QString trimmed = source.trimmed();
    if (trimmed.startsWith(QLatin1String("//")))
        trimmed.prepend(QStringLiteral("https:"));
    const QUrl url(trimmed);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return QString();
    return trimmed;
}

QString DocPicture::resourceName() const {
    if (isOnWeb())
        return docprop::webPictureResourcePrefix() +
               QString::fromLatin1(
                   QCryptographicHash::hash(address.toUtf8(), QCryptographicHash::Sha1).toHex());
    return docprop::pictureResourcePrefix() +
           QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex());
}

QTextImageFormat DocPicture::toFormat() const {
    QTextImageFormat result;
    result.setName(resourceName());
    if (width > 0)
        result.setWidth(width);
    if (height > 0)
        result.setHeight(height);
    if (vAlign == edvaMiddle)
        result.setVerticalAlignment(QTextCharFormat::AlignMiddle);
    else if (vAlign == edvaTop)
        result.setVerticalAlignment(QTextCharFormat::AlignTop);
    result.setProperty(docprop::PictureBytes, bytes);
    result.setProperty(docprop::PictureFormat, format);
    result.setProperty(docprop::PictureFile, fileName);
    result.setProperty(docprop::PictureVAlign, static_cast<int>(vAlign));
    result.setProperty(docprop::Tag, tag);
    result.setProperty(docprop::PictureJump, jump);
    if (isOnWeb())
        result.setProperty(docprop::PictureAddress, address);
    if (jump) {
        result.setAnchor(true);
        result.setAnchorHref(tag);
    }
    return result;
}

DocPicture DocPicture::fromFormat(const QTextImageFormat& format) {
    DocPicture picture;
    picture.bytes = format.property(docprop::PictureBytes).toByteArray();
    picture.format = format.property(docprop::PictureFormat).toByteArray();
    picture.fileName = format.stringProperty(docprop::PictureFile);
    picture.width = qRound(format.width());
    picture.height = qRound(format.height());
    const int vAlign = format.intProperty(docprop::PictureVAlign);
    picture.vAlign = vAlign == edvaMiddle ? edvaMiddle : vAlign == edvaTop ? edvaTop : edvaBaseline;
    picture.tag = format.stringProperty(docprop::Tag);
    picture.jump = format.boolProperty(docprop::PictureJump);
    picture.address = format.stringProperty(docprop::PictureAddress);
    return picture;
}

bool DocPicture::operator==(const DocPicture& other) const {
    return bytes == other.bytes && format == other.format && fileName == other.fileName &&
           width == other.width && height == other.height && vAlign == other.vAlign &&
           tag == other.tag && jump == other.jump && address == other.address;
}
