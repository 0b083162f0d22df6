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
