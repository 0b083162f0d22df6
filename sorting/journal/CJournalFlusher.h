#pragma once

#include <QtGlobal>
#include <condition_variable>
#include <mutex>
#include <thread>

// Puts the journal's lines on the disk from a thread of its own. A line is in the kernel as
// soon as it is written, which a crash or kill of the program cannot undo; getting it onto
// the disk, which only a power cut needs, takes a flush of several milliseconds that the
// window should not wait for. Requests that arrive while a flush runs share the next one.
class CJournalFlusher {
public:
    CJournalFlusher();
    ~CJournalFlusher(); // flushes what was asked for, then stops
    CJournalFlusher(const CJournalFlusher&) = delete;
    CJournalFlusher& operator=(const CJournalFlusher&) = delete;

    // The file to flush (a duplicate of fd is kept); -1 for none.
    void SetFile(int fd);
    // Asks for a flush of everything written so far.
    void Request();
    // Returns once every flush asked for so far has been done.
    void WaitIdle();
    // The errno of a flush that failed since the last call, else 0.
    int TakeError();

private:
    void Run();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    int m_fd = -1;
    int m_nError = 0;
    quint64 m_nAsked = 0; // flushes asked for
    quint64 m_nDone = 0;  // flushes done (each covers every request before it began)
    bool m_bStop = false;
    std::thread m_thread;
};
