#pragma once

#include <sys/types.h>

// The calls by which a copy reaches the disk and the source of a move is removed: writing,
// flushing, closing, giving the copy its name and removing the source. The file operations
// make them through an object of this class, which by default makes the system calls; a test
// hands them one that watches the order the calls come in. Errors as the system calls give
// them (-1 with errno), except Rename, which returns the errno itself (0 on success).
class CDiskCalls {
public:
    CDiskCalls() = default;
    virtual ~CDiskCalls() = default;
    CDiskCalls(const CDiskCalls&) = delete;
    CDiskCalls& operator=(const CDiskCalls&) = delete;

    virtual ssize_t Write(int fd, const char* data, size_t size, off_t at);
    virtual int Sync(int fd);
    virtual int Close(int fd);
    // linkat(2), also for an unnamed file (AT_EMPTY_PATH) or its /proc entry.
    virtual int Link(int fromDir, const char* from, int toDir, const char* to, int flags);
    // A rename that never replaces a file already there.
    virtual int Rename(int fromDir, const char* from, int toDir, const char* to);
    virtual int Unlink(int dir, const char* name);
};
