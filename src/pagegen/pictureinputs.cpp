#include "pagegen/pictureinputs.h"

#include "layout/layout.h"
#include "pagegen/publishingstate.h"
#include "settings/serveraddress.h"
#include "settings/servermirror.h"

#include <QUrl>

#include <algorithm>

namespace pictureplan {

namespace {

QString personalServer(const QString& typed) {
    return serveraddress::fromTyped(typed).value_or(QString());
}

} // namespace

QList<LayoutPicture> layoutPictures(const Layout& layout) {
    return {{Role::PageArea, layout.AdImg, layout.AdImgHide},
            {Role::Frame, layout.FBgImg, layout.FImgHide},
            {Role::TextArea, layout.TxtBgImg, layout.TxtImgHide}};
}

Servers chosenServers(const ServerMirror& servers, const std::array<QString, 3>& productServers) {
    Servers chosen;
    const QString& own = servers.OwnServer == 2 ? servers.SecondaryServer : servers.PrimaryServer;
    // With no product server to choose, the personal server is the only
    // place layout pictures can be, whatever "use own server" was stored as.
    const bool productServerThere =
        std::any_of(productServers.begin(), productServers.end(),
                    [](const QString& address) { return !QUrl(address).host().isEmpty(); });
    if (servers.UseOwnServer || !productServerThere)
        chosen.layout = personalServer(own);
    else if (servers.DefaultServer >= 1 && servers.DefaultServer <= 3)
        chosen.layout = productServers[std::size_t(servers.DefaultServer - 1)];
    if (servers.OwnServer == 1 || servers.OwnServer == 2)
        chosen.document = personalServer(own);
    return chosen;
}

Target targetOf(const PublishingState& publishing) {
    return publishing.Publishing ? Target::Publish : Target::Preview;
}

void keepFindings(const Plan& plan, PublishingState& publishing) {
    if (plan.target != Target::Publish)
        return;
    for (const QString& address : plan.addresses())
        publishing.RequiredImages.add(address);
    for (const Entry& entry : plan.entries) {
        // A picture on the web is checked but never sent anywhere.
        if (!entry.needed() || !entry.placed() || entry.onWeb)
            continue;
        const bool known =
            std::any_of(publishing.PlacedPictures.cbegin(), publishing.PlacedPictures.cend(),
                        [&entry](const PlacedPicture& kept) {
                            // Another picture under the same address is kept
                            // too: the upload refuses to let one replace the
                            // other.
                            return kept.serverAddress == entry.serverAddress &&
                                   kept.localFile == entry.localFile && kept.bytes == entry.bytes;
                        });
        if (!known)
            publishing.PlacedPictures.append(
                {entry.localFile, entry.bytes, entry.serverName, entry.serverAddress});
    }
    for (const QString& file : plan.unplaced()) {
        if (!publishing.UnplacedPictures.contains(file))
            publishing.UnplacedPictures.append(file);
    }
}

} // namespace pictureplan
