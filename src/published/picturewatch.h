#pragma once

#include "http/picturecheck.h"
#include "published/publishedrecord.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QObject>
#include <QStringList>

/// The watch over the pictures of published listings: one picture-check run
/// over every address of the listings it is given (each address once, however
/// many listings share it), several at once but few from one server, and what
/// it found written to the record in one go. Nothing waits: `start()`
/// returns at once.
class PictureWatch : public QObject {
    Q_OBJECT
public:
    /// Several pictures at once, at most 4 from one server.
    static PictureCheckOptions defaultOptions();
    /// What a verdict means for a published picture.
    static PictureFinding findingOf(const ImageVerdict& verdict);

    explicit PictureWatch(PublishedRecord& record, QObject* parent = nullptr);
    ~PictureWatch() override;

    /// Checks the pictures of `listings`, cancelling a check that runs.
    void start(const QList<PublishedListing>& listings,
               const PictureCheckOptions& options = defaultOptions());
    /// Stops the check; what it found so far is written to the record.
    /// Nothing is signalled after.
    Status cancel();
    bool isRunning() const { return m_check.isRunning(); }

    int total() const { return int(m_addresses.size()); }
    int done() const { return m_done; }
    /// What the last check found, by address.
    const QHash<QString, PictureFinding>& findings() const { return m_findings; }
    /// Whether the record took what the last check found.
    const Status& stored() const { return m_stored; }

signals:
    void progress(int done, int total);
    /// Every picture was checked and the findings were written (see `stored`).
    void finished();

private:
    void store();

    PublishedRecord& m_record;
    PictureCheck m_check;
    QList<qint64> m_ids;
    QStringList m_addresses;
    QHash<QString, PictureFinding> m_findings;
    QDateTime m_started;
    Status m_stored;
    int m_done = 0;
    bool m_storePending = false;
};
