#include "editor/docpicture.h"

#include "editor/docproperties.h"
#include "platform/safefile.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QFileInfo>
#include <QImageReader>

QImage DocPicture::image() const {
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer, format);
    // A hostile picture header must not make us allocate gigabytes.
    reader.setAllocationLimit(64);
    // Phones store photos as the sensor saw them and say in EXIF how to turn
    // them; shown as stored, they would lie on their side.
    reader.setAutoTransform(true);
    return reader.read();
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
    const QImage image = read.image();
    if (read.format.isEmpty() || image.isNull())
        return false;
    read.fileName = QFileInfo(fileName).absoluteFilePath();
    read.width = image.width();
    read.height = image.height();
    picture = read;
    return true;
}

QString DocPicture::resourceName() const {
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
    return picture;
}

bool DocPicture::operator==(const DocPicture& other) const {
    return bytes == other.bytes && format == other.format && fileName == other.fileName &&
           width == other.width && height == other.height && vAlign == other.vAlign &&
           tag == other.tag && jump == other.jump;
}
