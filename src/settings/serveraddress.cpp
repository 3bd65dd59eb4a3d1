#include "settings/serveraddress.h"

#include <QUrl>

namespace {

/// What the program once wrote or showed for a server nobody had set.
bool isPlaceholder(const QString& text) {
    for (const char* placeholder : {"your primary server *", "your secondary server *",
                                    "your primary server", "your secondary server"}) {
        if (text.compare(QLatin1String(placeholder), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

} // namespace

namespace serveraddress {

std::optional<QString> fromTyped(const QString& text) {
    QString address = text.trimmed();
    if (address.isEmpty() || isPlaceholder(address))
        return QString();
    const QUrl url(address, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")) ||
        url.host().isEmpty() || url.hasQuery() || url.hasFragment())
        return std::nullopt;
    if (!address.endsWith(QLatin1Char('/')))
        address += QLatin1Char('/');
    return address;
}

bool isSet(const QString& address) {
    const std::optional<QString> typed = fromTyped(address);
    return typed && !typed->isEmpty();
}

} // namespace serveraddress
