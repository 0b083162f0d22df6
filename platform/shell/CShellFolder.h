#pragma once

#include "platform/shell/CEnumIDList.h"
#include "platform/shell/CItemIdList.h"
#include "platform/shell/ShellDefs.h"

#include <QByteArray>
#include <QString>
#include <memory>

// A folder of the namespace: the desktop, Computer, or a file-system folder. Folders are
// reference counted: whoever keeps a folder pointer (a tree or list record) holds one
// reference, taken with AddRef and given back with Release.
class CShellFolder {
public:
    CShellFolder(const CShellFolder&) = delete;
    CShellFolder& operator=(const CShellFolder&) = delete;

    void AddRef() { ++m_nRefs; }
    void Release();

    // The desktop folder, with one reference for the caller.
    static CShellFolder* SHGetDesktopFolder();
    // How many folders exist now (tests use it to see that references are given back).
    static long LiveFolders() { return s_nLive; }

    // The children, filtered by SHCONTF_FOLDERS / SHCONTF_NONFOLDERS; null when the
    // folder cannot be read (gone, not permitted, not a folder).
    virtual std::unique_ptr<CEnumIDList> EnumObjects(ULONG grfFlags) = 0;
    // The attributes in `mask` that the child has. SFGAO_HASSUBFOLDER is only worked out
    // when asked for.
    virtual ULONG GetAttributesOf(LPCITEMIDLIST pidlRel, ULONG mask) = 0;
    virtual bool GetDisplayNameOf(LPCITEMIDLIST pidlRel, ULONG uFlags, QString& name) = 0;
    // The child folder, with one reference for the caller; null when it is not a folder.
    virtual CShellFolder* BindToObject(LPCITEMIDLIST pidlRel) = 0;
    // The display order of two children: negative when pidl1 comes first.
    virtual int CompareIDs(int column, LPCITEMIDLIST pidl1, LPCITEMIDLIST pidl2) = 0;
    // Appends a sort key of a child: for two children whose keys differ, the byte order
    // of the keys is the order of CompareIDs. The default adds nothing, leaving the whole
    // order to CompareIDs.
    virtual void AppendSortKey(LPCITEMIDLIST pidlRel, QByteArray& key) {
        Q_UNUSED(pidlRel);
        Q_UNUSED(key);
    }
    // The file-system path of a child; empty when it has none.
    virtual QByteArray GetPathOf(LPCITEMIDLIST pidlRel) = 0;

protected:
    CShellFolder() { ++s_nLive; }
    virtual ~CShellFolder() { --s_nLive; }

private:
    long m_nRefs = 1;
    static inline long s_nLive = 0;
};
