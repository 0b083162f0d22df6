#pragma once

#include <QObject>
#include <QPointF>
#include <QRectF>

class QKeyEvent;
class QMouseEvent;
class QScrollBar;
class QWheelEvent;
class QWidget;

// The panning of a picture larger than its control: two scroll bars along the control's
// edges, dragging with the left button, the wheel (Shift turns it sideways; with Ctrl it is
// left to the control) and the arrow keys. It watches the control's events itself. The pan
// is how far the picture is moved left and up, kept within what lies beyond the edges.
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

protected:
    // The control's events; those that are no pan reach the control as usual.
    bool eventFilter(QObject* watched, QEvent* event) override;

Q_SIGNALS:
    void PanChanged();

private:
    bool Press(QMouseEvent* event);
    bool Move(QMouseEvent* event);
    bool Release(QMouseEvent* event);
    bool Wheel(QWheelEvent* event);
    bool Key(QKeyEvent* event);

    QWidget* m_pControl;
    QScrollBar* m_pHBar;
    QScrollBar* m_pVBar;
    QPointF m_ptPan;
    QPointF m_ptDragStart;
    QPointF m_ptPanAtDrag;
    bool m_bDragging = false;
};
