// The filmstrip through the real main window (1280 x 900, fit to window on), on N
// photographs (2,000; DIR's JPEGs linked over and over under names of their own):
//   cold   the strip switched on with an empty thumbnail cache: until every thumbnail on
//          screen is there, and the longest event-loop stall meanwhile;
//   warm   the same in a new window over the cache the first one filled;
//   scroll the strip scrolled from end to end, one screenful every 33 ms, with a cold
//          cache: the longest step and the longest event-loop stall;
//   click  destination button 1 clicked once every 300 ms with the strip shown: the time
//          until the next picture is painted.
#include "bench/BenchStats.h"
#include "browser/controls/CListCtrlModel.h"
#include "picture/thumbs/CThumbnailLoader.h"
#include "picture/view/CImageCtrl.h"
#include "picture/view/CVantrelView.h"
#include "platform/system/CProfileStore.h"
#include "resources/CommandIds.h"
#include "sorting/session/CSortSession.h"
#include "sorting/widgets/CFilmstrip.h"
#include "sorting/widgets/CPictureFileList.h"
#include "sorting/widgets/CTarget.h"
#include "tests/support/WindowDriver.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <unistd.h>

namespace {
double Ms(const QElapsedTimer& t) {
    return double(t.nsecsElapsed()) / 1e6;
}

// Processor time of the calling (GUI) thread: what the window itself spent, apart from
// waiting for a machine shared with others.
double ThreadCpuMs() {
    timespec ts{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

// Runs the event loop, sleeping while there is nothing to do (processEvents with a time
// limit would spin), for `ms` or until `done` says so, checked every millisecond.
void RunFor(int ms, const std::function<bool()>& done = {}) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    QTimer check;
    if (done) {
        QObject::connect(&check, &QTimer::timeout, [&] {
            if (done())
                loop.quit();
        });
        check.start(1);
    }
    if (!done || !done())
        loop.exec();
}

// The longest time the event loop went without turning, sampled by a 1 ms timer.
class StallMeter {
public:
    StallMeter() {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            const double now = Ms(m_clock);
            m_longest = std::max(m_longest, now - m_last);
            m_last = now;
        });
        m_clock.start();
        m_timer.start();
    }
    double Longest() const { return m_longest; }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    double m_last = 0, m_longest = 0;
};

// Set once the control is painted with the current picture complete.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(CImageCtrl& ctrl) : m_ctrl(ctrl) { ctrl.installEventFilter(this); }
    bool m_bDone = false;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && m_ctrl.IsPictureComplete())
            QTimer::singleShot(0, [this] { m_bDone = true; });
        return false;
    }

private:
    CImageCtrl& m_ctrl;
};

struct Desk {
    QTemporaryDir root;
    QString home = root.filePath("home");
    std::unique_ptr<CProfileStore> store;
    std::unique_ptr<WindowDriver> frame;

    bool Lay(const QString& dir, int n) {
        QStringList photos;
        for (const QString& name : QDir(dir).entryList({"*.jpg"}, QDir::Files, QDir::Name))
            if (!name.startsWith("big"))
                photos << QDir(dir).filePath(name);
        QDir().mkpath(home);
        QDir().mkpath(root.filePath("dest"));
        QDir().mkpath(root.filePath("data"));
        qputenv("XDG_DATA_HOME", QFile::encodeName(root.filePath("data")));
        for (int i = 0; i < n && !photos.isEmpty(); ++i) {
            const QString to = QDir(home).filePath(QString::asprintf("IMG_%04d.jpg", i + 1));
            if (::link(QFile::encodeName(photos[i % photos.size()]).constData(),
                       QFile::encodeName(to).constData()) != 0)
                return false;
        }
        store = std::make_unique<CProfileStore>(root.filePath("Vantrel.conf"));
        store->WriteProfileString("TargetSet01", "HomeDirectory", home);
        store->WriteProfileString("TargetSet01", "Target01Name", "Sorted");
        store->WriteProfileString("TargetSet01", "Target01Dir", root.filePath("dest"));
        store->WriteProfileInt("Config", "FitPicToWindow", 1);
        store->Flush();
        return !photos.isEmpty();
    }
    // A new window on a cache of its own name, the strip off; true once the folder is listed.
    bool Open(const QString& cache, int n) {
        frame.reset();
        qputenv("XDG_CACHE_HOME", QFile::encodeName(root.filePath(cache)));
        store->WriteProfileInt("Window", "Filmstrip", 0);
        store->Flush();
        frame = std::make_unique<WindowDriver>(*store);
        frame->Window().resize(1280, 900);
        frame->Window().show();
        RunFor(500);
        return frame->FileList().GetItemCount() == n;
    }
    CFilmstrip& Strip() { return *frame->Window().findChild<CFilmstrip*>(); }
    CImageCtrl& Ctrl() { return frame->PictureViewPane()->m_imageCtrl; }
    CPictureFileList& List() { return frame->FileList(); }

    // How many of the cells on screen still have no thumbnail (nor failed).
    int Missing() {
        CFilmstrip& strip = Strip();
        CThumbnailLoader& loader = strip.Loader();
        int missing = 0;
        const QRect view = strip.viewport()->rect();
        const int first = std::max(0, strip.indexAt(QPoint(1, view.center().y())).row());
        int last = strip.indexAt(QPoint(view.right() - 1, view.center().y())).row();
        last = last < 0 ? strip.model()->rowCount() - 1 : last;
        for (int row = first; row <= last; ++row) {
            const QByteArray path = frame->Session().Model().ItemNative(row);
            if (loader.Thumbnail(path).isNull() && !loader.HasFailed(path))
                ++missing;
        }
        return missing;
    }
};

// The strip switched on: the time until every thumbnail on screen is there.
void Appear(Desk& desk, const char* what) {
    StallMeter stalls;
    QElapsedTimer t;
    t.start();
    const double cpu0 = ThreadCpuMs();
    desk.frame->Action(cmd::ID_VIEW_FILMSTRIP)->trigger();
    const double shown = Ms(t);
    QCoreApplication::processEvents();
    const double painted = Ms(t);
    RunFor(60000, [&desk] { return desk.Missing() == 0; });
    std::printf("%s: visible thumbnails there after %.1f ms (strip shown %.1f ms, first "
                "painted %.1f ms; longest stall %.1f ms)\n",
                what, Ms(t), shown, painted, stalls.Longest());
    std::printf("  GUI thread's processor time meanwhile: %.1f ms\n", ThreadCpuMs() - cpu0);
}

void Scroll(Desk& desk) {
    desk.frame->Action(cmd::ID_VIEW_FILMSTRIP)->trigger();
    RunFor(200);
    QScrollBar* bar = desk.Strip().horizontalScrollBar();
    StallMeter stalls;
    std::vector<double> steps;
    std::vector<double> cpu; // the GUI thread's processor time of each step and its 33 ms
    for (int at = 0; at <= bar->maximum(); at += bar->pageStep()) {
        QElapsedTimer t;
        t.start();
        const double cpu0 = ThreadCpuMs();
        bar->setValue(at);
        desk.Strip().viewport()->repaint();
        steps.push_back(Ms(t));
        RunFor(33);
        cpu.push_back(ThreadCpuMs() - cpu0);
    }
    std::printf("scroll end to end: %zu screenfuls, step median %.1f ms, longest %.1f ms; "
                "longest event-loop stall %.1f ms\n",
                steps.size(), bench::Median(steps), *std::max_element(steps.begin(), steps.end()),
                stalls.Longest());
    std::printf("  GUI thread's processor time a screenful: median %.1f ms, longest %.1f ms\n",
                bench::Median(cpu), *std::max_element(cpu.begin(), cpu.end()));
}

int Clicks(Desk& desk, int clicks, bool strip) {
    if (strip)
        desk.frame->Action(cmd::ID_VIEW_FILMSTRIP)->trigger();
    auto* button = desk.frame->TargetPane()->findChild<QPushButton*>("ctl1100");
    desk.List().SelectItem(0, true);
    desk.Ctrl().WaitForPicture();
    std::vector<double> all, cpu;
    int failures = 0;
    for (int i = 0; i < clicks; ++i) {
        RunFor(300);
        PaintWatch watch(desk.Ctrl());
        QElapsedTimer t;
        t.start();
        const double cpu0 = ThreadCpuMs();
        button->click();
        RunFor(20000, [&watch] { return watch.m_bDone; });
        if (!watch.m_bDone)
            ++failures;
        else
            all.push_back(Ms(t));
        cpu.push_back(ThreadCpuMs() - cpu0);
    }
    std::printf("sorting click with the strip %s: n=%zu median %.1f ms, p90 %.1f ms; %d "
                "without the next picture\n",
                strip ? "shown" : "hidden", all.size(), bench::Median(all),
                bench::Percentile90(all), failures);
    std::printf("  GUI thread's processor time a click: median %.1f ms, p90 %.1f ms\n",
                bench::Median(cpu), bench::Percentile90(cpu));
    return failures ? 1 : 0;
}
} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return std::fprintf(stderr, "usage: vantrel-bench-strip DIR [N] [CLICKS]\n"), 2;
    const int n = args.value(1, "2000").toInt();
    Desk desk;
    if (!desk.Lay(args[0], n) || !desk.Open("cache-a", n))
        return std::fprintf(stderr, "cannot set up %d photographs\n", n), 1;
    std::printf("%d photographs, window 1280 x 900\n", n);
    Appear(desk, "cold cache");
    if (!desk.Open("cache-a", n))
        return 1;
    Appear(desk, "warm cache");
    if (!desk.Open("cache-b", n))
        return 1;
    Scroll(desk);
    if (!desk.Open("cache-a", n))
        return 1;
    const int clicks = args.value(2, "100").toInt();
    const int failures = Clicks(desk, clicks, true);
    if (!desk.Open("cache-a", n - clicks))
        return 1;
    return failures + Clicks(desk, clicks, false);
}
