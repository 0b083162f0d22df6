// Where the keyboard focus is and what the window shows after each step a person takes, with
// the real window driven by its keys.
#include "app/CMainStatusBar.h"
#include "app/CPicSplitter.h"
#include "platform/ui/CDialogBuilder.h"
#include "platform/ui/CFocusFrame.h"
#include "platform/ui/CMessageBar.h"
#include "resources/CommandIds.h"
#include "resources/templates/TargetTemplate.h"
#include "sorting/widgets/CFileSelect.h"
#include "sorting/widgets/CTarget.h"
#include "sorting/widgets/CTargetButton.h"
#include "tests/support/PictureDesk.h"
#include "tests/support/WindowDriver.h"

#include <QAccessible>
#include <QAction>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

namespace {

// Pictures a, b, c in the home folder Pics/ and destination 1 "Keep".
void Lay(PictureDesk& desk) {
    QDir(desk.Path("")).mkdir("Keep");
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"})
        desk.Picture(QString("Pics/") + name);
    desk.Store().WriteProfileString("TargetSet01", "Target01Name", "Keep");
    desk.Store().WriteProfileString("TargetSet01", "Target01Dir", desk.Path("Keep"));
}

WindowDriver& Open(PictureDesk& desk, const QString& startupPath = QString()) {
    WindowDriver& frame = desk.Start(startupPath);
    frame.Window().activateWindow();
    if (!QTest::qWaitForWindowActive(&frame.Window()))
        qWarning("the window did not become active");
    return frame;
}

// Returns once a sort the key gave has its outcome shown.
void Press(WindowDriver& frame, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(frame.Window().windowHandle(), key, mods);
    QVERIFY(frame.Settle());
}

// The pane that holds the keyboard focus, by its accessible name; every widget from the
// focused one up to it is named.
QString FocusedPane() {
    const QStringList panes{"Folders", "Pictures", "Picture", "Destinations"};
    for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget()) {
        if (panes.contains(w->accessibleName()))
            return w->accessibleName();
        if (QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name).isEmpty())
            return QStringLiteral("nameless %1").arg(w->metaObject()->className());
    }
    return QString();
}

} // namespace

class TestFocus : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Started with a folder or a picture, the list has the keyboard with the first (or the
    // named) picture shown, so the first Down goes to the next picture, not the next folder.
    void startedWithAPathTheListHasTheKeys_data() {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("afterDown");
        QTest::newRow("folder") << "Pics"
                                << "a.jpg"
                                << "b.jpg";
        QTest::newRow("picture") << "Pics/b.jpg"
                                 << "b.jpg"
                                 << "c.jpg";
    }
    void startedWithAPathTheListHasTheKeys() {
        QFETCH(QString, start);
        QFETCH(QString, shown);
        QFETCH(QString, afterDown);
        PictureDesk desk;
        Lay(desk);
        QDir(desk.Path("Pics")).mkdir("Sub");
        WindowDriver& frame = Open(desk, desk.Path(start));
        QVERIFY(desk.List().hasFocus());
        QCOMPARE(desk.Current(), shown);
        QVERIFY(desk.Ctrl().isVisible());
        Press(frame, Qt::Key_Down);
        QCOMPARE(desk.Current(), afterDown);
        QCOMPARE(QFileInfo(desk.List().m_strCurFile).absolutePath(), desk.Path("Pics"));
    }

    // Undo brings the picture back into the list with the keys; Redo sends it away again
    // and shows the one after it, so that Down goes on from there.
    void undoAndRedoLeaveTheListReady() {
        PictureDesk desk;
        Lay(desk);
        WindowDriver& frame = Open(desk, desk.Path("Pics"));
        Press(frame, Qt::Key_1);
        QCOMPARE(desk.OnDisk("Keep"), QStringList{"a.jpg"});
        QCOMPARE(desk.Current(), QStringLiteral("b.jpg"));
        frame.TargetPane()->TargetButton(0)->setFocus(); // somewhere else
        Press(frame, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(desk.Current(), QStringLiteral("a.jpg"));
        QVERIFY(desk.List().hasFocus());
        Press(frame, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(desk.OnDisk("Keep"), QStringList{"a.jpg"});
        QCOMPARE(desk.Current(), QStringLiteral("b.jpg"));
        QVERIFY(desk.Ctrl().isVisible());
        QVERIFY(desk.List().hasFocus());
        Press(frame, Qt::Key_Down);
        QCOMPARE(desk.Current(), QStringLiteral("c.jpg"));
    }

    // Space fits the picture or shows it at its own size wherever the focus is, also on a
    // destination button; Return presses the button.
    void spaceTogglesFitInEveryPane() {
        PictureDesk desk;
        Lay(desk);
        WindowDriver& frame = Open(desk, desk.Path("Pics"));
        QAction* fit = frame.Action(cmd::ID_TOGGLE_RESIZE);
        CTarget* bar = frame.TargetPane();
        QList<QWidget*> places{&desk.List(), &frame.FileSelectPane()->m_treeFolders,
                               bar->TargetButton(0), CDialogBuilder::Control(bar, dlg::IDC_DELETE),
                               CDialogBuilder::Control(bar, dlg::IDC_HOME)};
        for (QWidget* place : places) {
            place->setFocus();
            QVERIFY2(place->hasFocus(), qPrintable(place->objectName()));
            const bool bBefore = fit->isChecked();
            Press(frame, Qt::Key_Space);
            QCOMPARE(fit->isChecked(), !bBefore);
            QCOMPARE(frame.Settings().GetFitPicToWindow() != 0, !bBefore);
        }
        QCOMPARE(desk.OnDisk("Keep"), QStringList());
        QCOMPARE(desk.Listed().size(), 3);
        bar->TargetButton(0)->setFocus();
        Press(frame, Qt::Key_Return);
        QCOMPARE(desk.OnDisk("Keep"), QStringList{"a.jpg"});
        QVERIFY(desk.List().hasFocus());
    }

    // Whatever pane had the keys, a sort, a delete, an undo and a dialog closed give them
    // back to the list, with a picture shown there: the next one, or the one brought back.
    void actionsGiveTheKeysBackToTheList_data() {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("shown");
        QTest::newRow("sort") << int(cmd::ID_SEND_TO_TARGET1) << "b.jpg";
        QTest::newRow("delete") << int(cmd::ID_DELETE_PICTURE) << "b.jpg";
        QTest::newRow("undo") << int(cmd::ID_EDIT_UNDO) << "a.jpg";
        QTest::newRow("about") << int(cmd::ID_APP_ABOUT) << "a.jpg";
        QTest::newRow("program config") << int(cmd::ID_PROGRAM_CONFIG) << "a.jpg";
        QTest::newRow("target directories") << int(cmd::ID_TARGET_DIRECTORIES) << "a.jpg";
        QTest::newRow("file types") << int(cmd::ID_FILE_TYPES) << "a.jpg";
        QTest::newRow("keyboard shortcuts") << int(cmd::ID_HELP_KEYBOARD) << "a.jpg";
    }
    void actionsGiveTheKeysBackToTheList() {
        QFETCH(int, command);
        QFETCH(QString, shown);
        PictureDesk desk;
        Lay(desk);
        WindowDriver& frame = Open(desk, desk.Path("Pics"));
        if (command == cmd::ID_EDIT_UNDO)
            Press(frame, Qt::Key_1);
        for (QWidget* place : {static_cast<QWidget*>(&frame.FileSelectPane()->m_treeFolders),
                               static_cast<QWidget*>(frame.TargetPane()->TargetButton(0)),
                               static_cast<QWidget*>(frame.PictureViewPane())}) {
            place->setFocus();
            QTimer::singleShot(0, [] { // a dialog is closed as it opens
                if (QWidget* dialog = QApplication::activeModalWidget())
                    dialog->close();
            });
            frame.Action(command)->trigger();
            QVERIFY(frame.Settle()); // an undo's or a filter's listing read
            QCOMPARE(frame.Window().focusWidget(), &desk.List());
            QCOMPARE(desk.Current(), shown);
            QVERIFY(desk.Ctrl().isVisible());
            if (command == cmd::ID_EDIT_UNDO || command == cmd::ID_SEND_TO_TARGET1 ||
                command == cmd::ID_DELETE_PICTURE)
                break; // once: the files have changed
        }
    }

    // F6 goes round the four panes, Shift+F6 the other way; each has its name, and the one
    // with the focus is framed in the highlight colour.
    void f6CyclesThroughTheNamedPanes() {
        PictureDesk desk;
        Lay(desk);
        WindowDriver& frame = Open(desk, desk.Path("Pics"));
        const QStringList order{"Pictures", "Picture", "Destinations", "Folders"};
        QCOMPARE(FocusedPane(), QStringLiteral("Pictures"));
        for (const QString& pane : order.mid(1) + order.mid(0, 1)) {
            Press(frame, Qt::Key_F6);
            QCOMPARE(FocusedPane(), pane);
        }
        for (const char* pane : {"Folders", "Destinations", "Picture", "Pictures"}) {
            Press(frame, Qt::Key_F6, Qt::ShiftModifier);
            QCOMPARE(FocusedPane(), pane);
        }
    }

    // The pane with the focus is framed in the highlight colour, and only that one; the
    // frame follows the pane when the splitter moves. (F6's test reads the panes' names.)
    void focusedPaneIsFramed() {
        PictureDesk desk;
        Lay(desk);
        WindowDriver& frame = Open(desk, desk.Path("Pics"));
        CFocusFrame* ring = frame.Window().findChild<CFocusFrame*>();
        QVERIFY(ring);
        const auto framed = [&](QWidget* pane) {
            return ring->isVisible() &&
                   ring->geometry() == QRect(pane->mapTo(&frame.Window(), QPoint()), pane->size());
        };
        QVERIFY(framed(&desk.List()));
        Press(frame, Qt::Key_F6);
        Press(frame, Qt::Key_F6);
        QWidget* bar = frame.TargetPane();
        QVERIFY(framed(bar));
        const QImage image = frame.Window().grab(ring->geometry()).toImage();
        const QColor highlight =
            frame.Window().palette().color(QPalette::Active, QPalette::Highlight);
        for (const QPoint& p : {QPoint(0, image.height() / 2), QPoint(image.width() / 2, 0),
                                QPoint(image.width() - 1, image.height() / 3)})
            QCOMPARE(image.pixelColor(p), highlight);
        QList<int> sizes = frame.Splitter()->sizes();
        sizes[1] -= 40;
        sizes[2] += 40;
        frame.Splitter()->setSizes(sizes);
        QVERIFY(framed(bar));
        frame.ToolBar()->widgetForAction(frame.Action(cmd::ID_GO_TO_HOME))->setFocus();
        QVERIFY(!ring->isVisible());
        // The frame is drawn, not told: no nameless object of its own for screen readers.
        QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&frame.Window());
        for (int i = 0; i < window->childCount(); ++i)
            QVERIFY(!qobject_cast<CFocusFrame*>(window->child(i)->object()));
    }

    // After a sort the status bar describes the picture shown next, as before any action;
    // what was done is told over the picture, and a menu's prompt covers neither for good.
    void pictureSummaryComesBackAfterAnAction() {
        PictureDesk desk;
        Lay(desk);
        WindowDriver& frame = Open(desk, desk.Path("Pics"));
        Press(frame, Qt::Key_1);
        const QString next = desk.Path("Pics/b.jpg");
        QVERIFY2(frame.StatusPaneText(0).startsWith(next + " - 20x10x24 bpp,  "),
                 qPrintable(frame.StatusPaneText(0)));
        CMessageBar* bar = frame.MessageBar();
        // The message goes up once the move is done, with the list moved on long before.
        QTRY_VERIFY(bar->isVisible() && bar->OffersAction());
        QCOMPARE(bar->Text(), QStringLiteral("Moved a.jpg to Keep — Ctrl+Z to undo"));
        // The summary itself, its folders shortened where the bar is too narrow.
        QVERIFY(frame.GetStatusBar()->ShownText(0).endsWith(
            frame.StatusPaneText(0).section(QStringLiteral(" - "), -1)));
        QStatusTipEvent hover(QStringLiteral("Toggle automatic picture resizing"));
        QCoreApplication::sendEvent(&frame.Window(), &hover);
        QStatusTipEvent gone{QString()};
        QCoreApplication::sendEvent(&frame.Window(), &gone);
        QVERIFY(frame.StatusPaneText(0).startsWith(next + " - "));
        QVERIFY(frame.GetStatusBar()->findChild<QWidget*>("pane0")->isVisible());
        QVERIFY(bar->isVisible());
        QCOMPARE(bar->Text(), QStringLiteral("Moved a.jpg to Keep — Ctrl+Z to undo"));
    }

    // The notification's Undo button undoes the action it tells of: the picture comes back,
    // shown, with the keys in the list.
    void notificationUndoButtonUndoes() {
        PictureDesk desk;
        Lay(desk);
        WindowDriver& frame = Open(desk, desk.Path("Pics"));
        Press(frame, Qt::Key_1);
        CMessageBar* bar = frame.MessageBar();
        QTRY_VERIFY(bar->isVisible() && bar->OffersAction()); // once the move is done
        QTest::mouseClick(bar->ActionButton(), Qt::LeftButton);
        QVERIFY(frame.Settle());
        QCOMPARE(desk.OnDisk("Keep"), QStringList());
        QCOMPARE(desk.Current(), QStringLiteral("a.jpg"));
        QVERIFY(desk.Ctrl().isVisible());
        QVERIFY(desk.List().hasFocus());
        QVERIFY(desk.Current() == "a.jpg" &&
                frame.StatusPaneText(0).startsWith(desk.Path("Pics/a.jpg") + " - "));
        QCOMPARE(bar->Text(), QStringLiteral("Undone: Move of a.jpg to Keep"));
        QVERIFY(bar->isVisible() && !bar->OffersAction());
        Press(frame, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(bar->Text(), QStringLiteral("Redone: Move of a.jpg to Keep"));
        QVERIFY(bar->OffersAction());
    }

    // View > Fit to Window is the toolbar's toggle: checkable, showing Space, and checked
    // as the toggle is, whichever of the two or the key changes it.
    void fitToWindowInTheViewMenu() {
        PictureDesk desk;
        Lay(desk);
        WindowDriver& frame = Open(desk, desk.Path("Pics"));
        QAction* fit = nullptr;
        for (QAction* menu : frame.Window().menuBar()->actions())
            if (menu->text() == QStringLiteral("&View"))
                fit = menu->menu()->actions().value(0);
        QVERIFY(fit);
        QCOMPARE(fit, frame.Action(cmd::ID_TOGGLE_RESIZE));
        QCOMPARE(fit->text(), QStringLiteral("&Fit to Window\tSpace"));
        QVERIFY(fit->isCheckable());
        QCOMPARE(fit->shortcut(), QKeySequence(Qt::Key_Space));
        auto* tool = qobject_cast<QToolButton*>(frame.ToolBar()->widgetForAction(fit));
        QVERIFY(tool);
        bool bFitted = fit->isChecked();
        QCOMPARE(bFitted, frame.Settings().GetFitPicToWindow() != 0);
        for (int i = 0; i < 2; ++i) {
            tool->click();
            bFitted = !bFitted;
            QCOMPARE(fit->isChecked(), bFitted);
            QCOMPARE(tool->isChecked(), bFitted);
            QCOMPARE(frame.Settings().GetFitPicToWindow() != 0, bFitted);
        }
        fit->trigger();
        QCOMPARE(tool->isChecked(), !bFitted);
    }
};

QTEST_MAIN(TestFocus)
#include "tst_focus.moc"
