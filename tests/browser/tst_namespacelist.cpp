#include "platform/CShellContextMenu.h"
#include "platform/CShellFolder.h"
#include "platform/CShellMalloc.h"
#include "tests/browser/BrowserHost.h"
#include "tests/browser/ModalDriver.h"
#include "tests/support/NativeTempDir.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QImage>
#include <QMimeData>
#include <QtTest>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
void Touch(const QByteArray& path) {
    const int fd = ::open(path.constData(), O_CREAT | O_WRONLY, 0644);
    QVERIFY2(fd >= 0, path.constData());
    ::close(fd);
}

bool Exists(const QByteArray& path) {
    struct stat st;
    return ::stat(path.constData(), &st) == 0;
}
} // namespace

class TestNamespaceList : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void filterComparesEndings_data();
    void filterComparesEndings();
    void foldersComeFirstInNaturalOrder();
    void emptyFolderStillReportsTheFill();
    void selectionMakesTheItemCurrent();
    void removeItemAndRowHitTest();
    void doubleClickOpensFolderInTreeOrFile();
    void invalidUtf8NameKeepsItsBytes();
    void unreadableOrVanishedFolderShowsEmpty();
    void missingTreeIsReportedOnce();
    void outOfMemoryStopsTheFill();
    void rightClickOffersTheMenuWithoutSelecting();
    void commandThatChangesTheFileRefreshesTheList();

private:
    QByteArray Dir(const QByteArray& rel) const { return m_root.NativePath() + '/' + rel; }
    void Show(BrowserHost& host, const QByteArray& rel) {
        host.Tree().SelectPath(QFile::decodeName(Dir(rel)));
    }
    NativeTempDir m_home;
    NativeTempDir m_root;
    long m_nOutstanding = 0;
    long m_nFolders = 0;
};

void TestNamespaceList::initTestCase() {
    QVERIFY(m_home.isValid() && m_root.isValid());
    qputenv("HOME", m_home.NativePath());
    for (const char* dir :
         {"filter", "filter/sub", "order", "order/B folder", "order/a folder", "empty", "nav",
          "nav/inner", "odd", "odd/d\xe9j\xe0", "odd/d\xe8j\xe0", "gone", "menu"})
        QVERIFY(::mkdir(Dir(dir).constData(), 0755) == 0);
    for (const char* file :
         {"photo.jpg", "photo.jpeg", "photo.jpg.txt", "notajpg", "SUNSET.JPG", "pic.bmp"})
        Touch(Dir("filter/") + file);
    for (const char* file : {"IMG_10.jpg", "img_2.jpg", "IMG_1.jpg", ".hidden.jpg", "a b.jpg"})
        Touch(Dir("order/") + file);
    for (const char* file : {"one.jpg", "two.jpg", "three.jpg"})
        Touch(Dir("nav/") + file);
    Touch(Dir("nav/inner/deep.jpg"));
    Touch(Dir("odd/caf\xe9.jpg"));
    Touch(Dir("odd/new\nline.jpg"));
    Touch(Dir("odd/d\xe9j\xe0/inside.jpg"));
    Touch(Dir("gone/x.jpg"));
    Touch(Dir("menu/keep.jpg"));
    Touch(Dir("menu/drop.jpg"));
}

void TestNamespaceList::init() {
    m_nOutstanding = CShellMalloc::Get().Outstanding();
    m_nFolders = CShellFolder::LiveFolders();
}

void TestNamespaceList::cleanup() {
    QCOMPARE(CShellMalloc::Get().Outstanding(), m_nOutstanding);
    QCOMPARE(CShellFolder::LiveFolders(), m_nFolders);
}

void TestNamespaceList::filterComparesEndings_data() {
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
    QTest::newRow("path") << QStringList{"filter/photo.JPG"} << false << QStringList{"photo.jpg"};
}

void TestNamespaceList::filterComparesEndings() {
    QFETCH(QStringList, endings);
    QFETCH(bool, folders);
    QFETCH(QStringList, listed);
    BrowserHost host;
    CRecordingListView& list = host.List();
    list.m_bIncludeFolders = folders;
    for (const QString& ending : endings)
        list.AddExtension(ending);
    Show(host, "filter");
    QCOMPARE(list.Texts(), listed);
    list.ClearExtensions();
    list.RefreshList();
    QCOMPARE(list.GetItemCount(), 6 + (folders ? 1 : 0));
}

void TestNamespaceList::foldersComeFirstInNaturalOrder() {
    BrowserHost host;
    Show(host, "order");
    QCOMPARE(host.List().Texts(), QStringList({"a folder", "B folder", ".hidden.jpg", "a b.jpg",
                                               "IMG_1.jpg", "img_2.jpg", "IMG_10.jpg"}));
}

void TestNamespaceList::emptyFolderStillReportsTheFill() {
    BrowserHost host;
    CRecordingListView& list = host.List();
    Show(host, "nav");
    list.SelectItem(1, true);
    const int filled = list.m_nListFilled;
    Show(host, "empty");
    QCOMPARE(list.GetItemCount(), 0);
    QCOMPARE(list.m_nCurItem, -1);
    QCOMPARE(list.GetCurItem(), -1);
    QVERIFY(list.m_strCurFile.isEmpty());
    QCOMPARE(list.m_nListFilled, filled + 1);
}

void TestNamespaceList::selectionMakesTheItemCurrent() {
    BrowserHost host;
    CRecordingListView& list = host.List();
    Show(host, "nav");
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

void TestNamespaceList::removeItemAndRowHitTest() {
    BrowserHost host;
    CRecordingListView& list = host.List();
    Show(host, "nav");
    const long before = CShellMalloc::Get().Outstanding();
    list.RemoveItem(1);
    QCOMPARE(list.Texts(), QStringList({"inner", "three.jpg", "two.jpg"}));
    QCOMPARE(CShellMalloc::Get().Outstanding(), before - 2); // its record and its list
    // The items close up at once, before the event loop turns again: whatever runs next
    // (loading the next picture) must not leave the list painted blank meanwhile.
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

void TestNamespaceList::doubleClickOpensFolderInTreeOrFile() {
    BrowserHost host;
    CRecordingListView& list = host.List();
    Show(host, "nav");
    QTest::qWait(50);
    const QRect file = list.visualRect(list.IndexOf(1));
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, file.center());
    QCOMPARE(list.m_opened, QList<QByteArray>({Dir("nav/one.jpg")}));

    // A double click on empty space acts on the current item.
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {},
                       QPoint(5, list.viewport()->height() - 5));
    QCOMPARE(list.m_opened.size(), 2);

    const QRect folder = list.visualRect(list.IndexOf(0));
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, folder.center());
    QCOMPARE(host.CurrentText(), QStringLiteral("inner"));
    QCOMPARE(list.Texts(), QStringList({"deep.jpg"}));
    QCOMPARE(list.m_opened.size(), 2);
}

void TestNamespaceList::invalidUtf8NameKeepsItsBytes() {
    BrowserHost host;
    CRecordingListView& list = host.List();
    Show(host, "odd");
    // Two folders whose names read alike, then the files.
    QCOMPARE(list.GetItemCount(), 4);
    const int cafe = list.Find(QString::fromUtf8("caf\xef\xbf\xbd.jpg"));
    QVERIFY(cafe >= 0);
    list.SelectItem(cafe, true);
    QCOMPARE(list.CurFileNative(), Dir("odd/caf\xe9.jpg"));
    QVERIFY(Exists(list.CurFileNative()));
    const int newline = list.Find(QString::fromUtf8("new\xe2\x90\x8aline.jpg"));
    list.SelectItem(newline, true);
    QCOMPARE(list.m_strCurFile, QFile::decodeName(Dir("odd/new\nline.jpg")));
    QVERIFY(Exists(QFile::encodeName(list.m_strCurFile)));

    // Double-clicking a folder goes into that very folder, not its look-alike.
    int target = -1;
    for (int i = 0; i < 2; ++i) {
        list.SelectItem(i, true);
        if (list.CurFileNative() == Dir("odd/d\xe9j\xe0"))
            target = i;
    }
    QVERIFY(target >= 0);
    list.SelectItem(target, true);
    QTest::qWait(50);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {},
                       list.visualRect(list.IndexOf(target)).center());
    QCOMPARE(list.Texts(), QStringList({"inside.jpg"}));
    list.SelectItem(0, true);
    QCOMPARE(list.CurFileNative(), Dir("odd/d\xe9j\xe0/inside.jpg"));
    QVERIFY(Exists(list.CurFileNative()));
}

void TestNamespaceList::unreadableOrVanishedFolderShowsEmpty() {
    ModalDriver driver;
    BrowserHost host;
    CRecordingListView& list = host.List();
    Show(host, "gone");
    QCOMPARE(list.Texts(), QStringList({"x.jpg"}));
    list.SelectItem(0, true);
    const int filled = list.m_nListFilled;
    QVERIFY(::unlink(Dir("gone/x.jpg").constData()) == 0);
    QVERIFY(::rmdir(Dir("gone").constData()) == 0);
    list.RefreshList();
    QCOMPARE(list.GetItemCount(), 0);
    QCOMPARE(list.m_nCurItem, -1);
    QVERIFY(list.m_strCurFile.isEmpty());
    QCOMPARE(list.m_nListFilled, filled + 1);
    QVERIFY(::mkdir(Dir("gone").constData(), 0755) == 0);

    if (::geteuid() != 0) { // permissions mean nothing to the superuser
        QVERIFY(::mkdir(Dir("locked").constData(), 0000) == 0);
        Show(host, "locked");
        QCOMPARE(list.GetItemCount(), 0);
        ::chmod(Dir("locked").constData(), 0755);
    }
    QTest::qWait(20);
    QVERIFY(driver.m_messages.isEmpty());
}

void TestNamespaceList::missingTreeIsReportedOnce() {
    BrowserHost host;
    CRecordingListView& list = host.List();
    Show(host, "nav");
    list.SetTreeView(nullptr);
    ModalDriver driver;
    list.SelectItem(1, true);
    QCOMPARE(driver.m_messages,
             QStringList({"There is no CNamespaceTreeView control associated with\t\tthis "
                          "control.  Unable to complete function"}));
    QVERIFY(list.m_strCurFile.isEmpty());
    QVERIFY(list.m_filesSelected.isEmpty());
    list.SetTreeView(&host.Tree());
}

void TestNamespaceList::outOfMemoryStopsTheFill() {
    BrowserHost host;
    CRecordingListView& list = host.List();
    list.m_bIncludeFolders = false;
    Show(host, "nav");
    const int filled = list.m_nListFilled;
    ModalDriver driver;
    // Each listed file takes four blocks: the enumerated list, the absolute list, the
    // record and the record's copy of the list. The third file's record is refused.
    CShellMalloc::Get().FailAfter(2 * 4 + 3);
    list.RefreshList();
    CShellMalloc::Get().FailAfter(0);
    QCOMPARE(driver.m_messages, QStringList({"Out of Memory Error"}));
    QCOMPARE(list.GetItemCount(), 2);
    QCOMPARE(list.m_nListFilled, filled);
}

void TestNamespaceList::rightClickOffersTheMenuWithoutSelecting() {
    BrowserHost host;
    CRecordingListView& list = host.List();
    Show(host, "menu");
    QTest::qWait(50);
    const QRect rect = list.visualRect(list.IndexOf(1));
    const QPoint label(rect.left() + list.iconSize().width() + 14, rect.center().y());
    ModalDriver driver;
    driver.ChooseFromNextMenu(QStringLiteral("Copy"));
    QTest::mousePress(list.viewport(), Qt::RightButton, {}, label);
    QContextMenuEvent event(QContextMenuEvent::Mouse, label, list.viewport()->mapToGlobal(label));
    QApplication::sendEvent(list.viewport(), &event);
    QTest::mouseRelease(list.viewport(), Qt::RightButton, {}, label);
    QCOMPARE(driver.m_menuTexts, QStringList({"Open", "Copy", "Properties"}));
    QCOMPARE(list.m_nCurItem, -1);
    QVERIFY(list.m_filesSelected.isEmpty());
    const QMimeData* data = QApplication::clipboard()->mimeData();
    QVERIFY(data);
    QCOMPARE(data->urls().value(0).toLocalFile(), QFile::decodeName(Dir("menu/keep.jpg")));
}

void TestNamespaceList::commandThatChangesTheFileRefreshesTheList() {
    const int handle = CShellContextMenu::AddProvider([](const auto& item, auto& cmds) {
        const QByteArray path = item.path;
        cmds.append({400, QStringLiteral("Remove"),
                     [path](QWidget*) { return ::unlink(path.constData()) == 0; }});
    });
    BrowserHost host;
    CRecordingListView& list = host.List();
    Show(host, "menu");
    QTest::qWait(50);
    const QRect rect = list.visualRect(list.IndexOf(0));
    const QPoint label(rect.left() + list.iconSize().width() + 14, rect.center().y());
    ModalDriver driver;
    driver.ChooseFromNextMenu(QStringLiteral("Remove"));
    QContextMenuEvent event(QContextMenuEvent::Mouse, label, list.viewport()->mapToGlobal(label));
    QApplication::sendEvent(list.viewport(), &event);
    CShellContextMenu::RemoveProvider(handle);
    QCOMPARE(driver.m_menuTexts, QStringList({"Open", "Copy", "Remove", "Properties"}));
    QCOMPARE(list.Texts(), QStringList({"keep.jpg"}));
}

QTEST_MAIN(TestNamespaceList)
#include "tst_namespacelist.moc"
