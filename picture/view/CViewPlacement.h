#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QSizeF>
#include <QString>

// Where the view rectangle lands in the control: along each axis where it is narrower than
// the control it is centred (its own left and top then shift it from the centre);
// otherwise it starts at its own left or top and the rest is cut off.
class QPainter;

class CViewPlacement {
public:
    static QPointF Offset(const QRectF& view, const QSizeF& client);
    static QRectF Place(const QRectF& view, const QSizeF& client) {
        return view.translated(Offset(view, client));
    }
    // Draws `image` stretched over `target`, only as far as it lies within `visible`: a
    // picture zoomed far in is never scaled beyond what is seen.
    static void DrawVisible(QPainter& painter, const QRectF& target, const QImage& image,
                            const QRectF& visible);
    // Writes `text` in `colour` in the middle of `area`, wrapped, in place of a picture.
    static void DrawMessage(QPainter& painter, const QRect& area, const QColor& colour,
                            const QString& text);
};
