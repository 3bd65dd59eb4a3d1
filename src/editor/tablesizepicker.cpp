#include "editor/tablesizepicker.h"

#include <QMouseEvent>
#include <QPainter>

TableSizePicker::TableSizePicker(QWidget* parent)
    : QFrame(parent, Qt::Popup) {
    setObjectName(QStringLiteral("TableSizePicker"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFrameShape(QFrame::Box);
    setMouseTracking(true);
    setFixedSize(kMaxColumns * kCell + 8, kMaxRows * kCell + 28);
}

void TableSizePicker::popupBelow(QWidget* anchor) {
    if (anchor)
        move(anchor->mapToGlobal(QPoint(0, anchor->height())));
    show();
}

QRect TableSizePicker::gridRect() const {
    return QRect(4, 4, kMaxColumns * kCell, kMaxRows * kCell);
}

void TableSizePicker::mark(int rows, int columns) {
    m_rows = qBound(0, rows, kMaxRows);
    m_columns = qBound(0, columns, kMaxColumns);
    update();
}

void TableSizePicker::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect grid = gridRect();
    for (int row = 0; row < kMaxRows; ++row) {
        for (int column = 0; column < kMaxColumns; ++column) {
            const QRect cell(grid.left() + column * kCell, grid.top() + row * kCell, kCell - 2,
                             kCell - 2);
            const bool marked = row < m_rows && column < m_columns;
            painter.fillRect(cell, marked ? palette().highlight() : palette().base());
            painter.setPen(palette().color(QPalette::Mid));
            painter.drawRect(cell);
        }
    }
    const QString caption = m_rows > 0 ? QStringLiteral("%1 x %2").arg(m_columns).arg(m_rows)
                                       : QStringLiteral("Cancel");
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(QRect(0, grid.bottom() + 2, width(), 22), Qt::AlignCenter, caption);
}

void TableSizePicker::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint() - gridRect().topLeft();
    if (!gridRect().contains(event->position().toPoint()))
        mark(0, 0);
    else
        mark(point.y() / kCell + 1, point.x() / kCell + 1);
}

void TableSizePicker::mouseReleaseEvent(QMouseEvent* event) {
    mouseMoveEvent(event);
    if (m_rows > 0 && m_columns > 0)
        emit sizeChosen(m_rows, m_columns);
    close();
}
