// What the undo journal costs. (1) Sorting clicks through the real main window with picture
// display off, taking turns: the journal off, on (flushed to disk by its own thread), and on
// with each line flushed before the click goes on, so that all three see the same machine
// load; each click is timed until the event loop is idle again.
// (2) The journal alone: an action recorded around a bare rename, beside the bare rename.
// (3) The start of a run with a journal of 10,000 actions, one of them left unfinished:
// reading, checking and settling it.
// (4) Undo and Redo through the window, each until its outcome is shown: how long the key
// holds the window, and how long until the picture is back in the list (or gone again).
#include "app/CUndoCommands.h"
#include "bench/BenchStats.h"
#include "platform/system/CProfileStore.h"
#include "sorting/journal/CUndoHistory.h"
#include "sorting/session/CSortSession.h"
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
#include <ctime>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using sort_lines::LineCode;

namespace {
using bench::ProcessCpuMs;
using bench::Settle;

struct Stats {
    double median = 0, p90 = 0;
};

Stats Summarise(std::vector<double> v) {
    if (v.empty())
        return {};
    std::sort(v.begin(), v.end());
    return {v[v.size() / 2], v[v.size() * 9 / 10]};
}

void Report(const char* what, const std::vector<double>& v) {
    const Stats s = Summarise(v);
    std::printf("%-40s median %7.3f ms, 90th percentile %7.3f ms (%zu)\n", what, s.median, s.p90,
                v.size());
}

QByteArray Name(int i) {
    return "IMG_" + QByteArray::number(10000 + i) + ".jpg";
}

bool MakeFiles(const QByteArray& dir, int n) {
    for (int i = 0; i < n; ++i) {
        const int fd = ::open((dir + '/' + Name(i)).constData(), O_CREAT | O_WRONLY | O_EXCL, 0644);
        if (fd < 0 || ::write(fd, "\xff\xd8\xff\xe0", 4) != 4 || ::close(fd) != 0)
            return false;
    }
    return true;
}

// Until no action or step is pending and the outcome is shown.
void Drain(WindowDriver& frame) {
    while (frame.Session().PendingActions() > 0)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QCoreApplication::processEvents();
}

// The window over `n` files in ROOT/homeTAG, destination 1 ROOT/destTAG, pictures off.
struct UndoDesk {
    QString home, dest;
    CProfileStore store;
    std::unique_ptr<WindowDriver> window;

    UndoDesk(const QString& root, const QString& tag)
        : home(root + "/home" + tag), dest(root + "/dest" + tag),
          store(root + "/Vantrel" + tag + ".conf") {}
    bool Open(int n) {
        QDir().mkpath(home);
        QDir().mkpath(dest);
        if (!MakeFiles(QFile::encodeName(home), n))
            return false;
        store.WriteProfileString("TargetSet01", "HomeDirectory", home);
        store.WriteProfileString("TargetSet01", "Target01Name", "Sorted");
        store.WriteProfileString("TargetSet01", "Target01Dir", dest);
        window = std::make_unique<WindowDriver>(store);
        window->FileList().SetPictureCtrl(nullptr); // picture display off
        window->Window().show();
        Settle();
        return true;
    }
};

// (1) Clicks destination button 1 until the list is empty.
bool Clicks(const QString& root, int n, std::vector<double> (&times)[3]) {
    UndoDesk desk(root, QString());
    if (!desk.Open(n))
        return false;
    WindowDriver& frame = *desk.window;
    const QString& dest = desk.dest;
    CUndoHistory* journal = &frame.UndoCommands()->History();
    auto* button = frame.TargetPane()->findChild<QPushButton*>(QStringLiteral("ctl1100"));
    if (!journal || !button)
        return false;
    CPictureFileList& list = frame.FileList();
    list.SelectItem(0, true);
    Settle();
    for (int i = 0; list.GetItemCount() > 0 && !list.m_strCurFile.isEmpty(); ++i) {
        const int mode = i % 3;
        frame.Session().SetActionRecorder(mode == 0 ? nullptr : journal);
        journal->Journal().SetSynchronous(mode == 2);
        QElapsedTimer t;
        t.start();
        button->click();
        QCoreApplication::processEvents();
        times[mode].push_back(double(t.nsecsElapsed()) / 1e6);
        journal->Journal().WaitFlushed(); // no flush of one click runs into the next
    }
    Drain(frame); // the moves run on the session's worker
    frame.Session().SetActionRecorder(journal);
    return QDir(dest).entryList(QDir::Files).size() == n;
}

// (4) `n` moves, then Undo and Redo by turns, each timed until it returns and until its
// outcome is shown.
bool UndoRedo(const QString& root, int n, std::vector<double> (&held)[2],
              std::vector<double> (&shown)[2]) {
    UndoDesk desk(root, QStringLiteral("4"));
    if (!desk.Open(n))
        return false;
    WindowDriver& frame = *desk.window;
    const QString& dest = desk.dest;
    frame.FileList().SelectItem(0, true);
    for (int i = 0; i < n; ++i)
        frame.SendToNow(0);
    Drain(frame);
    for (int i = 0; i < 2 * n; ++i) {
        const int redo = i % 2;
        QElapsedTimer t;
        t.start();
        frame.Trigger(redo ? cmd::ID_EDIT_REDO : cmd::ID_EDIT_UNDO);
        held[redo].push_back(double(t.nsecsElapsed()) / 1e6);
        Drain(frame);
        shown[redo].push_back(double(t.nsecsElapsed()) / 1e6);
    }
    return QDir(dest).entryList(QDir::Files).size() == n;
}

// (2) The journal around a bare rename, beside the bare rename.
bool Recorded(const QByteArray& root, int n, std::vector<double>& with,
              std::vector<double>& without) {
    const QByteArray from = root + "/from", to = root + "/to";
    ::mkdir(from.constData(), 0755);
    ::mkdir(to.constData(), 0755);
    if (!MakeFiles(from, n))
        return false;
    CUndoHistory history(std::make_unique<CSortJournal>(root + "/state2"));
    if (!history.Start())
        return false;
    for (int i = 0; i < n; ++i) {
        const QByteArray a = from + '/' + Name(i), b = to + '/' + Name(i);
        const auto rename = [&](const QByteArray&) {
            CFileOpResult r;
            if (::rename(a.constData(), b.constData()) == 0) {
                r.outcome = CFileOpResult::Outcome::Done;
                r.target = b;
            }
            return r;
        };
        QElapsedTimer t;
        t.start();
        const bool bOk =
            i % 2 == 0 ? history.Run({CFileAction::Kind::Move, {a}, to}, rename).first().Succeeded()
                       : rename(a).Succeeded();
        (i % 2 == 0 ? with : without).push_back(double(t.nsecsElapsed()) / 1e6);
        if (!bOk)
            return false;
    }
    return true;
}

// (3) A journal of `n` finished moves and one unfinished, written as the program writes it.
bool StartWithLongJournal(const QByteArray& root, int n, std::vector<double>& times,
                          std::vector<double>& cpu) {
    const QByteArray state = root + "/state3", dir = root + "/long";
    ::mkdir(dir.constData(), 0755);
    if (!MakeFiles(dir, 1))
        return false;
    {
        CSortJournal journal(state, n);
        if (!journal.Open())
            return false;
        for (int i = 1; i <= n; ++i) {
            SortRecord r{quint64(i),
                         1700000000000,
                         CFileAction::Kind::Move,
                         root + "/dest/",
                         SortRecord::State::Intent,
                         {}};
            const QByteArray src = dir + '/' + Name(i == n ? 0 : i);
            SortEntry e = SortEntry::Before(src);
            e.target = root + "/dest/" + Name(i);
            r.entries.append(e);
            journal.Write(sort_lines::Intent(r), false);
            if (i < n)
                journal.Write(sort_lines::Change(r.seq, LineCode::Done, r.entries), false);
        }
    }
    const QByteArray file = CSortJournal(state).FilePath();
    QFile f(QFile::decodeName(file));
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray original = f.readAll();
    f.close();
    for (int run = 0; run < 21; ++run) {
        QFile w(QFile::decodeName(file)); // the unfinished action again
        if (!w.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            w.write(original) != original.size())
            return false;
        w.close();
        const double cpuBefore = ProcessCpuMs();
        QElapsedTimer t;
        t.start();
        CUndoHistory history(std::make_unique<CSortJournal>(state, n));
        const bool bStarted = history.Start();
        times.push_back(double(t.nsecsElapsed()) / 1e6);
        cpu.push_back(ProcessCpuMs() - cpuBefore);
        if (!bStarted || history.Records().size() != n ||
            history.Records().last().state != SortRecord::State::Failed)
            return false;
    }
    std::printf("journal of %d actions: %lld bytes\n", n, static_cast<long long>(original.size()));
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const int nClicks = argc > 1 ? std::max(2, std::atoi(argv[1])) : 400;
    // On the disk of the user's home unless TMPDIR says otherwise.
    QTemporaryDir root(QDir::homePath() + "/.vantrel-bench-XXXXXX");
    if (!root.isValid())
        return 1;
    const QByteArray native = QFile::encodeName(root.path());
    qputenv("XDG_DATA_HOME", native + "/data");
    qputenv("XDG_STATE_HOME", native + "/state");
    QApplication app(argc, argv);

    std::vector<double> clicks[3], recWith, recWithout, start, startCpu, held[2], shown[2];
    if (!Clicks(root.path(), nClicks, clicks)) {
        std::fprintf(stderr, "sorting through the window failed\n");
        return 1;
    }
    if (!Recorded(native, nClicks, recWith, recWithout)) {
        std::fprintf(stderr, "the recorded renames failed\n");
        return 1;
    }
    if (!UndoRedo(root.path(), std::min(nClicks, 100), held, shown)) {
        std::fprintf(stderr, "undo and redo through the window failed\n");
        return 1;
    }
    if (!StartWithLongJournal(native, 10000, start, startCpu)) {
        std::fprintf(stderr, "the long journal could not be read back\n");
        return 1;
    }
    Report("sorting click, journal off:", clicks[0]);
    Report("sorting click, journal on:", clicks[1]);
    Report("sorting click, journal flushed at once:", clicks[2]);
    Report("rename recorded in the journal:", recWith);
    Report("bare rename:", recWithout);
    Report("start with 10,000 actions, 1 to settle:", start);
    Report("  the same, processor time:", startCpu);
    Report("undo key, the window held:", held[0]);
    Report("undo key to its outcome shown:", shown[0]);
    Report("redo key, the window held:", held[1]);
    Report("redo key to its outcome shown:", shown[1]);
    std::printf(
        "journal cost per click (difference of medians): %.3f ms, flushed at once %.3f ms\n",
        Summarise(clicks[1]).median - Summarise(clicks[0]).median,
        Summarise(clicks[2]).median - Summarise(clicks[0]).median);
    return 0;
}
