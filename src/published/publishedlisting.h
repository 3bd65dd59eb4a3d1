#pragma once

#include "published/publishedrecord.h"

#include <QList>
#include <QString>
#include <QStringList>

struct PlacedPicture;

// What a listing about to be noted in the record is made of. Apart from the
// record itself: reading a title needs Qt's text document (Qt Gui), which
// the command-line check does without.

/// The document's title as a listing's: its first heading, else its first
/// line of text, at most 200 characters.
QString listingTitle(const QString& documentHtml);

/// The pictures a listing names, in order, each with the hash of the file
/// or bytes that `placed` holds for its address.
QList<PublishedPicture> publishedPictures(const QStringList& addresses,
                                          const QList<PlacedPicture>& placed);
