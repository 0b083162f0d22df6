#pragma once

#include "platform/shell/CShellFolder.h"

// What the desktop and Computer have in common: their children are the Computer object
// and folders named by absolute paths (Rooted entries); they differ in which children they
// have and in what the rooted folders are called.
class CVirtualFolder : public CShellFolder {
public:
    ULONG GetAttributesOf(LPCITEMIDLIST pidlRel, ULONG mask) override;
    bool GetDisplayNameOf(LPCITEMIDLIST pidlRel, ULONG uFlags, QString& name) override;
    CShellFolder* BindToObject(LPCITEMIDLIST pidlRel) override;
    // Computer first, then the file-system root, then the others by name.
    int CompareIDs(int column, LPCITEMIDLIST pidl1, LPCITEMIDLIST pidl2) override;
    QByteArray GetPathOf(LPCITEMIDLIST pidlRel) override;

protected:
    // The name shown for the rooted folder at `path`.
    virtual QString RootedName(const QByteArray& path) const = 0;
};
