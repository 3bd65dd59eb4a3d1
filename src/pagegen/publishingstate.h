#pragma once

#include "platform/sortedstringlist.h"

#include <QString>
#include <QStringList>

/// What publishing changes in page generation, and what it leaves behind:
/// while `Publishing`, pictures are referred to by their server addresses,
/// and each address the page needs is collected.
struct PublishingState {
    bool Publishing = false;

    // The server addresses of the three layout pictures.
    QString AdImageURL;
    QString FrameImageURL;
    QString TextImageURL;

    /// Picture addresses the published page needs.
    SortedStringList RequiredImages;
    /// The pictures of the page being published that got no server address
    /// (no server set or chosen), by their local paths: the page would show
    /// them only on this computer.
    QStringList UnplacedPictures;
    /// The listing body as last generated, line by line.
    QStringList ListingCode;
    /// Destination of the last picture copied into the own pictures folder.
    QString LastPictureCopy;
};
