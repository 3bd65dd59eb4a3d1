#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

/// A settings-style file: "[section]" header lines and "key=value" lines in
/// Windows-1252. Section and key names match without regard to letter case;
/// a missing file, section or key gives the caller's default. Nothing is
/// cached: every call reads the file afresh, and every write rewrites it
/// through a temporary file and an atomic rename, so a failed write leaves the
/// previous file as it was and throws an AppError naming the file.
class IniFile {
public:
    /// Longest value a read returns; longer values are cut.
    static constexpr int MaxValueLength = 2047;

    explicit IniFile(QString fileName);

    const QString& fileName() const { return m_fileName; }

    QString readString(const QString& section, const QString& key,
                       const QString& defaultValue) const;
    /// Decimal, or hexadecimal after "0x"; anything else gives the default.
    int readInteger(const QString& section, const QString& key, int defaultValue) const;
    /// Read as an integer: non-zero is true.
    bool readBool(const QString& section, const QString& key, bool defaultValue) const;

    bool sectionExists(const QString& section) const;
    bool valueExists(const QString& section, const QString& key) const;
    /// Key names of the section in file order.
    QStringList readSectionKeys(const QString& section) const;
    /// Section names in file order.
    QStringList readSections() const;

    /// Replaces the value in place, or appends the key at the end of its
    /// section, creating the file and the section when needed. Every other
    /// byte of the file stays as it was.
    void writeString(const QString& section, const QString& key, const QString& value);
    void writeInteger(const QString& section, const QString& key, int value);
    /// Written as "1" or "0".
    void writeBool(const QString& section, const QString& key, bool value);
    /// Removes the key's line; a missing key leaves the file untouched.
    void deleteKey(const QString& section, const QString& key);

    /// The integer reading rule on its own.
    static std::optional<int> parseInteger(const QString& text);

private:
    QByteArray readBytes() const;
    void writeBytes(const QByteArray& bytes) const;

    QString m_fileName;
};
