#pragma once

#include "platform/pictureplan.h"
#include "platform/result.h"

#include <QList>
#include <QString>
#include <QStringList>

struct WorkingFolders;

/// The listing page of a document file and a layout file, as the command-line
/// tools make it: the preview's page, or the page published with every
/// picture on one server.
namespace listingpage {

struct Request {
    /// A Vantrel document (.vdoc) or its HTML fragment (.html, .htm). A
    /// fragment's pictures named by a local path are taken from its folder.
    QString document;
    /// The layout file (.rbs), read as the program opens it.
    QString layout;
    /// The preview's pictures that came from no file are saved here, and the
    /// page refers to them by name.
    QString picturesFolder;
    /// Empty for the preview's page. Otherwise the address of the folder
    /// (ending with "/") every picture, document and layout alike, is
    /// published at: the page names them there.
    QString server;
};

struct Page {
    /// The whole page.
    QStringList lines;
    /// The listing body that publishing copies.
    QStringList body;
    /// The pictures the published page needs on the server, each once: its
    /// local file or its bytes, its name and address there. Empty for the
    /// preview.
    QList<pictureplan::Entry> pictures;
};

/// The page, or why it cannot be made (a missing or damaged input).
Result<Page> make(const Request& request, const WorkingFolders& folders);

} // namespace listingpage
