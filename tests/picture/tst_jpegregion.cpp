// A part of a JPEG decoded alone: the same pixels as the whole decode gives there, or none.
#include "picture/load/CJpegRegion.h"
#include "tests/picture/PictureTestSupport.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QRandomGenerator>
#include <QtTest>

using namespace pictest;

namespace {

// Coloured noise over gradients: every block differs, so a pixel taken from a wrong place,
// or upsampled from wrong neighbours, shows.
QImage Busy(QSize size, bool grey) {
    QImage image(size, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            const int noise = int(random.bounded(64));
            const int r = (x * 255 / size.width() + noise) % 256;
            const int g = (y * 255 / size.height() + noise) % 256;
            image.setPixel(x, y, grey ? qRgb(r, r, r) : qRgb(r, g, (r + g) / 2));
        }
    return grey ? image.convertToFormat(QImage::Format_Grayscale8) : image;
}

QByteArray Encode(const QImage& image, bool progressive) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(90);
    writer.setProgressiveScanWrite(progressive);
    return writer.write(image) ? bytes : QByteArray();
}

QImage Whole(const QByteArray& jpeg) {
    QBuffer buffer;
    buffer.setData(jpeg);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "jpeg");
    return reader.read().convertToFormat(QImage::Format_RGB32);
}

} // namespace

class TestJpegRegion : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void partIsAsInTheWholeDecode_data() {
        QTest::addColumn<bool>("grey");
        QTest::addColumn<bool>("progressive");
        QTest::addColumn<QRect>("part");
        const QRect middle(101, 67, 190, 123), corner(0, 0, 40, 30), edge(350, 250, 50, 50);
        QTest::newRow("colour, middle, odd place") << false << false << middle;
        QTest::newRow("colour, top left corner") << false << false << corner;
        QTest::newRow("colour, bottom right edge") << false << false << edge;
        QTest::newRow("colour, one pixel") << false << false << QRect(17, 33, 1, 1);
        QTest::newRow("colour, whole width") << false << false << QRect(0, 100, 400, 20);
        QTest::newRow("grey, middle") << true << false << middle;
        QTest::newRow("progressive, middle") << false << true << middle;
        QTest::newRow("progressive, edge") << false << true << edge;
    }
    void partIsAsInTheWholeDecode() {
        QFETCH(bool, grey);
        QFETCH(bool, progressive);
        QFETCH(QRect, part);
        const QByteArray jpeg = Encode(Busy(QSize(400, 300), grey), progressive);
        QVERIFY(!jpeg.isEmpty());
        const QImage got = CJpegRegion::Read(jpeg, part);
        QCOMPARE(got.size(), part.size());
        QCOMPARE(got.format(), QImage::Format_RGB32);
        QCOMPARE(got, Whole(jpeg).copy(part));
    }

    // Whatever cannot be read as a plain upright part gives nothing: the whole decode serves.
    void unreadablePartsGiveNothing_data() {
        QTest::addColumn<QByteArray>("jpeg");
        QTest::addColumn<QRect>("part");
        const QByteArray plain = Encode(Busy(QSize(400, 300), false), false);
        const QRect fine(10, 10, 50, 50);
        QTest::newRow("beyond the picture") << plain << QRect(380, 10, 50, 50);
        QTest::newRow("negative place") << plain << QRect(-1, 10, 50, 50);
        QTest::newRow("empty part") << plain << QRect(10, 10, 0, 5);
        QTest::newRow("cut short") << plain.left(plain.size() / 3) << QRect(10, 200, 50, 50);
        QTest::newRow("turned by EXIF") << MakeJpeg(400, 300, 6) << fine;
        QTest::newRow("not a JPEG") << QByteArray("GIF89a and nothing more") << fine;
        QTest::newRow("nothing") << QByteArray() << fine;
        QTest::newRow("header only") << plain.left(200) << fine;
    }
    void unreadablePartsGiveNothing() {
        QFETCH(QByteArray, jpeg);
        QFETCH(QRect, part);
        QVERIFY(CJpegRegion::Read(jpeg, part).isNull());
    }

    // The part a view shows, with a margin, is decoded first only when it is a small share
    // of the picture.
    void partWorthDecodingFirst_data() {
        QTest::addColumn<QRect>("visible");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("middle of a large picture")
            << QRect(2000, 1500, 1280, 1000) << QRect(1968, 1468, 1344, 1064);
        QTest::newRow("at its corner, clipped")
            << QRect(0, 0, 1280, 1000) << QRect(0, 0, 1312, 1032);
        QTest::newRow("most of it") << QRect(0, 0, 5000, 3000) << QRect();
        QTest::newRow("outside") << QRect(7000, 0, 100, 100) << QRect();
    }
    void partWorthDecodingFirst() {
        QFETCH(QRect, visible);
        QFETCH(QRect, expected);
        QCOMPARE(CJpegRegion::Worth(visible, QSize(6000, 4000)), expected);
    }
};

QTEST_GUILESS_MAIN(TestJpegRegion)
#include "tst_jpegregion.moc"
