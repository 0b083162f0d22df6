#pragma once

#include "platform/shell/CShellFolder.h"

// A folder of the file system, known by its path (bytes). Its children are Named entries
// that carry their file names unchanged.
class CFileSystemFolder : public CShellFolder {
public:
    explicit CFileSystemFolder(QByteArray path) : m_path(std::move(path)) {}

    const QByteArray& Path() const { return m_path; }

    std::unique_ptr<CEnumIDList> EnumObjects(ULONG grfFlags) override;
    ULONG GetAttributesOf(LPCITEMIDLIST pidlRel, ULONG mask) override;
    bool GetDisplayNameOf(LPCITEMIDLIST pidlRel, ULONG uFlags, QString& name) override;
    CShellFolder* BindToObject(LPCITEMIDLIST pidlRel) override;
    int CompareIDs(int column, LPCITEMIDLIST pidl1, LPCITEMIDLIST pidl2) override;
    QByteArray GetPathOf(LPCITEMIDLIST pidlRel) override;
    void AppendSortKey(LPCITEMIDLIST pidlRel, QByteArray& key) override;
    // The sort key of a child of this name (a folder or not), as AppendSortKey makes it;
    // a reading on a worker makes the keys there.
    static void AppendKeyOf(QByteArrayView name, bool bFolder, QByteArray& key);

private:
    QByteArray m_path;
};
