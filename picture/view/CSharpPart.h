#pragma once

#include <QImage>
#include <QRect>
#include <QRectF>
#include <QSize>

class QPainter;

// The part of the picture on show that a view at 100 % sees, decoded at the picture's own
// size before the rest: drawn over the enlarged stand-in until the whole picture comes. When
// the whole picture then shows nothing but what the part showed already, the control need
// not draw it again.
class CSharpPart {
public:
    // The part to ask for when a picture of `own` size is placed at `placed` in a control of
    // `client` pixels: at 100 %, where one picture pixel is one device pixel (`oneToOne`, a
    // JPEG); empty otherwise, or when the part would be most of the picture.
    static QRect Wanted(const QRectF& placed, QSize client, QSize own, bool oneToOne);

    void Take(QRect part, const QImage& image);
    // Forgets the part (and that a stand-in was drawn): another picture or size is drawn.
    void Clear() { *this = CSharpPart(); }
    bool IsEmpty() const { return m_image.isNull(); }
    // Whether what a control of `client` pixels shows of the picture placed at `placed`
    // lies within the part.
    bool Covers(const QRectF& placed, QSize client, QSize own) const;
    // Draws `image` stretched over `placed` as far as a control of `client` pixels sees it
    // and, while it stands in for the picture (another size of it), the part over it. A
    // stand-in is drawn roughly the first time, at once: true asks to draw again, smoothly.
    bool Paint(QPainter& painter, const QRectF& placed, const QImage& image, bool standIn,
               QSize own, QSize client);

private:
    static QRectF Visible(const QRectF& placed, QSize client, QSize own);

    void Draw(QPainter& painter, const QRectF& placed, QSize own) const;

    QRect m_part;
    QImage m_image;
    bool m_bRoughDrawn = false; // the stand-in was drawn roughly, next smoothly
};
