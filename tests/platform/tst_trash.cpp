// Delete to the trash and outright: where the file and its info end up.
#include "platform/files/CTrashDirectory.h"
#include "tests/support/FileOpTestBase.h"
#include "tests/support/TmpfsMount.h"

#include <QtTest>
#include <cerrno>
#include <unistd.h>

using Outcome = CFileOpResult::Outcome;
using Names = QList<QByteArray>;

namespace {
const QByteArray kUid = QByteArray::number(static_cast<qulonglong>(::getuid()));

// The Path= line of an info file.
QByteArray InfoPath(const QByteArray& infoFile) {
    const QList<QByteArray> lines = ReadBytes(infoFile).split('\n');
    return lines.size() > 1 && lines[0] == "[Trash Info]" ? lines[1] : QByteArray();
}
} // namespace

class TestTrash : public FileOpTestBase {
    Q_OBJECT
private Q_SLOTS:
    void init() { Reset(); }

    void missingTrashFolderIsCreated() {
        ::mkdir((root + "/data").constData(), 0700);
        const QByteArray data = Picture(src + "/a.jpg"), weird("b\xff.jpg");
        Picture(src + "/" + weird, 3000, 2);
        const CFileOpResult r = ops->Delete(src + "/a.jpg", true);
        QCOMPARE(r.outcome, Outcome::Done);
        QCOMPARE(r.target, trash + "/files/a.jpg");
        QCOMPARE(ReadBytes(r.target), data);
        QCOMPARE(ListDir(src), Names{weird});
        const QByteArray info = ReadBytes(trash + "/info/a.jpg.trashinfo");
        QVERIFY(info.startsWith("[Trash Info]\nPath=" + src + "/a.jpg\nDeletionDate="));
        const QByteArray date = info.split('\n').value(2).mid(13);
        QVERIFY2(QDateTime::fromString(QString::fromLatin1(date), Qt::ISODate).isValid(), date);

        // A name that is not UTF-8 keeps its bytes; its recorded path is percent-encoded.
        QCOMPARE(ops->Delete(src + "/" + weird, true).outcome, Outcome::Done);
        QCOMPARE(ReadBytes(trash + "/files/" + weird), Pattern(3000, 2));
        QCOMPARE(InfoPath(trash + "/info/" + weird + ".trashinfo"), "Path=" + src + "/b%FF.jpg");
        QCOMPARE(ListDir(src), Names{});

        // A name taken in the trash is numbered; the info still names the original path.
        Picture(src + "/a.jpg", 3000, 3);
        QCOMPARE(ops->Delete(src + "/a.jpg", true).target, trash + "/files/a (1).jpg");
        QCOMPARE(ReadBytes(trash + "/files/a.jpg"), data);
        QCOMPARE(ReadBytes(trash + "/files/a (1).jpg"), Pattern(3000, 3));
        QCOMPARE(InfoPath(trash + "/info/a (1).jpg.trashinfo"), "Path=" + src + "/a.jpg");
        QCOMPARE(ListDir(trash + "/info").size(), 3);
        QVERIFY(ui.errors.isEmpty());
    }

    // With no ~/.local/share at all the trash is made there, never below the current folder.
    void missingLocalShareIsCreated() {
        qunsetenv("XDG_DATA_HOME");
        const QByteArray home = root + "/home";
        ::mkdir(home.constData(), 0700);
        QDir::setCurrent(QFile::decodeName(home));
        const QByteArray data = Picture(src + "/a.jpg");
        QCOMPARE(ops->Delete(src + "/a.jpg", true).outcome, Outcome::Done);
        QCOMPARE(ReadBytes(home + "/.local/share/Trash/files/a.jpg"), data);
        QVERIFY(!InfoPath(home + "/.local/share/Trash/info/a.jpg.trashinfo").isEmpty());
        QCOMPARE(ListDir(home), Names{".local"});
        QCOMPARE(ListDir(src), Names{});
    }

    void trashOnAnotherDevice() {
        TmpfsMount other;
        REQUIRE_MOUNT(other);
        const QByteArray sub = other.Path() + "/sub";
        ::mkdir(sub.constData(), 0755);
        const QByteArray data = Picture(sub + "/a.jpg");
        struct stat st {};
        ::stat(sub.constData(), &st);
        QCOMPARE(CTrashDirectory::TopDir(sub, st.st_dev), other.Path());
        QCOMPARE(ops->Delete(sub + "/a.jpg", true).outcome, Outcome::Done);
        const QByteArray own = other.Path() + "/.Trash-" + kUid;
        QCOMPARE(ReadBytes(own + "/files/a.jpg"), data);
        // A top directory's trash records the path relative to the top directory.
        QCOMPARE(InfoPath(own + "/info/a.jpg.trashinfo"), QByteArray("Path=sub/a.jpg"));
        QCOMPARE(ListDir(sub), Names{});
        QVERIFY(!Exists(root + "/data")); // the home trash was not made for it

        // A shared .Trash with the sticky bit takes the user's files below their uid...
        const QByteArray shared = other.Path() + "/.Trash";
        ::mkdir(shared.constData(), 0777);
        ::chmod(shared.constData(), 01777);
        Picture(other.Path() + "/b.jpg", 3000, 2);
        QCOMPARE(ops->Delete(other.Path() + "/b.jpg", true).outcome, Outcome::Done);
        QCOMPARE(ReadBytes(shared + "/" + kUid + "/files/b.jpg"), Pattern(3000, 2));
        // ...without it, it is not trusted and the user's own is used.
        ::chmod(shared.constData(), 0777);
        Picture(other.Path() + "/c.jpg", 3000, 3);
        QCOMPARE(ops->Delete(other.Path() + "/c.jpg", true).outcome, Outcome::Done);
        QCOMPARE(ReadBytes(own + "/files/c.jpg"), Pattern(3000, 3));
        QCOMPARE(ListDir(other.Path()), (Names{".Trash", ".Trash-" + kUid, "sub"}));
    }

    // A file that cannot be trashed is never removed outright instead.
    void untrashableFileStaysWhereItIs() {
        TmpfsMount other;
        REQUIRE_MOUNT(other);
        const QByteArray a = other.Path() + "/a.jpg", data = Picture(a);
        const QByteArray own = other.Path() + "/.Trash-" + kUid;
        // The place for the trash is taken by a file, and by a link to elsewhere.
        WriteBytes(own, "not a folder");
        QCOMPARE(ops->Delete(a, true).outcome, Outcome::Failed);
        ::unlink(own.constData());
        ::symlink(root.constData(), own.constData());
        QCOMPARE(ops->Delete(a, true).outcome, Outcome::Failed);
        QCOMPARE(ReadBytes(a), data);
        QCOMPARE(ListDir(root), (Names{"dst", "src"}));
        // On a read-only file system neither trash nor delete can take it.
        ::unlink(own.constData());
        QVERIFY(other.MakeReadOnly());
        QCOMPARE(ops->Delete(a, true).outcome, Outcome::Failed);
        QCOMPARE(ops->Delete(a, false).outcome, Outcome::Failed);
        QCOMPARE(ReadBytes(a), data);
        QCOMPARE(ui.errors.size(), 4);
        QVERIFY(ui.errors[0].contains("a.jpg") && ui.errors[0].contains("left where it is"));
        QVERIFY(ui.errors[2].contains(qt_error_string(EROFS)));
    }

    // Names of 246 to 255 bytes leave no room for the info file's suffix: the name in the
    // trash is shortened (the extension kept), the info keeps the full original path.
    void longestNamesAreTrashed() {
        const QByteArray accents = QByteArray("\xc3\xa9").repeated(60);
        for (int length : {245, 246, 250, 255}) {
            const QByteArray name = QByteArray(length - 124, 'x') + accents + ".jpg";
            const QByteArray data = Picture(src + "/" + name, 100 + length);
            const CFileOpResult r = ops->Delete(src + "/" + name, true);
            QCOMPARE(r.outcome, Outcome::Done);
            QCOMPARE(ReadBytes(r.target), data);
            const QByteArray inTrash = r.target.mid(r.target.lastIndexOf('/') + 1);
            QVERIFY(inTrash.endsWith(".jpg") && inTrash.size() <= 245);
            // Never a broken character at the cut.
            QVERIFY(QString::fromUtf8(inTrash).toUtf8() == inTrash);
            QCOMPARE(InfoPath(trash + "/info/" + inTrash + ".trashinfo"),
                     "Path=" + (src + "/" + name).toPercentEncoding("/"));
        }
        // Two names that shorten alike are numbered, and both infos name their own file.
        QCOMPARE(ListDir(trash + "/files").size(), 4);
        QCOMPARE(ListDir(src), Names{});
        QVERIFY(ui.errors.isEmpty());
    }

    void deleteOutright() {
        Picture(src + "/a.jpg");
        Picture(src + "/b.jpg");
        QCOMPARE(ops->Delete(src + "/a.jpg", false).outcome, Outcome::Done);
        QCOMPARE(ListDir(src), Names{"b.jpg"});
        QCOMPARE(ListDir(root), (Names{"dst", "src"})); // no trash was made
        const CFileOpResult r = ops->Delete(src + "/a.jpg", false);
        QCOMPARE(r.outcome, Outcome::Failed);
        QVERIFY(r.error.contains(qt_error_string(ENOENT)));
        QCOMPARE(ops->Delete(src, false).outcome, Outcome::Failed); // folders only to the trash
        QCOMPARE(ListDir(src), Names{"b.jpg"});
    }
};

QTEST_MAIN(TestTrash)
#include "tst_trash.moc"
