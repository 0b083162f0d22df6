#pragma once

#include "picture/sandbox/CHelperProcess.h"

#include <QByteArray>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

// Keeps one decoder helper started ahead, waiting for its task, so that a picture does not
// wait for the helper's start (its sandbox, its program and libraries). A thread of its own
// starts it, and starts the next one whenever one is taken: the helper is killed when the
// thread that started it ends, so it must outlive the request threads. A helper is kept for
// one set of settings (`key`); asked for another, the one waiting is ended.
class CWaitingHelper {
public:
    using FStart = std::function<std::unique_ptr<CHelperProcess>()>;

    static CWaitingHelper& Instance();
    ~CWaitingHelper();

    // The helper waiting for `key`, once it is started (`start` starts one); the next is
    // then started in the background. Null when none could be started.
    std::unique_ptr<CHelperProcess> Take(const QByteArray& key, const FStart& start);
    // Ends the waiting helper and the thread; the next Take starts them again.
    void Shutdown();
    // The process id of the helper waiting now, or -1; with `settle`, once the one being
    // started is there (tests).
    pid_t WaitingPid(bool settle = false);

private:
    CWaitingHelper() = default;
    void Keep();
    bool Wanted() const;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::thread m_thread;
    std::unique_ptr<CHelperProcess> m_waiting;
    QByteArray m_waitingKey;
    QByteArray m_wantedKey;
    FStart m_start;
    bool m_bFailed = false; // the last start for m_wantedKey failed
    bool m_bStopping = false;
};
