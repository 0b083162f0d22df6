#include "platform/SameLook.h"

#include <QImage>
#include <cstdlib>

bool SameLook(const QImage& a, const QImage& b) {
    if (a.size() != b.size())
        return false;
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    const auto near = [](int p, int q) { return std::abs(p - q) <= 2; };
    for (int row = 0; row < x.height(); ++row) {
        const auto* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
        const auto* q = reinterpret_cast<const QRgb*>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col)
            if (!near(qRed(p[col]), qRed(q[col])) || !near(qGreen(p[col]), qGreen(q[col])) ||
                !near(qBlue(p[col]), qBlue(q[col])))
                return false;
    }
    return true;
}
