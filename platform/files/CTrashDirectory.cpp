#include "platform/files/CTrashDirectory.h"

#include "platform/system/CNativePath.h"

#include <cerrno>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

CTrashDirectory::Place CTrashDirectory::For(const QByteArray& absPath, dev_t device) {
    const QByteArray home = HomeTrash();
    dev_t homeDevice = 0;
    if (!home.isEmpty() && NearestExisting(home, &homeDevice) && homeDevice == device) {
        if (const int error = MakePath(home))
            return {{}, {}, error};
        if (const int error = MakeTrashDirs(home))
            return {{}, {}, error};
        struct stat st {};
        if (::stat(home.constData(), &st) == 0 && st.st_dev == device)
            return {home, {}, 0};
    }
    return TopDirTrash(TopDir(CNativePath::DirName(absPath), device));
}

QByteArray CTrashDirectory::HomeTrash() {
    QByteArray data = qgetenv("XDG_DATA_HOME");
    if (!data.startsWith('/')) {
        QByteArray home = qgetenv("HOME");
        if (!home.startsWith('/')) {
            const struct passwd* pw = ::getpwuid(::getuid());
            home = pw && pw->pw_dir ? QByteArray(pw->pw_dir) : QByteArray();
        }
        if (home.isEmpty())
            return {};
        data = CNativePath::Join(home, ".local/share");
    }
    return CNativePath::Join(data, "Trash");
}

QByteArray CTrashDirectory::TopDir(const QByteArray& absDir, dev_t device) {
    QByteArray dir = absDir;
    while (dir != "/") {
        const QByteArray parent = CNativePath::DirName(dir);
        struct stat st {};
        if (::stat(parent.constData(), &st) != 0 || st.st_dev != device)
            break;
        dir = parent;
    }
    return dir;
}

CTrashDirectory::Place CTrashDirectory::TopDirTrash(const QByteArray& topDir) {
    const QByteArray uid = QByteArray::number(static_cast<qulonglong>(::getuid()));
    const QByteArray shared = CNativePath::Join(topDir, ".Trash");
    struct stat st {};
    if (::lstat(shared.constData(), &st) == 0 && S_ISDIR(st.st_mode) && (st.st_mode & S_ISVTX)) {
        const QByteArray mine = CNativePath::Join(shared, uid);
        if (MakeOwnDir(mine) == 0 && MakeTrashDirs(mine) == 0)
            return {mine, topDir, 0};
    }
    const QByteArray own = CNativePath::Join(topDir, ".Trash-" + uid);
    int error = MakeOwnDir(own);
    if (!error)
        error = MakeTrashDirs(own);
    if (error)
        return {{}, {}, error};
    return {own, topDir, 0};
}

// Creates dir and its missing parents, private to the user as the base directory rules ask.
int CTrashDirectory::MakePath(const QByteArray& dir) {
    struct stat st {};
    if (::stat(dir.constData(), &st) == 0)
        return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
    const QByteArray parent = CNativePath::DirName(dir);
    if (parent != dir)
        if (const int error = MakePath(parent))
            return error;
    if (::mkdir(dir.constData(), 0700) != 0 && errno != EEXIST)
        return errno;
    return 0;
}

namespace {
// Makes a folder if it is missing; 0 when a real folder (no link) is there afterwards, and
// with bMustOwn only when it is ours.
int MakeRealDir(const QByteArray& dir, bool bMustOwn) {
    if (::mkdir(dir.constData(), 0700) != 0 && errno != EEXIST)
        return errno;
    struct stat st {};
    if (::lstat(dir.constData(), &st) != 0)
        return errno;
    if (!S_ISDIR(st.st_mode))
        return ENOTDIR;
    if (bMustOwn && st.st_uid != ::getuid())
        return EPERM;
    return 0;
}
} // namespace

// A folder that must be ours: made if missing, refused when it is a link or someone else's.
int CTrashDirectory::MakeOwnDir(const QByteArray& dir) {
    return MakeRealDir(dir, true);
}

int CTrashDirectory::MakeTrashDirs(const QByteArray& trash) {
    for (const char* sub : {"files", "info"})
        if (const int error = MakeRealDir(CNativePath::Join(trash, sub), false))
            return error;
    return 0;
}

// The device of path or of its nearest existing ancestor.
bool CTrashDirectory::NearestExisting(QByteArray path, dev_t* device) {
    for (;;) {
        struct stat st {};
        if (::stat(path.constData(), &st) == 0) {
            *device = st.st_dev;
            return true;
        }
        const QByteArray parent = CNativePath::DirName(path);
        if (parent == path)
            return false;
        path = parent;
    }
}
