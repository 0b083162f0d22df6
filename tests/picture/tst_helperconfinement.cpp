#include "picture/format/PictureFormat.h"
#include "picture/sandbox/CDateBatch.h"
#include "picture/sandbox/CDecoderClient.h"
#include "picture/sandbox/CDecoderSandbox.h"
#include "picture/sandbox/SealedCopy.h"
#include "tests/picture/PictureTestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QThread>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace pictest;
using Mode = CDecoderSandbox::EMode;
Q_DECLARE_METATYPE(CDecoderSandbox::EMode)

namespace {

const QString kCanaryDir = QStringLiteral(VANTREL_CANARY_DIR);

mode_t FileMode(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

// What the user has: a picture being decoded and a file beside it.
struct SDesk {
    QString strPicture = kCanaryDir + QStringLiteral("/holiday.pcx");
    QString strCanary = kCanaryDir + QStringLiteral("/canary.txt");
    QByteArray picture = ReadAll(FixturePath(QStringLiteral("pcx.pcx")));
    QByteArray canary = "the only copy\n";

    // A picture too large to be copied for the helper: it gets the file's own descriptor.
    void MakeLarge() { picture += QByteArray(9 * 1024 * 1024, '\x5a'); }

    bool Lay() const {
        QDir(kCanaryDir).removeRecursively();
        return QDir().mkpath(kCanaryDir) && !WriteBytes(strPicture, picture).isEmpty() &&
               !WriteBytes(strCanary, canary).isEmpty() &&
               ::chmod(QFile::encodeName(strCanary).constData(), 0600) == 0;
    }
    // Laid, with the hostile stand-in as the helper in `mode`.
    bool LayForStandIn(Mode mode) const {
        CDecoderSandbox::SetMode(mode);
        CDecoderClient::SetHelper(QStringLiteral(VANTREL_HOSTILE_DECODER));
        return Lay();
    }
    // Everything as it was: the same bytes, the same mode, nothing added.
    bool Untouched() const {
        const QStringList names = QDir(kCanaryDir).entryList(QDir::Files | QDir::NoDotAndDotDot);
        return ReadAll(strPicture) == picture && ReadAll(strCanary) == canary &&
               FileMode(strCanary) == 0600 &&
               names == QStringList({QStringLiteral("canary.txt"), QStringLiteral("holiday.pcx")});
    }
};

// Decodes the desk's picture the way the program does: the worker holds the file open for
// reading and hands it to the client.
CDecoderClient::SResult DecodeOpen(const QString& path, int format, QSize size = {24, 16}) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {};
    const CDecoderClient::SResult result = CDecoderClient::Decode(fd, format, size);
    ::close(fd);
    return result;
}

// The attacks the stand-in reports as having worked.
QStringList Worked(const QString& report) {
    QStringList worked;
    for (const QString& attack : report.split(QLatin1Char(' ')))
        if (attack.endsWith(QLatin1String("=ok")))
            worked << attack.chopped(3);
    return worked;
}

// What the stand-in found around it: "name=value" besides the attacks.
QMap<QString, QString> Facts(const QString& report) {
    QMap<QString, QString> facts;
    for (const QString& fact : report.split(QLatin1Char(' '))) {
        const qsizetype equals = fact.indexOf(QLatin1Char('='));
        if (equals > 0 && !fact.endsWith(QLatin1String("=ok")) &&
            !fact.endsWith(QLatin1String("=denied")))
            facts.insert(fact.left(equals), fact.mid(equals + 1));
    }
    return facts;
}

QString OwnNamespace(const QString& kind) {
    return QFile::symLinkTarget(QStringLiteral("/proc/self/ns/") + kind).section('/', -1);
}

// The stand-in's processes still running, wherever they were started.
int StandInsRunning() {
    const QString standIn = QFileInfo(QStringLiteral(VANTREL_HOSTILE_DECODER)).canonicalFilePath();
    int running = 0;
    for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs))
        if (pid.toInt() > 0 && QFile::symLinkTarget("/proc/" + pid + "/exe") == standIn)
            ++running;
    return running;
}

} // namespace

// The decoder helper decodes hostile files: whatever a file makes it do, the user's files
// stay as they were, with or without bubblewrap, and it never decodes unconfined.
class TestHelperConfinement : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() {
        ResetDecoderClient();
        QDir(kCanaryDir).removeRecursively();
    }

    void takenOverHelperChangesNothing_data() {
        QTest::addColumn<Mode>("mode");
        QTest::addColumn<QString>("helper");
        QTest::addColumn<int>("format");
        QTest::addColumn<QStringList>("harmless"); // attacks a layer may leave open
        QTest::addColumn<bool>("large");
        const QString hostile = QStringLiteral(VANTREL_HOSTILE_DECODER);
        const QString oldKernel = QStringLiteral(VANTREL_NO_LANDLOCK_HOSTILE);
        for (const auto& [name, format] :
             {std::pair{"PCX", picfmt::kPcx}, std::pair{"PostScript", picfmt::kEps},
              std::pair{"RAW", picfmt::kRaw}}) {
            for (const bool large : {false, true}) {
                const char* size = large ? "large" : "small";
                QTest::addRow("%s %s, bubblewrap", size, name)
                    << Mode::Bubblewrap << hostile << format << QStringList() << large;
                QTest::addRow("%s %s, no bubblewrap", size, name)
                    << Mode::Plain << hostile << format << QStringList() << large;
            }
            // Without Landlock the filter still stops every write, creation and connection;
            // reading stays possible, and Ghostscript's helper may still ask after a process.
            QStringList reads{QStringLiteral("read-canary"), QStringLiteral("read-passwd"),
                              QStringLiteral("list-canary-dir")};
            if (format == picfmt::kEps)
                reads << QStringLiteral("signal-parent");
            QTest::addRow("small %s, no bubblewrap, no Landlock", name)
                << Mode::Plain << oldKernel << format << reads << false;
            QTest::addRow("large %s, no bubblewrap, no Landlock", name)
                << Mode::Plain << oldKernel << format << reads << true;
        }
    }

    // A helper that a picture has taken over tries to write back through its descriptor
    // (write, ftruncate, reopening /proc/self/fd: a sealed copy for a small picture, the
    // file's own read-only descriptor for a large one), through the program's descriptors in
    // /proc/<parent>/fd, and by name; to create, rename and remove files; to connect and to
    // signal. None of it reaches the user's files.
    void takenOverHelperChangesNothing() {
        QFETCH(Mode, mode);
        QFETCH(QString, helper);
        QFETCH(int, format);
        QFETCH(QStringList, harmless);
        QFETCH(bool, large);
        if (mode == Mode::Bubblewrap && !BubblewrapUsable())
            QSKIP("bubblewrap cannot run here");
        SDesk desk;
        if (large)
            desk.MakeLarge();
        QVERIFY(desk.Lay());
        CDecoderSandbox::SetMode(mode);
        CDecoderClient::SetHelper(helper);
        const CDecoderClient::SResult result = DecodeOpen(desk.strPicture, format);
        QVERIFY2(result.strError.startsWith(QLatin1String("attacks:")),
                 qPrintable(result.strError));
        QStringList worked = Worked(result.strError);
        for (const QString& attack : harmless)
            worked.removeAll(attack);
        QVERIFY2(worked.isEmpty(), qPrintable(result.strError));
        QVERIFY(desk.Untouched());
    }

    void takenOverDatesRunChangesNothing_data() {
        QTest::addColumn<Mode>("mode");
        QTest::addColumn<bool>("large");
        for (const bool large : {false, true}) {
            QTest::addRow("%s, bubblewrap", large ? "large" : "small") << Mode::Bubblewrap << large;
            QTest::addRow("%s, no bubblewrap", large ? "large" : "small") << Mode::Plain << large;
        }
    }

    // A helper taken over while it reads the dates of a batch tries the same on each file of
    // the batch: a sealed copy of a small picture, the read-only descriptor of a large one.
    // None of it works, and its answer is refused.
    void takenOverDatesRunChangesNothing() {
        QFETCH(Mode, mode);
        QFETCH(bool, large);
        if (mode == Mode::Bubblewrap && !BubblewrapUsable())
            QSKIP("bubblewrap cannot run here");
        SDesk desk;
        if (large)
            desk.MakeLarge();
        QVERIFY(desk.LayForStandIn(mode));
        const int fd = ::open(QFile::encodeName(desk.strPicture).constData(), O_RDONLY | O_CLOEXEC);
        QVERIFY(fd >= 0);
        const int handed = large ? fd : sealed_copy::OfFile(fd);
        const CDecoderClient::SRun run = CDecoderClient::RunOnFiles(
            {handed, handed}, {"--task", "dates", "--formats", "83,83"}, nullptr);
        QVERIFY2(run.answer.startsWith("ERR attacks:"), run.answer.constData());
        QVERIFY2(Worked(QString::fromUtf8(run.answer.trimmed())).isEmpty(), run.answer.constData());
        const int refusals = CDateBatch::Refusals();
        const QList<QDateTime> dates = CDateBatch::Read({{fd, picfmt::kRaw}});
        if (handed != fd)
            ::close(handed);
        ::close(fd);
        QCOMPARE(dates, QList<QDateTime>(1));
        QCOMPARE(CDateBatch::Refusals(), refusals + 1);
        QVERIFY(desk.Untouched());
    }

    void sandboxHasNamespacesOfItsOwn_data() {
        QTest::addColumn<int>("format");
        QTest::newRow("PCX") << picfmt::kPcx;
        QTest::newRow("PostScript") << picfmt::kEps;
        QTest::newRow("RAW") << picfmt::kRaw;
    }

    // Inside bubblewrap the helper has a network of its own with nothing but loopback, sees
    // none of the machine's processes, and has its own mounts, host name and IPC.
    void sandboxHasNamespacesOfItsOwn() {
        QFETCH(int, format);
        if (!BubblewrapUsable())
            QSKIP("bubblewrap cannot run here");
        SDesk desk;
        QVERIFY(desk.Lay());
        CDecoderSandbox::SetMode(Mode::Bubblewrap);
        CDecoderClient::SetHelper(QStringLiteral(VANTREL_HOSTILE_DECODER));
        const CDecoderClient::SResult result = DecodeOpen(desk.strPicture, format);
        const QMap<QString, QString> facts = Facts(result.strError);
        for (const QString kind : {"net", "pid", "ipc", "uts", "mnt"}) {
            QVERIFY2(facts.value(kind).startsWith(kind + ":["), qPrintable(result.strError));
            QVERIFY2(facts.value(kind) != OwnNamespace(kind), qPrintable(kind + " is shared"));
        }
        QCOMPARE(facts.value(QStringLiteral("interfaces")), QStringLiteral("lo"));
    }

    void limitsHoldForEveryType_data() {
        QTest::addColumn<Mode>("mode");
        QTest::addColumn<int>("format");
        for (const auto& [name, format] :
             {std::pair{"PCX", picfmt::kPcx}, std::pair{"PostScript", picfmt::kEps},
              std::pair{"RAW", picfmt::kRaw}}) {
            QTest::addRow("%s, bubblewrap", name) << Mode::Bubblewrap << format;
            QTest::addRow("%s, no bubblewrap", name) << Mode::Plain << format;
        }
    }

    // The helper runs under the processor-time and address-space limits set, whatever it
    // decodes (the address-space limit is left out under the address sanitizer, whose shadow
    // memory needs far more).
    void limitsHoldForEveryType() {
        QFETCH(Mode, mode);
        QFETCH(int, format);
        if (mode == Mode::Bubblewrap && !BubblewrapUsable())
            QSKIP("bubblewrap cannot run here");
        SDesk desk;
        QVERIFY(desk.LayForStandIn(mode));
        constexpr qint64 kMemory = 768LL * 1024 * 1024;
        CDecoderClient::SetMemoryLimit(kMemory);
        CDecoderClient::SetCpuLimit(7);
        const CDecoderClient::SResult result = DecodeOpen(desk.strPicture, format);
        const QMap<QString, QString> facts = Facts(result.strError);
        QCOMPARE(facts.value(QStringLiteral("cpu")), QStringLiteral("7"));
#ifndef __SANITIZE_ADDRESS__
        QCOMPARE(facts.value(QStringLiteral("memory")), QString::number(kMemory));
#endif
    }

    void endlessHelperIsStopped_data() {
        QTest::addColumn<Mode>("mode");
        QTest::addColumn<QSize>("size"); // 1 x 1: spins, 2 x 2: sleeps
        QTest::addColumn<QString>("reason");
        for (const Mode mode : {Mode::Bubblewrap, Mode::Plain}) {
            const char* name = mode == Mode::Bubblewrap ? "bubblewrap" : "no bubblewrap";
            QTest::addRow("spinning, %s", name) << mode << QSize(1, 1) << "processor time";
            QTest::addRow("sleeping, %s", name) << mode << QSize(2, 2) << "too long";
        }
    }

    // A helper that never ends is stopped by the processor-time limit or the wall clock, and
    // is gone afterwards, inside the sandbox too.
    void endlessHelperIsStopped() {
        QFETCH(Mode, mode);
        QFETCH(QSize, size);
        QFETCH(QString, reason);
        if (mode == Mode::Bubblewrap && !BubblewrapUsable())
            QSKIP("bubblewrap cannot run here");
        SDesk desk;
        QVERIFY(desk.LayForStandIn(mode));
        CDecoderClient::SetCpuLimit(1);
        CDecoderClient::SetTimeout(size == QSize(1, 1) ? 60000 : 1500);
        const CDecoderClient::SResult result = DecodeOpen(desk.strPicture, picfmt::kPcx, size);
        QVERIFY(result.image.isNull());
        QVERIFY2(result.strError.contains(reason), qPrintable(result.strError));
        CDecoderClient::Shutdown();   // and the next one, started ahead
        while (StandInsRunning() > 0) // a survivor keeps the test waiting until it fails
            QThread::msleep(10);
        QVERIFY(desk.Untouched());
    }

    // On a kernel that offers neither seccomp nor Landlock, and without bubblewrap, the
    // helper refuses to decode and says why; the picture is shown nowhere unconfined.
    void failsClosedWithoutAnySandbox() {
        const SDesk desk;
        QVERIFY(desk.Lay());
        CDecoderSandbox::SetMode(Mode::Plain);
        CDecoderClient::SetHelper(QStringLiteral(VANTREL_NO_SANDBOX_KERNEL));
        const CDecoderClient::SResult result = DecodeOpen(desk.strPicture, picfmt::kPcx);
        QVERIFY(result.image.isNull());
        QVERIFY2(result.strError.startsWith(QLatin1String(
                     "This picture type is decoded in a sandbox, which could not be started: ")),
                 qPrintable(result.strError));
        QVERIFY(desk.Untouched());
    }

    // The confined helper still decodes every type it is there for, also where Landlock is
    // missing, and a file too large to copy is refused before the helper starts.
    void confinedHelperStillDecodes_data() {
        QTest::addColumn<Mode>("mode");
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<int>("format");
        for (const auto& [fixture, format] :
             {std::pair{"pcx.pcx", picfmt::kPcx}, std::pair{"eps.eps", picfmt::kEps},
              std::pair{"wmf.wmf", picfmt::kWmf}, std::pair{"psd.psd", picfmt::kPsd}}) {
            QTest::addRow("%s, no bubblewrap", fixture) << Mode::Plain << fixture << format;
            QTest::addRow("%s, bubblewrap", fixture) << Mode::Bubblewrap << fixture << format;
        }
    }
    void confinedHelperStillDecodes() {
        QFETCH(Mode, mode);
        QFETCH(QString, fixture);
        QFETCH(int, format);
        if (mode == Mode::Bubblewrap && !BubblewrapUsable())
            QSKIP("bubblewrap cannot run here");
        CDecoderSandbox::SetMode(mode);
        const CDecoderClient::SResult result = DecodeOpen(FixturePath(fixture), format);
        QVERIFY2(!result.image.isNull(), qPrintable(result.strError));
        QVERIFY(Near(result.image.pixel(2, 2), Qt::red));
    }

    // A camera RAW file too large to copy is read through its own descriptor, mapped, since
    // the confined helper may not reopen it by name.
    void largeRawIsReadThroughItsDescriptor_data() {
        QTest::addColumn<Mode>("mode");
        QTest::newRow("no bubblewrap") << Mode::Plain;
        QTest::newRow("bubblewrap") << Mode::Bubblewrap;
    }
    void largeRawIsReadThroughItsDescriptor() {
        QFETCH(Mode, mode);
        if (mode == Mode::Bubblewrap && !BubblewrapUsable())
            QSKIP("bubblewrap cannot run here");
        QTemporaryDir dir;
        const QByteArray dng = MakeDng(dir, QSize(2400, 1800), {});
        QVERIFY(dng.size() > 8 * 1024 * 1024);
        const QString path = WriteBytes(dir.filePath(QStringLiteral("IMG_0001.dng")), dng);
        CDecoderSandbox::SetMode(mode);
        const CDecoderClient::SResult result = DecodeOpen(path, picfmt::kRaw);
        QVERIFY2(!result.image.isNull(), qPrintable(result.strError));
        QCOMPARE(result.ownSize, QSize(2400, 1800));
        QCOMPARE(ReadAll(path), dng);
    }
};

QTEST_GUILESS_MAIN(TestHelperConfinement)
#include "tst_helperconfinement.moc"
