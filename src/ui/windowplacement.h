#pragma once

#include <functional>

class QObject;
class QWidget;

/// Moves a window so that it stands in the middle of the primary screen's
/// available area. Call it once the window has its size.
void centreOnScreen(QWidget& window);

/// Gives a dialog its fixed size from its layout and centres it on the
/// screen as it is first shown, rather than when it is made: working out
/// the layout's size is work the program's start need not wait for. Every
/// later showing fits it again, since its texts may have changed language;
/// it is wide enough for its title too.
void fitAndCentreWhenFirstShown(QWidget& window);

/// Runs `action` once, as `widget` is first shown (before a window is
/// mapped): for work that only matters once the widget is seen.
void onFirstShow(QWidget& widget, std::function<void()> action);

/// The width a window needs for the window manager to show its whole title:
/// the title in the bold face title bars use, and room for the window's icon
/// and buttons beside it.
int wholeTitleWidth(const QWidget& window);

/// From now on, every window of the program but the main window is made at
/// least as wide as its title needs whenever it is shown or its title
/// changes (a caption that names a site or a region, another language). The
/// watch ends with the owner.
void keepTitlesWhole(QObject* owner);
