#include "sorting/widgets/CPictureList.h"

#include "browser/controls/PidlFunctions.h"
#include "picture/view/CImageCtrl.h"
#include "platform/system/CQtFilePath.h"

#include <QFile>

CPictureList::CPictureList(QWidget* parent, CListCtrlModel* items, QItemSelectionModel* selection)
    : CNamespaceListView(parent, items, selection) {
}

CPictureList::~CPictureList() = default;

void CPictureList::LoadPicture(int nItem) {
    if (!m_pPictureCtrl || m_strCurFile.isEmpty())
        return;
    WatchControl();
    // A name that is not valid UTF-8 is opened through its bytes.
    m_pShownFile = std::make_unique<CQtFilePath>(CurFileNative());
    m_pPictureCtrl->ShowPicture(m_pShownFile->Path(), m_bFitToWindow != 0);
    TakeFigures(m_pPictureCtrl->PictureState());
    DecodeAhead(nItem);
}

void CPictureList::WatchControl() {
    if (m_pWatchedCtrl == m_pPictureCtrl)
        return;
    if (m_pWatchedCtrl)
        m_pWatchedCtrl->disconnect(this);
    m_pWatchedCtrl = m_pPictureCtrl;
    connect(m_pPictureCtrl, &CImageCtrl::ClientResized, this, &CPictureList::OnPictureResized);
    connect(m_pPictureCtrl, &CImageCtrl::PictureFailed, this, [this] {
        if (m_pPictureCtrl && m_pPictureCtrl == m_pWatchedCtrl)
            TakeFigures(m_pPictureCtrl->PictureState()); // the file's length, with the reason
        OnPictureFailed();
    });
    connect(m_pPictureCtrl, &CImageCtrl::PictureInfoChanged, this,
            &CPictureList::OnPictureInfoChanged);
}

// The pixels told the picture's size (or depth): its figures are recorded and it is placed
// again.
void CPictureList::OnPictureInfoChanged() {
    if (!m_pPictureCtrl || m_pPictureCtrl != m_pWatchedCtrl || m_strCurFile.isEmpty())
        return;
    TakeFigures(m_pPictureCtrl->PictureState());
    if (m_bFitToWindow)
        FitPicture();
}

void CPictureList::OnPictureResized() {
    if (!m_pPictureCtrl || m_pPictureCtrl != m_pWatchedCtrl || m_strCurFile.isEmpty() ||
        !m_pPictureCtrl->isVisible() || !m_pPictureCtrl->PictureState().bShown)
        return;
    if (m_bFitToWindow)
        FitPicture(); // drawn from the pixels at hand, then decoded again at the new size
    DecodeAhead(m_nCurItem);
}

void CPictureList::DecodeAhead(int nItem) {
    m_pPictureCtrl->PrefetchFiles(DecodeAheadCandidates(nItem), m_bFitToWindow != 0);
}

QStringList CPictureList::DecodeAheadCandidates(int nItem) {
    const int step = nItem < m_nLastShown ? -1 : 1;
    m_nLastShown = nItem;
    QStringList paths;
    for (const int item : {nItem + step, nItem - step}) {
        const QString path = PrefetchPath(item);
        if (!path.isEmpty())
            paths.append(path);
    }
    return paths;
}

// The file of an item, when it is a file whose name Qt can open as text.
QString CPictureList::PrefetchPath(int nItem) {
    if (nItem < 0 || nItem >= GetItemCount())
        return {};
    LPITEMIDLIST pidlAbs = GetItemFullPidl(nItem);
    if (!pidlAbs)
        return {};
    QString path;
    if (!IsFolderPidl(pidlAbs)) {
        const QByteArray native = GetNativePathFromPidl(pidlAbs);
        path = QFile::decodeName(native);
        if (QFile::encodeName(path) != native)
            path.clear();
    }
    FreePidl(pidlAbs);
    return path;
}

void CPictureList::FitPicture() {
    m_pPictureCtrl->FitPicture();
}

void CPictureList::TakeFigures(const CImageCtrl::State& state) {
    m_nPicWidth = state.width;
    m_nPicHeight = state.height;
    m_nBitsPerPixel = state.bitsPerPixel;
    m_nFileSize = state.fileSize;
}

void CPictureList::HidePicture() {
    if (m_pPictureCtrl)
        m_pPictureCtrl->hide();
}

void CPictureList::OnFolderSelected(int) {
    HidePicture();
}

void CPictureList::OnListFilled() {
    if (m_nCurItem < 0) // a picture chosen while the folder was listed stays on show
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
