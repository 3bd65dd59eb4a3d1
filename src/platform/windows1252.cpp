#include "platform/windows1252.h"

#include <array>
#include <cstdint>

namespace {

// 0x80..0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr std::array<char16_t, 256> makeDecodeTable() {
    std::array<char16_t, 256> table{};
    for (int byte = 0; byte < 256; ++byte)
        table[byte] = byte >= 0x80 && byte <= 0x9F ? kHighControls[byte - 0x80] : char16_t(byte);
    return table;
}

constexpr std::array<char16_t, 256> kDecode = makeDecodeTable();

// The reverse of kDecode in two steps: the high byte of a character picks a
// page of 256 entries (page 0 holds none), its low byte the entry there,
// which is the code page's byte or -1. The code page's characters lie on
// five pages (U+00xx, U+01xx, U+02xx, U+20xx, U+21xx).
struct EncodeTable {
    std::array<std::uint8_t, 256> pageOf{};
    std::array<std::array<std::int16_t, 256>, 6> pages{};
};

constexpr EncodeTable makeEncodeTable() {
    EncodeTable table{};
    for (auto& page : table.pages) {
        for (auto& entry : page)
            entry = -1;
    }
    int usedPages = 1;
    for (int byte = 0; byte < 256; ++byte) {
        const char16_t code = kDecode[byte];
        const int high = code >> 8;
        if (table.pageOf[high] == 0)
            table.pageOf[high] = static_cast<std::uint8_t>(usedPages++);
        table.pages[table.pageOf[high]][code & 0xFF] = static_cast<std::int16_t>(byte);
    }
    return table;
}

constexpr EncodeTable kEncode = makeEncodeTable();

inline int lookup(char16_t code) {
    return kEncode.pages[kEncode.pageOf[code >> 8]][code & 0xFF];
}

} // namespace

namespace windows1252 {

QChar decodeByte(unsigned char byte) {
    return QChar(kDecode[byte]);
}

QString decode(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    for (qsizetype i = 0; i < bytes.size(); ++i)
        out[i] = kDecode[in[i]];
    return text;
}

int encodeChar(QChar ch) {
    return lookup(ch.unicode());
}

QByteArray encode(QStringView text, QString* unmappable) {
    // One byte per character at most; a surrogate pair gives one byte.
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char* out = bytes.data();
    const char16_t* in = text.utf16();
    const qsizetype size = text.size();
    qsizetype written = 0;
    for (qsizetype i = 0; i < size; ++i) {
        if (in[i] < 0x80) {
            out[written++] = static_cast<char>(in[i]);
            continue;
        }
        const int byte = lookup(in[i]);
        if (byte >= 0) {
            out[written++] = static_cast<char>(byte);
            continue;
        }
        out[written++] = '?';
        // A surrogate pair is one character of the text.
        const bool pair =
            QChar::isHighSurrogate(in[i]) && i + 1 < size && QChar::isLowSurrogate(in[i + 1]);
        if (unmappable)
            unmappable->append(text.mid(i, pair ? 2 : 1));
        i += pair ? 1 : 0;
    }
    bytes.truncate(written);
    return bytes;
}

bool canEncode(QStringView text) {
    for (const QChar ch : text) {
        if (lookup(ch.unicode()) < 0)
            return false;
    }
    return true;
}

} // namespace windows1252
