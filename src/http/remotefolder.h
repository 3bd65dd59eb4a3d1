#pragma once

#include "http/uploadaccount.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <memory>

/// Who a server says it is, when the program does not trust it yet: an SSH
/// host key or a TLS certificate. The seller compares the fingerprint with
/// what the hosting company shows, and may accept it.
struct ServerIdentity {
    enum class Kind { None, HostKey, Certificate };
    Kind kind = Kind::None;
    /// "SHA256:<base64>" for a host key (as `ssh` prints it), the SHA-256 of
    /// the certificate in colon-separated hexadecimal for a certificate.
    QString fingerprint;
    /// What is stored when the seller accepts it: the known-hosts line of a
    /// host key, the certificate's public key "sha256//<base64>" to pin.
    QString trustLine;
    /// A few words on it for the seller: the key's type, or the
    /// certificate's subject, issuer and end of validity.
    QString description;

    bool isEmpty() const { return kind == Kind::None; }
};

/// Why an operation on the seller's server did not succeed.
enum class UploadProblem {
    None,
    Cancelled,
    HostNotFound,
    /// Nothing listens on the port, or the connection was refused.
    Refused,
    /// The server cannot be reached, or did not answer in time.
    Unreachable,
    WrongLogin,
    /// SFTP: the host's key is in no known-hosts file (`identity` holds it).
    UnknownHostKey,
    /// SFTP: the host's key differs from the one known: nothing was sent.
    ChangedHostKey,
    /// WebDAV, FTPS: the certificate is not trusted (`identity` holds it
    /// when it could be read).
    UntrustedCertificate,
    /// The folder cannot be created or written to.
    FolderNotWritable,
    /// The server has no room left.
    ServerFull,
    /// The server refuses the file's name.
    NameRefused,
    /// The connection broke off in the middle.
    Dropped,
    /// The file to send cannot be read on this computer.
    LocalFile,
    Other,
};

/// The outcome of one operation on the seller's server.
struct UploadOutcome {
    UploadProblem problem = UploadProblem::None;
    /// In words a seller understands, naming the server (and the file when
    /// there is one); never the password.
    QString message;
    /// The server's identity, for an unknown or changed host key or an
    /// untrusted certificate.
    ServerIdentity identity;

    bool ok() const { return problem == UploadProblem::None; }
    /// Trying again a little later may well succeed.
    bool transient() const {
        return problem == UploadProblem::Dropped || problem == UploadProblem::Unreachable;
    }
};

/// The folder on the seller's server that pictures are sent to. One
/// operation runs at a time: `send`, `remove` or `test` returns at once,
/// `progress` and then `finished` follow from the event loop. Several
/// folders (of one account or several) may run side by side.
class RemoteFolder : public QObject {
    Q_OBJECT
public:
    /// The folder of `account`, by its protocol.
    static std::unique_ptr<RemoteFolder> open(const UploadAccount& account,
                                              QObject* parent = nullptr);

    ~RemoteFolder() override = default;

    const UploadAccount& account() const { return m_account; }

    /// Puts `bytes` into the folder under `remoteName`, replacing a file of
    /// that name. The bytes go to a temporary name first and are renamed
    /// when complete, where the protocol allows it, so that `remoteName`
    /// never holds part of a file; missing folders are created.
    virtual void send(const QString& remoteName, const QByteArray& bytes) = 0;
    /// Removes `remoteName` from the folder; a file that is not there is no
    /// failure.
    virtual void remove(const QString& remoteName) = 0;
    /// Logs in, writes a small file into the folder and removes it again.
    virtual void test() = 0;
    /// Stops the operation where it is; a temporary file it left is removed
    /// as far as the server allows. Nothing is signalled after.
    virtual void cancel() = 0;
    virtual bool isBusy() const = 0;

signals:
    /// Bytes of the file sent so far, of `total`.
    void progress(qint64 sent, qint64 total);
    void finished(const UploadOutcome& outcome);

protected:
    explicit RemoteFolder(UploadAccount account, QObject* parent = nullptr)
        : QObject(parent)
        , m_account(std::move(account)) {}

private:
    UploadAccount m_account;
};
