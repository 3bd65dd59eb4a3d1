#include "pagegen/pagetext.h"

#include "platform/fileurl.h"

namespace {

bool escapedInAttributeUrl(char16_t c) {
    return c <= 0x20 || c >= 0x7F || c == u'"' || c == u'\'' || c == u'(' || c == u')' ||
           c == u'<' || c == u'>' || c == u'\\';
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

QString quotableUrl(const QString& url) {
    QString quoted;
    for (qsizetype i = 0; i < url.size();) {
        const QStringView character = urltext::characterAt(url, i);
        if (character.front() == u'&')
            quoted += QLatin1String("&amp;");
        else if (escapedInAttributeUrl(character.front().unicode()))
            urltext::appendPercentEncoded(quoted, character);
        else
            quoted += character;
        i += character.size();
    }
    return quoted;
}
