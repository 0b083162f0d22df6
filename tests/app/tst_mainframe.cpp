#include "app/CMainFrame.h"
#include "app/CMainStatusBar.h"
#include "app/CPicSplitter.h"
#include "dialogs/CAboutDlg.h"
#include "platform/CButtonTabBar.h"
#include "platform/CProfileStore.h"
#include "platform/CTermSignalWatcher.h"
#include "resources/CommandIds.h"
#include "resources/StringTable.h"
#include "sorting/CFileSelect.h"
#include "sorting/CTarget.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/TestSupport.h"

#include <QAction>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QTreeWidget>
#include <QtTest>
#include <csignal>
#include <memory>

class TestMainFrame : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { m_profile = std::make_unique<TempProfile>(); }
    void cleanup() {
        m_frame.reset();
        m_profile.reset();
    }

    void firstStartOpensWithDefaults() {
        CMainFrame& frame = Open();
        QCOMPARE(frame.windowTitle(), QStringLiteral("Ostlewin - Vantrel"));
        QCOMPARE(frame.frameGeometry(), QRect(16, 16, 768, 558));
        QCOMPARE(frame.GetStatusBar()->PaneText(0), QStringLiteral("Ready"));
        QCOMPARE(frame.GetStatusBar()->PaneText(1), QStringLiteral("0 files"));
        QWidget* count = frame.GetStatusBar()->findChild<QWidget*>("pane1");
        QVERIFY(count->width() >= 60); // wider only where the font needs it for the count
        QVERIFY(count->width() >= count->fontMetrics().horizontalAdvance("99999 files"));
        QCOMPARE(frame.Splitter()->sizes().size(), 3);
        QCOMPARE(frame.Splitter()->sizes()[0], 200);
        QCOMPARE(frame.Splitter()->sizes()[2], 103);
        QVERIFY(frame.ToolBar()->isVisible());
        frame.SetDocumentTitle(" Sunset.jpg");
        QCOMPARE(frame.windowTitle(), QStringLiteral(" Sunset.jpg - Vantrel"));
    }

    // The panes change with every file; a text never moves or widens anything, and a text
    // too long for its pane stays inside it.
    void statusPanesKeepTheirPlaceWhateverTheText() {
        CMainFrame& frame = Open();
        CMainStatusBar* bar = frame.GetStatusBar();
        QWidget* message = bar->findChild<QWidget*>("pane0");
        QWidget* count = bar->findChild<QWidget*>("pane1");
        QWidget* caps = bar->findChild<QWidget*>("CAP");
        QVERIFY(message && count && caps);
        const QRect messageRect = message->geometry();
        const QRect countRect = count->geometry();
        const QSize frameSize = frame.size();
        const QImage messageBefore = message->grab().toImage();
        const QImage capsBefore = caps->grab().toImage();
        bar->SetPaneText(0, QString(400, QLatin1Char('W')));
        bar->SetPaneText(1, QStringLiteral("1234567 files"));
        QCoreApplication::processEvents();
        QCOMPARE(message->geometry(), messageRect);
        QCOMPARE(count->geometry(), countRect);
        QCOMPARE(frame.size(), frameSize);
        QVERIFY(message->grab().toImage() != messageBefore);
        QCOMPARE(caps->grab().toImage(), capsBefore);
        QCOMPARE(bar->PaneText(1), QStringLiteral("1234567 files"));
    }

    // A tool button's prompt shown when its dialog opened does not stay over the picture's
    // text once the dialog has closed (the pointer never left the button for the bar).
    void promptGoesWhenTheDialogCloses() {
        CMainFrame& frame = Open();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        frame.SetStatusPaneText(0, "/pics/a.jpg - 1x1x24 bpp,  9 bytes,  JFIF Compliant");
        QStatusTipEvent hover(frame.Action(cmd::ID_APP_ABOUT)->statusTip());
        QApplication::sendEvent(&frame, &hover);
        QVERIFY(!frame.GetStatusBar()->currentMessage().isEmpty());
        driver::WhenShown<CAboutDlg>([](CAboutDlg* d) { d->reject(); });
        frame.Action(cmd::ID_APP_ABOUT)->trigger();
        QVERIFY(frame.GetStatusBar()->currentMessage().isEmpty());
        QVERIFY(frame.GetStatusBar()->findChild<QWidget*>("pane0")->isVisible());
    }

    void closingStoresEverySettingOnce() {
        CMainFrame& frame = Open();
        frame.Settings().SetSelectionSet(2);
        frame.close();
        // A second save (the application quitting after the close) changes nothing.
        frame.Settings().SetSelectionSet(3);
        frame.SaveSettings();
        m_frame.reset();
        m_profile->Reopen();
        QSettings raw(m_profile->Path(), QSettings::IniFormat);
        QCOMPARE(raw.value("Config/SelectionSet").toInt(), 2);
        QCOMPARE(raw.allKeys().size(), 9 + 4 * 41); // the names are the settings test's
        QCOMPARE(raw.childGroups().size(), 5);
    }

    // Logging out sends SIGTERM: the window closes normally and the settings are kept.
    void terminationSignalClosesAndSaves() {
        CMainFrame& frame = Open();
        frame.Settings().SetSelectionSet(1);
        CTermSignalWatcher watcher;
        connect(&watcher, &CTermSignalWatcher::TerminationRequested, &frame, &QWidget::close);
        ::raise(SIGTERM);
        QTRY_VERIFY(!frame.isVisible());
        QCOMPARE(CProfileStore(m_profile->Path()).GetProfileInt("Config", "SelectionSet", -1), 1);
    }

    // Moved and resized, then closed, it opens there again; closed while maximised it keeps
    // its normal rectangle.
    void rectangleSurvivesARestart() {
        CMainFrame& frame = Open();
        frame.move(120, 90);
        frame.resize(900, 640);
        QTRY_COMPARE(frame.frameGeometry().topLeft(), QPoint(120, 90));
        const QRect placed = frame.frameGeometry();
        CMainFrame& again = Reopen();
        QTRY_COMPARE(again.frameGeometry(), placed);
        again.showMaximized();
        QTRY_VERIFY(again.isMaximized());
        CMainFrame& third = Reopen();
        QTRY_COMPARE(third.frameGeometry(), placed);
    }

    void offScreenRectangleIsMovedOntoTheScreen() {
        for (const char* key : {"WindowX1", "WindowY1"})
            m_profile->Store().WriteProfileInt("Config", key, 50000);
        m_profile->Store().WriteProfileInt("Config", "WindowX2", 50800);
        m_profile->Store().WriteProfileInt("Config", "WindowY2", 50600);
        const QRect placed = Open().frameGeometry();
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(screen.intersects(placed));
        QVERIFY(placed.width() <= qMax(800, screen.width()));
    }

    void splitterKeepsTheSidePanesAtTheirWidths() {
        CPicSplitter splitter;
        for (int i = 0; i < 3; ++i)
            splitter.addWidget(new QWidget);
        splitter.setStretchFactor(1, 1);
        splitter.resize(1000, 400);
        splitter.show();
        QVERIFY(QTest::qWaitForWindowExposed(&splitter));
        auto sizes = splitter.sizes();
        QCOMPARE(sizes[0], 200);
        QCOMPARE(sizes[2], 103);
        QCOMPARE(sizes[0] + sizes[1] + sizes[2] + 2 * splitter.handleWidth(), 1000);

        // A dragged bar holds until the next resize, which puts the side panes back.
        splitter.widget(0)->resize(150, 400);
        splitter.setSizes({150, sizes[1] + 50, 103});
        QCOMPARE(splitter.sizes()[0], 150);
        splitter.resize(1001, 400);
        QTRY_COMPARE(splitter.sizes()[0], 200);
        QCOMPARE(splitter.sizes()[2], 103);

        // Narrower than 290 pixels the columns are left alone: no reset, no negative width.
        splitter.setSizes({150, splitter.sizes()[1] + 50, 103});
        splitter.resize(280, 400);
        QTRY_COMPARE(splitter.width(), 280);
        QCOMPARE(splitter.sizes()[0], 150);
        for (int s : splitter.sizes())
            QVERIFY(s >= 0);
    }

    void everyCommandHasItsKeysAndPrompts() {
        CMainFrame frame(m_profile->Store());
        const struct {
            int id;
            const char* key;
            const char* prompt;
        } expected[] = {
            {cmd::ID_PROGRAM_CONFIG, "", "Edit the main program configuration"},
            {cmd::ID_TARGET_DIRECTORIES, "", "Change the target Destination Directories"},
            {cmd::ID_CLEAR_PICTURE, "Esc", "Clear the current picture on screen"},
            {cmd::ID_DELETE_PICTURE, "Del", "Delete the current picture onscreen"},
            {cmd::ID_TOGGLE_RESIZE, "Space", "Toggle automatic picture resizing"},
            {cmd::ID_FILE_TYPES, "", "Edit the image types available in the file list"},
            {cmd::ID_GO_TO_HOME, "Home", "Return to the Home Directory"},
            {cmd::ID_REFRESH_FILES, "F5", "Refresh the file list"},
            {cmd::ID_BUTTON_GROUP1, "Alt+1", "Show button group 1"},
            {cmd::ID_BUTTON_GROUP2, "Alt+2", "Show button group 2"},
            {cmd::ID_BUTTON_GROUP3, "Alt+3", "Show button group 3"},
            {cmd::ID_BUTTON_GROUP4, "Alt+4", "Show button group 4"},
            {cmd::ID_FILE_PRINT, "Ctrl+P", "Print the active picture"},
            {cmd::ID_FILE_PRINT_SETUP, "", "Change the printer and printing options"},
            {cmd::ID_APP_EXIT, "", "Quit the application; prompts to save documents"},
            {cmd::ID_EDIT_COPY, "Ctrl+C", ""},
            {cmd::ID_NEXT_PANE, "F6", "Switch to the next window pane"},
            {cmd::ID_PREV_PANE, "Shift+F6", "Switch back to the previous window pane"},
            {cmd::ID_VIEW_TOOLBAR, "", "Show or hide the toolbar"},
            {cmd::ID_VIEW_STATUS_BAR, "", "Show or hide the status bar"},
            {cmd::ID_EDIT_UNDO, "Ctrl+Z", "Undo the last sort action"},
            {cmd::ID_EDIT_REDO, "Ctrl+Y", "Do the undone sort action again"},
            {cmd::ID_EDIT_HISTORY, "",
             "List the recorded sort actions and undo back to one of them"},
        };
        for (const auto& e : expected) {
            QAction* a = frame.Action(e.id);
            QVERIFY2(a, qPrintable(QString::number(e.id)));
            QCOMPARE(a->objectName(), QStringLiteral("cmd%1").arg(e.id));
            QCOMPARE(a->shortcut(), QKeySequence(QString::fromLatin1(e.key)));
            QCOMPARE(a->statusTip(), QString::fromUtf8(e.prompt));
        }
        QCOMPARE(frame.Action(cmd::ID_GO_TO_HOME)->toolTip(), QStringLiteral("Go To Home"));
        QCOMPARE(frame.Action(cmd::ID_TOGGLE_RESIZE)->toolTip(), QStringLiteral("Toggle Resize"));

        // The menus and the toolbar in their order, every button with its icon.
        const auto texts = [](const QList<QAction*>& actions) {
            QStringList t;
            for (QAction* a : actions)
                t << (a->isSeparator() ? QStringLiteral("-") : a->text());
            return t;
        };
        QCOMPARE(texts(frame.menuBar()->actions()),
                 (QStringList{"&File", "&Edit", "&View", "&Help"}));
        QCOMPARE(texts(frame.menuBar()->actions()[1]->menu()->actions()),
                 (QStringList{"&Undo\tCtrl+Z", "&Redo\tCtrl+Y", "&History...", "-",
                              "C&lear Picture\tBack", "Delete Picture\tDel", "-", "Program &Config",
                              "&Target Directories", "File &Types"}));
        QList<int> toolbar;
        for (QAction* a : frame.ToolBar()->actions()) {
            toolbar << (a->isSeparator() ? 0 : a->property("commandId").toInt());
            QVERIFY(a->isSeparator() || !a->icon().isNull());
        }
        QCOMPARE(toolbar, (QList<int>{32779, 32780, 0, 32775, 32777, 32776, 57643, 57644, 0, 32771,
                                      32772, 32778, 0, 57607, 57664}));
    }

    // Space, Delete and Home act as commands even while a tree in the left pane has the focus.
    void acceleratorsWinOverTheFocusedControl() {
        CMainFrame frame(m_profile->Store());
        auto* tree = new QTreeWidget(frame.FileSelectPane());
        tree->addTopLevelItem(new QTreeWidgetItem(QStringList{"a"}));
        frame.show();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        tree->setFocus();
        for (const auto& [key, id] : {std::pair{Qt::Key_Space, cmd::ID_TOGGLE_RESIZE},
                                      {Qt::Key_Delete, cmd::ID_DELETE_PICTURE},
                                      {Qt::Key_Home, cmd::ID_GO_TO_HOME}}) {
            QSignalSpy triggered(frame.Action(id), &QAction::triggered);
            QTest::keyClick(tree, key);
            QCOMPARE(triggered.count(), 1);
        }
    }

    void groupKeysSwitchTheButtonGroup() {
        m_profile->Store().WriteProfileString("TargetSet03", "Target02Name", "Beach");
        m_profile->Store().WriteProfileString("TargetSet03", "Target02Dir", "/tmp");
        CMainFrame& frame = Open();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        auto* button =
            qobject_cast<QPushButton*>(frame.TargetPane()->findChild<QWidget*>("ctl1101"));
        QVERIFY(button);
        QCOMPARE(button->text(), kNoTargetName);
        QTest::keyClick(&frame, Qt::Key_3, Qt::AltModifier);
        QCOMPARE(frame.Settings().GetSelectionSet(), 2);
        QCOMPARE(frame.TargetPane()->TabGroups()->currentIndex(), 2);
        QCOMPARE(button->text(), QStringLiteral("Beach"));
        QTest::keyClick(&frame, Qt::Key_1, Qt::AltModifier);
        QCOMPARE(frame.Settings().GetSelectionSet(), 0);
        QCOMPARE(button->text(), kNoTargetName);
    }

private:
    // A main window on the test's settings store, shown.
    CMainFrame& Open() {
        m_frame = std::make_unique<CMainFrame>(m_profile->Store());
        m_frame->show();
        if (!QTest::qWaitForWindowExposed(m_frame.get()))
            qWarning("the main window was not exposed");
        return *m_frame;
    }
    // Closes the window and opens it again, as the next run of the program would.
    CMainFrame& Reopen() {
        m_frame->close();
        m_frame.reset();
        m_profile->Reopen();
        return Open();
    }

    std::unique_ptr<TempProfile> m_profile;
    std::unique_ptr<CMainFrame> m_frame;
};

QTEST_MAIN(TestMainFrame)
#include "tst_mainframe.moc"
