#pragma once

#include "platform/shell/CItemIdList.h"

#include <QByteArray>
#include <QString>

// Helpers on absolute identifier lists, shared by the file list and the picture list.

// True when the object is a folder.
bool IsFolderPidl(LPCITEMIDLIST pidlAbs);
// The object's file-system path, decoded for showing and for Qt's file classes; empty
// for objects outside the file system. Exact for every name that is valid UTF-8.
QString GetPathFromPidl(LPCITEMIDLIST pidlAbs);
// The object's file-system path as the bytes the system uses: exact for every name.
QByteArray GetNativePathFromPidl(LPCITEMIDLIST pidlAbs);
// Frees a list (null is ignored).
void FreePidl(LPITEMIDLIST pidl);
