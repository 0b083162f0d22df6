#include "browser/namespace/CTreeFolderFollower.h"

#include "browser/namespace/CNamespaceTreeItem.h"
#include "browser/namespace/CNamespaceTreeView.h"
#include "browser/namespace/CTreeRelister.h"
#include "platform/shell/CFolderLister.h"
#include "platform/shell/CItemIdList.h"
#include "platform/shell/CShellFolderRef.h"
#include "platform/shell/CShellItemId.h"
#include "platform/system/CDirectoryWatch.h"

#include <QSet>
#include <QTreeWidgetItemIterator>

namespace {
CNamespaceTreeItem* TreeItem(QTreeWidgetItem* item) {
    return static_cast<CNamespaceTreeItem*>(item);
}
} // namespace

CTreeFolderFollower::CTreeFolderFollower(CNamespaceTreeView* tree)
    : QObject(tree), m_pTree(tree), m_pWatch(new CDirectoryWatch(this)) {
    connect(m_pWatch, &CDirectoryWatch::Changed, this, &CTreeFolderFollower::OnFolderChanged);
}

void CTreeFolderFollower::UnwatchAll() {
    m_pWatch->UnwatchAll();
}

QByteArray CTreeFolderFollower::PathOf(const QTreeWidgetItem* item) {
    const NSTREEITEM* rec = CNamespaceTreeView::RecordOf(item);
    return rec ? CShellItemId::PathOf(rec->pidlAbs) : QByteArray();
}

void CTreeFolderFollower::Watch(QTreeWidgetItem* item) {
    const QByteArray path = PathOf(item);
    if (!path.isEmpty())
        m_pWatch->Watch(path);
}

QList<QTreeWidgetItem*> CTreeFolderFollower::ExpandedItemsOf(const QByteArray& path) const {
    QList<QTreeWidgetItem*> items; // one folder may be in the tree twice (Home)
    for (QTreeWidgetItemIterator it(m_pTree); *it; ++it)
        if (TreeItem(*it)->m_bExpandedOnce && PathOf(*it) == path)
            items.append(*it);
    return items;
}

QTreeWidgetItem* CTreeFolderFollower::ChildNamed(QTreeWidgetItem* parent,
                                                 QByteArrayView name) const {
    for (int i = 0; i < parent->childCount(); ++i) {
        const NSTREEITEM* rec = CNamespaceTreeView::RecordOf(parent->child(i));
        if (rec && CShellItemId::KindOf(rec->pidlRel) == CShellItemId::Named &&
            CShellItemId::BytesOf(rec->pidlRel) == name)
            return parent->child(i);
    }
    return nullptr;
}

void CTreeFolderFollower::OnFolderChanged(const QByteArray& dir, const DirectoryChanges& changes) {
    const QList<QTreeWidgetItem*> items = ExpandedItemsOf(dir);
    if (items.isEmpty()) {
        m_pWatch->Unwatch(dir); // its items went
        return;
    }
    QList<QPersistentModelIndex> indexes; // applying to one may change the other
    for (QTreeWidgetItem* item : items)
        indexes.append(QPersistentModelIndex(m_pTree->indexFromItem(item)));
    for (const QPersistentModelIndex& index : indexes)
        if (index.isValid())
            ApplyChildChanges(m_pTree->itemFromIndex(index), changes);
}

void CTreeFolderFollower::ApplyChildChanges(QTreeWidgetItem* item,
                                            const DirectoryChanges& changes) {
    if (changes.Rescan()) { // read again on the worker, then compared
        m_pTree->m_pRelister->Relist(item);
        return;
    }
    NSTREEITEM* rec = CNamespaceTreeView::RecordOf(item);
    const QByteArray dir = PathOf(item);
    if (!rec || dir.isEmpty())
        return;
    for (const DirectoryChanges::Entry& e : changes.Removed()) {
        QTreeWidgetItem* child = ChildNamed(item, e.name);
        if (!child)
            continue;
        // The folder open in the list went (or one above it): its parent is shown instead.
        for (QTreeWidgetItem* up = m_pTree->currentItem(); up; up = up->parent())
            if (up == child) {
                m_pTree->setCurrentItem(item);
                break;
            }
        delete child; // its folder's watch ends by itself, or at its next report
    }
    QList<QByteArray> unknown;
    bool inserted = false;
    for (const DirectoryChanges::Entry& e : changes.Added()) {
        if (e.name.startsWith('.') || ChildNamed(item, e.name))
            continue; // hidden folders come only when a path names them
        if (e.folder)
            inserted |= InsertFolder(item, e.name, CShellItemId::IsFolder);
        else
            unknown.append(e.name);
    }
    if (inserted)
        item->sortChildren(0, Qt::AscendingOrder);
    if (!unknown.isEmpty())
        LookLater(item, dir, unknown);
}

bool CTreeFolderFollower::InsertFolder(QTreeWidgetItem* item, const QByteArray& name,
                                       unsigned char flags) {
    NSTREEITEM* rec = CNamespaceTreeView::RecordOf(item);
    CShellFolderRef folder(rec ? rec->psfParent->BindToObject(rec->pidlRel) : nullptr);
    LPITEMIDLIST pidl = folder ? CShellItemId::Make(CShellItemId::Named, flags, name) : nullptr;
    const bool bAdded = pidl && m_pTree->InsertChildItem(folder.get(), rec->pidlAbs, item, pidl) ==
                                    CNamespaceTreeView::Insert::Added;
    CItemIdList::FreePidl(pidl);
    return bAdded;
}

void CTreeFolderFollower::LookLater(QTreeWidgetItem* item, const QByteArray& dir,
                                    const QList<QByteArray>& names) {
    CFolderLister* lister = m_pTree->Lister();
    if (!lister)
        return;
    if (!std::exchange(m_bLooking, true))
        connect(lister, &CFolderLister::Looked, this, &CTreeFolderFollower::OnLooked);
    m_looks.insert(lister->Look(dir, names), QPersistentModelIndex(m_pTree->indexFromItem(item)));
}

void CTreeFolderFollower::OnLooked(quint64 ticket, const ListedEntries& found) {
    const QPersistentModelIndex index = m_looks.take(ticket);
    QTreeWidgetItem* item = index.isValid() ? m_pTree->itemFromIndex(index) : nullptr;
    bool inserted = false;
    for (const SListedEntry& e : found)
        if (item && (e.flags & CShellItemId::IsFolder) && !ChildNamed(item, e.name))
            inserted |= InsertFolder(item, e.name, e.flags);
    if (inserted)
        item->sortChildren(0, Qt::AscendingOrder);
}

QTreeWidgetItem* CTreeFolderFollower::AddHiddenChild(QTreeWidgetItem* item, const QByteArray& name,
                                                     unsigned char flags) {
    if (QTreeWidgetItem* child = ChildNamed(item, name))
        return child;
    if (!(flags & CShellItemId::IsFolder) || !InsertFolder(item, name, flags))
        return nullptr;
    item->sortChildren(0, Qt::AscendingOrder);
    return ChildNamed(item, name);
}

void CTreeFolderFollower::RefreshExpandedFolders() {
    QList<QTreeWidgetItem*> expanded;
    for (QTreeWidgetItemIterator it(m_pTree); *it; ++it)
        if (TreeItem(*it)->m_bExpandedOnce && !PathOf(*it).isEmpty())
            expanded.append(*it);
    // Deepest first: a folder that went takes its expanded sub-folders with it.
    for (qsizetype i = expanded.size() - 1; i >= 0; --i) {
        const QPersistentModelIndex index(m_pTree->indexFromItem(expanded[i]));
        if (index.isValid())
            ApplyChildChanges(m_pTree->itemFromIndex(index), DirectoryChanges::RescanAll());
    }
}

QSet<QByteArray> CTreeFolderFollower::ChildNames(const QTreeWidgetItem* item) {
    QSet<QByteArray> names;
    for (int i = 0; item && i < item->childCount(); ++i)
        if (const NSTREEITEM* child = CNamespaceTreeView::RecordOf(item->child(i)))
            names.insert(CShellItemId::BytesOf(child->pidlRel).toByteArray());
    return names;
}

void CTreeFolderFollower::FollowChangedChild(const QPersistentModelIndex& parentIndex,
                                             const QSet<QByteArray>& namesBefore, bool bOpen) {
    QTreeWidgetItem* parent = parentIndex.isValid() ? m_pTree->itemFromIndex(parentIndex) : nullptr;
    if (!parent) {
        m_pTree->RefreshChildren(nullptr);
        return;
    }
    m_pTree->m_pRelister->Relist(parent, [this, namesBefore, bOpen](QTreeWidgetItem* item) {
        if (item && bOpen)
            SelectRenamed(item, namesBefore);
    });
}

// Renamed, the list follows the folder under its new name; gone, the parent is shown.
void CTreeFolderFollower::SelectRenamed(QTreeWidgetItem* parent,
                                        const QSet<QByteArray>& namesBefore) {
    QTreeWidgetItem* renamed = nullptr;
    for (int i = 0; i < parent->childCount() && !renamed; ++i)
        if (const NSTREEITEM* child = CNamespaceTreeView::RecordOf(parent->child(i)))
            if (!namesBefore.contains(CShellItemId::BytesOf(child->pidlRel).toByteArray()))
                renamed = parent->child(i);
    m_pTree->setCurrentItem(renamed ? renamed : parent);
}

void CTreeFolderFollower::RunItemMenu(QTreeWidgetItem* item, const ItemMenu& menu) {
    NSTREEITEM* rec = CNamespaceTreeView::RecordOf(item);
    if (!rec)
        return;
    // The menu runs its own loop, in which the folder watch may change the tree.
    const QPersistentModelIndex index(m_pTree->indexFromItem(item));
    const QPersistentModelIndex parentIndex(m_pTree->indexFromItem(item->parent()));
    bool bOpen = false; // the folder shown in the list, or one above it
    for (QTreeWidgetItem* up = m_pTree->currentItem(); up; up = up->parent())
        bOpen |= up == item;
    const QSet<QByteArray> siblingsBefore = ChildNames(item->parent());
    // The item (and its record) may go meanwhile: the menu works on copies.
    rec->psfParent->AddRef();
    const CShellFolderRef folder(rec->psfParent);
    LPITEMIDLIST pidlRel = CItemIdList::ConcatPidls(nullptr, rec->pidlRel);
    const bool changed = pidlRel && menu(folder.get(), pidlRel);
    CItemIdList::FreePidl(pidlRel);
    if (changed) { // the folder was renamed or removed
        FollowChangedChild(parentIndex, siblingsBefore, bOpen);
        return;
    }
    if (QTreeWidgetItem* still = index.isValid() ? m_pTree->itemFromIndex(index) : nullptr)
        m_pTree->setCurrentItem(still);
}
