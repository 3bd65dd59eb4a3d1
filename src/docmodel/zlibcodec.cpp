#include "docmodel/zlibcodec.h"

#include <zlib.h>

namespace zlibcodec {

QByteArray compress(QByteArrayView data) {
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    QByteArray output(static_cast<qsizetype>(size), Qt::Uninitialized);
    const int result = compress2(reinterpret_cast<Bytef*>(output.data()), &size,
                                 reinterpret_cast<const Bytef*>(data.data()),
                                 static_cast<uLong>(data.size()), Z_DEFAULT_COMPRESSION);
    if (result != Z_OK)
        return QByteArray();
    output.truncate(static_cast<qsizetype>(size));
    return output;
}

bool decompress(QByteArrayView data, qsizetype expectedSize, QByteArray& output) {
    output.clear();
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        return false;
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    constexpr qsizetype kChunk = 64 * 1024;
    int result = Z_OK;
    while (result == Z_OK) {
        const qsizetype done = output.size();
        const qsizetype room = qMin(kChunk, expectedSize - done + 1);
        output.resize(done + room);
        stream.next_out = reinterpret_cast<Bytef*>(output.data() + done);
        stream.avail_out = static_cast<uInt>(room);
        result = inflate(&stream, Z_NO_FLUSH);
        output.resize(done + room - static_cast<qsizetype>(stream.avail_out));
        // There is always room for output, so anything but progress
        // (a truncated stream, damaged data, too much output) ends it.
        if (output.size() > expectedSize)
            break;
    }
    const bool complete = result == Z_STREAM_END && stream.avail_in == 0;
    inflateEnd(&stream);
    return complete && output.size() == expectedSize;
}

} // namespace zlibcodec
