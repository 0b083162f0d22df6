// The main window driven from the keyboard: a key per destination in every group and
// pane, the list of keys, and destinations set up in place.
#include "app/CTargetController.h"
#include "dialogs/CConfigDlg.h"
#include "dialogs/CKeyboardDlg.h"
#include "dialogs/CSelectDir.h"
#include "platform/ui/CButtonTabBar.h"
#include "platform/ui/CDialogBuilder.h"
#include "resources/CommandIds.h"
#include "resources/CommandTable.h"
#include "resources/ShortcutList.h"
#include "resources/templates/ConfigTemplate.h"
#include "resources/templates/DirOpenTemplate.h"
#include "resources/templates/TargetTemplate.h"
#include "sorting/widgets/CFileSelect.h"
#include "sorting/widgets/CTarget.h"
#include "sorting/widgets/CTargetButton.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/PictureDesk.h"
#include "tests/support/WindowDriver.h"

#include <QAction>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QScrollBar>
#include <QTreeWidget>
#include <QtTest>

namespace {

// Destination i's key as a person types it: its digit (1 to 9, then 0), with Ctrl for
// destinations 11 to 20, on the main keys or the keypad.
void PressTargetKey(QWindow* window, int i, bool bKeypad) {
    const auto key = Qt::Key(Qt::Key_0 + (i % 10 + 1) % 10);
    Qt::KeyboardModifiers mods = i < 10 ? Qt::NoModifier : Qt::ControlModifier;
    if (bKeypad)
        mods |= Qt::KeypadModifier;
    QTest::keyClick(window, key, mods);
}

// In group g, destination 5g + 3 has a name but no folder; every other one has both.
bool IsUnset(int g, int i) {
    return i == 5 * g + 3;
}

} // namespace

class TestKeyboard : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        m_profile = std::make_unique<TempProfile>();
        for (int g = 0; g < kTargetSetCount; ++g) {
            const QString section = CSettings::SectionName(g);
            for (int i = 0; i < kTargetCount; ++i) {
                m_profile->Store().WriteProfileString(section, CSettings::TargetNameEntry(i),
                                                      QStringLiteral("G%1 D%2").arg(g).arg(i));
                if (!IsUnset(g, i))
                    m_profile->Store().WriteProfileString(section, CSettings::TargetDirEntry(i),
                                                          QStringLiteral("/g%1/d%2").arg(g).arg(i));
            }
        }
    }
    void cleanup() {
        m_sent.clear();
        m_frame.reset();
        m_profile.reset();
    }

    void keysSendToTheirDestinationInEveryGroup() {
        WindowDriver& frame = Open();
        QWindow* window = frame.Window().windowHandle();
        for (int g = 0; g < kTargetSetCount; ++g) {
            QTest::keyClick(window, Qt::Key(Qt::Key_1 + g), Qt::AltModifier);
            QCOMPARE(frame.Settings().GetSelectionSet(), g);
            QCOMPARE(frame.TargetPane()->TabGroups()->currentIndex(), g);
            QCOMPARE(frame.TargetPane()->TargetButton(0)->text(), QStringLiteral("G%1 D0").arg(g));
            for (int i = 0; i < kTargetCount; ++i) {
                for (bool bKeypad : {false, true}) {
                    m_sent.clear();
                    frame.GetStatusBar()->SetPaneText(0, QString());
                    PressTargetKey(window, i, bKeypad);
                    const QString where = QStringLiteral("group %1, destination %2, keypad %3")
                                              .arg(g + 1)
                                              .arg(i + 1)
                                              .arg(bKeypad);
                    if (IsUnset(g, i)) {
                        QVERIFY2(m_sent.isEmpty(), qPrintable(where));
                        QVERIFY2(frame.StatusPaneText(0).startsWith(
                                     QStringLiteral("Destination %1 has no folder").arg(i + 1)),
                                 qPrintable(where));
                    } else {
                        QVERIFY2(m_sent == QList<int>{i}, qPrintable(where));
                    }
                }
            }
        }
    }

    // The keys work wherever the keyboard is in the main window, and leave it in the list.
    void keysWorkInEveryPane() {
        WindowDriver& frame = Open();
        QWidget* panes[] = {&frame.FileSelectPane()->m_treeFolders, &frame.FileList(),
                            frame.TargetPane()->TargetButton(7),
                            CDialogBuilder::Control(frame.TargetPane(), dlg::IDC_DELETE)};
        for (QWidget* pane : panes) {
            pane->setFocus(Qt::TabFocusReason);
            QVERIFY(pane->hasFocus());
            m_sent.clear();
            QTest::keyClick(frame.Window().windowHandle(), Qt::Key_3);
            QCOMPARE(m_sent, QList<int>{2});
            QVERIFY(frame.FileList().hasFocus());
        }
        // A focused button pressed with Return sends, and the keyboard is back in the list.
        frame.TargetPane()->TargetButton(7)->setFocus(Qt::TabFocusReason);
        m_sent.clear();
        QTest::keyClick(frame.Window().windowHandle(), Qt::Key_Return);
        QCOMPARE(m_sent, QList<int>{7});
        QVERIFY(frame.FileList().hasFocus());
    }

    // A dialog or an in-place edit keeps the digits: nothing is sent.
    void keysAreIgnoredWhileADialogOrAnEditHasThem() {
        WindowDriver& frame = Open();
        bool bSeen = false;
        driver::WhenShown<CKeyboardDlg>([&](CKeyboardDlg* d) {
            bSeen = true;
            PressTargetKey(d->windowHandle(), 0, false);
            PressTargetKey(d->windowHandle(), 10, false);
            d->reject();
        });
        frame.Action(cmd::ID_HELP_KEYBOARD)->trigger();
        QVERIFY(bSeen);
        QVERIFY(m_sent.isEmpty());

        auto* edit = new QLineEdit(frame.FileSelectPane());
        edit->show();
        edit->setFocus();
        PressTargetKey(frame.Window().windowHandle(), 0, false);
        PressTargetKey(frame.Window().windowHandle(), 10, false);
        PressTargetKey(frame.Window().windowHandle(), 1, true);
        QCOMPARE(edit->text(), QStringLiteral("12"));
        QVERIFY(m_sent.isEmpty());
    }

    // Every key of the accelerator table that does something is in the list of keys, which
    // Help > Keyboard Shortcuts shows; the keyboard goes back to the file list afterwards.
    void shortcutListShowsEveryKey() {
        QStringList listed;
        for (const commands::ShortcutRow& row : commands::ShortcutRows()) {
            QVERIFY(!row.what.isEmpty());
            listed += row.keys.split(QStringLiteral(", "));
        }
        int nChecked = 0;
        for (const commands::Accelerator& a : commands::MainAccelerators()) {
            if (a.id == cmd::ID_EDIT_COPY)
                continue; // bound, but does nothing
            const QString key = QKeySequence(a.key).toString(QKeySequence::NativeText);
            QVERIFY2(listed.contains(key), qPrintable(key));
            ++nChecked;
        }
        // Undo, Redo (two keys); Backspace clears too; F11, and the zoom keys (+ and = and the
        // keypad's +, - and the keypad's -, Z); I shows the picture information.
        QCOMPARE(nChecked, 12 + 40 + 3 + 1 + 1 + 6 + 1);

        WindowDriver& frame = Open();
        int nRows = -1;
        driver::WhenShown<CKeyboardDlg>([&](CKeyboardDlg* d) {
            nRows = d->List()->topLevelItemCount();
            d->reject();
        });
        frame.Action(cmd::ID_HELP_KEYBOARD)->trigger();
        QCOMPARE(nRows, int(commands::ShortcutRows().size()));
        QCOMPARE(frame.Window().focusWidget(),
                 &frame.FileList()); // focused once the window is active
    }

    // The list of keys shows every text whole (no "..."), and every row where the screen
    // has the room; where it has not, the dialog takes all the room there is.
    void shortcutListShowsEveryRowWhole() {
        CKeyboardDlg d;
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        QTreeWidget* list = d.List();
        for (int c = 0; c < 2; ++c)
            for (int r = 0; r < list->topLevelItemCount(); ++r) {
                const QModelIndex index = list->model()->index(r, c);
                QVERIFY2(list->columnWidth(c) >= list->sizeHintForIndex(index).width(),
                         qPrintable(list->topLevelItem(r)->text(c)));
            }
        QCOMPARE(list->horizontalScrollBar()->maximum(), 0);
        const QSize room = d.screen()->availableGeometry().size() - QSize(32, 64);
        if (d.height() < room.height())
            QCOMPARE(list->verticalScrollBar()->maximum(), 0);
        else
            QCOMPARE(d.height(), room.height());
        QVERIFY(d.width() <= room.width());
    }

    void nameForAFolder_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("oldDir");
        QTest::addColumn<QString>("newDir");
        QTest::addColumn<QString>("expected");
        QTest::newRow("unnamed") << kNoTargetName << ""
                                 << "/p/Cats"
                                 << "Cats";
        QTest::newRow("empty name") << ""
                                    << ""
                                    << "/p/Cats/"
                                    << "Cats";
        QTest::newRow("named after the old folder") << "Dogs"
                                                    << "/p/Dogs"
                                                    << "/q/Cats"
                                                    << "Cats";
        QTest::newRow("named by the user") << "Best"
                                           << "/p/Dogs"
                                           << "/q/Cats"
                                           << "Best";
        QTest::newRow("named, no folder yet") << "Best"
                                              << ""
                                              << "/q/Cats"
                                              << "Best";
        QTest::newRow("the root") << kNoTargetName << ""
                                  << "/"
                                  << "/";
    }
    void nameForAFolder() {
        QFETCH(QString, name);
        QFETCH(QString, oldDir);
        QFETCH(QString, newDir);
        QFETCH(QString, expected);
        QCOMPARE(CTargetController::NameForFolder(name, oldDir, newDir), expected);
    }

    // A click on an unset destination opens the picker on the group's home folder; the
    // folder chosen there becomes the destination, with its name. Rename, Clear and Open
    // Folder work on the current group's destination.
    void destinationsAreSetUpInPlace() {
        PictureDesk desk;
        QVERIFY(QDir(desk.Path("Pics")).mkpath("Cats"));
        WindowDriver& frame = desk.Start();
        QVERIFY(QTest::qWaitForWindowActive(&frame.Window()));
        CTarget* bar = frame.TargetPane();
        CTargetButton* button = bar->TargetButton(2);
        QVERIFY(button->IsUnset());

        QString startedIn, title;
        driver::WhenShown<CSelectDir>([&](CSelectDir* picker) {
            startedIn = picker->CurrentDir();
            title = picker->windowTitle();
            auto* tree = CDialogBuilder::ControlAs<QTreeWidget>(picker, dlg::IDC_FOLDER_LIST);
            tree->setCurrentItem(tree->findItems("Cats", Qt::MatchExactly | Qt::MatchRecursive)[0]);
            driver::Click(picker, 1);
        });
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(startedIn, desk.Path("Pics"));
        QCOMPARE(title, QStringLiteral("Choose the folder for destination 3"));
        QCOMPARE(frame.Settings().GetTargetDir(2), desk.Path("Pics/Cats"));
        QCOMPARE(frame.Settings().GetTargetName(2), QStringLiteral("Cats"));
        QCOMPARE(button->text(), QStringLiteral("Cats"));
        QVERIFY(!button->IsUnset());
        QCOMPARE(frame.Window().focusWidget(), &frame.FileList());
        // Set up, the picker opens on the destination's folder and names it.
        driver::WhenShown<CSelectDir>([&](CSelectDir* picker) {
            startedIn = picker->CurrentDir();
            title = picker->windowTitle();
            picker->reject();
        });
        frame.TargetController()->SetFolder(2);
        QCOMPARE(startedIn, desk.Path("Pics/Cats"));
        QCOMPARE(title, QStringLiteral("Choose the folder for destination 3, Cats"));
        QCOMPARE(frame.Settings().GetTargetDir(2), desk.Path("Pics/Cats"));

        driver::WhenShown<QInputDialog>([](QInputDialog* d) {
            QCOMPARE(d->textValue(), QStringLiteral("Cats"));
            d->setTextValue(QStringLiteral("Kittens"));
            d->accept();
        });
        frame.TargetController()->Rename(2);
        QCOMPARE(frame.Settings().GetTargetName(2), QStringLiteral("Kittens"));
        QCOMPARE(button->text(), QStringLiteral("Kittens"));

        QList<QUrl> opened;
        frame.TargetController()->m_openUrl = [&](const QUrl& url) {
            opened << url;
            return true;
        };
        frame.TargetController()->OpenFolder(2);
        QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(desk.Path("Pics/Cats"))});
        QVERIFY(QDir(desk.Path("Pics/Cats")).removeRecursively());
        frame.TargetController()->OpenFolder(2); // gone: said so, nothing opened
        QCOMPARE(opened.size(), 1);
        QTRY_COMPARE(desk.Messages(), 1);

        frame.TargetController()->Clear(2);
        QCOMPARE(frame.Settings().GetTargetDir(2), QString());
        QCOMPARE(frame.Settings().GetTargetName(2), kNoTargetName);
        QVERIFY(button->IsUnset());

        // A folder dropped on a button of the second group lands in the second group.
        frame.Trigger(cmd::ID_BUTTON_GROUP2);
        Q_EMIT bar->FolderDropped(4, desk.Path("Pics"));
        QCOMPARE(frame.Settings().TargetSet(1).m_astrDirs[4], desk.Path("Pics"));
        QCOMPARE(frame.Settings().TargetSet(1).m_astrNames[4], QStringLiteral("Pics"));
        QCOMPARE(frame.Settings().TargetSet(0).m_astrDirs[4], QString());
        // A folder that is not there is offered to be made at once (here refused), and kept.
        const int said = desk.Messages();
        Q_EMIT bar->FolderDropped(5, desk.Path("Pics/Later"));
        QCOMPARE(desk.Messages(), said + 1);
        QCOMPARE(frame.Settings().TargetSet(1).m_astrDirs[5], desk.Path("Pics/Later"));
    }

    // The mode above the buttons says Move or Copy; a click on it opens Program Config and
    // shows what was chosen there.
    void modeLabelOpensTheProgramConfig() {
        PictureDesk desk;
        WindowDriver& frame = desk.Start();
        QVERIFY(QTest::qWaitForWindowActive(&frame.Window()));
        QLabel* mode = frame.TargetPane()->ModeLabel();
        QVERIFY(mode->isVisible());
        QCOMPARE(mode->text(), QStringLiteral("Move"));
        driver::WhenShown<CConfigDlg>([](CConfigDlg* d) {
            driver::Click(d, dlg::IDC_COPY_FILE);
            driver::Click(d, 1);
        });
        QTest::mouseClick(mode, Qt::LeftButton);
        QCOMPARE(frame.Settings().GetMoveFiles(), 0);
        QCOMPARE(mode->text(), QStringLiteral("Copy"));
    }

private:
    // The main window on the test's settings; where its bar sends pictures (by click or by
    // key) is noted in m_sent.
    WindowDriver& Open() {
        m_frame = std::make_unique<WindowDriver>(m_profile->Store());
        connect(m_frame->TargetPane(), &CTarget::SendToTarget, this,
                [this](int n) { m_sent << n; });
        m_frame->Window().show();
        if (!QTest::qWaitForWindowActive(&m_frame->Window()))
            qWarning("the main window did not become active");
        return *m_frame;
    }

    std::unique_ptr<TempProfile> m_profile;
    std::unique_ptr<WindowDriver> m_frame;
    QList<int> m_sent;
};

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
