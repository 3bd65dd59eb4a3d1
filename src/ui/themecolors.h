#pragma once

#include <QColor>

class QPalette;

/// Colours of the program's own windows that follow the desktop's colour
/// scheme. A colour chosen for a light window (a dark red title, a blue
/// link) is unreadable on a dark one; these keep its hue and give it the
/// lightness the palette's window needs. The listing page keeps its own
/// colours: it is drawn for bidders, not for the seller's desktop.
namespace themecolors {

/// True when the palette's window colour is dark (lightness below 128), as
/// in a dark desktop theme.
bool isDark(const QPalette& palette);

/// `designed`, a colour meant for text on a light window, made readable on
/// the window colour of `palette`: unchanged on a light window, the same hue
/// lightened on a dark one.
QColor onWindow(const QColor& designed, const QPalette& palette);

/// `onWindow` for a style-sheet or markup colour ("maroon", "#b00020"): the
/// designed text itself on a light window, "#rrggbb" on a dark one.
QString styleColor(const QString& designed, const QPalette& palette);

} // namespace themecolors
