// View > Sort By > Date Taken on a folder of many JPEG photographs (10,000 unless asked),
// the page cache warm: from the choice until the list stands in date order, and the
// longest the event loop was kept from a 5 ms timer meanwhile. Each round opens a new
// window, so nothing is known of the files but what the disk cache holds. The photographs
// are copies of those in DIR, each with a camera record of its own date written in; the
// dates run against the names. Usage: vantrel-bench-sortby DIR [files [rounds]]
#include "bench/BenchStats.h"
#include "platform/system/CProfileStore.h"
#include "resources/CommandIds.h"
#include "sorting/order/CPictureOrder.h"
#include "sorting/session/CSortSession.h"
#include "sorting/widgets/CPictureFileList.h"
#include "tests/support/WindowDriver.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <QtEndian>
#include <cstdio>
#include <cstdlib>

namespace {
QString Name(int i) {
    return QStringLiteral("IMG_%1.jpg").arg(i + 1, 5, 10, QLatin1Char('0'));
}

// The second picture `i` was taken at, counted from the first: against the name order.
int TakenAt(int i, int files) {
    return int((qint64(i) * 7919) % files);
}

void Put16(QByteArray& b, quint16 v) {
    b.append(char(v & 0xFF)).append(char(v >> 8));
}
void Put32(QByteArray& b, quint32 v) {
    Put16(b, quint16(v & 0xFFFF));
    Put16(b, quint16(v >> 16));
}

// An APP1 segment with a little-endian camera record holding only DateTimeOriginal.
QByteArray ExifSegment(const QDateTime& taken) {
    QByteArray tiff("II*\0", 4);
    Put32(tiff, 8); // the first directory
    Put16(tiff, 1); // one entry: where the camera's own directory is
    Put16(tiff, 0x8769);
    Put16(tiff, 4);
    Put32(tiff, 1);
    Put32(tiff, 26);
    Put32(tiff, 0); // no next directory
    Put16(tiff, 1); // at 26: DateTimeOriginal, 20 ASCII bytes at 44
    Put16(tiff, 0x9003);
    Put16(tiff, 2);
    Put32(tiff, 20);
    Put32(tiff, 44);
    Put32(tiff, 0);
    tiff.append(taken.toString(QStringLiteral("yyyy:MM:dd HH:mm:ss")).toLatin1()).append('\0');
    QByteArray segment("\xFF\xE1", 2);
    const quint16 length = quint16(2 + 6 + tiff.size());
    segment.append(char(length >> 8)).append(char(length & 0xFF));
    segment.append(QByteArray("Exif\0\0", 6)).append(tiff);
    return segment;
}

bool MakePictures(const QString& from, const QString& dir, int files) {
    QList<QByteArray> photos;
    for (const QFileInfo& info : QDir(from).entryInfoList({QStringLiteral("*.jpg")}, QDir::Files)) {
        QFile f(info.filePath());
        if (f.open(QIODevice::ReadOnly))
            photos.append(f.readAll());
    }
    if (photos.isEmpty())
        return false;
    const QDateTime first(QDate(2024, 6, 15), QTime(8, 0), Qt::UTC);
    for (int i = 0; i < files; ++i) {
        const QByteArray& photo = photos[i % photos.size()];
        QFile out(dir + QLatin1Char('/') + Name(i));
        if (!out.open(QIODevice::WriteOnly) || out.write(photo.left(2)) != 2 ||
            out.write(ExifSegment(first.addSecs(TakenAt(i, files)))) < 0 ||
            out.write(photo.mid(2)) != photo.size() - 2)
            return false;
    }
    return true;
}

// Whether the list stands in the order of the dates written.
bool InDateOrder(CPictureFileList& list, int files) {
    int last = -1;
    for (int row = 0; row < list.GetItemCount(); ++row) {
        const int i = list.GetItemText(row).mid(4, 5).toInt() - 1;
        if (TakenAt(i, files) < last)
            return false;
        last = TakenAt(i, files);
    }
    return list.GetItemCount() == files;
}

struct SRound {
    double ms = 0;
    double stallMs = 0;
    bool ok = false;
    double resortMs = 0;
};

SRound ChooseDateTaken(CProfileStore& store, int files) {
    WindowDriver frame(store);
    frame.Window().resize(1200, 800);
    frame.Window().show();
    bench::Settle();
    CPictureOrder& order = frame.Session().Order();
    QElapsedTimer gap, t;
    double stall = 0;
    QTimer meter;
    meter.setInterval(5);
    QObject::connect(&meter, &QTimer::timeout, [&] {
        stall = std::max(stall, double(gap.nsecsElapsed()) / 1e6 - 5);
        gap.restart();
    });
    gap.start();
    meter.start();
    t.start();
    frame.Trigger(cmd::ID_SORT_BY_DATE_TAKEN);
    // The list is looked at only once the reading is over: the check itself takes the
    // event loop's time.
    while (order.IsReading() && t.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    while (!InDateOrder(frame.FileList(), files) && t.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    SRound round{double(t.nsecsElapsed()) / 1e6, stall, InDateOrder(frame.FileList(), files)};
    // What one sorting again of the whole list costs the interface thread.
    QElapsedTimer one;
    one.start();
    frame.FileList().SortList();
    QCoreApplication::processEvents();
    round.resortMs = double(one.nsecsElapsed()) / 1e6;
    frame.Trigger(cmd::ID_SORT_BY_NAME);
    frame.Window().close();
    return round;
}
} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc < 2) {
        std::fprintf(stderr, "usage: vantrel-bench-sortby DIR [files [rounds]]\n");
        return 2;
    }
    const int nFiles = argc > 2 ? std::max(100, std::atoi(argv[2])) : 10000;
    const int nRounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
    QApplication app(argc, argv);
    QTemporaryDir root;
    const QString home = root.filePath("home");
    QDir().mkpath(home);
    qputenv("XDG_DATA_HOME", QFile::encodeName(root.filePath("data")));
    qputenv("XDG_STATE_HOME", QFile::encodeName(root.filePath("state")));
    if (!MakePictures(QString::fromLocal8Bit(argv[1]), home, nFiles))
        return 1;
    CProfileStore store(root.filePath("Vantrel.conf"));
    store.WriteProfileString("TargetSet01", "HomeDirectory", home);
    store.Flush();

    std::vector<double> times, stalls;
    bool allOk = true;
    for (int round = 0; round < nRounds + 1; ++round) {
        const SRound r = ChooseDateTaken(store, nFiles);
        allOk = allOk && r.ok;
        if (round == 0)
            continue; // warms the page cache
        times.push_back(r.ms);
        stalls.push_back(r.stallMs);
        std::printf("round %d: in date order after %8.1f ms, longest stall %6.1f ms, one sort "
                    "again %5.1f ms%s\n",
                    round, r.ms, r.stallMs, r.resortMs, r.ok ? "" : "  NOT IN ORDER");
    }
    std::printf("%d JPEGs by date taken, warm cache: median %.1f ms, worst %.1f ms; "
                "longest stall: median %.1f ms, worst %.1f ms (targets 2000 ms, 50 ms)\n",
                nFiles, bench::Median(times), *std::max_element(times.begin(), times.end()),
                bench::Median(stalls), *std::max_element(stalls.begin(), stalls.end()));
    return allOk ? 0 : 1;
}
