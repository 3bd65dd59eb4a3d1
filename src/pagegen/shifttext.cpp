#include "pagegen/shifttext.h"

QByteArray ShiftText(QByteArrayView text, int count) {
    const auto lower = static_cast<unsigned char>(((count % 256) + 256) % 256);
    QByteArray shifted(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        shifted[i] = static_cast<char>(static_cast<unsigned char>(text[i]) - lower);
    return shifted;
}
