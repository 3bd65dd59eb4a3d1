#include "docmodel/anchormarker.h"

#include <QPainter>
#include <QPolygonF>

QSizeF AnchorMarker::intrinsicSize(QTextDocument*, int, const QTextFormat&) {
    return QSizeF(8, 10);
}

void AnchorMarker::drawObject(QPainter* painter, const QRectF& rect, QTextDocument*, int,
                              const QTextFormat&) {
    painter->save();
    painter->setPen(QColor(0, 128, 0));
    painter->setBrush(QColor(0, 160, 0));
    painter->drawLine(rect.bottomLeft() + QPointF(1, 0), rect.topLeft() + QPointF(1, 0));
    painter->drawPolygon(
        QPolygonF({rect.topLeft() + QPointF(1, 0), rect.topLeft() + QPointF(7, 2.5),
                   rect.topLeft() + QPointF(1, 5)}));
    painter->restore();
}
