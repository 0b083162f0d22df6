// Stand-ins for the C library's file-system calls, linked into a test program: the program
// itself, Qt and the code under test all reach them before the library's own (a program's
// definitions come first in the dynamic linker's search). Each tells the tap (CDiskTap)
// what it is about to do, then makes the real call, found with RTLD_NEXT.
//
// This file includes none of the headers that declare these functions: their declarations
// differ in their noexcept clauses from what a C++ definition may say. Arguments the
// stand-ins only pass on are taken as untyped pointers.

#include "tests/support/DiskTapBridge.h"

#include <cstdarg>
#include <dlfcn.h>
#include <sys/types.h>

namespace {

constexpr int kAtFdCwd = -100;                // AT_FDCWD
constexpr int kCreate = 0100;                 // O_CREAT
constexpr int kTmpFile = 020000000 | 0200000; // O_TMPFILE (with O_DIRECTORY)

template <class Fn> Fn Real(const char* name) {
    return reinterpret_cast<Fn>(::dlsym(RTLD_NEXT, name));
}

// The mode argument of an open that creates.
mode_t ModeOf(int flags, va_list args) {
    return (flags & kCreate) || (flags & kTmpFile) == kTmpFile ? mode_t(va_arg(args, int)) : 0;
}

} // namespace

extern "C" {

using PathStat = int (*)(const char*, void*);
using AtStat = int (*)(int, const char*, void*, int);
using FdStat = int (*)(int, void*);
using Open = int (*)(const char*, int, ...);
using OpenAt = int (*)(int, const char*, int, ...);
using Checked = int (*)(const char*, int);
using CheckedAt = int (*)(int, const char*, int);

#define VANTREL_PATH_STAT(name)                                                                    \
    int name(const char* path, void* st) {                                                         \
        static const auto real = Real<PathStat>(#name);                                            \
        DiskTapNotice(#name, kAtFdCwd, path);                                                      \
        return real(path, st);                                                                     \
    }
VANTREL_PATH_STAT(stat)
VANTREL_PATH_STAT(stat64)
VANTREL_PATH_STAT(lstat)
VANTREL_PATH_STAT(lstat64)
VANTREL_PATH_STAT(statfs)
VANTREL_PATH_STAT(statfs64)
VANTREL_PATH_STAT(statvfs)
VANTREL_PATH_STAT(statvfs64)

#define VANTREL_AT_STAT(name)                                                                      \
    int name(int dir, const char* path, void* st, int flags) {                                     \
        static const auto real = Real<AtStat>(#name);                                              \
        DiskTapNotice(#name, dir, path);                                                           \
        return real(dir, path, st, flags);                                                         \
    }
VANTREL_AT_STAT(fstatat)
VANTREL_AT_STAT(fstatat64)

#define VANTREL_FD_STAT(name)                                                                      \
    int name(int fd, void* st) {                                                                   \
        static const auto real = Real<FdStat>(#name);                                              \
        DiskTapNoticeDescriptor(#name, fd);                                                        \
        return real(fd, st);                                                                       \
    }
VANTREL_FD_STAT(fstat)
VANTREL_FD_STAT(fstat64)

int statx(int dir, const char* path, int flags, unsigned mask, void* st) {
    static const auto real = Real<int (*)(int, const char*, int, unsigned, void*)>("statx");
    DiskTapNotice("statx", dir, path);
    return real(dir, path, flags, mask, st);
}

#define VANTREL_OPEN(name)                                                                         \
    int name(const char* path, int flags, ...) {                                                   \
        static const auto real = Real<Open>(#name);                                                \
        va_list args;                                                                              \
        va_start(args, flags);                                                                     \
        const mode_t mode = ModeOf(flags, args);                                                   \
        va_end(args);                                                                              \
        DiskTapNotice(#name, kAtFdCwd, path);                                                      \
        return real(path, flags, mode);                                                            \
    }
VANTREL_OPEN(open)
VANTREL_OPEN(open64)

#define VANTREL_OPEN_AT(name)                                                                      \
    int name(int dir, const char* path, int flags, ...) {                                          \
        static const auto real = Real<OpenAt>(#name);                                              \
        va_list args;                                                                              \
        va_start(args, flags);                                                                     \
        const mode_t mode = ModeOf(flags, args);                                                   \
        va_end(args);                                                                              \
        DiskTapNotice(#name, dir, path);                                                           \
        return real(dir, path, flags, mode);                                                       \
    }
VANTREL_OPEN_AT(openat)
VANTREL_OPEN_AT(openat64)

// The checked forms the compiler's fortified opens call.
#define VANTREL_CHECKED(name)                                                                      \
    int name(const char* path, int flags) {                                                        \
        static const auto real = Real<Checked>(#name);                                             \
        DiskTapNotice(#name, kAtFdCwd, path);                                                      \
        return real(path, flags);                                                                  \
    }
VANTREL_CHECKED(__open_2)
VANTREL_CHECKED(__open64_2)
VANTREL_CHECKED(access)

#define VANTREL_CHECKED_AT(name)                                                                   \
    int name(int dir, const char* path, int flags) {                                               \
        static const auto real = Real<CheckedAt>(#name);                                           \
        DiskTapNotice(#name, dir, path);                                                           \
        return real(dir, path, flags);                                                             \
    }
VANTREL_CHECKED_AT(__openat_2)
VANTREL_CHECKED_AT(__openat64_2)
VANTREL_CHECKED_AT(unlinkat)

int faccessat(int dir, const char* path, int mode, int flags) {
    static const auto real = Real<int (*)(int, const char*, int, int)>("faccessat");
    DiskTapNotice("faccessat", dir, path);
    return real(dir, path, mode, flags);
}

void* opendir(const char* path) {
    static const auto real = Real<void* (*)(const char*)>("opendir");
    DiskTapNotice("opendir", kAtFdCwd, path);
    return real(path);
}

void* fdopendir(int fd) {
    static const auto real = Real<void* (*)(int)>("fdopendir");
    DiskTapNoticeDescriptor("fdopendir", fd);
    return real(fd);
}

#define VANTREL_FOPEN(name)                                                                        \
    void* name(const char* path, const char* mode) {                                               \
        static const auto real = Real<void* (*)(const char*, const char*)>(#name);                 \
        DiskTapNotice(#name, kAtFdCwd, path);                                                      \
        return real(path, mode);                                                                   \
    }
VANTREL_FOPEN(fopen)
VANTREL_FOPEN(fopen64)

char* realpath(const char* path, char* resolved) {
    static const auto real = Real<char* (*)(const char*, char*)>("realpath");
    DiskTapNotice("realpath", kAtFdCwd, path);
    return real(path, resolved);
}

ssize_t readlink(const char* path, char* buf, size_t size) {
    static const auto real = Real<ssize_t (*)(const char*, char*, size_t)>("readlink");
    DiskTapNotice("readlink", kAtFdCwd, path);
    return real(path, buf, size);
}

ssize_t readlinkat(int dir, const char* path, char* buf, size_t size) {
    static const auto real = Real<ssize_t (*)(int, const char*, char*, size_t)>("readlinkat");
    DiskTapNotice("readlinkat", dir, path);
    return real(dir, path, buf, size);
}

int unlink(const char* path) {
    static const auto real = Real<int (*)(const char*)>("unlink");
    DiskTapNotice("unlink", kAtFdCwd, path);
    return real(path);
}

int mkdir(const char* path, mode_t mode) {
    static const auto real = Real<int (*)(const char*, mode_t)>("mkdir");
    DiskTapNotice("mkdir", kAtFdCwd, path);
    return real(path, mode);
}

int mkdirat(int dir, const char* path, mode_t mode) {
    static const auto real = Real<int (*)(int, const char*, mode_t)>("mkdirat");
    DiskTapNotice("mkdirat", dir, path);
    return real(dir, path, mode);
}

// A rename or a link is noted once, by its source.
int rename(const char* from, const char* to) {
    static const auto real = Real<int (*)(const char*, const char*)>("rename");
    DiskTapNotice("rename", kAtFdCwd, from);
    return real(from, to);
}

int renameat(int fromDir, const char* from, int toDir, const char* to) {
    static const auto real = Real<int (*)(int, const char*, int, const char*)>("renameat");
    DiskTapNotice("renameat", fromDir, from);
    return real(fromDir, from, toDir, to);
}

int renameat2(int fromDir, const char* from, int toDir, const char* to, unsigned flags) {
    static const auto real =
        Real<int (*)(int, const char*, int, const char*, unsigned)>("renameat2");
    DiskTapNotice("renameat2", fromDir, from);
    return real(fromDir, from, toDir, to, flags);
}

int linkat(int fromDir, const char* from, int toDir, const char* to, int flags) {
    static const auto real = Real<int (*)(int, const char*, int, const char*, int)>("linkat");
    DiskTapNotice("linkat", fromDir, from);
    return real(fromDir, from, toDir, to, flags);
}

} // extern "C"
