#include "publish/startupwatch.h"

#include "platform/uilanguage.h"
#include "published/picturewatch.h"
#include "settings/settings.h"
#include "ui/userdialogs.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <algorithm>

PictureCheckOptions pictureWatchOptions(const Settings& settings) {
    PictureCheckOptions options = PictureWatch::defaultOptions();
    if (settings.integer(SettingKey::connType) != 0) {
        options.proxyHost = settings.text(SettingKey::httpProxy);
        const QString port = settings.text(SettingKey::httpPort);
        options.proxyPort = port.isEmpty() ? QStringLiteral("80") : port;
    }
    return options;
}

StartupWatch::StartupWatch(PublishedRecord& record, const Settings& settings, UserDialogs& dialogs,
                           QWidget* window)
    : QObject(window)
    , m_record(record)
    , m_settings(settings)
    , m_dialogs(dialogs)
    , m_window(window)
    , m_watch(new PictureWatch(record, this)) {
    connect(m_watch, &PictureWatch::finished, this, &StartupWatch::ended);
    if (m_window)
        m_window->installEventFilter(this);
}

StartupWatch::~StartupWatch() = default;

bool StartupWatch::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_window && event->type() == QEvent::Paint && !m_painted) {
        // Nothing of it before the window is on the screen.
        m_painted = true;
        m_window->removeEventFilter(this);
        QTimer::singleShot(0, this, [this] {
            if (m_window->isVisible())
                startIfDue();
        });
    }
    return QObject::eventFilter(watched, event);
}

bool StartupWatch::startIfDue(const QDateTime& now) {
    if (!m_settings.flag(SettingKey::watchAtStart) || m_watch->isRunning())
        return false;
    const QDateTime last = m_record.lastWholeCheck();
    // A clock set back since is no reason to wait.
    if (last.isValid() && last <= now && last.addDays(1) > now)
        return false;
    const Result<QList<PublishedListing>> listings = m_record.listings();
    if (!listings || listings.value().isEmpty())
        return false;
    // Noted first: a check that cannot end is not started at every start.
    (void)m_record.setLastWholeCheck(now);
    m_watch->start(listings.value(), pictureWatchOptions(m_settings));
    return true;
}

void StartupWatch::ended() {
    if (!m_watch->stored())
        return m_dialogs.showMessage(m_watch->stored().error(), UserDialogs::Icon::Warning);
    // Not one answer from any server: this computer is offline, which is no
    // news about the listings.
    const auto& findings = m_watch->findings();
    if (std::none_of(findings.cbegin(), findings.cend(), [](const PictureFinding& finding) {
            return finding.state == PictureState::Online || finding.state == PictureState::Missing;
        }))
        return;
    const Result<QList<PublishedListing>> listings = m_record.listings();
    if (!listings)
        return;
    int wanting = 0;
    for (const PublishedListing& listing : listings.value())
        if (listing.checked.isValid() && !listing.allOnline())
            ++wanting;
    if (wanting == 0)
        return;
    if (m_dialogs.askYesNo(
            uilanguage::text("MESSAGES", "publishedLostAtStart",
                             QStringLiteral("Pictures of %1 published listing(s) are no longer "
                                            "online. Show the published listings?"))
                .arg(wanting),
            uilanguage::text("MESSAGES", "publishedTitle", QStringLiteral("Published listings")),
            UserDialogs::Icon::Warning))
        emit listingsWanted();
}
