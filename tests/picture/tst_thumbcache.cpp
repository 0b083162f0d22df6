// The thumbnail cache on disk, checked against the shared naming and chunks of the
// desktop's thumbnails, with thumbnails written here by hand as another program would.
#include "picture/thumbs/CThumbnailCache.h"
#include "tests/support/NativeTempDir.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QTest>
#include <QtEndian>

#include <sys/stat.h>
#include <unistd.h>

namespace {
// A thumbnail as another program writes it: the MD5 of the URI it is given, its chunks.
void WriteByHand(const QString& path, const QByteArray& uri, const QString& mtime, QColor colour) {
    QDir().mkpath(QFileInfo(path).path());
    QImage image(128, 96, QImage::Format_RGB32);
    image.fill(colour);
    if (!uri.isNull())
        image.setText(QStringLiteral("Thumb::URI"), QString::fromLatin1(uri));
    if (!mtime.isNull())
        image.setText(QStringLiteral("Thumb::MTime"), mtime);
    QVERIFY(image.save(path, "png"));
}
QString Md5Name(const QByteArray& uri) {
    return QString::fromLatin1(QCryptographicHash::hash(uri, QCryptographicHash::Md5).toHex()) +
           QStringLiteral(".png");
}
int ModeOf(const QString& path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 0777) : -1;
}
} // namespace

class tst_ThumbCache : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void uriEscapesAsTheDesktop_data();
    void uriEscapesAsTheDesktop();
    void nameIsTheMd5OfTheUri();
    void handMadeThumbnailUsedAsItIs_data();
    void handMadeThumbnailUsedAsItIs();
    void storedThumbnailCarriesTheChunks();
    void chunksAreReadableByTheDesktop_data();
    void chunksAreReadableByTheDesktop();
    void storedPrivatelyAndWhole();
    void largeThumbnailsInTheirOwnFolder();
    void failureNotedUntilThePictureChanges();
    void plantedLinkIsNeitherReadNorWrittenThrough();
    void defaultRootFollowsXdgCacheHome();
};

void tst_ThumbCache::uriEscapesAsTheDesktop_data() {
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<QByteArray>("uri");
    QTest::newRow("plain") << QByteArray("/home/jens/photos/me.png")
                           << QByteArray("file:///home/jens/photos/me.png");
    QTest::newRow("space") << QByteArray("/p/a b.jpg") << QByteArray("file:///p/a%20b.jpg");
    QTest::newRow("kept marks") << QByteArray("/p/!$&'()*+,-.:=@_~.jpg")
                                << QByteArray("file:///p/!$&'()*+,-.:=@_~.jpg");
    QTest::newRow("escaped marks") << QByteArray("/p/#%?;[]^`{}|\"<>\\.jpg")
                                   << QByteArray("file:///p/%23%25%3F%3B%5B%5D%5E%60%7B%7D%7C%22%"
                                                 "3C%3E%5C.jpg");
    QTest::newRow("utf-8") << QByteArray("/p/\xC3\xA4.jpg") << QByteArray("file:///p/%C3%A4.jpg");
    QTest::newRow("not utf-8") << QByteArray("/p/\xFF\x01.jpg")
                               << QByteArray("file:///p/%FF%01.jpg");
}

void tst_ThumbCache::uriEscapesAsTheDesktop() {
    QFETCH(QByteArray, path);
    QFETCH(QByteArray, uri);
    QCOMPARE(CThumbnailCache::FileUri(path), uri);
}

// The example the shared naming gives.
void tst_ThumbCache::nameIsTheMd5OfTheUri() {
    QCOMPARE(CThumbnailCache::FileName("file:///home/jens/photos/me.png"),
             QStringLiteral("c6ee772d9e49320e97ec29a7eb5b1697.png"));
    const CThumbnailCache cache(QStringLiteral("/c/thumbnails"));
    QCOMPARE(cache.ThumbnailPath("/home/jens/photos/me.png"),
             QStringLiteral("/c/thumbnails/normal/c6ee772d9e49320e97ec29a7eb5b1697.png"));
}

void tst_ThumbCache::handMadeThumbnailUsedAsItIs_data() {
    QTest::addColumn<QByteArray>("uriWritten");
    QTest::addColumn<QString>("mtimeWritten");
    QTest::addColumn<bool>("used");
    QTest::newRow("its own") << QByteArray("file:///pics/a%20b.jpg") << QStringLiteral("1700000000")
                             << true;
    QTest::newRow("older picture")
        << QByteArray("file:///pics/a%20b.jpg") << QStringLiteral("1699999999") << false;
    QTest::newRow("another file") << QByteArray("file:///pics/other.jpg")
                                  << QStringLiteral("1700000000") << false;
    QTest::newRow("no time") << QByteArray("file:///pics/a%20b.jpg") << QString() << false;
    QTest::newRow("no uri") << QByteArray() << QStringLiteral("1700000000") << false;
}

void tst_ThumbCache::handMadeThumbnailUsedAsItIs() {
    QFETCH(QByteArray, uriWritten);
    QFETCH(QString, mtimeWritten);
    QFETCH(bool, used);
    NativeTempDir root;
    const QString name = Md5Name("file:///pics/a%20b.jpg");
    WriteByHand(root.path() + QStringLiteral("/normal/") + name, uriWritten, mtimeWritten,
                Qt::magenta);
    const QImage found = CThumbnailCache(root.path()).Find("/pics/a b.jpg", 1700000000);
    QCOMPARE(!found.isNull(), used);
    if (used) {
        QCOMPARE(found.size(), QSize(128, 96));
        QCOMPARE(QColor(found.pixel(60, 40)), QColor(Qt::magenta));
    }
}

void tst_ThumbCache::storedThumbnailCarriesTheChunks() {
    NativeTempDir root;
    const CThumbnailCache cache(root.path());
    QImage picture(400, 300, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    QVERIFY(cache.Store("/pics/a b.jpg", 1700000000, picture));
    const QString path =
        root.path() + QStringLiteral("/normal/") + Md5Name("file:///pics/a%20b.jpg");
    const QImage stored(path, "png");
    QCOMPARE(stored.text(QStringLiteral("Thumb::URI")), QStringLiteral("file:///pics/a%20b.jpg"));
    QCOMPARE(stored.text(QStringLiteral("Thumb::MTime")), QStringLiteral("1700000000"));
    QCOMPARE(stored.size(), QSize(128, 96)); // fitted to the edge
    QCOMPARE(cache.Find("/pics/a b.jpg", 1700000000).size(), QSize(128, 96));
    QVERIFY(cache.Find("/pics/a b.jpg", 1700000001).isNull());
}

// Other programs read the two keys from plain tEXt chunks and pass compressed ones over,
// whatever the length of the URI; a picture's own texts are not carried over.
void tst_ThumbCache::chunksAreReadableByTheDesktop_data() {
    QTest::addColumn<QByteArray>("path");
    QTest::newRow("short") << QByteArray("/a.jpg");
    QTest::newRow("long") << QByteArray("/home/someone/Pictures/2026/Holiday in the hills/"
                                        "DSC_0001 (edited).jpg");
}

void tst_ThumbCache::chunksAreReadableByTheDesktop() {
    QFETCH(QByteArray, path);
    NativeTempDir root;
    const CThumbnailCache cache(root.path());
    QImage picture(300, 200, QImage::Format_RGB32);
    picture.fill(Qt::gray);
    picture.setText(QStringLiteral("Thumb::URI"), QStringLiteral("file:///elsewhere.png"));
    QVERIFY(cache.Store(path, 1700000000, picture));
    QFile file(cache.ThumbnailPath(path));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray png = file.readAll();
    QMap<QByteArray, QByteArrayList> texts; // key: every text of a tEXt chunk
    QByteArrayList types;
    for (qsizetype at = 8; at + 12 <= png.size();) {
        const auto length = qsizetype(qFromBigEndian<quint32>(png.constData() + at));
        const QByteArray type = png.mid(at + 4, 4);
        types << type;
        if (type == "tEXt") {
            const QByteArray body = png.mid(at + 8, length);
            texts[body.left(body.indexOf('\0'))] << body.mid(body.indexOf('\0') + 1);
        }
        at += 12 + length;
    }
    QCOMPARE(texts.value("Thumb::URI"), QByteArrayList{CThumbnailCache::FileUri(path)});
    QCOMPARE(texts.value("Thumb::MTime"), QByteArrayList{"1700000000"});
    QVERIFY(!types.contains("zTXt"));
    QCOMPARE(types.last(), QByteArray("IEND"));
    QVERIFY(!cache.Find(path, 1700000000).isNull());
}

void tst_ThumbCache::storedPrivatelyAndWhole() {
    NativeTempDir top;
    const QString root = top.path() + QStringLiteral("/cache/thumbnails");
    QImage picture(64, 64, QImage::Format_RGB32);
    picture.fill(Qt::red);
    const CThumbnailCache cache(root);
    QVERIFY(cache.Store("/x.png", 5, picture));
    QVERIFY(cache.Store("/x.png", 6, picture)); // made again over the old one
    QCOMPARE(ModeOf(root), 0700);
    QCOMPARE(ModeOf(root + QStringLiteral("/normal")), 0700);
    const QString path = cache.ThumbnailPath("/x.png");
    QCOMPARE(ModeOf(path), 0600);
    const QStringList left =
        QDir(root + QStringLiteral("/normal")).entryList(QDir::Files | QDir::Hidden);
    QCOMPARE(left, QStringList{QFileInfo(path).fileName()}); // no temporary stays behind
    QVERIFY(cache.Find("/x.png", 5).isNull());
    QVERIFY(!cache.Find("/x.png", 6).isNull());
}

void tst_ThumbCache::largeThumbnailsInTheirOwnFolder() {
    NativeTempDir root;
    const CThumbnailCache large(root.path(), CThumbnailCache::kLargeEdge);
    QImage picture(1000, 500, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    QVERIFY(large.Store("/y.jpg", 1, picture));
    QVERIFY(QFileInfo::exists(root.path() + QStringLiteral("/large/") + Md5Name("file:///y.jpg")));
    QCOMPARE(large.Find("/y.jpg", 1).size(), QSize(256, 128));
    QVERIFY(CThumbnailCache(root.path()).Find("/y.jpg", 1).isNull());
}

void tst_ThumbCache::failureNotedUntilThePictureChanges() {
    NativeTempDir root;
    const CThumbnailCache cache(root.path());
    QVERIFY(!cache.HasFailed("/bad.jpg", 10));
    QVERIFY(cache.StoreFailure("/bad.jpg", 10));
    QVERIFY(cache.HasFailed("/bad.jpg", 10));
    QVERIFY(!cache.HasFailed("/bad.jpg", 11));
    QVERIFY(cache.Find("/bad.jpg", 10).isNull()); // a failure is no thumbnail
    const QString expected = root.path() + QStringLiteral("/fail/vantrel-") +
                             QStringLiteral(VANTREL_VERSION) + QLatin1Char('/') +
                             Md5Name("file:///bad.jpg");
    QCOMPARE(cache.FailurePath("/bad.jpg"), expected);
    QImageReader reader(expected, "png");
    QCOMPARE(reader.read().text(QStringLiteral("Thumb::URI")), QStringLiteral("file:///bad.jpg"));
    QCOMPARE(ModeOf(expected), 0600);
}

void tst_ThumbCache::plantedLinkIsNeitherReadNorWrittenThrough() {
    NativeTempDir root;
    const CThumbnailCache cache(root.path());
    const QString victim = root.path() + QStringLiteral("/victim.png");
    WriteByHand(victim, "file:///z.jpg", QStringLiteral("3"), Qt::green);
    const QByteArray before = [&] {
        QFile f(victim);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    QDir().mkpath(root.path() + QStringLiteral("/normal"));
    QVERIFY(QFile::link(victim, cache.ThumbnailPath("/z.jpg")));
    QVERIFY(cache.Find("/z.jpg", 3).isNull());
    QImage picture(50, 50, QImage::Format_RGB32);
    picture.fill(Qt::black);
    QVERIFY(cache.Store("/z.jpg", 3, picture));
    QFile f(victim);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), before);
    QVERIFY(!QFileInfo(cache.ThumbnailPath("/z.jpg")).isSymLink());
}

void tst_ThumbCache::defaultRootFollowsXdgCacheHome() {
    const QByteArray old = qgetenv("XDG_CACHE_HOME");
    qputenv("XDG_CACHE_HOME", "/somewhere/cache");
    QCOMPARE(CThumbnailCache::DefaultRoot(), QStringLiteral("/somewhere/cache/thumbnails"));
    qunsetenv("XDG_CACHE_HOME");
    QCOMPARE(CThumbnailCache::DefaultRoot(),
             QDir::homePath() + QStringLiteral("/.cache/thumbnails"));
    qputenv("XDG_CACHE_HOME", old);
}

QTEST_GUILESS_MAIN(tst_ThumbCache)
#include "tst_thumbcache.moc"
