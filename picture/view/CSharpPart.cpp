#include "picture/view/CSharpPart.h"

#include "picture/load/CJpegRegion.h"
#include "picture/view/CViewPlacement.h"

#include <QPainter>

// What the control shows, in the picture's own pixels.
QRectF CSharpPart::Visible(const QRectF& placed, QSize client, QSize own) {
    if (placed.isEmpty() || own.isEmpty())
        return {};
    const QRectF seen = placed.intersected(QRectF(QPointF(0, 0), QSizeF(client)));
    const double sx = own.width() / placed.width(), sy = own.height() / placed.height();
    return QRectF((seen.left() - placed.left()) * sx, (seen.top() - placed.top()) * sy,
                  seen.width() * sx, seen.height() * sy);
}

QRect CSharpPart::Wanted(const QRectF& placed, QSize client, QSize own, bool oneToOne) {
    if (!oneToOne || placed.size() != QSizeF(own))
        return {};
    return CJpegRegion::Worth(Visible(placed, client, own).toAlignedRect(), own);
}

void CSharpPart::Take(QRect part, const QImage& image) {
    if (image.size() != part.size())
        return;
    m_part = part;
    m_image = image;
}

bool CSharpPart::Covers(const QRectF& placed, QSize client, QSize own) const {
    const QRectF visible = Visible(placed, client, own);
    return !IsEmpty() && !visible.isEmpty() && QRectF(m_part).contains(visible);
}

bool CSharpPart::Paint(QPainter& painter, const QRectF& placed, const QImage& image, bool standIn,
                       QSize own, QSize client) {
    const bool rough = standIn && !m_bRoughDrawn;
    m_bRoughDrawn = m_bRoughDrawn || rough;
    painter.setRenderHint(QPainter::SmoothPixmapTransform, !rough);
    if (!standIn || !Covers(placed, client, own))
        CViewPlacement::DrawVisible(painter, placed, image, QRectF(QPointF(0, 0), QSizeF(client)));
    if (standIn)
        Draw(painter, placed, own);
    return rough;
}

void CSharpPart::Draw(QPainter& painter, const QRectF& placed, QSize own) const {
    if (IsEmpty() || own.isEmpty())
        return;
    const double sx = placed.width() / own.width(), sy = placed.height() / own.height();
    const QRectF at(placed.left() + m_part.left() * sx, placed.top() + m_part.top() * sy,
                    m_part.width() * sx, m_part.height() * sy);
    painter.drawImage(at, m_image);
}
