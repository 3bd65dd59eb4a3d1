#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

/// Every file the program reads or writes, and the generated page, is
/// single-byte Windows-1252 text. These conversions are exact and round-trip
/// every byte: the five bytes the code page leaves undefined (0x81, 0x8D,
/// 0x8F, 0x90, 0x9D) map to the control characters of the same value.
namespace windows1252 {

QString decode(QByteArrayView bytes);
QChar decodeByte(unsigned char byte);

/// The byte for a character, or -1 when the code page has none.
int encodeChar(QChar ch);

/// Encodes text; characters outside the code page become '?' and, when
/// `unmappable` is given, are appended to it so callers can decide what to
/// do with them (the page export writes them as character references).
QByteArray encode(QStringView text, QString* unmappable = nullptr);

/// True when every character of the text has a byte in the code page.
bool canEncode(QStringView text);

} // namespace windows1252
