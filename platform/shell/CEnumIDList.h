#pragma once

#include "platform/shell/CItemIdList.h"

// Hands out the children of a folder one at a time, as single-level identifier lists
// that the caller frees (CItemIdList::FreePidl).
class CEnumIDList {
public:
    virtual ~CEnumIDList() = default;
    // The next child in *ppidl and true, or false at the end (or on a read error).
    virtual bool Next(LPITEMIDLIST* ppidl) = 0;
    // The descriptor of the folder being read, -1 for a folder that is not on the disk.
    virtual int FolderFd() const { return -1; }
};
