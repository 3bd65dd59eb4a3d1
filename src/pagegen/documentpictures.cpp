#include "pagegen/documentpictures.h"

#include "pagegen/pagetext.h"
#include "pagegen/publishingstate.h"
#include "settings/serveraddress.h"
#include "settings/servermirror.h"

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
    const QString server = serveraddress::fromTyped(chosen).value_or(QString());
    if (server.isEmpty()) {
        publishing.UnplacedPictures.append(storedFile);
        return true;
    }
    location = addressOnServer(server, pathFileName(storedFile));
    publishing.RequiredImages.add(location);
    return true;
}
