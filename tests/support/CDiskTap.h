#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMutex>
#include <QStringList>
#include <atomic>

// A slow disk without a slow disk: every file-system call the test program makes through
// the C library (its own, Qt's, and the program's under test) passes here first
// (DiskTapCalls.cpp puts itself in front of the library's functions). While a folder is
// watched, each call on a path inside it, or on a descriptor opened there, is noted for
// the thread that made it and, with a delay set, waits that long before it is made, as a
// round trip to a server would. Calls elsewhere pass untouched.
class CDiskTap {
public:
    using ThreadId = unsigned long;

    // The one tap of the process; it never goes away, since calls come until the end.
    static CDiskTap& Instance();
    static ThreadId CurrentThread();

    // Watches this folder (an absolute path, taken as the system resolves it) from now on,
    // with the notes so far forgotten.
    void Watch(const QByteArray& folder);
    // Notes nothing more; the notes so far stay.
    void Stop();
    void SetDelay(int milliseconds);
    // The calls noted on this thread, each as "call path-inside-the-folder", in order.
    QStringList CallsOn(ThreadId thread) const;
    // The calls noted on every thread, each as CallsOn gives them.
    QStringList AllCalls() const;
    // How many calls were noted on threads other than this one.
    int CountOffThread(ThreadId thread) const;
    // How many calls were made to wait.
    int Delayed() const;

    // Notes a call on path (relative to dirFd, or to the current directory with AT_FDCWD;
    // dirFd -1 with a null path: on the descriptor `fd` itself, given as dirFd's partner)
    // and makes it wait. Called by the C library's stand-ins, on any thread.
    void Notice(const char* call, int dirFd, const char* path);
    void NoticeDescriptor(const char* call, int fd);

private:
    CDiskTap() = default;
    bool Inside(const QByteArray& path, QByteArray* rest) const;
    void Note(const char* call, const QByteArray& path);

    std::atomic<bool> m_bActive{false};
    std::atomic<int> m_nDelayMs{0};
    std::atomic<int> m_nDelayed{0};
    mutable QMutex m_mutex;
    QByteArray m_folder;
    QHash<ThreadId, QList<QByteArray>> m_calls;
};
