#pragma once

#include "browser/controls/NamespaceRecords.h"

#include <QtGlobal>

// Making and freeing the records behind the file list's items. A record holds one
// reference to its folder and owns its single-level list; both it and the list are
// allocated with CShellMalloc.
class CListRecords {
public:
    // The record of the child `pidl` of `psf`; null when memory ran out (nothing is kept).
    static NSLISTITEM* New(CShellFolder* psf, LPCITEMIDLIST pidl, ULONG attrs);
    // Frees the record an item value points to; a null value is ignored.
    static void Free(quintptr lParam);
};
