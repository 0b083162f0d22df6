#pragma once

#include <QtGlobal>
#include <atomic>
#include <functional>
#include <thread>

// The long part of a file operation (copying the data, flushing it to disk), run on a
// worker thread while the user-interface thread keeps the window alive and shows how far
// it has come. The counters may be read from any thread.
class CFileJob {
public:
    CFileJob() = default;
    ~CFileJob();
    CFileJob(const CFileJob&) = delete;
    CFileJob& operator=(const CFileJob&) = delete;

    // Runs work(*this) on a new thread; Finished() turns true when it returns.
    void Start(std::function<void(CFileJob&)> work);
    // Waits until the work has returned.
    void Join();

    bool Finished() const { return m_bFinished.load(); }
    // Asks the work to stop; it looks at Cancelled() between chunks.
    void Cancel() { m_bCancelled.store(true); }
    bool Cancelled() const { return m_bCancelled.load(); }

    void SetTotal(qint64 bytes) { m_nTotal.store(bytes); }
    qint64 Total() const { return m_nTotal.load(); }
    void SetDone(qint64 bytes) { m_nDone.store(bytes); }
    qint64 Done() const { return m_nDone.load(); }

private:
    std::thread m_thread;
    std::atomic<bool> m_bFinished{false};
    std::atomic<bool> m_bCancelled{false};
    std::atomic<qint64> m_nTotal{0};
    std::atomic<qint64> m_nDone{0};
};
