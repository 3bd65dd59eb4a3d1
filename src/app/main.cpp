#include "app/application.h"
#include "app/mainwindow.h"
#include "platform/qtuserdialogs.h"
#include "platform/workingfolders.h"

#include <QDebug>

int main(int argc, char** argv) {
    VantrelApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantrel"));
    QApplication::setApplicationDisplayName(QStringLiteral("Vantrel"));

    QtUserDialogs dialogs(QStringLiteral("Vantrel"));
    app.setDialogs(&dialogs);

    const WorkingFolders folders = WorkingFolders::locate();
    // An installer would have made these folders; here the first run does.
    const ProvisionReport report = provisionWorkingFolders(folders);
    for (const QString& failure : report.failures)
        qWarning().noquote() << failure;

    MainWindow window(dialogs, folders);
    dialogs.setParentWindow(&window);
    window.show();
    return app.exec();
}
