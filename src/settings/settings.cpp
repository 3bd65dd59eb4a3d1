#include "settings/settings.h"

#include "platform/apperror.h"
#include "platform/inifile.h"
#include "settings/serveraddress.h"

#include <QFile>

namespace {

std::size_t at(SettingKey key) {
    return static_cast<std::size_t>(key);
}

} // namespace

Settings::Settings(QString fileName, QObject* parent)
    : QObject(parent)
    , m_fileName(std::move(fileName))
    , m_values(SettingsFile::defaults())
    , m_stored(m_values) {}

Status Settings::load() {
    // Taken before the keys are read: a change made in between is seen by
    // the next reload.
    const QByteArray bytes = readFileBytes();
    SettingValues stored;
    try {
        stored = SettingsFile(m_fileName).readAll();
        m_lastLoad = Status();
    } catch (const AppError& error) {
        stored = SettingsFile::defaults();
        m_lastLoad = fail(error.message());
    }
    m_fileBytes = bytes;
    takeStored(stored);
    return m_lastLoad;
}

Status Settings::reloadIfChanged() {
    if (m_fileBytes && readFileBytes() == *m_fileBytes)
        return m_lastLoad;
    return load();
}

QByteArray Settings::readFileBytes() const {
    // Compared only: a file too large to be read is read no further.
    QFile file(m_fileName);
    if (m_fileName.isEmpty() || !file.open(QIODevice::ReadOnly))
        return {};
    return file.read(IniFile::MaxFileSize + 1);
}

void Settings::takeStored(const SettingValues& stored) {
    QList<SettingKey> keys;
    for (int i = 0; i < settingKeyCount; ++i) {
        const auto key = static_cast<SettingKey>(i);
        const bool unsaved = m_values[at(key)] != m_stored[at(key)];
        if (!unsaved && m_values[at(key)] != stored[at(key)]) {
            m_values[at(key)] = stored[at(key)];
            keys.append(key);
        }
    }
    m_stored = stored;
    if (!keys.isEmpty())
        emit changed(keys);
}

int Settings::integer(SettingKey key) const {
    return value(key).toInt();
}

bool Settings::flag(SettingKey key) const {
    return value(key).toBool();
}

QString Settings::text(SettingKey key) const {
    return value(key).toString();
}

const QVariant& Settings::value(SettingKey key) const {
    return m_values[at(key)];
}

void Settings::setInteger(SettingKey key, int value) {
    setValue(key, value);
}

void Settings::setFlag(SettingKey key, bool value) {
    setValue(key, value);
}

void Settings::setText(SettingKey key, const QString& value) {
    setValue(key, value);
}

void Settings::setValue(SettingKey key, const QVariant& value) {
    const QVariant normalized = SettingsFile::normalized(key, value);
    if (m_values[at(key)] == normalized)
        return;
    m_values[at(key)] = normalized;
    emit changed({key});
}

bool Settings::isUnsaved(SettingKey key) const {
    return m_values[at(key)] != m_stored[at(key)];
}

void Settings::discardUnsaved() {
    QList<SettingKey> keys;
    for (int i = 0; i < settingKeyCount; ++i) {
        const auto key = static_cast<SettingKey>(i);
        if (isUnsaved(key)) {
            m_values[at(key)] = m_stored[at(key)];
            keys.append(key);
        }
    }
    if (!keys.isEmpty())
        emit changed(keys);
}

Status Settings::save(const QList<SettingKey>& keys) {
    try {
        SettingsFile file(m_fileName);
        SettingsFile::Edit edit = file.edit();
        for (SettingKey key : keys)
            edit.write(key, value(key));
        edit.commit();
    } catch (const AppError& error) {
        return fail(error.message());
    }
    for (SettingKey key : keys)
        m_stored[at(key)] = m_values[at(key)];
    // The save kept what others wrote to the other keys since the last load:
    // the keys without a choice of their own follow the file.
    (void)load();
    return Status();
}

Status Settings::store(SettingKey key, const QVariant& value) {
    setValue(key, value);
    return save({key});
}

ServerMirror Settings::servers() const {
    return settingsfile::serverMirror(m_values);
}

QString Settings::languageCode() const {
    return settingsfile::languageCode(m_values);
}

int Settings::defaultServer() const {
    return integer(SettingKey::DefSrv);
}

int Settings::ownServer() const {
    return integer(SettingKey::ownSrv);
}

QString Settings::primaryServer() const {
    return serveraddress::fromTyped(text(SettingKey::primSrv)).value_or(QString());
}

QString Settings::secondaryServer() const {
    return serveraddress::fromTyped(text(SettingKey::secSrv)).value_or(QString());
}

bool Settings::useOwnServer() const {
    return flag(SettingKey::useOwnSrv);
}

bool Settings::linksInNewWindow() const {
    return flag(SettingKey::linksInNewWin);
}

QString Settings::proxyHost() const {
    return integer(SettingKey::connType) != 0 ? text(SettingKey::httpProxy) : QString();
}

QString Settings::proxyPort() const {
    const QString port = text(SettingKey::httpPort);
    return integer(SettingKey::connType) != 0 && !port.isEmpty() ? port : QStringLiteral("80");
}

bool Settings::hideExportHelp() const {
    return flag(SettingKey::hideExportHlp);
}

void Settings::setHideExportHelp(bool hide) {
    setFlag(SettingKey::hideExportHlp, hide);
}

bool Settings::hideInsertPicture() const {
    return flag(SettingKey::hideInsertPic);
}

void Settings::setHideInsertPicture(bool hide) {
    setFlag(SettingKey::hideInsertPic, hide);
}

bool Settings::hideInsertLink() const {
    return flag(SettingKey::hideInsertLink);
}

void Settings::setHideInsertLink(bool hide) {
    setFlag(SettingKey::hideInsertLink, hide);
}

bool Settings::hideCheckImage() const {
    return m_hideCheckImage;
}

void Settings::setHideCheckImage(bool hide) {
    m_hideCheckImage = hide;
}
