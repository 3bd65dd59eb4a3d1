#pragma once

#include "platform/sortedstringlist.h"

#include <QString>
#include <QStringList>

/// What publishing changes in page generation, and what it leaves behind:
/// while `Publishing`, pages are made for the picture plan's publish target
/// (pictures by their server addresses, links live), and the plans'
/// findings are collected.
struct PublishingState {
    /// The page being made is the one to publish, not the preview.
    bool Publishing = false;

    // The server addresses of the three layout pictures, from their plan.
    QString AdImageURL;
    QString FrameImageURL;
    QString TextImageURL;

    /// Picture addresses the published page needs: the plans' address lists.
    SortedStringList RequiredImages;
    /// The pictures of the page being published that the plans gave no
    /// server (none set or chosen), by their local files: the page would
    /// show them only on this computer.
    QStringList UnplacedPictures;
    /// The listing body as last generated, line by line.
    QStringList ListingCode;
    /// Destination of the last picture copied into the own pictures folder.
    QString LastPictureCopy;
};
