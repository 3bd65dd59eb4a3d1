#include "docmodel/bytewriter.h"

void ByteWriter::u16(quint16 value) {
    u8(value & 0xFF);
    u8(value >> 8);
}

void ByteWriter::u32(quint32 value) {
    for (int shift = 0; shift < 32; shift += 8)
        u8((value >> shift) & 0xFF);
}

void ByteWriter::bytes(const QByteArray& value) {
    u32(static_cast<quint32>(value.size()));
    m_bytes.append(value);
}

void ByteWriter::color(const QColor& value) {
    boolean(value.isValid());
    if (value.isValid())
        u32(value.rgba());
}
