#pragma once

#include <functional>

class QObject;
class QRect;
class QSize;
class QWidget;

/// Moves a window so that it stands in the middle of the primary screen's
/// available area, or at its top-left where it is larger than that area.
/// Call it once the window has its size.
void centreOnScreen(QWidget& window);

/// Where a window's frame goes so that all of it lies inside `available`
/// (a screen less the desktop's panels): no larger than that area, and
/// moved in across whichever edge it crossed.
QRect placeWithin(const QRect& frame, const QRect& available);

/// Gives a main window `size`, centred on the available area of its screen,
/// made smaller where the screen is too small for the window with its title
/// bar and frame: all of the window, title bar included, is on the screen.
void placeOnScreen(QWidget& window, const QSize& size);

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
