#include "listing/serverlist.h"

#include "pagegen/shifttext.h"
#include "platform/apperror.h"
#include "platform/inifile.h"
#include "platform/uilanguage.h"
#include "platform/windows1252.h"

namespace serverlist {

int serverSetIndex(QChar serverSet) {
    if (serverSet < u'0' || serverSet > u'9')
        throw AppError(uilanguage::text(
                           "MESSAGES", "serverSetInvalid",
                           QStringLiteral("\"%1\" is not a valid server set: it must be a digit."))
                           .arg(serverSet.isNull() ? QString() : QString(serverSet)));
    return serverSet.unicode() - u'0';
}

std::array<QString, 3> readProductServers(const QString& fileName, QChar serverSet) {
    const IniFile file(fileName);
    const QString section(serverSet);
    std::array<QString, 3> servers;
    for (std::size_t i = 0; i < servers.size(); ++i) {
        const QString key = QStringLiteral("s%1").arg(i);
        const QByteArray stored = windows1252::encode(file.readString(section, key, QString()));
        const QString address = windows1252::decode(ShiftText(stored, shiftkeys::ServerListKey));
        // Marketplaces show only a snippet of a listing with insecure
        // pictures, so a list may name https servers; a bare host name keeps
        // meaning http, as lists always have.
        servers[i] = address.startsWith(QLatin1String("https://"), Qt::CaseInsensitive)
                         ? address
                         : QStringLiteral("http://") + address;
    }
    return servers;
}

bool productServersOffered() {
    return VANTREL_PRODUCT_SERVERS_OFFERED != 0;
}

std::array<QString, 3> offeredProductServers(const QString& fileName, QChar serverSet) {
    if (!productServersOffered())
        return {};
    return readProductServers(fileName, serverSet);
}

} // namespace serverlist
