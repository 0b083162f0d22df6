#include "app/CUndoCommands.h"
#include "dialogs/CHistoryDlg.h"
#include "platform/ui/CMessageBar.h"
#include "resources/CommandIds.h"
#include "sorting/journal/CUndoHistory.h"
#include "tests/support/PictureDesk.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

namespace {
// Pictures a, b, c in the home folder and destination 1 "Keep".
WindowDriver& Start(PictureDesk& desk, int recycle = 1) {
    QDir(desk.Path("")).mkdir("Keep");
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"})
        desk.Picture(QString("Pics/") + name);
    desk.Store().WriteProfileString("TargetSet01", "Target01Name", "Keep");
    desk.Store().WriteProfileString("TargetSet01", "Target01Dir", desk.Path("Keep"));
    desk.Store().WriteProfileInt("Config", "UseRecyclingBin", recycle);
    return desk.Start();
}
} // namespace

class TestUndo : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Two moves and a trash are undone one by one; each picture comes back selected and
    // shown, the commands name the action they would undo, and Redo does it again.
    void sortThenUndoInTheWindow() {
        PictureDesk desk;
        WindowDriver& frame = Start(desk);
        QAction* undo = frame.Action(cmd::ID_EDIT_UNDO);
        QAction* redo = frame.Action(cmd::ID_EDIT_REDO);
        QVERIFY(!undo->isEnabled() && !redo->isEnabled());
        const QByteArray a = ReadBytes(QFile::encodeName(desk.Path("Pics/a.jpg")));
        desk.Select("a.jpg");
        frame.SendTo(0);
        QTRY_COMPARE(frame.MessageBar()->Text(),
                     QStringLiteral("Moved a.jpg to Keep — Ctrl+Z to undo"));
        QCOMPARE(undo->text(), QStringLiteral("&Undo Move of a.jpg to Keep\tCtrl+Z"));
        QVERIFY(undo->isEnabled());
        frame.SendTo(0); // b.jpg
        frame.Delete();  // c.jpg
        QCOMPARE(undo->text(), QStringLiteral("&Undo Move to Trash of c.jpg\tCtrl+Z"));
        QVERIFY(desk.Listed().isEmpty());

        for (const char* name : {"c.jpg", "b.jpg", "a.jpg"}) {
            undo->trigger();
            QVERIFY(frame.Settle()); // the folder read again, the picture chosen
            QCOMPARE(desk.Current(), QString(name));
            QVERIFY(desk.Ctrl().isVisible());
        }
        QCOMPARE(desk.Listed(), (QStringList{"a.jpg", "b.jpg", "c.jpg"}));
        QCOMPARE(ReadBytes(QFile::encodeName(desk.Path("Pics/a.jpg"))), a);
        QVERIFY(desk.OnDisk("Keep").isEmpty() && desk.OnDisk("data/Trash/files").isEmpty());
        QVERIFY(!undo->isEnabled());
        QCOMPARE(redo->text(), QStringLiteral("&Redo Move of a.jpg to Keep\tCtrl+Y"));
        redo->trigger();
        QVERIFY(frame.Settle());
        QCOMPARE(desk.OnDisk("Keep"), QStringList{"a.jpg"});
        QCOMPARE(desk.Listed(), (QStringList{"b.jpg", "c.jpg"}));
        QCOMPARE(desk.Messages(), 0);
    }

    // A delete outright warns once per run, or never after "Don't ask again", and cannot be
    // undone: the Undo item says so and is disabled.
    void deleteOutrightWarnsOnceAndCannotBeUndone_data() {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("warnings");
        QTest::addColumn<bool>("bTickDontAsk");
        QTest::newRow("first run") << 1 << 1 << false;
        QTest::newRow("don't ask again stored") << 0 << 0 << false;
        QTest::newRow("don't ask again ticked") << 1 << 0 << true;
    }
    void deleteOutrightWarnsOnceAndCannotBeUndone() {
        QFETCH(int, stored);
        QFETCH(int, warnings);
        QFETCH(bool, bTickDontAsk);
        PictureDesk desk;
        desk.Store().WriteProfileInt(CUndoCommands::WarnSection(), CUndoCommands::WarnEntry(),
                                     stored);
        WindowDriver& frame = Start(desk, 0);
        desk.Select("a.jpg");
        if (bTickDontAsk) // answered here, before the desk answers it
            QTimer::singleShot(0, [] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                if (box && box->checkBox()) {
                    box->checkBox()->setChecked(true);
                    box->done(QMessageBox::Ok);
                }
            });
        frame.Delete();
        frame.Delete();
        QCOMPARE(desk.OnDisk("Pics"), QStringList{"c.jpg"});
        QTRY_COMPARE(frame.MessageBar()->Text(),
                     QStringLiteral("Deleted b.jpg — it cannot be undone"));
        QVERIFY(!frame.MessageBar()->OffersAction());
        QCOMPARE(desk.Messages(), warnings);
        QCOMPARE(
            desk.Store().GetProfileInt(CUndoCommands::WarnSection(), CUndoCommands::WarnEntry(), 1),
            stored == 0 || bTickDontAsk ? 0 : 1);
        QAction* undo = frame.Action(cmd::ID_EDIT_UNDO);
        QVERIFY(!undo->isEnabled());
        QVERIFY(undo->text().startsWith("Can't Undo Delete of b.jpg (it was deleted outright)"));
    }

    // The warning before a delete outright names the companion files that go with the
    // picture, counted from the folder's listing.
    void outrightDeleteWarningCountsTheCompanions_data() {
        QTest::addColumn<QStringList>("companions");
        QTest::addColumn<QString>("what");
        QTest::newRow("none") << QStringList() << "a.jpg will be deleted";
        QTest::newRow("a sidecar")
            << QStringList{"a.XMP"} << "a.jpg and its companion file will be deleted";
        QTest::newRow("a RAW twin with its sidecar, and a sidecar")
            << QStringList{"a.xmp", "a.CR2", "a.CR2.xmp"}
            << "a.jpg and its 3 companion files will be deleted";
    }
    void outrightDeleteWarningCountsTheCompanions() {
        QFETCH(QStringList, companions);
        QFETCH(QString, what);
        PictureDesk desk;
        for (const QString& name : companions)
            QVERIFY(WriteBytes(QFile::encodeName(desk.Path("Pics/" + name)), "companion"));
        WindowDriver& frame = Start(desk, 0);
        desk.Select("a.jpg");
        QString told;
        QTimer::singleShot(0, [&told] { // answered here, before the desk answers it
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                told = box->text();
                box->done(QMessageBox::Ok);
            }
        });
        frame.Delete();
        QVERIFY2(told.contains(what), qPrintable(told));
        QCOMPARE(desk.OnDisk("Pics"), (QStringList{"b.jpg", "c.jpg"}));
    }

    // A picture's RAW twin and sidecar go with it (unless the stored switch is off): the
    // listed twin leaves the list, the status bar counts them, and Undo brings all back
    // with the picture itself shown, not its twin.
    void companionsGoAndComeBackInTheWindow_data() {
        QTest::addColumn<int>("stored"); // [Sorting] MoveCompanionFiles, -1 for none
        QTest::addColumn<QStringList>("kept");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<QString>("told");
        const QStringList group{"a.cr2", "a.jpg", "a.xmp"};
        QTest::newRow("default") << -1 << group << QStringList{"b.jpg", "c.jpg"}
                                 << "Moved a.jpg and 2 companion files to Keep — Ctrl+Z to undo";
        QTest::newRow("switched off")
            << 0 << QStringList{"a.jpg"} << QStringList{"a.cr2", "b.jpg", "c.jpg"}
            << "Moved a.jpg to Keep — Ctrl+Z to undo";
    }
    void companionsGoAndComeBackInTheWindow() {
        QFETCH(int, stored);
        QFETCH(QStringList, kept);
        QFETCH(QStringList, listed);
        QFETCH(QString, told);
        PictureDesk desk;
        for (const char* name : {"a.cr2", "a.xmp"})
            WriteBytes(QFile::encodeName(desk.Path(QString("Pics/") + name)), name);
        desk.Store().WriteProfileInt("Config", "FilterFlags", 0x0400 | 0x40000); // JPG, RAW
        if (stored >= 0)
            desk.Store().WriteProfileInt("Sorting", "MoveCompanionFiles", stored);
        WindowDriver& frame = Start(desk);
        const QStringList all{"a.cr2", "a.jpg", "b.jpg", "c.jpg"};
        QCOMPARE(desk.Listed(), all);
        desk.Select("a.jpg");
        frame.SendTo(0);
        QCOMPARE(desk.OnDisk("Keep"), kept);
        QCOMPARE(desk.Listed(), listed);
        QCOMPARE(desk.Current(), QStringLiteral("b.jpg"));
        QCOMPARE(frame.StatusPaneText(1), QStringLiteral("%1 files").arg(listed.size()));
        QTRY_COMPARE(frame.MessageBar()->Text(), told);
        frame.Action(cmd::ID_EDIT_UNDO)->trigger();
        QVERIFY(frame.Settle());
        QCOMPARE(desk.Current(), QStringLiteral("a.jpg"));
        QCOMPARE(desk.Listed(), all);
        QCOMPARE(desk.OnDisk("Pics"), (QStringList{"a.cr2", "a.jpg", "a.xmp", "b.jpg", "c.jpg"}));
        QCOMPARE(desk.Messages(), 0);
    }

    // History lists the actions newest first and says how many damaged lines of the journal
    // were passed over; it skips an action that cannot be undone, so that "Undo up to here"
    // can take back the one before it.
    void historyCountsDamageAndSkips() {
        PictureDesk desk;
        QVERIFY(QDir().mkpath(desk.Path("state/Ostlewin/Vantrel")));
        QVERIFY(WriteBytes(QFile::encodeName(desk.Path("state/Ostlewin/Vantrel/sort-journal")),
                           "not a line of ours\n"));
        WindowDriver& frame = Start(desk);
        desk.Select("a.jpg");
        frame.SendTo(0);
        frame.SendTo(0);
        QVERIFY(QFile::rename(desk.Path("Keep/b.jpg"), desk.Path("b.jpg"))); // b cannot go back
        frame.Action(cmd::ID_EDIT_HISTORY)->trigger();
        auto* dlg = frame.Window().findChild<CHistoryDlg*>();
        QVERIFY(dlg && dlg->isVisible());
        QVERIFY(dlg->DamageLabel()->isVisible());
        QCOMPARE(dlg->DamageLabel()->text(),
                 QStringLiteral("1 damaged entry of the journal was skipped."));
        QTreeWidget* list = dlg->List();
        QCOMPARE(list->topLevelItemCount(), 2);
        QCOMPARE(list->topLevelItem(0)->text(2), desk.Path("Pics/b.jpg"));
        QCOMPARE(list->topLevelItem(1)->text(1), QStringLiteral("Move"));
        list->setCurrentItem(list->topLevelItem(0));
        QVERIFY(dlg->SkipButton()->isEnabled());
        QTest::mouseClick(dlg->SkipButton(), Qt::LeftButton);
        QCOMPARE(list->topLevelItem(0)->text(4), QStringLiteral("skipped"));
        QVERIFY(!dlg->SkipButton()->isEnabled());
        list->setCurrentItem(list->topLevelItem(1));
        QTest::mouseClick(dlg->UndoButton(), Qt::LeftButton);
        QVERIFY(frame.Settle());
        QCOMPARE(list->topLevelItem(1)->text(4), QStringLiteral("undone"));
        QVERIFY(desk.Frame().Settle());
        QCOMPARE(desk.Current(), QStringLiteral("a.jpg"));
        QCOMPARE(desk.OnDisk("Keep"), QStringList{});
        QCOMPARE(desk.OnDisk("Pics"), (QStringList{"a.jpg", "c.jpg"}));
        QCOMPARE(desk.Messages(), 0);
    }

    // A journal that is a link is set aside, never written through; the user is told once.
    void journalLinkIsSetAside() {
        PictureDesk desk;
        QVERIFY(QDir().mkpath(desk.Path("state/Ostlewin/Vantrel")));
        QVERIFY(WriteBytes(QFile::encodeName(desk.Path("notes.txt")), "my notes\n"));
        QVERIFY(
            QFile::link(desk.Path("notes.txt"), desk.Path("state/Ostlewin/Vantrel/sort-journal")));
        WindowDriver& frame = Start(desk);
        QTRY_COMPARE(desk.Messages(), 1);
        desk.Select("a.jpg");
        frame.SendTo(0);
        QCOMPARE(ReadBytes(QFile::encodeName(desk.Path("notes.txt"))), QByteArray("my notes\n"));
        QVERIFY(frame.Action(cmd::ID_EDIT_UNDO)->isEnabled());
        QCOMPARE(desk.Messages(), 1);
    }

    // Where the journal cannot be kept, sorting goes on; the user is told once why.
    void withoutAJournalSortingGoesOn() {
        PictureDesk desk;
        QFile blocker(desk.Path("blocker"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        qputenv("XDG_STATE_HOME", QFile::encodeName(desk.Path("blocker/state")));
        WindowDriver& frame = Start(desk);
        desk.Select("a.jpg");
        frame.SendTo(0);
        QTRY_COMPARE(desk.Messages(), 1); // told once the first move is done
        frame.SendTo(0);
        QCOMPARE(desk.OnDisk("Keep"), (QStringList{"a.jpg", "b.jpg"}));
        QTest::qWait(100);
        QCOMPARE(desk.Messages(), 1);
        QAction* undo = frame.Action(cmd::ID_EDIT_UNDO);
        QVERIFY(!undo->isEnabled() && undo->text().contains("Unavailable"));
        QCOMPARE(frame.MessageBar()->Text(), QStringLiteral("Moved b.jpg to Keep"));
        QVERIFY(!frame.MessageBar()->OffersAction());
    }
};

QTEST_MAIN(TestUndo)
#include "tst_undo.moc"
