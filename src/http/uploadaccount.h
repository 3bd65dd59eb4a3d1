#pragma once

#include "platform/result.h"

#include <QString>
#include <QStringList>
#include <QUrl>

/// The seller's own server that pictures are sent to, and how to reach and
/// trust it. The password is held here only while in use: it is never
/// written to a file, a log or a message.
struct UploadAccount {
    enum class Protocol {
        Sftp,
        /// WebDAV over HTTPS.
        WebDav,
        /// FTP with explicit TLS.
        Ftps,
        /// FTP without encryption: the password travels in clear.
        Ftp,
    };

    Protocol protocol = Protocol::Sftp;
    QString host;
    /// 0 for the protocol's usual port.
    int port = 0;
    QString user;
    /// The folder on the server the pictures go to, "/"-separated, from the
    /// root of the server (SFTP, FTP) or of the site (WebDAV); created when
    /// missing. Empty for the root.
    QString folder;
    QString password;
    /// SFTP: a private key file. The SSH agent is tried as well when one runs.
    QString keyFile;
    /// SFTP: the known-hosts files the host's key is looked up in, in order.
    /// The last one is the program's own: a key the seller accepts is added
    /// there.
    QStringList knownHostsFiles;
    /// WebDAV, FTPS: a certificate (or authority) file trusted besides the
    /// system's authorities.
    QString caCertFile;
    /// WebDAV, FTPS: the public key of a certificate no authority signed that
    /// the seller accepted, "sha256//<base64>"; only that key is trusted then.
    QString pinnedKey;
    /// The longest one file may take, in milliseconds; 0 for no limit.
    int timeLimitMs = 120000;

    /// The port connected to: `port`, or the protocol's usual one.
    int effectivePort() const;
    /// "sftp://host:port/folder/", "https://...", "ftps://...", "ftp://...":
    /// the folder's address without user or password, ending with "/".
    QUrl folderUrl() const;
    /// The address of `remoteName` in the folder, its path percent-encoded.
    QUrl fileUrl(const QString& remoteName) const;
    /// The account as the seller names it in messages: "sftp://host/folder/".
    QString displayName() const;
    /// What tells accounts apart in the secret store: protocol, user, host
    /// and port.
    QString secretKey() const;

    /// The account an address names: sftp://, https:// (WebDAV), ftps:// or
    /// ftp://, with an optional user; fails with why for anything else.
    static Result<UploadAccount> fromUrl(const QString& address);
};
