#include "platform/files/CTrash.h"

#include "platform/files/CFolderHandle.h"
#include "platform/files/CNoReplaceRename.h"
#include "platform/files/CTrashDirectory.h"
#include "platform/system/CNativePath.h"

#include <QDateTime>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr int kMaxNumberedNames = 10000;
constexpr char kInfoSuffix[] = ".trashinfo";
// The name in the trash leaves room for the info file's suffix within the file system's
// limit on one name; the info file keeps the full original path.
constexpr qsizetype kMaxTrashName = NAME_MAX - (sizeof(kInfoSuffix) - 1);
} // namespace

CTrash::Result CTrash::Put(const QByteArray& path) {
    const CFolderHandle folder = CFolderHandle::Open(CNativePath::DirName(path));
    if (folder.Error())
        return {folder.Error(), {}, {}};
    return PutAt(folder, CNativePath::FileName(path));
}

CTrash::Result CTrash::PutAt(const CFolderHandle& folder, const QByteArray& name) {
    struct stat st {};
    if (folder.Fd() < 0)
        return {folder.Error(), {}, {}};
    if (::fstatat(folder.Fd(), name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return {errno, {}, {}};
    const QByteArray resolved = folder.ResolvedPath();
    if (resolved.isEmpty())
        return {errno ? errno : ENOENT, {}, {}};
    const QByteArray absPath = CNativePath::Join(resolved, name);

    const CTrashDirectory::Place place = CTrashDirectory::For(absPath, st.st_dev);
    if (place.error)
        return {place.error, {}, {}};
    // The home trash records absolute paths; a top directory's trash records them relative
    // to the top directory, so that the medium can be mounted elsewhere.
    QByteArray recorded = absPath;
    if (!place.topDir.isEmpty())
        recorded = absPath.mid(place.topDir == "/" ? 1 : place.topDir.size() + 1);
    const QByteArray text = InfoText(recorded);

    for (int n = 0; n < kMaxNumberedNames; ++n) {
        const QByteArray trashName = EntryName(name, n);
        const QByteArray info =
            CNativePath::Join(CNativePath::Join(place.dir, "info"), trashName + kInfoSuffix);
        const int infoError = WriteInfo(info, text);
        if (infoError == EEXIST)
            continue;
        if (infoError)
            return {infoError, {}, {}};
        const QByteArray file = CNativePath::Join(CNativePath::Join(place.dir, "files"), trashName);
        const int error =
            CNoReplaceRename::RenameAt(folder.Fd(), name.constData(), AT_FDCWD, file.constData());
        if (error == 0)
            return {0, file, info};
        ::unlink(info.constData());
        if (error != EEXIST)
            return {error, {}, {}};
    }
    return {EEXIST, {}, {}};
}

QByteArray CTrash::EntryName(const QByteArray& name, int n) {
    return CNativePath::FittedName(name, n, kMaxTrashName);
}

int CTrash::Restore(const QByteArray& file, const QByteArray& info, const QByteArray& original) {
    if (const int error = CNoReplaceRename::Rename(file, original))
        return error;
    DropInfo(file, info);
    return 0;
}

// Only an info file that belongs to the trash and whose entry is no longer there goes.
void CTrash::DropInfo(const QByteArray& file, const QByteArray& info) {
    struct stat st {};
    if (!info.endsWith(".trashinfo") || ::lstat(file.constData(), &st) == 0)
        return;
    ::unlink(info.constData());
}

QByteArray CTrash::InfoText(const QByteArray& pathForInfo) {
    return "[Trash Info]\nPath=" + pathForInfo.toPercentEncoding("/") + "\nDeletionDate=" +
           QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")).toLatin1() +
           '\n';
}

// Creates the info file exclusively, which also claims the name in the trash.
int CTrash::WriteInfo(const QByteArray& infoFile, const QByteArray& text) {
    const int fd = ::open(infoFile.constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
    if (fd < 0)
        return errno;
    int error = 0;
    const ssize_t n = ::write(fd, text.constData(), static_cast<size_t>(text.size()));
    if (n != text.size())
        error = n < 0 ? errno : ENOSPC;
    if (::close(fd) != 0 && !error)
        error = errno;
    if (error)
        ::unlink(infoFile.constData());
    return error;
}
