#include "app/CMainFrame.h"
#include "browser/CFileSelect.h"
#include "picture/CImageCtrl.h"
#include "picture/CVantrelView.h"
#include "resources/CommandIds.h"
#include "sorting/MoveOnRule.h"
#include "tests/support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>
#include <memory>

// Pictures a.jpg .. in a home folder, two destinations and a main window on them. Message
// boxes that a failed operation shows are answered at once and counted.
class SortingDesk {
public:
    explicit SortingDesk(const QStringList& names, int moveFiles = 1, int recycle = 1) {
        QDir root(m_dir.path());
        root.mkpath("Pics");
        root.mkpath("Keep");
        root.mkpath("data");
        qputenv("XDG_DATA_HOME", QFile::encodeName(Path("data")));
        for (const QString& name : names) {
            QImage image(20, 10, QImage::Format_RGB32);
            image.fill(Qt::red);
            image.save(Path("Pics/" + name), "JPG");
        }
        CProfileStore& store = m_profile.Store();
        store.WriteProfileString("TargetSet01", "HomeDirectory", Path("Pics"));
        store.WriteProfileString("TargetSet01", "Target01Name", "Keep");
        store.WriteProfileString("TargetSet01", "Target01Dir", Path("Keep"));
        store.WriteProfileString("TargetSet01", "Target02Name", "Nowhere");
        store.WriteProfileString("TargetSet01", "Target02Dir", Path("missing"));
        store.WriteProfileInt("Config", "MoveFiles", moveFiles);
        store.WriteProfileInt("Config", "UseRecyclingBin", recycle);
        m_frame = std::make_unique<CMainFrame>(store);
        m_frame->show();
        m_answerer.callOnTimeout([this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                ++m_nMessages;
                box->done(QMessageBox::Ok);
            }
        });
        m_answerer.start(20);
    }
    ~SortingDesk() { QDir::setCurrent(QDir::tempPath()); }

    QString Path(const QString& rel) const { return m_dir.filePath(rel); }
    CMainFrame& Frame() { return *m_frame; }
    CPictureFileList& List() { return m_frame->FileList(); }
    QStringList Listed() {
        QStringList names;
        for (int i = 0; i < List().GetItemCount(); ++i)
            names << List().GetItemText(i);
        return names;
    }
    QStringList OnDisk(const QString& rel) const { return QDir(Path(rel)).entryList(QDir::Files); }
    QString Current() const { return QFileInfo(m_frame->FileList().m_strCurFile).fileName(); }
    void Select(const QString& name) { List().SelectItem(Listed().indexOf(name), true); }
    int Messages() const { return m_nMessages; }

private:
    QTemporaryDir m_dir;
    TempProfile m_profile;
    std::unique_ptr<CMainFrame> m_frame;
    QTimer m_answerer;
    int m_nMessages = 0;
};

class TestSorting : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void moveOnRule();
    void moveGoesOnToTheNextPicture();
    void movingTheLastAndTheOnlyPicture();
    void failedMoveKeepsThePicture();
    void deleteUsesTheTrashOrNot();
    void copyLeavesTheSourceAndMovesOn();
    void homeButtonAndNoCurrentFile();
    void deleteKeyInTheTreeDeletesThePicture();
};

void TestSorting::moveOnRule() {
    QCOMPARE(move_on::AfterRemoval(1, 3), 1);  // middle: the next one moved up
    QCOMPARE(move_on::AfterRemoval(0, 3), 0);  // first
    QCOMPARE(move_on::AfterRemoval(3, 3), 2);  // last: the new last one
    QCOMPARE(move_on::AfterRemoval(0, 0), -1); // only one: none left
    QCOMPARE(move_on::AfterCopy(1, 4, true), 2);
    QCOMPARE(move_on::AfterCopy(3, 4, true), 3); // at the end it stays
    QCOMPARE(move_on::AfterCopy(1, 4, false), 1);
}

void TestSorting::moveGoesOnToTheNextPicture() {
    SortingDesk desk({"a.jpg", "b.jpg", "c.jpg", "d.jpg"});
    desk.Select("b.jpg");
    desk.Frame().OnSendToTarget(0);
    QCOMPARE(desk.OnDisk("Keep"), QStringList{"b.jpg"});
    QCOMPARE(desk.Listed(), (QStringList{"a.jpg", "c.jpg", "d.jpg"}));
    QCOMPARE(desk.Current(), QStringLiteral("c.jpg"));
    QVERIFY(desk.Frame().PictureViewPane()->m_imageCtrl.isVisible());
    QCOMPARE(desk.Frame().windowTitle(), QStringLiteral(" c.jpg - Vantrel"));
    QCOMPARE(desk.Frame().StatusPaneText(1), QStringLiteral("3 files"));
    QTRY_VERIFY(desk.List().hasFocus());

    desk.Select("a.jpg"); // the first one
    desk.Frame().OnSendToTarget(0);
    QCOMPARE(desk.Current(), QStringLiteral("c.jpg"));
    QCOMPARE(desk.OnDisk("Pics"), (QStringList{"c.jpg", "d.jpg"}));
}

void TestSorting::movingTheLastAndTheOnlyPicture() {
    SortingDesk desk({"a.jpg", "b.jpg"});
    desk.Select("b.jpg");
    desk.Frame().OnSendToTarget(0);
    QCOMPARE(desk.Current(), QStringLiteral("a.jpg"));
    desk.Frame().OnSendToTarget(0);
    QCOMPARE(desk.OnDisk("Keep"), (QStringList{"a.jpg", "b.jpg"}));
    QVERIFY(desk.Listed().isEmpty());
    QCOMPARE(desk.List().m_nCurItem, -1);
    QVERIFY(!desk.Frame().PictureViewPane()->m_imageCtrl.isVisible());
    QCOMPARE(desk.Frame().StatusPaneText(1), QStringLiteral("0 files"));
    QCOMPARE(desk.Frame().StatusPaneText(0), QStringLiteral("Ready"));
    QCOMPARE(desk.Frame().windowTitle(), QStringLiteral(" Ostlewin - Vantrel"));
    QVERIFY(!desk.Frame().Action(cmd::ID_FILE_PRINT)->isEnabled());
}

void TestSorting::failedMoveKeepsThePicture() {
    SortingDesk desk({"a.jpg", "b.jpg"});
    WriteFile(desk.Path("Pics/empty.jpg"), 0); // a zero-byte picture that cannot move either
    desk.Frame().OnRefreshFiles();
    for (const QString& name : {QStringLiteral("b.jpg"), QStringLiteral("empty.jpg")}) {
        desk.Select(name);
        desk.Frame().OnSendToTarget(1); // its directory does not exist
        QCOMPARE(desk.Current(), name);
    }
    QCOMPARE(desk.Messages(), 2);
    QCOMPARE(desk.Listed(), (QStringList{"a.jpg", "b.jpg", "empty.jpg"}));
    QCOMPARE(desk.OnDisk("Pics"), (QStringList{"a.jpg", "b.jpg", "empty.jpg"}));
    QVERIFY(!QFileInfo::exists(desk.Path("missing")));

    // A file taken away behind the program's back cannot be moved; the list keeps it.
    QFile::remove(desk.Path("Pics/a.jpg"));
    desk.Select("a.jpg");
    desk.Frame().OnSendToTarget(0);
    QCOMPARE(desk.Messages(), 3);
    QVERIFY(desk.OnDisk("Keep").isEmpty());
}

void TestSorting::deleteUsesTheTrashOrNot() {
    {
        SortingDesk desk({"a.jpg", "b.jpg"});
        desk.Select("a.jpg");
        desk.Frame().Action(cmd::ID_DELETE_PICTURE)->trigger();
        QCOMPARE(desk.OnDisk("data/Trash/files"), QStringList{"a.jpg"});
        QCOMPARE(desk.OnDisk("data/Trash/info"), QStringList{"a.jpg.trashinfo"});
        QCOMPARE(desk.Current(), QStringLiteral("b.jpg"));
        QCOMPARE(desk.Messages(), 0); // no confirmation
    }
    SortingDesk desk({"a.jpg", "b.jpg"}, 1, 0);
    desk.Select("b.jpg");
    desk.Frame().OnDeletePicture();
    QCOMPARE(desk.OnDisk("Pics"), QStringList{"a.jpg"});
    QVERIFY(!QFileInfo::exists(desk.Path("data/Trash")));
    QCOMPARE(desk.Current(), QStringLiteral("a.jpg"));
}

void TestSorting::copyLeavesTheSourceAndMovesOn() {
    SortingDesk desk({"a.jpg", "b.jpg"}, 0);
    desk.Select("a.jpg");
    desk.Frame().OnSendToTarget(0);
    QCOMPARE(desk.OnDisk("Keep"), QStringList{"a.jpg"});
    QCOMPARE(desk.OnDisk("Pics"), (QStringList{"a.jpg", "b.jpg"}));
    QCOMPARE(QFileInfo(desk.Path("Keep/a.jpg")).size(), QFileInfo(desk.Path("Pics/a.jpg")).size());
    QCOMPARE(desk.Current(), QStringLiteral("b.jpg"));
    desk.Frame().OnSendToTarget(0); // the last one stays on show
    QCOMPARE(desk.Current(), QStringLiteral("b.jpg"));
    desk.Frame().OnSendToTarget(1); // a failed copy too
    QCOMPARE(desk.Current(), QStringLiteral("b.jpg"));
    QCOMPARE(desk.Messages(), 1);
}

void TestSorting::homeButtonAndNoCurrentFile() {
    SortingDesk desk({"a.jpg"});
    QDir(desk.Path("Pics")).mkdir("Sub");
    QImage(4, 4, QImage::Format_RGB32).save(desk.Path("Pics/Sub/s.jpg"), "JPG");
    desk.Frame().FileSelectPane()->m_treeFolders.SelectPath(desk.Path("Pics/Sub"));
    desk.Frame().OnSendToTarget(20); // nothing current: nothing happens
    QCOMPARE(desk.OnDisk("Pics/Sub"), QStringList{"s.jpg"});
    QTRY_VERIFY(desk.List().hasFocus());
    desk.Select("s.jpg");
    desk.Frame().OnSendToTarget(20); // Home
    QCOMPARE(desk.OnDisk("Pics"), (QStringList{"a.jpg", "s.jpg"}));
    QVERIFY(desk.Listed().isEmpty());
}

void TestSorting::deleteKeyInTheTreeDeletesThePicture() {
    SortingDesk desk({"a.jpg", "b.jpg"});
    QVERIFY(QTest::qWaitForWindowActive(&desk.Frame()));
    desk.Select("a.jpg");
    auto& tree = desk.Frame().FileSelectPane()->m_treeFolders;
    tree.setFocus();
    QTest::keyClick(&tree, Qt::Key_Delete);
    QCOMPARE(desk.OnDisk("Pics"), QStringList{"b.jpg"});
    QVERIFY(QFileInfo(desk.Path("Pics")).isDir());
    QCOMPARE(desk.Current(), QStringLiteral("b.jpg"));
    QTRY_VERIFY(desk.List().hasFocus());
}

QTEST_MAIN(TestSorting)
#include "tst_sorting.moc"
