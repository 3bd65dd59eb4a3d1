#include "app/application.h"
#include "app/mainwindow.h"
#include "app/programwindows.h"
#include "app/splashwindow.h"
#include "platform/qtuserdialogs.h"
#include "platform/workingfolders.h"

#include <QDebug>
#include <memory>

int main(int argc, char** argv) {
    VantrelApplication app(argc, argv);
    // Qt needs the application object before any window; the splash comes
    // right after it, before anything else is created.
    auto splash = std::make_unique<SplashWindow>();
    splash->showAndPaint();

    QApplication::setApplicationName(VantrelApplication::title());
    QApplication::setApplicationDisplayName(VantrelApplication::title());
    QtUserDialogs dialogs(VantrelApplication::title());

    const WorkingFolders folders = WorkingFolders::locate();
    // An installer would have made these folders; here the first run does.
    const ProvisionReport report = provisionWorkingFolders(folders);
    for (const QString& failure : report.failures)
        qWarning().noquote() << failure;

    ProgramWindows windows(dialogs, folders);
    MainWindow& mainWindow = windows.mainWindow();
    dialogs.setParentWindow(&mainWindow);
    splash.reset();

    mainWindow.show();
    // Its activation runs the first-activation work; ask for it in case the
    // window manager does not give the new window the focus by itself.
    mainWindow.activateWindow();
    return app.exec();
}
