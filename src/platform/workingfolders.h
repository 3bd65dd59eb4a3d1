#pragma once

#include <QString>
#include <QStringList>

/// The program's three folders, each an absolute path ending with "/".
struct WorkingFolders {
    /// Read-only data shipped with the program: the executable's folder.
    QString programFolder;
    /// The user's pictures, documents and layouts: documents folder + "Vantrel/".
    QString userFolder;
    /// Settings, server list, auction-site list and examples. Linux has no
    /// writable all-users folder, so this is the per-user data home + "Vantrel/".
    QString sharedDataFolder;

    /// Where the folders are on this machine. A folder the platform cannot
    /// name leaves only "/Vantrel/".
    static WorkingFolders locate();

    /// The shipped copy of the shared data, copied into `sharedDataFolder`
    /// at first run.
    QString shippedSharedData() const { return programFolder + QStringLiteral("shared/"); }
};

/// Adds the trailing separator a folder path is kept with.
QString withTrailingSeparator(const QString& folder);

struct ProvisionReport {
    QStringList createdFolders;
    QStringList copiedFiles;
    /// One readable line per folder or file that could not be created.
    QStringList failures;
};

/// Creates the folders the program expects and copies every shipped shared
/// file that is absent into the shared data folder. A file that exists is
/// never overwritten: it may hold the user's own settings.
ProvisionReport provisionWorkingFolders(const WorkingFolders& folders);
