#include "picture/decode/CHelperConfinement.h"

#include <QFile>
#include <QObject>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/landlock.h>
#include <seccomp.h>
#include <sys/ioctl.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <termios.h>
#include <unistd.h>

// Rights and fields of Landlock versions newer than the headers this may be built with.
#ifndef LANDLOCK_ACCESS_FS_TRUNCATE
#define LANDLOCK_ACCESS_FS_TRUNCATE (1ULL << 14)
#endif
#ifndef LANDLOCK_ACCESS_FS_IOCTL_DEV
#define LANDLOCK_ACCESS_FS_IOCTL_DEV (1ULL << 15)
#endif
#ifndef LANDLOCK_ACCESS_NET_BIND_TCP
#define LANDLOCK_ACCESS_NET_BIND_TCP (1ULL << 0)
#define LANDLOCK_ACCESS_NET_CONNECT_TCP (1ULL << 1)
#endif
#ifndef LANDLOCK_SCOPE_SIGNAL
#define LANDLOCK_SCOPE_ABSTRACT_UNIX_SOCKET (1ULL << 0)
#define LANDLOCK_SCOPE_SIGNAL (1ULL << 1)
#endif

#if defined(__SANITIZE_ADDRESS__)
// The leak checker stops the process's threads with ptrace and lists them in /proc.
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif

namespace {

// The ruleset attributes as the newest kernels take them; older ones are handed a prefix.
struct SRulesetAttr {
    __u64 handledFs = 0;
    __u64 handledNet = 0;
    __u64 scoped = 0;
};

constexpr __u64 kReadRights =
    LANDLOCK_ACCESS_FS_EXECUTE | LANDLOCK_ACCESS_FS_READ_FILE | LANDLOCK_ACCESS_FS_READ_DIR;

__u64 FsRights(int abi) {
    __u64 rights = (LANDLOCK_ACCESS_FS_MAKE_SYM << 1) - 1; // the first version's thirteen
    if (abi >= 2)
        rights |= LANDLOCK_ACCESS_FS_REFER;
    if (abi >= 3)
        rights |= LANDLOCK_ACCESS_FS_TRUNCATE;
    if (abi >= 5)
        rights |= LANDLOCK_ACCESS_FS_IOCTL_DEV;
    return rights;
}

// What may be allowed on a file rather than a folder.
constexpr __u64 kFileRights = LANDLOCK_ACCESS_FS_EXECUTE | LANDLOCK_ACCESS_FS_WRITE_FILE |
                              LANDLOCK_ACCESS_FS_READ_FILE | LANDLOCK_ACCESS_FS_TRUNCATE |
                              LANDLOCK_ACCESS_FS_IOCTL_DEV;

// Allows `rights` below `path` (on it, for a file); a path that does not exist is left out.
bool AllowBelow(int ruleset, const QString& path, __u64 rights) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_PATH | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT || errno == ENOTDIR;
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        ::close(fd);
        return false;
    }
    landlock_path_beneath_attr rule{};
    rule.allowed_access = S_ISDIR(st.st_mode) ? rights : rights & kFileRights;
    rule.parent_fd = fd;
    const bool ok =
        ::syscall(SYS_landlock_add_rule, ruleset, LANDLOCK_RULE_PATH_BENEATH, &rule, 0) == 0;
    ::close(fd);
    return ok;
}

// The calls decoding needs besides opening files, creating threads and the few checked ones.
const char* const kAllowed[] = {
    // descriptors the helper holds
    "read", "readv", "pread64", "preadv", "preadv2", "write", "writev", "pwrite64", "pwritev",
    "lseek", "close", "close_range", "dup", "dup2", "dup3", "ftruncate", "pipe", "pipe2", "poll",
    "ppoll", "select", "pselect6", "memfd_create",
    // looking at files (opening is checked on its own)
    "fstat", "newfstatat", "statx", "stat", "lstat", "fstatfs", "statfs", "getdents64", "readlink",
    "readlinkat", "access", "faccessat", "faccessat2", "getcwd",
    // memory
    "mmap", "munmap", "mprotect", "mremap", "madvise", "brk", "mincore", "membarrier",
    // threads, signals, time
    "futex", "set_robust_list", "get_robust_list", "rseq", "set_tid_address", "sched_yield",
    "sched_getaffinity", "sched_getparam", "sched_getscheduler", "getpriority", "rt_sigaction",
    "rt_sigprocmask", "rt_sigreturn", "sigaltstack", "tgkill", "tkill", "clock_gettime",
    "clock_getres", "clock_nanosleep", "nanosleep", "gettimeofday", "time", "times", "getrusage",
    "getrlimit", "getrandom", "uname", "sysinfo", "arch_prctl", "prctl",
    // who it is
    "getpid", "getppid", "gettid", "getuid", "geteuid", "getgid", "getegid", "getresuid",
    "getresgid", "getgroups", "getpgrp", "getpgid", "getsid",
    // the end
    "exit", "exit_group"};

// Ghostscript is started, waited for and stopped by the helper.
const char* const kRunPrograms[] = {"execve", "wait4", "waitid", "kill", "setpgid", "setsid"};

// What the sanitizers of a test build need at exit.
const char* const kSanitizerCalls[] = {"ptrace", "wait4", "process_vm_readv"};

bool Allow(scmp_filter_ctx filter, const char* name) {
    const int call = seccomp_syscall_resolve_name(name);
    return call == __NR_SCMP_ERROR || seccomp_rule_add(filter, SCMP_ACT_ALLOW, call, 0) == 0;
}

// Files opened for reading only: nothing is written, created or cut through a name. Where
// Landlock keeps every write inside the private temporary folder, files may be made and
// removed there (some coders read a picture through a temporary file).
bool AllowOpens(scmp_filter_ctx filter, bool writableTemp) {
    if (writableTemp)
        return Allow(filter, "openat") && Allow(filter, "open") && Allow(filter, "unlink") &&
               Allow(filter, "unlinkat") &&
               seccomp_rule_add(filter, SCMP_ACT_ERRNO(ENOSYS), SCMP_SYS(openat2), 0) == 0;
    constexpr scmp_datum_t kWriting = O_WRONLY | O_RDWR | O_CREAT | O_TRUNC | O_APPEND | O_TMPFILE;
    return seccomp_rule_add(filter, SCMP_ACT_ALLOW, SCMP_SYS(openat), 1,
                            SCMP_A2(SCMP_CMP_MASKED_EQ, kWriting, 0)) == 0 &&
           seccomp_rule_add(filter, SCMP_ACT_ALLOW, SCMP_SYS(open), 1,
                            SCMP_A1(SCMP_CMP_MASKED_EQ, kWriting, 0)) == 0 &&
           // openat2 hides its flags from the filter: the C library falls back to openat
           seccomp_rule_add(filter, SCMP_ACT_ERRNO(ENOSYS), SCMP_SYS(openat2), 0) == 0;
}

// Threads and, for Ghostscript, a child process; clone3 hides its flags, so the C library is
// told it is missing and falls back to clone. A new namespace is never allowed.
bool AllowClone(scmp_filter_ctx filter, bool runsPrograms) {
    constexpr scmp_datum_t kNamespaces = 0x7E020000; // CLONE_NEWNS ... CLONE_NEWNET, NEWCGROUP
    if (seccomp_rule_add(filter, SCMP_ACT_ERRNO(ENOSYS), SCMP_SYS(clone3), 0) != 0)
        return false;
    if (runsPrograms || kSanitized)
        return seccomp_rule_add(filter, SCMP_ACT_ALLOW, SCMP_SYS(clone), 1,
                                SCMP_A0(SCMP_CMP_MASKED_EQ, kNamespaces, 0)) == 0;
    constexpr scmp_datum_t kThread = 0x00010000; // CLONE_THREAD
    return seccomp_rule_add(filter, SCMP_ACT_ALLOW, SCMP_SYS(clone), 1,
                            SCMP_A0(SCMP_CMP_MASKED_EQ, kThread | kNamespaces, kThread)) == 0;
}

// Only the questions a terminal check and a pipe ask.
bool AllowIoctls(scmp_filter_ctx filter) {
    for (const unsigned long request : {TCGETS, TIOCGWINSZ, FIONREAD, FIOCLEX})
        if (seccomp_rule_add(filter, SCMP_ACT_ALLOW, SCMP_SYS(ioctl), 1,
                             SCMP_A1(SCMP_CMP_EQ, scmp_datum_t(request))) != 0)
            return false;
    return true;
}

// Descriptor flags and duplicates only: no locks or leases on a file of the user's.
bool AllowFcntl(scmp_filter_ctx filter) {
    for (const int command :
         {F_GETFD, F_SETFD, F_GETFL, F_SETFL, F_DUPFD, F_DUPFD_CLOEXEC, F_GET_SEALS, F_ADD_SEALS})
        if (seccomp_rule_add(filter, SCMP_ACT_ALLOW, SCMP_SYS(fcntl), 1,
                             SCMP_A1(SCMP_CMP_EQ, scmp_datum_t(command))) != 0)
            return false;
    return true;
}

// Limits on itself only (Ghostscript's child sets its own before it starts).
bool AllowOwnLimits(scmp_filter_ctx filter) {
    return seccomp_rule_add(filter, SCMP_ACT_ALLOW, SCMP_SYS(prlimit64), 1,
                            SCMP_A0(SCMP_CMP_EQ, 0)) == 0 &&
           Allow(filter, "setrlimit");
}

} // namespace

QStringList CHelperConfinement::ReadableFolders() {
    return {QStringLiteral("/usr"),
            QStringLiteral("/lib"),
            QStringLiteral("/lib64"),
            QStringLiteral("/bin"),
            QStringLiteral("/etc/ld.so.cache"),
            QStringLiteral("/etc/fonts"),
            QStringLiteral("/etc/ImageMagick-6"),
            QStringLiteral("/etc/ghostscript"),
            QStringLiteral("/etc/alternatives"),
            QStringLiteral("/var/lib/ghostscript"),
            QStringLiteral("/var/cache/fontconfig")};
}

bool CHelperConfinement::RestrictPaths(const SOptions& options, int& abi, QString& error) {
    abi = int(::syscall(SYS_landlock_create_ruleset, nullptr, 0, LANDLOCK_CREATE_RULESET_VERSION));
    if (abi <= 0) {
        abi = 0; // the kernel has no Landlock, or it is switched off: the filter stands alone
        return true;
    }
    SRulesetAttr attr;
    attr.handledFs = FsRights(abi);
    size_t size = sizeof(__u64);
    if (abi >= 4) {
        attr.handledNet = LANDLOCK_ACCESS_NET_BIND_TCP | LANDLOCK_ACCESS_NET_CONNECT_TCP;
        size = 2 * sizeof(__u64);
    }
    if (abi >= 6) {
        attr.scoped = LANDLOCK_SCOPE_ABSTRACT_UNIX_SOCKET | LANDLOCK_SCOPE_SIGNAL;
        size = sizeof(SRulesetAttr);
    }
    const int ruleset = int(::syscall(SYS_landlock_create_ruleset, &attr, size, 0));
    if (ruleset < 0) {
        error = QStringLiteral("Landlock: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    bool ok = true;
    for (const QString& folder : ReadableFolders())
        ok = ok && AllowBelow(ruleset, folder, kReadRights & attr.handledFs);
    if (kSanitized)
        ok = ok && AllowBelow(ruleset, QStringLiteral("/proc"), kReadRights);
    if (!options.strTemp.isEmpty())
        ok = ok && AllowBelow(ruleset, options.strTemp, attr.handledFs);
    ok = ok && ::syscall(SYS_landlock_restrict_self, ruleset, 0) == 0;
    if (!ok)
        error = QStringLiteral("Landlock: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
    ::close(ruleset);
    return ok;
}

bool CHelperConfinement::InstallFilter(const SOptions& options, bool writableTemp, QString& error) {
    const scmp_filter_ctx filter = seccomp_init(SCMP_ACT_ERRNO(EPERM));
    if (!filter) {
        error = QStringLiteral("seccomp is not available");
        return false;
    }
    bool ok = seccomp_attr_set(filter, SCMP_FLTATR_CTL_TSYNC, 1) == 0;
    for (const char* name : kAllowed)
        ok = ok && Allow(filter, name);
    if (options.bRunsPrograms)
        for (const char* name : kRunPrograms)
            ok = ok && Allow(filter, name);
    if (kSanitized)
        for (const char* name : kSanitizerCalls)
            ok = ok && Allow(filter, name);
    ok = ok && AllowOpens(filter, writableTemp) && AllowClone(filter, options.bRunsPrograms) &&
         AllowIoctls(filter) && AllowFcntl(filter) && AllowOwnLimits(filter);
    const int loaded = ok ? seccomp_load(filter) : -1;
    seccomp_release(filter);
    if (loaded != 0)
        error = QStringLiteral("seccomp: %1")
                    .arg(QString::fromLocal8Bit(std::strerror(loaded < 0 ? -loaded : EINVAL)));
    return loaded == 0;
}

CHelperConfinement::SResult CHelperConfinement::Apply(const SOptions& options) {
    SResult result;
    if (::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0) {
        result.strError =
            QStringLiteral("no_new_privs: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return result;
    }
    QString landlockError;
    if (!RestrictPaths(options, result.nLandlockAbi, landlockError))
        result.nLandlockAbi = 0; // the filter below still holds every write and connection
    const bool writableTemp = result.nLandlockAbi > 0 && !options.strTemp.isEmpty();
    result.bConfined = InstallFilter(options, writableTemp, result.strError);
    if (!result.bConfined && !landlockError.isEmpty())
        result.strError += QStringLiteral("; ") + landlockError;
    return result;
}
