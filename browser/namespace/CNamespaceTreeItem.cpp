#include "browser/namespace/CNamespaceTreeItem.h"

#include "browser/namespace/CNamespaceTreeView.h"
#include "platform/shell/CShellFolder.h"
#include "platform/shell/CShellMalloc.h"

CNamespaceTreeItem::~CNamespaceTreeItem() {
    FreeRecord(m_pRecord);
}

bool CNamespaceTreeItem::operator<(const QTreeWidgetItem& other) const {
    const auto& item = static_cast<const CNamespaceTreeItem&>(other);
    if (!m_pRecord || !item.m_pRecord)
        return QTreeWidgetItem::operator<(other);
    return CNamespaceTreeView::CompareItems(m_pRecord, item.m_pRecord) < 0;
}

void CNamespaceTreeItem::FreeRecord(NSTREEITEM* pRecord) {
    if (!pRecord)
        return;
    CShellMalloc& malloc = CShellMalloc::Get();
    if (pRecord->psfParent)
        pRecord->psfParent->Release();
    malloc.Free(pRecord->pidlRel);
    malloc.Free(pRecord->pidlAbs);
    pRecord->pidlRel = pRecord->pidlAbs = nullptr;
    malloc.Free(pRecord);
}

NSTREEITEM* CNamespaceTreeItem::NewRecord(CShellFolder* psf, LPCITEMIDLIST pidlParentAbs,
                                          LPCITEMIDLIST pidl) {
    CShellMalloc& malloc = CShellMalloc::Get();
    auto* rec = static_cast<NSTREEITEM*>(malloc.Alloc(sizeof(NSTREEITEM)));
    if (!rec)
        return nullptr;
    *rec = NSTREEITEM{psf, CItemIdList::CopyItemID(malloc, pidl),
                      CItemIdList::ConcatPidls(pidlParentAbs, pidl)};
    psf->AddRef();
    if (!rec->pidlRel || !rec->pidlAbs) {
        FreeRecord(rec);
        return nullptr;
    }
    return rec;
}
