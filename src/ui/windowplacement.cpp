#include "ui/windowplacement.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QMainWindow>
#include <QMargins>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace {

/// The window manager's frame around a window. Until the window is shown
/// the frame is not known: it is taken as a title bar of the title font's
/// height with some space, and thin borders.
QMargins frameMargins(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    const QRect inner = window.geometry();
    if (window.windowFlags().testFlag(Qt::FramelessWindowHint) ||
        window.windowType() == Qt::SplashScreen)
        return {};
    if (window.isVisible() && frame != inner)
        return {inner.left() - frame.left(), inner.top() - frame.top(),
                frame.right() - inner.right(), frame.bottom() - inner.bottom()};
    const QFontMetrics title(QApplication::font("QMdiSubWindowTitleBar"));
    constexpr int border = 4;
    return {border, title.height() + 12, border, border};
}

} // namespace

void centreOnScreen(QWidget& window) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        QRect frame(QPoint(), window.size().grownBy(frameMargins(window)));
        frame.moveCenter(available.center());
        window.move(placeWithin(frame, available).topLeft());
    }
}

QRect placeWithin(const QRect& frame, const QRect& available) {
    QRect placed(frame.topLeft(), frame.size().boundedTo(available.size()));
    // Right and bottom first: where the window is as large as the area, the
    // left and top edges, with the title bar, are the ones that must show.
    if (placed.right() > available.right())
        placed.moveRight(available.right());
    if (placed.bottom() > available.bottom())
        placed.moveBottom(available.bottom());
    if (placed.left() < available.left())
        placed.moveLeft(available.left());
    if (placed.top() < available.top())
        placed.moveTop(available.top());
    return placed;
}

void placeOnScreen(QWidget& window, const QSize& size) {
    const QScreen* screen = window.screen();
    if (!screen) {
        window.resize(size);
        return;
    }
    const QRect available = screen->availableGeometry();
    const QMargins frame = frameMargins(window);
    QRect wanted(QPoint(), size.grownBy(frame));
    wanted.moveCenter(available.center());
    const QRect placed = placeWithin(wanted, available);
    window.resize(placed.size().shrunkBy(frame));
    window.move(placed.topLeft());
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
