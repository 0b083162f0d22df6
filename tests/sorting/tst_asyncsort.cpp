// Sorting does not wait for the disk: the session takes the pictures out of the list and
// moves on as the action is given, its worker does the file work afterwards, one action
// after the other, and the outcome follows. Each action here is held on the worker until
// the test lets it go, so what the list shows before and after is seen for certain.
#include "browser/controls/CListCtrlModel.h"
#include "tests/sorting/UndoTestBase.h"

#include <QSemaphore>
#include <QtTest>

namespace {
// A recorder in front of the journal that holds each action until it is let go.
class CGate : public CFileActionHook {
public:
    void SetJournal(CFileActionHook* journal) { m_pJournal = journal; }
    void Let(int count) { m_open.release(count); }
    QList<CFileOpResult> Run(const CFileAction& action, const Operation& op) override {
        m_open.acquire();
        return CFileActionHook::Perform(m_pJournal, action, op);
    }

private:
    CFileActionHook* m_pJournal = nullptr;
    QSemaphore m_open;
};

using Choice = CFileOpUi::ConflictChoice;
} // namespace

class TestAsyncSort : public UndoTestBase {
    Q_OBJECT

    // Pictures a.jpg .. e.jpg, listed; `current` current, the rows `chosen` selected.
    void Lay(const QByteArray& current, const QList<int>& chosen = {}) {
        Names names;
        for (char c = 'a'; c <= 'e'; ++c) {
            names << QByteArray(1, c) + ".jpg";
            Stamped(src + "/" + names.last(), 2000, c);
        }
        List(names, current);
        for (int row : chosen)
            Session().Selection().select(Session().Model().index(row), QItemSelectionModel::Select);
        m_history = History();
        m_gate.SetJournal(m_history.get());
        Session().SetActionRecorder(&m_gate);
    }
    QList<int> SelectedRows() const {
        QList<int> rows;
        for (const QModelIndex& index : Session().Selection().selectedRows())
            rows << index.row();
        return rows;
    }
    // Each record of the journal as "state source -> target".
    static QStringList Described(const QList<SortRecord>& records) {
        QStringList out;
        for (const SortRecord& r : records) {
            const SortEntry& e = r.entries.first();
            out << QStringLiteral("%1 %2 -> %3")
                       .arg(int(r.state))
                       .arg(QString::fromUtf8(CNativePath::FileName(e.source)),
                            QString::fromUtf8(e.target.isEmpty()
                                                  ? QByteArray("-")
                                                  : e.target.mid(e.target.lastIndexOf('/') - 3)));
        }
        return out;
    }

private Q_SLOTS:
    void init() { ResetAll(); }
    // Whatever a failed test left held goes, before the journal and the gate go.
    void cleanup() {
        m_gate.Let(100);
        QVERIFY(Settle());
        Session().SetActionRecorder(nullptr);
        m_history.reset();
    }

    // A picture that did not go comes back where it stood, selected and current, and the
    // reason is told as the file operations tell it.
    void aFailureBringsThePictureBack_data() {
        QTest::addColumn<QByteArray>("current");
        QTest::addColumn<QList<int>>("chosen");
        QTest::addColumn<bool>("copy");
        QTest::addColumn<QByteArray>("inTheWay"); // a folder of this name in dst; none: no dst
        QTest::addColumn<Names>("listedAtOnce");
        QTest::addColumn<QByteArray>("currentAtOnce");
        QTest::addColumn<Names>("listedAfter");
        QTest::addColumn<QByteArray>("currentAfter");
        QTest::addColumn<QString>("reason");
        const Names all{"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg"};
        QTest::newRow("a move to a folder that is not there")
            << QByteArray("b.jpg") << QList<int>{} << false << QByteArray()
            << Names{"a.jpg", "c.jpg", "d.jpg", "e.jpg"} << QByteArray("c.jpg") << all
            << QByteArray("b.jpg") << "the destination folder cannot be opened";
        QTest::newRow("the last picture, moved nowhere")
            << QByteArray("e.jpg") << QList<int>{} << false << QByteArray()
            << Names{"a.jpg", "b.jpg", "c.jpg", "d.jpg"} << QByteArray("d.jpg") << all
            << QByteArray("e.jpg") << "the destination folder cannot be opened";
        QTest::newRow("a copy to a folder that is not there")
            << QByteArray("b.jpg") << QList<int>{} << true << QByteArray() << all
            << QByteArray("c.jpg") << all << QByteArray("b.jpg")
            << "the destination folder cannot be opened";
        QTest::newRow("the second of a selection is in the way")
            << QByteArray("b.jpg") << QList<int>{1, 2, 3} << false << QByteArray("c.jpg")
            << Names{"a.jpg", "e.jpg"} << QByteArray("e.jpg")
            << Names{"a.jpg", "c.jpg", "d.jpg", "e.jpg"} << QByteArray("c.jpg")
            << "a folder of that name is in the way";
    }
    void aFailureBringsThePictureBack() {
        QFETCH(QByteArray, current);
        QFETCH(QList<int>, chosen);
        QFETCH(bool, copy);
        QFETCH(QByteArray, inTheWay);
        QFETCH(Names, listedAtOnce);
        QFETCH(QByteArray, currentAtOnce);
        QFETCH(Names, listedAfter);
        QFETCH(QByteArray, currentAfter);
        QFETCH(QString, reason);
        Lay(current, chosen);
        const QByteArray dest = inTheWay.isEmpty() ? root + "/missing" : dst;
        if (!inTheWay.isEmpty())
            QVERIFY(::mkdir((dst + "/" + inTheWay).constData(), 0755) == 0);
        QSignalSpy finished(&Session(), &CSortSession::ActionFinished);

        QVERIFY(copy ? Session().Copy(QString::fromUtf8(dest))
                     : Session().Move(QString::fromUtf8(dest)));
        QCOMPARE(Listed(), listedAtOnce);
        QCOMPARE(Current(), currentAtOnce);
        QCOMPARE(Session().PendingActions(), 1);
        QCOMPARE(ListDir(src).size(), 5); // nothing done yet

        m_gate.Let(1);
        QVERIFY(Settle());
        QCOMPARE(finished.size(), 1);
        QCOMPARE(Listed(), listedAfter);
        QCOMPARE(Current(), currentAfter);
        QCOMPARE(SelectedRows(), QList<int>{Session().Current()});
        QCOMPARE(Session().Selection().currentIndex().row(), Session().Current());
        QCOMPARE(ui.errors.size(), 1);
        QVERIFY2(ui.errors.first().contains(QString::fromUtf8(currentAfter)) &&
                     ui.errors.first().contains(reason),
                 qPrintable(ui.errors.first()));
        QCOMPARE(ui.threads, QList<QThread*>{thread()});
        for (const QByteArray& name : listedAfter)
            QVERIFY(Exists(src + "/" + name));
    }

    // A picture that stayed while the list went on to another folder does not come back
    // into that folder's list.
    void aFailureAfterTheListMovedOnBringsNothingBack() {
        Lay("b.jpg");
        QVERIFY(Session().Move(QString::fromUtf8(root + "/missing")));
        QVERIFY(::mkdir((root + "/other").constData(), 0755) == 0);
        Stamped(root + "/other/x.jpg", 100, 3);
        Session().SetPictures({root + "/other/x.jpg"}, 0);
        m_gate.Let(1);
        QVERIFY(Settle());
        QCOMPARE(Listed(), Names{"x.jpg"});
        QCOMPARE(Current(), QByteArray("x.jpg"));
        QCOMPARE(ui.errors.size(), 1);
        QVERIFY(Exists(src + "/b.jpg"));
    }

    // Keys given while the worker is busy queue up in order; the journal records each
    // action as it was done, an action that failed as failed, and reads back the same.
    void keysQueueAndTheJournalRecordsWhatWasDone_data() {
        QTest::addColumn<QByteArray>("inTheWay");
        QTest::addColumn<QStringList>("records");
        QTest::addColumn<Names>("listedAfter");
        QTest::addColumn<QByteArray>("currentAfter");
        const QString done = QString::number(int(SortRecord::State::Done));
        const QString failed = QString::number(int(SortRecord::State::Failed));
        QTest::newRow("three go") << QByteArray()
                                  << QStringList{done + " a.jpg -> dst/a.jpg",
                                                 done + " b.jpg -> dst/b.jpg",
                                                 done + " c.jpg -> dst/c.jpg"}
                                  << Names{"d.jpg", "e.jpg"} << QByteArray("d.jpg");
        QTest::newRow("the second is in the way")
            << QByteArray("b.jpg")
            << QStringList{done + " a.jpg -> dst/a.jpg", failed + " b.jpg -> -",
                           done + " c.jpg -> dst/c.jpg"}
            << Names{"b.jpg", "d.jpg", "e.jpg"} << QByteArray("b.jpg");
    }
    void keysQueueAndTheJournalRecordsWhatWasDone() {
        QFETCH(QByteArray, inTheWay);
        QFETCH(QStringList, records);
        QFETCH(Names, listedAfter);
        QFETCH(QByteArray, currentAfter);
        Lay("a.jpg");
        if (!inTheWay.isEmpty())
            QVERIFY(::mkdir((dst + "/" + inTheWay).constData(), 0755) == 0);
        Names shown;
        for (int i = 0; i < 3; ++i) {
            QVERIFY(Session().Move(QString::fromUtf8(dst)));
            shown << Current();
        }
        QCOMPARE(shown, (Names{"b.jpg", "c.jpg", "d.jpg"}));
        QCOMPARE(Session().PendingActions(), 3);
        QVERIFY(m_history->Records().isEmpty());

        m_gate.Let(3);
        QVERIFY(Settle());
        QCOMPARE(Listed(), listedAfter);
        QCOMPARE(Current(), currentAfter);
        QCOMPARE(Described(m_history->Records()), records);
        Session().SetActionRecorder(nullptr);
        const QList<SortRecord> kept = m_history->Records();
        m_history.reset();
        QCOMPARE(Described(History()->Records()), records); // as the file holds them
        for (const SortRecord& r : kept) {
            const SortEntry& e = r.entries.first();
            QCOMPARE(Exists(e.source), r.state != SortRecord::State::Done);
            QVERIFY(e.target.isEmpty() || Exists(e.target));
        }
    }

    // Names taken at the destination are asked about once for a selection, on the GUI
    // thread, and the worker goes on with the answer.
    void aConflictIsAskedOnceWhileTheWorkerWaits_data() {
        QTest::addColumn<Choice>("answer");
        QTest::addColumn<int>("inDst");
        QTest::addColumn<Names>("listedAfter");
        QTest::newRow("keep both") << Choice::KeepBoth << 6 << Names{"d.jpg", "e.jpg"};
        QTest::newRow("replace") << Choice::Replace << 3 << Names{"d.jpg", "e.jpg"};
        QTest::newRow("skip") << Choice::Skip << 3
                              << Names{"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg"};
    }
    void aConflictIsAskedOnceWhileTheWorkerWaits() {
        QFETCH(Choice, answer);
        QFETCH(int, inDst);
        QFETCH(Names, listedAfter);
        for (const char* name : {"/a.jpg", "/b.jpg", "/c.jpg"})
            Stamped(dst + name, 50, 7);
        ui.answers = {answer};
        ui.bApplyToAll = true;
        Lay("a.jpg", {0, 1, 2});
        QVERIFY(Session().Move(QString::fromUtf8(dst)));
        QCOMPARE(Listed(), (Names{"d.jpg", "e.jpg"}));
        m_gate.Let(1);
        QVERIFY(Settle());
        QCOMPARE(ui.asked.size(), 2); // one question: incoming and existing
        QCOMPARE(ui.threads, QList<QThread*>{thread()});
        QVERIFY(!ui.bOffered); // the offer ended with the action
        QCOMPARE(ListDir(dst).size(), inDst);
        QCOMPARE(Listed(), listedAfter);
        if (answer == Choice::Skip)
            QCOMPARE(Current(), QByteArray("a.jpg"));
    }

private:
    CGate m_gate;
    std::unique_ptr<CUndoHistory> m_history;
};

QTEST_MAIN(TestAsyncSort)
#include "tst_asyncsort.moc"
