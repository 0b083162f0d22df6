// The sort session as the one source of truth of the list, with no window: its rows change
// as a listing, a sort or another program changes them, views share its selection, and an
// action always takes the picture that was chosen, never whatever came to stand in its row.
#include "browser/controls/CListCtrlModel.h"
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
        QVERIFY(Session().Move(QString::fromUtf8(dst)));
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
        QVERIFY(Session().Move(QString::fromUtf8(dst)));
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
        QVERIFY(Session().Move(QString::fromUtf8(dst)));
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
        QVERIFY(Session().Move(QString::fromUtf8(dst)));
        QVERIFY(history->Undo(ui).bDone);
        QVERIFY(Intact(src + "/a.jpg", a));
        QVERIFY(!QFile::exists(QString::fromUtf8(dst + "/a.jpg")));
        QVERIFY(history->Redo(ui).bDone);
        QVERIFY(Intact(dst + "/a.jpg", a));
        Session().SetActionRecorder(nullptr);
    }
};

QTEST_MAIN(TestSessionModel)
#include "tst_sessionmodel.moc"
