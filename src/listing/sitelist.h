#pragma once

#include <QString>
#include <QStringList>

/// The auction-site list "sys.dft": one section per world region, one key
/// per site (the site's name) whose value is the address of its login or
/// sell page. Sites are listed in the order of their keys in the file.
/// Nothing is cached: every call opens the file afresh, and every change is
/// one atomic replacement of the file.
namespace sitelist {

constexpr int RegionCount = 5;
/// The region the settings name when they name none.
constexpr int DefaultRegion = 4;

/// The region's caption as the publish dialog stores it ("&&" shows one
/// "&") and the name of its section in the file, for 0 <= region < 5.
QString regionCaption(int region);
QString regionSection(int region);

/// A region index read from the settings, brought into 0..4.
int clampRegion(int region);
/// A site index read from the settings, brought into the `count` sites of
/// a region; -1 when the region has none.
int clampSiteIndex(int index, int count);

/// What is wrong with a site name (already trimmed) for the list, or an
/// empty string when it can be stored. A name the file would read back as
/// something else, or not at all, is refused.
QString nameProblem(const QString& name);
/// What is wrong with a login address (already trimmed), or an empty
/// string. Only web pages are accepted: the address is opened as it is.
QString addressProblem(const QString& address);
/// An http:// address: the password typed there travels unencrypted.
bool travelsUnencrypted(const QString& address);
/// The warning that goes with such an address.
QString unencryptedWarning(const QString& address);

class SiteList {
public:
    explicit SiteList(QString fileName);

    const QString& fileName() const { return m_fileName; }

    /// Site names of the region in file order; none for a missing file or
    /// section.
    QStringList siteNames(int region) const;
    /// The site's address; empty when there is no such site.
    QString siteAddress(int region, const QString& name) const;
    /// The name under which the list holds a site named `name` ignoring
    /// letter case; empty when none.
    QString existingName(int region, const QString& name) const;

    /// Appends the site to its region, or gives a site of the same name
    /// (ignoring letter case) the new address in place.
    void addSite(int region, const QString& name, const QString& address);
    /// Replaces the site `formerName` by `name` with `address`, appended at
    /// the end of the region; a different site already named `name` goes
    /// too. One replacement of the file: the site is never lost half-way.
    void replaceSite(int region, const QString& formerName, const QString& name,
                     const QString& address);
    void deleteSite(int region, const QString& name);

private:
    QString m_fileName;
};

} // namespace sitelist
