#include "picture/CVantrelView.h"

#include "app/CPicSplitter.h"
#include "browser/CFileSelect.h"

#include <QResizeEvent>

CVantrelView::CVantrelView(QWidget* parent) : QWidget(parent), m_imageCtrl(this) {
    setObjectName(QStringLiteral("CVantrelView"));
    m_imageCtrl.setGeometry(rect());
    m_imageCtrl.hide();
}

// Hands the imaging control to the picture list of the file browser pane, which
// registered itself with the splitter during its own initial update.
void CVantrelView::OnInitialUpdate() {
    auto* splitter = dynamic_cast<CPicSplitter*>(parentWidget());
    if (splitter && splitter->m_pFileSelect)
        splitter->m_pFileSelect->m_listFiles.m_pPictureCtrl = &m_imageCtrl;
}

void CVantrelView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_imageCtrl.setGeometry(0, 0, event->size().width(), event->size().height());
}
