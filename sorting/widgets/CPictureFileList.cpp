#include "sorting/widgets/CPictureFileList.h"

#include "picture/view/CImageCtrl.h"
#include "platform/system/CNativePath.h"
#include "resources/FileTypes.h"
#include "sorting/order/CPictureOrder.h"
#include "sorting/session/CSortSession.h"
#include "sorting/session/MoveOnRule.h"
#include "sorting/session/PictureStatus.h"
#include "sorting/widgets/CRelistChoice.h"

CPictureFileList::CPictureFileList(CSortSession& session, QWidget* parent)
    : CPictureList(parent, &session.Model(), &session.Selection()), m_pSession(&session) {
    setObjectName(QStringLiteral("m_listFiles"));
    // Shift and Ctrl gather pictures to send in one action; a plain click or arrow key
    // still selects one.
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_astrCountedEndings = filetypes::PictureEndings();
    m_pSession->SetDialogParent(this);
    SetFolderNames(&m_pSession->FolderNames());
    // The session changes the rows only in steps that run no event loop (the file work is the
    // worker's), so outside changes are followed throughout.
    connect(m_pSession, &CSortSession::PicturesRestored, this, &CPictureFileList::TakeBackRows);
    connect(m_pSession, &CSortSession::MovedOn, this, &CPictureFileList::OnSessionMovedOn);
    connect(m_pSession, &CSortSession::StatusTextChanged, this,
            [this](const QString& text) { m_strStatusText = text; });
    connect(&m_pSession->Order(), &CPictureOrder::Changed, this, &CPictureFileList::FollowOrder);
    FollowOrder();
}

// The list shows the session's order; the current picture stays current and in view.
void CPictureFileList::FollowOrder() {
    const CPictureOrder& order = m_pSession->Order();
    const bool bWasByName = !HasOrder();
    SetOrder(order.IsByName() ? nullptr : &order);
    if (bWasByName && order.IsByName())
        return; // already in the folder's order
    SortList();
    if (m_nCurItem >= 0)
        scrollTo(IndexOf(m_nCurItem));
}

// What the order needs of the listed pictures is read for those it does not know.
void CPictureFileList::FollowListedNames() {
    QList<QByteArray> names;
    names.reserve(GetItemCount());
    for (int i = 0; i < GetItemCount(); ++i)
        names.append(CNativePath::FileName(Model()->ItemNative(i)));
    m_pSession->Order().Follow(ListedFolder(), names);
}

CPictureFileList::~CPictureFileList() = default;

// The list's current file is the session's current picture, unless a row changed under
// the list since (then nothing is sent anywhere).
bool CPictureFileList::ShowsSessionPicture() const {
    return !m_baCurFile.isEmpty() && m_pSession->CurrentNative() == m_baCurFile;
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
    m_pSession->SetCurrent(-1);
    HidePicture();
    UpdateStatusText();
}

void CPictureFileList::OnFolderSelected(int nItem) {
    m_pSession->SetCurrent(-1);
    CPictureList::OnFolderSelected(nItem);
    UpdateFileCount();
    UpdateStatusText();
}

void CPictureFileList::OnListFilled() {
    m_pSession->SetFolder(ListedFolderIdentity());
    m_pSession->SetHiddenCount(HiddenCount());
    FollowListedNames();
    CPictureList::OnListFilled();
    UpdateFileCount();
    UpdateStatusText();
}

void CPictureFileList::OnListGrew() {
    m_pSession->SetFolder(ListedFolderIdentity());
    UpdateFileCount();
}

void CPictureFileList::OnFileSelected(int nItem) {
    // After an action the session has moved on to this picture already.
    if (!m_bMovingOn || m_pSession->Current() != nItem)
        m_pSession->SetCurrent(nItem);
    CPictureList::OnFileSelected(nItem);
    UpdateFileCount();
    UpdateStatusText();
}

void CPictureFileList::OnPictureFailed() {
    UpdateStatusText(); // the reason replaces the figures the header gave
}

void CPictureFileList::OnPictureInfoChanged() {
    CPictureList::OnPictureInfoChanged();
    UpdateStatusText(); // the figures the header could not give
}

QStringList CPictureFileList::DecodeAheadCandidates(int) {
    return m_pSession->PrefetchCandidates();
}

// The picture on show went: as after a move, the next one is shown, or none is left.
void CPictureFileList::OnCurrentFileVanished(int nPlace) {
    CPictureList::OnCurrentFileVanished(nPlace);
    OnSessionMovedOn(move_on::AfterRemoval(nPlace, GetItemCount()));
}

void CPictureFileList::OnItemsChanged() {
    FollowListedNames();
    UpdateFileCount();
}

void CPictureFileList::UpdateFileCount() {
    m_pSession->PublishFileCount();
}

QString CPictureFileList::GetTitleFileName(const QString& strPath) {
    return picture_status::TitleFileName(strPath);
}

// The figures of the picture on show; with no picture control, those last recorded.
PictureFacts CPictureFileList::CurrentFacts() const {
    PictureFacts facts;
    facts.width = m_nPicWidth;
    facts.height = m_nPicHeight;
    facts.bitsPerPixel = m_nBitsPerPixel;
    facts.fileSize = m_nFileSize;
    if (m_pPictureCtrl) {
        const CImageCtrl::State state = m_pPictureCtrl->PictureState();
        facts.description = filetypes::Description(state.fileFormat);
        facts.bShown = state.bShown;
        facts.error = state.error;
    }
    return facts;
}

void CPictureFileList::UpdateStatusText() {
    if (m_strCurFile.isEmpty())
        m_pSession->SetCurrent(-1);
    m_pSession->SetPictureFacts(CurrentFacts());
    Q_EMIT CurrentFileChanged();
}

bool CPictureFileList::MoveCurFile(const QString& destDir) {
    return ShowsSessionPicture() && m_pSession->Move(destDir);
}

bool CPictureFileList::DeleteCurFile(bool bAllowUndo) {
    return ShowsSessionPicture() && m_pSession->Delete(bAllowUndo);
}

bool CPictureFileList::CopyCurFile(const QString& destDir) {
    return ShowsSessionPicture() && m_pSession->Copy(destDir);
}

// Pictures that did not go are back: each takes its place in the list's order.
void CPictureFileList::TakeBackRows() {
    if (ShowsSessionPicture())
        m_nCurItem = m_pSession->Current();
    SortList();
    Arrange();
}

// After an action: the picture the session went on to is selected and shown; with none
// left the picture goes and the status bar says so. The items close up once for all the
// pictures the action took out (not once a picture) before the next one is selected.
void CPictureFileList::OnSessionMovedOn(int nItem) {
    Arrange();
    m_nCurItem = nItem;
    if (nItem >= 0) {
        m_bMovingOn = true;
        SelectItem(nItem, true);
        m_bMovingOn = false;
        return;
    }
    m_strCurFile.clear();
    m_baCurFile.clear();
    HidePicture();
    UpdateFileCount();
    UpdateStatusText();
}

bool CPictureFileList::ShowFile(const QByteArray& path) {
    const QByteArray folder = ListedFolderIdentity().Path();
    if (folder.isEmpty() || CNativePath::DirName(path) != folder)
        return false;
    CRelistChoice::Start(*this, {path}, std::nullopt);
    return true;
}
