#pragma once

#include "browser/namespace/CFolderRefresher.h"
#include "platform/shell/CItemIdList.h"
#include "platform/system/DirectoryChanges.h"

#include <QByteArray>
#include <QObject>
#include <QSet>

class CDirectoryWatch;
class CFolderLister;
class CNamespaceListView;
class CShellFolder;
struct SFolderNames;
struct NSTREEITEM;

// Keeps a file list in step with the folder it shows as other programs change it: watches
// the folder (on a remote file system, reads it again every few seconds), holds its changes
// back while a sort action is under way, and finds what changed by listing it again when
// events were lost, all read on a worker (CFolderRefresher). New names go to their sorted
// places, gone ones leave the list; the current item and the selection stay on their files.
class CListFolderFollower : public QObject {
    Q_OBJECT
public:
    explicit CListFolderFollower(CNamespaceListView& list);
    ~CListFolderFollower() override;

    // Starts watching the folder of this tree item, its changes read by `lister` (none:
    // nothing read); false (nothing watched) when it is not a folder of the file system or
    // cannot be watched.
    bool Watch(NSTREEITEM* pFolderItem, CShellFolder* psfFolder, CFolderLister* lister);
    void Stop();
    // While held, changes wait; once released, the list is compared with the folder.
    void Hold(bool bHold);

    // The native path of the folder watched; empty when none is.
    const QByteArray& Dir() const { return m_baDir; }
    CShellFolder* Folder() const { return m_psf; }
    LPCITEMIDLIST FolderPidl() const { return m_pidl; }
    // Finds out on the worker what names that appeared in or vanished from the folder are
    // (with changes.Rescan(), what the folder holds now), then applies them. A current file
    // that went is dealt with as if it had been moved away.
    void Apply(const DirectoryChanges& changes);

private:
    void OnChanged(const QByteArray& dir, const DirectoryChanges& changes);
    void OnFound(const CFolderRefresher::Update& update);
    void KeepNames(const CFolderRefresher::Update& update);
    // Removes the items of these names; nCur follows the current item's place, and
    // bCurGone says the current item was one of them. Gives the number of rows removed.
    int RemoveNamed(const QList<QByteArray>& names, int& nCur, bool& bCurGone);
    // Inserts the child of this name and flags at its sorted place; its index, or -1 (not
    // listed, or listed already).
    int InsertNamed(const QByteArray& name, unsigned char flags);

    CNamespaceListView& m_list;

    CDirectoryWatch* m_pWatch;
    CFolderRefresher* m_pRefresher;
    QByteArray m_baDir;
    CShellFolder* m_psf = nullptr; // one reference
    LPITEMIDLIST m_pidl = nullptr; // its absolute list
    bool m_bHold = false;          // a sort action is under way
    bool m_bHeld = false;          // the folder changed meanwhile
};
