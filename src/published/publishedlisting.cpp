#include "published/publishedlisting.h"

#include "pagegen/publishingstate.h"

#include <QCryptographicHash>
#include <QFile>
#include <QTextBlock>
#include <QTextDocument>

namespace {

QString hashOf(const QByteArray& bytes) {
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

} // namespace

QString listingTitle(const QString& documentHtml) {
    constexpr int longest = 200;
    QTextDocument document;
    document.setHtml(documentHtml);
    QString firstLine;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        // A line break inside a paragraph ends its first line too.
        // A picture in the line is no part of its words.
        const QString text = block.text()
                                 .section(QChar::LineSeparator, 0, 0)
                                 .remove(QChar::ObjectReplacementCharacter)
                                 .simplified();
        if (text.isEmpty())
            continue;
        if (block.blockFormat().headingLevel() > 0)
            return text.left(longest);
        if (firstLine.isEmpty())
            firstLine = text;
    }
    return firstLine.left(longest);
}

QList<PublishedPicture> publishedPictures(const QStringList& addresses,
                                          const QList<PlacedPicture>& placed) {
    QList<PublishedPicture> pictures;
    for (const QString& address : addresses) {
        PublishedPicture picture;
        picture.address = address;
        for (const PlacedPicture& p : placed) {
            if (p.serverAddress != address)
                continue;
            if (!p.localFile.isEmpty()) {
                QFile file(p.localFile);
                if (file.open(QIODevice::ReadOnly))
                    picture.hash = hashOf(file.readAll());
            } else if (!p.bytes.isEmpty()) {
                picture.hash = hashOf(p.bytes);
            }
            break;
        }
        pictures.append(picture);
    }
    return pictures;
}
