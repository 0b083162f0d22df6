#include "picture/view/CVantrelView.h"

#include <QResizeEvent>

CVantrelView::CVantrelView(QWidget* parent) : QWidget(parent), m_imageCtrl(this) {
    setObjectName(QStringLiteral("CVantrelView"));
    m_imageCtrl.setGeometry(rect());
    m_imageCtrl.hide();
}

// The control covers the pane as it is laid out now; whether a picture is on show is the
// picture list's business, so the panes may be set up in any order.
void CVantrelView::OnInitialUpdate() {
    m_imageCtrl.setGeometry(rect());
}

void CVantrelView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_imageCtrl.setGeometry(0, 0, event->size().width(), event->size().height());
}
