// vantrel-bench-handoff FILE... [--runs N]: what shutting the decoder helper in costs before
// a decode: the sealed copy of each file the helper is handed (files too large to copy are
// handed as they are), and the seccomp filter and
// Landlock ruleset the helper applies to itself (in a child process each time).
#include "bench/BenchStats.h"
#include "picture/decode/CHelperConfinement.h"
#include "picture/sandbox/DecodeLimits.h"
#include "picture/sandbox/SealedCopy.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

// Milliseconds for one sealed copy of `path`, or -1.
double TimeCopy(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    QElapsedTimer timer;
    timer.start();
    const int copy = sealed_copy::OfFile(fd);
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    ::close(fd);
    if (copy < 0)
        return -1;
    ::close(copy);
    return ms;
}

// Milliseconds for the helper's confinement, applied in a child, or -1.
double TimeConfinement(bool runsPrograms) {
    int pipes[2];
    if (::pipe(pipes) != 0)
        return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        QElapsedTimer timer;
        timer.start();
        CHelperConfinement::SOptions options;
        options.strTemp = QStringLiteral("/tmp");
        options.bRunsPrograms = runsPrograms;
        const bool confined = CHelperConfinement::Apply(options).bConfined;
        const double ms = confined ? double(timer.nsecsElapsed()) / 1e6 : -1;
        const ssize_t written = ::write(pipes[1], &ms, sizeof ms);
        ::_exit(written == sizeof ms ? 0 : 1);
    }
    ::close(pipes[1]);
    double ms = -1;
    if (::read(pipes[0], &ms, sizeof ms) != sizeof ms)
        ms = -1;
    ::close(pipes[0]);
    ::waitpid(child, nullptr, 0);
    return ms;
}

void Print(const char* what, const std::vector<double>& ms) {
    std::printf("%-44s median %7.2f ms  p90 %7.2f ms  (%zu runs)\n", what, bench::Median(ms),
                bench::Percentile90(ms), ms.size());
}

} // namespace

int main(int argc, char** argv) {
    QStringList files;
    int runs = 21;
    for (int i = 1; i < argc; ++i) {
        if (QByteArray(argv[i]) == "--runs" && i + 1 < argc)
            runs = std::max(1, QByteArray(argv[++i]).toInt());
        else
            files << QString::fromLocal8Bit(argv[i]);
    }
    double worst = 0;
    for (const QString& file : files) {
        if (QFileInfo(file).size() > limits::kMaxSealedCopy) {
            std::printf("%s: handed as its own read-only descriptor, not copied\n",
                        qPrintable(QFileInfo(file).fileName()));
            continue;
        }
        std::vector<double> ms;
        for (int i = 0; i < runs; ++i)
            if (const double t = TimeCopy(file); t >= 0)
                ms.push_back(t);
        const QByteArray what = "sealed copy of " + QFileInfo(file).fileName().toLocal8Bit() +
                                " (" + QByteArray::number(QFileInfo(file).size() >> 20) + " MB)";
        Print(what.constData(), ms);
        worst = std::max(worst, bench::Median(ms));
    }
    for (const bool programs : {false, true}) {
        std::vector<double> ms;
        for (int i = 0; i < runs; ++i)
            if (const double t = TimeConfinement(programs); t >= 0)
                ms.push_back(t);
        Print(programs ? "confinement (PostScript: may run Ghostscript)" : "confinement", ms);
        if (ms.empty())
            std::printf("the helper could not be confined here\n");
        worst = std::max(worst, bench::Median(ms));
    }
    std::printf("handoff: the largest median is %.2f ms\n", worst);
    return 0;
}
