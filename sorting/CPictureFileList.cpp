#include "sorting/CPictureFileList.h"

#include "app/CFrameServices.h"
#include "picture/CImageCtrl.h"
#include "platform/CFileOpDialogs.h"
#include "platform/CFileOperations.h"
#include "platform/CNativePath.h"
#include "platform/CWaitCursor.h"
#include "resources/FileTypes.h"
#include "sorting/MoveOnRule.h"
#include "sorting/PictureStatus.h"

CPictureFileList::CPictureFileList(QWidget* parent) : CPictureList(parent) {
    setObjectName(QStringLiteral("m_listFiles"));
}

CFrameServices* CPictureFileList::Frame() const {
    return CFrameServices::Of(this);
}

void CPictureFileList::SelectItem(int nItem, bool bSelect) {
    if (nItem != -1) {
        CPictureList::SelectItem(nItem, bSelect);
        return;
    }
    if (m_nCurItem >= 0)
        CPictureList::SelectItem(m_nCurItem, false);
    m_nCurItem = -1;
    m_strCurFile.clear();
    m_baCurFile.clear();
    HidePicture();
    UpdateStatusText();
}

void CPictureFileList::OnFolderSelected(int nItem) {
    CPictureList::OnFolderSelected(nItem);
    UpdateFileCount();
    UpdateStatusText();
}

void CPictureFileList::OnListFilled() {
    CPictureList::OnListFilled();
    UpdateFileCount();
    UpdateStatusText();
}

void CPictureFileList::OnFileSelected(int nItem) {
    CPictureList::OnFileSelected(nItem);
    UpdateFileCount();
    UpdateStatusText();
}

void CPictureFileList::UpdateFileCount() {
    if (CFrameServices* frame = Frame())
        frame->SetStatusPaneText(1, picture_status::FileCountText(GetItemCount()));
}

QString CPictureFileList::GetTitleFileName(const QString& strPath) {
    return picture_status::TitleFileName(strPath);
}

// The status text of the current file. A file that could not be shown gets the reason in
// place of its figures, which would otherwise still describe the previous picture.
QString CPictureFileList::DescribeCurrentFile() const {
    const QString description =
        m_pPictureCtrl ? filetypes::Description(m_pPictureCtrl->FileFormat()) : QString();
    if (m_pPictureCtrl && !m_pPictureCtrl->HasPicture())
        return picture_status::FailedText(m_strCurFile, m_pPictureCtrl->LastError(), m_nFileSize,
                                          description);
    return picture_status::StatusText(m_strCurFile, m_nPicWidth, m_nPicHeight, m_nBitsPerPixel,
                                      m_nFileSize, description);
}

void CPictureFileList::UpdateStatusText() {
    QString title;
    if (!m_strCurFile.isEmpty()) {
        m_strStatusText = DescribeCurrentFile();
        title = GetTitleFileName(m_strCurFile);
    } else {
        m_strStatusText = picture_status::IdleText();
        title = picture_status::IdleTitle();
    }
    if (CFrameServices* frame = Frame()) {
        frame->SetStatusPaneText(0, m_strStatusText);
        frame->SetDocumentTitle(title);
    }
    Q_EMIT CurrentFileChanged();
}

bool CPictureFileList::MoveCurFile(const QString& destDir) {
    const bool bMoved = CPictureList::MoveCurFile(destDir);
    AfterFileOperation();
    return bMoved;
}

bool CPictureFileList::DeleteCurFile(bool bAllowUndo) {
    const bool bDeleted = CPictureList::DeleteCurFile(bAllowUndo);
    AfterFileOperation();
    return bDeleted;
}

void CPictureFileList::AfterFileOperation() {
    if (!m_strCurFile.isEmpty())
        return;
    HidePicture();
    UpdateFileCount();
    UpdateStatusText();
}

bool CPictureFileList::CopyCurFile(const QString& destDir) {
    if (m_baCurFile.isEmpty())
        return false;
    CWaitCursor wait;
    CFileOpDialogs ui(window());
    CFileOperations ops(ui);
    const bool bCopied = ops.Copy(m_baCurFile, CNativePath::FromText(destDir)).Succeeded();
    m_nCurItem = move_on::AfterCopy(m_nCurItem, GetItemCount(), bCopied);
    SelectItem(m_nCurItem, true);
    return bCopied;
}
