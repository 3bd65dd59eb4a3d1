#include "ui/windowplacement.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QMainWindow>
#include <QScreen>
#include <QWidget>
#include <algorithm>

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

namespace {

class FitOnShow : public QObject {
public:
    explicit FitOnShow(QWidget& window)
        : QObject(&window)
        , m_window(window) {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            m_window.setFixedSize(
                m_window.sizeHint().expandedTo(QSize(wholeTitleWidth(m_window), 0)));
            if (!m_centred)
                centreOnScreen(m_window);
            m_centred = true;
        }
        return false;
    }

private:
    QWidget& m_window;
    bool m_centred = false;
};

} // namespace

void fitAndCentreWhenFirstShown(QWidget& window) {
    new FitOnShow(window);
}

int wholeTitleWidth(const QWidget& window) {
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    const QFontMetrics metrics(font);
    // The icon and three buttons, each about a line high with some space,
    // and the margins at both ends.
    const int furniture = 7 * (metrics.height() + 4);
    return metrics.horizontalAdvance(window.windowTitle()) + furniture;
}

namespace {

/// Widens a window to its title's width. A fixed width stays fixed; a free
/// one is only resized, so that its layout still rules its smallest size.
void fitTitle(QWidget& window) {
    const int needed = wholeTitleWidth(window);
    if (window.width() >= needed)
        return;
    if (window.minimumWidth() == window.maximumWidth())
        window.setFixedWidth(needed);
    else if (window.maximumWidth() < needed)
        window.setMaximumWidth(needed);
    window.resize(needed, window.height());
}

class WholeTitles : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Show && event->type() != QEvent::WindowTitleChange)
            return false;
        auto* window = qobject_cast<QWidget*>(watched);
        if (!window || !window->isWindow() || qobject_cast<QMainWindow*>(window))
            return false;
        // Only windows with a title bar: not menus, tooltips or the splash.
        const Qt::WindowType type = window->windowType();
        if (type == Qt::Dialog || type == Qt::Window || type == Qt::Tool)
            fitTitle(*window);
        return false;
    }
};

} // namespace

void keepTitlesWhole(QObject* owner) {
    qApp->installEventFilter(new WholeTitles(owner));
}
