#include "listing/uploadrecord.h"

#include "platform/apperror.h"
#include "platform/safefile.h"
#include "platform/uilanguage.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

/// A record beyond this size is no record of ours.
constexpr qint64 MaxFileSize = 16 * 1024 * 1024;

Failure damaged(const QString& fileName) {
    return fail(uilanguage::text("MESSAGES", "uploadRecordDamaged",
                                 QStringLiteral("The record of pictures sent \"%1\" is damaged: "
                                                "every picture will be sent again."))
                    .arg(fileName));
}

} // namespace

UploadRecord::UploadRecord(QString fileName, QString server)
    : m_fileName(std::move(fileName))
    , m_server(std::move(server)) {}

Result<UploadRecord> UploadRecord::load(const QString& fileName, const QString& server) {
    UploadRecord record(fileName, server);
    const QFileInfo file(fileName);
    if (!file.exists())
        return record;
    QByteArray bytes;
    if (!file.isFile() || file.size() > MaxFileSize || !readWholeFile(fileName, bytes))
        return damaged(fileName);
    const QJsonDocument json = QJsonDocument::fromJson(bytes);
    const QJsonObject root = json.object();
    if (!json.isObject() || root.value(QStringLiteral("server")).toString() != server ||
        !root.value(QStringLiteral("sent")).isObject())
        return damaged(fileName);
    const QJsonObject sent = root.value(QStringLiteral("sent")).toObject();
    for (auto it = sent.begin(); it != sent.end(); ++it) {
        if (!it.value().isString())
            return damaged(fileName);
        record.m_sent.insert(it.key(), it.value().toString().toLatin1());
    }
    return record;
}

Status UploadRecord::save() const {
    QJsonObject sent;
    for (auto it = m_sent.begin(); it != m_sent.end(); ++it)
        sent.insert(it.key(), QString::fromLatin1(it.value()));
    const QJsonObject root{{QStringLiteral("server"), m_server}, {QStringLiteral("sent"), sent}};
    // The first record makes the folder of records.
    QDir().mkpath(QFileInfo(m_fileName).absolutePath());
    try {
        writeFileAtomically(m_fileName, QJsonDocument(root).toJson());
    } catch (const AppError& error) {
        return fail(error.message());
    }
    return {};
}

bool UploadRecord::holds(const QString& remoteName, const QByteArray& contentHash) const {
    const auto it = m_sent.constFind(remoteName);
    return it != m_sent.constEnd() && *it == contentHash;
}

void UploadRecord::remember(const QString& remoteName, const QByteArray& contentHash) {
    m_sent.insert(remoteName, contentHash);
}

void UploadRecord::forget(const QString& remoteName) {
    m_sent.remove(remoteName);
}

QString UploadRecord::fileFor(const QString& sharedDataFolder, const QString& server) {
    const QByteArray name =
        QCryptographicHash::hash(server.toUtf8(), QCryptographicHash::Sha256).toHex().left(32);
    return sharedDataFolder + QStringLiteral("Uploads/") + QString::fromLatin1(name) +
           QStringLiteral(".json");
}

QByteArray UploadRecord::contentHash(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}
