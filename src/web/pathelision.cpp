#include "web/pathelision.h"

#include <QFontMetrics>
#include <QStringList>

QString elidedPath(const QString& path, const QFontMetrics& metrics, int width) {
    const auto fits = [&](const QString& text) { return metrics.horizontalAdvance(text) <= width; };
    if (fits(path))
        return path;
    const QChar separator = path.contains(u'/') ? u'/' : u'\\';
    const QStringList parts = path.split(separator);
    QString shortest = path;
    for (qsizetype dropped = 1; dropped + 1 < parts.size(); ++dropped) {
        shortest = parts.constFirst() + separator + QStringLiteral("...") + separator +
                   parts.mid(dropped + 1).join(separator);
        if (fits(shortest))
            return shortest;
    }
    return metrics.elidedText(shortest, Qt::ElideLeft, width);
}
