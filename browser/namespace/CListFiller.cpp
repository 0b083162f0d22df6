#include "browser/namespace/CListFiller.h"

#include "browser/controls/CListCtrlModel.h"
#include "browser/controls/PidlFunctions.h"
#include "browser/namespace/CListFolderFollower.h"
#include "browser/namespace/CListSorter.h"
#include "browser/namespace/CNamespaceListView.h"
#include "platform/shell/CEnumIDList.h"
#include "platform/shell/CFolderLister.h"
#include "platform/shell/CShellFolder.h"
#include "platform/shell/CShellItemId.h"

CListFiller::CListFiller(CNamespaceListView& list) : QObject(&list), m_list(list) {
}

CListFiller::~CListFiller() {
    m_bHolding = false; // the list is going, and its rows with it
    Cancel();
}

bool CListFiller::Start(CFolderLister* lister, NSTREEITEM* pFolderItem, CShellFolder* psfFolder) {
    Cancel();
    const QByteArray path = GetNativePathFromPidl(pFolderItem->pidlAbs);
    if (!lister || path.isEmpty())
        return false;
    if (m_pLister != lister) {
        if (m_pLister)
            disconnect(m_pLister, nullptr, this, nullptr);
        m_pLister = lister;
        connect(lister, &CFolderLister::Opened, this, &CListFiller::OnOpened);
        connect(lister, &CFolderLister::Batch, this, &CListFiller::OnBatch);
        connect(lister, &CFolderLister::Finished, this, &CListFiller::OnFinished);
    }
    m_psf = psfFolder;
    m_psf->AddRef();
    m_pidl = CItemIdList::ConcatPidls(nullptr, pFolderItem->pidlAbs);
    m_bComplete = m_pidl != nullptr;
    m_nAdded = 0;
    m_nTicket = lister->List(path);
    HoldFreeing(true);
    return true;
}

void CListFiller::Cancel() {
    if (m_nTicket && m_pLister)
        m_pLister->Cancel(m_nTicket);
    m_nTicket = 0;
    m_queued.clear();
    m_bEnded = false;
    Release();
}

// The rows of the folder left are freed once this filling has ended: freed between its
// turns, they slowed each allocation the filling made.
void CListFiller::HoldFreeing(bool bHold) {
    if (m_bHolding == bHold)
        return;
    m_bHolding = bHold;
    if (CListCtrlModel* rows = m_list.Model())
        rows->HoldFreeing(bHold);
}

void CListFiller::Release() {
    HoldFreeing(false);
    if (m_psf)
        m_psf->Release();
    m_psf = nullptr;
    FreePidl(m_pidl);
    m_pidl = nullptr;
}

void CListFiller::SelectWhenListed(const QString& name) {
    m_bPending = true;
    m_pendingName = name;
    if (!IsFilling())
        SelectPending(true);
}

void CListFiller::OnOpened(quint64 ticket, const CListedFolder& folder) {
    if (ticket == m_nTicket)
        m_list.m_listedFolder = folder;
}

// Batches are queued and added a few thousand items per turn of the event loop: however fast
// the worker reads, the window answers between them, and each merge takes in as many items
// as have arrived.
void CListFiller::OnBatch(quint64 ticket, const ListedEntries& entries) {
    if (ticket != m_nTicket || !m_psf || !m_pidl)
        return;
    m_queued.append(entries);
    PostDrain();
}

void CListFiller::PostDrain() {
    if (m_bDrainPosted)
        return;
    m_bDrainPosted = true;
    QMetaObject::invokeMethod(this, &CListFiller::Drain, Qt::QueuedConnection);
}

void CListFiller::Drain() {
    m_bDrainPosted = false;
    if (m_bAdding) // a message about an item being added runs an event loop; the drain
        return;    // under way goes on once it is closed
    if (!m_queued.isEmpty() && m_psf && m_pidl) {
        const qsizetype n = std::min<qsizetype>(m_queued.size(), m_nMostPerTurn);
        const ListedEntries entries = m_queued.first(n);
        m_queued.remove(0, n);
        m_bAdding = true;
        AddSorted(entries);
        m_bAdding = false;
        SelectPending(false);
        m_list.OnListGrew();
    }
    if (!m_queued.isEmpty())
        PostDrain();
    else if (m_bEnded)
        Finish();
}

// The batch added at the end, then the list sorted once: the items on show keep their order
// (the order is total), and the current item and the selection stay on their files through
// the sort. Before anything is chosen, the views hear of a batch as one change.
void CListFiller::AddSorted(const ListedEntries& entries) {
    // Names the folder's follower put in meanwhile are not listed twice.
    const QSet<QByteArray> listed =
        m_list.GetItemCount() != m_nAdded ? m_list.ListedNames() : QSet<QByteArray>();
    const QPersistentModelIndex current =
        m_list.m_nCurItem >= 0 ? m_list.IndexOf(m_list.m_nCurItem) : QModelIndex();
    const bool bQuiet = !current.isValid() && !m_list.selectionModel()->hasSelection();
    if (bQuiet)
        m_list.BeginBatch();
    const int nSorted = m_list.GetItemCount();
    std::vector<QByteArrayView> keys; // of the rows added, in their order
    keys.reserve(std::size_t(entries.size()));
    for (const SListedEntry& e : entries) {
        if ((e.flags & CShellItemId::IsFolder) && !m_list.m_bIncludeFolders)
            continue;
        if (m_list.m_pNames)
            m_list.m_pNames->names.insert(e.name);
        if (m_bComplete && !listed.contains(e.name) && Add(e))
            keys.push_back(e.key);
    }
    if (!KeysAgree(entries))
        keys.clear(); // made here instead
    m_list.m_pSorter->SortAppended(nSorted, keys);
    if (bQuiet)
        m_list.EndBatch();
    if (current.isValid())
        m_list.m_nCurItem = current.row();
}

bool CListFiller::Add(const SListedEntry& entry) {
    LPITEMIDLIST pidl = CShellItemId::Make(CShellItemId::Named, entry.flags, entry.name);
    int nAt = m_list.GetItemCount();
    const auto result =
        pidl ? m_list.AddListItem(m_psf, m_pidl, pidl, nAt) : CNamespaceListView::Add::Stop;
    FreePidl(pidl);
    if (result == CNamespaceListView::Add::Stop)
        m_bComplete = false;
    else if (result == CNamespaceListView::Add::Added)
        ++m_nAdded;
    return result == CNamespaceListView::Add::Added;
}

// The keys the reading made are used only where the folder makes the same: one entry of
// each batch is checked.
bool CListFiller::KeysAgree(const ListedEntries& entries) const {
    if (entries.isEmpty())
        return false;
    const SListedEntry& e = entries.first();
    LPITEMIDLIST pidl = CShellItemId::Make(CShellItemId::Named, e.flags, e.name);
    QByteArray key;
    if (pidl)
        m_psf->AppendSortKey(pidl, key);
    FreePidl(pidl);
    return pidl && !key.isEmpty() && key == e.key;
}

void CListFiller::OnFinished(quint64 ticket, bool bOk) {
    if (ticket != m_nTicket)
        return; // a reading given up, or another list's
    m_bEnded = true;
    m_bEndedOk = bOk;
    PostDrain(); // finishes once the batches before it are in
}

void CListFiller::Finish() {
    m_nTicket = 0;
    m_bEnded = false;
    Release();
    SFolderNames* names = m_list.m_pNames;
    if (names && m_bEndedOk && m_bComplete)
        names->bKnown = true;
    else if (names)
        names->Forget();
    if (m_bComplete)
        m_list.OnListFilled();
    SelectPending(true);
    Q_EMIT Finished();
}

// The selection asked for, once its item is listed (the first item: once all are).
bool CListFiller::SelectPending(bool bEnd) {
    if (!m_bPending)
        return false;
    int nFound = -1;
    if (m_pendingName.isEmpty())
        nFound = bEnd && m_list.GetItemCount() > 0 ? 0 : -1;
    for (int i = 0; i < m_list.GetItemCount() && nFound < 0 && !m_pendingName.isEmpty(); ++i)
        if (m_list.GetItemText(i) == m_pendingName)
            nFound = i;
    if (nFound < 0 && !bEnd)
        return false;
    m_bPending = false;
    if (nFound >= 0)
        m_list.SelectItem(nFound, true);
    return nFound >= 0;
}

void CListFiller::ListNow(NSTREEITEM* pFolderItem, CShellFolder* psfFolder) {
    m_list.BeginBatch();
    m_list.ResetContents();
    const ULONG flags = SHCONTF_NONFOLDERS | (m_list.m_bIncludeFolders ? SHCONTF_FOLDERS : 0);
    const auto items = pFolderItem && psfFolder ? psfFolder->EnumObjects(flags) : nullptr;
    const QByteArray path = items ? GetNativePathFromPidl(pFolderItem->pidlAbs) : QByteArray();
    m_list.m_listedFolder = items ? CListedFolder::Of(path, items->FolderFd()) : CListedFolder();
    bool bComplete = true;
    if (items) { // a folder that cannot be read (or is gone) shows empty, without a message
        m_list.m_pWatch->Watch(pFolderItem, psfFolder, m_list.Lister());
        bComplete = AddAll(*items, pFolderItem->pidlAbs, psfFolder);
    }
    // Sorted within the batch: whoever follows the list sees it once, and in order.
    m_list.SortList();
    m_list.EndBatch();
    if (bComplete)
        m_list.OnListFilled();
    Q_EMIT Finished();
}

bool CListFiller::AddAll(CEnumIDList& items, LPCITEMIDLIST pidlFolder, CShellFolder* psf) {
    SFolderNames* names = m_list.m_pNames;
    if (names) {
        names->folder = m_list.m_listedFolder.Path();
        names->bKnown = true;
    }
    LPITEMIDLIST pidl = nullptr;
    int nIndex = 0;
    while (items.Next(&pidl)) {
        if (names)
            names->names.insert(CShellItemId::BytesOf(pidl).toByteArray());
        const auto result = m_list.AddListItem(psf, pidlFolder, pidl, nIndex);
        FreePidl(pidl);
        if (result == CNamespaceListView::Add::Stop) {
            if (names)
                names->Forget();
            return false;
        }
    }
    return true;
}
