#include "app/pagecontrol.h"

#include <QTabBar>

namespace {

class FixedSizeTabBar : public QTabBar {
public:
    using QTabBar::QTabBar;

protected:
    QSize tabSizeHint(int) const override { return {320, 30}; }
};

} // namespace

PageControl::PageControl(QWidget* parent)
    : QTabWidget(parent) {
    setObjectName(QStringLiteral("pgcMain"));
    auto* bar = new FixedSizeTabBar(this);
    bar->setAttribute(Qt::WA_Hover);
    setTabBar(bar);
}
