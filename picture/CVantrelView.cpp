#include "picture/CVantrelView.h"

#include <QResizeEvent>

CVantrelView::CVantrelView(QWidget* parent) : QWidget(parent), m_imageCtrl(this) {
    setObjectName(QStringLiteral("CVantrelView"));
    m_imageCtrl.setGeometry(rect());
    m_imageCtrl.hide();
}

void CVantrelView::OnInitialUpdate() {
}

void CVantrelView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_imageCtrl.setGeometry(0, 0, event->size().width(), event->size().height());
}
