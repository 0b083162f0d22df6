#include "browser/namespace/CTreePathWalker.h"

#include "browser/namespace/CNameLookup.h"
#include "browser/namespace/CNamespaceTreeItem.h"
#include "browser/namespace/CNamespaceTreeView.h"
#include "browser/namespace/CTreeChildFinder.h"
#include "browser/namespace/CTreeExpander.h"
#include "browser/namespace/CTreeFolderFollower.h"
#include "browser/namespace/CTreeRelister.h"
#include "platform/shell/CShellItemId.h"

#include <QFile>

CTreePathWalker::CTreePathWalker(CNamespaceTreeView& tree)
    : QObject(&tree), m_tree(tree), m_pLookup(new CNameLookup(*tree.Lister(), this)) {
    connect(tree.m_pExpander, &CTreeExpander::Expanded, this, &CTreePathWalker::OnExpanded);
    connect(tree.model(), &QAbstractItemModel::rowsRemoved, this, &CTreePathWalker::OnRowsRemoved);
}

CTreePathWalker::~CTreePathWalker() {
    FreePidl();
}

void CTreePathWalker::FreePidl() {
    CItemIdList::FreePidl(m_pidlRel);
    m_pidlRel = nullptr;
}

QTreeWidgetItem* CTreePathWalker::Level() const {
    return m_level.isValid() ? m_tree.itemFromIndex(m_level) : nullptr;
}

void CTreePathWalker::Walk(QTreeWidgetItem* from, const QStringList& components,
                           LPCITEMIDLIST pidlRel) {
    Cancel();
    if (!from)
        return;
    m_bWalking = true;
    m_level = QPersistentModelIndex(m_tree.indexFromItem(from));
    m_rest = components;
    m_pidlRel = pidlRel ? CItemIdList::ConcatPidls(nullptr, pidlRel) : nullptr;
    m_bFresh = m_bRelisted = false;
    if (m_rest.isEmpty()) {
        End(from, false); // no folder named: the walk stays where it began
        return;
    }
    Step();
}

void CTreePathWalker::Cancel() {
    ++m_nWalk;
    m_bWalking = m_bWaiting = false;
    m_pLookup->Cancel();
    FreePidl();
}

void CTreePathWalker::Step() {
    QTreeWidgetItem* item = Level();
    if (!item) {
        End(nullptr, false);
        return;
    }
    if (m_rest.isEmpty()) {
        End(item, true);
        return;
    }
    const QString text = m_rest.first();
    // A folder whose arrow says it has no sub-folders is read all the same: one may have
    // been made since it was looked at.
    const bool bHidden = text.startsWith(QLatin1Char('.')) && !m_pidlRel;
    if (AwaitChildren(item))
        return;
    item->setExpanded(true);
    if (bHidden)
        LookHidden(item, text);
    else
        FindChild(item, text);
}

bool CTreePathWalker::AwaitChildren(QTreeWidgetItem* item) {
    CTreeExpander& expander = *m_tree.m_pExpander;
    auto* treeItem = static_cast<CNamespaceTreeItem*>(item);
    if (!treeItem->m_bExpandedOnce) {
        m_bFresh = true;
        if (!expander.ExpandLater(item))
            expander.ExpandNow(item); // no folder of the file system: its items are at hand
    }
    m_bWaiting = expander.IsExpanding(item);
    if (m_bWaiting)
        item->setExpanded(true); // the level shows its sub-folders as they come
    return m_bWaiting;
}

void CTreePathWalker::OnExpanded(QTreeWidgetItem* item) {
    if (!m_bWaiting || item != Level())
        return;
    m_bWaiting = false;
    m_bFresh = true;
    Step();
}

void CTreePathWalker::FindChild(QTreeWidgetItem* item, const QString& text) {
    QTreeWidgetItem* child = CTreeChildFinder::Find(item, m_pidlRel, text);
    if (child) {
        Found(child);
        return;
    }
    if (m_bFresh || m_bRelisted) {
        End(item, false);
        return;
    }
    // The sub-folders were listed earlier: the one wanted may have been made since.
    m_bRelisted = true;
    const quint64 walk = m_nWalk;
    m_tree.m_pRelister->Relist(item, [this, walk](QTreeWidgetItem*) {
        if (walk == m_nWalk)
            Step();
    });
}

void CTreePathWalker::LookHidden(QTreeWidgetItem* item, const QString& text) {
    const NSTREEITEM* rec = CNamespaceTreeView::RecordOf(item);
    const QByteArray dir = rec ? CShellItemId::PathOf(rec->pidlAbs) : QByteArray();
    const QByteArray name = QFile::encodeName(text);
    if (dir.isEmpty()) {
        End(item, false);
        return;
    }
    m_pLookup->Ask(dir, name, [this, name](bool bFound, unsigned char flags) {
        QTreeWidgetItem* level = Level();
        QTreeWidgetItem* child =
            level && bFound ? m_tree.m_pFollower->AddHiddenChild(level, name, flags) : nullptr;
        if (child)
            Found(child);
        else
            End(level, false);
    });
}

void CTreePathWalker::Found(QTreeWidgetItem* child) {
    m_rest.removeFirst();
    FreePidl();
    m_level = QPersistentModelIndex(m_tree.indexFromItem(child));
    m_bFresh = m_bRelisted = false;
    Step();
}

// The folder waited for went (the watch saw it go): the walk ends where it is.
void CTreePathWalker::OnRowsRemoved() {
    if (m_bWalking && !m_level.isValid())
        End(nullptr, false);
}

void CTreePathWalker::End(QTreeWidgetItem* item, bool bReached) {
    const bool bWasWalking = m_bWalking;
    Cancel();
    if (bWasWalking)
        Q_EMIT Ended(item, bReached);
}
