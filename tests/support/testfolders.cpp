#include "support/testfolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

TestFolders::TestFolders() {
    for (const char* name : {"program", "user/Documents and Layouts", "shared/Examples"})
        QDir(m_root.path()).mkpath(QLatin1String(name));
    m_folders.ProgramFolder = m_root.filePath(QStringLiteral("program/"));
    m_folders.UserFolder = m_root.filePath(QStringLiteral("user/"));
    m_folders.SharedDataFolder = m_root.filePath(QStringLiteral("shared/"));
    copyShippedProgramFiles(m_folders.ProgramFolder);
}

QString TestFolders::write(const QString& relative, const QByteArray& bytes) const {
    const QString fileName = path(relative);
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write the fixture %s", qPrintable(fileName));
    return fileName;
}

void copyShippedProgramFiles(const QString& programFolder) {
    const QString shipped = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    for (const char* name : {"Default.tmpl", "Blank.html"})
        QFile::copy(shipped + QLatin1String(name), programFolder + QLatin1String(name));
}
