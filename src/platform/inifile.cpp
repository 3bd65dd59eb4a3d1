#include "platform/inifile.h"

#include "platform/apperror.h"
#include "platform/safefile.h"
#include "platform/uilanguage.h"
#include "platform/windows1252.h"

#include <QFile>
#include <QHash>
#include <QMutex>
#include <QStringDecoder>
#include <QStringEncoder>

#include <climits>
#include <vector>

namespace {

// One line of the file's text as offsets: [start, end) is the line, `next`
// the start of the following line (after its CR, LF or CR LF).
struct Line {
    qsizetype start = 0;
    qsizetype end = 0;
    qsizetype next = 0;
};

enum class LineKind { Other, Section, Key };

struct ParsedLine {
    Line line;
    LineKind kind = LineKind::Other;
    QString name;         // section or key name, trimmed
    qsizetype keyEnd = 0; // for keys: end of the trimmed key text
    qsizetype valueStart = 0;
};

// White space around names and values: the blanks, and the other white
// space a hand-edited file can hold at a name's end (vertical tab, form feed,
// no-break space...). Names asked for are trimmed by the same rule, or a name
// listed from the file could not be found again.
bool isBlank(QChar c) {
    return c.isSpace();
}

std::vector<Line> splitLines(const QString& text) {
    std::vector<Line> lines;
    const qsizetype size = text.size();
    qsizetype start = 0;
    while (start < size) {
        qsizetype end = start;
        while (end < size && text[end] != u'\r' && text[end] != u'\n')
            ++end;
        qsizetype next = end;
        if (next < size && text[next] == u'\r')
            ++next;
        if (next < size && text[next] == u'\n' && (next == end || text[next - 1] == u'\r'))
            ++next;
        lines.push_back({start, end, next});
        start = next;
    }
    return lines;
}

void trimRange(const QString& text, qsizetype& from, qsizetype& to) {
    while (from < to && isBlank(text[from]))
        ++from;
    while (to > from && isBlank(text[to - 1]))
        --to;
}

ParsedLine parseLine(const QString& text, const Line& line) {
    ParsedLine parsed;
    parsed.line = line;
    qsizetype from = line.start;
    qsizetype to = line.end;
    trimRange(text, from, to);
    if (from == to)
        return parsed;
    const QStringView body = QStringView(text).sliced(from, to - from);
    // A header's name runs to the line's last "]", so a name may hold "]"
    // itself; a line without one is no header.
    const qsizetype close = body.front() == u'[' ? body.lastIndexOf(u']') : -1;
    if (close > 0) {
        qsizetype nameFrom = from + 1;
        qsizetype nameTo = from + close;
        trimRange(text, nameFrom, nameTo);
        parsed.kind = LineKind::Section;
        parsed.name = text.mid(nameFrom, nameTo - nameFrom);
        return parsed;
    }
    const qsizetype equals = body.indexOf(u'=');
    if (equals < 0)
        return parsed;
    qsizetype keyFrom = from;
    qsizetype keyTo = from + equals;
    trimRange(text, keyFrom, keyTo);
    parsed.kind = LineKind::Key;
    parsed.name = text.mid(keyFrom, keyTo - keyFrom);
    parsed.keyEnd = keyTo;
    parsed.valueStart = from + equals + 1;
    return parsed;
}

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Names in the file are read without their surrounding blanks, so the names
// asked for are taken the same way; otherwise " A " would miss [A] and a
// write would add a second section.
QString requestedName(const QString& name) {
    qsizetype from = 0;
    qsizetype to = name.size();
    while (from < to && isBlank(name[from]))
        ++from;
    while (to > from && isBlank(name[to - 1]))
        --to;
    return name.mid(from, to - from);
}

// A line a hand-edited file comments out, or one without a name, is no key
// to list.
bool isListedKey(const QString& name) {
    return !name.isEmpty() && !name.startsWith(QLatin1Char(';'));
}

// The lines of one section: its header and the lines up to the next header.
struct SectionSpan {
    bool found = false;
    std::size_t header = 0;
    std::size_t end = 0; // one past its last line
};

class ParsedFile {
public:
    explicit ParsedFile(QString text)
        : m_text(std::move(text)) {
        for (const Line& line : splitLines(m_text))
            m_lines.push_back(parseLine(m_text, line));
    }

    const std::vector<ParsedLine>& lines() const { return m_lines; }

    SectionSpan findSection(const QString& section) const {
        const QString name = requestedName(section);
        SectionSpan span;
        for (std::size_t i = 0; i < m_lines.size(); ++i) {
            if (m_lines[i].kind != LineKind::Section || !sameName(m_lines[i].name, name))
                continue;
            span.found = true;
            span.header = i;
            span.end = i + 1;
            while (span.end < m_lines.size() && m_lines[span.end].kind != LineKind::Section)
                ++span.end;
            break;
        }
        return span;
    }

    // Index of the key's line within the section, or -1.
    long findKey(const SectionSpan& span, const QString& key) const {
        if (!span.found)
            return -1;
        const QString name = requestedName(key);
        for (std::size_t i = span.header + 1; i < span.end; ++i) {
            if (m_lines[i].kind == LineKind::Key && sameName(m_lines[i].name, name))
                return static_cast<long>(i);
        }
        return -1;
    }

    QString value(std::size_t index) const {
        const ParsedLine& line = m_lines[index];
        qsizetype from = line.valueStart;
        qsizetype to = line.line.end;
        trimRange(m_text, from, to);
        if (to - from >= 2) {
            const QChar first = m_text[from];
            if ((first == u'"' || first == u'\'') && m_text[to - 1] == first) {
                ++from;
                --to;
            }
        }
        to = std::min(to, from + IniFile::MaxValueLength);
        return m_text.mid(from, to - from);
    }

    // The line ending new lines get: the file's first one, CR LF otherwise.
    QString lineEnding() const {
        for (const ParsedLine& line : m_lines) {
            if (line.line.next > line.line.end)
                return m_text.mid(line.line.end, line.line.next - line.line.end);
        }
        return QStringLiteral("\r\n");
    }

private:
    QString m_text;
    std::vector<ParsedLine> m_lines;
};

// A line break inside a value would start new lines of its own and corrupt
// the file's structure; it is written as a space.
QString singleLine(const QString& text) {
    QString single = text;
    single.replace(QLatin1Char('\r'), QLatin1Char(' '));
    single.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return single;
}

bool isBlankOrQuote(QChar c) {
    return isBlank(c) || c == u'"' || c == u'\'';
}

// The reader drops the blanks around a value and one pair of enclosing
// quotation marks; a value that would lose any of them is written inside a
// pair of its own, which is all the reader removes.
QString valueAsWritten(const QString& value) {
    const QString single = singleLine(value);
    if (!single.isEmpty() && (isBlankOrQuote(single.front()) || isBlankOrQuote(single.back())))
        return QLatin1Char('"') + single + QLatin1Char('"');
    return single;
}

// The encoder would store a character the code page lacks as '?', and the
// value would read back as something else without anyone noticing.
void requireEncodable(const QString& fileName, const QString& section, const QString& key,
                      const QString& value) {
    QString inNames;
    windows1252::encode(section, &inNames);
    windows1252::encode(key, &inNames);
    QString inValue;
    windows1252::encode(value, &inValue);
    if (!inNames.isEmpty())
        throw AppError(uilanguage::text("MESSAGES", "fileNameUnstorable",
                                        QStringLiteral("Could not write the file \"%1\": the "
                                                       "name [%2] %3 holds characters that the "
                                                       "file cannot store (%4)."))
                           .arg(fileName, section, key, inNames));
    if (!inValue.isEmpty())
        throw AppError(uilanguage::text("MESSAGES", "fileValueUnstorable",
                                        QStringLiteral("Could not write the file \"%1\": the "
                                                       "value \"%2\" of [%3] %4 holds "
                                                       "characters that the file cannot store "
                                                       "(%5)."))
                           .arg(fileName, value, section, key, inValue));
}

// A name is written only when the line written for it reads back as that
// name: a line break would split the line, a key with "=" would end at it
// and a key like "[a]" would read as a section header.
void requireReadableNames(const QString& fileName, const QString& section, const QString& key) {
    const auto readsBack = [](const QString& name, const QString& line, LineKind kind) {
        if (name.contains(QLatin1Char('\r')) || name.contains(QLatin1Char('\n')))
            return false;
        const ParsedLine parsed = parseLine(line, {0, line.size(), line.size()});
        return parsed.kind == kind && parsed.name == name;
    };
    if (readsBack(section, QLatin1Char('[') + section + QLatin1Char(']'), LineKind::Section) &&
        readsBack(key, key + QLatin1Char('='), LineKind::Key))
        return;
    throw AppError(uilanguage::text("MESSAGES", "fileNameUnreadable",
                                    QStringLiteral("Could not write the file \"%1\": the name "
                                                   "[%2] %3 would not read back from it as "
                                                   "written (a name cannot hold a line break, a "
                                                   "key name cannot hold \"=\" or look like a "
                                                   "[section] header)."))
                       .arg(fileName, section.simplified(), key.simplified()));
}

// A longer value would be cut when it is read back.
void requireReadableLength(const QString& fileName, const QString& section, const QString& key,
                           const QString& value) {
    if (value.size() <= IniFile::MaxValueLength)
        return;
    throw AppError(uilanguage::text("MESSAGES", "fileValueTooLong",
                                    QStringLiteral("Could not write the file \"%1\": the value "
                                                   "of [%2] %3 is %4 characters long; at most %5 "
                                                   "can be read back."))
                       .arg(fileName, section, key)
                       .arg(value.size())
                       .arg(IniFile::MaxValueLength));
}

AppError tooLarge(const QString& fileName, qint64 size) {
    return AppError(uilanguage::text("MESSAGES", "fileTooLarge",
                                     QStringLiteral("The file \"%1\" is too large for a settings "
                                                    "or layout file (%2 bytes; at most %3)."))
                        .arg(fileName)
                        .arg(size)
                        .arg(IniFile::MaxFileSize));
}

// Replaces the key's value in place, or appends the key at the end of its
// section, or appends the section with the key at the end of the file.
void setValue(QString& text, const QString& section, const QString& key, const QString& value) {
    const ParsedFile file(text);
    const QString eol = file.lineEnding();
    const QString written = valueAsWritten(value);
    const SectionSpan span = file.findSection(section);

    if (!span.found) {
        if (!text.isEmpty() && !text.endsWith(u'\n') && !text.endsWith(u'\r'))
            text += eol;
        text += QLatin1Char('[') + singleLine(section) + QLatin1Char(']') + eol;
        text += singleLine(key) + QLatin1Char('=') + written + eol;
        return;
    }

    const long keyIndex = file.findKey(span, key);
    if (keyIndex >= 0) {
        // Keep the key as the file spells it, and the line's own ending.
        const ParsedLine& line = file.lines()[static_cast<std::size_t>(keyIndex)];
        text = text.left(line.keyEnd) + QLatin1Char('=') + written + text.mid(line.line.end);
        return;
    }

    // Append after the section's last non-blank line.
    std::size_t last = span.header;
    for (std::size_t i = span.header + 1; i < span.end; ++i) {
        const Line& line = file.lines()[i].line;
        qsizetype from = line.start;
        qsizetype to = line.end;
        trimRange(text, from, to);
        if (from < to)
            last = i;
    }
    const Line& after = file.lines()[last].line;
    QString added = singleLine(key) + QLatin1Char('=') + written + eol;
    if (after.next == after.end)
        added.prepend(eol); // the last line of the file had no line ending
    text.insert(after.next, added);
}

// Removes the key's line; false when there is none.
bool removeKey(QString& text, const QString& section, const QString& key) {
    const ParsedFile file(text);
    const long index = file.findKey(file.findSection(section), key);
    if (index < 0)
        return false;
    const Line& line = file.lines()[static_cast<std::size_t>(index)].line;
    text = text.left(line.start) + text.mid(line.next);
    return true;
}

} // namespace

enum class IniFile::Encoding : unsigned char { Windows1252 = 0, Utf8, Utf16LE, Utf16BE };

IniFile::Text IniFile::decode(const QByteArray& bytes) {
    Text decoded;
    // A file an editor saved as UTF-16 ("Unicode") or UTF-8 starts with a
    // byte-order mark; any other file is Windows-1252.
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        const bool little = bytes.startsWith("\xFF");
        decoded.mark = bytes.left(2);
        decoded.encoding = little ? Encoding::Utf16LE : Encoding::Utf16BE;
        QStringDecoder decoder(little ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE,
                               QStringDecoder::Flag::ConvertInitialBom);
        decoded.text = decoder(QByteArrayView(bytes).sliced(2));
        return decoded;
    }
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        decoded.mark = bytes.left(3);
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
        QString text = decoder(QByteArrayView(bytes).sliced(3));
        if (!decoder.hasError()) {
            decoded.encoding = Encoding::Utf8;
            decoded.text = std::move(text);
            return decoded;
        }
        // Bytes after the mark that are no UTF-8 are read, and kept, as
        // Windows-1252 bytes.
    }
    decoded.text = windows1252::decode(QByteArrayView(bytes).sliced(decoded.mark.size()));
    return decoded;
}

QByteArray IniFile::encode(const Text& text) {
    switch (text.encoding) {
    case Encoding::Utf8:
        return text.mark + text.text.toUtf8();
    case Encoding::Utf16LE:
    case Encoding::Utf16BE: {
        QStringEncoder encoder(text.encoding == Encoding::Utf16LE ? QStringEncoder::Utf16LE
                                                                  : QStringEncoder::Utf16BE);
        return text.mark + QByteArray(encoder(text.text));
    }
    case Encoding::Windows1252:
        break;
    }
    return text.mark + windows1252::encode(text.text);
}

IniFile::IniFile(QString fileName)
    : m_fileName(std::move(fileName)) {}

QByteArray IniFile::readBytes() const {
    // A file that cannot be opened reads as missing, as it always has; so
    // does a file without a name, which has every key at its default.
    if (m_fileName.isEmpty())
        return {};
    QFile file(m_fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    if (file.size() > MaxFileSize)
        throw tooLarge(m_fileName, file.size());
    // Read one byte more than allowed, for files whose size is not known
    // in advance.
    QByteArray bytes = file.read(MaxFileSize + 1);
    if (bytes.size() > MaxFileSize)
        throw tooLarge(m_fileName, bytes.size());
    return bytes;
}

struct IniFile::Snapshot::Parsed {
    ParsedFile file;
};

IniFile::Snapshot::Snapshot(std::shared_ptr<const Parsed> parsed)
    : m_parsed(std::move(parsed)) {}

IniFile::Snapshot IniFile::snapshot() const {
    // The same few files (settings, language, servers) are read again and
    // again, mostly unchanged: the last reading of each is kept, and its
    // parsed form serves as long as the file's bytes are the same.
    struct Kept {
        QByteArray bytes;
        std::shared_ptr<const Snapshot::Parsed> parsed;
    };
    static QHash<QString, Kept> kept;
    static QMutex keeping;
    QByteArray bytes = readBytes();
    const QMutexLocker lock(&keeping);
    // Layouts the seller opens are files of their own: the keeping stays small.
    constexpr qsizetype keptFiles = 16;
    if (kept.size() >= keptFiles && !kept.contains(m_fileName))
        kept.clear();
    Kept& last = kept[m_fileName];
    if (!last.parsed || last.bytes != bytes) {
        last.parsed = std::make_shared<const Snapshot::Parsed>(
            Snapshot::Parsed{ParsedFile(decode(bytes).text)});
        last.bytes = std::move(bytes);
    }
    return Snapshot(last.parsed);
}

QString IniFile::readString(const QString& section, const QString& key,
                            const QString& defaultValue) const {
    return snapshot().readString(section, key, defaultValue);
}

QString IniFile::Snapshot::readString(const QString& section, const QString& key,
                                      const QString& defaultValue) const {
    const ParsedFile& file = m_parsed->file;
    const long index = file.findKey(file.findSection(section), key);
    return index < 0 ? defaultValue : file.value(static_cast<std::size_t>(index));
}

std::optional<int> IniFile::parseInteger(const QString& text) {
    const QString trimmed = text.trimmed();
    QStringView digits(trimmed);
    bool negative = false;
    if (!digits.isEmpty() && (digits.front() == u'-' || digits.front() == u'+')) {
        negative = digits.front() == u'-';
        digits = digits.sliced(1);
    }
    int base = 10;
    if (digits.size() > 2 && digits[0] == u'0' && (digits[1] == u'x' || digits[1] == u'X')) {
        base = 16;
        digits = digits.sliced(2);
    }
    if (digits.isEmpty())
        return std::nullopt;
    qint64 value = 0;
    for (QChar ch : digits) {
        const int digit = ch.isDigit() && ch.unicode() < 0x80 ? ch.unicode() - u'0'
                          : base == 16 && ch.toLower() >= u'a' && ch.toLower() <= u'f'
                              ? ch.toLower().unicode() - u'a' + 10
                              : -1;
        if (digit < 0)
            return std::nullopt;
        value = value * base + digit;
        if (value > 0xFFFFFFFFLL)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (base == 16)
        return static_cast<int>(static_cast<quint32>(value)); // 0xFFFFFFFF is -1
    if (value < INT_MIN || value > INT_MAX)
        return std::nullopt;
    return static_cast<int>(value);
}

int IniFile::readInteger(const QString& section, const QString& key, int defaultValue) const {
    return snapshot().readInteger(section, key, defaultValue);
}

int IniFile::Snapshot::readInteger(const QString& section, const QString& key,
                                   int defaultValue) const {
    const ParsedFile& file = m_parsed->file;
    const long index = file.findKey(file.findSection(section), key);
    if (index < 0)
        return defaultValue;
    return parseInteger(file.value(static_cast<std::size_t>(index))).value_or(defaultValue);
}

bool IniFile::readBool(const QString& section, const QString& key, bool defaultValue) const {
    return snapshot().readBool(section, key, defaultValue);
}

bool IniFile::Snapshot::readBool(const QString& section, const QString& key,
                                 bool defaultValue) const {
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool IniFile::sectionExists(const QString& section) const {
    return snapshot().sectionExists(section);
}

bool IniFile::Snapshot::sectionExists(const QString& section) const {
    return m_parsed->file.findSection(section).found;
}

bool IniFile::valueExists(const QString& section, const QString& key) const {
    return snapshot().valueExists(section, key);
}

bool IniFile::Snapshot::valueExists(const QString& section, const QString& key) const {
    const ParsedFile& file = m_parsed->file;
    return file.findKey(file.findSection(section), key) >= 0;
}

QStringList IniFile::readSectionKeys(const QString& section) const {
    return snapshot().readSectionKeys(section);
}

QStringList IniFile::Snapshot::readSectionKeys(const QString& section) const {
    const ParsedFile& file = m_parsed->file;
    const SectionSpan span = file.findSection(section);
    QStringList keys;
    if (!span.found)
        return keys;
    for (std::size_t i = span.header + 1; i < span.end; ++i) {
        const ParsedLine& line = file.lines()[i];
        if (line.kind == LineKind::Key && isListedKey(line.name))
            keys.append(line.name);
    }
    return keys;
}

QStringList IniFile::readSections() const {
    return snapshot().readSections();
}

QStringList IniFile::Snapshot::readSections() const {
    const ParsedFile& file = m_parsed->file;
    QStringList sections;
    for (const ParsedLine& line : file.lines()) {
        if (line.kind == LineKind::Section)
            sections.append(line.name);
    }
    return sections;
}

IniFile::Edit IniFile::edit() {
    return Edit(m_fileName, decode(readBytes()));
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value) {
    Edit batch = edit();
    batch.writeString(section, key, value);
    batch.commit();
}

void IniFile::writeInteger(const QString& section, const QString& key, int value) {
    Edit batch = edit();
    batch.writeInteger(section, key, value);
    batch.commit();
}

void IniFile::writeBool(const QString& section, const QString& key, bool value) {
    Edit batch = edit();
    batch.writeBool(section, key, value);
    batch.commit();
}

void IniFile::deleteKey(const QString& section, const QString& key) {
    Edit batch = edit();
    batch.deleteKey(section, key);
    batch.commit();
}

IniFile::Edit::Edit(QString fileName, Text text)
    : m_fileName(std::move(fileName))
    , m_text(std::move(text)) {}

void IniFile::Edit::writeString(const QString& section, const QString& key, const QString& value) {
    const QString sectionName = requestedName(section);
    const QString keyName = requestedName(key);
    // A Unicode file holds every character; a Windows-1252 one would
    // become a mixed file, or lose the characters its code page lacks.
    if (m_text.encoding == Encoding::Windows1252)
        requireEncodable(m_fileName, sectionName, keyName, value);
    requireReadableNames(m_fileName, sectionName, keyName);
    requireReadableLength(m_fileName, sectionName, keyName, value);
    setValue(m_text.text, sectionName, keyName, value);
    m_changed = true;
}

void IniFile::Edit::writeInteger(const QString& section, const QString& key, int value) {
    writeString(section, key, QString::number(value));
}

void IniFile::Edit::writeBool(const QString& section, const QString& key, bool value) {
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void IniFile::Edit::deleteKey(const QString& section, const QString& key) {
    if (removeKey(m_text.text, section, key))
        m_changed = true;
}

void IniFile::Edit::commit() {
    if (!m_changed)
        return;
    // Written back in the form it was read in; a file the readers would
    // refuse is not written either.
    const QByteArray bytes = encode(m_text);
    if (bytes.size() > MaxFileSize)
        throw tooLarge(m_fileName, bytes.size());
    writeFileAtomically(m_fileName, bytes);
    m_changed = false;
}
