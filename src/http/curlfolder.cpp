#include "http/curlfolder.h"

#include "http/curlmulti.h"
#include "http/knownhosts.h"
#include "http/tlstrust.h"
#include "http/transfererrors.h"
#include "platform/uilanguage.h"

#include <QFileInfo>
#include <QPointer>
#include <QRandomGenerator>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <functional>

namespace {

QString text(const char* key, const char* english) {
    return uilanguage::text(QStringLiteral("MESSAGES"),
                            QStringLiteral("folder") + QChar(QLatin1Char(key[0])).toUpper() +
                                QLatin1String(key + 1),
                            QString::fromUtf8(english));
}

/// What happened to the host key in the course of one request.
enum class KeyVerdict { NotChecked, Known, Unknown, Changed };

/// One libcurl request on the server: an upload or none, with commands
/// after it. Lives until libcurl is done with it or it is stopped.
struct Request {
    QString url;
    QByteArray body;
    bool upload = false;
    QStringList after;
};

class Call {
public:
    using Done = std::function<void(CURLcode)>;

    Call(std::shared_ptr<CurlMulti> multi, const UploadAccount& account, Request request)
        : m_multi(std::move(multi))
        , m_account(account)
        , m_request(std::move(request)) {}
    ~Call() { stop(); }

    void start(Done done);
    /// Ends the request where it is; `done` is not called.
    void stop();

    qint64 sent() const { return m_sent; }
    KeyVerdict verdict() const { return m_verdict; }
    const QByteArray& hostKey() const { return m_hostKey; }
    /// The server's last FTP answer before it was told goodbye.
    long responseCode() const { return m_response; }
    long osError() const { return number(CURLINFO_OS_ERRNO); }
    QString errorText(CURLcode code) const {
        const QString detail = QString::fromLocal8Bit(m_error).trimmed();
        return detail.isEmpty() ? QString::fromLatin1(api().easy_strerror(code)) : detail;
    }
    /// libssh2 could not close the remote file: the connection was gone.
    bool lostConnection() const { return m_lostConnection; }
    std::function<void()> onProgress;

private:
    const CurlApi& api() const { return m_multi->api(); }
    template <typename Value>
    void set(CURLoption option, Value value) {
        api().easy_setopt(m_easy, option, value);
    }
    long number(CURLINFO info) const {
        long value = 0;
        if (m_easy)
            api().easy_getinfo(m_easy, info, &value);
        return value;
    }
    void setLogin();
    void setSsh();

    static size_t onRead(char* buffer, size_t size, size_t count, void* self);
    static size_t onWrite(char*, size_t size, size_t count, void*) { return size * count; }
    static size_t onResponse(char* data, size_t size, size_t count, void* self);
    static int onHostKey(void* self, int, const char* key, size_t length);
    static int onDebug(CURL*, curl_infotype type, char* data, size_t size, void* self);

    std::shared_ptr<CurlMulti> m_multi;
    // A copy: a clean-up call may outlive its folder.
    const UploadAccount m_account;
    Request m_request;
    CURL* m_easy = nullptr;
    curl_slist* m_after = nullptr;
    QByteArray m_url;
    QByteArray m_user;
    QByteArray m_password;
    QByteArray m_keyFile;
    QByteArray m_publicKeyFile;
    qint64 m_sent = 0;
    KeyVerdict m_verdict = KeyVerdict::NotChecked;
    QByteArray m_hostKey;
    bool m_lostConnection = false;
    long m_response = 0;
    char m_error[CURL_ERROR_SIZE] = {};
};

void Call::start(Done done) {
    m_easy = api().easy_init();
    m_url = m_request.url.toUtf8();
    set(CURLOPT_URL, m_url.constData());
    const bool sftp = m_account.protocol == UploadAccount::Protocol::Sftp;
    set(CURLOPT_PROTOCOLS_STR, sftp ? "sftp" : "ftp");
    set(CURLOPT_NOSIGNAL, 1L);
    set(CURLOPT_NOPROXY, "*");
    // A connection kept from an earlier request skips the host key and
    // certificate checks of this one's account: every request has its own.
    set(CURLOPT_FRESH_CONNECT, 1L);
    set(CURLOPT_FORBID_REUSE, 1L);
    set(CURLOPT_ERRORBUFFER, m_error);
    set(CURLOPT_CONNECTTIMEOUT_MS, 30000L);
    set(CURLOPT_TIMEOUT_MS, long(std::max(0, m_account.timeLimitMs)));
    set(CURLOPT_WRITEFUNCTION, &Call::onWrite);
    set(CURLOPT_HEADERFUNCTION, &Call::onResponse);
    set(CURLOPT_HEADERDATA, this);
    set(CURLOPT_FTP_CREATE_MISSING_DIRS, long(CURLFTP_CREATE_DIR_RETRY));
    if (m_request.upload) {
        set(CURLOPT_UPLOAD, 1L);
        set(CURLOPT_INFILESIZE_LARGE, curl_off_t(m_request.body.size()));
        set(CURLOPT_READFUNCTION, &Call::onRead);
        set(CURLOPT_READDATA, this);
    } else {
        set(CURLOPT_NOBODY, 1L);
    }
    for (const QString& command : m_request.after)
        m_after = api().slist_append(m_after, command.toUtf8().constData());
    if (m_after)
        set(CURLOPT_POSTQUOTE, m_after);
    setLogin();
    if (sftp)
        setSsh();
    else if (m_account.protocol == UploadAccount::Protocol::Ftps) {
        set(CURLOPT_USE_SSL, long(CURLUSESSL_ALL));
        tlstrust::apply(api(), m_easy, m_account);
    } else {
        set(CURLOPT_USE_SSL, long(CURLUSESSL_NONE));
    }
    m_multi->add(m_easy, std::move(done));
}

// The password goes to libcurl as an option, never into the address.
void Call::setLogin() {
    m_user = m_account.user.toUtf8();
    m_password = m_account.password.toUtf8();
    set(CURLOPT_USERNAME, m_user.constData());
    set(CURLOPT_PASSWORD, m_password.constData());
}

void Call::setSsh() {
    long methods = CURLSSH_AUTH_PASSWORD | CURLSSH_AUTH_KEYBOARD;
    if (!m_account.keyFile.isEmpty()) {
        methods |= CURLSSH_AUTH_PUBLICKEY;
        m_keyFile = QFile::encodeName(m_account.keyFile);
        // Without a ".pub" beside it, libssh2 derives the public key.
        const QString publicFile = m_account.keyFile + QStringLiteral(".pub");
        m_publicKeyFile =
            QFileInfo::exists(publicFile) ? QFile::encodeName(publicFile) : QByteArray("");
        set(CURLOPT_SSH_PRIVATE_KEYFILE, m_keyFile.constData());
        set(CURLOPT_SSH_PUBLIC_KEYFILE, m_publicKeyFile.constData());
        if (!m_password.isEmpty())
            set(CURLOPT_KEYPASSWD, m_password.constData());
    }
    if (!qEnvironmentVariableIsEmpty("SSH_AUTH_SOCK"))
        methods |= CURLSSH_AUTH_AGENT;
    set(CURLOPT_SSH_AUTH_TYPES, methods);
    // The host key is checked here against every known-hosts file, before
    // anything is sent: libcurl's own check reads one file only.
    set(CURLOPT_SSH_HOSTKEYFUNCTION, &Call::onHostKey);
    set(CURLOPT_SSH_HOSTKEYDATA, this);
    // libssh2's note that the file could not be closed is the one sign
    // that the connection went, rather than the server refusing a write.
    set(CURLOPT_DEBUGFUNCTION, &Call::onDebug);
    set(CURLOPT_DEBUGDATA, this);
    set(CURLOPT_VERBOSE, 1L);
}

void Call::stop() {
    if (m_easy) {
        m_multi->remove(m_easy);
        api().easy_cleanup(m_easy);
        m_easy = nullptr;
    }
    if (m_after)
        api().slist_free_all(m_after);
    m_after = nullptr;
}

size_t Call::onRead(char* buffer, size_t size, size_t count, void* self) {
    auto* call = static_cast<Call*>(self);
    const qint64 left = call->m_request.body.size() - call->m_sent;
    const qint64 length = std::min<qint64>(left, qint64(size * count));
    std::copy_n(call->m_request.body.constData() + call->m_sent, length, buffer);
    call->m_sent += length;
    if (length > 0 && call->onProgress)
        call->onProgress();
    return size_t(length);
}

// libcurl's own response code is that of the goodbye when the connection
// is not kept: the answers are followed here instead.
size_t Call::onResponse(char* data, size_t size, size_t count, void* self) {
    const QByteArray line = QByteArray::fromRawData(data, qsizetype(size * count));
    bool number = false;
    const long code = line.left(3).toLong(&number);
    if (number && line.size() > 3 && line[3] == ' ' && code != 221)
        static_cast<Call*>(self)->m_response = code;
    return size * count;
}

int Call::onHostKey(void* self, int, const char* key, size_t length) {
    auto* call = static_cast<Call*>(self);
    call->m_hostKey = QByteArray(key, qsizetype(length));
    const UploadAccount& account = call->m_account;
    switch (knownhosts::check(account.knownHostsFiles, account.host, account.effectivePort(),
                              call->m_hostKey)) {
    case knownhosts::Verdict::Known:
        call->m_verdict = KeyVerdict::Known;
        return CURLKHMATCH_OK;
    case knownhosts::Verdict::Changed:
        call->m_verdict = KeyVerdict::Changed;
        return CURLKHMATCH_MISMATCH;
    case knownhosts::Verdict::Unknown:
        break;
    }
    call->m_verdict = KeyVerdict::Unknown;
    return CURLKHMATCH_MISSING;
}

// Only libcurl's own notes are looked at: headers and data may hold the
// password and are never kept.
int Call::onDebug(CURL*, curl_infotype type, char* data, size_t size, void* self) {
    if (type == CURLINFO_TEXT &&
        QByteArray::fromRawData(data, qsizetype(size)).contains("Failed to close libssh2 file"))
        static_cast<Call*>(self)->m_lostConnection = true;
    return 0;
}

/// A call that cleans up after an operation that was stopped: nobody waits
/// for it, it ends itself.
void runDetached(std::unique_ptr<Call> call) {
    Call* running = call.release();
    running->start([running](CURLcode) {
        // Deleted from the event loop: libcurl is still inside its callback.
        QTimer::singleShot(0, [running] { delete running; });
    });
}

QString randomPart() {
    return QString::number(QRandomGenerator::global()->generate64(), 36);
}

/// A name the server could take for a path or command: none of "/", "\",
/// control characters, "." or "..".
bool safeName(const QString& name) {
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    return std::none_of(name.begin(), name.end(), [](QChar c) {
        return c == QLatin1Char('/') || c == QLatin1Char('\\') || c.unicode() < 0x20 ||
               c.unicode() == 0x7f;
    });
}

class CurlFolder : public RemoteFolder {
public:
    CurlFolder(const UploadAccount& account, QObject* parent)
        : RemoteFolder(account, parent) {}
    ~CurlFolder() override { cancel(); }

    void send(const QString& remoteName, const QByteArray& bytes) override;
    void remove(const QString& remoteName) override;
    void test() override;
    void cancel() override;
    bool isBusy() const override { return m_op != Op::None; }

private:
    enum class Op { None, Send, Remove, Test };

    bool sftp() const { return account().protocol == UploadAccount::Protocol::Sftp; }
    QString url(const QString& name) const;
    QString path(const QString& name) const;
    QString quoted(const QString& name) const;
    QStringList deleteCommands(const QString& name, bool mayFail) const;

    bool begin(Op op, const QString& name);
    void run(Request request, std::function<void(CURLcode)> then);
    void sent(CURLcode code);
    void removed(CURLcode code);
    void tested(CURLcode code);
    void cleanUpThen(const UploadOutcome& outcome);
    void fail(CURLcode code);
    UploadOutcome outcomeOf(CURLcode code) const;
    UploadOutcome outcome(UploadProblem problem, const QString& reason) const;
    void finishLater(const UploadOutcome& outcome);
    void finish(const UploadOutcome& outcome);
    void queueProgress();

    Op m_op = Op::None;
    QString m_name;
    QString m_temporary;
    qint64 m_total = 0;
    std::shared_ptr<CurlMulti> m_multi;
    std::unique_ptr<Call> m_call;
    std::unique_ptr<tlstrust::CertificateProbe> m_probe;
    bool m_progressQueued = false;
};

QString CurlFolder::url(const QString& name) const {
    QUrl address = account().fileUrl(name);
    // FTPS is FTP that turns to TLS at once: "ftps://" would mean the old
    // implicit TLS on its own port.
    if (account().protocol == UploadAccount::Protocol::Ftps)
        address.setScheme(QStringLiteral("ftp"));
    return QString::fromLatin1(address.toEncoded());
}

QString CurlFolder::path(const QString& name) const {
    return account().folderUrl().path() + name;
}

// SFTP commands take a path in quotes, with '"' and '\' escaped.
QString CurlFolder::quoted(const QString& name) const {
    QString escaped = path(name);
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    escaped.replace(QLatin1Char('"'), QLatin1String("\\\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

QStringList CurlFolder::deleteCommands(const QString& name, bool mayFail) const {
    const QString star = mayFail ? QStringLiteral("*") : QString();
    if (sftp())
        return {star + QStringLiteral("rm ") + quoted(name)};
    // FTP commands run in the folder after the transfer.
    return {star + QStringLiteral("DELE ") + name};
}

bool CurlFolder::begin(Op op, const QString& name) {
    if (isBusy())
        cancel();
    m_op = op;
    m_name = name;
    m_temporary.clear();
    m_total = 0;
    if (!safeName(name)) {
        finishLater(outcome(UploadProblem::NameRefused,
                            text("badName", "This name cannot be used for a file on a server.")));
        return false;
    }
    Result<std::shared_ptr<CurlMulti>> multi = CurlMulti::shared();
    if (!multi) {
        finishLater(outcome(UploadProblem::Other, transfererrors::libraryUnusable(multi.error())));
        return false;
    }
    m_multi = std::move(multi).value();
    return true;
}

void CurlFolder::run(Request request, std::function<void(CURLcode)> then) {
    m_call = std::make_unique<Call>(m_multi, account(), std::move(request));
    m_call->onProgress = [this] { queueProgress(); };
    m_call->start(std::move(then));
}

void CurlFolder::send(const QString& remoteName, const QByteArray& bytes) {
    if (!begin(Op::Send, remoteName))
        return;
    m_temporary = QStringLiteral(".vantrel-%1.part").arg(randomPart());
    m_total = bytes.size();
    Request request;
    request.url = url(m_temporary);
    request.body = bytes;
    request.upload = true;
    if (sftp()) {
        // SFTP servers refuse to rename over a file: the old one goes first.
        request.after = deleteCommands(remoteName, true);
        request.after
            << QStringLiteral("rename %1 %2").arg(quoted(m_temporary), quoted(remoteName));
    } else {
        request.after << QStringLiteral("RNFR ") + m_temporary
                      << QStringLiteral("RNTO ") + remoteName;
    }
    run(request, [this](CURLcode code) { sent(code); });
}

void CurlFolder::sent(CURLcode code) {
    if (code == CURLE_OK) {
        // The last piece's progress would come after the end.
        emit progress(m_total, m_total);
        return finish({});
    }
    fail(code);
}

void CurlFolder::remove(const QString& remoteName) {
    if (!begin(Op::Remove, remoteName))
        return;
    // Asking for the file first: a file that is not there is no failure.
    Request request;
    request.url = url(remoteName);
    request.after = deleteCommands(remoteName, false);
    run(request, [this](CURLcode code) { removed(code); });
}

void CurlFolder::removed(CURLcode code) {
    if (code == CURLE_OK || code == CURLE_REMOTE_FILE_NOT_FOUND)
        return finish({});
    fail(code);
}

void CurlFolder::test() {
    const QString name = QStringLiteral(".vantrel-test-%1.txt").arg(randomPart());
    if (!begin(Op::Test, name))
        return;
    m_temporary = name;
    Request request;
    request.url = url(name);
    request.body = QByteArrayLiteral("Vantrel connection test\n");
    request.upload = true;
    request.after = deleteCommands(name, false);
    m_total = request.body.size();
    run(request, [this](CURLcode code) { tested(code); });
}

void CurlFolder::tested(CURLcode code) {
    if (code == CURLE_OK)
        return finish({});
    fail(code);
}

void CurlFolder::fail(CURLcode code) {
    if (account().protocol == UploadAccount::Protocol::Ftps && tlstrust::isUntrusted(code)) {
        m_call.reset();
        m_probe = std::make_unique<tlstrust::CertificateProbe>(account());
        QObject::connect(m_probe.get(), &tlstrust::CertificateProbe::finished, this,
                         [this](const ServerIdentity& identity) {
                             UploadOutcome result =
                                 outcome(UploadProblem::UntrustedCertificate,
                                         text("untrusted", "Its certificate is not trusted."));
                             result.identity = identity;
                             finishLater(result);
                         });
        m_probe->start();
        return;
    }
    const UploadOutcome result = outcomeOf(code);
    if (m_temporary.isEmpty() || m_call->sent() == 0)
        return finish(result);
    cleanUpThen(result);
}

// A temporary file may be left on the server: removed as far as it allows,
// then the failure is told.
void CurlFolder::cleanUpThen(const UploadOutcome& result) {
    Request request;
    request.url = url(m_temporary);
    request.after = deleteCommands(m_temporary, true);
    m_temporary.clear();
    run(request, [this, result](CURLcode) { finish(result); });
}

UploadOutcome CurlFolder::outcomeOf(CURLcode code) const {
    const Call& call = *m_call;
    const long response = call.responseCode();
    if (call.verdict() == KeyVerdict::Unknown || call.verdict() == KeyVerdict::Changed) {
        const QByteArray& key = call.hostKey();
        ServerIdentity identity;
        identity.kind = ServerIdentity::Kind::HostKey;
        identity.fingerprint = knownhosts::fingerprint(key);
        identity.trustLine = knownhosts::line(account().host, account().effectivePort(), key);
        QString type = knownhosts::keyType(key).toUpper();
        if (type.startsWith(QLatin1String("SSH-")))
            type = type.mid(4);
        else if (type.startsWith(QLatin1String("ECDSA")))
            type = QStringLiteral("ECDSA");
        identity.description = text("keyType", "%1 key").arg(type);
        UploadOutcome result =
            call.verdict() == KeyVerdict::Unknown
                ? outcome(UploadProblem::UnknownHostKey,
                          text("unknownKey", "The server is not known yet: its host key has the "
                                             "fingerprint %1. Compare it with the one your "
                                             "hosting company gives before you trust it.")
                              .arg(identity.fingerprint))
                : outcome(UploadProblem::ChangedHostKey,
                          text("changedKey", "WARNING: the server's host key has changed (it is "
                                             "now %1). Someone may be posing as your server, so "
                                             "nothing was sent. If your hosting company changed "
                                             "the key, remove the old one from your known-hosts "
                                             "file.")
                              .arg(identity.fingerprint));
        result.identity = identity;
        return result;
    }
    transfererrors::TransferFacts facts;
    facts.code = code;
    facts.host = account().host;
    facts.osError = call.osError();
    facts.timeLimitMs = account().timeLimitMs;
    facts.answered = call.sent() > 0;
    const auto reused = [&](UploadProblem problem) {
        return outcome(problem, transfererrors::describe(facts).text + QLatin1Char('.'));
    };
    const bool inFile = call.sent() > 0;
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
        return reused(UploadProblem::HostNotFound);
    case CURLE_COULDNT_CONNECT:
        return reused(call.osError() == ECONNREFUSED ? UploadProblem::Refused
                                                     : UploadProblem::Unreachable);
    case CURLE_OPERATION_TIMEDOUT:
        return reused(UploadProblem::Unreachable);
    case CURLE_LOGIN_DENIED:
        return outcome(UploadProblem::WrongLogin,
                       text("wrongLogin", "The server refused the user name or the password."));
    case CURLE_USE_SSL_FAILED:
        return outcome(UploadProblem::Other,
                       text("noTls", "The server does not offer secure FTP (FTPS)."));
    case CURLE_SSL_CONNECT_ERROR:
        return reused(UploadProblem::Other);
    case CURLE_REMOTE_DISK_FULL:
        return outcome(UploadProblem::ServerFull,
                       text("full", "The server has no room left (its disk is full or the "
                                    "account's quota is reached)."));
    case CURLE_REMOTE_ACCESS_DENIED:
    case CURLE_REMOTE_FILE_NOT_FOUND:
        return outcome(UploadProblem::FolderNotWritable,
                       text("notWritable", "The folder cannot be created or written to."));
    case CURLE_QUOTE_ERROR:
        if (response == 553 || (m_op == Op::Send && response != 550) ||
            (m_op == Op::Send && sftp()))
            return outcome(UploadProblem::NameRefused,
                           text("nameRefused", "The server does not accept this file name."));
        return outcome(UploadProblem::FolderNotWritable,
                       text("notWritable", "The folder cannot be created or written to."));
    case CURLE_UPLOAD_FAILED:
    case CURLE_PARTIAL_FILE:
        if (response == 452 || response == 552)
            return outcome(UploadProblem::ServerFull,
                           text("full", "The server has no room left (its disk is full or the "
                                        "account's quota is reached)."));
        if (response == 553)
            return outcome(UploadProblem::NameRefused,
                           text("nameRefused", "The server does not accept this file name."));
        if (response == 550 || response == 532)
            return outcome(UploadProblem::FolderNotWritable,
                           text("notWritable", "The folder cannot be created or written to."));
        break;
    case CURLE_SSH:
        // A write refused after the file was opened: SFTP version 3 names
        // no cause, and lack of room is the one a server meets there.
        if (inFile && !call.lostConnection())
            return outcome(UploadProblem::ServerFull,
                           text("full", "The server has no room left (its disk is full or the "
                                        "account's quota is reached)."));
        break;
    default:
        break;
    }
    const bool broke = code == CURLE_SEND_ERROR || code == CURLE_RECV_ERROR ||
                       code == CURLE_GOT_NOTHING || code == CURLE_PARTIAL_FILE ||
                       code == CURLE_SSH || response == 426 || response == 421;
    if (broke && (inFile || code != CURLE_SSH))
        return outcome(UploadProblem::Dropped,
                       text("dropped", "The connection broke off in the middle of the file."));
    return outcome(UploadProblem::Other,
                   text("other", "The server answered: %1").arg(call.errorText(code)));
}

UploadOutcome CurlFolder::outcome(UploadProblem problem, const QString& reason) const {
    const QString server = account().displayName();
    QString lead;
    switch (m_op) {
    case Op::Send:
        lead = text("notSent", "\"%1\" was not sent to %2.").arg(m_name, server);
        break;
    case Op::Remove:
        lead = text("notRemoved", "\"%1\" was not removed from %2.").arg(m_name, server);
        break;
    case Op::Test:
    case Op::None:
        lead = text("testFailed", "The connection test of %1 failed.").arg(server);
        break;
    }
    UploadOutcome result;
    result.problem = problem;
    result.message = lead + QLatin1Char(' ') + reason;
    return result;
}

// Outcomes known before libcurl runs come from the event loop all the same.
void CurlFolder::finishLater(const UploadOutcome& result) {
    const Op op = m_op;
    QTimer::singleShot(0, this, [this, op, result] {
        if (m_op == op)
            finish(result);
    });
}

void CurlFolder::finish(const UploadOutcome& result) {
    m_op = Op::None;
    // libcurl may be inside this call's own callback: freed from the loop.
    if (m_call) {
        Call* done = m_call.release();
        QTimer::singleShot(0, [done] { delete done; });
    }
    if (m_probe) {
        m_probe.release()->deleteLater();
    }
    emit finished(result);
}

void CurlFolder::cancel() {
    if (m_op == Op::None)
        return;
    m_op = Op::None;
    if (m_probe) {
        m_probe->cancel();
        m_probe.release()->deleteLater();
    }
    const bool leftSomething = m_call && m_call->sent() > 0 && !m_temporary.isEmpty();
    m_call.reset();
    if (leftSomething) {
        Request request;
        request.url = url(m_temporary);
        request.after = deleteCommands(m_temporary, true);
        runDetached(std::make_unique<Call>(m_multi, account(), request));
    }
    m_temporary.clear();
}

void CurlFolder::queueProgress() {
    if (m_progressQueued)
        return;
    m_progressQueued = true;
    QTimer::singleShot(0, this, [this] {
        m_progressQueued = false;
        if (m_op != Op::None && m_call)
            emit progress(m_call->sent(), m_total);
    });
}

} // namespace

std::unique_ptr<RemoteFolder> openCurlFolder(const UploadAccount& account, QObject* parent) {
    return std::make_unique<CurlFolder>(account, parent);
}
