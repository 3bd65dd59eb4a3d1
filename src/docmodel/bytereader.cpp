#include "docmodel/bytereader.h"

bool ByteReader::take(qsizetype size, const char*& where) {
    if (!m_ok || size < 0 || size > m_data.size() - m_pos) {
        m_ok = false;
        return false;
    }
    where = m_data.data() + m_pos;
    m_pos += size;
    return true;
}

quint8 ByteReader::u8() {
    const char* where = nullptr;
    return take(1, where) ? static_cast<quint8>(*where) : 0;
}

quint16 ByteReader::u16() {
    const quint16 low = u8();
    return static_cast<quint16>(low | (u8() << 8));
}

quint32 ByteReader::u32() {
    const char* where = nullptr;
    if (!take(4, where))
        return 0;
    quint32 value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<quint8>(where[i]);
    return value;
}

bool ByteReader::boolean() {
    const quint8 value = u8();
    if (value > 1)
        fail();
    return value == 1;
}

int ByteReader::code(int limit) {
    const int value = u8();
    if (value >= limit) {
        fail();
        return 0;
    }
    return value;
}

int ByteReader::bounded(int minimum, int maximum) {
    const qint32 value = i32();
    if (value < minimum || value > maximum) {
        fail();
        return minimum;
    }
    return value;
}

QByteArray ByteReader::bytes() {
    return bytesOfSize(static_cast<qsizetype>(u32()));
}

QByteArray ByteReader::bytesOfSize(qsizetype size) {
    const char* where = nullptr;
    return take(size, where) ? QByteArray(where, size) : QByteArray();
}

QString ByteReader::string() {
    return QString::fromUtf8(bytes());
}

QColor ByteReader::color() {
    if (!boolean())
        return QColor();
    return QColor::fromRgba(u32());
}

int ByteReader::count(int minimumRecordSize) {
    const quint32 value = u32();
    if (!m_ok || static_cast<quint64>(value) * static_cast<quint64>(qMax(1, minimumRecordSize)) >
                     static_cast<quint64>(remaining())) {
        fail();
        return 0;
    }
    return static_cast<int>(value);
}
