#include "published/picturewatch.h"

#include <QSet>

PictureCheckOptions PictureWatch::defaultOptions() {
    PictureCheckOptions options;
    options.atOnce = 8;
    options.atOncePerHost = 4;
    return options;
}

PictureFinding PictureWatch::findingOf(const ImageVerdict& verdict) {
    PictureFinding finding;
    switch (verdict.availability) {
    case ImageAvailability::Available:
        finding.state = PictureState::Online;
        break;
    case ImageAvailability::NotFound:
    case ImageAvailability::OtherDocument:
    case ImageAvailability::NotAnImage:
    case ImageAvailability::PasswordRequired:
        finding.state = PictureState::Missing;
        break;
    case ImageAvailability::TimedOut:
    case ImageAvailability::ProxyUnreachable:
    case ImageAvailability::FetchFailed:
        finding.state = PictureState::Unreachable;
        break;
    }
    finding.verdict = verdict.summary;
    if (!verdict.available() && !verdict.detail.isEmpty())
        finding.verdict += QStringLiteral("  (") + verdict.detail + QLatin1Char(')');
    return finding;
}

PictureWatch::PictureWatch(PublishedRecord& record, QObject* parent)
    : QObject(parent)
    , m_record(record) {
    connect(&m_check, &PictureCheck::checked, this, [this](int index, const ImageVerdict& verdict) {
        m_findings.insert(m_addresses.at(index), findingOf(verdict));
        emit progress(++m_done, total());
    });
    connect(&m_check, &PictureCheck::notChecked, this, [this](int index) {
        PictureFinding finding;
        finding.state = PictureState::Unreachable;
        finding.verdict = QStringLiteral("NOT CHECKED");
        m_findings.insert(m_addresses.at(index), finding);
        emit progress(++m_done, total());
    });
    connect(&m_check, &PictureCheck::finished, this, [this] {
        store();
        emit finished();
    });
}

PictureWatch::~PictureWatch() {
    if (isRunning())
        (void)cancel();
}

void PictureWatch::start(const QList<PublishedListing>& listings,
                         const PictureCheckOptions& options) {
    if (isRunning())
        (void)cancel();
    m_ids.clear();
    m_addresses.clear();
    m_findings.clear();
    m_done = 0;
    m_stored = {};
    QSet<QString> seen;
    for (const PublishedListing& listing : listings) {
        m_ids.append(listing.id);
        for (const PublishedPicture& picture : listing.pictures) {
            if (!seen.contains(picture.address)) {
                seen.insert(picture.address);
                m_addresses.append(picture.address);
            }
        }
    }
    m_started = QDateTime::currentDateTimeUtc();
    m_storePending = true;
    m_check.start(m_addresses, options);
}

Status PictureWatch::cancel() {
    m_check.cancel();
    store();
    return m_stored;
}

void PictureWatch::store() {
    if (!m_storePending)
        return;
    m_storePending = false;
    m_stored = m_record.storeFindings(m_ids, m_findings, m_started);
}
