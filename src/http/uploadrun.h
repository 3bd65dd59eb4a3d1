#pragma once

#include "http/remotefolder.h"
#include "listing/webphoto.h"

#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

/// One picture a listing needs on the seller's server.
struct UploadItem {
    /// The picture's file on this computer; empty when `bytes` hold it.
    QString localFile;
    /// The picture when it came from no file (pasted, dropped).
    QByteArray bytes;
    /// Its file name in the server's folder, as the listing names it.
    QString remoteName;
    /// Its address in the listing, for messages and the image test.
    QString address;
};

/// What became of one picture.
struct UploadItemResult {
    enum class State { Sent, Unchanged, Failed, Cancelled };
    State state = State::Failed;
    /// Why it failed, in words a seller understands, naming the picture.
    UploadOutcome outcome;
    /// How many times it was sent before it succeeded or was given up.
    int attempts = 0;
};

/// Sends the pictures of a listing to the seller's server: each picture
/// prepared for the web on a copy (`webphoto::prepare`), skipped when the
/// server's record shows the same version there, otherwise sent, a transient
/// failure tried again a few times. The record is saved as pictures get
/// there. Runs from the event loop; `cancel` stops it at any moment.
class UploadRun : public QObject {
    Q_OBJECT
public:
    /// Makes the folder a run sends to; tests give one of their own.
    using FolderFactory =
        std::function<std::unique_ptr<RemoteFolder>(const UploadAccount&, QObject* parent)>;

    struct Options {
        webphoto::Options photo;
        /// The record of what was sent, `UploadRecord::fileFor(...)`; empty
        /// for none (everything is sent). It is kept for the account's
        /// folder: a record of another server is not trusted.
        QString recordFile;
        /// How many times a transient failure is tried again.
        int retries = 2;
        /// The wait before trying again, in milliseconds; doubled each time.
        int retryDelayMs = 1000;
    };

    UploadRun(UploadAccount account, QList<UploadItem> items, Options options,
              QObject* parent = nullptr);
    ~UploadRun() override;

    void setFolderFactory(FolderFactory factory);

    /// Starts once; `finished` follows even when there is nothing to send.
    void start();
    /// Stops where it is: the file being sent is not left half-written under
    /// its name; nothing is signalled after but `finished`.
    void cancel();

    const QList<UploadItem>& items() const;
    const QList<UploadItemResult>& results() const;
    /// Every picture is on the server (sent or unchanged).
    bool succeeded() const;

    /// Why the record of what was sent could not be read (every picture is
    /// sent again) or saved (the next run sends again what this one sent);
    /// empty when it could. The pictures are on the server either way.
    QString recordProblem() const;

    /// Forgets, in the record, the pictures with these addresses (the image
    /// test found them missing), so that the next run sends them again.
    static Status forgetMissing(const QString& recordFile, const QList<UploadItem>& items,
                                const QStringList& missingAddresses);

signals:
    /// Picture `index` is being prepared or sent; `sent` of `total` bytes.
    void itemProgress(int index, qint64 sent, qint64 total);
    /// Picture `index` is done, one way or another.
    void itemFinished(int index, const UploadItemResult& result);
    /// The run met an identity of the server it does not trust (unknown or
    /// changed host key, untrusted certificate) and stopped: nothing more is
    /// sent. `finished` follows.
    void untrustedServer(const UploadOutcome& outcome);
    void finished();

private:
    void nextItem();
    void sendCurrent();
    void sent(const UploadOutcome& outcome);
    void finishItem(UploadItemResult::State state, const UploadOutcome& outcome);
    /// The current picture failed with `outcome`; the others are not tried.
    void stopAll(const UploadOutcome& outcome, UploadItemResult::State rest);
    void finish();

    struct Private;
    std::unique_ptr<Private> d;
};
