#pragma once

#include "platform/SameLook.h" // what "looks the same" means

#include <QCoreApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

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
