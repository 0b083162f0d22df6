#include "picture/format/PictureFormat.h"
#include "picture/load/CPictureSource.h"
#include "picture/sandbox/CDecoderClient.h"
#include "tests/picture/PictureTestSupport.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QImageWriter>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <libheif/heif.h>

using namespace pictest;

namespace {
// A lossless 24 x 16 WebP filled with one colour.
QByteArray EncodeWebp(const QColor& colour) {
    QImage image(24, 16, QImage::Format_RGB32);
    image.fill(colour);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "webp");
    writer.setQuality(100); // lossless
    return writer.write(image) ? buffer.data() : QByteArray();
}

void AppendLE24(QByteArray& out, int value) {
    out.append(char(value & 0xff)).append(char((value >> 8) & 0xff)).append(char(value >> 16));
}

QByteArray Chunk(const char* tag, const QByteArray& payload) {
    QByteArray out(tag, 4);
    const quint32 size = quint32(payload.size());
    out.append(reinterpret_cast<const char*>(&size), 4).append(payload); // little-endian host
    if (payload.size() % 2)
        out.append('\0');
    return out;
}

// An animated WebP whose frames are the image chunks of 24 x 16 still WebP files.
QByteArray AnimatedWebp(const QList<QByteArray>& stills) {
    QByteArray vp8x(1, '\x02'); // animation
    vp8x.append(3, '\0');
    AppendLE24(vp8x, 23);
    AppendLE24(vp8x, 15);
    QByteArray body = "WEBP" + Chunk("VP8X", vp8x) + Chunk("ANIM", QByteArray(6, '\0'));
    for (const QByteArray& still : stills) {
        QByteArray frame(6, '\0'); // at 0, 0
        AppendLE24(frame, 23);
        AppendLE24(frame, 15);
        AppendLE24(frame, 100); // milliseconds
        frame.append('\0');
        body += Chunk("ANMF", frame + still.mid(12));
    }
    return Chunk("RIFF", body);
}

// A 24 x 16 picture, red on the left and blue on the right, encoded by heif-enc (HEIC, or
// AVIF with "-A"); empty when the encoder is missing or fails.
// A 16-bit source makes heif-enc store 10 bits a channel.
QByteArray EncodeHeif(const QString& dir, const QString& name, const QStringList& options,
                      bool deep) {
    QImage image(24, 16, deep ? QImage::Format_RGBX64 : QImage::Format_RGB32);
    image.fill(Qt::red);
    for (int y = 0; y < 16; ++y)
        for (int x = 12; x < 24; ++x)
            image.setPixel(x, y, qRgb(0, 0, 255));
    const QString png = dir + QStringLiteral("/source.png");
    const QString out = dir + QLatin1Char('/') + name;
    if (!image.save(png))
        return {};
    QProcess encoder;
    encoder.start(QStringLiteral("heif-enc"),
                  options + QStringList{QStringLiteral("-q"), QStringLiteral("95"),
                                        QStringLiteral("-o"), out, png});
    if (!encoder.waitForFinished(60000) || encoder.exitCode() != 0)
        return {};
    return ReadAll(out);
}
// A 40 x 20 HEIC, red on the left and blue on the right, whose container tells viewers to
// turn or mirror it as EXIF orientation `orientation` would (libheif writes the irot and
// imir boxes; heif-enc cannot). False when it could not be written.
bool WriteTurnedHeic(const QString& path, int orientation) {
    heif_image* image = nullptr;
    if (heif_image_create(40, 20, heif_colorspace_RGB, heif_chroma_interleaved_RGB, &image).code !=
        heif_error_Ok)
        return false;
    heif_image_add_plane(image, heif_channel_interleaved, 40, 20, 8);
    int stride = 0;
    uint8_t* plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
    for (int y = 0; y < 20 && plane; ++y)
        for (int x = 0; x < 40; ++x) {
            uint8_t* px = plane + y * stride + x * 3;
            px[0] = x < 20 ? 255 : 0;
            px[1] = 0;
            px[2] = x < 20 ? 0 : 255;
        }
    heif_context* context = heif_context_alloc();
    heif_encoder* encoder = nullptr;
    bool ok = plane &&
              heif_context_get_encoder_for_format(context, heif_compression_HEVC, &encoder).code ==
                  heif_error_Ok;
    if (ok) {
        heif_encoder_set_lossy_quality(encoder, 95);
        heif_encoding_options* options = heif_encoding_options_alloc();
        options->image_orientation = heif_orientation(orientation);
        ok = heif_context_encode_image(context, image, encoder, options, nullptr).code ==
                 heif_error_Ok &&
             heif_context_write_to_file(context, QFile::encodeName(path).constData()).code ==
                 heif_error_Ok;
        heif_encoding_options_free(options);
        heif_encoder_release(encoder);
    }
    heif_context_free(context);
    heif_image_release(image);
    return ok;
}
} // namespace

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
        // The header tells the right size, or none (the pixels then tell it).
        const QSize header(source.Info().nWidth, source.Info().nHeight);
        QVERIFY2(header.isNull() || header == size, qPrintable(file));
        QCOMPARE(source.SizePending(), header.isNull());
        const QImage image = source.ImageAt(size);
        QVERIFY2(!image.isNull(), qPrintable(source.Error()));
        QCOMPARE(image.size(), size);
        QCOMPARE(QSize(source.Info().nWidth, source.Info().nHeight), size);
        QCOMPARE(source.Info().nBitsPerPixel, bits);
        const int y = size.height() / 2;
        QVERIFY2(Near(image.pixel(2, y), left), qPrintable(QColor(image.pixel(2, y)).name()));
        QVERIFY2(Near(image.pixel(size.width() - 3, y), right),
                 qPrintable(QColor(image.pixel(size.width() - 3, y)).name()));
        QCOMPARE(CPictureSource::DetectFileFormat(FixturePath(file)), format);
    }

    // WebP made here: a still picture, and an animation that shows its first frame.
    void webpStillAndAnimatedShowTheFirstFrame() {
        QTemporaryDir dir;
        const QByteArray red = EncodeWebp(Qt::red), blue = EncodeWebp(Qt::blue);
        QVERIFY(red.startsWith("RIFF") && red.mid(12, 4) == "VP8L");
        const QStringList files{WriteBytes(dir.filePath("still.webp"), red),
                                WriteBytes(dir.filePath("moving.WebP"), AnimatedWebp({red, blue}))};
        for (const QString& path : files) {
            CPictureSource source;
            QVERIFY2(source.Open(path), qPrintable(path + ": " + source.Error()));
            QCOMPARE(source.Info().nFormat, picfmt::kWebp);
            QCOMPARE(QSize(source.Info().nWidth, source.Info().nHeight), QSize(24, 16));
            QCOMPARE(source.Info().nBitsPerPixel, 24); // from the header: Qt's reader tells none
            const QImage image = source.ImageAt(QSize(24, 16));
            QVERIFY2(!image.isNull(), qPrintable(source.Error()));
            QVERIFY2(Near(image.pixel(12, 8), Qt::red), qPrintable(path));
        }
        // A RIFF file of another kind is no WebP.
        QCOMPARE(CPictureSource::DetectFileFormat(WriteBytes(
                     dir.filePath("sound.webp"), QByteArray("RIFF\x10\0\0\0WAVEfmt ", 16))),
                 picfmt::kUnknown);
    }

    // HEIC and AVIF go through the decoder helper; their type comes from the brands of the
    // file's first box.
    void heicAndAvifDecodeInTheHelper_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("format");
        QTest::addColumn<bool>("deep");
        QTest::newRow("HEIC") << "photo.HEIC" << QStringList() << int(picfmt::kHeic) << false;
        QTest::newRow("HEIC of 10 bits")
            << "deep.heic" << QStringList{"-b", "10"} << int(picfmt::kHeic) << true;
        QTest::newRow("AVIF") << "photo.avif" << QStringList{"-A"} << int(picfmt::kAvif) << false;
    }

    void heicAndAvifDecodeInTheHelper() {
        QFETCH(QString, name);
        QFETCH(QStringList, options);
        QFETCH(int, format);
        QFETCH(bool, deep);
        QTemporaryDir dir;
        const QByteArray data = EncodeHeif(dir.path(), name, options, deep);
        QVERIFY2(!data.isEmpty(), "heif-enc (libheif-examples) could not make the fixture");
        const QString path = dir.filePath(name);
        CPictureSource source;
        QVERIFY2(source.Open(path), qPrintable(source.Error()));
        QCOMPARE(source.Info().nFormat, format);
        QCOMPARE(QSize(source.Info().nWidth, source.Info().nHeight), QSize(24, 16)); // header
        const QImage image = source.ImageAt(QSize(24, 16));
        QVERIFY2(!image.isNull(), qPrintable(source.Error()));
        QCOMPARE(QSize(source.Info().nWidth, source.Info().nHeight), QSize(24, 16));
        QCOMPARE(source.Info().nBitsPerPixel, 24);
        QVERIFY2(Near(image.pixel(3, 8), Qt::red, 60),
                 qPrintable(QColor(image.pixel(3, 8)).name()));
        QVERIFY2(Near(image.pixel(20, 8), Qt::blue, 60),
                 qPrintable(QColor(image.pixel(20, 8)).name()));
        // Cut short, the file is refused with a reason, not shown half.
        const QString cut = WriteBytes(dir.filePath("cut-" + name), data.left(data.size() / 2));
        QVERIFY(source.Open(cut));
        QVERIFY(source.ImageAt({}).isNull() && !source.Error().isEmpty());
        // A video file shares the first box but not the brands.
        const QByteArray video("\0\0\0\x18"
                               "ftypisom\0\0\0\0isomiso2",
                               24);
        QCOMPARE(CPictureSource::DetectFileFormat(WriteBytes(dir.filePath("clip.heic"), video)),
                 picfmt::kUnknown);
    }

    // A HEIC's container turns and mirrors the picture (irot, imir): shown upright, and the
    // size told is the upright one.
    void heicTurnedByItsContainer_data() {
        QTest::addColumn<int>("orientation");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("redAt"); // in tenths of the width and height
        QTest::addColumn<QPoint>("blueAt");
        QTest::newRow("as stored") << 1 << QSize(40, 20) << QPoint(1, 5) << QPoint(9, 5);
        QTest::newRow("mirrored") << 2 << QSize(40, 20) << QPoint(9, 5) << QPoint(1, 5);
        QTest::newRow("upside down") << 3 << QSize(40, 20) << QPoint(9, 5) << QPoint(1, 5);
        QTest::newRow("a quarter clockwise") << 6 << QSize(20, 40) << QPoint(5, 1) << QPoint(5, 9);
        QTest::newRow("a quarter anticlockwise")
            << 8 << QSize(20, 40) << QPoint(5, 9) << QPoint(5, 1);
    }

    void heicTurnedByItsContainer() {
        QFETCH(int, orientation);
        QFETCH(QSize, size);
        QFETCH(QPoint, redAt);
        QFETCH(QPoint, blueAt);
        QTemporaryDir dir;
        const QString path = dir.filePath("turned.heic");
        QVERIFY2(WriteTurnedHeic(path, orientation), "libheif could not write the fixture");
        CPictureSource source;
        QVERIFY2(source.Open(path), qPrintable(source.Error()));
        QCOMPARE(source.Info().nFormat, picfmt::kHeic);
        const QImage image = source.ImageAt(size);
        QVERIFY2(!image.isNull(), qPrintable(source.Error()));
        QCOMPARE(QSize(source.Info().nWidth, source.Info().nHeight), size);
        const auto at = [&image](QPoint tenths) {
            return image.pixel(tenths.x() * (image.width() - 1) / 10,
                               tenths.y() * (image.height() - 1) / 10);
        };
        QVERIFY2(Near(at(redAt), Qt::red, 60), qPrintable(QColor(at(redAt)).name()));
        QVERIFY2(Near(at(blueAt), Qt::blue, 60), qPrintable(QColor(at(blueAt)).name()));
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
