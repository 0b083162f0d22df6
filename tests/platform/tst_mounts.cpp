#include "platform/system/CMountTable.h"
#include "platform/system/CRemoteFileSystem.h"

#include <QTemporaryDir>
#include <QtTest>
#include <fcntl.h>
#include <unistd.h>

using Mounts = QList<QList<QByteArray>>; // device, mount point, type

// The mount table as the kernel writes it, and which file systems are reached over a network.
class TestMounts : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void mountTableLines_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<Mounts>("mounts");
        QTest::newRow("a disk") << QByteArray("/dev/vda1 / ext4 rw,relatime 0 0\n")
                                << Mounts{{"/dev/vda1", "/", "ext4"}};
        QTest::newRow("a share with spaces in its names")
            << QByteArray("//nas/My\\040Photos /mnt/My\\040Photos cifs rw,vers=3.0 0 0\n")
            << Mounts{{"//nas/My Photos", "/mnt/My Photos", "cifs"}};
        QTest::newRow("tab, newline and backslash")
            << QByteArray("x /media/a\\011b\\012c\\134d vfat rw 0 0")
            << Mounts{{"x", "/media/a\tb\nc\\d", "vfat"}};
        QTest::newRow("not an escape, kept as written")
            << QByteArray("x /mnt/a\\09b\\000c\\1 tmpfs rw 0 0")
            << Mounts{{"x", "/mnt/a\\09b\\000c\\1", "tmpfs"}};
        QTest::newRow("sshfs among others")
            << QByteArray("proc /proc proc rw 0 0\nme@host:/ /media/me/host fuse.sshfs rw 0 0\n")
            << Mounts{{"proc", "/proc", "proc"}, {"me@host:/", "/media/me/host", "fuse.sshfs"}};
        QTest::newRow("broken lines are left out")
            << QByteArray("\n  \ngarbage\ntwo fields\nx relative ext4 rw 0 0\n"
                          "y\t/run/media/u/stick   vfat rw 0 0")
            << Mounts{{"y", "/run/media/u/stick", "vfat"}};
    }
    void mountTableLines() {
        QFETCH(QByteArray, text);
        QFETCH(Mounts, mounts);
        Mounts got;
        for (const CMountTable::Mount& m : CMountTable::Parse(text))
            got.append({m.device, m.mountPoint, m.type});
        QCOMPARE(got, mounts);
    }

    void mountTableOfThisSystem() {
        QVERIFY(!CMountTable::Read().isEmpty());
        QVERIFY(CMountTable::Read("/no/such/table").isEmpty());
    }

    void remoteTypes_data() {
        QTest::addColumn<qulonglong>("type");
        QTest::addColumn<QByteArray>("name"); // empty: a local file system
        QTest::newRow("cifs") << 0xFF534D42ULL << QByteArray("cifs");
        QTest::newRow("smb2") << 0xFE534D42ULL << QByteArray("smb2");
        QTest::newRow("smb") << 0x517BULL << QByteArray("smb");
        QTest::newRow("nfs") << 0x6969ULL << QByteArray("nfs");
        QTest::newRow("sshfs and any FUSE") << 0x65735546ULL << QByteArray("fuse");
        QTest::newRow("ceph") << 0x00C36400ULL << QByteArray("ceph");
        QTest::newRow("9p") << 0x01021997ULL << QByteArray("9p");
        QTest::newRow("cifs, sign-extended") << 0xFFFFFFFFFF534D42ULL << QByteArray("cifs");
        QTest::newRow("ext4") << 0xEF53ULL << QByteArray();
        QTest::newRow("btrfs") << 0x9123683EULL << QByteArray();
        QTest::newRow("xfs") << 0x58465342ULL << QByteArray();
        QTest::newRow("tmpfs") << 0x01021994ULL << QByteArray();
        QTest::newRow("overlay") << 0x794C7630ULL << QByteArray();
        QTest::newRow("vfat") << 0x4D44ULL << QByteArray();
        QTest::newRow("nothing") << 0ULL << QByteArray();
    }
    void remoteTypes() {
        QFETCH(qulonglong, type);
        QFETCH(QByteArray, name);
        QCOMPARE(CRemoteFileSystem::TypeName(static_cast<unsigned long>(type)), name);
        QCOMPARE(CRemoteFileSystem::IsRemoteType(static_cast<unsigned long>(type)),
                 !name.isEmpty());
    }

    // A local folder is not remote, and neither is what cannot be asked.
    void localAndMissingFolders() {
        QTemporaryDir dir;
        const QByteArray path = QFile::encodeName(dir.path());
        QVERIFY(!CRemoteFileSystem::Holds(path));
        QVERIFY(!CRemoteFileSystem::Holds(path + "/missing"));
        QVERIFY(!CRemoteFileSystem::Holds(QByteArray()));
        const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        QVERIFY(fd >= 0);
        QVERIFY(!CRemoteFileSystem::HoldsDescriptor(fd));
        ::close(fd);
        QVERIFY(!CRemoteFileSystem::HoldsDescriptor(-1));
    }

    // Every FUSE mount of this system counts as remote (when there is one to ask).
    void fuseMountsAreRemote() {
        int asked = 0;
        for (const CMountTable::Mount& m : CMountTable::Read())
            if (m.type.startsWith("fuse.") && ::access(m.mountPoint.constData(), X_OK) == 0) {
                QVERIFY2(CRemoteFileSystem::Holds(m.mountPoint), m.mountPoint.constData());
                ++asked;
            }
        if (asked == 0)
            QSKIP("no FUSE file system is mounted here");
    }
};

QTEST_GUILESS_MAIN(TestMounts)
#include "tst_mounts.moc"
