#include "layout/colortext.h"

namespace {

bool isHexDigit(QChar c) {
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
           (c >= QLatin1Char('a') && c <= QLatin1Char('f')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
}

int component(const QString& text, int from) {
    return text.mid(from, 2).toInt(nullptr, 16);
}

} // namespace

QString ColorToHtml(const QColor& color) {
    if (!color.isValid())
        return QStringLiteral("#FFFFFF");
    const QColor rgb = color.toRgb();
    return QStringLiteral("#%1%2%3")
        .arg(rgb.red(), 2, 16, QLatin1Char('0'))
        .arg(rgb.green(), 2, 16, QLatin1Char('0'))
        .arg(rgb.blue(), 2, 16, QLatin1Char('0'))
        .toUpper();
}

QColor HtmlToColor(const QString& text) {
    if (text.size() != 7 || text.at(0) != QLatin1Char('#'))
        return {};
    for (int i = 1; i < 7; ++i) {
        if (!isHexDigit(text.at(i)))
            return {};
    }
    return QColor(component(text, 1), component(text, 3), component(text, 5));
}
