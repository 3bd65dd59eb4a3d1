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
    const QString chosen = servers.OwnServer == 1   ? servers.PrimaryServer
                           : servers.OwnServer == 2 ? servers.SecondaryServer
                                                    : QString();
    // A server nobody has set is never published: the picture stays where
    // the editor puts it, and publishing is told it has no address.
    if (!serveraddress::isSet(chosen)) {
        publishing.UnplacedPictures.append(storedFile);
        return true;
    }
    location = chosen + bareFileName(storedFile);
    publishing.RequiredImages.add(location);
    return true;
}
