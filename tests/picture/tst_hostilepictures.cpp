// Damaged and hostile pictures: refused before any pixel memory is taken for what their
// headers claim, or shown within the program's limits.
#include "picture/format/CHeaderProbe.h"
#include "picture/format/PictureFormat.h"
#include "picture/load/CPictureSource.h"
#include "tests/picture/PictureTestSupport.h"

#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

using namespace pictest;

namespace {

QByteArray Box(const char* type, const QByteArray& body) {
    return BE32(quint32(8 + body.size())) + type + body;
}
QByteArray FullBox(const char* type, int version, int flags, const QByteArray& body) {
    return Box(type, BE32(quint32(version) << 24 | quint32(flags)) + body);
}

// A pitm box naming item `id` (with a 32-bit id from version 1 on).
QByteArray Pitm(int id, int version = 0) {
    return FullBox("pitm", version, 0,
                   version ? BE32(quint32(id)) : QByteArray(1, '\0') + char(id));
}

// The boxes of a HEIF file's start: the primary item `pitm`, and the properties the ipma box
// `ipma` gives its items, from an ispe of w x h and an irot of `quarters`.
QByteArray Heif(quint32 w, quint32 h, int quarters, const QByteArray& ipma,
                const QByteArray& pitm = Pitm(1)) {
    const QByteArray ipco = Box("ipco", FullBox("ispe", 0, 0, BE32(w) + BE32(h)) +
                                            Box("irot", QByteArray(1, char(quarters))));
    const QByteArray meta =
        FullBox("meta", 0, 0,
                FullBox("hdlr", 0, 0, QByteArray(4, '\0') + "pict" + QByteArray(13, '\0')) + pitm +
                    Box("iprp", ipco + ipma));
    return Box("ftyp", QByteArray("heic\0\0\0\0mif1heic", 16)) + meta;
}
// Item 1 has properties 1 (ispe, essential) and 2 (irot).
QByteArray Ipma(int item = 1, const QByteArray& indexes = QByteArray("\x81\x02", 2)) {
    return FullBox("ipma", 0, 0,
                   BE32(1) + QByteArray(1, '\0') + char(item) + char(indexes.size()) + indexes);
}

QByteArray Png(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

// A 24-bit bitmap header of w x h with `data` bytes of rows after it.
QByteArray Bmp(quint32 w, quint32 h, int data) {
    QByteArray bmp = "BM" + LE32(54 + data) + LE32(0) + LE32(54);
    bmp += LE32(40) + LE32(w) + LE32(h) + LE16(1) + LE16(24) + LE32(0) + LE32(data);
    bmp += LE32(2835) + LE32(2835) + LE32(0) + LE32(0);
    return bmp + QByteArray(data, '\x7f');
}

// A Paint version 2 picture of w x h whose line table says every line is empty.
QByteArray EmptyMsp(quint16 w, quint16 h) {
    QByteArray header = "LinS" + LE16(w) + LE16(h) + LE16(1) + LE16(1) + LE16(1) + LE16(1) +
                        LE16(w) + LE16(h) + LE16(0) + LE16(0);
    quint16 check = 0;
    for (int i = 0; i < header.size(); i += 2)
        check ^= quint16(uchar(header[i]) | uchar(header[i + 1]) << 8);
    return header + LE16(check) + QByteArray(6, '\0') + QByteArray(2 * h, '\0');
}

// A little-endian TIFF, 24 x 16 RGB in one strip, left half red and right half blue, whose
// first directory (and the bits-per-sample values) lie `gap` bytes into the file.
QByteArray FarTiff(int gap) {
    const int w = 24, h = 16;
    QByteArray strip;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            strip += x < w / 2 ? QByteArray("\xff\0\0", 3) : QByteArray("\0\0\xff", 3);
    const quint32 stripAt = 8, bitsAt = gap, ifdAt = gap + 6;
    QByteArray tiff = QByteArray("II*\0", 4) + LE32(ifdAt) + strip;
    tiff += QByteArray(bitsAt - tiff.size(), '\0') + LE16(8) + LE16(8) + LE16(8);
    const auto entry = [](quint16 tag, quint16 type, quint32 count, quint32 value) {
        return LE16(tag) + LE16(type) + LE32(count) +
               (type == 3 && count == 1 ? LE16(quint16(value)) + LE16(0) : LE32(value));
    };
    tiff += LE16(9) + entry(256, 3, 1, w) + entry(257, 3, 1, h) + entry(258, 3, 3, bitsAt) +
            entry(259, 3, 1, 1) + entry(262, 3, 1, 2) + entry(273, 4, 1, stripAt) +
            entry(277, 3, 1, 3) + entry(278, 3, 1, h) + entry(279, 4, 1, quint32(strip.size())) +
            LE32(0);
    return tiff;
}
} // namespace

class TestHostilePictures : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // First in the process, before anything else is decoded: PostScript above 32 megapixels
    // is drawn at full size, because the program's allocation limit holds for every reader.
    void largePostScriptDrawsAsTheFirstPicture() {
        QTemporaryDir dir;
        const QString path = WriteBytes(dir.filePath("poster.eps"),
                                        "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 6000 6000\n"
                                        "1 0 0 setrgbcolor 0 0 3000 6000 rectfill\n");
        CPictureSource source;
        QVERIFY(source.Open(path));
        const QImage image = source.ImageAt(QSize(6000, 6000));
        QVERIFY2(!image.isNull(), qPrintable(source.Error()));
        QCOMPARE(image.size(), QSize(6000, 6000));
        QVERIFY(Near(image.pixel(10, 3000), Qt::red));
        QVERIFY(Near(image.pixel(5990, 3000), Qt::white));
    }

    // A 12-megapixel legacy picture (a scanned page, a big PCX) is within the limits the
    // decoder helper gives ImageMagick: it decodes, it is not called damaged.
    void twelveMegapixelPcxDecodes() {
        constexpr int w = 4000, h = 3000;
        QByteArray header(128, '\0');
        header[0] = 10; // PCX, version 5, run-length coded, 8 bits a plane, three planes
        header[1] = 5;
        header[2] = 1;
        header[3] = 8;
        qToLittleEndian<quint16>(w - 1, header.data() + 8);
        qToLittleEndian<quint16>(h - 1, header.data() + 10);
        header[65] = 3;
        qToLittleEndian<quint16>(w, header.data() + 66);
        header[68] = 1;
        QByteArray plane; // one plane of one line: runs of 63, then the rest
        for (int left = w; left > 0; left -= 63)
            plane.append(char(0xC0 | std::min(left, 63))).append(char(0x80));
        QTemporaryDir dir;
        const QString path = WriteBytes(dir.filePath("page.pcx"), header + plane.repeated(3 * h));
        CPictureSource source;
        QVERIFY(source.Open(path));
        const QImage image = source.ImageAt({});
        QVERIFY2(!image.isNull(), qPrintable(source.Error()));
        QCOMPARE(image.size(), QSize(w, h));
        QVERIFY(Near(image.pixel(w - 1, h - 1), qRgb(0x80, 0x80, 0x80)));
    }

    // A header that claims far more than the file holds is refused with a reason, before
    // any decoder sets memory aside for it; files that merely lack trailing padding open.
    void heifSizeComesFromItsBoxes_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QSize>("size"); // empty: not told
        const QByteArray plain = Heif(6000, 4000, 0, Ipma());
        QTest::newRow("as stored") << plain << QSize(6000, 4000);
        QTest::newRow("turned a quarter") << Heif(6000, 4000, 1, Ipma()) << QSize(4000, 6000);
        QTest::newRow("upside down") << Heif(6000, 4000, 2, Ipma()) << QSize(6000, 4000);
        QTest::newRow("properties of another item") << Heif(6000, 4000, 0, Ipma(2)) << QSize();
        QTest::newRow("primary item without properties")
            << Heif(6000, 4000, 0, Ipma(), Pitm(3)) << QSize();
        QTest::newRow("property index beyond the list")
            << Heif(6000, 4000, 0, Ipma(1, "\x85")) << QSize();
        const QByteArray wide =
            FullBox("ipma", 1, 1, BE32(1) + BE32(7) + char(1) + QByteArray("\x80\x01", 2));
        QTest::newRow("32-bit item ids, 15-bit indexes")
            << Heif(640, 480, 0, wide, Pitm(7, 1)) << QSize(640, 480);
        QByteArray longMeta = plain;
        longMeta.replace(plain.indexOf("meta") - 4, 4, BE32(quint32(plain.size())));
        QTest::newRow("meta box longer than the file") << longMeta << QSize();
        QByteArray longIspe = plain;
        longIspe.replace(plain.indexOf("ispe") - 4, 4, BE32(0x7FFFFFF0));
        QTest::newRow("ispe box longer than its container") << longIspe << QSize();
        QByteArray tinyBox = plain;
        tinyBox.replace(plain.indexOf("ipco") - 4, 4, BE32(4));
        QTest::newRow("box shorter than its header") << tinyBox << QSize();
        QTest::newRow("cut inside the meta box") << plain.left(plain.size() - 6) << QSize();
    }

    // Read from the header alone; whatever does not add up leaves the size unknown.
    void heifSizeComesFromItsBoxes() {
        QFETCH(QByteArray, data);
        QFETCH(QSize, size);
        const SPictureInfo info = CHeaderProbe::Probe(picfmt::kHeic, data);
        QCOMPARE(QSize(info.nWidth, info.nHeight), size.isEmpty() ? QSize(0, 0) : size);
    }

    void claimsBeyondTheData_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("reason"); // empty: opens
        const QByteArray png = Png(24, 16);
        const qsizetype afterHeader = 8 + 25;
        const QByteArray text = BE32(1300000000) + "tEXtComment" + QByteArray(200, 'x');
        QTest::newRow("PNG text chunk claiming 1.3 GB")
            << png.left(afterHeader) + text + png.mid(afterHeader) << "claims more data";
        QTest::newRow("PNG cut inside its data") << png.left(png.size() - 20) << "incomplete";
        QByteArray wide = png;
        // A few hundred bytes cannot fill 11000 x 11000 (the header's checksum is right).
        wide.replace(16, 8, BE32(11000) + BE32(11000));
        wide.replace(29, 4, BE32(Crc32(QByteArrayView(wide).sliced(12, 17))));
        QTest::newRow("PNG data far too small for its size") << wide << "claims more data";
        QByteArray jpeg = MakeJpeg(64, 32);
        const qsizetype frame = jpeg.indexOf("\xFF\xC0");
        jpeg.replace(frame + 5, 4, QByteArray("\x2A\xF8\x2A\xF8", 4)); // 11000 x 11000
        QTest::newRow("JPEG of 11000 x 11000 in 700 bytes") << jpeg << "claims more data";
        QTest::newRow("BMP of 11000 x 11000 in 154 bytes")
            << Bmp(11000, 11000, 100) << "claims more data";
        QTest::newRow("BMP cut in its rows") << Bmp(24, 16, 24 * 3 * 8) << "incomplete";
        QTest::newRow("BMP without its last row's padding") << Bmp(23, 16, 72 * 15 + 69) << "";
        QTest::newRow("BMP width of 0x80000000") << Bmp(0x80000000u, 16, 100) << "too large";
        QTest::newRow("MSP of 65535 x 2048 in 4 KB") << EmptyMsp(65535, 2048) << "incomplete";
        QTest::newRow("MSP of 24 x 16, lines empty") << EmptyMsp(24, 16) << "incomplete";
    }

    void claimsBeyondTheData() {
        QFETCH(QByteArray, data);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = WriteBytes(
            dir.filePath(
                QString::fromLatin1(QTest::currentDataTag()).left(3).toLower().prepend("x.")),
            data);
        CPictureSource source;
        // Refused at once from the header, or (types decoded whole) when decoded.
        const bool bShown = source.Open(path) && !source.ImageAt(QSize(24, 16)).isNull();
        if (reason.isEmpty()) {
            QVERIFY2(bShown, qPrintable(source.Error()));
            return;
        }
        QVERIFY(!bShown);
        QVERIFY2(source.Error().contains(reason), qPrintable(source.Error()));
        QCOMPARE(source.Info().nWidth, 0);
    }

    // A TIFF's first directory may lie anywhere in the file, past the head that is probed
    // first too: its size and depth are still found.
    void tiffDirectoryFarIntoTheFile() {
        QTemporaryDir dir;
        const QString path = WriteBytes(dir.filePath("far.tif"), FarTiff(300 * 1024));
        CPictureSource source;
        QVERIFY2(source.Open(path), qPrintable(source.Error()));
        QCOMPARE(source.Info().nFormat, picfmt::kTif);
        QCOMPARE(QSize(source.Info().nWidth, source.Info().nHeight), QSize(24, 16));
        QCOMPARE(source.Info().nBitsPerPixel, 24);
        const QImage image = source.ImageAt(QSize(24, 16));
        QVERIFY2(!image.isNull(), qPrintable(source.Error()));
        QVERIFY(Near(image.pixel(2, 8), Qt::red));
        QVERIFY(Near(image.pixel(21, 8), Qt::blue));
    }
};

QTEST_GUILESS_MAIN(TestHostilePictures)
#include "tst_hostilepictures.moc"
