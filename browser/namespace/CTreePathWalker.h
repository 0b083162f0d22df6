#pragma once

#include "platform/shell/CItemIdList.h"

#include <QObject>
#include <QPersistentModelIndex>
#include <QStringList>

class CNameLookup;
class CNamespaceTreeView;
class QTreeWidgetItem;

// Walks the folder tree down a path, one level at a time as each level's sub-folders
// arrive from the worker (the tree shows them as they come): the window never waits for
// the disk on the way. A level listed before is read again once when the name wanted is
// not among its sub-folders (it may have been made since). A hidden folder the path names
// is looked up on the worker. The walk changes neither the selection nor the list; its
// end is told, and a new walk, or Cancel, gives up the one under way.
class CTreePathWalker : public QObject {
    Q_OBJECT
public:
    explicit CTreePathWalker(CNamespaceTreeView& tree);
    ~CTreePathWalker() override;

    // Walks from `from` down these folder names, each as CTreeChildFinder matches it; the
    // first one is looked for by pidlRel first when one is given (copied).
    void Walk(QTreeWidgetItem* from, const QStringList& components,
              LPCITEMIDLIST pidlRel = nullptr);
    void Cancel();
    bool IsWalking() const { return m_bWalking; }

Q_SIGNALS:
    // The walk ended at `item`, the deepest folder found (null: it went meanwhile);
    // bReached: every name was found.
    void Ended(QTreeWidgetItem* item, bool bReached);

private:
    void Step();
    // Starts reading the level's sub-folders, or waits for the reading under way; false
    // when they are known.
    bool AwaitChildren(QTreeWidgetItem* item);
    void FindChild(QTreeWidgetItem* item, const QString& text);
    void LookHidden(QTreeWidgetItem* item, const QString& text);
    void Found(QTreeWidgetItem* child);
    void OnExpanded(QTreeWidgetItem* item);
    void OnRowsRemoved();
    void End(QTreeWidgetItem* item, bool bReached);
    QTreeWidgetItem* Level() const;
    void FreePidl();

    CNamespaceTreeView& m_tree;
    CNameLookup* m_pLookup;
    QPersistentModelIndex m_level; // the folder reached so far
    QStringList m_rest;            // the names still to find below it
    LPITEMIDLIST m_pidlRel = nullptr;
    quint64 m_nWalk = 0; // tells a walk's late answers from the current one's
    bool m_bWalking = false;
    bool m_bWaiting = false;  // for the level's sub-folders
    bool m_bFresh = false;    // the level's sub-folders were read for this walk
    bool m_bRelisted = false; // the level was read again for the name wanted
};
