// Thumbnails made on worker threads for a view: made and kept in the cache, reused as
// found there, made again when the picture changed, and failures noted.
#include "picture/thumbs/CThumbnailLoader.h"
#include "picture/thumbs/CThumbnailMaker.h"
#include "tests/picture/PictureTestSupport.h"
#include "tests/support/NativeTempDir.h"

#include <QImageReader>
#include <QImageWriter>
#include <QSignalSpy>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>

using namespace pictest;

namespace {
constexpr int kPatience = 60000; // a bound for a hung worker, not a measure of speed

qint64 MTimeOf(const QByteArray& path) {
    struct stat st {};
    return ::stat(path.constData(), &st) == 0 ? qint64(st.st_mtime) : -1;
}

// The picture with an EXIF block carrying `preview`, as cameras store it.
QByteArray WithExifPreview(const QByteArray& jpeg, const QByteArray& preview) {
    return jpeg.left(2) + ExifPreviewSegment(preview) + jpeg.mid(2);
}

// Asks until the loader answers: the first ask starts the work, Ready says it is done.
QImage Await(CThumbnailLoader& loader, const QByteArray& path) {
    QSignalSpy ready(&loader, &CThumbnailLoader::Ready);
    QImage image = loader.Thumbnail(path);
    while (image.isNull() && !loader.HasFailed(path)) {
        if (!ready.wait(kPatience))
            return {};
        image = loader.Thumbnail(path);
    }
    return image;
}
} // namespace

class tst_ThumbLoader : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void handMadeThumbnail_data();
    void handMadeThumbnail();
    void madeAndKept();
    void cameraPreviewWhenLargeEnough_data();
    void cameraPreviewWhenLargeEnough();
    void failureNotedAndNotRetried();
    void latestRequestFirst();

private:
    std::unique_ptr<NativeTempDir> m_dir;
    QByteArray m_picture;
    QString m_root;
};

void tst_ThumbLoader::init() {
    m_dir = std::make_unique<NativeTempDir>();
    m_root = m_dir->path() + QStringLiteral("/thumbnails");
    m_picture = m_dir->NativePath() + "/photo one.jpg";
    QVERIFY(!WriteBytes(QFile::decodeName(m_picture), MakeJpeg(800, 600)).isEmpty());
}

void tst_ThumbLoader::cleanup() {
    m_dir.reset();
}

void tst_ThumbLoader::handMadeThumbnail_data() {
    QTest::addColumn<int>("mtimeOffset");
    QTest::addColumn<bool>("reused");
    QTest::newRow("up to date: used as it is") << 0 << true;
    QTest::newRow("picture changed since: made again") << -1 << false;
}

void tst_ThumbLoader::handMadeThumbnail() {
    QFETCH(int, mtimeOffset);
    QFETCH(bool, reused);
    const CThumbnailCache cache(m_root);
    const QString path = cache.ThumbnailPath(m_picture);
    QDir().mkpath(QFileInfo(path).path());
    QImage mine(128, 96, QImage::Format_RGB32);
    mine.fill(Qt::green);
    mine.setText(QStringLiteral("Thumb::URI"),
                 QString::fromLatin1(CThumbnailCache::FileUri(m_picture)));
    mine.setText(QStringLiteral("Thumb::MTime"), QString::number(MTimeOf(m_picture) + mtimeOffset));
    QVERIFY(mine.save(path, "png"));

    CThumbnailLoader loader(cache);
    const QImage image = Await(loader, m_picture);
    QVERIFY(!image.isNull());
    QCOMPARE(Near(image.pixel(10, 48), Qt::green), reused);
    QCOMPARE(Near(image.pixel(10, 48), Qt::red), !reused);
    QImageReader onDisk(path, "png");
    QCOMPARE(onDisk.read().text(QStringLiteral("Thumb::MTime")),
             QString::number(MTimeOf(m_picture)));
}

void tst_ThumbLoader::madeAndKept() {
    CThumbnailLoader loader{CThumbnailCache(m_root)};
    const QImage image = Await(loader, m_picture);
    QCOMPARE(image.size(), QSize(128, 96));
    QVERIFY(Near(image.pixel(10, 48), Qt::red));
    QVERIFY(Near(image.pixel(118, 48), Qt::blue));
    const QImage kept = CThumbnailCache(m_root).Find(m_picture, MTimeOf(m_picture));
    QCOMPARE(kept.size(), QSize(128, 96));
    // A second loader (the next run) takes it from the disk: the picture is not read again
    // (here it could not be: its content is gone, its time the same).
    const qint64 mtime = MTimeOf(m_picture);
    QVERIFY(!WriteBytes(QFile::decodeName(m_picture), "gone").isEmpty());
    const struct timespec times[2] = {{0, UTIME_OMIT}, {time_t(mtime), 0}};
    QCOMPARE(::utimensat(AT_FDCWD, m_picture.constData(), times, 0), 0);
    CThumbnailLoader next{CThumbnailCache(m_root)};
    QCOMPARE(Await(next, m_picture).size(), QSize(128, 96));
}

void tst_ThumbLoader::cameraPreviewWhenLargeEnough_data() {
    QTest::addColumn<int>("edge");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("fromPreview");
    QTest::newRow("normal: the preview, scaled")
        << CThumbnailCache::kNormalEdge << QSize(128, 96) << true;
    QTest::newRow("large: the preview is too small")
        << CThumbnailCache::kLargeEdge << QSize(256, 192) << false;
}

// The preview is green and magenta, the picture red and blue: the colours tell which was
// used.
void tst_ThumbLoader::cameraPreviewWhenLargeEnough() {
    QFETCH(int, edge);
    QFETCH(QSize, size);
    QFETCH(bool, fromPreview);
    const QString path = QFile::decodeName(m_picture);
    QVERIFY(
        !WriteBytes(path, WithExifPreview(MakeJpeg(800, 600), PreviewJpeg({160, 120}))).isEmpty());
    const QImage image = CThumbnailMaker::Make(m_picture, edge);
    QCOMPARE(image.size(), size);
    QCOMPARE(Near(image.pixel(10, size.height() / 2), Qt::green), fromPreview);
    QCOMPARE(Near(image.pixel(10, size.height() / 2), Qt::red), !fromPreview);
}

void tst_ThumbLoader::failureNotedAndNotRetried() {
    const QByteArray broken = m_dir->NativePath() + "/broken.jpg";
    QVERIFY(!WriteBytes(QFile::decodeName(broken), "\xFF\xD8\xFF\xE0 not a picture").isEmpty());
    CThumbnailLoader loader{CThumbnailCache(m_root)};
    QVERIFY(Await(loader, broken).isNull());
    QVERIFY(loader.HasFailed(broken));
    QVERIFY(CThumbnailCache(m_root).HasFailed(broken, MTimeOf(broken)));
    QVERIFY(loader.Thumbnail(broken).isNull());
    QCOMPARE(loader.RunningCount() + loader.WaitingCount(), 0); // not asked again
}

// With every worker busy, what was asked for last is made first, and the oldest requests
// are dropped beyond the limit.
void tst_ThumbLoader::latestRequestFirst() {
    CThumbnailLoader loader{CThumbnailCache(m_root)};
    QList<QByteArray> paths;
    for (int i = 0; i < CThumbnailLoader::kMaxWaiting + 10; ++i)
        paths << m_dir->NativePath() + "/missing-" + QByteArray::number(i) + ".jpg";
    for (const QByteArray& path : paths)
        loader.Thumbnail(path);
    QCOMPARE(loader.WaitingCount(), CThumbnailLoader::kMaxWaiting);
    // Before the last one asked for is done, only the two that ran already and the one
    // started beside it can be.
    QSignalSpy ready(&loader, &CThumbnailLoader::Ready);
    const QSet<QByteArray> mayBeFirst{paths.at(0), paths.at(1), paths.at(paths.size() - 2)};
    for (int seen = 0;; ++seen) {
        while (ready.count() <= seen)
            QVERIFY(ready.wait(kPatience));
        const QByteArray done = ready.at(seen).at(0).toByteArray();
        if (done == paths.last())
            break;
        QVERIFY2(mayBeFirst.contains(done), done.constData());
    }
}

QTEST_GUILESS_MAIN(tst_ThumbLoader)
#include "tst_thumbloader.moc"
