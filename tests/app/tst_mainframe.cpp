#include "app/CMainFrame.h"
#include "app/CMainStatusBar.h"
#include "app/CPicSplitter.h"
#include "browser/CFileSelect.h"
#include "platform/CButtonTabBar.h"
#include "platform/CProfileStore.h"
#include "resources/CommandIds.h"
#include "resources/StringTable.h"
#include "sorting/CTarget.h"
#include "tests/support/TestSupport.h"

#include <QAction>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QToolBar>
#include <QTreeWidget>
#include <QtTest>

class TestMainFrame : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void firstStartOpensWithDefaults();
    void closingStoresEverySettingOnce();
    void rectangleSurvivesARestart();
    void maximisedWindowStoresItsNormalRectangle();
    void offScreenRectangleIsMovedOntoTheScreen();
    void splitterKeepsTheSidePanesAtTheirWidths();
    void everyCommandHasItsKeysAndPrompts();
    void menusAndToolbarFollowTheTables();
    void acceleratorsWinOverTheFocusedControl();
    void groupKeysSwitchTheButtonGroup();
};

void TestMainFrame::firstStartOpensWithDefaults() {
    TempProfile profile;
    CMainFrame frame(profile.Store());
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QCOMPARE(frame.windowTitle(), QStringLiteral("Ostlewin - Vantrel"));
    QCOMPARE(frame.frameGeometry(), QRect(16, 16, 768, 558));
    QCOMPARE(frame.GetStatusBar()->PaneText(0), QStringLiteral("Ready"));
    QCOMPARE(frame.GetStatusBar()->PaneText(1), QStringLiteral("0 files"));
    QCOMPARE(frame.GetStatusBar()->findChild<QWidget*>("pane1")->width(), 60);
    const QList<int> sizes = frame.Splitter()->sizes();
    QCOMPARE(sizes.size(), 3);
    QCOMPARE(sizes[0], 200);
    QCOMPARE(sizes[2], 103);
    QVERIFY(frame.ToolBar()->isVisible());

    frame.SetDocumentTitle(" Sunset.jpg");
    QCOMPARE(frame.windowTitle(), QStringLiteral(" Sunset.jpg - Vantrel"));
}

void TestMainFrame::closingStoresEverySettingOnce() {
    TempProfile profile;
    {
        CMainFrame frame(profile.Store());
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        frame.Settings().SetSelectionSet(2);
        frame.close();
        // A second save (the application quitting after the close) changes nothing.
        frame.Settings().SetSelectionSet(3);
        frame.SaveSettings();
    }
    profile.Reopen();
    QSettings raw(profile.Path(), QSettings::IniFormat);
    raw.beginGroup("Config");
    QCOMPARE(raw.childKeys().size(), 9);
    QCOMPARE(raw.value("SelectionSet").toInt(), 2);
    raw.endGroup();
    int targetValues = 0;
    for (const QString& g : raw.childGroups())
        if (g.startsWith("TargetSet")) {
            raw.beginGroup(g);
            targetValues += raw.childKeys().size();
            raw.endGroup();
        }
    QCOMPARE(targetValues, 4 * 41);
}

void TestMainFrame::rectangleSurvivesARestart() {
    TempProfile profile;
    QRect placed;
    {
        CMainFrame frame(profile.Store());
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        frame.move(120, 90);
        frame.resize(900, 640);
        QTRY_COMPARE(frame.frameGeometry().topLeft(), QPoint(120, 90));
        placed = frame.frameGeometry();
        frame.close();
    }
    profile.Reopen();
    CMainFrame again(profile.Store());
    again.show();
    QVERIFY(QTest::qWaitForWindowExposed(&again));
    QTRY_COMPARE(again.frameGeometry(), placed);
}

void TestMainFrame::maximisedWindowStoresItsNormalRectangle() {
    TempProfile profile;
    {
        CMainFrame frame(profile.Store());
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        frame.showMaximized();
        QTRY_VERIFY(frame.isMaximized());
        frame.close();
    }
    profile.Reopen();
    CSettings s;
    s.Load(profile.Store());
    QCOMPARE(s.GetWindowRectSetting(), QRect(16, 16, 768, 558));
}

void TestMainFrame::offScreenRectangleIsMovedOntoTheScreen() {
    TempProfile profile;
    profile.Store().WriteProfileInt("Config", "WindowX1", 50000);
    profile.Store().WriteProfileInt("Config", "WindowY1", 50000);
    profile.Store().WriteProfileInt("Config", "WindowX2", 50800);
    profile.Store().WriteProfileInt("Config", "WindowY2", 50600);
    CMainFrame frame(profile.Store());
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(screen.intersects(frame.frameGeometry()));
    QVERIFY(frame.frameGeometry().width() <= qMax(800, screen.width()));
}

void TestMainFrame::splitterKeepsTheSidePanesAtTheirWidths() {
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

void TestMainFrame::everyCommandHasItsKeysAndPrompts() {
    TempProfile profile;
    CMainFrame frame(profile.Store());
    struct Expect {
        int id;
        QKeySequence key;
        const char* prompt;
    };
    const Expect expected[] = {
        {cmd::ID_PROGRAM_CONFIG, {}, "Edit the main program configuration"},
        {cmd::ID_TARGET_DIRECTORIES, {}, "Change the target Destination Directories"},
        {cmd::ID_CLEAR_PICTURE, QKeySequence(Qt::Key_Escape),
         "Clear the current picture on screen"},
        {cmd::ID_DELETE_PICTURE, QKeySequence(Qt::Key_Delete),
         "Delete the current picture onscreen"},
        {cmd::ID_TOGGLE_RESIZE, QKeySequence(Qt::Key_Space), "Toggle automatic picture resizing"},
        {cmd::ID_FILE_TYPES, {}, "Edit the image types available in the file list"},
        {cmd::ID_GO_TO_HOME, QKeySequence(Qt::Key_Home), "Return to the Home Directory"},
        {cmd::ID_REFRESH_FILES, QKeySequence(Qt::Key_F5), "Refresh the file list"},
        {cmd::ID_BUTTON_GROUP1, QKeySequence(Qt::ALT | Qt::Key_1), ""},
        {cmd::ID_BUTTON_GROUP2, QKeySequence(Qt::ALT | Qt::Key_2), ""},
        {cmd::ID_BUTTON_GROUP3, QKeySequence(Qt::ALT | Qt::Key_3), ""},
        {cmd::ID_BUTTON_GROUP4, QKeySequence(Qt::ALT | Qt::Key_4), ""},
        {cmd::ID_FILE_PRINT, QKeySequence(Qt::CTRL | Qt::Key_P), "Print the active picture"},
        {cmd::ID_FILE_PRINT_SETUP, {}, "Change the printer and printing options"},
        {cmd::ID_APP_EXIT, {}, "Quit the application; prompts to save documents"},
        {cmd::ID_EDIT_COPY, QKeySequence(Qt::CTRL | Qt::Key_C), ""},
        {cmd::ID_NEXT_PANE, QKeySequence(Qt::Key_F6), "Switch to the next window pane"},
        {cmd::ID_PREV_PANE, QKeySequence(Qt::SHIFT | Qt::Key_F6),
         "Switch back to the previous window pane"},
        {cmd::ID_VIEW_TOOLBAR, {}, "Show or hide the toolbar"},
        {cmd::ID_VIEW_STATUS_BAR, {}, "Show or hide the status bar"},
    };
    for (const Expect& e : expected) {
        QAction* a = frame.Action(e.id);
        QVERIFY2(a, qPrintable(QString::number(e.id)));
        QCOMPARE(a->objectName(), QStringLiteral("cmd%1").arg(e.id));
        QCOMPARE(a->shortcut(), e.key);
        QCOMPARE(a->statusTip(), QString::fromUtf8(e.prompt));
    }
    QCOMPARE(frame.Action(cmd::ID_GO_TO_HOME)->toolTip(), QStringLiteral("Go To Home"));
    QCOMPARE(frame.Action(cmd::ID_TOGGLE_RESIZE)->toolTip(), QStringLiteral("Toggle Resize"));
}

void TestMainFrame::menusAndToolbarFollowTheTables() {
    TempProfile profile;
    CMainFrame frame(profile.Store());
    QStringList menus;
    for (QAction* m : frame.menuBar()->actions())
        menus << m->text();
    QCOMPARE(menus, (QStringList{"&File", "&Edit", "&View", "&Help"}));
    QStringList edit;
    for (QAction* a : frame.menuBar()->actions()[1]->menu()->actions())
        edit << (a->isSeparator() ? QStringLiteral("-") : a->text());
    QCOMPARE(edit, (QStringList{"C&lear Picture\tBack", "Delete Picture\tDel", "-",
                                "Program &Config", "&Target Directories", "File &Types"}));

    QList<int> toolbar;
    for (QAction* a : frame.ToolBar()->actions())
        toolbar << (a->isSeparator() ? 0 : a->property("commandId").toInt());
    QCOMPARE(toolbar, (QList<int>{32779, 32780, 0, 32775, 32777, 32776, 0, 32771, 32772, 32778, 0,
                                  57607, 57664}));
    for (QAction* a : frame.ToolBar()->actions())
        QVERIFY(a->isSeparator() || !a->icon().isNull());
}

void TestMainFrame::acceleratorsWinOverTheFocusedControl() {
    TempProfile profile;
    CMainFrame frame(profile.Store());
    auto* tree = new QTreeWidget(frame.FileSelectPane());
    tree->addTopLevelItem(new QTreeWidgetItem(QStringList{"a"}));
    frame.show();
    QVERIFY(QTest::qWaitForWindowActive(&frame));
    tree->setFocus();
    QSignalSpy toggle(frame.Action(cmd::ID_TOGGLE_RESIZE), &QAction::triggered);
    QSignalSpy del(frame.Action(cmd::ID_DELETE_PICTURE), &QAction::triggered);
    QSignalSpy home(frame.Action(cmd::ID_GO_TO_HOME), &QAction::triggered);
    QTest::keyClick(tree, Qt::Key_Space);
    QTest::keyClick(tree, Qt::Key_Delete);
    QTest::keyClick(tree, Qt::Key_Home);
    QCOMPARE(toggle.count(), 1);
    QCOMPARE(del.count(), 1);
    QCOMPARE(home.count(), 1);
}

void TestMainFrame::groupKeysSwitchTheButtonGroup() {
    TempProfile profile;
    profile.Store().WriteProfileString("TargetSet03", "Target02Name", "Beach");
    profile.Store().WriteProfileString("TargetSet03", "Target02Dir", "/tmp");
    CMainFrame frame(profile.Store());
    frame.show();
    QVERIFY(QTest::qWaitForWindowActive(&frame));
    auto* button = qobject_cast<QPushButton*>(frame.TargetPane()->findChild<QWidget*>("ctl1101"));
    QVERIFY(button);
    QVERIFY(!button->isEnabled());
    QTest::keyClick(&frame, Qt::Key_3, Qt::AltModifier);
    QCOMPARE(frame.Settings().GetSelectionSet(), 2);
    QCOMPARE(frame.TargetPane()->TabGroups()->currentIndex(), 2);
    QCOMPARE(button->text(), QStringLiteral("Beach"));
    QVERIFY(button->isEnabled());
    QTest::keyClick(&frame, Qt::Key_1, Qt::AltModifier);
    QCOMPARE(frame.Settings().GetSelectionSet(), 0);
    QVERIFY(!button->isEnabled());
}

QTEST_MAIN(TestMainFrame)
#include "tst_mainframe.moc"
