#include "editor/linkdetection.h"

#include <QStringList>

namespace linkdetection {

namespace {

bool isWebAddress(const QString& word) {
    static const char* prefixes[] = {
        "http://", "ftp://",  "file://", "gopher://", "mailto:", "https://",
        "news:",   "telnet:", "wais:",   "www.",      "ftp."};
    for (const char* prefix : prefixes) {
        if (word.startsWith(QLatin1String(prefix), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

bool isEmailAddress(const QString& word) {
    const qsizetype at = word.indexOf(QLatin1Char('@'));
    return at >= 0 && word.indexOf(QLatin1Char('.'), at + 1) > at;
}

bool isTypographicQuote(QChar ch) {
    return ch == u'\u2018' || ch == u'\u2019' || ch == u'\u201C' || ch == u'\u201D';
}

} // namespace

QString NormalizeLinkTarget(const QString& text) {
    QString result = text;
    result.remove(QLatin1Char('\r'));
    result.remove(QLatin1Char('\n'));
    return result;
}

bool detect(const QString& textBeforeCaret, DetectedLink& link) {
    int start = static_cast<int>(textBeforeCaret.lastIndexOf(QLatin1Char(' '))) + 1;
    int end = static_cast<int>(textBeforeCaret.size());
    if (end - start >= 1 && (QStringView(u"\"'(<[{").contains(textBeforeCaret[start]) ||
                             isTypographicQuote(textBeforeCaret[start])))
        ++start;
    if (end - start >= 1 && (QStringView(u"\"'),:;>]}").contains(textBeforeCaret[end - 1]) ||
                             isTypographicQuote(textBeforeCaret[end - 1])))
        --end;
    if (end <= start)
        return false;
    const QString word = textBeforeCaret.mid(start, end - start);
    const bool web = isWebAddress(word);
    if (!web && !isEmailAddress(word))
        return false;
    link.start = start;
    link.end = end;
    link.target = NormalizeLinkTarget(web ? word : QStringLiteral("mailto:") + word);
    return true;
}

} // namespace linkdetection
