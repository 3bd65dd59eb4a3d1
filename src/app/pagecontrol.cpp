#include "app/pagecontrol.h"

#include <QTabBar>

namespace {

/// Tabs all of one size, 320 by 30 pixels, or as much more as the desktop's
/// font needs to show every caption whole.
class FixedSizeTabBar : public QTabBar {
public:
    using QTabBar::QTabBar;

protected:
    QSize tabSizeHint(int) const override {
        QSize size = PageControl::tabSize;
        for (int i = 0; i < count(); ++i)
            size = size.expandedTo(QTabBar::tabSizeHint(i));
        return size;
    }
};

} // namespace

PageControl::PageControl(QWidget* parent)
    : QTabWidget(parent) {
    setObjectName(QStringLiteral("pgcMain"));
    auto* bar = new FixedSizeTabBar(this);
    bar->setAttribute(Qt::WA_Hover);
    setTabBar(bar);
}

QSize PageControl::sizeHint() const {
    const QWidget* page = currentWidget();
    return page ? withTabs(page->sizeHint()) : QTabWidget::sizeHint();
}

QSize PageControl::minimumSizeHint() const {
    const QWidget* page = currentWidget();
    return page ? withTabs(page->minimumSizeHint()) : QTabWidget::minimumSizeHint();
}

QSize PageControl::withTabs(QSize pageSize) const {
    const QMargins margins = contentsMargins();
    // The page's frame is drawn around it, a few pixels on each side.
    constexpr int frame = 4;
    return pageSize +
           QSize(margins.left() + margins.right() + frame,
                 margins.top() + margins.bottom() + tabBar()->sizeHint().height() + frame);
}
