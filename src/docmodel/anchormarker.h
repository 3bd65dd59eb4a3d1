#pragma once

#include <QObject>
#include <QTextObjectInterface>

/// Draws named anchors in the editor as small flags, so the writer sees
/// where they are; they take no room in exported pages.
class AnchorMarker : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)
public:
    using QObject::QObject;

    QSizeF intrinsicSize(QTextDocument* document, int position, const QTextFormat& format) override;
    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument* document, int position,
                    const QTextFormat& format) override;
};
