#pragma once

#include <QApplication>

/// The application object.
class VantrelApplication : public QApplication {
    Q_OBJECT
public:
    VantrelApplication(int& argc, char** argv);

    /// The program's start: the splash, then every program window; shows the
    /// main window, opens the file the desktop handed over and runs the event
    /// loop until the program ends.
    int run();
};
