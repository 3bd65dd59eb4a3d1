#include "platform/workingfolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <filesystem>
#include <system_error>

namespace {

const QString kProductFolder = QStringLiteral("Vantrel/");

void ensureFolder(const QString& folder, ProvisionReport& report) {
    const QString path = QDir::cleanPath(folder);
    const QFileInfo info(path);
    if (info.isDir())
        return;
    if (info.exists()) {
        report.failures.append(
            QStringLiteral("Could not create the folder \"%1\": a file of that name is in the way.")
                .arg(path));
        return;
    }
    std::error_code error;
    if (std::filesystem::create_directories(path.toStdString(), error))
        report.createdFolders.append(path);
    else
        report.failures.append(QStringLiteral("Could not create the folder \"%1\": %2.")
                                   .arg(path, QString::fromLocal8Bit(error.message())));
}

/// Copies every file below `from` that `to` lacks, keeping the folders.
void copyAbsentFiles(const QString& from, const QString& to, ProvisionReport& report) {
    const QDir source(from);
    if (!source.exists())
        return;
    QDirIterator it(source.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString shipped = it.next();
        const QString copy = to + source.relativeFilePath(shipped);
        if (QFileInfo::exists(copy))
            continue;
        ensureFolder(QFileInfo(copy).path(), report);
        QFile file(shipped);
        if (file.copy(copy)) {
            // Shipped files may be read-only in the program folder; the
            // user's copies are the user's to change.
            QFile::setPermissions(copy, QFile::permissions(copy) | QFile::WriteOwner);
            report.copiedFiles.append(copy);
        } else {
            report.failures.append(QStringLiteral("Could not copy \"%1\" to \"%2\": %3.")
                                       .arg(shipped, copy, file.errorString()));
        }
    }
}

} // namespace

QString programDataFolder(const QString& executableFolder) {
    // In the build the data lies beside the program; installed, it lies in
    // share/vantrel of the same prefix.
    const QString beside = withTrailingSeparator(executableFolder);
    if (QFileInfo::exists(beside + QStringLiteral("Default.tmpl")))
        return beside;
    const QString installed = withTrailingSeparator(
        QDir::cleanPath(executableFolder + QStringLiteral("/../share/vantrel")));
    return QFileInfo::exists(installed + QStringLiteral("Default.tmpl")) ? installed : beside;
}

QString withTrailingSeparator(const QString& folder) {
    if (folder.endsWith(QLatin1Char('/')))
        return folder;
    return folder + QLatin1Char('/');
}

QString WorkingFolders::welcomeDocumentFile(const QString& languageCode) const {
    const QString english = ProgramFolder + QStringLiteral("Entry.vdoc");
    if (languageCode != QLatin1String("fr"))
        return english;
    const QString french = ProgramFolder + QStringLiteral("fr_Entry.vdoc");
    // A program folder without it still welcomes the seller, in English.
    return QFileInfo::exists(french) ? french : english;
}

WorkingFolders WorkingFolders::locate() {
    WorkingFolders folders;
    folders.ProgramFolder = programDataFolder(QCoreApplication::applicationDirPath());
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    folders.UserFolder = withTrailingSeparator(documents) + kProductFolder;
    folders.SharedDataFolder = withTrailingSeparator(data) + kProductFolder;
    return folders;
}

ProvisionReport provisionWorkingFolders(const WorkingFolders& folders) {
    ProvisionReport report;
    ensureFolder(folders.ownImagesFolder(), report);
    ensureFolder(folders.layoutsFolder(), report);
    ensureFolder(folders.examplesFolder(), report);

    copyAbsentFiles(folders.shippedSharedData(), folders.SharedDataFolder, report);
    copyAbsentFiles(folders.shippedImages(), folders.imagesFolder(), report);
    return report;
}

QString provisionMessage(const ProvisionReport& report) {
    return QStringLiteral("Vantrel could not prepare all of its folders and files; what needs "
                          "them may fail until this is put right:\n\n") +
           report.failures.join(QLatin1Char('\n'));
}
