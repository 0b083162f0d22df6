// A move to another file system removes the source only once the copy is on disk under its
// name: its data flushed, then its name given, then its folder flushed. A power cut at any
// moment leaves at least one whole file.
#include "platform/files/CDiskCalls.h"
#include "tests/support/FileOpTestBase.h"
#include "tests/support/TmpfsMount.h"

#include <QtTest>
#include <climits>
#include <cstdlib>
#include <unistd.h>

namespace {

// The calls as they come, each named by what it touches: "write copy", "sync copy", "name
// copy", "close copy", "sync folder" (the destination), "remove source".
class CWatchedDiskCalls : public CDiskCalls {
public:
    CWatchedDiskCalls(const QByteArray& source, const QByteArray& dest)
        : m_source(Real(source)), m_dest(Real(dest)) {}

    QStringList calls;

    ssize_t Write(int fd, const char* data, size_t size, off_t at) override {
        Note("write", What(fd));
        return CDiskCalls::Write(fd, data, size, at);
    }
    int Sync(int fd) override {
        Note("sync", What(fd));
        return CDiskCalls::Sync(fd);
    }
    int Close(int fd) override {
        Note("close", What(fd));
        return CDiskCalls::Close(fd);
    }
    int Link(int fromDir, const char* from, int toDir, const char* to, int flags) override {
        Note("name", What(toDir) == "folder" ? "copy" : "elsewhere");
        return CDiskCalls::Link(fromDir, from, toDir, to, flags);
    }
    int Rename(int fromDir, const char* from, int toDir, const char* to) override {
        Note("name", What(toDir) == "folder" ? "copy" : "elsewhere");
        return CDiskCalls::Rename(fromDir, from, toDir, to);
    }
    int Unlink(int dir, const char* name) override {
        Note("remove", Where(dir) == m_source ? "source" : "elsewhere");
        return CDiskCalls::Unlink(dir, name);
    }

private:
    static QByteArray Real(const QByteArray& path) {
        char real[PATH_MAX] = {};
        return ::realpath(path.constData(), real) ? QByteArray(real) : path;
    }
    static QByteArray Where(int fd) {
        char path[4096] = {};
        const QByteArray link = "/proc/self/fd/" + QByteArray::number(fd);
        const ssize_t n = ::readlink(link.constData(), path, sizeof path - 1);
        return n > 0 ? QByteArray(path, n) : QByteArray();
    }
    QString What(int fd) const {
        const QByteArray path = Where(fd);
        if (path == m_dest)
            return QStringLiteral("folder");
        return path.startsWith(m_dest + '/') ? QStringLiteral("copy")
                                             : QString::fromLocal8Bit(path);
    }
    void Note(const char* call, const QString& what) {
        const QString entry = QString::fromLatin1(call) + ' ' + what;
        if (calls.isEmpty() || calls.last() != entry) // a run of writes counts once
            calls << entry;
    }

    QByteArray m_source, m_dest;
};

enum class Act { Move, Copy };

} // namespace

Q_DECLARE_METATYPE(Act)

class TestDurableMove : public FileOpTestBase {
    Q_OBJECT
private Q_SLOTS:
    void init() { Reset(); }

    void sourceGoesOnlyOnceTheCopyIsOnDisk_data() {
        QTest::addColumn<Act>("act");
        QTest::addColumn<bool>("named"); // through a hidden temporary name
        QTest::addColumn<qint64>("chunk");
        QTest::newRow("move, unnamed copy") << Act::Move << false << qint64(1 << 20);
        QTest::newRow("move, hidden temporary name") << Act::Move << true << qint64(1 << 20);
        QTest::newRow("move in many chunks") << Act::Move << false << qint64(4096);
        QTest::newRow("copy, unnamed copy") << Act::Copy << false << qint64(1 << 20);
        QTest::newRow("copy, hidden temporary name") << Act::Copy << true << qint64(1 << 20);
    }

    void sourceGoesOnlyOnceTheCopyIsOnDisk() {
        QFETCH(Act, act);
        QFETCH(bool, named);
        QFETCH(qint64, chunk);
        TmpfsMount other(4 << 20);
        REQUIRE_MOUNT(other);
        const QByteArray data = Picture(src + "/IMG_0001.JPG", 100000);
        CWatchedDiskCalls watch(src, other.Path());
        ops->UseDiskCalls(watch);
        ops->PreferNamedTemp(named);
        ops->SetChunkSize(chunk);
        const CFileOpResult result = act == Act::Move
                                         ? ops->Move(src + "/IMG_0001.JPG", other.Path())
                                         : ops->Copy(src + "/IMG_0001.JPG", other.Path());
        QVERIFY2(result.Succeeded(), qPrintable(result.error));
        QCOMPARE(ReadBytes(other.Path() + "/IMG_0001.JPG"), data);
        QCOMPARE(::access((src + "/IMG_0001.JPG").constData(), F_OK) == 0, act == Act::Copy);

        const QStringList& calls = watch.calls;
        const QString seen = calls.join(QStringLiteral(", "));
        const qsizetype written = calls.lastIndexOf(QStringLiteral("write copy"));
        const qsizetype synced = calls.indexOf(QStringLiteral("sync copy"), written);
        const qsizetype nameGiven = calls.indexOf(QStringLiteral("name copy"));
        const qsizetype folderSynced = calls.indexOf(QStringLiteral("sync folder"), nameGiven);
        const qsizetype removed = calls.indexOf(QStringLiteral("remove source"));
        QVERIFY2(written >= 0, qPrintable(seen));
        QVERIFY2(synced > written, qPrintable("the data is not flushed: " + seen));
        QVERIFY2(nameGiven > synced, qPrintable("named before it is flushed: " + seen));
        QVERIFY2(folderSynced > nameGiven, qPrintable("its name is not flushed: " + seen));
        if (act == Act::Copy) {
            QVERIFY2(removed < 0, qPrintable(seen));
            return;
        }
        QVERIFY2(removed > folderSynced, qPrintable("source removed too soon: " + seen));
        QCOMPARE(calls.count(QStringLiteral("remove source")), 1);
    }
};

QTEST_GUILESS_MAIN(TestDurableMove)
#include "tst_durablemove.moc"
