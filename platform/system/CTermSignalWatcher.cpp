#include "platform/system/CTermSignalWatcher.h"

#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int s_fds[2] = {-1, -1}; // written by the handler, read on the user-interface thread

void OnSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(s_fds[0], &byte, 1);
}

const int kSignals[] = {SIGTERM, SIGHUP, SIGINT};
} // namespace

CTermSignalWatcher::CTermSignalWatcher(QObject* parent) : QObject(parent) {
    if (s_fds[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, s_fds) != 0)
        return;
    ::fcntl(s_fds[0], F_SETFL, O_NONBLOCK);
    m_pNotifier = new QSocketNotifier(s_fds[1], QSocketNotifier::Read, this);
    connect(m_pNotifier, &QSocketNotifier::activated, this, &CTermSignalWatcher::OnReadable);
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int sig : kSignals)
        ::sigaction(sig, &action, nullptr);
}

CTermSignalWatcher::~CTermSignalWatcher() {
    for (int sig : kSignals)
        ::signal(sig, SIG_DFL);
}

void CTermSignalWatcher::OnReadable() {
    char buffer[16];
    while (::read(s_fds[1], buffer, sizeof buffer) == static_cast<ssize_t>(sizeof buffer)) {
    }
    Q_EMIT TerminationRequested();
}
#else
CTermSignalWatcher::CTermSignalWatcher(QObject* parent) : QObject(parent) {
}
CTermSignalWatcher::~CTermSignalWatcher() = default;
void CTermSignalWatcher::OnReadable() {
}
#endif
