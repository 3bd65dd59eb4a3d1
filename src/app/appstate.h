#pragma once

#include "platform/sortedstringlist.h"

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringList>
#include <array>

/// The one process-wide editing state of the main window, shared by its
/// pages by reference. Field names are the names the whole program uses for
/// them. Everything starts false, zero or empty unless given here.
struct AppState {
    // Working folders, each ending with "/".
    QString ProgramFolder;
    QString UserFolder;
    QString SharedDataFolder;

    QString AppTitle;            // "Vantrel": first part of every window caption
    QString OwnImagesFolderName; // "My images", inside UserFolder + "images/"
    QString LanguageCode;        // "en" or "fr"
    bool FirstActivation = true;

    // Document and layout being edited.
    QString DocumentFileName; // name only; the full path for an example document
    bool ExampleOpen = false; // an example or tutorial: cannot be published
    bool Publishing = false;  // generation refers to pictures on the image servers
    QString LayoutFileName;   // no folder; "Untitled.rbs" when the layout has no file
    QString LayoutFolder;     // with trailing separator; empty when never saved
    bool LayoutModified = false;
    /// The next layout load reads a file; meanwhile control events on the
    /// Layout page do not refresh the preview.
    bool LayoutLoadNeeded = false;
    /// The layout controls hold a complete layout; until then the preview
    /// refresh does nothing.
    bool LayoutControlsReady = false;
    // Which file the next layout load reads.
    bool NewLayoutPending = false;
    bool OpenLayoutPending = false;
    bool ExampleLayoutPending = false;

    // The three layout pictures: button hints, bare file names, addresses.
    QString AdImageHint;
    QString FrameImageHint;
    QString TextImageHint;
    QString AdImageFileName;
    QString FrameImageFileName;
    QString TextImageFileName;
    QString AdImageURL;
    QString FrameImageURL;
    QString TextImageURL;

    /// Picture addresses the published page needs.
    SortedStringList RequiredImages;
    /// The generated page, line by line.
    QStringList ListingCode;
    // Working buffers of page generation.
    QStringList PageSource;
    QStringList DocumentHtmlLines;
    QByteArray DocumentHtml;
    bool DocumentHtmlAllocated = false;
    /// The complete page text of the last preview refresh.
    QString PageText;
    /// Destination of the last picture copied into the own pictures folder.
    QString LastPictureCopy;

    // Server settings mirrored from the settings file at every activation.
    int DefaultServer = 0; // 1..3
    int OwnServer = 0;     // 1..2
    bool UseOwnServer = false;
    QString PrimaryServer;
    QString SecondaryServer;
    QChar ServerSet;
    std::array<QString, 3> ProductServer;
};
