#pragma once

#include "platform/pictureplan.h"

#include <QString>
#include <array>

struct Layout;
struct LayoutState;
struct PublishingState;
struct ServerMirror;

/// Where the published page takes the layout's three pictures from.
namespace imageservers {

/// The server the layout pictures are published on (`ExportNow` step 2):
/// the seller's chosen personal server when `UseOwnServer` is on, otherwise
/// the chosen product server. Empty when that server is not set.
QString layoutPictureServer(const ServerMirror& servers,
                            const std::array<QString, 3>& productServers);

/// `setImageServer` and `ExportNow` before the page is made, from the
/// layout's picture plan for publishing on `server`: the pictures' bare file
/// names (letter case kept: servers tell "Sky.gif" from "sky.gif"), their
/// addresses, and every shown picture's address added to `RequiredImages`
/// (its local file below `userFolder` to `UnplacedPictures` when `server` is
/// empty). Gives that plan back.
pictureplan::Plan placeLayoutPictures(const Layout& layout, const QString& server,
                                      LayoutState& layoutState, PublishingState& publishing,
                                      const QString& userFolder = QString());

} // namespace imageservers
