#include "app/splashwindow.h"

#include "app/productlogo.h"
#include "ui/windowplacement.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QWindow>

namespace {

QLabel* createLoadingLabel(QWidget* parent) {
    auto* label = new QLabel(QStringLiteral("Loading..."), parent);
    label->setObjectName(QStringLiteral("lblLoading"));
    QFont font = label->font();
    font.setBold(true);
    font.setPixelSize(16);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::blue);
    label->setPalette(palette);
    return label;
}

} // namespace

SplashWindow::SplashWindow()
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("T_frmSplashLoad"));
    setFixedSize(586, 136);

    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("pnlSplash"));
    panel->setGeometry(rect());
    panel->setAutoFillBackground(true);
    // The palette has no title-bar colour of its own; the active selection
    // colour is the desktop's accent colour that title bars use.
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Active, QPalette::Highlight));
    panel->setPalette(palette);

    auto* logo = new ProductLogo(panel);
    logo->setObjectName(QStringLiteral("imgLogo"));
    logo->setGeometry(12, 12, 562, 112);
    // On the white card, where blue type stays readable on any accent colour.
    QLabel* loading = createLoadingLabel(panel);
    loading->adjustSize();
    loading->move(logo->geometry().right() - loading->width() - 16,
                  logo->geometry().bottom() - loading->height() - 10);
    loading->raise();
    centreOnScreen(*this);
}

void SplashWindow::showAndPaint() {
    show();
    // The window system maps the window asynchronously; wait briefly until
    // it can be painted, then paint now rather than at the next loop turn.
    const QDeadlineTimer deadline(500);
    while (!deadline.hasExpired() && !(windowHandle() && windowHandle()->isExposed()))
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    repaint();
    QCoreApplication::processEvents();
}
