// The metadata answer's checks and the lines a person reads, without a window or a helper.
#include "picture/load/CMetadataLines.h"
#include "picture/sandbox/MetadataProtocol.h"

#include <QtTest>

namespace proto = metadata_protocol;

class TestMetadataText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void answerComesBackAsSent() {
        PictureMetadata facts;
        facts.taken = QDateTime(QDate(2024, 6, 15), QTime(14, 3, 7));
        facts.make = QStringLiteral("Tessaro");
        facts.model = QStringLiteral("Tessaro K7 ünd Ω");
        facts.lens = QStringLiteral("Vario 18-55 mm");
        facts.exposure = 1.0 / 250;
        facts.aperture = 2.8;
        facts.iso = 400;
        facts.focalLength = 50;
        facts.focal35 = 75;
        facts.flash = 0;
        facts.pixels = QSize(6000, 4000);
        facts.hasGps = true;
        facts.latitude = -33.85678;
        facts.longitude = 151.21529;
        PictureMetadata back;
        QString error;
        QVERIFY(proto::Parse(proto::Format(facts), back, error));
        QVERIFY(error.isEmpty());
        QCOMPARE(back.taken, facts.taken);
        QCOMPARE(back.model, facts.model);
        QCOMPARE(back.lens, facts.lens);
        QCOMPARE(back.exposure, facts.exposure);
        QCOMPARE(back.aperture, 2.8);
        QCOMPARE(back.iso, 400);
        QCOMPARE(back.focal35, 75);
        QCOMPARE(back.flash, 0); // "did not fire" is a fact, not an unknown
        QCOMPARE(back.pixels, facts.pixels);
        QVERIFY(back.hasGps);
        QCOMPARE(back.latitude, facts.latitude);
        QCOMPARE(back.longitude, facts.longitude);
    }

    // A record's nonsense is left out by the sender, and the rest of the record still comes
    // (the reading side refuses a whole answer with one bad value).
    void valuesOutOfRangeLeftOut_data() {
        QTest::addColumn<double>("aperture");
        QTest::addColumn<double>("exposure");
        QTest::addColumn<int>("iso");
        QTest::addColumn<double>("latitude");
        QTest::newRow("aperture huge") << 361117.0 << 0.01 << 100 << 10.0;
        QTest::newRow("aperture tiny") << 0.0116 << 0.01 << 100 << 10.0;
        QTest::newRow("exposure of days") << 2.8 << 1e6 << 100 << 10.0;
        QTest::newRow("iso beyond") << 2.8 << 0.01 << 20000000 << 10.0;
        QTest::newRow("latitude past the pole") << 2.8 << 0.01 << 100 << 95.0;
    }
    void valuesOutOfRangeLeftOut() {
        QFETCH(double, aperture);
        QFETCH(double, exposure);
        QFETCH(int, iso);
        QFETCH(double, latitude);
        PictureMetadata facts;
        facts.make = QStringLiteral("Tessaro");
        facts.aperture = aperture;
        facts.exposure = exposure;
        facts.iso = iso;
        facts.hasGps = true;
        facts.latitude = latitude;
        PictureMetadata back;
        QString error;
        QVERIFY(proto::Parse(proto::Format(facts), back, error));
        QCOMPARE(back.make, facts.make);
        QCOMPARE(back.aperture, aperture == 2.8 ? 2.8 : 0.0);
        QCOMPARE(back.exposure, exposure == 0.01 ? 0.01 : 0.0);
        QCOMPARE(back.iso, iso == 100 ? 100 : 0);
        QCOMPARE(back.hasGps, latitude == 10.0);
    }

    void emptyRecordIsNoFailure() {
        PictureMetadata back;
        QString error;
        QVERIFY(proto::Parse("META\nEND\n", back, error));
        QVERIFY(!back.taken.isValid());
        QCOMPARE(back.flash, -1);
        QVERIFY(proto::Parse("ERR no record here\n", back, error));
        QCOMPARE(error, QStringLiteral("no record here"));
    }

    // Whatever the helper was made to say, a bad answer gives no facts at all.
    void hostileAnswersRefused_data() {
        QTest::addColumn<QByteArray>("answer");
        const QByteArray longText(proto::kMaxText + 1, 'a');
        QTest::newRow("no end") << QByteArray("META\nmake A\n");
        QTest::newRow("no start") << QByteArray("make A\nEND\n");
        QTest::newRow("no newline") << QByteArray("META\nEND");
        QTest::newRow("unknown key") << QByteArray("META\nowner Eve\nEND\n");
        QTest::newRow("key repeated") << QByteArray("META\nmake A\nmake B\nEND\n");
        QTest::newRow("text too long") << QByteArray("META\nmake " + longText + "\nEND\n");
        QTest::newRow("control character") << QByteArray("META\nmake A\x1b[2JB\nEND\n");
        QTest::newRow("bad UTF-8") << QByteArray("META\nmake A\xff\xfe\nEND\n");
        QTest::newRow("empty text") << QByteArray("META\nmake \nEND\n");
        QTest::newRow("date impossible") << QByteArray("META\ntaken 2024-02-30T10:00:00\nEND\n");
        QTest::newRow("date garbage") << QByteArray("META\ntaken yesterday\nEND\n");
        QTest::newRow("exposure zero") << QByteArray("META\nexposure 0\nEND\n");
        QTest::newRow("exposure nan") << QByteArray("META\nexposure nan\nEND\n");
        QTest::newRow("exposure inf") << QByteArray("META\nexposure inf\nEND\n");
        QTest::newRow("aperture huge") << QByteArray("META\naperture 1e300\nEND\n");
        QTest::newRow("iso negative") << QByteArray("META\niso -5\nEND\n");
        QTest::newRow("iso overflow") << QByteArray("META\niso 99999999999\nEND\n");
        QTest::newRow("flash word too wide") << QByteArray("META\nflash 65536\nEND\n");
        QTest::newRow("size fraction") << QByteArray("META\nsize 10.5x10\nEND\n");
        QTest::newRow("size huge") << QByteArray("META\nsize 99999999x2\nEND\n");
        QTest::newRow("size one side") << QByteArray("META\nsize 100\nEND\n");
        QTest::newRow("latitude past pole") << QByteArray("META\ngps 91 10\nEND\n");
        QTest::newRow("longitude past") << QByteArray("META\ngps 10 -181\nEND\n");
        QTest::newRow("gps one number") << QByteArray("META\ngps 10\nEND\n");
        QTest::newRow("answer too long")
            << QByteArray("META\n" + QByteArray(proto::kMaxAnswerBytes, '\n') + "END\n");
        QTest::newRow("error spanning lines") << QByteArray("ERR a\nb\n");
    }
    void hostileAnswersRefused() {
        QFETCH(QByteArray, answer);
        PictureMetadata facts;
        facts.make = QStringLiteral("left over");
        QString error;
        QVERIFY(!proto::Parse(answer, facts, error));
        QVERIFY(facts.make.isEmpty());
        QVERIFY(facts.lens.isEmpty());
        QVERIFY(!facts.hasGps);
    }

    // The helper cuts and cleans what the file says before it sends it.
    void textCleanedForTheAnswer_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("clean");
        QTest::newRow("plain") << "Tessaro"
                               << "Tessaro";
        QTest::newRow("padding") << "  Tessaro  "
                                 << "Tessaro";
        QTest::newRow("controls") << "Tes\nsa\tro\x01"
                                  << "Tessaro";
        QTest::newRow("too long") << QString(200, QLatin1Char('x'))
                                  << QString(proto::kMaxText, QLatin1Char('x'));
        QString cutSurrogate(proto::kMaxText - 1, QLatin1Char('x'));
        cutSurrogate += QString::fromUcs4(U"\U0001F4F7");
        QTest::newRow("surrogate at the cut")
            << cutSurrogate << QString(proto::kMaxText - 1, QLatin1Char('x'));
    }
    void textCleanedForTheAnswer() {
        QFETCH(QString, text);
        QFETCH(QString, clean);
        QCOMPARE(proto::CleanText(text), clean);
        PictureMetadata facts, back;
        facts.make = text;
        QString error;
        QVERIFY(proto::Parse(proto::Format(facts), back, error));
        QCOMPARE(back.make, clean);
    }

    void linesInTheLocale_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("taken");
        QTest::addColumn<QString>("exposure");
        QTest::addColumn<QString>("aperture");
        QTest::addColumn<QString>("focal");
        QTest::addColumn<QString>("position");
        QTest::newRow("English") << "en_US"
                                 << "6/15/24 2:03:07 PM"
                                 << "1/250 s"
                                 << "f/2.8"
                                 << "50 mm (75 mm on 35 mm film)"
                                 << "48.85822° N, 2.29450° W";
        QTest::newRow("German") << "de_DE"
                                << "15.06.24 14:03:07"
                                << "1/250 s"
                                << "f/2,8"
                                << "50 mm (75 mm on 35 mm film)"
                                << "48,85822° N, 2,29450° W";
    }
    void linesInTheLocale() {
        QFETCH(QString, locale);
        const QLocale here(locale);
        QTEST(CMetadataLines::DateTaken(QDateTime(QDate(2024, 6, 15), QTime(14, 3, 7)), here),
              "taken");
        QTEST(CMetadataLines::ExposureTime(0.004, here), "exposure");
        QTEST(CMetadataLines::Aperture(2.8, here), "aperture");
        QTEST(CMetadataLines::FocalLength(50, 75, here), "focal");
        QTEST(CMetadataLines::Position(48.858222, -2.2945, here), "position");
    }

    void singleValues_data() {
        QTest::addColumn<QString>("actual");
        QTest::addColumn<QString>("expected");
        const QLocale c(QLocale::English, QLocale::UnitedStates);
        QTest::newRow("long exposure") << CMetadataLines::ExposureTime(2.5, c) << "2.5 s";
        QTest::newRow("one second") << CMetadataLines::ExposureTime(1, c) << "1 s";
        QTest::newRow("quarter second") << CMetadataLines::ExposureTime(0.25, c) << "0.3 s";
        QTest::newRow("1/3 s") << CMetadataLines::ExposureTime(1.0 / 3, c) << "0.3 s";
        QTest::newRow("1/8000 s") << CMetadataLines::ExposureTime(1.0 / 8000, c) << "1/8,000 s";
        QTest::newRow("unknown exposure") << CMetadataLines::ExposureTime(0, c) << "";
        QTest::newRow("whole aperture") << CMetadataLines::Aperture(8, c) << "f/8";
        QTest::newRow("focal without 35") << CMetadataLines::FocalLength(24, 0, c) << "24 mm";
        QTest::newRow("focal already 35") << CMetadataLines::FocalLength(50, 50, c) << "50 mm";
        QTest::newRow("focal fraction")
            << CMetadataLines::FocalLength(4.25, 26, c) << "4.3 mm (26 mm on 35 mm film)";
        QTest::newRow("maker in model")
            << CMetadataLines::Camera("Tessaro", "Tessaro K7") << "Tessaro K7";
        QTest::newRow("maker apart") << CMetadataLines::Camera("Tessaro", "K7") << "Tessaro K7";
        QTest::newRow("maker alone") << CMetadataLines::Camera("Tessaro", "") << "Tessaro";
        QTest::newRow("model alone") << CMetadataLines::Camera("", "K7") << "K7";
        QTest::newRow("flash fired") << CMetadataLines::Flash(0x01) << "Fired";
        QTest::newRow("flash off") << CMetadataLines::Flash(0x10) << "Did not fire";
        QTest::newRow("flash auto") << CMetadataLines::Flash(0x19) << "Fired, automatic";
        QTest::newRow("flash red-eye") << CMetadataLines::Flash(0x41) << "Fired, red-eye reduction";
        QTest::newRow("no flash") << CMetadataLines::Flash(0x20) << "No flash";
        QTest::newRow("flash unknown") << CMetadataLines::Flash(-1) << "";
        QTest::newRow("dimensions") << CMetadataLines::Dimensions(QSize(6000, 4000), c)
                                    << "6,000 × 4,000 pixels (24.0 megapixels)";
        QTest::newRow("southern east")
            << CMetadataLines::Position(-33.85678, 151.21529, c) << "33.85678° S, 151.21529° E";
    }
    void singleValues() {
        QFETCH(QString, actual);
        QFETCH(QString, expected);
        QCOMPARE(actual, expected);
    }

    // Unknown facts give no line; the order is fixed.
    void linesLeaveOutTheUnknown() {
        PictureMetadata facts;
        facts.fileSize = 2048;
        facts.type = QStringLiteral("JFIF Compliant");
        facts.companions = QStringList{"a.xmp", "a.dng"};
        facts.iso = 100;
        QStringList labels, values;
        for (const CMetadataLines::SLine& line : CMetadataLines::Lines(facts, QLocale::c())) {
            labels << line.label;
            values << line.value;
        }
        QCOMPARE(labels, (QStringList{"ISO", "File size", "Type", "Companion files"}));
        QCOMPARE(values[1], QStringLiteral("2.00 KiB (2048 bytes)"));
        facts.fileSize = 900; // no repetition of a size under a kilobyte
        QCOMPARE(CMetadataLines::Lines(facts, QLocale::c())[1].value, QStringLiteral("900 bytes"));
        QCOMPARE(values[3], QStringLiteral("a.xmp\na.dng"));
    }
};

QTEST_GUILESS_MAIN(TestMetadataText)
#include "tst_metadatatext.moc"
