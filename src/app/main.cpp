#include "app/application.h"
#include "app/mainwindow.h"
#include "app/programwindows.h"
#include "app/splashwindow.h"
#include "platform/qtuserdialogs.h"
#include "platform/workingfolders.h"

#include <QTimer>
#include <memory>

int main(int argc, char** argv) {
    VantrelApplication app(argc, argv);
    // Qt needs the application object before any window; the splash comes
    // right after it, before anything else is created.
    auto splash = std::make_unique<SplashWindow>();
    splash->showAndPaint();

    QApplication::setApplicationName(VantrelApplication::title());
    QtUserDialogs dialogs(VantrelApplication::title());

    const WorkingFolders folders = WorkingFolders::locate();
    // An installer would have made these folders; here the first run does.
    const ProvisionReport report = provisionWorkingFolders(folders);

    ProgramWindows windows(dialogs, folders);
    MainWindow& mainWindow = windows.mainWindow();
    dialogs.setParentWindow(&mainWindow);
    splash.reset();

    mainWindow.show();
    // Its activation runs the first-activation work; ask for it in case the
    // window manager does not give the new window the focus by itself.
    mainWindow.activateWindow();
    // The desktop hands over the document or layout the seller opened.
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() > 1) {
        const QString file = arguments.at(1);
        QTimer::singleShot(0, &mainWindow,
                           [&mainWindow, file] { mainWindow.openFromDesktop(file); });
    }
    if (!report.failures.isEmpty()) {
        // Once the window is up, so the message has a window to belong to.
        QTimer::singleShot(0, &mainWindow, [&dialogs, &report, &mainWindow] {
            dialogs.showMessage(provisionMessage(report), UserDialogs::Icon::Warning, {});
            // The box took the activation the window asked for.
            mainWindow.activateWindow();
            // The desktop hands over the document or layout the seller opened.
            const QStringList arguments = QCoreApplication::arguments();
            if (arguments.size() > 1) {
                const QString file = arguments.at(1);
                QTimer::singleShot(0, &mainWindow,
                                   [&mainWindow, file] { mainWindow.openFromDesktop(file); });
            }
        });
    }
    return app.exec();
}
