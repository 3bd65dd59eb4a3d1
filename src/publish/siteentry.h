#pragma once

#include <QString>

class UserDialogs;

namespace sitelist {
class SiteList;
}

/// A site as typed into the add or edit dialog.
struct SiteEntry {
    QString name;
    QString address;
};

enum class SiteEntryVerdict {
    /// A field is empty: the operation is given up.
    Empty,
    /// Something is wrong, or the user declined a question: nothing is
    /// written and the dialog stays open to correct the entry.
    Refused,
    /// The entry may be written.
    Accepted,
};

/// Checks a typed site before it is written to a region of the list: trims
/// both fields, names what is wrong, asks before a different site of the
/// same name is replaced and before an unencrypted address is kept.
/// `formerName` is the site being edited; empty when adding.
SiteEntryVerdict checkSiteEntry(UserDialogs& dialogs, const sitelist::SiteList& list, int region,
                                SiteEntry& entry, const QString& formerName, const QString& title);
