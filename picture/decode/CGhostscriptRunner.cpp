#include "picture/decode/CGhostscriptRunner.h"

#include "picture/sandbox/DecodeLimits.h"

#include <QByteArray>
#include <QObject>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr qsizetype kMaxPpmHeader = 512;
constexpr qsizetype kStderrKept = 4096;
constexpr int kNotStarted = 127;
// The largest file Ghostscript may write (its own temporary files; the picture goes through
// a pipe).
constexpr rlim_t kMaxWrittenFile = 64 * 1024 * 1024;

bool WriteAll(int fd, const char* data, qsizetype size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= n;
    }
    return true;
}

// A descriptor holding the PostScript, read by Ghostscript as its standard input.
int PostScriptFd(QByteArrayView postScript) {
    const int fd = ::memfd_create("postscript", MFD_CLOEXEC);
    if (fd < 0)
        return -1;
    if (!WriteAll(fd, postScript.data(), postScript.size()) || ::lseek(fd, 0, SEEK_SET) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

std::vector<std::string> Arguments(const CGhostscriptRunner::SJob& job) {
    return {job.strProgram.toStdString(),
            "-dSAFER",
            "-dBATCH",
            "-dNOPAUSE",
            "-dQUIET",
            "-dEPSCrop",
            "-sDEVICE=ppmraw",
            "-dTextAlphaBits=4",
            "-dGraphicsAlphaBits=4",
            "-sstdout=%stderr", // the job's own printing stays out of the picture stream
            "-sOutputFile=-",
            "-r" + QByteArray::number(job.dResolution, 'f', 3).toStdString(),
            "-"};
}

// In the child between fork and exec: only async-signal-safe calls.
[[noreturn]] void ExecChild(int input, int out, int err, const CGhostscriptRunner::SJob& job,
                            char* const* argv, char* const* envp) {
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    ::dup2(input, 0);
    ::dup2(out, 1);
    ::dup2(err, 2);
    const rlimit noCore{0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
    const rlimit written{kMaxWrittenFile, kMaxWrittenFile};
    ::setrlimit(RLIMIT_FSIZE, &written);
    if (job.nMemoryLimit > 0) {
        const rlimit as{rlim_t(job.nMemoryLimit), rlim_t(job.nMemoryLimit)};
        ::setrlimit(RLIMIT_AS, &as);
    }
    ::execvpe(argv[0], argv, envp);
    ::_exit(kNotStarted);
}

// Collects Ghostscript's output: the first page's pixels, converted row by row, and the
// end of its error text.
class CPpmCollector {
public:
    // False when the stream is not a picture or goes on past the first page.
    bool Feed(const char* data, qsizetype size) {
        if (Complete())
            return false; // a second page is not wanted
        m_pending.append(data, size);
        if (m_image.isNull() && !ReadHeader())
            return !m_bBad;
        const qsizetype rowBytes = qsizetype(m_image.width()) * 3;
        qsizetype used = 0;
        while (m_nRow < m_image.height() && m_pending.size() - used >= rowBytes) {
            const uchar* in = reinterpret_cast<const uchar*>(m_pending.constData() + used);
            QRgb* row = reinterpret_cast<QRgb*>(m_image.scanLine(m_nRow++));
            for (int x = 0; x < m_image.width(); ++x, in += 3)
                row[x] = qRgb(in[0], in[1], in[2]);
            used += rowBytes;
        }
        m_pending.remove(0, used);
        return !Complete() || m_pending.isEmpty();
    }
    bool Complete() const { return !m_image.isNull() && m_nRow == m_image.height(); }
    QImage Image() const { return m_image; }
    bool OutOfMemory() const { return m_bNoMemory; }

private:
    bool ReadHeader() {
        int w = 0, h = 0;
        const qsizetype length = CGhostscriptRunner::ParsePpmHeader(m_pending, w, h);
        if (length < 0 || (length == 0 && m_pending.size() > kMaxPpmHeader)) {
            m_bBad = true;
            return false;
        }
        if (length == 0)
            return false;
        if (!limits::WithinLimits(w, h)) {
            m_bBad = true;
            return false;
        }
        m_image = QImage(w, h, QImage::Format_RGB32);
        if (m_image.isNull()) {
            m_bNoMemory = m_bBad = true;
            return false;
        }
        m_pending.remove(0, length);
        return true;
    }

    QByteArray m_pending;
    QImage m_image;
    int m_nRow = 0;
    bool m_bBad = false;
    bool m_bNoMemory = false;
};

// Reads both pipes until Ghostscript closes them; false when its output was refused.
bool Drain(int out, int err, CPpmCollector& collector, QByteArray& errorText) {
    pollfd fds[2] = {{out, POLLIN, 0}, {err, POLLIN, 0}};
    std::vector<char> buffer(256 * 1024);
    int open = 2;
    while (open > 0) {
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        for (pollfd& p : fds) {
            if (p.fd < 0 || !(p.revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            const ssize_t n = ::read(p.fd, buffer.data(), buffer.size());
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                p.fd = -1;
                --open;
            } else if (p.fd == out) {
                if (!collector.Feed(buffer.data(), n))
                    return false;
            } else {
                errorText.append(buffer.data(), n);
                if (errorText.size() > kStderrKept)
                    errorText.remove(0, errorText.size() - kStderrKept);
            }
        }
    }
    return true;
}

QString FailureText(int status, const QByteArray& errorText, const CPpmCollector& collector) {
    if (WIFEXITED(status) && WEXITSTATUS(status) == kNotStarted)
        return QObject::tr("Ghostscript (gs), which draws PostScript, is not installed.");
    if (WIFSIGNALED(status) && (WTERMSIG(status) == SIGXCPU || WTERMSIG(status) == SIGKILL))
        return QObject::tr("Drawing the PostScript used too much processor time and was "
                           "stopped.");
    if (collector.OutOfMemory() || errorText.contains("VMerror"))
        return QObject::tr("Drawing the PostScript needed more memory than allowed.");
    if (WIFSIGNALED(status))
        return QObject::tr("Ghostscript stopped unexpectedly (signal %1).").arg(WTERMSIG(status));
    return QObject::tr("Ghostscript could not draw the PostScript.");
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    pointers.reserve(strings.size() + 1);
    for (std::string& s : strings)
        pointers.push_back(s.data());
    pointers.push_back(nullptr);
    return pointers;
}

} // namespace

qsizetype CGhostscriptRunner::ParsePpmHeader(QByteArrayView data, int& width, int& height) {
    if (data.size() < 2)
        return data.isEmpty() || data[0] == 'P' ? 0 : -1;
    if (data[0] != 'P' || data[1] != '6')
        return -1;
    qint64 values[3] = {0, 0, 0};
    qsizetype at = 2;
    for (qint64& value : values) {
        for (;;) { // white space and comments
            if (at >= data.size())
                return 0;
            if (data[at] == '#') {
                while (at < data.size() && data[at] != '\n')
                    ++at;
            } else if (data[at] == ' ' || data[at] == '\t' || data[at] == '\n' ||
                       data[at] == '\r') {
                ++at;
            } else {
                break;
            }
        }
        int digits = 0;
        for (; at < data.size() && data[at] >= '0' && data[at] <= '9'; ++at, ++digits) {
            if (digits >= 9)
                return -1;
            value = value * 10 + (data[at] - '0');
        }
        if (at >= data.size())
            return 0;
        if (digits == 0)
            return -1;
    }
    if (values[2] != 255 ||
        !(data[at] == ' ' || data[at] == '\n' || data[at] == '\t' || data[at] == '\r'))
        return -1;
    width = int(values[0]);
    height = int(values[1]);
    return at + 1;
}

QImage CGhostscriptRunner::Render(QByteArrayView postScript, const SJob& job, QString& error) {
    std::vector<std::string> args = Arguments(job);
    std::vector<std::string> env = {"PATH=/usr/bin:/bin", "LC_ALL=C",
                                    "TMPDIR=" +
                                        qEnvironmentVariable("TMPDIR", "/tmp").toStdString()};
    std::vector<char*> argv = Pointers(args);
    std::vector<char*> envp = Pointers(env);
    const int input = PostScriptFd(postScript);
    int out[2] = {-1, -1}, err[2] = {-1, -1};
    if (input < 0 || ::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0) {
        error = QObject::tr("The PostScript could not be handed to Ghostscript.");
        for (int fd : {input, out[0], out[1], err[0], err[1]})
            if (fd >= 0)
                ::close(fd);
        return {};
    }
    const pid_t pid = ::fork();
    if (pid == 0)
        ExecChild(input, out[1], err[1], job, argv.data(), envp.data());
    for (int fd : {input, out[1], err[1]})
        ::close(fd);
    CPpmCollector collector;
    QByteArray errorText;
    const bool accepted = pid > 0 && Drain(out[0], err[0], collector, errorText);
    if (pid > 0 && !accepted)
        ::kill(pid, SIGKILL);
    ::close(out[0]);
    ::close(err[0]);
    int status = 0;
    while (pid > 0 && ::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    const bool exitedWell = pid > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (collector.Complete() && (exitedWell || !accepted))
        return collector.Image();
    error = pid < 0 ? QObject::tr("Ghostscript could not be started.")
                    : FailureText(status, errorText, collector);
    return {};
}
