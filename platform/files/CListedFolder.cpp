#include "platform/files/CListedFolder.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

CListedFolder CListedFolder::Take(const QByteArray& path) {
    CListedFolder folder;
    folder.m_path = Trimmed(path);
    struct stat st {};
    if (folder.m_path.isEmpty() || ::lstat(folder.m_path.constData(), &st) != 0)
        return folder;
    folder.m_bLink = S_ISLNK(st.st_mode);
    if (folder.m_bLink && ::stat(folder.m_path.constData(), &st) != 0)
        return folder;
    if (S_ISDIR(st.st_mode))
        folder.m_id = CFileIdentity::Of(st);
    return folder;
}

CListedFolder CListedFolder::Of(const QByteArray& path, int fd) {
    if (fd < 0)
        return Take(path);
    CListedFolder folder;
    folder.m_path = Trimmed(path);
    struct stat st {};
    if (folder.m_path.isEmpty() || ::fstat(fd, &st) != 0 || !S_ISDIR(st.st_mode))
        return folder;
    folder.m_id = CFileIdentity::Of(st);
    // Were the path a link now but not when it was opened, the folder it leads to would
    // have to be the same one all the same.
    folder.m_bLink = ::lstat(folder.m_path.constData(), &st) == 0 && S_ISLNK(st.st_mode);
    return folder;
}

CFolderHandle CListedFolder::Open() const {
    if (!IsKnown())
        return CFolderHandle::Open(m_path);
    const int flags = O_PATH | O_DIRECTORY | O_CLOEXEC | (m_bLink ? 0 : O_NOFOLLOW);
    const int fd = ::open(m_path.constData(), flags);
    if (fd < 0) {
        // A link (or a file) in the place of a folder that was not reached through one.
        const int error = errno == ELOOP || errno == ENOTDIR ? CFolderHandle::kReplaced : errno;
        return CFolderHandle(m_path, -1, error);
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !(CFileIdentity::Of(st) == m_id)) {
        CFolderHandle closing(m_path, fd, 0);
        return CFolderHandle(m_path, -1, CFolderHandle::kReplaced);
    }
    return CFolderHandle(m_path, fd, 0);
}

// One spelling of each folder: without a trailing separator, except the root itself.
QByteArray CListedFolder::Trimmed(const QByteArray& path) {
    QByteArray trimmed = path;
    while (trimmed.size() > 1 && trimmed.endsWith('/'))
        trimmed.chop(1);
    return trimmed;
}
