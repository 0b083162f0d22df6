#include "app/CZoomCommands.h"

#include "app/CMainStatusBar.h"
#include "picture/view/CImageCtrl.h"
#include "picture/view/CZoomSteps.h"
#include "settings/CSettings.h"
#include "sorting/widgets/CPictureList.h"

#include <QAction>
#include <QCursor>

CZoomCommands::CZoomCommands(const Seams& seams, QObject* parent)
    : QObject(parent), m_seams(seams) {
    seams.fit->setCheckable(true);
    seams.fit->setChecked(seams.settings->GetFitPicToWindow() != 0);
    connect(seams.zoomIn, &QAction::triggered, this, [this] { ZoomBy(1, Centre()); });
    connect(seams.zoomOut, &QAction::triggered, this, [this] { ZoomBy(-1, Centre()); });
    connect(seams.actualSize, &QAction::triggered, this, &CZoomCommands::ActualSize);
    connect(seams.ctrl, &CImageCtrl::ZoomWheel, this, &CZoomCommands::ZoomBy);
    connect(seams.ctrl, &CImageCtrl::ZoomChanged, this, &CZoomCommands::ShowScale);
    ShowScale();
}

void CZoomCommands::ZoomBy(int steps, QPointF at) {
    double scale = m_seams.ctrl->ZoomScale();
    if (!(scale > 0.0))
        return;
    for (int i = 0; i < std::abs(steps); ++i)
        scale = steps > 0 ? CZoomSteps::Next(scale) : CZoomSteps::Previous(scale);
    Apply(scale, at);
}

void CZoomCommands::ActualSize() {
    if (m_seams.ctrl->ZoomScale() > 0.0)
        Apply(1.0, PointerOrCentre());
}

// Zoomed, pictures are no longer fitted: the setting, the list and the toggle follow.
void CZoomCommands::Apply(double scale, QPointF at) {
    if (m_seams.settings->GetFitPicToWindow() != 0)
        m_seams.settings->SetFitPicToWindow(0);
    m_seams.list->m_bFitToWindow = 0;
    m_seams.fit->setChecked(false);
    m_seams.ctrl->ZoomTo(scale, at);
}

void CZoomCommands::ShowScale() {
    const double scale = m_seams.ctrl->ZoomScale();
    m_seams.status->SetZoomText(scale > 0.0 ? CZoomSteps::Text(scale) : QString());
}

QPointF CZoomCommands::Centre() const {
    return QRectF(m_seams.ctrl->rect()).center();
}

QPointF CZoomCommands::PointerOrCentre() const {
    const QPoint pointer = m_seams.ctrl->mapFromGlobal(QCursor::pos());
    return m_seams.ctrl->isVisible() && m_seams.ctrl->rect().contains(pointer) ? QPointF(pointer)
                                                                               : Centre();
}
