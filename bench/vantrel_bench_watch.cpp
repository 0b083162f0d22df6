// A folder of 100,000 pictures listed in the file list while other programs add and remove
// files one at a time: how long until the list shows each change (the watch's gathering
// delay included), what bringing the list up to date costs in the event loop, and a full
// refill of the same list for comparison.
#include "bench/BrowserPanes.h"
#include "platform/system/DirectoryChanges.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {
constexpr int kFiles = 100000;
constexpr int kChanges = 40;

struct Spread {
    double median, p90;
};
Spread Of(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return {v[v.size() / 2], v[std::min(v.size() - 1, v.size() * 9 / 10)]};
}

bool Touch(const QByteArray& path) {
    const int fd = ::open(path.constData(), O_CREAT | O_WRONLY | O_EXCL, 0644);
    return fd >= 0 && ::close(fd) == 0;
}

// Runs the event loop until the list holds `count` items; the time taken in ms.
double UntilCount(CNamespaceListView& list, int count) {
    QElapsedTimer t;
    t.start();
    while (list.GetItemCount() != count && t.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    return t.nsecsElapsed() / 1e6;
}
} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bench::BrowserPanes panes;
    CNamespaceListView* list = panes.list;

    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.path());
    for (int i = 0; i < kFiles; ++i)
        if (!Touch(path + "/IMG_" + QByteArray::number(i) + ".jpg"))
            return 1;
    panes.tree->SelectPath(dir.path());
    panes.Settle();
    list->SelectItem(kFiles / 2, true);
    std::vector<double> shown, apply, refill;
    for (int i = 0; i < kChanges; ++i) {
        // Seen by the watch: from the file's making until the list shows it.
        const QByteArray name = "NEW_" + QByteArray::number(i) + ".jpg";
        QElapsedTimer t;
        t.start();
        Touch(path + "/" + name);
        UntilCount(*list, kFiles + 1);
        shown.push_back(t.nsecsElapsed() / 1e6);
        ::unlink((path + "/" + name).constData());
        UntilCount(*list, kFiles);
        // The same change applied directly: the work the event loop does for it.
        Touch(path + "/" + name);
        DirectoryChanges added;
        added.Appeared(name, false);
        t.restart();
        list->ApplyFolderChanges(added);
        apply.push_back(t.nsecsElapsed() / 1e6);
        ::unlink((path + "/" + name).constData());
        DirectoryChanges removed;
        removed.Vanished(name, false);
        list->ApplyFolderChanges(removed);
    }
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer t;
        t.start();
        list->RefreshList(); // read on the worker
        panes.Settle();
        refill.push_back(t.nsecsElapsed() / 1e6);
    }
    const Spread s = Of(shown), a = Of(apply), r = Of(refill);
    std::printf("%d files, %d changes: shown after %.1f ms median, %.1f ms p90 (gathering delay "
                "included); applying one change %.2f ms median, %.2f ms p90; full refill %.1f ms "
                "median\n",
                kFiles, kChanges, s.median, s.p90, a.median, a.p90, r.median);
    std::printf("one change costs %.4f of a refill\n", a.median / r.median);
    return 0;
}
