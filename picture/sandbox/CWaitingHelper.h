#pragma once

#include "picture/sandbox/CHelperProcess.h"

#include <QByteArray>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

// Keeps decoder helpers started ahead, waiting for their task, so that a picture does not
// wait for the helper's start (its sandbox, its program and libraries). A thread of its own
// starts them, and starts the next one whenever one is taken: a helper is killed when the
// thread that started it ends, so it must outlive the request threads. Helpers are kept for
// one set of settings (`key`); asked for another, those waiting are ended.
class CWaitingHelper {
public:
    using FStart = std::function<std::unique_ptr<CHelperProcess>()>;

    static CWaitingHelper& Instance();
    ~CWaitingHelper();

    // A helper waiting for `key`, once one is started (`start` starts one); the next is
    // then started in the background. Null when none could be started.
    std::unique_ptr<CHelperProcess> Take(const QByteArray& key, const FStart& start);
    // Says that a helper Take gave has finished its work.
    void Done();
    // Ends the waiting helpers and the thread; the next Take starts them again.
    void Shutdown();
    // The process id of the helper the next Take gets, or -1; with `settle`, once those
    // being started are there (tests).
    pid_t WaitingPid(bool settle = false);

private:
    CWaitingHelper() = default;
    void Keep();
    bool Wanted() const;
    bool Ready(const QByteArray& key) const;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::thread m_thread;
    std::deque<std::unique_ptr<CHelperProcess>> m_waiting; // the longest waiting first
    QByteArray m_waitingKey;
    QByteArray m_wantedKey;
    FStart m_start;
    int m_nAtWork = 0;      // helpers taken whose work is not done
    bool m_bFailed = false; // the last start for m_wantedKey failed
    bool m_bStopping = false;
};
