#pragma once

#include <QWidget>

/// The product logo, drawn rather than loaded so that it scales to any size
/// and needs no picture file: a price tag carrying a "V" beside the product
/// name on a white card.
class ProductLogo : public QWidget {
    Q_OBJECT
public:
    explicit ProductLogo(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void drawTag(QPainter& painter, const QRectF& area) const;
    void drawName(QPainter& painter, const QRectF& area) const;
};
