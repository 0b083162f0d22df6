// Fills and sorts the real file list for folders of 10,000 and 100,000 pictures and sets
// the time beside a bare enumeration of the same folder, and the same filled from the
// worker's reading as choosing the folder fills it. Also reports the longest time
// the event loop was held up while the larger folder was listed.
#include "bench/BenchStats.h"
#include "bench/BrowserPanes.h"
#include "platform/shell/CShellFolderRef.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {
constexpr int kRuns = 5;

// One file in ten is not a picture, so the filter has something to do.
bool MakeFolder(const QString& dir, int files) {
    for (int i = 0; i < files; ++i) {
        const QByteArray name =
            QFile::encodeName(dir) + (i % 10 == 9
                                          ? QByteArray("/notes_") + QByteArray::number(i) + ".txt"
                                          : QByteArray("/IMG_") + QByteArray::number(i) + ".jpg");
        const int fd = ::open(name.constData(), O_CREAT | O_WRONLY | O_EXCL, 0644);
        if (fd < 0)
            return false;
        ::close(fd);
    }
    return true;
}

double BareReaddir(const QByteArray& dir) {
    QElapsedTimer t;
    t.start();
    std::vector<std::string> names;
    if (DIR* d = opendir(dir.constData())) {
        while (const dirent* e = readdir(d))
            names.emplace_back(e->d_name);
        closedir(d);
    }
    return t.nsecsElapsed() / 1e6;
}

double BareIterator(const QByteArray& dir) {
    QElapsedTimer t;
    t.start();
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir.toStdString()))
        names.push_back(e.path().filename().string());
    return t.nsecsElapsed() / 1e6;
}

// Runs the event loop until the list has laid out its last item.
void WaitForLayout(CNamespaceListView& list) {
    QElapsedTimer t;
    t.start();
    const int last = list.GetItemCount() - 1;
    while (last >= 0 && list.visualRect(list.IndexOf(last)).isEmpty() && t.elapsed() < 60000)
        QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

// Runs the event loop until the rows of the folder listed before are freed, as they are
// while a person looks at the new listing: each run starts from a settled list.
void WaitForFreeing(CNamespaceListView& list) {
    QElapsedTimer t;
    t.start();
    while (list.RetiredCount() > 0 && t.elapsed() < 60000)
        QCoreApplication::processEvents();
}

struct Figures {
    double fill = 0, layout = 0, bare = 0, iterator = 0, stall = 0;
    double worker = 0, workerStall = 0; // filled from the worker's reading
};

// The longest gap between two turns of the event loop since it was made (or Restart).
class CStallMeter {
public:
    CStallMeter() {
        m_clock.start();
        m_ticker.setInterval(0);
        QObject::connect(&m_ticker, &QTimer::timeout, [this] { Tick(); });
        m_ticker.start();
        Restart();
    }
    void Restart() { m_lastTick = m_clock.nsecsElapsed(); }
    qint64 Elapsed() const { return m_clock.nsecsElapsed(); }
    // The longest gap, counting the one up to now, in ms.
    double Longest() {
        Tick();
        return m_longest / 1e6;
    }

private:
    void Tick() {
        const qint64 now = m_clock.nsecsElapsed();
        m_longest = std::max(m_longest, now - m_lastTick);
        m_lastTick = now;
    }
    QElapsedTimer m_clock;
    QTimer m_ticker;
    qint64 m_lastTick = 0, m_longest = 0;
};

// The folder chosen in the tree listed again from the worker: the time until the list has
// every item, and the longest gap between two turns of the event loop meanwhile.
std::pair<double, double> WorkerFill(CNamespaceTreeView& tree, CNamespaceListView& list) {
    NSTREEITEM* rec = tree.SelectedRecord();
    CShellFolderRef folder(rec ? rec->psfParent->BindToObject(rec->pidlRel) : nullptr);
    if (!folder)
        return {0, 0};
    WaitForFreeing(list);
    CStallMeter stalls;
    QEventLoop loop;
    QObject::connect(&list, &CNamespaceListView::Listed, &loop, &QEventLoop::quit);
    stalls.Restart();
    list.ShowFolder(rec, folder.get());
    if (list.IsListing())
        loop.exec();
    WaitForLayout(list);
    const double done = stalls.Elapsed() / 1e6;
    return {done, stalls.Longest()};
}

// The longest gap between two turns of the event loop while the list refills itself
// and lays itself out.
double LongestStall(const bench::BrowserPanes& panes) {
    CNamespaceListView& list = *panes.list;
    WaitForFreeing(list);
    CStallMeter stalls;
    QTimer::singleShot(5, &list, [&list] { list.RefreshList(); });
    QElapsedTimer wait;
    wait.start();
    while (wait.elapsed() < 20)
        QCoreApplication::processEvents();
    panes.Settle();
    WaitForLayout(list);
    WaitForFreeing(list); // the old rows are freed after the listing, a few at a time
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
    return stalls.Longest();
}

Figures Measure(const bench::BrowserPanes& panes, const QString& dir) {
    CNamespaceTreeView& tree = *panes.tree;
    CNamespaceListView& list = *panes.list;
    Figures f;
    tree.SelectPath(dir); // first visit: expands the way there and warms the icon cache
    panes.Settle();
    WaitForLayout(list);
    std::vector<double> fill, layout, bare, iter;
    for (int run = 0; run < kRuns; ++run) {
        WaitForFreeing(list);
        QElapsedTimer t;
        t.start();
        list.RefreshList(); // until the worker's listing is in
        panes.Settle();
        fill.push_back(t.nsecsElapsed() / 1e6);
        WaitForLayout(list);
        layout.push_back(t.nsecsElapsed() / 1e6);
        bare.push_back(BareReaddir(QFile::encodeName(dir)));
        iter.push_back(BareIterator(QFile::encodeName(dir)));
    }
    f.fill = bench::Median(fill);
    f.layout = bench::Median(layout);
    f.bare = bench::Median(bare);
    f.iterator = bench::Median(iter);
    f.stall = LongestStall(panes);
    std::vector<double> worker, workerStall;
    for (int run = 0; run < kRuns; ++run) {
        const auto [ms, stall] = WorkerFill(tree, list);
        worker.push_back(ms);
        workerStall.push_back(stall);
    }
    f.worker = bench::Median(worker);
    f.workerStall = bench::Median(workerStall);
    return f;
}
} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bench::BrowserPanes panes;
    CNamespaceListView* list = panes.list;
    list->ClearExtensions();
    list->AddExtension(QStringLiteral("JPG"));

    std::vector<std::pair<int, Figures>> results;
    for (const int files : {10000, 100000}) {
        QTemporaryDir dir;
        if (!dir.isValid() || !MakeFolder(dir.path(), files)) {
            std::fprintf(stderr, "cannot create the test folder\n");
            return 1;
        }
        const Figures f = Measure(panes, dir.path());
        std::printf("%d files (%d listed): fill and sort %.1f ms, until laid out %.1f ms, "
                    "readdir %.1f ms, directory_iterator %.1f ms, longest event-loop stall "
                    "%.1f ms\n",
                    files, list->GetItemCount(), f.fill, f.layout, f.bare, f.iterator, f.stall);
        std::printf("%d files: filled from the worker until laid out %.1f ms, longest "
                    "event-loop stall meanwhile %.1f ms\n",
                    files, f.worker, f.workerStall);
        results.emplace_back(files, f);
        list->EmptyList();
    }
    for (const auto& [files, f] : results)
        std::printf("list %d files: %.1f ms, bare %.1f ms, ratio %.1f\n", files, f.layout, f.bare,
                    f.layout / f.bare);
    return 0;
}
