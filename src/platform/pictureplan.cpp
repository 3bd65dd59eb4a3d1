#include "platform/pictureplan.h"

#include "platform/apperror.h"
#include "platform/fileurl.h"
#include "platform/safefile.h"
#include "platform/sortedstringlist.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFileInfo>
#include <QHash>
#include <QMutex>

#include <algorithm>

namespace pictureplan {

namespace {

QString hashOf(const DocumentPicture& picture) {
    return !picture.contentName.isEmpty()
               ? picture.contentName
               : QString::fromLatin1(
                     QCryptographicHash::hash(picture.bytes, QCryptographicHash::Sha1).toHex());
}

/// A picture file as this process wrote or found it.
struct KeptFile {
    qint64 size = -1;
    QDateTime modified;
};

/// The pictures of no file this process has put into their files, so that
/// an unchanged file is not read again at every page.
QHash<QString, KeptFile>& keptFiles() {
    static QHash<QString, KeptFile> files;
    return files;
}

QMutex& keptFilesMutex() {
    static QMutex mutex;
    return mutex;
}

KeptFile fileState(const QString& path) {
    const QFileInfo file(path);
    return file.isFile() ? KeptFile{file.size(), file.lastModified()} : KeptFile{};
}

bool stillKept(const QString& path) {
    const auto it = keptFiles().constFind(path);
    if (it == keptFiles().constEnd())
        return false;
    const KeptFile now = fileState(path);
    return now.size == it->size && now.modified == it->modified;
}

Status keep(const Entry& entry) {
    QByteArray existing;
    if (!readWholeFile(entry.localFile, existing) || existing != entry.bytes) {
        try {
            writeFileAtomically(entry.localFile, entry.bytes);
        } catch (const AppError& error) {
            return fail(error.message());
        }
    }
    keptFiles().insert(entry.localFile, fileState(entry.localFile));
    return {};
}

QString serverAddress(const QString& server, const QString& name) {
    return server.isEmpty() ? QString() : addressOnServer(server, name);
}

/// The address the page writes: the server's when publishing to one, the
/// local one otherwise.
QString pageAddress(Target target, const Entry& entry, const QString& localAddress) {
    return target == Target::Publish && entry.placed() ? entry.serverAddress : localAddress;
}

Entry layoutEntry(const Input& input, const LayoutPicture& picture) {
    Entry entry;
    entry.role = picture.role;
    // The images folder itself when none is chosen, as the page names it.
    entry.localFile = input.userFolder + QStringLiteral("images");
    for (const QString& element : pathElements(picture.path))
        entry.localFile += u'/' + element;
    entry.serverName = pathFileName(picture.path);
    entry.serverAddress = serverAddress(input.servers.layout, entry.serverName);
    entry.address = pageAddress(input.target, entry, PathToFileUrl(entry.localFile));
    entry.shown = !picture.hidden;
    entry.chosen = !picture.path.isEmpty();
    return entry;
}

Entry documentEntry(const Input& input, const DocumentPicture& picture) {
    Entry entry;
    entry.key = picture.key();
    if (!picture.webAddress.isEmpty()) {
        entry.onWeb = true;
        entry.serverAddress = picture.webAddress;
        entry.address = picture.webAddress;
        return entry;
    }
    QString localAddress;
    if (picture.storedFile.isEmpty()) {
        entry.serverName = unfiledName(picture);
        entry.localFile = input.unfiledFolder +
                          (input.unfiledFolder.endsWith(u'/') ? QString() : QStringLiteral("/")) +
                          entry.serverName;
        entry.bytes = picture.bytes;
        localAddress = input.unfiledByName ? urltext::pathSegment(entry.serverName)
                                           : PathToFileUrl(entry.localFile);
    } else {
        entry.localFile = picture.storedFile;
        entry.serverName = pathFileName(picture.storedFile);
        localAddress = PathToFileUrl(picture.storedFile);
    }
    entry.serverAddress = serverAddress(input.servers.document, entry.serverName);
    entry.address = pageAddress(input.target, entry, localAddress);
    return entry;
}

} // namespace

QString DocumentPicture::key() const {
    if (!webAddress.isEmpty())
        return QStringLiteral("web:") + webAddress;
    return storedFile.isEmpty() ? QStringLiteral("bytes:") + hashOf(*this)
                                : QStringLiteral("path:") + storedFile;
}

const Entry* Plan::layoutPicture(Role role) const {
    for (const Entry& entry : entries) {
        if (entry.role == role && role != Role::Document)
            return &entry;
    }
    return nullptr;
}

const Entry* Plan::documentPicture(const DocumentPicture& picture) const {
    const auto found = m_documentEntries.constFind(picture.key());
    return found == m_documentEntries.constEnd() ? nullptr : &entries.at(*found);
}

QStringList Plan::addresses() const {
    SortedStringList list;
    for (const Entry& entry : entries) {
        if (entry.needed() && entry.placed())
            list.add(entry.serverAddress);
    }
    return list.items();
}

QStringList Plan::unplaced() const {
    QStringList files;
    for (const Entry& entry : entries) {
        if (entry.needed() && !entry.placed() && !files.contains(entry.localFile))
            files.append(entry.localFile);
    }
    return files;
}

Plan make(const Input& input) {
    Plan plan;
    plan.target = input.target;
    for (const LayoutPicture& picture : input.layout)
        plan.entries.append(layoutEntry(input, picture));
    for (const DocumentPicture& picture : input.document) {
        // A picture with nothing in it is left to the page's writer.
        if (picture.storedFile.isEmpty() && picture.bytes.isEmpty() && picture.webAddress.isEmpty())
            continue;
        const QString key = picture.key();
        if (plan.m_documentEntries.contains(key))
            continue;
        plan.m_documentEntries.insert(key, plan.entries.size());
        plan.entries.append(documentEntry(input, picture));
    }
    return plan;
}

Status saveUnfiledPictures(const Plan& plan) {
    // The name follows the content: a file that is still the one kept there
    // holds the picture.
    QMutexLocker lock(&keptFilesMutex());
    for (const Entry& entry : plan.entries) {
        if (entry.bytes.isEmpty() || stillKept(entry.localFile))
            continue;
        const Status kept = keep(entry);
        if (!kept)
            return kept;
    }
    return {};
}

QString unfiledName(const DocumentPicture& picture) {
    const QByteArray& format = picture.format;
    // The format comes with the document: only a plain word makes the
    // extension, so that the name stays inside its folder.
    const bool plain = !format.isEmpty() && format.size() <= 8 &&
                       std::all_of(format.begin(), format.end(), [](char c) {
                           return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
                       });
    const QString extension = format == "jpeg" ? QStringLiteral("jpg")
                              : plain          ? QString::fromLatin1(format)
                                               : QString();
    return QStringLiteral("picture-") + hashOf(picture).left(16) + u'.' +
           (extension.isEmpty() ? QStringLiteral("bin") : extension);
}

} // namespace pictureplan
