#include "settings/settingsfile.h"

#include <climits>
#include <iterator>

namespace {

enum class SettingType { Integer, Boolean, Text };

struct SettingRow {
    SettingKey id;
    const char* section;
    const char* key;
    SettingType type;
    const char* defaultValue; // as the file would hold it
    // Integer keys: the values that mean something; any other reads as the
    // default, as a text that is no number does.
    int lowest = INT_MIN;
    int highest = INT_MAX;
};

constexpr const char* general = "GENERAL";
constexpr const char* upload = "UPLOAD";
constexpr const char* recent = "RECENT";

// In the order of `SettingKey`.
constexpr SettingRow settingRows[] = {
    {SettingKey::DefSrv, general, "DefSrv", SettingType::Integer, "1", 1, 3},
    {SettingKey::ownSrv, general, "ownSrv", SettingType::Integer, "1", 1, 2},
    // No hosted picture library comes with the program: the seller's own
    // server is the one that works unless chosen otherwise.
    {SettingKey::useOwnSrv, general, "useOwnSrv", SettingType::Boolean, "1"},
    {SettingKey::srvSet, general, "srvSet", SettingType::Text, "0"},
    {SettingKey::primSrv, general, "primSrv", SettingType::Text, "your primary server *"},
    {SettingKey::secSrv, general, "secSrv", SettingType::Text, "your secondary server *"},
    {SettingKey::connType, general, "connType", SettingType::Integer, "0", 0, 1},
    {SettingKey::httpProxy, general, "httpProxy", SettingType::Text, ""},
    {SettingKey::httpPort, general, "httpPort", SettingType::Text, ""},
    {SettingKey::refreshInterval, general, "refreshInterval", SettingType::Text, "770"},
    {SettingKey::hideInsertPic, general, "hideInsertPic", SettingType::Boolean, "0"},
    {SettingKey::hideInsertLink, general, "hideInsertLink", SettingType::Boolean, "0"},
    {SettingKey::linksInNewWin, general, "linksInNewWin", SettingType::Boolean, "1"},
    {SettingKey::hideExportHlp, general, "hideExportHlp", SettingType::Boolean, "0"},
    {SettingKey::region, general, "region", SettingType::Integer, "4", 0, 4},
    {SettingKey::siteIndex, general, "siteIndex", SettingType::Integer, "0", 0, INT_MAX},
    {SettingKey::useBrowser, general, "useBrowser", SettingType::Integer, "0", 0, 1},
    {SettingKey::lang, general, "lang", SettingType::Text, "en"},
    // The Layout page's preview at a phone's width.
    {SettingKey::phonePreview, general, "phonePreview", SettingType::Boolean, "0"},
    // The seller's own server the pictures are sent to when publishing.
    // upProto: 0 none, 1 SFTP, 2 WebDAV over HTTPS, 3 FTPS, 4 FTP. upPort 0
    // is the protocol's usual port. The password is kept in the desktop's
    // secret store, never here.
    {SettingKey::upProto, upload, "upProto", SettingType::Integer, "0", 0, 4},
    {SettingKey::upHost, upload, "upHost", SettingType::Text, ""},
    {SettingKey::upPort, upload, "upPort", SettingType::Integer, "0", 0, 65535},
    {SettingKey::upUser, upload, "upUser", SettingType::Text, ""},
    {SettingKey::upFolder, upload, "upFolder", SettingType::Text, ""},
    // SFTP: the private key file, besides the SSH agent.
    {SettingKey::upKey, upload, "upKey", SettingType::Text, ""},
    // WebDAV/FTPS: the public key of a certificate no authority signed that
    // the seller accepted ("sha256//<base64>").
    {SettingKey::upPin, upload, "upPin", SettingType::Text, ""},
    // Pictures larger than this on their long side are sent scaled down.
    {SettingKey::upMaxSide, upload, "upMaxSide", SettingType::Integer, "1600", 100, 20000},
    // The documents and layouts opened or saved last, newest first: each
    // path percent-encoded (the file holds any name that way), "|" between.
    {SettingKey::recentDocs, recent, "docs", SettingType::Text, ""},
    {SettingKey::recentLayouts, recent, "layouts", SettingType::Text, ""},
    // The pictures of the published listings checked at start-up, at most
    // once a day.
    {SettingKey::watchAtStart, general, "watchPics", SettingType::Boolean, "0"},
};

constexpr bool rowsFollowTheKeys() {
    for (std::size_t i = 0; i < std::size(settingRows); ++i) {
        if (static_cast<std::size_t>(settingRows[i].id) != i)
            return false;
    }
    return std::size(settingRows) == static_cast<std::size_t>(SettingKey::watchAtStart) + 1;
}
static_assert(rowsFollowTheKeys(), "one row per SettingKey, in its order");

const SettingRow& row(SettingKey key, [[maybe_unused]] SettingType type) {
    const SettingRow& found = settingRows[static_cast<std::size_t>(key)];
    Q_ASSERT_X(found.type == type, found.key, "read or written as another type");
    return found;
}

QString sectionOf(const SettingRow& r) {
    return QLatin1String(r.section);
}

QString keyOf(const SettingRow& r) {
    return QLatin1String(r.key);
}

int defaultInt(const SettingRow& r) {
    return IniFile::parseInteger(QLatin1String(r.defaultValue)).value_or(0);
}

bool inRange(const SettingRow& r, int value) {
    return value >= r.lowest && value <= r.highest;
}

QVariant defaultOf(const SettingRow& r) {
    switch (r.type) {
    case SettingType::Integer:
        return defaultInt(r);
    case SettingType::Boolean:
        return defaultInt(r) != 0;
    case SettingType::Text:
        break;
    }
    return QString(QLatin1String(r.defaultValue));
}

QVariant readFrom(const IniFile::Snapshot& file, const SettingRow& r) {
    switch (r.type) {
    case SettingType::Integer: {
        const int value = file.readInteger(sectionOf(r), keyOf(r), defaultInt(r));
        return inRange(r, value) ? value : defaultInt(r);
    }
    case SettingType::Boolean:
        return file.readBool(sectionOf(r), keyOf(r), defaultInt(r) != 0);
    case SettingType::Text:
        break;
    }
    return file.readString(sectionOf(r), keyOf(r), QLatin1String(r.defaultValue));
}

void writeRow(IniFile::Edit& edit, SettingKey key, SettingType type, const QString& value) {
    const SettingRow& r = row(key, type);
    edit.writeString(sectionOf(r), keyOf(r), value);
}

} // namespace

SettingsFile::SettingsFile(QString fileName)
    : m_file(std::move(fileName)) {}

int SettingsFile::readInt(SettingKey key) const {
    const SettingRow& r = row(key, SettingType::Integer);
    const int value = m_file.readInteger(sectionOf(r), keyOf(r), defaultInt(r));
    return inRange(r, value) ? value : defaultInt(r);
}

bool SettingsFile::readBool(SettingKey key) const {
    const SettingRow& r = row(key, SettingType::Boolean);
    return m_file.readBool(sectionOf(r), keyOf(r), defaultInt(r) != 0);
}

QString SettingsFile::readString(SettingKey key) const {
    const SettingRow& r = row(key, SettingType::Text);
    return m_file.readString(sectionOf(r), keyOf(r), QLatin1String(r.defaultValue));
}

QString SettingsFile::defaultText(SettingKey key) {
    return QLatin1String(row(key, SettingType::Text).defaultValue);
}

QString SettingsFile::readString(SettingKey key, const QString& defaultValue) const {
    const SettingRow& r = row(key, SettingType::Text);
    return m_file.readString(sectionOf(r), keyOf(r), defaultValue);
}

SettingValues SettingsFile::readAll() const {
    const IniFile::Snapshot file = m_file.snapshot();
    SettingValues values;
    for (const SettingRow& r : settingRows)
        values[static_cast<std::size_t>(r.id)] = readFrom(file, r);
    return values;
}

SettingValues SettingsFile::defaults() {
    SettingValues values;
    for (const SettingRow& r : settingRows)
        values[static_cast<std::size_t>(r.id)] = defaultOf(r);
    return values;
}

QVariant SettingsFile::normalized(SettingKey key, const QVariant& value) {
    const SettingRow& r = settingRows[static_cast<std::size_t>(key)];
    switch (r.type) {
    case SettingType::Integer: {
        const int number = value.toInt();
        return inRange(r, number) ? number : defaultInt(r);
    }
    case SettingType::Boolean:
        return value.toBool();
    case SettingType::Text:
        break;
    }
    return value.toString();
}

void SettingsFile::writeInt(SettingKey key, int value) {
    Edit batch = edit();
    batch.writeInt(key, value);
    batch.commit();
}

void SettingsFile::writeBool(SettingKey key, bool value) {
    Edit batch = edit();
    batch.writeBool(key, value);
    batch.commit();
}

void SettingsFile::writeString(SettingKey key, const QString& value) {
    Edit batch = edit();
    batch.writeString(key, value);
    batch.commit();
}

SettingsFile::Edit SettingsFile::edit() {
    return Edit(m_file.edit());
}

SettingsFile::Edit::Edit(IniFile::Edit edit)
    : m_edit(std::move(edit)) {}

void SettingsFile::Edit::writeInt(SettingKey key, int value) {
    writeRow(m_edit, key, SettingType::Integer, QString::number(value));
}

void SettingsFile::Edit::writeBool(SettingKey key, bool value) {
    writeRow(m_edit, key, SettingType::Boolean, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void SettingsFile::Edit::writeString(SettingKey key, const QString& value) {
    writeRow(m_edit, key, SettingType::Text, value);
}

void SettingsFile::Edit::write(SettingKey key, const QVariant& value) {
    switch (settingRows[static_cast<std::size_t>(key)].type) {
    case SettingType::Integer:
        writeInt(key, value.toInt());
        return;
    case SettingType::Boolean:
        writeBool(key, value.toBool());
        return;
    case SettingType::Text:
        break;
    }
    writeString(key, value.toString());
}

void SettingsFile::Edit::commit() {
    m_edit.commit();
}
