#pragma once

#include "platform/shell/CItemIdList.h"
#include "platform/shell/ListedEntry.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPersistentModelIndex>
#include <QSet>
#include <functional>

class CDirectoryWatch;
class CShellFolder;
class CNamespaceTreeView;
class DirectoryChanges;
class QTreeWidgetItem;

// Keeps the sub-folders of the tree's expanded folders in step with the disk: each expanded
// folder is watched, and folders made, removed or renamed by other programs appear and go
// by themselves; a refresh compares every expanded folder with its listing.
class CTreeFolderFollower : public QObject {
    Q_OBJECT
public:
    explicit CTreeFolderFollower(CNamespaceTreeView* tree);

    void Watch(QTreeWidgetItem* item);
    void UnwatchAll();
    // Brings the sub-folders of every expanded folder up to date (deepest first); the
    // selected folder stays selected while it exists.
    void RefreshExpandedFolders();
    // Applies names that appeared in or vanished from the folder of `item`.
    void ApplyChildChanges(QTreeWidgetItem* item, const DirectoryChanges& changes);
    // The expanded items of the folder at this native path (one folder may be in the tree
    // twice).
    QList<QTreeWidgetItem*> ExpandedItemsOf(const QByteArray& path) const;

    // Shows a context menu for the item's folder: `menu` gets copies of its folder and
    // list, and answers whether the folder changed on disk. Meanwhile the tree may change.
    // Afterwards the item is selected again; a folder renamed or removed by the menu is
    // followed: the parent is brought up to date, and when the folder was the one shown or
    // above it, the renamed folder is selected, or else the parent.
    // The hidden folder `name` below the item (a worker found it with these flags), put into
    // the tree: hidden folders are listed only when a path names them. Null when it is no
    // folder.
    QTreeWidgetItem* AddHiddenChild(QTreeWidgetItem* item, const QByteArray& name,
                                    unsigned char flags);
    using ItemMenu = std::function<bool(CShellFolder* psf, LPCITEMIDLIST pidlRel)>;
    void RunItemMenu(QTreeWidgetItem* item, const ItemMenu& menu);

private:
    void FollowChangedChild(const QPersistentModelIndex& parentIndex,
                            const QSet<QByteArray>& namesBefore, bool bOpen);
    void SelectRenamed(QTreeWidgetItem* parent, const QSet<QByteArray>& namesBefore);
    // The names of the item's children (none for null).
    static QSet<QByteArray> ChildNames(const QTreeWidgetItem* item);
    static QByteArray PathOf(const QTreeWidgetItem* item);
    QTreeWidgetItem* ChildNamed(QTreeWidgetItem* parent, QByteArrayView name) const;
    void OnFolderChanged(const QByteArray& dir, const DirectoryChanges& changes);
    // Names that appeared and are not told to be folders (links, files) are looked at on
    // the worker; those that lead to folders are inserted then.
    void LookLater(QTreeWidgetItem* item, const QByteArray& dir, const QList<QByteArray>& names);
    void OnLooked(quint64 ticket, const ListedEntries& found);
    bool InsertFolder(QTreeWidgetItem* item, const QByteArray& name, unsigned char flags);

    CNamespaceTreeView* m_pTree;
    QHash<quint64, QPersistentModelIndex> m_looks; // look-ups under way, for these items
    bool m_bLooking = false;                       // connected to the worker's answers
    CDirectoryWatch* m_pWatch;
};
