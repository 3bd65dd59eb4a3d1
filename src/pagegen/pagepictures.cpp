#include "pagegen/pagepictures.h"

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

/// A reference's value without the quotes around it.
QString unquoted(const QString& value) {
    if (!value.isEmpty() && (value.front() == u'"' || value.front() == u'\''))
        return value.mid(1, value.size() - 2);
    return value;
}

} // namespace

QList<PagePictureReference> pagePictureReferences(const QString& html) {
    using Option = QRegularExpression::PatternOption;
    const auto options = Option::CaseInsensitiveOption | Option::DotMatchesEverythingOption;
    static const QRegularExpression tag(QStringLiteral("<([a-z][a-z0-9]*)\\b([^>]*)>"), options);
    static const QRegularExpression src(
        QStringLiteral("(?:^|\\s)src\\s*=\\s*(\"[^\"]*\"|'[^']*'|[^\\s\"'>]+)"), options);
    static const QRegularExpression background(
        QStringLiteral("(?:^|\\s)background\\s*=\\s*(\"[^\"]*\"|'[^']*'|[^\\s\"'>]+)"), options);
    static const QRegularExpression cssUrl(
        QStringLiteral("url\\(\\s*(\"[^\"]*\"|'[^']*'|[^\\s\"')]+)\\s*\\)"), options);

    QList<PagePictureReference> found;
    const auto add = [&found](const QRegularExpressionMatch& match, qsizetype offset,
                              bool attribute) {
        if (match.hasMatch())
            found.append({offset + match.capturedStart(1), match.capturedLength(1),
                          match.captured(1), attribute});
    };
    for (auto tags = tag.globalMatch(html); tags.hasNext();) {
        const QRegularExpressionMatch element = tags.next();
        const QString attributes = element.captured(2);
        const qsizetype at = element.capturedStart(2);
        if (element.captured(1).compare(QLatin1String("img"), Qt::CaseInsensitive) == 0)
            add(src.match(attributes), at, true);
        add(background.match(attributes), at, true);
    }
    for (auto urls = cssUrl.globalMatch(html); urls.hasNext();)
        add(urls.next(), 0, false);
    std::stable_sort(found.begin(), found.end(),
                     [](const auto& a, const auto& b) { return a.start < b.start; });
    return found;
}

QStringList pagePictureAddresses(const QString& html) {
    QStringList addresses;
    for (const PagePictureReference& reference : pagePictureReferences(html)) {
        QString address = decodeReferences(unquoted(reference.value)).trimmed();
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
