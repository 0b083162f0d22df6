#pragma once

#include "platform/shell/CItemIdList.h"
#include "platform/shell/ListedEntry.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPersistentModelIndex>

class CFolderLister;
class CNamespaceTreeView;
class CShellFolder;
class QTreeWidgetItem;

// Expands folders of the tree from readings on a worker (CFolderLister), shared with the
// file list's reading of the same folder, and shows each folder's expand arrow until a
// worker has found whether it has sub-folders at all: the tree never reads the disk itself.
class CTreeExpander : public QObject {
    Q_OBJECT
public:
    CTreeExpander(CNamespaceTreeView& tree, CFolderLister& lister);
    ~CTreeExpander() override;

    // Inserts the item's sub-folders as a worker reads them; false (nothing done) when it is
    // no folder of the file system, which the caller lists itself. bChosen: it is opened as
    // the folder chosen, and given up when the choice moves on (see LeaveChosen).
    bool ExpandLater(QTreeWidgetItem* item, bool bChosen = false);
    // The choice moved to `current`: the readings of folders opened as chosen before are
    // given up, and those folders closed again, to be read afresh when opened.
    void LeaveChosen(QTreeWidgetItem* current);
    // Inserts the item's sub-folders on its first expansion, read at once on this thread.
    void ExpandNow(QTreeWidgetItem* item);
    // Inserts the sub-folders of `psf` below `parent` at once, read on this thread.
    void InsertNow(CShellFolder* psf, LPCITEMIDLIST pidlParentAbs, QTreeWidgetItem* parent);
    // Sets the expand arrow of a newly inserted item: as known, else shown until a worker
    // found out.
    void SetArrow(QTreeWidgetItem* item);
    // True while sub-folders are being read for some item.
    bool IsExpanding() const { return !m_expanding.isEmpty(); }
    // True while this item's sub-folders are being read (Expanded follows).
    bool IsExpanding(const QTreeWidgetItem* item) const;
    // True while a worker reads for the tree, or is about to be asked to.
    bool IsBusy() const;

Q_SIGNALS:
    // The sub-folders of an item expanded by ExpandLater are all inserted.
    void Expanded(QTreeWidgetItem* item);

private:
    struct Pending {
        QPersistentModelIndex index;
        CShellFolder* psf = nullptr; // one reference
        bool bChosen = false;
    };
    QTreeWidgetItem* ItemOf(quint64 ticket);
    void OnBatch(quint64 ticket, const ListedEntries& entries);
    void OnFinished(quint64 ticket, bool bOk);
    void OnSubFolderKnown(const QByteArray& path, bool bHas);
    void ProbeWaiting();
    static QByteArray PathOf(const QTreeWidgetItem* item);

    CNamespaceTreeView& m_tree;
    CFolderLister& m_lister;
    QHash<quint64, Pending> m_expanding;
    QHash<QByteArray, QList<QPersistentModelIndex>> m_arrows; // items waiting for an answer
    QList<QByteArray> m_toProbe;
};
