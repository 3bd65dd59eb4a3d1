#pragma once

#include <QScrollArea>

/// Holds a page's narrow side panel so that a screen too low for it scrolls
/// the panel instead of cutting off its lower controls. It scrolls up and
/// down only, draws no frame, lets the panel fill its height, and is as wide
/// as the panel, plus the scroll bar while the bar shows.
class SidePanelScroll : public QScrollArea {
    Q_OBJECT
public:
    SidePanelScroll(QWidget* panel, QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fitWidth();
};
