#include "picture/sandbox/CWaitingHelper.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// How long a request waits for the helper being started for it before it starts its own
// (a start is a fork and an exec; this is only a bound).
constexpr auto kStartBound = std::chrono::seconds(5);
// Helpers kept waiting: the picture wanted and the one decoded ahead are asked for at once.
constexpr size_t kKept = 2;
// The helpers decode a few steps nicer than the program, as the threads that ask for them do,
// so that its window stays quick; a process starts at the nice value of the thread that
// started it.
constexpr int kHelperNiceness = 5;

void BeNicer() {
    errno = 0;
    const int own = ::getpriority(PRIO_PROCESS, id_t(::getpid()));
    if (errno == 0)
        ::setpriority(PRIO_PROCESS, id_t(::syscall(SYS_gettid)),
                      std::min(19, own + kHelperNiceness));
}

} // namespace

CWaitingHelper& CWaitingHelper::Instance() {
    static CWaitingHelper instance;
    return instance;
}

CWaitingHelper::~CWaitingHelper() {
    Shutdown();
}

// One is started as soon as none waits; the others only while no helper taken is at work,
// so that their start takes nothing from a picture being decoded.
bool CWaitingHelper::Wanted() const {
    return !m_wantedKey.isEmpty() && !m_bFailed &&
           (m_waiting.empty() || (m_waiting.size() < kKept && m_nAtWork == 0));
}

bool CWaitingHelper::Ready(const QByteArray& key) const {
    return !m_waiting.empty() && m_waitingKey == key;
}

std::unique_ptr<CHelperProcess> CWaitingHelper::Take(const QByteArray& key, const FStart& start) {
    std::deque<std::unique_ptr<CHelperProcess>> stale;
    std::unique_ptr<CHelperProcess> taken;
    std::unique_lock lock(m_mutex);
    if (m_bStopping)
        return nullptr;
    if (!m_thread.joinable())
        m_thread = std::thread([this] { Keep(); });
    const bool failedBefore = m_bFailed && m_wantedKey == key;
    if (m_wantedKey != key) {
        m_wantedKey = key;
        m_start = start;
        if (m_waitingKey != key)
            stale.swap(m_waiting);
    }
    m_bFailed = false;
    m_changed.notify_all();
    if (!failedBefore)
        m_changed.wait_for(lock, kStartBound,
                           [&] { return m_bStopping || m_bFailed || Ready(key); });
    if (Ready(key)) { // the one waiting longest
        taken = std::move(m_waiting.front());
        m_waiting.pop_front();
        ++m_nAtWork;
        m_changed.notify_all(); // the next one
    }
    lock.unlock();
    stale.clear(); // killed outside the lock
    return taken;
}

void CWaitingHelper::Done() {
    std::lock_guard lock(m_mutex);
    m_nAtWork = std::max(0, m_nAtWork - 1);
    m_changed.notify_all();
}

void CWaitingHelper::Keep() {
    BeNicer();
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_bStopping || Wanted(); });
        if (m_bStopping)
            return;
        const QByteArray key = m_wantedKey;
        const FStart start = m_start;
        lock.unlock();
        std::unique_ptr<CHelperProcess> started = start();
        lock.lock();
        if (!started && key == m_wantedKey)
            m_bFailed = true;
        if (started && !m_bStopping && key == m_wantedKey && m_waiting.size() < kKept) {
            m_waiting.push_back(std::move(started));
            m_waitingKey = key;
        }
        m_changed.notify_all();
        if (started) { // not kept: ended outside the lock
            lock.unlock();
            started.reset();
            lock.lock();
        }
    }
}

void CWaitingHelper::Shutdown() {
    std::unique_lock lock(m_mutex);
    m_bStopping = true;
    m_changed.notify_all();
    std::thread thread = std::move(m_thread);
    std::deque<std::unique_ptr<CHelperProcess>> waiting;
    waiting.swap(m_waiting);
    lock.unlock();
    // Ended before the thread that started them: its end would kill them, bubblewrap perhaps
    // while it sets a sandbox up, which leaves part of it behind.
    waiting.clear();
    if (thread.joinable())
        thread.join();
    lock.lock();
    m_wantedKey.clear();
    m_waitingKey.clear();
    m_start = nullptr;
    m_bFailed = false;
    m_bStopping = false;
}

pid_t CWaitingHelper::WaitingPid(bool settle) {
    std::unique_lock lock(m_mutex);
    if (settle)
        m_changed.wait_for(lock, kStartBound, [this] { return !Wanted() || m_bStopping; });
    return m_waiting.empty() ? -1 : m_waiting.front()->Pid();
}
