#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

/// SSH host keys looked up in known-hosts files, in the format `ssh` writes:
/// "host[,host...] keytype base64 [comment]", hosts as names, patterns with
/// "*" and "?", "!" negations, "[host]:port" for other ports than 22, or
/// hashed as "|1|salt|hash".
namespace knownhosts {

enum class Verdict {
    /// The key is listed for the host.
    Known,
    /// The host is listed with another key of the same type, or the key is
    /// marked revoked.
    Changed,
    /// Neither the host with a key of this type nor the key is listed.
    Unknown,
};

/// `blob` is the key as the server sent it (its wire form).
Verdict check(const QStringList& files, const QString& host, int port, const QByteArray& blob);

/// The key's type as named in the key itself: "ssh-ed25519", "ssh-rsa",
/// "ecdsa-sha2-nistp256"...; empty when the blob is not a key.
QString keyType(const QByteArray& blob);
/// "SHA256:<base64 without padding>", as `ssh` prints it.
QString fingerprint(const QByteArray& blob);
/// "host" for port 22, "[host]:port" otherwise, as the files name it.
QString hostName(const QString& host, int port);
/// A line that, added to a known-hosts file, makes the key known for the
/// host and port.
QString line(const QString& host, int port, const QByteArray& blob);

} // namespace knownhosts
