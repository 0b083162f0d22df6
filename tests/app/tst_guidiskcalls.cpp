#include "picture/load/CPictureLoader.h"
#include "picture/view/CImageCtrl.h"
#include "sorting/journal/CUndoHistory.h"
#include "tests/support/CDiskTap.h"
#include "tests/support/PictureDesk.h"

#include <QtTest>

// On a network share every file-system call is a round trip, and one made on the GUI
// thread freezes the window for its length. The window, stepping through a share's
// pictures and sorting them onto the same share, with every call into the share's folder
// counted per thread (CDiskTap): none of them may come from the GUI thread.
class TestGuiDiskCalls : public QObject {
    Q_OBJECT
public:
    enum Action { Down, Up, SortKey, SlowSortKey, Undo, Redo, DeleteOutright };
    Q_ENUM(Action)

private Q_SLOTS:
    void cleanup() {
        CDiskTap::Instance().Stop();
        CDiskTap::Instance().SetDelay(0);
    }

    void noDiskCallOnTheGuiThread_data() {
        QTest::addColumn<QString>("from");
        QTest::addColumn<Action>("action");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QStringList>("keep"); // what destination 1 holds afterwards
        QTest::addColumn<QStringList>("gone"); // what the pictures' folder lost
        // The counts are of calls into the C library; on a share that caches attributes
        // for a second, about 9 of a step's and 100 of a sort's went to the server before
        // the file work moved to workers.
        const QStringList p04{"p04.jpg", "p04.NEF", "p04.xmp"};
        QTest::newRow("Down to the next picture")
            << "p02.jpg" << Down << "p03.jpg" << QStringList() << QStringList();
        QTest::newRow("Up to the previous picture")
            << "p03.jpg" << Up << "p02.jpg" << QStringList() << QStringList();
        QTest::newRow("key 1 onto the same share")
            << "p02.jpg" << SortKey << "p03.jpg" << QStringList{"p02.jpg"}
            << QStringList{"p02.jpg"};
        QTest::newRow("key 1, a picture with a sidecar and a RAW twin")
            << "p04.jpg" << SortKey << "p05.jpg" << p04 << p04;
        QTest::newRow("key 1, a picture with companions, on a slow share")
            << "p04.jpg" << SlowSortKey << "p05.jpg" << p04 << p04;
        // Up to the outcome's arrival in the window: the list is then read again on the
        // GUI thread to show the picture brought back, which is the listing's own matter.
        QTest::newRow("Ctrl+Z after key 1, with companions")
            << "p04.jpg" << Undo << "p04.jpg" << QStringList() << QStringList();
        QTest::newRow("Ctrl+Y after Ctrl+Z, with companions")
            << "p04.jpg" << Redo << "p05.jpg" << p04 << p04;
        QTest::newRow("Delete with the trash off, with companions")
            << "p04.jpg" << DeleteOutright << "p05.jpg" << QStringList() << p04;
    }
    void noDiskCallOnTheGuiThread() {
        QFETCH(QString, from);
        QFETCH(Action, action);
        QFETCH(QString, to);
        QFETCH(QStringList, keep);
        QFETCH(QStringList, gone);

        PictureDesk desk;
        if (action == DeleteOutright)
            desk.Store().WriteProfileInt("Config", "UseRecyclingBin", 0);
        WindowDriver& frame = Start(desk);
        CImageCtrl& ctrl = desk.Ctrl();
        desk.Select(from);
        QVERIFY(Settle(ctrl));
        Prepare(frame, action);
        QVERIFY(Settle(ctrl));

        CDiskTap& tap = CDiskTap::Instance();
        tap.Watch(QFile::encodeName(QFileInfo(desk.Path("share")).canonicalFilePath()));
        Act(desk, frame, action);
        QVERIFY(frame.Settle());
        QCOMPARE(desk.Current(), to);
        QVERIFY(Settle(ctrl));
        tap.Stop();
        frame.UndoCommands()->History().SetTestHook({});

        QCOMPARE(desk.OnDisk("share/Keep"), keep);
        for (const QString& name : gone)
            QVERIFY2(!desk.OnDisk("share/Pics").contains(name), qPrintable(name));
        const QStringList calls = tap.CallsOn(CDiskTap::CurrentThread());
        qInfo("%d file-system calls into the share on the GUI thread: %s", int(calls.size()),
              qPrintable(calls.join(", ")));
        QCOMPARE(calls.size(), 0);
    }

    // From the start of the window to its first picture on show: the folder is listed and
    // the picture read, all in workers.
    void noDiskCallOnTheGuiThreadAtStart() {
        PictureDesk desk;
        Lay(desk);
        CDiskTap& tap = CDiskTap::Instance();
        tap.Watch(QFile::encodeName(QFileInfo(desk.Path("share")).canonicalFilePath()));
        desk.Start(desk.Path("share/Pics"));
        QVERIFY(Settle(desk.Ctrl()));
        tap.Stop();
        QCOMPARE(desk.Current(), QStringLiteral("p01.jpg"));
        const QStringList calls = tap.CallsOn(CDiskTap::CurrentThread());
        qInfo("%d file-system calls into the share on the GUI thread: %s", int(calls.size()),
              qPrintable(calls.join(", ")));
        QEXPECT_FAIL("",
                     "the start-up path is checked to be a folder, the tree's walk lists the "
                     "share on its way, and the session notes the first picture (3 calls)",
                     Continue);
        QCOMPARE(calls.size(), 0);
    }

private:
    // Pictures p01..p06.jpg in share/Pics, p04 with a sidecar and a RAW twin; destination
    // 1 is share/Keep, on the same file system.
    static void Lay(PictureDesk& desk) {
        QDir(desk.Path("")).mkpath("share/Pics");
        QDir(desk.Path("")).mkpath("share/Keep");
        for (int i = 1; i <= 6; ++i)
            desk.Picture(QStringLiteral("share/Pics/p%1.jpg").arg(i, 2, 10, QLatin1Char('0')));
        WriteBytes(QFile::encodeName(desk.Path("share/Pics/p04.xmp")), "<x:xmpmeta/>\n");
        WriteBytes(QFile::encodeName(desk.Path("share/Pics/p04.NEF")), "not a raw file");
        CProfileStore& store = desk.Store();
        store.WriteProfileString("TargetSet01", "HomeDirectory", desk.Path("share/Pics"));
        store.WriteProfileString("TargetSet01", "Target01Name", "Keep");
        store.WriteProfileString("TargetSet01", "Target01Dir", desk.Path("share/Keep"));
        store.WriteProfileInt("Config", "MoveFiles", 1);
    }
    static WindowDriver& Start(PictureDesk& desk) {
        Lay(desk);
        return desk.Start(desk.Path("share/Pics"));
    }
    // The picture on show complete and nothing left decoding ahead.
    static bool Settle(CImageCtrl& ctrl) {
        return ctrl.WaitForPicture() &&
               QTest::qWaitFor([&ctrl] { return ctrl.Loader().RunningCount() == 0; }, 20000);
    }
    // What comes before the action: the sort that Undo takes back, or that and its undo.
    static void Prepare(WindowDriver& frame, Action action) {
        if (action == Undo || action == Redo)
            frame.SendTo(0);
        if (action == Redo) {
            frame.Trigger(cmd::ID_EDIT_UNDO);
            frame.Settle();
        }
    }
    // Counting ends once a step's files are handled and recorded, as its outcome goes to
    // the window.
    static void StopAtOutcome(WindowDriver& frame) {
        frame.UndoCommands()->History().SetTestHook([](CUndoHistory::Point point) {
            if (point == CUndoHistory::Point::Recorded)
                CDiskTap::Instance().Stop();
        });
    }
    static void Act(PictureDesk& desk, WindowDriver& frame, Action action) {
        switch (action) {
        case Down:
            QTest::keyClick(&desk.List(), Qt::Key_Down);
            break;
        case Up:
            QTest::keyClick(&desk.List(), Qt::Key_Up);
            break;
        case SlowSortKey: // every call into the share waits, as a round trip would
            CDiskTap::Instance().SetDelay(20);
            frame.SendTo(0);
            break;
        case SortKey:
            frame.SendTo(0);
            break;
        case Undo:
            StopAtOutcome(frame);
            QTest::keyClick(&desk.List(), Qt::Key_Z, Qt::ControlModifier);
            break;
        case Redo:
            StopAtOutcome(frame);
            QTest::keyClick(&desk.List(), Qt::Key_Y, Qt::ControlModifier);
            break;
        case DeleteOutright: // the warning before it is answered by the desk
            QTest::keyClick(&desk.List(), Qt::Key_Delete);
            break;
        }
    }
};

QTEST_MAIN(TestGuiDiskCalls)
#include "tst_guidiskcalls.moc"
