#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>

/// A read-only view of a random-access device that holds one window of its
/// bytes in memory. The merge reads text in short pieces and seeks back to
/// text it has just searched; through this view those reads and seeks cost
/// no further reads of the device as long as they stay inside the window.
/// The device must not change while the view is in use.
class SourceWindow : public QIODevice {
public:
    static constexpr qint64 DefaultWindowSize = 256 * 1024;

    /// Opens the view at the device's current position.
    explicit SourceWindow(QIODevice& device, qint64 windowSize = DefaultWindowSize);

    bool isSequential() const override { return false; }
    qint64 size() const override { return m_size; }

    /// The bytes from `position` on as the window holds them, at least
    /// `minimum` of them (all that is left near the device's end; the
    /// window grows for more), without copying: valid until the next call or
    /// read. False when the device cannot be read.
    bool bytesAt(qint64 position, qint64 minimum, QByteArrayView& bytes);

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 maxSize) override;

private:
    bool fillWindowAt(qint64 offset);

    QIODevice& m_device;
    const qint64 m_size;
    QByteArray m_window;
    qint64 m_windowStart = 0;
    qint64 m_windowLength = 0;
};
