#include "editor/htmlescape.h"

#include "platform/windows1252.h"

namespace htmlescape {

namespace {

void appendReference(QString& out, char32_t code) {
    out += QStringLiteral("&#");
    out += QString::number(static_cast<uint>(code));
    out += QLatin1Char(';');
}

void appendEscaped(QString& out, QStringView text, bool attribute) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        switch (ch.unicode()) {
        case u'&':
            out += QStringLiteral("&amp;");
            continue;
        case u'<':
            out += QStringLiteral("&lt;");
            continue;
        case u'>':
            out += QStringLiteral("&gt;");
            continue;
        case u'"':
            out += QStringLiteral("&quot;");
            continue;
        case u'\'':
            if (attribute) {
                out += QStringLiteral("&#39;");
                continue;
            }
            break;
        case u'\u00A3':
            out += QStringLiteral("&#163;");
            continue;
        default:
            break;
        }
        if (ch.unicode() < 0x20 && ch != u'\t')
            continue;
        if (ch.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            appendReference(out, QChar::surrogateToUcs4(ch, text[i + 1]));
            ++i;
        } else if (ch.isSurrogate()) {
            appendReference(out, 0xFFFD);
        } else if (windows1252::encodeChar(ch) < 0) {
            appendReference(out, ch.unicode());
        } else {
            out += ch;
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
