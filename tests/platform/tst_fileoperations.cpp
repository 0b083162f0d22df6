// Where every byte ends up when a move or copy meets a fault.
#include "platform/CFileCopier.h"
#include "platform/CFileOperations.h"
#include "platform/CNativePath.h"
#include "platform/CNoReplaceRename.h"
#include "tests/support/ScriptedFileOpUi.h"
#include "tests/support/TestSupport.h"
#include "tests/support/TmpfsMount.h"

#include <QtTest>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

using Choice = CFileOpUi::ConflictChoice;
using Outcome = CFileOpResult::Outcome;
using Names = QList<QByteArray>;

namespace {
QByteArray Join(const QByteArray& dir, const QByteArray& name) {
    return CNativePath::Join(dir, name);
}
bool Exists(const QByteArray& path) {
    struct stat st {};
    return ::lstat(path.constData(), &st) == 0;
}
struct timespec MTime(const QByteArray& path) {
    struct stat st {};
    ::stat(path.constData(), &st);
    return st.st_mtim;
}
} // namespace

class TestFileOperations : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<QTemporaryDir> m_tmp;
    QByteArray m_src, m_dst, m_trash;
    ScriptedFileOpUi m_ui;

    // A picture of `size` bytes in the source folder; returns its content.
    QByteArray Picture(const QByteArray& name, qint64 size = 5000, int seed = 1) {
        const QByteArray data = Pattern(size, seed);
        if (!WriteBytes(Join(m_src, name), data))
            qFatal("cannot write a test picture");
        return data;
    }

private Q_SLOTS:
    void init();
    void cleanup();
    void refusedDestinationsLeaveEverything();
    void readOnlyDestination();
    void sameFileIsRefused();
    void vanishedSourceIsReported();
    void nameTakenSkip();
    void nameTakenKeepBoth();
    void nameTakenReplaceTrashesTheOldFile();
    void sameDeviceMoveAndCopy();
    void crossDeviceMove_data();
    void crossDeviceMove();
    void crossDeviceFullDestination_data();
    void crossDeviceFullDestination();
    void sourceInReadOnlyFolderIsRolledBack();
    void cancelMidCopyRemovesThePartialCopy();
    void zeroBytePicture();
    void invalidUtf8Names();
    void renameNeverReplaces();
    void everyRenameMethodRefusesToReplace();
};

void TestFileOperations::init() {
    m_tmp = std::make_unique<QTemporaryDir>();
    const QByteArray root = QFile::encodeName(m_tmp->path());
    m_src = Join(root, "src");
    m_dst = Join(root, "dst");
    ::mkdir(m_src.constData(), 0755);
    ::mkdir(m_dst.constData(), 0755);
    qputenv("XDG_DATA_HOME", Join(root, "data"));
    m_trash = Join(root, "data/Trash");
    m_ui = ScriptedFileOpUi();
}

void TestFileOperations::cleanup() {
    RemoveTree(QFile::encodeName(m_tmp->path()));
}

void TestFileOperations::refusedDestinationsLeaveEverything() {
    const QByteArray data = Picture("a.jpg");
    CFileOperations ops(m_ui);
    WriteBytes(Join(m_dst, "note.txt"), "text");
    const QByteArray missing = Join(m_dst, "nowhere");
    for (const QByteArray& dest : {missing, Join(m_dst, "note.txt"), QByteArray()}) {
        QCOMPARE(ops.Move(Join(m_src, "a.jpg"), dest).outcome, Outcome::Failed);
        QCOMPARE(ops.Copy(Join(m_src, "a.jpg"), dest).outcome, Outcome::Failed);
    }
    QCOMPARE(ReadBytes(Join(m_src, "a.jpg")), data);
    QCOMPARE(ListDir(m_dst), Names{"note.txt"});
    QCOMPARE(ReadBytes(Join(m_dst, "note.txt")), QByteArray("text"));
    // Each message names the file, the destination and the system's reason.
    QCOMPARE(m_ui.errors.size(), 6);
    QVERIFY(m_ui.errors[0].contains(QString::fromUtf8(Join(m_src, "a.jpg"))));
    QVERIFY(m_ui.errors[0].contains(QString::fromUtf8(missing)));
    QVERIFY(m_ui.errors[0].contains(qt_error_string(ENOENT)));
    QVERIFY(m_ui.errors[2].contains(qt_error_string(ENOTDIR)));
    QVERIFY(m_ui.errors[4].contains("no destination folder"));
}

void TestFileOperations::readOnlyDestination() {
    TmpfsMount ro(1 << 20, true);
    REQUIRE_MOUNT(ro);
    const QByteArray data = Picture("a.jpg");
    CFileOperations ops(m_ui);
    QCOMPARE(ops.Move(Join(m_src, "a.jpg"), ro.Path()).outcome, Outcome::Failed);
    QCOMPARE(ops.Copy(Join(m_src, "a.jpg"), ro.Path()).outcome, Outcome::Failed);
    QCOMPARE(ReadBytes(Join(m_src, "a.jpg")), data);
    QCOMPARE(ListDir(ro.Path()), Names{});
    QVERIFY(m_ui.errors.value(0).contains(qt_error_string(EROFS)));
}

void TestFileOperations::sameFileIsRefused() {
    const QByteArray data = Picture("a.jpg");
    CFileOperations ops(m_ui);
    QCOMPARE(ops.Move(Join(m_src, "a.jpg"), m_src).outcome, Outcome::Failed);
    QCOMPARE(ops.Copy(Join(m_src, "a.jpg"), m_src + "/").outcome, Outcome::Failed);
    // A hard link of the picture under the same name in the destination is the same file too.
    QCOMPARE(::link(Join(m_src, "a.jpg").constData(), Join(m_dst, "a.jpg").constData()), 0);
    QCOMPARE(ops.Move(Join(m_src, "a.jpg"), m_dst).outcome, Outcome::Failed);
    QCOMPARE(ReadBytes(Join(m_src, "a.jpg")), data);
    QCOMPARE(ReadBytes(Join(m_dst, "a.jpg")), data);
    QVERIFY(m_ui.asked.isEmpty());
    QCOMPARE(m_ui.errors.size(), 3);
    QVERIFY(m_ui.errors[0].contains("same file"));
}

void TestFileOperations::vanishedSourceIsReported() {
    CFileOperations ops(m_ui);
    const CFileOpResult r = ops.Move(Join(m_src, "gone.jpg"), m_dst);
    QCOMPARE(r.outcome, Outcome::Failed);
    QVERIFY(r.error.contains("gone.jpg") && r.error.contains(qt_error_string(ENOENT)));
    QCOMPARE(ops.Copy(Join(m_src, "gone.jpg"), m_dst).outcome, Outcome::Failed);
    QCOMPARE(ListDir(m_dst), Names{});
}

void TestFileOperations::nameTakenSkip() {
    const QByteArray data = Picture("a.jpg", 5000);
    const QByteArray old = Pattern(700, 2);
    WriteBytes(Join(m_dst, "a.jpg"), old);
    CFileOperations ops(m_ui);
    QCOMPARE(ops.Move(Join(m_src, "a.jpg"), m_dst).outcome, Outcome::Skipped);
    QCOMPARE(ops.Copy(Join(m_src, "a.jpg"), m_dst).outcome, Outcome::Skipped);
    QCOMPARE(ReadBytes(Join(m_src, "a.jpg")), data);
    QCOMPARE(ReadBytes(Join(m_dst, "a.jpg")), old);
    QCOMPARE(ListDir(m_dst), Names{"a.jpg"});
    QVERIFY(m_ui.errors.isEmpty());
    // The question showed both files' sizes and dates.
    QCOMPARE(m_ui.asked.size(), 4);
    QCOMPARE(m_ui.asked[0].size, 5000);
    QCOMPARE(m_ui.asked[1].size, 700);
    QVERIFY(m_ui.asked[1].modified.isValid());
}

void TestFileOperations::nameTakenKeepBoth() {
    const QByteArray first = Picture("a.jpg", 5000, 1);
    const QByteArray old = Pattern(700, 2);
    WriteBytes(Join(m_dst, "a.jpg"), old);
    CFileOperations ops(m_ui);
    m_ui.answers = {Choice::KeepBoth, Choice::KeepBoth};
    CFileOpResult r = ops.Move(Join(m_src, "a.jpg"), m_dst);
    QCOMPARE(r.outcome, Outcome::Done);
    QCOMPARE(r.target, Join(m_dst, "a (1).jpg"));
    const QByteArray second = Picture("a.jpg", 3000, 3);
    r = ops.Copy(Join(m_src, "a.jpg"), m_dst);
    QCOMPARE(r.target, Join(m_dst, "a (2).jpg"));
    QCOMPARE(ListDir(m_dst), (Names{"a (1).jpg", "a (2).jpg", "a.jpg"}));
    QCOMPARE(ReadBytes(Join(m_dst, "a.jpg")), old);
    QCOMPARE(ReadBytes(Join(m_dst, "a (1).jpg")), first);
    QCOMPARE(ReadBytes(Join(m_dst, "a (2).jpg")), second);
    QCOMPARE(ReadBytes(Join(m_src, "a.jpg")), second);
}

void TestFileOperations::nameTakenReplaceTrashesTheOldFile() {
    const QByteArray data = Picture("a.jpg");
    const QByteArray old = Pattern(700, 2);
    WriteBytes(Join(m_dst, "a.jpg"), old);
    CFileOperations ops(m_ui);
    m_ui.answers = {Choice::Replace};
    QCOMPARE(ops.Move(Join(m_src, "a.jpg"), m_dst).outcome, Outcome::Done);
    QCOMPARE(ListDir(m_src), Names{});
    QCOMPARE(ReadBytes(Join(m_dst, "a.jpg")), data);
    QCOMPARE(ReadBytes(Join(m_trash, "files/a.jpg")), old);
    QVERIFY(Exists(Join(m_trash, "info/a.jpg.trashinfo")));

    // Across devices the old file goes to the trash of its own device.
    TmpfsMount other;
    REQUIRE_MOUNT(other);
    const QByteArray older = Pattern(900, 4);
    WriteBytes(Join(other.Path(), "a.jpg"), older);
    m_ui.answers = {Choice::Replace};
    QCOMPARE(ops.Copy(Join(m_dst, "a.jpg"), other.Path()).outcome, Outcome::Done);
    QCOMPARE(ReadBytes(Join(other.Path(), "a.jpg")), data);
    QCOMPARE(
        ReadBytes(Join(other.Path(), ".Trash-" + QByteArray::number(getuid()) + "/files/a.jpg")),
        older);
    QCOMPARE(ReadBytes(Join(m_dst, "a.jpg")), data);
}

void TestFileOperations::sameDeviceMoveAndCopy() {
    const QByteArray data = Picture("a.jpg");
    const struct timespec mtime = {1234567890, 0};
    const struct timespec times[2] = {mtime, mtime};
    ::utimensat(AT_FDCWD, Join(m_src, "a.jpg").constData(), times, 0);
    CFileOperations ops(m_ui);
    CFileOpResult r = ops.Copy(Join(m_src, "a.jpg"), m_dst);
    QCOMPARE(r.outcome, Outcome::Done);
    QCOMPARE(ReadBytes(Join(m_src, "a.jpg")), data);
    QCOMPARE(ReadBytes(r.target), data);
    QCOMPARE(MTime(r.target).tv_sec, mtime.tv_sec);
    QCOMPARE(ListDir(m_dst), Names{"a.jpg"}); // no temporary left over

    QVERIFY(::unlink(r.target.constData()) == 0);
    r = ops.Move(Join(m_src, "a.jpg"), m_dst + "/");
    QCOMPARE(r.outcome, Outcome::Done);
    QCOMPARE(r.target, Join(m_dst, "a.jpg"));
    QCOMPARE(ListDir(m_src), Names{});
    QCOMPARE(ReadBytes(r.target), data);
    QVERIFY(m_ui.waits.size() == 1); // the move was a rename, with nothing to wait for
    QVERIFY(m_ui.errors.isEmpty());
}

void TestFileOperations::crossDeviceMove_data() {
    QTest::addColumn<bool>("bNamedTemp");
    QTest::newRow("unnamed temporary") << false;
    QTest::newRow("named temporary") << true;
}

void TestFileOperations::crossDeviceMove() {
    QFETCH(bool, bNamedTemp);
    TmpfsMount other;
    REQUIRE_MOUNT(other);
    const QByteArray data = Picture("a.jpg", 300000);
    ::chmod(Join(m_src, "a.jpg").constData(), 0640);
    const struct timespec times[2] = {{1000000000, 0}, {1234567890, 500}};
    ::utimensat(AT_FDCWD, Join(m_src, "a.jpg").constData(), times, 0);
    CFileOperations ops(m_ui);
    ops.PreferNamedTemp(bNamedTemp);
    ops.SetChunkSize(65536);
    const CFileOpResult r = ops.Move(Join(m_src, "a.jpg"), other.Path());
    QCOMPARE(r.outcome, Outcome::Done);
    QCOMPARE(ListDir(other.Path()), Names{"a.jpg"});
    QCOMPARE(ReadBytes(r.target), data);
    QCOMPARE(ListDir(m_src), Names{});
    QCOMPARE(MTime(r.target).tv_sec, times[1].tv_sec);
    QCOMPARE(MTime(r.target).tv_nsec, times[1].tv_nsec);
    struct stat st {};
    ::stat(r.target.constData(), &st);
    QCOMPARE(st.st_mode & 07777, 0640u);
    QCOMPARE(m_ui.waits.size(), 1);
    QVERIFY(m_ui.waits[0].contains("Moving \"a.jpg\""));
}

void TestFileOperations::crossDeviceFullDestination_data() {
    crossDeviceMove_data();
}

void TestFileOperations::crossDeviceFullDestination() {
    QFETCH(bool, bNamedTemp);
    TmpfsMount small(64 * 1024);
    REQUIRE_MOUNT(small);
    WriteBytes(Join(small.Path(), "keep.jpg"), Pattern(8000, 5));
    const QByteArray data = Picture("big.jpg", 200000);
    CFileOperations ops(m_ui);
    ops.PreferNamedTemp(bNamedTemp);
    QCOMPARE(ops.Move(Join(m_src, "big.jpg"), small.Path()).outcome, Outcome::Failed);
    QCOMPARE(ops.Copy(Join(m_src, "big.jpg"), small.Path()).outcome, Outcome::Failed);
    QCOMPARE(ReadBytes(Join(m_src, "big.jpg")), data);
    QCOMPARE(ListDir(small.Path()), Names{"keep.jpg"});
    QCOMPARE(ReadBytes(Join(small.Path(), "keep.jpg")), Pattern(8000, 5));
    QVERIFY(m_ui.errors.value(0).contains(qt_error_string(ENOSPC)));
}

// Decided: a move whose source cannot be removed takes its verified copy back, so that no
// second copy is silently left behind; the user is told, the picture stays where it was.
void TestFileOperations::sourceInReadOnlyFolderIsRolledBack() {
    TmpfsMount source;
    REQUIRE_MOUNT(source);
    const QByteArray data = Pattern(40000);
    QVERIFY(WriteBytes(Join(source.Path(), "a.jpg"), data));
    QVERIFY2(source.MakeReadOnly(), qPrintable(source.Error()));
    CFileOperations ops(m_ui);
    QCOMPARE(ops.Move(Join(source.Path(), "a.jpg"), m_dst).outcome, Outcome::Failed);
    QCOMPARE(ReadBytes(Join(source.Path(), "a.jpg")), data);
    QCOMPARE(ListDir(m_dst), Names{});
    QVERIFY(m_ui.errors.value(0).contains("taken back"));
    QVERIFY(m_ui.errors.value(0).contains(qt_error_string(EROFS)));
    // Copying from there is fine.
    QCOMPARE(ops.Copy(Join(source.Path(), "a.jpg"), m_dst).outcome, Outcome::Done);
    QCOMPARE(ReadBytes(Join(m_dst, "a.jpg")), data);
}

void TestFileOperations::cancelMidCopyRemovesThePartialCopy() {
    TmpfsMount other(64 << 20);
    REQUIRE_MOUNT(other);
    const QByteArray data = Picture("big.jpg", 32 << 20);
    CFileOperations ops(m_ui);
    ops.SetChunkSize(256 * 1024);
    m_ui.bCancelEveryCopy = true;
    for (bool bNamed : {false, true}) {
        ops.PreferNamedTemp(bNamed);
        QCOMPARE(ops.Move(Join(m_src, "big.jpg"), other.Path()).outcome, Outcome::Cancelled);
        QCOMPARE(ops.Copy(Join(m_src, "big.jpg"), m_dst).outcome, Outcome::Cancelled);
    }
    QCOMPARE(ListDir(other.Path()), Names{});
    QCOMPARE(ListDir(m_dst), Names{});
    QCOMPARE(ReadBytes(Join(m_src, "big.jpg")), data);
    QVERIFY(m_ui.errors.isEmpty());

    // The copier itself, stopped after its first chunk.
    CFileCopier copier(Join(m_src, "big.jpg"), other.Path());
    copier.PreferNamedTemp(true);
    copier.SetChunkSize(1 << 20);
    qint64 seen = 0;
    QCOMPARE(copier.Prepare([&seen](qint64 done, qint64) { return (seen = done) == 0; }),
             ECANCELED);
    QCOMPARE(seen, 1 << 20);
    QCOMPARE(ListDir(other.Path()), Names{});
}

// A zero-byte file is a file like any other: moved when it moves, kept when it does not.
void TestFileOperations::zeroBytePicture() {
    TmpfsMount other;
    REQUIRE_MOUNT(other);
    Picture("empty.jpg", 0);
    CFileOperations ops(m_ui);
    QCOMPARE(ops.Move(Join(m_src, "empty.jpg"), Join(m_dst, "missing")).outcome, Outcome::Failed);
    QVERIFY(Exists(Join(m_src, "empty.jpg")));
    QCOMPARE(ops.Copy(Join(m_src, "empty.jpg"), other.Path()).outcome, Outcome::Done);
    QCOMPARE(ReadBytes(Join(other.Path(), "empty.jpg")), QByteArray(""));
    QCOMPARE(::unlink(Join(other.Path(), "empty.jpg").constData()), 0);
    QCOMPARE(ops.Move(Join(m_src, "empty.jpg"), other.Path()).outcome, Outcome::Done);
    QCOMPARE(ListDir(m_src), Names{});
    QCOMPARE(ops.Move(Join(other.Path(), "empty.jpg"), m_dst).outcome, Outcome::Done);
    QCOMPARE(ListDir(other.Path()), Names{});
    QCOMPARE(ReadBytes(Join(m_dst, "empty.jpg")), QByteArray(""));
}

void TestFileOperations::invalidUtf8Names() {
    TmpfsMount other;
    REQUIRE_MOUNT(other);
    const QByteArray name("bild-\xff\xfe.jpg");
    const QByteArray data = Picture(name);
    CFileOperations ops(m_ui);
    QCOMPARE(ops.Move(Join(m_src, name), m_dst).target, Join(m_dst, name));
    QCOMPARE(ops.Move(Join(m_dst, name), other.Path()).target, Join(other.Path(), name));
    QCOMPARE(ops.Copy(Join(other.Path(), name), m_dst).outcome, Outcome::Done);
    m_ui.answers = {Choice::KeepBoth};
    QCOMPARE(ops.Copy(Join(other.Path(), name), m_dst).target,
             Join(m_dst, QByteArray("bild-\xff\xfe (1).jpg")));
    QCOMPARE(ListDir(m_dst), (Names{QByteArray("bild-\xff\xfe (1).jpg"), name}));
    QCOMPARE(ReadBytes(Join(m_dst, name)), data);
    QCOMPARE(ReadBytes(Join(other.Path(), name)), data);
    QCOMPARE(ops.Move(Join(m_dst, name), Join(m_dst, "nowhere")).outcome, Outcome::Failed);
    QVERIFY(m_ui.errors.value(0).contains("bild-"));
}

void TestFileOperations::renameNeverReplaces() {
    const QByteArray a = Picture("a.jpg", 100, 1);
    const QByteArray b = Picture("b.jpg", 200, 2);
    CFileOperations ops(m_ui);
    QCOMPARE(ops.Rename(Join(m_src, "a.jpg"), "b.jpg").outcome, Outcome::Failed);
    QCOMPARE(ops.Rename(Join(m_src, "a.jpg"), "../a.jpg").outcome, Outcome::Failed);
    QCOMPARE(ops.Rename(Join(m_src, "a.jpg"), "c.jpg").target, Join(m_src, "c.jpg"));
    QCOMPARE(ListDir(m_src), (Names{"b.jpg", "c.jpg"}));
    QCOMPARE(ReadBytes(Join(m_src, "b.jpg")), b);
    QCOMPARE(ReadBytes(Join(m_src, "c.jpg")), a);
    QVERIFY(m_ui.errors.value(0).contains("taken"));
}

void TestFileOperations::everyRenameMethodRefusesToReplace() {
    using Method = CNoReplaceRename::Method;
    for (Method m : {Method::RenameNoReplace, Method::LinkThenUnlink, Method::ReservedName}) {
        const QByteArray a = Picture("a.jpg", 100, 1);
        const QByteArray b = Picture("b.jpg", 200, 2);
        QCOMPARE(CNoReplaceRename::Rename(Join(m_src, "a.jpg"), Join(m_src, "b.jpg"), m), EEXIST);
        QCOMPARE(ReadBytes(Join(m_src, "a.jpg")), a);
        QCOMPARE(ReadBytes(Join(m_src, "b.jpg")), b);
        QCOMPARE(CNoReplaceRename::Rename(Join(m_src, "a.jpg"), Join(m_dst, "a.jpg"), m), 0);
        QCOMPARE(ListDir(m_src), Names{"b.jpg"});
        QCOMPARE(ReadBytes(Join(m_dst, "a.jpg")), a);
        QCOMPARE(CNoReplaceRename::Rename(Join(m_src, "x.jpg"), Join(m_dst, "x.jpg"), m), ENOENT);
        QCOMPARE(ListDir(m_dst), Names{"a.jpg"});
        QCOMPARE(::unlink(Join(m_dst, "a.jpg").constData()), 0);
    }
}

QTEST_MAIN(TestFileOperations)
#include "tst_fileoperations.moc"
