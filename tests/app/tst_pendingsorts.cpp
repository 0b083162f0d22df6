// The window while sort actions are still on the worker, on a slow share (every call into
// its folder waits, CDiskTap): Undo takes back the newest action once those before it are
// done, keys given after an undo wait behind it, and closing the window finishes them all,
// saying so while it waits.
#include "sorting/journal/CSortJournal.h"
#include "sorting/journal/CUndoHistory.h"
#include "sorting/journal/CUndoSteps.h"
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

    // Sort keys (1), Ctrl+Z (z) and Ctrl+Y (y) in a row, none waiting for the disk: each
    // acts in the order given, on the journal as the ones before it left it, and the
    // journal read again from its file says the same.
    void keysAndUndosInTheOrderGiven_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QStringList>("keep"); // what Keep holds afterwards
        QTest::addColumn<QString>("states");   // each action's: Done, Undone, dropped (X)
        QTest::addColumn<QString>("current");  // the picture on show afterwards
        QTest::newRow("three keys, two undos") << "111zz" << QStringList{"a.jpg"} << "DUU"
                                               << "b.jpg";
        QTest::newRow("a key behind an undo") << "11z1" << QStringList{"a.jpg", "c.jpg"} << "DXD"
                                              << "b.jpg";
        QTest::newRow("undo, then redo") << "11zy" << QStringList{"a.jpg", "b.jpg"} << "DD"
                                         << "c.jpg";
        QTest::newRow("more undos than actions") << "1zz" << QStringList() << "U"
                                                 << "a.jpg";
    }
    void keysAndUndosInTheOrderGiven() {
        QFETCH(QString, keys);
        QFETCH(QStringList, keep);
        QFETCH(QString, states);
        QFETCH(QString, current);
        PictureDesk desk;
        WindowDriver& frame = Start(desk);
        Slow(desk, 20);
        for (const QChar key : keys) {
            if (key == '1')
                frame.SendToNow(0);
            else
                QTest::keyClick(&frame.Window(), key == 'z' ? Qt::Key_Z : Qt::Key_Y,
                                Qt::ControlModifier);
        }
        QVERIFY(frame.Settle());
        CDiskTap::Instance().Stop();
        QCOMPARE(desk.OnDisk("Keep"), keep);
        QCOMPARE(desk.Current(), current);
        const QList<SortRecord>& records = frame.UndoCommands()->History().Records();
        QCOMPARE(StatesOf(records), states);
        QTemporaryDir copy; // the journal is locked while the window keeps it
        QVERIFY(QFile::copy(desk.Path("state/Ostlewin/Vantrel/sort-journal"),
                            copy.filePath("sort-journal")));
        CSortJournal reread(QFile::encodeName(copy.path()));
        QVERIFY(reread.Open());
        QCOMPARE(StatesOf(reread.Records()), states);
        for (qsizetype i = 0; i < records.size(); ++i) {
            QCOMPARE(reread.Records().at(i).seq, records.at(i).seq);
            QCOMPARE(Places(reread.Records().at(i)), Places(records.at(i)));
        }
    }

    // While undos are on the worker, Undo and Redo are offered as the journal will be once
    // those are done: no Undo once each action is being undone, Redo at once.
    void undoAndRedoOfferedAsThePendingUndosWillLeaveThem_data() {
        QTest::addColumn<int>("undos");
        QTest::addColumn<bool>("bUndo");
        QTest::addColumn<QString>("undoText");
        QTest::addColumn<QString>("redoText");
        QTest::newRow("one of three") << 1 << true << "&Undo Move of b.jpg to Keep\tCtrl+Z"
                                      << "&Redo Move of c.jpg to Keep\tCtrl+Y";
        QTest::newRow("three of three") << 3 << false << "&Undo\tCtrl+Z"
                                        << "&Redo Move of a.jpg to Keep\tCtrl+Y";
    }
    void undoAndRedoOfferedAsThePendingUndosWillLeaveThem() {
        QFETCH(int, undos);
        QFETCH(bool, bUndo);
        QFETCH(QString, undoText);
        QFETCH(QString, redoText);
        PictureDesk desk;
        WindowDriver& frame = Start(desk);
        for (int i = 0; i < 3; ++i)
            frame.SendTo(0);
        Slow(desk, 20);
        QAction* undo = frame.Action(cmd::ID_EDIT_UNDO);
        QAction* redo = frame.Action(cmd::ID_EDIT_REDO);
        for (int i = 0; i < undos; ++i)
            undo->trigger();
        QStringList offered; // every text Undo shows until the undos are done
        connect(undo, &QAction::changed, this, [&offered, undo] { offered << undo->text(); });
        // The same whether the worker is done by now or not.
        QCOMPARE(undo->isEnabled(), bUndo);
        QVERIFY(redo->isEnabled());
        QCOMPARE(undo->text(), undoText);
        QCOMPARE(redo->text(), redoText);
        QVERIFY(frame.Settle());
        CDiskTap::Instance().Stop();
        QCOMPARE(undo->isEnabled(), bUndo);
        QCOMPARE(undo->text(), undoText);
        QCOMPARE(redo->text(), redoText);
        QCOMPARE(desk.OnDisk("Keep").size(), 3 - undos);
        disconnect(undo, &QAction::changed, this, nullptr);
        offered.removeDuplicates();
        QCOMPARE(offered, offered.isEmpty() ? QStringList() : QStringList{undoText});
    }

    // An undo given while the moves are pending, of a file that has left its destination
    // by the time the undo comes: nothing changes, and the window says why.
    void undoOfAFileGoneFromItsDestinationSaysWhy() {
        PictureDesk desk;
        WindowDriver& frame = Start(desk);
        auto* steps = frame.UndoCommands()->findChild<CUndoSteps*>();
        QVERIFY(steps);
        QSignalSpy finished(steps, &CUndoSteps::Finished);
        frame.SendTo(0);
        frame.SendTo(0);
        QVERIFY(QFile::rename(desk.Path("Keep/b.jpg"), desk.Path("b.jpg")));
        Slow(desk, 20);
        QTest::keyClick(&frame.Window(), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(frame.Settle());
        CDiskTap::Instance().Stop();
        QCOMPARE(finished.size(), 1);
        const auto out = finished.first().at(1).value<CUndoHistory::Outcome>();
        QVERIFY(!out.bDone);
        QVERIFY2(out.message.contains(QStringLiteral("is no longer in")) &&
                     out.message.contains(QStringLiteral("Nothing was changed")),
                 qPrintable(out.message));
        QTRY_COMPARE(desk.Messages(), 1); // told in a box
        QCOMPARE(desk.OnDisk("Keep"), QStringList{"a.jpg"});
        QCOMPARE(desk.OnDisk("Pics"), (QStringList{"c.jpg", "d.jpg", "e.jpg"}));
        QCOMPARE(desk.OnDisk(""), QStringList{"b.jpg"});
        QCOMPARE(StatesOf(frame.UndoCommands()->History().Records()), QStringLiteral("DD"));
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

    // Closing the window with undos still on the worker finishes them first.
    void closingFinishesThePendingUndos() {
        PictureDesk desk;
        WindowDriver& frame = Start(desk);
        for (int i = 0; i < 3; ++i)
            frame.SendTo(0);
        Slow(desk, 20);
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(&frame.Window(), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(frame.Window().close());
        CDiskTap::Instance().Stop();
        QCOMPARE(frame.Session().PendingActions(), 0);
        QCOMPARE(desk.OnDisk("Keep"), QStringList());
        QCOMPARE(StatesOf(frame.UndoCommands()->History().Records()), QStringLiteral("UUU"));
    }

private:
    // Each record's state as a letter: D done, U undone, X dropped, ? any other.
    static QString StatesOf(const QList<SortRecord>& records) {
        QString letters;
        for (const SortRecord& r : records)
            letters += r.state == SortRecord::State::Done      ? 'D'
                       : r.state == SortRecord::State::Undone  ? 'U'
                       : r.state == SortRecord::State::Dropped ? 'X'
                                                               : '?';
        return letters;
    }
    // Where each file of an action was and went.
    static QList<QByteArray> Places(const SortRecord& r) {
        QList<QByteArray> places;
        for (const SortEntry& e : r.entries)
            places << e.source << e.target;
        return places;
    }
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
