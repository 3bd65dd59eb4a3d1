#pragma once

#include "docmodel/documentstate.h"
#include "layout/layoutstate.h"
#include "pagegen/publishingstate.h"
#include "platform/workingfolders.h"
#include "settings/servermirror.h"

#include <QString>
#include <array>

/// The one process-wide editing state of the main window. It owns the
/// pieces and hands each page and command the pieces it works on.
struct AppState {
    WorkingFolders folders;
    QString AppTitle;     // first part of every window caption
    QString LanguageCode; // "en" or "fr"
    bool FirstActivation = true;

    DocumentState document;
    LayoutState layout;
    PublishingState publishing;
    /// Server settings mirrored from the settings file at every activation.
    ServerMirror servers;
    /// The product image servers of the current server set.
    std::array<QString, 3> ProductServer;
};
