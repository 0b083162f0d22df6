// The sort session on its own: real files in a temporary folder, no window.
#include "tests/sorting/SessionTestBase.h"

#include <QSignalSpy>
#include <QtTest>

namespace {
enum class Act { Move, MoveNowhere, Copy, CopyNowhere, Delete };
} // namespace

Q_DECLARE_METATYPE(Act)

class TestSortSession : public SessionTestBase {
    Q_OBJECT

    // Pictures a.jpg, b.jpg, ... in src/, none current.
    void Fill(int count = 5) {
        Names names;
        for (int i = 0; i < count; ++i) {
            names << QByteArray(1, char('a' + i)) + ".jpg";
            QVERIFY(WriteBytes(src + "/" + names.last(), Pattern(100 + i, i)));
        }
        List(names);
    }
    // The action given and its outcome shown: whether the picture went.
    bool Perform(Act act) { return Went(Give(act)); }
    // Folders named with a trailing slash, as a folder picker may give them.
    bool Give(Act act) {
        const QString keep = QString::fromUtf8(dst + "/"),
                      missing = QString::fromUtf8(root + "/missing/");
        switch (act) {
        case Act::Move:
            return Session().Move(keep);
        case Act::MoveNowhere:
            return Session().Move(missing);
        case Act::Copy:
            return Session().Copy(keep);
        case Act::CopyNowhere:
            return Session().Copy(missing);
        case Act::Delete:
            return Session().Delete(true);
        }
        return false;
    }

private Q_SLOTS:
    void init() { Reset(); }

    // Which picture comes next after each action, from each place in the list.
    void actionsMoveOn_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("current");
        QTest::addColumn<Act>("act");
        QTest::addColumn<bool>("done");
        QTest::addColumn<QString>("next");
        QTest::addColumn<int>("left");
        QTest::newRow("move, middle") << 5 << 1 << Act::Move << true << "c.jpg" << 4;
        QTest::newRow("move, first") << 5 << 0 << Act::Move << true << "b.jpg" << 4;
        QTest::newRow("move, last") << 5 << 4 << Act::Move << true << "d.jpg" << 4;
        QTest::newRow("move, the only one") << 1 << 0 << Act::Move << true << "" << 0;
        QTest::newRow("move fails") << 5 << 2 << Act::MoveNowhere << false << "c.jpg" << 5;
        QTest::newRow("delete, last") << 2 << 1 << Act::Delete << true << "a.jpg" << 1;
        QTest::newRow("copy") << 5 << 1 << Act::Copy << true << "c.jpg" << 5;
        QTest::newRow("copy, last stays") << 5 << 4 << Act::Copy << true << "e.jpg" << 5;
        QTest::newRow("copy fails") << 5 << 1 << Act::CopyNowhere << false << "b.jpg" << 5;
    }
    void actionsMoveOn() {
        QFETCH(int, count);
        QFETCH(int, current);
        QFETCH(Act, act);
        QFETCH(bool, done);
        QFETCH(QString, next);
        QFETCH(int, left);
        Fill(count);
        Session().SetCurrent(current);
        const QByteArray name = Current();
        QSignalSpy removed(&Session(), &CSortSession::PictureRemoved);
        QSignalSpy movedOn(&Session(), &CSortSession::MovedOn);
        QSignalSpy restored(&Session(), &CSortSession::PicturesRestored);
        const bool bLeaves = act != Act::Copy && act != Act::CopyNowhere;

        QCOMPARE(Perform(act), done);
        QCOMPARE(QString::fromUtf8(Current()), next);
        QCOMPARE(Session().Count(), left);
        QCOMPARE(Listed().contains(name), left == count);
        // The picture leaves the list at once, and one that stayed comes back; the session
        // moves on at once, and back to a picture that stayed.
        QCOMPARE(removed.size(), bLeaves ? 1 : 0);
        if (!removed.isEmpty())
            QCOMPARE(removed.at(0).at(0).toInt(), current);
        QCOMPARE(restored.size(), bLeaves && !done ? 1 : 0);
        QCOMPARE(movedOn.size(), done ? 1 : 2);
        QCOMPARE(movedOn.last().at(0).toInt(), Session().Current());
        // On disk: the picture stays unless it was moved or deleted, and a failure leaves
        // nothing in the destination; every failure was reported.
        QCOMPARE(ListDir(src).contains(name), left == count);
        QCOMPARE(ListDir(dst).contains(name), done && act != Act::Delete);
        QCOMPARE(ui.errors.size(), done ? 0 : 1);
    }

    // Each action passes two points a journal can hook: before the disk changes, and once
    // the list shows the outcome.
    void actionsAreAnnouncedBeforeAndAfter() {
        Fill();
        Session().SetCurrent(1);
        QStringList log;
        connect(&Session(), &CSortSession::ActionStarting, this, [&](const SortAction& a) {
            log << QStringLiteral("before %1 at %2, on disk %3")
                       .arg(QFile::decodeName(a.file).section('/', -1))
                       .arg(a.index)
                       .arg(Exists(a.file));
        });
        connect(&Session(), &CSortSession::ActionFinished, this,
                [&](const SortAction& a, const CFileOpResult& r) {
                    log << QStringLiteral("after %1 into %2, %3 left, now %4")
                               .arg(QFile::decodeName(a.file).section('/', -1))
                               .arg(QFile::decodeName(r.target).section('/', -2))
                               .arg(Session().Count())
                               .arg(QString::fromUtf8(Current()));
                });
        QVERIFY(Perform(Act::Move));
        QVERIFY(!Perform(Act::MoveNowhere));
        QCOMPARE(log, (QStringList{"before b.jpg at 1, on disk 1",
                                   "after b.jpg into dst/b.jpg, 4 left, now c.jpg",
                                   "before c.jpg at 1, on disk 1",
                                   "after c.jpg into , 4 left, now c.jpg"}));

        // With nothing current there is no action at all.
        log.clear();
        Session().SetCurrent(-1);
        QVERIFY(!Session().Delete(true));
        QVERIFY(!Give(Act::Copy));
        QVERIFY(log.isEmpty());
        QCOMPARE(Session().Count(), 4);
    }

    // The pictures to decode ahead: the next one in the direction of travel first, and
    // after a sort the one the next sort would show.
    void prefetchFollowsTheTravel() {
        Fill();
        const auto names = [&] {
            QStringList n;
            for (const QString& path : Session().PrefetchCandidates())
                n << QFileInfo(path).fileName();
            return n;
        };
        QVERIFY(Session().PrefetchCandidates().isEmpty()); // nothing current
        Session().SetCurrent(0);
        QCOMPARE(names(), QStringList{"b.jpg"});
        Session().SetCurrent(2);
        QCOMPARE(names(), (QStringList{"d.jpg", "b.jpg"}));
        Session().SetCurrent(1); // going back
        QCOMPARE(names(), (QStringList{"a.jpg", "c.jpg"}));
        QVERIFY(Perform(Act::Move)); // b goes, c on show, d next
        QCOMPARE(names(), (QStringList{"d.jpg", "a.jpg"}));
        Session().SetCurrent(3);
        QCOMPARE(names(), QStringList{"d.jpg"}); // the last: the move on goes back
        QCOMPARE(QFileInfo(Session().PrefetchCandidates().value(0)).path(),
                 QFileInfo(Session().CurrentPath()).path());
    }

    // The current picture is announced once per change, by path.
    void currentChangesAreAnnounced() {
        Fill();
        QSignalSpy changed(&Session(), &CSortSession::CurrentChanged);
        Session().SetCurrent(2);
        Session().SetCurrent(2);
        Session().SetCurrent(7); // out of range: none
        QCOMPARE(changed.size(), 2);
        QCOMPARE(QFileInfo(changed.at(0).at(0).toString()).fileName(), QStringLiteral("c.jpg"));
        QCOMPARE(changed.at(1).at(0).toString(), QString());

        // A new list keeps the picture current when it is still there, by place.
        Session().SetCurrent(1);
        changed.clear();
        Session().SetPictures(Session().Pictures(), 1);
        QCOMPARE(changed.size(), 0);
        Session().SetPictures({}, 1);
        QCOMPARE(Session().Current(), -1);
        QCOMPARE(changed.size(), 1);
    }

    // The status text follows the facts of the picture on show and forgets them when it goes;
    // the texts themselves are the picture list's and the sorting window's tests.
    void statusTextFollowsThePictureOnShow() {
        Fill();
        QSignalSpy status(&Session(), &CSortSession::StatusTextChanged);
        QSignalSpy count(&Session(), &CSortSession::FileCountChanged);
        Session().SetCurrent(0);
        Session().SetPictureFacts({640, 480, 24, 900, "JFIF Compliant", true, QString()});
        QVERIFY(status.takeLast().at(0).toString().endsWith(
            "640x480x24 bpp,  900 bytes,  JFIF Compliant"));
        QVERIFY(Went(Session().Delete(false)));
        QCOMPARE(count.takeLast().at(0).toString(), QStringLiteral("4 files"));
        QVERIFY(!Session().StatusText().contains("900 bytes"));
    }
};

QTEST_MAIN(TestSortSession)
#include "tst_sortsession.moc"
