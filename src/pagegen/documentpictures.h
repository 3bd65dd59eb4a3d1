#pragma once

#include <QString>

struct PublishingState;
struct ServerMirror;

/// How the page refers to one picture of the document, as its picture plan
/// for the page being made (preview, or publishing while `Publishing` is
/// set) places it. `itemNo` is the picture's item number (negative for
/// pictures that are not items, such as backgrounds) and `storedFile` the
/// path it was inserted from (empty when it came from no file).
///
/// Returns false, leaving `location` alone, when the picture is not the
/// plan's to place. Otherwise:
/// - while publishing, the selected own server's address followed by the
///   picture's file name, which is added to `RequiredImages`; without a
///   chosen server that is set, `location` stays as it was and the picture
///   is added to `UnplacedPictures`;
/// - otherwise the picture's local file URL, in its own letter case.
bool documentPictureLocation(PublishingState& publishing, const ServerMirror& servers, int itemNo,
                             const QString& storedFile, QString& location);
