#include "app/mainwindow.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTabWidget>

MainWindow::MainWindow(UserDialogs& dialogs, WorkingFolders folders, QWidget* parent)
    : QMainWindow(parent)
    , m_dialogs(dialogs)
    , m_folders(std::move(folders)) {
    setObjectName(QStringLiteral("T_FrmMain"));
    setWindowTitle(QStringLiteral("Vantrel"));
    resize(1008, 760);
    setMinimumSize(1000, 760);

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("pgcMain"));
    struct PageInfo {
        const char* name;
        const char* caption;
    };
    const PageInfo pageInfos[] = {
        {"tabCompose", "DOCUMENT Editor ( text writing and formatting )"},
        {"tabDecorate", "LAYOUT Editor ( decorating and publishing )"},
        {"tabExport", "Export to Auctions site"},
    };
    for (const PageInfo& info : pageInfos) {
        auto* page = new QWidget(m_pages);
        page->setObjectName(QString::fromLatin1(info.name));
        m_pages->addTab(page, QString::fromLatin1(info.caption));
    }
    // The Publish page is reached only by the publish command.
    m_pages->setTabVisible(2, false);
    setCentralWidget(m_pages);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}
