#include "platform/ui/CFocusFrame.h"

#include <QEvent>
#include <QPainter>

CFocusFrame::CFocusFrame(QWidget* window) : QFocusFrame(window) {
    setObjectName(QStringLiteral("focusFrame"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

// The target and every widget between it and the window: any of them moving moves it.
void CFocusFrame::Watch(bool bOn) {
    for (QWidget* w = m_target; w && w != parentWidget(); w = w->parentWidget()) {
        if (bOn)
            w->installEventFilter(this);
        else
            w->removeEventFilter(this);
    }
}

void CFocusFrame::SetTarget(QWidget* target) {
    if (target == m_target)
        return;
    Watch(false);
    m_target = target;
    Watch(true);
    Follow();
}

void CFocusFrame::Follow() {
    if (!m_target || !m_target->isVisible() || !parentWidget()) {
        hide();
        return;
    }
    setGeometry(QRect(m_target->mapTo(parentWidget(), QPoint(0, 0)), m_target->size()));
    raise();
    show();
    update();
}

bool CFocusFrame::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
        Follow();
        break;
    default:
        break;
    }
    return QFocusFrame::eventFilter(watched, event);
}

void CFocusFrame::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QPen pen(palette().color(QPalette::Active, QPalette::Highlight), kWidth);
    pen.setJoinStyle(Qt::MiterJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(rect()).adjusted(kWidth / 2.0, kWidth / 2.0, -kWidth / 2.0, -kWidth / 2.0));
}
