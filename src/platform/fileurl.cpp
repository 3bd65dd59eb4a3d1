#include "platform/fileurl.h"

namespace {

bool keptInFileUrl(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
           c == u'-' || c == u'.' || c == u'_' || c == u'~' || c == u':' || c == u'/';
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

} // namespace urltext

QString PathToFileUrl(const QString& path) {
    QString url = QStringLiteral("file://");
    // "C:\x" gets the root slash a Unix path brings along.
    if (!path.startsWith(u'/') && !path.startsWith(u'\\'))
        url += u'/';
    for (qsizetype i = 0; i < path.size();) {
        const QStringView character = urltext::characterAt(path, i);
        if (character.front() == u'\\')
            url += u'/';
        else if (keptInFileUrl(character.front().unicode()))
            url += character;
        else
            urltext::appendPercentEncoded(url, character);
        i += character.size();
    }
    return url;
}
