#pragma once

#include <QString>

/// Which file the next layout load reads.
enum class LayoutLoadRequest {
    None,
    New,     // the default layout, as a new untitled layout
    Open,    // a file the user picks in the open dialog
    Example, // the layout that belongs to the example document
};

/// The layout being edited: its file, whether it has unsaved changes, and
/// where its load stands.
struct LayoutState {
    QString LayoutFileName; // no folder; the untitled name when the layout has no file
    QString LayoutFolder;   // with trailing separator; empty when never saved
    bool LayoutModified = false;
    /// The next layout load reads a file; meanwhile control events on the
    /// Layout page do not refresh the preview.
    bool LayoutLoadNeeded = false;
    /// The layout controls hold a complete layout; until then the preview
    /// refresh does nothing.
    bool LayoutControlsReady = false;
    LayoutLoadRequest LayoutLoadRequested = LayoutLoadRequest::None;

    // The three layout pictures: the picture buttons' hints and the bare
    // file names of the pictures last chosen.
    QString AdImageHint;
    QString FrameImageHint;
    QString TextImageHint;
    QString AdImageFileName;
    QString FrameImageFileName;
    QString TextImageFileName;

    /// A new layout nobody has touched yet: the page says it is the default.
    bool isUntouchedDefault() const;
};
