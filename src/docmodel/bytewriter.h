#pragma once

#include <QByteArray>
#include <QColor>
#include <QString>

/// Writes the little-endian fields of the native document file.
class ByteWriter {
public:
    void u8(quint8 value) { m_bytes.append(static_cast<char>(value)); }
    void u16(quint16 value);
    void u32(quint32 value);
    void i32(qint32 value) { u32(static_cast<quint32>(value)); }
    void boolean(bool value) { u8(value ? 1 : 0); }
    /// A length (u32) and the bytes.
    void bytes(const QByteArray& value);
    /// UTF-8, with its length in bytes first.
    void string(const QString& value) { bytes(value.toUtf8()); }
    /// A validity byte and, when valid, the colour as ARGB.
    void color(const QColor& value);

    const QByteArray& data() const { return m_bytes; }

private:
    QByteArray m_bytes;
};
