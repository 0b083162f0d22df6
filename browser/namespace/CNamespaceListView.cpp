#include "browser/namespace/CNamespaceListView.h"

#include "browser/controls/CItemLabelHitTest.h"
#include "browser/controls/PidlFunctions.h"
#include "browser/namespace/CNamespaceTreeView.h"
#include "platform/shell/CDirEnumIDList.h"
#include "platform/shell/CShellContextMenu.h"
#include "platform/shell/CShellFolderRef.h"
#include "platform/shell/CShellItemId.h"
#include "platform/shell/CShellMalloc.h"
#include "platform/shell/CSystemImageList.h"
#include "platform/system/CDirectoryWatch.h"
#include "platform/system/CNativePath.h"
#include "platform/ui/CWaitCursor.h"
#include "platform/ui/ShowMessage.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFile>
#include <QSet>

namespace {
char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? char(c - ('a' - 'A')) : c;
}

// True when `path` ends with `ending`, compared byte by byte from the end with ASCII
// letters in either case; a path shorter than the ending matches when all of it matches
// the ending's tail.
bool EndsWithNoCase(QByteArrayView path, QByteArrayView ending) {
    qsizetype i = path.size() - 1;
    for (qsizetype j = ending.size() - 1; j >= 0; --j, --i) {
        if (i < 0)
            return true;
        if (AsciiUpper(path[i]) != AsciiUpper(ending[j]))
            return false;
    }
    return true;
}

QList<QByteArray> ToBytes(const QStringList& endings) {
    QList<QByteArray> list;
    for (const QString& ending : endings)
        list.append(ending.toUtf8());
    return list;
}
} // namespace

CNamespaceListView::CNamespaceListView(QWidget* parent)
    : CListCtrlEx(parent), m_pWatch(new CDirectoryWatch(this)) {
    Model()->SetDeleter(&CNamespaceListView::OnDeleteitem);
    connect(m_pWatch, &CDirectoryWatch::Changed, this, &CNamespaceListView::OnFolderChanged);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection& selected) {
                for (const QModelIndex& index : selected.indexes())
                    OnItemchanged(index.row());
            });
}

CNamespaceListView::~CNamespaceListView() {
    disconnect(selectionModel(), nullptr, this, nullptr);
    if (m_pTreeView)
        m_pTreeView->SetListView(nullptr);
    DeleteAllItems();
    StopWatching();
}

void CNamespaceListView::SetTreeView(CNamespaceTreeView* pTreeView) {
    m_pTreeView = pTreeView;
}

CNamespaceTreeView* CNamespaceListView::TreeView() const {
    return m_pTreeView;
}

void CNamespaceListView::OnDeleteitem(quintptr lParam) {
    NSLISTITEM* rec = RecordOf(lParam);
    if (!rec)
        return;
    if (rec->psfParent)
        rec->psfParent->Release();
    CShellMalloc::Get().Free(rec->pidlRel);
    CShellMalloc::Get().Free(rec);
}

void CNamespaceListView::ResetContents() {
    StopWatching();
    DeleteAllItems();
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
    BeginBatch();
    ResetContents();
    const ULONG flags = SHCONTF_NONFOLDERS | (m_bIncludeFolders ? SHCONTF_FOLDERS : 0);
    const auto items = pFolderItem && psfFolder ? psfFolder->EnumObjects(flags) : nullptr;
    m_listedFolder =
        items ? CListedFolder::Of(GetNativePathFromPidl(pFolderItem->pidlAbs), items->FolderFd())
              : CListedFolder();
    if (!items) { // a folder that cannot be read (or is gone) shows empty, without a message
        EndBatch();
        OnListFilled();
        return;
    }
    // Watched from before the listing, so that nothing made meanwhile is missed.
    WatchFolder(pFolderItem, psfFolder);
    int nIndex = 0;
    bool complete = true;
    LPITEMIDLIST pidl = nullptr;
    while (items->Next(&pidl)) {
        const Add result = AddListItem(psfFolder, pFolderItem->pidlAbs, pidl, nIndex);
        FreePidl(pidl);
        if (result == Add::Stop) {
            complete = false;
            break;
        }
    }
    // Sorted within the batch: whoever follows the list sees it once, and in order.
    SortList();
    EndBatch();
    if (complete)
        OnListFilled();
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
    NSLISTITEM* rec = NewRecord(psf, pidl, attrs);
    if (!rec) {
        ShowMessage(this, QCoreApplication::translate("CNamespaceListView", "Out of Memory Error"));
        FreePidl(pidlAbs);
        return Add::Stop;
    }
    if (nIndex < 0) { // its sorted place, unless it is listed already
        nIndex = SortedPlaceOf(rec);
        if (nIndex < 0) {
            OnDeleteitem(reinterpret_cast<quintptr>(rec));
            FreePidl(pidlAbs);
            return Add::Skipped;
        }
    }
    CSystemImageList* images = CSystemImageList::Get();
    const int image = images ? images->IconIndexOf(pidlAbs) : -1;
    InsertItem(nIndex++, name, image, reinterpret_cast<quintptr>(rec));
    FreePidl(pidlAbs);
    return Add::Added;
}

NSLISTITEM* CNamespaceListView::NewRecord(CShellFolder* psf, LPCITEMIDLIST pidl, ULONG attrs) {
    CShellMalloc& malloc = CShellMalloc::Get();
    auto* rec = static_cast<NSLISTITEM*>(malloc.Alloc(sizeof(NSLISTITEM)));
    if (!rec)
        return nullptr;
    *rec = NSLISTITEM{psf, CopyItemID(malloc, pidl), attrs};
    psf->AddRef();
    if (!rec->pidlRel) { // never keep a record without its list
        OnDeleteitem(reinterpret_cast<quintptr>(rec));
        return nullptr;
    }
    return rec;
}

bool CNamespaceListView::MatchesFilter(CShellFolder*, LPCITEMIDLIST pidlAbs) {
    if (m_astrExtensions.isEmpty() || IsFolderPidl(pidlAbs))
        return true;
    if (m_astrEndingsFor != m_astrExtensions) {
        m_astrEndingsFor = m_astrExtensions;
        m_abaEndings = ToBytes(m_astrExtensions);
    }
    return EndsWithOneOf(pidlAbs, m_abaEndings);
}

// Most endings lie within the file name, which is compared where it is; the whole path is
// only made for an ending longer than the name.
bool CNamespaceListView::EndsWithOneOf(LPCITEMIDLIST pidlAbs, const QList<QByteArray>& endings) {
    const LPCITEMIDLIST last = CItemIdList::LastItemID(pidlAbs);
    const bool named = CShellItemId::KindOf(last) == CShellItemId::Named;
    const QByteArrayView name = CShellItemId::BytesOf(last);
    QByteArray path;
    for (const QByteArray& ending : endings) {
        QByteArrayView subject = name;
        if (!named || name.size() < ending.size()) {
            if (path.isEmpty())
                path = GetNativePathFromPidl(pidlAbs);
            if (path.isEmpty())
                return false; // outside the file system
            subject = path;
        }
        if (EndsWithNoCase(subject, ending))
            return true;
    }
    return false;
}

// A file the filter left out is counted when it has one of the counted endings.
void CNamespaceListView::CountHidden(LPCITEMIDLIST pidlAbs) {
    if (m_astrCountedEndings.isEmpty() || IsFolderPidl(pidlAbs))
        return;
    if (m_astrCountedFor != m_astrCountedEndings) {
        m_astrCountedFor = m_astrCountedEndings;
        m_abaCounted = ToBytes(m_astrCountedEndings);
    }
    if (EndsWithOneOf(pidlAbs, m_abaCounted))
        ++m_nHidden;
}

int CNamespaceListView::CompareItems(quintptr lParam1, quintptr lParam2, quintptr) {
    const NSLISTITEM* p1 = RecordOf(lParam1);
    const NSLISTITEM* p2 = RecordOf(lParam2);
    return p1->psfParent->CompareIDs(0, p1->pidlRel, p2->pidlRel);
}

void CNamespaceListView::SortKeyOf(quintptr lParam, QByteArray& keys) {
    const NSLISTITEM* rec = RecordOf(lParam);
    rec->psfParent->AppendSortKey(rec->pidlRel, keys);
}

void CNamespaceListView::SortList() {
    SortItems(&CNamespaceListView::CompareItems, 0, &CNamespaceListView::SortKeyOf);
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
        if (m_pTreeView && rec)
            m_pTreeView->SelectChildItem(rec->pidlRel, GetItemText(nItem));
    } else {
        OpenFile(GetNativePathFromPidl(pidlAbs), nItem);
    }
    FreePidl(pidlAbs);
}

void CNamespaceListView::RefreshList() {
    CWaitCursor wait;
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

void CNamespaceListView::OnFolderSelected(int) {
}
void CNamespaceListView::OnFolderChangesStarting() {
}
void CNamespaceListView::OnItemsChanged() {
}
void CNamespaceListView::OnCurrentFileVanished(int) {
    m_nCurItem = -1;
    m_strCurFile.clear();
    m_baCurFile.clear();
}
void CNamespaceListView::OnListFilled() {
}
void CNamespaceListView::OnFileSelected(int) {
}

// A plain file list sends no file anywhere; the picture file list does.
bool CNamespaceListView::MoveCurFile(const QString&) {
    return false;
}

bool CNamespaceListView::DeleteCurFile(bool) {
    return false;
}

QList<QByteArray> CNamespaceListView::ItemNativePaths() {
    QList<QByteArray> paths;
    const int count = GetItemCount();
    paths.reserve(count);
    const NSTREEITEM* folder = m_pTreeView ? m_pTreeView->SelectedRecord() : nullptr;
    QByteArray dir = folder ? GetNativePathFromPidl(folder->pidlAbs) : QByteArray();
    if (!dir.isEmpty() && !dir.endsWith('/'))
        dir.append('/');
    for (int i = 0; i < count; ++i) {
        const NSLISTITEM* rec = RecordOf(GetItemData(i));
        if (rec && !dir.isEmpty() && CShellItemId::KindOf(rec->pidlRel) == CShellItemId::Named) {
            paths.append(QByteArray(dir).append(CShellItemId::BytesOf(rec->pidlRel)));
            continue;
        }
        LPITEMIDLIST pidlAbs = rec && folder ? ConcatPidls(folder->pidlAbs, rec->pidlRel) : nullptr;
        paths.append(pidlAbs ? GetNativePathFromPidl(pidlAbs) : QByteArray());
        if (pidlAbs)
            FreePidl(pidlAbs);
    }
    return paths;
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

void CNamespaceListView::WatchFolder(NSTREEITEM* pFolderItem, CShellFolder* psfFolder) {
    StopWatching();
    m_baListedDir = GetNativePathFromPidl(pFolderItem->pidlAbs);
    if (m_baListedDir.isEmpty() || !m_pWatch->Watch(m_baListedDir)) {
        m_baListedDir.clear();
        return;
    }
    m_psfListed = psfFolder;
    m_psfListed->AddRef();
    m_pidlListed = CItemIdList::ConcatPidls(nullptr, pFolderItem->pidlAbs);
}

void CNamespaceListView::StopWatching() {
    m_pWatch->UnwatchAll();
    m_baListedDir.clear();
    if (m_psfListed)
        m_psfListed->Release();
    m_psfListed = nullptr;
    FreePidl(m_pidlListed);
    m_pidlListed = nullptr;
}

void CNamespaceListView::OnFolderChanged(const QByteArray& dir, const DirectoryChanges& changes) {
    if (dir != m_baListedDir)
        return;
    if (m_bHoldChanges)
        m_bChangesHeld = true; // made up for by comparing with the folder once released
    else
        ApplyFolderChanges(changes);
}

void CNamespaceListView::HoldFolderChanges(bool bHold) {
    m_bHoldChanges = bHold;
    if (bHold || !m_bChangesHeld)
        return;
    m_bChangesHeld = false;
    ApplyFolderChanges(DirectoryChanges::RescanAll());
}

void CNamespaceListView::ApplyFolderChanges(const DirectoryChanges& changes) {
    if (m_baListedDir.isEmpty() || !m_psfListed || !m_pidlListed)
        return;
    if (changes.Rescan()) {
        const DirectoryChanges found = CompareWithFolder();
        if (!found.Rescan())
            ApplyFolderChanges(found);
        return;
    }
    if (changes.IsEmpty())
        return;
    OnFolderChangesStarting();
    QList<QByteArray> removed;
    for (const DirectoryChanges::Entry& e : changes.Removed())
        removed.append(e.name);
    // The current item's place, followed through the removals and insertions.
    int nCur = m_nCurItem;
    bool bCurGone = false;
    RemoveNamed(removed, nCur, bCurGone);
    for (const DirectoryChanges::Entry& e : changes.Added()) {
        const int nAt = InsertNamed(e.name);
        if (nAt >= 0 && nCur >= 0 && nAt <= nCur)
            ++nCur;
    }
    Arrange();
    if (bCurGone)
        OnCurrentFileVanished(nCur);
    else
        m_nCurItem = nCur;
    OnItemsChanged();
}

void CNamespaceListView::RemoveNamed(const QList<QByteArray>& names, int& nCur, bool& bCurGone) {
    if (names.isEmpty())
        return;
    const QSet<QByteArray> gone(names.cbegin(), names.cend());
    for (int i = GetItemCount() - 1; i >= 0; --i) {
        const NSLISTITEM* rec = RecordOf(GetItemData(i));
        const QByteArrayView name = rec ? CShellItemId::BytesOf(rec->pidlRel) : QByteArrayView();
        if (!rec || !gone.contains(QByteArray::fromRawData(name.data(), name.size())))
            continue;
        if (currentIndex().row() == i)
            selectionModel()->clear(); // the next item is chosen by the move-on rule
        if (i < nCur)
            --nCur;
        else if (i == nCur)
            bCurGone = true; // its place is where the next item now stands
        DeleteItem(i);
    }
}

int CNamespaceListView::InsertNamed(const QByteArray& name) {
    const ULONG flags = SHCONTF_NONFOLDERS | (m_bIncludeFolders ? SHCONTF_FOLDERS : 0);
    LPITEMIDLIST pidl = CDirEnumIDList::EntryOf(m_baListedDir, name, flags);
    if (!pidl)
        return -1; // gone again, or a folder where folders are not listed
    int nAt = -1;
    const Add added = AddListItem(m_psfListed, m_pidlListed, pidl, nAt);
    FreePidl(pidl);
    return added == Add::Added ? nAt - 1 : -1;
}

// The first place whose item the listed folder orders after `rec`; -1 when an item of the
// same name is there already.
int CNamespaceListView::SortedPlaceOf(const NSLISTITEM* rec) const {
    int lo = 0, hi = GetItemCount();
    const auto key = reinterpret_cast<quintptr>(rec);
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (CompareItems(GetItemData(mid), key, 0) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    for (int i = lo; i < GetItemCount() && CompareItems(GetItemData(i), key, 0) == 0; ++i)
        if (CShellItemId::BytesOf(RecordOf(GetItemData(i))->pidlRel) ==
            CShellItemId::BytesOf(rec->pidlRel))
            return -1;
    return lo;
}

DirectoryChanges CNamespaceListView::CompareWithFolder() {
    DirectoryChanges found;
    const ULONG flags = SHCONTF_NONFOLDERS | (m_bIncludeFolders ? SHCONTF_FOLDERS : 0);
    const auto items = m_psfListed->EnumObjects(flags);
    if (!items) {
        found.SetRescan(); // unreadable now: leave the list as it is
        return found;
    }
    QSet<QByteArray> listed;
    for (int i = 0; i < GetItemCount(); ++i)
        if (const NSLISTITEM* rec = RecordOf(GetItemData(i)))
            listed.insert(CShellItemId::BytesOf(rec->pidlRel).toByteArray());
    LPITEMIDLIST pidl = nullptr;
    while (items->Next(&pidl)) {
        const QByteArray name = CShellItemId::BytesOf(pidl).toByteArray();
        if (!listed.remove(name))
            found.Appeared(name, CShellItemId::IsFolderEntry(pidl));
        FreePidl(pidl);
    }
    for (const QByteArray& name : std::as_const(listed))
        found.Vanished(name, false);
    return found;
}
