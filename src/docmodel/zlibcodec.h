#pragma once

#include <QByteArray>
#include <QByteArrayView>

/// zlib deflate and inflate of the native file's payload.
namespace zlibcodec {

QByteArray compress(QByteArrayView data);
/// Inflates a complete zlib stream that must give exactly `expectedSize`
/// bytes. The output grows only with what the stream really produces, so a
/// false size costs nothing; false on any damage or size mismatch.
bool decompress(QByteArrayView data, qsizetype expectedSize, QByteArray& output);

} // namespace zlibcodec
