#include "app/productlogo.h"

#include "platform/picturecache.h"

#include <QPainter>
#include <QPainterPath>

namespace {

const QColor kBrandBlue(0x1F, 0x4E, 0x9C);
const QColor kBrandOrange(0xF2, 0x8C, 0x28);

} // namespace

ProductLogo::ProductLogo(QWidget* parent)
    : QWidget(parent) {
    setAttribute(Qt::WA_TranslucentBackground);
}

void ProductLogo::paintEvent(QPaintEvent*) {
    QPainter(this).drawImage(0, 0, picture());
}

QImage ProductLogo::picture() const {
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * ratio).toSize();
    if (m_picture.size() == pixels && m_picture.devicePixelRatio() == ratio)
        return m_picture;
    // The drawing's version goes first: a new drawing needs a new key.
    const QString key = QStringLiteral("logo 1|%1|%2x%3|%4")
                            .arg(QLatin1String(qVersion()))
                            .arg(pixels.width())
                            .arg(pixels.height())
                            .arg(ratio);
    const QString file =
        picturecache::file(QStringLiteral("logo-%1x%2").arg(pixels.width()).arg(pixels.height()));
    m_picture = picturecache::read(file, key);
    if (m_picture.isNull()) {
        m_picture = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
        m_picture.setDevicePixelRatio(ratio);
        m_picture.fill(Qt::transparent);
        QPainter painter(&m_picture);
        draw(painter);
        painter.end();
        picturecache::write(file, key, m_picture);
    }
    return m_picture;
}

void ProductLogo::draw(QPainter& painter) const {
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF card = QRectF(rect()).adjusted(1, 1, -1, -1);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(card, 10, 10);
    const qreal side = card.height() * 0.8;
    const qreal margin = (card.height() - side) / 2;
    drawTag(painter, QRectF(card.left() + margin, card.top() + margin, side, side));
    drawName(painter, card.adjusted(side + 2 * margin, 0, 0, 0));
}

void ProductLogo::drawTag(QPainter& painter, const QRectF& area) const {
    // A tag pointing left, with its string hole, tilted like one hanging
    // from an item.
    painter.save();
    painter.translate(area.center());
    painter.rotate(-20);
    const qreal w = area.width() * 0.8;
    const qreal h = area.height() * 0.55;
    QPainterPath tag;
    tag.moveTo(-w / 2, 0);
    tag.lineTo(-w / 4, -h / 2);
    tag.lineTo(w / 2, -h / 2);
    tag.lineTo(w / 2, h / 2);
    tag.lineTo(-w / 4, h / 2);
    tag.closeSubpath();
    painter.setBrush(kBrandOrange);
    painter.drawPath(tag);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(-w / 4, 0), h / 9, h / 9);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(qMax(1, int(h * 0.8)));
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(-w / 8, -h / 2, w * 5 / 8, h), Qt::AlignCenter, QStringLiteral("V"));
    painter.restore();
}

void ProductLogo::drawName(QPainter& painter, const QRectF& area) const {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(qMax(1, int(area.height() * 0.42)));
    painter.setFont(font);
    painter.setPen(kBrandBlue);
    painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Vantrel"));
}
