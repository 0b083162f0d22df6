// The folder tree above the file list, over a scratch folder of the test's own. Each test
// ends with both destroyed and every identifier list, record and folder given back.
#include "platform/shell/CFileCommandsProvider.h"
#include "platform/shell/CShellContextMenu.h"
#include "tests/browser/BrowserHost.h"
#include "tests/support/ModalDriver.h"
#include "tests/support/NativeTempDir.h"
#include "tests/support/ShellLeakCheck.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QImage>
#include <QMimeData>
#include <QSignalSpy>
#include <QtTest>
#include <filesystem>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

class TestNamespaceViews : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() {
        QVERIFY(m_home.isValid() && m_root.isValid());
        qputenv("HOME", m_home.NativePath());
        for (const char* dir :
             {"tree/alpha/xray", "tree/alpha/yankee", "tree/bravo", "tree/charlie/zulu",
              "tree/deep/one/two/three", "tree/pics/Old Pics", "tree/pics/Pics", "filter/sub",
              "order/B folder", "order/a folder", "empty", "nav/inner", "odd/d\xe9j\xe0",
              "odd/d\xe8j\xe0", "gone", "menu"})
            QVERIFY(std::filesystem::create_directories(Dir(dir).toStdString()));
        for (const char* file : {"tree/alpha/file.jpg", "tree/deep/one/two/three/found.jpg",
                                 "tree/pics/Old Pics/old.jpg", "tree/pics/Pics/new.jpg"})
            QVERIFY(WriteBytes(Dir(file), ""));
        for (const char* file :
             {"filter/photo.jpg",  "filter/photo.jpeg", "filter/photo.jpg.txt",
              "filter/notajpg",    "filter/SUNSET.JPG", "filter/pic.bmp",
              "order/IMG_10.jpg",  "order/img_2.jpg",   "order/IMG_1.jpg",
              "order/.hidden.jpg", "order/a b.jpg",     "nav/one.jpg",
              "nav/two.jpg",       "nav/three.jpg",     "nav/inner/deep.jpg",
              "odd/caf\xe9.jpg",   "odd/new\nline.jpg", "odd/d\xe9j\xe0/inside.jpg",
              "gone/x.jpg",        "menu/keep.jpg",     "menu/drop.jpg"})
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

    void topLevelIsComputerThenHome() {
        CNamespaceTreeView& tree = m_host->Tree();
        QCOMPARE(tree.topLevelItemCount(), 2);
        QCOMPARE(tree.topLevelItem(0)->text(0), QStringLiteral("Computer"));
        QCOMPARE(tree.topLevelItem(1)->text(0), QStringLiteral("Home"));
        tree.Expand(tree.topLevelItem(0));
        QVERIFY(m_host->Settle());
        QCOMPARE(tree.topLevelItem(0)->child(0)->text(0), QStringLiteral("/"));
    }

    void subFoldersAreInsertedOnceOnFirstExpansion() {
        CNamespaceTreeView& tree = m_host->Tree();
        tree.SelectPath(TreeDir());
        QVERIFY(m_host->Settle());
        QCOMPARE(m_host->CurrentText(), QStringLiteral("tree"));
        // Selecting the last component expands it: its sub-folders are there, no files.
        QCOMPARE(tree.currentItem()->childCount(), 5);
        QTreeWidgetItem* alpha = m_host->Child("alpha");
        QTreeWidgetItem* bravo = m_host->Child("bravo");
        QVERIFY(alpha && bravo && m_host->Child("charlie") && m_host->Child("deep") &&
                m_host->Child("pics"));
        QCOMPARE(alpha->childCount(), 0); // not expanded yet, but it shows its button
        QCOMPARE(alpha->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
        QVERIFY(bravo->childIndicatorPolicy() != QTreeWidgetItem::ShowIndicator);

        tree.expandItem(alpha);
        QVERIFY(m_host->Settle());
        QCOMPARE(alpha->childCount(), 2);
        QTreeWidgetItem* first = alpha->child(0);
        QCOMPARE(first->text(0), QStringLiteral("xray"));
        QVERIFY(QDir(TreeDir("alpha")).mkdir("whiskey"));
        tree.collapseItem(alpha);
        tree.expandItem(alpha);
        QVERIFY(m_host->Settle());
        QCOMPARE(alpha->childCount(), 2); // expanding again inserts nothing
        QCOMPARE(alpha->child(0), first);
        tree.expandItem(bravo);
        QVERIFY(m_host->Settle());
        QCOMPARE(bravo->childCount(), 0);
        QVERIFY(QDir(TreeDir("alpha")).rmdir("whiskey"));
    }

    // The walk ends at the folder named, or where a component is missing; the list then
    // shows that folder's files, or nothing, and never the previous folder's current file.
    void selectPathWalksTheTree_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("deep") << "deep/one/two/three"
                              << "three" << QStringList{"found.jpg"};
        QTest::newRow("trailing separator") << "deep/one/two/three/"
                                            << "three" << QStringList{"found.jpg"};
        QTest::newRow("equal name beside a longer one") << "pics/Pics"
                                                        << "Pics" << QStringList{"new.jpg"};
        QTest::newRow("part of a name") << "pics/ld Pi"
                                        << "Old Pics" << QStringList{"old.jpg"};
        QTest::newRow("missing last") << "pics/Missing"
                                      << "pics" << QStringList{};
        QTest::newRow("missing in the middle") << "Missing/Pics"
                                               << "tree" << QStringList{};
    }

    void selectPathWalksTheTree() {
        QFETCH(QString, path);
        QFETCH(QString, selected);
        QFETCH(QStringList, listed);
        CRecordingListView& list = m_host->List();
        m_host->Tree().SelectPath(TreeDir("alpha"));
        QVERIFY(m_host->Settle());
        list.SelectItem(list.Find("file.jpg"), true);
        QVERIFY(!list.m_strCurFile.isEmpty());
        const int filled = list.m_nListFilled;
        m_host->Tree().SelectPath(TreeDir(path));
        QVERIFY(m_host->Settle());
        QCOMPARE(m_host->CurrentText(), selected);
        QCOMPARE(list.Texts(), listed);
        QCOMPARE(list.m_nListFilled, filled + 1); // only the last folder reached fills
        QCOMPARE(list.m_nCurItem, -1);
        QVERIFY(list.m_strCurFile.isEmpty() && list.CurFileNative().isEmpty());
    }

    // Files made, removed and renamed by other programs: the list follows in its own order,
    // and the current file stays current until it goes itself.
    void filterComparesEndings_data() {
        QTest::addColumn<QStringList>("endings");
        QTest::addColumn<bool>("folders");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("dotted") << QStringList{".JPG", ".BMP"} << true
                                << QStringList{"sub", "photo.jpg", "pic.bmp", "SUNSET.JPG"};
        QTest::newRow("bare") << QStringList{"JPG"} << false
                              << QStringList{"notajpg", "photo.jpg", "SUNSET.JPG"};
        QTest::newRow("none") << QStringList{} << false
                              << QStringList{"notajpg",       "photo.jpeg", "photo.jpg",
                                             "photo.jpg.txt", "pic.bmp",    "SUNSET.JPG"};
        // An ending longer than the name reaches into the folder's path.
        QTest::newRow("path") << QStringList{"filter/photo.JPG"} << false
                              << QStringList{"photo.jpg"};
    }

    void filterComparesEndings() {
        QFETCH(QStringList, endings);
        QFETCH(bool, folders);
        QFETCH(QStringList, listed);
        List().m_bIncludeFolders = folders;
        for (const QString& ending : endings)
            List().AddExtension(ending);
        Show("filter");
        QCOMPARE(List().Texts(), listed);
        List().ClearExtensions();
        List().RefreshList();
        QVERIFY(m_host->Settle()); // read on the worker
        QCOMPARE(List().GetItemCount(), 6 + (folders ? 1 : 0));
    }

    // Emptied at once, then listed in one change of the model per batch (here one), already
    // sorted: whoever follows the list (the sort session copies every path) hears of it once.
    void foldersComeFirstInNaturalOrder() {
        Show("filter");
        QSignalSpy reset(List().model(), &QAbstractItemModel::modelReset);
        QSignalSpy moved(List().model(), &QAbstractItemModel::layoutChanged);
        QSignalSpy inserted(List().model(), &QAbstractItemModel::rowsInserted);
        Show("order");
        QCOMPARE(List().Texts(), QStringList({"a folder", "B folder", "a b.jpg", "IMG_1.jpg",
                                              "img_2.jpg", "IMG_10.jpg"}));
        QCOMPARE(reset.size(), 2);
        QCOMPARE(moved.size() + inserted.size(), 0);
    }

    void selectionMakesTheItemCurrent() {
        CRecordingListView& list = List();
        Show("nav");
        QCOMPARE(list.Texts(), QStringList({"inner", "one.jpg", "three.jpg", "two.jpg"}));
        list.SelectItem(2, true);
        QCOMPARE(list.m_nCurItem, 2);
        QCOMPARE(list.m_strCurFile, QFile::decodeName(Dir("nav/three.jpg")));
        QCOMPARE(list.CurFileNative(), Dir("nav/three.jpg"));
        QCOMPARE(list.m_filesSelected, QList<int>({2}));
        QVERIFY(list.IsItemSelected(2));

        list.SelectItem(0, true); // a folder
        QCOMPARE(list.m_foldersSelected, QList<int>({0}));
        QCOMPARE(list.m_strCurFile, QFile::decodeName(Dir("nav/inner")));
        QVERIFY(!list.IsItemSelected(2));

        // Keyboard movement selects the next item the same way.
        list.setFocus();
        QTest::keyClick(list.viewport(), Qt::Key_Right);
        QCOMPARE(list.m_nCurItem, 1);
        QCOMPARE(list.m_filesSelected, QList<int>({2, 1}));

        list.SelectItem(1, false);
        QVERIFY(!list.IsItemSelected(1));
        list.m_nCurItem = -1;
        QCOMPARE(list.GetCurItem(), -1);
        list.SelectItem(3, true);
        list.m_nCurItem = -1;
        QCOMPARE(list.GetCurItem(), 3); // falls back to the selected item
    }

    void removeItemAndRowHitTest() {
        CRecordingListView& list = List();
        Show("nav");
        const long before = CShellMalloc::Get().Outstanding();
        list.RemoveItem(1);
        QCOMPARE(list.Texts(), QStringList({"inner", "three.jpg", "two.jpg"}));
        QCOMPARE(CShellMalloc::Get().Outstanding(), before - 2); // its record and its list
        // The items close up at once: whatever runs next (loading the next picture) must
        // not leave the list painted blank meanwhile.
        const QImage atOnce = list.viewport()->grab().toImage();
        QTest::qWait(50);
        QCOMPARE(atOnce, list.viewport()->grab().toImage());
        const QRect rect = list.visualRect(list.IndexOf(2));
        QPoint point = list.viewport()->mapToGlobal(QPoint(rect.right() - 1, rect.center().y()));
        QCOMPARE(list.HitTestRow(point), list.indexAt(QPoint(1, rect.center().y())).row());
        QCOMPARE(point, QPoint(rect.right() - 1, rect.center().y()));
        QPoint below = list.viewport()->mapToGlobal(QPoint(5, list.viewport()->height() - 2));
        QCOMPARE(list.HitTestRow(below), -1);
    }

    void doubleClickOpensFolderInTreeOrFile() {
        CRecordingListView& list = List();
        Show("nav");
        DoubleClick(QPoint(5, list.viewport()->height() - 5)); // empty space, nothing current
        QVERIFY(list.m_opened.isEmpty());
        DoubleClick(Centre(1));
        QCOMPARE(list.m_opened, QList<QByteArray>({Dir("nav/one.jpg")}));
        // A double click on empty space acts on the current item.
        DoubleClick(QPoint(5, list.viewport()->height() - 5));
        QCOMPARE(list.m_opened.size(), 2);
        DoubleClick(Centre(0));
        QCOMPARE(m_host->CurrentText(), QStringLiteral("inner"));
        QCOMPARE(list.Texts(), QStringList({"deep.jpg"}));
        QCOMPARE(list.m_opened.size(), 2);
    }

    void invalidUtf8NameKeepsItsBytes() {
        CRecordingListView& list = List();
        Show("odd");
        // Two folders whose names read alike, then the files.
        QCOMPARE(list.GetItemCount(), 4);
        list.SelectItem(list.Find(QString::fromUtf8("caf\xef\xbf\xbd.jpg")), true);
        QCOMPARE(list.CurFileNative(), Dir("odd/caf\xe9.jpg"));
        QVERIFY(Exists(list.CurFileNative()));
        list.SelectItem(list.Find(QString::fromUtf8("new\xe2\x90\x8aline.jpg")), true);
        QCOMPARE(list.m_strCurFile, QFile::decodeName(Dir("odd/new\nline.jpg")));
        QCOMPARE(QFile::encodeName(list.m_strCurFile), Dir("odd/new\nline.jpg"));

        // Double-clicking a folder goes into that very folder, not its look-alike.
        int target = -1;
        for (int i = 0; i < 2; ++i) {
            list.SelectItem(i, true);
            if (list.CurFileNative() == Dir("odd/d\xe9j\xe0"))
                target = i;
        }
        QVERIFY(target >= 0);
        list.SelectItem(target, true);
        DoubleClick(Centre(target));
        QCOMPARE(list.Texts(), QStringList({"inside.jpg"}));
        list.SelectItem(0, true);
        QCOMPARE(list.CurFileNative(), Dir("odd/d\xe9j\xe0/inside.jpg"));
        QVERIFY(Exists(list.CurFileNative()));
    }

    // An empty, vanished or unreadable folder shows an empty list, reports the fill and
    // leaves no current file; no message is shown.
    void emptyVanishedOrUnreadableFolderShowsEmpty() {
        ModalDriver driver;
        CRecordingListView& list = List();
        const auto expectEmpty = [&](int filled) {
            QCOMPARE(list.GetItemCount(), 0);
            QCOMPARE(list.m_nCurItem, -1);
            QCOMPARE(list.GetCurItem(), -1);
            QVERIFY(list.m_strCurFile.isEmpty());
            QCOMPARE(list.m_nListFilled, filled + 1);
        };
        Show("nav");
        list.SelectItem(1, true);
        int filled = list.m_nListFilled;
        Show("empty");
        expectEmpty(filled);

        Show("gone");
        list.SelectItem(0, true);
        filled = list.m_nListFilled;
        QVERIFY(::unlink(Dir("gone/x.jpg").constData()) == 0);
        QVERIFY(::rmdir(Dir("gone").constData()) == 0);
        list.RefreshList();
        QVERIFY(m_host->Settle());
        expectEmpty(filled);

        if (::geteuid() != 0) { // permissions mean nothing to the superuser
            QVERIFY(::mkdir(Dir("locked").constData(), 0000) == 0);
            Show("locked");
            QCOMPARE(list.GetItemCount(), 0);
            ::chmod(Dir("locked").constData(), 0755);
        }
        QTest::qWait(20);
        QVERIFY(driver.m_messages.isEmpty());
    }

    void outOfMemoryStopsTheFill() {
        CRecordingListView& list = List();
        list.m_bIncludeFolders = false;
        Show("nav");
        const int filled = list.m_nListFilled;
        ModalDriver driver;
        // One block for the folder's list, then four a file (its list, the absolute list,
        // the record, the record's copy of the list): the third file's record is refused.
        CShellMalloc::Get().FailAfter(1 + 2 * 4 + 3);
        list.RefreshList();
        QVERIFY(m_host->Settle());
        CShellMalloc::Get().FailAfter(0);
        QCOMPARE(driver.m_messages, QStringList({"Out of Memory Error"}));
        QCOMPARE(list.GetItemCount(), 2);
        QCOMPARE(list.m_nListFilled, filled);
    }

    // A right click on a label offers the menu without selecting the item; a command that
    // changes the file on disk refreshes the list.
    void contextMenuOnALabel() {
        CRecordingListView& list = List();
        Show("menu");
        ModalDriver driver;
        driver.ChooseFromNextMenu(QStringLiteral("Copy"));
        const QPoint label = Label(1);
        QTest::mousePress(list.viewport(), Qt::RightButton, {}, label);
        ContextMenu(label);
        QTest::mouseRelease(list.viewport(), Qt::RightButton, {}, label);
        QVERIFY(driver.MenuSeen());
        QCOMPARE(list.m_nCurItem, -1);
        QVERIFY(list.m_filesSelected.isEmpty());
        const QMimeData* data = QApplication::clipboard()->mimeData();
        QVERIFY(data);
        QCOMPARE(data->urls().value(0).toLocalFile(), QFile::decodeName(Dir("menu/keep.jpg")));

        const int handle = CShellContextMenu::AddProvider([](const auto& item, auto& cmds) {
            const QByteArray path = item.path;
            cmds.append({400, QStringLiteral("Remove"), [path](QWidget*, CFileActionHook*) {
                             return ::unlink(path.constData()) == 0;
                         }});
        });
        driver.ChooseFromNextMenu(QStringLiteral("Remove"));
        ContextMenu(Label(0));
        CShellContextMenu::RemoveProvider(handle);
        QVERIFY(m_host->Settle());
        QCOMPARE(list.Texts(), QStringList({"keep.jpg"}));
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
    QPoint Centre(int row) {
        QTest::qWait(50); // let the list lay itself out
        return List().visualRect(List().IndexOf(row)).center();
    }
    QPoint Label(int row) {
        const QRect rect = List().visualRect(List().IndexOf(row));
        return {rect.left() + List().iconSize().width() + 14, Centre(row).y()};
    }
    void DoubleClick(QPoint at) {
        QTest::mouseDClick(List().viewport(), Qt::LeftButton, {}, at);
        QVERIFY(m_host->Settle());
    }
    void ContextMenu(QPoint at) {
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, List().viewport()->mapToGlobal(at));
        QApplication::sendEvent(List().viewport(), &event);
    }

    NativeTempDir m_home;
    NativeTempDir m_root;
    ShellLeakCheck m_leaks;
    std::unique_ptr<BrowserHost> m_host;
};

QTEST_MAIN(TestNamespaceViews)
#include "tst_namespaceviews.moc"
