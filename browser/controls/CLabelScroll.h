#pragma once

#include <QRect>

// How far a view scrolls sideways so that an item's label shows whole. Measured from the edge
// where lines begin (the right one, right to left): a label that does not show whole is
// brought in to one level of indentation after that edge, or as far as it fits.
class CLabelScroll {
public:
    // The change of the horizontal scroll value for a label `labelWidth` wide starting in
    // `cell` (viewport coordinates) of a viewport `room` wide; 0 when it shows whole.
    static int Shift(const QRect& cell, int labelWidth, int room, int indentation,
                     bool bRightToLeft);
    // Whether an item's `cell` (after the change) was seen before its viewport grew `shrunk`
    // pixels shorter, now to `height`.
    static bool SeenBeforeShrinking(const QRect& cell, int height, int shrunk);
};
