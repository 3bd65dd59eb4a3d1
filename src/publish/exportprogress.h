#pragma once

#include <QProgressBar>

class QTimer;

/// The progress bar `ProgressBar1` of the Publish page while the auction
/// site loads: its timer `Timer1` advances it by 10 every second; the tick
/// after it is full empties it again.
class ExportProgress : public QProgressBar {
    Q_OBJECT
public:
    explicit ExportProgress(QWidget* parent = nullptr);

    QTimer* timer() const { return m_timer; }
    void Timer1Timer();

private:
    QTimer* m_timer;
};
