#pragma once

#include <QObject>
#include <QPointF>
#include <QRectF>

class QMouseEvent;
class QScrollBar;
class QWheelEvent;
class QWidget;

// The panning of a picture larger than its control: two scroll bars along the control's
// edges, dragging with the left button and the wheel (Shift turns it sideways). The pan is
// how far the picture is moved left and up, kept within what lies beyond the edges.
class CPanBars : public QObject {
    Q_OBJECT
public:
    // The bars become children of `control`.
    explicit CPanBars(QWidget* control);

    QPointF Pan() const { return m_ptPan; }
    void SetPan(QPointF pan);
    // Lays the bars out for a picture placed at `placed` (control coordinates, unpanned);
    // none when nothing is shown.
    void Layout(const QRectF& placed, bool bShowing);
    bool Pannable() const;

    // The control's events; each returns false when it is not a pan and the control
    // handles it as usual.
    bool Press(QMouseEvent* event);
    bool Move(QMouseEvent* event);
    bool Release(QMouseEvent* event);
    bool Wheel(QWheelEvent* event);

Q_SIGNALS:
    void PanChanged();

private:
    QWidget* m_pControl;
    QScrollBar* m_pHBar;
    QScrollBar* m_pVBar;
    QPointF m_ptPan;
    QPointF m_ptDragStart;
    QPointF m_ptPanAtDrag;
    bool m_bDragging = false;
};
