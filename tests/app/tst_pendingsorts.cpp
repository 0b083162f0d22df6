// The window while sort actions are still on the worker, on a slow share (every call into
// its folder waits, CDiskTap): Undo takes back the newest action once those before it are
// done, and closing the window finishes them all, saying so while it waits.
#include "sorting/journal/CUndoHistory.h"
#include "tests/support/CDiskTap.h"
#include "tests/support/PictureDesk.h"

#include <QtTest>

class TestPendingSorts : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() {
        CDiskTap::Instance().Stop();
        CDiskTap::Instance().SetDelay(0);
    }

    // Keys given in a row, then Ctrl+Z at once: the undo waits for the moves and takes
    // back the last of them; the ones before stay done.
    void undoComesAfterThePendingMoves_data() {
        QTest::addColumn<int>("keys");
        QTest::newRow("one key") << 1;
        QTest::newRow("three keys") << 3;
    }
    void undoComesAfterThePendingMoves() {
        QFETCH(int, keys);
        PictureDesk desk;
        WindowDriver& frame = Start(desk);
        const QStringList names{"a.jpg", "b.jpg", "c.jpg"};
        Slow(desk, 20);
        for (int i = 0; i < keys; ++i)
            frame.SendToNow(0);
        QCOMPARE(desk.Current(), names.value(keys, "d.jpg"));
        QTest::keyClick(&frame.Window(), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(frame.Settle());
        CDiskTap::Instance().Stop();
        QCOMPARE(frame.Session().PendingActions(), 0);
        QCOMPARE(desk.OnDisk("Keep"), names.mid(0, keys - 1));
        QVERIFY(desk.OnDisk("Pics").contains(names.at(keys - 1)));
        QCOMPARE(desk.Current(), names.at(keys - 1)); // the picture brought back
        const QList<SortRecord>& records = frame.UndoCommands()->History().Records();
        QCOMPARE(records.size(), keys);
        for (int i = 0; i < keys; ++i)
            QCOMPARE(records.at(i).state,
                     i == keys - 1 ? SortRecord::State::Undone : SortRecord::State::Done);
    }

    // Closing the window with moves on the worker finishes them; once the wait is longer
    // than half a second the status bar says what is being finished.
    void closingFinishesThePendingMoves() {
        PictureDesk desk;
        WindowDriver& frame = Start(desk);
        QSignalSpy status(&frame.Session(), &CSortSession::StatusTextChanged);
        Slow(desk, 60); // a move makes more than ten calls: three take well over a second
        for (int i = 0; i < 3; ++i)
            frame.SendToNow(0);
        QVERIFY(frame.Window().close());
        CDiskTap::Instance().Stop();
        QCOMPARE(frame.Session().PendingActions(), 0);
        QCOMPARE(desk.OnDisk("Keep"), (QStringList{"a.jpg", "b.jpg", "c.jpg"}));
        QCOMPARE(desk.OnDisk("Pics"), (QStringList{"d.jpg", "e.jpg"}));
        const QList<SortRecord>& records = frame.UndoCommands()->History().Records();
        QCOMPARE(records.size(), 3);
        for (const SortRecord& r : records)
            QCOMPARE(r.state, SortRecord::State::Done);
        QStringList texts;
        for (const QList<QVariant>& signal : status)
            texts << signal.first().toString();
        QVERIFY2(!texts.filter(QStringLiteral("Finishing")).isEmpty(),
                 qPrintable(texts.join('\n')));
    }

private:
    // Pictures a.jpg .. e.jpg in Pics, destination 1 Keep beside it, moves on; started on
    // a.jpg.
    static WindowDriver& Start(PictureDesk& desk) {
        QDir(desk.Path("")).mkpath("Keep");
        for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg"})
            desk.Picture(QStringLiteral("Pics/") + name);
        CProfileStore& store = desk.Store();
        store.WriteProfileString("TargetSet01", "Target01Name", "Keep");
        store.WriteProfileString("TargetSet01", "Target01Dir", desk.Path("Keep"));
        store.WriteProfileInt("Config", "MoveFiles", 1);
        WindowDriver& frame = desk.Start(desk.Path("Pics"));
        if (!QTest::qWaitForWindowActive(&frame.Window()))
            qWarning("the window is not active: its shortcuts may not be reached");
        desk.Select("a.jpg");
        return frame;
    }
    // Every call into the pictures' folder waits `ms` from now on.
    static void Slow(PictureDesk& desk, int ms) {
        CDiskTap& tap = CDiskTap::Instance();
        tap.SetDelay(ms);
        tap.Watch(QFile::encodeName(QFileInfo(desk.Path("Pics")).canonicalFilePath()));
    }
};

QTEST_MAIN(TestPendingSorts)
#include "tst_pendingsorts.moc"
