#include "platform/fileurl.h"

namespace {

bool keptInSegment(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
           c == u'-' || c == u'.' || c == u'_' || c == u'~';
}

bool isDrive(const QString& element) {
    return element.size() == 2 && element[1] == u':' && element[0].isLetter() &&
           element[0].unicode() < 0x80;
}

bool inThisSystemsForm(const QString& path) {
    return path.startsWith(u'/');
}

} // namespace

namespace urltext {

QStringView characterAt(QStringView text, qsizetype i) {
    const bool pair =
        text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
    return text.mid(i, pair ? 2 : 1);
}

void appendPercentEncoded(QString& out, QStringView character) {
    static const char digits[] = "0123456789ABCDEF";
    for (const char byte : character.toUtf8()) {
        const auto value = static_cast<unsigned char>(byte);
        out += u'%';
        out += QLatin1Char(digits[value >> 4]);
        out += QLatin1Char(digits[value & 0xF]);
    }
}

QString pathSegment(QStringView name) {
    QString segment;
    segment.reserve(name.size());
    for (qsizetype i = 0; i < name.size();) {
        const QStringView character = characterAt(name, i);
        if (keptInSegment(character.front().unicode()))
            segment += character;
        else
            appendPercentEncoded(segment, character);
        i += character.size();
    }
    return segment;
}

} // namespace urltext

QStringList pathElements(const QString& path) {
    if (inThisSystemsForm(path))
        return path.split(u'/', Qt::SkipEmptyParts);
    QString separated = path;
    separated.replace(u'\\', u'/');
    return separated.split(u'/', Qt::SkipEmptyParts);
}

QString pathFileName(const QString& path) {
    const QStringList elements = pathElements(path);
    return elements.isEmpty() ? QString() : elements.constLast();
}

QString PathToFileUrl(const QString& path) {
    // Every element follows a "/", so "C:\x" gets the root slash a Unix path
    // brings along.
    QString url = QStringLiteral("file://");
    const QStringList elements = pathElements(path);
    for (qsizetype i = 0; i < elements.size(); ++i) {
        url += u'/';
        const bool drive = i == 0 && !inThisSystemsForm(path) && isDrive(elements[i]);
        url += drive ? elements[i] : urltext::pathSegment(elements[i]);
    }
    if (elements.isEmpty() || path.endsWith(u'/') ||
        (!inThisSystemsForm(path) && path.endsWith(u'\\')))
        url += u'/';
    return url;
}

QString addressOnServer(const QString& server, const QString& fileName) {
    return server + urltext::pathSegment(fileName);
}
