// Full screen and zoom in the real window, driven by keys as a person does: sorting,
// undoing and stepping in full screen, the overlay that tells it, and the window as it was
// afterwards; the zoom keys, the scale in the status bar, and the scale kept while stepping.
#include "app/CFullScreen.h"
#include "app/CMainStatusBar.h"
#include "app/CPicSplitter.h"
#include "app/CViewCommands.h"
#include "picture/view/CImageCtrl.h"
#include "picture/view/CZoomSteps.h"
#include "platform/ui/CFullScreenOverlay.h"
#include "platform/ui/CMessageBar.h"
#include "resources/CommandIds.h"
#include "resources/CommandTable.h"
#include "sorting/widgets/CFileSelect.h"
#include "sorting/widgets/CTarget.h"
#include "tests/support/PictureDesk.h"

#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QToolBar>
#include <QtTest>

namespace {
// Pictures a to d (200 x 100) in the home folder; destination 1 "Keep", 2 "Later".
WindowDriver& Start(PictureDesk& desk) {
    QDir(desk.Path("")).mkdir("Keep");
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg"})
        desk.Picture(QString("Pics/") + name, 200, 100);
    desk.Store().WriteProfileString("TargetSet01", "Target01Name", "Keep");
    desk.Store().WriteProfileString("TargetSet01", "Target01Dir", desk.Path("Keep"));
    desk.Store().WriteProfileString("TargetSet01", "Target02Name", "Later");
    desk.Store().WriteProfileString("TargetSet01", "Target02Dir", desk.Path("Later"));
    desk.Store().WriteProfileInt("Config", "FitPicToWindow", 1);
    desk.Store().WriteProfileInt("Config", "UseRecyclingBin", 1);
    WindowDriver& frame = desk.Start();
    frame.Window().setGeometry(60, 50, 900, 600);
    if (!QTest::qWaitForWindowActive(&frame.Window()))
        qWarning("the window did not become active");
    return frame;
}

void Key(WindowDriver& frame, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(frame.Window().windowHandle(), key, mods);
}
} // namespace

class TestFullScreen : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The new keys take none of the others: every key is bound to one command only (two
    // would make Qt fire neither).
    void noKeyIsBoundTwice() {
        QHash<int, int> seen;
        for (const commands::Accelerator& a : commands::MainAccelerators()) {
            const int key = a.key.toCombined();
            QVERIFY2(!seen.contains(key) || seen.value(key) == a.id,
                     qPrintable(QKeySequence(a.key).toString()));
            seen.insert(key, a.id);
        }
        for (const int id :
             {cmd::ID_VIEW_FULL_SCREEN, cmd::ID_ZOOM_IN, cmd::ID_ZOOM_OUT, cmd::ID_ZOOM_ACTUAL})
            QVERIFY(commands::PrimaryKey(id).toCombined() != 0);
    }

    void sortAndUndoInFullScreenThenBackAsBefore() {
        PictureDesk desk;
        WindowDriver& frame = Start(desk);
        desk.Select("a.jpg");
        desk.List().setFocus();
        QVERIFY(desk.Ctrl().WaitForPicture());
        const QRect before = frame.Window().geometry();
        const QRect stored = frame.WindowRectForSaving();
        const QList<int> sizes = frame.Splitter()->sizes();
        CFullScreen& full = *frame.ViewCommands()->FullScreen();

        Key(frame, Qt::Key_F11);
        QVERIFY(full.IsOn());
        QTRY_VERIFY(frame.Window().windowState() & Qt::WindowFullScreen);
        QVERIFY(frame.Action(cmd::ID_VIEW_FULL_SCREEN)->isChecked());
        QVERIFY(!frame.FileSelectPane()->isVisible() && !frame.TargetPane()->isVisible());
        QVERIFY(!frame.Window().menuBar()->isVisible() && !frame.ToolBar()->isVisible());
        QVERIFY(!frame.GetStatusBar()->isVisible());
        QVERIFY(desk.Ctrl().isVisible());
        QCOMPARE(frame.WindowRectForSaving(), stored);
        // The overlay names the destinations with their keys.
        CFullScreenOverlay& overlay = *full.Overlay();
        QVERIFY(overlay.isVisible());
        QCOMPARE(overlay.RowTexts(), (QStringList{"1 Keep", "2 Later"}));

        // A digit sorts, Ctrl+Z undoes, Down steps: each told in the overlay.
        Key(frame, Qt::Key_1);
        QTRY_COMPARE(desk.OnDisk("Keep"), QStringList{"a.jpg"});
        QTRY_COMPARE(overlay.Heading(), QStringLiteral("Moved a.jpg to Keep — Ctrl+Z to undo"));
        QVERIFY(overlay.IsCounting());
        QVERIFY(!frame.MessageBar()->isVisible()); // told once, in the overlay
        QCOMPARE(desk.Current(), QStringLiteral("b.jpg"));
        Key(frame, Qt::Key_Z, Qt::ControlModifier);
        QTRY_COMPARE(desk.Current(), QStringLiteral("a.jpg"));
        QVERIFY(desk.OnDisk("Keep").isEmpty());
        QTRY_VERIFY(overlay.Heading().contains(QStringLiteral("a.jpg")));
        Key(frame, Qt::Key_Down);
        QCOMPARE(desk.Current(), QStringLiteral("b.jpg"));
        Key(frame, Qt::Key_Up);
        QCOMPARE(desk.Current(), QStringLiteral("a.jpg"));
        QVERIFY(frame.Window().isFullScreen());

        // Escape leaves: the picture stays, the window is as it was.
        Key(frame, Qt::Key_Escape);
        QVERIFY(!full.IsOn());
        QTRY_VERIFY(!(frame.Window().windowState() & Qt::WindowFullScreen));
        QTRY_COMPARE(frame.Window().geometry(), before);
        QCOMPARE(desk.Current(), QStringLiteral("a.jpg"));
        QVERIFY(frame.FileSelectPane()->isVisible() && frame.TargetPane()->isVisible());
        QVERIFY(frame.Window().menuBar()->isVisible() && frame.ToolBar()->isVisible());
        QVERIFY(frame.GetStatusBar()->isVisible());
        QCOMPARE(frame.Splitter()->sizes(), sizes);
        QCOMPARE(frame.WindowRectForSaving(), stored);
        QVERIFY(!overlay.isVisible());
        QVERIFY(!frame.Action(cmd::ID_VIEW_FULL_SCREEN)->isChecked());
        // Out of full screen, Escape clears the picture again.
        Key(frame, Qt::Key_Escape);
        QCOMPARE(desk.Current(), QString());
        QCOMPARE(desk.Messages(), 0);
    }

    // F11 leaves as it enters, and a maximised window comes back maximised.
    void maximisedComesBackMaximised() {
        PictureDesk desk;
        WindowDriver& frame = Start(desk);
        frame.Window().showMaximized();
        QTRY_VERIFY(frame.Window().isMaximized());
        const QRect stored = frame.WindowRectForSaving();
        Key(frame, Qt::Key_F11);
        QTRY_VERIFY(frame.Window().isFullScreen());
        QVERIFY(frame.Settings().GetMaximized() != 0);
        Key(frame, Qt::Key_F11);
        QTRY_VERIFY(!frame.Window().isFullScreen());
        QVERIFY(frame.Window().isMaximized());
        QCOMPARE(frame.WindowRectForSaving(), stored);
    }

    // Closed in full screen, the window stores the rectangle it had before.
    void closedInFullScreenStoresTheNormalRectangle() {
        PictureDesk desk;
        WindowDriver& frame = Start(desk);
        const QRect stored = frame.WindowRectForSaving();
        Key(frame, Qt::Key_F11);
        QTRY_VERIFY(frame.Window().isFullScreen());
        QVERIFY(frame.Window().geometry() != stored);
        frame.Window().close();
        const auto value = [&desk](const char* name) {
            return desk.Store().GetProfileInt("Config", name, -1);
        };
        QCOMPARE(QRect(QPoint(value("WindowX1"), value("WindowY1")),
                       QPoint(value("WindowX2") - 1, value("WindowY2") - 1)),
                 stored);
    }

    // + and - step, Z shows 100 %, the status bar tells the scale; Down in the list steps
    // to the next picture at the same scale; Space fits again.
    void zoomKeysAndTheScaleWhileStepping() {
        PictureDesk desk;
        WindowDriver& frame = Start(desk);
        desk.Select("a.jpg");
        desk.List().setFocus();
        CImageCtrl& ctrl = desk.Ctrl();
        QVERIFY(ctrl.WaitForPicture());
        const double fitted = ctrl.ZoomScale();
        QVERIFY(fitted > 1.0); // 200 x 100 fitted into the view
        QCOMPARE(frame.GetStatusBar()->ZoomText(), CZoomSteps::Text(fitted));
        Key(frame, Qt::Key_Minus);
        QCOMPARE(ctrl.ZoomScale(), CZoomSteps::Previous(fitted));
        QVERIFY(!frame.Action(cmd::ID_TOGGLE_RESIZE)->isChecked());
        QCOMPARE(frame.Settings().GetFitPicToWindow(), 0);
        Key(frame, Qt::Key_Plus);
        QCOMPARE(ctrl.ZoomScale(), CZoomSteps::Next(CZoomSteps::Previous(fitted)));
        Key(frame, Qt::Key_Z);
        QCOMPARE(ctrl.ZoomScale(), 1.0);
        Key(frame, Qt::Key_Plus);
        QCOMPARE(ctrl.ZoomScale(), 1.5);
        QCOMPARE(frame.GetStatusBar()->ZoomText(), QStringLiteral("150 %"));
        QCOMPARE(frame.GetStatusBar()->findChild<QLabel*>("paneZoom")->accessibleName(),
                 QStringLiteral("Zoom 150 %"));
        // The list keeps its arrows: Down shows the next picture, at 150 %.
        QVERIFY(desk.List().hasFocus());
        QTest::keyClick(&desk.List(), Qt::Key_Right);
        QCOMPARE(desk.Current(), QStringLiteral("b.jpg"));
        QCOMPARE(ctrl.ZoomScale(), 1.5);
        QVERIFY(ctrl.WaitForPicture());
        QCOMPARE(frame.GetStatusBar()->ZoomText(), QStringLiteral("150 %"));
        Key(frame, Qt::Key_Space);
        QCOMPARE(ctrl.ZoomScale(), fitted);
        QVERIFY(frame.Action(cmd::ID_TOGGLE_RESIZE)->isChecked());
        QCOMPARE(frame.Settings().GetFitPicToWindow(), 1);
        QCOMPARE(desk.Messages(), 0);
    }
};

QTEST_MAIN(TestFullScreen)
#include "tst_fullscreen.moc"
