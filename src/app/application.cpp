#include "app/application.h"

#include "app/appcaption.h"
#include "app/mainwindow.h"
#include "app/programwindows.h"
#include "app/splashwindow.h"
#include "platform/uilanguage.h"
#include "platform/workingfolders.h"
#include "settings/servermirror.h"
#include "ui/qtuserdialogs.h"

#include <QBuffer>
#include <QImageReader>
#include <QThread>
#include <QTimer>
#include <memory>

VantrelApplication::VantrelApplication(int& argc, char** argv)
    : QApplication(argc, argv) {
    // Named at once: the user's folders (the cache the splash's logo comes
    // from) are named after the application.
    setApplicationName(applicationTitle());
    // The menu stays in the window as designed; offering it to a desktop's
    // global menu bar meant asking the session bus for one at every start.
    setAttribute(Qt::AA_DontUseNativeMenuBar);
    setWindowIcon(programIcon());
    // Wayland compositors find the icon and the entry through this name.
    setDesktopFileName(QStringLiteral("net.vantrel.Vantrel"));
}

namespace {

/// Loads the picture format plugins on a second core while the windows are
/// made: the first picture the program reads (the tool pictures, the menu
/// bar's arrow) would otherwise wait for all of them to load. (The font list
/// is not read there: the splash's first text would only wait for it.)
std::unique_ptr<QThread> prepareAside() {
    std::unique_ptr<QThread> thread(QThread::create([] {
        // Content no format claims: every plugin is loaded to be asked.
        QByteArray nothing(16, '\0');
        QBuffer buffer(&nothing);
        QImageReader(&buffer).canRead();
    }));
    thread->start();
    return thread;
}

} // namespace

int VantrelApplication::run() {
    const std::unique_ptr<QThread> aside = prepareAside();
    // Qt needs the application object before any window; the splash comes
    // right after it, before anything else is created.
    auto splash = std::make_unique<SplashWindow>();
    splash->showAndPaint();

    QtUserDialogs dialogs(applicationTitle());

    const WorkingFolders folders = WorkingFolders::locate();
    // The start-up messages come before the main window applies the language.
    uilanguage::setCurrent(folders.ProgramFolder,
                           settingsfile::readLanguageCode(folders.settingsFile()));
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
    // The desktop hands over the document or layout the seller opened: once
    // the window is up and, when there is one, after the provisioning message.
    const QStringList arguments = QCoreApplication::arguments();
    const QString file = arguments.size() > 1 ? arguments.at(1) : QString();
    const auto openFile = [&mainWindow, file] {
        if (!file.isEmpty())
            mainWindow.openFromDesktop(file);
    };
    if (report.failures.isEmpty()) {
        QTimer::singleShot(0, &mainWindow, openFile);
    } else {
        // Once the window is up, so the message has a window to belong to.
        QTimer::singleShot(0, &mainWindow, [&dialogs, &report, &mainWindow, openFile] {
            dialogs.showMessage(provisionMessage(report), UserDialogs::Icon::Warning, {});
            // The box took the activation the window asked for.
            mainWindow.activateWindow();
            QTimer::singleShot(0, &mainWindow, openFile);
        });
    }
    const int code = exec();
    aside->wait();
    return code;
}
