#pragma once

#include "http/picturecheck.h"

#include <QDateTime>
#include <QObject>
#include <functional>

class PictureWatch;
class PublishedRecord;
class Settings;
class UserDialogs;
class QWidget;

/// How the program's picture checks reach the Internet: directly or through
/// the proxy of the settings, several pictures at once, at most 4 from one
/// server.
PictureCheckOptions pictureWatchOptions(const Settings& settings);

/// The check of every published listing's pictures at start-up, when the
/// seller chose it in the settings: at most once a day, started once the
/// window is first painted, and running in the background. When it finds
/// pictures missing, the seller is asked whether to see the listings.
class StartupWatch : public QObject {
    Q_OBJECT
public:
    StartupWatch(PublishedRecord& record, const Settings& settings, UserDialogs& dialogs,
                 QWidget* window);
    ~StartupWatch() override;

    /// Starts the check when it is chosen and none ran within a day of
    /// `now`; true when it started.
    bool startIfDue(const QDateTime& now = QDateTime::currentDateTimeUtc());
    PictureWatch& watch() const { return *m_watch; }

signals:
    /// The seller wants to see the published listings.
    void listingsWanted();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ended();

    PublishedRecord& m_record;
    const Settings& m_settings;
    UserDialogs& m_dialogs;
    QWidget* m_window;
    PictureWatch* m_watch;
    bool m_painted = false;
};
