#pragma once

#include <QIcon>
#include <QString>
#include <optional>

struct AppState;

/// The application title: the first part of every window caption.
inline QString applicationTitle() {
    return QStringLiteral("Vantrel");
}

/// The program's icon at every size the desktop asks for, from the pictures
/// built into the program: a window without it shows the desktop's generic
/// one wherever the program is not installed with its icon theme entries.
QIcon programIcon();

/// The main window's pages, by their index in the page control.
enum class MainPage { Compose = 0, Decorate = 1, Export = 2 };

/// The window caption for the current page: the title with the document or
/// layout being edited, " - modified)" when it has unsaved changes. A file
/// without a name shows its default name. On the Publish page the caption
/// stays as it is (nothing is returned).
std::optional<QString> appCaption(const AppState& state, MainPage page, bool documentModified);
