#include "platform/CFileCopier.h"

#include "platform/CNoReplaceRename.h"

#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

// Where O_TMPFILE is not understood the kernel or file system answers with one of these.
bool NoUnnamedFiles(int error) {
    return error == EOPNOTSUPP || error == EISDIR || error == EINVAL || error == ENOENT;
}

int WriteAll(int fd, const char* data, qint64 size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return EIO;
        data += n;
        size -= n;
    }
    return 0;
}

} // namespace

CFileCopier::CFileCopier(QByteArray source, QByteArray destDir)
    : m_source(std::move(source)), m_destDir(std::move(destDir)) {
}

CFileCopier::~CFileCopier() {
    Discard();
}

int CFileCopier::Prepare(const Progress& progress) {
    Discard();
    m_srcFd = ::open(m_source.constData(), O_RDONLY | O_CLOEXEC);
    if (m_srcFd < 0 || ::fstat(m_srcFd, &m_srcStat) != 0) {
        const int error = errno;
        Discard();
        return error;
    }
    int error = S_ISREG(m_srcStat.st_mode) ? 0 : EINVAL;
    if (!error)
        error = OpenTarget();
    if (!error)
        error = CopyData(progress);
    if (!error)
        error = Finish();
    if (error) {
        Discard();
        return error;
    }
    m_bPrepared = true;
    return 0;
}

int CFileCopier::OpenTarget() {
    m_dirFd = ::open(m_destDir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_dirFd < 0)
        return errno;
    if (!m_bPreferNamed) {
        m_fd = ::openat(m_dirFd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
        if (m_fd >= 0)
            return 0;
        if (!NoUnnamedFiles(errno))
            return errno;
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray name = ".vantrel-" + QByteArray::number(::getpid()) + '-' +
                                QByteArray::number(QRandomGenerator::global()->generate(), 36) +
                                ".part";
        m_fd = ::openat(m_dirFd, name.constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
        if (m_fd >= 0) {
            m_tempName = name;
            return 0;
        }
        if (errno != EEXIST)
            return errno;
    }
    return EEXIST;
}

int CFileCopier::CopyData(const Progress& progress) {
    std::vector<char> buffer(static_cast<size_t>(std::max<qint64>(m_nChunk, 4096)));
    const qint64 total = m_srcStat.st_size;
    qint64 done = 0;
    if (progress && !progress(0, total))
        return ECANCELED;
    for (;;) {
        const ssize_t n = ::read(m_srcFd, buffer.data(), buffer.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            break;
        if (const int error = WriteAll(m_fd, buffer.data(), n))
            return error;
        done += n;
        if (progress && !progress(done, total))
            return ECANCELED;
    }
    return done == total ? 0 : EIO;
}

// Permissions and times as the source's, the data on disk, the size checked.
int CFileCopier::Finish() {
    ::fchmod(m_fd, m_srcStat.st_mode & 07777); // some file systems keep no modes: not fatal
    const struct timespec times[2] = {m_srcStat.st_atim, m_srcStat.st_mtim};
    if (::futimens(m_fd, times) != 0)
        return errno;
    if (::fsync(m_fd) != 0)
        return errno;
    struct stat now {};
    if (::fstat(m_fd, &now) != 0)
        return errno;
    if (now.st_size != m_srcStat.st_size)
        return EIO;
    struct stat source {};
    if (::fstat(m_srcFd, &source) == 0 && source.st_size != m_srcStat.st_size)
        return EIO; // the source changed while it was being copied
    return 0;
}

int CFileCopier::Commit(const QByteArray& name) {
    if (!m_bPrepared)
        return EINVAL;
    const int error = m_tempName.isEmpty()
                          ? LinkUnnamed(name)
                          : CNoReplaceRename::RenameAt(m_dirFd, m_tempName.constData(), m_dirFd,
                                                       name.constData());
    if (error)
        return error;
    m_tempName.clear();
    const int fd = std::exchange(m_fd, -1);
    if (::close(fd) != 0) {
        const int closeError = errno;
        ::unlinkat(m_dirFd, name.constData(), 0);
        Discard();
        return closeError;
    }
    if (::fsync(m_dirFd) != 0 && errno != EINVAL) {
        const int syncError = errno;
        ::unlinkat(m_dirFd, name.constData(), 0);
        Discard();
        return syncError;
    }
    m_bPrepared = false;
    CloseAll();
    return 0;
}

int CFileCopier::LinkUnnamed(const QByteArray& name) {
    if (::linkat(m_fd, "", m_dirFd, name.constData(), AT_EMPTY_PATH) == 0)
        return 0;
    if (errno == EEXIST)
        return EEXIST;
    // Without the capability for AT_EMPTY_PATH the descriptor's /proc entry does the same.
    const QByteArray proc = "/proc/self/fd/" + QByteArray::number(m_fd);
    if (::linkat(AT_FDCWD, proc.constData(), m_dirFd, name.constData(), AT_SYMLINK_FOLLOW) == 0)
        return 0;
    return errno;
}

void CFileCopier::Discard() {
    if (!m_tempName.isEmpty() && m_dirFd >= 0)
        ::unlinkat(m_dirFd, m_tempName.constData(), 0);
    m_tempName.clear();
    m_bPrepared = false;
    CloseAll();
}

void CFileCopier::CloseAll() {
    for (int* fd : {&m_fd, &m_srcFd, &m_dirFd})
        if (*fd >= 0)
            ::close(std::exchange(*fd, -1));
}
