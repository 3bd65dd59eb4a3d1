#pragma once

#include "platform/inifile.h"

#include <QString>
#include <QVariant>

#include <array>

/// The keys of the settings file "defaults.ini".
enum class SettingKey {
    DefSrv,
    ownSrv,
    useOwnSrv,
    srvSet,
    primSrv,
    secSrv,
    connType,
    httpProxy,
    httpPort,
    refreshInterval,
    hideInsertPic,
    hideInsertLink,
    linksInNewWin,
    hideExportHlp,
    region,
    siteIndex,
    useBrowser,
    lang,
    phonePreview,
    upProto,
    upHost,
    upPort,
    upUser,
    upFolder,
    upKey,
    upPin,
    upMaxSide,
    recentDocs,
    recentLayouts,
    watchAtStart,
};

/// How many keys there are; `SettingKey` values run from 0 to one less.
inline constexpr int settingKeyCount = static_cast<int>(SettingKey::watchAtStart) + 1;

/// One value for each key, indexed by `SettingKey`: an `int` for an integer
/// key, a `bool` for a boolean key, a `QString` for a text key.
using SettingValues = std::array<QVariant, settingKeyCount>;

/// The settings file. Every key's section, spelling, type and default come
/// from one table, so that all readers and writers of a key agree on them.
/// Each key has a type and is read and written with the calls of that type
/// (`readInt`/`writeInt` for an integer key, and so on). Like `IniFile` it
/// caches nothing: every call opens the file afresh. A missing file or key,
/// an integer or boolean key whose text is not an integer, and an integer
/// key whose number is outside the values it can take (`ownSrv` 1..2,
/// `DefSrv` 1..3, `region` 0..4...) read as the key's default. A value with characters the file
/// cannot store is not written: the write throws an AppError naming the file and the key. A file
/// too large to be a settings file is neither read nor written: the call
/// throws an AppError naming it.
class SettingsFile {
public:
    class Edit;

    explicit SettingsFile(QString fileName);

    const QString& fileName() const { return m_file.fileName(); }

    int readInt(SettingKey key) const;
    bool readBool(SettingKey key) const;
    QString readString(SettingKey key) const;
    /// For the one reader of a key whose default differs from the table's.
    QString readString(SettingKey key, const QString& defaultValue) const;
    /// A text key's default, as a read of a file without it gives.
    static QString defaultText(SettingKey key);

    /// Every key as its own read gives it, from one reading of the file.
    /// Throws an AppError naming the file when it is too large to be read.
    SettingValues readAll() const;
    /// Every key's default, as a read of a missing file gives it.
    static SettingValues defaults();
    /// The value a write of `value` and a read back give: of the key's type,
    /// and an integer outside the values the key can take is its default.
    static QVariant normalized(SettingKey key, const QVariant& value);

    /// Each writes the file at once; throws an AppError naming the file when
    /// it cannot be written.
    void writeInt(SettingKey key, int value);
    void writeBool(SettingKey key, bool value);
    void writeString(SettingKey key, const QString& value);

    /// Several keys saved with one replacement of the file: all or none.
    Edit edit();

private:
    IniFile m_file;
};

/// Writes to the settings file that reach it together at `commit`, as in
/// `IniFile::Edit`; an edit dropped without `commit` writes nothing.
class SettingsFile::Edit {
public:
    void writeInt(SettingKey key, int value);
    void writeBool(SettingKey key, bool value);
    void writeString(SettingKey key, const QString& value);
    /// A value of the key's type, as `SettingValues` holds it.
    void write(SettingKey key, const QVariant& value);

    void commit();

private:
    friend class SettingsFile;
    explicit Edit(IniFile::Edit edit);

    IniFile::Edit m_edit;
};
