#include "picture/format/PictureFormat.h"
#include "picture/load/CDecodeJob.h"
#include "picture/load/CPictureLoader.h"
#include "picture/load/CPictureSource.h"
#include "picture/view/CImageCtrl.h"
#include "tests/picture/ImageCtrlFixture.h"
#include "tests/picture/PictureTestSupport.h"
#include "tests/support/CDiskTap.h"

#include <QBuffer>
#include <QRegularExpression>
#include <QtTest>

using namespace pictest;

// Showing a picture, stepping back to one decoded before, and learning that one cannot be
// shown, all without a file-system call on the thread that shows it: on a network share
// each call is a round trip that would freeze the window. The header is read by a worker
// and comes back with the figures or the reason.
class TestShowOffThread : public ImageCtrlFixture {
    Q_OBJECT
private Q_SLOTS:
    void init() { SetUp(); }
    void cleanup() {
        CDiskTap::Instance().Stop();
        TearDown();
    }

    void showsWithoutTouchingTheDisk_data() {
        QTest::addColumn<QByteArray>("before"); // the file when first shown; empty: never
        QTest::addColumn<QByteArray>("now");    // the file now; null: there is none
        QTest::addColumn<QSize>("size");        // the figures then shown
        QTest::addColumn<QString>("error");     // or the reason it cannot be shown
        QTest::addColumn<int>("format");        // the real type told with either
        const QByteArray wide = MakeJpeg(400, 200), tall = MakeJpeg(120, 300);
        const int jpg = picfmt::kJpg;
        QTest::newRow("not decoded yet")
            << QByteArray() << wide << QSize(400, 200) << QString() << jpg;
        QTest::newRow("decoded before") << wide << wide << QSize(400, 200) << QString() << jpg;
        QTest::newRow("decoded before, changed since")
            << wide << tall << QSize(120, 300) << QString() << jpg;
        QTest::newRow("decoded before, gone since")
            << wide << QByteArray() << QSize() << "The file does not exist." << 0;
        QTest::newRow("gone") << QByteArray() << QByteArray() << QSize()
                              << "The file does not exist." << 0;
        QTest::newRow("empty") << QByteArray() << QByteArray("") << QSize() << "The file is empty."
                               << 0;
        QTest::newRow("not a picture")
            << QByteArray() << QByteArray("just some words\n") << QSize()
            << "The file is not a picture of a type this program shows." << 0;
        QTest::newRow("a JPEG cut short")
            << QByteArray() << wide.left(wide.size() / 2) << QSize()
            << "The picture data ends early (the file is incomplete)." << jpg;
    }
    void showsWithoutTouchingTheDisk() {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, now);
        QFETCH(QSize, size);
        QFETCH(QString, error);
        QFETCH(int, format);
        const QString path = m_dir.filePath("shown.jpg");
        const QString other = WriteBytes(m_dir.filePath("other.jpg"), MakeJpeg(64, 64));
        if (!before.isEmpty()) {
            Show(WriteBytes(path, before), true);
            QVERIFY(m_ctrl->LastError().isEmpty());
        }
        Show(other, true);
        QFile::remove(path);
        if (!now.isNull())
            WriteBytes(path, now);
        QSignalSpy failed(m_ctrl.get(), &CImageCtrl::PictureFailed);

        CDiskTap& tap = CDiskTap::Instance();
        tap.Watch(QFile::encodeName(QFileInfo(m_dir.path()).canonicalFilePath()));
        Show(path, true);
        QVERIFY(QTest::qWaitFor([this] { return m_ctrl->Loader().RunningCount() == 0; }));
        tap.Stop();

        const QStringList calls = tap.CallsOn(CDiskTap::CurrentThread());
        QVERIFY2(calls.isEmpty(), qPrintable(calls.join(", ")));
        const CImageCtrl::State state = m_ctrl->PictureState();
        QCOMPARE(state.error, error);
        QCOMPARE(failed.count(), error.isEmpty() ? 0 : 1);
        QCOMPARE(state.bShown, error.isEmpty());
        QCOMPARE(QSize(state.width, state.height), size.isValid() ? size : QSize(0, 0));
        QCOMPARE(state.fileSize, qint64(now.size())); // a failure's reason goes with them
        QCOMPARE(state.fileFormat, short(format));
        if (error.isEmpty()) // drawn from its own pixels
            QVERIFY(m_ctrl->IsPictureComplete() && !m_ctrl->DecodedSize().isEmpty());
    }

    // Its header, its type and the check that a JPEG is whole come through one descriptor:
    // on a share each opening of the file is another round trip.
    void openingReadsThroughOneDescriptor_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QSize>("size");
        QImage image(30, 20, QImage::Format_RGB32);
        image.fill(Qt::red);
        QByteArray png;
        QBuffer buffer(&png);
        QVERIFY(buffer.open(QIODevice::WriteOnly) && image.save(&buffer, "PNG"));
        QTest::newRow("JPEG") << MakeJpeg(40, 30) << QSize(40, 30);
        QTest::newRow("PNG") << png << QSize(30, 20);
    }
    void openingReadsThroughOneDescriptor() {
        QFETCH(QByteArray, content);
        QFETCH(QSize, size);
        const QString path = WriteBytes(m_dir.filePath("once"), content);
        CDiskTap& tap = CDiskTap::Instance();
        tap.Watch(QFile::encodeName(QFileInfo(m_dir.path()).canonicalFilePath()));
        CPictureSource source;
        QVERIFY2(source.Open(path), qPrintable(source.Error()));
        tap.Stop();
        QCOMPARE(QSize(source.Info().nWidth, source.Info().nHeight), size);
        const QStringList opens =
            tap.CallsOn(CDiskTap::CurrentThread()).filter(QRegularExpression("^open"));
        QCOMPARE(opens.size(), 1);
    }

    // A decode on a worker reads the picture through the descriptor its header was read
    // with: the preview it stores, the part on screen and the pixels, in this process or in
    // the decoder helper, which gets that descriptor (or a copy made from it).
    void decodeOpensThePictureOnce_data() {
        QTest::addColumn<QString>("fixture"); // empty: a JPEG with its EXIF preview
        QTest::addColumn<QRect>("part");
        QTest::newRow("JPEG, its preview and a part first") << QString() << QRect(8, 8, 40, 30);
        QTest::newRow("PNG") << "png.png" << QRect();
        QTest::newRow("PCX in the helper") << "pcx.pcx" << QRect();
        QTest::newRow("PostScript") << "eps.eps" << QRect();
        QTest::newRow("Microsoft Paint") << "msp1.msp" << QRect();
        QTest::newRow("Windows metafile in the helper") << "wmf.wmf" << QRect();
        QTest::newRow("camera RAW, its preview first") << "dng" << QRect();
    }
    void decodeOpensThePictureOnce() {
        QFETCH(QString, fixture);
        QFETCH(QRect, part);
        const QByteArray jpeg = MakeJpeg(160, 120);
        const bool raw = fixture == "dng";
        const QString path =
            fixture.isEmpty()
                ? WriteBytes(m_dir.filePath("once.jpg"),
                             jpeg.left(2) + ExifPreviewSegment(MakeJpeg(80, 60)) + jpeg.mid(2))
            : raw ? WriteBytes(m_dir.filePath("once.dng"),
                               MakeDng(m_dir, QSize(256, 160), PreviewJpeg({128, 80})))
                  : WriteBytes(m_dir.filePath("once-" + fixture), ReadAll(FixturePath(fixture)));
        SDecodeOrder order;
        order.strPath = path;
        order.client = QSize(200, 200);
        order.bPreview = true;
        order.part = part;
        int stands = 0;
        CDiskTap& tap = CDiskTap::Instance();
        tap.Watch(QFile::encodeName(QFileInfo(m_dir.path()).canonicalFilePath()));
        const SDecodeResult result = CDecodeJob::Decode(
            order, nullptr, [&](const QImage&, QSize) { ++stands; }, {},
            [&](const QImage&) { ++stands; });
        tap.Stop();
        QVERIFY2(!result.image.isNull(), qPrintable(result.strError));
        QCOMPARE(stands, fixture.isEmpty() ? 2 : raw ? 1 : 0);
        const QStringList opens =
            tap.CallsOn(CDiskTap::CurrentThread()).filter(QRegularExpression("^open"));
        QVERIFY2(opens.size() == 1, qPrintable(opens.join(", ")));
    }

    // A camera RAW file shows its own preview, placed at the size it tells, before the
    // helper's picture replaces it; nothing waits for the helper to show something.
    void rawPreviewIsPlacedThenReplaced() {
        const QString path = WriteBytes(m_dir.filePath("first.dng"),
                                        MakeDng(m_dir, QSize(256, 160), PreviewJpeg({32, 20})));
        QVERIFY(!path.isEmpty());
        QList<QString> events;
        CPictureLoader& loader = m_ctrl->Loader();
        connect(&loader, &CPictureLoader::SizeKnown, this, [&events](const QString&, QSize own) {
            events << QStringLiteral("size %1x%2").arg(own.width()).arg(own.height());
        });
        connect(&loader, &CPictureLoader::Decoded, this,
                [this, &events](const QString&, QSize target, const QImage& image) {
                    events << (target.isValid() ? "picture" : "stand-in");
                    // the control, told first, has drawn it at the sensor's size
                    QVERIFY(m_ctrl->IsPictureShown());
                    QCOMPARE(int(m_ctrl->ImageWidth()), 256);
                    QVERIFY(Near(image.pixel(1, image.height() / 2),
                                 target.isValid() ? Qt::red : Qt::green, 70));
                });
        Show(path, true);
        QCOMPARE(events, QStringList({"size 256x160", "stand-in", "size 256x160", "picture"}));
        QVERIFY(m_ctrl->IsPictureComplete());
        QCOMPARE(QSize(int(m_ctrl->ImageWidth()), int(m_ctrl->ImageHeight())), QSize(256, 160));
    }

    // Stepping on before the header of the picture is read: the figures that come later
    // belong to the picture left, and are not taken for the one shown now.
    void lateHeaderOfAPictureLeftIsIgnored() {
        const QString first = WriteBytes(m_dir.filePath("first.jpg"), MakeJpeg(400, 200));
        const QString second = WriteBytes(m_dir.filePath("second.jpg"), MakeJpeg(120, 300));
        QSignalSpy changed(m_ctrl.get(), &CImageCtrl::PictureInfoChanged);
        m_bFit = true;
        m_ctrl->ShowPicture(first, true);
        m_ctrl->ShowPicture(second, true);
        QVERIFY(m_ctrl->WaitForPicture());
        QVERIFY(QTest::qWaitFor([this] { return m_ctrl->Loader().RunningCount() == 0; }));
        QCOMPARE(m_ctrl->LoadedPath(), second);
        QCOMPARE(QSize(int(m_ctrl->ImageWidth()), int(m_ctrl->ImageHeight())), QSize(120, 300));
        QCOMPARE(changed.count(), 1);
    }
};

QTEST_MAIN(TestShowOffThread)
#include "tst_showoffthread.moc"
