#include "platform/shell/CDirEnumIDList.h"

#include "platform/shell/CShellItemId.h"

#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace {
bool IsDotOrDotDot(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// A hidden name is given only when the enumeration asks for hidden items.
bool Skipped(const char* name, ULONG grfFlags) {
    return IsDotOrDotDot(name) || (name[0] == '.' && !(grfFlags & SHCONTF_INCLUDEHIDDEN));
}

unsigned char EntryFlags(DIR* dir, const dirent* ent) {
    return CDirEnumIDList::FlagsOf(dirfd(dir), ent->d_name, ent->d_type);
}
} // namespace

// The entry's flags (folder, link) from its type, with a stat only where the type does
// not tell. A link that cannot be followed (dangling, a loop) is not a folder.
unsigned char CDirEnumIDList::FlagsOf(int dirFd, const char* name, unsigned char type) {
    unsigned char flags = 0;
    struct stat st;
    if (type == DT_UNKNOWN) {
        if (fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            return 0;
        type = S_ISLNK(st.st_mode) ? DT_LNK : (S_ISDIR(st.st_mode) ? DT_DIR : DT_REG);
    }
    if (type == DT_DIR)
        return CShellItemId::IsFolder;
    if (type == DT_LNK) {
        flags |= CShellItemId::IsLink;
        if (fstatat(dirFd, name, &st, 0) == 0 && S_ISDIR(st.st_mode))
            flags |= CShellItemId::IsFolder;
    }
    return flags;
}

std::unique_ptr<CDirEnumIDList> CDirEnumIDList::Open(const QByteArray& path, ULONG grfFlags) {
    DIR* dir = opendir(path.constData());
    if (!dir)
        return nullptr;
    return std::unique_ptr<CDirEnumIDList>(new CDirEnumIDList(dir, grfFlags));
}

CDirEnumIDList::~CDirEnumIDList() {
    closedir(static_cast<DIR*>(m_dir));
}

int CDirEnumIDList::FolderFd() const {
    return dirfd(static_cast<DIR*>(m_dir));
}

bool CDirEnumIDList::Next(LPITEMIDLIST* ppidl) {
    DIR* dir = static_cast<DIR*>(m_dir);
    while (const dirent* ent = readdir(dir)) {
        if (Skipped(ent->d_name, m_grfFlags))
            continue;
        const unsigned char flags = EntryFlags(dir, ent);
        const bool folder = flags & CShellItemId::IsFolder;
        if (!(m_grfFlags & (folder ? SHCONTF_FOLDERS : SHCONTF_NONFOLDERS)))
            continue;
        LPITEMIDLIST pidl = CShellItemId::Make(CShellItemId::Named, flags,
                                               QByteArrayView(ent->d_name, strlen(ent->d_name)));
        if (!pidl)
            return false;
        *ppidl = pidl;
        return true;
    }
    return false;
}

LPITEMIDLIST CDirEnumIDList::EntryOf(const QByteArray& dir, const QByteArray& name,
                                     ULONG grfFlags) {
    if (name.isEmpty() || name.contains('/') || Skipped(name.constData(), grfFlags))
        return nullptr;
    const QByteArray path = dir + '/' + name;
    struct stat st;
    if (lstat(path.constData(), &st) != 0)
        return nullptr;
    unsigned char flags = 0;
    if (S_ISDIR(st.st_mode)) {
        flags = CShellItemId::IsFolder;
    } else if (S_ISLNK(st.st_mode)) {
        flags = CShellItemId::IsLink;
        if (stat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode))
            flags |= CShellItemId::IsFolder;
    }
    const bool folder = flags & CShellItemId::IsFolder;
    if (!(grfFlags & (folder ? SHCONTF_FOLDERS : SHCONTF_NONFOLDERS)))
        return nullptr;
    return CShellItemId::Make(CShellItemId::Named, flags, name);
}

bool CDirEnumIDList::HasSubFolder(const QByteArray& path, int budget) {
    struct stat st;
    if (stat(path.constData(), &st) == 0 && st.st_nlink > 2)
        return true; // the folder's link count already shows a sub-folder
    DIR* dir = opendir(path.constData());
    if (!dir)
        return false;
    bool found = false;
    while (const dirent* ent = readdir(dir)) {
        if (IsDotOrDotDot(ent->d_name))
            continue;
        if ((EntryFlags(dir, ent) & CShellItemId::IsFolder) || --budget <= 0) {
            found = true;
            break;
        }
    }
    closedir(dir);
    return found;
}
