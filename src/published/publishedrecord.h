#pragma once

#include "platform/result.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

class QSqlError;

/// What the last check found of one picture of a published listing.
enum class PictureState {
    NotChecked = 0,
    /// The picture shows as published.
    Online = 1,
    /// The server answered, without the picture (not found, another page,
    /// no picture, a password).
    Missing = 2,
    /// No answer: the server refused, was not found, or took too long.
    Unreachable = 3,
};

/// One picture of a published listing.
struct PublishedPicture {
    QString address;
    /// SHA-256 (hex) of the picture the listing was published with, when
    /// Vantrel had it as a file or bytes; empty for a picture known by its
    /// address alone.
    QString hash;
    PictureState state = PictureState::NotChecked;
    /// The last check's line: "OK", "NOT FOUND (404)", "TIMEOUT", ...
    QString verdict;
    QDateTime checked;
    /// When the picture was first found not online in its present run of
    /// failed checks; null while it is online or not checked.
    QDateTime since;

    bool operator==(const PublishedPicture& other) const;
};

/// One listing as it was published.
struct PublishedListing {
    qint64 id = 0;
    QDateTime published;
    /// The auction site it was posted to; empty when none was chosen.
    QString site;
    /// The document and layout files, full paths; empty when not saved.
    QString documentFile;
    QString layoutFile;
    /// The document's first heading, or its first line.
    QString title;
    /// The listing code as it was copied.
    QString code;
    QList<PublishedPicture> pictures;
    /// The last check of its pictures; null before the first.
    QDateTime checked;

    int count(PictureState state) const;
    /// Checked, and no picture was found anything but online.
    bool allOnline() const;
    bool operator==(const PublishedListing& other) const;
};

/// What a check found at one address.
struct PictureFinding {
    PictureState state = PictureState::NotChecked;
    QString verdict;
};

/// The record of published listings: an SQLite database in the shared data
/// folder, opened at its first use. Every change is one transaction: a
/// listing is there with all its pictures or not at all. A file that is not
/// a sound record is set aside under another name (nothing is deleted), a
/// new record is started and `setAside` says so; a record that cannot be
/// opened or written is a failure of the call, never more.
class PublishedRecord : public QObject {
    Q_OBJECT
public:
    /// The record's file in the shared data folder.
    static QString fileIn(const QString& sharedDataFolder);

    explicit PublishedRecord(QString fileName, QObject* parent = nullptr);
    ~PublishedRecord() override;

    const QString& fileName() const { return m_fileName; }

    /// Opens the record, once; every other call opens it as needed.
    Status open();

    /// Adds a listing with its pictures; gives its id.
    Result<qint64> add(const PublishedListing& listing);
    /// Every listing published at or after `since` (all for a null time),
    /// the newest first, with its pictures in their order.
    Result<QList<PublishedListing>> listings(const QDateTime& since = QDateTime());
    Status remove(const QList<qint64>& ids);
    /// Notes what a check at `when` found at each address in the pictures
    /// of the listings `ids`.
    Status storeFindings(const QList<qint64>& ids, const QHash<QString, PictureFinding>& findings,
                         const QDateTime& when);

    /// The start of the last check of every listing; null before the first.
    QDateTime lastWholeCheck();
    Status setLastWholeCheck(const QDateTime& when);

signals:
    /// Listings were added, removed or checked.
    void changed();
    /// The file was damaged and set aside: `message` says where it went.
    void setAside(const QString& message);

private:
    /// Connects to the file and makes sure it holds the record's tables.
    QSqlError connectAndPrepare();
    void disconnect();
    Status ensureOpen();
    Status setAsideDamaged(const QSqlError& error);

    QString m_fileName;
    QString m_connection;
    bool m_open = false;
};
