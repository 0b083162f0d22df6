#include "browser/controls/CListRecords.h"

#include "platform/shell/CShellFolder.h"
#include "platform/shell/CShellMalloc.h"

NSLISTITEM* CListRecords::New(CShellFolder* psf, LPCITEMIDLIST pidl, ULONG attrs) {
    CShellMalloc& malloc = CShellMalloc::Get();
    auto* rec = static_cast<NSLISTITEM*>(malloc.Alloc(sizeof(NSLISTITEM)));
    if (!rec)
        return nullptr;
    *rec = NSLISTITEM{psf, CItemIdList::CopyItemID(malloc, pidl), attrs};
    psf->AddRef();
    if (!rec->pidlRel) { // never keep a record without its list
        Free(reinterpret_cast<quintptr>(rec));
        return nullptr;
    }
    return rec;
}

void CListRecords::Free(quintptr lParam) {
    auto* rec = reinterpret_cast<NSLISTITEM*>(lParam);
    if (!rec)
        return;
    if (rec->psfParent)
        rec->psfParent->Release();
    CShellMalloc::Get().Free(rec->pidlRel);
    CShellMalloc::Get().Free(rec);
}
