#pragma once

#include "platform/sortedstringlist.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

/// A picture the published page names on an image server, with where it is
/// on this computer: what is sent when the seller's server takes uploads.
struct PlacedPicture {
    QString localFile;
    /// The picture when its file is still to be written (came from no file).
    QByteArray bytes;
    /// Its file name on the server, letter case kept.
    QString serverName;
    QString serverAddress;
};

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
    /// The pictures the page needs that have a server address, each once.
    QList<PlacedPicture> PlacedPictures;
    /// The listing body as last generated, line by line.
    QStringList ListingCode;
    /// Destination of the last picture copied into the own pictures folder.
    QString LastPictureCopy;
};
