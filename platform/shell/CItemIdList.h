#pragma once

#include <cstdint>

// An item identifier list: a sequence of entries, each beginning with a 16-bit byte count
// that includes the count itself, ended by a zero 16-bit count. An absolute list names an
// object from the desktop down; a single-level (relative) list names it inside its folder.
// Entries may start at any byte, so counts are read and written with memcpy.
struct SHITEMID {
    std::uint16_t cb;
    std::uint8_t abID[1];
};
struct ITEMIDLIST {
    SHITEMID mkid;
};
using LPITEMIDLIST = ITEMIDLIST*;
using LPCITEMIDLIST = const ITEMIDLIST*;

class CShellMalloc;

// The identifier-list utilities. Lists they return come from CShellMalloc and belong to
// the caller, who frees them with FreePidl.
class CItemIdList {
public:
    // The byte count of the first entry (0 at the terminator or for a null list).
    static unsigned EntrySize(LPCITEMIDLIST pidl);
    // The entry that follows the first one.
    static LPITEMIDLIST NextItemID(LPCITEMIDLIST pidl);
    // 0 for a null list; otherwise 2 (the terminator) plus the counts of all entries.
    static unsigned GetPidlSize(LPCITEMIDLIST pidl);
    // `cb` zeroed bytes from the allocator; null when they cannot be had.
    static LPITEMIDLIST AllocPidl(unsigned cb);
    // The first list without its terminator followed by the whole second list; a null
    // first list gives a copy of the second. Null when the memory cannot be had.
    static LPITEMIDLIST ConcatPidls(LPCITEMIDLIST pidl1, LPCITEMIDLIST pidl2);
    // A single-level list holding a copy of the first entry of pidl.
    static LPITEMIDLIST CopyItemID(CShellMalloc& malloc, LPCITEMIDLIST pidl);
    // The last entry of a list (the terminator itself for an empty list).
    static LPCITEMIDLIST LastItemID(LPCITEMIDLIST pidl);
    // True when both lists hold the same bytes.
    static bool IsEqual(LPCITEMIDLIST pidl1, LPCITEMIDLIST pidl2);
    static void FreePidl(LPITEMIDLIST pidl);
};
