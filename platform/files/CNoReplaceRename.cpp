#include "platform/files/CNoReplaceRename.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The file system does not know the call or the flag.
bool Unsupported(int error) {
    return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP;
}

// The file system has no hard links.
bool NoHardLinks(int error) {
    return error == EPERM || error == EOPNOTSUPP || error == ENOSYS;
}

} // namespace

int CNoReplaceRename::Rename(const QByteArray& from, const QByteArray& to, Method method) {
    return RenameAt(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), method);
}

int CNoReplaceRename::RenameAt(int fromDir, const char* from, int toDir, const char* to,
                               Method method) {
    switch (method) {
    case Method::RenameNoReplace:
        return RenameNoReplace(fromDir, from, toDir, to);
    case Method::LinkThenUnlink:
        return LinkThenUnlink(fromDir, from, toDir, to);
    case Method::ReservedName:
        return ReservedName(fromDir, from, toDir, to);
    case Method::Auto:
        break;
    }
    int error = RenameNoReplace(fromDir, from, toDir, to);
    if (!Unsupported(error))
        return error;
    error = LinkThenUnlink(fromDir, from, toDir, to);
    if (!NoHardLinks(error))
        return error;
    return ReservedName(fromDir, from, toDir, to);
}

int CNoReplaceRename::RenameNoReplace(int fromDir, const char* from, int toDir, const char* to) {
    return ::renameat2(fromDir, from, toDir, to, RENAME_NOREPLACE) == 0 ? 0 : errno;
}

int CNoReplaceRename::LinkThenUnlink(int fromDir, const char* from, int toDir, const char* to) {
    if (::linkat(fromDir, from, toDir, to, 0) != 0)
        return errno;
    if (::unlinkat(fromDir, from, 0) != 0) {
        const int error = errno;
        ::unlinkat(toDir, to, 0); // the file keeps its old name only
        return error;
    }
    return 0;
}

// For file systems with neither a no-replace rename nor hard links: the new name is claimed
// by an empty file of our own first, so the rename can only ever replace that claim.
int CNoReplaceRename::ReservedName(int fromDir, const char* from, int toDir, const char* to) {
    const int fd = ::openat(toDir, to, O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
    if (fd < 0)
        return errno;
    ::close(fd);
    if (::renameat(fromDir, from, toDir, to) != 0) {
        const int error = errno;
        ::unlinkat(toDir, to, 0);
        return error;
    }
    return 0;
}
