#pragma once

#include "browser/controls/NamespaceRecords.h"

#include <QPersistentModelIndex>
#include <QPointer>
#include <QTreeWidget>

class CFileActionHook;
class CFolderLister;
class CTreeFolderDrag;
class CNamespaceListView;
class CNamespaceTreeItem;
class CTreeExpander;
class CTreeFolderFollower;
class CTreePathWalker;
class CTreeRelister;
class CShellMalloc;
class CSystemImageList;

// The folder tree: the namespace below the desktop ("Computer" with the file system and
// the mounted drives, then the home folder). Sub-folders are inserted the first time an
// item expands. Selecting a folder fills the associated file list from it; a right click
// on a label offers the item's context menu and then selects the item.
class CNamespaceTreeView : public QTreeWidget {
    Q_OBJECT
public:
    explicit CNamespaceTreeView(QWidget* parent = nullptr);
    ~CNamespaceTreeView() override;

    // One-time set-up: associates the file list, takes the image list, fills the top
    // level and lets the list initialise itself with `path`.
    void InitTree(CNamespaceListView* pListView, const QString& path);
    void SetListView(CNamespaceListView* pListView);
    // Where the context menu's actions on files are recorded (the undo journal); not owned,
    // null to record nothing.
    void SetActionRecorder(CFileActionHook* recorder) { m_pRecorder = recorder; }
    // Rebuilds the top level; false (tree unchanged) when the desktop cannot be had.
    bool PopulateRoot();
    // Walks, level by level from "Computer", to the folder of an absolute path, each level
    // as a worker reads it (see CTreePathWalker), then selects it, which fills the list.
    // When a component is missing the walk stops there, that folder is selected and the
    // list is emptied, so it never shows another folder's files. PathWalked tells the end.
    void SelectPath(const QString& path);
    // Expands the selected item and selects its child named `text`, once its sub-folders are
    // read: the child whose name equals it, else the first (in tree order) whose name
    // contains it, case-insensitively. Sub-folders listed earlier are listed again once when
    // none matches. False when there is no selected item.
    bool SelectMatchingChild(const QString& text);
    // As SelectMatchingChild, but first looks for the child with this identifier (a folder
    // double-clicked in the list), so that names that read alike cannot be confused.
    bool SelectChildItem(LPCITEMIDLIST pidlRel, const QString& text);

    // Identifier-list and naming services, also used by the file list.
    static bool GetDisplayName(CShellFolder* psf, LPCITEMIDLIST pidl, QString& name, ULONG uFlags);
    static LPITEMIDLIST ConcatPidls(LPCITEMIDLIST pidl1, LPCITEMIDLIST pidl2) {
        return CItemIdList::ConcatPidls(pidl1, pidl2);
    }
    static LPITEMIDLIST CopyItemID(CShellMalloc& malloc, LPCITEMIDLIST pidl) {
        return CItemIdList::CopyItemID(malloc, pidl);
    }
    static unsigned GetPidlSize(LPCITEMIDLIST pidl) { return CItemIdList::GetPidlSize(pidl); }
    static LPITEMIDLIST NextItemID(LPCITEMIDLIST pidl) { return CItemIdList::NextItemID(pidl); }
    static LPITEMIDLIST AllocPidl(unsigned cb) { return CItemIdList::AllocPidl(cb); }

    // The sort order of siblings: their folder's own order.
    static int CompareItems(const NSTREEITEM* p1, const NSTREEITEM* p2);
    // The first component of a path and the rest after its separator. An absolute path's
    // first component is "/" itself.
    static void SplitPath(const QString& path, QString& component, QString& rest);

    // The reader of folders on a worker that the tree and its file list share.
    CFolderLister* Lister() const { return m_pLister; }
    QTreeWidgetItem* FirstRootItem() const { return m_hFirstRootItem; }
    CNamespaceListView* ListView() const;
    // The record of the selected item, or null.
    NSTREEITEM* SelectedRecord() const;
    static NSTREEITEM* RecordOf(const QTreeWidgetItem* item);
    // Expands an item, inserting its sub-folders on the first expansion, read at once.
    void Expand(QTreeWidgetItem* item);
    // True while sub-folders are read on the worker for the tree (see Expanded), or a walk
    // is under way.
    bool IsReading() const;
    // Brings the sub-folders of every expanded folder up to date with the disk (F5). The
    // expanded folders are also watched, so folders made, removed or renamed by other
    // programs show up by themselves; the selected folder stays selected while it exists.
    void RefreshExpandedFolders();

    // Scrolls up or down to the item; sideways only when its icon and name would not show
    // whole, so a position the user chose stays where it can.
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

Q_SIGNALS:
    // The folder the file list is to show, as the selection moves: the selected folder's
    // record and the folder bound for it (both only for the call); a null record when there
    // is none to list, and the list empties. InitTree connects the list to it.
    void FolderChosen(NSTREEITEM* rec, CShellFolder* folder);
    // The sub-folders of an item opened (by the user, or as the folder chosen) are all in.
    void Expanded(QTreeWidgetItem* item);
    // A walk (SelectPath, SelectChildItem) ended with its folder selected; bReached: the
    // folder named, not one on the way.
    void PathWalked(bool bReached);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    // Made shorter (a window restored), the tree centres the folder on show if it was in
    // view, so that its sub-folders show below it.
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    // A folder dragged out of the tree is offered as a link to its path: it is never moved,
    // and the tree keeps its item whatever the drop target does.
    void startDrag(Qt::DropActions supportedActions) override;

private:
    friend class CTreeFolderFollower; // inserts the folders that appear
    friend class CTreeFolderDrag;     // finds the folder pressed
    friend class CTreeExpander;       // inserts the folders a worker read
    friend class CTreePathWalker;     // opens the folders on its way
    friend class CTreeRelister;       // compares folders with a worker's reading

    enum class Insert { Added, Skipped, Stop };
    Insert InsertChildItem(CShellFolder* psf, LPCITEMIDLIST pidlParentAbs, QTreeWidgetItem* parent,
                           LPCITEMIDLIST pidl);
    int GetIconIndex(LPCITEMIDLIST pidlAbs, bool open) const;
    void SelectChild(QTreeWidgetItem* child);
    void OnWalkEnded(QTreeWidgetItem* item, bool bReached);
    void CentreWalked(const QPersistentModelIndex& index);
    void OnItemexpanding(QTreeWidgetItem* item);
    void OnSelchanged(QTreeWidgetItem* current, QTreeWidgetItem* previous);
    void OnRclick(const QPoint& pos);
    bool IsOnLabel(QTreeWidgetItem* item, const QPoint& pos);
    bool DoContextMenu(QWidget* owner, CShellFolder* psf, LPCITEMIDLIST pidl, const QPoint& pt);
    void RefreshChildren(QTreeWidgetItem* parent);
    void ShowLabelSideways(const QModelIndex& index);
    void EmptyListView();

    QTreeWidgetItem* m_hFirstRootItem = nullptr;
    bool m_bSuppressListFill = false;
    QPointer<CNamespaceListView> m_pListView;
    CTreeFolderFollower* m_pFollower;
    CFolderLister* m_pLister;
    CTreeExpander* m_pExpander;
    CTreeRelister* m_pRelister;
    CTreePathWalker* m_pWalker;
    bool m_bWalkingPath = false;      // a whole path (SelectPath), not one child
    QPersistentModelIndex m_walkedTo; // the folder a path led to, centred
    CSystemImageList* m_pImageList = nullptr;
    // False while the list still shows what it was filled with before the selection moved.
    bool m_bListMatchesSelection = true;
    CFileActionHook* m_pRecorder = nullptr;
    CTreeFolderDrag* m_pDrag = nullptr; // a folder dragged out of the tree
};
