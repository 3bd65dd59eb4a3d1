#include "platform/windowplacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

void centreOnScreen(QWidget& window) {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window.move(screen->availableGeometry().center() - window.rect().center());
}

namespace {

class FirstShow : public QObject {
public:
    FirstShow(QWidget& widget, std::function<void()> action)
        : QObject(&widget)
        , m_action(std::move(action)) {
        widget.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // The show event comes before the window system maps a window.
        if (event->type() == QEvent::Show) {
            watched->removeEventFilter(this);
            deleteLater();
            m_action();
        }
        return false;
    }

private:
    std::function<void()> m_action;
};

} // namespace

void onFirstShow(QWidget& widget, std::function<void()> action) {
    new FirstShow(widget, std::move(action));
}

void fitAndCentreWhenFirstShown(QWidget& window) {
    onFirstShow(window, [&window] {
        window.setFixedSize(window.sizeHint());
        centreOnScreen(window);
    });
}
