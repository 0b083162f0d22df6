#pragma once

#include "platform/shell/CEnumIDList.h"
#include "platform/shell/ShellDefs.h"

#include <QByteArray>
#include <memory>

// Enumerates a file-system folder with the directory-reading calls of the system, so that
// names stay bytes and the entry type comes with the name: only symbolic links (and the
// rare file system that reports no types) cost a stat. Hidden entries (names that begin
// with a dot) come only with SHCONTF_INCLUDEHIDDEN.
class CDirEnumIDList : public CEnumIDList {
public:
    // Null when the folder cannot be opened.
    static std::unique_ptr<CDirEnumIDList> Open(const QByteArray& path, ULONG grfFlags);
    ~CDirEnumIDList() override;
    bool Next(LPITEMIDLIST* ppidl) override;
    int FolderFd() const override;

    // True when the folder at `path` has a sub-folder (a symbolic link to a folder
    // counts). Stops at the first one; after `budget` entries without one it answers
    // true rather than read a huge folder to the end.
    static bool HasSubFolder(const QByteArray& path, int budget = 4096);

    // The entry Next would give for the child `name` of the folder at `dir`, if it matches
    // grfFlags; null when it does not, or is not there (any more).
    static LPITEMIDLIST EntryOf(const QByteArray& dir, const QByteArray& name, ULONG grfFlags);

    // The flags of the entry `name` of the folder open as dirFd, whose directory entry gave
    // `type` (d_type): a stat only where the type does not tell.
    static unsigned char FlagsOf(int dirFd, const char* name, unsigned char type);

private:
    explicit CDirEnumIDList(void* dir, ULONG grfFlags) : m_dir(dir), m_grfFlags(grfFlags) {}
    void* m_dir; // DIR*
    ULONG m_grfFlags;
};
