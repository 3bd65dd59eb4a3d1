#include "listing/imageservers.h"

#include "layout/layout.h"
#include "layout/layoutstate.h"
#include "pagegen/publishingstate.h"
#include "platform/fileurl.h"
#include "settings/serveraddress.h"
#include "settings/servermirror.h"

namespace imageservers {

QString layoutPictureServer(const ServerMirror& servers,
                            const std::array<QString, 3>& productServers) {
    if (servers.UseOwnServer) {
        const QString& own =
            servers.OwnServer == 2 ? servers.SecondaryServer : servers.PrimaryServer;
        return serveraddress::isSet(own) ? serveraddress::fromTyped(own).value_or(QString())
                                         : QString();
    }
    if (servers.DefaultServer < 1 || servers.DefaultServer > 3)
        return {};
    return productServers[std::size_t(servers.DefaultServer - 1)];
}

void placeLayoutPictures(const Layout& layout, const QString& server, LayoutState& layoutState,
                         PublishingState& publishing) {
    const struct {
        const QString& path;
        bool hidden;
        QString& fileName;
        QString& url;
    } pictures[] = {
        {layout.AdImg, layout.AdImgHide, layoutState.AdImageFileName, publishing.AdImageURL},
        {layout.FBgImg, layout.FImgHide, layoutState.FrameImageFileName, publishing.FrameImageURL},
        {layout.TxtBgImg, layout.TxtImgHide, layoutState.TextImageFileName,
         publishing.TextImageURL},
    };
    for (const auto& picture : pictures) {
        picture.fileName = pathFileName(picture.path);
        picture.url = addressOnServer(server, picture.fileName);
        if (picture.path.isEmpty() || picture.hidden)
            continue;
        if (server.isEmpty())
            publishing.UnplacedPictures.append(picture.path);
        else
            publishing.RequiredImages.add(picture.url);
    }
}

} // namespace imageservers
