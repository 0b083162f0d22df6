// Sorts a folder of pictures (1,000 unless told otherwise) one click at a time through the
// real main window: the first picture is selected, then destination button 1 is clicked
// until the list is empty, or for a given number of clicks. Each action is timed from the click
// until the session's worker has done the move and the event loop has nothing left to do (the
// list has laid itself out and repainted), and set beside a bare rename loop over the same number
// of files on the same device. Picture display is off, so the figures are those of the list, the
// destination bar and the file operations alone. Clicks take turns with the companion files
// switched on and off, and before each click the look-up of the picture's companions is timed on
// its own: what that look-up adds to a click.
#include "bench/BenchStats.h"
#include "platform/system/CProfileStore.h"
#include "sorting/session/CSortSession.h"
#include "sorting/session/Companions.h"
#include "sorting/widgets/CPictureFileList.h"
#include "sorting/widgets/CTarget.h"
#include "tests/support/WindowDriver.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <numeric>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace {
using bench::ProcessCpuMs;
using bench::Settle;
constexpr int kDefaultFiles = 1000;

struct Stats {
    double median = 0, p90 = 0, p99 = 0, mean = 0, max = 0;
};

Stats Summarise(std::vector<double> v) {
    Stats s;
    if (v.empty())
        return s;
    std::sort(v.begin(), v.end());
    s.median = v[v.size() / 2];
    s.p90 = v[v.size() * 9 / 10];
    s.p99 = v[std::min(v.size() - 1, v.size() * 99 / 100)];
    s.mean = std::accumulate(v.begin(), v.end(), 0.0) / double(v.size());
    s.max = v.back();
    return s;
}

QByteArray Native(const QString& path) {
    return QFile::encodeName(path);
}

QByteArray PictureName(int i) {
    char name[32];
    std::snprintf(name, sizeof name, "IMG_%04d.jpg", i + 1);
    return name;
}

// Small files with picture names; their contents are never decoded.
bool MakePictures(const QByteArray& dir, int files) {
    for (int i = 0; i < files; ++i) {
        const QByteArray path = dir + '/' + PictureName(i);
        const int fd = ::open(path.constData(), O_CREAT | O_WRONLY | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0)
            return false;
        const bool bWritten = ::write(fd, "\xff\xd8\xff\xe0", 4) == 4;
        if (::close(fd) != 0 || !bWritten)
            return false;
    }
    return true;
}

int CountEntries(const QByteArray& dir) {
    int n = 0;
    if (DIR* d = ::opendir(dir.constData())) {
        while (const dirent* e = ::readdir(d))
            if (qstrcmp(e->d_name, ".") != 0 && qstrcmp(e->d_name, "..") != 0)
                ++n;
        ::closedir(d);
    }
    return n;
}

bool AllPresent(const QByteArray& dir, int files) {
    struct stat st {};
    for (int i = 0; i < files; ++i)
        if (::lstat((dir + '/' + PictureName(i)).constData(), &st) != 0 || !S_ISREG(st.st_mode))
            return false;
    return CountEntries(dir) == files;
}

// The same number of files moved with nothing but rename(2), one at a time.
bool BareRename(const QByteArray& from, const QByteArray& to, int files,
                std::vector<double>& times) {
    if (!MakePictures(from, files))
        return false;
    for (int i = 0; i < files; ++i) {
        const QByteArray src = from + '/' + PictureName(i);
        const QByteArray dst = to + '/' + PictureName(i);
        QElapsedTimer t;
        t.start();
        const int rc = ::rename(src.constData(), dst.constData());
        times.push_back(double(t.nsecsElapsed()) / 1e6);
        if (rc != 0)
            return false;
    }
    return AllPresent(to, files) && CountEntries(from) == 0;
}

struct Sorted {
    std::vector<double> click;  // the click's own handling
    std::vector<double> action; // the click until the event loop is idle again
    std::vector<double> cpu;    // processor time of all threads for the same span
    std::vector<double> companionsOn, companionsOff; // the actions, by the switch
    std::vector<double> lookup; // looking for the current picture's companions, alone
    int listed = 0;
    int left = 0;
};

// Clicks destination button 1 until the list is empty (or stops moving on), at most
// `clicks` times.
bool SortThroughWindow(WindowDriver& frame, int clicks, Sorted& out) {
    CPictureFileList& list = frame.FileList();
    auto* button = frame.TargetPane()->findChild<QPushButton*>(QStringLiteral("ctl1100"));
    if (!button || !button->isEnabled()) {
        std::fprintf(stderr, "destination button 1 is missing or disabled\n");
        return false;
    }
    out.listed = list.GetItemCount();
    list.SelectItem(0, true);
    Settle();
    while (list.GetItemCount() > 0 && !list.m_strCurFile.isEmpty() &&
           int(out.action.size()) < clicks) {
        const int before = list.GetItemCount();
        QElapsedTimer look;
        look.start();
        const bool bNone = companions::Find(QFile::encodeName(list.m_strCurFile)).isEmpty();
        out.lookup.push_back(double(look.nsecsElapsed()) / 1e6);
        if (!bNone)
            std::fprintf(stderr, "a picture has companions; there should be none\n");
        const bool bCompanions = out.action.size() % 2 == 0;
        list.Session().SetMoveCompanions(bCompanions);
        const double cpuBefore = ProcessCpuMs();
        QElapsedTimer t;
        t.start();
        button->click();
        const qint64 clicked = t.nsecsElapsed();
        while (list.Session().PendingActions() > 0) // the move done and its outcome shown
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QCoreApplication::processEvents();
        const qint64 idle = t.nsecsElapsed();
        out.cpu.push_back(ProcessCpuMs() - cpuBefore);
        out.click.push_back(double(clicked) / 1e6);
        out.action.push_back(double(idle) / 1e6);
        (bCompanions ? out.companionsOn : out.companionsOff).push_back(double(idle) / 1e6);
        if (list.GetItemCount() != before - 1) {
            std::fprintf(stderr, "a click did not remove one item (%d before, %d after)\n", before,
                         list.GetItemCount());
            break;
        }
    }
    out.left = list.GetItemCount();
    return true;
}

void WriteSettings(CProfileStore& store, const QString& home, const QString& dest) {
    store.WriteProfileString(QStringLiteral("TargetSet01"), QStringLiteral("HomeDirectory"), home);
    store.WriteProfileString(QStringLiteral("TargetSet01"), QStringLiteral("Target01Name"),
                             QStringLiteral("Sorted"));
    store.WriteProfileString(QStringLiteral("TargetSet01"), QStringLiteral("Target01Dir"), dest);
    store.Flush();
}

void Report(const char* what, const Stats& s) {
    std::printf("%-32s median %.3f ms, 90th percentile %.3f ms, 99th percentile %.3f ms, mean "
                "%.3f ms, longest %.3f ms\n",
                what, s.median, s.p90, s.p99, s.mean, s.max);
}
} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // An optional first argument lists another number of pictures; an optional second one
    // stops after that many clicks (a large folder is not sorted to its end).
    const int nFiles = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultFiles;
    const int nClicks = argc > 2 ? std::clamp(std::atoi(argv[2]), 1, nFiles) : nFiles;
    QTemporaryDir root;
    if (!root.isValid()) {
        std::fprintf(stderr, "cannot create a temporary folder\n");
        return 1;
    }
    const QString home = root.filePath(QStringLiteral("home"));
    const QString dest = root.filePath(QStringLiteral("dest"));
    const QString bareFrom = root.filePath(QStringLiteral("bare-from"));
    const QString bareTo = root.filePath(QStringLiteral("bare-to"));
    const QString data = root.filePath(QStringLiteral("data"));
    for (const QString& dir : {home, dest, bareFrom, bareTo, data})
        QDir().mkpath(dir);
    // Keeps the program away from the user's own trash and data.
    qputenv("XDG_DATA_HOME", Native(data));
    if (!MakePictures(Native(home), nFiles)) {
        std::fprintf(stderr, "cannot create the pictures\n");
        return 1;
    }

    QApplication app(argc, argv);
    CProfileStore store(root.filePath(QStringLiteral("Vantrel.conf")));
    WriteSettings(store, home, dest);

    Sorted sorted;
    double openMs = 0, openCpuMs = 0;
    {
        QElapsedTimer opening;
        opening.start();
        const double cpuBefore = ProcessCpuMs();
        WindowDriver frame(store);
        frame.FileList().SetPictureCtrl(nullptr); // picture display off
        frame.Window().show();
        Settle();
        openMs = double(opening.nsecsElapsed()) / 1e6;
        openCpuMs = ProcessCpuMs() - cpuBefore;
        if (!SortThroughWindow(frame, nClicks, sorted))
            return 1;
        frame.Window().close(); // the settings are written as the program quits
    }

    std::vector<double> bare;
    if (!BareRename(Native(bareFrom), Native(bareTo), nClicks, bare)) {
        std::fprintf(stderr, "the bare rename loop failed\n");
        return 1;
    }

    const int moved = CountEntries(Native(dest));
    const int remaining = CountEntries(Native(home));
    std::printf("%d listed, %d clicks, %d moved, %d left in the folder, %d left in the list\n",
                sorted.listed, int(sorted.action.size()), moved, remaining, sorted.left);
    std::printf("window up with the folder of %d files listed: %.1f ms (processor %.1f ms)\n",
                nFiles, openMs, openCpuMs);
    const Stats click = Summarise(sorted.click);
    const Stats action = Summarise(sorted.action);
    const Stats rename = Summarise(bare);
    Report("click handled:", click);
    Report("click until idle (action):", action);
    Report("processor time per action:", Summarise(sorted.cpu));
    Report("bare rename:", rename);
    Report("action, companions on:", Summarise(sorted.companionsOn));
    Report("action, companions off:", Summarise(sorted.companionsOff));
    Report("looking for companions:", Summarise(sorted.lookup));
    const bool bComplete = sorted.listed == nFiles && int(sorted.action.size()) == nClicks &&
                           sorted.left == nFiles - nClicks && remaining == nFiles - nClicks &&
                           moved == nClicks && AllPresent(Native(dest), nClicks);
    if (!bComplete) {
        std::fprintf(stderr, "sorting was incomplete: not every picture reached the destination\n");
        return 1;
    }
    std::printf("sort %d of %d files: %.3f ms per action (median), %.3f ms (99th percentile), "
                "bare rename %.3f ms\n",
                nClicks, nFiles, action.median, action.p99, rename.median);
    return 0;
}
