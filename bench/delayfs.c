/* delayfs: a passthrough file system that behaves like a network share.
 *
 * It shows the folder given by --source at the mount point and waits --delay-ms
 * (default 20) before each metadata call: lookups and attributes (getattr), open,
 * readdir, rename and unlink, as a round trip to a server would. Attributes and names
 * are cached by the kernel for one second, as the cifs and NFS clients cache them;
 * a failed lookup is not cached. Reading and writing data are not delayed.
 *
 *   delayfs MOUNTPOINT --source=DIR [--delay-ms=N] [-f] [FUSE options]
 *   fusermount3 -u MOUNTPOINT
 *
 * Built by bench/share-bench.sh:  cc delayfs.c $(pkg-config --cflags --libs fuse3)
 */
#define FUSE_USE_VERSION 31
#define _GNU_SOURCE

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <fuse.h>
#include <limits.h>
#include <stddef.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

struct options {
    const char* source;
    unsigned delay_ms;
};

static struct options g_options = {NULL, 20};
static int g_source = -1; /* descriptor of the source folder */

#define OPTION(t, p)                                                                               \
    { t, offsetof(struct options, p), 1 }
static const struct fuse_opt g_option_spec[] = {
    OPTION("--source=%s", source),
    OPTION("--delay-ms=%u", delay_ms),
    FUSE_OPT_END,
};

/* One round trip to the server. */
static void round_trip(void) {
    struct timespec wait = {(time_t)(g_options.delay_ms / 1000),
                            (long)(g_options.delay_ms % 1000) * 1000000L};
    while (nanosleep(&wait, &wait) != 0 && errno == EINTR) {
    }
}

/* The path below the source folder ("/" is the folder itself). */
static const char* relative(const char* path) {
    while (*path == '/')
        ++path;
    return *path ? path : ".";
}

static void* df_init(struct fuse_conn_info* conn, struct fuse_config* cfg) {
    (void)conn;
    cfg->use_ino = 1;
    cfg->attr_timeout = 1.0;
    cfg->entry_timeout = 1.0;
    cfg->negative_timeout = 0.0;
    cfg->auto_cache = 1;
    return NULL;
}

static int df_getattr(const char* path, struct stat* st, struct fuse_file_info* fi) {
    round_trip();
    int rc =
        fi ? fstat((int)fi->fh, st) : fstatat(g_source, relative(path), st, AT_SYMLINK_NOFOLLOW);
    return rc == 0 ? 0 : -errno;
}

static int df_readlink(const char* path, char* buf, size_t size) {
    round_trip();
    ssize_t n = readlinkat(g_source, relative(path), buf, size - 1);
    if (n < 0)
        return -errno;
    buf[n] = '\0';
    return 0;
}

static int df_open(const char* path, struct fuse_file_info* fi) {
    round_trip();
    int fd = openat(g_source, relative(path), fi->flags & ~O_NOFOLLOW);
    if (fd < 0)
        return -errno;
    fi->fh = (uint64_t)fd;
    return 0;
}

static int df_create(const char* path, mode_t mode, struct fuse_file_info* fi) {
    round_trip();
    int fd = openat(g_source, relative(path), fi->flags, mode);
    if (fd < 0)
        return -errno;
    fi->fh = (uint64_t)fd;
    return 0;
}

static int df_read(const char* path, char* buf, size_t size, off_t at, struct fuse_file_info* fi) {
    (void)path;
    ssize_t n = pread((int)fi->fh, buf, size, at);
    return n < 0 ? -errno : (int)n;
}

static int df_write(const char* path, const char* buf, size_t size, off_t at,
                    struct fuse_file_info* fi) {
    (void)path;
    ssize_t n = pwrite((int)fi->fh, buf, size, at);
    return n < 0 ? -errno : (int)n;
}

static int df_fsync(const char* path, int datasync, struct fuse_file_info* fi) {
    (void)path;
    int rc = datasync ? fdatasync((int)fi->fh) : fsync((int)fi->fh);
    return rc == 0 ? 0 : -errno;
}

static int df_release(const char* path, struct fuse_file_info* fi) {
    (void)path;
    close((int)fi->fh);
    return 0;
}

static int df_readdir(const char* path, void* buf, fuse_fill_dir_t fill, off_t at,
                      struct fuse_file_info* fi, enum fuse_readdir_flags flags) {
    (void)at;
    (void)fi;
    (void)flags;
    round_trip();
    int fd = openat(g_source, relative(path), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return -errno;
    DIR* dir = fdopendir(fd);
    if (!dir) {
        int error = errno;
        close(fd);
        return -error;
    }
    for (struct dirent* e; (e = readdir(dir)) != NULL;) {
        struct stat st;
        memset(&st, 0, sizeof st);
        st.st_ino = e->d_ino;
        st.st_mode = (mode_t)(DTTOIF(e->d_type));
        if (fill(buf, e->d_name, &st, 0, 0))
            break;
    }
    closedir(dir);
    return 0;
}

static int df_mkdir(const char* path, mode_t mode) {
    round_trip();
    return mkdirat(g_source, relative(path), mode) == 0 ? 0 : -errno;
}

static int df_unlink(const char* path) {
    round_trip();
    return unlinkat(g_source, relative(path), 0) == 0 ? 0 : -errno;
}

static int df_rmdir(const char* path) {
    round_trip();
    return unlinkat(g_source, relative(path), AT_REMOVEDIR) == 0 ? 0 : -errno;
}

static int df_rename(const char* from, const char* to, unsigned int flags) {
    round_trip();
    return renameat2(g_source, relative(from), g_source, relative(to), flags) == 0 ? 0 : -errno;
}

static int df_link(const char* from, const char* to) {
    round_trip();
    return linkat(g_source, relative(from), g_source, relative(to), 0) == 0 ? 0 : -errno;
}

static int df_chmod(const char* path, mode_t mode, struct fuse_file_info* fi) {
    round_trip();
    int rc = fi ? fchmod((int)fi->fh, mode) : fchmodat(g_source, relative(path), mode, 0);
    return rc == 0 ? 0 : -errno;
}

static int df_truncate(const char* path, off_t size, struct fuse_file_info* fi) {
    int rc;
    if (fi) {
        rc = ftruncate((int)fi->fh, size);
    } else {
        int fd = openat(g_source, relative(path), O_WRONLY);
        if (fd < 0)
            return -errno;
        rc = ftruncate(fd, size);
        close(fd);
    }
    return rc == 0 ? 0 : -errno;
}

static int df_utimens(const char* path, const struct timespec tv[2], struct fuse_file_info* fi) {
    int rc = fi ? futimens((int)fi->fh, tv)
                : utimensat(g_source, relative(path), tv, AT_SYMLINK_NOFOLLOW);
    return rc == 0 ? 0 : -errno;
}

static int df_statfs(const char* path, struct statvfs* st) {
    (void)path;
    return fstatvfs(g_source, st) == 0 ? 0 : -errno;
}

static const struct fuse_operations g_operations = {
    .getattr = df_getattr,
    .readlink = df_readlink,
    .mkdir = df_mkdir,
    .unlink = df_unlink,
    .rmdir = df_rmdir,
    .rename = df_rename,
    .link = df_link,
    .chmod = df_chmod,
    .truncate = df_truncate,
    .open = df_open,
    .read = df_read,
    .write = df_write,
    .statfs = df_statfs,
    .release = df_release,
    .fsync = df_fsync,
    .readdir = df_readdir,
    .init = df_init,
    .create = df_create,
    .utimens = df_utimens,
};

int main(int argc, char* argv[]) {
    struct fuse_args args = FUSE_ARGS_INIT(argc, argv);
    if (fuse_opt_parse(&args, &g_options, g_option_spec, NULL) == -1)
        return 1;
    if (!g_options.source) {
        fprintf(stderr, "delayfs: --source=DIR is needed\n");
        return 1;
    }
    g_source = open(g_options.source, O_RDONLY | O_DIRECTORY);
    if (g_source < 0) {
        perror(g_options.source);
        return 1;
    }
    int rc = fuse_main(args.argc, args.argv, &g_operations, NULL);
    fuse_opt_free_args(&args);
    return rc;
}
