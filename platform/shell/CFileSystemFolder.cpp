#include "platform/shell/CFileSystemFolder.h"

#include "platform/shell/CDirEnumIDList.h"
#include "platform/shell/CShellItemId.h"
#include "platform/system/CNativePath.h"
#include "platform/system/CNaturalCompare.h"

std::unique_ptr<CEnumIDList> CFileSystemFolder::EnumObjects(ULONG grfFlags) {
    return CDirEnumIDList::Open(m_path, grfFlags);
}

ULONG CFileSystemFolder::GetAttributesOf(LPCITEMIDLIST pidlRel, ULONG mask) {
    if (CShellItemId::KindOf(pidlRel) != CShellItemId::Named)
        return 0;
    const unsigned char flags = CShellItemId::FlagsOf(pidlRel);
    ULONG attrs = SFGAO_FILESYSTEM;
    if (flags & CShellItemId::IsFolder)
        attrs |= SFGAO_FOLDER;
    if (flags & CShellItemId::IsLink)
        attrs |= SFGAO_LINK;
    if (CShellItemId::BytesOf(pidlRel).startsWith('.'))
        attrs |= SFGAO_HIDDEN;
    if ((mask & SFGAO_HASSUBFOLDER) && (attrs & SFGAO_FOLDER) &&
        CDirEnumIDList::HasSubFolder(GetPathOf(pidlRel)))
        attrs |= SFGAO_HASSUBFOLDER;
    return attrs & mask;
}

bool CFileSystemFolder::GetDisplayNameOf(LPCITEMIDLIST pidlRel, ULONG uFlags, QString& name) {
    if (CShellItemId::KindOf(pidlRel) != CShellItemId::Named)
        return false;
    const bool fullPath = (uFlags & SHGDN_FORPARSING) && !(uFlags & SHGDN_INFOLDER);
    name = CNativePath::Display(fullPath ? QByteArrayView(GetPathOf(pidlRel))
                                         : CShellItemId::BytesOf(pidlRel));
    return true;
}

CShellFolder* CFileSystemFolder::BindToObject(LPCITEMIDLIST pidlRel) {
    if (CShellItemId::KindOf(pidlRel) != CShellItemId::Named ||
        !CShellItemId::IsFolderEntry(pidlRel))
        return nullptr;
    return new CFileSystemFolder(GetPathOf(pidlRel));
}

int CFileSystemFolder::CompareIDs(int, LPCITEMIDLIST pidl1, LPCITEMIDLIST pidl2) {
    const bool folder1 = CShellItemId::IsFolderEntry(pidl1);
    if (folder1 != CShellItemId::IsFolderEntry(pidl2))
        return folder1 ? -1 : 1;
    return CNaturalCompare::Compare(CShellItemId::BytesOf(pidl1), CShellItemId::BytesOf(pidl2));
}

QByteArray CFileSystemFolder::GetPathOf(LPCITEMIDLIST pidlRel) {
    if (CShellItemId::KindOf(pidlRel) != CShellItemId::Named)
        return QByteArray();
    return CNativePath::Join(m_path, CShellItemId::BytesOf(pidlRel));
}

void CFileSystemFolder::AppendSortKey(LPCITEMIDLIST pidlRel, QByteArray& key) {
    AppendKeyOf(CShellItemId::BytesOf(pidlRel), CShellItemId::IsFolderEntry(pidlRel), key);
}

void CFileSystemFolder::AppendKeyOf(QByteArrayView name, bool bFolder, QByteArray& key) {
    key.append(bFolder ? '\0' : '\1'); // folders first
    CNaturalCompare::AppendSortKey(name, key);
}
