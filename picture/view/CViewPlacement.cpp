#include "picture/view/CViewPlacement.h"

#include <QPainter>

QPointF CViewPlacement::Offset(const QRectF& view, const QSizeF& client) {
    const double dx = view.width() < client.width() ? (client.width() - view.width()) / 2 : 0.0;
    const double dy = view.height() < client.height() ? (client.height() - view.height()) / 2 : 0.0;
    return QPointF(dx, dy);
}

void CViewPlacement::DrawMessage(QPainter& painter, const QRect& area, const QColor& colour,
                                 const QString& text) {
    painter.setPen(colour);
    painter.drawText(area.adjusted(12, 12, -12, -12), Qt::AlignCenter | Qt::TextWordWrap, text);
}

void CViewPlacement::DrawVisible(QPainter& painter, const QRectF& target, const QImage& image,
                                 const QRectF& visible) {
    const QRectF shown = target.intersected(visible);
    if (shown.isEmpty() || image.isNull() || target.isEmpty())
        return;
    const double sx = image.width() / target.width(), sy = image.height() / target.height();
    const QRectF source((shown.left() - target.left()) * sx, (shown.top() - target.top()) * sy,
                        shown.width() * sx, shown.height() * sy);
    painter.drawImage(shown, image, source);
}
