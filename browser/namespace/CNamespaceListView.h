#pragma once

#include "browser/controls/CEndingFilter.h"
#include "browser/controls/CListCtrlEx.h"
#include "browser/controls/NamespaceRecords.h"
#include "platform/files/CListedFolder.h"
#include "platform/files/FolderNames.h"

#include <QByteArray>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QSet>
#include <QStringList>
#include <memory>

class CFileActionHook;
class CFolderLister;
class CItemOrder;
class CListFiller;
class CListSorter;
class CListFolderFollower;
class DirectoryChanges;
class CNamespaceTreeView;
class CShellMalloc;

// The file list: the contents of the folder selected in the folder tree, filtered by
// file-name endings and sorted as the namespace orders them. It tracks the current item
// and its file's path, opens an item on a double click (a folder in the tree, a file with
// its program) and offers the item's context menu on a right click.
//
// Subclasses (the picture lists) change behaviour through the virtuals: OnFileSelected,
// OnFolderSelected and OnListFilled are told what happened; InitList, FillList, OpenFile,
// MoveCurFile and DeleteCurFile may be replaced.
class CNamespaceListView : public CListCtrlEx {
    Q_OBJECT
public:
    // With `items`: a view on them and on `selection` (see CListCtrlEx).
    explicit CNamespaceListView(QWidget* parent = nullptr, CListCtrlModel* items = nullptr,
                                QItemSelectionModel* selection = nullptr);
    ~CNamespaceListView() override;

    // Accepted endings of the full path (ASCII letters in either case); empty: every file.
    QStringList m_astrExtensions;
    // Endings of the files counted when the filter hides them (see HiddenCount).
    QStringList m_astrCountedEndings;
    bool m_bIncludeFolders = true;
    QString m_strCurFile;   // path of the current item, decoded; empty for none
    QByteArray m_baCurFile; // the same path as the system's bytes: exact for every name
    const QByteArray& CurFileNative() const { return m_baCurFile; }

    void SetTreeView(CNamespaceTreeView* pTreeView);
    // Where the context menu's actions on files are recorded (the undo journal); not owned,
    // null to record nothing.
    void SetActionRecorder(CFileActionHook* recorder) { m_pRecorder = recorder; }
    // Where the names of every entry of the listed folder are kept as the list reads and
    // follows it (not owned; it must outlive the list); null to keep none.
    void SetFolderNames(SFolderNames* names) { m_pNames = names; }
    CNamespaceTreeView* TreeView() const;
    // The tree's reader of folders on a worker; null without a tree.
    CFolderLister* Lister() const;
    void AddExtension(const QString& ending) { m_astrExtensions.append(ending); }
    void ClearExtensions() { m_astrExtensions.clear(); }
    // Lists the folder the tree chose (see CNamespaceTreeView::FolderChosen); with a null
    // record, empties the list.
    void ShowFolder(NSTREEITEM* rec, CShellFolder* folder);
    // Fills the list again from the folder selected in the tree, read on a worker as
    // FillList reads it (Listed tells the end).
    void RefreshList();
    // Selects the item of this name as soon as the listing under way lists it; with an empty
    // name the first item once the folder is listed whole. At once when none is under way.
    void SelectWhenListed(const QString& name);
    // True while the folder is being listed (see Listed).
    bool IsListing() const;
    // How many read items one turn of the event loop adds at most while a folder is listed.
    void SetMostAddedPerTurn(int nItems);
    // Empties the list and the current item, then calls OnListFilled (used where the
    // tree's selection moved without a fill, so the list never shows another folder).
    void EmptyList();
    // The item's absolute list (the tree's selected folder joined with the item); the
    // caller frees it with FreePidl. Null when it cannot be made.
    LPITEMIDLIST GetItemFullPidl(int nItem);
    bool MatchesFilter(CShellFolder* psf, LPCITEMIDLIST pidlAbs);
    // How many files with a counted ending the filter left out of the last fill.
    int HiddenCount() const { return m_nHidden; }
    // Sorts the items in the listed folder's order by name, or in the order set; the
    // current item stays current.
    void SortList();
    // The order to show the items in (not owned; null: the folder's order by name). Live
    // changes put new items last until the list is sorted again.
    void SetOrder(const CItemOrder* order);
    bool HasOrder() const;
    // Brings the list up to date with names that appeared in or vanished from the listed
    // folder (the folder watch tells them as other programs change it): new items go to
    // their sorted places, gone ones are removed, the current item and the selection stay
    // on their files. A current file that went is dealt with as if it had been moved away.
    // Lost events (changes.Rescan()) are made up by listing the folder and comparing.
    void ApplyFolderChanges(const DirectoryChanges& changes);
    // While held (a sort action is under way), changes of the listed folder wait; once
    // released the list is brought up to date with the folder.
    void HoldFolderChanges(bool bHold);
    // The native path of the folder listed and watched; empty when none is.
    const QByteArray& ListedFolder() const;
    // The folder as the last filling of the list read it (unknown when none was read).
    const CListedFolder& ListedFolderIdentity() const { return m_listedFolder; }

    virtual void OnFolderSelected(int) {}
    virtual void OnListFilled() {}
    // A batch of the folder's items was added while it is being listed.
    virtual void OnListGrew() {}
    // The current file went by another program's doing. nPlace is where it stood, now held
    // by the item after it. The list keeps no current item; subclasses choose what to show.
    virtual void OnCurrentFileVanished(int nPlace);
    // Items came or went by ApplyFolderChanges (after the current item was dealt with).
    virtual void OnItemsChanged() {}
    // Moves the current file into destDir, or deletes it (to the trash with bAllowUndo),
    // then moves on; true when the file has gone from its place. A plain file list sends
    // nothing anywhere (false); the picture file list does it through its sort session.
    virtual bool MoveCurFile(const QString& destDir);
    virtual bool DeleteCurFile(bool bAllowUndo);
    // Lists the folder's items, sorted: read on a worker, they appear batch by batch, each at
    // its sorted place, and Listed says when all are there (OnListFilled is called before).
    // A folder outside the file system is listed at once.
    virtual void FillList(NSTREEITEM* pFolderItem, CShellFolder* psfFolder);
    virtual void InitList(const QString& path);
    // Opens a file with its default program.
    virtual void OpenFile(const QByteArray& nativePath, int nItem);
    virtual void OnFileSelected(int) {}

Q_SIGNALS:
    // A folder item was double-clicked: the tree is to open this child of its selected folder.
    void FolderOpened(LPCITEMIDLIST pidlRel, const QString& name);
    // The listing of the folder ended: the list holds every item it found.
    void Listed();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

    // The tree's services; each reports a missing tree and fails.
    bool GetDisplayName(CShellFolder* psf, LPCITEMIDLIST pidl, QString& name, ULONG uFlags);
    LPITEMIDLIST ConcatPidls(LPCITEMIDLIST pidl1, LPCITEMIDLIST pidl2);
    LPITEMIDLIST CopyItemID(CShellMalloc& malloc, LPCITEMIDLIST pidl);
    void ReportNoTree();
    bool DoContextMenu(QWidget* owner, CShellFolder* psf, LPCITEMIDLIST pidl, const QPoint& pt);
    static NSLISTITEM* RecordOf(quintptr lParam) { return reinterpret_cast<NSLISTITEM*>(lParam); }

private:
    friend class CListFolderFollower; // inserts and removes the items of changed names
    friend class CListFiller;         // adds the items as a worker reads them

    enum class Add { Added, Skipped, Stop };
    // Adds the child `pidl` at nIndex (then one further on), or at its sorted place when nIndex
    // is -1 (then one after it); Skipped when it is filtered out or listed already.
    Add AddListItem(CShellFolder* psf, LPCITEMIDLIST pidlFolderAbs, LPCITEMIDLIST pidl,
                    int& nIndex);
    void ResetContents();
    // The names of the items listed.
    QSet<QByteArray> ListedNames() const;
    void FollowSelection();
    void OnItemchanged(int nItem);
    void OnDblclk();
    void OnRclick(const QPoint& pos);
    bool IsOnLabel(int nItem, const QPoint& pos);
    static void OnDeleteitem(quintptr lParam);
    void CountHidden(LPCITEMIDLIST pidlAbs);

    QPointer<CNamespaceTreeView> m_pTreeView;
    CListFolderFollower* m_pWatch; // the listed folder, followed as others change it
    std::unique_ptr<CListSorter> m_pSorter;
    CListFiller* m_pFiller;       // the listing under way
    CListedFolder m_listedFolder; // the folder the list was filled from
    CEndingFilter m_filter;       // the file-type filter's endings
    CEndingFilter m_counted;      // the endings counted when hidden
    int m_nHidden = 0;
    CFileActionHook* m_pRecorder = nullptr;
    SFolderNames* m_pNames = nullptr;
    QPersistentModelIndex m_shownIndex; // the item last made current by a selection
};
