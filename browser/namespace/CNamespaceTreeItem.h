#pragma once

#include "browser/controls/NamespaceRecords.h"

#include <QTreeWidgetItem>

// One item of the folder tree. It owns its record: the record is freed when the item is
// deleted (a rebuild of the top level, a refresh of a folder, the tree's destruction).
class CNamespaceTreeItem : public QTreeWidgetItem {
public:
    explicit CNamespaceTreeItem(NSTREEITEM* pRecord) : m_pRecord(pRecord) {}
    ~CNamespaceTreeItem() override;
    CNamespaceTreeItem(const CNamespaceTreeItem&) = delete;
    CNamespaceTreeItem& operator=(const CNamespaceTreeItem&) = delete;

    NSTREEITEM* Record() const { return m_pRecord; }
    // Sub-folders are inserted the first time the item expands, and only then.
    bool m_bExpandedOnce = false;
    int m_nImage = -1;         // icon index when not selected
    int m_nSelectedImage = -1; // icon index while selected (the open folder)

    // Siblings sort in their folder's own order.
    bool operator<(const QTreeWidgetItem& other) const override;

    // The record of the child `pidl` of `psf` (whose absolute list is pidlParentAbs), with
    // a reference to psf; null when memory ran out (nothing is kept).
    static NSTREEITEM* NewRecord(CShellFolder* psf, LPCITEMIDLIST pidlParentAbs,
                                 LPCITEMIDLIST pidl);
    // Frees a record: gives back its folder reference and frees its lists and itself.
    static void FreeRecord(NSTREEITEM* pRecord);

private:
    NSTREEITEM* m_pRecord;
};
