#include "browser/controls/PidlFunctions.h"

#include "platform/shell/CShellItemId.h"

#include <QFile>

bool IsFolderPidl(LPCITEMIDLIST pidlAbs) {
    return CShellItemId::IsFolderList(pidlAbs);
}

QString GetPathFromPidl(LPCITEMIDLIST pidlAbs) {
    return QFile::decodeName(CShellItemId::PathOf(pidlAbs));
}

QByteArray GetNativePathFromPidl(LPCITEMIDLIST pidlAbs) {
    return CShellItemId::PathOf(pidlAbs);
}

void FreePidl(LPITEMIDLIST pidl) {
    CItemIdList::FreePidl(pidl);
}
