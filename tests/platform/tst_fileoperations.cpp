// Where every byte ends up when a move or copy meets a fault.
#include "platform/files/CFileCopier.h"
#include "platform/files/CNoReplaceRename.h"
#include "tests/support/FileOpTestBase.h"
#include "tests/support/TmpfsMount.h"

#include <QElapsedTimer>
#include <QtTest>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

using Choice = CFileOpUi::ConflictChoice;
using Outcome = CFileOpResult::Outcome;
using Names = QList<QByteArray>;

namespace {
struct timespec MTime(const QByteArray& path) {
    struct stat st {};
    ::stat(path.constData(), &st);
    return st.st_mtim;
}

// Bytes the file takes on its disk.
qint64 Allocated(const QByteArray& path) {
    struct stat st {};
    return ::stat(path.constData(), &st) == 0 ? qint64(st.st_blocks) * 512 : -1;
}

// Makes a named pipe, a socket or a device node; false when that is not possible here.
bool MakeSpecial(const QByteArray& path, const QByteArray& kind) {
    if (kind == "pipe")
        return ::mkfifo(path.constData(), 0644) == 0;
    if (kind == "device")
        return ::mknod(path.constData(), S_IFCHR | 0644, makedev(1, 3)) == 0;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (fd < 0 || size_t(path.size()) >= sizeof(address.sun_path))
        return false;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    const bool bBound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
    ::close(fd);
    return bBound;
}
} // namespace

class TestFileOperations : public FileOpTestBase {
    Q_OBJECT
private Q_SLOTS:
    void init() { Reset(); }

    void refusedDestinationsAndVanishedSource() {
        const QByteArray a = src + "/a.jpg", data = Picture(a);
        const QByteArray note = dst + "/note.txt", missing = dst + "/nowhere";
        WriteBytes(note, "text");
        for (const QByteArray& dest : {missing, note, QByteArray()}) {
            QCOMPARE(ops->Move(a, dest).outcome, Outcome::Failed);
            QCOMPARE(ops->Copy(a, dest).outcome, Outcome::Failed);
        }
        QCOMPARE(ReadBytes(a), data);
        QCOMPARE(ListDir(dst), Names{"note.txt"});
        QCOMPARE(ReadBytes(note), QByteArray("text"));
        // Each message names the file, the destination and the system's reason.
        QCOMPARE(ui.errors.size(), 6);
        QVERIFY(ui.errors[0].contains(QString::fromUtf8(a)));
        QVERIFY(ui.errors[0].contains(QString::fromUtf8(missing)));
        QVERIFY(ui.errors[0].contains(qt_error_string(ENOENT)));
        QVERIFY(ui.errors[2].contains(qt_error_string(ENOTDIR)));
        QVERIFY(ui.errors[4].contains("no destination folder"));

        // A source taken away before the click.
        const CFileOpResult r = ops->Move(src + "/gone.jpg", dst);
        QCOMPARE(r.outcome, Outcome::Failed);
        QVERIFY(r.error.contains("gone.jpg") && r.error.contains(qt_error_string(ENOENT)));
        QCOMPARE(ops->Copy(src + "/gone.jpg", dst).outcome, Outcome::Failed);
        QCOMPARE(ListDir(dst), Names{"note.txt"});
    }

    void sameFileIsRefused() {
        const QByteArray a = src + "/a.jpg", data = Picture(a);
        QCOMPARE(ops->Move(a, src).outcome, Outcome::Failed);
        QCOMPARE(ops->Copy(a, src + "/").outcome, Outcome::Failed);
        // A hard link of the picture under the same name in the destination is the same file too.
        QCOMPARE(::link(a.constData(), (dst + "/a.jpg").constData()), 0);
        QCOMPARE(ops->Move(a, dst).outcome, Outcome::Failed);
        QCOMPARE(ReadBytes(a), data);
        QCOMPARE(ReadBytes(dst + "/a.jpg"), data);
        QVERIFY(ui.asked.isEmpty());
        QCOMPARE(ui.errors.size(), 3);
        QVERIFY(ui.errors[0].contains("same file"));
    }

    // A link moved or copied onto the file it leads to would replace the only copy with a
    // link to itself: the two names are one file, refused without a question.
    void linkOntoItsOwnTargetIsTheSameFile() {
        TmpfsMount other;
        REQUIRE_MOUNT(other);
        for (const QByteArray& to : {dst, other.Path()}) {
            const QByteArray target = to + "/x.jpg", data = Picture(target);
            const QByteArray link = src + "/x.jpg";
            QCOMPARE(::symlink(target.constData(), link.constData()), 0);
            ui.answers = {Choice::Replace, Choice::Replace, Choice::KeepBoth};
            QCOMPARE(ops->Move(link, to).outcome, Outcome::Failed);
            QCOMPARE(ops->Copy(link, to).outcome, Outcome::Failed);
            // The other way round: the file moved onto a link that leads to it.
            QCOMPARE(ops->Move(target, src).outcome, Outcome::Failed);
            QVERIFY(ui.asked.isEmpty());
            QCOMPARE(ReadBytes(target), data);
            QCOMPARE(ReadBytes(link), data);
            QCOMPARE(ListDir(to), Names{"x.jpg"});
            QVERIFY(!Exists(trash));
            QCOMPARE(ui.errors.size(), 3);
            for (const QString& error : ui.errors)
                QVERIFY2(error.contains("same file"), qPrintable(error));
            ui.errors.clear();
            ::unlink(link.constData());
            ::unlink(target.constData());
        }
    }

    // A pipe, socket or device named like a picture is refused at once with its name; a
    // link to one likewise. Opening a pipe would otherwise wait for a writer for ever.
    void onlyOrdinaryFilesAreTaken_data() {
        QTest::addColumn<QByteArray>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("named pipe") << QByteArray("pipe") << "named pipe";
        QTest::newRow("socket") << QByteArray("socket") << "socket";
        QTest::newRow("device") << QByteArray("device") << "device";
    }

    void onlyOrdinaryFilesAreTaken() {
        QFETCH(QByteArray, kind);
        QFETCH(QString, reason);
        TmpfsMount other;
        REQUIRE_MOUNT(other);
        const QByteArray odd = src + "/odd.jpg", link = src + "/link.jpg";
        if (!MakeSpecial(odd, kind))
            QSKIP("this kind of file cannot be made here");
        QCOMPARE(::symlink(odd.constData(), link.constData()), 0);
        QElapsedTimer timer;
        timer.start();
        for (const QByteArray& name : {odd, link}) {
            QCOMPARE(ops->Move(name, other.Path()).outcome, Outcome::Failed);
            QCOMPARE(ops->Copy(name, dst).outcome, Outcome::Failed);
            QCOMPARE(ops->Move(name, dst).outcome, Outcome::Failed);
        }
        QCOMPARE(ops->Delete(odd, true).outcome, Outcome::Failed);
        QVERIFY(timer.elapsed() < 5000);
        QCOMPARE(ui.errors.size(), 7);
        for (const QString& error : ui.errors)
            QVERIFY2(error.contains(reason) || error.contains("not an ordinary file"),
                     qPrintable(error));
        QVERIFY(ui.errors[0].contains("odd.jpg") && ui.errors[3].contains("link.jpg"));
        QVERIFY(ui.waits.isEmpty());
        QCOMPARE(ListDir(src), (Names{"link.jpg", "odd.jpg"}));
        QCOMPARE(ListDir(dst) + ListDir(other.Path()), Names{});

        // The copier itself judges the opened descriptor, and never waits on a pipe.
        if (kind != "socket") {
            CFileCopier copier(odd, dst);
            QCOMPARE(copier.Prepare(), CFileCopier::kNotAFile);
            QCOMPARE(ListDir(dst), Names{});
        }
    }

    // A 255-byte name, the most a file system takes, still gets a numbered name beside it:
    // the stem is shortened, the extension and the number are kept.
    void keepBothWithTheLongestName() {
        const QByteArray name = QByteArray(251, 'n') + ".jpg";
        const QByteArray data = Picture(src + "/" + name), old = Picture(dst + "/" + name, 70, 2);
        ui.answers = {Choice::KeepBoth, Choice::KeepBoth};
        const CFileOpResult r = ops->Copy(src + "/" + name, dst);
        QCOMPARE(r.outcome, Outcome::Done);
        const QByteArray numbered = QByteArray(247, 'n') + " (1).jpg";
        QCOMPARE(r.target, dst + "/" + numbered);
        QCOMPARE(ops->Move(src + "/" + name, dst).target,
                 dst + "/" + QByteArray(247, 'n') + " (2).jpg");
        QCOMPARE(ReadBytes(dst + "/" + numbered), data);
        QCOMPARE(ReadBytes(dst + "/" + name), old);
        QCOMPARE(ListDir(dst).size(), 3);
        QVERIFY(ui.errors.isEmpty());
    }

    // A sparse file keeps its holes when it is moved to another device.
    void sparseFileKeepsItsHoles() {
        TmpfsMount from(64 << 20), to(64 << 20);
        REQUIRE_MOUNT(from);
        REQUIRE_MOUNT(to);
        const QByteArray a = from.Path() + "/sparse.tif";
        const qint64 size = 48 << 20;
        const int fd = ::open(a.constData(), O_CREAT | O_WRONLY, 0644);
        QVERIFY(fd >= 0);
        const QByteArray start = Pattern(5000, 1), middle = Pattern(70000, 2), end("end");
        QCOMPARE(::pwrite(fd, start.constData(), start.size(), 0), start.size());
        QCOMPARE(::pwrite(fd, middle.constData(), middle.size(), 20 << 20), middle.size());
        QCOMPARE(::pwrite(fd, end.constData(), end.size(), size - 3), end.size());
        // And a hole at the end: a file may end in one.
        QCOMPARE(::ftruncate(fd, size + (1 << 20)), 0);
        ::close(fd);
        const QByteArray data = ReadBytes(a);
        QVERIFY(Allocated(a) < (1 << 20));
        ops->SetChunkSize(16384);
        const CFileOpResult r = ops->Move(a, to.Path());
        QCOMPARE(r.outcome, Outcome::Done);
        QCOMPARE(ReadBytes(r.target), data);
        QVERIFY2(Allocated(r.target) < (1 << 20), qPrintable(QString::number(Allocated(r.target))));
        QCOMPARE(ListDir(from.Path()), Names{});
    }

    // A name taken at the destination: the new picture (5000 bytes) ends up at `newAt`
    // (nowhere when skipped), the old one (700 bytes) stays or goes to the trash.
    void nameTaken_data() {
        QTest::addColumn<bool>("bCopy");
        QTest::addColumn<int>("choice");
        QTest::addColumn<QByteArray>("newAt");
        QTest::newRow("move, skip") << false << int(Choice::Skip) << QByteArray();
        QTest::newRow("copy, skip") << true << int(Choice::Skip) << QByteArray();
        QTest::newRow("move, keep both")
            << false << int(Choice::KeepBoth) << QByteArray("a (1).jpg");
        // With "a (1).jpg" taken as well, the next number is used.
        QTest::newRow("copy, keep both")
            << true << int(Choice::KeepBoth) << QByteArray("a (2).jpg");
        QTest::newRow("move, replace") << false << int(Choice::Replace) << QByteArray("a.jpg");
        QTest::newRow("copy, replace") << true << int(Choice::Replace) << QByteArray("a.jpg");
    }

    void nameTaken() {
        QFETCH(bool, bCopy);
        QFETCH(int, choice);
        QFETCH(QByteArray, newAt);
        const QByteArray a = src + "/a.jpg", data = Picture(a);
        const QByteArray old = Picture(dst + "/a.jpg", 700, 2);
        if (newAt == "a (2).jpg")
            Picture(dst + "/a (1).jpg", 10, 3);
        const qsizetype before = ListDir(dst).size();
        ui.answers = {Choice(choice)};
        const CFileOpResult r = bCopy ? ops->Copy(a, dst) : ops->Move(a, dst);
        QCOMPARE(r.outcome, newAt.isEmpty() ? Outcome::Skipped : Outcome::Done);
        QCOMPARE(ListDir(dst).size(), before + (newAt.startsWith("a (") ? 1 : 0));
        QCOMPARE(ListDir(src), bCopy || newAt.isEmpty() ? Names{"a.jpg"} : Names{});
        if (!newAt.isEmpty())
            QCOMPARE(ReadBytes(dst + "/" + newAt), data);
        // Replacing sends the old file to the trash; nothing else touches it.
        const bool bReplaced = newAt == "a.jpg";
        QCOMPARE(ReadBytes(bReplaced ? trash + "/files/a.jpg" : dst + "/a.jpg"), old);
        QCOMPARE(Exists(trash + "/info/a.jpg.trashinfo"), bReplaced);
        // The question showed both files' sizes and dates.
        QCOMPARE(ui.asked.size(), 2);
        QCOMPARE(ui.asked[0].size, 5000);
        QCOMPARE(ui.asked[1].size, 700);
        QVERIFY(ui.asked[1].modified.isValid());
        QVERIFY(ui.errors.isEmpty());
    }

    // Across devices the replaced file goes to the trash of its own device.
    void replaceOnAnotherDeviceUsesThatDevicesTrash() {
        TmpfsMount other;
        REQUIRE_MOUNT(other);
        const QByteArray data = Picture(src + "/a.jpg"),
                         older = Picture(other.Path() + "/a.jpg", 900, 4);
        ui.answers = {Choice::Replace};
        QCOMPARE(ops->Copy(src + "/a.jpg", other.Path()).outcome, Outcome::Done);
        QCOMPARE(ReadBytes(other.Path() + "/a.jpg"), data);
        const QByteArray otherTrash = other.Path() + "/.Trash-" + QByteArray::number(getuid());
        QCOMPARE(ReadBytes(otherTrash + "/files/a.jpg"), older);
        QCOMPARE(ReadBytes(src + "/a.jpg"), data);
        QVERIFY(!Exists(trash));
    }

    // A copy, then a move, keeps the picture's bytes, its time to the nanosecond and its
    // permissions, and leaves no temporary behind; on one device the move is a rename.
    void moveAndCopyKeepEverything_data() {
        QTest::addColumn<bool>("bOtherDevice");
        QTest::addColumn<bool>("bNamedTemp");
        QTest::newRow("same device") << false << false;
        QTest::newRow("other device, unnamed temporary") << true << false;
        QTest::newRow("other device, named temporary") << true << true;
    }

    void moveAndCopyKeepEverything() {
        QFETCH(bool, bOtherDevice);
        QFETCH(bool, bNamedTemp);
        TmpfsMount other;
        if (bOtherDevice)
            REQUIRE_MOUNT(other);
        const QByteArray to = bOtherDevice ? other.Path() : dst;
        const QByteArray a = src + "/a.jpg", data = Picture(a, 300000);
        ::chmod(a.constData(), 0640);
        const struct timespec times[2] = {{1000000000, 0}, {1234567890, 500}};
        ::utimensat(AT_FDCWD, a.constData(), times, 0);
        ops->PreferNamedTemp(bNamedTemp);
        ops->SetChunkSize(65536);
        const auto expectKept = [&](const QByteArray& path) {
            QCOMPARE(path, to + "/a.jpg");
            QCOMPARE(ReadBytes(path), data);
            QCOMPARE(MTime(path).tv_sec, times[1].tv_sec);
            QCOMPARE(MTime(path).tv_nsec, times[1].tv_nsec);
            struct stat st {};
            ::stat(path.constData(), &st);
            QCOMPARE(st.st_mode & 07777, 0640u);
            QCOMPARE(ListDir(to), Names{"a.jpg"});
        };
        CFileOpResult r = ops->Copy(a, to);
        QCOMPARE(r.outcome, Outcome::Done);
        QCOMPARE(ReadBytes(a), data);
        expectKept(r.target);
        QVERIFY(::unlink(r.target.constData()) == 0);
        r = ops->Move(a, to + "/");
        QCOMPARE(r.outcome, Outcome::Done);
        QCOMPARE(ListDir(src), Names{});
        expectKept(r.target);
        QCOMPARE(ui.waits.size(), bOtherDevice ? 2 : 1);
        QVERIFY(!bOtherDevice || ui.waits[1].contains("Moving \"a.jpg\""));
        QVERIFY(ui.errors.isEmpty());
    }

    // A destination that cannot take the picture (read-only, or too full for it with either
    // kind of temporary) is left as it was; the picture stays and the reason is told.
    void unusualPicturesMoveLikeAnyOther_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("numbered");
        QTest::addColumn<int>("size");
        QTest::newRow("zero bytes") << QByteArray("empty.jpg") << QByteArray("empty (1).jpg") << 0;
        QTest::newRow("invalid UTF-8")
            << QByteArray("bild-\xff\xfe.jpg") << QByteArray("bild-\xff\xfe (1).jpg") << 5000;
    }

    void unusualPicturesMoveLikeAnyOther() {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, numbered);
        QFETCH(int, size);
        TmpfsMount other;
        REQUIRE_MOUNT(other);
        const QByteArray data = Picture(src + "/" + name, size);
        QCOMPARE(ops->Move(src + "/" + name, dst + "/missing").outcome, Outcome::Failed);
        QVERIFY(ui.errors.value(0).contains(QString::fromUtf8(name.left(5))));
        QCOMPARE(ListDir(src), Names{name});
        QCOMPARE(ops->Move(src + "/" + name, dst).target, dst + "/" + name);
        QCOMPARE(ops->Move(dst + "/" + name, other.Path()).target, other.Path() + "/" + name);
        QCOMPARE(ListDir(src) + ListDir(dst), Names{});
        QCOMPARE(ops->Copy(other.Path() + "/" + name, dst).outcome, Outcome::Done);
        ui.answers = {Choice::KeepBoth};
        QCOMPARE(ops->Copy(other.Path() + "/" + name, dst).target, dst + "/" + numbered);
        QCOMPARE(ListDir(dst), (Names{numbered, name}));
        QCOMPARE(ListDir(other.Path()), Names{name});
        for (const QByteArray& path : {dst + "/" + name, dst + "/" + numbered})
            QCOMPARE(ReadBytes(path), ReadBytes(other.Path() + "/" + name));
        QCOMPARE(ReadBytes(dst + "/" + name), data);
    }

    void renamesNeverReplace() {
        const QByteArray a = Picture(src + "/a.jpg", 100, 1), b = Picture(src + "/b.jpg", 200, 2);
        QCOMPARE(ops->Rename(src + "/a.jpg", "b.jpg").outcome, Outcome::Failed);
        QVERIFY(ui.errors.value(0).contains("taken"));
        QCOMPARE(ops->Rename(src + "/a.jpg", "../a.jpg").outcome, Outcome::Failed);
        QCOMPARE(ops->Rename(src + "/a.jpg", "c.jpg").target, src + "/c.jpg");
        QCOMPARE(ListDir(src), (Names{"b.jpg", "c.jpg"}));
        QCOMPARE(ReadBytes(src + "/b.jpg"), b);
        QCOMPARE(ReadBytes(src + "/c.jpg"), a);

        // Each way of renaming without replacing, as the file system allows.
        using Method = CNoReplaceRename::Method;
        for (Method m : {Method::RenameNoReplace, Method::LinkThenUnlink, Method::ReservedName}) {
            QCOMPARE(CNoReplaceRename::Rename(src + "/c.jpg", src + "/b.jpg", m), EEXIST);
            QCOMPARE(ReadBytes(src + "/c.jpg"), a);
            QCOMPARE(ReadBytes(src + "/b.jpg"), b);
            QCOMPARE(CNoReplaceRename::Rename(src + "/c.jpg", dst + "/c.jpg", m), 0);
            QCOMPARE(ListDir(src), Names{"b.jpg"});
            QCOMPARE(ReadBytes(dst + "/c.jpg"), a);
            QCOMPARE(CNoReplaceRename::Rename(src + "/x.jpg", dst + "/x.jpg", m), ENOENT);
            QCOMPARE(ListDir(dst), Names{"c.jpg"});
            QCOMPARE(::rename((dst + "/c.jpg").constData(), (src + "/c.jpg").constData()), 0);
        }
    }
};

QTEST_MAIN(TestFileOperations)
#include "tst_fileoperations.moc"
