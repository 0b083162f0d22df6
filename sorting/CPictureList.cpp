#include "sorting/CPictureList.h"

#include "picture/CFitScale.h"
#include "picture/CImageCtrl.h"
#include "platform/CQtFilePath.h"
#include "platform/CWaitCursor.h"

#include <QCoreApplication>
#include <QEvent>

CPictureList::CPictureList(QWidget* parent) : CNamespaceListView(parent) {
}

void CPictureList::LoadPicture(int) {
    CWaitCursor wait;
    if (!m_pPictureCtrl || m_strCurFile.isEmpty())
        return;
    // The list shows the change (a file gone, the next one selected) before decoding the
    // picture keeps the window busy.
    QCoreApplication::sendPostedEvents(window(), QEvent::UpdateRequest);
    CImageCtrl& ctrl = *m_pPictureCtrl;
    // A name that is not valid UTF-8 is opened through its bytes.
    const CQtFilePath file(CurFileNative());
    ctrl.show();
    ctrl.SetRedrawEnabled(false);
    ctrl.LoadFile(file.Path(), 0, 0);
    if (m_bFitToWindow)
        FitPicture();
    ctrl.SetRedrawEnabled(true); // decodes, at the size the picture is shown
    m_nPicWidth = static_cast<long>(ctrl.ImageWidth());
    m_nPicHeight = static_cast<long>(ctrl.ImageHeight());
    m_nBitsPerPixel = ctrl.ImageBitsPerPixel();
    ctrl.QueryFileInfo(file.Path(), 1);
    m_nFileSize = ctrl.FileSize();
}

void CPictureList::FitPicture() {
    CImageCtrl& ctrl = *m_pPictureCtrl;
    const int percent = CFitScale::Percent(ctrl.ClientWidth(), ctrl.ClientHeight(),
                                           ctrl.ImageWidth(), ctrl.ImageHeight());
    if (percent <= 0)
        return; // nothing loaded
    const QSizeF size = CFitScale::ScaledSize(ctrl.ImageWidth(), ctrl.ImageHeight(), percent);
    ctrl.SetViewRect(ctrl.ViewLeft(), ctrl.ViewTop(), float(size.width()), float(size.height()));
    ctrl.SetViewClip(ctrl.ViewLeft(), ctrl.ViewTop(), ctrl.ViewWidth(), ctrl.ViewHeight());
}

void CPictureList::HidePicture() {
    if (m_pPictureCtrl)
        m_pPictureCtrl->hide();
}

void CPictureList::OnFolderSelected(int) {
    HidePicture();
}

void CPictureList::OnListFilled() {
    OnFolderSelected(0);
}

void CPictureList::InitList(const QString& path) {
    AddExtension(QStringLiteral(".JPG"));
    AddExtension(QStringLiteral(".BMP"));
    CNamespaceListView::InitList(path);
}

void CPictureList::OnFileSelected(int nItem) {
    LoadPicture(nItem);
}
