#pragma once

#include <QCoreApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QWidget>
#include <cstdlib>

// What a window shows now: its backing store, stale pixels included. A widget that only
// repaints what changed must show what a full paint would.
inline QImage OnScreen(QWidget& widget) {
    for (int i = 0; i < 3; ++i) // layouts and paints waiting for the event loop
        QCoreApplication::processEvents();
    const QPixmap window = widget.screen()->grabWindow(widget.window()->winId());
    const QRect area(widget.mapTo(widget.window(), QPoint(0, 0)), widget.size());
    return window.copy(area).toImage().convertToFormat(QImage::Format_RGB32);
}

// A full paint of a widget with everything behind it, as the window would show it.
inline QImage FullPaint(QWidget& widget) {
    QWidget* window = widget.window();
    const QRect area(widget.mapTo(window, QPoint(0, 0)), widget.size());
    return window->grab(area).toImage().convertToFormat(QImage::Format_RGB32);
}

// Whether two paints look the same: every channel of every pixel within two levels (the
// antialiased edge of a frame may round one level differently when drawn elsewhere).
inline bool SameLook(const QImage& a, const QImage& b) {
    if (a.size() != b.size())
        return false;
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    for (int row = 0; row < x.height(); ++row) {
        const auto* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
        const auto* q = reinterpret_cast<const QRgb*>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col)
            if (std::abs(qRed(p[col]) - qRed(q[col])) > 2 ||
                std::abs(qGreen(p[col]) - qGreen(q[col])) > 2 ||
                std::abs(qBlue(p[col]) - qBlue(q[col])) > 2)
                return false;
    }
    return true;
}
