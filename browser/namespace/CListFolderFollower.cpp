#include "browser/namespace/CListFolderFollower.h"

#include "browser/controls/NamespaceRecords.h"
#include "browser/controls/PidlFunctions.h"
#include "browser/namespace/CNamespaceListView.h"
#include "platform/shell/CItemIdList.h"
#include "platform/shell/CShellFolder.h"
#include "platform/shell/CShellItemId.h"
#include "platform/system/CDirectoryWatch.h"

CListFolderFollower::CListFolderFollower(CNamespaceListView& list)
    : QObject(&list), m_list(list), m_pWatch(new CDirectoryWatch(this)),
      m_pRefresher(new CFolderRefresher(
          &list, [this] { return m_list.ListedNames(); },
          [this](const CFolderRefresher::Update& update) { OnFound(update); })) {
    connect(m_pWatch, &CDirectoryWatch::Changed, this, &CListFolderFollower::OnChanged);
    // A remote folder is read again every few seconds instead of watched: a watch sees only
    // this machine's changes there, and costs round trips of its own.
    connect(m_pRefresher, &CFolderRefresher::Remote, m_pWatch, &CDirectoryWatch::UnwatchAll);
}

CListFolderFollower::~CListFolderFollower() {
    Stop();
}

bool CListFolderFollower::Watch(NSTREEITEM* pFolderItem, CShellFolder* psfFolder,
                                CFolderLister* lister) {
    Stop();
    m_baDir = GetNativePathFromPidl(pFolderItem->pidlAbs);
    if (m_baDir.isEmpty() || !m_pWatch->Watch(m_baDir)) {
        m_baDir.clear();
        return false;
    }
    m_psf = psfFolder;
    m_psf->AddRef();
    m_pidl = CItemIdList::ConcatPidls(nullptr, pFolderItem->pidlAbs);
    m_pRefresher->Follow(lister, m_baDir);
    return true;
}

void CListFolderFollower::Stop() {
    m_pRefresher->Stop();
    m_pWatch->UnwatchAll();
    m_baDir.clear();
    if (m_psf)
        m_psf->Release();
    m_psf = nullptr;
    FreePidl(m_pidl);
    m_pidl = nullptr;
}

void CListFolderFollower::OnChanged(const QByteArray& dir, const DirectoryChanges& changes) {
    if (dir != m_baDir)
        return;
    if (m_bHold)
        m_bHeld = true; // made up for by comparing with the folder once released
    else
        Apply(changes);
}

void CListFolderFollower::Hold(bool bHold) {
    m_bHold = bHold;
    if (bHold || !m_bHeld)
        return;
    m_bHeld = false;
    Apply(DirectoryChanges::RescanAll());
}

// The names of the folder's entries follow its changes, filtered out or not.
void CListFolderFollower::KeepNames(const CFolderRefresher::Update& update) {
    SFolderNames* names = m_list.m_pNames;
    if (!names || !names->IsOf(m_baDir))
        return;
    if (update.bWhole)
        names->names = update.all;
    for (const DirectoryChanges::Entry& e : update.changes.Removed())
        names->names.remove(e.name);
    for (const DirectoryChanges::Entry& e : update.changes.Added())
        names->names.insert(e.name);
}

void CListFolderFollower::Apply(const DirectoryChanges& changes) {
    if (!m_baDir.isEmpty() && m_psf && m_pidl)
        m_pRefresher->Read(changes);
}

void CListFolderFollower::OnFound(const CFolderRefresher::Update& update) {
    const DirectoryChanges& changes = update.changes;
    if (m_baDir.isEmpty() || !m_psf || !m_pidl)
        return;
    if (m_bHold) { // made up for by comparing with the folder once released
        m_bHeld = true;
        return;
    }
    if (changes.IsEmpty())
        return;
    QList<QByteArray> removed;
    for (const DirectoryChanges::Entry& e : changes.Removed())
        removed.append(e.name);
    KeepNames(update);
    // The current item's place, followed through the removals and insertions.
    int nCur = m_list.m_nCurItem;
    bool bCurGone = false;
    int nChanged = RemoveNamed(removed, nCur, bCurGone);
    for (const DirectoryChanges::Entry& e : changes.Added()) {
        const int nAt = InsertNamed(e.name, update.flags.value(e.name));
        if (nAt < 0)
            continue;
        ++nChanged;
        if (nCur >= 0 && nAt <= nCur)
            ++nCur;
    }
    // A remote folder read again reports the entries the list leaves out (the filter's,
    // folders) each time: the list is laid out and redrawn only when a row came or went.
    if (nChanged == 0)
        return;
    m_list.Arrange();
    if (bCurGone)
        m_list.OnCurrentFileVanished(nCur);
    else
        m_list.m_nCurItem = nCur;
    m_list.OnItemsChanged();
}

int CListFolderFollower::RemoveNamed(const QList<QByteArray>& names, int& nCur, bool& bCurGone) {
    int nRemoved = 0;
    if (names.isEmpty())
        return nRemoved;
    const QSet<QByteArray> gone(names.cbegin(), names.cend());
    for (int i = m_list.GetItemCount() - 1; i >= 0; --i) {
        const NSLISTITEM* rec = CNamespaceListView::RecordOf(m_list.GetItemData(i));
        const QByteArrayView name = rec ? CShellItemId::BytesOf(rec->pidlRel) : QByteArrayView();
        if (!rec || !gone.contains(QByteArray::fromRawData(name.data(), name.size())))
            continue;
        if (m_list.currentIndex().row() == i)
            m_list.selectionModel()->clear(); // the next item is chosen by the move-on rule
        if (i < nCur)
            --nCur;
        else if (i == nCur)
            bCurGone = true; // its place is where the next item now stands
        m_list.DeleteItem(i);
        ++nRemoved;
    }
    return nRemoved;
}

int CListFolderFollower::InsertNamed(const QByteArray& name, unsigned char flags) {
    if ((flags & CShellItemId::IsFolder) && !m_list.m_bIncludeFolders)
        return -1; // a folder where folders are not listed
    LPITEMIDLIST pidl = CShellItemId::Make(CShellItemId::Named, flags, name);
    if (!pidl)
        return -1;
    int nAt = -1;
    const auto added = m_list.AddListItem(m_psf, m_pidl, pidl, nAt);
    FreePidl(pidl);
    return added == CNamespaceListView::Add::Added ? nAt - 1 : -1;
}
