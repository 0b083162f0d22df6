// The JPEG header as cameras and encoders lay it out: metadata blocks first, the coding tables
// before or after the frame header, progressive frames, restart intervals, a preview JPEG
// inside the EXIF block. Size and depth come from the frame header of the picture itself,
// whatever comes before it, since fit, status and limits are all reckoned from them.
#include "picture/format/CExifThumbnail.h"
#include "picture/format/CHeaderProbe.h"
#include "picture/format/JpegStructure.h"
#include "picture/format/PictureFormat.h"
#include "picture/load/CPictureSource.h"
#include "tests/picture/PictureTestSupport.h"

#include <QImageWriter>
#include <QtEndian>
#include <QtTest>

using namespace pictest;

namespace {

// A JPEG cut into its marker segments up to the scan; `scan` is the rest of the file.
struct SJpeg {
    QList<QByteArray> segments;
    QByteArray scan;

    static SJpeg Of(const QByteArray& jpeg) {
        SJpeg out;
        qsizetype at = 2;
        while (at + 4 <= jpeg.size() && uchar(jpeg[at + 1]) != 0xDA) {
            const qsizetype length = qFromBigEndian<quint16>(jpeg.constData() + at + 2);
            out.segments << jpeg.mid(at, 2 + length);
            at += 2 + length;
        }
        out.scan = jpeg.mid(at);
        return out;
    }
    // The segments of one marker, taken out of the list.
    QList<QByteArray> Take(uchar marker) {
        QList<QByteArray> taken;
        for (qsizetype i = 0; i < segments.size();)
            if (uchar(segments[i][1]) == marker)
                taken << segments.takeAt(i);
            else
                ++i;
        return taken;
    }
    QByteArray Bytes() const { return "\xFF\xD8" + segments.join() + scan; }
};

// A picture of w x h, left half red and right half blue, as Qt's encoder writes it: the
// quantisation tables, then the frame, then the Huffman tables.
QByteArray Encoded(int w, int h, bool bProgressive = false, bool bGrey = false) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::blue);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w / 2; ++x)
            image.setPixel(x, y, qRgb(255, 0, 0));
    if (bGrey)
        image = image.convertToFormat(QImage::Format_Grayscale8);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "JPEG");
    writer.setProgressiveScanWrite(bProgressive);
    writer.write(image);
    return jpeg;
}

// The tables (DQT, DHT) moved before the frame header, as most cameras write them; with
// `split`, one Huffman table stays after it.
QByteArray TablesFirst(const QByteArray& jpeg, bool split = false) {
    SJpeg parts = SJpeg::Of(jpeg);
    const QList<QByteArray> frame = parts.Take(0xC0) + parts.Take(0xC2);
    QList<QByteArray> huffman = parts.Take(0xC4);
    const QByteArray after = split ? huffman.takeLast() : QByteArray();
    parts.segments << huffman << frame;
    if (split)
        parts.segments << after;
    return parts.Bytes();
}

// Segments put right after the start-of-image marker.
QByteArray WithFirst(const QByteArray& jpeg, const QByteArray& segments) {
    return jpeg.left(2) + segments + jpeg.mid(2);
}

// The segments of a JPEG with its frame header preceded by `before`.
QByteArray BeforeFrame(const QByteArray& jpeg, const QByteArray& before) {
    QByteArray out = jpeg;
    out.insert(out.indexOf("\xFF\xC0"), before);
    return out;
}

} // namespace

class TestJpegMarkers : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sizeComesFromThePicturesFrame_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("bits");
        QTest::addColumn<QSize>("size");
        const int w = 120, h = 80;
        const QByteArray plain = Encoded(w, h);
        const QByteArray progressive = Encoded(w, h, true);
        QVERIFY(progressive.contains("\xFF\xC2") && !progressive.contains("\xFF\xC0"));
        const QByteArray app0 = SJpeg::Of(plain).segments.first();
        const QByteArray icc =
            JpegSegment(0xE2, QByteArrayLiteral("ICC_PROFILE\0") + QByteArray(300, '\x11'));
        const QByteArray xmp =
            JpegSegment(0xE1, QByteArrayLiteral("http://ns.adobe.com/xap/1.0/\0<x/>"));
        const QByteArray exif = ExifPreviewSegment(TablesFirst(Encoded(160, 96)));
        const QByteArray comment = JpegSegment(0xFE, "written by a scanner");
        QTest::newRow("tables around the frame, as encoders write") << plain << 24 << QSize(w, h);
        QTest::newRow("tables before the frame, as cameras write")
            << TablesFirst(plain) << 24 << QSize(w, h);
        QTest::newRow("one Huffman table after the frame")
            << TablesFirst(plain, true) << 24 << QSize(w, h);
        QTest::newRow("grey, tables before the frame")
            << TablesFirst(Encoded(w, h, false, true)) << 8 << QSize(w, h);
        QTest::newRow("progressive") << progressive << 24 << QSize(w, h);
        QTest::newRow("progressive, tables before the frame")
            << TablesFirst(progressive) << 24 << QSize(w, h);
        QTest::newRow("EXIF with a larger preview JPEG first")
            << WithFirst(TablesFirst(plain), exif) << 24 << QSize(w, h);
        QTest::newRow("EXIF, XMP, ICC and a comment before the tables")
            << WithFirst(TablesFirst(plain), exif + xmp + icc + comment) << 24 << QSize(w, h);
        QTest::newRow("JFIF block after the EXIF block")
            << WithFirst(TablesFirst(plain).remove(2, app0.size()), exif + app0) << 24
            << QSize(w, h);
        // An interval of 0: restart markers switched off, as some encoders say outright.
        QTest::newRow("restart interval before the frame")
            << BeforeFrame(TablesFirst(plain), JpegSegment(0xDD, QByteArray(2, '\0'))) << 24
            << QSize(w, h);
        QTest::newRow("fill bytes before the frame")
            << BeforeFrame(TablesFirst(plain), QByteArray(5, '\xFF')) << 24 << QSize(w, h);
        // As cjpeg writes it, with a restart marker in the scan.
        const QByteArray restarts = ReadAll(FixturePath(QStringLiteral("restart.jpg")));
        QTest::newRow("restart markers in the scan") << restarts << 24 << QSize(24, 16);
        QTest::newRow("restart markers, tables before the frame")
            << TablesFirst(restarts) << 24 << QSize(24, 16);
    }

    // Read from the header alone, opened, and decoded: the picture's size every time, red then
    // blue.
    void sizeComesFromThePicturesFrame() {
        QFETCH(QByteArray, data);
        QFETCH(int, bits);
        QFETCH(QSize, size);
        const SPictureInfo probed = CHeaderProbe::Probe(picfmt::kJpg, data);
        QCOMPARE(QSize(probed.nWidth, probed.nHeight), size);
        QCOMPARE(probed.nBitsPerPixel, bits);
        QVERIFY(JpegStructure::IsComplete(data));
        QTemporaryDir dir;
        CPictureSource source;
        QVERIFY2(source.Open(WriteBytes(dir.filePath(QStringLiteral("IMG_0001.JPG")), data)),
                 qPrintable(source.Error()));
        QCOMPARE(QSize(source.Info().nWidth, source.Info().nHeight), size);
        QCOMPARE(source.Info().nBitsPerPixel, bits);
        const QImage image = source.ImageAt(size);
        QVERIFY2(!image.isNull(), qPrintable(source.Error()));
        const auto shade = [bits](QColor c) {
            const int grey = qGray(c.rgb());
            return bits == 8 ? QColor(grey, grey, grey) : c;
        };
        QVERIFY(Near(image.pixel(size.width() / 12, size.height() / 2), shade(Qt::red)));
        QVERIFY(Near(image.pixel(size.width() * 11 / 12, size.height() / 2), shade(Qt::blue)));
    }

    // The preview inside the EXIF block is found too, whole, at its own size.
    void previewInsideTheExifBlock() {
        const QByteArray preview = TablesFirst(Encoded(160, 96));
        const QByteArray data =
            WithFirst(TablesFirst(Encoded(120, 80)), ExifPreviewSegment(preview));
        QCOMPARE(CExifThumbnail::Read(data).size(), QSize(160, 96));
        QCOMPARE(CHeaderProbe::Probe(picfmt::kJpg, preview).nWidth, 160);
    }
};

QTEST_GUILESS_MAIN(TestJpegMarkers)
#include "tst_jpegmarkers.moc"
