#include "picture/load/CFitScale.h"
#include "picture/load/CPictureLoader.h"
#include "picture/sandbox/CDecoderClient.h"
#include "picture/view/CImageCtrl.h"
#include "picture/view/CVantrelView.h"
#include "platform/ui/CDialogBuilder.h"
#include "tests/picture/ImageCtrlFixture.h"
#include "tests/picture/PictureTestSupport.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

using namespace pictest;

namespace {
QByteArray PngHeader(quint32 w, quint32 h) {
    QByteArray d("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR", 16);
    for (quint32 v : {w, h})
        for (int shift = 24; shift >= 0; shift -= 8)
            d += char((v >> shift) & 0xFF);
    return d + QByteArray("\x08\x02\0\0\0\0\0\0\0", 9);
}

QByteArray BmpHeader(qint32 w, qint32 h) {
    QByteArray d(54, '\0');
    d[0] = 'B';
    d[1] = 'M';
    d[14] = 40;
    for (int i = 0; i < 4; ++i) {
        d[18 + i] = char((w >> (8 * i)) & 0xFF);
        d[22 + i] = char((h >> (8 * i)) & 0xFF);
    }
    d[26] = 1;
    d[28] = 24;
    return d;
}

// `data` with the bytes from `at` on (4 of them unless said) set to 0xFF.
QByteArray Maxed(QByteArray data, qsizetype at, int count = 4) {
    for (int i = 0; i < count; ++i)
        data[at + i] = char(0xFF);
    return data;
}
} // namespace

// The imaging control as the picture list and the frame drive it, and the pane it fills.
class TestImageCtrl : public ImageCtrlFixture {
    Q_OBJECT
private Q_SLOTS:
    void init() { SetUp(); }
    void cleanup() { TearDown(); }

    void fitScaleFollowsThePictureList_data() {
        QTest::addColumn<QSizeF>("client");
        QTest::addColumn<QSizeF>("picture");
        QTest::addColumn<int>("percent");
        QTest::addColumn<QSizeF>("shown");
        const QSizeF client(400, 250);
        QTest::newRow("shrunk") << client << QSizeF(1600, 1200) << 20 << QSizeF(320, 240);
        QTest::newRow("enlarged") << client << QSizeF(100, 50) << 400 << QSizeF(400, 200);
        QTest::newRow("at least 1 %") << client << QSizeF(60000, 100) << 1 << QSizeF(600, 1);
        QTest::newRow("client truncated")
            << QSizeF(399.9, 250) << QSizeF(400, 100) << 99 << QSizeF(396, 99);
        QTest::newRow("nothing loaded") << client << QSizeF(0, 0) << 0 << QSizeF(0, 0);
    }

    void fitScaleFollowsThePictureList() {
        QFETCH(QSizeF, client);
        QFETCH(QSizeF, picture);
        QFETCH(int, percent);
        QFETCH(QSizeF, shown);
        const float pw = float(picture.width()), ph = float(picture.height());
        const int p = CFitScale::Percent(float(client.width()), float(client.height()), pw, ph);
        QCOMPARE(p, percent);
        QCOMPARE(CFitScale::ScaledSize(pw, ph, p), shown);
    }

    void fittingDecodesAtTheShownSize() {
        const QString path = WriteBytes(m_dir.filePath("big.jpg"), MakeJpeg(2400, 1600));
        m_ctrl->resize(300, 200);
        QCOMPARE(Show(path, true), 12);
        // The size is the picture's own, but only the shown 288 x 192 pixels were decoded
        // (as many device pixels on a high-density screen).
        QCOMPARE(m_ctrl->ImageWidth(), 2400.0f);
        QCOMPARE(m_ctrl->ImageHeight(), 1600.0f);
        QCOMPARE(m_ctrl->DecodedSize(), (QSizeF(288, 192) * m_ctrl->devicePixelRatioF()).toSize());
        QCOMPARE(m_ctrl->FileSize(), QFileInfo(path).size());
        QVERIFY(m_ctrl->LastError().isEmpty());
    }

    // The 24 x 16 fixture in the 200 x 100 control, centred: at its own size from (88, 42)
    // to (112, 58); fitted, 150 x 100 from x 25 to 175, blended only near the middle.
    void pictureIsCentredInTheControl_data() {
        QTest::addColumn<bool>("fit");
        QTest::addColumn<int>("percent");
        QTest::addColumn<QSizeF>("view");
        QTest::addColumn<QList<QPoint>>("redBlueAndBackground");
        QTest::newRow("own size") << false << 0 << QSizeF(24, 16)
                                  << QList<QPoint>{{90, 50}, {110, 50}, {86, 50}, {100, 40}};
        QTest::newRow("fitted") << true << 625 << QSizeF(150, 100)
                                << QList<QPoint>{{30, 2}, {170, 97}, {20, 50}, {180, 50}};
    }

    void pictureIsCentredInTheControl() {
        QFETCH(bool, fit);
        QFETCH(int, percent);
        QFETCH(QSizeF, view);
        QFETCH(QList<QPoint>, redBlueAndBackground);
        QCOMPARE(Show(FixturePath("png.png"), fit), percent);
        QCOMPARE(QSizeF(m_ctrl->ViewWidth(), m_ctrl->ViewHeight()), view);
        // The grab holds device pixels; the points are the control's own.
        const QImage shot = m_ctrl->grab().toImage().scaled(m_ctrl->size());
        const auto& p = redBlueAndBackground;
        QVERIFY(Near(shot.pixel(p[0]), Qt::red, 8));
        QVERIFY(Near(shot.pixel(p[1]), Qt::blue, 8));
        QCOMPARE(shot.pixelColor(p[2]), m_ctrl->palette().color(QPalette::Window));
        QCOMPARE(shot.pixelColor(p[3]), m_ctrl->palette().color(QPalette::Window));
    }

    void badFilesSayWhyAndNeverCrash_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");
        const auto row = [](const char* tag, const QByteArray& data, const char* name,
                            const char* reason) {
            QTest::newRow(tag) << data << QString(name) << QString(reason);
        };
        const QByteArray jpeg = ReadAll(FixturePath("jpg.jpg"));
        const QByteArray png = ReadAll(FixturePath("png.png"));
        QByteArray emf(88, '\0');
        emf[0] = 1;
        emf.replace(40, 4, " EMF");
        QByteArray wpg = ReadAll(FixturePath("wpg.wpg"));
        wpg[14] = 1; // marks the file as encrypted
        row("zero bytes", QByteArray(), "a.png", "The file is empty.");
        row("not a picture", QByteArray(300, 'x'), "a.jpg", "not a picture");
        row("truncated JPEG", jpeg.left(jpeg.size() / 2), "a.jpg", "incomplete");
        row("truncated PNG", png.left(png.size() - 40), "a.png", "incomplete");
        row("truncated MSP", ReadAll(FixturePath("msp1.msp")).left(40), "a.msp", "incomplete");
        row("PNG bomb", PngHeader(100000, 100000), "a.png", "too large");
        row("BMP bomb", BmpHeader(100000, -100000), "a.bmp", "too large");
        row("JPEG bomb", Maxed(jpeg, jpeg.indexOf("\xFF\xC0") + 5), "a.jpg", "too large");
        row("PCX bomb", Maxed(ReadAll(FixturePath("pcx.pcx")), 8), "a.pcx", "too large");
        row("MSP bomb", Maxed(ReadAll(FixturePath("msp2.msp")), 4), "a.msp", "too large");
        row("enhanced metafile", emf, "a.wmf", "Enhanced metafiles");
        row("encrypted WPG", wpg, "a.wpg", "damaged (encrypted");
    }

    // Shown after a good picture: none of its figures stay, the reason is drawn where the
    // picture would be, nothing prints, and the next good picture shows again.
    void badFilesSayWhyAndNeverCrash() {
        QFETCH(QByteArray, data);
        QFETCH(QString, name);
        QFETCH(QString, reason);
        Show(FixturePath("png.png"), true);
        QVERIFY(m_ctrl->HasPicture());
        const QString path = WriteBytes(m_dir.filePath(name), data);
        QVERIFY(!path.isEmpty());
        Show(path, true);
        QVERIFY(!m_ctrl->HasPicture());
        QCOMPARE(m_ctrl->ImageWidth(), 0.0f);
        QCOMPARE(m_ctrl->ImageHeight(), 0.0f);
        QCOMPARE(m_ctrl->ImageBitsPerPixel(), short(0));
        QCOMPARE(m_ctrl->PrintWidth(), 0.0f);
        QVERIFY2(m_ctrl->LastError().contains(reason), qPrintable(m_ctrl->LastError()));
        QVERIFY(!m_ctrl->LastError().contains(QCoreApplication::applicationName()));
        QCOMPARE(m_ctrl->BeginPrint(), 0L);
        const QImage shot = m_ctrl->grab().toImage();
        const QColor background = m_ctrl->palette().color(QPalette::Window);
        bool drawn = false;
        for (int x = 0; x < shot.width() && !drawn; ++x)
            drawn = shot.pixelColor(x, shot.height() / 2 - 8) != background ||
                    shot.pixelColor(x, shot.height() / 2 + 8) != background;
        QVERIFY(drawn);
        Show(FixturePath("bmp.bmp"), false);
        QCOMPARE(m_ctrl->ImageWidth(), 24.0f);
        QVERIFY(m_ctrl->LastError().isEmpty());
    }

    void foldersPipesAndMissingFilesAreRefused() {
        QVERIFY(QDir(m_dir.path()).mkdir("folder.jpg"));
        Show(m_dir.filePath("folder.jpg"), true);
        QCOMPARE(m_ctrl->LastError(), QStringLiteral("This is not an ordinary file."));
        // Opening a pipe for reading would wait for a writer for ever.
        const QByteArray fifo = QFile::encodeName(m_dir.filePath("pipe.png"));
        QCOMPARE(mkfifo(fifo.constData(), 0600), 0);
        Show(QFile::decodeName(fifo), true);
        QCOMPARE(m_ctrl->LastError(), QStringLiteral("This is not an ordinary file."));
        QCOMPARE(m_ctrl->ImageWidth(), 0.0f);
        QVERIFY(!m_ctrl->QueryFileInfo(QFile::decodeName(fifo), 1));
        // A file that is gone leaves no format or size behind.
        QVERIFY(m_ctrl->QueryFileInfo(FixturePath("psd.psd"), 1));
        QCOMPARE(m_ctrl->FileFormat(), short(76));
        QVERIFY(!m_ctrl->QueryFileInfo(m_dir.filePath("missing.png"), 1));
        QCOMPARE(m_ctrl->FileFormat(), short(0));
        QCOMPARE(m_ctrl->FileSize(), qint64(0));
    }

    // Cut short and scrambled copies of every fixture go through the whole sequence; the
    // control either shows something or says why, and never keeps stale figures.
    void damagedCopiesOfEveryTypeNeverCrash() {
        const QStringList files{"png.png", "jpg.jpg",  "bmp.bmp",  "tif.tif", "tga.tga",
                                "rle.tga", "pcx.pcx",  "ras.ras",  "psd.psd", "wpg.wpg",
                                "wmf.wmf", "msp1.msp", "msp2.msp", "mac.mac"};
        int failures = 0;
        for (const QString& file : files) {
            const QByteArray good = ReadAll(FixturePath(file));
            QList<QByteArray> variants{good.left(good.size() * 2 / 3), good.left(40)};
            for (int step : {7, 13}) {
                QByteArray scrambled = good;
                for (qsizetype i = 20; i < scrambled.size(); i += step)
                    scrambled[i] = char(scrambled[i] ^ 0x5A);
                variants.append(scrambled);
            }
            for (const QByteArray& bad : variants) {
                Show(WriteBytes(m_dir.filePath("bad-" + file), bad), true);
                m_ctrl->grab();
                if (!m_ctrl->HasPicture()) {
                    ++failures;
                    QCOMPARE(m_ctrl->ImageWidth(), 0.0f);
                    QVERIFY2(!m_ctrl->LastError().isEmpty(), qPrintable(file));
                }
            }
        }
        QVERIFY(failures > 0);
    }

    // The middle pane: nothing but the imaging control, hidden until a picture is shown and
    // flush with the pane at every size, with no scroll bars showing.
    void viewPaneIsCoveredByTheControl() {
        CVantrelView view;
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QVERIFY(!view.m_imageCtrl.isVisible());
        QCOMPARE(CDialogBuilder::Control(&view, CImageCtrl::kControlId), &view.m_imageCtrl);
        view.m_imageCtrl.show();
        for (const QSize size : {QSize(640, 480), QSize(37, 11), QSize(1, 1), QSize(1200, 300)}) {
            view.resize(size);
            QCOMPARE(view.m_imageCtrl.geometry(), QRect(QPoint(0, 0), size));
            QCOMPARE(view.m_imageCtrl.ClientWidth(), float(size.width()));
            QCOMPARE(view.m_imageCtrl.ClientHeight(), float(size.height()));
        }
        for (const QScrollBar* bar : view.findChildren<QScrollBar*>())
            QVERIFY(!bar->isVisible());
        QVERIFY(view.findChildren<QAbstractScrollArea*>().isEmpty());
    }

    // At its own size a 2400 x 1600 picture in the 300 x 200 control: scroll bars over the
    // rest, the wheel and a drag move it, never beyond its edges; fitted, nothing scrolls.
    void largePictureIsPannedByWheelDragAndScrollBars() {
        const QString path = WriteBytes(m_dir.filePath("wide.jpg"), MakeJpeg(2400, 1600));
        m_ctrl->resize(300, 200);
        Show(path, false);
        auto* hbar = m_ctrl->findChildren<QScrollBar*>().value(0);
        auto* vbar = m_ctrl->findChildren<QScrollBar*>().value(1);
        QVERIFY(hbar && vbar && hbar->isVisible() && vbar->isVisible());
        QCOMPARE(hbar->orientation(), Qt::Horizontal);
        QCOMPARE(QSize(hbar->maximum(), vbar->maximum()), QSize(2100, 1400));
        QVERIFY(Near(m_ctrl->grab().toImage().pixel(100, 100), Qt::red));

        QWheelEvent wheel(QPointF(50, 50), m_ctrl->mapToGlobal(QPointF(50, 50)), QPoint(),
                          QPoint(0, -240), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(m_ctrl.get(), &wheel);
        QCOMPARE(m_ctrl->PanOffset(), QPointF(0, 120));
        QCOMPARE(vbar->value(), 120);

        QTest::mousePress(m_ctrl.get(), Qt::LeftButton, {}, QPoint(250, 150));
        QTest::mouseMove(m_ctrl.get(), QPoint(50, 160));
        QTest::mouseRelease(m_ctrl.get(), Qt::LeftButton, {}, QPoint(50, 160));
        QCOMPARE(m_ctrl->PanOffset(), QPointF(200, 110));

        hbar->setValue(hbar->maximum());
        QCOMPARE(m_ctrl->PanOffset().x(), 2100.0);
        QVERIFY(Near(m_ctrl->grab().toImage().pixel(100, 100), Qt::blue)); // the right half
        QTest::mousePress(m_ctrl.get(), Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseMove(m_ctrl.get(), QPoint(290, 190)); // far past the top-left corner
        QTest::mouseRelease(m_ctrl.get(), Qt::LeftButton, {}, QPoint(290, 190));
        QCOMPARE(m_ctrl->PanOffset(), QPointF(1820, 0));

        Show(path, true);
        QVERIFY(!hbar->isVisible() && !vbar->isVisible());
        QCOMPARE(m_ctrl->PanOffset(), QPointF(0, 0));
    }

    // While a picture decodes (here PostScript that never ends) the control answers at
    // once and the previous picture stays where it was; moving on cancels that decode.
    void previousPictureStandsWhileTheNextDecodes() {
        Show(FixturePath("png.png"), true);
        const QImage before = m_ctrl->grab().toImage();
        const QString endless =
            WriteBytes(m_dir.filePath("endless.eps"),
                       "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 48 16\n{ } loop\n");
        m_ctrl->SetRedrawEnabled(false);
        QVERIFY(m_ctrl->LoadFile(endless));
        m_ctrl->SetViewRect(0, 0, 200, 66);
        m_ctrl->SetRedrawEnabled(true);
        QCOMPARE(m_ctrl->ImageWidth(), 48.0f); // the header is read at once
        QVERIFY(!m_ctrl->IsPictureComplete());
        QVERIFY(m_ctrl->DecodedSize().isEmpty());
        QCOMPARE(m_ctrl->grab().toImage(), before);
        QTest::qWait(200);
        QVERIFY(!m_ctrl->IsPictureComplete());
        Show(FixturePath("bmp.bmp"), true);
        QVERIFY(m_ctrl->IsPictureComplete());
        QVERIFY(m_ctrl->LastError().isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(m_ctrl->Loader().RunningCount(), 0, 5000);
    }

    void helperTypesDecodeOnWorkers_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QSize>("header");
        QTest::addColumn<QSize>("shown");
        QTest::addColumn<QString>("error");
        // The helper answers 30 x 20 white pixels, or refuses, after a second's thought.
        const QByteArray white =
            "echo 'OK 30 20 24 0'; head -c 2400 /dev/zero | tr '\\0' '\\377' >&4";
        const QByteArray refuse = "echo 'ERR improper image header'";
        QTest::newRow("size from the header, then from the pixels")
            << "pcx.pcx" << white << QSize(24, 16) << QSize(30, 20) << QString();
        QTest::newRow("no size in the header")
            << "wpg.wpg" << white << QSize() << QSize(30, 20) << QString();
        QTest::newRow("refused") << "ras.ras" << refuse << QSize(24, 16) << QSize() << "improper";
    }

    // Loading a picture of a type the decoder helper takes returns before the helper has
    // answered; the pixels (and the size they tell) or the reason follow, and the control
    // answers meanwhile.
    void helperTypesDecodeOnWorkers() {
        QFETCH(QString, file);
        QFETCH(QByteArray, answer);
        QFETCH(QSize, header);
        QFETCH(QSize, shown);
        QFETCH(QString, error);
        QTemporaryDir dir(FakeDir());
        CDecoderClient::SetHelper(FakeHelper(dir, "sleep 1; " + answer));
        QSignalSpy changed(m_ctrl.get(), &CImageCtrl::PictureInfoChanged);
        QSignalSpy failed(m_ctrl.get(), &CImageCtrl::PictureFailed);
        m_bFit = true;
        m_ctrl->SetFitToWindow(true);
        m_ctrl->SetRedrawEnabled(false);
        QVERIFY(m_ctrl->LoadFile(FixturePath(file)));
        Fit();
        m_ctrl->SetRedrawEnabled(true);
        QCOMPARE(QSize(int(m_ctrl->ImageWidth()), int(m_ctrl->ImageHeight())),
                 header.isValid() ? header : QSize(0, 0));
        QVERIFY(!m_ctrl->IsPictureComplete());
        QCOMPARE(m_ctrl->Loader().RunningCount(), 1);
        m_ctrl->grab(); // paints meanwhile
        QVERIFY(m_ctrl->WaitForPicture());
        QCOMPARE(QSize(int(m_ctrl->ImageWidth()), int(m_ctrl->ImageHeight())),
                 shown.isValid() ? shown : QSize(0, 0));
        QCOMPARE(failed.count(), error.isEmpty() ? 0 : 1);
        QVERIFY2(m_ctrl->LastError().contains(error), qPrintable(m_ctrl->LastError()));
        if (!error.isEmpty())
            return;
        QCOMPARE(changed.count(), 1);
        QCOMPARE(m_ctrl->ImageBitsPerPixel(), short(24));
        // Fitted into 200 x 100 by its true size, and drawn from its own pixels.
        QCOMPARE(QSizeF(m_ctrl->ViewWidth(), m_ctrl->ViewHeight()), QSizeF(150, 100));
        QCOMPARE(m_ctrl->DecodedSize(), (QSizeF(150, 100) * m_ctrl->devicePixelRatioF()).toSize());
        QVERIFY(Near(m_ctrl->grab().toImage().scaled(m_ctrl->size()).pixel(100, 50), Qt::white));
    }

    // A picture shown before comes from the cache, unless the file changed on disk since.
    void changedFileIsDecodedAgain() {
        const QString path = WriteBytes(m_dir.filePath("changes.jpg"), MakeJpeg(400, 200));
        Show(path, true);
        Show(FixturePath("png.png"), true);
        m_ctrl->SetRedrawEnabled(false);
        m_ctrl->LoadFile(path);
        m_ctrl->SetViewRect(0, 0, 200, 100);
        m_ctrl->SetRedrawEnabled(true);
        QVERIFY(m_ctrl->IsPictureComplete()); // from the cache, without waiting
        QImage green(400, 200, QImage::Format_RGB32);
        green.fill(Qt::green);
        QVERIFY(green.save(path, "JPEG"));
        Show(path, true);
        // The cached pixels may show until the worker has found the file changed.
        QTRY_VERIFY(Near(m_ctrl->grab().toImage().pixel(20, 50), Qt::green));
    }
};

QTEST_MAIN(TestImageCtrl)
#include "tst_imagectrl.moc"
