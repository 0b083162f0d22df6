// A move or copy that fails part-way (a full or read-only disk, a source that cannot be
// removed, a cancel in the middle) leaves every file as it was and no partial copy behind.
#include "platform/files/CFileCopier.h"
#include "tests/support/FileOpTestBase.h"
#include "tests/support/TmpfsMount.h"

#include <QtTest>
#include <unistd.h>

using Outcome = CFileOpResult::Outcome;
using Names = QList<QByteArray>;

class TestCopyFaults : public FileOpTestBase {
    Q_OBJECT
private Q_SLOTS:
    void init() { Reset(); }

    void destinationCannotTakeIt_data() {
        QTest::addColumn<bool>("bReadOnly");
        QTest::addColumn<bool>("bNamedTemp");
        QTest::newRow("read-only") << true << false;
        QTest::newRow("full, unnamed temporary") << false << false;
        QTest::newRow("full, named temporary") << false << true;
    }

    void destinationCannotTakeIt() {
        QFETCH(bool, bReadOnly);
        QFETCH(bool, bNamedTemp);
        TmpfsMount disk(64 * 1024);
        REQUIRE_MOUNT(disk);
        const QByteArray keep = Picture(disk.Path() + "/keep.jpg", 8000, 5);
        if (bReadOnly)
            QVERIFY2(disk.MakeReadOnly(), qPrintable(disk.Error()));
        const QByteArray big = src + "/big.jpg", data = Picture(big, 200000);
        ops->PreferNamedTemp(bNamedTemp);
        QCOMPARE(ops->Move(big, disk.Path()).outcome, Outcome::Failed);
        QCOMPARE(ops->Copy(big, disk.Path()).outcome, Outcome::Failed);
        QCOMPARE(ReadBytes(big), data);
        QCOMPARE(ListDir(disk.Path()), Names{"keep.jpg"});
        QCOMPARE(ReadBytes(disk.Path() + "/keep.jpg"), keep);
        QVERIFY(ui.errors.value(0).contains(qt_error_string(bReadOnly ? EROFS : ENOSPC)));
    }

    // Decided: a move whose source cannot be removed takes its verified copy back, so that
    // no second copy is silently left behind; the user is told, the picture stays.
    void sourceInReadOnlyFolderIsRolledBack() {
        TmpfsMount source;
        REQUIRE_MOUNT(source);
        const QByteArray a = source.Path() + "/a.jpg", data = Picture(a, 40000);
        QVERIFY2(source.MakeReadOnly(), qPrintable(source.Error()));
        QCOMPARE(ops->Move(a, dst).outcome, Outcome::Failed);
        QCOMPARE(ReadBytes(a), data);
        QCOMPARE(ListDir(dst), Names{});
        QVERIFY(ui.errors.value(0).contains("taken back"));
        QVERIFY(ui.errors.value(0).contains(qt_error_string(EROFS)));
        // Copying from there is fine.
        QCOMPARE(ops->Copy(a, dst).outcome, Outcome::Done);
        QCOMPARE(ReadBytes(dst + "/a.jpg"), data);
    }

    void cancelMidCopyRemovesThePartialCopy() {
        TmpfsMount other(64 << 20);
        REQUIRE_MOUNT(other);
        const QByteArray big = src + "/big.jpg", data = Picture(big, 32 << 20);
        ops->SetChunkSize(256 * 1024);
        ui.bCancelEveryCopy = true;
        for (bool bNamed : {false, true}) {
            ops->PreferNamedTemp(bNamed);
            QCOMPARE(ops->Move(big, other.Path()).outcome, Outcome::Cancelled);
            QCOMPARE(ops->Copy(big, dst).outcome, Outcome::Cancelled);
        }
        QCOMPARE(ListDir(other.Path()), Names{});
        QCOMPARE(ListDir(dst), Names{});
        QCOMPARE(ReadBytes(big), data);
        QVERIFY(ui.errors.isEmpty());

        // The copier itself, stopped after its first chunk.
        CFileCopier copier(big, other.Path());
        copier.PreferNamedTemp(true);
        copier.SetChunkSize(1 << 20);
        qint64 seen = 0;
        QCOMPARE(copier.Prepare([&seen](qint64 done, qint64) { return (seen = done) == 0; }),
                 ECANCELED);
        QCOMPARE(seen, 1 << 20);
        QCOMPARE(ListDir(other.Path()), Names{});
    }

    // A zero-byte picture and one whose name is not UTF-8 are files like any other: each
    // moves and copies, across devices too, with its bytes and its name, and stays where it
    // is when it cannot go.
};

QTEST_MAIN(TestCopyFaults)
#include "tst_copyfaults.moc"
