// Two sort sessions in one process (a second window, or a test beside the program), each
// with the journal its owner gave it: what one records, undoes and redoes is never the
// other's, and neither journal on disk holds the other's actions.
#include "sorting/journal/CUndoHistory.h"
#include "tests/sorting/UndoTestBase.h"

#include <QtTest>

class TestTwoSessions : public UndoTestBase {
    Q_OBJECT

    static std::unique_ptr<CUndoHistory> HistoryIn(const QByteArray& folder) {
        auto h = std::make_unique<CUndoHistory>(std::make_unique<CSortJournal>(folder));
        h->Start();
        return h;
    }
    static QList<QByteArray> Sources(const CUndoHistory& h) {
        QList<QByteArray> sources;
        for (const SortRecord& r : h.Records())
            for (const SortEntry& e : r.entries)
                sources << e.source;
        return sources;
    }

private Q_SLOTS:
    void init() { ResetAll(); }

    void eachSessionKeepsToItsOwnJournal() {
        const QByteArray other = root + "/other";
        QVERIFY(::mkdir(other.constData(), 0755) == 0);
        const QByteArray a = Stamped(src + "/a.jpg", 3000, 1);
        Stamped(src + "/b.jpg", 3000, 2);
        const QByteArray c = Stamped(other + "/c.jpg", 3000, 3);
        Stamped(other + "/d.jpg", 3000, 4);
        CSortSession& first = Session();
        CSortSession second;
        second.SetFileOpUi(&ui);
        first.SetPictures({src + "/a.jpg", src + "/b.jpg"}, 0);
        second.SetPictures({other + "/c.jpg", other + "/d.jpg"}, 0);
        auto firstHistory = HistoryIn(root + "/state-first");
        auto secondHistory = HistoryIn(root + "/state-second");
        first.SetActionRecorder(firstHistory.get());
        second.SetActionRecorder(secondHistory.get());

        QVERIFY(first.Move(QString::fromUtf8(dst)));
        QVERIFY(second.Move(QString::fromUtf8(dst)));
        QVERIFY(QTest::qWaitFor(
            [&] { return first.PendingActions() == 0 && second.PendingActions() == 0; }, 20000));
        QCOMPARE(Sources(*firstHistory), QList<QByteArray>{src + "/a.jpg"});
        QCOMPARE(Sources(*secondHistory), QList<QByteArray>{other + "/c.jpg"});
        QCOMPARE(first.CurrentNative(), src + "/b.jpg"); // each moved on in its own list
        QCOMPARE(second.CurrentNative(), other + "/d.jpg");

        // Undo in the first brings back its own picture and leaves the second's sorted.
        QVERIFY(firstHistory->Undo(ui).bDone);
        QVERIFY(Intact(src + "/a.jpg", a));
        QVERIFY(Intact(dst + "/c.jpg", c) && !QFile::exists(QString::fromUtf8(other + "/c.jpg")));
        QVERIFY(secondHistory->RedoCandidate() == nullptr);
        QVERIFY(firstHistory->RedoCandidate() != nullptr);

        // Read again from disk, each journal holds its own action only, in its own state.
        first.SetActionRecorder(nullptr);
        second.SetActionRecorder(nullptr);
        firstHistory.reset();
        secondHistory.reset();
        const auto firstAgain = HistoryIn(root + "/state-first");
        const auto secondAgain = HistoryIn(root + "/state-second");
        QCOMPARE(Sources(*firstAgain), QList<QByteArray>{src + "/a.jpg"});
        QCOMPARE(Sources(*secondAgain), QList<QByteArray>{other + "/c.jpg"});
        QVERIFY(firstAgain->Records().first().state == SortRecord::State::Undone);
        QVERIFY(secondAgain->Records().first().state == SortRecord::State::Done);
    }
};

QTEST_MAIN(TestTwoSessions)
#include "tst_twosessions.moc"
