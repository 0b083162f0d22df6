// A picture's camera record read through the decoder helper, from pictures the test writes.
#include "PictureTestSupport.h"
#include "picture/format/PictureFormat.h"
#include "picture/load/CMetadataSource.h"
#include "picture/sandbox/CDecoderClient.h"
#include "picture/sandbox/MetadataProtocol.h"
#include "tests/support/MetadataPictures.h"

#include <QtTest>

#include <fcntl.h>
#include <unistd.h>

namespace {

using Writer = bool (*)(const QString&, const Exiv2::ExifData&);

} // namespace

class TestMetadataReading : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { pictest::ResetDecoderClient(); }

    void knownRecordRead_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<void*>("writer");
        QTest::addColumn<int>("format");
        QTest::newRow("JPEG") << "a.jpg" << reinterpret_cast<void*>(&metatest::WriteJpeg)
                              << picfmt::kJpg;
        QTest::newRow("HEIC") << "a.heic" << reinterpret_cast<void*>(&metatest::WriteHeic)
                              << picfmt::kHeic;
        QTest::newRow("DNG") << "a.dng" << reinterpret_cast<void*>(&metatest::WriteDng)
                             << picfmt::kRaw;
    }
    void knownRecordRead() {
        QFETCH(QString, name);
        QFETCH(void*, writer);
        QFETCH(int, format);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        QVERIFY(reinterpret_cast<Writer>(writer)(path, metatest::KnownExif()));
        const PictureMetadata facts = CMetadataSource::Read(path);
        QCOMPARE(facts.format, format);
        QCOMPARE(facts.fileSize, QFileInfo(path).size());
        QCOMPARE(facts.taken, QDateTime(QDate(2024, 6, 15), QTime(14, 3, 7)));
        QCOMPARE(facts.make, QStringLiteral("Tessaro"));
        QCOMPARE(facts.model, QStringLiteral("Tessaro K7"));
        QCOMPARE(facts.lens, QStringLiteral("Vario 18-55 mm"));
        QCOMPARE(facts.exposure, 1.0 / 250);
        QCOMPARE(facts.aperture, 2.8);
        QCOMPARE(facts.iso, 400);
        QCOMPARE(facts.focalLength, 50.0);
        QCOMPARE(facts.focal35, 75);
        QCOMPARE(facts.flash, 0x19);
        QVERIFY(facts.hasGps);
        QVERIFY(qAbs(facts.latitude - 48.858222) < 1e-5);
        QVERIFY(qAbs(facts.longitude + 2.2945) < 1e-5);
        QCOMPARE(CMetadataSource::DateTaken(path), facts.taken);
    }

    // Without a record, or with something that is no picture, there are no camera facts,
    // and the file's own facts still come.
    void noRecordNoCameraFacts_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("JPEG without EXIF") << pictest::MakeJpeg(32, 16);
        QTest::newRow("not a picture") << QByteArray("just some words\n");
        QTest::newRow("EXIF header only") << QByteArray("\xff\xd8\xff\xe1\x00\x10"
                                                        "Exif\0\0II*\0",
                                                        16);
        QTest::newRow("empty") << QByteArray();
    }
    void noRecordNoCameraFacts() {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = pictest::WriteBytes(dir.filePath("x.jpg"), bytes);
        const PictureMetadata facts = CMetadataSource::Read(path);
        QCOMPARE(facts.fileSize, qint64(bytes.size()));
        QVERIFY(!facts.taken.isValid());
        QVERIFY(facts.make.isEmpty());
        QVERIFY(!facts.hasGps);
        QVERIFY(!CMetadataSource::DateTaken(path).isValid());
    }

    // What the file says is cut to size and freed of control characters; positions and
    // dates that cannot be are dropped rather than passed on.
    void hostileRecordTamed() {
        Exiv2::ExifData exif = metatest::KnownExif();
        exif["Exif.Image.Make"] = std::string(5000, 'M') + "\x1b[2J";
        exif["Exif.Image.Model"] = "K7\r\nInjected: line";
        exif["Exif.Photo.DateTimeOriginal"] = "2024:13:45 99:99:99";
        Exiv2::URationalValue latitude;
        latitude.read("200/1 0/1 0/1");
        exif["Exif.GPSInfo.GPSLatitude"] = latitude;
        QTemporaryDir dir;
        const QString path = dir.filePath("h.jpg");
        QVERIFY(metatest::WriteJpeg(path, exif));
        const PictureMetadata facts = CMetadataSource::Read(path);
        QCOMPARE(facts.make, QString(metadata_protocol::kMaxText, QLatin1Char('M')));
        QCOMPARE(facts.model, QStringLiteral("K7Injected: line"));
        QVERIFY(!facts.taken.isValid());
        QVERIFY(!facts.hasGps);
        QCOMPARE(facts.iso, 400); // the rest of the record stays
    }

    // A helper that answers nonsense gives no facts, and the program goes on.
    void lyingHelperGivesNothing_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("unknown key") << QByteArray("printf 'META\\nowner Eve\\nEND\\n'");
        QTest::newRow("endless") << QByteArray("yes META");
        QTest::newRow("dies") << QByteArray("kill -SEGV $$");
    }
    void lyingHelperGivesNothing() {
        QFETCH(QByteArray, body);
        QTemporaryDir fake(pictest::FakeDir()), dir;
        CDecoderClient::SetHelper(pictest::FakeHelper(fake, body));
        const QString path = dir.filePath("a.jpg");
        QVERIFY(metatest::WriteJpeg(path));
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
        const CDecoderClient::SMetadata read = CDecoderClient::ReadMetadata(fd, picfmt::kJpg);
        ::close(fd);
        QVERIFY(!read.strError.isEmpty());
        QVERIFY(read.facts.make.isEmpty());
        CDecoderClient::SetHelper(QString());
    }
};

QTEST_GUILESS_MAIN(TestMetadataReading)
#include "tst_metadatareading.moc"
