#include "docmodel/blockdecorations.h"

#include "docmodel/docproperties.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>

namespace {

void paintBorder(QPainter& painter, const QTextBlockFormat& format, const QRectF& blockRect) {
    const int width = format.intProperty(docprop::ParaBorderWidth);
    // Inside the paragraph's margins and around its text, which the margins
    // keep clear of it, as a page draws the border of a p element.
    const QRectF box =
        blockRect.adjusted(format.leftMargin() - width, format.topMargin() - width,
                           -format.rightMargin() + width, -format.bottomMargin() + width);
    const QColor color = format.colorProperty(docprop::ParaBorderColor);
    painter.fillRect(QRectF(box.left(), box.top(), box.width(), width), color);
    painter.fillRect(QRectF(box.left(), box.bottom() - width, box.width(), width), color);
    painter.fillRect(QRectF(box.left(), box.top(), width, box.height()), color);
    painter.fillRect(QRectF(box.right() - width, box.top(), width, box.height()), color);
}

void paintLine(QPainter& painter, const QTextBlock& block, const QRectF& rect) {
    const QTextBlockFormat format = block.blockFormat();
    // Across the paragraph, in its middle; below the text typed on it.
    const qreal middle = block.length() > 1 ? rect.bottom() : rect.center().y();
    const int thickness = docprop::hLineWidth(format);
    // Centred on the pixel row where the text layout puts its own mark of a
    // ruler (one dark dot, as the ruler has no width), to cover it.
    painter.fillRect(
        QRectF(rect.left(), qRound(middle) - (thickness - 1) / 2, rect.width(), thickness),
        docprop::hLineColor(format));
}

} // namespace

void blockdecorations::paint(QPainter& painter, const QTextDocument& document, const QRectF& clip) {
    QAbstractTextDocumentLayout* layout = document.documentLayout();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextBlockFormat format = block.blockFormat();
        const bool line = format.hasProperty(QTextFormat::BlockTrailingHorizontalRulerWidth);
        const bool border = format.intProperty(docprop::ParaBorderWidth) > 0;
        if (!line && !border)
            continue;
        const QRectF rect = layout->blockBoundingRect(block);
        if (!rect.intersects(clip))
            continue;
        if (line)
            paintLine(painter, block, rect);
        if (border)
            paintBorder(painter, format, rect);
    }
}
