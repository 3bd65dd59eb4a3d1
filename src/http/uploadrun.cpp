#include "http/uploadrun.h"

#include "listing/uploadrecord.h"
#include "platform/safefile.h"
#include "platform/uilanguage.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>
#include <QTimer>

#include <optional>

namespace {

using State = UploadItemResult::State;

/// The picture as a seller knows it: its file's name, else its name on the
/// server.
QString pictureName(const UploadItem& item) {
    return item.localFile.isEmpty() ? item.remoteName : QFileInfo(item.localFile).fileName();
}

UploadOutcome localProblem(QString message) {
    UploadOutcome outcome;
    outcome.problem = UploadProblem::LocalFile;
    outcome.message = std::move(message);
    return outcome;
}

/// The server's identity is not trusted: nothing more may go there.
bool untrusted(const UploadOutcome& outcome) {
    return outcome.problem == UploadProblem::UnknownHostKey ||
           outcome.problem == UploadProblem::ChangedHostKey ||
           outcome.problem == UploadProblem::UntrustedCertificate;
}

/// Every other picture would fail the same way: the server cannot be
/// reached or does not let the seller in.
bool serverUnusable(const UploadOutcome& outcome) {
    switch (outcome.problem) {
    case UploadProblem::HostNotFound:
    case UploadProblem::Refused:
    case UploadProblem::Unreachable:
    case UploadProblem::WrongLogin:
        return true;
    default:
        return false;
    }
}

/// Another picture of the run has the same name on the server: sending both
/// would leave only the last there, and the page would show it twice.
const UploadItem* nameTakenBy(const QList<UploadItem>& items, int index) {
    const UploadItem& item = items.at(index);
    for (int other = 0; other < items.size(); ++other) {
        const UploadItem& candidate = items.at(other);
        if (other != index && candidate.remoteName == item.remoteName &&
            (candidate.localFile != item.localFile || candidate.bytes != item.bytes))
            return &candidate;
    }
    return nullptr;
}

/// What the record of the account's folder is kept under: the folder's
/// address, so that a record made for another server is not trusted.
QString recordServer(const UploadAccount& account) {
    return account.folderUrl().toString();
}

} // namespace

struct UploadRun::Private {
    UploadAccount account;
    QList<UploadItem> items;
    Options options;
    QList<UploadItemResult> results;
    FolderFactory factory = [](const UploadAccount& account, QObject* parent) {
        return RemoteFolder::open(account, parent);
    };
    std::unique_ptr<RemoteFolder> folder;
    std::optional<UploadRecord> record;
    QString recordProblem;
    QTimer retryTimer;

    bool started = false;
    bool done = false;
    /// The picture being prepared or sent.
    int index = 0;
    int attempts = 0;
    QByteArray prepared;
    QByteArray hash;
};

UploadRun::UploadRun(UploadAccount account, QList<UploadItem> items, Options options,
                     QObject* parent)
    : QObject(parent)
    , d(std::make_unique<Private>()) {
    d->account = std::move(account);
    d->items = std::move(items);
    d->options = std::move(options);
    d->retryTimer.setSingleShot(true);
    connect(&d->retryTimer, &QTimer::timeout, this, [this] { sendCurrent(); });
}

UploadRun::~UploadRun() {
    // A folder still busy is stopped, so that it leaves no temporary file.
    if (d->folder && d->folder->isBusy())
        d->folder->cancel();
}

void UploadRun::setFolderFactory(FolderFactory factory) {
    d->factory = std::move(factory);
}

void UploadRun::start() {
    if (d->started)
        return;
    d->started = true;
    if (!d->options.recordFile.isEmpty()) {
        Result<UploadRecord> loaded =
            UploadRecord::load(d->options.recordFile, recordServer(d->account));
        if (loaded) {
            d->record = std::move(loaded).value();
        } else {
            // Sending again costs time, never a picture.
            d->recordProblem = loaded.error();
            d->record.emplace(d->options.recordFile, recordServer(d->account));
        }
    }
    QTimer::singleShot(0, this, [this] { nextItem(); });
}

void UploadRun::nextItem() {
    if (d->done)
        return;
    if (d->index >= d->items.size()) {
        finish();
        return;
    }
    const UploadItem& item = d->items.at(d->index);
    d->attempts = 0;
    if (const UploadItem* other = nameTakenBy(d->items, d->index)) {
        UploadOutcome outcome;
        outcome.problem = UploadProblem::NameRefused;
        outcome.message =
            uilanguage::text("MESSAGES", "uploadNameTaken",
                             QStringLiteral("\"%1\" and \"%2\" would both be published as "
                                            "\"%3\": rename one of them. Neither was sent."))
                .arg(pictureName(item), pictureName(*other), item.remoteName);
        finishItem(State::Failed, outcome);
        return;
    }
    QByteArray original = item.bytes;
    if (item.localFile.isEmpty() ? original.isEmpty() : !readWholeFile(item.localFile, original)) {
        finishItem(State::Failed,
                   localProblem(uilanguage::text("MESSAGES", "uploadPictureGone",
                                                 QStringLiteral("\"%1\" was moved or deleted since "
                                                                "it was chosen: it was not sent."))
                                    .arg(pictureName(item))));
        return;
    }
    const Result<webphoto::Prepared> prepared = webphoto::prepare(original, d->options.photo);
    if (!prepared) {
        finishItem(
            State::Failed,
            localProblem(QStringLiteral("\"%1\": %2").arg(pictureName(item), prepared.error())));
        return;
    }
    d->prepared = prepared->bytes;
    d->hash = UploadRecord::contentHash(d->prepared);
    if (d->record && d->record->holds(item.remoteName, d->hash)) {
        finishItem(State::Unchanged, {});
        return;
    }
    sendCurrent();
}

void UploadRun::sendCurrent() {
    if (d->done)
        return;
    if (!d->folder) {
        d->folder = d->factory(d->account, nullptr);
        connect(d->folder.get(), &RemoteFolder::progress, this, [this](qint64 sent, qint64 total) {
            if (!d->done)
                emit itemProgress(d->index, sent, total);
        });
        connect(d->folder.get(), &RemoteFolder::finished, this,
                [this](const UploadOutcome& outcome) { sent(outcome); });
    }
    ++d->attempts;
    d->folder->send(d->items.at(d->index).remoteName, d->prepared);
    // After the send began, so that a cancel from here stops it.
    emit itemProgress(d->index, 0, d->prepared.size());
}

void UploadRun::sent(const UploadOutcome& outcome) {
    if (d->done)
        return;
    if (outcome.ok()) {
        if (d->record) {
            d->record->remember(d->items.at(d->index).remoteName, d->hash);
            const Status saved = d->record->save();
            if (!saved)
                d->recordProblem = saved.error();
        }
        finishItem(State::Sent, outcome);
        return;
    }
    if (outcome.problem == UploadProblem::Cancelled) {
        finishItem(State::Cancelled, outcome);
        return;
    }
    if (outcome.transient() && d->attempts <= d->options.retries) {
        const int wait = std::max(0, d->options.retryDelayMs) << std::min(d->attempts - 1, 16);
        d->retryTimer.start(wait);
        return;
    }
    if (untrusted(outcome)) {
        const QPointer<UploadRun> alive(this);
        emit untrustedServer(outcome);
        if (!alive || d->done)
            return;
        stopAll(outcome, State::Cancelled);
        if (alive)
            finish();
        return;
    }
    if (serverUnusable(outcome)) {
        const QPointer<UploadRun> alive(this);
        stopAll(outcome, State::Failed);
        if (alive)
            finish();
        return;
    }
    finishItem(State::Failed, outcome);
}

void UploadRun::finishItem(UploadItemResult::State state, const UploadOutcome& outcome) {
    UploadItemResult result;
    result.state = state;
    result.outcome = outcome;
    result.attempts = d->attempts;
    d->results.append(result);
    const int index = d->index++;
    d->prepared.clear();
    emit itemFinished(index, result);
    // From the event loop, so that a long list of unchanged pictures does
    // not pile up on the stack.
    QTimer::singleShot(0, this, [this] { nextItem(); });
}

void UploadRun::stopAll(const UploadOutcome& outcome, UploadItemResult::State rest) {
    const QPointer<UploadRun> alive(this);
    UploadItemResult current;
    current.state = State::Failed;
    current.outcome = outcome;
    current.attempts = d->attempts;
    d->results.append(current);
    emit itemFinished(d->index, current);
    // A handler may cancel the run or delete it meanwhile.
    for (int i = d->index + 1; alive && !d->done && i < d->items.size(); ++i) {
        UploadItemResult result;
        result.state = rest;
        result.outcome = outcome;
        // Each picture's message names that picture.
        result.outcome.message = uilanguage::text("MESSAGES", "uploadNotTried",
                                                  QStringLiteral("\"%1\" was not sent either. %2"))
                                     .arg(pictureName(d->items.at(i)), outcome.message);
        d->results.append(result);
        emit itemFinished(i, result);
    }
    if (alive)
        d->index = int(d->items.size());
}

void UploadRun::finish() {
    if (d->done)
        return;
    d->done = true;
    d->retryTimer.stop();
    emit finished();
}

void UploadRun::cancel() {
    if (!d->started || d->done)
        return;
    d->retryTimer.stop();
    if (d->folder && d->folder->isBusy())
        d->folder->cancel();
    UploadOutcome cancelled;
    cancelled.problem = UploadProblem::Cancelled;
    for (qsizetype i = d->results.size(); i < d->items.size(); ++i) {
        UploadItemResult result;
        result.state = State::Cancelled;
        result.outcome = cancelled;
        if (i == d->index)
            result.attempts = d->attempts;
        d->results.append(result);
    }
    finish();
}

const QList<UploadItem>& UploadRun::items() const {
    return d->items;
}

const QList<UploadItemResult>& UploadRun::results() const {
    return d->results;
}

bool UploadRun::succeeded() const {
    if (d->results.size() != d->items.size())
        return false;
    for (const UploadItemResult& result : d->results)
        if (result.state == State::Failed || result.state == State::Cancelled)
            return false;
    return true;
}

QString UploadRun::recordProblem() const {
    return d->recordProblem;
}

Status UploadRun::forgetMissing(const QString& recordFile, const QList<UploadItem>& items,
                                const QStringList& missingAddresses) {
    if (recordFile.isEmpty() || missingAddresses.isEmpty() || !QFileInfo::exists(recordFile))
        return {};
    // The record is kept for the server it names; forgetting keeps it so.
    QByteArray bytes;
    readWholeFile(recordFile, bytes);
    const QString server =
        QJsonDocument::fromJson(bytes).object().value(QStringLiteral("server")).toString();
    Result<UploadRecord> record = UploadRecord::load(recordFile, server);
    if (!record)
        return fail(record.error());
    bool changed = false;
    for (const UploadItem& item : items) {
        if (missingAddresses.contains(item.address)) {
            record.value().forget(item.remoteName);
            changed = true;
        }
    }
    return changed ? record->save() : Status{};
}
