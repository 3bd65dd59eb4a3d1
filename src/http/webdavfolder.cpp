#include "http/webdavfolder.h"

#include "http/curlloader.h"
#include "http/tlstrust.h"
#include "http/transfer.h"
#include "http/transfererrors.h"
#include "platform/uilanguage.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QTimer>

#include <cerrno>

namespace {

QString text(const char* key, const char* english) {
    return uilanguage::text("WEBDAV", key, QString::fromUtf8(english));
}

/// A name of the folder's own, that a picture never has: the leading dot
/// hides it from listings.
QString temporaryName() {
    return QStringLiteral(".vantrel-%1.part")
        .arg(QRandomGenerator::global()->generate64(), 16, 16, QLatin1Char('0'));
}

/// A name that stays inside the folder.
bool isPlainName(const QString& name) {
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'));
}

class WebDavFolder : public RemoteFolder {
public:
    WebDavFolder(const UploadAccount& account, QObject* parent)
        : RemoteFolder(account, parent)
        , m_server(std::make_shared<const UploadAccount>(account)) {}
    ~WebDavFolder() override { cancel(); }

    void send(const QString& remoteName, const QByteArray& bytes) override;
    void remove(const QString& remoteName) override;
    void test() override;
    void cancel() override;
    bool isBusy() const override { return m_busy; }

private:
    enum class Operation { Send, Remove, Test };
    enum class Step { MakeFolder, Put, Move, Delete };

    /// One request of an operation, and what its answer means.
    struct Request {
        Step step = Step::Put;
        QByteArray method;
        QUrl url;
        QList<QByteArray> headers;
    };

    /// False when the operation ends before any request.
    bool begin(Operation operation, const QString& remoteName);
    void planFolders();
    void next();
    void answered(const HttpResult& result);
    bool accepted(Step step, int status) const;
    void refuse(const HttpResult& result);
    void refuseStatus(Step step, const HttpResult& result);
    void refuseCertificate();
    void succeed();
    void finish(UploadProblem problem, const QString& reason, const ServerIdentity& identity = {});
    void finishLater(UploadProblem problem, const QString& reason);
    void discardTemporary();
    QString destination(const QString& remoteName) const;
    QString host() const { return account().host; }

    std::shared_ptr<const UploadAccount> m_server;
    bool m_busy = false;
    bool m_foldersMade = false;
    Operation m_operation = Operation::Send;
    QString m_remoteName;
    QByteArray m_bytes;
    QList<Request> m_plan;
    Step m_step = Step::Put;
    /// The temporary file on the server, while it may be there.
    QUrl m_temporary;
    std::unique_ptr<Transfer> m_transfer;
    std::unique_ptr<tlstrust::CertificateProbe> m_probe;
};

void WebDavFolder::send(const QString& remoteName, const QByteArray& bytes) {
    if (!begin(Operation::Send, remoteName))
        return;
    m_bytes = bytes;
    const QString temporary = temporaryName();
    m_plan.append({Step::Put, "PUT", account().fileUrl(temporary), {}});
    m_plan.append({Step::Move,
                   "MOVE",
                   account().fileUrl(temporary),
                   {"Destination: " + destination(remoteName).toUtf8(), "Overwrite: T"}});
    next();
}

void WebDavFolder::remove(const QString& remoteName) {
    if (!begin(Operation::Remove, remoteName))
        return;
    m_plan.append({Step::Delete, "DELETE", account().fileUrl(remoteName), {}});
    next();
}

void WebDavFolder::test() {
    begin(Operation::Test, QString());
    const QString name = temporaryName();
    m_bytes = QByteArrayLiteral("Vantrel connection test\n");
    m_plan.append({Step::Put, "PUT", account().fileUrl(name), {}});
    m_plan.append({Step::Delete, "DELETE", account().fileUrl(name), {}});
    next();
}

void WebDavFolder::cancel() {
    if (!m_busy)
        return;
    m_busy = false;
    m_transfer.reset();
    m_probe.reset();
    m_plan.clear();
    discardTemporary();
}

bool WebDavFolder::begin(Operation operation, const QString& remoteName) {
    cancel();
    m_busy = true;
    m_operation = operation;
    m_remoteName = remoteName;
    m_bytes.clear();
    m_plan.clear();
    if (operation != Operation::Test && !isPlainName(remoteName)) {
        finishLater(
            UploadProblem::NameRefused,
            text("badName", "The name \"%1\" cannot be used on the server").arg(remoteName));
        return false;
    }
    if (operation != Operation::Remove)
        planFolders();
    return true;
}

// Every level from the top, once for the folder: a level that is there
// already, or that this user may not create but may well write into, is no
// failure; the file sent next tells.
void WebDavFolder::planFolders() {
    if (m_foldersMade)
        return;
    QUrl url = account().folderUrl();
    const QStringList levels = url.path().split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString path = QStringLiteral("/");
    for (const QString& level : levels) {
        path += level + QLatin1Char('/');
        url.setPath(path);
        m_plan.append({Step::MakeFolder, "MKCOL", url, {}});
    }
}

void WebDavFolder::next() {
    if (m_plan.isEmpty())
        return succeed();
    const Request request = m_plan.takeFirst();
    m_step = request.step;
    TransferRequest transfer;
    transfer.address = request.url.toString(QUrl::FullyEncoded);
    transfer.method = request.method;
    transfer.headers = request.headers;
    transfer.server = m_server;
    transfer.timeLimitMs = account().timeLimitMs;
    if (request.step == Step::Put) {
        transfer.body = m_bytes;
        m_temporary = request.url;
    }
    m_transfer = std::make_unique<Transfer>(std::move(transfer));
    if (request.step == Step::Put) {
        const qint64 total = m_bytes.size();
        connect(m_transfer.get(), &Transfer::progress, this,
                [this, total](qint64, qint64 sent) { emit progress(sent, total); });
    }
    connect(m_transfer.get(), &Transfer::finished, this, &WebDavFolder::answered);
    m_transfer->start();
}

void WebDavFolder::answered(const HttpResult& result) {
    // The transfer is let go from the event loop: this runs inside its signal.
    m_transfer.release()->deleteLater();
    if (result.libraryCode != CURLE_OK || !accepted(m_step, result.status))
        return refuse(result);
    if (m_step == Step::MakeFolder && (m_plan.isEmpty() || m_plan.first().step != Step::MakeFolder))
        m_foldersMade = true;
    if (m_step == Step::Put && m_operation == Operation::Send) {
        emit progress(m_bytes.size(), m_bytes.size());
        // A receiver may have cancelled.
        if (!m_busy)
            return;
    }
    if (m_step == Step::Move || (m_step == Step::Delete && m_operation == Operation::Test))
        m_temporary.clear();
    next();
}

bool WebDavFolder::accepted(Step step, int status) const {
    const bool done = status >= 200 && status <= 299;
    switch (step) {
    case Step::MakeFolder:
        return done || status == 403 || status == 405 || status == 409;
    case Step::Delete:
        return done || (status == 404 && m_operation == Operation::Remove);
    case Step::Put:
    case Step::Move:
        break;
    }
    return done;
}

void WebDavFolder::refuse(const HttpResult& result) {
    const auto code = CURLcode(result.libraryCode);
    if (code == CURLE_OK)
        return refuseStatus(m_step, result);
    if (tlstrust::isUntrusted(code))
        return refuseCertificate();
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
        return finish(UploadProblem::HostNotFound, result.errorText);
    case CURLE_COULDNT_CONNECT:
        return finish(result.osError == ECONNREFUSED ? UploadProblem::Refused
                                                     : UploadProblem::Unreachable,
                      result.errorText);
    case CURLE_OPERATION_TIMEDOUT:
        if (!result.answered && m_step != Step::Put)
            return finish(UploadProblem::Unreachable, result.errorText);
        return finish(UploadProblem::Dropped,
                      text("notInTime", "The file did not get through within %1")
                          .arg(transfererrors::durationText(account().timeLimitMs)));
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_PARTIAL_FILE:
        return finish(UploadProblem::Dropped, result.errorText);
    case CURLE_SSL_CONNECT_ERROR:
        return finish(UploadProblem::Other, result.errorText);
    default:
        break;
    }
    const Result<const CurlApi*> api = curlApi();
    const QString detail = api ? QString::fromLatin1((*api)->easy_strerror(code))
                               : QString::number(result.libraryCode);
    finish(UploadProblem::Other,
           text("exchangeFailed", "The exchange with %1 failed: %2").arg(host(), detail));
}

void WebDavFolder::refuseStatus(Step step, const HttpResult& result) {
    const int status = result.status;
    if (status == 401)
        return finish(
            UploadProblem::WrongLogin,
            account().user.isEmpty()
                ? text("loginNeeded", "%1 asks for a user name and password").arg(host())
                : text("wrongLogin", "%1 does not accept this user name and password").arg(host()));
    if (status == 507)
        return finish(UploadProblem::ServerFull,
                      text("serverFull", "%1 has no room left").arg(host()));
    if (status == 413)
        return finish(UploadProblem::ServerFull,
                      text("tooLarge", "%1 refuses the file as too large").arg(host()));
    if (status == 400 || status == 414)
        return finish(UploadProblem::NameRefused,
                      text("nameRefused", "%1 refuses the file's name").arg(host()));
    const bool writing = step != Step::Delete || m_operation == Operation::Test;
    if (status == 403 || status == 405 || status == 409 || (status == 404 && step == Step::Put))
        return finish(
            UploadProblem::FolderNotWritable,
            writing ? text("notWritable", "%1 does not let this user write into the folder (%2)")
                          .arg(host())
                          .arg(status)
                    : text("notRemovable", "%1 does not let this user remove the file (%2)")
                          .arg(host())
                          .arg(status));
    if (status >= 400)
        return finish(UploadProblem::Other, result.errorText);
    finish(UploadProblem::Other,
           text("unexpectedAnswer", "%1 gave the unexpected answer %2").arg(host()).arg(status));
}

// The certificate is read without trusting it, so that the seller can
// compare it with what the hosting company shows.
void WebDavFolder::refuseCertificate() {
    m_probe = std::make_unique<tlstrust::CertificateProbe>(account());
    connect(m_probe.get(), &tlstrust::CertificateProbe::finished, this,
            [this](const ServerIdentity& identity) {
                m_probe.release()->deleteLater();
                finish(UploadProblem::UntrustedCertificate,
                       text("untrusted", "The certificate of %1 is not trusted").arg(host()),
                       identity);
            });
    m_probe->start();
}

void WebDavFolder::succeed() {
    m_busy = false;
    emit finished({});
}

void WebDavFolder::finish(UploadProblem problem, const QString& reason,
                          const ServerIdentity& identity) {
    m_busy = false;
    m_plan.clear();
    discardTemporary();
    const QString server = account().displayName();
    QString what;
    switch (m_operation) {
    case Operation::Send:
        // The same words as the other protocols: the seller meets them side by side.
        what = uilanguage::text("MESSAGES", "folderNotSent",
                                QStringLiteral("\"%1\" was not sent to %2."))
                   .arg(m_remoteName, server);
        break;
    case Operation::Remove:
        what = uilanguage::text("MESSAGES", "folderNotRemoved",
                                QStringLiteral("\"%1\" was not removed from %2."))
                   .arg(m_remoteName, server);
        break;
    case Operation::Test:
        what = uilanguage::text("MESSAGES", "folderTestFailed",
                                QStringLiteral("The connection test of %1 failed."))
                   .arg(server);
        break;
    }
    emit finished({problem, what + QLatin1Char(' ') + reason + QLatin1Char('.'), identity});
}

// From the event loop, as every other outcome.
void WebDavFolder::finishLater(UploadProblem problem, const QString& reason) {
    QTimer::singleShot(0, this, [this, problem, reason, operation = m_operation] {
        if (m_busy && m_operation == operation && !m_transfer)
            finish(problem, reason);
    });
}

// Best effort, unobserved: it runs on after this folder is gone, and ends
// with the program at the latest.
void WebDavFolder::discardTemporary() {
    if (m_temporary.isEmpty())
        return;
    TransferRequest request;
    request.address = m_temporary.toString(QUrl::FullyEncoded);
    request.method = "DELETE";
    request.server = m_server;
    request.timeLimitMs = 30000;
    m_temporary.clear();
    auto* transfer = new Transfer(std::move(request), QCoreApplication::instance());
    connect(transfer, &Transfer::finished, transfer, &QObject::deleteLater);
    transfer->start();
}

// Absolute, as the protocol asks, and written as libcurl writes the Host
// header (no usual port), which servers compare it with.
QString WebDavFolder::destination(const QString& remoteName) const {
    QUrl url = account().fileUrl(remoteName);
    if (url.port() == 443)
        url.setPort(-1);
    return url.toString(QUrl::FullyEncoded);
}

} // namespace

std::unique_ptr<RemoteFolder> openWebDavFolder(const UploadAccount& account, QObject* parent) {
    return std::make_unique<WebDavFolder>(account, parent);
}
