#pragma once

#include "support/serverprocess.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

/// Runs `program` with `arguments`, `input` on its standard input, and gives
/// its standard output; empty when it could not start, failed or took over
/// 30 s.
QByteArray runProgram(const QString& program, const QStringList& arguments,
                      const QByteArray& input = {});

/// A self-signed certificate for 127.0.0.1 and localhost, made with the
/// openssl program, and what openssl says of it: the values a client must
/// arrive at on its own.
class TestCertificate {
public:
    /// Makes NAME.pem and NAME.key in `folder`; false when openssl could not.
    bool make(const QString& folder, const QString& name);

    QString certificateFile() const { return m_base + QStringLiteral(".pem"); }
    QString keyFile() const { return m_base + QStringLiteral(".key"); }
    /// The SHA-256 fingerprint, as openssl prints it ("AB:CD:...").
    QString fingerprint() const;
    /// The public key in the form a pin takes: "sha256//" and the base64 of
    /// the SHA-256 of the key's DER bytes.
    QString pin() const;

private:
    QString m_base;
};

/// A WebDAV server over HTTPS on a free loopback port (rclone), with a
/// certificate of its own, a user and a password; everything it needs lives
/// in a temporary folder of its own, and the server stops with the object.
class WebDavTestServer {
public:
    /// Serves `root` (which must exist); `extraArguments` go to rclone as
    /// they are (e.g. "--read-only"). With `certificate`, that one is shown
    /// instead of a new one. Null, with why in `why`, when openssl or rclone
    /// is missing or the server never got ready: the test fails on it.
    static std::unique_ptr<WebDavTestServer> start(const QString& root, const QString& user,
                                                   const QString& password,
                                                   const QStringList& extraArguments = {},
                                                   QString* why = nullptr,
                                                   const TestCertificate* certificate = nullptr);

    int port() const { return m_process->port(); }
    QString root() const { return m_root; }
    /// https://127.0.0.1:PORT/
    QString url() const;
    const TestCertificate& certificate() const { return m_certificate; }
    QString certificateFile() const { return m_certificate.certificateFile(); }
    QString fingerprint() const { return m_certificate.fingerprint(); }
    QString pin() const { return m_certificate.pin(); }
    /// What rclone wrote so far, to show when a test fails.
    QString output() const { return m_process->output(); }

private:
    WebDavTestServer() = default;

    QTemporaryDir m_dir;
    TestCertificate m_certificate;
    QString m_root;
    std::unique_ptr<ServerProcess> m_process;
};
