#include "picture/sandbox/HelperTask.h"

#include "picture/sandbox/DecoderProtocol.h"

#include <QByteArray>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace helper_task {

namespace {

// The input and the files of a run on many.
constexpr int kFds = 1 + decoder_protocol::kMaxFiles;

// Room for one SCM_RIGHTS message of up to kFds descriptors, aligned as the kernel wants it.
union UControl {
    char buffer[CMSG_SPACE(sizeof(int) * kFds)];
    cmsghdr align;
};

QByteArray Encode(const QStringList& args) {
    QByteArray message;
    for (const QString& arg : args) {
        message += arg.toUtf8();
        message += '\0';
    }
    return message;
}

// The descriptors a message carried, all of them, so that none is left open by mistake.
QList<int> Attached(msghdr& header) {
    QList<int> fds;
    for (cmsghdr* c = CMSG_FIRSTHDR(&header); c; c = CMSG_NXTHDR(&header, c)) {
        if (c->cmsg_level != SOL_SOCKET || c->cmsg_type != SCM_RIGHTS)
            continue;
        const size_t count = (c->cmsg_len - CMSG_LEN(0)) / sizeof(int);
        for (size_t i = 0; i < count; ++i) {
            int fd = -1;
            std::memcpy(&fd, CMSG_DATA(c) + i * sizeof(int), sizeof fd);
            fds << fd;
        }
    }
    return fds;
}

void CloseAll(const QList<int>& fds) {
    for (int fd : fds)
        ::close(fd);
}

// Puts the input at kInputFd and the files from kFirstFileFd on, and closes the descriptors
// as received. One received may already stand where another is to go, so each is first
// taken out of the way.
bool Place(const QList<int>& fds) {
    const int above = decoder_protocol::kFirstFileFd + int(fds.size());
    QList<int> moved;
    bool ok = true;
    for (int fd : fds) {
        moved << ::fcntl(fd, F_DUPFD_CLOEXEC, above);
        ok = ok && moved.last() >= 0;
    }
    CloseAll(fds); // the numbers are free now for their places
    if (ok) {
        ok = ::dup2(moved[0], decoder_protocol::kInputFd) >= 0;
        for (qsizetype i = 1; ok && i < moved.size(); ++i)
            ok = ::dup2(moved[i], decoder_protocol::kFirstFileFd + int(i) - 1) >= 0;
    }
    CloseAll(moved);
    return ok;
}

// A message of one buffer with room for the descriptors that go along.
msghdr Header(iovec& data, UControl& control) {
    msghdr header{};
    header.msg_iov = &data;
    header.msg_iovlen = 1;
    header.msg_control = control.buffer;
    header.msg_controllen = sizeof control.buffer;
    return header;
}
} // namespace

bool Send(int socket, const QStringList& args, int inputFd, const QList<int>& files) {
    QByteArray message = Encode(args);
    if (message.isEmpty() || message.size() > kMaxMessage || inputFd < 0 ||
        files.size() > decoder_protocol::kMaxFiles)
        return false;
    const QList<int> fds = QList<int>{inputFd} + files;
    iovec data{message.data(), size_t(message.size())};
    UControl control{};
    msghdr header = Header(data, control);
    cmsghdr* c = CMSG_FIRSTHDR(&header);
    c->cmsg_level = SOL_SOCKET;
    c->cmsg_type = SCM_RIGHTS;
    c->cmsg_len = CMSG_LEN(sizeof(int) * size_t(fds.size()));
    std::memcpy(CMSG_DATA(c), fds.constData(), sizeof(int) * size_t(fds.size()));
    header.msg_controllen = CMSG_SPACE(sizeof(int) * size_t(fds.size()));
    for (;;) {
        const ssize_t n = ::sendmsg(socket, &header, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        return n == message.size();
    }
}

bool Receive(int socket, QStringList& args) {
    QByteArray message(kMaxMessage + 1, '\0');
    iovec data{message.data(), size_t(message.size())};
    UControl control{};
    msghdr header = Header(data, control);
    ssize_t n = -1;
    do
        n = ::recvmsg(socket, &header, MSG_CMSG_CLOEXEC);
    while (n < 0 && errno == EINTR);
    const QList<int> fds = n > 0 ? Attached(header) : QList<int>();
    const bool whole = n > 0 && n <= kMaxMessage && !(header.msg_flags & (MSG_TRUNC | MSG_CTRUNC));
    if (!whole || fds.isEmpty() || message.at(qsizetype(n - 1)) != '\0') {
        CloseAll(fds);
        return false;
    }
    args.clear();
    for (const QByteArray& arg : message.left(n - 1).split('\0'))
        args << QString::fromUtf8(arg);
    const char taken = kTaken;
    if (::send(socket, &taken, 1, MSG_NOSIGNAL) != 1) {
        CloseAll(fds);
        return false;
    }
    return Place(fds);
}

} // namespace helper_task
