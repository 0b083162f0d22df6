#include "sorting/journal/CJournalFlusher.h"

#include <QtGlobal>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

CJournalFlusher::CJournalFlusher() : m_thread([this] { Run(); }) {
}

CJournalFlusher::~CJournalFlusher() {
    {
        std::lock_guard lock(m_mutex);
        m_bStop = true;
    }
    m_wake.notify_one();
    m_thread.join();
    if (m_fd >= 0)
        ::close(m_fd);
}

void CJournalFlusher::SetFile(int fd) {
    WaitIdle();
    std::lock_guard lock(m_mutex);
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = fd >= 0 ? ::fcntl(fd, F_DUPFD_CLOEXEC, 0) : -1;
}

void CJournalFlusher::Request() {
    {
        std::lock_guard lock(m_mutex);
        ++m_nAsked;
    }
    m_wake.notify_one();
}

void CJournalFlusher::WaitIdle() {
    std::unique_lock lock(m_mutex);
    const quint64 asked = m_nAsked;
    m_idle.wait(lock, [&] { return m_nDone >= asked; });
}

int CJournalFlusher::TakeError() {
    std::lock_guard lock(m_mutex);
    const int error = m_nError;
    m_nError = 0;
    return error;
}

void CJournalFlusher::Run() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_bStop || m_nAsked > m_nDone; });
        if (m_nAsked == m_nDone)
            return; // stopping with nothing left to flush
        const quint64 covered = m_nAsked;
        const int fd = m_fd;
        lock.unlock();
        const int error = fd >= 0 && ::fdatasync(fd) != 0 ? errno : 0;
        lock.lock();
        if (error)
            m_nError = error;
        m_nDone = covered;
        m_idle.notify_all();
    }
}
