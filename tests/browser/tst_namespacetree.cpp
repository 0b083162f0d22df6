#include "platform/CShellFolder.h"
#include "platform/CShellMalloc.h"
#include "tests/browser/BrowserHost.h"
#include "tests/browser/ModalDriver.h"
#include "tests/support/NativeTempDir.h"

#include <QContextMenuEvent>
#include <QtTest>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
void Touch(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_CREAT | O_WRONLY, 0644);
    QVERIFY(fd >= 0);
    ::close(fd);
}
} // namespace

class TestNamespaceTree : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void splitsPaths();
    void topLevelIsComputerThenHome();
    void subFoldersAreInsertedOnceOnFirstExpansion();
    void selectPathWalksToADeepFolder();
    void selectPathPrefersTheExactName();
    void missingComponentStopsTheWalkAndEmptiesTheList();
    void folderMadeAfterListingIsFound();
    void rightClickOnLabelShowsMenuThenSelects();
    void destroyingTheTreeFreesEveryRecord();

private:
    QString Dir(const QString& rel) const { return m_root.path() + '/' + rel; }
    NativeTempDir m_home;
    NativeTempDir m_root;
    long m_nOutstanding = 0;
    long m_nFolders = 0;
};

void TestNamespaceTree::initTestCase() {
    QVERIFY(m_home.isValid() && m_root.isValid());
    qputenv("HOME", m_home.NativePath());
    QDir root(m_root.path());
    for (const char* dir : {"alpha/xray", "alpha/yankee", "bravo", "charlie/zulu",
                            "deep/one/two/three", "pics/Old Pics", "pics/Pics"})
        QVERIFY(root.mkpath(dir));
    Touch(Dir("alpha/file.jpg"));
    Touch(Dir("deep/one/two/three/found.jpg"));
    Touch(Dir("pics/Old Pics/old.jpg"));
    Touch(Dir("pics/Pics/new.jpg"));
}

void TestNamespaceTree::init() {
    m_nOutstanding = CShellMalloc::Get().Outstanding();
    m_nFolders = CShellFolder::LiveFolders();
}

void TestNamespaceTree::cleanup() {
    QCOMPARE(CShellMalloc::Get().Outstanding(), m_nOutstanding);
    QCOMPARE(CShellFolder::LiveFolders(), m_nFolders);
}

void TestNamespaceTree::splitsPaths() {
    QString component, rest;
    CNamespaceTreeView::SplitPath("/tmp/a b/c", component, rest);
    QCOMPARE(component, QStringLiteral("/"));
    QCOMPARE(rest, QStringLiteral("tmp/a b/c"));
    CNamespaceTreeView::SplitPath(rest, component, rest);
    QCOMPARE(component, QStringLiteral("tmp"));
    QCOMPARE(rest, QStringLiteral("a b/c"));
    CNamespaceTreeView::SplitPath("last", component, rest);
    QCOMPARE(component, QStringLiteral("last"));
    QVERIFY(rest.isEmpty());
}

void TestNamespaceTree::topLevelIsComputerThenHome() {
    BrowserHost host;
    CNamespaceTreeView& tree = host.Tree();
    QCOMPARE(tree.topLevelItemCount(), 2);
    QCOMPARE(tree.topLevelItem(0)->text(0), QStringLiteral("Computer"));
    QCOMPARE(tree.topLevelItem(1)->text(0), QStringLiteral("Home"));
    QCOMPARE(tree.FirstRootItem(), tree.topLevelItem(0));
    tree.Expand(tree.topLevelItem(0));
    QCOMPARE(tree.topLevelItem(0)->child(0)->text(0), QStringLiteral("/"));
}

void TestNamespaceTree::subFoldersAreInsertedOnceOnFirstExpansion() {
    BrowserHost host;
    CNamespaceTreeView& tree = host.Tree();
    tree.SelectPath(m_root.path());
    QTreeWidgetItem* root = tree.currentItem();
    QCOMPARE(host.CurrentText(), QFileInfo(m_root.path()).fileName());
    // Selecting the last component expands it: its sub-folders are there, no files.
    QCOMPARE(root->childCount(), 5);
    QTreeWidgetItem* alpha = host.Child("alpha");
    QTreeWidgetItem* bravo = host.Child("bravo");
    QVERIFY(alpha && bravo && host.Child("charlie") && host.Child("deep") && host.Child("pics"));
    QCOMPARE(alpha->childCount(), 0); // not expanded yet, but it shows its button
    QCOMPARE(alpha->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
    QVERIFY(bravo->childIndicatorPolicy() != QTreeWidgetItem::ShowIndicator);

    tree.expandItem(alpha);
    QCOMPARE(alpha->childCount(), 2);
    QTreeWidgetItem* first = alpha->child(0);
    QCOMPARE(first->text(0), QStringLiteral("xray"));
    QVERIFY(QDir(Dir("alpha")).mkdir("whiskey"));
    tree.collapseItem(alpha);
    tree.expandItem(alpha);
    QCOMPARE(alpha->childCount(), 2); // expanding again inserts nothing
    QCOMPARE(alpha->child(0), first);
    tree.expandItem(bravo);
    QCOMPARE(bravo->childCount(), 0);
    QVERIFY(QDir(Dir("alpha")).rmdir("whiskey"));
}

void TestNamespaceTree::selectPathWalksToADeepFolder() {
    BrowserHost host;
    const int filled = host.List().m_nListFilled;
    host.Tree().SelectPath(Dir("deep/one/two/three"));
    QCOMPARE(host.CurrentText(), QStringLiteral("three"));
    QCOMPARE(host.List().Texts(), QStringList({"found.jpg"}));
    QCOMPARE(host.List().m_nListFilled, filled + 1); // only the last component fills
    host.Tree().SelectPath(Dir("deep/one/two/three/"));
    QCOMPARE(host.CurrentText(), QStringLiteral("three"));
}

void TestNamespaceTree::selectPathPrefersTheExactName() {
    BrowserHost host;
    host.Tree().SelectPath(Dir("pics/Pics"));
    QCOMPARE(host.CurrentText(), QStringLiteral("Pics"));
    QCOMPARE(host.List().Texts(), QStringList({"new.jpg"}));
    // Without an equal name, part of a name still finds the folder.
    host.Tree().SelectPath(Dir("pics/ld Pi"));
    QCOMPARE(host.CurrentText(), QStringLiteral("Old Pics"));
    QCOMPARE(host.List().Texts(), QStringList({"old.jpg"}));
}

void TestNamespaceTree::missingComponentStopsTheWalkAndEmptiesTheList() {
    BrowserHost host;
    CRecordingListView& list = host.List();
    host.Tree().SelectPath(Dir("pics/Pics"));
    list.SelectItem(0, true);
    QVERIFY(!list.m_strCurFile.isEmpty());
    const int filled = list.m_nListFilled;

    host.Tree().SelectPath(Dir("pics/Missing"));
    QCOMPARE(host.CurrentText(), QStringLiteral("pics"));
    QCOMPARE(list.GetItemCount(), 0);
    QCOMPARE(list.m_nCurItem, -1);
    QVERIFY(list.m_strCurFile.isEmpty() && list.CurFileNative().isEmpty());
    QCOMPARE(list.m_nListFilled, filled + 1);

    // A missing folder in the middle does not let the walk go on below its parent.
    host.Tree().SelectPath(Dir("pics/Pics"));
    host.Tree().SelectPath(Dir("Missing/Pics"));
    QCOMPARE(host.CurrentText(), QFileInfo(m_root.path()).fileName());
    QCOMPARE(list.GetItemCount(), 0);
}

void TestNamespaceTree::folderMadeAfterListingIsFound() {
    BrowserHost host;
    host.Tree().SelectPath(Dir("bravo"));
    QVERIFY(QDir(Dir("bravo")).mkdir("later"));
    Touch(Dir("bravo/later/late.jpg"));
    host.Tree().SelectPath(Dir("bravo/later"));
    QCOMPARE(host.CurrentText(), QStringLiteral("later"));
    QCOMPARE(host.List().Texts(), QStringList({"late.jpg"}));
}

void TestNamespaceTree::rightClickOnLabelShowsMenuThenSelects() {
    BrowserHost host;
    CNamespaceTreeView& tree = host.Tree();
    tree.SelectPath(m_root.path());
    QTreeWidgetItem* alpha = host.Child("alpha");
    QVERIFY(alpha);
    const QRect rect = tree.visualItemRect(alpha);
    const auto rightClick = [&](QPoint pos) {
        QContextMenuEvent event(QContextMenuEvent::Mouse, pos, tree.viewport()->mapToGlobal(pos));
        QApplication::sendEvent(tree.viewport(), &event);
    };
    ModalDriver driver;
    rightClick(QPoint(rect.left() + 2, rect.center().y())); // on the icon
    QVERIFY(!driver.MenuSeen());
    QVERIFY(tree.currentItem() != alpha);

    driver.ChooseFromNextMenu(QString()); // dismissed without a choice
    const int icon = tree.style()->pixelMetric(QStyle::PM_SmallIconSize);
    rightClick(QPoint(rect.left() + icon + 18, rect.center().y()));
    QCOMPARE(driver.m_menuTexts, QStringList({"Open", "Copy", "Properties"}));
    QCOMPARE(tree.currentItem(), alpha);
    QCOMPARE(host.List().Texts(), QStringList({"xray", "yankee", "file.jpg"}));
    QVERIFY(driver.m_messages.isEmpty());
}

void TestNamespaceTree::destroyingTheTreeFreesEveryRecord() {
    {
        BrowserHost host;
        host.Tree().SelectPath(Dir("deep/one/two/three"));
        QVERIFY(CShellMalloc::Get().Outstanding() > m_nOutstanding);
    }
    // cleanup() checks that every list, record and folder reference was given back.
}

QTEST_MAIN(TestNamespaceTree)
#include "tst_namespacetree.moc"
