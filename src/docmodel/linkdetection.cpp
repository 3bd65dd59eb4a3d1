#include "docmodel/linkdetection.h"

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

int digitValue(QChar ch, int base) {
    const char16_t c = ch.unicode();
    int value = -1;
    if (c >= u'0' && c <= u'9')
        value = c - u'0';
    else if (c >= u'a' && c <= u'f')
        value = c - u'a' + 10;
    else if (c >= u'A' && c <= u'F')
        value = c - u'A' + 10;
    return value < base ? value : -1;
}

/// The character of a reference at `text[i]` ("&#106;", "&#x6A", "&colon;"):
/// appended to `out`, `i` moved past it. False when there is none there.
/// Browsers take numeric references without the semicolon too.
bool decodeReference(QStringView text, qsizetype& i, QString& out) {
    if (text.mid(i, 2) == u"&#") {
        qsizetype j = i + 2;
        const int base = j < text.size() && (text[j] == u'x' || text[j] == u'X') ? 16 : 10;
        j += base == 16 ? 1 : 0;
        const qsizetype digits = j;
        char32_t code = 0;
        for (int digit; j < text.size() && (digit = digitValue(text[j], base)) >= 0; ++j)
            code = qMin<char32_t>(code * base + digit, 0x110000);
        if (j == digits)
            return false;
        if (j < text.size() && text[j] == u';')
            ++j;
        if (code == 0 || code >= 0x110000 || (code >= 0xD800 && code <= 0xDFFF))
            code = 0xFFFD;
        out += QStringView(QChar::fromUcs4(code));
        i = j;
        return true;
    }
    static const std::pair<const char*, char16_t> named[] = {
        {"&amp;", u'&'},   {"&lt;", u'<'},       {"&gt;", u'>'},       {"&quot;", u'"'},
        {"&apos;", u'\''}, {"&colon;", u':'},    {"&sol;", u'/'},      {"&num;", u'#'},
        {"&tab;", u'\t'},  {"&newline;", u'\n'}, {"&nbsp;", u'\u00A0'}};
    for (const auto& [name, character] : named) {
        const QLatin1String reference(name);
        if (text.mid(i, reference.size()).compare(reference, Qt::CaseInsensitive) == 0) {
            out += QChar(character);
            i += reference.size();
            return true;
        }
    }
    return false;
}

bool isSchemeCharacter(QChar ch, bool first) {
    const char16_t c = ch.unicode();
    const bool letter = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
    return letter || (!first && ((c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == u'.'));
}

} // namespace

QString allowedLinkAddress(const QString& target) {
    QString decoded;
    decoded.reserve(target.size());
    for (qsizetype i = 0; i < target.size();) {
        if (target[i] != u'&' || !decodeReference(target, i, decoded))
            decoded += target[i++];
    }
    // Browsers drop tabs and line breaks anywhere in an address.
    QString address;
    address.reserve(decoded.size());
    for (const QChar ch : std::as_const(decoded)) {
        if (ch.unicode() >= 0x20 && ch.unicode() != 0x7F)
            address += ch;
    }
    address = address.trimmed();
    if (address.startsWith(u'#'))
        return address;
    if (address.startsWith(QLatin1String("www."), Qt::CaseInsensitive))
        return QStringLiteral("http://") + address;
    if (address.startsWith(QLatin1String("ftp."), Qt::CaseInsensitive))
        return QStringLiteral("ftp://") + address;
    const qsizetype colon = address.indexOf(u':');
    if (colon <= 0)
        return QString();
    for (qsizetype i = 0; i < colon; ++i) {
        if (!isSchemeCharacter(address[i], i == 0))
            return QString();
    }
    const QString scheme = address.left(colon).toLower();
    for (const char* allowed : {"http", "https", "ftp", "mailto"}) {
        if (scheme == QLatin1String(allowed))
            return address;
    }
    return QString();
}

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
