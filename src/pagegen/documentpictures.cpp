#include "pagegen/documentpictures.h"

#include "pagegen/pictureinputs.h"
#include "pagegen/publishingstate.h"

bool documentPictureLocation(PublishingState& publishing, const ServerMirror& servers, int itemNo,
                             const QString& storedFile, QString& location) {
    if (itemNo < 0 || storedFile.isEmpty())
        return false;
    pictureplan::Input input;
    input.target = pictureplan::targetOf(publishing);
    input.document = {{storedFile, {}, {}}};
    input.servers.document = pictureplan::chosenServers(servers, {}).document;
    const pictureplan::Plan plan = pictureplan::make(input);
    const pictureplan::Entry& entry = plan.entries.constFirst();
    // Published without a server, the picture stays where the editor puts it.
    if (input.target == pictureplan::Target::Preview || entry.placed())
        location = entry.address;
    pictureplan::keepFindings(plan, publishing);
    return true;
}
