#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

/// Watches the application for the first paint of the top-level window named
/// `windowName`; once that paint has reached the screen, prints "painted" and
/// ends the process at once.
class FirstPaintReporter : public QObject {
public:
    explicit FirstPaintReporter(const char* windowName)
        : m_windowName(QLatin1String(windowName)) {
        QCoreApplication::instance()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !m_seen && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window()->objectName() == m_windowName) {
            m_seen = true;
            // The paint is flushed to the screen when the paint round ends.
            QTimer::singleShot(0, [] {
                std::puts("painted");
                std::fflush(stdout);
                std::_Exit(0);
            });
        }
        return false;
    }

private:
    QString m_windowName;
    bool m_seen = false;
};
