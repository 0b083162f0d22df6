#include "platform/shell/CShellFolder.h"

#include "platform/shell/CDesktopFolder.h"

void CShellFolder::Release() {
    if (--m_nRefs == 0)
        delete this;
}

CShellFolder* CShellFolder::SHGetDesktopFolder() {
    return new CDesktopFolder;
}
