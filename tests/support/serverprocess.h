#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <memory>

/// A server program a test starts on a loopback port and stops when done
/// (SFTP, WebDAV, FTP servers from the system's packages): nothing of it
/// outlives the test.
class ServerProcess {
public:
    /// Starts `program` and waits, up to 30 s, for a line of its output
    /// (standard output or error) that matches `ready`; the pattern's first
    /// capture, when it has one, is the port it listens on. Null, with why
    /// in `why`, when the program is missing, ends, or never gets ready.
    static std::unique_ptr<ServerProcess> start(const QString& program,
                                                const QStringList& arguments,
                                                const QRegularExpression& ready,
                                                QString* why = nullptr);
    /// Stops the server: terminated, killed when it does not end soon.
    ~ServerProcess();

    int port() const { return m_port; }
    /// Everything it wrote so far, to show when a test fails.
    QString output() const;

    /// A port nothing listens on right now on 127.0.0.1, for servers that
    /// cannot choose one themselves.
    static int freePort();

private:
    ServerProcess() = default;
    QProcess m_process;
    QByteArray m_output;
    int m_port = 0;
};
