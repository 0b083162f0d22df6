#include "picture/load/CFitScale.h"

#include <algorithm>
#include <cmath>

int CFitScale::Ratio(float client, float image) {
    const double whole = std::trunc(double(client));
    const double ratio = std::trunc(whole * 100.0 / double(image));
    return int(std::clamp(ratio, 0.0, 1.0e6));
}

int CFitScale::Percent(float clientWidth, float clientHeight, float imageWidth, float imageHeight) {
    if (!(imageWidth > 0.0f) || !(imageHeight > 0.0f))
        return 0;
    const int percent = std::min(Ratio(clientWidth, imageWidth), Ratio(clientHeight, imageHeight));
    return std::max(percent, 1);
}

QSizeF CFitScale::ScaledSize(float imageWidth, float imageHeight, int percent) {
    const float p = float(percent);
    return QSizeF(imageWidth * p * 0.01f, imageHeight * p * 0.01f);
}
