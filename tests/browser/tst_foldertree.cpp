// The folder tree as a person uses it: hidden folders left out, a folder dragged out of it
// not opened, a deep folder's name scrolled into sight, folders made, removed and renamed
// by others or from the tree's own menu followed.
#include "platform/shell/CFileCommandsProvider.h"
#include "platform/shell/CShellContextMenu.h"
#include "tests/browser/BrowserHost.h"
#include "tests/support/ModalDriver.h"
#include "tests/support/NativeTempDir.h"
#include "tests/support/ShellLeakCheck.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QScrollBar>
#include <QtTest>
#include <filesystem>
#include <memory>

class TestFolderTree : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() {
        QVERIFY(m_home.isValid() && m_root.isValid());
        qputenv("HOME", m_home.NativePath());
        for (const char* dir :
             {"tree/alpha/xray", "tree/alpha/yankee", "tree/bravo", "tree/charlie/zulu",
              "tree/deep/one/two/three", "hide/.git/objects", "hide/visible"})
            QVERIFY(std::filesystem::create_directories(Dir(dir).toStdString()));
        for (const char* file : {"tree/alpha/file.jpg", "hide/.dot.jpg", "hide/shown.jpg"})
            QVERIFY(WriteBytes(Dir(file), ""));
    }
    void init() {
        m_leaks = ShellLeakCheck();
        m_host = std::make_unique<BrowserHost>();
    }
    void cleanup() {
        m_host.reset();
        m_leaks.Verify();
    }

    // Names that begin with a dot are hidden: neither the tree nor the list shows them.
    void hiddenFoldersAndFilesAreLeftOut() {
        Show("hide");
        QCOMPARE(m_host->CurrentText(), QStringLiteral("hide"));
        QCOMPARE(m_host->Tree().currentItem()->childCount(), 1);
        QVERIFY(m_host->Child("visible"));
        QCOMPARE(List().Texts(), (QStringList{"visible", "shown.jpg"}));
    }

    // A path through a hidden folder (a home folder set to ~/.photos/in) is still walked:
    // the hidden folder named joins the tree, and stays there through a refresh, while
    // the folder's other hidden entries stay out.
    void pathThroughAHiddenFolderIsWalked() {
        QVERIFY(std::filesystem::create_directories(Dir("hide/.other").toStdString()));
        QVERIFY(WriteBytes(Dir("hide/.git/objects/pack.jpg"), ""));
        Show("hide/.git/objects");
        QCOMPARE(m_host->CurrentText(), QStringLiteral("objects"));
        QCOMPARE(List().Texts(), QStringList{"pack.jpg"});
        m_host->Tree().RefreshExpandedFolders();
        QCOMPARE(m_host->CurrentText(), QStringLiteral("objects"));
        QTreeWidgetItem* hide = m_host->Tree().currentItem()->parent()->parent();
        QStringList children;
        for (int i = 0; i < hide->childCount(); ++i)
            children << hide->child(i)->text(0);
        QCOMPARE(children, (QStringList{".git", "visible"}));
        Show("hide/.missing");
        QCOMPARE(m_host->CurrentText(), QStringLiteral("hide")); // the walk stops there
    }

    // A folder dragged out of the tree (onto a destination button) is not opened: the tree
    // keeps its selection and the list its folder. A plain click still opens a folder.
    void draggingAFolderLeavesTheListAlone() {
        CNamespaceTreeView& tree = m_host->Tree();
        tree.SelectPath(TreeDir());
        QVERIFY(m_host->Settle());
        QTreeWidgetItem* shown = tree.currentItem();
        const QStringList listed = List().Texts();
        const int filled = List().m_nListFilled;
        QWidget* viewport = tree.viewport();
        const QRect alpha = tree.visualItemRect(m_host->Child("alpha"));
        const QPoint from(alpha.left() + m_host->OnTreeLabel(), alpha.center().y());
        QTest::mousePress(viewport, Qt::LeftButton, {}, from);
        const QPoint to = from + QPoint(0, 3 * QApplication::startDragDistance());
        QTest::mouseMove(viewport, from + QPoint(0, 1)); // the view gets ready to drag,
        QTest::mouseMove(viewport, to);                  // then drags (to no drop target)
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, to);
        QCOMPARE(tree.currentItem(), shown);
        QCOMPARE(List().Texts(), listed);
        QCOMPARE(List().m_nListFilled, filled);

        const QRect bravo = tree.visualItemRect(m_host->Child("bravo"));
        QTest::mouseClick(viewport, Qt::LeftButton, {},
                          QPoint(bravo.left() + m_host->OnTreeLabel(), bravo.center().y()));
        QVERIFY(m_host->Settle());
        QCOMPARE(m_host->CurrentText(), QStringLiteral("bravo"));
        QCOMPARE(List().m_nListFilled, filled + 1);
    }

    // A walk scrolls the tree to its folder: up or down, and sideways only when the folder's
    // name would not show (deep in a hierarchy), either way round; a sideways position the
    // user chose stays where the name shows.
    void walkShowsTheFoldersName_data() {
        QTest::addColumn<Qt::LayoutDirection>("direction");
        QTest::newRow("left to right") << Qt::LeftToRight;
        QTest::newRow("right to left") << Qt::RightToLeft;
    }
    void walkShowsTheFoldersName() {
        QFETCH(Qt::LayoutDirection, direction);
        CNamespaceTreeView& tree = m_host->Tree();
        m_host->setLayoutDirection(direction);
        m_host->resize(120, 700);
        QScrollBar* sideways = tree.horizontalScrollBar();
        tree.SelectPath(TreeDir("deep/one/two/three"));
        QVERIFY(m_host->Settle());
        QCoreApplication::processEvents(); // the walk shows its folder once the tree is laid out
        QVERIFY(sideways->maximum() > 0);
        QVERIFY2(LabelShows(tree), qPrintable(QString::number(sideways->value())));
        QVERIFY(sideways->value() > 0);

        sideways->setValue(sideways->value() - 2);
        const int chosen = sideways->value();
        tree.SelectPath(TreeDir("deep/one/two"));
        QVERIFY(m_host->Settle());
        QCoreApplication::processEvents();
        QCOMPARE(sideways->value(), chosen);
        QVERIFY(LabelShows(tree));
        const QRect shown = tree.visualItemRect(tree.currentItem()); // scrolled to vertically
        QVERIFY(shown.top() >= 0 && shown.bottom() < tree.viewport()->height());
        m_host->setLayoutDirection(Qt::LeftToRight);
    }

    // A window restored from maximised makes the tree shorter: the folder on show, seen
    // before, is centred, so that its sub-folders and folders made in it later show too.
    void shorterTreeCentresTheFolderOnShow_data() {
        QTest::addColumn<int>("below"); // how far the new bottom lies above the folder's
        QTest::newRow("cut off by the new bottom") << 150;
        QTest::newRow("still seen, at the new bottom") << -4;
    }
    void shorterTreeCentresTheFolderOnShow() {
        QFETCH(int, below);
        CNamespaceTreeView& tree = m_host->Tree();
        m_host->resize(300, 900);
        m_host->show();
        tree.SelectPath(TreeDir("deep/one/two/three"));
        QVERIFY(m_host->Settle());
        QCoreApplication::processEvents();
        tree.scrollTo(tree.currentIndex(), QAbstractItemView::PositionAtBottom);
        const int bottom = tree.visualItemRect(tree.currentItem()).bottom();
        QVERIFY(bottom < tree.viewport()->height());
        m_host->resize(300, m_host->height() - (tree.viewport()->height() - bottom) - below);
        QCoreApplication::processEvents();
        const QRect shown = tree.visualItemRect(tree.currentItem());
        const int off = shown.center().y() - tree.viewport()->height() / 2;
        QVERIFY2(std::abs(off) <= shown.height(), qPrintable(QString::number(off)));
    }

    void treeFollowsTheFoldersOnDisk() {
        CNamespaceTreeView& tree = m_host->Tree();
        tree.SelectPath(TreeDir("charlie"));
        QVERIFY(m_host->Settle());
        QTreeWidgetItem* charlie = tree.currentItem();
        QVERIFY(QDir(TreeDir("charlie")).mkdir("yonder"));
        QTRY_VERIFY(m_host->Child("yonder"));
        QCOMPARE(tree.currentItem(), charlie);

        QVERIFY(QDir(TreeDir("charlie")).mkdir("nearby"));
        tree.RefreshExpandedFolders(); // before the watch reports it
        QVERIFY(m_host->Settle());
        QVERIFY(m_host->Child("nearby"));

        tree.SelectPath(TreeDir("charlie/yonder"));
        QVERIFY(m_host->Settle());
        QVERIFY(QDir(TreeDir("charlie")).rmdir("yonder"));
        QTRY_COMPARE(tree.currentItem(), charlie);
        QVERIFY(!m_host->Child("yonder"));
        QVERIFY(m_host->Settle());
        QCOMPARE(m_host->List().Texts(), (QStringList{"nearby", "zulu"}));
        QVERIFY(QDir(TreeDir("charlie")).rmdir("nearby"));
        QTRY_VERIFY(!m_host->Child("nearby"));
    }

    // Renamed from its own menu, the folder open in the list stays open under its new name;
    // moved to the trash, its parent is shown.
    void renamedOrTrashedOpenFolderMovesTheList() {
        const int handle = CShellContextMenu::AddProvider(&CFileCommandsProvider::AddCommands);
        qputenv("XDG_DATA_HOME", Dir("data"));
        QVERIFY(std::filesystem::create_directories(Dir("ren/old name").toStdString()));
        QVERIFY(WriteBytes(Dir("ren/old name/in.jpg"), "") && WriteBytes(Dir("ren/top.jpg"), ""));
        CNamespaceTreeView& tree = m_host->Tree();
        CRecordingListView& list = m_host->List();
        tree.SelectPath(QFile::decodeName(Dir("ren/old name")));
        QVERIFY(m_host->Settle());
        const auto menuOnCurrent = [&](const QString& choice, const QString& answer) {
            ModalDriver driver;
            driver.ChooseFromNextMenu(choice);
            driver.AnswerInputsWith(answer);
            m_host->TreeContextMenu(tree.currentItem(), m_host->OnTreeLabel());
            QVERIFY(m_host->Settle());
        };
        menuOnCurrent("Rename...", "new name");
        QVERIFY(QFileInfo::exists(QFile::decodeName(Dir("ren/new name/in.jpg"))));
        QCOMPARE(m_host->CurrentText(), QStringLiteral("new name"));
        QCOMPARE(list.Texts(), QStringList{"in.jpg"});
        QCOMPARE(list.ListedFolder(), Dir("ren/new name"));

        menuOnCurrent("Move to Trash", QString());
        QVERIFY(!QFileInfo::exists(QFile::decodeName(Dir("ren/new name"))));
        QCOMPARE(m_host->CurrentText(), QStringLiteral("ren"));
        QCOMPARE(list.Texts(), QStringList{"top.jpg"});
        CShellContextMenu::RemoveProvider(handle);
    }

    void folderMadeAfterItsParentWasListedIsFound() {
        m_host->Tree().SelectPath(TreeDir("deep/one/two"));
        QVERIFY(m_host->Settle());
        QVERIFY(QDir(TreeDir("deep/one/two")).mkdir("later"));
        m_host->Tree().SelectPath(TreeDir("deep/one/two/later"));
        QVERIFY(m_host->Settle());
        QCOMPARE(m_host->CurrentText(), QStringLiteral("later"));
        QVERIFY(QDir(TreeDir("deep/one/two")).rmdir("later"));
    }

    void listFollowsTheFolderOnDisk() {
        QVERIFY(std::filesystem::create_directories(Dir("watched").toStdString()));
        for (const char* f : {"b.jpg", "d.jpg", "f.jpg", "h.jpg"})
            QVERIFY(WriteBytes(Dir("watched/") + f, ""));
        CRecordingListView& list = m_host->List();
        m_host->Tree().SelectPath(QFile::decodeName(Dir("watched")));
        QVERIFY(m_host->Settle());
        list.SelectItem(list.Find("d.jpg"), true);
        const int filled = list.m_nListFilled;
        QVERIFY(WriteBytes(Dir("watched/a.jpg"), "") && WriteBytes(Dir("watched/e.jpg"), ""));
        QCOMPARE(::unlink(Dir("watched/b.jpg").constData()), 0);
        QCOMPARE(::rename(Dir("watched/h.jpg").constData(), Dir("watched/c.jpg").constData()), 0);
        const QStringList expected{"a.jpg", "c.jpg", "d.jpg", "e.jpg", "f.jpg"};
        QTRY_COMPARE(list.Texts(), expected);
        QCOMPARE(list.m_nListFilled, filled); // changed in place, not filled again
        QCOMPARE(list.m_nCurItem, 2);
        QVERIFY(list.IsItemSelected(2));
        QVERIFY(list.m_strCurFile.endsWith("/d.jpg"));

        // The current file going leaves a plain list without a current item (the picture
        // list shows the next one: see the sorting tests).
        QCOMPARE(::unlink(Dir("watched/d.jpg").constData()), 0);
        QTRY_COMPARE(list.GetItemCount(), 4);
        QCOMPARE(list.m_nCurItem, -1);
        QVERIFY(list.m_strCurFile.isEmpty());

        for (const char* f : {"a.jpg", "c.jpg", "e.jpg", "f.jpg"})
            QCOMPARE(::unlink((Dir("watched/") + f).constData()), 0);
        QTRY_COMPARE(list.GetItemCount(), 0);
    }

    // Folders made and removed by other programs below expanded folders appear and vanish;
    // the folder open in the list going shows its parent. F5's refresh finds them at once.
    void rightClickOnLabelShowsMenuThenSelects() {
        CNamespaceTreeView& tree = m_host->Tree();
        tree.SelectPath(TreeDir());
        QVERIFY(m_host->Settle());
        QTreeWidgetItem* alpha = m_host->Child("alpha");
        QVERIFY(alpha);
        ModalDriver driver;
        m_host->TreeContextMenu(alpha, 2); // on the icon
        QVERIFY(!driver.MenuSeen());
        QVERIFY(tree.currentItem() != alpha);

        driver.ChooseFromNextMenu(QString()); // dismissed without a choice
        m_host->TreeContextMenu(alpha, m_host->OnTreeLabel());
        QVERIFY(m_host->Settle());
        QCOMPARE(driver.m_menuTexts, QStringList({"Open", "Copy", "Properties"}));
        QCOMPARE(tree.currentItem(), alpha);
        QCOMPARE(m_host->List().Texts(), QStringList({"xray", "yankee", "file.jpg"}));
        QVERIFY(driver.m_messages.isEmpty());
    }

private:
    QByteArray Dir(const QByteArray& rel) const { return m_root.NativePath() + '/' + rel; }
    QString TreeDir(const QString& rel = QString()) const {
        return m_root.path() + "/tree" + (rel.isEmpty() ? QString() : '/' + rel);
    }
    CRecordingListView& List() { return m_host->List(); }
    void Show(const QByteArray& rel) {
        m_host->Tree().SelectPath(QFile::decodeName(Dir(rel)));
        QVERIFY(m_host->Settle());
    }
    // The current folder's icon and name lie whole inside the tree's visible width.
    static bool LabelShows(CNamespaceTreeView& tree) {
        const QModelIndex index = tree.currentIndex();
        const QRect cell = tree.visualRect(index);
        const int label = tree.sizeHintForIndex(index).width();
        const int room = tree.viewport()->width();
        const int lead = tree.isRightToLeft() ? room - 1 - cell.right() : cell.left();
        return lead >= 0 && lead + label <= room;
    }

    NativeTempDir m_home;
    NativeTempDir m_root;
    ShellLeakCheck m_leaks;
    std::unique_ptr<BrowserHost> m_host;
};

QTEST_MAIN(TestFolderTree)
#include "tst_foldertree.moc"
