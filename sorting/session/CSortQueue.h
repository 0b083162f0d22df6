#pragma once

#include <QObject>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

// The one worker thread of a sort session: the file work of its actions runs there, one
// action after the other in the order they were given, while the window goes on. Each piece
// of work hands back what is to follow on the thread the queue lives on (the GUI thread),
// where it runs as a queued call; an action counts as pending until that part has run.
//
// The worker may ask the GUI thread for something (a question to the user, a line of the
// journal) and wait for the answer; the GUI thread never waits for the worker without
// serving such calls (Finish runs an event loop), so the two never wait for each other.
class CSortQueue : public QObject {
    Q_OBJECT
public:
    // What follows a piece of work on the GUI thread; may be empty.
    using Completion = std::function<void()>;
    using Work = std::function<Completion()>;

    explicit CSortQueue(QObject* parent = nullptr);
    ~CSortQueue() override; // finishes whatever is pending, then stops the worker
    CSortQueue(const CSortQueue&) = delete;
    CSortQueue& operator=(const CSortQueue&) = delete;

    // Runs `work` on the worker after everything posted before it.
    void Post(Work work);
    // The pieces of work posted whose completion has not run yet.
    int Pending() const { return m_nPending; }
    // Returns once nothing is pending; the GUI thread's events are served meanwhile, but
    // not the user's input, which waits until then.
    void Finish();

    // From the worker: runs `call` on the GUI thread and returns once it has run. On the
    // GUI thread itself it simply runs.
    void CallOnGui(const std::function<void()>& call);
    // From the worker: runs `call` on the GUI thread soon, without waiting for it.
    void TellGui(std::function<void()> call);

private:
    void RunWorker();
    void Complete(const Completion& completion);

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Work> m_work;
    bool m_bStop = false;
    int m_nPending = 0; // touched on the GUI thread only
    std::thread m_thread;
};
