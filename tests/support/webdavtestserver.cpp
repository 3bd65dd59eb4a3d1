#include "support/webdavtestserver.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>

QByteArray runProgram(const QString& program, const QStringList& arguments,
                      const QByteArray& input) {
    QProcess process;
    process.start(program, arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return {};
    return process.readAllStandardOutput();
}

bool TestCertificate::make(const QString& folder, const QString& name) {
    m_base = folder + QLatin1Char('/') + name;
    runProgram(QStringLiteral("openssl"),
               {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                QStringLiteral("rsa:2048"), QStringLiteral("-nodes"), QStringLiteral("-days"),
                QStringLiteral("2"), QStringLiteral("-subj"), QStringLiteral("/CN=localhost"),
                QStringLiteral("-addext"),
                QStringLiteral("subjectAltName=IP:127.0.0.1,DNS:localhost"),
                QStringLiteral("-keyout"), keyFile(), QStringLiteral("-out"), certificateFile()});
    return QFile::exists(certificateFile()) && QFile::exists(keyFile());
}

QString TestCertificate::fingerprint() const {
    const QByteArray line = runProgram(QStringLiteral("openssl"),
                                       {QStringLiteral("x509"), QStringLiteral("-in"),
                                        certificateFile(), QStringLiteral("-noout"),
                                        QStringLiteral("-fingerprint"), QStringLiteral("-sha256")});
    return QString::fromLatin1(line.mid(line.indexOf('=') + 1).trimmed());
}

QString TestCertificate::pin() const {
    const QByteArray key =
        runProgram(QStringLiteral("openssl"),
                   {QStringLiteral("x509"), QStringLiteral("-in"), certificateFile(),
                    QStringLiteral("-noout"), QStringLiteral("-pubkey")});
    const QByteArray der = runProgram(QStringLiteral("openssl"),
                                      {QStringLiteral("pkey"), QStringLiteral("-pubin"),
                                       QStringLiteral("-outform"), QStringLiteral("der")},
                                      key);
    const QByteArray digest = runProgram(
        QStringLiteral("openssl"),
        {QStringLiteral("dgst"), QStringLiteral("-sha256"), QStringLiteral("-binary")}, der);
    // No key read: no pin at all, rather than the digest of nothing.
    if (der.isEmpty() || digest.isEmpty())
        return {};
    return QStringLiteral("sha256//") + QString::fromLatin1(digest.toBase64());
}

std::unique_ptr<WebDavTestServer> WebDavTestServer::start(const QString& root, const QString& user,
                                                          const QString& password,
                                                          const QStringList& extraArguments,
                                                          QString* why,
                                                          const TestCertificate* certificate) {
    std::unique_ptr<WebDavTestServer> server(new WebDavTestServer);
    QString reason;
    if (!server->m_dir.isValid()) {
        reason = QStringLiteral("no temporary folder for the WebDAV server");
    } else if (certificate) {
        server->m_certificate = *certificate;
    } else if (!server->m_certificate.make(server->m_dir.path(), QStringLiteral("server"))) {
        reason = QStringLiteral("the openssl program is needed to make the server's certificate");
    }
    if (reason.isEmpty()) {
        server->m_root = root;
        server->m_process = ServerProcess::start(
            QStringLiteral("rclone"),
            QStringList{
                QStringLiteral("serve"), QStringLiteral("webdav"), root, QStringLiteral("--addr"),
                QStringLiteral("127.0.0.1:%1").arg(ServerProcess::freePort()),
                QStringLiteral("--cert"), server->certificateFile(), QStringLiteral("--key"),
                server->m_certificate.keyFile(), QStringLiteral("--user"), user,
                QStringLiteral("--pass"), password, QStringLiteral("--config"),
                server->m_dir.filePath(QStringLiteral("rclone.conf")),
                // Tests change the served folder behind its back.
                QStringLiteral("--dir-cache-time"), QStringLiteral("0s")} +
                extraArguments,
            QRegularExpression(QStringLiteral("Server started on https://127\\.0\\.0\\.1:(\\d+)/")),
            &reason);
    }
    if (!server->m_process) {
        if (why)
            *why = reason;
        return nullptr;
    }
    return server;
}

QString WebDavTestServer::url() const {
    return QStringLiteral("https://127.0.0.1:%1/").arg(port());
}
