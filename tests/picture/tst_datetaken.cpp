// The date taken as the list orders by it: read from the pictures the test writes, in the
// program for JPEG files and by the decoder helper for the others, always equal to the date
// the information panel shows.
#include "PictureTestSupport.h"
#include "picture/load/CDateTakenReader.h"
#include "picture/load/CMetadataSource.h"
#include "picture/sandbox/CDateBatch.h"
#include "tests/support/MetadataPictures.h"

#include <QtTest>

using namespace pictest;

namespace {

// The same moment on the same clock: Qt's == compares moments only.
bool Same(const QDateTime& a, const QDateTime& b) {
    return a == b && a.isValid() == b.isValid() && a.timeSpec() == b.timeSpec() &&
           a.offsetFromUtc() == b.offsetFromUtc();
}

QString Describe(const QDateTime& t) {
    return t.isValid() ? t.toString(Qt::ISODate) + QStringLiteral(" spec %1").arg(t.timeSpec())
                       : QStringLiteral("(invalid)");
}

QDateTime Local(int h, int m, int s) {
    return QDateTime(QDate(2024, 6, 15), QTime(h, m, s));
}

QDateTime AtOffset(int h, int m, int s, int offset) {
    return QDateTime(QDate(2024, 6, 15), QTime(h, m, s), Qt::OffsetFromUTC, offset);
}

// A record with the three dates and their offsets; an empty text leaves that tag out.
Exiv2::ExifData Record(const QStringList& texts) {
    static const char* const kKeys[] = {
        "Exif.Photo.DateTimeOriginal",  "Exif.Photo.OffsetTimeOriginal",
        "Exif.Photo.DateTimeDigitized", "Exif.Photo.OffsetTimeDigitized",
        "Exif.Image.DateTime",          "Exif.Photo.OffsetTime"};
    Exiv2::ExifData exif;
    exif["Exif.Image.Make"] = "Tessaro";
    for (qsizetype i = 0; i < texts.size(); ++i)
        if (!texts[i].isEmpty())
            exif[kKeys[i]] = texts[i].toStdString();
    return exif;
}

// A little-endian EXIF block built entry by entry: IFD0 at 8, then the photograph's
// directory, then the values too long to sit in an entry.
struct STiff {
    struct SEntry {
        quint16 tag, type;
        quint32 count;
        QByteArray value; // ASCII text, or a LONG written as LE32
    };
    QList<SEntry> ifd0, exif;
    quint32 nExifAt =
        0; // where IFD0's pointer to the photograph's directory points (0: after IFD0)
    quint32 nNextOfIfd0 = 0; // IFD0's next directory
    int nCut = -1;           // keep only this many bytes

    static SEntry Text(quint16 tag, const QByteArray& text) {
        return {tag, 2, quint32(text.size() + 1), text + '\0'};
    }
    QByteArray Bytes() const {
        const quint32 exifAt = 8 + 2 + 12 * quint32(ifd0.size() + 1) + 4;
        const quint32 dataAt = exifAt + 2 + 12 * quint32(exif.size()) + 4;
        QByteArray data;
        const auto directory = [&](const QList<SEntry>& entries, bool pointer, quint32 next) {
            QByteArray out = LE16(quint16(entries.size() + (pointer ? 1 : 0)));
            for (const SEntry& e : entries) {
                out += LE16(e.tag) + LE16(e.type) + LE32(e.count);
                if (e.value.size() <= 4) {
                    out += e.value + QByteArray(4 - e.value.size(), '\0');
                } else {
                    out += LE32(dataAt + quint32(data.size()));
                    data += e.value;
                }
            }
            if (pointer)
                out += LE16(0x8769) + LE16(4) + LE32(1) + LE32(nExifAt ? nExifAt : exifAt);
            return out + LE32(next);
        };
        QByteArray tiff = QByteArray("II*\0", 4) + LE32(8);
        tiff += directory(ifd0, true, nNextOfIfd0);
        tiff += directory(exif, false, 0);
        tiff += data;
        return nCut >= 0 ? tiff.left(nCut) : tiff;
    }
    QByteArray Jpeg() const {
        QByteArray jpeg = MakeJpeg(32, 16);
        const QByteArray tiff = Bytes();
        jpeg.insert(2, JpegSegment(0xE1, QByteArray("Exif\0\0", 6) + tiff));
        return jpeg;
    }
};

QDateTime ReadOne(const QString& path) {
    const QList<QDateTime> dates = CDateTakenReader::Read({path});
    return dates.size() == 1 ? dates.front() : QDateTime();
}

} // namespace

class TestDateTaken : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { ResetDecoderClient(); }

    // Which date is taken, and which offset goes with it.
    void recordChoice_data() {
        QTest::addColumn<QStringList>("texts"); // original, its offset, digitized, its offset,
                                                // modified, its offset
        QTest::addColumn<QDateTime>("expected");
        const QString o = QStringLiteral("2024:06:15 14:03:07");
        const QString d = QStringLiteral("2024:06:15 14:03:09");
        const QString m = QStringLiteral("2024:06:15 18:00:00");
        QTest::newRow("original") << QStringList{o, {}, d, {}, m} << Local(14, 3, 7);
        QTest::newRow("original east") << QStringList{o, "+02:00", d} << AtOffset(14, 3, 7, 7200);
        QTest::newRow("original west, half hour")
            << QStringList{o, "-09:30"} << AtOffset(14, 3, 7, -34200);
        QTest::newRow("original at UTC") << QStringList{o, "+00:00"} << AtOffset(14, 3, 7, 0);
        QTest::newRow("digitized")
            << QStringList{{}, {}, d, "+05:45", m} << AtOffset(14, 3, 9, 20700);
        QTest::newRow("modified") << QStringList{{}, {}, {}, {}, m, "-03:00"}
                                  << AtOffset(18, 0, 0, -10800);
        QTest::newRow("another date's offset")
            << QStringList{o, {}, d, "+02:00", m, "+03:00"} << Local(14, 3, 7);
        QTest::newRow("broken original, next one")
            << QStringList{"2024:13:45 99:99:99", "+02:00", d} << Local(14, 3, 9);
        QTest::newRow("blank original")
            << QStringList{"    :  :     :  :  ", {}, {}, {}, m} << Local(18, 0, 0);
        QTest::newRow("offset without colon") << QStringList{o, "+0200"} << Local(14, 3, 7);
        QTest::newRow("offset past 14 hours") << QStringList{o, "+15:00"} << Local(14, 3, 7);
        QTest::newRow("offset minutes 60") << QStringList{o, "+01:60"} << Local(14, 3, 7);
        QTest::newRow("sub-seconds after the date")
            << QStringList{"2024:06:15 14:03:07.25"} << Local(14, 3, 7);
        QTest::newRow("no date at all") << QStringList{} << QDateTime();
    }
    void recordChoice() {
        QFETCH(QStringList, texts);
        QFETCH(QDateTime, expected);
        QTemporaryDir dir;
        const QString path = dir.filePath("IMG_0001.JPG");
        QVERIFY(metatest::WriteJpeg(path, Record(texts)));
        const int runs = CDateBatch::Runs();
        const QDateTime read = ReadOne(path);
        QVERIFY2(Same(read, expected), qPrintable(Describe(read)));
        QCOMPARE(CDateBatch::Runs(), runs); // read in the program, not by the helper
        const QDateTime shown = CMetadataSource::DateTaken(path);
        QVERIFY2(Same(shown, expected), qPrintable(Describe(shown)));
    }

    // Every type with a record: the date the list orders by is the date the panel shows.
    void agreesWithThePanel_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<void*>("writer");
        QTest::addColumn<QString>("offset");
        for (const auto& [name, writer] :
             {std::pair<const char*, void*>{"a.jpg", reinterpret_cast<void*>(&metatest::WriteJpeg)},
              {"a.heic", reinterpret_cast<void*>(&metatest::WriteHeic)},
              {"a.dng", reinterpret_cast<void*>(&metatest::WriteDng)}}) {
            QTest::addRow("%s local", name) << QString::fromLatin1(name) << writer << QString();
            QTest::addRow("%s offset", name) << QString::fromLatin1(name) << writer << "-07:00";
        }
    }
    void agreesWithThePanel() {
        QFETCH(QString, name);
        QFETCH(void*, writer);
        QFETCH(QString, offset);
        Exiv2::ExifData exif = metatest::KnownExif();
        if (!offset.isEmpty())
            exif["Exif.Photo.OffsetTimeOriginal"] = offset.toStdString();
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        using Writer = bool (*)(const QString&, const Exiv2::ExifData&);
        QVERIFY(reinterpret_cast<Writer>(writer)(path, exif));
        const QDateTime expected =
            offset.isEmpty() ? Local(14, 3, 7) : AtOffset(14, 3, 7, -7 * 3600);
        const QDateTime read = ReadOne(path);
        QVERIFY2(Same(read, expected), qPrintable(Describe(read)));
        const QDateTime shown = CMetadataSource::Read(path).taken;
        QVERIFY2(Same(shown, expected), qPrintable(Describe(shown)));
    }

    // Records a camera never wrote: read without a crash or a read outside the file, and
    // the same as the library reads them.
    void damagedRecords_data() {
        QTest::addColumn<QByteArray>("jpeg");
        QTest::addColumn<QDateTime>("expected");
        STiff good;
        good.ifd0 = {STiff::Text(0x0132, "2024:06:15 18:00:00")};
        good.exif = {STiff::Text(0x9003, "2024:06:15 14:03:07"), STiff::Text(0x9011, "+01:00")};
        QTest::newRow("well formed") << good.Jpeg() << AtOffset(14, 3, 7, 3600);
        STiff cut = good;
        cut.nCut = 70; // both directories whole, the texts cut
        QTest::newRow("cut in the values") << cut.Jpeg() << QDateTime();
        QByteArray truncated = good.Jpeg();
        truncated.truncate(truncated.indexOf("2024:06:15 14") + 6);
        QTest::newRow("file ends in the date") << truncated << QDateTime();
        STiff loop = good;
        loop.ifd0 << STiff::Text(0x9003, "2024:06:15 09:00:00") << STiff::Text(0x9010, "+05:00");
        loop.nExifAt = 8; // the photograph's directory is IFD0 itself
        loop.nNextOfIfd0 = 8;
        QTest::newRow("directory loop") << loop.Jpeg() << Local(18, 0, 0);
        STiff outside = good;
        outside.exif = {{0x9003, 2, 20, LE32(0xFFFFFFF0)}};
        QTest::newRow("date outside the block") << outside.Jpeg() << Local(18, 0, 0);
        STiff huge = good;
        huge.exif = {{0x9003, 2, 0xFFFFFFFF, LE32(26)}};
        QTest::newRow("huge date count") << huge.Jpeg() << Local(18, 0, 0);
        STiff wrongType = good;
        wrongType.exif = {{0x9003, 7, 20, "2024:06:15 14:03:07"}};
        QTest::newRow("date of another type") << wrongType.Jpeg() << Local(18, 0, 0);
        QByteArray manyEntries = good.Jpeg();
        const qsizetype ifd0 = manyEntries.indexOf(QByteArray("II*\0", 4)) + 8;
        manyEntries[ifd0] = '\xFF';
        manyEntries[ifd0 + 1] = '\xFF';
        QTest::newRow("65535 entries claimed") << manyEntries << QDateTime();
        QTest::newRow("no record") << MakeJpeg(32, 16) << QDateTime();
        QTest::newRow("EXIF header only") << QByteArray("\xff\xd8\xff\xe1\x00\x10"
                                                        "Exif\0\0II*\0",
                                                        16)
                                          << QDateTime();
    }
    void damagedRecords() {
        QFETCH(QByteArray, jpeg);
        QFETCH(QDateTime, expected);
        QTemporaryDir dir;
        const QString path = WriteBytes(dir.filePath("x.jpg"), jpeg);
        const QDateTime read = ReadOne(path);
        QVERIFY2(Same(read, expected), qPrintable(Describe(read)));
        const QDateTime shown = CMetadataSource::DateTaken(path);
        QVERIFY2(Same(shown, expected), qPrintable(Describe(shown)));
    }

    // A record behind a large colour profile: read on in the program while it lies within
    // the head, left to the helper (which finds it as the panel does) past it.
    void recordBehindAProfile_data() {
        QTest::addColumn<int>("profiles"); // APP2 segments of 60,000 bytes before the record
        QTest::addColumn<int>("helperRuns");
        QTest::newRow("across the first read") << 1 << 0;
        QTest::newRow("past the head") << 3 << 1;
    }
    void recordBehindAProfile() {
        QFETCH(int, profiles);
        QFETCH(int, helperRuns);
        QTemporaryDir dir;
        const QString path = dir.filePath("late.jpg");
        QVERIFY(metatest::WriteJpeg(path, Record({"2024:06:15 14:03:07", "+02:00"})));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QByteArray jpeg = file.readAll();
        file.close();
        for (int i = 0; i < profiles; ++i)
            jpeg.insert(2, JpegSegment(0xE2, QByteArray(60000, 'p')));
        jpeg += QByteArray(200 * 1024, '\0'); // the file goes on past the head
        QVERIFY(!WriteBytes(path, jpeg).isEmpty());
        const int runs = CDateBatch::Runs();
        QVERIFY(Same(ReadOne(path), AtOffset(14, 3, 7, 7200)));
        QCOMPARE(CDateBatch::Runs(), runs + helperRuns);
        QVERIFY(Same(CMetadataSource::DateTaken(path), AtOffset(14, 3, 7, 7200)));
    }
};

QTEST_GUILESS_MAIN(TestDateTaken)
#include "tst_datetaken.moc"
