#include "browser/controls/CLabelScroll.h"

#include <algorithm>

int CLabelScroll::Shift(const QRect& cell, int labelWidth, int room, int indentation,
                        bool bRightToLeft) {
    const int lead = bRightToLeft ? room - 1 - cell.right() : cell.left();
    if (lead >= 0 && lead + labelWidth <= room)
        return 0;
    const int wanted = std::max(0, std::min(indentation, room - labelWidth));
    return lead - wanted;
}

bool CLabelScroll::SeenBeforeShrinking(const QRect& cell, int height, int shrunk) {
    return shrunk > 0 && cell.isValid() && cell.top() >= 0 && cell.top() < height + shrunk;
}
