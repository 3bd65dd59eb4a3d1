#pragma once

#include "platform/workingfolders.h"

#include <QMainWindow>

class QTabWidget;
class UserDialogs;

/// The program's one working window, `T_FrmMain`: a thin owner of the three
/// pages and of the state they share.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(UserDialogs& dialogs, WorkingFolders folders, QWidget* parent = nullptr);

    QTabWidget* pages() const { return m_pages; }

private:
    UserDialogs& m_dialogs;
    WorkingFolders m_folders;
    QTabWidget* m_pages = nullptr;
};
