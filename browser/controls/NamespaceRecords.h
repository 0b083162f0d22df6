#pragma once

#include "platform/shell/CItemIdList.h"
#include "platform/shell/ShellDefs.h"

class CShellFolder;

// The record behind every folder-tree item. It holds one reference to psfParent and owns
// both lists; all three are allocated and freed with CShellMalloc.
struct NSTREEITEM {
    CShellFolder* psfParent; // the folder that contains the item
    LPITEMIDLIST pidlRel;    // the item inside psfParent (single level)
    LPITEMIDLIST pidlAbs;    // the item from the desktop down
};

// The record behind every file-list item: one reference to the listed folder, the item's
// single-level list, and its display attributes as enumerated.
struct NSLISTITEM {
    CShellFolder* psfParent;
    LPITEMIDLIST pidlRel;
    ULONG dwAttributes;
};
