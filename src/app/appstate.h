#pragma once

#include "docmodel/documentstate.h"
#include "layout/layoutdocument.h"
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
    /// The layout being edited, with its file and state.
    LayoutDocument layout;
    PublishingState publishing;
    /// The server choices of the program's `Settings`, kept in step with
    /// every change of them.
    ServerMirror servers;
    /// The product image servers of the current server set.
    std::array<QString, 3> ProductServer;
};
