// A selection sent with one key: in a folder of 2,000 pictures (small JPEGs, decoded ahead as
// usual) the next 100 pictures are selected, as Shift+Down would, and key 1 sends them to a
// destination; timed from the key until the next picture is current and shown and the event
// loop is idle. Beside it, 100 bare rename(2) calls on the same device, and the same for
// one picture a key. Usage: vantrel-bench-group [files] [group]
#include "bench/BenchStats.h"
#include "platform/system/CProfileStore.h"
#include "sorting/session/CSortSession.h"
#include "sorting/widgets/CPictureFileList.h"
#include "tests/support/WindowDriver.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QItemSelectionModel>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <cstdlib>

namespace {
QString Name(int i) {
    return QStringLiteral("IMG_%1.jpg").arg(i + 1, 4, 10, QLatin1Char('0'));
}

bool MakePictures(const QString& dir, int files) {
    QImage image(64, 48, QImage::Format_RGB32);
    for (int i = 0; i < files; ++i) {
        image.fill(QColor::fromHsv(i % 360, 200, 200));
        if (!image.save(dir + QLatin1Char('/') + Name(i), "JPG"))
            return false;
    }
    return true;
}

// Selects `count` pictures from the current one on, the last one current, as Shift+Down does.
void SelectFromCurrent(CPictureFileList& list, int count) {
    QItemSelectionModel& selection = list.Session().Selection();
    const int first = list.m_nCurItem;
    const int last = std::min(first + count, list.GetItemCount()) - 1;
    selection.select(QItemSelection(list.IndexOf(first), list.IndexOf(last)),
                     QItemSelectionModel::ClearAndSelect);
    selection.setCurrentIndex(list.IndexOf(last), QItemSelectionModel::NoUpdate);
    bench::Settle();
}

// Key 1 until the picture after the group is current and shown, the worker has moved the
// group, and nothing is left to do.
double SendGroup(WindowDriver& frame, int count) {
    CPictureFileList& list = frame.FileList();
    SelectFromCurrent(list, count);
    const int before = list.GetItemCount();
    QElapsedTimer t;
    t.start();
    QTest::keyClick(&list, Qt::Key_1);
    const auto done = [&] {
        return list.GetItemCount() <= before - count && list.Session().PendingActions() == 0 &&
               (list.GetItemCount() == 0 || frame.Ctrl().PictureState().bShown);
    };
    while (!done() && t.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    if (!done())
        std::fprintf(stderr, "no next picture: %d of %d left, shown %d\n", list.GetItemCount(),
                     before, int(frame.Ctrl().PictureState().bShown));
    bench::Settle();
    return double(t.nsecsElapsed()) / 1e6;
}

double BareRenames(const QString& from, const QString& to, int first, int count) {
    QElapsedTimer t;
    t.start();
    for (int i = first; i < first + count; ++i)
        if (::rename(QFile::encodeName(from + '/' + Name(i)).constData(),
                     QFile::encodeName(to + '/' + Name(i)).constData()) != 0)
            return -1;
    return double(t.nsecsElapsed()) / 1e6;
}
} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const int nFiles = argc > 1 ? std::max(200, std::atoi(argv[1])) : 2000;
    const int nGroup = argc > 2 ? std::clamp(std::atoi(argv[2]), 1, nFiles / 2) : 100;
    QApplication app(argc, argv);
    QTemporaryDir root;
    const QString home = root.filePath("home"), dest = root.filePath("dest");
    const QString bareFrom = root.filePath("bare-from"), bareTo = root.filePath("bare-to");
    for (const QString& dir : {home, dest, bareFrom, bareTo, root.filePath("data")})
        QDir().mkpath(dir);
    qputenv("XDG_DATA_HOME", QFile::encodeName(root.filePath("data")));
    qputenv("XDG_STATE_HOME", QFile::encodeName(root.filePath("state")));
    if (!MakePictures(home, nFiles) || !MakePictures(bareFrom, nFiles))
        return 1;
    CProfileStore store(root.filePath("Vantrel.conf"));
    store.WriteProfileString("TargetSet01", "HomeDirectory", home);
    store.WriteProfileString("TargetSet01", "Target01Name", "Sorted");
    store.WriteProfileString("TargetSet01", "Target01Dir", dest);
    store.Flush();

    std::vector<double> group, single, bareGroup, bareSingle;
    WindowDriver frame(store);
    frame.Window().resize(1200, 800);
    frame.Window().show();
    bench::Settle();
    frame.FileList().SelectItem(0, true);
    bench::Settle();
    int bare = 0;
    for (int round = 0; round < 6 && frame.FileList().GetItemCount() > nGroup + 20; ++round) {
        group.push_back(SendGroup(frame, nGroup));
        bareGroup.push_back(BareRenames(bareFrom, bareTo, bare, nGroup));
        bare += nGroup;
        for (int i = 0; i < 20; ++i) {
            single.push_back(SendGroup(frame, 1));
            bareSingle.push_back(BareRenames(bareFrom, bareTo, bare++, 1));
        }
    }
    std::printf("%d pictures, groups of %d: key until the next picture is shown\n", nFiles, nGroup);
    std::printf("group of %d:   median %7.2f ms, 90th percentile %7.2f ms (%zu)\n", nGroup,
                bench::Median(group), bench::Percentile90(group), group.size());
    std::printf("  bare renames: median %7.2f ms\n", bench::Median(bareGroup));
    std::printf("one picture:   median %7.2f ms, 90th percentile %7.2f ms (%zu)\n",
                bench::Median(single), bench::Percentile90(single), single.size());
    std::printf("  bare rename:  median %7.3f ms\n", bench::Median(bareSingle));
    std::printf("target for the group: 2 x bare + 16.7 ms = %.2f ms\n",
                2 * bench::Median(bareGroup) + 16.7);
    frame.Window().close();
    return 0;
}
