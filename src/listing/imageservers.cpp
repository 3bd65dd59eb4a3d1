#include "listing/imageservers.h"

#include "layout/layout.h"
#include "layout/layoutstate.h"
#include "pagegen/pictureinputs.h"
#include "pagegen/publishingstate.h"

namespace imageservers {

QString layoutPictureServer(const ServerMirror& servers,
                            const std::array<QString, 3>& productServers) {
    return pictureplan::chosenServers(servers, productServers).layout;
}

pictureplan::Plan placeLayoutPictures(const Layout& layout, const QString& server,
                                      LayoutState& layoutState, PublishingState& publishing,
                                      const QString& userFolder) {
    pictureplan::Input input;
    input.target = pictureplan::Target::Publish;
    input.userFolder = userFolder;
    input.layout = pictureplan::layoutPictures(layout);
    input.servers.layout = server;
    const pictureplan::Plan plan = pictureplan::make(input);
    const struct {
        pictureplan::Role role;
        QString& fileName;
        QString& url;
    } kept[] = {
        {pictureplan::Role::PageArea, layoutState.AdImageFileName, publishing.AdImageURL},
        {pictureplan::Role::Frame, layoutState.FrameImageFileName, publishing.FrameImageURL},
        {pictureplan::Role::TextArea, layoutState.TextImageFileName, publishing.TextImageURL},
    };
    for (const auto& picture : kept) {
        const pictureplan::Entry* entry = plan.layoutPicture(picture.role);
        picture.fileName = entry->serverName;
        picture.url = entry->address;
    }
    pictureplan::keepFindings(plan, publishing);
    return plan;
}

} // namespace imageservers
