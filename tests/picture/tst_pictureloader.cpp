#include "picture/load/CDecodeJob.h"
#include "picture/load/CPictureCache.h"
#include "picture/load/CPictureLoader.h"
#include "tests/picture/PictureTestSupport.h"

#include <QBuffer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtConcurrent>
#include <QtTest>

using namespace pictest;

namespace {
QImage Filled(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::gray);
    return image;
}

QByteArray Integer(quint32 value, int bytes, bool little) {
    QByteArray out;
    for (int i = 0; i < bytes; ++i)
        out += char(value >> (8 * (little ? i : bytes - 1 - i)) & 0xFF);
    return out;
}

QByteArray JpegOf(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 90);
    return bytes;
}

// A JPEG of main's size whose EXIF block holds `thumb` as its preview: directory 0 with
// the orientation, directory 1 with the preview's place (moved by `shift` bytes).
QByteArray WithExifPreview(const QImage& main, const QByteArray& thumb, bool little,
                           int orientation, int shift = 0) {
    const auto u16 = [little](quint32 v) { return Integer(v, 2, little); };
    const auto u32 = [little](quint32 v) { return Integer(v, 4, little); };
    const auto entry = [&](quint32 tag, quint32 type, quint32 value) {
        return u16(tag) + u16(type) + u32(1) + (type == 3 ? u16(value) + u16(0) : u32(value));
    };
    QByteArray tiff = QByteArray(little ? "II*\0" : "MM\0*", 4) + u32(8);
    tiff += u16(1) + entry(0x0112, 3, quint32(orientation)) + u32(26);
    tiff +=
        u16(2) + entry(0x0201, 4, quint32(56 + shift)) + entry(0x0202, 4, quint32(thumb.size()));
    tiff += u32(0) + thumb;
    const QByteArray body = QByteArray("Exif\0\0", 6) + tiff;
    QByteArray jpeg = JpegOf(main);
    jpeg.insert(2, QByteArray("\xFF\xE1", 2) + Integer(quint32(body.size() + 2), 2, false) + body);
    return jpeg;
}

QImage Coloured(int w, int h, Qt::GlobalColor colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A PostScript file Ghostscript never finishes drawing.
QByteArray EndlessPostScript() {
    return "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 24 16\n{ } loop\n";
}
} // namespace

// Decoding on worker threads: the cache of decoded pictures, the jobs, and the loader that
// cancels what is no longer wanted and serves what was decoded ahead.
class TestPictureLoader : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    // Pictures of w x 100 pixels (4 bytes each) go in one after another, a then b then c...
    void cacheKeepsAFewRecentPicturesWithinItsBudget_data() {
        QTest::addColumn<qint64>("budget");
        QTest::addColumn<int>("maxPictures");
        QTest::addColumn<QList<int>>("widths");
        QTest::addColumn<QString>("kept"); // most recent first
        const qint64 kb = 400;             // bytes per pixel column
        QTest::newRow("all fit") << 100 * kb << 6 << QList<int>{10, 10, 10} << "cba";
        QTest::newRow("count limit") << 100 * kb << 2 << QList<int>{10, 10, 10} << "cb";
        QTest::newRow("byte budget") << 25 * kb << 6 << QList<int>{10, 10, 10} << "cb";
        QTest::newRow("too large alone") << 25 * kb << 6 << QList<int>{10, 30} << "a";
        QTest::newRow("large one pushes") << 25 * kb << 6 << QList<int>{10, 10, 20} << "c";
    }

    void cacheKeepsAFewRecentPicturesWithinItsBudget() {
        QFETCH(qint64, budget);
        QFETCH(int, maxPictures);
        QFETCH(QList<int>, widths);
        QFETCH(QString, kept);
        CPictureCache cache(budget, maxPictures);
        QList<QString> paths;
        for (int i = 0; i < widths.size(); ++i) {
            const QString name = QString(QChar('a' + i));
            paths << WriteBytes(m_dir.filePath(name), name.toLatin1());
            cache.Insert({paths.last(), SFileStamp::Of(paths.last()), QSize(widths[i], 100),
                          QSize(widths[i], 100), Filled(widths[i], 100)});
        }
        QVERIFY(cache.Bytes() <= budget);
        QCOMPARE(cache.Count(), int(kept.size()));
        for (int i = 0; i < widths.size(); ++i) {
            const bool expected = kept.contains(QChar('a' + i));
            QCOMPARE(cache.Find(paths[i], SFileStamp::Of(paths[i])) != nullptr, expected);
        }
    }

    // Large pixels the cache drops or the view lets go are freed on another thread, so the
    // window never waits for them; small ones, and ones somebody still holds, are not
    // handed over.
    void pixelsLetGoAreFreedOffTheCallingThread_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<bool>("evicted"); // dropped by the cache rather than let go by a holder
        QTest::addColumn<bool>("stillHeld");
        QTest::addColumn<bool>("elsewhere");
        QTest::newRow("let go, large") << 2048 << false << false << true;
        QTest::newRow("let go, small") << 16 << false << false << false;
        QTest::newRow("let go, still held") << 2048 << false << true << false;
        QTest::newRow("dropped by the cache") << 2048 << true << false << true;
    }

    void pixelsLetGoAreFreedOffTheCallingThread() {
        QFETCH(int, width);
        QFETCH(bool, evicted);
        QFETCH(bool, stillHeld);
        QFETCH(bool, elsewhere);
        struct SFreed {
            QAtomicPointer<QThread> thread;
            uchar* data = nullptr;
        } freed;
        freed.data = new uchar[size_t(width) * 1024 * 4]();
        const auto cleanup = [](void* info) {
            auto* f = static_cast<SFreed*>(info);
            f->thread.storeRelease(QThread::currentThread());
            delete[] f->data;
        };
        QImage image(freed.data, width, 1024, width * 4, QImage::Format_RGB32, cleanup, &freed);
        QImage held = stillHeld ? image : QImage();
        {
            CPictureCache cache(CPictureCache::kDefaultBudget, 1);
            if (evicted) {
                const QString a = WriteBytes(m_dir.filePath("evicted-a"), "a");
                const QString b = WriteBytes(m_dir.filePath("evicted-b"), "b");
                cache.Insert({a, SFileStamp::Of(a), image.size(), image.size(), image});
                image = QImage();
                cache.Insert({b, SFileStamp::Of(b), QSize(4, 4), QSize(4, 4), Filled(4, 4)});
            } else {
                cache.Release(image);
                QVERIFY(image.isNull());
            }
        } // the cache waits for what it hands over
        if (stillHeld) {
            QVERIFY(!freed.thread.loadAcquire());
            held = QImage();
        }
        QVERIFY(freed.thread.loadAcquire());
        QCOMPARE(freed.thread.loadAcquire() != QThread::currentThread(), elsewhere);
    }

    // Rewritten in place (same name, same inode), with another size or only a newer time.
    void cacheNeverServesAChangedFile() {
        const QString path = WriteBytes(m_dir.filePath("changing.jpg"), "first");
        CPictureCache cache;
        const auto insert = [&] {
            cache.Insert({path, SFileStamp::Of(path), QSize(4, 4), QSize(4, 4), Filled(4, 4)});
        };
        insert();
        QVERIFY(cache.Find(path, SFileStamp::Of(path)));
        QVERIFY(!WriteBytes(path, "second!").isEmpty());
        QVERIFY(!cache.Find(path, SFileStamp::Of(path)));
        QCOMPARE(cache.Count(), 0);
        insert();
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(5),
                                 QFileDevice::FileModificationTime));
        file.close();
        QVERIFY(!cache.Find(path, SFileStamp::Of(path)));
        insert();
        QVERIFY(QFile::remove(path));
        QVERIFY(!cache.Find(path, SFileStamp::Of(path)));
    }

    // Every reader, several copies at once on the pool's threads: each job has its own
    // source, and the results match the fixtures.
    void jobsDecodeEveryTypeOnManyThreadsAtOnce() {
        const QStringList files{"png.png", "jpg.jpg", "bmp.bmp", "tif.tif",
                                "tga.tga", "rle.tga", "pcx.pcx", "ras.ras",
                                "psd.psd", "wmf.wmf", "eps.eps", "preview.eps"};
        QList<SDecodeOrder> orders;
        for (int copy = 0; copy < 3; ++copy)
            for (const QString& file : files) {
                SDecodeOrder order;
                order.strPath = FixturePath(file);
                order.client = QSize(48, 32);
                order.bFit = true;
                orders << order;
            }
        const QList<SDecodeResult> results = QtConcurrent::blockingMapped(
            orders, [](const SDecodeOrder& order) { return CDecodeJob::Decode(order, nullptr); });
        for (const SDecodeResult& r : results) {
            QVERIFY2(!r.image.isNull(), qPrintable(r.strPath + ": " + r.strError));
            QCOMPARE(r.ownSize, QSize(24, 16));
            QCOMPARE(r.image.size(), r.target);
            QCOMPARE(r.target, QSize(48, 32));      // fitted at 200 %
            if (!r.strPath.endsWith("preview.eps")) // its own preview is green
                QVERIFY2(Near(r.image.pixel(3, 16), Qt::red), qPrintable(r.strPath));
        }
    }

    void exifPreviewComesFirstWhenItFits_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QSize>("preview"); // empty: none
        const QImage main = Coloured(640, 320, Qt::red);
        const QByteArray thumb = JpegOf(Coloured(32, 16, Qt::green));
        const QByteArray square = JpegOf(Coloured(24, 24, Qt::green));
        const QSize none;
        QTest::newRow("no EXIF block") << JpegOf(main) << none;
        QTest::newRow("little-endian") << WithExifPreview(main, thumb, true, 1) << QSize(32, 16);
        QTest::newRow("big-endian") << WithExifPreview(main, thumb, false, 1) << QSize(32, 16);
        // Turned like the picture: a 16 x 32 picture stored on its side has a turned preview.
        const QImage tall = Coloured(320, 640, Qt::red).transformed(QTransform().rotate(90));
        QTest::newRow("turned") << WithExifPreview(tall, thumb, true, 6) << QSize(16, 32);
        QTest::newRow("other shape") << WithExifPreview(main, square, true, 1) << none;
        QTest::newRow("place beyond the block")
            << WithExifPreview(main, thumb, true, 1, 4000) << none;
        QTest::newRow("not a JPEG inside") << WithExifPreview(main, "garbage", true, 1) << none;
        QTest::newRow("cut inside the block")
            << WithExifPreview(main, thumb, true, 1).left(100) << none;
    }

    // The preview is handed over before the picture, only when it has the picture's shape.
    void exifPreviewComesFirstWhenItFits() {
        QFETCH(QByteArray, file);
        QFETCH(QSize, preview);
        const QString path = WriteBytes(m_dir.filePath("exif.jpg"), file);
        SDecodeOrder order;
        order.strPath = path;
        order.client = QSize(200, 200);
        order.bFit = true;
        order.bPreview = true;
        QImage stand;
        int previews = 0;
        const SDecodeResult r = CDecodeJob::Decode(order, nullptr, [&](QImage image, QSize) {
            ++previews;
            stand = std::move(image);
        });
        QCOMPARE(previews, preview.isEmpty() ? 0 : 1);
        if (preview.isEmpty())
            return;
        QCOMPARE(stand.size(), preview);
        QVERIFY(Near(stand.pixel(stand.width() / 2, stand.height() / 2), Qt::green));
        QVERIFY(Near(r.image.pixel(r.image.width() / 2, r.image.height() / 2), Qt::red));
    }

    // A picture asked for at a known size, or before its size is known (a jump to one not
    // decoded ahead): either way its stored preview is handed on before its pixels.
    void wantedPictureShowsItsPreviewFirst_data() {
        QTest::addColumn<bool>("sizeKnown");
        QTest::newRow("size known") << true;
        QTest::newRow("size not known yet") << false;
    }
    void wantedPictureShowsItsPreviewFirst() {
        QFETCH(bool, sizeKnown);
        const QImage main = Coloured(64, 32, Qt::red);
        const QByteArray thumb = JpegOf(Coloured(32, 16, Qt::green));
        const QString path =
            WriteBytes(m_dir.filePath("wanted.jpg"), WithExifPreview(main, thumb, true, 1));
        CPictureLoader loader;
        QSignalSpy decoded(&loader, &CPictureLoader::Decoded);
        if (sizeKnown)
            QVERIFY(loader.Want(path, QSize(64, 32)).isNull());
        else
            loader.WantSized(path, QSize(200, 100), false, 1.0);
        QTRY_COMPARE_WITH_TIMEOUT(loader.RunningCount(), 0, 10000);
        QCOMPARE(decoded.size(), 2);
        QVERIFY(!decoded[0][1].toSize().isValid()); // the preview, at no size of the view
        QCOMPARE(decoded[0][2].value<QImage>().size(), QSize(32, 16));
        QCOMPARE(decoded[1][1].toSize(), QSize(64, 32));
    }

    // The endless PostScript is asked for, then another picture: the first is cancelled,
    // its Ghostscript stopped long before its 15-second limit, and nothing of it shown.
    void aDecodeNoLongerWantedIsCancelledAndNeverDelivered() {
        const QString endless = WriteBytes(m_dir.filePath("endless.eps"), EndlessPostScript());
        CPictureLoader loader;
        QSignalSpy decoded(&loader, &CPictureLoader::Decoded);
        QSignalSpy failed(&loader, &CPictureLoader::Failed);
        QVERIFY(loader.Want(endless, QSize(24, 16)).isNull());
        QVERIFY(loader.IsWaiting());
        QTest::qWait(300); // Ghostscript is running
        QCOMPARE(loader.RunningCount(), 1);
        QVERIFY(loader.Want(FixturePath("png.png"), QSize(24, 16)).isNull());
        QTRY_COMPARE_WITH_TIMEOUT(decoded.size(), 1, 5000);
        QCOMPARE(decoded[0][0].toString(), FixturePath("png.png"));
        QTRY_COMPARE_WITH_TIMEOUT(loader.RunningCount(), 0, 5000);
        QTest::qWait(50);
        QCOMPARE(decoded.size(), 1);
        QCOMPARE(failed.size(), 0);
        QCOMPARE(loader.Cache().Find(endless, SFileStamp::Of(endless)), nullptr);
        // Asked for again, the same file is decoded afresh (not from the cancelled job).
        QVERIFY(loader.Want(FixturePath("png.png"), QSize(24, 16)).size() == QSize(24, 16));
    }

    // A picture decoded ahead is served at once; one asked for while its decode ahead is
    // running waits for that decode instead of starting another.
    void picturesDecodedAheadAreServedFromTheCache() {
        const QString a = WriteBytes(m_dir.filePath("ahead-a.jpg"), MakeJpeg(1200, 800));
        const QString b = WriteBytes(m_dir.filePath("ahead-b.jpg"), MakeJpeg(800, 1200));
        CPictureLoader loader;
        QSignalSpy decoded(&loader, &CPictureLoader::Decoded);
        const QSize client(300, 200);
        loader.Prefetch({a, b}, client, true, 1.0);
        QCOMPARE(loader.RunningCount(), 2);
        const QSize targetA = CDecodeJob::TargetFor(QSize(1200, 800), client, true, 1.0);
        QCOMPARE(targetA, QSize(300, 200));
        QVERIFY(loader.Want(a, targetA).isNull() || decoded.isEmpty());
        QCOMPARE(loader.RunningCount(), 2); // adopted, not started again
        QTRY_COMPARE_WITH_TIMEOUT(loader.RunningCount(), 0, 10000);
        QVERIFY(!loader.IsWaiting());
        const QSize targetB = CDecodeJob::TargetFor(QSize(800, 1200), client, true, 1.0);
        QCOMPARE(targetB, QSize(128, 192));
        QCOMPARE(loader.Want(b, targetB).size(), targetB);
        QCOMPARE(loader.Want(a, targetA).size(), targetA);
        // The same pictures for a larger view are decoded again, not taken as they are.
        loader.Prefetch({a, b}, QSize(600, 400), true, 1.0);
        QCOMPARE(loader.RunningCount(), 2);
        QTRY_COMPARE_WITH_TIMEOUT(loader.RunningCount(), 0, 10000);
        QCOMPARE(loader.Want(a, QSize(600, 400)).size(), QSize(600, 400));
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestPictureLoader)
#include "tst_pictureloader.moc"
