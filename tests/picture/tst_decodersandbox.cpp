#include "picture/decode/CGhostscriptRunner.h"
#include "picture/format/PictureFormat.h"
#include "picture/load/CPictureSource.h"
#include "picture/sandbox/CDecoderClient.h"
#include "picture/sandbox/CDecoderSandbox.h"
#include "picture/sandbox/DecoderProtocol.h"
#include "tests/picture/PictureTestSupport.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace pictest;
using Mode = CDecoderSandbox::EMode;
Q_DECLARE_METATYPE(CDecoderSandbox::EMode)

namespace {

// Each attack paints its own 10-point column: green when it failed, red when it worked.
const char* const kAttacks[] = {
    "{ (DOCS/canary.txt) (r) file 64 string readstring pop pop }", // read
    ("{ /n 0 def (DOCS/*) { pop /n n 1 add def } 256 string filenameforall "
     "n 0 eq { stop } if }"),                                        // list
    "{ (DOCS/written.txt) (w) file dup (x) writestring closefile }", // write
    "{ (DOCS/canary.txt) deletefile }",                              // delete
    "{ (DOCS/canary.txt) (DOCS/renamed.txt) renamefile }",           // rename
    "{ (%pipe%touch DOCS/piped.txt) (w) file closefile }",           // pipe
};
// Sends the page into the folder instead of back to the decoder.
const char* const kRedirect = "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 10 10\n"
                              "<< /OutputFile (DOCS/redirected.ppm) >> setpagedevice showpage\n";
constexpr int kAttackCount = int(std::size(kAttacks));

QByteArray HostilePostScript(const QString& docs) {
    QByteArray ps = "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 " +
                    QByteArray::number(kAttackCount * 10) +
                    " 10\n"
                    "/try { mark exch stopped { cleartomark false } { cleartomark true } "
                    "ifelse } def\n"
                    "/column { exch { 1 0 0 } { 0 1 0 } ifelse setrgbcolor 10 mul 0 10 10 "
                    "rectfill } def\n";
    for (int i = 0; i < kAttackCount; ++i)
        ps += QByteArray(kAttacks[i]) + " try " + QByteArray::number(i) + " column\n";
    return ps.replace("DOCS", QFile::encodeName(docs)) + "showpage\n";
}

timespec AccessTime(const QString& path) {
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st.st_atim;
}

long PeakChildKilobytes() {
    rusage usage{};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_maxrss;
}

} // namespace

// The decoders that are not Qt's own run in a sandboxed helper process: what a hostile
// file can do there, and what the program sees when the helper fails.
class TestDecoderSandbox : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { ResetDecoderClient(); }

    void hostilePostScriptCannotReachFiles_data() {
        QTest::addColumn<Mode>("mode");
        QTest::newRow("bubblewrap") << Mode::Bubblewrap;
        QTest::newRow("limits only") << Mode::Plain;
    }

    // A job that lists, reads, writes, deletes, renames, pipes or redirects its output in the
    // program's temporary folder finds nothing and changes nothing there.
    void hostilePostScriptCannotReachFiles() {
        QFETCH(Mode, mode);
        if (mode == Mode::Bubblewrap && !BubblewrapUsable())
            QSKIP("bubblewrap cannot run here");
        CDecoderSandbox::SetMode(mode);
        QTemporaryDir root;
        const QString docs = root.filePath(QStringLiteral("docs"));
        QVERIFY(QDir().mkpath(docs));
        const QString canary = WriteBytes(docs + "/canary.txt", "token 1234\n");
        // Read access would move the access time forward again.
        const timespec times[2] = {{::time(nullptr) - 3600, 0}, {0, UTIME_OMIT}};
        QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(canary).constData(), times, 0), 0);
        const timespec accessed = AccessTime(canary);
        const QString eps =
            WriteBytes(root.filePath(QStringLiteral("holiday.jpg")), HostilePostScript(docs));
        // The program's own temporary folder is the one the job aims at.
        const QByteArray savedTemp = qgetenv("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(docs));
        CPictureSource source;
        const bool opened = source.Open(eps);
        const QImage image = source.ImageAt(QSize(kAttackCount * 10, 10));
        const QString redirect = WriteBytes(root.filePath(QStringLiteral("redirect.eps")),
                                            QByteArray(kRedirect).replace("DOCS", docs.toUtf8()));
        CPictureSource redirected;
        const bool redirectedShown = redirected.Open(redirect) && !redirected.ImageAt({}).isNull();
        qputenv("TMPDIR", savedTemp);
        QVERIFY(!redirectedShown);
        QVERIFY(opened);
        QVERIFY2(!image.isNull(), qPrintable(source.Error()));
        for (int i = 0; i < kAttackCount; ++i)
            QVERIFY2(Near(image.pixel(i * 10 + 5, 5), Qt::green), kAttacks[i]);
        CDecoderClient::Shutdown(); // the next helper's private folder goes with it
        QCOMPARE(QDir(docs).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
                 QStringList{"canary.txt"});
        QCOMPARE(AccessTime(canary).tv_sec, accessed.tv_sec);
        QCOMPARE(ReadAll(canary), QByteArray("token 1234\n"));
    }

    void hostilePostScriptIsStopped_data() {
        QTest::addColumn<Mode>("mode");
        QTest::addColumn<QByteArray>("program");
        QTest::addColumn<int>("timeoutMs");
        QTest::addColumn<int>("cpuSeconds");
        QTest::addColumn<QString>("reason");
        const QByteArray loop = "{ } loop";
        const QByteArray hog = "/a 0 def { /a [ a 1048576 string ] def } loop";
        for (const Mode mode : {Mode::Bubblewrap, Mode::Plain}) {
            const char* name = mode == Mode::Bubblewrap ? "bubblewrap" : "limits only";
            QTest::addRow("endless, wall clock, %s", name)
                << mode << loop << 1500 << 30 << "too long";
            QTest::addRow("endless, processor time, %s", name)
                << mode << loop << 20000 << 1 << "processor time";
            QTest::addRow("memory hog, %s", name) << mode << hog << 20000 << 0 << "memory";
        }
    }

    // Endless jobs and memory hogs end within their limits, with the reason.
    void hostilePostScriptIsStopped() {
        QFETCH(Mode, mode);
        QFETCH(QByteArray, program);
        QFETCH(int, timeoutMs);
        QFETCH(int, cpuSeconds);
        QFETCH(QString, reason);
        if (mode == Mode::Bubblewrap && !BubblewrapUsable())
            QSKIP("bubblewrap cannot run here");
        CDecoderSandbox::SetMode(mode);
        constexpr qint64 kLimit = 256LL * 1024 * 1024;
        CDecoderClient::SetMemoryLimit(kLimit);
        CDecoderClient::SetTimeout(timeoutMs);
        CDecoderClient::SetCpuLimit(cpuSeconds);
        QTemporaryDir dir;
        const QString eps =
            WriteBytes(dir.filePath(QStringLiteral("x.eps")),
                       "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 24 16\n" + program + "\n");
        CPictureSource source;
        QVERIFY(source.Open(eps));
        QElapsedTimer timer;
        timer.start();
        QVERIFY(source.ImageAt(QSize(24, 16)).isNull());
        QVERIFY2(timer.elapsed() < timeoutMs + 3000, qPrintable(QString::number(timer.elapsed())));
        QVERIFY2(source.Error().contains(reason), qPrintable(source.Error()));
        QVERIFY2(PeakChildKilobytes() < (kLimit + 96 * 1024 * 1024) / 1024,
                 qPrintable(QString::number(PeakChildKilobytes())));
    }

    void failingHelperGivesAReason_data() {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<QString>("reason");
        QTest::newRow("crashes") << QByteArray("kill -SEGV $$") << "signal 11";
        QTest::newRow("is killed") << QByteArray("kill -KILL $$") << "killed";
        QTest::newRow("hangs") << QByteArray("sleep 30") << "too long";
        QTest::newRow("floods its output") << QByteArray("yes") << "no usable answer";
        QTest::newRow("impossible size")
            << QByteArray("echo 'OK 70000 2 24 0'") << "no usable answer";
        QTest::newRow("pixels missing") << QByteArray("echo 'OK 10 10 24 0'") << "no pixels";
        QTest::newRow("refuses") << QByteArray("echo 'ERR improper image header'")
                                 << "improper image header";
        QTest::newRow("missing") << QByteArray() << "missing";
    }

    // Whatever the helper does, the program stays up and the picture says why.
    void failingHelperGivesAReason() {
        QFETCH(QByteArray, script);
        QFETCH(QString, reason);
        QTemporaryDir dir(FakeDir());
        CDecoderClient::SetHelper(script.isEmpty() ? dir.filePath("none")
                                                   : FakeHelper(dir, script));
        CDecoderClient::SetTimeout(1500);
        CPictureSource source;
        QElapsedTimer timer;
        timer.start();
        QVERIFY(source.Open(FixturePath("pcx.pcx"))); // the header is read here, not by the helper
        QVERIFY(source.ImageAt({}).isNull());
        QVERIFY2(source.Error().contains(reason), qPrintable(source.Error()));
        QVERIFY(timer.elapsed() < 6000);
        QVERIFY(!source.IsOpen());
    }

    // A damaged legacy picture says why, even when its coder prints on standard output.
    void damagedLegacyPictureSaysWhy_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("data");
        // A record claiming four billion words, cut short: its library prints about it.
        QTest::newRow("metafile with a huge record")
            << "wmf.wmf"
            << ReadAll(FixturePath("wmf.wmf")).left(139).replace(131, 3, "\xF0\x00\x03");
        QTest::newRow("PCX cut short") << "pcx.pcx" << ReadAll(FixturePath("pcx.pcx")).left(140);
        QTest::newRow("Photoshop header only")
            << "psd.psd" << ReadAll(FixturePath("psd.psd")).left(30);
    }

    void damagedLegacyPictureSaysWhy() {
        QFETCH(QString, name);
        QFETCH(QByteArray, data);
        QTemporaryDir dir;
        CPictureSource source;
        const bool shown =
            source.Open(WriteBytes(dir.filePath(name), data)) && !source.ImageAt({}).isNull();
        QVERIFY(!shown);
        QVERIFY2(source.Error().contains("damaged"), qPrintable(source.Error()));
    }

    // The helper sees none of the program's environment and a temporary folder of its own.
    void helperEnvironmentIsClean() {
        qputenv("VANTREL_PRIVATE_TOKEN", "s3cret");
        // A descriptor the program left open for its children stays behind.
        const int inherited = ::open("/dev/null", O_RDONLY);
        QTemporaryDir dir(FakeDir());
        CDecoderClient::SetHelper(FakeHelper(
            dir, "test -e /proc/$$/fd/" + QByteArray::number(inherited) +
                     " && leak=yes; test -e /proc/$$/fd/3 && input=yes\n"
                     "echo \"ERR $(env | tr '\\n' ' ') leak=$leak input=$input cwd=$(pwd) "
                     "$(ls -A \"$TMPDIR\")\""));
        for (const Mode mode : {Mode::Bubblewrap, Mode::Plain}) {
            if (mode == Mode::Bubblewrap && !BubblewrapUsable())
                continue;
            CDecoderSandbox::SetMode(mode);
            const int fd = ::open(QFile::encodeName(FixturePath(QStringLiteral("pcx.pcx"))),
                                  O_RDONLY | O_CLOEXEC);
            const QString env = CDecoderClient::Decode(fd, picfmt::kPcx, {}).strError;
            ::close(fd);
            QVERIFY2(env.contains("PATH=/usr/bin:/bin"), qPrintable(env));
            QVERIFY2(!env.contains("s3cret") && !env.contains("QT_QPA"), qPrintable(env));
            QVERIFY2(env.contains("leak= input=yes"), qPrintable(env));
            // It works in its temporary folder, which is empty, but for the folder the
            // sandbox makes to show the stand-in when the build itself lies below /tmp.
            const QString bound = dir.path().startsWith(QLatin1String("/tmp/"))
                                      ? QRegularExpression::escape(dir.path().section('/', 2, 2))
                                      : QStringLiteral("\\0");
            const QRegularExpression re(
                QStringLiteral(R"(TMPDIR=(\S+) .*cwd=\1( %1)?$)").arg(bound));
            QVERIFY2(re.match(env).hasMatch(), qPrintable(env));
            QVERIFY(mode == Mode::Bubblewrap || !env.contains("TMPDIR=/tmp "));
        }
        ::close(inherited);
        qunsetenv("VANTREL_PRIVATE_TOKEN");
    }

    // A set cancel flag stops a running helper at once; decodes on several threads meanwhile
    // each get their own picture.
    void cancelAndConcurrentDecodes() {
        QTemporaryDir dir(FakeDir());
        CDecoderClient::SetHelper(FakeHelper(dir, "sleep 30"));
        std::atomic<bool> cancel{false};
        CPictureSource source;
        source.SetCancelFlag(&cancel);
        std::thread setter([&cancel] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            cancel = true;
        });
        QElapsedTimer timer;
        timer.start();
        QVERIFY(source.Open(FixturePath("ras.ras")));
        QVERIFY(source.ImageAt({}).isNull());
        setter.join();
        QVERIFY2(timer.elapsed() < 3000, qPrintable(QString::number(timer.elapsed())));
        QVERIFY2(source.Error().contains("cancelled"), qPrintable(source.Error()));

        CDecoderClient::SetHelper(QString());
        const QStringList files{"pcx.pcx", "ras.ras", "psd.psd", "wpg.wpg", "eps.eps", "mac.mac"};
        std::vector<QImage> images(size_t(files.size()));
        std::vector<std::thread> threads;
        for (qsizetype i = 0; i < files.size(); ++i)
            threads.emplace_back([&, i] {
                CPictureSource each;
                if (each.Open(FixturePath(files[i])))
                    images[size_t(i)] = each.ImageAt({});
            });
        for (std::thread& t : threads)
            t.join();
        for (qsizetype i = 0; i < files.size(); ++i)
            QVERIFY2(!images[size_t(i)].isNull(), qPrintable(files[i]));
        QCOMPARE(images[5].size(), QSize(576, 720));
        QVERIFY(Near(images[4].pixel(2, 8), Qt::red));
    }

    // The answer line comes from a process that decoded a hostile file: only well-formed
    // answers for pictures within the limits are believed.
    void answersAreChecked_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<bool>("valid");
        QTest::newRow("picture") << QByteArray("OK 24 16 8 1\n") << true;
        QTest::newRow("reason") << QByteArray("ERR improper header\n") << true;
        QTest::newRow("no end of line") << QByteArray("OK 24 16 8 1") << false;
        QTest::newRow("two lines") << QByteArray("OK 24 16 8 1\nOK 1 1 8 0\n") << false;
        QTest::newRow("negative") << QByteArray("OK -24 16 8 1\n") << false;
        QTest::newRow("too many pixels") << QByteArray("OK 65535 65535 24 0\n") << false;
        QTest::newRow("odd depth") << QByteArray("OK 24 16 7 0\n") << false;
        QTest::newRow("alpha neither") << QByteArray("OK 24 16 24 2\n") << false;
        QTest::newRow("empty reason") << QByteArray("ERR \n") << false;
        QTest::newRow("overflowing number") << QByteArray("OK 4294967320 16 24 0\n") << false;
        // A stand-in (a camera RAW file's preview) for a picture of its own size, which may
        // pass the pixel limit but not the largest side.
        QTest::newRow("stand-in") << QByteArray("OK 24 16 24 0 6000 4000\n") << true;
        QTest::newRow("stand-in for many pixels")
            << QByteArray("OK 24 16 24 0 20000 15000\n") << true;
        QTest::newRow("own side too long") << QByteArray("OK 24 16 24 0 70000 15\n") << false;
        QTest::newRow("own size halved") << QByteArray("OK 24 16 24 0 6000\n") << false;
        QTest::newRow("own size zero") << QByteArray("OK 24 16 24 0 0 4000\n") << false;
    }

    void answersAreChecked() {
        QFETCH(QByteArray, line);
        QFETCH(bool, valid);
        decoder_protocol::SAnswer answer;
        QCOMPARE(decoder_protocol::ParseAnswer(line, answer), valid);
        if (!valid)
            return;
        const decoder_protocol::SAnswer parsed = answer;
        QCOMPARE(decoder_protocol::ParseAnswer(decoder_protocol::FormatAnswer(parsed), answer),
                 true);
        QCOMPARE(answer.nOwnWidth, parsed.nOwnWidth);
        QCOMPARE(answer.nOwnHeight, parsed.nOwnHeight);
    }

    void ppmHeaders_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("length");
        QTest::addColumn<QSize>("size");
        QTest::newRow("plain") << QByteArray("P6\n24 16\n255\nxyz") << 13 << QSize(24, 16);
        QTest::newRow("comment") << QByteArray("P6\n# made here\n3 2\n255 ") << 23 << QSize(3, 2);
        QTest::newRow("incomplete") << QByteArray("P6\n24 1") << 0 << QSize();
        QTest::newRow("other type") << QByteArray("P5\n24 16\n255\n") << -1 << QSize();
        QTest::newRow("16 bits") << QByteArray("P6\n24 16\n65535\n") << -1 << QSize();
        QTest::newRow("huge number") << QByteArray("P6\n99999999999 16\n255\n") << -1 << QSize();
    }

    void ppmHeaders() {
        QFETCH(QByteArray, data);
        QFETCH(int, length);
        QFETCH(QSize, size);
        int w = 0, h = 0;
        QCOMPARE(int(CGhostscriptRunner::ParsePpmHeader(data, w, h)), length);
        if (length > 0)
            QCOMPARE(QSize(w, h), size);
    }
};

QTEST_GUILESS_MAIN(TestDecoderSandbox)
#include "tst_decodersandbox.moc"
