// A picture's companions found among the names the list read and follows, in the real
// window: a sidecar another program writes after the folder was listed goes with its
// picture, one that went meanwhile is not missed, and a folder that took a sidecar's name
// stays where it is.
#include "sorting/session/CSortSession.h"
#include "tests/support/PictureDesk.h"

#include <QtTest>

namespace {
bool Write(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write("<x:xmpmeta/>") > 0;
}
} // namespace

class TestCompanionListing : public QObject {
    Q_OBJECT

    static void Start(PictureDesk& desk) {
        QDir(desk.Path("")).mkdir("Keep");
        for (const char* name : {"a.jpg", "b.jpg", "c.jpg"})
            QVERIFY(desk.Picture(QStringLiteral("Pics/") + QLatin1String(name)));
        QVERIFY(Write(desk.Path("Pics/a.XMP")));
        QVERIFY(Write(desk.Path("Pics/c.jpg.xmp")));
        desk.Store().WriteProfileString("TargetSet01", "Target01Name", "Keep");
        desk.Store().WriteProfileString("TargetSet01", "Target01Dir", desk.Path("Keep"));
        desk.Start(desk.Path("Pics"));
        QVERIFY(QTest::qWaitForWindowActive(desk.List().window()));
    }

private Q_SLOTS:
    void sidecarsFollowTheListing() {
        PictureDesk desk;
        Start(desk);
        const SFolderNames& names = desk.Frame().Session().FolderNames();
        QVERIFY(names.IsOf(QFile::encodeName(desk.Path("Pics"))));
        // The sidecars the filter hides are known by name; the pictures are listed.
        QVERIFY(names.names.contains("a.XMP"));
        QCOMPARE(desk.Listed(), (QStringList{"a.jpg", "b.jpg", "c.jpg"}));

        // Written by another program after the listing: known once the folder says so.
        QVERIFY(Write(desk.Path("Pics/b.xmp")));
        QTRY_VERIFY(names.names.contains("b.xmp"));
        // Gone meanwhile, and a folder in its place: it stays.
        QVERIFY(QFile::remove(desk.Path("Pics/c.jpg.xmp")));
        QVERIFY(QDir(desk.Path("Pics")).mkdir("c.jpg.xmp"));

        QTest::keyClick(&desk.List(), Qt::Key_1); // a.jpg

        QVERIFY(desk.Frame().Settle());
        QCOMPARE(desk.OnDisk("Keep"), (QStringList{"a.jpg", "a.XMP"}));
        QCOMPARE(desk.Current(), QStringLiteral("b.jpg"));
        QTest::keyClick(&desk.List(), Qt::Key_1);
        QVERIFY(desk.Frame().Settle());
        QCOMPARE(desk.OnDisk("Keep"), (QStringList{"a.jpg", "a.XMP", "b.jpg", "b.xmp"}));
        QTRY_VERIFY(!names.names.contains("b.xmp")); // the list follows what went
        QTest::keyClick(&desk.List(), Qt::Key_1);
        QVERIFY(desk.Frame().Settle());
        QCOMPARE(desk.OnDisk("Keep").size(), 5);
        QVERIFY(QFileInfo(desk.Path("Pics/c.jpg.xmp")).isDir());

        // One undo brings the last picture back, and the listing knows it again.
        QTest::keyClick(desk.List().window(), Qt::Key_Z, Qt::ControlModifier);
        QTRY_VERIFY(names.names.contains("c.jpg"));
    }
};

QTEST_MAIN(TestCompanionListing)
#include "tst_companionlisting.moc"
