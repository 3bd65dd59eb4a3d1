#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QColor>
#include <QString>

/// Reads the fields that ByteWriter writes, never past the end of the data:
/// every length and count is checked against the bytes actually left. The
/// first failure sticks; later reads give zero or empty values, so a caller
/// checks `ok()` once after a group of reads.
class ByteReader {
public:
    explicit ByteReader(QByteArrayView data)
        : m_data(data) {}

    bool ok() const { return m_ok; }
    void fail() { m_ok = false; }
    qsizetype remaining() const { return m_ok ? m_data.size() - m_pos : 0; }
    bool atEnd() const { return m_ok && m_pos == m_data.size(); }

    quint8 u8();
    quint16 u16();
    quint32 u32();
    qint32 i32() { return static_cast<qint32>(u32()); }
    bool boolean();
    /// A u8 that must be below `limit` (an enumeration or flag set).
    int code(int limit);
    /// An i32 that must lie within [minimum, maximum].
    int bounded(int minimum, int maximum);
    QByteArray bytes();
    /// Exactly `size` bytes, without a stored length.
    QByteArray bytesOfSize(qsizetype size);
    QString string();
    QColor color();
    /// A count of records each at least `minimumRecordSize` bytes long; it
    /// fails when the bytes left cannot hold that many.
    int count(int minimumRecordSize);

private:
    bool take(qsizetype size, const char*& where);

    QByteArrayView m_data;
    qsizetype m_pos = 0;
    bool m_ok = true;
};
