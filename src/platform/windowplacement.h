#pragma once

#include <functional>

class QWidget;

/// Moves a window so that it stands in the middle of the primary screen's
/// available area. Call it once the window has its size.
void centreOnScreen(QWidget& window);

/// Gives a dialog its fixed size from its layout and centres it on the
/// screen as it is first shown, rather than when it is made: working out
/// the layout's size is work the program's start need not wait for.
void fitAndCentreWhenFirstShown(QWidget& window);

/// Runs `action` once, as `widget` is first shown (before a window is
/// mapped): for work that only matters once the widget is seen.
void onFirstShow(QWidget& widget, std::function<void()> action);
