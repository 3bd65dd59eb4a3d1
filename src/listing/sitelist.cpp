#include "listing/sitelist.h"

#include "platform/inifile.h"
#include "platform/uilanguage.h"
#include "platform/windows1252.h"

#include <QUrl>
#include <QtGlobal>
#include <array>

namespace sitelist {

namespace {

struct Region {
    const char* caption;
    const char* section;
};

// In the order of the publish dialog's region choice.
constexpr std::array<Region, RegionCount> regions = {{
    {"North America", "NORTH AMERICA"},
    {"Europe", "EUROPE"},
    {"Latin America", "LATIN AMERICA"},
    {"Australia && New Zealand   ", "AUSTRALIA"},
    {"Asia && Far East", "ASIA"},
}};

const Region& regionAt(int region) {
    return regions.at(static_cast<std::size_t>(clampRegion(region)));
}

bool hasControlCharacter(const QString& text) {
    for (QChar ch : text) {
        if (ch.unicode() < 0x20 || ch.unicode() == 0x7F)
            return true;
    }
    return false;
}

} // namespace

QString regionCaption(int region) {
    return QString::fromLatin1(regionAt(region).caption);
}

QString regionSection(int region) {
    return QString::fromLatin1(regionAt(region).section);
}

int clampRegion(int region) {
    return qBound(0, region, RegionCount - 1);
}

int clampSiteIndex(int index, int count) {
    return count <= 0 ? -1 : qBound(0, index, count - 1);
}

QString nameProblem(const QString& name) {
    if (name.isEmpty())
        return uilanguage::text("MESSAGES", "siteNameEmpty",
                                QStringLiteral("The site name is empty."));
    // A key name ends at the first "="; a line starting with "[" is a
    // section header and one starting with ";" a comment.
    if (name.contains(QLatin1Char('=')))
        return uilanguage::text("MESSAGES", "siteNameEquals",
                                QStringLiteral("The site name cannot contain \"=\"."));
    if (name.startsWith(QLatin1Char('[')) || name.startsWith(QLatin1Char(';')))
        return uilanguage::text("MESSAGES", "siteNameBracket",
                                QStringLiteral("The site name cannot begin with \"[\" or \";\"."));
    if (hasControlCharacter(name))
        return uilanguage::text(
            "MESSAGES", "siteNameBreaks",
            QStringLiteral("The site name cannot contain tabs or line breaks."));
    QString unmappable;
    windows1252::encode(name, &unmappable);
    if (!unmappable.isEmpty())
        return uilanguage::text(
                   "MESSAGES", "siteNameUnstorable",
                   QStringLiteral("The site name holds characters that the site list cannot store "
                                  "(%1)."))
            .arg(unmappable);
    return {};
}

QString addressProblem(const QString& address) {
    const QUrl url(address, QUrl::StrictMode);
    const QString scheme = url.scheme();
    if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")) ||
        url.host().isEmpty() || hasControlCharacter(address) || address.contains(QLatin1Char(' ')))
        return uilanguage::text(
                   "MESSAGES", "siteAddressInvalid",
                   QStringLiteral("\"%1\" is not the address of a web page: the login screen URL "
                                  "must begin with https:// (or http://) followed by the site's "
                                  "address."))
            .arg(address);
    if (!windows1252::canEncode(address))
        return uilanguage::text(
                   "MESSAGES", "siteAddressUnstorable",
                   QStringLiteral("The address \"%1\" holds characters that the site list cannot "
                                  "store."))
            .arg(address);
    return {};
}

bool travelsUnencrypted(const QString& address) {
    return QUrl(address).scheme() == QLatin1String("http");
}

QString unencryptedWarning(const QString& address) {
    return uilanguage::text(
               "MESSAGES", "siteAddressUnencrypted",
               QStringLiteral("The address \"%1\" begins with http:// : the password you type on "
                              "that page travels unencrypted over the Internet. Use this address "
                              "anyway?"))
        .arg(address);
}

SiteList::SiteList(QString fileName)
    : m_fileName(std::move(fileName)) {}

QStringList SiteList::siteNames(int region) const {
    return IniFile(m_fileName).readSectionKeys(regionSection(region));
}

QString SiteList::siteAddress(int region, const QString& name) const {
    return IniFile(m_fileName).readString(regionSection(region), name, QString());
}

QString SiteList::existingName(int region, const QString& name) const {
    for (const QString& site : siteNames(region)) {
        if (site.compare(name, Qt::CaseInsensitive) == 0)
            return site;
    }
    return {};
}

void SiteList::addSite(int region, const QString& name, const QString& address) {
    IniFile(m_fileName).writeString(regionSection(region), name, address);
}

void SiteList::replaceSite(int region, const QString& formerName, const QString& name,
                           const QString& address) {
    const QString section = regionSection(region);
    IniFile::Edit edit = IniFile(m_fileName).edit();
    edit.deleteKey(section, formerName);
    edit.deleteKey(section, name);
    edit.writeString(section, name, address);
    edit.commit();
}

void SiteList::deleteSite(int region, const QString& name) {
    IniFile(m_fileName).deleteKey(regionSection(region), name);
}

} // namespace sitelist
