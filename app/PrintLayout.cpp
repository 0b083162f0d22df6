#include "app/PrintLayout.h"

#include <algorithm>

namespace print_layout {

QSizeF FrameSize(double w, double h) {
    if (w <= 0 || h <= 0)
        return QSizeF();
    const double r = w / h;
    QSizeF size =
        h >= w ? QSizeF(r * kFrameHeight, kFrameHeight) : QSizeF(kFrameWidth, kFrameWidth / r);
    if (size.width() > kFrameWidth)
        size = QSizeF(kFrameWidth, kFrameWidth / r);
    if (size.height() > kFrameHeight)
        size = QSizeF(kFrameHeight * r, kFrameHeight);
    return size;
}

QRectF MapToPage(double left, double top, const QSizeF& size, const QSizeF& page) {
    if (page.isEmpty() || size.isEmpty())
        return QRectF();
    const double scale = std::min(page.width() / kFrameWidth, page.height() / kFrameHeight);
    return QRectF(left * scale, top * scale, size.width() * scale, size.height() * scale);
}

} // namespace print_layout
