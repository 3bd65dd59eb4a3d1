#include "ui/sidepanelscroll.h"

#include <QEvent>
#include <QScrollBar>

SidePanelScroll::SidePanelScroll(QWidget* panel, QWidget* parent)
    : QScrollArea(parent) {
    setWidget(panel);
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    // A click on one of the panel's controls must not leave the keyboard
    // with the panel: the scroll area would take the focus they refuse.
    setFocusPolicy(Qt::NoFocus);
    verticalScrollBar()->installEventFilter(this);
    fitWidth();
}

bool SidePanelScroll::eventFilter(QObject* watched, QEvent* event) {
    if (watched == verticalScrollBar() &&
        (event->type() == QEvent::Show || event->type() == QEvent::Hide))
        fitWidth();
    return QScrollArea::eventFilter(watched, event);
}

void SidePanelScroll::fitWidth() {
    const QWidget* panel = widget();
    const int panelWidth =
        qBound(panel->minimumWidth(), panel->sizeHint().width(), panel->maximumWidth());
    // The area shows and hides the bar's container, not the bar; the area
    // itself may not be shown yet.
    const bool barShown = verticalScrollBar()->isVisibleTo(this);
    setFixedWidth(panelWidth + (barShown ? verticalScrollBar()->sizeHint().width() : 0));
}
