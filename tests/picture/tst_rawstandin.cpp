// A camera RAW file's first sight, read in the program: the preview it stores, found through
// its directories, decoded at the size the view needs; anything odd in the file gives nothing.
#include "picture/format/ByteReader.h"
#include "picture/load/CRawStandIn.h"
#include "tests/picture/PictureTestSupport.h"

#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <unistd.h>

using namespace pictest;

namespace {

const QSize kSensor(256, 160);

quint32 U32At(const QByteArray& d, qint64 at) {
    return quint32(ReadLE32(d, at));
}

// Where the entry of `tag` lies in the directory at `ifd` of a little-endian TIFF, or -1.
qint64 EntryOf(const QByteArray& tiff, quint32 ifd, quint16 tag) {
    const int count = ReadLE16(tiff, ifd);
    for (int i = 0; i < count; ++i)
        if (ReadLE16(tiff, ifd + 2 + 12 * i) == tag)
            return ifd + 2 + 12 * i;
    return -1;
}

void Put32(QByteArray& d, qint64 at, quint32 value) {
    d.replace(at, 4, LE32(value));
}

// What is done to make-dng.py's file (its first directory holds the preview, its
// sub-directory the sensor's data).
enum class EHarm {
    None,
    PreviewPastEnd,     // the preview's offset beyond the file
    PreviewTooLong,     // its length beyond the file
    PreviewCut,         // its length short of its end marker
    PreviewTiny,        // a few bytes
    Lossless,           // a frame the program does not decode itself
    HugeFrame,          // a frame of 11000 x 6875 pixels in a few kilobytes
    SubDirectoryAway,   // the sensor's directory outside what is read of the file
    DirectoryLoop,      // the first directory names itself as the next
    FirstDirectoryAway, // the first directory outside the file
    TooManyEntries,     // a directory of 65535 entries
};

QByteArray Harmed(QByteArray dng, EHarm harm) {
    const quint32 ifd0 = U32At(dng, 4);
    const qint64 strip = EntryOf(dng, ifd0, 273), count = EntryOf(dng, ifd0, 279);
    const quint32 offset = U32At(dng, strip + 8), length = U32At(dng, count + 8);
    switch (harm) {
    case EHarm::None:
        break;
    case EHarm::PreviewPastEnd:
        Put32(dng, strip + 8, quint32(dng.size()) - 16);
        break;
    case EHarm::PreviewTooLong:
        Put32(dng, count + 8, quint32(dng.size()));
        break;
    case EHarm::PreviewCut:
        Put32(dng, count + 8, length - 40);
        break;
    case EHarm::PreviewTiny:
        Put32(dng, count + 8, 12);
        break;
    case EHarm::Lossless: {
        const qint64 frame = dng.indexOf(QByteArray("\xFF\xC0", 2), offset);
        dng[frame + 1] = char(0xC3);
        break;
    }
    case EHarm::HugeFrame: {
        const qint64 frame = dng.indexOf(QByteArray("\xFF\xC0", 2), offset);
        dng.replace(frame + 5, 4, QByteArray("\x1A\xDB\x2A\xF8", 4));
        break;
    }
    case EHarm::SubDirectoryAway:
        Put32(dng, EntryOf(dng, ifd0, 330) + 8, 0x7FFFFF00);
        break;
    case EHarm::DirectoryLoop:
        Put32(dng, ifd0 + 2 + 12 * ReadLE16(dng, ifd0), ifd0);
        break;
    case EHarm::FirstDirectoryAway:
        Put32(dng, 4, 0x7FFFFFF0);
        break;
    case EHarm::TooManyEntries:
        dng.replace(ifd0, 2, LE16(0xFFFF));
        break;
    }
    return dng;
}

} // namespace
Q_DECLARE_METATYPE(EHarm)

class TestRawStandIn : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The preview stands in, at the coarsest scale that keeps half the view's size, turned as
    // the file says, with the
    // sensor's size, upright, as the picture's; where there is none, or it would not be what
    // the helper shows, nothing does.
    void previewStandsIn_data() {
        QTest::addColumn<QSize>("preview"); // empty: none stored
        QTest::addColumn<int>("orientation");
        QTest::addColumn<QSize>("target");
        QTest::addColumn<QSize>("image"); // empty: nothing stands in
        QTest::addColumn<QSize>("own");
        QTest::addColumn<bool>("leftRight"); // green beside magenta, else green above
        const QSize none, nothing(0, 0), preview(128, 80);
        QTest::newRow("decoded at 1/4 for a view of half its size")
            << preview << 1 << QSize(64, 40) << QSize(32, 20) << kSensor << true;
        QTest::newRow("decoded at 1/8 for a view of a quarter of its size")
            << preview << 1 << QSize(32, 20) << QSize(16, 10) << kSensor << true;
        QTest::newRow("whole for a view a little smaller")
            << preview << 1 << QSize(250, 150) << preview << kSensor << true;
        QTest::newRow("the whole preview asked")
            << preview << 1 << none << preview << kSensor << true;
        QTest::newRow("a view larger than the preview")
            << preview << 1 << QSize(256, 160) << preview << kSensor << true;
        QTest::newRow("turned a quarter clockwise")
            << preview << 6 << QSize(40, 64) << QSize(20, 32) << kSensor.transposed() << false;
        QTest::newRow("no preview") << none << 1 << QSize(64, 40) << nothing << none << true;
        QTest::newRow("preview of another shape")
            << QSize(128, 128) << 1 << QSize(64, 40) << nothing << none << true;
    }
    void previewStandsIn() {
        QFETCH(QSize, preview);
        QFETCH(int, orientation);
        QFETCH(QSize, target);
        QFETCH(QSize, image);
        QFETCH(QSize, own);
        QFETCH(bool, leftRight);
        QTemporaryDir dir;
        const QByteArray dng = MakeDng(
            dir, kSensor, preview.isEmpty() ? QByteArray() : PreviewJpeg(preview), orientation);
        QVERIFY2(!dng.isEmpty(), "make-dng.py (python3) could not make the fixture");
        const QImage shown = StandIn(dir, dng, target, own);
        QCOMPARE(shown.size(), image);
        if (image.isEmpty())
            return;
        const QRgb first =
            shown.pixel(leftRight ? 2 : image.width() / 2, leftRight ? image.height() / 2 : 2);
        const QRgb second = shown.pixel(leftRight ? image.width() - 3 : image.width() / 2,
                                        leftRight ? image.height() / 2 : image.height() - 3);
        QVERIFY2(Near(first, Qt::green, 70), qPrintable(QColor(first).name()));
        QVERIFY2(Near(second, Qt::magenta, 70), qPrintable(QColor(second).name()));
    }

    // A damaged or hostile file gives nothing, or the preview where only what is not needed
    // for it is damaged; never a read outside the file, a hang or a crash.
    void oddFilesGiveNothing_data() {
        QTest::addColumn<EHarm>("harm");
        QTest::addColumn<QSize>("image");
        QTest::addColumn<QSize>("own");
        const QSize none, nothing(0, 0), shown(32, 20);
        QTest::newRow("intact") << EHarm::None << shown << kSensor;
        QTest::newRow("preview past the end") << EHarm::PreviewPastEnd << nothing << none;
        QTest::newRow("preview longer than the file") << EHarm::PreviewTooLong << nothing << none;
        QTest::newRow("preview cut short") << EHarm::PreviewCut << nothing << kSensor;
        QTest::newRow("preview of a few bytes") << EHarm::PreviewTiny << nothing << none;
        QTest::newRow("lossless JPEG") << EHarm::Lossless << nothing << none;
        QTest::newRow("frame far larger than its data") << EHarm::HugeFrame << nothing << none;
        // Without the sensor's directory the preview tells the size.
        QTest::newRow("sensor's directory away")
            << EHarm::SubDirectoryAway << shown << QSize(128, 80);
        QTest::newRow("directory loop") << EHarm::DirectoryLoop << shown << kSensor;
        QTest::newRow("first directory away") << EHarm::FirstDirectoryAway << nothing << none;
        QTest::newRow("too many entries") << EHarm::TooManyEntries << nothing << none;
    }
    void oddFilesGiveNothing() {
        QFETCH(EHarm, harm);
        QFETCH(QSize, image);
        QFETCH(QSize, own);
        QTemporaryDir dir;
        const QByteArray dng = MakeDng(dir, kSensor, PreviewJpeg({128, 80}));
        QVERIFY2(!dng.isEmpty(), "make-dng.py (python3) could not make the fixture");
        QCOMPARE(StandIn(dir, Harmed(dng, harm), QSize(64, 40), own).size(), image);
    }

    // Of several previews the smallest that fills half the view on each side is decoded, at
    // the coarsest scale of its transform that keeps that half; none too small.
    void smallestPreviewThatFills_data() {
        QTest::addColumn<QSize>("target");
        QTest::addColumn<QSize>("image");
        QTest::newRow("the small one, whole") << QSize(64, 40) << QSize(32, 20);
        QTest::newRow("the small one, at 1/2") << QSize(32, 20) << QSize(16, 10);
        QTest::newRow("only the large one, at 1/2") << QSize(100, 62) << QSize(64, 40);
        QTest::newRow("the large one whole for a view twice its size")
            << QSize(256, 160) << QSize(128, 80);
        QTest::newRow("neither fills: the larger") << QSize(400, 250) << QSize(128, 80);
    }
    void smallestPreviewThatFills() {
        QFETCH(QSize, target);
        QFETCH(QSize, image);
        QTemporaryDir dir;
        QByteArray dng = MakeDng(dir, kSensor, PreviewJpeg({128, 80}));
        QVERIFY2(!dng.isEmpty(), "make-dng.py (python3) could not make the fixture");
        // A second, smaller preview named the older makers' way in the sensor's directory.
        const QByteArray small = PreviewJpeg({32, 20});
        const quint32 raw = U32At(dng, EntryOf(dng, U32At(dng, 4), 330) + 8);
        const qint64 offset = EntryOf(dng, raw, 273); // stands in for JPEGInterchangeFormat
        dng.replace(offset, 2, LE16(0x0201));
        Put32(dng, offset + 8, quint32(dng.size()));
        const qint64 length = EntryOf(dng, raw, 279); // and for its length
        dng.replace(length, 2, LE16(0x0202));
        Put32(dng, length + 8, quint32(small.size()));
        dng += small;
        QCOMPARE(StandIn(dir, dng, target, kSensor).size(), image);
    }

    // A preview that takes a while to decode is preceded by the file's uncompressed thumbnail,
    // turned as the file says; a quick one is not. A thumbnail alone stands in where the
    // sensor's size is known.
    void thumbnailFirst_data() {
        QTest::addColumn<QSize>("preview"); // empty: none stored
        QTest::addColumn<QSize>("thumbnail");
        QTest::addColumn<int>("orientation");
        QTest::addColumn<bool>("quick");
        QTest::addColumn<QSize>("image"); // the thumbnail given; empty: none
        QTest::addColumn<QSize>("own");
        const QSize none, nothing(0, 0), large(2560, 1600), thumb(64, 40);
        QTest::newRow("large preview") << large << thumb << 1 << false << thumb << kSensor;
        QTest::newRow("large preview, turned")
            << large << thumb << 6 << false << thumb.transposed() << kSensor.transposed();
        QTest::newRow("small preview") << QSize(128, 80) << thumb << 1 << true << thumb << kSensor;
        QTest::newRow("thumbnail alone") << none << thumb << 1 << false << thumb << kSensor;
        QTest::newRow("thumbnail of another shape")
            << none << QSize(64, 64) << 1 << false << nothing << none;
        QTest::newRow("thumbnail wider than any")
            << none << QSize(1040, 650) << 1 << false << nothing << none;
    }
    void thumbnailFirst() {
        QFETCH(QSize, preview);
        QFETCH(QSize, thumbnail);
        QFETCH(int, orientation);
        QFETCH(bool, quick);
        QFETCH(QSize, image);
        QFETCH(QSize, own);
        QTemporaryDir dir;
        const QByteArray dng =
            MakeDng(dir, kSensor, preview.isEmpty() ? QByteArray() : PreviewJpeg(preview),
                    orientation, -1, SplitPicture(thumbnail));
        QVERIFY2(!dng.isEmpty(), "make-dng.py (python3) could not make the fixture");
        const int fd = ::open(QFile::encodeName(WriteBytes(dir.filePath("t.dng"), dng)).constData(),
                              O_RDONLY | O_CLOEXEC);
        const CRawStandIn standIn(fd);
        const QImage shown = standIn.Thumbnail();
        const bool told = standIn.Quick(orientation >= 5 ? QSize(400, 640) : QSize(640, 400));
        ::close(fd);
        QCOMPARE(standIn.Own(), own);
        QCOMPARE(told, quick);
        QCOMPARE(shown.size(), image);
        if (image.isEmpty())
            return;
        const bool turned = orientation >= 5;
        const QRgb first =
            shown.pixel(turned ? image.width() / 2 : 1, turned ? 1 : image.height() / 2);
        QVERIFY2(Near(first, Qt::green, 8), qPrintable(QColor(first).name()));
    }

    // Damage to the thumbnail's directory gives no thumbnail, never a read outside the file.
    void oddThumbnailsGiveNothing_data() {
        QTest::addColumn<quint16>("tag");
        QTest::addColumn<quint32>("value");
        QTest::newRow("strip past the end") << quint16(273) << quint32(0x7FFFFF00);
        QTest::newRow("strip shorter than its rows") << quint16(279) << quint32(64 * 40 * 3 - 1);
        QTest::newRow("compressed") << quint16(259) << quint32(7);
        QTest::newRow("not RGB") << quint16(262) << quint32(6);
        QTest::newRow("four samples a pixel") << quint16(277) << quint32(4);
        QTest::newRow("planes apart") << quint16(284) << quint32(2);
        QTest::newRow("the main picture") << quint16(254) << quint32(0);
        QTest::newRow("no height") << quint16(257) << quint32(0);
        QTest::newRow("huge width") << quint16(256) << quint32(0xFFFFFFFF);
    }
    void oddThumbnailsGiveNothing() {
        QFETCH(quint16, tag);
        QFETCH(quint32, value);
        QTemporaryDir dir;
        QByteArray dng = MakeDng(dir, kSensor, {}, 1, -1, SplitPicture({64, 40}));
        QVERIFY2(!dng.isEmpty(), "make-dng.py (python3) could not make the fixture");
        const qint64 entry = EntryOf(dng, U32At(dng, 4), tag);
        QVERIFY(entry > 0);
        Put32(dng, entry + 8, value); // a SHORT's value is the low half, little-endian
        const int fd = ::open(QFile::encodeName(WriteBytes(dir.filePath("t.dng"), dng)).constData(),
                              O_RDONLY | O_CLOEXEC);
        const QImage shown = CRawStandIn(fd).Thumbnail();
        ::close(fd);
        QVERIFY(shown.isNull());
    }

private:
    // What stands in for the file `data` in a view of `target`, once the size it tells is
    // checked to be `own`.
    static QImage StandIn(const QTemporaryDir& dir, const QByteArray& data, QSize target,
                          QSize own) {
        const QString path = WriteBytes(dir.filePath("standin.dng"), data);
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
        const CRawStandIn standIn(fd);
        const QImage image = standIn.Read(target);
        const QSize told = standIn.Own();
        ::close(fd);
        [&] { QCOMPARE(told, own); }();
        return image;
    }
};

QTEST_GUILESS_MAIN(TestRawStandIn)
#include "tst_rawstandin.moc"
