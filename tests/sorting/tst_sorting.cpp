#include "picture/load/CPictureLoader.h"
#include "picture/view/CImageCtrl.h"
#include "platform/ui/CDialogBuilder.h"
#include "resources/CommandIds.h"
#include "resources/templates/TargetTemplate.h"
#include "sorting/session/CSortSession.h"
#include "sorting/widgets/CFileSelect.h"
#include "sorting/widgets/CTarget.h"
#include "tests/support/PictureDesk.h"

#include <QAction>
#include <QPushButton>
#include <QtTest>

namespace {
// Pictures `names` in the home folder, destination 1 "Keep" and destination 2 "Nowhere",
// whose folder does not exist; then the main window.
WindowDriver& Start(PictureDesk& desk, const QStringList& names, int moveFiles = 1) {
    QDir(desk.Path("")).mkdir("Keep");
    for (const QString& name : names)
        desk.Picture("Pics/" + name);
    CProfileStore& store = desk.Store();
    store.WriteProfileString("TargetSet01", "Target01Name", "Keep");
    store.WriteProfileString("TargetSet01", "Target01Dir", desk.Path("Keep"));
    store.WriteProfileString("TargetSet01", "Target02Name", "Nowhere");
    store.WriteProfileString("TargetSet01", "Target02Dir", desk.Path("missing"));
    store.WriteProfileInt("Config", "MoveFiles", moveFiles);
    return desk.Start();
}
} // namespace

class TestSorting : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // After a move the list goes on with the next picture, or the new last one; with none
    // left the picture is hidden and the window says so. (Which picture comes next from
    // each place is the sort session's own test.)
    void moveGoesOnToTheNextPicture() {
        PictureDesk desk;
        WindowDriver& frame = Start(desk, {"a.jpg", "b.jpg", "c.jpg"});
        desk.Select("b.jpg");
        frame.SendTo(0);
        QCOMPARE(desk.Current(), QStringLiteral("c.jpg"));
        QVERIFY(desk.Ctrl().isVisible());
        QCOMPARE(frame.Window().windowTitle(), QStringLiteral(" c.jpg - Vantrel"));
        QCOMPARE(frame.StatusPaneText(1), QStringLiteral("2 files"));
        QTRY_VERIFY(desk.List().hasFocus());
        frame.SendTo(0); // the last one
        QCOMPARE(desk.Current(), QStringLiteral("a.jpg"));
        frame.SendTo(0); // the only one
        QCOMPARE(desk.OnDisk("Keep"), (QStringList{"a.jpg", "b.jpg", "c.jpg"}));
        QVERIFY(desk.OnDisk("Pics").isEmpty() && desk.Listed().isEmpty());
        QCOMPARE(desk.List().m_nCurItem, -1);
        QVERIFY(!desk.Ctrl().isVisible());
        QCOMPARE(frame.StatusPaneText(1), QStringLiteral("0 files"));
        QCOMPARE(frame.StatusPaneText(0), QStringLiteral("Ready"));
        QCOMPARE(frame.Window().windowTitle(), QStringLiteral(" Ostlewin - Vantrel"));
        QVERIFY(!frame.Action(cmd::ID_FILE_PRINT)->isEnabled());
    }

    // The picture a sort moves on to was decoded while the previous one was on show: it
    // is drawn with its own pixels at once, without waiting for a decode.
    void sortShowsThePictureDecodedAheadAtOnce() {
        PictureDesk desk;
        WindowDriver& frame = Start(desk, {"a.jpg", "b.jpg", "c.jpg", "d.jpg"});
        CImageCtrl& ctrl = desk.Ctrl();
        for (const char* name : {"a.jpg", "b.jpg"}) {
            desk.Select(name);
            QVERIFY(ctrl.WaitForPicture());
            QTRY_COMPARE_WITH_TIMEOUT(ctrl.Loader().RunningCount(), 0, 10000);
        }
        frame.SendTo(0);
        QCOMPARE(desk.Current(), QStringLiteral("c.jpg"));
        QCOMPARE(ctrl.LoadedPath(), desk.Path("Pics/c.jpg"));
        QVERIFY(ctrl.IsPictureComplete());
        QVERIFY(!ctrl.DecodedSize().isEmpty());
    }

    // Pictures added and removed by other programs: the list, the count and the session
    // follow without a refill and the picture on show stays; when the picture on show goes
    // it is dealt with as if moved (the next one is shown), and a sort afterwards moves the
    // picture the window shows.
    void outsideChangesFollowTheMoveOnRule() {
        PictureDesk desk;
        WindowDriver& frame = Start(desk, {"b.jpg", "d.jpg", "f.jpg"});
        desk.Select("d.jpg");
        QVERIFY(desk.Picture("Pics/a.jpg") && desk.Picture("Pics/e.jpg"));
        QVERIFY(QFile::remove(desk.Path("Pics/f.jpg")));
        QTRY_COMPARE(desk.Listed(), (QStringList{"a.jpg", "b.jpg", "d.jpg", "e.jpg"}));
        QCOMPARE(desk.Current(), QStringLiteral("d.jpg"));
        QCOMPARE(frame.StatusPaneText(1), QStringLiteral("4 files"));
        QCOMPARE(desk.List().Session().Count(), 4);

        QVERIFY(QFile::remove(desk.Path("Pics/d.jpg")));
        QTRY_COMPARE(desk.Current(), QStringLiteral("e.jpg"));
        QVERIFY(desk.Ctrl().isVisible());
        QCOMPARE(frame.Window().windowTitle(), QStringLiteral(" e.jpg - Vantrel"));
        QCOMPARE(frame.StatusPaneText(1), QStringLiteral("3 files"));
        frame.SendTo(0);
        QCOMPARE(desk.OnDisk("Keep"), QStringList{"e.jpg"});
        QCOMPARE(desk.Current(), QStringLiteral("b.jpg")); // the new last one

        for (const char* name : {"a.jpg", "b.jpg"})
            QVERIFY(QFile::remove(desk.Path("Pics/") + name));
        QTRY_VERIFY(desk.Listed().isEmpty());
        QVERIFY(!desk.Ctrl().isVisible());
        QCOMPARE(frame.StatusPaneText(0), QStringLiteral("Ready"));
        QCOMPARE(frame.StatusPaneText(1), QStringLiteral("0 files"));
    }

    void failedMoveKeepsThePicture() {
        PictureDesk desk;
        // A zero-byte picture cannot move either.
        QVERIFY(WriteBytes(QFile::encodeName(desk.Path("Pics/empty.jpg")), ""));
        WindowDriver& frame = Start(desk, {"a.jpg", "b.jpg"});
        for (const QString& name : {QStringLiteral("b.jpg"), QStringLiteral("empty.jpg")}) {
            desk.Select(name);
            frame.SendTo(1); // its directory does not exist
            QCOMPARE(desk.Current(), name);
        }
        QCOMPARE(desk.Messages(), 2);
        QCOMPARE(desk.Listed(), (QStringList{"a.jpg", "b.jpg", "empty.jpg"}));
        QCOMPARE(desk.OnDisk("Pics"), (QStringList{"a.jpg", "b.jpg", "empty.jpg"}));
        QVERIFY(!QFileInfo::exists(desk.Path("missing")));

        // A file taken away behind the program's back cannot be moved; the list does not
        // bring back a picture that is no longer there, and goes on to the next.
        QFile::remove(desk.Path("Pics/a.jpg"));
        desk.Select("a.jpg");
        frame.SendTo(0);
        QCOMPARE(desk.Messages(), 3);
        QCOMPARE(desk.Current(), QStringLiteral("b.jpg"));
        QCOMPARE(desk.Listed(), (QStringList{"b.jpg", "empty.jpg"}));
        QVERIFY(desk.OnDisk("Keep").isEmpty());
    }

    void copyLeavesTheSourceAndMovesOn() {
        PictureDesk desk;
        WindowDriver& frame = Start(desk, {"a.jpg", "b.jpg"}, 0);
        desk.Select("a.jpg");
        frame.SendTo(0);
        QCOMPARE(desk.OnDisk("Keep"), QStringList{"a.jpg"});
        QCOMPARE(desk.OnDisk("Pics"), (QStringList{"a.jpg", "b.jpg"}));
        QCOMPARE(QFileInfo(desk.Path("Keep/a.jpg")).size(),
                 QFileInfo(desk.Path("Pics/a.jpg")).size());
        QCOMPARE(desk.Current(), QStringLiteral("b.jpg"));
    }

    void homeButtonAndNoCurrentFile() {
        PictureDesk desk;
        QDir(desk.Path("Pics")).mkdir("Sub");
        desk.Picture("Pics/Sub/s.jpg");
        WindowDriver& frame = Start(desk, {"a.jpg"});
        frame.FileSelectPane()->m_treeFolders.SelectPath(desk.Path("Pics/Sub"));
        QVERIFY(frame.Settle());
        frame.SendTo(20); // nothing current: nothing happens
        QCOMPARE(desk.OnDisk("Pics/Sub"), QStringList{"s.jpg"});
        QTRY_VERIFY(desk.List().hasFocus());
        desk.Select("s.jpg");
        frame.SendTo(20); // Home
        QCOMPARE(desk.OnDisk("Pics"), (QStringList{"a.jpg", "s.jpg"}));
        QVERIFY(desk.Listed().isEmpty());
    }

    // The destination bar's buttons reach the session through the main window, and the
    // keyboard goes back to the list.
    void buttonsSortThroughTheSession() {
        PictureDesk desk;
        WindowDriver& frame = Start(desk, {"a.jpg", "b.jpg", "c.jpg"});
        QVERIFY(QTest::qWaitForWindowActive(&frame.Window()));
        const auto click = [&](int id) {
            QTest::mouseClick(CDialogBuilder::ControlAs<QPushButton>(frame.TargetPane(), id),
                              Qt::LeftButton);
        };
        desk.Select("b.jpg");
        click(dlg::IDC_TARGET1);
        QVERIFY(frame.Settle());
        QCOMPARE(desk.OnDisk("Keep"), QStringList{"b.jpg"});
        QCOMPARE(desk.Current(), QStringLiteral("c.jpg"));
        QVERIFY(desk.List().hasFocus());
        click(dlg::IDC_DELETE);
        QVERIFY(frame.Settle());
        QCOMPARE(desk.OnDisk("Pics"), QStringList{"a.jpg"});
        QCOMPARE(desk.OnDisk("data/Trash/files"), QStringList{"c.jpg"});
        QCOMPARE(desk.Current(), QStringLiteral("a.jpg"));
        QCOMPARE(frame.Session().Pictures(),
                 QList<QByteArray>{QFile::encodeName(desk.Path("Pics/a.jpg"))});
        QVERIFY(desk.List().hasFocus());
    }

    // Rows that go or come without the list's current place being told must not make
    // another file the one a click sends away.
    void actionsFollowTheFileNotItsPlace() {
        PictureDesk desk;
        WindowDriver& frame = Start(desk, {"a.jpg", "b.jpg", "c.jpg", "d.jpg"});
        desk.Select("c.jpg");
        desk.List().RemoveItem(0); // the current place still says 2, where d.jpg now stands
        frame.SendTo(0);
        QCOMPARE(desk.OnDisk("Keep"), QStringList{"c.jpg"});
        QCOMPARE(desk.Current(), QStringLiteral("d.jpg"));
        QCOMPARE(desk.OnDisk("Pics"), (QStringList{"a.jpg", "b.jpg", "d.jpg"}));
    }

    void deleteKeyInTheTreeDeletesThePicture() {
        PictureDesk desk;
        QVERIFY(QTest::qWaitForWindowActive(&Start(desk, {"a.jpg", "b.jpg"}).Window()));
        desk.Select("a.jpg");
        auto& tree = desk.Frame().FileSelectPane()->m_treeFolders;
        tree.setFocus();
        QTest::keyClick(&tree, Qt::Key_Delete);
        QVERIFY(desk.Frame().Settle());
        QCOMPARE(desk.OnDisk("Pics"), QStringList{"b.jpg"});
        QVERIFY(QFileInfo(desk.Path("Pics")).isDir());
        QCOMPARE(desk.Current(), QStringLiteral("b.jpg"));
        QTRY_VERIFY(desk.List().hasFocus());
    }
};

QTEST_MAIN(TestSorting)
#include "tst_sorting.moc"
