#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <atomic>
#include <memory>
#include <sys/types.h>

// One started decoder helper: its own session, resource limits set before it runs, its
// standard input and error on /dev/null, its answer read from a pipe, memory of its own for
// the pixels, and a socket on which it waits for its task (helper_task). Nothing of it needs the
// thread that started it but the end of that thread's life (the helper is killed with it), so it
// can be started ahead and handed on. Destroying it ends the process and reaps it.
class CHelperProcess {
public:
    struct SSpec {
        QString strProgram;
        QStringList arguments;
        QProcessEnvironment environment;
        QString strWorkingDirectory;
        qint64 nMemory = 0; // address space; 0: unlimited
        qint64 nCpuSeconds = 0;
        // Ended, while it waits for its task, by closing the socket rather than killed at
        // once: bubblewrap killed while it sets up the sandbox leaves part of it behind.
        bool bLetEnd = false;
    };

    struct SOutcome {
        QByteArray answer;   // what the helper wrote, when it finished by itself
        QString strError;    // why it was not started or was stopped
        QString strDeath;    // what to say when the answer is unusable
        bool bTaken = false; // the helper acknowledged its task
    };

    // Starts the process; null, with `error` set, when it could not be started. A private
    // temporary folder handed in is removed with the process.
    static std::unique_ptr<CHelperProcess> Start(const SSpec& spec, QString& error,
                                                 std::unique_ptr<QTemporaryDir> temp = {});
    ~CHelperProcess();
    CHelperProcess(const CHelperProcess&) = delete;
    CHelperProcess& operator=(const CHelperProcess&) = delete;

    // Hands it its task; false when it is gone.
    bool Hand(const QStringList& args, int inputFd, const QList<int>& files = {});
    // Waits for it to finish, at most `timeoutMs` or until `cancel` is set, then stops it.
    SOutcome Finish(int timeoutMs, const std::atomic<bool>* cancel);
    pid_t Pid() const { return m_pid; }
    // The memory it puts the pixels in (decoder_protocol::kPixelsFd in the helper).
    int PixelsFd() const { return m_pixelsFd; }

private:
    CHelperProcess() = default;
    void Stop();
    bool AwaitEnd(int timeoutMs);
    bool Reap(bool wait);
    void ReadAnswer();
    void ReadAcknowledgement();
    QString DeathReason() const;
    QString WhyStop(const QDeadlineTimer& deadline, int timeoutMs,
                    const std::atomic<bool>* cancel) const;

    pid_t m_pid = -1;
    int m_pidFd = -1;
    int m_answerFd = -1;
    int m_taskFd = -1;
    int m_pixelsFd = -1;
    int m_status = 0;
    bool m_bReaped = false;
    bool m_bTaken = false;
    bool m_bHanded = false;
    bool m_bLetEnd = false;
    QByteArray m_answer;
    std::unique_ptr<QTemporaryDir> m_temp;
};
