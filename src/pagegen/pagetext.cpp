#include "pagegen/pagetext.h"

namespace {

bool keptInFileUrl(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
           c == u'-' || c == u'.' || c == u'_' || c == u'~' || c == u':' || c == u'/';
}

bool escapedInAttributeUrl(char16_t c) {
    return c <= 0x20 || c >= 0x7F || c == u'"' || c == u'\'' || c == u'(' || c == u')' ||
           c == u'<' || c == u'>' || c == u'\\';
}

void appendPercentEncoded(QString& out, QStringView character) {
    for (const char byte : character.toUtf8())
        out += QStringLiteral("%%1")
                   .arg(static_cast<unsigned char>(byte), 2, 16, QLatin1Char('0'))
                   .toUpper();
}

/// One character, or a surrogate pair, starting at `i`.
QStringView characterAt(const QString& text, qsizetype i) {
    const bool pair =
        text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
    return QStringView(text).mid(i, pair ? 2 : 1);
}

} // namespace

QStringList splitLines(QStringView text) {
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.mid(start, i - start).toString());
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.mid(start).toString());
    return lines;
}

QString joinLines(const QStringList& lines) {
    qsizetype size = 0;
    for (const QString& line : lines)
        size += line.size() + 2;
    QString text;
    text.reserve(size);
    for (const QString& line : lines) {
        text += line;
        text += QLatin1String("\r\n");
    }
    return text;
}

QString DeleteLineBreaks(QString text) {
    for (QChar& c : text) {
        if (c == u'\r' || c == u'\n')
            c = u' ';
    }
    return text;
}

QString PathToFileUrl(const QString& path) {
    QString url = QStringLiteral("file://");
    // "C:\x" gets the root slash a Unix path brings along.
    if (!path.startsWith(u'/') && !path.startsWith(u'\\'))
        url += u'/';
    for (qsizetype i = 0; i < path.size();) {
        const QStringView character = characterAt(path, i);
        if (character.front() == u'\\')
            url += u'/';
        else if (keptInFileUrl(character.front().unicode()))
            url += character;
        else
            appendPercentEncoded(url, character);
        i += character.size();
    }
    return url;
}

QString quotableUrl(const QString& url) {
    QString quoted;
    for (qsizetype i = 0; i < url.size();) {
        const QStringView character = characterAt(url, i);
        if (character.front() == u'&')
            quoted += QLatin1String("&amp;");
        else if (escapedInAttributeUrl(character.front().unicode()))
            appendPercentEncoded(quoted, character);
        else
            quoted += character;
        i += character.size();
    }
    return quoted;
}
