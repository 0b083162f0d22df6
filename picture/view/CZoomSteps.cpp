#include "picture/view/CZoomSteps.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {
constexpr std::array<double, 11> kSteps{1.0 / 8, 1.0 / 4, 1.0 / 3, 1.0 / 2, 2.0 / 3, 1.0,
                                        1.5,     2.0,     3.0,     4.0,     8.0};
// Scales this close count as the same step: a fitted scale is a whole per cent, so 33 % is
// the third and the next step from it is 50 %.
constexpr double kSame = 0.015;
} // namespace

std::span<const double> CZoomSteps::Steps() {
    return kSteps;
}

int CZoomSteps::Notches(int& pending, int delta) {
    pending += delta;
    const int steps = pending / 120;
    pending -= steps * 120;
    return steps;
}

double CZoomSteps::Next(double scale) {
    if (!(scale > 0.0))
        return Smallest();
    for (const double step : kSteps)
        if (step > scale * (1.0 + kSame))
            return step;
    return Largest();
}

double CZoomSteps::Previous(double scale) {
    if (!(scale > 0.0))
        return Smallest();
    for (auto it = kSteps.rbegin(); it != kSteps.rend(); ++it)
        if (*it < scale * (1.0 - kSame))
            return *it;
    return Smallest();
}

QPointF CZoomSteps::Offset(QSizeF view, QSizeF client) {
    return QPointF(std::max(0.0, (client.width() - view.width()) / 2),
                   std::max(0.0, (client.height() - view.height()) / 2));
}

QPointF CZoomSteps::ClampPan(QPointF pan, QSizeF view, QSizeF client) {
    const double spanX = std::max(0.0, std::ceil(view.width() - client.width()));
    const double spanY = std::max(0.0, std::ceil(view.height() - client.height()));
    const double x = std::isfinite(pan.x()) ? pan.x() : 0.0;
    const double y = std::isfinite(pan.y()) ? pan.y() : 0.0;
    return QPointF(std::clamp(x, 0.0, spanX), std::clamp(y, 0.0, spanY));
}

QPointF CZoomSteps::PanKeeping(QPointF anchor, const QRectF& placedBefore, QSizeF viewAfter,
                               QSizeF client) {
    if (placedBefore.isEmpty() || viewAfter.isEmpty())
        return {};
    // The anchor as a fraction of the picture, the same at any scale.
    const double fx =
        std::clamp((anchor.x() - placedBefore.left()) / placedBefore.width(), 0.0, 1.0);
    const double fy =
        std::clamp((anchor.y() - placedBefore.top()) / placedBefore.height(), 0.0, 1.0);
    const QPointF at =
        Offset(viewAfter, client) + QPointF(fx * viewAfter.width(), fy * viewAfter.height());
    return ClampPan(at - anchor, viewAfter, client);
}

QString CZoomSteps::Text(double scale, const QLocale& locale) {
    const double percent = std::isfinite(scale) ? std::max(0.0, scale * 100.0) : 0.0;
    const double tenths = std::round(percent * 10.0) / 10.0;
    const bool decimal = tenths < 20.0 && std::abs(tenths - std::round(tenths)) > 1e-9;
    const QString number = decimal ? locale.toString(tenths, 'f', 1)
                                   : locale.toString(qlonglong(std::llround(percent)));
    return number + QStringLiteral(" %");
}
