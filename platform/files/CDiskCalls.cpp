#include "platform/files/CDiskCalls.h"

#include "platform/files/CNoReplaceRename.h"

#include <fcntl.h>
#include <unistd.h>

ssize_t CDiskCalls::Write(int fd, const char* data, size_t size, off_t at) {
    return ::pwrite(fd, data, size, at);
}

int CDiskCalls::Sync(int fd) {
    return ::fsync(fd);
}

int CDiskCalls::Close(int fd) {
    return ::close(fd);
}

int CDiskCalls::Link(int fromDir, const char* from, int toDir, const char* to, int flags) {
    return ::linkat(fromDir, from, toDir, to, flags);
}

int CDiskCalls::Rename(int fromDir, const char* from, int toDir, const char* to) {
    return CNoReplaceRename::RenameAt(fromDir, from, toDir, to);
}

int CDiskCalls::Unlink(int dir, const char* name) {
    return ::unlinkat(dir, name, 0);
}
