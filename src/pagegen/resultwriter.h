#pragma once

#include <QByteArray>

class QIODevice;

/// Gathers the many small writes of a merge (pieces of text between
/// variables, values) into large blocks before they reach the device.
/// Throws AppError when the device refuses data.
class ResultWriter {
public:
    static constexpr qint64 BlockSize = 256 * 1024;

    explicit ResultWriter(QIODevice& device);

    void write(const char* data, qint64 size);
    void write(const QByteArray& data) { write(data.constData(), data.size()); }
    /// Writes what is gathered; call once the result is complete.
    void flush();

private:
    void writeToDevice(const char* data, qint64 size);

    QIODevice& m_device;
    QByteArray m_block;
    qint64 m_used = 0;
};
