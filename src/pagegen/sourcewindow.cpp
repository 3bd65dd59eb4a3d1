#include "pagegen/sourcewindow.h"

#include <cstring>

SourceWindow::SourceWindow(QIODevice& device, qint64 windowSize)
    : m_device(device)
    , m_size(device.size())
    , m_window(windowSize, Qt::Uninitialized) {
    // Unbuffered: the window is the only buffer between reader and device.
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    seek(device.pos());
}

qint64 SourceWindow::readData(char* data, qint64 maxSize) {
    qint64 done = 0;
    qint64 position = pos();
    while (done < maxSize && position < m_size) {
        const bool inWindow =
            position >= m_windowStart && position < m_windowStart + m_windowLength;
        if (!inWindow && !fillWindowAt(position))
            return done > 0 ? done : -1;
        const qint64 offset = position - m_windowStart;
        const qint64 count = std::min(maxSize - done, m_windowLength - offset);
        std::memcpy(data + done, m_window.constData() + offset, count);
        done += count;
        position += count;
    }
    return done;
}

bool SourceWindow::bytesAt(qint64 position, qint64 minimum, QByteArrayView& bytes) {
    const qint64 wanted = std::min(minimum, m_size - position);
    const qint64 held = m_windowStart + m_windowLength - position;
    if (position < m_windowStart || held < wanted || held <= 0) {
        if (wanted > m_window.size())
            m_window.resize(wanted);
        if (position < m_size && !fillWindowAt(position))
            return false;
    }
    const qint64 offset = position - m_windowStart;
    bytes = position >= m_size
                ? QByteArrayView()
                : QByteArrayView(m_window.constData() + offset, m_windowLength - offset);
    return true;
}

qint64 SourceWindow::writeData(const char*, qint64) {
    return -1;
}

bool SourceWindow::fillWindowAt(qint64 offset) {
    m_windowLength = 0;
    if (m_device.pos() != offset && !m_device.seek(offset)) {
        setErrorString(m_device.errorString());
        return false;
    }
    const qint64 wanted = std::min<qint64>(m_window.size(), m_size - offset);
    while (m_windowLength < wanted) {
        const qint64 count =
            m_device.read(m_window.data() + m_windowLength, wanted - m_windowLength);
        if (count <= 0) {
            setErrorString(count < 0 ? m_device.errorString()
                                     : QStringLiteral("the data ended early"));
            m_windowLength = 0;
            return false;
        }
        m_windowLength += count;
    }
    m_windowStart = offset;
    return true;
}
