#include "platform/windows1252.h"

#include <array>

namespace {

// 0x80..0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

namespace windows1252 {

QChar decodeByte(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F)
        return QChar(kHighControls[byte - 0x80]);
    return QChar(byte);
}

QString decode(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        out[i] = decodeByte(static_cast<unsigned char>(bytes[i]));
    return text;
}

int encodeChar(QChar ch) {
    const char16_t code = ch.unicode();
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF))
        return code;
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == code)
            return static_cast<int>(0x80 + i);
    }
    return -1;
}

QByteArray encode(QStringView text, QString* unmappable) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int byte = encodeChar(text[i]);
        if (byte >= 0) {
            bytes.append(static_cast<char>(byte));
            continue;
        }
        bytes.append('?');
        if (unmappable) {
            // A surrogate pair is one character of the text.
            unmappable->append(text[i]);
            if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
                unmappable->append(text[++i]);
        } else if (text[i].isHighSurrogate() && i + 1 < text.size() &&
                   text[i + 1].isLowSurrogate()) {
            ++i;
        }
    }
    return bytes;
}

bool canEncode(QStringView text) {
    for (QChar ch : text) {
        if (encodeChar(ch) < 0)
            return false;
    }
    return true;
}

} // namespace windows1252
