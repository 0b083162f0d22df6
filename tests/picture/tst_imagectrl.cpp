#include "picture/CFitScale.h"
#include "picture/CImageCtrl.h"
#include "tests/picture/PictureTestSupport.h"

#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

using namespace pictest;

// The imaging control as the picture list and the frame drive it.
class TestImageCtrl : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void fitScaleFollowsThePictureList_data();
    void fitScaleFollowsThePictureList();
    void fittingDecodesAtTheShownSize();
    void unfittedPictureIsCentredAtItsOwnSize();
    void fittedPictureFillsTheViewRectangle();
    void failedLoadClearsThePreviousFigures();
    void badFilesSayWhyAndNeverCrash_data();
    void badFilesSayWhyAndNeverCrash();
    void foldersAndPipesAreRefusedWithoutBlocking();
    void damagedCopiesOfEveryTypeNeverCrash();
    void fileInfoDescribesTheQueriedFile();
    void printingToPdfGivesOnePageWithThePicture();

private:
    // The picture list's display sequence; returns the scale used (0 when not fitting).
    int Show(const QString& path, bool fit);
    QColor PixelAt(int x, int y);

    std::unique_ptr<CImageCtrl> m_ctrl;
    QTemporaryDir m_dir;
};

void TestImageCtrl::init() {
    m_ctrl = std::make_unique<CImageCtrl>();
    m_ctrl->resize(200, 100);
    m_ctrl->show();
}

void TestImageCtrl::cleanup() {
    m_ctrl.reset();
}

int TestImageCtrl::Show(const QString& path, bool fit) {
    CImageCtrl& c = *m_ctrl;
    c.show();
    c.SetRedrawEnabled(false);
    c.LoadFile(path, 0, 0);
    int p = 0;
    if (fit) {
        p = CFitScale::Percent(c.ClientWidth(), c.ClientHeight(), c.ImageWidth(), c.ImageHeight());
        const QSizeF s = CFitScale::ScaledSize(c.ImageWidth(), c.ImageHeight(), p);
        c.SetViewRect(c.ViewLeft(), c.ViewTop(), float(s.width()), float(s.height()));
        c.SetViewClip(c.ViewLeft(), c.ViewTop(), c.ViewWidth(), c.ViewHeight());
    }
    c.SetRedrawEnabled(true);
    c.QueryFileInfo(path, 1);
    return p;
}

QColor TestImageCtrl::PixelAt(int x, int y) {
    return m_ctrl->grab().toImage().pixelColor(x, y);
}

void TestImageCtrl::fitScaleFollowsThePictureList_data() {
    QTest::addColumn<QSizeF>("client");
    QTest::addColumn<QSizeF>("picture");
    QTest::addColumn<int>("percent");
    QTest::addColumn<QSizeF>("shown");
    QTest::newRow("shrunk") << QSizeF(400, 250) << QSizeF(1600, 1200) << 20 << QSizeF(320, 240);
    QTest::newRow("enlarged") << QSizeF(400, 250) << QSizeF(100, 50) << 400 << QSizeF(400, 200);
    QTest::newRow("at least 1 %") << QSizeF(400, 250) << QSizeF(60000, 100) << 1 << QSizeF(600, 1);
    QTest::newRow("client truncated")
        << QSizeF(399.9, 250) << QSizeF(400, 100) << 99 << QSizeF(396, 99);
    QTest::newRow("nothing loaded") << QSizeF(400, 250) << QSizeF(0, 0) << 0 << QSizeF(0, 0);
}

void TestImageCtrl::fitScaleFollowsThePictureList() {
    QFETCH(QSizeF, client);
    QFETCH(QSizeF, picture);
    QFETCH(int, percent);
    QFETCH(QSizeF, shown);
    const float pw = float(picture.width()), ph = float(picture.height());
    const int p = CFitScale::Percent(float(client.width()), float(client.height()), pw, ph);
    QCOMPARE(p, percent);
    QCOMPARE(CFitScale::ScaledSize(pw, ph, p), shown);
}

void TestImageCtrl::fittingDecodesAtTheShownSize() {
    const QString path = WriteBytes(m_dir.filePath("big.jpg"), MakeJpeg(2400, 1600));
    m_ctrl->resize(300, 200);
    QCOMPARE(Show(path, true), 12);
    // The size is the picture's own, but only the shown 288 x 192 pixels were decoded.
    QCOMPARE(m_ctrl->ImageWidth(), 2400.0f);
    QCOMPARE(m_ctrl->ImageHeight(), 1600.0f);
    QCOMPARE(m_ctrl->ImageBitsPerPixel(), short(24));
    QCOMPARE(m_ctrl->DecodedSize(), QSize(288, 192));
    QCOMPARE(m_ctrl->FileFormat(), short(10));
    QVERIFY(m_ctrl->LastError().isEmpty());
}

void TestImageCtrl::unfittedPictureIsCentredAtItsOwnSize() {
    Show(FixturePath("png.png"), false);
    QCOMPARE(
        QRectF(m_ctrl->ViewLeft(), m_ctrl->ViewTop(), m_ctrl->ViewWidth(), m_ctrl->ViewHeight()),
        QRectF(0, 0, 24, 16));
    // 24 x 16 in 200 x 100: from (88, 42) to (112, 58).
    QVERIFY(Near(PixelAt(90, 50).rgb(), Qt::red, 8));
    QVERIFY(Near(PixelAt(110, 50).rgb(), Qt::blue, 8));
    const QColor background = m_ctrl->palette().color(QPalette::Window);
    QCOMPARE(PixelAt(86, 50), background);
    QCOMPARE(PixelAt(100, 40), background);
}

void TestImageCtrl::fittedPictureFillsTheViewRectangle() {
    QCOMPARE(Show(FixturePath("png.png"), true), 625);
    QCOMPARE(m_ctrl->ViewWidth(), 150.0f);
    QCOMPARE(m_ctrl->ViewHeight(), 100.0f);
    // Centred across, from x 25 to 175; smooth scaling blends only near the middle.
    QVERIFY(Near(PixelAt(30, 2).rgb(), Qt::red, 8));
    QVERIFY(Near(PixelAt(170, 97).rgb(), Qt::blue, 8));
    QCOMPARE(PixelAt(20, 50), m_ctrl->palette().color(QPalette::Window));
}

void TestImageCtrl::failedLoadClearsThePreviousFigures() {
    Show(FixturePath("png.png"), true);
    QCOMPARE(m_ctrl->ImageWidth(), 24.0f);
    const QString empty = WriteBytes(m_dir.filePath("empty.jpg"), QByteArray());
    Show(empty, true);
    QCOMPARE(m_ctrl->ImageWidth(), 0.0f);
    QCOMPARE(m_ctrl->ImageHeight(), 0.0f);
    QCOMPARE(m_ctrl->ImageBitsPerPixel(), short(0));
    QCOMPARE(m_ctrl->PrintWidth(), 0.0f);
    QCOMPARE(m_ctrl->LastError(), QStringLiteral("The file is empty."));
    QVERIFY(!m_ctrl->HasPicture());
    // The reason is drawn where the picture would be.
    const QImage shot = m_ctrl->grab().toImage();
    const QColor background = m_ctrl->palette().color(QPalette::Window);
    bool drawn = false;
    for (int x = 0; x < shot.width() && !drawn; ++x)
        drawn = shot.pixelColor(x, shot.height() / 2 - 8) != background ||
                shot.pixelColor(x, shot.height() / 2 + 8) != background;
    QVERIFY(drawn);
    // The next good picture shows again.
    Show(FixturePath("bmp.bmp"), false);
    QCOMPARE(m_ctrl->ImageWidth(), 24.0f);
    QVERIFY(m_ctrl->LastError().isEmpty());
}

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
} // namespace

void TestImageCtrl::badFilesSayWhyAndNeverCrash_data() {
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");
    const QByteArray jpeg = ReadAll(FixturePath("jpg.jpg"));
    const QByteArray png = ReadAll(FixturePath("png.png"));
    QTest::newRow("zero bytes") << QByteArray() << "a.png"
                                << "empty";
    QTest::newRow("not a picture") << QByteArray(300, 'x') << "a.jpg"
                                   << "not a picture";
    QTest::newRow("truncated JPEG") << jpeg.left(jpeg.size() / 2) << "a.jpg"
                                    << "incomplete";
    QTest::newRow("truncated PNG") << png.left(png.size() - 40) << "a.png"
                                   << "damaged";
    QTest::newRow("PNG bomb") << PngHeader(100000, 100000) << "a.png"
                              << "too large";
    QTest::newRow("BMP bomb") << BmpHeader(100000, -100000) << "a.bmp"
                              << "too large";
    QByteArray pcx = ReadAll(FixturePath("pcx.pcx"));
    pcx[8] = pcx[9] = pcx[10] = pcx[11] = char(0xFF); // 65536 x 65536
    QTest::newRow("PCX bomb") << pcx << "a.pcx"
                              << "too large";
    QByteArray msp = ReadAll(FixturePath("msp2.msp"));
    msp[4] = msp[5] = msp[6] = msp[7] = char(0xFF);
    QTest::newRow("MSP bomb") << msp << "a.msp"
                              << "too large";
    const QByteArray mspShort = ReadAll(FixturePath("msp1.msp")).left(40);
    QTest::newRow("truncated MSP") << mspShort << "a.msp"
                                   << "incomplete";
    QByteArray jpegBomb = jpeg;
    const qsizetype sof = jpegBomb.indexOf("\xFF\xC0");
    QVERIFY(sof > 0);
    jpegBomb[sof + 5] = jpegBomb[sof + 6] = jpegBomb[sof + 7] = jpegBomb[sof + 8] = char(0xFF);
    QByteArray emf(88, '\0');
    emf[0] = 1;
    emf.replace(40, 4, " EMF");
    QTest::newRow("enhanced metafile") << emf << "a.wmf"
                                       << "Enhanced metafiles";
    QByteArray wpg = ReadAll(FixturePath("wpg.wpg"));
    wpg[14] = 1; // marks the file as encrypted
    QTest::newRow("encrypted WPG") << wpg << "a.wpg"
                                   << "damaged (encrypted";
    QTest::newRow("JPEG bomb") << jpegBomb << "a.jpg"
                               << "too large";
}

void TestImageCtrl::badFilesSayWhyAndNeverCrash() {
    QFETCH(QByteArray, data);
    QFETCH(QString, name);
    QFETCH(QString, reason);
    const QString path = WriteBytes(m_dir.filePath(name), data);
    QVERIFY(!path.isEmpty());
    Show(path, true);
    m_ctrl->grab();
    QVERIFY(!m_ctrl->HasPicture());
    QCOMPARE(m_ctrl->ImageWidth(), 0.0f);
    QCOMPARE(m_ctrl->ImageHeight(), 0.0f);
    QVERIFY2(m_ctrl->LastError().contains(reason), qPrintable(m_ctrl->LastError()));
    QVERIFY(!m_ctrl->LastError().contains(QCoreApplication::applicationName()));
    QCOMPARE(m_ctrl->BeginPrint(), 0L);
}

void TestImageCtrl::foldersAndPipesAreRefusedWithoutBlocking() {
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
}

void TestImageCtrl::damagedCopiesOfEveryTypeNeverCrash() {
    // Cut short and scrambled copies of every fixture go through the whole sequence; the
    // control either shows something or says why, and never keeps stale figures.
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

void TestImageCtrl::fileInfoDescribesTheQueriedFile() {
    const QString path = WriteBytes(m_dir.filePath("named.bmp"), ReadAll(FixturePath("psd.psd")));
    QVERIFY(m_ctrl->QueryFileInfo(path, 1));
    QCOMPARE(m_ctrl->FileFormat(), short(76));
    QCOMPARE(m_ctrl->FileSize(), QFileInfo(path).size());
    QVERIFY(!m_ctrl->QueryFileInfo(m_dir.filePath("missing.png"), 1));
    QCOMPARE(m_ctrl->FileFormat(), short(0));
    QCOMPARE(m_ctrl->FileSize(), qint64(0));
}

void TestImageCtrl::printingToPdfGivesOnePageWithThePicture() {
    QCOMPARE(m_ctrl->BeginPrint(), 0L); // no printer yet
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = m_dir.filePath("out.pdf");
    printer.setOutputFileName(pdf);
    m_ctrl->SetPrinter(&printer);
    Show(FixturePath("png.png"), true);
    QCOMPARE(QRectF(m_ctrl->PrintLeft(), m_ctrl->PrintTop(), m_ctrl->PrintWidth(),
                    m_ctrl->PrintHeight()),
             QRectF(0, 0, 24, 16));
    const long handle = m_ctrl->BeginPrint();
    QVERIFY(handle != 0);
    QCOMPARE(m_ctrl->BeginPrint(), 0L); // one page at a time
    // A wide picture 5100 units (8.5 inches) across, shrunk to the printable width.
    QVERIFY(m_ctrl->RenderToDevice(handle, m_ctrl->PrintLeft(), m_ctrl->PrintTop(), 5100, 3400));
    m_ctrl->EndPrint(handle);
    const QByteArray out = ReadAll(pdf);
    QVERIFY(out.startsWith("%PDF"));
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page\\b(?!s)"));
    QCOMPARE(QString::fromLatin1(out).count(page), 1);
    QVERIFY(out.contains("/Subtype /Image"));
}

QTEST_MAIN(TestImageCtrl)
#include "tst_imagectrl.moc"
