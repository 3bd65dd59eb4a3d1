#pragma once

struct AppState;
class DocumentEditor;
class LayoutCommands;
class UserDialogs;

/// Whether the main window may close: the document is asked about first,
/// then an unsaved layout (New Layout as the user starts it, with its save
/// prompt). Both are asked even when the first refuses, so the user hears
/// about every unsaved change at once. A layout save that fails refuses
/// the close after its error is shown.
bool FormCloseQuery(AppState& state, DocumentEditor& editor, LayoutCommands& layoutCommands,
                    UserDialogs& dialogs);
