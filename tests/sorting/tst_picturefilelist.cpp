#include "app/CMainFrame.h"
#include "browser/CFileSelect.h"
#include "picture/CImageCtrl.h"
#include "picture/CVantrelView.h"
#include "resources/CommandIds.h"
#include "tests/support/TestSupport.h"

#include <QAction>
#include <QDir>
#include <QImage>
#include <QtTest>
#include <memory>

// A home folder of pictures of several types and name cases, a second folder, and a
// main window started on it with a settings store of its own.
class PictureHome {
public:
    explicit PictureHome(int filterFlags = 0x400, int fit = 0) {
        QDir(m_dir.path()).mkpath("Pics/Other");
        Picture("Pics/SUNSET.JPG", 64, 48, "JPG");
        Picture("Pics/beach.jpg", 1600, 1200, "JPG");
        Picture("Pics/notajpg", 10, 10, "JPG");
        Picture("Pics/a.png", 8, 8, "PNG");
        Picture("Pics/b.bmp", 8, 8, "BMP");
        WriteFile(Path("Pics/c.txt"), 10);
        WriteFile(Path("Pics/broken.jpg"), 300);
        Picture("Pics/Other/one.jpg", 5, 5, "JPG");
        m_profile.Store().WriteProfileString("TargetSet01", "HomeDirectory", Path("Pics"));
        m_profile.Store().WriteProfileInt("Config", "FilterFlags", filterFlags);
        m_profile.Store().WriteProfileInt("Config", "FitPicToWindow", fit);
    }
    ~PictureHome() { QDir::setCurrent(QDir::tempPath()); }
    QString Path(const QString& rel) const { return m_dir.filePath(rel); }
    CMainFrame& Start(const QString& startupPath = QString()) {
        m_frame = std::make_unique<CMainFrame>(m_profile.Store(), startupPath);
        m_frame->show();
        return *m_frame;
    }
    CPictureFileList& List() { return m_frame->FileList(); }
    QStringList Names() {
        QStringList names;
        for (int i = 0; i < List().GetItemCount(); ++i)
            names << List().GetItemText(i);
        return names;
    }
    int IndexOf(const QString& name) { return Names().indexOf(name); }

private:
    void Picture(const QString& rel, int w, int h, const char* format) {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        QVERIFY(image.save(Path(rel), format));
    }
    QTemporaryDir m_dir;
    TempProfile m_profile;
    std::unique_ptr<CMainFrame> m_frame;
};

class TestPictureFileList : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void listShowsTheEnabledTypes_data();
    void listShowsTheEnabledTypes();
    void selectingAPictureShowsAndDescribesIt();
    void anotherFolderHidesThePicture();
    void clearPictureKeepsTheFile();
    void fitToggleReloadsThePicture();
    void undecodablePictureIsStillCurrent();
    void firstDownSelectsTheFirstPicture();
    void commandLinePictureOpensSelected();
    void paneIsLaidOutThirtySeventy();
};

void TestPictureFileList::listShowsTheEnabledTypes_data() {
    QTest::addColumn<int>("flags");
    QTest::addColumn<QStringList>("names");
    const QStringList all{"a.png", "b.bmp",   "beach.jpg", "broken.jpg",
                          "c.txt", "notajpg", "SUNSET.JPG"};
    QTest::newRow("JPG") << 0x400
                         << QStringList{"beach.jpg", "broken.jpg", "notajpg", "SUNSET.JPG"};
    QTest::newRow("PNG and BMP") << (0x1 | 0x1000) << QStringList{"a.png", "b.bmp"};
    QTest::newRow("all files") << (0x4000 | 0x1) << all;
    QTest::newRow("no bit") << 0 << all;
}

void TestPictureFileList::listShowsTheEnabledTypes() {
    QFETCH(int, flags);
    QFETCH(QStringList, names);
    PictureHome home(flags);
    CMainFrame& frame = home.Start();
    QCOMPARE(home.Names(), names); // folders never listed, natural order
    QCOMPARE(frame.StatusPaneText(1), QStringLiteral("%1 files").arg(names.size()));
    QCOMPARE(frame.StatusPaneText(0), QStringLiteral("Ready"));
    QCOMPARE(frame.windowTitle(), QStringLiteral(" Ostlewin - Vantrel"));
}

void TestPictureFileList::selectingAPictureShowsAndDescribesIt() {
    PictureHome home;
    CMainFrame& frame = home.Start();
    CImageCtrl& ctrl = frame.PictureViewPane()->m_imageCtrl;
    QVERIFY(!ctrl.isVisible());
    QVERIFY(!frame.Action(cmd::ID_FILE_PRINT)->isEnabled());
    home.List().SelectItem(home.IndexOf("SUNSET.JPG"), true);
    QVERIFY(ctrl.isVisible());
    QVERIFY(ctrl.HasPicture());
    const QString path = home.Path("Pics/SUNSET.JPG");
    QCOMPARE(home.List().m_strCurFile, path);
    QCOMPARE(frame.StatusPaneText(0),
             QStringLiteral("%1 - 64x48x24 bpp,  %2 bytes,  JFIF Compliant")
                 .arg(path.toUpper())
                 .arg(QFileInfo(path).size()));
    QCOMPARE(frame.windowTitle(), QStringLiteral(" SUNSET.JPG - Vantrel"));
    QCOMPARE(frame.StatusPaneText(1), QStringLiteral("4 files"));
    QVERIFY(frame.Action(cmd::ID_FILE_PRINT)->isEnabled());
}

void TestPictureFileList::anotherFolderHidesThePicture() {
    PictureHome home;
    CMainFrame& frame = home.Start();
    home.List().SelectItem(0, true);
    QVERIFY(frame.PictureViewPane()->m_imageCtrl.isVisible());
    frame.FileSelectPane()->m_treeFolders.SelectPath(home.Path("Pics/Other"));
    QVERIFY(!frame.PictureViewPane()->m_imageCtrl.isVisible());
    QCOMPARE(home.Names(), QStringList{"one.jpg"});
    QCOMPARE(frame.StatusPaneText(0), QStringLiteral("Ready"));
    QCOMPARE(frame.StatusPaneText(1), QStringLiteral("1 files"));
    QCOMPARE(frame.windowTitle(), QStringLiteral(" Ostlewin - Vantrel"));
    QVERIFY(home.List().m_strCurFile.isEmpty());
    QVERIFY(!frame.Action(cmd::ID_FILE_PRINT)->isEnabled());

    // Home goes back, also after the process wandered elsewhere.
    QDir::setCurrent(QDir::rootPath());
    frame.Action(cmd::ID_GO_TO_HOME)->trigger();
    QCOMPARE(home.Names().size(), 4);
}

void TestPictureFileList::clearPictureKeepsTheFile() {
    PictureHome home;
    CMainFrame& frame = home.Start();
    home.List().SelectItem(1, true);
    frame.Action(cmd::ID_CLEAR_PICTURE)->trigger();
    QCOMPARE(home.List().GetItemCount(), 4);
    QCOMPARE(home.List().m_nCurItem, -1);
    QVERIFY(home.List().m_strCurFile.isEmpty());
    QVERIFY(!home.List().IsItemSelected(1));
    QVERIFY(!frame.PictureViewPane()->m_imageCtrl.isVisible());
    QCOMPARE(frame.StatusPaneText(0), QStringLiteral("Ready"));
    QCOMPARE(frame.windowTitle(), QStringLiteral(" Ostlewin - Vantrel"));
}

void TestPictureFileList::fitToggleReloadsThePicture() {
    PictureHome home;
    CMainFrame& frame = home.Start();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    CImageCtrl& ctrl = frame.PictureViewPane()->m_imageCtrl;
    home.List().SelectItem(home.IndexOf("beach.jpg"), true);
    QCOMPARE(QSizeF(ctrl.ViewWidth(), ctrl.ViewHeight()), QSizeF(1600, 1200)); // own size
    QVERIFY(!frame.Action(cmd::ID_TOGGLE_RESIZE)->isChecked());

    frame.Action(cmd::ID_TOGGLE_RESIZE)->trigger();
    QCOMPARE(frame.Settings().GetFitPicToWindow(), 1);
    QVERIFY(frame.Action(cmd::ID_TOGGLE_RESIZE)->isChecked());
    QVERIFY(ctrl.ViewWidth() <= ctrl.ClientWidth() && ctrl.ViewHeight() <= ctrl.ClientHeight());
    const int percent = int(ctrl.ViewWidth() * 100 / 1600);
    QVERIFY(ctrl.ViewWidth() > ctrl.ClientWidth() - 16 ||
            ctrl.ViewHeight() > ctrl.ClientHeight() - 12);
    QCOMPARE(ctrl.ViewHeight(), float(1200 * percent * 0.01f));
    QVERIFY(ctrl.DecodedSize().width() < 1600); // decoded at the shown size

    frame.Action(cmd::ID_TOGGLE_RESIZE)->trigger(); // twice: back where it was
    QCOMPARE(frame.Settings().GetFitPicToWindow(), 0);
    QCOMPARE(ctrl.ViewWidth(), 1600.0f);
}

void TestPictureFileList::undecodablePictureIsStillCurrent() {
    PictureHome home;
    CMainFrame& frame = home.Start();
    home.List().SelectItem(home.IndexOf("SUNSET.JPG"), true);
    home.List().SelectItem(home.IndexOf("broken.jpg"), true);
    QCOMPARE(home.List().m_strCurFile, home.Path("Pics/broken.jpg"));
    const QString status = frame.StatusPaneText(0);
    QVERIFY2(status.startsWith(home.Path("Pics/broken.jpg").toUpper() + " - "), qPrintable(status));
    QVERIFY2(!status.contains("64x48"), qPrintable(status));
    QVERIFY(status.contains("300 bytes"));
    QCOMPARE(frame.windowTitle(), QStringLiteral(" broken.jpg - Vantrel"));
}

void TestPictureFileList::firstDownSelectsTheFirstPicture() {
    PictureHome home;
    CMainFrame& frame = home.Start();
    QVERIFY(QTest::qWaitForWindowActive(&frame));
    home.List().setFocus();
    QTest::keyClick(&home.List(), Qt::Key_Down);
    QCOMPARE(home.List().m_nCurItem, 0);
    QCOMPARE(home.List().m_strCurFile, home.Path("Pics/beach.jpg"));
    QTest::keyClick(&home.List(), Qt::Key_Right);
    QCOMPARE(home.List().m_nCurItem, 1);
}

void TestPictureFileList::commandLinePictureOpensSelected() {
    PictureHome home;
    CMainFrame& frame = home.Start(home.Path("Pics/Other/one.jpg"));
    QVERIFY(QTest::qWaitForWindowActive(&frame));
    QTRY_COMPARE(home.List().m_strCurFile, home.Path("Pics/Other/one.jpg"));
    QVERIFY(frame.PictureViewPane()->m_imageCtrl.isVisible());
    QTRY_VERIFY(home.List().hasFocus());

    PictureHome folder;
    folder.Start(folder.Path("Pics/Other"));
    QCOMPARE(folder.Names(), QStringList{"one.jpg"});
    QVERIFY(folder.List().m_strCurFile.isEmpty());
}

void TestPictureFileList::paneIsLaidOutThirtySeventy() {
    CFileSelect pane;
    pane.resize(200, 600);
    pane.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pane));
    QCOMPARE(pane.m_treeFolders.geometry(), QRect(3, 3, 194, 178));
    QCOMPARE(pane.m_listFiles.geometry(), QRect(3, 185, 194, 412));
    pane.resize(200, 406);
    QCOMPARE(pane.m_listFiles.geometry(), QRect(3, 126, 194, 277));
}

QTEST_MAIN(TestPictureFileList)
#include "tst_picturefilelist.moc"
