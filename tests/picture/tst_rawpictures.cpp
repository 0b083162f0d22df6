#include "picture/format/PictureFormat.h"
#include "picture/load/CPictureSource.h"
#include "picture/sandbox/CDecoderClient.h"
#include "tests/picture/PictureTestSupport.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace pictest;

namespace {

// The colour at a fraction of the image's width and height.
QRgb At(const QImage& image, double fx, double fy) {
    return image.pixel(int(fx * (image.width() - 1)), int(fy * (image.height() - 1)));
}

} // namespace

class TestRawPictures : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Most camera RAW files are TIFF files underneath: only the name tells them apart, and a
    // TIFF stays a TIFF. The others have signatures of their own.
    void detection_data() {
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<int>("format");
        const QByteArray tiffLE("II*\0\x08\0\0\0", 8), tiffBE("MM\0*\0\0\0\x08", 8);
        const int raw = picfmt::kRaw, tif = picfmt::kTif;
        QTest::newRow("dng") << tiffLE << "dng" << raw;
        QTest::newRow("DNG") << tiffLE << "DNG" << raw;
        QTest::newRow("cr2") << tiffLE << "cr2" << raw;
        QTest::newRow("nef big-endian") << tiffBE << "NEF" << raw;
        QTest::newRow("arw") << tiffLE << "arw" << raw;
        QTest::newRow("pef") << tiffBE << "pef" << raw;
        QTest::newRow("tif stays TIFF") << tiffLE << "tif" << tif;
        QTest::newRow("tiff stays TIFF") << tiffBE << "TIFF" << tif;
        QTest::newRow("TIFF named jpg") << tiffLE << "jpg" << tif;
        QTest::newRow("orf") << QByteArray("IIRO\x08\0\0\0", 8) << "orf" << raw;
        QTest::newRow("orf big-endian") << QByteArray("MMOR\0\0\0\x08", 8) << "ORF" << raw;
        QTest::newRow("rw2") << QByteArray("IIU\0\x08\0\0\0", 8) << "rw2" << raw;
        QTest::newRow("raf") << QByteArray("FUJIFILMCCD-RAW 0201FF383501") << "raf" << raw;
        QTest::newRow("cr3") << QByteArray("\0\0\0\x18"
                                           "ftypcrx \0\0\0\x01"
                                           "crx isom",
                                           24)
                             << "cr3" << raw;
        QTest::newRow("HEIC named cr3") << QByteArray("\0\0\0\x18"
                                                      "ftypheic\0\0\0\0"
                                                      "mif1heic",
                                                      24)
                                        << "cr3" << int(picfmt::kHeic);
        QTest::newRow("JPEG named dng")
            << QByteArray("\xFF\xD8\xFF\xE0", 4) << "dng" << int(picfmt::kJpg);
    }

    void detection() {
        QFETCH(QByteArray, head);
        QFETCH(QString, suffix);
        QFETCH(int, format);
        QCOMPARE(picfmt::DetectFormat(head, head, suffix), format);
    }

    // The camera's preview is shown when it is at least as large as the view (or no smaller
    // than a half-size decode would be), else the sensor's data at half size; both turned as
    // the file says, and the size told is always the sensor's, upright.
    void previewOrHalfSize_data() {
        QTest::addColumn<QSize>("preview"); // empty: none
        QTest::addColumn<int>("orientation");
        QTest::addColumn<QSize>("target");
        QTest::addColumn<QSize>("decoded");
        QTest::addColumn<QSize>("own");
        QTest::addColumn<bool>("fromPreview");
        QTest::addColumn<bool>("leftRight"); // the two colours side by side, else one above
        QTest::addColumn<bool>("swapped");   // the second colour first
        const QSize sensor(256, 160), upright(160, 256);
        QTest::newRow("preview covers the view")
            << QSize(128, 80) << 1 << QSize(64, 40) << QSize(64, 40) << sensor << true << true
            << false;
        QTest::newRow("view larger, preview as large as half size")
            << QSize(128, 80) << 1 << QSize(256, 160) << QSize(128, 80) << sensor << true << true
            << false;
        QTest::newRow("whole picture asked, preview as large as half size")
            << QSize(128, 80) << 1 << QSize() << QSize(128, 80) << sensor << true << true << false;
        QTest::newRow("small preview, larger view")
            << QSize(32, 20) << 1 << QSize(128, 80) << QSize(128, 80) << sensor << false << true
            << false;
        QTest::newRow("preview of another shape")
            << QSize(128, 128) << 1 << QSize(64, 40) << QSize(128, 80) << sensor << false << true
            << false;
        QTest::newRow("no preview")
            << QSize() << 1 << QSize(32, 20) << QSize(128, 80) << sensor << false << true << false;
        QTest::newRow("preview turned a quarter clockwise")
            << QSize(128, 80) << 6 << QSize(40, 64) << QSize(40, 64) << upright << true << false
            << false;
        QTest::newRow("sensor data turned a quarter clockwise")
            << QSize() << 6 << QSize(40, 64) << QSize(80, 128) << upright << false << false
            << false;
        QTest::newRow("sensor data turned a quarter anticlockwise")
            << QSize() << 8 << QSize(40, 64) << QSize(80, 128) << upright << false << false << true;
        QTest::newRow("preview upside down") << QSize(128, 80) << 3 << QSize(64, 40)
                                             << QSize(64, 40) << sensor << true << true << true;
        QTest::newRow("sensor data mirrored")
            << QSize() << 2 << QSize(64, 40) << QSize(128, 80) << sensor << false << true << true;
    }

    void previewOrHalfSize() {
        QFETCH(QSize, preview);
        QFETCH(int, orientation);
        QFETCH(QSize, target);
        QFETCH(QSize, decoded);
        QFETCH(QSize, own);
        QFETCH(bool, fromPreview);
        QFETCH(bool, leftRight);
        QFETCH(bool, swapped);
        QTemporaryDir dir;
        const QByteArray dng =
            MakeDng(dir, QSize(256, 160), preview.isEmpty() ? QByteArray() : PreviewJpeg(preview),
                    orientation);
        QVERIFY2(!dng.isEmpty(), "make-dng.py (python3) could not make the fixture");
        const CDecoderClient::SResult result =
            CDecoderClient::DecodeBytes(dng, picfmt::kRaw, target);
        QVERIFY2(!result.image.isNull(), qPrintable(result.strError));
        QCOMPARE(result.image.size(), decoded);
        QCOMPARE(result.ownSize, own);
        QCOMPARE(result.nBits, 24);
        QColor first = fromPreview ? QColor(Qt::green) : QColor(Qt::red);
        QColor second = fromPreview ? QColor(Qt::magenta) : QColor(Qt::blue);
        if (swapped)
            std::swap(first, second);
        const QRgb a = leftRight ? At(result.image, 0.1, 0.5) : At(result.image, 0.5, 0.1);
        const QRgb b = leftRight ? At(result.image, 0.9, 0.5) : At(result.image, 0.5, 0.9);
        QVERIFY2(Near(a, first, 70), qPrintable(QColor(a).name()));
        QVERIFY2(Near(b, second, 70), qPrintable(QColor(b).name()));
    }

    // Opened like any picture: the sensor's size, upright, is the picture's size once decoded.
    void openedAsAPicture() {
        QTemporaryDir dir;
        const QString path = WriteBytes(dir.filePath("turned.NEF"),
                                        MakeDng(dir, QSize(256, 160), PreviewJpeg({128, 80}), 6));
        QVERIFY(!path.isEmpty());
        CPictureSource source;
        QVERIFY2(source.Open(path), qPrintable(source.Error()));
        QCOMPARE(source.Info().nFormat, picfmt::kRaw);
        QVERIFY(source.SizePending()); // the helper tells the size, with the pixels
        const QImage image = source.ImageAt(QSize(40, 64));
        QVERIFY2(!image.isNull(), qPrintable(source.Error()));
        QCOMPARE(QSize(source.Info().nWidth, source.Info().nHeight), QSize(160, 256));
        QCOMPARE(source.Info().nBitsPerPixel, 24);
        QCOMPARE(image.size(), QSize(40, 64));
        QVERIFY(Near(At(image, 0.5, 0.1), Qt::green, 70));
        // The same bytes named as a TIFF are read as one, never by the RAW reader.
        const QString tif = WriteBytes(dir.filePath("turned.tif"), ReadAll(path));
        QCOMPARE(CPictureSource::DetectFileFormat(tif), picfmt::kTif);
        // Cut short, the file is refused with a reason.
        const QString cut =
            WriteBytes(dir.filePath("cut.dng"), MakeDng(dir, QSize(256, 160), {}, 1, 5000));
        CPictureSource damaged;
        QVERIFY(!damaged.Open(cut) || damaged.ImageAt(QSize(64, 40)).isNull());
        QVERIFY(damaged.Error().contains("damaged"));
    }

    // Damaged files fail in the helper with a reason; a damaged preview gives way to the
    // sensor's data.
    void damagedFiles() {
        QTemporaryDir dir;
        const QByteArray whole = MakeDng(dir, QSize(256, 160), {});
        QVERIFY(!whole.isEmpty());
        const QByteArray jpeg = PreviewJpeg(QSize(128, 80));
        const QList<QByteArray> broken{
            MakeDng(dir, QSize(256, 160), {}, 1, int(whole.size() / 2)), // data cut short
            MakeDng(dir, QSize(256, 160), {}, 1, 300),                   // directory cut short
            QByteArray("II*\0\x08\0\0\0", 8) + QByteArray(4000, '\xEE'), // nonsense directory
            whole.left(8) + QByteArray(2000, '\0'),                      // no directory at all
        };
        for (const QByteArray& data : broken) {
            const CDecoderClient::SResult result =
                CDecoderClient::DecodeBytes(data, picfmt::kRaw, QSize(64, 40));
            QVERIFY(result.image.isNull());
            QVERIFY2(!result.strError.isEmpty() && !result.strError.contains("stopped"),
                     qPrintable(result.strError));
        }
        // The preview's data ends early: the sensor's data is shown instead.
        const QByteArray cutPreview = jpeg.left(jpeg.size() - 200);
        const CDecoderClient::SResult fallback = CDecoderClient::DecodeBytes(
            MakeDng(dir, QSize(256, 160), cutPreview), picfmt::kRaw, QSize(64, 40));
        QVERIFY2(!fallback.image.isNull(), qPrintable(fallback.strError));
        QCOMPARE(fallback.image.size(), QSize(128, 80));
        QVERIFY(Near(At(fallback.image, 0.1, 0.5), Qt::red, 70));
    }
};

QTEST_GUILESS_MAIN(TestRawPictures)
#include "tst_rawpictures.moc"
