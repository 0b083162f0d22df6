// The size checks a picture passes before its pixels are decoded: ordinary pictures, large
// flat ones that compress far better than photographs included, are never refused, and each
// limit holds exactly where it is set, one step either side of it.
#include "picture/load/CPictureSource.h"
#include "picture/sandbox/DecodeLimits.h"
#include "tests/picture/PictureTestSupport.h"

#include <QtEndian>
#include <QtTest>

using namespace pictest;

namespace {

QByteArray Chunk(const char* type, const QByteArray& body) {
    const QByteArray typed = type + body;
    return BE32(quint32(body.size())) + typed + BE32(Crc32(typed));
}

// A PNG of w x h, 8-bit grey, whose image data is `stream` (a zlib stream).
QByteArray GreyPng(quint32 w, quint32 h, const QByteArray& stream) {
    const QByteArray header = BE32(w) + BE32(h) + QByteArray("\x08\x00\x00\x00\x00", 5);
    return "\x89PNG\r\n\x1a\n" + Chunk("IHDR", header) + Chunk("IDAT", stream) + Chunk("IEND", {});
}

// The zlib stream of `bytes` zero bytes, as compressed as deflate makes it.
QByteArray Zeros(qsizetype bytes) {
    return qCompress(QByteArray(bytes, '\0'), 9).mid(4); // without Qt's length prefix
}

// A picture of one colour in the given pixel format, saved as `type` by Qt's writer.
QByteArray Flat(QSize size, QImage::Format format, const char* type) {
    QImage image(size, format);
    if (format == QImage::Format_Indexed8)
        image.setColorTable({qRgb(200, 30, 30), qRgb(0, 0, 0)});
    if (format == QImage::Format_Mono || format == QImage::Format_Indexed8)
        image.fill(0);
    else
        image.fill(QColor(200, 30, 30, 255));
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, type);
    return data;
}

// A 24-bit bitmap of w x h whose rows hold `data` bytes.
QByteArray Bmp(quint32 w, quint32 h, qsizetype data) {
    QByteArray bmp = "BM" + LE32(quint32(54 + data)) + LE32(0) + LE32(54);
    bmp += LE32(40) + LE32(w) + LE32(h) + LE16(1) + LE16(24) + LE32(0) + LE32(quint32(data));
    bmp += LE32(2835) + LE32(2835) + LE32(0) + LE32(0);
    return bmp + QByteArray(data, '\x7f');
}

// A real JPEG whose frame header claims w x h.
QByteArray JpegClaiming(const QByteArray& jpeg, quint16 w, quint16 h) {
    QByteArray out = jpeg;
    const qsizetype frame = out.indexOf("\xFF\xC0");
    out[frame + 5] = char(h >> 8);
    out[frame + 6] = char(h & 0xFF);
    out[frame + 7] = char(w >> 8);
    out[frame + 8] = char(w & 0xFF);
    return out;
}

QString Write(const QTemporaryDir& dir, const QByteArray& data, const QString& ext) {
    return WriteBytes(dir.filePath(QStringLiteral("picture.") + ext), data);
}

} // namespace

class TestSizeLimits : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void flatPicturesAreShown_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("ext");
        QTest::addColumn<QSize>("size");
        const QSize screen(3000, 2000);
        const struct {
            const char* name;
            QImage::Format format;
        } kinds[] = {
            {"1-bit", QImage::Format_Mono},        {"palette", QImage::Format_Indexed8},
            {"grey", QImage::Format_Grayscale8},   {"16-bit grey", QImage::Format_Grayscale16},
            {"RGB", QImage::Format_RGB32},         {"RGBA", QImage::Format_ARGB32},
            {"16-bit RGBA", QImage::Format_RGBA64}};
        for (const auto& kind : kinds)
            QTest::addRow("flat PNG, %s", kind.name)
                << Flat(screen, kind.format, "PNG") << "png" << screen;
        for (const auto& kind : kinds)
            if (kind.format != QImage::Format_Grayscale16 && kind.format != QImage::Format_RGBA64)
                QTest::addRow("flat BMP, %s", kind.name)
                    << Flat(QSize(1001, 7), kind.format, "BMP") << "bmp" << QSize(1001, 7);
        QTest::newRow("flat JPEG, colour")
            << Flat(screen, QImage::Format_RGB32, "JPEG") << "jpg" << screen;
        QTest::newRow("flat JPEG, grey")
            << Flat(screen, QImage::Format_Grayscale8, "JPEG") << "jpg" << screen;
        // The most a deflate stream expands: one zero byte of rows for every 1032 bytes held.
        QTest::newRow("PNG at deflate's best ratio")
            << GreyPng(9999, 3000, Zeros(10000 * 3000)) << "png" << QSize(9999, 3000);
    }

    // Screenshots and graphics compress a thousand times; they are shown, whole and scaled.
    void flatPicturesAreShown() {
        QFETCH(QByteArray, data);
        QFETCH(QString, ext);
        QFETCH(QSize, size);
        QTemporaryDir dir;
        CPictureSource source;
        QVERIFY2(source.Open(Write(dir, data, ext)), qPrintable(source.Error()));
        QCOMPARE(QSize(source.Info().nWidth, source.Info().nHeight), size);
        QVERIFY2(!source.ImageAt(QSize(300, 200)).isNull(), qPrintable(source.Error()));
    }

    void eachLimitHoldsExactly_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("ext");
        QTest::addColumn<QString>("reason"); // empty: opens
        const QString tooLarge = QStringLiteral("too large");
        const QString damaged = QStringLiteral("claims more data");
        QTest::newRow("PNG 65535 wide")
            << Flat(QSize(65535, 1), QImage::Format_Mono, "PNG") << "png" << QString();
        QTest::newRow("PNG 65536 wide")
            << Flat(QSize(65536, 1), QImage::Format_Mono, "PNG") << "png" << tooLarge;
        QTest::newRow("PNG 65535 high")
            << Flat(QSize(1, 65535), QImage::Format_Mono, "PNG") << "png" << QString();
        QTest::newRow("PNG 65536 high")
            << Flat(QSize(1, 65536), QImage::Format_Mono, "PNG") << "png" << tooLarge;
        // 11585 x 11585 is just below 128 megapixels, 11586 x 11586 just above.
        QTest::newRow("PNG of just below 128 megapixels")
            << Flat(QSize(11585, 11585), QImage::Format_Mono, "PNG") << "png" << QString();
        QTest::newRow("PNG of just above 128 megapixels")
            << Flat(QSize(11586, 11586), QImage::Format_Mono, "PNG") << "png" << tooLarge;
        QTest::newRow("BMP 65535 wide") << Bmp(65535, 1, 65535 * 3) << "bmp" << QString();
        QTest::newRow("BMP 65536 wide") << Bmp(65536, 1, 65536 * 3) << "bmp" << tooLarge;
        // Rows of 1099 grey pixels take 1100 bytes with their filter byte: a stream of n bytes
        // may stand for n rows at most (1100 times its size), and not one more.
        const QByteArray stream = Zeros(1100 * 2000);
        const auto rows = quint32(stream.size());
        QTest::newRow("PNG rows at the deflate bound")
            << GreyPng(1099, rows, stream) << "png" << QString();
        QTest::newRow("PNG one row beyond the deflate bound")
            << GreyPng(1099, rows + 1, stream) << "png" << damaged;
        // A JPEG file of n bytes may hold 1024 n pixels, and not one row more.
        const QByteArray jpeg = MakeJpeg(64, 32);
        const auto bytes = quint16(jpeg.size());
        QTest::newRow("JPEG at 1024 pixels a byte")
            << JpegClaiming(jpeg, 1024, bytes) << "jpg" << QString();
        QTest::newRow("JPEG one row beyond 1024 pixels a byte")
            << JpegClaiming(jpeg, 1024, bytes + 1) << "jpg" << damaged;
        // Rows of 23 pixels take 72 bytes with their padding; the last may come without it.
        QTest::newRow("BMP with one byte of its last row")
            << Bmp(23, 16, 72 * 15 + 1) << "bmp" << QString();
        QTest::newRow("BMP without its last row")
            << Bmp(23, 16, 72 * 15) << "bmp" << QStringLiteral("incomplete");
    }

    // Opening reads the header only; what is refused there says why.
    void eachLimitHoldsExactly() {
        QFETCH(QByteArray, data);
        QFETCH(QString, ext);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        CPictureSource source;
        const bool opened = source.Open(Write(dir, data, ext));
        if (reason.isEmpty()) {
            QVERIFY2(opened, qPrintable(source.Error()));
            return;
        }
        QVERIFY(!opened);
        QVERIFY2(source.Error().contains(reason), qPrintable(source.Error()));
    }
};

QTEST_GUILESS_MAIN(TestSizeLimits)
#include "tst_sizelimits.moc"
