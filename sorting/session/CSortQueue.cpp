#include "sorting/session/CSortQueue.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>

CSortQueue::CSortQueue(QObject* parent) : QObject(parent) {
    m_thread = std::thread([this] { RunWorker(); });
}

CSortQueue::~CSortQueue() {
    Finish();
    {
        const std::lock_guard lock(m_mutex);
        m_bStop = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void CSortQueue::Post(Work work) {
    ++m_nPending;
    {
        const std::lock_guard lock(m_mutex);
        m_work.push_back(std::move(work));
    }
    m_wake.notify_all();
}

void CSortQueue::Finish() {
    while (m_nPending > 0)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                        QEventLoop::WaitForMoreEvents);
}

void CSortQueue::CallOnGui(const std::function<void()>& call) {
    if (QThread::currentThread() == thread()) {
        call();
        return;
    }
    QMetaObject::invokeMethod(this, call, Qt::BlockingQueuedConnection);
}

void CSortQueue::TellGui(std::function<void()> call) {
    QMetaObject::invokeMethod(this, std::move(call), Qt::QueuedConnection);
}

void CSortQueue::RunWorker() {
    for (;;) {
        Work work;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_bStop || !m_work.empty(); });
            if (m_work.empty())
                return;
            work = std::move(m_work.front());
            m_work.pop_front();
        }
        Completion completion = work();
        work = nullptr; // what it held goes with the completion, on the GUI thread
        QMetaObject::invokeMethod(
            this, [this, completion = std::move(completion)] { Complete(completion); },
            Qt::QueuedConnection);
    }
}

// No longer pending while it runs, so that whatever it sets off may wait for the rest.
void CSortQueue::Complete(const Completion& completion) {
    --m_nPending;
    if (completion)
        completion();
}
