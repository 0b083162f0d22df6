#include "picture/sandbox/CDecoderClient.h"

#include "picture/sandbox/CDecoderSandbox.h"
#include "picture/sandbox/DecodeLimits.h"
#include "picture/sandbox/DecoderProtocol.h"
#include "picture/sandbox/MetadataProtocol.h"
#include "picture/sandbox/SealedCopy.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QObject>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <optional>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace proto = decoder_protocol;

namespace {

struct SSettings {
    QString strHelper;
    QString strGhostscript = QStringLiteral("gs");
    int nTimeoutMs = limits::kGhostscriptTimeoutMs;
    qint64 nMemoryLimit = limits::kDecoderMemory;
    int nCpuSeconds = 0;
};

QMutex s_mutex;
SSettings s_settings;

SSettings Settings() {
    QMutexLocker lock(&s_mutex);
    return s_settings;
}

// A descriptor that closes itself.
class CFd {
public:
    explicit CFd(int fd = -1) : m_fd(fd) {}
    ~CFd() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    CFd(const CFd&) = delete;
    CFd& operator=(const CFd&) = delete;
    int Get() const { return m_fd; }

private:
    int m_fd;
};

// The descriptors of a run on many files, kept where the child can use them without allocating.
struct SFiles {
    std::array<int, proto::kMaxFiles> fds{};
    int count = 0;
};

void SetLimit(int resource, rlim_t soft, rlim_t hard) {
    const rlimit limit{soft, hard};
    ::setrlimit(resource, &limit);
}

// Closes every descriptor from `first` on, in the child before exec.
void CloseFrom(int first) {
    if (::syscall(SYS_close_range, unsigned(first), ~0U, 0) == 0)
        return;
    rlimit open{};
    ::getrlimit(RLIMIT_NOFILE, &open);
    for (rlim_t fd = rlim_t(first); fd < std::min<rlim_t>(open.rlim_cur, 1 << 20); ++fd)
        ::close(int(fd));
}

CDecoderClient::SResult Failure(const QString& reason) {
    CDecoderClient::SResult result;
    result.strError = reason;
    return result;
}

// The reason for a helper that gave no answer: killed by a signal, directly or (under
// bubblewrap, which reports 128 + the signal) inside the sandbox.
QString DeathReason(const QProcess& process) {
    int signal = 0;
    if (process.exitStatus() == QProcess::CrashExit)
        signal = process.exitCode();
    else if (process.exitCode() > 128)
        signal = process.exitCode() - 128;
    if (signal == SIGXCPU)
        return QObject::tr("The decoder used too much processor time and was stopped.");
    if (signal == SIGKILL)
        return QObject::tr("The decoder was killed.");
    if (signal > 0)
        return QObject::tr("The decoder stopped unexpectedly (signal %1).").arg(signal);
    return QObject::tr("The decoder stopped without an answer (exit code %1).")
        .arg(process.exitCode());
}

void StopGroup(QProcess& process) {
    const qint64 pid = process.processId();
    if (pid > 0)
        ::kill(-pid_t(pid), SIGKILL); // the helper leads its own process group
    process.kill();
    process.waitForFinished(5000);
}

// Waits for the helper; empty when it finished, else why it was stopped.
QString Supervise(QProcess& process, int timeoutMs, const std::atomic<bool>* cancel) {
    QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        if (process.waitForFinished(15) || process.state() == QProcess::NotRunning)
            return {};
        QString reason;
        if (cancel && cancel->load())
            reason = QObject::tr("Decoding was cancelled.");
        else if (deadline.hasExpired())
            reason = QObject::tr("Decoding took too long and was stopped (after %1 s).")
                         .arg(timeoutMs / 1000.0, 0, 'f', 1);
        else if (process.bytesAvailable() > proto::kMaxAnswer)
            reason = QObject::tr("The decoder gave no usable answer.");
        if (!reason.isEmpty()) {
            StopGroup(process);
            return reason;
        }
    }
}

QImage ReadPixels(int fd, const proto::SAnswer& answer) {
    struct stat st {};
    if (::fstat(fd, &st) != 0 || st.st_size < answer.PixelBytes())
        return {};
    QImage image(answer.nWidth, answer.nHeight,
                 answer.bAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image.isNull() || image.bytesPerLine() != answer.nWidth * 4)
        return {};
    char* to = reinterpret_cast<char*>(image.bits());
    for (qint64 at = 0; at < answer.PixelBytes();) {
        const ssize_t n = ::pread(fd, to + at, size_t(answer.PixelBytes() - at), at);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return {};
        at += n;
    }
    return image;
}

QStringList HelperArguments(int format, QSize target, const SSettings& settings) {
    QStringList args{QStringLiteral("--format"), QString::number(format)};
    if (target.isValid() && !target.isEmpty())
        args << QStringLiteral("--size")
             << QStringLiteral("%1x%2").arg(target.width()).arg(target.height());
    args << QStringLiteral("--memory") << QString::number(settings.nMemoryLimit)
         << QStringLiteral("--gs") << settings.strGhostscript;
    return args;
}

} // namespace

QString CDecoderClient::HelperPath() {
    const QString chosen = Settings().strHelper;
    if (!chosen.isEmpty())
        return chosen;
    const QString fromEnvironment = qEnvironmentVariable("VANTREL_DECODER");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    const QString dir = QCoreApplication::instance()
                            ? QCoreApplication::applicationDirPath()
                            : QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    // Installed, the helper lives in libexec/vantrel/ relative to the program; in the build
    // tree it lies beside it.
    const QString installed =
        QDir::cleanPath(dir + QStringLiteral("/" VANTREL_HELPER_FROM_BINDIR "/vantrel-decoder"));
    if (QFileInfo(installed).isExecutable())
        return installed;
    return dir + QStringLiteral("/vantrel-decoder");
}

void CDecoderClient::SetHelper(const QString& program) {
    QMutexLocker lock(&s_mutex);
    s_settings.strHelper = program;
}

void CDecoderClient::SetGhostscript(const QString& program) {
    QMutexLocker lock(&s_mutex);
    s_settings.strGhostscript = program.isEmpty() ? QStringLiteral("gs") : program;
}

void CDecoderClient::SetTimeout(int milliseconds) {
    QMutexLocker lock(&s_mutex);
    s_settings.nTimeoutMs = milliseconds;
}

void CDecoderClient::SetMemoryLimit(qint64 bytes) {
    QMutexLocker lock(&s_mutex);
    s_settings.nMemoryLimit = bytes;
}

void CDecoderClient::SetCpuLimit(int seconds) {
    QMutexLocker lock(&s_mutex);
    s_settings.nCpuSeconds = seconds;
}

CDecoderClient::SResult CDecoderClient::DecodeBytes(const QByteArray& data, int format,
                                                    QSize target, const std::atomic<bool>* cancel) {
    const CFd sealed(sealed_copy::OfBytes(data));
    if (sealed.Get() < 0)
        return Failure(QObject::tr("The picture could not be handed to the decoder."));
    return Hand(sealed.Get(), HelperArguments(format, target, Settings()), cancel);
}

CDecoderClient::SResult CDecoderClient::Decode(int fd, int format, QSize target,
                                               const std::atomic<bool>* cancel) {
    return HandFile(fd, HelperArguments(format, target, Settings()), cancel);
}

CDecoderClient::SResult CDecoderClient::DecodePreview(int fd, int format,
                                                      const std::atomic<bool>* cancel) {
    QStringList args = HelperArguments(format, QSize(), Settings());
    args << QStringLiteral("--task") << QStringLiteral("preview");
    return HandFile(fd, args, cancel);
}

CDecoderClient::SResult CDecoderClient::HandFile(int fd, const QStringList& args,
                                                 const std::atomic<bool>* cancel) {
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        return Failure(QObject::tr("The file cannot be read."));
    if (st.st_size > limits::kMaxBufferedFile)
        return Failure(QObject::tr("The file is too large to show (%1 bytes).").arg(st.st_size));
    const bool readOnly = (::fcntl(fd, F_GETFL) & O_ACCMODE) == O_RDONLY;
    if (st.st_size > limits::kMaxSealedCopy && readOnly)
        return Hand(fd, args, cancel);
    const CFd sealed(sealed_copy::OfFile(fd));
    if (sealed.Get() < 0)
        return Failure(QObject::tr("The picture could not be handed to the decoder."));
    return Hand(sealed.Get(), args, cancel);
}

CDecoderClient::SResult CDecoderClient::Hand(int fd, const QStringList& args,
                                             const std::atomic<bool>* cancel) {
    const CFd pixels(::memfd_create("pixels", MFD_CLOEXEC));
    if (pixels.Get() < 0)
        return Failure(QObject::tr("The decoder could not be prepared."));
    const SRun run = RunHelper(fd, pixels.Get(), args, cancel);
    if (!run.strError.isEmpty())
        return Failure(run.strError);
    proto::SAnswer answer;
    if (!proto::ParseAnswer(run.answer, answer))
        return Failure(run.strDeath);
    if (!answer.bOk)
        return Failure(answer.strError);
    SResult result;
    result.image = ReadPixels(pixels.Get(), answer);
    result.nBits = answer.nBits;
    if (answer.nOwnWidth > 0)
        result.ownSize = QSize(answer.nOwnWidth, answer.nOwnHeight);
    if (result.image.isNull())
        result.strError = QObject::tr("The decoder handed back no pixels.");
    return result;
}

bool CDecoderClient::Warm() {
    const CFd nothing(sealed_copy::OfBytes(QByteArray()));
    const CFd unused(::memfd_create("pixels", MFD_CLOEXEC));
    QStringList args = HelperArguments(0, QSize(), Settings());
    args << QStringLiteral("--task") << QStringLiteral("metadata");
    const SRun run = RunHelper(nothing.Get(), unused.Get(), args, nullptr);
    return run.strError.isEmpty() && run.answer.startsWith("ERR ");
}

CDecoderClient::SMetadata CDecoderClient::ReadMetadata(int fd, int format,
                                                       const std::atomic<bool>* cancel) {
    SMetadata result;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > limits::kMaxBufferedFile) {
        result.strError = QObject::tr("The file cannot be read.");
        return result;
    }
    const bool readOnly = (::fcntl(fd, F_GETFL) & O_ACCMODE) == O_RDONLY;
    const CFd sealed(st.st_size > limits::kMaxSealedCopy && readOnly ? -1
                                                                     : sealed_copy::OfFile(fd));
    const CFd unused(::memfd_create("pixels", MFD_CLOEXEC));
    QStringList args = HelperArguments(format, QSize(), Settings());
    args << QStringLiteral("--task") << QStringLiteral("metadata");
    const SRun run = RunHelper(sealed.Get() >= 0 ? sealed.Get() : fd, unused.Get(), args, cancel);
    result.strError = run.strError;
    if (run.strError.isEmpty() &&
        !metadata_protocol::Parse(run.answer, result.facts, result.strError))
        result.strError = run.strDeath;
    return result;
}

CDecoderClient::SRun CDecoderClient::RunOnFiles(const QList<int>& files, const QStringList& args,
                                                const std::atomic<bool>* cancel) {
    const CFd nothing(sealed_copy::OfBytes(QByteArray()));
    const CFd unused(::memfd_create("pixels", MFD_CLOEXEC));
    if (files.size() > proto::kMaxFiles || nothing.Get() < 0) {
        SRun run;
        run.strError = QObject::tr("The decoder could not be prepared.");
        return run;
    }
    return RunHelper(nothing.Get(), unused.Get(), HelperArguments(0, QSize(), Settings()) + args,
                     cancel, files);
}

CDecoderClient::SRun CDecoderClient::RunHelper(int fd, int pixelsFd, const QStringList& args,
                                               const std::atomic<bool>* cancel,
                                               const QList<int>& files) {
    SRun run;
    const SSettings settings = Settings();
    const QString helper = HelperPath();
    if (!QFileInfo(helper).isExecutable()) {
        run.strError = QObject::tr("The decoder (%1) is missing.").arg(helper);
        return run;
    }
    const bool sandboxed = CDecoderSandbox::UsesBubblewrap();
    std::optional<QTemporaryDir> privateTemp;
    if (!sandboxed)
        privateTemp.emplace(QDir::tempPath() + QStringLiteral("/vantrel-decoder-XXXXXX"));
    if (pixelsFd < 0 || (privateTemp && !privateTemp->isValid())) {
        run.strError = QObject::tr("The decoder could not be prepared.");
        return run;
    }

    const CDecoderSandbox::SLaunch launch = CDecoderSandbox::Launch(
        helper, args, sandboxed, privateTemp ? privateTemp->path() : QString());
    QProcess process;
    process.setProgram(launch.strProgram);
    process.setArguments(launch.arguments);
    process.setProcessEnvironment(launch.environment);
    process.setWorkingDirectory(launch.strWorkingDirectory);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    const int input = fd;
    const int output = pixelsFd;
    const rlim_t cpuSeconds =
        rlim_t(settings.nCpuSeconds > 0 ? settings.nCpuSeconds : settings.nTimeoutMs / 1000 + 1);
    const rlim_t memory = rlim_t(settings.nMemoryLimit);
    SFiles more;
    more.count = int(std::min<qsizetype>(files.size(), proto::kMaxFiles));
    std::copy_n(files.cbegin(), more.count, more.fds.begin());
    process.setChildProcessModifier([input, output, cpuSeconds, memory, more]() mutable {
        // In the child before exec: async-signal-safe calls only.
        const int above = std::max(10, proto::kFirstFileFd + more.count);
        const int in = ::fcntl(input, F_DUPFD, above);
        const int out = ::fcntl(output, F_DUPFD, above);
        for (int i = 0; i < more.count; ++i)
            more.fds[size_t(i)] = ::fcntl(more.fds[size_t(i)], F_DUPFD, above);
        ::dup2(in, proto::kInputFd);
        ::dup2(out, proto::kPixelsFd);
        for (int i = 0; i < more.count; ++i)
            ::dup2(more.fds[size_t(i)], proto::kFirstFileFd + i);
        // No other descriptor of the program's goes along.
        CloseFrom(proto::kFirstFileFd + more.count);
        ::setsid();
        SetLimit(RLIMIT_CORE, 0, 0);
        SetLimit(RLIMIT_CPU, cpuSeconds, cpuSeconds + 1);
        SetLimit(RLIMIT_FSIZE, rlim_t(limits::kMaxPixels * 4 + 4096),
                 rlim_t(limits::kMaxPixels * 4 + 4096));
#ifndef __SANITIZE_ADDRESS__ // the sanitizer's shadow memory needs far more address space
        if (memory > 0)
            SetLimit(RLIMIT_AS, memory, memory);
#else
        (void)memory;
#endif
    });
    process.start();
    if (!process.waitForStarted(5000)) {
        run.strError =
            QObject::tr("The decoder could not be started (%1).").arg(process.errorString());
        return run;
    }
    run.strError = Supervise(process, settings.nTimeoutMs, cancel);
    if (!run.strError.isEmpty())
        return run;
    run.answer = process.read(proto::kMaxAnswer + 1);
    run.strDeath = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0
                       ? QObject::tr("The decoder gave no usable answer.")
                       : DeathReason(process);
    return run;
}
