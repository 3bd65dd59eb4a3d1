#pragma once

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTextEdit>
#include <QWidget>
#include <QWindow>
#include <cstdio>
#include <cstdlib>

/// Watches the application for the first paint of the top-level window named
/// `windowName`; once that paint has reached the screen, prints "painted" and
/// ends the process at once.
///
/// A window paints while its window-system window handles an expose or an
/// update request, and the painted frame goes to the screen before that
/// handling returns. The reporter lets such an event through itself and
/// reports when it returns having painted the window: the moment the first
/// frame is on the screen, before whatever the program does next.
class FirstPaintReporter : public QObject {
public:
    explicit FirstPaintReporter(const char* windowName)
        : m_windowName(QLatin1String(windowName)) {
        QCoreApplication::instance()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window()->objectName() == m_windowName)
            m_painted = true;
        const bool paintRound =
            event->type() == QEvent::Expose || event->type() == QEvent::UpdateRequest;
        if (!paintRound || m_handling || !isTheWindow(watched))
            return false;
        m_handling = true;
        QCoreApplication::sendEvent(watched, event);
        m_handling = false;
        if (m_painted) {
            std::puts("painted");
            std::fflush(stdout);
            std::_Exit(0);
        }
        return true; // handled above
    }

private:
    bool isTheWindow(QObject* watched) const {
        auto* window = qobject_cast<QWindow*>(watched);
        if (!window)
            return false;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->objectName() == m_windowName && widget->windowHandle() == window)
                return true;
        }
        return false;
    }

    QString m_windowName;
    bool m_painted = false;
    bool m_handling = false;
};

/// The baseline: a bare text editor window of the main window's size, shown
/// in a new application; reports its first paint.
inline int runBareWindow(int& argc, char** argv) {
    QApplication app(argc, argv);
    FirstPaintReporter reporter("bare");
    QTextEdit window;
    window.setObjectName(QStringLiteral("bare"));
    window.resize(1008, 760);
    window.show();
    return app.exec();
}
