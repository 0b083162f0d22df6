#pragma once

#include <QSizeF>

// The fit-to-window arithmetic: the largest whole percentage at which the whole picture
// fits the control, at least 1 % (so small pictures are enlarged too).
class CFitScale {
public:
    // Scale in per cent for a picture of imageWidth x imageHeight in a control of
    // clientWidth x clientHeight; 0 when the picture has no size (nothing is loaded).
    static int Percent(float clientWidth, float clientHeight, float imageWidth, float imageHeight);
    // The picture's size at `percent`, computed in single precision.
    static QSizeF ScaledSize(float imageWidth, float imageHeight, int percent);

private:
    static int Ratio(float client, float image);
};
