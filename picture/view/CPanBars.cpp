#include "picture/view/CPanBars.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <QWidget>
#include <QtMath>
#include <algorithm>

CPanBars::CPanBars(QWidget* control)
    : QObject(control), m_pControl(control), m_pHBar(new QScrollBar(Qt::Horizontal, control)),
      m_pVBar(new QScrollBar(Qt::Vertical, control)) {
    for (QScrollBar* bar : {m_pHBar, m_pVBar}) {
        bar->hide();
        bar->setFocusPolicy(Qt::NoFocus);
        bar->setCursor(Qt::ArrowCursor);
    }
    connect(m_pHBar, &QScrollBar::valueChanged, this,
            [this](int x) { SetPan(QPointF(x, m_ptPan.y())); });
    connect(m_pVBar, &QScrollBar::valueChanged, this,
            [this](int y) { SetPan(QPointF(m_ptPan.x(), y)); });
    control->installEventFilter(this);
}

bool CPanBars::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_pControl)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        return Press(static_cast<QMouseEvent*>(event));
    case QEvent::MouseMove:
        return Move(static_cast<QMouseEvent*>(event));
    case QEvent::MouseButtonRelease:
        return Release(static_cast<QMouseEvent*>(event));
    case QEvent::Wheel:
        return Wheel(static_cast<QWheelEvent*>(event));
    case QEvent::KeyPress:
        return Key(static_cast<QKeyEvent*>(event));
    default:
        return false;
    }
}

bool CPanBars::Pannable() const {
    return m_pHBar->maximum() > 0 || m_pVBar->maximum() > 0;
}

// How far the placed picture reaches beyond the control's right and bottom edges.
void CPanBars::Layout(const QRectF& placed, bool bShowing) {
    const int width = m_pControl->width();
    const int height = m_pControl->height();
    const int spanX = bShowing ? std::max(0, qCeil(placed.right() - width)) : 0;
    const int spanY = bShowing ? std::max(0, qCeil(placed.bottom() - height)) : 0;
    const int thick =
        m_pControl->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_pControl);
    m_pHBar->setGeometry(0, height - thick, width - (spanY > 0 ? thick : 0), thick);
    m_pVBar->setGeometry(width - thick, 0, thick, height - (spanX > 0 ? thick : 0));
    const QSignalBlocker blockH(m_pHBar), blockV(m_pVBar);
    m_pHBar->setRange(0, spanX);
    m_pHBar->setPageStep(std::max(1, width));
    m_pHBar->setSingleStep(20);
    m_pVBar->setRange(0, spanY);
    m_pVBar->setPageStep(std::max(1, height));
    m_pVBar->setSingleStep(20);
    m_pHBar->setVisible(spanX > 0);
    m_pVBar->setVisible(spanY > 0);
    SetPan(m_ptPan); // kept within the new range
}

void CPanBars::SetPan(QPointF pan) {
    const QPointF clamped(std::clamp(pan.x(), 0.0, qreal(m_pHBar->maximum())),
                          std::clamp(pan.y(), 0.0, qreal(m_pVBar->maximum())));
    {
        const QSignalBlocker blockH(m_pHBar), blockV(m_pVBar);
        m_pHBar->setValue(qRound(clamped.x()));
        m_pVBar->setValue(qRound(clamped.y()));
    }
    if (clamped == m_ptPan)
        return;
    m_ptPan = clamped;
    Q_EMIT PanChanged();
}

bool CPanBars::Press(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !Pannable())
        return false;
    m_bDragging = true;
    m_ptDragStart = event->position();
    m_ptPanAtDrag = m_ptPan;
    m_pControl->setCursor(Qt::ClosedHandCursor);
    return true;
}

bool CPanBars::Move(QMouseEvent* event) {
    if (!m_bDragging)
        return false;
    SetPan(m_ptPanAtDrag - (event->position() - m_ptDragStart));
    return true;
}

bool CPanBars::Release(QMouseEvent* event) {
    if (!m_bDragging || event->button() != Qt::LeftButton)
        return false;
    m_bDragging = false;
    m_pControl->unsetCursor();
    return true;
}

bool CPanBars::Wheel(QWheelEvent* event) {
    if (!Pannable() || (event->modifiers() & Qt::ControlModifier))
        return false;
    // A notch (120) scrolls three lines of 20 pixels; Shift turns the wheel sideways.
    QPointF step = event->pixelDelta().isNull() ? QPointF(event->angleDelta()) / 2.0
                                                : QPointF(event->pixelDelta());
    if (event->modifiers() & Qt::ShiftModifier)
        step = QPointF(step.y(), step.x());
    SetPan(m_ptPan - step);
    event->accept();
    return true;
}

// The arrows move the picture by a scroll bar's step, with Ctrl by a page.
bool CPanBars::Key(QKeyEvent* event) {
    if (!Pannable() || (event->modifiers() & ~(Qt::ControlModifier | Qt::KeypadModifier)))
        return false;
    const bool page = event->modifiers() & Qt::ControlModifier;
    const QPointF step(page ? m_pHBar->pageStep() : m_pHBar->singleStep(),
                       page ? m_pVBar->pageStep() : m_pVBar->singleStep());
    QPointF move;
    switch (event->key()) {
    case Qt::Key_Left:
        move.setX(-step.x());
        break;
    case Qt::Key_Right:
        move.setX(step.x());
        break;
    case Qt::Key_Up:
        move.setY(-step.y());
        break;
    case Qt::Key_Down:
        move.setY(step.y());
        break;
    default:
        return false;
    }
    SetPan(m_ptPan + move);
    event->accept();
    return true;
}
