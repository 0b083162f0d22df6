// vantrel-bench-dates WORK_DIR JPEG... [--count N] [--full] [--heic FILE --dng FILE]: a folder
// put in date-taken order. Makes N copies (10,000 by default) of the camera-size JPEG files
// given, each with its own DateTimeOriginal written over the text 2020:01:01 00:00:00 they
// carry, and times, with the files in the cache, reading every date in batches of 500 on two
// worker threads and sorting the list by them, while the main thread's event loop is watched
// for stalls. Without --full each copy holds its source's first 160 KB and leaves the rest of
// its length a hole (the reader looks at the first 128 KB; a full set takes N times a photo).
// With --heic and --dng it also times 200 such files (100 of each) through the decoder helper,
// beside one helper run per picture.
#include "bench/BenchStats.h"
#include "picture/load/CDateTakenReader.h"
#include "picture/load/CMetadataSource.h"
#include "picture/sandbox/CDateBatch.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <atomic>
#include <cstdio>
#include <fcntl.h>
#include <numeric>
#include <thread>
#include <unistd.h>

namespace {

const QByteArray kPlaceholder = "2020:01:01 00:00:00";
constexpr qsizetype kKeptHead = 160 * 1024;
constexpr int kBatch = 500;

// The date written into copy `i` of `count`: distinct, and in another order than the names.
QDateTime DateOf(int i, int count) {
    const qint64 step = (qint64(i) * 7919) % count;
    return QDateTime(QDate(2021, 1, 1), QTime(0, 0)).addSecs(step * 61);
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes `source` to `path` with the placeholder date replaced; only the head when `head` > 0,
// the rest left a hole up to the source's length.
bool WriteCopy(const QString& path, QByteArray source, const QDateTime& date, qsizetype head) {
    const qsizetype at = source.indexOf(kPlaceholder);
    if (at < 0)
        return false;
    source.replace(at, kPlaceholder.size(), date.toString("yyyy:MM:dd HH:mm:ss").toLatin1());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QByteArray written = head > 0 ? source.left(head) : source;
    return file.write(written) == written.size() && file.resize(source.size());
}

// Copies of `sources` named IMG_00001... in `dir`; those already there are kept.
QStringList MakeCopies(const QStringList& sources, const QString& dir, const QString& suffix,
                       int count, qsizetype head) {
    QList<QByteArray> data;
    for (const QString& source : sources)
        data << ReadAll(source);
    QDir().mkpath(dir);
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        const QString path =
            QStringLiteral("%1/IMG_%2.%3").arg(dir).arg(i, 5, 10, QChar('0')).arg(suffix);
        const QByteArray& from = data[i % data.size()];
        if (QFileInfo(path).size() != from.size() &&
            !WriteCopy(path, from, DateOf(i, count), head)) {
            std::fprintf(stderr, "cannot write %s (no %s in its source?)\n", qPrintable(path),
                         kPlaceholder.constData());
            return {};
        }
        paths << path;
    }
    return paths;
}

struct SPass {
    double dReadMs = 0;
    double dSortMs = 0;
    double dStallMs = 0;
    double dCpuMs = 0; // the process's processor time
    int nWrong = 0;
};

// Reads every date in batches on `threads` workers while the event loop runs, then sorts.
SPass TimePass(const QStringList& paths, int threads, int offsetSeconds) {
    std::vector<QDateTime> dates(size_t(paths.size()));
    std::atomic<qsizetype> next{0};
    std::atomic<int> running{threads};
    QElapsedTimer timer;
    timer.start();
    const double cpu = bench::ProcessCpuMs();
    std::vector<std::thread> workers;
    workers.reserve(size_t(threads));
    for (int t = 0; t < threads; ++t)
        workers.emplace_back([&] {
            for (qsizetype from; (from = next.fetch_add(kBatch)) < paths.size();) {
                const QList<QDateTime> read = CDateTakenReader::Read(paths.mid(from, kBatch));
                std::copy(read.cbegin(), read.cend(), dates.begin() + from);
            }
            --running;
        });
    SPass pass;
    QElapsedTimer beat;
    beat.start();
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        pass.dStallMs = std::max(pass.dStallMs, double(beat.nsecsElapsed()) / 1e6);
        beat.restart();
        if (running.load() == 0)
            QCoreApplication::quit();
    });
    watch.start(5);
    QCoreApplication::exec();
    for (std::thread& worker : workers)
        worker.join();
    pass.dReadMs = double(timer.nsecsElapsed()) / 1e6;
    std::vector<int> order(size_t(paths.size()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return dates[a] < dates[b]; });
    pass.dSortMs = double(timer.nsecsElapsed()) / 1e6 - pass.dReadMs;
    pass.dCpuMs = bench::ProcessCpuMs() - cpu;
    for (int i = 0; i < paths.size(); ++i) {
        const QDateTime& expected = DateOf(i, int(paths.size()));
        if (dates[size_t(i)] !=
            QDateTime(expected.date(), expected.time(), Qt::OffsetFromUTC, offsetSeconds))
            ++pass.nWrong;
    }
    return pass;
}

void JpegFigures(const QStringList& paths, int offsetSeconds) {
    TimePass(paths, 2, offsetSeconds); // warms the cache
    std::vector<double> total, stalls, cpu;
    int wrong = 0;
    for (int round = 0; round < 5; ++round) {
        const SPass pass = TimePass(paths, 2, offsetSeconds);
        total.push_back(pass.dReadMs + pass.dSortMs);
        stalls.push_back(pass.dStallMs);
        cpu.push_back(pass.dCpuMs);
        wrong += pass.nWrong;
        std::printf("  round %d: read %.0f ms, sort %.1f ms, processor %.0f ms, longest "
                    "event-loop gap %.1f ms\n",
                    round + 1, pass.dReadMs, pass.dSortMs, pass.dCpuMs, pass.dStallMs);
    }
    const SPass single = TimePass(paths, 1, offsetSeconds);
    std::printf("%lld JPEG files in date order, 2 threads, batches of %d: median %.0f ms, max %.0f "
                "ms (processor %.0f ms); longest gap %.1f ms; one thread %.0f ms; wrong dates "
                "%d\n",
                qlonglong(paths.size()), kBatch, bench::Median(total),
                *std::max_element(total.begin(), total.end()), bench::Median(cpu),
                *std::max_element(stalls.begin(), stalls.end()), single.dReadMs + single.dSortMs,
                wrong);
}

void HelperFigures(const QStringList& paths) {
    CDateTakenReader::Read(paths); // warms the cache and the helper's libraries
    std::vector<double> times;
    int runs = 0;
    int known = 0;
    for (int round = 0; round < 3; ++round) {
        const int before = CDateBatch::Runs();
        QElapsedTimer timer;
        timer.start();
        const QList<QDateTime> dates = CDateTakenReader::Read(paths);
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
        runs = CDateBatch::Runs() - before;
        known = int(std::count_if(dates.cbegin(), dates.cend(),
                                  [](const QDateTime& d) { return d.isValid(); }));
    }
    constexpr int kSingles = 20;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < kSingles; ++i)
        CMetadataSource::DateTaken(paths[i * paths.size() / kSingles]);
    const double single = double(timer.nsecsElapsed()) / 1e6 / kSingles;
    std::printf("%lld HEIC and DNG files through the helper: median %.0f ms (%.2f ms a file) in "
                "%d runs, %d dates read; one helper run per picture: %.1f ms a file\n",
                qlonglong(paths.size()), bench::Median(times),
                bench::Median(times) / double(paths.size()), runs, known, single);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const auto take = [&](const QString& option) {
        const qsizetype at = args.indexOf(option);
        if (at < 0 || at + 1 >= args.size())
            return QString();
        const QString value = args[at + 1];
        args.remove(at, 2);
        return value;
    };
    const QString countText = take("--count");
    const int n = countText.isEmpty() ? 10000 : countText.toInt();
    const QString heic = take("--heic");
    const QString dng = take("--dng");
    const bool full = args.removeAll("--full") > 0;
    if (args.size() < 2 || n < 1) {
        std::fprintf(stderr, "usage: vantrel-bench-dates WORK_DIR JPEG... [--count N] [--full] "
                             "[--heic FILE --dng FILE]\n");
        return 2;
    }
    const QString work = args.takeFirst();
    const QStringList jpegs =
        MakeCopies(args, work + "/jpeg" + (full ? "-full" : ""), "jpg", n, full ? 0 : kKeptHead);
    if (jpegs.isEmpty())
        return 1;
    JpegFigures(jpegs, 3600); // the sources say +01:00
    if (!heic.isEmpty() && !dng.isEmpty()) {
        const QStringList heics = MakeCopies({heic}, work + "/heic", "heic", 100, 0);
        const QStringList dngs = MakeCopies({dng}, work + "/dng", "dng", 100, 0);
        if (heics.isEmpty() || dngs.isEmpty())
            return 1;
        QStringList mixed;
        for (int i = 0; i < 100; ++i)
            mixed << heics[i] << dngs[i];
        HelperFigures(mixed);
    }
    return 0;
}
