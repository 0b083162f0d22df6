#include "picture/sandbox/SealedCopy.h"

#include "picture/sandbox/DecodeLimits.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/sendfile.h>
#include <unistd.h>

namespace {

bool WriteAll(int fd, const char* data, qint64 size) {
    for (qint64 at = 0; at < size;) {
        const ssize_t n = ::write(fd, data + at, size_t(size - at));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        at += n;
    }
    return true;
}

// Copies what `from` holds, from its start, into `to`; false on a read or write fault, or
// when it holds more than the largest file shown (it may grow while it is copied).
bool CopyFile(int from, int to) {
    off_t at = 0;
    for (;;) {
        if (at > limits::kMaxBufferedFile)
            return false;
        const ssize_t n = ::sendfile(to, from, &at, 1 << 24);
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0)
            return true;
        if (n > 0)
            continue;
        if (errno != EINVAL && errno != ENOSYS)
            return false;
        char buffer[1 << 16]; // a file sendfile cannot read: copied by hand
        for (;;) {
            const ssize_t got = ::pread(from, buffer, sizeof buffer, at);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                return got == 0;
            if (!WriteAll(to, buffer, got) || (at += got) > limits::kMaxBufferedFile)
                return false;
        }
    }
}

int Sealed(int fd, const QByteArray* bytes) {
    const int copy = ::memfd_create("picture", MFD_CLOEXEC | MFD_ALLOW_SEALING);
    if (copy < 0)
        return -1;
    const bool copied =
        bytes ? WriteAll(copy, bytes->constData(), bytes->size()) : CopyFile(fd, copy);
    constexpr int kSeals = F_SEAL_WRITE | F_SEAL_SHRINK | F_SEAL_GROW | F_SEAL_SEAL;
    if (!copied || ::fcntl(copy, F_ADD_SEALS, kSeals) != 0 || ::lseek(copy, 0, SEEK_SET) != 0) {
        ::close(copy);
        return -1;
    }
    return copy;
}

} // namespace

namespace sealed_copy {

int OfFile(int fd) {
    return Sealed(fd, nullptr);
}

int OfBytes(const QByteArray& data) {
    return Sealed(-1, &data);
}

} // namespace sealed_copy
