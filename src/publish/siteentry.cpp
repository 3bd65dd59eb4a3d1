#include "publish/siteentry.h"

#include "listing/sitelist.h"
#include "platform/uilanguage.h"
#include "ui/userdialogs.h"

SiteEntryVerdict checkSiteEntry(UserDialogs& dialogs, const sitelist::SiteList& list, int region,
                                SiteEntry& entry, const QString& formerName, const QString& title) {
    entry.name = entry.name.trimmed();
    entry.address = entry.address.trimmed();
    if (entry.name.isEmpty() || entry.address.isEmpty()) {
        dialogs.showMessage(uilanguage::text("MESSAGES", "invalidSiteEntry",
                                             QStringLiteral("Invalid entry. Operation cancelled")),
                            UserDialogs::Icon::None, title);
        return SiteEntryVerdict::Empty;
    }
    for (const QString& problem :
         {sitelist::nameProblem(entry.name), sitelist::addressProblem(entry.address)}) {
        if (!problem.isEmpty()) {
            dialogs.showMessage(problem, UserDialogs::Icon::Warning, title);
            return SiteEntryVerdict::Refused;
        }
    }
    const QString existing = list.existingName(region, entry.name);
    if (!existing.isEmpty() && existing.compare(formerName, Qt::CaseInsensitive) != 0 &&
        !dialogs.askYesNo(uilanguage::text("MESSAGES", "siteExists",
                                           QStringLiteral("This region already lists a site "
                                                          "named \"%1\". Replace it?"))
                              .arg(existing),
                          title))
        return SiteEntryVerdict::Refused;
    if (sitelist::travelsUnencrypted(entry.address) &&
        !dialogs.askYesNo(sitelist::unencryptedWarning(entry.address), title,
                          UserDialogs::Icon::Warning))
        return SiteEntryVerdict::Refused;
    return SiteEntryVerdict::Accepted;
}
