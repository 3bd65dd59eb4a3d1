#include "pagegen/bbmdatamerge.h"

#include "pagegen/resultwriter.h"
#include "pagegen/sourcewindow.h"
#include "platform/uilanguage.h"
#include "platform/windows1252.h"

#include <QBuffer>
#include <QByteArrayView>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QVarLengthArray>
#include <cstring>

namespace {

[[noreturn]] void throwDeviceError(const QString& action, const QIODevice& device) {
    throw AppError(QStringLiteral("Could not %1: %2.").arg(action, device.errorString()));
}

QString fileAction(const char* verb, const QString& fileName) {
    return QStringLiteral("%1 the file \"%2\"").arg(QLatin1String(verb), fileName);
}

void seekTo(QIODevice& source, qint64 position) {
    if (!source.seek(position))
        throwDeviceError(QStringLiteral("read the merge source"), source);
}

void readExactly(QIODevice& source, char* data, qint64 size) {
    qint64 done = 0;
    while (done < size) {
        const qint64 count = source.read(data + done, size - done);
        if (count <= 0)
            throwDeviceError(QStringLiteral("read the merge source"), source);
        done += count;
    }
}

// A delimiter with a character the code page lacks cannot occur in the text.
QByteArray encodedDelimiter(const QString& delimiter) {
    return windows1252::canEncode(delimiter) ? windows1252::encode(delimiter) : QByteArray();
}

// done / total as a percentage, rounded to the nearest integer, halves to
// the even neighbour; computed on integers so that 37.5 is exactly 37.5.
qint32 roundedPercent(qint64 done, qint64 total) {
    const qint64 scaled = done * 100;
    qint64 percent = scaled / total;
    const qint64 twiceRest = 2 * (scaled % total);
    if (twiceRest > total || (twiceRest == total && percent % 2 != 0))
        ++percent;
    return static_cast<qint32>(percent);
}

void requireStream(const QIODevice* stream, QIODevice::OpenModeFlag mode, const char* role) {
    if (!stream || !(stream->openMode() & mode))
        throw AppError(QStringLiteral("The merge %1 stream is not open.").arg(QLatin1String(role)));
}

} // namespace

// The devices one merge opens itself; released when the merge ends.
struct TBBMDataMerge::OpenDevices {
    std::unique_ptr<QIODevice> ownSource;
    std::unique_ptr<QIODevice> ownDest;
    QIODevice* source = nullptr;
    QIODevice* dest = nullptr;
};

TBBMDataMerge::TBBMDataMerge()
    : m_vars(std::make_unique<TBBMDataMergeVars>(*this)) {}

TBBMDataMerge::~TBBMDataMerge() = default;

void TBBMDataMerge::setSourceText(const QString& text) {
    m_sourceText = text;
    SourceType = mmText;
}

void TBBMDataMerge::Execute() {
    OpenDevices devices;
    openSource(devices);
    openDestination(devices);
    {
        SourceWindow source(*devices.source);
        ResultWriter dest(*devices.dest);
        mergeStreams(source, dest);
        dest.flush();
    }
    // A caller's source is left at its end, where the merge stopped reading.
    if (SourceType == mmStream)
        seekTo(*SourceStream, SourceStream->size());
    if (DestType == mmText) {
        m_destText = windows1252::decode(static_cast<QBuffer&>(*devices.dest).data());
    } else if (DestType == mmFile) {
        auto& file = static_cast<QSaveFile&>(*devices.dest);
        if (!file.commit())
            throwDeviceError(fileAction("write", DestFile), file);
    }
}

void TBBMDataMerge::openSource(OpenDevices& devices) const {
    switch (SourceType) {
    case mmText: {
        auto buffer = std::make_unique<QBuffer>();
        buffer->setData(windows1252::encode(m_sourceText));
        buffer->open(QIODevice::ReadOnly);
        devices.ownSource = std::move(buffer);
        break;
    }
    case mmFile: {
        const QFileInfo info(SourceFile);
        if (!info.exists() || info.isDir())
            throw EMissingFile(
                uilanguage::text(
                    "MESSAGES", "mergeFileMissing",
                    QStringLiteral("Unable to merge data because the file \"%1\" does not exist."))
                    .arg(SourceFile));
        // Reads go through the merge's own window, so the file needs no buffer.
        auto file = std::make_unique<QFile>(SourceFile);
        if (!file->open(QIODevice::ReadOnly | QIODevice::Unbuffered))
            throwDeviceError(fileAction("open", SourceFile), *file);
        devices.ownSource = std::move(file);
        break;
    }
    case mmStream:
        requireStream(SourceStream, QIODevice::ReadOnly, "source");
        if (SourceStream->isSequential())
            throw AppError(QStringLiteral("The merge source stream does not allow seeking."));
        devices.source = SourceStream;
        return;
    }
    devices.source = devices.ownSource.get();
}

void TBBMDataMerge::openDestination(OpenDevices& devices) const {
    switch (DestType) {
    case mmText: {
        auto buffer = std::make_unique<QBuffer>();
        buffer->open(QIODevice::WriteOnly);
        devices.ownDest = std::move(buffer);
        break;
    }
    case mmFile: {
        // Written beside the file and put in its place only once complete:
        // a failed merge leaves the previous file as it was, a shorter
        // result leaves no stale bytes behind, and a file can be merged
        // into itself. The merge gathers its writes, so no buffer here.
        auto file = std::make_unique<QSaveFile>(DestFile);
        if (!file->open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            throwDeviceError(fileAction("create", DestFile), *file);
        devices.ownDest = std::move(file);
        break;
    }
    case mmStream:
        requireStream(DestStream, QIODevice::WriteOnly, "destination");
        devices.dest = DestStream;
        return;
    }
    devices.dest = devices.ownDest.get();
}

void TBBMDataMerge::mergeStreams(SourceWindow& source, ResultWriter& dest) {
    const QByteArray start = encodedDelimiter(DelimStart);
    const QByteArray end = encodedDelimiter(DelimEnd);
    const qint64 size = source.size();
    const qint64 first = source.pos();
    qint64 copied = first; // text before this offset has been dealt with
    while (copied < size) {
        reportProgress(roundedPercent(copied - first, size - first));
        const qint64 startAt = findIn(source, start, copied);
        if (startAt < 0) {
            copyRange(source, copied, size, dest);
            copied = size;
            break;
        }
        const qint64 nameStart = startAt + start.size();
        copyRange(source, copied, startAt, dest);
        const qint64 endAt = findIn(source, end, nameStart);
        if (endAt < 0) {
            // An unmatched start delimiter is dropped; the rest stays as it is.
            copyRange(source, nameStart, size, dest);
            copied = size;
            break;
        }
        writeValue(source, nameStart, endAt, dest);
        copied = endAt + end.size();
    }
    seekTo(source, copied);
    reportProgress(100);
}

void TBBMDataMerge::writeValue(SourceWindow& source, qint64 nameStart, qint64 nameEnd,
                               ResultWriter& dest) {
    const qint64 length = nameEnd - nameStart;
    // Without a handler, a name longer than every variable's cannot have a
    // value: it is never read, however long the text between the delimiters.
    if (!OnLookup && length > m_vars->LongestName())
        return;
    const QByteArrayView name = windowBytes(source, nameStart, length).first(length);
    if (const QByteArray* value = m_vars->FindEncoded(name)) {
        dest.write(*value);
        return;
    }
    if (!OnLookup)
        return;
    QString value;
    OnLookup(*this, windows1252::decode(name.toByteArray()), value);
    dest.write(windows1252::encode(value));
}

QByteArrayView TBBMDataMerge::windowBytes(SourceWindow& source, qint64 position, qint64 minimum) {
    QByteArrayView bytes;
    if (!source.bytesAt(position, minimum, bytes))
        throwDeviceError(QStringLiteral("read the merge source"), source);
    return bytes;
}

void TBBMDataMerge::copyRange(SourceWindow& source, qint64 from, qint64 to, ResultWriter& dest) {
    while (from < to) {
        const QByteArrayView bytes = windowBytes(source, from, 1);
        const qint64 count = std::min<qint64>(bytes.size(), to - from);
        dest.write(bytes.data(), count);
        from += count;
    }
}

qint64 TBBMDataMerge::findIn(SourceWindow& source, const QByteArray& delimiter, qint64 from) {
    const qint64 size = source.size();
    if (delimiter.isEmpty())
        return -1;
    // The text is searched where the window holds it; each further window
    // starts early enough to find an occurrence across the boundary.
    for (qint64 position = from; size - position >= delimiter.size();) {
        const QByteArrayView bytes = windowBytes(source, position, delimiter.size());
        const qsizetype found = bytes.indexOf(delimiter);
        if (found >= 0)
            return position + found;
        position += bytes.size() - (delimiter.size() - 1);
    }
    return -1;
}

void TBBMDataMerge::reportProgress(qint32 percent) {
    if (OnProgress)
        OnProgress(*this, percent);
}

bool TBBMDataMerge::FindInStream(QIODevice& stream, const QByteArray& Delim) {
    const qint64 size = stream.size();
    if (Delim.isEmpty()) {
        if (stream.pos() < size)
            seekTo(stream, size);
        return false;
    }
    // Each new block is searched together with the one before it, so that
    // an occurrence across the boundary is found. Only bytes of the stream
    // are searched: the first block has nothing before it, and the last one
    // may be short.
    const qint64 block = std::max<qint64>(1024, Delim.size());
    QVarLengthArray<char, 2 * 1024> buffer(2 * block);
    qint64 searchFrom = block;
    while (stream.pos() < size) {
        const qint64 blockStart = stream.pos();
        const qint64 count = std::min(block, size - blockStart);
        readExactly(stream, buffer.data() + block, count);
        const QByteArrayView window(buffer.constData() + searchFrom, block + count - searchFrom);
        const qint64 found = window.indexOf(Delim);
        if (found >= 0) {
            seekTo(stream, blockStart + searchFrom + found - block + Delim.size());
            return true;
        }
        std::memcpy(buffer.data(), buffer.constData() + block, block);
        searchFrom = block - (Delim.size() - 1);
    }
    return false;
}
