#include "platform/shell/CItemIdList.h"

#include "platform/shell/CShellMalloc.h"

#include <cstring>

unsigned CItemIdList::EntrySize(LPCITEMIDLIST pidl) {
    if (!pidl)
        return 0;
    std::uint16_t cb = 0;
    std::memcpy(&cb, pidl, sizeof cb);
    return cb;
}

LPITEMIDLIST CItemIdList::NextItemID(LPCITEMIDLIST pidl) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(pidl);
    return reinterpret_cast<LPITEMIDLIST>(const_cast<std::uint8_t*>(bytes + EntrySize(pidl)));
}

unsigned CItemIdList::GetPidlSize(LPCITEMIDLIST pidl) {
    if (!pidl)
        return 0;
    unsigned size = sizeof(std::uint16_t);
    for (unsigned cb = EntrySize(pidl); cb; cb = EntrySize(pidl)) {
        size += cb;
        pidl = NextItemID(pidl);
    }
    return size;
}

LPITEMIDLIST CItemIdList::AllocPidl(unsigned cb) {
    void* pv = CShellMalloc::Get().Alloc(cb);
    if (pv)
        std::memset(pv, 0, cb);
    return static_cast<LPITEMIDLIST>(pv);
}

LPITEMIDLIST CItemIdList::ConcatPidls(LPCITEMIDLIST pidl1, LPCITEMIDLIST pidl2) {
    const unsigned cb1 = pidl1 ? GetPidlSize(pidl1) - sizeof(std::uint16_t) : 0;
    const unsigned cb2 = GetPidlSize(pidl2);
    LPITEMIDLIST pidlNew = AllocPidl(cb1 + cb2);
    if (!pidlNew)
        return nullptr;
    auto* dest = reinterpret_cast<std::uint8_t*>(pidlNew);
    if (cb1)
        std::memcpy(dest, pidl1, cb1);
    if (cb2)
        std::memcpy(dest + cb1, pidl2, cb2);
    return pidlNew;
}

LPITEMIDLIST CItemIdList::CopyItemID(CShellMalloc& malloc, LPCITEMIDLIST pidl) {
    const unsigned cb = EntrySize(pidl);
    void* pv = malloc.Alloc(cb + sizeof(std::uint16_t));
    if (!pv)
        return nullptr;
    auto* dest = static_cast<std::uint8_t*>(pv);
    if (cb)
        std::memcpy(dest, pidl, cb);
    std::memset(dest + cb, 0, sizeof(std::uint16_t));
    return static_cast<LPITEMIDLIST>(pv);
}

LPCITEMIDLIST CItemIdList::LastItemID(LPCITEMIDLIST pidl) {
    LPCITEMIDLIST last = pidl;
    for (; EntrySize(pidl); pidl = NextItemID(pidl))
        last = pidl;
    return last;
}

bool CItemIdList::IsEqual(LPCITEMIDLIST pidl1, LPCITEMIDLIST pidl2) {
    const unsigned cb = GetPidlSize(pidl1);
    return cb == GetPidlSize(pidl2) && (cb == 0 || std::memcmp(pidl1, pidl2, cb) == 0);
}

void CItemIdList::FreePidl(LPITEMIDLIST pidl) {
    CShellMalloc::Get().Free(pidl);
}
