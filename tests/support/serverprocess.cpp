#include "serverprocess.h"

#include <QDeadlineTimer>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

std::unique_ptr<ServerProcess> ServerProcess::start(const QString& program,
                                                    const QStringList& arguments,
                                                    const QRegularExpression& ready, QString* why) {
    std::unique_ptr<ServerProcess> server(new ServerProcess);
    QProcess& process = server->m_process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    const auto failed = [&](const QString& reason) {
        if (why)
            *why = program + QStringLiteral(": ") + reason + QStringLiteral("\n") +
                   QString::fromLocal8Bit(server->m_output);
        return nullptr;
    };
    if (!process.waitForStarted(10000))
        return failed(process.errorString());
    const QDeadlineTimer deadline(30000);
    while (!deadline.hasExpired()) {
        if (!process.waitForReadyRead(int(std::max<qint64>(1, deadline.remainingTime()))) &&
            process.state() != QProcess::Running)
            return failed(QStringLiteral("ended before it was ready"));
        server->m_output += process.readAll();
        const QString seen = QString::fromLocal8Bit(server->m_output);
        const QRegularExpressionMatch match = ready.match(seen);
        if (match.hasMatch()) {
            server->m_port = match.lastCapturedIndex() >= 1 ? match.captured(1).toInt() : 0;
            return server;
        }
    }
    return failed(QStringLiteral("not ready after 30 s"));
}

ServerProcess::~ServerProcess() {
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(3000)) {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
}

QString ServerProcess::output() const {
    return QString::fromLocal8Bit(m_output + const_cast<QProcess&>(m_process).readAll());
}

int ServerProcess::freePort() {
    const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
    if (socket < 0)
        return 0;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (::bind(socket, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
        ::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    ::close(socket);
    return port;
}
