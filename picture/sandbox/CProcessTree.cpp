#include "picture/sandbox/CProcessTree.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <csignal>
#include <poll.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {
// A bound on what is followed, whatever /proc says.
constexpr int kMaxProcesses = 4096;

int OpenPidFd(pid_t pid) {
#ifdef SYS_pidfd_open
    return int(::syscall(SYS_pidfd_open, pid, 0));
#else
    (void)pid;
    return -1;
#endif
}
} // namespace

QList<pid_t> CProcessTree::ChildrenOf(pid_t pid) {
    QList<pid_t> children;
    const QString tasks = QStringLiteral("/proc/%1/task").arg(pid);
    for (const QString& task : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile list(tasks + u'/' + task + QStringLiteral("/children"));
        if (!list.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& word : list.readAll().split(' ')) {
            bool ok = false;
            const pid_t child = pid_t(word.trimmed().toInt(&ok));
            if (ok && child > 0)
                children << child;
        }
    }
    return children;
}

QList<pid_t> CProcessTree::Descendants(pid_t pid) {
    QList<pid_t> found = ChildrenOf(pid);
    for (qsizetype i = 0; i < found.size() && found.size() < kMaxProcesses; ++i)
        for (pid_t child : ChildrenOf(found[i]))
            if (!found.contains(child))
                found << child;
    return found;
}

// Stops `pid` and waits until it is stopped (or has ended), leaving its state to be reaped.
bool CProcessTree::HoldStill(pid_t pid, int timeoutMs) {
    if (::kill(pid, SIGSTOP) != 0)
        return false;
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        siginfo_t info{};
        const int done = ::waitid(P_PID, id_t(pid), &info, WSTOPPED | WEXITED | WNOWAIT | WNOHANG);
        if (done == 0 && info.si_pid == pid)
            return true;
        if (done < 0 && errno != EINTR)
            return false;
        if (deadline.hasExpired())
            return false;
        ::usleep(500);
    }
}

void CProcessTree::KillAndAwait(const QList<pid_t>& pids, int timeoutMs) {
    std::vector<pollfd> alive;
    for (pid_t pid : pids) {
        const int fd = OpenPidFd(pid);
        if (::kill(pid, SIGKILL) == 0 && fd >= 0)
            alive.push_back({fd, POLLIN, 0});
        else if (fd >= 0)
            ::close(fd);
    }
    const QDeadlineTimer deadline(timeoutMs);
    while (!alive.empty() && !deadline.hasExpired()) {
        ::poll(alive.data(), nfds_t(alive.size()), int(deadline.remainingTime()));
        for (auto it = alive.begin(); it != alive.end();) {
            if (it->revents != 0) {
                ::close(it->fd);
                it = alive.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (const pollfd& left : alive)
        ::close(left.fd);
}

void CProcessTree::Kill(pid_t pid, int timeoutMs) {
    if (pid <= 0)
        return;
    // Held still, it can start no process between the listing and the killing.
    if (HoldStill(pid, timeoutMs))
        KillAndAwait(Descendants(pid), timeoutMs);
    ::kill(-pid, SIGKILL); // the helper leads its own process group
    ::kill(pid, SIGKILL);
}
