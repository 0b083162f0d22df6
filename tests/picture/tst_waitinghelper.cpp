#include "picture/format/PictureFormat.h"
#include "picture/sandbox/CDecoderClient.h"
#include "picture/sandbox/CDecoderSandbox.h"
#include "picture/sandbox/CHelperProcess.h"
#include "picture/sandbox/CWaitingHelper.h"
#include "tests/picture/PictureTestSupport.h"

#include <QDir>
#include <QMap>
#include <QtTest>

#include <csignal>
#include <fcntl.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace pictest;
using Mode = CDecoderSandbox::EMode;
Q_DECLARE_METATYPE(CDecoderSandbox::EMode)

namespace {

const QString kPicture = FixturePath(QStringLiteral("pcx.pcx"));

CDecoderClient::SResult DecodeOpen(const QString& path, QSize size = {24, 16}) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {};
    const CDecoderClient::SResult result = CDecoderClient::Decode(fd, picfmt::kPcx, size);
    ::close(fd);
    return result;
}

pid_t Waiting() {
    return CWaitingHelper::Instance().WaitingPid(true);
}

// The processes this one started that still exist (reaped ones are gone from /proc).
QList<pid_t> Children() {
    QList<pid_t> children;
    const QString own = QString::number(::getpid());
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        const QByteArray stat = ReadAll(QStringLiteral("/proc/") + entry + QStringLiteral("/stat"));
        // pid (name) state ppid ...: the name may hold spaces, so count from its end
        const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1 && fields[1] == own.toLatin1())
            children << entry.toInt();
    }
    return children;
}

// Helper processes of this build started ahead that are still there, whoever their parent
// is now (a part of the sandbox killed while it was set up would be left to init).
int WaitingHelpersAnywhere() {
    const QByteArray helper = QFile::encodeName(CDecoderClient::HelperPath());
    int found = 0;
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        const QByteArray line = ReadAll(QStringLiteral("/proc/") + entry + "/cmdline");
        if (line.contains(helper + '\0' + "--wait"))
            ++found;
    }
    return found;
}

// Processes anywhere whose command line holds `words` (arguments end with a NUL).
int ProcessesNaming(const QByteArray& words) {
    int found = 0;
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs))
        if (entry != QString::number(::getpid()) &&
            ReadAll(QStringLiteral("/proc/") + entry + "/cmdline").contains(words))
            ++found;
    return found;
}

// Whether the process has ended (and waits to be reaped).
bool Ended(pid_t pid) {
    const QByteArray stat = ReadAll(QStringLiteral("/proc/%1/stat").arg(pid));
    return stat.isEmpty() || stat.mid(stat.lastIndexOf(')') + 2, 1) == "Z";
}

// "name=value" facts of the hostile stand-in's report.
QMap<QString, QString> Facts(const QString& report) {
    QMap<QString, QString> facts;
    for (const QString& fact : report.split(QLatin1Char(' ')))
        if (const qsizetype equals = fact.indexOf(QLatin1Char('=')); equals > 0)
            facts.insert(fact.left(equals), fact.mid(equals + 1));
    return facts;
}

bool SkipMode(Mode mode) {
    return mode == Mode::Bubblewrap && !BubblewrapUsable();
}

void AddModes() {
    QTest::addColumn<Mode>("mode");
    QTest::newRow("bubblewrap") << Mode::Bubblewrap;
    QTest::newRow("no bubblewrap") << Mode::Plain;
}

} // namespace

// The decoder helper is started ahead and waits for its task: a request takes it, the next
// one is started in its place, and it keeps every limit of a helper started for the request.
class TestWaitingHelper : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A helper stopped while bubblewrap sets its sandbox up, or once it runs in there, leaves
    // no process behind: bubblewrap's second process, in a process namespace (and, once set
    // up, a session) of its own, goes with it.
    void stoppedHelperLeavesNothing_data() {
        QTest::addColumn<bool>("running");
        QTest::newRow("while the sandbox is set up") << false;
        QTest::newRow("once the helper runs") << true;
    }
    void stoppedHelperLeavesNothing() {
        QFETCH(bool, running);
        if (!BubblewrapUsable())
            QSKIP("bubblewrap cannot run here");
        QTemporaryDir dir(FakeDir());
        const QString helper = FakeHelper(dir, "sleep 1000");
        const QByteArray name = QFile::encodeName(helper) + '\0';
        const CDecoderSandbox::SLaunch launch = CDecoderSandbox::Launch(helper, {}, true, {});
        CHelperProcess::SSpec spec;
        spec.strProgram = launch.strProgram;
        spec.arguments = launch.arguments;
        spec.environment = launch.environment;
        spec.strWorkingDirectory = launch.strWorkingDirectory;
        spec.nCpuSeconds = 60;
        for (int i = 0; i < (running ? 3 : 20); ++i) {
            QString error;
            std::unique_ptr<CHelperProcess> process = CHelperProcess::Start(spec, error);
            QVERIFY2(process, qPrintable(error));
            if (running) // the shell runs the helper's script: the sandbox is set up
                QVERIFY(QTest::qWaitFor(
                    [&name] { return ProcessesNaming(QByteArray("/bin/sh\0", 8) + name); }));
            process.reset(); // never handed a task: stopped at once
            QCOMPARE(ProcessesNaming(name), 0);
        }
    }

    void cleanup() {
        CDecoderClient::Shutdown();
        ResetDecoderClient();
    }

    void waitingHelperIsTakenAndReplaced_data() { AddModes(); }

    // Each request is served by the helper that was waiting (it answers with its process id
    // and the task it read), and a new one waits after it.
    void waitingHelperIsTakenAndReplaced() {
        QFETCH(Mode, mode);
        if (SkipMode(mode))
            QSKIP("bubblewrap cannot run here");
        CDecoderSandbox::SetMode(mode);
        QTemporaryDir dir(FakeDir());
        CDecoderClient::SetHelper(
            FakeHelper(dir, "task=$(dd bs=4096 count=1 <&3 2>/dev/null | tr '\\0' ' ')\n"
                            "printf '\\006' >&3\n"
                            "echo \"ERR pid=$$ task=$task\""));
        const QString first = DecodeOpen(kPicture).strError;
        QVERIFY2(first.contains(
                     QStringLiteral("task=--format %1 --size 24x16 --memory ").arg(picfmt::kPcx)),
                 qPrintable(first));
        for (int i = 0; i < 3; ++i) {
            const pid_t waiting = Waiting();
            QVERIFY(waiting > 0);
            const QString answer = DecodeOpen(kPicture).strError;
            QVERIFY2(
                answer.contains(
                    QStringLiteral("task=--format %1 --size 24x16 --memory ").arg(picfmt::kPcx)),
                qPrintable(answer));
            if (mode == Mode::Plain) // inside bubblewrap it has a process number of its own
                QVERIFY2(answer.contains(QStringLiteral("pid=%1 ").arg(waiting)),
                         qPrintable(answer));
            const pid_t next = Waiting();
            QVERIFY(next > 0 && next != waiting);
            QVERIFY(::kill(waiting, 0) != 0); // ended and reaped
        }
    }

    void deadWaitingHelperIsReplaced_data() {
        QTest::addColumn<Mode>("mode");
        QTest::addColumn<int>("signal");
        for (const auto& [name, signal] :
             {std::pair{"killed", SIGKILL}, std::pair{"crashed", SIGSEGV},
              std::pair{"ended", SIGTERM}}) {
            QTest::addRow("%s, bubblewrap", name) << Mode::Bubblewrap << signal;
            QTest::addRow("%s, no bubblewrap", name) << Mode::Plain << signal;
        }
    }

    // A helper that died while it waited is replaced: the request still gets its picture.
    void deadWaitingHelperIsReplaced() {
        QFETCH(Mode, mode);
        QFETCH(int, signal);
        if (SkipMode(mode))
            QSKIP("bubblewrap cannot run here");
        CDecoderSandbox::SetMode(mode);
        QVERIFY(!DecodeOpen(kPicture).image.isNull());
        for (int i = 0; i < 2; ++i) {
            const pid_t waiting = Waiting();
            QVERIFY(waiting > 0);
            QCOMPARE(::kill(waiting, signal), 0);
            // Seen dead before it is handed the task, or (the first time, where nothing of it
            // can run once the signal is sent) dying while it is.
            const bool instant = signal == SIGKILL && mode == Mode::Plain;
            if (i == 1 || !instant)
                while (!Ended(waiting))
                    QThread::yieldCurrentThread();
            const CDecoderClient::SResult result = DecodeOpen(kPicture);
            QVERIFY2(!result.image.isNull(), qPrintable(result.strError));
            QCOMPARE(result.image.size(), QSize(24, 16));
            QVERIFY(Waiting() != waiting);
        }
    }

    void limitsHoldForAWaitingHelper_data() { AddModes(); }

    // A helper started ahead runs under the limits set when it was started; once they change,
    // the one waiting is not used.
    void limitsHoldForAWaitingHelper() {
        QFETCH(Mode, mode);
        if (SkipMode(mode))
            QSKIP("bubblewrap cannot run here");
        CDecoderSandbox::SetMode(mode);
        CDecoderClient::SetHelper(QStringLiteral(VANTREL_HOSTILE_DECODER));
        constexpr qint64 kMemory = 768LL * 1024 * 1024;
        CDecoderClient::SetMemoryLimit(kMemory);
        for (const int cpu : {7, 7, 5}) {
            CDecoderClient::SetCpuLimit(cpu);
            const QMap<QString, QString> facts = Facts(DecodeOpen(kPicture).strError);
            QCOMPARE(facts.value(QStringLiteral("cpu")), QString::number(cpu));
#ifndef __SANITIZE_ADDRESS__
            QCOMPARE(facts.value(QStringLiteral("memory")), QString::number(kMemory));
#endif
            QVERIFY(Waiting() > 0);
        }
        // It spins: stopped by the processor-time limit; it sleeps: by the wall clock.
        CDecoderClient::SetCpuLimit(1);
        CDecoderClient::SetTimeout(2500);
        QVERIFY(Waiting() > 0 || DecodeOpen(kPicture).strError.contains("cpu=1"));
        const QString spun = DecodeOpen(kPicture, QSize(1, 1)).strError;
        QVERIFY2(spun.contains("processor time"), qPrintable(spun));
        QVERIFY(Waiting() > 0);
        const QString slept = DecodeOpen(kPicture, QSize(2, 2)).strError;
        QVERIFY2(slept.contains("too long"), qPrintable(slept));
    }

    void noHelperOutlivesTheClient_data() {
        AddModes();
    }

    // Requests on several threads at once each get their picture; once the client is shut
    // down, no process it started is left.
    void noHelperOutlivesTheClient() {
        QFETCH(Mode, mode);
        if (SkipMode(mode))
            QSKIP("bubblewrap cannot run here");
        CDecoderSandbox::SetMode(mode);
        // A copy of the helper of this test's own, so that the look for survivors below sees
        // no other program's helpers (tests running beside this one).
        QTemporaryDir dir(FakeDir());
        const QString own = dir.filePath(QStringLiteral("vantrel-decoder"));
        QVERIFY(QFile::copy(CDecoderClient::HelperPath(), own));
        CDecoderClient::SetHelper(own);
        std::vector<QImage> images(6);
        std::vector<std::thread> threads;
        for (QImage& image : images)
            threads.emplace_back([&image] { image = DecodeOpen(kPicture).image; });
        for (std::thread& thread : threads)
            thread.join();
        for (const QImage& image : images)
            QCOMPARE(image.size(), QSize(24, 16));
        QVERIFY(Waiting() > 0);
        QVERIFY(!Children().isEmpty());
        CDecoderClient::Shutdown();
        QCOMPARE(Children(), QList<pid_t>());
        QCOMPARE(CWaitingHelper::Instance().WaitingPid(), pid_t(-1));
        // Shut down while the next ones are still being started.
        for (int i = 0; i < 20; ++i) {
            QVERIFY(!DecodeOpen(kPicture).image.isNull());
            CDecoderClient::Shutdown();
        }
        // What bubblewrap runs inside ends just after it; a survivor fails the test.
        QTRY_COMPARE_WITH_TIMEOUT(WaitingHelpersAnywhere(), 0, 20000);
    }
};

QTEST_GUILESS_MAIN(TestWaitingHelper)
#include "tst_waitinghelper.moc"
