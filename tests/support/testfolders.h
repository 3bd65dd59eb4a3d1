#pragma once

#include "platform/workingfolders.h"

#include <QByteArray>
#include <QTemporaryDir>

/// The program's three working folders inside one temporary folder, with
/// the user's "Documents and Layouts" folder, removed with the object.
class TestFolders {
public:
    TestFolders();

    const WorkingFolders& folders() const { return m_folders; }
    /// Full path of a file below the temporary root ("user/a.rbs").
    QString path(const QString& relative) const { return m_root.filePath(relative); }
    /// Writes a file below the temporary root; fails the test run if it can't.
    QString write(const QString& relative, const QByteArray& bytes) const;

private:
    QTemporaryDir m_root;
    WorkingFolders m_folders;
};

/// Copies the program files the main window reads at once (the page
/// template, the blank page) from the build's program folder, so a window
/// built on temporary folders generates pages as the program does.
void copyShippedProgramFiles(const QString& programFolder);
