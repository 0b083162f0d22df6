// View > Sort By in the real window, on pictures the test writes with known camera dates:
// two cameras in different time zones whose counters both start at 0001, and a picture
// with no date at all. The list follows the order as the dates arrive, and sorting,
// undo and pictures that appear keep to it.
#include "resources/CommandIds.h"
#include "tests/support/MetadataPictures.h"
#include "tests/support/PictureDesk.h"

#include <QtTest>

namespace {

// A JPEG taken at `when` (the camera's clock) in the zone `offset` ("+02:00"; empty: none).
bool Taken(const QString& path, const char* when, const char* offset) {
    Exiv2::ExifData exif;
    exif["Exif.Image.Model"] = "Test camera";
    exif["Exif.Photo.DateTimeOriginal"] = when;
    if (*offset)
        exif["Exif.Photo.OffsetTimeOriginal"] = offset;
    return metatest::WriteJpeg(path, exif);
}

bool Modified(const QString& path, const QDateTime& when) {
    QFile file(path);
    return file.open(QIODevice::ReadWrite) &&
           file.setFileTime(when, QFileDevice::FileModificationTime);
}

QDateTime Utc(int h, int m) {
    return QDateTime(QDate(2024, 6, 15), QTime(h, m), Qt::UTC);
}

// In the moment taken: 08:00, 08:15, 08:20 (the file's time), 08:30, 08:45 UTC.
const QStringList kByDateTaken{"IMG_0001.jpg", "DSC_0001.jpg", "scan.jpg", "IMG_0002.jpg",
                               "DSC_0002.jpg"};

} // namespace

class TestSortBy : public QObject {
    Q_OBJECT

    // The pictures and destination 1 "Keep", then the window on the first picture by name.
    static void Start(PictureDesk& desk) {
        QDir(desk.Path("")).mkdir("Keep");
        QVERIFY(Taken(desk.Path("Pics/IMG_0001.jpg"), "2024:06:15 10:00:00", "+02:00"));
        QVERIFY(Taken(desk.Path("Pics/IMG_0002.jpg"), "2024:06:15 10:30:00", "+02:00"));
        QVERIFY(Taken(desk.Path("Pics/DSC_0001.jpg"), "2024:06:15 03:15:00", "-05:00"));
        QVERIFY(Taken(desk.Path("Pics/DSC_0002.jpg"), "2024:06:15 03:45:00", "-05:00"));
        QVERIFY(desk.Picture("Pics/scan.jpg"));
        QVERIFY(Modified(desk.Path("Pics/scan.jpg"), Utc(8, 20)));
        desk.Store().WriteProfileString("TargetSet01", "Target01Name", "Keep");
        desk.Store().WriteProfileString("TargetSet01", "Target01Dir", desk.Path("Keep"));
        desk.Start(desk.Path("Pics"));
        QVERIFY(QTest::qWaitForWindowActive(desk.List().window()));
    }

private Q_SLOTS:
    // The list takes the order the pictures were taken in, keeping the picture on show
    // current and selected; the choice is kept.
    void dateTakenAcrossTwoCamerasKeepsThePictureOnShow() {
        PictureDesk desk;
        Start(desk);
        QCOMPARE(desk.Listed().first(), QStringLiteral("DSC_0001.jpg"));
        QCOMPARE(desk.Current(), QStringLiteral("DSC_0001.jpg"));
        desk.Frame().Trigger(cmd::ID_SORT_BY_DATE_TAKEN);
        QTRY_COMPARE(desk.Listed(), kByDateTaken);
        QCOMPARE(desk.Current(), QStringLiteral("DSC_0001.jpg"));
        const QModelIndex shown = desk.List().currentIndex();
        QCOMPARE(shown.row(), 1);
        QVERIFY(desk.List().selectionModel()->isSelected(shown));
        QCOMPARE(desk.Frame().Session().Current(), 1);
        QVERIFY(desk.Frame().Action(cmd::ID_SORT_BY_DATE_TAKEN)->isChecked());
        QCOMPARE(desk.Frame().Settings().GetSortBy(), 1);

        desk.Frame().Trigger(cmd::ID_SORT_DESCENDING);
        QStringList reversed = kByDateTaken;
        std::reverse(reversed.begin(), reversed.end());
        QTRY_COMPARE(desk.Listed(), reversed);
        QVERIFY(desk.Frame().Settings().GetSortDescending());
        desk.Frame().Trigger(cmd::ID_SORT_BY_NAME);
        desk.Frame().Trigger(cmd::ID_SORT_ASCENDING);
        QCOMPARE(desk.Listed(), (QStringList{"DSC_0001.jpg", "DSC_0002.jpg", "IMG_0001.jpg",
                                             "IMG_0002.jpg", "scan.jpg"}));
        QCOMPARE(desk.Current(), QStringLiteral("DSC_0001.jpg"));
    }

    // A sort moves on to the next picture in date order; undo brings the picture back to
    // its place in it; a picture another program puts in the folder finds its place.
    void sortingUndoAndNewPicturesFollowTheOrder() {
        PictureDesk desk;
        Start(desk);
        desk.Frame().Trigger(cmd::ID_SORT_BY_DATE_TAKEN);
        QTRY_COMPARE(desk.Listed(), kByDateTaken);
        desk.Select(QStringLiteral("scan.jpg"));
        QTest::keyClick(&desk.List(), Qt::Key_1);
        QVERIFY(desk.Frame().Settle());
        QCOMPARE(desk.OnDisk("Keep"), QStringList{"scan.jpg"});
        QCOMPARE(desk.Current(), QStringLiteral("IMG_0002.jpg"));

        QTest::keyClick(desk.List().window(), Qt::Key_Z, Qt::ControlModifier);
        QTRY_COMPARE(desk.Listed(), kByDateTaken);
        QCOMPARE(desk.Current(), QStringLiteral("scan.jpg"));

        const QString outside = desk.Path("new.jpg");
        QVERIFY(Taken(outside, "2024:06:15 08:10:00", "+00:00"));
        QVERIFY(QFile::rename(outside, desk.Path("Pics/new.jpg")));
        QStringList withNew = kByDateTaken;
        withNew.insert(1, QStringLiteral("new.jpg"));
        QTRY_COMPARE(desk.Listed(), withNew);
        QCOMPARE(desk.Current(), QStringLiteral("scan.jpg"));
    }

    // The order chosen is the order the next window starts with.
    void theChoiceIsKept() {
        PictureDesk desk;
        desk.Store().WriteProfileString("Browse", "SortBy", "DateTaken");
        desk.Store().WriteProfileInt("Browse", "SortDescending", 1);
        Start(desk);
        QVERIFY(desk.Frame().Action(cmd::ID_SORT_BY_DATE_TAKEN)->isChecked());
        QVERIFY(desk.Frame().Action(cmd::ID_SORT_DESCENDING)->isChecked());
        QStringList reversed = kByDateTaken;
        std::reverse(reversed.begin(), reversed.end());
        QTRY_COMPARE(desk.Listed(), reversed);
    }
};

QTEST_MAIN(TestSortBy)
#include "tst_sortby.moc"
