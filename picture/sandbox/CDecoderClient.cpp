#include "picture/sandbox/CDecoderClient.h"

#include "picture/sandbox/CDecoderSandbox.h"
#include "picture/sandbox/CWaitingHelper.h"
#include "picture/sandbox/DecodeLimits.h"
#include "picture/sandbox/DecoderProtocol.h"
#include "picture/sandbox/HelperTask.h"
#include "picture/sandbox/MetadataProtocol.h"
#include "picture/sandbox/SealedCopy.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QObject>
#include <QTemporaryDir>

#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <sys/mman.h>
#include <sys/stat.h>
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

qint64 CpuSeconds(const SSettings& settings) {
    return settings.nCpuSeconds > 0 ? settings.nCpuSeconds : settings.nTimeoutMs / 1000 + 1;
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

CDecoderClient::SResult Failure(const QString& reason) {
    CDecoderClient::SResult result;
    result.strError = reason;
    return result;
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

// Helpers started ahead are kept for one helper program (as it is on disk now), sandbox and
// set of limits.
QByteArray WaitingKey(const QString& helper, bool sandboxed, const SSettings& settings) {
    struct stat st {};
    ::stat(QFile::encodeName(helper).constData(), &st);
    return QStringLiteral("%1|%2|%3|%4|%5|%6|%7")
        .arg(helper)
        .arg(st.st_ino)
        .arg(st.st_mtim.tv_sec)
        .arg(st.st_mtim.tv_nsec)
        .arg(sandboxed)
        .arg(settings.nMemoryLimit)
        .arg(CpuSeconds(settings))
        .toUtf8();
}

// Starts `helper` waiting for its task, in bubblewrap when `sandboxed`, else with a private
// temporary folder.
std::unique_ptr<CHelperProcess> StartHelper(const QString& helper, bool sandboxed,
                                            const SSettings& settings, QString& error) {
    std::unique_ptr<QTemporaryDir> temp;
    if (!sandboxed)
        temp = std::make_unique<QTemporaryDir>(QDir::tempPath() +
                                               QStringLiteral("/vantrel-decoder-XXXXXX"));
    if (temp && !temp->isValid()) {
        error = QObject::tr("The decoder could not be prepared.");
        return nullptr;
    }
    const CDecoderSandbox::SLaunch launch =
        CDecoderSandbox::Launch(helper, {QString::fromLatin1(helper_task::kWaitArgument)},
                                sandboxed, temp ? temp->path() : QString());
    CHelperProcess::SSpec spec;
    spec.strProgram = launch.strProgram;
    spec.arguments = launch.arguments;
    spec.environment = launch.environment;
    spec.strWorkingDirectory = launch.strWorkingDirectory;
    spec.nMemory = settings.nMemoryLimit;
    spec.nCpuSeconds = CpuSeconds(settings);
    spec.bLetEnd = sandboxed;
    return CHelperProcess::Start(spec, error, std::move(temp));
}

// Hands `process` its task and waits for its answer.
CHelperProcess::SOutcome Give(CHelperProcess& process, const QStringList& args, int fd,
                              const QList<int>& files, int timeoutMs,
                              const std::atomic<bool>* cancel) {
    process.Hand(args, fd, files); // one that is gone says why when it is reaped
    return process.Finish(timeoutMs, cancel);
}

// A helper started ahead that ended without taking its task and without a word died while
// it waited; its task goes to a new one.
bool DiedWaiting(const CHelperProcess::SOutcome& outcome) {
    return !outcome.bTaken && outcome.answer.isEmpty() && outcome.strError.isEmpty();
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
    if (fd < 0 || pixelsFd < 0) {
        run.strError = QObject::tr("The decoder could not be prepared.");
        return run;
    }
    const bool sandboxed = CDecoderSandbox::UsesBubblewrap();
    const auto start = [helper, sandboxed, settings] {
        QString ignored; // a request that finds none starts its own and says why it failed
        return StartHelper(helper, sandboxed, settings, ignored);
    };
    std::unique_ptr<CHelperProcess> process =
        CWaitingHelper::Instance().Take(WaitingKey(helper, sandboxed, settings), start);
    CHelperProcess::SOutcome outcome;
    if (process) {
        outcome = Give(*process, args, fd, files, settings.nTimeoutMs, cancel);
        CWaitingHelper::Instance().Done();
    }
    if (!process || DiedWaiting(outcome)) {
        process = StartHelper(helper, sandboxed, settings, run.strError);
        if (!process)
            return run;
        outcome = Give(*process, args, fd, files, settings.nTimeoutMs, cancel);
    }
    // The pixels are in the helper's own memory: the caller's descriptor now stands for it.
    if (::dup3(process->PixelsFd(), pixelsFd, O_CLOEXEC) < 0)
        outcome.strError = QObject::tr("The decoder could not be prepared.");
    run.answer = outcome.answer;
    run.strError = outcome.strError;
    run.strDeath = outcome.strDeath;
    return run;
}

void CDecoderClient::Shutdown() {
    CWaitingHelper::Instance().Shutdown();
}
