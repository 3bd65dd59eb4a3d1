#pragma once

#include "platform/result.h"

#include <QByteArray>
#include <QHash>
#include <QString>

/// What was sent to one picture server, so that a picture already there in
/// the same version is not sent again: for each file name on the server the
/// content hash of the bytes sent under it. Kept in a file of its own per
/// server in the shared data folder.
class UploadRecord {
public:
    UploadRecord(QString fileName, QString server);

    /// The record kept in `fileName` for `server`; an empty one when there
    /// is no such file yet. A file that is damaged or kept for another server
    /// is a failure: the caller starts with an empty record (sending again
    /// costs time, never a picture).
    static Result<UploadRecord> load(const QString& fileName, const QString& server);
    /// Writes the record all at once; on failure the previous file stays.
    Status save() const;

    /// `remoteName` on the server holds the bytes of `contentHash`.
    bool holds(const QString& remoteName, const QByteArray& contentHash) const;
    void remember(const QString& remoteName, const QByteArray& contentHash);
    /// The server no longer has the file (the image test found it missing).
    void forget(const QString& remoteName);
    qsizetype size() const { return m_sent.size(); }

    /// The record's file for `server` in `sharedDataFolder`: one per server
    /// address, whatever characters the address holds.
    static QString fileFor(const QString& sharedDataFolder, const QString& server);
    /// The content hash the record keeps: SHA-256 in hexadecimal.
    static QByteArray contentHash(const QByteArray& bytes);

private:
    QString m_fileName;
    QString m_server;
    QHash<QString, QByteArray> m_sent;
};
