#include "pagegen/documentpictures.h"

#include "pagegen/pagetext.h"
#include "pagegen/publishingstate.h"
#include "settings/serveraddress.h"
#include "settings/servermirror.h"

#include <algorithm>

namespace {

QString bareFileName(const QString& path) {
    const qsizetype separator = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    return path.mid(separator + 1);
}

} // namespace

bool documentPictureLocation(PublishingState& publishing, const ServerMirror& servers, int itemNo,
                             const QString& storedFile, QString& location) {
    if (itemNo < 0 || storedFile.isEmpty())
        return false;
    if (!publishing.Publishing) {
        location = PathToFileUrl(storedFile);
        return true;
    }
    if (servers.OwnServer == 1 || servers.OwnServer == 2) {
        const QString& server =
            servers.OwnServer == 1 ? servers.PrimaryServer : servers.SecondaryServer;
        // A server nobody has set is never published.
        if (!serveraddress::isSet(server))
            return true;
        location = server + bareFileName(storedFile);
        publishing.RequiredImages.add(location);
    }
    return true;
}
