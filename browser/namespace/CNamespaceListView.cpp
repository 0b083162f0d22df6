#include "browser/namespace/CNamespaceListView.h"

#include "browser/controls/CItemLabelHitTest.h"
#include "browser/controls/CListRecords.h"
#include "browser/controls/PidlFunctions.h"
#include "browser/namespace/CListFiller.h"
#include "browser/namespace/CListFolderFollower.h"
#include "browser/namespace/CListSorter.h"
#include "browser/namespace/CNamespaceTreeView.h"
#include "platform/shell/CDirEnumIDList.h"
#include "platform/shell/CShellContextMenu.h"
#include "platform/shell/CShellFolderRef.h"
#include "platform/shell/CShellItemId.h"
#include "platform/shell/CShellMalloc.h"
#include "platform/shell/CSystemImageList.h"
#include "platform/system/CNativePath.h"
#include "platform/ui/ShowMessage.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFile>
#include <QSet>

CNamespaceListView::CNamespaceListView(QWidget* parent, CListCtrlModel* items,
                                       QItemSelectionModel* selection)
    : CListCtrlEx(parent, items, selection), m_pWatch(new CListFolderFollower(*this)),
      m_pSorter(std::make_unique<CListSorter>(*Model())), m_pFiller(new CListFiller(*this)) {
    connect(m_pFiller, &CListFiller::Finished, this, &CNamespaceListView::Listed);
    Model()->SetDeleter(&CNamespaceListView::OnDeleteitem);
    // The item that is current and selected is the one shown, once: Qt tells a new current
    // item both ways, in either order; with several items selected (Shift, Ctrl) only the
    // focused one counts.
    QItemSelectionModel* shared = selectionModel();
    connect(shared, &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection&, const QItemSelection& deselected) {
                if (m_shownIndex.isValid() && deselected.contains(m_shownIndex))
                    m_shownIndex = QPersistentModelIndex(); // chosen again, shown again
                FollowSelection();
            });
    connect(shared, &QItemSelectionModel::currentChanged, this,
            &CNamespaceListView::FollowSelection);
}

CNamespaceListView::~CNamespaceListView() {
    if (selectionModel())
        disconnect(selectionModel(), nullptr, this, nullptr);
    if (m_pTreeView)
        m_pTreeView->SetListView(nullptr);
    m_pFiller->Cancel();
    DeleteAllItems();
    m_pWatch->Stop();
}

void CNamespaceListView::SetTreeView(CNamespaceTreeView* pTreeView) {
    m_pTreeView = pTreeView;
}

CNamespaceTreeView* CNamespaceListView::TreeView() const {
    return m_pTreeView;
}

void CNamespaceListView::OnDeleteitem(quintptr lParam) {
    CListRecords::Free(lParam);
}

void CNamespaceListView::ResetContents() {
    m_pFiller->Cancel();
    m_pWatch->Stop();
    if (m_pNames)
        m_pNames->Forget();
    RetireAllItems();
    m_nHidden = 0;
    m_nCurItem = -1;
    m_strCurFile.clear();
    m_baCurFile.clear();
}

void CNamespaceListView::EmptyList() {
    ResetContents();
    OnListFilled();
}

void CNamespaceListView::FillList(NSTREEITEM* pFolderItem, CShellFolder* psfFolder) {
    ResetContents();
    m_listedFolder = CListedFolder();
    CFolderLister* lister = Lister();
    if (!pFolderItem || !psfFolder || !lister) {
        m_pFiller->ListNow(pFolderItem, psfFolder);
        return;
    }
    // Watched from before the listing, so that nothing made meanwhile is missed.
    const bool bWatched = m_pWatch->Watch(pFolderItem, psfFolder, lister);
    if (m_pNames)
        m_pNames->folder = GetNativePathFromPidl(pFolderItem->pidlAbs);
    if (m_pFiller->Start(lister, pFolderItem, psfFolder))
        return;
    if (bWatched)
        m_pWatch->Stop();
    m_pFiller->ListNow(pFolderItem, psfFolder);
}

CFolderLister* CNamespaceListView::Lister() const {
    return m_pTreeView ? m_pTreeView->Lister() : nullptr;
}

void CNamespaceListView::SelectWhenListed(const QString& name) {
    m_pFiller->SelectWhenListed(name);
}

bool CNamespaceListView::IsListing() const {
    return m_pFiller->IsFilling();
}

void CNamespaceListView::SetMostAddedPerTurn(int nItems) {
    m_pFiller->SetMostPerTurn(nItems);
}

CNamespaceListView::Add CNamespaceListView::AddListItem(CShellFolder* psf,
                                                        LPCITEMIDLIST pidlFolderAbs,
                                                        LPCITEMIDLIST pidl, int& nIndex) {
    const ULONG attrs = psf->GetAttributesOf(pidl, SFGAO_DISPLAYATTRMASK);
    LPITEMIDLIST pidlAbs = ConcatPidls(pidlFolderAbs, pidl);
    if (!pidlAbs) {
        if (m_pTreeView)
            ShowMessage(this,
                        QCoreApplication::translate("CNamespaceListView", "Out of Memory Error"));
        return Add::Stop;
    }
    if (!MatchesFilter(psf, pidlAbs)) {
        CountHidden(pidlAbs);
        FreePidl(pidlAbs);
        return Add::Skipped;
    }
    QString name;
    if (!GetDisplayName(psf, pidl, name, SHGDN_NORMAL)) {
        FreePidl(pidlAbs);
        return Add::Stop;
    }
    NSLISTITEM* rec = CListRecords::New(psf, pidl, attrs);
    if (!rec) {
        ShowMessage(this, QCoreApplication::translate("CNamespaceListView", "Out of Memory Error"));
        FreePidl(pidlAbs);
        return Add::Stop;
    }
    if (nIndex < 0) { // its sorted place, unless it is listed already
        nIndex = m_pSorter->PlaceOf(rec);
        if (nIndex < 0) {
            OnDeleteitem(reinterpret_cast<quintptr>(rec));
            FreePidl(pidlAbs);
            return Add::Skipped;
        }
    }
    CSystemImageList* images = CSystemImageList::Get();
    const int image = images ? images->IconIndexOf(pidlAbs) : -1;
    InsertItem(nIndex++, name, image, reinterpret_cast<quintptr>(rec),
               GetNativePathFromPidl(pidlAbs));
    FreePidl(pidlAbs);
    return Add::Added;
}

bool CNamespaceListView::MatchesFilter(CShellFolder*, LPCITEMIDLIST pidlAbs) {
    return m_astrExtensions.isEmpty() || IsFolderPidl(pidlAbs) ||
           m_filter.Matches(pidlAbs, m_astrExtensions);
}

// A file the filter left out is counted when it has one of the counted endings.
void CNamespaceListView::CountHidden(LPCITEMIDLIST pidlAbs) {
    if (!m_astrCountedEndings.isEmpty() && !IsFolderPidl(pidlAbs) &&
        m_counted.Matches(pidlAbs, m_astrCountedEndings))
        ++m_nHidden;
}

void CNamespaceListView::SortList() {
    // The current item stays current wherever its row goes.
    const QPersistentModelIndex current = m_nCurItem >= 0 ? IndexOf(m_nCurItem) : QModelIndex();
    m_pSorter->Sort();
    if (current.isValid())
        m_nCurItem = current.row();
}

void CNamespaceListView::SetOrder(const CItemOrder* order) {
    m_pSorter->SetOrder(order);
}

bool CNamespaceListView::HasOrder() const {
    return m_pSorter->Order() != nullptr;
}

LPITEMIDLIST CNamespaceListView::GetItemFullPidl(int nItem) {
    const NSLISTITEM* rec = RecordOf(GetItemData(nItem));
    if (!rec)
        return nullptr;
    if (!m_pTreeView) {
        ReportNoTree();
        return nullptr;
    }
    const NSTREEITEM* folder = m_pTreeView->SelectedRecord();
    return folder ? ConcatPidls(folder->pidlAbs, rec->pidlRel) : nullptr;
}

void CNamespaceListView::FollowSelection() {
    const QModelIndex current = selectionModel()->currentIndex();
    if (!current.isValid() || current == m_shownIndex || !selectionModel()->isSelected(current))
        return;
    m_shownIndex = current;
    OnItemchanged(current.row());
}

void CNamespaceListView::OnItemchanged(int nItem) {
    LPITEMIDLIST pidlAbs = GetItemFullPidl(nItem);
    m_nCurItem = nItem;
    m_baCurFile = pidlAbs ? GetNativePathFromPidl(pidlAbs) : QByteArray();
    m_strCurFile = QFile::decodeName(m_baCurFile);
    if (!pidlAbs)
        return;
    if (!IsFolderPidl(pidlAbs))
        OnFileSelected(nItem);
    else
        OnFolderSelected(nItem);
    FreePidl(pidlAbs);
}

void CNamespaceListView::mouseDoubleClickEvent(QMouseEvent* event) {
    CListCtrlEx::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        OnDblclk();
}

void CNamespaceListView::OnDblclk() {
    if (m_nCurItem == -1)
        return;
    const int nItem = m_nCurItem;
    LPITEMIDLIST pidlAbs = GetItemFullPidl(nItem);
    if (!pidlAbs)
        return;
    if (IsFolderPidl(pidlAbs)) {
        const NSLISTITEM* rec = RecordOf(GetItemData(nItem));
        if (rec)
            Q_EMIT FolderOpened(rec->pidlRel, GetItemText(nItem));
    } else {
        OpenFile(GetNativePathFromPidl(pidlAbs), nItem);
    }
    FreePidl(pidlAbs);
}

void CNamespaceListView::ShowFolder(NSTREEITEM* rec, CShellFolder* folder) {
    if (rec && folder)
        FillList(rec, folder);
    else
        EmptyList();
}

void CNamespaceListView::RefreshList() {
    NSTREEITEM* rec = m_pTreeView ? m_pTreeView->SelectedRecord() : nullptr;
    if (!rec)
        return;
    CShellFolderRef folder(rec->psfParent->BindToObject(rec->pidlRel));
    if (!folder) {
        EmptyList();
        return;
    }
    FillList(rec, folder.get());
}

void CNamespaceListView::OpenFile(const QByteArray& nativePath, int) {
    QDesktopServices::openUrl(CNativePath::ToUrl(nativePath));
}

void CNamespaceListView::InitList(const QString&) {
    CSystemImageList* images = CSystemImageList::Get();
    if (!images) { // the list goes on without icons
        ShowMessage(this, QCoreApplication::translate(
                              "CNamespaceListView", "Unable to get system image lists.  Exiting"));
        return;
    }
    SetImageList(images);
}

void CNamespaceListView::OnCurrentFileVanished(int) {
    m_nCurItem = -1;
    m_strCurFile.clear();
    m_baCurFile.clear();
}

// A plain file list sends no file anywhere; the picture file list does.
bool CNamespaceListView::MoveCurFile(const QString&) {
    return false;
}

bool CNamespaceListView::DeleteCurFile(bool) {
    return false;
}

bool CNamespaceListView::GetDisplayName(CShellFolder* psf, LPCITEMIDLIST pidl, QString& name,
                                        ULONG uFlags) {
    if (!m_pTreeView) {
        ReportNoTree();
        return false;
    }
    return m_pTreeView->GetDisplayName(psf, pidl, name, uFlags);
}

LPITEMIDLIST CNamespaceListView::ConcatPidls(LPCITEMIDLIST pidl1, LPCITEMIDLIST pidl2) {
    if (!m_pTreeView) {
        ReportNoTree();
        return nullptr;
    }
    return m_pTreeView->ConcatPidls(pidl1, pidl2);
}

LPITEMIDLIST CNamespaceListView::CopyItemID(CShellMalloc& malloc, LPCITEMIDLIST pidl) {
    if (!m_pTreeView) {
        ReportNoTree();
        return nullptr;
    }
    return m_pTreeView->CopyItemID(malloc, pidl);
}

void CNamespaceListView::ReportNoTree() {
    ShowMessage(this, QStringLiteral("There is no CNamespaceTreeView control associated with"
                                     "\t\tthis control.  Unable to complete function"));
}

void CNamespaceListView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        event->accept(); // a right click never changes the selection
        return;
    }
    CListCtrlEx::mousePressEvent(event);
}

void CNamespaceListView::contextMenuEvent(QContextMenuEvent* event) {
    if (event->reason() == QContextMenuEvent::Mouse)
        OnRclick(event->pos());
    event->accept();
}

bool CNamespaceListView::IsOnLabel(int nItem, const QPoint& pos) {
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.index = IndexOf(nItem);
    option.rect = visualRect(option.index);
    option.text = GetItemText(nItem);
    option.icon = option.index.data(Qt::DecorationRole).value<QIcon>();
    return CItemLabelHitTest::IsOnLabel(this, option, pos);
}

void CNamespaceListView::OnRclick(const QPoint& pos) {
    const QModelIndex index = indexAt(pos);
    if (!index.isValid() || !IsOnLabel(index.row(), pos))
        return;
    const NSLISTITEM* rec = RecordOf(GetItemData(index.row()));
    if (!rec)
        return;
    if (DoContextMenu(this, rec->psfParent, rec->pidlRel, viewport()->mapToGlobal(pos)))
        RefreshList(); // the item was renamed or removed
}

bool CNamespaceListView::DoContextMenu(QWidget* owner, CShellFolder* psf, LPCITEMIDLIST pidl,
                                       const QPoint& pt) {
    return CShellContextMenu::Track(owner, psf, pidl, pt, m_pRecorder);
}

// --- following the listed folder as other programs change it ----------------------------

const QByteArray& CNamespaceListView::ListedFolder() const {
    return m_pWatch->Dir();
}

void CNamespaceListView::HoldFolderChanges(bool bHold) {
    m_pWatch->Hold(bHold);
}

void CNamespaceListView::ApplyFolderChanges(const DirectoryChanges& changes) {
    m_pWatch->Apply(changes);
}

QSet<QByteArray> CNamespaceListView::ListedNames() const {
    QSet<QByteArray> listed;
    for (int i = 0; i < GetItemCount(); ++i)
        if (const NSLISTITEM* rec = RecordOf(GetItemData(i)))
            listed.insert(CShellItemId::BytesOf(rec->pidlRel).toByteArray());
    return listed;
}
