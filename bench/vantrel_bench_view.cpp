// The picture on screen through the real main window (1280 x 900, fit to window on):
//   sort DIR [N]   copies N photographs (200; DIR's JPEGs over and over) into a home folder,
//                  then clicks destination button 1 once every 300 ms, timing each click until
//                  the next picture is painted with its own pixels; then jumps to pictures
//                  far away (not decoded ahead), beside `djpeg -scale 1/4` of the same file,
//                  with the time to the first paint of anything of them (a stand-in).
//   jump DIR [N]   only those jumps (DIR's JPEG, HEIC, AVIF and DNG files).
//   step DIR [N]   holds Down through N photographs (50) at 30 presses a second: the longest
//                  event-loop stall, whether the last one selected is the one shown, and the
//                  process's peak memory.
//   stall FILE     shows one picture that takes seconds to decode (a huge progressive JPEG,
//                  PostScript that never ends) and times the longest event-loop stall meanwhile.
#include "picture/sandbox/CDecoderClient.h"
#include "picture/view/CImageCtrl.h"
#include "picture/view/CVantrelView.h"
#include "platform/system/CProfileStore.h"
#include "sorting/widgets/CPictureFileList.h"
#include "sorting/widgets/CTarget.h"
#include "tests/support/WindowDriver.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

namespace {
struct Figures {
    double median = 0, p90 = 0, max = 0;
};

Figures Summarise(std::vector<double> v) {
    Figures f;
    if (v.empty())
        return f;
    std::sort(v.begin(), v.end());
    f.median = v[v.size() / 2];
    f.p90 = v[std::min(v.size() - 1, v.size() * 9 / 10)];
    f.max = v.back();
    return f;
}

void Report(const char* what, const std::vector<double>& v) {
    const Figures f = Summarise(v);
    std::printf("%-34s n=%zu median %.1f ms, p90 %.1f ms, longest %.1f ms\n", what, v.size(),
                f.median, f.p90, f.max);
}

// The longest time the event loop went without turning, sampled by a 1 ms timer.
class StallMeter {
public:
    StallMeter() {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            const double now = double(m_clock.nsecsElapsed()) / 1e6;
            m_longest = std::max(m_longest, now - m_last);
            m_last = now;
        });
    }
    void Start() {
        m_clock.start();
        m_last = 0;
        m_longest = 0;
        m_timer.start();
    }
    double Longest() const { return m_longest; }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    double m_last = 0, m_longest = 0;
};

// Notes when the control is painted with the current picture's own pixels, and when it
// was first painted with anything of it (a stand-in).
class PaintWatch : public QObject {
public:
    explicit PaintWatch(CImageCtrl& ctrl) : m_ctrl(ctrl) {
        ctrl.installEventFilter(this);
        m_clock.start();
    }
    bool m_bDone = false;
    double m_firstMs = -1; // since the watch was made

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::Paint)
            return false;
        if (m_firstMs < 0 && m_ctrl.IsPictureShown())
            QTimer::singleShot(0, [this] { // once this paint is over
                if (m_firstMs < 0)
                    m_firstMs = double(m_clock.nsecsElapsed()) / 1e6;
            });
        if (m_ctrl.IsPictureComplete())
            QTimer::singleShot(0, [this] { m_bDone = true; });
        return false;
    }

private:
    CImageCtrl& m_ctrl;
    QElapsedTimer m_clock;
};

void RunFor(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, ms - int(t.elapsed()));
}

// Runs the event loop until the picture is painted; the time taken in ms, or -1.
double UntilPainted(PaintWatch& watch, const QElapsedTimer& since, int timeoutMs = 20000) {
    while (!watch.m_bDone && since.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    return watch.m_bDone ? double(since.nsecsElapsed()) / 1e6 : -1;
}

QStringList Photos(const QString& dir) {
    QStringList files;
    const QStringList types{"*.jpg", "*.JPG", "*.heic", "*.avif", "*.dng"};
    for (const QString& name : QDir(dir).entryList(types, QDir::Files, QDir::Name))
        if (!name.startsWith("big"))
            files << QDir(dir).filePath(name);
    return files;
}

bool CopyPhotos(const QStringList& photos, const QString& home, int n) {
    for (int i = 0; i < n; ++i)
        if (!QFile::copy(photos[i % photos.size()],
                         QDir(home).filePath(QString::asprintf("IMG_%04d.", i + 1) +
                                             QFileInfo(photos[i % photos.size()]).suffix())))
            return false;
    return true;
}

double DjpegQuarterMs(const QString& file) {
    std::vector<double> runs;
    for (int i = 0; i < 3; ++i) {
        QProcess djpeg;
        djpeg.setStandardOutputFile(QProcess::nullDevice());
        QElapsedTimer t;
        t.start();
        djpeg.start("djpeg", {"-scale", "1/4", "-bmp", file});
        djpeg.waitForFinished(20000);
        runs.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    return Summarise(runs).median;
}

struct Desk {
    QTemporaryDir root;
    QString home = root.filePath("home");
    std::unique_ptr<CProfileStore> store;
    std::unique_ptr<WindowDriver> frame;

    bool Start(const QStringList& photos, int n) {
        QDir().mkpath(home);
        QDir().mkpath(root.filePath("dest"));
        QDir().mkpath(root.filePath("data"));
        qputenv("XDG_DATA_HOME", QFile::encodeName(root.filePath("data")));
        if (photos.isEmpty() || !CopyPhotos(photos, home, n))
            return false;
        store = std::make_unique<CProfileStore>(root.filePath("Vantrel.conf"));
        store->WriteProfileString("TargetSet01", "HomeDirectory", home);
        store->WriteProfileString("TargetSet01", "Target01Name", "Sorted");
        store->WriteProfileString("TargetSet01", "Target01Dir", root.filePath("dest"));
        store->WriteProfileInt("Config", "FitPicToWindow", 1);
        store->WriteProfileInt("Config", "FilterFlags", 0x4000 | 0x1); // every file
        store->Flush();
        frame = std::make_unique<WindowDriver>(*store);
        frame->Window().resize(1280, 900);
        frame->Window().show();
        RunFor(500);
        return frame->FileList().GetItemCount() == n;
    }
    CImageCtrl& Ctrl() { return frame->PictureViewPane()->m_imageCtrl; }
    CPictureFileList& List() { return frame->FileList(); }
};

// Jumps to every 20th picture (never a neighbour of the last, so never decoded ahead),
// each beside djpeg -scale 1/4 of the same file.
void Jumps(Desk& desk) {
    CImageCtrl& ctrl = desk.Ctrl();
    std::vector<double> jumps, firsts, ratios;
    for (int i = 10; i < desk.List().GetItemCount(); i += 20) {
        RunFor(300);
        ctrl.WaitForPicture();
        RunFor(300);
        PaintWatch watch(ctrl);
        QElapsedTimer t;
        t.start();
        desk.List().SelectItem(i, true);
        const double ms = UntilPainted(watch, t);
        if (!ctrl.LastError().isEmpty()) { // a time to a message is no time to a picture
            std::printf("  jump to %s failed: %s\n",
                        qPrintable(QFileInfo(desk.List().m_strCurFile).fileName()),
                        qPrintable(ctrl.LastError()));
            continue;
        }
        const double djpeg = DjpegQuarterMs(desk.List().m_strCurFile);
        jumps.push_back(ms);
        firsts.push_back(watch.m_firstMs);
        ratios.push_back(100.0 * ms / djpeg);
        std::printf("  jump to %s: first paint %.1f ms, picture %.1f ms, djpeg -scale 1/4 %.1f "
                    "ms, ratio %.2f\n",
                    qPrintable(QFileInfo(desk.List().m_strCurFile).fileName()), watch.m_firstMs, ms,
                    djpeg, ms / djpeg);
    }
    Report("jump: first paint of the picture:", firsts);
    Report("jump to a picture not decoded ahead:", jumps);
    Report("  its ratio to djpeg -scale 1/4 (%):", ratios);
}

int Sort(const QString& dir, int n, bool jumpsOnly) {
    Desk desk;
    if (!desk.Start(Photos(dir), n))
        return std::fprintf(stderr, "cannot set up %d photographs from %s\n", n, qPrintable(dir)),
               1;
    Jumps(desk);
    if (jumpsOnly)
        return 0;
    auto* button = desk.frame->TargetPane()->findChild<QPushButton*>("ctl1100");
    CImageCtrl& ctrl = desk.Ctrl();
    desk.List().SelectItem(0, true);
    ctrl.WaitForPicture();
    std::vector<double> ahead, notAhead, all;
    int failures = 0;
    while (desk.List().GetItemCount() > 1) {
        RunFor(300);
        PaintWatch watch(ctrl);
        QElapsedTimer t;
        t.start();
        button->click();
        const bool cached = ctrl.IsPictureComplete(); // drawn from the cache at once
        const double ms = UntilPainted(watch, t);
        if (ms < 0 || ctrl.LoadedPath() != desk.List().m_strCurFile) {
            ++failures;
            continue;
        }
        all.push_back(ms);
        (cached ? ahead : notAhead).push_back(ms);
    }
    std::printf("%zu sorting clicks, one every 300 ms; %d without the next picture painted\n",
                all.size(), failures);
    Report("click until next picture painted:", all);
    Report("  of which decoded ahead:", ahead);
    Report("  of which not ready in time:", notAhead);
    return failures ? 1 : 0;
}

long PeakRssMB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

int Step(const QString& dir, int n) {
    Desk desk;
    if (!desk.Start(Photos(dir), n))
        return std::fprintf(stderr, "cannot set up %d photographs from %s\n", n, qPrintable(dir)),
               1;
    CImageCtrl& ctrl = desk.Ctrl();
    desk.List().SelectItem(0, true);
    ctrl.WaitForPicture();
    desk.List().setFocus();
    StallMeter stalls;
    stalls.Start();
    QElapsedTimer t;
    t.start();
    for (int i = 1; i < n; ++i) {
        QCoreApplication::postEvent(&desk.List(),
                                    new QKeyEvent(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier));
        QCoreApplication::postEvent(
            &desk.List(), new QKeyEvent(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier));
        RunFor(33);
    }
    PaintWatch watch(ctrl);
    ctrl.update();
    const double settle = UntilPainted(watch, t) - double(n - 1) * 33.0;
    const bool last = desk.List().GetCurItem() == n - 1 &&
                      ctrl.LoadedPath() == desk.List().m_strCurFile && ctrl.IsPictureComplete();
    std::printf("held Down through %d photographs at 30 a second\n", n);
    std::printf("longest event-loop stall: %.1f ms\n", stalls.Longest());
    std::printf("last selected is shown: %s (painted %.0f ms after the last press)\n",
                last ? "yes" : "NO", settle);
    std::printf("peak memory (resident): %ld MB\n", PeakRssMB());
    return last ? 0 : 1;
}

int Stall(const QString& file) {
    Desk desk;
    if (!desk.Start({file}, 1))
        return std::fprintf(stderr, "cannot set up %s\n", qPrintable(file)), 1;
    CImageCtrl& ctrl = desk.Ctrl();
    StallMeter stalls;
    stalls.Start();
    QElapsedTimer t;
    t.start();
    desk.List().SelectItem(0, true);
    const double selected = double(t.nsecsElapsed()) / 1e6;
    PaintWatch watch(ctrl);
    const double ms = UntilPainted(watch, t, 8000);
    std::printf("%s: selecting it took %.1f ms; picture %s after %.0f ms\n",
                qPrintable(QFileInfo(file).fileName()), selected,
                ms < 0 ? "still decoding" : "painted", ms < 0 ? double(t.elapsed()) : ms);
    std::printf("longest event-loop stall meanwhile: %.1f ms\n", stalls.Longest());
    desk.List().SelectItem(-1, true); // moving on cancels it
    RunFor(200);
    std::printf("peak memory (resident): %ld MB\n", PeakRssMB());
    return 0;
}
} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The decoder helper of this build, unless VANTREL_DECODER names another: without one,
    // the types it decodes would time a message, not a picture.
    if (qEnvironmentVariableIsEmpty("VANTREL_DECODER"))
        CDecoderClient::SetHelper(QStringLiteral(VANTREL_DECODER_BUILT));
    const QStringList args = app.arguments().mid(1);
    const QString mode = args.value(0);
    const int n = args.size() > 2 ? args[2].toInt() : 0;
    if ((mode == "sort" || mode == "jump") && args.size() > 1)
        return Sort(args[1], n > 1 ? n : 200, mode == "jump");
    if (mode == "step" && args.size() > 1)
        return Step(args[1], n > 1 ? n : 50);
    if (mode == "stall" && args.size() > 1)
        return Stall(args[1]);
    std::fprintf(
        stderr,
        "usage: vantrel-bench-view sort DIR [N] | jump DIR [N] | step DIR [N] | stall FILE\n");
    return 2;
}
