#include "browser/namespace/CListFiller.h"

#include "browser/controls/PidlFunctions.h"
#include "browser/namespace/CListFolderFollower.h"
#include "browser/namespace/CNamespaceListView.h"
#include "platform/shell/CEnumIDList.h"
#include "platform/shell/CFolderLister.h"
#include "platform/shell/CShellFolder.h"
#include "platform/shell/CShellItemId.h"

#include <algorithm>
#include <vector>

CListFiller::CListFiller(CNamespaceListView& list) : QObject(&list), m_list(list) {
}

CListFiller::~CListFiller() {
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
    m_nTicket = lister->List(path);
    return true;
}

void CListFiller::Cancel() {
    if (m_nTicket && m_pLister)
        m_pLister->Cancel(m_nTicket);
    m_nTicket = 0;
    Release();
}

void CListFiller::Release() {
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

void CListFiller::OnBatch(quint64 ticket, const ListedEntries& entries) {
    if (ticket != m_nTicket || !m_psf || !m_pidl)
        return;
    AddSorted(entries);
    SelectPending(false);
    m_list.OnListGrew();
}

// The batch in the folder's order, each item at its sorted place: the items on show keep
// their order, and the current one stays current wherever the rows before it grow.
void CListFiller::AddSorted(const ListedEntries& entries) {
    std::vector<LPITEMIDLIST> pidls;
    pidls.reserve(std::size_t(entries.size()));
    for (const SListedEntry& e : entries) {
        if ((e.flags & CShellItemId::IsFolder) && !m_list.m_bIncludeFolders)
            continue;
        if (LPITEMIDLIST pidl = CShellItemId::Make(CShellItemId::Named, e.flags, e.name))
            pidls.push_back(pidl);
        else
            m_bComplete = false;
    }
    std::sort(pidls.begin(), pidls.end(),
              [this](LPCITEMIDLIST a, LPCITEMIDLIST b) { return m_psf->CompareIDs(0, a, b) < 0; });
    const QPersistentModelIndex current =
        m_list.m_nCurItem >= 0 ? m_list.IndexOf(m_list.m_nCurItem) : QModelIndex();
    const bool bQuiet = m_list.GetItemCount() == 0; // nothing on show yet: one reset
    if (bQuiet)
        m_list.BeginBatch();
    for (LPITEMIDLIST pidl : pidls) {
        if (m_list.m_pNames)
            m_list.m_pNames->names.insert(CShellItemId::BytesOf(pidl).toByteArray());
        int nAt = -1;
        if (m_bComplete &&
            m_list.AddListItem(m_psf, m_pidl, pidl, nAt) == CNamespaceListView::Add::Stop)
            m_bComplete = false;
        FreePidl(pidl);
    }
    if (bQuiet)
        m_list.EndBatch();
    if (current.isValid())
        m_list.m_nCurItem = current.row();
}

void CListFiller::OnFinished(quint64 ticket, bool bOk) {
    if (ticket != m_nTicket)
        return; // a reading given up, or another list's
    m_nTicket = 0;
    Release();
    SFolderNames* names = m_list.m_pNames;
    if (names && bOk && m_bComplete)
        names->bKnown = true;
    else if (names)
        names->Forget();
    if (m_list.HasOrder()) // by name, every item went to its place already
        m_list.SortList();
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
