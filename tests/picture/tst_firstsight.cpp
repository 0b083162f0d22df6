// The first sight of a picture decoded in the helper: the preview the file stores comes
// before the whole picture, and the helper can be started ahead of the first picture.
#include "PictureTestSupport.h"
#include "picture/format/PictureFormat.h"
#include "picture/load/CDecodeJob.h"
#include "picture/sandbox/CDecoderClient.h"

#include <QtTest>
#include <libheif/heif.h>

#include <fcntl.h>
#include <unistd.h>

namespace {

// A HEIC of `size` in one grey, with a thumbnail item of at most `thumb` pixels a side
// when `thumb` is above 0 (as cameras and phones store them).
bool WriteHeic(const QString& path, QSize size, int thumb) {
    heif_image* image = nullptr;
    if (heif_image_create(size.width(), size.height(), heif_colorspace_RGB,
                          heif_chroma_interleaved_RGB, &image)
            .code != heif_error_Ok)
        return false;
    heif_image_add_plane(image, heif_channel_interleaved, size.width(), size.height(), 8);
    int stride = 0;
    uint8_t* plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
    for (int y = 0; y < size.height() && plane; ++y)
        std::fill(plane + y * stride, plane + y * stride + size.width() * 3, uint8_t(90));
    heif_context* context = heif_context_alloc();
    heif_encoder* encoder = nullptr;
    heif_image_handle* handle = nullptr;
    bool ok = plane &&
              heif_context_get_encoder_for_format(context, heif_compression_HEVC, &encoder).code ==
                  heif_error_Ok;
    ok = ok &&
         heif_context_encode_image(context, image, encoder, nullptr, &handle).code == heif_error_Ok;
    if (ok && thumb > 0)
        ok = heif_context_encode_thumbnail(context, image, handle, encoder, nullptr, thumb, nullptr)
                 .code == heif_error_Ok;
    ok = ok && heif_context_write_to_file(context, QFile::encodeName(path).constData()).code ==
                   heif_error_Ok;
    if (handle)
        heif_image_handle_release(handle);
    if (encoder)
        heif_encoder_release(encoder);
    heif_context_free(context);
    heif_image_release(image);
    return ok;
}

CDecoderClient::SResult PreviewOf(const QString& path, int format) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    CDecoderClient::SResult result = CDecoderClient::DecodePreview(fd, format);
    ::close(fd);
    return result;
}

} // namespace

class TestFirstSight : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { pictest::ResetDecoderClient(); }

    // Only a file that stores a preview gives one; the helper never decodes the whole
    // picture in its stead.
    void previewOnlyWhereStored_data() {
        QTest::addColumn<int>("thumb");
        QTest::addColumn<QSize>("expected");
        QTest::newRow("thumbnail item") << 64 << QSize(64, 48);
        QTest::newRow("none") << 0 << QSize(0, 0);
    }
    void previewOnlyWhereStored() {
        QFETCH(int, thumb);
        QFETCH(QSize, expected);
        QTemporaryDir dir;
        const QString path = dir.filePath("a.heic");
        QVERIFY(WriteHeic(path, QSize(320, 240), thumb));
        const CDecoderClient::SResult result = PreviewOf(path, picfmt::kHeic);
        QCOMPARE(result.image.size(), expected);
        QCOMPARE(result.strError.isEmpty(), !expected.isEmpty());
    }

    // Types without a preview task are refused, whatever the file holds.
    void otherTypesHaveNoHelperPreview_data() {
        QTest::addColumn<int>("format");
        QTest::newRow("JPEG") << picfmt::kJpg;
        QTest::newRow("RAW") << picfmt::kRaw;
        QTest::newRow("PostScript") << picfmt::kEps;
    }
    void otherTypesHaveNoHelperPreview() {
        QFETCH(int, format);
        QTemporaryDir dir;
        const QString path = pictest::WriteBytes(dir.filePath("a"), pictest::MakeJpeg(32, 16));
        const CDecoderClient::SResult result = PreviewOf(path, format);
        QVERIFY(result.image.isNull());
        QVERIFY(!result.strError.isEmpty());
    }

    // A decode asked with a preview hands the stored preview on first, then the picture.
    void decodeShowsThePreviewFirst_data() {
        QTest::addColumn<bool>("preview");
        QTest::addColumn<int>("previews");
        QTest::newRow("asked") << true << 1;
        QTest::newRow("not asked (decoded ahead)") << false << 0;
    }
    void decodeShowsThePreviewFirst() {
        QFETCH(bool, preview);
        QFETCH(int, previews);
        QTemporaryDir dir;
        const QString path = dir.filePath("a.heic");
        QVERIFY(WriteHeic(path, QSize(320, 240), 64));
        SDecodeOrder order;
        order.strPath = path;
        order.target = QSize(320, 240);
        order.bPreview = preview;
        QList<QSize> stands;
        const SDecodeResult result = CDecodeJob::Decode(
            order, nullptr, [&](const QImage& image, QSize) { stands << image.size(); });
        QCOMPARE(stands.size(), previews);
        if (previews)
            QCOMPARE(stands.front(), QSize(64, 48));
        QCOMPARE(result.image.size(), QSize(320, 240));
    }

    // A camera RAW file's own preview is read in the program and comes first, with the
    // picture's size, preceded by its thumbnail where the preview is slow to decode; the
    // helper's decode follows and is the picture (the sensor's data where the preview is too
    // small for the view).
    void rawPreviewComesFirst_data() {
        QTest::addColumn<QSize>("preview");   // empty: none stored
        QTest::addColumn<QSize>("thumbnail"); // empty: none stored
        QTest::addColumn<bool>("asked");
        QTest::addColumn<QSize>("client");
        QTest::addColumn<QList<QSize>>("stands"); // in the order given
        QTest::addColumn<QColor>("final");        // the colour on the left of the picture
        const QSize none, thumb(64, 40);
        QTest::newRow("preview twice the view, at 1/4")
            << QSize(128, 80) << none << true << QSize(64, 40) << QList<QSize>{{32, 20}}
            << QColor(Qt::green);
        QTest::newRow("small preview, then the sensor's data")
            << QSize(32, 20) << none << true << QSize(128, 80) << QList<QSize>{{32, 20}}
            << QColor(Qt::red);
        QTest::newRow("no preview")
            << none << none << true << QSize(64, 40) << QList<QSize>{} << QColor(Qt::red);
        QTest::newRow("decoded ahead") << QSize(128, 80) << thumb << false << QSize(64, 40)
                                       << QList<QSize>{} << QColor(Qt::green);
        QTest::newRow("large preview: the thumbnail, then the preview at 1/8")
            << QSize(2560, 1600) << thumb << true << QSize(128, 80)
            << QList<QSize>{thumb, {320, 200}} << QColor(Qt::green);
        QTest::newRow("quick preview: no thumbnail")
            << QSize(128, 80) << thumb << true << QSize(64, 40) << QList<QSize>{{32, 20}}
            << QColor(Qt::green);
        QTest::newRow("thumbnail alone, then the sensor's data")
            << none << thumb << true << QSize(128, 80) << QList<QSize>{thumb} << QColor(Qt::red);
    }
    void rawPreviewComesFirst() {
        QFETCH(QSize, preview);
        QFETCH(QSize, thumbnail);
        QFETCH(bool, asked);
        QFETCH(QSize, client);
        QFETCH(QList<QSize>, stands);
        QFETCH(QColor, final);
        QTemporaryDir dir;
        const QByteArray dng = pictest::MakeDng(
            dir, QSize(256, 160), preview.isEmpty() ? QByteArray() : pictest::PreviewJpeg(preview),
            1, -1, thumbnail.isEmpty() ? QImage() : pictest::SplitPicture(thumbnail));
        QVERIFY2(!dng.isEmpty(), "make-dng.py (python3) could not make the fixture");
        SDecodeOrder order;
        order.strPath = pictest::WriteBytes(dir.filePath("a.dng"), dng);
        order.client = client;
        order.bFit = true;
        order.bPreview = asked;
        QList<QSize> given;
        const SDecodeResult result =
            CDecodeJob::Decode(order, nullptr, [&](const QImage& image, QSize own) {
                QCOMPARE(own, QSize(256, 160));
                QVERIFY(pictest::Near(image.pixel(1, image.height() / 2), Qt::green, 70));
                given << image.size();
            });
        QCOMPARE(given, stands);
        QVERIFY2(!result.image.isNull(), qPrintable(result.strError));
        QCOMPARE(result.ownSize, QSize(256, 160));
        QCOMPARE(result.image.size(), client);
        QVERIFY(pictest::Near(result.image.pixel(1, client.height() / 2), final, 70));
    }

    void warmRunAnswers() {
        QVERIFY(CDecoderClient::Warm());
        CDecoderClient::SetHelper(QStringLiteral("/nonexistent/vantrel-decoder"));
        QVERIFY(!CDecoderClient::Warm()); // no helper: nothing started, nothing breaks
    }
};

QTEST_GUILESS_MAIN(TestFirstSight)
#include "tst_firstsight.moc"
