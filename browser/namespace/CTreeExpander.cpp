#include "browser/namespace/CTreeExpander.h"

#include "browser/controls/PidlFunctions.h"
#include "browser/namespace/CNamespaceTreeItem.h"
#include "browser/namespace/CNamespaceTreeView.h"
#include "browser/namespace/CTreeFolderFollower.h"
#include "platform/shell/CEnumIDList.h"
#include "platform/shell/CFolderLister.h"
#include "platform/shell/CShellFolder.h"
#include "platform/shell/CShellFolderRef.h"
#include "platform/shell/CShellItemId.h"
#include "platform/ui/CWaitCursor.h"

#include <QTimer>

CTreeExpander::CTreeExpander(CNamespaceTreeView& tree, CFolderLister& lister)
    : QObject(&tree), m_tree(tree), m_lister(lister) {
    connect(&lister, &CFolderLister::Batch, this, &CTreeExpander::OnBatch);
    connect(&lister, &CFolderLister::Finished, this, &CTreeExpander::OnFinished);
    connect(&lister, &CFolderLister::SubFolderKnown, this, &CTreeExpander::OnSubFolderKnown);
}

CTreeExpander::~CTreeExpander() {
    for (auto it = m_expanding.cbegin(); it != m_expanding.cend(); ++it)
        it->psf->Release();
}

bool CTreeExpander::IsBusy() const {
    return IsExpanding() || !m_toProbe.isEmpty() || m_lister.IsBusy();
}

bool CTreeExpander::IsExpanding(const QTreeWidgetItem* item) const {
    const QModelIndex index = m_tree.indexFromItem(item);
    for (const Pending& pending : m_expanding)
        if (pending.index == index)
            return true;
    return false;
}

QByteArray CTreeExpander::PathOf(const QTreeWidgetItem* item) {
    const NSTREEITEM* rec = CNamespaceTreeView::RecordOf(item);
    return rec ? GetNativePathFromPidl(rec->pidlAbs) : QByteArray();
}

bool CTreeExpander::ExpandLater(QTreeWidgetItem* item, bool bChosen) {
    auto* treeItem = static_cast<CNamespaceTreeItem*>(item);
    NSTREEITEM* rec = treeItem ? treeItem->Record() : nullptr;
    const QByteArray path = PathOf(item);
    if (!rec || path.isEmpty() || treeItem->m_bExpandedOnce)
        return false;
    CShellFolder* folder = rec->psfParent->BindToObject(rec->pidlRel);
    if (!folder)
        return false;
    treeItem->m_bExpandedOnce = true;
    // Watched from before the listing, so that nothing made meanwhile is missed.
    m_tree.m_pFollower->Watch(item);
    const quint64 ticket = m_lister.List(path);
    m_expanding.insert(ticket,
                       Pending{QPersistentModelIndex(m_tree.indexFromItem(item)), folder, bChosen});
    return true;
}

void CTreeExpander::ExpandNow(QTreeWidgetItem* item) {
    auto* treeItem = static_cast<CNamespaceTreeItem*>(item);
    if (!treeItem || treeItem->m_bExpandedOnce)
        return; // sub-folders are inserted once; collapsing does nothing
    treeItem->m_bExpandedOnce = true;
    CWaitCursor wait;
    NSTREEITEM* rec = treeItem->Record();
    CShellFolderRef folder(rec ? rec->psfParent->BindToObject(rec->pidlRel) : nullptr);
    if (!folder)
        return;
    m_tree.m_pFollower->Watch(item); // before the listing: nothing made meanwhile is missed
    InsertNow(folder.get(), rec->pidlAbs, treeItem);
    treeItem->sortChildren(0, Qt::AscendingOrder);
    treeItem->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
}

void CTreeExpander::InsertNow(CShellFolder* psf, LPCITEMIDLIST pidlParentAbs,
                              QTreeWidgetItem* parent) {
    // Only folders are shown, so the enumeration leaves files out from the start.
    const auto items = psf->EnumObjects(SHCONTF_FOLDERS);
    if (!items)
        return;
    LPITEMIDLIST pidl = nullptr;
    while (items->Next(&pidl)) {
        const auto result = m_tree.InsertChildItem(psf, pidlParentAbs, parent, pidl);
        FreePidl(pidl);
        if (result == CNamespaceTreeView::Insert::Stop)
            break;
    }
}

QTreeWidgetItem* CTreeExpander::ItemOf(quint64 ticket) {
    const auto it = m_expanding.constFind(ticket);
    if (it == m_expanding.cend())
        return nullptr;
    QTreeWidgetItem* item = it->index.isValid() ? m_tree.itemFromIndex(it->index) : nullptr;
    if (!item) { // gone meanwhile: its reading is not waited for any more
        m_lister.Cancel(ticket);
        it->psf->Release();
        m_expanding.remove(ticket);
    }
    return item;
}

void CTreeExpander::OnBatch(quint64 ticket, const ListedEntries& entries) {
    QTreeWidgetItem* item = ItemOf(ticket);
    const NSTREEITEM* rec = CNamespaceTreeView::RecordOf(item);
    if (!rec)
        return;
    CShellFolder* psf = m_expanding.value(ticket).psf;
    for (const SListedEntry& e : entries) {
        if (!(e.flags & CShellItemId::IsFolder))
            continue;
        LPITEMIDLIST pidl = CShellItemId::Make(CShellItemId::Named, e.flags, e.name);
        const bool bStop = !pidl || m_tree.InsertChildItem(psf, rec->pidlAbs, item, pidl) ==
                                        CNamespaceTreeView::Insert::Stop;
        FreePidl(pidl);
        if (bStop)
            break;
    }
    item->sortChildren(0, Qt::AscendingOrder);
}

void CTreeExpander::OnFinished(quint64 ticket, bool) {
    QTreeWidgetItem* item = ItemOf(ticket);
    if (!item)
        return;
    m_expanding.take(ticket).psf->Release();
    item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
    Q_EMIT Expanded(item);
}

void CTreeExpander::LeaveChosen(QTreeWidgetItem* current) {
    for (auto it = m_expanding.begin(); it != m_expanding.end();) {
        auto* item = static_cast<CNamespaceTreeItem*>(m_tree.itemFromIndex(it->index));
        if (!it->bChosen || (item && item == current)) {
            ++it;
            continue;
        }
        m_lister.Cancel(it.key());
        it->psf->Release();
        it = m_expanding.erase(it);
        if (!item)
            continue;
        qDeleteAll(item->takeChildren()); // what came so far; all are read when it is opened
        item->m_bExpandedOnce = false;
        item->setExpanded(false);
        item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    }
}

void CTreeExpander::SetArrow(QTreeWidgetItem* item) {
    const QByteArray path = PathOf(item);
    const int known = path.isEmpty() ? 1 : m_lister.KnownSubFolder(path);
    item->setChildIndicatorPolicy(known == 0 ? QTreeWidgetItem::DontShowIndicatorWhenChildless
                                             : QTreeWidgetItem::ShowIndicator);
    if (known >= 0)
        return;
    auto& waiting = m_arrows[path];
    waiting.append(QPersistentModelIndex(m_tree.indexFromItem(item)));
    if (waiting.size() > 1)
        return;              // asked already
    if (m_toProbe.isEmpty()) // asked once the tree has settled, for the folders not opened by then
        QTimer::singleShot(0, this, &CTreeExpander::ProbeWaiting);
    m_toProbe.append(path);
}

void CTreeExpander::ProbeWaiting() {
    const QList<QByteArray> paths = std::exchange(m_toProbe, {});
    for (const QByteArray& path : paths) {
        bool bWanted = false;
        for (const QPersistentModelIndex& index : m_arrows.value(path)) {
            const auto* item = static_cast<CNamespaceTreeItem*>(m_tree.itemFromIndex(index));
            bWanted = bWanted || (item && !item->m_bExpandedOnce);
        }
        if (bWanted)
            m_lister.Probe(path);
        else
            m_arrows.remove(path);
    }
}

void CTreeExpander::OnSubFolderKnown(const QByteArray& path, bool bHas) {
    for (const QPersistentModelIndex& index : m_arrows.take(path)) {
        auto* item = static_cast<CNamespaceTreeItem*>(m_tree.itemFromIndex(index));
        if (item && !item->m_bExpandedOnce && item->childCount() == 0)
            item->setChildIndicatorPolicy(bHas ? QTreeWidgetItem::ShowIndicator
                                               : QTreeWidgetItem::DontShowIndicatorWhenChildless);
    }
}
