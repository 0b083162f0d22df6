#include "tests/sorting/UndoTestBase.h"
#include "tests/support/TmpfsMount.h"

#include <QSignalSpy>
#include <QtTest>
#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Names = QList<QByteArray>;
using Choice = CFileOpUi::ConflictChoice;
using State = SortRecord::State;
const QByteArray kUid = QByteArray::number(static_cast<qulonglong>(::getuid()));

} // namespace

class TestUndoHistory : public UndoTestBase {
    Q_OBJECT
    static int CopiesOf(const QByteArray& dir, const QByteArray& data) {
        const auto files = Files(dir);
        return int(std::count(files.begin(), files.end(), data));
    }

private Q_SLOTS:
    void init() { ResetAll(); }

    // Each kind of action is undone and redone with every byte, its mode and its time kept,
    // on one device and across devices, and is still undone the same after a restart.
    void undoAndRedoEachKind_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("bOtherDevice");
        for (bool other : {false, true}) {
            const char* where = other ? " across devices" : " on one device";
            QTest::newRow(QByteArray("move") + where) << int(Kind::Move) << other;
            QTest::newRow(QByteArray("copy") + where) << int(Kind::Copy) << other;
            QTest::newRow(QByteArray("trash") + where) << int(Kind::Trash) << other;
        }
        QTest::newRow("rename") << int(Kind::Rename) << false;
    }
    void undoAndRedoEachKind() {
        QFETCH(int, kind);
        QFETCH(bool, bOtherDevice);
        const Kind k = Kind(kind);
        TmpfsMount other(16 << 20);
        QByteArray file = src + "/a.jpg", dest = k == Kind::Rename ? "b.jpg" : dst;
        QByteArray trashDir = trash;
        if (bOtherDevice) {
            REQUIRE_MOUNT(other);
            if (k == Kind::Trash) {
                ::mkdir(other.Path() + "/pics", 0755);
                file = other.Path() + "/pics/a.jpg";
                trashDir = other.Path() + "/.Trash-" + kUid;
            } else {
                dest = other.Path();
            }
        }
        const QByteArray data = Stamped(file);
        auto h = History();
        QVERIFY(h->IsAvailable());
        const CFileOpResult done = Act(*h, k, file, dest);
        QVERIFY(done.Succeeded());
        const QByteArray target = done.target;
        QCOMPARE(ReadBytes(target), data);
        QCOMPARE(Exists(file), k == Kind::Copy);

        for (int round = 0; round < 2; ++round) {
            const CUndoHistory::Outcome undone = h->Undo(ui);
            QVERIFY2(undone.bDone, qPrintable(undone.message));
            QCOMPARE(undone.restored, Names{file});
            QVERIFY(Intact(file, data));
            QVERIFY(!Exists(target));
            if (k == Kind::Trash) {
                QCOMPARE(ListDir(trashDir + "/files"), Names{});
                QCOMPARE(ListDir(trashDir + "/info"), Names{});
            }
            QVERIFY(!h->UndoCandidate());
            if (round == 1)
                break;
            const CUndoHistory::Outcome redone = h->Redo(ui);
            QVERIFY2(redone.bDone, qPrintable(redone.message));
            QVERIFY(!h->RedoCandidate());
            QCOMPARE(Exists(file), k == Kind::Copy);
            h.reset();     // it holds the journal until it goes
            h = History(); // the next undo is the first of a new run
            QCOMPARE(h->Records().size(), 1);
            QVERIFY(h->UndoCandidate());
        }
        const int copies = CopiesOf(root, data) + (bOtherDevice ? CopiesOf(other.Path(), data) : 0);
        QCOMPARE(copies, k == Kind::Copy ? 3 : 1); // a copy's two undos left two in the trash
        QVERIFY(ui.errors.isEmpty());
    }

    // The program is killed at each point of an action and of its undo; the next start
    // tells from the disk what happened, and the picture can always be had back, once.
    void killedAtEachPoint_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("bOtherDevice");
        QTest::addColumn<bool>("bDuringUndo");
        QTest::addColumn<int>("point");
        const QList<std::pair<const char*, std::pair<Kind, bool>>> kinds{
            {"move", {Kind::Move, false}},
            {"move across", {Kind::Move, true}},
            {"copy", {Kind::Copy, false}},
            {"trash", {Kind::Trash, false}},
            {"rename", {Kind::Rename, false}}};
        const char* points[] = {"announced", "operated", "recorded"};
        for (const auto& [name, how] : kinds)
            for (bool undo : {false, true})
                for (int p = 0; p < 3; ++p)
                    QTest::addRow("%s, %s %s", name, undo ? "undo" : "action", points[p])
                        << int(how.first) << how.second << undo << p;
    }
    void killedAtEachPoint() {
        QFETCH(int, kind);
        QFETCH(bool, bOtherDevice);
        QFETCH(bool, bDuringUndo);
        QFETCH(int, point);
        const Kind k = Kind(kind);
        TmpfsMount other(16 << 20);
        if (bOtherDevice)
            REQUIRE_MOUNT(other);
        const QByteArray file = src + "/a.jpg";
        const QByteArray dest = k == Kind::Rename ? "b.jpg" : bOtherDevice ? other.Path() : dst;
        const QByteArray data = Stamped(file);

        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            auto h = History();
            if (bDuringUndo)
                Act(*h, k, file, dest);
            h->SetTestHook([point](CUndoHistory::Point p) {
                if (int(p) == point)
                    ::raise(SIGKILL);
            });
            if (bDuringUndo)
                h->Undo(ui);
            else
                Act(*h, k, file, dest);
            ::_exit(0);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);

        auto h = History();
        QCOMPARE(h->Journal().DamagedBytes(), 0);
        QCOMPARE(h->Records().size(), 1);
        const SortRecord& r = h->Records().first();
        const bool bOperated = point > 0;
        const State expected = bDuringUndo ? (bOperated ? State::Undone : State::Done)
                                           : (bOperated ? State::Done : State::Failed);
        QCOMPARE(int(r.state), int(expected));
        const QByteArray outside = bOtherDevice ? other.Path() : root;
        const int copies = CopiesOf(root, data) + (bOtherDevice ? CopiesOf(outside, data) : 0);
        // A copy also leaves its second file, in the destination or, once undone, in the trash.
        QCOMPARE(copies, k == Kind::Copy && r.state != State::Failed ? 2 : 1);
        if (r.state == State::Done) {
            const CUndoHistory::Outcome out = h->Undo(ui);
            QVERIFY2(out.bDone, qPrintable(out.message));
        }
        QVERIFY(Intact(file, data));
        QCOMPARE(ListDir(dst), Names{});
        QCOMPARE(ListDir(src), Names{"a.jpg"});
    }

    // Half-made steps that the hooks cannot stop at: a move across devices killed between
    // the copy and the removal of the original, a trash entry whose info file was written
    // but whose file never went.
    void halfMadeStepsAreTakenBack() {
        TmpfsMount other(16 << 20);
        REQUIRE_MOUNT(other);
        const QByteArray a = src + "/a.jpg", b = src + "/b.jpg";
        const QByteArray dataA = Stamped(a), dataB = Stamped(b, 3000, 2);
        {
            CSortJournal journal(state);
            QVERIFY(journal.Open());
            SortRecord move{1, 0, Kind::Move, other.Path(), State::Intent, {}};
            move.entries.append(SortEntry::Before(a));
            SortRecord trashed{2, 0, Kind::Trash, {}, State::Intent, {}};
            trashed.entries.append(SortEntry::Before(b));
            QVERIFY(journal.Write(sort_lines::Intent(move), true));
            QVERIFY(journal.Write(sort_lines::Intent(trashed), true));
        }
        QVERIFY(ops->Copy(a, other.Path()).Succeeded());
        ::mkdir(trash, 0700);
        ::mkdir(trash + "/info", 0700);
        WriteBytes(trash + "/info/b.jpg.trashinfo", "[Trash Info]\nPath=" + b + "\n");
        auto h = History();
        QCOMPARE(int(h->Records()[0].state), int(State::Failed));
        QCOMPARE(int(h->Records()[1].state), int(State::Failed));
        QCOMPARE(ListDir(other.Path()), Names{});
        QCOMPARE(ListDir(trash + "/info"), Names{});
        QVERIFY(Intact(a, dataA) && Intact(b, dataB));
    }

    // When the old name is taken the user chooses, as for any collision.
    void undoWhenTheOldNameIsTaken_data() {
        QTest::addColumn<int>("answer");
        QTest::newRow("skip") << int(Choice::Skip);
        QTest::newRow("replace") << int(Choice::Replace);
        QTest::newRow("keep both") << int(Choice::KeepBoth);
    }
    void undoWhenTheOldNameIsTaken() {
        QFETCH(int, answer);
        const QByteArray a = src + "/a.jpg", data = Stamped(a);
        auto h = History();
        QVERIFY(Act(*h, Kind::Move, a, dst).Succeeded());
        const QByteArray newcomer = Picture(a, 700, 9);
        ui.answers = {Choice(answer)};
        const CUndoHistory::Outcome out = h->Undo(ui);
        QCOMPARE(ui.asked.size(), 2);
        switch (Choice(answer)) {
        case Choice::Skip:
            QVERIFY(!out.bDone && out.message.contains("skipped"));
            QVERIFY(Intact(dst + "/a.jpg", data));
            QCOMPARE(ReadBytes(a), newcomer);
            QCOMPARE(int(h->UndoCandidate()->state), int(State::Done));
            break;
        case Choice::Replace:
            QVERIFY(out.bDone);
            QVERIFY(Intact(a, data));
            QCOMPARE(ReadBytes(trash + "/files/a.jpg"), newcomer);
            break;
        case Choice::KeepBoth:
            QVERIFY(out.bDone);
            QCOMPARE(out.restored, Names{src + "/a (1).jpg"});
            QVERIFY(Intact(src + "/a (1).jpg", data));
            QCOMPARE(ReadBytes(a), newcomer);
            // Redo takes it from where the undo put it.
            QVERIFY(h->Redo(ui).bDone);
            QVERIFY(Intact(dst + "/a.jpg", data));
            QCOMPARE(ListDir(src), Names{"a.jpg"});
            break;
        }
        QVERIFY(ListDir(dst).size() <= 1);
    }

    // An undo that cannot be done safely changes nothing and says why; the action stays.
    void undoRefusedWhenThingsChanged_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("change");
        QTest::addColumn<QString>("why");
        QTest::newRow("copy written to") << int(Kind::Copy) << 0 << "changed";
        QTest::newRow("copy replaced") << int(Kind::Copy) << 1 << "changed";
        QTest::newRow("moved file moved on") << int(Kind::Move) << 2 << "no longer in";
        QTest::newRow("old folder gone") << int(Kind::Move) << 3 << "is gone";
        QTest::newRow("trash entry gone") << int(Kind::Trash) << 2 << "no longer in the trash";
        QTest::newRow("trash entry replaced") << int(Kind::Trash) << 1 << "no longer in the trash";
        QTest::newRow("deleted outright") << int(Kind::Delete) << -1 << "deleted outright";
    }
    void undoRefusedWhenThingsChanged() {
        QFETCH(int, kind);
        QFETCH(int, change);
        QFETCH(QString, why);
        const QByteArray a = src + "/a.jpg";
        Stamped(a);
        auto h = History();
        const QByteArray target = Act(*h, Kind(kind), a, dst).target;
        switch (change) {
        case 0:
            WriteBytes(target, Pattern(5000, 7)); // same size, new bytes
            break;
        case 1: // a file made anew under the name, with a time of its own
            ::unlink(target.constData());
            Picture(target);
            break;
        case 2:
            ::rename(target.constData(), (root + "/elsewhere.jpg").constData());
            break;
        case 3:
            ::rmdir(src.constData());
            break;
        }
        const auto before = Files(root);
        const quint64 seq = h->UndoCandidate()->seq;
        if (Kind(kind) == Kind::Trash) { // Undo is not even offered for another file's sake,
            QVERIFY(!CUndoHistory::CanBeUndone(*h->UndoCandidate())); // once the trash is
            QVERIFY(h->Trash().LooksUndoable(*h->UndoCandidate()));   // looked into
            QSignalSpy changed(h.get(), &CUndoHistory::Changed);
            h->Trash().Check(*h->UndoCandidate());
            QVERIFY(changed.wait());
            QVERIFY(!h->Trash().LooksUndoable(*h->UndoCandidate()));
        }
        const CUndoHistory::Outcome out = h->Undo(ui);
        QVERIFY(!out.bDone);
        QVERIFY2(out.message.contains(why), qPrintable(out.message));
        QCOMPARE(Files(root), before);
        QCOMPARE(h->UndoCandidate()->seq, seq);
        h.reset();
        h = History();
        QCOMPARE(int(h->Records().first().state), int(State::Done));
    }

    // Without a journal the sort goes on unrecorded and Undo says it is unavailable. (A
    // journal folder that cannot be made at all is the window test's case.)
    void noJournalWhereItCannotBeWritten_data() {
        QTest::addColumn<bool>("bFullLater");
        QTest::newRow("read-only mount") << false;
        QTest::newRow("disk full after the start") << true;
    }
    void noJournalWhereItCannotBeWritten() {
        QFETCH(bool, bFullLater);
        TmpfsMount mount(bFullLater ? 64 << 10 : 1 << 20, !bFullLater);
        REQUIRE_MOUNT(mount);
        state = mount.Path() + "/state";
        auto h = History();
        QCOMPARE(h->IsAvailable(), bFullLater);
        if (bFullLater)
            WriteBytes(mount.Path() + "/filler", Pattern(64 << 10, 3)); // fills it
        QSignalSpy performed(h.get(), &CUndoHistory::Performed);
        const QByteArray data = Stamped(src + "/a.jpg");
        QVERIFY(Act(*h, Kind::Move, src + "/a.jpg", dst).Succeeded());
        QVERIFY(Intact(dst + "/a.jpg", data));
        QCOMPARE(performed.size(), 1);
        QCOMPARE(performed[0][1].toBool(), false);
        QVERIFY(!h->IsAvailable());
        QVERIFY(!h->UnavailableReason().isEmpty());
        QVERIFY(!h->Undo(ui).bDone);
    }

    // The journal keeps the newest actions up to its limit.
    void journalIsBounded() {
        Stamped(src + "/f0");
        auto h = History(20);
        for (int i = 0; i < 30; ++i)
            QVERIFY(Act(*h, Kind::Rename, src + "/f" + QByteArray::number(i),
                        "f" + QByteArray::number(i + 1))
                        .Succeeded());
        QVERIFY(h->Records().size() <= 22);
        h.reset();
        h = History(20);
        QCOMPARE(h->Records().size(), 20);
        QCOMPARE(h->Records().first().seq, 11u);
        QCOMPARE(h->Records().last().seq, 30u);
        QVERIFY(h->Undo(ui).bDone);
        QVERIFY(Exists(src + "/f29"));
    }

    // Redo offers only what was undone since the last new action; Undo up to an action
    // goes back in order and stops where an undo is refused.
    void orderOfUndoAndRedo() {
        for (const char* name : {"/a.jpg", "/b.jpg", "/c.jpg", "/d.jpg"})
            Stamped(src + name);
        auto h = History();
        QVERIFY(Act(*h, Kind::Move, src + "/a.jpg", dst).Succeeded());
        QVERIFY(Act(*h, Kind::Move, src + "/b.jpg", dst).Succeeded());
        QVERIFY(h->Undo(ui).bDone && h->Undo(ui).bDone);
        QCOMPARE(h->RedoCandidate()->seq, 1u);
        QVERIFY(Act(*h, Kind::Move, src + "/c.jpg", dst).Succeeded());
        QVERIFY(!h->RedoCandidate());
        QVERIFY(h->Undo(ui).bDone);
        QCOMPARE(h->RedoCandidate()->seq, 3u); // not the abandoned a.jpg
        QVERIFY(h->Redo(ui).bDone);
        QCOMPARE(ListDir(dst), Names{"c.jpg"});

        QVERIFY(Act(*h, Kind::Move, src + "/a.jpg", dst).Succeeded());
        QVERIFY(Act(*h, Kind::Move, src + "/d.jpg", dst).Succeeded());
        ::unlink((dst + "/a.jpg").constData()); // a.jpg can no longer come back
        const CUndoHistory::Outcome out = h->UndoUpTo(3, ui);
        QVERIFY(!out.bDone);
        QCOMPARE(out.restored, Names{src + "/d.jpg"});
        QCOMPARE(ListDir(dst), Names{"c.jpg"});
        QCOMPARE(h->UndoCandidate()->seq, 4u);
    }

    // The context menu renames and trashes folders too; both come back whole.
    void folderRenameAndTrashAreUndone() {
        const QByteArray album = src + "/album";
        ::mkdir(album.constData(), 0755);
        const QByteArray data = Stamped(album + "/a.jpg");
        auto h = History();
        QVERIFY(Act(*h, Kind::Rename, album, "trip").Succeeded());
        QVERIFY(h->Undo(ui).bDone);
        QVERIFY(Intact(album + "/a.jpg", data));
        QVERIFY(Act(*h, Kind::Trash, album, {}).Succeeded());
        QVERIFY(!Exists(album));
        QVERIFY(h->Undo(ui).bDone);
        QVERIFY(Intact(album + "/a.jpg", data));
        QCOMPARE(ListDir(src), Names{"album"});
        QCOMPARE(ListDir(trash + "/info"), Names{});
    }
};

QTEST_GUILESS_MAIN(TestUndoHistory)
#include "tst_undohistory.moc"
