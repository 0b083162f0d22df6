#include "picture/CDecoderClient.h"
#include "picture/CPictureSource.h"
#include "picture/PictureFormat.h"
#include "tests/picture/PictureTestSupport.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

using namespace pictest;

// Every picture type of the file-type table decodes to its size, depth and format code.
class TestPictureFormats : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyTypeDecodes_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("format");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("bits");
        QTest::addColumn<QColor>("left");
        QTest::addColumn<QColor>("right");
        const QColor red(Qt::red), blue(Qt::blue), black(Qt::black), white(Qt::white);
        const QSize s(24, 16);
        QTest::newRow("PNG") << "png.png" << 75 << s << 24 << red << blue;
        QTest::newRow("JPG") << "jpg.jpg" << 10 << s << 24 << red << blue;
        QTest::newRow("BMP") << "bmp.bmp" << 6 << s << 24 << red << blue;
        QTest::newRow("TIF") << "tif.tif" << 3 << s << 24 << red << blue;
        QTest::newRow("TGA read by Qt") << "tga.tga" << 4 << s << 24 << red << blue;
        QTest::newRow("TGA refused by Qt") << "rle.tga" << 4 << s << 24 << red << blue;
        QTest::newRow("PCX") << "pcx.pcx" << 1 << s << 24 << red << blue;
        QTest::newRow("RAS") << "ras.ras" << 55 << s << 24 << red << blue;
        QTest::newRow("PSD") << "psd.psd" << 76 << s << 24 << red << blue;
        QTest::newRow("WPG") << "wpg.wpg" << 54 << s << 8 << red << blue;
        QTest::newRow("WMF") << "wmf.wmf" << 15 << s << 24 << red << blue;
        QTest::newRow("EPS") << "eps.eps" << 16 << s << 24 << red << blue;
        QTest::newRow("MSP version 1") << "msp1.msp" << 53 << s << 1 << black << white;
        QTest::newRow("MSP version 2") << "msp2.msp" << 53 << s << 1 << black << white;
        QTest::newRow("MAC") << "mac.mac" << 51 << QSize(576, 720) << 1 << black << white;
    }

    void everyTypeDecodes() {
        QFETCH(QString, file);
        QFETCH(int, format);
        QFETCH(QSize, size);
        QFETCH(int, bits);
        QFETCH(QColor, left);
        QFETCH(QColor, right);
        CPictureSource source;
        QVERIFY2(source.Open(FixturePath(file)), qPrintable(source.Error()));
        QCOMPARE(source.Info().nFormat, format);
        QCOMPARE(QSize(source.Info().nWidth, source.Info().nHeight), size);
        QCOMPARE(source.Info().nBitsPerPixel, bits);
        const QImage image = source.ImageAt(size);
        QVERIFY2(!image.isNull(), qPrintable(source.Error()));
        QCOMPARE(image.size(), size);
        const int y = size.height() / 2;
        QVERIFY2(Near(image.pixel(2, y), left), qPrintable(QColor(image.pixel(2, y)).name()));
        QVERIFY2(Near(image.pixel(size.width() - 3, y), right),
                 qPrintable(QColor(image.pixel(size.width() - 3, y)).name()));
        QCOMPARE(CPictureSource::DetectFileFormat(FixturePath(file)), format);
    }

    void typeComesFromTheContentNotTheName() {
        QTemporaryDir dir;
        const QString png =
            WriteBytes(dir.filePath("really-a-png.jpg"), ReadAll(FixturePath("png.png")));
        CPictureSource source;
        QVERIFY(source.Open(png));
        QCOMPARE(source.Info().nFormat, picfmt::kPng);
        // Text named like a picture is no picture.
        const QString text = WriteBytes(dir.filePath("notes.bmp"), "just some words, no picture\n");
        QVERIFY(!source.Open(text));
        QCOMPARE(source.Info().nWidth, 0);
        QCOMPARE(CPictureSource::DetectFileFormat(text), picfmt::kUnknown);
    }

    void exifRotatedJpegIsUpright() {
        QTemporaryDir dir;
        // Stored 40 x 20 with orientation 6: shown turned a quarter clockwise, 20 x 40.
        const QString path = WriteBytes(dir.filePath("turned.jpg"), MakeJpeg(40, 20, 6));
        CPictureSource source;
        QVERIFY(source.Open(path));
        QCOMPARE(source.Info().nWidth, 20);
        QCOMPARE(source.Info().nHeight, 40);
        const QImage whole = source.ImageAt(QSize(20, 40));
        QCOMPARE(whole.size(), QSize(20, 40));
        QVERIFY(Near(whole.pixel(10, 3), Qt::red)); // the stored left half is now on top
        QVERIFY(Near(whole.pixel(10, 36), Qt::blue));
        // Decoding straight at a smaller size keeps the turn.
        QVERIFY(source.Open(path));
        const QImage small = source.ImageAt(QSize(5, 10));
        QCOMPARE(source.DecodedSize(), QSize(5, 10));
        QVERIFY(Near(small.pixel(2, 1), Qt::red, 80));
        QVERIFY(Near(small.pixel(2, 8), Qt::blue, 80));
    }

    void jpegEndIsFoundPastTrailingData() {
        QTemporaryDir dir;
        // Some cameras append more data after the picture; its thumbnail's end marker must not
        // count as the picture's end either.
        const QByteArray jpeg = MakeJpeg(64, 32, 6);
        CPictureSource source;
        QVERIFY(source.Open(WriteBytes(dir.filePath("tail.jpg"), jpeg + QByteArray(5000, 'v'))));
        QCOMPARE(source.Info().nWidth, 32);
        // A metadata block holding an end marker, then the picture cut off in its data.
        const QByteArray block("\xFF\xE2\x00\x06\xFF\xD9\xFF\xD9", 8);
        const QByteArray marked = jpeg.left(2) + block + jpeg.mid(2);
        const qsizetype scan = marked.indexOf("\xFF\xDA");
        QVERIFY(scan > 0);
        QVERIFY(!source.Open(WriteBytes(dir.filePath("cut.jpg"), marked.left(scan + 40) + "junk")));
        QVERIFY(source.Error().contains("incomplete"));
    }

    void postScriptFallsBackToItsPreview() {
        CPictureSource source;
        // Its PostScript is broken; the embedded TIFF preview is green.
        QVERIFY(source.Open(FixturePath("preview.eps")));
        QCOMPARE(source.Info().nFormat, picfmt::kEps);
        QImage image = source.ImageAt(QSize(24, 16));
        QVERIFY2(!image.isNull(), qPrintable(source.Error()));
        QVERIFY(Near(image.pixel(12, 8), QColor(0, 160, 0)));
        // Without Ghostscript a plain PostScript file cannot be drawn, and says why.
        CDecoderClient::SetGhostscript(QStringLiteral("/nonexistent/gs"));
        QVERIFY(source.Open(FixturePath("eps.eps")));
        QVERIFY(source.ImageAt(QSize(24, 16)).isNull());
        QVERIFY(source.Error().contains("not installed"));
        QCOMPARE(source.Info().nWidth, 0);
        CDecoderClient::SetGhostscript(QString());
    }

    void postScriptThatNeverEndsIsStopped() {
        QTemporaryDir dir;
        const QString path =
            WriteBytes(dir.filePath("loop.eps"),
                       "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 24 16\n{ } loop\n");
        CDecoderClient::SetTimeout(1500);
        CPictureSource source;
        QVERIFY(source.Open(path));
        QElapsedTimer timer;
        timer.start();
        QVERIFY(source.ImageAt(QSize(24, 16)).isNull());
        QVERIFY(timer.elapsed() < 10000);
        QVERIFY(source.Error().contains("too long"));
        CDecoderClient::SetTimeout(15000);
    }
};

QTEST_GUILESS_MAIN(TestPictureFormats)
#include "tst_pictureformats.moc"
