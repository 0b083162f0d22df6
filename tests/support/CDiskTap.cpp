#include "tests/support/CDiskTap.h"

#include "tests/support/DiskTapBridge.h"

#include <QMutexLocker>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <pthread.h>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>

namespace {

// What a descriptor names, or the current directory for AT_FDCWD, by system calls of
// their own: the library's functions would come back to the tap.
QByteArray PathOf(int fd) {
    char buf[4096];
    long n = -1;
    if (fd == AT_FDCWD) {
        n = ::syscall(SYS_getcwd, buf, sizeof buf);
        n = n > 0 ? long(::strnlen(buf, sizeof buf)) : -1;
    } else {
        const QByteArray link = "/proc/self/fd/" + QByteArray::number(fd);
        n = ::syscall(SYS_readlinkat, AT_FDCWD, link.constData(), buf, sizeof buf);
    }
    return n > 0 ? QByteArray(buf, int(n)) : QByteArray();
}

} // namespace

CDiskTap& CDiskTap::Instance() {
    static auto* tap = new CDiskTap;
    return *tap;
}

CDiskTap::ThreadId CDiskTap::CurrentThread() {
    return ::pthread_self();
}

void CDiskTap::Watch(const QByteArray& folder) {
    QMutexLocker lock(&m_mutex);
    m_folder = folder;
    while (m_folder.size() > 1 && m_folder.endsWith('/'))
        m_folder.chop(1);
    m_calls.clear();
    m_nDelayed = 0;
    m_bActive = !m_folder.isEmpty();
}

void CDiskTap::Stop() {
    m_bActive = false;
}

void CDiskTap::SetDelay(int milliseconds) {
    m_nDelayMs = milliseconds;
}

QStringList CDiskTap::CallsOn(ThreadId thread) const {
    QMutexLocker lock(&m_mutex);
    QStringList calls;
    for (const QByteArray& call : m_calls.value(thread))
        calls << QString::fromUtf8(call);
    return calls;
}

QStringList CDiskTap::AllCalls() const {
    QMutexLocker lock(&m_mutex);
    QStringList calls;
    for (auto it = m_calls.cbegin(); it != m_calls.cend(); ++it)
        for (const QByteArray& call : it.value())
            calls << QString::fromUtf8(call);
    return calls;
}

int CDiskTap::CountOffThread(ThreadId thread) const {
    QMutexLocker lock(&m_mutex);
    qsizetype count = 0;
    for (auto it = m_calls.cbegin(); it != m_calls.cend(); ++it)
        if (it.key() != thread)
            count += it.value().size();
    return int(count);
}

int CDiskTap::Delayed() const {
    return m_nDelayed;
}

void DiskTapNotice(const char* call, int dirFd, const char* path) {
    CDiskTap::Instance().Notice(call, dirFd, path);
}

void DiskTapNoticeDescriptor(const char* call, int fd) {
    CDiskTap::Instance().NoticeDescriptor(call, fd);
}

void CDiskTap::Notice(const char* call, int dirFd, const char* path) {
    if (!m_bActive || !path)
        return;
    if (path[0] == '/')
        Note(call, QByteArray(path));
    else if (path[0] == '\0') // the descriptor itself (AT_EMPTY_PATH)
        Note(call, PathOf(dirFd));
    else
        Note(call, PathOf(dirFd) + '/' + path);
}

void CDiskTap::NoticeDescriptor(const char* call, int fd) {
    if (m_bActive && fd >= 0)
        Note(call, PathOf(fd));
}

bool CDiskTap::Inside(const QByteArray& path, QByteArray* rest) const {
    if (path == m_folder) {
        *rest = ".";
        return true;
    }
    if (!path.startsWith(m_folder) || path.at(m_folder.size()) != '/')
        return false;
    *rest = path.mid(m_folder.size() + 1);
    return true;
}

void CDiskTap::Note(const char* call, const QByteArray& path) {
    {
        QMutexLocker lock(&m_mutex);
        QByteArray rest;
        if (!m_bActive || !Inside(path, &rest))
            return;
        m_calls[CurrentThread()].append(QByteArray(call) + ' ' + rest);
    }
    if (const int ms = m_nDelayMs; ms > 0) {
        ++m_nDelayed;
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }
}
