#include "platform/files/CFolderHandle.h"

#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

CFolderHandle::CFolderHandle(QByteArray path, int fd, int error)
    : m_path(std::move(path)), m_fd(fd), m_error(error) {
}

CFolderHandle::~CFolderHandle() {
    if (m_fd >= 0)
        ::close(m_fd);
}

CFolderHandle::CFolderHandle(CFolderHandle&& other) noexcept
    : m_path(std::move(other.m_path)), m_fd(std::exchange(other.m_fd, -1)), m_error(other.m_error) {
}

CFolderHandle& CFolderHandle::operator=(CFolderHandle&& other) noexcept {
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_path = std::move(other.m_path);
        m_fd = std::exchange(other.m_fd, -1);
        m_error = other.m_error;
    }
    return *this;
}

CFolderHandle CFolderHandle::Open(const QByteArray& path) {
    const int fd = ::open(path.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    return CFolderHandle(path, fd, fd >= 0 ? 0 : errno);
}

QByteArray CFolderHandle::ResolvedPath() const {
    char resolved[PATH_MAX];
    if (m_fd >= 0) {
        const QByteArray proc = "/proc/self/fd/" + QByteArray::number(m_fd);
        const ssize_t n = ::readlink(proc.constData(), resolved, sizeof resolved);
        if (n > 0 && n < ssize_t(sizeof resolved) && resolved[0] == '/')
            return QByteArray(resolved, n);
    }
    return ::realpath(m_path.constData(), resolved) ? QByteArray(resolved) : QByteArray();
}
