#include "publish/exportprogress.h"

#include <QTimer>

ExportProgress::ExportProgress(QWidget* parent)
    : QProgressBar(parent)
    , m_timer(new QTimer(this)) {
    setObjectName(QStringLiteral("ProgressBar1"));
    setRange(0, 100);
    setValue(0);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, &ExportProgress::Timer1Timer);
}

void ExportProgress::Timer1Timer() {
    const int next = value() + 10;
    setValue(next > maximum() ? minimum() : next);
}
