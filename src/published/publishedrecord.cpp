#include "published/publishedrecord.h"

#include "platform/uilanguage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>
#include <atomic>

namespace {

const QString driver = QStringLiteral("QSQLITE");

/// SQLite's codes for a file that is no sound database.
constexpr int sqliteCorrupt = 11;
constexpr int sqliteNotADatabase = 26;

const char* const schema[] = {
    "CREATE TABLE IF NOT EXISTS listing ("
    " id INTEGER PRIMARY KEY,"
    " published TEXT NOT NULL,"
    " site TEXT NOT NULL DEFAULT '',"
    " document TEXT NOT NULL DEFAULT '',"
    " layout TEXT NOT NULL DEFAULT '',"
    " title TEXT NOT NULL DEFAULT '',"
    " code TEXT NOT NULL DEFAULT '',"
    " checked TEXT NOT NULL DEFAULT '')",
    "CREATE TABLE IF NOT EXISTS picture ("
    " id INTEGER PRIMARY KEY,"
    " listing INTEGER NOT NULL,"
    " position INTEGER NOT NULL,"
    " address TEXT NOT NULL,"
    " hash TEXT NOT NULL DEFAULT '',"
    " state INTEGER NOT NULL DEFAULT 0,"
    " verdict TEXT NOT NULL DEFAULT '',"
    " checked TEXT NOT NULL DEFAULT '',"
    " since TEXT NOT NULL DEFAULT '')",
    "CREATE INDEX IF NOT EXISTS picture_listing ON picture (listing, position)",
    "CREATE TABLE IF NOT EXISTS meta (key TEXT PRIMARY KEY, value TEXT NOT NULL)",
};

/// Reads every column the program uses of a table that is there already: a
/// file of another shape fails here, before anything is written to it.
const struct {
    const char* table;
    const char* probe;
} shapeProbes[] = {
    {"listing",
     "SELECT id, published, site, document, layout, title, code, checked FROM listing LIMIT 0"},
    {"picture", "SELECT id, listing, position, address, hash, state, verdict, checked, since "
                "FROM picture LIMIT 0"},
    {"meta", "SELECT key, value FROM meta LIMIT 0"},
};

/// Times are kept as UTC ISO 8601 text with milliseconds: they sort as text.
/// (A null text binds as SQL NULL: the statements turn it into ''.)
QString timeText(const QDateTime& time) {
    return time.isValid() ? time.toUTC().toString(Qt::ISODateWithMs) : QString();
}

QDateTime timeFrom(const QString& text) {
    return text.isEmpty() ? QDateTime() : QDateTime::fromString(text, Qt::ISODateWithMs);
}

QString recordProblem(const QString& fileName, const QSqlError& error) {
    return uilanguage::text("MESSAGES", "publishedRecordFailed",
                            QStringLiteral("The record of published listings (%1) could not be "
                                           "used: %2"))
        .arg(QDir::toNativeSeparators(fileName), error.text());
}

bool isDamage(const QSqlError& error) {
    const int code = error.nativeErrorCode().toInt();
    return code == sqliteCorrupt || code == sqliteNotADatabase;
}

PictureState stateFrom(int value) {
    return value >= int(PictureState::NotChecked) && value <= int(PictureState::Unreachable)
               ? PictureState(value)
               : PictureState::NotChecked;
}

/// A failed statement or transaction, rolled back.
struct SqlFailure {
    QSqlError error;
};

void run(QSqlQuery& query) {
    if (!query.exec())
        throw SqlFailure{query.lastError()};
}

QSqlQuery prepared(QSqlDatabase& db, const char* statement) {
    QSqlQuery query(db);
    if (!query.prepare(QString::fromLatin1(statement)))
        throw SqlFailure{query.lastError()};
    return query;
}

/// Runs `work` in one transaction: all of it is written, or nothing.
template <typename Work>
Status inTransaction(QSqlDatabase db, const QString& fileName, Work work) {
    if (!db.transaction())
        return fail(recordProblem(fileName, db.lastError()));
    try {
        work(db);
    } catch (const SqlFailure& failure) {
        db.rollback();
        return fail(recordProblem(fileName, failure.error));
    }
    if (!db.commit()) {
        const QSqlError error = db.lastError();
        db.rollback();
        return fail(recordProblem(fileName, error));
    }
    return {};
}

} // namespace

bool PublishedPicture::operator==(const PublishedPicture& other) const {
    return address == other.address && hash == other.hash && state == other.state &&
           verdict == other.verdict && checked == other.checked && since == other.since;
}

int PublishedListing::count(PictureState state) const {
    return int(std::count_if(pictures.cbegin(), pictures.cend(),
                             [state](const PublishedPicture& p) { return p.state == state; }));
}

bool PublishedListing::allOnline() const {
    return checked.isValid() && count(PictureState::Online) == pictures.size();
}

bool PublishedListing::operator==(const PublishedListing& other) const {
    return id == other.id && published == other.published && site == other.site &&
           documentFile == other.documentFile && layoutFile == other.layoutFile &&
           title == other.title && code == other.code && pictures == other.pictures &&
           checked == other.checked;
}

QString PublishedRecord::fileIn(const QString& sharedDataFolder) {
    return sharedDataFolder + QStringLiteral("published.sqlite");
}

PublishedRecord::PublishedRecord(QString fileName, QObject* parent)
    : QObject(parent)
    , m_fileName(std::move(fileName)) {
    static std::atomic<int> made{0};
    m_connection = QStringLiteral("vantrel-published-%1").arg(++made);
}

PublishedRecord::~PublishedRecord() {
    disconnect();
}

void PublishedRecord::disconnect() {
    if (!QSqlDatabase::contains(m_connection))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
    m_open = false;
}

Status PublishedRecord::open() {
    if (m_open)
        return {};
    if (!QSqlDatabase::isDriverAvailable(driver))
        return fail(
            uilanguage::text("MESSAGES", "publishedNoDriver",
                             QStringLiteral("The record of published listings needs "
                                            "Qt's SQLite driver (Debian package "
                                            "libqt6sql6-sqlite), which is not installed.")));
    QDir().mkpath(QFileInfo(m_fileName).absolutePath());
    const QSqlError error = connectAndPrepare();
    if (error.type() == QSqlError::NoError) {
        m_open = true;
        return {};
    }
    disconnect();
    // Only a file SQLite calls no database, or one of another shape, is
    // damaged: a locked or unwritable one is left as it is.
    if (!isDamage(error))
        return fail(recordProblem(m_fileName, error));
    return setAsideDamaged(error);
}

Status PublishedRecord::ensureOpen() {
    return open();
}

QSqlError PublishedRecord::connectAndPrepare() {
    disconnect();
    QSqlDatabase db = QSqlDatabase::addDatabase(driver, m_connection);
    db.setDatabaseName(m_fileName);
    // Another run of the program may be writing: wait a little, not long.
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000"));
    if (!db.open())
        return db.lastError();
    QSqlQuery check(db);
    if (!check.exec(QStringLiteral("PRAGMA quick_check")))
        return check.lastError();
    if (!check.next() || check.value(0).toString() != QLatin1String("ok"))
        return QSqlError(QString(), check.value(0).toString(), QSqlError::StatementError,
                         QString::number(sqliteCorrupt));
    check.finish();
    for (const auto& shape : shapeProbes) {
        QSqlQuery exists(db);
        exists.prepare(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND "
                                      "name = ?"));
        exists.addBindValue(QLatin1String(shape.table));
        if (!exists.exec())
            return exists.lastError();
        if (!exists.next())
            continue;
        QSqlQuery query(db);
        if (!query.exec(QString::fromLatin1(shape.probe))) {
            // Tables of the same names but other columns: not this record.
            return QSqlError(QString(), query.lastError().databaseText(), QSqlError::StatementError,
                             QString::number(sqliteCorrupt));
        }
    }
    for (const char* statement : schema) {
        QSqlQuery query(db);
        if (!query.exec(QString::fromLatin1(statement)))
            return query.lastError();
    }
    return {};
}

Status PublishedRecord::setAsideDamaged(const QSqlError& error) {
    const QString stamp =
        QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString aside = m_fileName + QStringLiteral(".damaged-") + stamp;
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = m_fileName + QStringLiteral(".damaged-") + stamp + QLatin1Char('-') +
                QString::number(n);
    if (!QFile::rename(m_fileName, aside))
        return fail(recordProblem(m_fileName, error));
    // A journal left beside the damaged file belongs to it.
    for (const char* suffix : {"-journal", "-wal", "-shm"}) {
        const QString companion = m_fileName + QLatin1String(suffix);
        if (QFileInfo::exists(companion))
            QFile::rename(companion, aside + QLatin1String(suffix));
    }
    if (const QSqlError fresh = connectAndPrepare(); fresh.type() != QSqlError::NoError) {
        disconnect();
        return fail(recordProblem(m_fileName, fresh));
    }
    m_open = true;
    emit setAside(uilanguage::text("MESSAGES", "publishedRecordSetAside",
                                   QStringLiteral("The record of published listings was "
                                                  "damaged (%1). It was set aside as %2 and a "
                                                  "new, empty record was started."))
                      .arg(error.databaseText().trimmed(), QDir::toNativeSeparators(aside)));
    return {};
}

Result<qint64> PublishedRecord::add(const PublishedListing& listing) {
    if (const Status opened = ensureOpen(); !opened)
        return fail(opened.error());
    qint64 id = 0;
    const Status written =
        inTransaction(QSqlDatabase::database(m_connection), m_fileName, [&](QSqlDatabase& db) {
            QSqlQuery insert = prepared(
                db, "INSERT INTO listing (published, site, document, layout, title, code, "
                    "checked) VALUES (?, COALESCE(?, ''), COALESCE(?, ''), COALESCE(?, ''), "
                    "COALESCE(?, ''), COALESCE(?, ''), COALESCE(?, ''))");
            insert.addBindValue(timeText(listing.published));
            insert.addBindValue(listing.site);
            insert.addBindValue(listing.documentFile);
            insert.addBindValue(listing.layoutFile);
            insert.addBindValue(listing.title);
            insert.addBindValue(listing.code);
            insert.addBindValue(timeText(listing.checked));
            run(insert);
            id = insert.lastInsertId().toLongLong();
            QSqlQuery picture = prepared(
                db, "INSERT INTO picture (listing, position, address, hash, state, verdict, "
                    "checked, since) VALUES (?, ?, COALESCE(?, ''), COALESCE(?, ''), ?, "
                    "COALESCE(?, ''), COALESCE(?, ''), COALESCE(?, ''))");
            for (int position = 0; position < listing.pictures.size(); ++position) {
                const PublishedPicture& p = listing.pictures.at(position);
                picture.addBindValue(id);
                picture.addBindValue(position);
                picture.addBindValue(p.address);
                picture.addBindValue(p.hash);
                picture.addBindValue(int(p.state));
                picture.addBindValue(p.verdict);
                picture.addBindValue(timeText(p.checked));
                picture.addBindValue(timeText(p.since));
                run(picture);
            }
        });
    if (!written)
        return fail(written.error());
    emit changed();
    return id;
}

Result<QList<PublishedListing>> PublishedRecord::listings(const QDateTime& since) {
    if (const Status opened = ensureOpen(); !opened)
        return fail(opened.error());
    QSqlDatabase db = QSqlDatabase::database(m_connection);
    QList<PublishedListing> found;
    QHash<qint64, qsizetype> byId;
    // One read of both tables, so that a check written meanwhile is seen
    // whole or not at all.
    if (!db.transaction())
        return fail(recordProblem(m_fileName, db.lastError()));
    QSqlQuery listings(db);
    listings.setForwardOnly(true);
    listings.prepare(QStringLiteral(
        "SELECT id, published, site, document, layout, title, code, checked FROM listing "
        "WHERE published >= COALESCE(?, '') ORDER BY published DESC, id DESC"));
    listings.addBindValue(since.isValid() ? timeText(since) : QString());
    if (!listings.exec()) {
        const QSqlError error = listings.lastError();
        db.rollback();
        return fail(recordProblem(m_fileName, error));
    }
    while (listings.next()) {
        PublishedListing listing;
        listing.id = listings.value(0).toLongLong();
        listing.published = timeFrom(listings.value(1).toString());
        listing.site = listings.value(2).toString();
        listing.documentFile = listings.value(3).toString();
        listing.layoutFile = listings.value(4).toString();
        listing.title = listings.value(5).toString();
        listing.code = listings.value(6).toString();
        listing.checked = timeFrom(listings.value(7).toString());
        byId.insert(listing.id, found.size());
        found.append(listing);
    }
    QSqlQuery pictures(db);
    pictures.setForwardOnly(true);
    if (!pictures.exec(QStringLiteral("SELECT listing, address, hash, state, verdict, checked, "
                                      "since FROM picture ORDER BY listing, position"))) {
        const QSqlError error = pictures.lastError();
        db.rollback();
        return fail(recordProblem(m_fileName, error));
    }
    while (pictures.next()) {
        const auto at = byId.constFind(pictures.value(0).toLongLong());
        if (at == byId.constEnd())
            continue;
        PublishedPicture picture;
        picture.address = pictures.value(1).toString();
        picture.hash = pictures.value(2).toString();
        picture.state = stateFrom(pictures.value(3).toInt());
        picture.verdict = pictures.value(4).toString();
        picture.checked = timeFrom(pictures.value(5).toString());
        picture.since = timeFrom(pictures.value(6).toString());
        found[*at].pictures.append(picture);
    }
    db.commit();
    return found;
}

Status PublishedRecord::remove(const QList<qint64>& ids) {
    if (const Status opened = ensureOpen(); !opened)
        return opened;
    const Status written =
        inTransaction(QSqlDatabase::database(m_connection), m_fileName, [&](QSqlDatabase& db) {
            QSqlQuery pictures = prepared(db, "DELETE FROM picture WHERE listing = ?");
            QSqlQuery listing = prepared(db, "DELETE FROM listing WHERE id = ?");
            for (const qint64 id : ids) {
                pictures.addBindValue(id);
                run(pictures);
                listing.addBindValue(id);
                run(listing);
            }
        });
    if (written)
        emit changed();
    return written;
}

Status PublishedRecord::storeFindings(const QList<qint64>& ids,
                                      const QHash<QString, PictureFinding>& findings,
                                      const QDateTime& when) {
    if (const Status opened = ensureOpen(); !opened)
        return opened;
    const QString at = timeText(when);
    const Status written =
        inTransaction(QSqlDatabase::database(m_connection), m_fileName, [&](QSqlDatabase& db) {
            // A picture keeps the time it was first found wanting until it is
            // online again.
            QSqlQuery picture = prepared(
                db, "UPDATE picture SET state = :state, verdict = COALESCE(:verdict, ''), checked "
                    "= :at, "
                    "since = CASE WHEN :online THEN '' WHEN state IN (2, 3) AND since <> '' "
                    "THEN since ELSE :at END WHERE listing = :listing AND address = :address");
            QSqlQuery listing = prepared(db, "UPDATE listing SET checked = ? WHERE id = ?");
            QSqlQuery addresses = prepared(db, "SELECT address FROM picture WHERE listing = ?");
            for (const qint64 id : ids) {
                addresses.addBindValue(id);
                run(addresses);
                QStringList names;
                while (addresses.next())
                    names.append(addresses.value(0).toString());
                bool wholeListing = true;
                for (const QString& address : std::as_const(names)) {
                    const auto found = findings.constFind(address);
                    if (found == findings.constEnd()) {
                        wholeListing = false;
                        continue;
                    }
                    picture.bindValue(QStringLiteral(":state"), int(found->state));
                    picture.bindValue(QStringLiteral(":verdict"), found->verdict);
                    picture.bindValue(QStringLiteral(":at"), at);
                    picture.bindValue(QStringLiteral(":online"),
                                      found->state == PictureState::Online);
                    picture.bindValue(QStringLiteral(":listing"), id);
                    picture.bindValue(QStringLiteral(":address"), address);
                    run(picture);
                }
                // A check cancelled halfway leaves the listing's own time.
                if (wholeListing) {
                    listing.addBindValue(at);
                    listing.addBindValue(id);
                    run(listing);
                }
            }
        });
    if (written)
        emit changed();
    return written;
}

QDateTime PublishedRecord::lastWholeCheck() {
    if (!ensureOpen())
        return {};
    QSqlQuery query(QSqlDatabase::database(m_connection));
    if (!query.exec(QStringLiteral("SELECT value FROM meta WHERE key = 'lastWholeCheck'")) ||
        !query.next())
        return {};
    return timeFrom(query.value(0).toString());
}

Status PublishedRecord::setLastWholeCheck(const QDateTime& when) {
    if (const Status opened = ensureOpen(); !opened)
        return opened;
    return inTransaction(QSqlDatabase::database(m_connection), m_fileName, [&](QSqlDatabase& db) {
        QSqlQuery query =
            prepared(db, "INSERT OR REPLACE INTO meta (key, value) VALUES ('lastWholeCheck', ?)");
        query.addBindValue(timeText(when));
        run(query);
    });
}
