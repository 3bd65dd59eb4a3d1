#pragma once

#include "platform/pictureplan.h"

#include <QString>
#include <array>

struct Layout;
struct PublishingState;
struct ServerMirror;

/// What the picture plan of the listing page is made from: the layout's
/// pictures, the servers the settings choose and the page's target.
namespace pictureplan {

/// The layout's three pictures with their "Hide image" flags.
QList<LayoutPicture> layoutPictures(const Layout& layout);

/// The servers the settings choose. The layout's pictures go to the chosen
/// personal server when `UseOwnServer` is on or no product server is there
/// (none is offered), otherwise to the chosen product server; the document's
/// pictures always go to the chosen personal server. A server nobody has set
/// gives an empty address.
Servers chosenServers(const ServerMirror& servers, const std::array<QString, 3>& productServers);

/// The page is being made for publishing, or for the preview.
Target targetOf(const PublishingState& publishing);

/// A publishing plan's findings kept for the rest of the publish command:
/// its server addresses added to `RequiredImages`, the local files of the
/// pictures without a server to `UnplacedPictures`, the pictures with one to
/// `PlacedPictures`. A preview's plan has none.
void keepFindings(const Plan& plan, PublishingState& publishing);

} // namespace pictureplan
