#include "app/CHiddenPicturesPane.h"
#include "app/CMainStatusBar.h"
#include "picture/load/CFitScale.h"
#include "picture/load/CPictureLoader.h"
#include "resources/CommandIds.h"
#include "resources/FileTypes.h"
#include "sorting/session/CSortSession.h"
#include "sorting/session/PictureStatus.h"
#include "sorting/widgets/CFileSelect.h"
#include "tests/picture/PictureTestSupport.h"
#include "tests/support/PictureDesk.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QtTest>

namespace {
// Pictures of several types and name cases in the home folder, and one more in Pics/Other.
void Fill(PictureDesk& desk, int filterFlags = 0x400) {
    QDir(desk.Path("Pics")).mkdir("Other");
    QVERIFY(desk.Picture("Pics/SUNSET.JPG", 64, 48) && desk.Picture("Pics/beach.jpg", 1600, 1200));
    QVERIFY(desk.Picture("Pics/notajpg", 10, 10) && desk.Picture("Pics/Other/one.jpg", 5, 5));
    QVERIFY(desk.Picture("Pics/a.png", 8, 8, "PNG") && desk.Picture("Pics/b.bmp", 8, 8, "BMP"));
    QVERIFY(WriteBytes(QFile::encodeName(desk.Path("Pics/c.txt")), Pattern(10)));
    QVERIFY(WriteBytes(QFile::encodeName(desk.Path("Pics/broken.jpg")), Pattern(300)));
    desk.Store().WriteProfileInt("Config", "FilterFlags", filterFlags);
}

// No picture on show: the status bar, the caption and the print command say so; the
// pictures the filter hides are told beside the file count, for the eye and for a screen
// reader, and never take "Ready"'s place. Fill's folder with its JPG filter hides a.png and
// b.bmp.
void ExpectNoPicture(PictureDesk& desk, int hidden = 2) {
    QVERIFY(!desk.Ctrl().isVisible());
    QVERIFY(desk.List().m_strCurFile.isEmpty());
    QCOMPARE(desk.Frame().StatusPaneText(0), QStringLiteral("Ready"));
    CHiddenPicturesPane* note = desk.Frame().Window().findChild<CHiddenPicturesPane*>();
    QCOMPARE(note->isVisible(), hidden > 0);
    if (hidden > 0) {
        const QString told =
            QStringLiteral("%1 pictures of other types are hidden \u2014 Edit > File Types")
                .arg(hidden);
        QCOMPARE(note->text(), told);
        QCOMPARE(QAccessible::queryAccessibleInterface(note)->text(QAccessible::Name), told);
    }
    QCOMPARE(desk.Frame().Window().windowTitle(), QStringLiteral(" Ostlewin - Vantrel"));
    QVERIFY(!desk.Frame().Action(cmd::ID_FILE_PRINT)->isEnabled());
}
} // namespace

class TestPictureFileList : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        m_desk = std::make_unique<PictureDesk>();
        Fill(*m_desk);
    }
    void cleanup() { m_desk.reset(); }

    // Each type lists its aliases in any case; pictures of the other known types are
    // counted in the status bar, other files (c.txt, notajpg) are not.
    void listShowsTheEnabledTypes_data() {
        QTest::addColumn<int>("flags");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<int>("hidden");
        const QStringList jpegs{"beach.jpg", "broken.jpg", "f.JPEG", "g.jpe", "h.Jfif"};
        const QStringList all{"a.png", "b.bmp",  "beach.jpg", "broken.jpg", "c.txt",  "f.JPEG",
                              "g.jpe", "h.Jfif", "notajpg",   "SUNSET.JPG", "t.tiff", "u.TIF"};
        QTest::newRow("JPG") << 0x400 << jpegs + QStringList{"notajpg", "SUNSET.JPG"} << 4;
        QTest::newRow("TIF") << 0x8 << QStringList{"t.tiff", "u.TIF"} << 8;
        QTest::newRow("PNG and BMP") << (0x1 | 0x1000) << QStringList{"a.png", "b.bmp"} << 8;
        QTest::newRow("all files") << (0x4000 | 0x1) << all << 0;
        QTest::newRow("no bit") << 0 << all << 0;
    }

    void listShowsTheEnabledTypes() {
        QFETCH(int, flags);
        QFETCH(QStringList, names);
        QFETCH(int, hidden);
        for (const char* name : {"f.JPEG", "g.jpe", "h.Jfif", "t.tiff", "u.TIF"})
            QVERIFY(m_desk->Picture(QStringLiteral("Pics/") + name, 4, 4));
        m_desk->Store().WriteProfileInt("Config", "FilterFlags", flags);
        WindowDriver& frame = m_desk->Start();
        QCOMPARE(m_desk->Listed(), names); // folders never listed, natural order
        QCOMPARE(frame.StatusPaneText(1), QStringLiteral("%1 files").arg(names.size()));
        ExpectNoPicture(*m_desk, hidden);
    }

    void selectingAPictureShowsAndDescribesIt() {
        WindowDriver& frame = m_desk->Start();
        QVERIFY(!frame.Action(cmd::ID_FILE_PRINT)->isEnabled());
        m_desk->Select("SUNSET.JPG");
        QVERIFY(m_desk->Ctrl().WaitForPicture()); // its header is read by a worker
        QVERIFY(m_desk->Ctrl().isVisible() && m_desk->Ctrl().HasPicture());
        const QString path = m_desk->Path("Pics/SUNSET.JPG");
        QCOMPARE(m_desk->List().m_strCurFile, path);
        QCOMPARE(frame.StatusPaneText(0),
                 QStringLiteral("%1 - 64x48x24 bpp,  %2 bytes,  JFIF Compliant")
                     .arg(path) // as it is: another case names another file
                     .arg(QFileInfo(path).size()));
        QCOMPARE(frame.Window().windowTitle(), QStringLiteral(" SUNSET.JPG - Vantrel"));
        QCOMPARE(frame.StatusPaneText(1), QStringLiteral("4 files"));
        QVERIFY(frame.Action(cmd::ID_FILE_PRINT)->isEnabled());
    }

    void statusTextsAreExact() {
        using namespace picture_status;
        // Percent signs in a name are text, not placeholders; no description leaves the
        // tail empty; sizes beyond 32 bits are shown whole.
        QCOMPARE(StatusText("/p/100%2 off %1.png", 1, 2, 8, 5000000000LL, QString()),
                 QStringLiteral("/p/100%2 off %1.png - 1x2x8 bpp,  5000000000 bytes,  "));
        // Figures a picture's pixels have not told yet are left out, never shown as 0.
        QCOMPARE(StatusText("/p/a.heic", 4032, 3024, 0, 9, "High Efficiency Image"),
                 QStringLiteral("/p/a.heic - 4032x3024,  9 bytes,  High Efficiency Image"));
        QCOMPARE(StatusText("/p/a.pcx", 0, 0, 0, 9, "PC Paintbrush"),
                 QStringLiteral("/p/a.pcx - 9 bytes,  PC Paintbrush"));
        // A file that cannot be shown: the reason reads as part of the sentence, and an
        // unknown type leaves no empty tail.
        QCOMPARE(FailedText("/p/NOTAJPG", "The file is not a picture of a type this program shows.",
                            1, QString()),
                 QStringLiteral("/p/NOTAJPG - The file is not a picture of a type this program "
                                "shows,  1 bytes"));
        QCOMPARE(TitleFileName("/home/ann/Pics/Sunset.jpg"), QStringLiteral(" Sunset.jpg"));
        QCOMPARE(TitleFileName("Sunset.jpg"), QStringLiteral(" "));
        QCOMPARE(TitleFileName("/pics/"), QStringLiteral(" "));
    }

    // Too long for its pane: a file's path loses its middle, so the name, the figures and the
    // type stay whole; other texts lose their end; what fits is left alone.
    void statusTextFitsItsPane_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("room"); // in average letters
        QTest::addColumn<QString>("head");
        QTest::addColumn<QString>("tail");
        const QString figures = " - 4000x3000x24 bpp,  5242880 bytes,  JFIF Compliant";
        const QString deep = "/home/ann/Pictures/2024 - Summer/Trip/Day 3/DSC_0001.jpg";
        QTest::newRow("fits") << deep + figures << 200 << deep + figures << QString();
        QTest::newRow("folders cut in their middle") << deep + figures << 75 << "/"
                                                     << "/DSC_0001.jpg" + figures;
        QTest::newRow("failed file") << "/a/very/long/folder/name/here/notajpg - The file is "
                                        "empty,  0 bytes"
                                     << 45 << "/a"
                                     << " - The file is empty,  0 bytes";
        QTest::newRow("not a file's text")
            << "Ready - and a great deal more text after it" << 20 << "Ready" << QString();
    }
    void statusTextFitsItsPane() {
        QFETCH(QString, text);
        QFETCH(int, room);
        QFETCH(QString, head);
        QFETCH(QString, tail);
        const QFontMetrics metrics(QApplication::font());
        const int width = room * metrics.averageCharWidth();
        const QString fitted = picture_status::FitToWidth(text, metrics, width);
        QVERIFY2(metrics.horizontalAdvance(fitted) <= width, qPrintable(fitted));
        QVERIFY2(fitted.startsWith(head), qPrintable(fitted));
        QVERIFY2(fitted.endsWith(tail.isEmpty() ? QStringLiteral("…") : tail) || fitted == text,
                 qPrintable(fitted));
        QCOMPARE(fitted == text, head == text);
    }

    // In the real status bar: the figures of a deep picture stay in view, and the full text
    // is kept for a wider window.
    void statusBarShowsFiguresOfDeepPictures() {
        const QString deep = "Pics/a rather long folder name/and another long one below it";
        QVERIFY(QDir(m_desk->Path("Pics")).mkpath(deep.mid(5)));
        QVERIFY(m_desk->Picture(deep + "/DSC_0001.JPG", 64, 48));
        WindowDriver& frame = m_desk->Start(m_desk->Path(deep + "/DSC_0001.JPG"));
        frame.Window().resize(800, 400);
        QVERIFY(QTest::qWaitForWindowExposed(&frame.Window()));
        m_desk->Select("DSC_0001.JPG");
        CMainStatusBar* bar = frame.GetStatusBar();
        QTRY_VERIFY2(bar->ShownText(0).endsWith("JFIF Compliant"), qPrintable(bar->ShownText(0)));
        QVERIFY2(bar->ShownText(0).contains("/DSC_0001.JPG - 64x48x24 bpp"),
                 qPrintable(bar->ShownText(0)));
        QVERIFY(bar->ShownText(0).contains(QStringLiteral("…")));
        QVERIFY(bar->PaneText(0).startsWith(m_desk->Path(deep)));
        frame.Window().resize(1600, 400);
        QTRY_COMPARE(bar->ShownText(0), bar->PaneText(0));
    }

    void anotherFolderOrClearPictureHidesThePicture() {
        WindowDriver& frame = m_desk->Start();
        m_desk->Select("beach.jpg");
        QVERIFY(m_desk->Ctrl().isVisible());
        frame.FileSelectPane()->m_treeFolders.SelectPath(m_desk->Path("Pics/Other"));
        QVERIFY(frame.Settle());
        ExpectNoPicture(*m_desk, 0); // nothing hidden there
        QCOMPARE(m_desk->Listed(), QStringList{"one.jpg"});
        QCOMPARE(frame.StatusPaneText(1), QStringLiteral("1 files"));

        // Home goes back, also after the process wandered elsewhere.
        QDir::setCurrent(QDir::rootPath());
        frame.Action(cmd::ID_GO_TO_HOME)->trigger();
        QVERIFY(frame.Settle());
        QCOMPARE(m_desk->Listed().size(), 4);

        // Clear Picture hides it but keeps the file in the list.
        m_desk->List().SelectItem(1, true);
        frame.Action(cmd::ID_CLEAR_PICTURE)->trigger();
        ExpectNoPicture(*m_desk);
        QCOMPARE(m_desk->List().GetItemCount(), 4);
        QCOMPARE(m_desk->List().m_nCurItem, -1);
        QVERIFY(!m_desk->List().IsItemSelected(1));
    }

    void fitToggleReloadsThePicture() {
        WindowDriver& frame = m_desk->Start();
        QVERIFY(QTest::qWaitForWindowExposed(&frame.Window()));
        CImageCtrl& ctrl = m_desk->Ctrl();
        QAction* toggle = frame.Action(cmd::ID_TOGGLE_RESIZE);
        m_desk->Select("beach.jpg");
        QVERIFY(ctrl.WaitForPicture());
        QCOMPARE(QSizeF(ctrl.ViewWidth(), ctrl.ViewHeight()), QSizeF(1600, 1200)); // own size
        QVERIFY(!toggle->isChecked());

        toggle->trigger();
        QCOMPARE(frame.Settings().GetFitPicToWindow(), 1);
        QVERIFY(toggle->isChecked());
        QVERIFY(ctrl.WaitForPicture());
        QVERIFY(ctrl.DecodedSize().width() < 1600); // fitted, and decoded at the shown size
        QCOMPARE(ctrl.DecodedSize(), QSizeF(ctrl.ViewWidth(), ctrl.ViewHeight()).toSize());

        toggle->trigger(); // twice: back where it was
        QCOMPARE(frame.Settings().GetFitPicToWindow(), 0);
        QCOMPARE(ctrl.ViewWidth(), 1600.0f);
    }

    // A WordPerfect picture's header tells no size: its pixels bring it, decoded on a worker;
    // the picture is then fitted and described, and shown again later with its figures at once.
    void sizeFromThePixelsFitsAndDescribesThePicture() {
        m_desk->Store().WriteProfileInt("Config", "FitPicToWindow", 1);
        m_desk->Store().WriteProfileInt("Config", "FilterFlags", 0x4000 | 0x1); // all files
        const QString path = m_desk->Path("Pics/clip.wpg");
        QVERIFY(QFile::copy(
            qEnvironmentVariable("VANTREL_TEST_SOURCE") + "/tests/picture/fixtures/wpg.wpg", path));
        WindowDriver& frame = m_desk->Start();
        QVERIFY(QTest::qWaitForWindowExposed(&frame.Window()));
        CImageCtrl& ctrl = m_desk->Ctrl();
        const QString figures =
            QStringLiteral("%1 - 24x16x8 bpp,  %2 bytes").arg(path).arg(QFileInfo(path).size());
        for (int time = 0; time < 2; ++time) {
            m_desk->Select("clip.wpg");
            QCOMPARE(ctrl.IsPictureComplete(), time == 1); // the second time from the cache
            QVERIFY(ctrl.WaitForPicture());
            QVERIFY2(frame.StatusPaneText(0).startsWith(figures),
                     qPrintable(frame.StatusPaneText(0)));
            const int percent = CFitScale::Percent(ctrl.ClientWidth(), ctrl.ClientHeight(), 24, 16);
            QCOMPARE(QSizeF(ctrl.ViewWidth(), ctrl.ViewHeight()),
                     CFitScale::ScaledSize(24, 16, percent));
            QCOMPARE(ctrl.DecodedSize(), QSizeF(ctrl.ViewWidth(), ctrl.ViewHeight()).toSize());
            m_desk->Select("a.png");
            QVERIFY(ctrl.WaitForPicture());
        }
    }

    // A fitted picture is fitted again when the window changes size, drawn at once from the
    // pixels at hand, then decoded at the new size; the neighbours are decoded ahead.
    void fitFollowsTheViewAndNeighboursAreDecodedAhead() {
        m_desk->Store().WriteProfileInt("Config", "FitPicToWindow", 1);
        m_desk->Store().WriteProfileInt("Config", "FilterFlags", 0x4000 | 0x1); // all files
        WindowDriver& frame = m_desk->Start();
        frame.Window().resize(900, 600);
        QVERIFY(QTest::qWaitForWindowExposed(&frame.Window()));
        CImageCtrl& ctrl = m_desk->Ctrl();
        m_desk->Select("beach.jpg");
        QVERIFY(ctrl.WaitForPicture());
        const QSizeF small(ctrl.ViewWidth(), ctrl.ViewHeight());
        QCOMPARE(ctrl.DecodedSize(), small.toSize());
        QTRY_COMPARE_WITH_TIMEOUT(ctrl.Loader().RunningCount(), 0, 10000);
        // beach.jpg and b.bmp before it; broken.jpg after it cannot be decoded.
        QCOMPARE(ctrl.Loader().Cache().Count(), 2);

        frame.Window().resize(1400, 1000);
        QTRY_VERIFY(ctrl.ViewWidth() > float(small.width()));
        const int percent = CFitScale::Percent(ctrl.ClientWidth(), ctrl.ClientHeight(), 1600, 1200);
        QCOMPARE(QSizeF(ctrl.ViewWidth(), ctrl.ViewHeight()),
                 CFitScale::ScaledSize(1600, 1200, percent));
        QVERIFY(ctrl.WaitForPicture());
        QCOMPARE(ctrl.DecodedSize(), QSizeF(ctrl.ViewWidth(), ctrl.ViewHeight()).toSize());

        // The next picture was decoded ahead for the new size: shown without waiting.
        QTRY_COMPARE_WITH_TIMEOUT(ctrl.Loader().RunningCount(), 0, 10000);
        QTest::keyClick(&m_desk->List(), Qt::Key_Left);
        QCOMPARE(m_desk->Current(), QStringLiteral("b.bmp"));
        QVERIFY(ctrl.IsPictureComplete());
    }

    // A camera RAW file is described with its sensor's size, upright, whatever stands in for
    // it on screen (its preview, or its data at half size); a damaged one says why.
    void cameraRawIsDescribedWithItsSensorSize_data() {
        QTest::addColumn<bool>("preview");
        QTest::addColumn<int>("cut"); // -1: the whole file
        QTest::addColumn<QString>("figures");
        QTest::newRow("turned, with a preview")
            << true << -1 << "160x256x24 bpp,  %1 bytes,  Camera RAW";
        QTest::newRow("turned, without") << false << -1 << "160x256x24 bpp,  %1 bytes,  Camera RAW";
        QTest::newRow("cut short") << false << 5000
                                   << "The picture data is damaged (Input/output error),  %1 "
                                      "bytes,  Camera RAW";
    }

    void cameraRawIsDescribedWithItsSensorSize() {
        QFETCH(bool, preview);
        QFETCH(int, cut);
        QFETCH(QString, figures);
        QTemporaryDir work;
        const QByteArray dng =
            pictest::MakeDng(work, QSize(256, 160),
                             preview ? pictest::PreviewJpeg({128, 80}) : QByteArray(), 6, cut);
        QVERIFY2(!dng.isEmpty(), "make-dng.py (python3) could not make the fixture");
        const QString path = m_desk->Path("Pics/turned.NEF");
        QVERIFY(WriteBytes(QFile::encodeName(path), dng));
        m_desk->Store().WriteProfileInt("Config", "FilterFlags", 0x400 | filetypes::kRawBit);
        WindowDriver& frame = m_desk->Start();
        m_desk->Select("turned.NEF");
        QTRY_COMPARE_WITH_TIMEOUT(frame.StatusPaneText(0), path + " - " + figures.arg(dng.size()),
                                  15000);
        QCOMPARE(m_desk->List().m_strCurFile, path);
    }

    void undecodablePictureIsStillCurrent() {
        WindowDriver& frame = m_desk->Start();
        m_desk->Select("SUNSET.JPG");
        m_desk->Select("broken.jpg");
        QCOMPARE(m_desk->List().m_strCurFile, m_desk->Path("Pics/broken.jpg"));
        QVERIFY(m_desk->Ctrl().WaitForPicture()); // the reason comes once a worker read the file
        const QString status = frame.StatusPaneText(0);
        QVERIFY2(status.startsWith(m_desk->Path("Pics/broken.jpg") + " - "), qPrintable(status));
        QVERIFY2(!status.contains("64x48"), qPrintable(status));
        QVERIFY(status.contains("300 bytes"));
        QCOMPARE(frame.Window().windowTitle(), QStringLiteral(" broken.jpg - Vantrel"));
    }

    void commandLinePathOpensThere() {
        QVERIFY(QTest::qWaitForWindowActive(
            &m_desk->Start(m_desk->Path("Pics/Other/one.jpg")).Window()));
        QTRY_COMPARE(m_desk->List().m_strCurFile, m_desk->Path("Pics/Other/one.jpg"));
        QVERIFY(m_desk->Ctrl().isVisible());
        QTRY_VERIFY(m_desk->List().hasFocus());

        // A folder: its first picture, with the keys in the list.
        QVERIFY(QTest::qWaitForWindowActive(&m_desk->Start(m_desk->Path("Pics")).Window()));
        QCOMPARE(m_desk->Listed().value(0), QStringLiteral("beach.jpg"));
        QCOMPARE(m_desk->List().m_strCurFile, m_desk->Path("Pics/beach.jpg"));
        QVERIFY(m_desk->List().hasFocus());
    }

    void paneIsLaidOutThirtySeventy() {
        CSortSession session;
        CFileSelect pane(session);
        pane.resize(200, 600);
        pane.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pane));
        QCOMPARE(pane.m_treeFolders.geometry(), QRect(3, 3, 194, 178));
        QCOMPARE(pane.m_listFiles.geometry(), QRect(3, 185, 194, 412));
        pane.resize(200, 406);
        QCOMPARE(pane.m_treeFolders.geometry(), QRect(3, 3, 194, 120));
        QCOMPARE(pane.m_listFiles.geometry(), QRect(3, 126, 194, 277));
    }

private:
    std::unique_ptr<PictureDesk> m_desk;
};

QTEST_MAIN(TestPictureFileList)
#include "tst_picturefilelist.moc"
