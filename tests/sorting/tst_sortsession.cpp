// The sort session on its own: real files in a temporary folder, no window.
#include "sorting/CSortSession.h"
#include "tests/support/ScriptedFileOpUi.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Pictures a.jpg .. e.jpg in Pics/, the folder Keep/ beside it, the trash below data/.
class SortDesk {
public:
    explicit SortDesk(int count = 5) {
        QDir(m_dir.path()).mkpath("Pics");
        QDir(m_dir.path()).mkpath("Keep");
        qputenv("XDG_DATA_HOME", Native("data"));
        QList<QByteArray> files;
        for (int i = 0; i < count; ++i) {
            const QByteArray file = Native("Pics/" + Name(i));
            WriteBytes(file, Pattern(100 + i, i));
            files.append(file);
        }
        session.SetFileOpUi(&ui);
        session.SetPictures(files);
    }
    static QString Name(int i) { return QString(QChar('a' + i)) + ".jpg"; }
    QByteArray Native(const QString& rel) const { return QFile::encodeName(m_dir.filePath(rel)); }
    QString Dir(const QString& rel) const { return m_dir.filePath(rel) + '/'; }
    QStringList Listed() const {
        QStringList names;
        for (const QByteArray& file : session.Pictures())
            names << QFileInfo(QFile::decodeName(file)).fileName();
        return names;
    }
    QString Current() const { return QFileInfo(session.CurrentPath()).fileName(); }
    QStringList OnDisk(const QString& rel) const {
        return QDir(m_dir.filePath(rel)).entryList(QDir::Files);
    }

    ScriptedFileOpUi ui;
    CSortSession session;

private:
    QTemporaryDir m_dir;
};

enum class Act { Move, MoveNowhere, Copy, CopyNowhere, Delete };

bool Perform(SortDesk& desk, Act act) {
    switch (act) {
    case Act::Move:
        return desk.session.Move(desk.Dir("Keep"));
    case Act::MoveNowhere:
        return desk.session.Move(desk.Dir("missing"));
    case Act::Copy:
        return desk.session.Copy(desk.Dir("Keep"));
    case Act::CopyNowhere:
        return desk.session.Copy(desk.Dir("missing"));
    case Act::Delete:
        return desk.session.Delete(true);
    }
    return false;
}

} // namespace

Q_DECLARE_METATYPE(Act)

class TestSortSession : public QObject {
    Q_OBJECT
private Q_SLOTS:
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
        SortDesk desk(count);
        desk.session.SetCurrent(current);
        const QString name = desk.Current();
        QSignalSpy removed(&desk.session, &CSortSession::PictureRemoved);
        QSignalSpy movedOn(&desk.session, &CSortSession::MovedOn);

        QCOMPARE(Perform(desk, act), done);
        QCOMPARE(desk.Current(), next);
        QCOMPARE(desk.session.Count(), left);
        QCOMPARE(desk.Listed().contains(name), left == count);
        QCOMPARE(removed.size(), left == count ? 0 : 1);
        if (!removed.isEmpty())
            QCOMPARE(removed.at(0).at(0).toInt(), current);
        QCOMPARE(movedOn.size(), 1);
        QCOMPARE(movedOn.at(0).at(0).toInt(), desk.session.Current());
        // On disk: the picture stays unless it was moved or deleted, and a failure leaves
        // nothing in the destination; every failure was reported.
        QCOMPARE(desk.OnDisk("Pics").contains(name), left == count);
        QCOMPARE(desk.OnDisk("Keep").contains(name), done && act != Act::Delete);
        QCOMPARE(desk.ui.errors.size(), done ? 0 : 1);
    }

    // Each action passes two points a journal can hook: before the disk changes, and once
    // the list shows the outcome.
    void actionsAreAnnouncedBeforeAndAfter() {
        SortDesk desk;
        desk.session.SetCurrent(1);
        const QByteArray source = desk.Native("Pics/b.jpg");
        QStringList log;
        connect(&desk.session, &CSortSession::ActionStarting, this, [&](const SortAction& a) {
            log << QStringLiteral("before %1 at %2, on disk %3")
                       .arg(QFile::decodeName(a.file).section('/', -1))
                       .arg(a.index)
                       .arg(Exists(a.file));
        });
        connect(&desk.session, &CSortSession::ActionFinished, this,
                [&](const SortAction& a, const CFileOpResult& r) {
                    log << QStringLiteral("after %1 into %2, %3 left, now %4")
                               .arg(QFile::decodeName(a.file).section('/', -1))
                               .arg(QFile::decodeName(r.target).section('/', -2))
                               .arg(desk.session.Count())
                               .arg(desk.Current());
                });
        QVERIFY(desk.session.Move(desk.Dir("Keep")));
        QVERIFY(!desk.session.Move(desk.Dir("missing")));
        QCOMPARE(log, (QStringList{"before b.jpg at 1, on disk 1",
                                   "after b.jpg into Keep/b.jpg, 4 left, now c.jpg",
                                   "before c.jpg at 1, on disk 1",
                                   "after c.jpg into , 4 left, now c.jpg"}));

        // With nothing current there is no action at all.
        log.clear();
        desk.session.SetCurrent(-1);
        QVERIFY(!desk.session.Delete(true));
        QVERIFY(!desk.session.Copy(desk.Dir("Keep")));
        QVERIFY(log.isEmpty());
        QCOMPARE(desk.session.Count(), 4);
    }

    // The pictures to decode ahead: the next one in the direction of travel first, and
    // after a sort the one the next sort would show.
    void prefetchFollowsTheTravel() {
        SortDesk desk;
        const auto names = [&] {
            QStringList n;
            for (const QString& path : desk.session.PrefetchCandidates())
                n << QFileInfo(path).fileName();
            return n;
        };
        QVERIFY(desk.session.PrefetchCandidates().isEmpty()); // nothing current
        desk.session.SetCurrent(0);
        QCOMPARE(names(), QStringList{"b.jpg"});
        desk.session.SetCurrent(2);
        QCOMPARE(names(), (QStringList{"d.jpg", "b.jpg"}));
        desk.session.SetCurrent(1); // going back
        QCOMPARE(names(), (QStringList{"a.jpg", "c.jpg"}));
        QVERIFY(desk.session.Move(desk.Dir("Keep"))); // b goes, c on show, d next
        QCOMPARE(names(), (QStringList{"d.jpg", "a.jpg"}));
        desk.session.SetCurrent(3);
        QCOMPARE(names(), QStringList{"d.jpg"}); // the last: the move on goes back
        QCOMPARE(QFileInfo(desk.session.PrefetchCandidates().value(0)).path(),
                 QFileInfo(desk.session.CurrentPath()).path());
    }

    // The current picture is announced once per change, by path.
    void currentChangesAreAnnounced() {
        SortDesk desk;
        QSignalSpy changed(&desk.session, &CSortSession::CurrentChanged);
        desk.session.SetCurrent(2);
        desk.session.SetCurrent(2);
        desk.session.SetCurrent(7); // out of range: none
        QCOMPARE(changed.size(), 2);
        QCOMPARE(QFileInfo(changed.at(0).at(0).toString()).fileName(), QStringLiteral("c.jpg"));
        QCOMPARE(changed.at(1).at(0).toString(), QString());

        // A new list keeps the picture current when it is still there, by place.
        desk.session.SetCurrent(1);
        changed.clear();
        desk.session.SetPictures(desk.session.Pictures(), 1);
        QCOMPARE(changed.size(), 0);
        desk.session.SetPictures({}, 1);
        QCOMPARE(desk.session.Current(), -1);
        QCOMPARE(changed.size(), 1);
    }

    // The status text follows the facts of the picture on show; the idle texts and the
    // title are the sorting window test's.
    void statusTextsDescribeTheCurrentPicture() {
        SortDesk desk;
        QSignalSpy status(&desk.session, &CSortSession::StatusTextChanged);
        QSignalSpy count(&desk.session, &CSortSession::FileCountChanged);
        desk.session.SetCurrent(0);
        PictureFacts facts{640, 480, 24, 900, "JFIF Compliant", true, QString()};
        desk.session.SetPictureFacts(facts);
        const QString path = desk.session.CurrentPath();
        QCOMPARE(status.takeLast().at(0).toString(),
                 path + " - 640x480x24 bpp,  900 bytes,  JFIF Compliant");
        facts.bShown = false;
        facts.error = "The picture data is damaged";
        desk.session.SetPictureFacts(facts);
        QCOMPARE(status.takeLast().at(0).toString(),
                 path + " - The picture data is damaged,  900 bytes,  JFIF Compliant");

        // A sort tells the new count; the figures of the picture that went are forgotten.
        QVERIFY(desk.session.Delete(false));
        QCOMPARE(count.takeLast().at(0).toString(), QStringLiteral("4 files"));
        QVERIFY(!desk.session.StatusText().contains("900 bytes"));
    }
};

QTEST_MAIN(TestSortSession)
#include "tst_sortsession.moc"
