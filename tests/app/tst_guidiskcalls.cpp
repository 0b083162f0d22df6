#include "picture/load/CPictureLoader.h"
#include "picture/view/CImageCtrl.h"
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
    enum Action { Down, Up, SortKey, SlowSortKey, Undo, Redo, DeleteOutright, DeleteToTrash };
    Q_ENUM(Action)
    enum Browse { Refresh, WalkDeep, WalkGone, ExpandFolder, ShowAgain };
    Q_ENUM(Browse)

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
        // Through to the picture brought back: the folder is read again on a worker.
        QTest::newRow("Ctrl+Z after key 1, with companions")
            << "p04.jpg" << Undo << "p04.jpg" << QStringList() << QStringList();
        QTest::newRow("Ctrl+Y after Ctrl+Z, with companions")
            << "p04.jpg" << Redo << "p05.jpg" << p04 << p04;
        QTest::newRow("Delete with the trash off, with companions")
            << "p04.jpg" << DeleteOutright << "p05.jpg" << QStringList() << p04;
        // Counted in the trash: Undo is offered while its files are there.
        QTest::newRow("Delete to the trash, with companions")
            << "p04.jpg" << DeleteToTrash << "p05.jpg" << QStringList() << p04;
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
        const QString watched = action == DeleteToTrash ? "data" : "share";
        tap.Watch(QFile::encodeName(QFileInfo(desk.Path(watched)).canonicalFilePath()));
        Act(desk, frame, action);
        QVERIFY(frame.Settle());
        QCOMPARE(desk.Current(), to);
        QVERIFY(Settle(ctrl));
        tap.Stop();

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
        QCOMPARE(calls.size(), 0);
    }

    // Browsing the share: F5, a path walked (the tree opens each level on its way, or stops
    // at the deepest folder there is), a folder opened in the tree, and a picture an undo
    // brought back shown again once the folder is read again.
    void noDiskCallOnTheGuiThreadWhileBrowsing_data() {
        QTest::addColumn<Browse>("action");
        QTest::addColumn<QString>("folder");  // the tree's folder afterwards
        QTest::addColumn<QString>("current"); // the picture current afterwards
        QTest::addColumn<QStringList>("listed");
        const QStringList all{"p01.jpg", "p02.jpg", "p03.jpg", "p04.jpg",
                              "p05.jpg", "p06.jpg", "p07.jpg"};
        // As after any filling, no picture is current until one is chosen.
        QTest::newRow("F5 lists a picture made meanwhile") << Refresh << "Pics"
                                                           << "" << all;
        QTest::newRow("a deep path, each level read on the way") << WalkDeep << "Day"
                                                                 << "" << QStringList{"d01.jpg"};
        QTest::newRow("a path that is gone ends at its deepest folder") << WalkGone << "Pics"
                                                                        << "" << QStringList{};
        QTest::newRow("a folder opened in the tree") << ExpandFolder << "Pics"
                                                     << "p02.jpg" << all.mid(0, 6);
        QTest::newRow("undo's picture shown again once listed") << ShowAgain << "Pics"
                                                                << "p07.jpg" << all;
    }
    void noDiskCallOnTheGuiThreadWhileBrowsing() {
        QFETCH(Browse, action);
        QFETCH(QString, folder);
        QFETCH(QString, current);
        QFETCH(QStringList, listed);

        PictureDesk desk;
        WindowDriver& frame = Start(desk);
        QVERIFY(QDir(desk.Path("")).mkpath("share/Keep/Trip/Day"));
        QVERIFY(desk.Picture("share/Keep/Trip/Day/d01.jpg"));
        desk.Select("p02.jpg");
        QVERIFY(Settle(desk.Ctrl()));
        QVERIFY(desk.Picture("share/Pics/p07.jpg")); // the list has not seen it yet

        CDiskTap& tap = CDiskTap::Instance();
        tap.Watch(QFile::encodeName(QFileInfo(desk.Path("share")).canonicalFilePath()));
        BrowseTo(desk, action);
        QVERIFY(frame.Settle());
        if (!current.isEmpty())
            QVERIFY(Settle(desk.Ctrl()));
        tap.Stop();

        CNamespaceTreeView& tree = frame.FileSelectPane()->m_treeFolders;
        QCOMPARE(tree.currentItem()->text(0), folder);
        QCOMPARE(desk.Current(), current);
        if (action != ExpandFolder) // the live follower may have listed p07 meanwhile
            QCOMPARE(desk.Listed(), listed);
        if (action == ExpandFolder)
            QCOMPARE(Child(tree.currentItem()->parent(), "Keep")->childCount(), 1);
        const QStringList calls = tap.CallsOn(CDiskTap::CurrentThread());
        qInfo("%d file-system calls into the share on the GUI thread: %s", int(calls.size()),
              qPrintable(calls.join(", ")));
        QCOMPARE(calls.size(), 0);
    }

private:
    // Pictures p01..p06.jpg in share/Pics, p04 with a sidecar and a RAW twin; destination
    // 1 is share/Keep, on the same file system.
    static void Lay(PictureDesk& desk) {
        QDir(desk.Path("")).mkpath("share/Pics");
        QDir(desk.Path("")).mkpath("share/Keep");
        QDir(desk.Path("")).mkpath("data"); // the trash's home
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
    static QTreeWidgetItem* Child(QTreeWidgetItem* parent, const QString& text) {
        for (int i = 0; parent && i < parent->childCount(); ++i)
            if (parent->child(i)->text(0) == text)
                return parent->child(i);
        return nullptr;
    }
    static void BrowseTo(PictureDesk& desk, Browse action) {
        CNamespaceTreeView& tree = desk.Frame().FileSelectPane()->m_treeFolders;
        switch (action) {
        case Refresh:
            desk.Frame().Trigger(cmd::ID_REFRESH_FILES);
            break;
        case WalkDeep:
            tree.SelectPath(desk.Path("share/Keep/Trip/Day"));
            break;
        case WalkGone:
            tree.SelectPath(desk.Path("share/Pics/Gone/Deeper"));
            break;
        case ExpandFolder:
            tree.expandItem(Child(tree.currentItem()->parent(), "Keep"));
            break;
        case ShowAgain:
            QVERIFY(desk.List().ShowFile(QFile::encodeName(desk.Path("share/Pics/p07.jpg"))));
            break;
        }
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
            QTest::keyClick(&desk.List(), Qt::Key_Z, Qt::ControlModifier);
            break;
        case Redo:
            QTest::keyClick(&desk.List(), Qt::Key_Y, Qt::ControlModifier);
            break;
        case DeleteOutright: // the warning before it is answered by the desk
        case DeleteToTrash:
            QTest::keyClick(&desk.List(), Qt::Key_Delete);
            break;
        }
    }
};

QTEST_MAIN(TestGuiDiskCalls)
#include "tst_guidiskcalls.moc"
