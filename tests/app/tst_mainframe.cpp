#include "app/CMainStatusBar.h"
#include "app/CPicSplitter.h"
#include "app/CTargetController.h"
#include "browser/namespace/CNamespaceListView.h"
#include "dialogs/CAboutDlg.h"
#include "dialogs/CFileTypesDlg.h"
#include "platform/system/CProfileStore.h"
#include "platform/system/CTermSignalWatcher.h"
#include "resources/CommandIds.h"
#include "resources/CommandTable.h"
#include "sorting/widgets/CFileSelect.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/TestSupport.h"
#include "tests/support/WindowDriver.h"

#include <QAction>
#include <QImage>
#include <QSettings>
#include <QSplitterHandle>
#include <QStatusTipEvent>
#include <QTemporaryDir>
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
        WindowDriver& frame = Open();
        QCOMPARE(frame.Window().windowTitle(), QStringLiteral("Ostlewin - Vantrel"));
        QCOMPARE(frame.Window().frameGeometry(), QRect(16, 16, 768, 558));
        QCOMPARE(frame.GetStatusBar()->PaneText(0), QStringLiteral("Ready"));
        QCOMPARE(frame.GetStatusBar()->PaneText(1), QStringLiteral("0 files"));
        QWidget* count = frame.GetStatusBar()->findChild<QWidget*>("pane1");
        QVERIFY(count->width() >= count->fontMetrics().horizontalAdvance("99999 files"));
        QCOMPARE(frame.Splitter()->sizes().size(), 3);
        QCOMPARE(frame.Splitter()->sizes()[0], 200);
        QCOMPARE(frame.Splitter()->sizes()[2], 103);
        QVERIFY(frame.ToolBar()->isVisible());
    }

    // The panes change with every file; a text never moves or widens anything, and a text
    // too long for its pane stays inside it.
    void statusPanesKeepTheirPlaceWhateverTheText() {
        WindowDriver& frame = Open();
        CMainStatusBar* bar = frame.GetStatusBar();
        QWidget* message = bar->findChild<QWidget*>("pane0");
        QWidget* count = bar->findChild<QWidget*>("pane1");
        QWidget* caps = bar->findChild<QWidget*>("CAP");
        QVERIFY(message && count && caps);
        const QRect messageRect = message->geometry();
        const QRect countRect = count->geometry();
        const QSize frameSize = frame.Window().size();
        const QImage messageBefore = message->grab().toImage();
        const QImage capsBefore = caps->grab().toImage();
        bar->SetPaneText(0, QString(400, QLatin1Char('W')));
        bar->SetPaneText(1, QStringLiteral("1234567 files"));
        QCoreApplication::processEvents();
        QCOMPARE(message->geometry(), messageRect);
        QCOMPARE(count->geometry(), countRect);
        QCOMPARE(frame.Window().size(), frameSize);
        QVERIFY(message->grab().toImage() != messageBefore);
        QCOMPARE(caps->grab().toImage(), capsBefore);
        QCOMPARE(bar->PaneText(1), QStringLiteral("1234567 files"));
    }

    // A tool button's prompt shown when its dialog opened does not stay over the picture's
    // text once the dialog has closed (the pointer never left the button for the bar).
    void promptGoesWhenTheDialogCloses() {
        WindowDriver& frame = Open();
        QVERIFY(QTest::qWaitForWindowActive(&frame.Window()));
        frame.GetStatusBar()->SetPaneText(0, "/pics/a.jpg - 1x1x24 bpp,  9 bytes,  JFIF Compliant");
        QStatusTipEvent hover(frame.Action(cmd::ID_APP_ABOUT)->statusTip());
        QApplication::sendEvent(&frame.Window(), &hover);
        QVERIFY(!frame.GetStatusBar()->currentMessage().isEmpty());
        driver::WhenShown<CAboutDlg>([](CAboutDlg* d) { d->reject(); });
        frame.Action(cmd::ID_APP_ABOUT)->trigger();
        QVERIFY(frame.GetStatusBar()->currentMessage().isEmpty());
        QVERIFY(frame.GetStatusBar()->findChild<QWidget*>("pane0")->isVisible());
    }

    void closingStoresEverySettingOnce() {
        WindowDriver& frame = Open();
        frame.Trigger(cmd::ID_BUTTON_GROUP3);
        frame.Window().close();
        // A second save (the application quitting after the close) changes nothing.
        frame.Trigger(cmd::ID_BUTTON_GROUP4);
        frame.Window().close();
        m_frame.reset();
        m_profile->Reopen();
        QSettings raw(m_profile->Path(), QSettings::IniFormat);
        QCOMPARE(raw.value("Config/SelectionSet").toInt(), 2);
        // The names are the settings test's: Config, four target sets, Sorting, Window, Browse.
        QCOMPARE(raw.allKeys().size(), 9 + 4 * 41 + 1 + 4 + 3);
        QCOMPARE(raw.childGroups().size(), 8);
    }

    // A destination, a set, an option or the filter is in the settings file as soon as it is
    // set, with the window still open: a crash later loses none of them.
    void changesAreStoredWithTheWindowOpen_data() {
        QTest::addColumn<int>("change");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::newRow("destination folder") << 0 << "TargetSet01/Target03Dir"
                                            << "/keep"; // a folder that is there: no question
        QTest::newRow("destination name") << 0 << "TargetSet01/Target03Name"
                                          << "keep";
        QTest::newRow("button group") << 1 << "Config/SelectionSet"
                                      << "1";
        QTest::newRow("fit option") << 2 << "Config/FitPicToWindow"
                                    << "1";
        QTest::newRow("filter") << 3 << "Config/FilterFlags"
                                << "1025";
        QTest::newRow("cleared destination") << 4 << "TargetSet01/Target01Name"
                                             << "< None >";
    }
    void changesAreStoredWithTheWindowOpen() {
        QVERIFY(QDir(m_folders.path()).mkpath("keep"));
        QFETCH(int, change);
        QFETCH(QString, key);
        QFETCH(QString, value);
        m_profile->Store().WriteProfileString("TargetSet01", "Target01Name", "old");
        m_profile->Store().WriteProfileString("TargetSet01", "Target01Dir", "/pics/old");
        m_profile->Reopen();
        WindowDriver& frame = Open();
        switch (change) {
        case 0:
            frame.TargetController()->UseFolder(2, m_folders.path() + "/keep");
            break;
        case 1:
            frame.Action(cmd::ID_BUTTON_GROUP2)->trigger();
            break;
        case 2:
            frame.Action(cmd::ID_TOGGLE_RESIZE)->trigger();
            break;
        case 3:
            driver::WhenShown<CFileTypesDlg>([](CFileTypesDlg* d) {
                driver::Click(d, 1019); // the type of filter bit 1
                driver::Click(d, 1);
            });
            frame.Trigger(cmd::ID_FILE_TYPES);
            break;
        default:
            frame.TargetController()->Clear(0);
            break;
        }
        QCoreApplication::processEvents();
        QVERIFY(frame.Window().isVisible());
        QSettings raw(m_profile->Path(), QSettings::IniFormat);
        QVERIFY2(raw.value(key).toString().endsWith(value), qPrintable(raw.value(key).toString()));
    }

    // Closed maximised in a folder, with the file pane dragged wider, the window comes back
    // so; the window rectangle is still the normal one.
    void restartRestoresFolderMaximisedAndPaneWidth() {
        QTemporaryDir pics;
        QVERIFY(QDir(pics.path()).mkpath("trip"));
        const QString trip = pics.path() + "/trip";
        WindowDriver& frame = Open();
        const QRect normal = frame.Window().frameGeometry();
        frame.FileSelectPane()->m_treeFolders.SelectPath(trip);
        QVERIFY(frame.Settle()); // walked as the worker reads each level
        frame.Window().showMaximized();
        QVERIFY(frame.Window().windowState() & Qt::WindowMaximized);
        QSplitterHandle* bar = frame.Splitter()->handle(1);
        const QPoint grip = bar->rect().center();
        QTest::mousePress(bar, Qt::LeftButton, {}, grip);
        QTest::mouseMove(bar, grip + QPoint(90, 0));
        QTest::mouseRelease(bar, Qt::LeftButton, {}, grip + QPoint(90, 0));
        const int widened = frame.Splitter()->sizes().constFirst();
        QVERIFY(widened > kFileSelectWidth);
        QCoreApplication::processEvents();
        QCOMPARE(CProfileStore(m_profile->Path()).GetProfileInt("Window", "FileSelectWidth", 0),
                 widened);
        frame.Window().close();
        m_frame.reset();
        m_profile->Reopen();
        QCOMPARE(m_profile->Store().GetProfileString("Browse", "LastFolder", ""), trip);
        QCOMPARE(m_profile->Store().GetProfileInt("Config", "WindowX1", 0), normal.left());

        WindowDriver& again = Open();
        QVERIFY(again.Window().windowState() & Qt::WindowMaximized);
        QCOMPARE(again.Splitter()->FileSelectWidth(), widened);
        CPicSplitter* splitter = again.Splitter();
        QCOMPARE(splitter->sizes().constFirst(),
                 CPicSplitter::ColumnWidths(splitter->width(), splitter->handleWidth(), widened)
                     .constFirst()); // as wide as the maximised window leaves room for
        QCOMPARE(static_cast<CNamespaceListView&>(again.FileList()).ListedFolder(),
                 QFile::encodeName(trip));
    }

    // Logging out sends SIGTERM: the window closes normally and the settings are kept.
    void terminationSignalClosesAndSaves() {
        WindowDriver& frame = Open();
        frame.Trigger(cmd::ID_BUTTON_GROUP2);
        CTermSignalWatcher watcher;
        connect(&watcher, &CTermSignalWatcher::TerminationRequested, &frame.Window(),
                &QWidget::close);
        ::raise(SIGTERM);
        QTRY_VERIFY(!frame.Window().isVisible());
        QCOMPARE(CProfileStore(m_profile->Path()).GetProfileInt("Config", "SelectionSet", -1), 1);
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

    // Space and Home act as commands even while a tree in the left pane has the focus (Delete
    // there is the sorting test's).
    void acceleratorsWinOverTheFocusedControl() {
        WindowDriver frame(m_profile->Store());
        auto* tree = new QTreeWidget(frame.FileSelectPane());
        tree->addTopLevelItem(new QTreeWidgetItem(QStringList{"a"}));
        frame.Window().show();
        QVERIFY(QTest::qWaitForWindowActive(&frame.Window()));
        tree->setFocus();
        for (const auto& [key, id] : {std::pair{Qt::Key_Space, cmd::ID_TOGGLE_RESIZE},
                                      {Qt::Key_Home, cmd::ID_GO_TO_HOME}}) {
            QSignalSpy triggered(frame.Action(id), &QAction::triggered);
            QTest::keyClick(tree, key);
            QCOMPARE(triggered.count(), 1);
        }
    }

    // A folder named on the command line relative to where the program was started is
    // found there, not below the home folder of the settings, even where one of the same
    // name lies below it: the settings never move the process.
    void relativeStartupFolderIsFoundWhereTheProgramStarted() {
        const QDir root(m_folders.path());
        QVERIFY(root.mkpath("start/Trip") && root.mkpath("home/Trip"));
        QImage picture(8, 8, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QVERIFY(picture.save(root.filePath("start/Trip/here.jpg")));
        QVERIFY(picture.save(root.filePath("home/Trip/home.jpg")));
        m_profile->Store().WriteProfileString("TargetSet01", "HomeDirectory",
                                              root.filePath("home"));
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(root.filePath("start")));
        m_frame = std::make_unique<WindowDriver>(m_profile->Store(), QStringLiteral("Trip"));
        const QString now = QDir::currentPath();
        QDir::setCurrent(before);
        QCOMPARE(now, QDir(root.filePath("start")).canonicalPath());
        CPictureFileList& list = m_frame->FileList();
        QCOMPARE(list.GetItemCount(), 1);
        QCOMPARE(list.GetItemText(0), QStringLiteral("here.jpg"));
    }

private:
    // A main window on the test's settings store, shown.
    WindowDriver& Open() {
        m_frame = std::make_unique<WindowDriver>(m_profile->Store());
        m_frame->Window().show();
        if (!QTest::qWaitForWindowExposed(&m_frame->Window()))
            qWarning("the main window was not exposed");
        return *m_frame;
    }
    std::unique_ptr<TempProfile> m_profile;
    QTemporaryDir m_folders;
    std::unique_ptr<WindowDriver> m_frame;
};

QTEST_MAIN(TestMainFrame)
#include "tst_mainframe.moc"
