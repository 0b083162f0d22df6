// Undo and redo that meet trouble: a step that fails half-way is taken back whole and can be
// tried again, a file keeps its identity through renames and new names, an action that
// cannot be undone can be skipped, and a file replaced by a sort comes back with its undo.
#include "platform/files/CTrash.h"
#include "tests/sorting/UndoTestBase.h"
#include "tests/support/TmpfsMount.h"

#include <QtTest>
#include <unistd.h>

namespace {

using Names = QList<QByteArray>;
using Choice = CFileOpUi::ConflictChoice;
using State = SortRecord::State;
const QByteArray kUid = QByteArray::number(static_cast<qulonglong>(::getuid()));

} // namespace

class TestUndoRecovery : public UndoTestBase {
    Q_OBJECT

    // One action on several files, as a picture with its companions is sorted.
    void ActAll(CUndoHistory& h, Kind kind, const Names& files, const QByteArray& dest) {
        const QList<CFileOpResult> results = h.Run(
            {kind, files, dest}, [&](const QByteArray& f) { return Perform(*ops, kind, f, dest); });
        for (const CFileOpResult& r : results)
            QVERIFY2(r.Succeeded(), qPrintable(r.error));
    }

private Q_SLOTS:
    void init() { ResetAll(); }

    // An undo that fails at the picture, after its companions went back, puts them forward
    // again, so the action is whole at its destination; once the cause is gone the same
    // undo succeeds, in this run or the next.
    void failedUndoIsTakenBackWholeAndCanBeRetried_data() {
        QTest::addColumn<bool>("bOtherDevice");
        QTest::addColumn<bool>("bRestart");
        QTest::newRow("one device") << false << false;
        QTest::newRow("one device, next run") << false << true;
        QTest::newRow("across devices, next run") << true << true;
    }
    void failedUndoIsTakenBackWholeAndCanBeRetried() {
        QFETCH(bool, bOtherDevice);
        QFETCH(bool, bRestart);
        TmpfsMount other(16 << 20);
        QByteArray dest = dst;
        if (bOtherDevice) {
            REQUIRE_MOUNT(other);
            dest = other.Path();
        }
        const Names names{"a.jpg", "a.cr2", "a.xmp"};
        Names files;
        QList<QByteArray> data;
        for (int i = 0; i < names.size(); ++i) {
            files << src + "/" + names[i];
            data << Stamped(files.last(), 4000 + i, i + 1);
        }
        auto h = History();
        ActAll(*h, Kind::Move, files, dest);
        PassChangeTime(FileStamp::Of(dest + "/a.xmp"), dest);
        const QByteArray newcomer = Picture(files[0], 700, 9); // the picture cannot go back
        const CUndoHistory::Outcome failed = h->Undo(ui);
        QVERIFY(!failed.bDone);
        QVERIFY2(failed.message.contains("Nothing was changed"), qPrintable(failed.message));
        QCOMPARE(ListDir(src), Names{"a.jpg"});
        QCOMPARE(ReadBytes(files[0]), newcomer);
        for (int i = 0; i < names.size(); ++i)
            QVERIFY(Intact(dest + "/" + names[i], data[i]));
        ::unlink(files[0].constData());
        if (bRestart) {
            h.reset();
            h = History();
        }
        const CUndoHistory::Outcome out = h->Undo(ui);
        QVERIFY2(out.bDone, qPrintable(out.message));
        for (int i = 0; i < names.size(); ++i)
            QVERIFY(Intact(files[i], data[i]));
        Names left = ListDir(dest);
        left.removeIf([](const QByteArray& name) { return name.startsWith('.'); });
        QCOMPARE(left, Names{});
    }

    // What a file is does not change with its change time: a second name given to it, or a
    // mode set and set back, leave it the file that can be undone.
    void changeTimeAloneBlocksNothing_data() {
        QTest::addColumn<int>("change");
        QTest::newRow("hard link made") << 0;
        QTest::newRow("mode changed and back") << 1;
        QTest::newRow("renamed away and back") << 2;
    }
    void changeTimeAloneBlocksNothing() {
        QFETCH(int, change);
        const QByteArray a = src + "/a.jpg", moved = dst + "/a.jpg", data = Stamped(a);
        auto h = History();
        QVERIFY(Act(*h, Kind::Move, a, dst).Succeeded());
        PassChangeTime(FileStamp::Of(moved), dst);
        const QByteArray aside = root + "/aside.jpg";
        switch (change) {
        case 0:
            QVERIFY(::link(moved.constData(), aside.constData()) == 0);
            break;
        case 1:
            QVERIFY(::chmod(moved.constData(), 0600) == 0 && ::chmod(moved.constData(), 0640) == 0);
            break;
        case 2:
            QVERIFY(::rename(moved.constData(), aside.constData()) == 0);
            QVERIFY(::rename(aside.constData(), moved.constData()) == 0);
            break;
        }
        const CUndoHistory::Outcome out = h->Undo(ui);
        QVERIFY2(out.bDone, qPrintable(out.message));
        QVERIFY(Intact(a, data));
        QCOMPARE(Exists(aside), change == 0);
    }

    // An action that cannot be undone is skipped in the history; Undo and Redo then reach
    // the older ones, in this run and the next.
    void skippedActionLetsOlderOnesBeReached() {
        const QByteArray a = src + "/a.jpg", b = src + "/b.jpg";
        const QByteArray dataA = Stamped(a), dataB = Stamped(b, 3000, 2);
        auto h = History();
        QVERIFY(Act(*h, Kind::Move, a, dst).Succeeded());
        QVERIFY(Act(*h, Kind::Move, b, dst).Succeeded());
        QVERIFY(::rename((dst + "/b.jpg").constData(), (root + "/b.jpg").constData()) == 0);
        QVERIFY(!h->Undo(ui).bDone);
        QCOMPARE(h->UndoCandidate()->seq, 2u);
        QVERIFY(h->Skip(2));
        QVERIFY(!h->Skip(2)); // once
        QCOMPARE(h->UndoCandidate()->seq, 1u);
        h.reset();
        h = History();
        QCOMPARE(int(h->Records()[1].state), int(State::Skipped));
        QVERIFY(h->Undo(ui).bDone);
        QVERIFY(Intact(a, dataA));
        QVERIFY(!h->Skip(1)); // undone: nothing to skip
        QCOMPARE(h->RedoCandidate()->seq, 1u);
        QVERIFY(h->Redo(ui).bDone);
        QVERIFY(Intact(dst + "/a.jpg", dataA) && Intact(root + "/b.jpg", dataB));
    }

    // Undo of a sort that replaced a file of the same name puts both back: the picture where
    // it came from, the replaced file from the trash to its place. Redo does both again.
    void undoOfReplacePutsBothBack_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("bOtherDevice");
        QTest::newRow("move") << int(Kind::Move) << false;
        QTest::newRow("move across devices") << int(Kind::Move) << true;
        QTest::newRow("copy") << int(Kind::Copy) << false;
    }
    void undoOfReplacePutsBothBack() {
        QFETCH(int, kind);
        QFETCH(bool, bOtherDevice);
        const Kind k = Kind(kind);
        TmpfsMount other(16 << 20);
        QByteArray dest = dst, trashDir = trash;
        if (bOtherDevice) {
            REQUIRE_MOUNT(other);
            dest = other.Path();
            trashDir = dest + "/.Trash-" + kUid;
        }
        const QByteArray a = src + "/a.jpg", there = dest + "/a.jpg";
        const QByteArray picture = Stamped(a), old = Stamped(there, 3000, 2);
        auto h = History();
        ui.answers = {Choice::Replace};
        QVERIFY(Act(*h, k, a, dest).Succeeded());
        QCOMPARE(ReadBytes(there), picture);
        QCOMPARE(ListDir(trashDir + "/files").size(), 1);
        for (int round = 0; round < 2; ++round) {
            const CUndoHistory::Outcome undone = h->Undo(ui);
            QVERIFY2(undone.bDone, qPrintable(undone.message));
            QVERIFY(Intact(a, picture));
            QVERIFY(Intact(there, old));
            QVERIFY(!Files(trashDir).values().contains(old));
            if (k == Kind::Move)
                QCOMPARE(ListDir(trashDir + "/info"), Names{});
            if (round == 1)
                break;
            const CUndoHistory::Outcome redone = h->Redo(ui);
            QVERIFY2(redone.bDone, qPrintable(redone.message));
            QVERIFY(Intact(there, picture));
            QCOMPARE(Exists(a), k == Kind::Copy);
            QVERIFY(Files(trashDir).values().contains(old));
            h.reset(); // the next undo is the first of a new run
            h = History();
        }
        QVERIFY(ui.asked.size() == 2); // the one question of the sort itself
    }

    // The program ended between the two halves of an undo or redo of a Replace: the next
    // start finishes the step the way the picture went, and the replaced file follows it.
    void replaceStepCutShortIsSettledAtTheStart_data() {
        QTest::addColumn<bool>("bDuringUndo");
        QTest::newRow("undo: picture back, replaced file still in the trash") << true;
        QTest::newRow("redo: replaced file in the trash, picture not yet gone") << false;
    }
    void replaceStepCutShortIsSettledAtTheStart() {
        QFETCH(bool, bDuringUndo);
        const QByteArray a = src + "/a.jpg", there = dst + "/a.jpg";
        const QByteArray picture = Stamped(a), old = Stamped(there, 3000, 2);
        {
            auto h = History();
            ui.answers = {Choice::Replace};
            QVERIFY(Act(*h, Kind::Move, a, dst).Succeeded());
            if (!bDuringUndo)
                QVERIFY(h->Undo(ui).bDone);
            QVERIFY(h->Journal().Write(
                sort_lines::Change(1, bDuringUndo ? sort_lines::LineCode::UndoIntent
                                                  : sort_lines::LineCode::RedoIntent),
                true));
        }
        if (bDuringUndo)
            QVERIFY(::rename(there.constData(), a.constData()) == 0);
        else
            QVERIFY(CTrash::Put(there).error == 0);
        auto h = History();
        QCOMPARE(int(h->Records().first().state), int(State::Undone));
        QVERIFY(Intact(a, picture));
        QVERIFY(Intact(there, old));
        QCOMPARE(ListDir(trash + "/info"), Names{});
        QVERIFY(h->Redo(ui).bDone);
        QVERIFY(Intact(there, picture));
        QVERIFY(h->Undo(ui).bDone);
        QVERIFY(Intact(a, picture) && Intact(there, old));
    }

    // Without the replaced file (the trash was emptied) the undo would leave its place empty:
    // it is refused, nothing moves, and the action can be skipped.
    void replacedFileGoneFromTheTrash() {
        const QByteArray a = src + "/a.jpg", there = dst + "/a.jpg";
        const QByteArray picture = Stamped(a);
        Stamped(there, 3000, 2);
        auto h = History();
        ui.answers = {Choice::Replace};
        QVERIFY(Act(*h, Kind::Move, a, dst).Succeeded());
        const Names trashed = ListDir(trash + "/files");
        QCOMPARE(trashed.size(), 1);
        ::unlink((trash + "/files/" + trashed.first()).constData());
        const auto before = Files(root);
        const CUndoHistory::Outcome out = h->Undo(ui);
        QVERIFY(!out.bDone);
        QVERIFY2(out.message.contains("no longer in the trash"), qPrintable(out.message));
        QCOMPARE(Files(root), before);
        QVERIFY(Intact(there, picture));
        QVERIFY(h->Skip(h->UndoCandidate()->seq));
        QVERIFY(!h->UndoCandidate());
    }
};

QTEST_GUILESS_MAIN(TestUndoRecovery)
#include "tst_undorecovery.moc"
