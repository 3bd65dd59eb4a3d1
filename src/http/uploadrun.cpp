#include "http/uploadrun.h"

#include <QTimer>

// Placeholder until pictures are sent: every picture fails.
struct UploadRun::Private {
    UploadAccount account;
    QList<UploadItem> items;
    Options options;
    QList<UploadItemResult> results;
    FolderFactory factory;
    bool running = false;
};

UploadRun::UploadRun(UploadAccount account, QList<UploadItem> items, Options options,
                     QObject* parent)
    : QObject(parent)
    , d(std::make_unique<Private>()) {
    d->account = std::move(account);
    d->items = std::move(items);
    d->options = std::move(options);
}

UploadRun::~UploadRun() = default;

void UploadRun::setFolderFactory(FolderFactory factory) {
    d->factory = std::move(factory);
}

void UploadRun::start() {
    d->running = true;
    QTimer::singleShot(0, this, [this] {
        if (!d->running)
            return;
        d->running = false;
        for (int i = 0; i < d->items.size(); ++i) {
            d->results.append(UploadItemResult{});
            emit itemFinished(i, d->results.last());
        }
        emit finished();
    });
}

void UploadRun::cancel() {
    if (!d->running)
        return;
    d->running = false;
    emit finished();
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
        if (result.state == UploadItemResult::State::Failed ||
            result.state == UploadItemResult::State::Cancelled)
            return false;
    return true;
}

Status UploadRun::forgetMissing(const QString&, const QList<UploadItem>&, const QStringList&) {
    return {};
}
