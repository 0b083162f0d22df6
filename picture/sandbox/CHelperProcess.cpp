#include "picture/sandbox/CHelperProcess.h"

#include "picture/sandbox/CProcessTree.h"
#include "picture/sandbox/DecodeLimits.h"
#include "picture/sandbox/DecoderProtocol.h"
#include "picture/sandbox/HelperTask.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <QStandardPaths>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace proto = decoder_protocol;

namespace {

// How long a helper not yet at work is given to end by itself.
constexpr int kEndMs = 500;
// How long a helper that is killed, and each process below it, is given to go.
constexpr int kStopMs = 5000;

// Where the child says why it could not start the helper; closed by a successful exec.
constexpr int kErrorFd = proto::kPixelsFd + 1;

// Where the child finds what it needs; everything is made before the fork.
struct SChild {
    int nullFd = -1;
    int answerFd = -1;
    int taskFd = -1;
    int pixelsFd = -1;
    int errorFd = -1;
    rlim_t cpuSeconds = 0;
    rlim_t memory = 0;
    pid_t parent = 0;
    const char* dir = nullptr;
    const char* program = nullptr;
    char* const* argv = nullptr;
    char* const* envp = nullptr;
};

void SetLimit(int resource, rlim_t soft, rlim_t hard) {
    const rlimit limit{soft, hard};
    ::setrlimit(resource, &limit);
}

// Closes every descriptor from `first` on.
void CloseFrom(int first) {
    if (::syscall(SYS_close_range, unsigned(first), ~0U, 0) == 0)
        return;
    rlimit open{};
    ::getrlimit(RLIMIT_NOFILE, &open);
    for (rlim_t fd = rlim_t(first); fd < std::min<rlim_t>(open.rlim_cur, 1 << 20); ++fd)
        ::close(int(fd));
}

// In the child between fork and exec: async-signal-safe calls only.
[[noreturn]] void RunChild(const SChild& c) {
    const int null = ::fcntl(c.nullFd, F_DUPFD, 10);
    const int answer = ::fcntl(c.answerFd, F_DUPFD, 10);
    const int task = ::fcntl(c.taskFd, F_DUPFD, 10);
    const int pixels = ::fcntl(c.pixelsFd, F_DUPFD, 10);
    const int error = ::fcntl(c.errorFd, F_DUPFD, 10);
    ::dup2(null, STDIN_FILENO);
    ::dup2(answer, STDOUT_FILENO);
    ::dup2(null, STDERR_FILENO);
    ::dup2(task, proto::kInputFd);
    ::dup2(pixels, proto::kPixelsFd);
    ::dup3(error, kErrorFd, O_CLOEXEC);
    CloseFrom(kErrorFd + 1); // no other descriptor of the program's goes along
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != c.parent)
        ::_exit(127);
    ::setsid();
    SetLimit(RLIMIT_CORE, 0, 0);
    SetLimit(RLIMIT_CPU, c.cpuSeconds, c.cpuSeconds + 1);
    SetLimit(RLIMIT_FSIZE, rlim_t(limits::kMaxPixels * 4 + 4096),
             rlim_t(limits::kMaxPixels * 4 + 4096));
#ifndef __SANITIZE_ADDRESS__ // the sanitizer's shadow memory needs far more address space
    if (c.memory > 0)
        SetLimit(RLIMIT_AS, c.memory, c.memory);
#endif
    int failure = 0;
    if (::chdir(c.dir) == 0)
        ::execve(c.program, c.argv, c.envp);
    failure = errno;
    [[maybe_unused]] const ssize_t told = ::write(kErrorFd, &failure, sizeof failure);
    ::_exit(127);
}

std::vector<char*> Pointers(std::vector<QByteArray>& strings) {
    std::vector<char*> pointers;
    for (QByteArray& s : strings)
        pointers.push_back(s.data());
    pointers.push_back(nullptr);
    return pointers;
}

QString Absolute(const QString& program) {
    if (program.contains(QLatin1Char('/')))
        return QFileInfo(program).absoluteFilePath();
    return QStandardPaths::findExecutable(program);
}

void Close(int& fd) {
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

} // namespace

std::unique_ptr<CHelperProcess> CHelperProcess::Start(const SSpec& spec, QString& error,
                                                      std::unique_ptr<QTemporaryDir> temp) {
    const QByteArray program = QFile::encodeName(Absolute(spec.strProgram));
    std::vector<QByteArray> args{program}, env;
    for (const QString& arg : spec.arguments)
        args.push_back(arg.toLocal8Bit());
    for (const QString& variable : spec.environment.toStringList())
        env.push_back(variable.toLocal8Bit());
    const QByteArray dir = QFile::encodeName(spec.strWorkingDirectory);
    std::vector<char*> argv = Pointers(args), envp = Pointers(env);

    int answer[2] = {-1, -1}, task[2] = {-1, -1}, failed[2] = {-1, -1};
    SChild child;
    child.nullFd = ::open("/dev/null", O_RDWR | O_CLOEXEC);
    const int pixels = ::memfd_create("pixels", MFD_CLOEXEC);
    const bool made = child.nullFd >= 0 && pixels >= 0 && ::pipe2(answer, O_CLOEXEC) == 0 &&
                      ::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, task) == 0 &&
                      ::pipe2(failed, O_CLOEXEC) == 0;
    child.answerFd = answer[1];
    child.taskFd = task[1];
    child.pixelsFd = pixels;
    child.errorFd = failed[1];
    child.cpuSeconds = rlim_t(spec.nCpuSeconds);
    child.memory = rlim_t(spec.nMemory);
    child.parent = ::getpid();
    child.dir = dir.constData();
    child.program = program.constData();
    child.argv = argv.data();
    child.envp = envp.data();
    const pid_t pid = made && !program.isEmpty() ? ::fork() : -1;
    if (pid == 0)
        RunChild(child);
    for (int* fd : {&child.nullFd, &answer[1], &task[1], &failed[1]})
        Close(*fd);

    std::unique_ptr<CHelperProcess> process(new CHelperProcess);
    process->m_pid = pid;
    process->m_answerFd = answer[0];
    process->m_taskFd = task[0];
    process->m_pixelsFd = pixels;
    process->m_temp = std::move(temp);
    process->m_bLetEnd = spec.bLetEnd;
    int failure = pid < 0 ? errno : 0;
    if (pid > 0) {
        ssize_t n = -1;
        do
            n = ::read(failed[0], &failure, sizeof failure);
        while (n < 0 && errno == EINTR);
        if (n != ssize_t(sizeof failure))
            failure = 0; // closed by exec: it runs
    }
    Close(failed[0]);
    if (failure != 0 || pid < 0) {
        error = QObject::tr("The decoder could not be started (%1).")
                    .arg(QString::fromLocal8Bit(::strerror(failure ? failure : ENOENT)));
        return nullptr; // the destructor reaps what was forked
    }
#ifdef SYS_pidfd_open
    process->m_pidFd = int(::syscall(SYS_pidfd_open, pid, 0));
#endif
    ::fcntl(process->m_answerFd, F_SETFL, O_NONBLOCK);
    ::fcntl(process->m_taskFd, F_SETFL, O_NONBLOCK);
    return process;
}

CHelperProcess::~CHelperProcess() {
    Close(m_taskFd); // a helper still waiting sees its task will not come, and ends
    if (m_bLetEnd && !m_bHanded)
        AwaitEnd(kEndMs);
    Stop();
    Close(m_answerFd);
    Close(m_pixelsFd);
    Close(m_pidFd);
}

bool CHelperProcess::Reap(bool wait) {
    if (m_bReaped || m_pid <= 0)
        return true;
    pid_t done = -1;
    do
        done = ::waitpid(m_pid, &m_status, wait ? 0 : WNOHANG);
    while (done < 0 && errno == EINTR);
    m_bReaped = done == m_pid || (done < 0 && errno == ECHILD);
    return m_bReaped;
}

void CHelperProcess::Stop() {
    if (Reap(false))
        return;
    CProcessTree::Kill(m_pid, kStopMs); // bubblewrap's own processes with it
    if (!AwaitEnd(kStopMs))
        Reap(true);
}

bool CHelperProcess::AwaitEnd(int timeoutMs) {
    if (m_pidFd < 0)
        return Reap(false);
    pollfd gone{m_pidFd, POLLIN, 0};
    ::poll(&gone, 1, timeoutMs);
    return Reap(false);
}

bool CHelperProcess::Hand(const QStringList& args, int inputFd, const QList<int>& files) {
    m_bHanded = m_taskFd >= 0 && !Reap(false) && helper_task::Send(m_taskFd, args, inputFd, files);
    return m_bHanded;
}

void CHelperProcess::ReadAnswer() {
    char buffer[4096];
    while (m_answerFd >= 0 && m_answer.size() <= proto::kMaxAnswer) {
        const ssize_t n = ::read(m_answerFd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN)
            return;
        if (n <= 0)
            Close(m_answerFd);
        else
            m_answer.append(buffer, n);
    }
}

void CHelperProcess::ReadAcknowledgement() {
    char byte = 0;
    const ssize_t n = m_taskFd >= 0 ? ::recv(m_taskFd, &byte, 1, MSG_DONTWAIT) : -1;
    if (n < 0 && (errno == EAGAIN || errno == EINTR))
        return;
    m_bTaken = m_bTaken || (n == 1 && byte == helper_task::kTaken);
    Close(m_taskFd); // taken, or never to be: nothing more comes this way
}

QString CHelperProcess::WhyStop(const QDeadlineTimer& deadline, int timeoutMs,
                                const std::atomic<bool>* cancel) const {
    if (cancel && cancel->load())
        return QObject::tr("Decoding was cancelled.");
    if (deadline.hasExpired())
        return QObject::tr("Decoding took too long and was stopped (after %1 s).")
            .arg(timeoutMs / 1000.0, 0, 'f', 1);
    if (m_answer.size() > proto::kMaxAnswer)
        return QObject::tr("The decoder gave no usable answer.");
    return {};
}

CHelperProcess::SOutcome CHelperProcess::Finish(int timeoutMs, const std::atomic<bool>* cancel) {
    SOutcome out;
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        ReadAnswer();
        ReadAcknowledgement();
        if (Reap(false)) {
            ReadAnswer();
            ReadAcknowledgement();
            break;
        }
        out.strError = WhyStop(deadline, timeoutMs, cancel);
        if (!out.strError.isEmpty()) {
            Stop();
            out.bTaken = m_bTaken;
            return out;
        }
        pollfd watched[3] = {{m_pidFd, POLLIN, 0}, {m_answerFd, POLLIN, 0}, {m_taskFd, POLLIN, 0}};
        const qint64 left = deadline.remainingTime();
        const bool polled = m_pidFd >= 0 && !cancel;
        const qint64 wait = polled ? left : std::min<qint64>(5, left);
        ::poll(watched, 3, int(std::min<qint64>(wait < 0 ? 60000 : wait, 60000)));
    }
    out.bTaken = m_bTaken;
    out.answer = m_answer.left(proto::kMaxAnswer + 1);
    const bool clean = WIFEXITED(m_status) && WEXITSTATUS(m_status) == 0;
    out.strDeath = clean ? QObject::tr("The decoder gave no usable answer.") : DeathReason();
    return out;
}

// Killed by a signal, directly or (under bubblewrap, which reports 128 + the signal) inside
// the sandbox.
QString CHelperProcess::DeathReason() const {
    int signal = 0;
    if (WIFSIGNALED(m_status))
        signal = WTERMSIG(m_status);
    else if (WIFEXITED(m_status) && WEXITSTATUS(m_status) > 128)
        signal = WEXITSTATUS(m_status) - 128;
    if (signal == SIGXCPU)
        return QObject::tr("The decoder used too much processor time and was stopped.");
    if (signal == SIGKILL)
        return QObject::tr("The decoder was killed.");
    if (signal > 0)
        return QObject::tr("The decoder stopped unexpectedly (signal %1).").arg(signal);
    return QObject::tr("The decoder stopped without an answer (exit code %1).")
        .arg(WIFEXITED(m_status) ? WEXITSTATUS(m_status) : -1);
}
