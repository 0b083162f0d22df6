#include "picture/view/CViewPlacement.h"

QPointF CViewPlacement::Offset(const QRectF& view, const QSizeF& client) {
    const double dx = view.width() < client.width() ? (client.width() - view.width()) / 2 : 0.0;
    const double dy = view.height() < client.height() ? (client.height() - view.height()) / 2 : 0.0;
    return QPointF(dx, dy);
}
