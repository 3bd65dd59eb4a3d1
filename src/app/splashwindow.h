#pragma once

#include <QWidget>

/// The start-up window `T_frmSplashLoad`: the product logo and "Loading..."
/// on a panel in the active title colour, shown while the program's windows
/// are created.
class SplashWindow : public QWidget {
    Q_OBJECT
public:
    SplashWindow();

    /// Shows the window and paints it before returning, so that it is on the
    /// screen while the rest of start-up blocks the event loop.
    void showAndPaint();
};
