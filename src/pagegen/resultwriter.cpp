#include "pagegen/resultwriter.h"

#include "platform/apperror.h"
#include "platform/uilanguage.h"

#include <QIODevice>
#include <cstring>

ResultWriter::ResultWriter(QIODevice& device)
    : m_device(device)
    , m_block(BlockSize, Qt::Uninitialized) {}

void ResultWriter::write(const char* data, qint64 size) {
    if (m_used + size > BlockSize)
        flush();
    if (size >= BlockSize) {
        writeToDevice(data, size);
        return;
    }
    std::memcpy(m_block.data() + m_used, data, size);
    m_used += size;
}

void ResultWriter::flush() {
    writeToDevice(m_block.constData(), m_used);
    m_used = 0;
}

void ResultWriter::writeToDevice(const char* data, qint64 size) {
    qint64 done = 0;
    while (done < size) {
        const qint64 count = m_device.write(data + done, size - done);
        if (count <= 0)
            throw AppError(uilanguage::text("MESSAGES", "mergeNotWritten",
                                            QStringLiteral("Could not write the merge result: %1."))
                               .arg(m_device.errorString()));
        done += count;
    }
}
