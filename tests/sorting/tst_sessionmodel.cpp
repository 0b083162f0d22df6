// The sort session as the one source of truth of the list, with no window: its rows change
// as a listing, a sort or another program changes them, views share its selection, and an
// action always takes the picture that was chosen, never whatever came to stand in its row.
#include "browser/controls/CListCtrlModel.h"
#include "sorting/journal/UndoTexts.h"
#include "sorting/session/MoveOnRule.h"
#include "tests/sorting/UndoTestBase.h"

#include <QItemSelectionModel>
#include <QListView>
#include <QtTest>

class TestSessionModel : public UndoTestBase {
    Q_OBJECT

    // Lists a.jpg, b.jpg, ... (on disk in src/), with `current` current.
    void ListOnDisk(int count, const QByteArray& current) {
        Names names;
        for (int i = 0; i < count; ++i) {
            names << QByteArray(1, char('a' + i)) + ".jpg";
            Stamped(src + "/" + names.last(), 3000, i + 1);
        }
        List(names, current);
    }
    // A row as a listing adds it: its name, its path and a sort key as the item value.
    void AddRow(int at, const QByteArray& name, quintptr key) {
        Session().Model().InsertItem(at, QString::fromUtf8(name), -1, key, src + "/" + name);
    }
    // Selects these rows as Shift and Ctrl do, the last one current.
    void SelectRows(const QList<int>& rows) {
        QItemSelectionModel& selection = Session().Selection();
        selection.clear();
        for (int row : rows)
            selection.select(Session().Model().index(row), QItemSelectionModel::Select);
        selection.setCurrentIndex(Session().Model().index(rows.last()),
                                  QItemSelectionModel::NoUpdate);
        Session().SetCurrent(rows.last());
    }
    static int Descending(quintptr a, quintptr b, quintptr) { return a > b ? -1 : a < b ? 1 : 0; }

private Q_SLOTS:
    void init() { ResetAll(); }

    // Other programs add and remove files while a picture is on show (the folder is
    // followed): the picture stays current on its own row, and a sort sends that one.
    void rowsThatComeAndGoKeepTheCurrentPicture() {
        ListOnDisk(4, "c.jpg");
        AddRow(0, "0.jpg", 0);
        QVERIFY(Session().Model().DeleteItem(4)); // d.jpg
        QCOMPARE(Current(), QByteArray("c.jpg"));
        QCOMPARE(Session().Current(), 3);
        QVERIFY(Went(Session().Move(QString::fromUtf8(dst))));
        QVERIFY(QFile::exists(QString::fromUtf8(dst + "/c.jpg")));
        QCOMPARE(Listed(), (Names{"0.jpg", "a.jpg", "b.jpg"}));
        QCOMPARE(Current(), QByteArray("b.jpg")); // it was the last: the one before it
    }

    // The picture's row went (another program took the file): nothing is current, and a
    // sort key sends nothing anywhere rather than the picture that moved up.
    void aCurrentRowTakenAwayLeavesNothingToSend() {
        ListOnDisk(2, "a.jpg");
        QVERIFY(Session().Model().DeleteItem(0));
        QCOMPARE(Session().Current(), -1);
        QVERIFY(!Session().Move(QString::fromUtf8(dst)));
        QVERIFY(!Session().Delete(true));
        QCOMPARE(ListDir(src), (Names{"a.jpg", "b.jpg"}));
        QVERIFY(ListDir(dst).isEmpty());
    }

    // Sorting the rows keeps the current picture, and the move on follows the new order.
    void aSortKeepsTheCurrentPicture() {
        Session().SetPictures({});
        for (int i = 0; i < 4; ++i) {
            const QByteArray name = QByteArray(1, char('a' + i)) + ".jpg";
            Stamped(src + "/" + name, 3000, i + 1);
            AddRow(i, name, quintptr(i));
        }
        Session().SetCurrent(1); // b.jpg
        Session().Model().SortItems(&Descending, 0);
        QCOMPARE(Listed(), (Names{"d.jpg", "c.jpg", "b.jpg", "a.jpg"}));
        QCOMPARE(Current(), QByteArray("b.jpg"));
        QVERIFY(Went(Session().Move(QString::fromUtf8(dst))));
        QCOMPARE(ListDir(dst), Names{"b.jpg"});
        QCOMPARE(Current(), QByteArray("a.jpg"));
    }

    // A view on the session shows its rows and shares its selection; when the session
    // takes the selected row away no view picks a neighbour by itself: the session's move
    // on decides what comes next.
    void viewsShareTheSessionsSelection() {
        ListOnDisk(3, "b.jpg");
        QListView view;
        view.setModel(&Session().Model());
        view.setSelectionModel(&Session().Selection());
        Session().Selection().setCurrentIndex(Session().Model().index(1),
                                              QItemSelectionModel::ClearAndSelect);
        QCOMPARE(view.currentIndex().row(), 1);
        QSignalSpy movedOn(&Session(), &CSortSession::MovedOn);
        QVERIFY(Went(Session().Move(QString::fromUtf8(dst))));
        QCOMPARE(view.model()->rowCount(), 2);
        QVERIFY(!Session().Selection().hasSelection());
        QVERIFY(!view.currentIndex().isValid());
        QCOMPARE(movedOn.value(0).value(0).toInt(), 1);
        QCOMPARE(Current(), QByteArray("c.jpg"));
    }

    // A sort recorded in the journal the owner gave the session is undone and redone
    // from the journal alone: the file comes back whole, then goes again.
    void anUndoAndRedoOfASort() {
        const QByteArray a = Stamped(src + "/a.jpg", 3000, 1);
        Stamped(src + "/b.jpg", 3000, 2);
        List({"a.jpg", "b.jpg"}, "a.jpg");
        auto history = History();
        Session().SetActionRecorder(history.get());
        QVERIFY(Went(Session().Move(QString::fromUtf8(dst))));
        QVERIFY(history->Undo(ui).bDone);
        QVERIFY(Intact(src + "/a.jpg", a));
        QVERIFY(!QFile::exists(QString::fromUtf8(dst + "/a.jpg")));
        QVERIFY(history->Redo(ui).bDone);
        QVERIFY(Intact(dst + "/a.jpg", a));
        Session().SetActionRecorder(nullptr);
    }

    // Where a sort of several chosen rows goes on: after the last chosen one, else before
    // the first; rows that went (companions too) close up. Nothing gone: the current stays.
    void moveOnAfterAGroup_data() {
        QTest::addColumn<QList<int>>("chosen");
        QTest::addColumn<QList<int>>("gone");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("next");
        QTest::newRow("one, middle") << QList<int>{2} << QList<int>{2} << 5 << 2;
        QTest::newRow("one, last") << QList<int>{4} << QList<int>{4} << 5 << 3;
        QTest::newRow("one and its listed companion")
            << QList<int>{1} << QList<int>{1, 2} << 5 << 1;
        QTest::newRow("scattered") << QList<int>{1, 3} << QList<int>{1, 3} << 6 << 2;
        QTest::newRow("up to the end") << QList<int>{2, 3, 4} << QList<int>{2, 3, 4} << 5 << 1;
        QTest::newRow("first and last") << QList<int>{0, 4} << QList<int>{0, 4} << 5 << 0;
        QTest::newRow("all") << QList<int>{0, 1} << QList<int>{0, 1} << 2 << -1;
        QTest::newRow("the last stayed") << QList<int>{1, 2} << QList<int>{1} << 4 << 2;
        QTest::newRow("none went") << QList<int>{1, 2} << QList<int>{} << 4 << 2;
    }
    void moveOnAfterAGroup() {
        QFETCH(QList<int>, chosen);
        QFETCH(QList<int>, gone);
        QFETCH(int, count);
        QFETCH(int, next);
        QCOMPARE(move_on::AfterGroupRemoval(chosen, gone, count, chosen.last()), next);
    }

    // Several selected pictures go with one key, companions with them, as ONE action of the
    // journal: one undo brings every file back, one redo sends them again.
    void aSelectionIsOneAction() {
        ListOnDisk(6, "a.jpg");
        Stamped(src + "/b.xmp", 100, 9);
        auto history = History();
        Session().SetActionRecorder(history.get());
        SelectRows({1, 2, 4}); // b, c, e
        QVERIFY(Went(Session().Move(QString::fromUtf8(dst))));
        QCOMPARE(ListDir(dst), (Names{"b.jpg", "b.xmp", "c.jpg", "e.jpg"}));
        QCOMPARE(Listed(), (Names{"a.jpg", "d.jpg", "f.jpg"}));
        QCOMPARE(Current(), QByteArray("f.jpg"));
        QCOMPARE(history->Records().size(), 1);
        QCOMPARE(undo_texts::Performed(history->Records().first(), false),
                 QStringLiteral("Moved 3 pictures and 1 companion file to dst"));
        QVERIFY(history->Undo(ui).bDone);
        QVERIFY(ListDir(dst).isEmpty());
        QCOMPARE(ListDir(src).size(), 7);
        QVERIFY(history->Redo(ui).bDone);
        QCOMPARE(ListDir(dst).size(), 4);
        Session().SetActionRecorder(nullptr);
    }

    // A large selection finds its companions from one reading of the folder: the same
    // files go as when each picture is looked at alone.
    void aLargeSelectionTakesItsCompanions() {
        ListOnDisk(10, "a.jpg");
        Stamped(src + "/c.XMP", 100, 9);
        Stamped(src + "/h.Cr2", 100, 10);
        Stamped(src + "/h.Cr2.xmp", 100, 11);
        SelectRows({0, 1, 2, 3, 4, 5, 6, 7, 8});
        QVERIFY(Went(Session().Move(QString::fromUtf8(dst))));
        QCOMPARE(ListDir(dst).size(), 12);
        QCOMPARE(ListDir(src), Names{"j.jpg"});
    }

    // Names taken at the destination are asked about once for the whole selection when
    // the answer is given for all.
    void aConflictIsAskedOnce() {
        ListOnDisk(3, "a.jpg");
        for (const char* name : {"/a.jpg", "/b.jpg", "/c.jpg"})
            Stamped(dst + name, 50, 7);
        ui.answers = {CFileOpUi::ConflictChoice::KeepBoth};
        ui.bApplyToAll = true;
        SelectRows({0, 1, 2});
        QVERIFY(Went(Session().Move(QString::fromUtf8(dst))));
        QCOMPARE(ui.asked.size(), 2); // one question: incoming and existing
        QCOMPARE(ListDir(dst).size(), 6);
        QVERIFY(ListDir(src).isEmpty());
        QVERIFY(!ui.bOffered); // the offer ends with the action
    }

    // A picture that fails part-way stops the action: the pictures after it stay where
    // they are and in the list, and the journal holds exactly what was done.
    void aFailurePartWayIsJournaledExactly() {
        ListOnDisk(4, "a.jpg");
        auto history = History();
        Session().SetActionRecorder(history.get());
        QVERIFY(QFile::remove(QString::fromUtf8(src + "/c.jpg"))); // gone, still listed
        SelectRows({1, 2, 3});
        QVERIFY(!Went(Session().Move(QString::fromUtf8(dst))));
        QCOMPARE(ListDir(dst), Names{"b.jpg"});
        QCOMPARE(ListDir(src), (Names{"a.jpg", "d.jpg"}));
        // The picture that stayed comes back and is current; the one found gone does not.
        QCOMPARE(Listed(), (Names{"a.jpg", "d.jpg"}));
        QCOMPARE(Current(), QByteArray("d.jpg"));
        QCOMPARE(ui.errors.size(), 1);
        const SortRecord& record = history->Records().first();
        QCOMPARE(record.entries.size(), 3);
        QVERIFY(!record.entries.at(0).target.isEmpty());
        QVERIFY(record.entries.at(1).target.isEmpty() && record.entries.at(2).target.isEmpty());
        QVERIFY(history->Undo(ui).bDone);
        QCOMPARE(ListDir(src), (Names{"a.jpg", "b.jpg", "d.jpg"}));
        Session().SetActionRecorder(nullptr);
    }
};

QTEST_MAIN(TestSessionModel)
#include "tst_sessionmodel.moc"
