#include "docmodel/htmlescape.h"

#include "platform/windows1252.h"

namespace htmlescape {

namespace {

void appendReference(QString& out, char32_t code) {
    out += QLatin1String("&#");
    out += QString::number(static_cast<uint>(code));
    out += QLatin1Char(';');
}

/// True for characters written as they are, in text and in attributes:
/// code page characters other than markup, quotes, "£" and C0 controls.
bool isPlain(char16_t c) {
    if (c < 0x80)
        return c >= 0x20 && c != u'&' && c != u'<' && c != u'>' && c != u'"' && c != u'\'';
    return c != 0xA3 && windows1252::encodeChar(QChar(c)) >= 0;
}

void appendEscaped(QString& out, QStringView text, bool attribute) {
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        // Most text is plain: copy it in runs.
        const qsizetype runStart = i;
        while (i < size && isPlain(text[i].unicode()))
            ++i;
        if (i > runStart)
            out.append(text.data() + runStart, i - runStart);
        if (i == size)
            break;
        const QChar ch = text[i];
        switch (ch.unicode()) {
        case u'&':
            out += QLatin1String("&amp;");
            continue;
        case u'<':
            out += QLatin1String("&lt;");
            continue;
        case u'>':
            out += QLatin1String("&gt;");
            continue;
        case u'"':
            out += QLatin1String("&quot;");
            continue;
        case u'\'':
            out += attribute ? QLatin1String("&#39;") : QLatin1String("'");
            continue;
        case u'\u00A3':
            out += QLatin1String("&#163;");
            continue;
        default:
            break;
        }
        if (ch.unicode() < 0x20) {
            if (ch == u'\t')
                out += ch;
            continue;
        }
        if (ch.isHighSurrogate() && i + 1 < size && text[i + 1].isLowSurrogate()) {
            appendReference(out, QChar::surrogateToUcs4(ch, text[i + 1]));
            ++i;
        } else if (ch.isSurrogate()) {
            appendReference(out, 0xFFFD);
        } else {
            appendReference(out, ch.unicode());
        }
    }
}

} // namespace

void appendText(QString& out, QStringView text) {
    appendEscaped(out, text, false);
}

void appendAttribute(QString& out, QStringView value) {
    appendEscaped(out, value, true);
}

QString attribute(QStringView value) {
    QString out;
    appendAttribute(out, value);
    return out;
}

QString fontFamily(QStringView name) {
    QString clean;
    for (QChar ch : name) {
        if (ch.unicode() >= 0x20 && !QStringView(u"'\"\\;<>{}&").contains(ch))
            clean += ch;
    }
    return attribute(clean.trimmed());
}

} // namespace htmlescape
