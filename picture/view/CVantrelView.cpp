#include "picture/view/CVantrelView.h"

#include <QEvent>
#include <QResizeEvent>

CVantrelView::CVantrelView(QWidget* parent) : QWidget(parent), m_imageCtrl(this) {
    setObjectName(QStringLiteral("CVantrelView"));
    m_imageCtrl.setGeometry(rect());
    m_imageCtrl.hide();
}

// The control covers the pane as it is laid out now; whether a picture is on show is the
// picture list's business, so the panes may be set up in any order.
void CVantrelView::OnInitialUpdate() {
    LayOut();
}

void CVantrelView::SetBottomBar(QWidget* bar) {
    if (m_pBottomBar)
        m_pBottomBar->removeEventFilter(this);
    m_pBottomBar = bar;
    if (bar) {
        bar->setParent(this);
        bar->installEventFilter(this);
    }
    LayOut();
}

void CVantrelView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayOut();
}

bool CVantrelView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_pBottomBar &&
        (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent))
        LayOut();
    return QWidget::eventFilter(watched, event);
}

void CVantrelView::LayOut() {
    int barHeight = 0;
    if (m_pBottomBar && !m_pBottomBar->isHidden()) {
        barHeight = qMin(m_pBottomBar->sizeHint().height(), height() / 2);
        m_pBottomBar->setGeometry(0, height() - barHeight, width(), barHeight);
    }
    m_imageCtrl.setGeometry(0, 0, width(), height() - barHeight);
}
