#pragma once

#include <QString>
#include <QStringList>

/// The program's three folders, each an absolute path ending with "/", and
/// the names of the files the program keeps in them. Every file name the
/// program reads or writes in these folders comes from here.
struct WorkingFolders {
    /// Read-only data shipped with the program: beside the executable, or
    /// the installed data folder (`programDataFolder`).
    QString ProgramFolder;
    /// The user's pictures, documents and layouts: documents folder + "Vantrel/".
    QString UserFolder;
    /// Settings, server list, auction-site list and examples. Linux has no
    /// writable all-users folder, so this is the per-user data home + "Vantrel/".
    QString SharedDataFolder;

    /// Where the folders are on this machine. A folder the platform cannot
    /// name leaves only "/Vantrel/".
    static WorkingFolders locate();

    // Names a file or folder has wherever it is.
    /// The own pictures folder, inside `UserFolder` + "images/".
    static QString ownImagesFolderName() { return QStringLiteral("My images"); }
    /// The name of a layout that has no file yet.
    static QString untitledLayoutName() { return QStringLiteral("Untitled.rbs"); }
    /// The name of a document that has never been saved.
    static QString untitledDocumentName() { return QStringLiteral("Untitled.vdoc"); }

    // In the program folder.
    QString pageTemplateFile() const { return ProgramFolder + QStringLiteral("Default.tmpl"); }
    QString defaultLayoutFile() const { return ProgramFolder + QStringLiteral("Default.rbs"); }
    /// The welcome document of the language ("fr_Entry.vdoc"), or the
    /// English one ("Entry.vdoc") when the language has none.
    QString welcomeDocumentFile(const QString& languageCode = QString()) const;
    QString blankPageFile() const { return ProgramFolder + QStringLiteral("Blank.html"); }
    /// The shipped copy of the shared data, copied into `SharedDataFolder`
    /// at first run.
    QString shippedSharedData() const { return ProgramFolder + QStringLiteral("shared/"); }
    /// The shipped layout pictures (backgrounds and frames of the examples),
    /// copied into `imagesFolder()` at first run: layouts find their
    /// pictures there.
    QString shippedImages() const { return ProgramFolder + QStringLiteral("images/"); }

    // In the user folder.
    QString imagesFolder() const { return UserFolder + QStringLiteral("images/"); }
    QString ownImagesFolder() const { return imagesFolder() + ownImagesFolderName(); }
    QString layoutsFolder() const { return UserFolder + QStringLiteral("Documents and Layouts"); }

    // In the shared data folder.
    QString settingsFile() const { return SharedDataFolder + QStringLiteral("defaults.ini"); }
    QString serverListFile() const { return SharedDataFolder + QStringLiteral("vtrlsrv.dft"); }
    /// The auction sites by world region.
    QString siteListFile() const { return SharedDataFolder + QStringLiteral("sys.dft"); }
    QString examplesFolder() const { return SharedDataFolder + QStringLiteral("Examples/"); }
    /// The page file of the online preview.
    QString onlinePreviewFile() const { return SharedDataFolder + QStringLiteral("prl.htl"); }
    /// The SSH host keys of upload servers the seller accepted, in the
    /// format of OpenSSH's known_hosts (read after the user's own one).
    QString knownHostsFile() const { return SharedDataFolder + QStringLiteral("known_hosts"); }
};

/// The folder of the program's own data for a program in `executableFolder`:
/// that folder itself when the data lies beside the program (the build), or
/// "share/vantrel/" of the same prefix when installed.
QString programDataFolder(const QString& executableFolder);

/// Adds the trailing separator a folder path is kept with.
QString withTrailingSeparator(const QString& folder);

struct ProvisionReport {
    QStringList createdFolders;
    QStringList copiedFiles;
    /// One readable line per folder or file that could not be created,
    /// saying why.
    QStringList failures;
};

/// Creates the folders the program expects and copies every shipped shared
/// file that is absent into the shared data folder, and every shipped layout
/// picture that is absent into the images folder. A file that exists is
/// never overwritten: it may hold the user's own settings or pictures.
ProvisionReport provisionWorkingFolders(const WorkingFolders& folders);

/// The one message that tells the user what could not be prepared.
QString provisionMessage(const ProvisionReport& report);
