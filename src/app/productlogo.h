#pragma once

#include <QImage>
#include <QWidget>

/// The product logo, drawn rather than loaded so that it scales to any size
/// and needs no picture file: a price tag carrying a "V" beside the product
/// name on a white card. The drawing of each size is kept in the user's
/// cache, so that the splash does not draw its large type at every start.
class ProductLogo : public QWidget {
    Q_OBJECT
public:
    explicit ProductLogo(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    /// The logo at the widget's size, read from the cache or drawn.
    QImage picture() const;
    void draw(QPainter& painter) const;
    void drawTag(QPainter& painter, const QRectF& area) const;
    void drawName(QPainter& painter, const QRectF& area) const;

    mutable QImage m_picture;
};
