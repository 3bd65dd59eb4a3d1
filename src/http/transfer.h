#pragma once

#include "http/httpresult.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

#include <memory>

class QIODevice;
struct UploadAccount;

/// What one transfer is to do. A picture check fills in the address and
/// leaves the rest; an upload also sets the method and what it sends.
struct TransferRequest {
    /// The address as a seller or a page writes it (see `webUrl`).
    QString address;
    /// "GET" unless an upload names another ("PUT", ...).
    QByteArray method = "GET";
    /// What an upload sends, when `uploadSource` is not set.
    QByteArray body;
    /// What an upload sends, read to its end; not owned, it must outlive
    /// the transfer.
    QIODevice* uploadSource = nullptr;
    /// An empty host means a direct connection; an empty port means 80.
    QString proxyHost;
    QString proxyPort;
    /// The longest the transfer may take, in milliseconds; 0 for no limit.
    int timeLimitMs = 10000;
    /// Request header lines sent besides the usual ones ("Destination: ...").
    QList<QByteArray> headers;
    /// Keeps the answer's whole body in the result, up to this many bytes: a
    /// longer body ends the transfer as failed. 0 keeps only its first bytes.
    qint64 keepBody = 0;
    /// The seller's own server, when the request goes there: its user and
    /// password log in (Basic or Digest), its certificate trust applies,
    /// only https is used and no relocation is followed. Null for a
    /// picture check.
    std::shared_ptr<const UploadAccount> server;

    bool uploads() const { return uploadSource || !body.isEmpty(); }
};

/// One transfer of a request, running beside any number of others without
/// waiting: `start()` returns at once, `progress` and `finished` follow from
/// the event loop. HTTP/1.0 with a browser's user agent and accept header;
/// up to `maxRedirects` relocations are followed; only http and https are
/// ever used. The environment's proxy settings are never used. No
/// connection outlives its transfer.
class Transfer : public QObject {
    Q_OBJECT
public:
    /// How many bytes of the answer's body are kept, whatever the server sends.
    static constexpr int keptBytes = 64;
    static constexpr int maxRedirects = 5;

    explicit Transfer(TransferRequest request, QObject* parent = nullptr);
    /// Cancels the transfer if it still runs.
    ~Transfer() override;

    const TransferRequest& request() const;
    /// Starts once; a request that cannot start finishes with its failure.
    void start();
    /// Ends the transfer where it is; nothing is signalled after.
    void cancel();
    bool isRunning() const;
    /// The outcome, once `finished` has been signalled.
    const HttpResult& result() const;

signals:
    /// Bytes of the answer received and of the upload sent so far.
    void progress(qint64 received, qint64 sent);
    void finished(const HttpResult& result);

private:
    struct Private;
    void finish();
    void failAtStart(HttpError error, const QString& text);
    void queueProgress();

    std::unique_ptr<Private> d;
};
