#pragma once

#include "http/imageavailability.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QStringList>

class Transfer;

struct PictureCheckOptions {
    /// The longest one picture may take, in milliseconds.
    int timeLimitMs = 10000;
    /// An empty host means a direct connection; an empty port means 80.
    QString proxyHost;
    QString proxyPort;
    /// How many pictures are fetched at the same time.
    int atOnce = 1;
    /// How many of them from one server (host and port); 0 for no limit of
    /// its own.
    int atOncePerHost = 0;
};

/// One check of a list of picture addresses: fetches each, judges it as the
/// published listing would show it, and reports the verdicts in the order of
/// the list, whatever order the answers come in. A proxy that cannot be
/// reached would fail every other picture the same way: after it, the rest
/// are reported as not checked. Nothing waits: `start()` returns at once.
class PictureCheck : public QObject {
    Q_OBJECT
public:
    explicit PictureCheck(QObject* parent = nullptr);
    ~PictureCheck() override;

    /// Starts a check of `addresses`, cancelling one that runs.
    void start(const QStringList& addresses, const PictureCheckOptions& options);
    /// Stops the check where it is; nothing is signalled after.
    void cancel();
    bool isRunning() const { return m_active; }

signals:
    /// The verdict on the picture at `index` of the list.
    void checked(int index, const ImageVerdict& verdict);
    /// The picture at `index` was not fetched (see the class comment).
    void notChecked(int index);
    /// Every picture has been reported.
    void finished();

private:
    void fill();
    bool mayStart(const QString& host) const;
    void startOne(int index);
    void done(int index, const HttpResult& result);
    void reportReady();
    void skipRest();
    void end();
    void stopTransfers();

    QStringList m_addresses;
    QStringList m_hosts;
    PictureCheckOptions m_options;
    QList<int> m_waiting;
    QHash<int, Transfer*> m_running;
    QHash<int, ImageVerdict> m_ready;
    int m_reported = 0;
    bool m_active = false;
    /// Changes with every start and cancel: what a signal's receiver did
    /// to the check shows in it.
    quint64 m_generation = 0;
};
