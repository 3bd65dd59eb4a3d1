#include "http/pagepictures.h"

#include <QRegularExpression>

#include <algorithm>

namespace {

QString decodeReferences(QString value) {
    static const QRegularExpression numeric(QStringLiteral("&#(x?)([0-9a-fA-F]+);"));
    QString decoded;
    qsizetype from = 0;
    for (auto it = numeric.globalMatch(value); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        bool ok = false;
        const uint code = match.captured(2).toUInt(&ok, match.captured(1).isEmpty() ? 10 : 16);
        decoded += value.mid(from, match.capturedStart() - from);
        decoded += ok && code > 0 && code <= 0x10FFFF
                       ? QString::fromUcs4(reinterpret_cast<const char32_t*>(&code), 1)
                       : match.captured();
        from = match.capturedEnd();
    }
    value = decoded + value.mid(from);
    value.replace(QLatin1String("&quot;"), QLatin1String("\""));
    value.replace(QLatin1String("&apos;"), QLatin1String("'"));
    value.replace(QLatin1String("&lt;"), QLatin1String("<"));
    value.replace(QLatin1String("&gt;"), QLatin1String(">"));
    value.replace(QLatin1String("&amp;"), QLatin1String("&"));
    return value;
}

QString attributeValue(const QRegularExpressionMatch& match) {
    for (int group = 1; group <= match.lastCapturedIndex(); ++group) {
        if (match.capturedStart(group) >= 0)
            return match.captured(group);
    }
    return {};
}

} // namespace

QStringList pagePictureAddresses(const QString& html) {
    using Option = QRegularExpression::PatternOption;
    const auto options = Option::CaseInsensitiveOption | Option::DotMatchesEverythingOption;
    static const QRegularExpression tag(QStringLiteral("<([a-z][a-z0-9]*)\\b([^>]*)>"), options);
    static const QRegularExpression src(
        QStringLiteral("(?:^|\\s)src\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)'|([^\\s\"'>]+))"), options);
    static const QRegularExpression background(
        QStringLiteral("(?:^|\\s)background\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)'|([^\\s\"'>]+))"),
        options);
    static const QRegularExpression cssUrl(
        QStringLiteral("url\\(\\s*(?:\"([^\"]*)\"|'([^']*)'|([^\\s\"')]+))\\s*\\)"), options);

    // Positions keep the page's order across the three kinds.
    QList<std::pair<qsizetype, QString>> found;
    for (auto tags = tag.globalMatch(html); tags.hasNext();) {
        const QRegularExpressionMatch element = tags.next();
        const QString attributes = element.captured(2);
        const qsizetype at = element.capturedStart(2);
        if (element.captured(1).compare(QLatin1String("img"), Qt::CaseInsensitive) == 0) {
            const QRegularExpressionMatch match = src.match(attributes);
            if (match.hasMatch())
                found.append({at + match.capturedStart(), decodeReferences(attributeValue(match))});
        }
        const QRegularExpressionMatch match = background.match(attributes);
        if (match.hasMatch())
            found.append({at + match.capturedStart(), decodeReferences(attributeValue(match))});
    }
    for (auto urls = cssUrl.globalMatch(html); urls.hasNext();) {
        const QRegularExpressionMatch match = urls.next();
        found.append({match.capturedStart(), decodeReferences(attributeValue(match))});
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });

    QStringList addresses;
    for (const auto& [position, raw] : std::as_const(found)) {
        Q_UNUSED(position);
        QString address = raw.trimmed();
        // url(&quot;...&quot;) in a style attribute keeps its quotes until decoded.
        if (address.size() >= 2 &&
            (address.front() == QLatin1Char('"') || address.front() == QLatin1Char('\'')) &&
            address.back() == address.front())
            address = address.mid(1, address.size() - 2).trimmed();
        if (address.isEmpty() || address.startsWith(QLatin1String("data:"), Qt::CaseInsensitive))
            continue;
        if (!addresses.contains(address))
            addresses.append(address);
    }
    return addresses;
}
