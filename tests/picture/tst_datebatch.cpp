// The dates taken of many files in few runs of the decoder helper: aligned with the files
// whatever they are, split over runs by count, and the helper's answer checked as hostile.
#include "PictureTestSupport.h"
#include "picture/format/PictureFormat.h"
#include "picture/load/CDateTakenReader.h"
#include "picture/sandbox/CDateBatch.h"
#include "picture/sandbox/DatesProtocol.h"
#include "picture/sandbox/DecoderProtocol.h"
#include "picture/sandbox/MetadataProtocol.h"
#include "tests/support/MetadataPictures.h"

#include <QtTest>

#include <limits>

using namespace pictest;

namespace {

Exiv2::ExifData Taken(const char* date, const char* offset = nullptr) {
    Exiv2::ExifData exif;
    exif["Exif.Image.Make"] = "Tessaro";
    exif["Exif.Photo.DateTimeOriginal"] = date;
    if (offset)
        exif["Exif.Photo.OffsetTimeOriginal"] = offset;
    return exif;
}

constexpr int kNoOffset = std::numeric_limits<int>::min();

QDateTime At(int day, int hour, int offset = kNoOffset) {
    const QDate date(2023, 3, day);
    return offset == kNoOffset ? QDateTime(date, QTime(hour, 0))
                               : QDateTime(date, QTime(hour, 0), Qt::OffsetFromUTC, offset);
}

// A stand-in helper that answers `line` for each file it is handed (the formats are its last
// argument), framed by `head` and `tail` (where $n is the number of files).
QString Answering(const QTemporaryDir& dir, const QByteArray& head, const QByteArray& line,
                  const QByteArray& tail = "END") {
    return FakeHelper(dir, "for a; do f=$a; done\n"
                           "n=$(echo \"$f\" | tr ',' '\\n' | wc -l)\n"
                           "printf '%s\\n' \"" +
                               head + "\"\ni=0\nwhile [ $i -lt $n ]; do printf '%s\\n' '" + line +
                               "'; i=$((i+1)); done\nprintf '%s\\n' '" + tail + "'");
}

// Three HEIC files with dates the stand-ins do not give.
QStringList ThreeHeic(const QTemporaryDir& dir) {
    QStringList paths;
    for (int i = 0; i < 3; ++i) {
        paths << dir.filePath(QStringLiteral("h%1.heic").arg(i));
        if (!metatest::WriteHeic(paths.back(), Taken("2023:03:01 10:00:00")))
            return {};
    }
    return paths;
}

} // namespace

class TestDateBatch : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { ResetDecoderClient(); }

    // Pictures read here and by the helper, and files that are no picture or are not there,
    // come back in the order asked, from one run of the helper.
    void mixedBatchAligned() {
        QTemporaryDir dir;
        const auto path = [&](const char* name) { return dir.filePath(QString::fromLatin1(name)); };
        QVERIFY(metatest::WriteJpeg(path("a.jpg"), Taken("2023:03:01 09:00:00")));
        QVERIFY(metatest::WriteHeic(path("b.heic"), Taken("2023:03:02 10:00:00", "+09:00")));
        QVERIFY(metatest::WriteDng(path("c.dng"), Taken("2023:03:03 11:00:00", "-04:00")));
        QVERIFY(!WriteBytes(path("notes.txt"), "not a picture\n").isEmpty());
        QVERIFY(!WriteBytes(path("plain.jpg"), MakeJpeg(32, 16)).isEmpty());
        Exiv2::ExifData undated;
        undated["Exif.Image.Make"] = "Tessaro";
        QVERIFY(metatest::WriteHeic(path("d.heic"), undated));
        QVERIFY(metatest::WriteJpeg(path("e.JPG"), Taken("2023:03:05 13:00:00", "+01:00")));
        QVERIFY(QDir(dir.path()).mkdir("folder.jpg"));
        const QStringList paths{path("a.jpg"),      path("missing.heic"), path("b.heic"),
                                path("notes.txt"),  path("c.dng"),        path("plain.jpg"),
                                path("folder.jpg"), path("d.heic"),       path("e.JPG")};
        const QList<QDateTime> expected{
            At(1, 9), {}, At(2, 10, 9 * 3600), {}, At(3, 11, -4 * 3600), {},
            {},       {}, At(5, 13, 3600)};
        const int runs = CDateBatch::Runs();
        const QList<QDateTime> dates = CDateTakenReader::Read(paths);
        QCOMPARE(dates.size(), paths.size());
        for (qsizetype i = 0; i < paths.size(); ++i) {
            QVERIFY2(dates[i] == expected[i] && dates[i].timeSpec() == expected[i].timeSpec(),
                     qPrintable(paths[i] + ": " + dates[i].toString(Qt::ISODate)));
        }
        QCOMPARE(CDateBatch::Runs(), runs + 1);
    }

    // More files than one run takes are split over runs by count, still in order.
    void manyFilesInFewRuns() {
        QTemporaryDir dir;
        QStringList made;
        for (int day = 1; day <= 3; ++day) {
            made << dir.filePath(QStringLiteral("made%1.heic").arg(day));
            const QByteArray date =
                QStringLiteral("2023:03:%1 12:00:00").arg(day, 2, 10, QLatin1Char('0')).toLatin1();
            QVERIFY(metatest::WriteHeic(made.back(), Taken(date.constData())));
        }
        const int count = 2 * decoder_protocol::kMaxFiles + 2;
        QStringList paths;
        for (int i = 0; i < count; ++i) {
            paths << dir.filePath(QStringLiteral("IMG_%1.HEIC").arg(i, 4, 10, QLatin1Char('0')));
            QVERIFY(QFile::copy(made[i % 3], paths.back()));
        }
        const int runs = CDateBatch::Runs();
        const QList<QDateTime> dates = CDateTakenReader::Read(paths);
        QCOMPARE(CDateBatch::Runs(), runs + 3);
        QCOMPARE(dates.size(), count);
        for (int i = 0; i < count; ++i)
            QCOMPARE(dates[i], At(i % 3 + 1, 12));
    }

    // A set cancel flag reads nothing and starts no helper.
    void cancelledReadsNothing() {
        QTemporaryDir dir;
        const QStringList paths = ThreeHeic(dir);
        QVERIFY(!paths.isEmpty());
        const std::atomic<bool> cancel{true};
        const int runs = CDateBatch::Runs();
        const QList<QDateTime> dates = CDateTakenReader::Read(paths, &cancel);
        QCOMPARE(dates.size(), 3);
        QVERIFY(!dates[0].isValid() && !dates[1].isValid() && !dates[2].isValid());
        QCOMPARE(CDateBatch::Runs(), runs);
    }

    // Answers for three files: the well-formed ones are taken, the others refused whole.
    void answerChecked_data() {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<bool>("accepted");
        const QByteArray a = "2023-03-01T10:00:00\n";
        QTest::newRow("well formed") << "DATES 3\n" + a + "-\n2023-03-01T10:00:00+05:30\nEND\n"
                                     << true;
        QTest::newRow("none known") << QByteArray("DATES 3\n-\n-\n-\nEND\n") << true;
        QTest::newRow("too few lines") << "DATES 3\n" + a + a + "END\n" << false;
        QTest::newRow("too many lines") << "DATES 3\n" + a + a + a + a + "END\n" << false;
        QTest::newRow("count says 2") << "DATES 2\n" + a + a + a + "END\n" << false;
        QTest::newRow("no end") << "DATES 3\n" + a + a + a << false;
        QTest::newRow("no newline at the end") << "DATES 3\n" + a + a + a + "END" << false;
        QTest::newRow("garbage line") << "DATES 3\n" + a + "yesterday\n" + a + "END\n" << false;
        QTest::newRow("empty line") << "DATES 3\n" + a + "\n" + a + "END\n" << false;
        QTest::newRow("year 1700") << "DATES 3\n" + a + "1700-01-01T00:00:00\n" + a + "END\n"
                                   << false;
        QTest::newRow("month 13") << "DATES 3\n" + a + "2023-13-01T00:00:00\n" + a + "END\n"
                                  << false;
        QTest::newRow("offset 15 hours")
            << "DATES 3\n" + a + "2023-03-01T10:00:00+15:00\n" + a + "END\n"
            << false;
        QTest::newRow("offset Z") << "DATES 3\n" + a + "2023-03-01T10:00:00Z\n" + a + "END\n"
                                  << false;
        QTest::newRow("trailing text") << "DATES 3\n" + a + "2023-03-01T10:00:00 x\n" + a + "END\n"
                                       << false;
        QTest::newRow("an error instead") << QByteArray("ERR no\n") << false;
        QTest::newRow("oversized")
            << "DATES 3\n" + a + a + a + "END\n" + QByteArray(5000, '\n') << false;
    }
    void answerChecked() {
        QFETCH(QByteArray, answer);
        QFETCH(bool, accepted);
        QList<QDateTime> dates;
        QCOMPARE(dates_protocol::Parse(answer, 3, dates), accepted);
        QCOMPARE(dates.size(), accepted ? 3 : 0);
        if (accepted && dates[2].isValid())
            QCOMPARE(dates[2].offsetFromUtc(), 5 * 3600 + 1800);
    }

    // What the helper writes is what the program reads back, offset and all.
    void formatReadsBack() {
        const QList<QDateTime> dates{At(1, 9), {}, At(2, 23, -12 * 3600), At(3, 0, 0)};
        QList<QDateTime> read;
        QVERIFY(dates_protocol::Parse(dates_protocol::Format(dates), dates.size(), read));
        QCOMPARE(read, dates);
        QCOMPARE(read[2].offsetFromUtc(), -12 * 3600);
        PictureMetadata facts;
        facts.taken = At(2, 23, 9 * 3600);
        PictureMetadata back;
        QString error;
        QVERIFY(metadata_protocol::Parse(metadata_protocol::Format(facts), back, error));
        QCOMPARE(back.taken, facts.taken);
        QCOMPARE(back.taken.offsetFromUtc(), 9 * 3600);
    }

    // A helper that lies, dies or floods gives no dates; a refused run is tried again in
    // halves, so a helper that can answer for one file at a time still gives every date.
    void lyingHelperRefused_data() {
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QByteArray>("tail");
        QTest::addColumn<bool>("dated");
        QTest::newRow("honest") << QByteArray("DATES $n") << QByteArray("2030-01-01T00:00:00")
                                << QByteArray("END") << true;
        QTest::newRow("year 1700") << QByteArray("DATES $n") << QByteArray("1700-01-01T00:00:00")
                                   << QByteArray("END") << false;
        QTest::newRow("garbage") << QByteArray("DATES $n") << QByteArray("\x1b[2J now")
                                 << QByteArray("END") << false;
        QTest::newRow("no end") << QByteArray("DATES $n") << QByteArray("2030-01-01T00:00:00")
                                << QByteArray() << false;
        QTest::newRow("one file only") << QByteArray("DATES 1") << QByteArray("2030-01-01T00:00:00")
                                       << QByteArray("END") << true;
    }
    void lyingHelperRefused() {
        QFETCH(QByteArray, head);
        QFETCH(QByteArray, line);
        QFETCH(QByteArray, tail);
        QFETCH(bool, dated);
        QTemporaryDir fake(FakeDir()), dir;
        const QStringList paths = ThreeHeic(dir);
        QVERIFY(!paths.isEmpty());
        CDecoderClient::SetHelper(Answering(fake, head, line, tail));
        const QList<QDateTime> dates = CDateTakenReader::Read(paths);
        CDecoderClient::SetHelper(QString());
        QCOMPARE(dates.size(), 3);
        for (const QDateTime& taken : dates)
            QCOMPARE(taken, dated ? QDateTime(QDate(2030, 1, 1), QTime(0, 0)) : QDateTime());
    }

    // A helper that dies or floods its answer is stopped, and nothing of it is taken.
    void brokenHelperGivesNothing_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("dies") << QByteArray("kill -SEGV $$");
        QTest::newRow("floods") << QByteArray("yes 2030-01-01T00:00:00");
        QTest::newRow("silent") << QByteArray("exit 0");
    }
    void brokenHelperGivesNothing() {
        QFETCH(QByteArray, body);
        QTemporaryDir fake(FakeDir()), dir;
        const QStringList paths = ThreeHeic(dir);
        QVERIFY(!paths.isEmpty());
        CDecoderClient::SetHelper(FakeHelper(fake, body));
        const QList<QDateTime> dates = CDateTakenReader::Read(paths);
        CDecoderClient::SetHelper(QString());
        QCOMPARE(dates, QList<QDateTime>(3));
    }
};

QTEST_GUILESS_MAIN(TestDateBatch)
#include "tst_datebatch.moc"
