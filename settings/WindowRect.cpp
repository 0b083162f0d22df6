#include "settings/WindowRect.h"

#include <algorithm>

namespace {

bool ShowsEnough(const QRect& r, const QList<QRect>& screens) {
    return std::any_of(screens.begin(), screens.end(), [&](const QRect& s) {
        const QRect seen = s.intersected(r);
        return seen.width() >= kMinVisibleWidth && seen.height() >= kMinVisibleHeight;
    });
}

// Places r at the default offset on `screen`, shrunk to fit it.
QRect OntoScreen(QRect r, const QRect& screen) {
    r.setWidth(std::min(r.width(), screen.width() - 16));
    r.setHeight(std::min(r.height(), screen.height() - 16));
    r.moveTopLeft(screen.topLeft() + QPoint(16, 16));
    return r;
}

} // namespace

QRect CorrectWindowRect(const QRect& stored, const QList<QRect>& screens) {
    QRect r = stored;
    if (r.width() < kMinUsableWidth || r.height() < kMinUsableHeight)
        r.setSize(QSize(768, 558));
    if (screens.isEmpty() || ShowsEnough(r, screens))
        return r;
    return OntoScreen(r, screens.front());
}
