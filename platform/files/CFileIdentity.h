#pragma once

#include <QtGlobal>
#include <fcntl.h>
#include <sys/stat.h>

// Which file a name leads to: its device and inode. Two names with one identity are one
// file; a file put in another's place under the same name has another identity.
struct CFileIdentity {
    quint64 device = 0;
    quint64 inode = 0;
    bool bKnown = false; // false: no file was there

    static CFileIdentity Of(const struct stat& st) {
        return {quint64(st.st_dev), quint64(st.st_ino), true};
    }
    // The entry `name` of the folder dirFd (AT_FDCWD: a path), a final link not followed.
    static CFileIdentity At(int dirFd, const char* name) {
        struct stat st {};
        return ::fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) == 0 ? Of(st) : CFileIdentity();
    }
    bool operator==(const CFileIdentity&) const = default;
};
