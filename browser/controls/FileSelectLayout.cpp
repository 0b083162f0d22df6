#include "browser/controls/FileSelectLayout.h"

FileSelectLayout FileSelectLayout::For(int cx, int cy) {
    const auto trunc = [](double v) { return static_cast<int>(v); };
    FileSelectLayout l;
    l.tree = QRect(3, 3, cx - 6, trunc(0.3 * (cy - 6)));
    l.list = QRect(3, trunc(0.3 * (cy - 3)) + 6, cx - 6, trunc(0.7 * (cy - 6)) - 3);
    return l;
}
