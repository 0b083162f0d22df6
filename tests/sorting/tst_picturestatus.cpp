#include "sorting/PictureStatus.h"

#include <QtTest>

using namespace picture_status;

class TestPictureStatus : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void statusTextIsExactToTheCharacter();
    void titleIsTheNameAfterTheLastSeparator();
};

void TestPictureStatus::statusTextIsExactToTheCharacter() {
    QCOMPARE(
        StatusText("/home/ann/Pics/Sunset.jpg", 640, 480, 24, 900, "JFIF Compliant"),
        QStringLiteral("/HOME/ANN/PICS/SUNSET.JPG - 640x480x24 bpp,  900 bytes,  JFIF Compliant"));
    // Percent signs in a name are text, not placeholders; no description leaves the tail empty.
    QCOMPARE(StatusText("/p/100%2 off %1.png", 1, 2, 8, 5000000000LL, QString()),
             QStringLiteral("/P/100%2 OFF %1.PNG - 1x2x8 bpp,  5000000000 bytes,  "));
    QCOMPARE(FileCountText(0), QStringLiteral("0 files"));
    QCOMPARE(FileCountText(1234), QStringLiteral("1234 files"));
    QCOMPARE(IdleText(), QStringLiteral("Ready"));
    QCOMPARE(IdleTitle(), QStringLiteral(" Ostlewin"));
}

void TestPictureStatus::titleIsTheNameAfterTheLastSeparator() {
    QCOMPARE(TitleFileName("/home/ann/Pics/Sunset.jpg"), QStringLiteral(" Sunset.jpg"));
    QCOMPARE(TitleFileName("Sunset.jpg"), QStringLiteral(" "));
    QCOMPARE(TitleFileName("/pics/"), QStringLiteral(" "));
}

QTEST_GUILESS_MAIN(TestPictureStatus)
#include "tst_picturestatus.moc"
