#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

/// A settings-style file: "[section]" header lines and "key=value" lines in
/// Windows-1252, or in UTF-16 or UTF-8 when the file starts with the
/// byte-order mark of one (as editors save "Unicode" files); a write keeps
/// the file's own form, mark included, so no file gets lines of both. A
/// header's name runs to its last "]". Section and key names match without
/// regard to letter case or surrounding white space (values are read without
/// it too); a missing file, section or key gives the caller's default.
/// Nothing is cached: every call reads the file afresh (a `Snapshot` reads it
/// once for a series of reads), and every write rewrites it through a
/// temporary file and an atomic rename, so a failed write leaves the previous
/// file as it was and throws an AppError naming the file. Several writes that
/// belong together go through one `Edit`, which replaces the file once with
/// all of them or not at all. A file larger than `MaxFileSize` is neither
/// read nor written: the call throws an AppError naming it. A file without a
/// name reads as a missing one.
class IniFile {
public:
    class Edit;
    class Snapshot;

    /// Longest value a read returns; longer values are cut, and a longer
    /// value is not written.
    static constexpr int MaxValueLength = 2047;
    /// Largest file read or written, in bytes.
    static constexpr qint64 MaxFileSize = 1 << 20;

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
    /// Key names of the section in file order, without comment lines
    /// (";name=...") and lines with an empty name.
    QStringList readSectionKeys(const QString& section) const;
    /// Section names in file order.
    QStringList readSections() const;

    /// Reads the file once for any number of reads; see `Snapshot`.
    Snapshot snapshot() const;
    /// Reads the file once for a batch of writes; see `Edit`.
    Edit edit();

    /// Replaces the value in place, or appends the key at the end of its
    /// section, creating the file and the section when needed. Every other
    /// byte of the file stays as it was. A value that begins or ends with a
    /// blank or a quotation mark is written between double quotation marks,
    /// which the reader removes again. A section, key or value with a
    /// character a Windows-1252 file cannot hold, a name that would not read
    /// back as itself (a line break, a key with "=" or like "[a]"), and a
    /// value longer than `MaxValueLength`, is not written: it throws an
    /// AppError naming the file and the key.
    /// Each of these is a one-write `Edit`.
    void writeString(const QString& section, const QString& key, const QString& value);
    void writeInteger(const QString& section, const QString& key, int value);
    /// Written as "1" or "0".
    void writeBool(const QString& section, const QString& key, bool value);
    /// Removes the key's line; a missing key leaves the file untouched.
    void deleteKey(const QString& section, const QString& key);

    /// The integer reading rule on its own.
    static std::optional<int> parseInteger(const QString& text);

private:
    enum class Encoding : unsigned char;
    /// The file's text, the byte-order mark it starts with and the form its
    /// bytes hold the text in.
    struct Text {
        QByteArray mark;
        Encoding encoding{}; // Windows-1252
        QString text;
    };

    QByteArray readBytes() const;
    static Text decode(const QByteArray& bytes);
    static QByteArray encode(const Text& text);

    QString m_fileName;
};

/// The file as it was read once: its reads give what the same reads of
/// `IniFile` would have given at that moment, without reading it again.
class IniFile::Snapshot {
public:
    QString readString(const QString& section, const QString& key,
                       const QString& defaultValue) const;
    int readInteger(const QString& section, const QString& key, int defaultValue) const;
    bool readBool(const QString& section, const QString& key, bool defaultValue) const;
    bool sectionExists(const QString& section) const;
    bool valueExists(const QString& section, const QString& key) const;
    QStringList readSectionKeys(const QString& section) const;
    QStringList readSections() const;

private:
    friend class IniFile;
    struct Parsed;
    explicit Snapshot(std::shared_ptr<const Parsed> parsed);

    std::shared_ptr<const Parsed> m_parsed;
};

/// A batch of writes to one file: the file is read when the edit starts, the
/// writes change that copy by the rules of `IniFile`'s own writes, and
/// `commit` replaces the file with the result in one atomic step. A write
/// that throws changes nothing, and an edit destroyed without `commit`
/// leaves the file as it was, so a batch reaches the file whole or not at all.
/// Changes made to the file by others after the edit started are overwritten
/// by the commit.
class IniFile::Edit {
public:
    Edit(Edit&&) noexcept = default;
    Edit& operator=(Edit&&) noexcept = default;
    Edit(const Edit&) = delete;
    Edit& operator=(const Edit&) = delete;

    void writeString(const QString& section, const QString& key, const QString& value);
    void writeInteger(const QString& section, const QString& key, int value);
    void writeBool(const QString& section, const QString& key, bool value);
    void deleteKey(const QString& section, const QString& key);

    /// Writes the file when the edit holds a write, or a deletion that removed
    /// a line, since it started or was last committed; otherwise the file, or
    /// its absence, is left alone. Throws an AppError naming the file when it
    /// cannot be written, leaving the previous file and the edit as they were.
    void commit();

private:
    friend class IniFile;
    Edit(QString fileName, Text text);

    QString m_fileName;
    Text m_text;
    bool m_changed = false;
};
