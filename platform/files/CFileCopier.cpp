#include "platform/files/CFileCopier.h"

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

int WriteAll(CDiskCalls& calls, int fd, const char* data, qint64 size, qint64 at) {
    while (size > 0) {
        const ssize_t n = calls.Write(fd, data, static_cast<size_t>(size), at);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return EIO;
        data += n;
        size -= n;
        at += n;
    }
    return 0;
}

} // namespace

CFileCopier::CFileCopier(QByteArray source, QByteArray destDir)
    : CFileCopier(AT_FDCWD, std::move(source), std::move(destDir)) {
}

CFileCopier::CFileCopier(int srcDirFd, QByteArray name, QByteArray destDir)
    : m_srcDirFd(srcDirFd), m_source(std::move(name)), m_destDir(std::move(destDir)) {
}

CFileCopier::~CFileCopier() {
    Discard();
}

int CFileCopier::Prepare(const Progress& progress) {
    Discard();
    // Not blocking, so that a pipe put in the file's place cannot hold the open; what was
    // opened is judged by its descriptor, which no later rename can change.
    m_srcFd =
        ::openat(m_srcDirFd, m_source.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (m_srcFd < 0 || ::fstat(m_srcFd, &m_srcStat) != 0) {
        const int error = errno;
        Discard();
        return error;
    }
    int error = S_ISREG(m_srcStat.st_mode) ? 0 : kNotAFile;
    if (!error && m_expected.bKnown && !(CFileIdentity::Of(m_srcStat) == m_expected))
        error = kOtherFile;
    if (!error && ::fcntl(m_srcFd, F_SETFL, ::fcntl(m_srcFd, F_GETFL) & ~O_NONBLOCK) != 0)
        error = errno;
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
    if (progress && !progress(0, total))
        return ECANCELED;
    // Only the stretches that hold data are read and written; the holes between them stay
    // holes, so a sparse file takes no more room at its new place.
    qint64 at = 0;
    while (at < total) {
        qint64 dataAt = ::lseek(m_srcFd, at, SEEK_DATA);
        if (dataAt < 0 && errno == ENXIO)
            break; // nothing but a hole up to the end
        qint64 holeAt = dataAt < at ? -1 : ::lseek(m_srcFd, dataAt, SEEK_HOLE);
        if (holeAt <= dataAt) { // holes cannot be found here: the rest is read as data
            dataAt = at;
            holeAt = total;
        }
        holeAt = std::min(holeAt, total);
        if (const int error = CopyRange(buffer, dataAt, holeAt, progress))
            return error;
        at = holeAt;
    }
    // A trailing hole, and the file's full length.
    if (::ftruncate(m_fd, total) != 0)
        return errno;
    return 0;
}

int CFileCopier::CopyRange(std::vector<char>& buffer, qint64 from, qint64 to,
                           const Progress& progress) {
    const qint64 total = m_srcStat.st_size;
    while (from < to) {
        const size_t want = static_cast<size_t>(std::min<qint64>(to - from, buffer.size()));
        const ssize_t n = ::pread(m_srcFd, buffer.data(), want, from);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return EIO; // the source was cut short while it was being copied
        if (const int error = WriteAll(Calls(), m_fd, buffer.data(), n, from))
            return error;
        from += n;
        if (progress && !progress(from, total))
            return ECANCELED;
    }
    return 0;
}

// Permissions and times as the source's, the data on disk, the size checked.
int CFileCopier::Finish() {
    ::fchmod(m_fd, m_srcStat.st_mode & 07777); // some file systems keep no modes: not fatal
    const struct timespec times[2] = {m_srcStat.st_atim, m_srcStat.st_mtim};
    if (::futimens(m_fd, times) != 0)
        return errno;
    if (Calls().Sync(m_fd) != 0)
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
    const int error = m_tempName.isEmpty() ? LinkUnnamed(name)
                                           : Calls().Rename(m_dirFd, m_tempName.constData(),
                                                            m_dirFd, name.constData());
    if (error)
        return error;
    m_tempName.clear();
    const int fd = std::exchange(m_fd, -1);
    if (Calls().Close(fd) != 0) {
        const int closeError = errno;
        ::unlinkat(m_dirFd, name.constData(), 0);
        Discard();
        return closeError;
    }
    if (Calls().Sync(m_dirFd) != 0 && errno != EINVAL) {
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
    if (Calls().Link(m_fd, "", m_dirFd, name.constData(), AT_EMPTY_PATH) == 0)
        return 0;
    if (errno == EEXIST)
        return EEXIST;
    // Without the capability for AT_EMPTY_PATH the descriptor's /proc entry does the same.
    const QByteArray proc = "/proc/self/fd/" + QByteArray::number(m_fd);
    if (Calls().Link(AT_FDCWD, proc.constData(), m_dirFd, name.constData(), AT_SYMLINK_FOLLOW) == 0)
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
