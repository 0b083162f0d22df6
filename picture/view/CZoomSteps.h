#pragma once

#include <QLocale>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <span>

// The zoom arithmetic of the picture view, free of any widget: the fixed steps from 1/8 to
// 8 times, the step after or before any scale (a fitted picture's scale lies between
// steps), the pan that keeps one point of the picture under the pointer while the scale
// changes, and the text the status bar shows.
//
// A picture shown at a scale is `view` pixels large. Along each axis where it is narrower
// than the control it is centred; otherwise the pan (how far it is moved left and up) lies
// between 0 and what reaches beyond the control's far edge.
class CZoomSteps {
public:
    static std::span<const double> Steps();
    static double Smallest() { return Steps().front(); }
    static double Largest() { return Steps().back(); }
    // The next larger (smaller) step than `scale`; the largest (smallest) step where there
    // is none. A scale that is no number or not positive counts as the smallest.
    // Whole notches of a wheel turned by `delta` eighths of a degree, however finely it
    // turns: what is left of a notch stays in `pending`.
    static int Notches(int& pending, int delta);
    static double Next(double scale);
    static double Previous(double scale);

    // The pan that puts the picture point now under `anchor` (control coordinates; the
    // picture is now drawn at `placedBefore`) under `anchor` again once the picture is
    // `viewAfter` large. A point beside the picture counts as its nearest edge.
    static QPointF PanKeeping(QPointF anchor, const QRectF& placedBefore, QSizeF viewAfter,
                              QSizeF client);
    // `pan` kept within what lies beyond the control's edges.
    static QPointF ClampPan(QPointF pan, QSizeF view, QSizeF client);
    // Where the unpanned picture's top left corner lands in the control.
    static QPointF Offset(QSizeF view, QSizeF client);

    // "100 %", "12.5 %", "33 %": whole per cent from 20 % up, one decimal below where it
    // is not whole.
    static QString Text(double scale, const QLocale& locale = QLocale());
};
