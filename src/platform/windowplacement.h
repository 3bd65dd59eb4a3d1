#pragma once

class QWidget;

/// Moves a window so that it stands in the middle of the primary screen's
/// available area. Call it once the window has its size.
void centreOnScreen(QWidget& window);
