#include "platform/shell/CVirtualFolder.h"

#include "platform/shell/CComputerFolder.h"
#include "platform/shell/CDirEnumIDList.h"
#include "platform/shell/CFileSystemFolder.h"
#include "platform/shell/CShellItemId.h"
#include "platform/system/CNativePath.h"
#include "platform/system/CNaturalCompare.h"

namespace {
// Sort rank: Computer, the root folder, everything else.
int Rank(LPCITEMIDLIST pidl) {
    if (CShellItemId::KindOf(pidl) == CShellItemId::Computer)
        return 0;
    return CShellItemId::BytesOf(pidl) == "/" ? 1 : 2;
}
} // namespace

ULONG CVirtualFolder::GetAttributesOf(LPCITEMIDLIST pidlRel, ULONG mask) {
    ULONG attrs = 0;
    switch (CShellItemId::KindOf(pidlRel)) {
    case CShellItemId::Computer:
        attrs = SFGAO_FOLDER | SFGAO_HASSUBFOLDER;
        break;
    case CShellItemId::Rooted:
        attrs = SFGAO_FOLDER | SFGAO_FILESYSTEM;
        if ((mask & SFGAO_HASSUBFOLDER) &&
            CDirEnumIDList::HasSubFolder(CShellItemId::BytesOf(pidlRel).toByteArray()))
            attrs |= SFGAO_HASSUBFOLDER;
        break;
    default:
        break;
    }
    return attrs & mask;
}

bool CVirtualFolder::GetDisplayNameOf(LPCITEMIDLIST pidlRel, ULONG uFlags, QString& name) {
    switch (CShellItemId::KindOf(pidlRel)) {
    case CShellItemId::Computer:
        name = QStringLiteral("Computer");
        return true;
    case CShellItemId::Rooted: {
        const QByteArray path = CShellItemId::BytesOf(pidlRel).toByteArray();
        name = (uFlags & SHGDN_FORPARSING) ? CNativePath::Display(path) : RootedName(path);
        return true;
    }
    default:
        return false;
    }
}

CShellFolder* CVirtualFolder::BindToObject(LPCITEMIDLIST pidlRel) {
    switch (CShellItemId::KindOf(pidlRel)) {
    case CShellItemId::Computer:
        return new CComputerFolder;
    case CShellItemId::Rooted:
        return new CFileSystemFolder(CShellItemId::BytesOf(pidlRel).toByteArray());
    default:
        return nullptr;
    }
}

int CVirtualFolder::CompareIDs(int, LPCITEMIDLIST pidl1, LPCITEMIDLIST pidl2) {
    const int rank1 = Rank(pidl1), rank2 = Rank(pidl2);
    if (rank1 != rank2)
        return rank1 < rank2 ? -1 : 1;
    QString name1, name2;
    GetDisplayNameOf(pidl1, SHGDN_NORMAL, name1);
    GetDisplayNameOf(pidl2, SHGDN_NORMAL, name2);
    if (const int r = CNaturalCompare::Compare(name1, name2))
        return r;
    return CNaturalCompare::Compare(CShellItemId::BytesOf(pidl1), CShellItemId::BytesOf(pidl2));
}

QByteArray CVirtualFolder::GetPathOf(LPCITEMIDLIST pidlRel) {
    if (CShellItemId::KindOf(pidlRel) != CShellItemId::Rooted)
        return QByteArray();
    return CShellItemId::BytesOf(pidlRel).toByteArray();
}
