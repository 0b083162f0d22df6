#include "app/PrintLayout.h"

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

} // namespace print_layout
