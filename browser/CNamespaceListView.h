#pragma once

#include "browser/CListCtrlEx.h"
#include "browser/NamespaceRecords.h"

#include <QByteArray>
#include <QPointer>
#include <QStringList>

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
    explicit CNamespaceListView(QWidget* parent = nullptr);
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
    CNamespaceTreeView* TreeView() const;
    void AddExtension(const QString& ending) { m_astrExtensions.append(ending); }
    void ClearExtensions() { m_astrExtensions.clear(); }
    // Fills the list again from the folder selected in the tree.
    void RefreshList();
    // Empties the list and the current item, then calls OnListFilled (used where the
    // tree's selection moved without a fill, so the list never shows another folder).
    void EmptyList();
    // The item's absolute list (the tree's selected folder joined with the item); the
    // caller frees it with FreePidl. Null when it cannot be made.
    LPITEMIDLIST GetItemFullPidl(int nItem);
    bool MatchesFilter(CShellFolder* psf, LPCITEMIDLIST pidlAbs);
    // How many files with a counted ending the filter left out of the last fill.
    int HiddenCount() const { return m_nHidden; }
    // Sort callback: the listed folder's order of two item records.
    static int CompareItems(quintptr lParam1, quintptr lParam2, quintptr lParamSort);
    // Sorts the items in the listed folder's order (CompareItems, sped up by sort keys).
    void SortList();

    virtual void OnFolderSelected(int nItem);
    virtual void OnListFilled();
    // Moves the current file into destDir, or deletes it (to the trash with bAllowUndo),
    // then moves on; true when the file has gone from its place. A plain file list sends
    // nothing anywhere (false); the picture file list does it through its sort session.
    virtual bool MoveCurFile(const QString& destDir);
    virtual bool DeleteCurFile(bool bAllowUndo);
    // The path of every item, in list order, as the system's bytes; empty for an item
    // outside the file system.
    QList<QByteArray> ItemNativePaths();
    virtual void FillList(NSTREEITEM* pFolderItem, CShellFolder* psfFolder);
    virtual void InitList(const QString& path);
    // Opens a file with its default program.
    virtual void OpenFile(const QByteArray& nativePath, int nItem);
    virtual void OnFileSelected(int nItem);

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
    enum class Add { Added, Skipped, Stop };
    Add AddListItem(CShellFolder* psf, NSTREEITEM* pFolderItem, LPCITEMIDLIST pidl, int& nIndex);
    NSLISTITEM* NewRecord(CShellFolder* psf, LPCITEMIDLIST pidl, ULONG attrs);
    void ResetContents();
    void OnItemchanged(int nItem);
    void OnDblclk();
    void OnRclick(const QPoint& pos);
    bool IsOnLabel(int nItem, const QPoint& pos);
    static void OnDeleteitem(quintptr lParam);
    static void SortKeyOf(quintptr lParam, QByteArray& keys);
    static bool EndsWithOneOf(LPCITEMIDLIST pidlAbs, const QList<QByteArray>& endings);
    void CountHidden(LPCITEMIDLIST pidlAbs);

    QPointer<CNamespaceTreeView> m_pTreeView;
    QStringList m_astrEndingsFor; // the endings m_abaEndings was made from
    QList<QByteArray> m_abaEndings;
    QStringList m_astrCountedFor; // the endings m_abaCounted was made from
    QList<QByteArray> m_abaCounted;
    int m_nHidden = 0;
};
