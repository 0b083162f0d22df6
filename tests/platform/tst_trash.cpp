// Delete to the trash and outright: where the file and its info end up.
#include "platform/CFileOperations.h"
#include "platform/CNativePath.h"
#include "platform/CTrashDirectory.h"
#include "tests/support/ScriptedFileOpUi.h"
#include "tests/support/TestSupport.h"
#include "tests/support/TmpfsMount.h"

#include <QtTest>
#include <cerrno>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

using Outcome = CFileOpResult::Outcome;
using Names = QList<QByteArray>;

namespace {
QByteArray Join(const QByteArray& dir, const QByteArray& name) {
    return CNativePath::Join(dir, name);
}
QByteArray Uid() {
    return QByteArray::number(static_cast<qulonglong>(::getuid()));
}
// The Path= line of an info file.
QByteArray InfoPath(const QByteArray& infoFile) {
    const QList<QByteArray> lines = ReadBytes(infoFile).split('\n');
    return lines.size() > 1 && lines[0] == "[Trash Info]" ? lines[1] : QByteArray();
}
} // namespace

class TestTrash : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<QTemporaryDir> m_tmp;
    QByteArray m_root, m_pics;
    ScriptedFileOpUi m_ui;

    QByteArray Picture(const QByteArray& dir, const QByteArray& name, int seed = 1) {
        const QByteArray data = Pattern(3000, seed);
        if (!WriteBytes(Join(dir, name), data))
            qFatal("cannot write a test picture");
        return data;
    }

private Q_SLOTS:
    void init();
    void cleanup();
    void missingTrashFolderIsCreated();
    void missingLocalShareIsCreated();
    void takenNamesInTheTrashAreNumbered();
    void trashOnAnotherDevice();
    void sharedTopDirTrash();
    void untrashableFileStaysWhereItIs();
    void deleteOutright();
};

void TestTrash::init() {
    m_tmp = std::make_unique<QTemporaryDir>();
    m_root = QFile::encodeName(m_tmp->path());
    m_pics = Join(m_root, "pics");
    ::mkdir(m_pics.constData(), 0755);
    qputenv("XDG_DATA_HOME", Join(m_root, "data"));
    qputenv("HOME", Join(m_root, "home"));
    m_ui = ScriptedFileOpUi();
}

void TestTrash::cleanup() {
    QDir::setCurrent(QDir::tempPath());
    RemoveTree(m_root);
}

void TestTrash::missingTrashFolderIsCreated() {
    ::mkdir(Join(m_root, "data").constData(), 0700);
    const QByteArray data = Picture(m_pics, "a.jpg");
    const QByteArray weird("b\xff.jpg");
    Picture(m_pics, weird, 2);
    CFileOperations ops(m_ui);
    const CFileOpResult r = ops.Delete(Join(m_pics, "a.jpg"), true);
    QCOMPARE(r.outcome, Outcome::Done);
    const QByteArray trash = Join(m_root, "data/Trash");
    QCOMPARE(r.target, Join(trash, "files/a.jpg"));
    QCOMPARE(ReadBytes(r.target), data);
    QCOMPARE(ListDir(m_pics), Names{weird});
    const QByteArray info = ReadBytes(Join(trash, "info/a.jpg.trashinfo"));
    QVERIFY(info.startsWith("[Trash Info]\nPath=" + Join(m_pics, "a.jpg") + "\nDeletionDate="));
    const QByteArray date = info.split('\n').value(2).mid(13);
    QVERIFY2(QDateTime::fromString(QString::fromLatin1(date), Qt::ISODate).isValid(), date);

    // A name that is not UTF-8 keeps its bytes; its recorded path is percent-encoded.
    QCOMPARE(ops.Delete(Join(m_pics, weird), true).outcome, Outcome::Done);
    QCOMPARE(ReadBytes(Join(trash, "files/" + weird)), Pattern(3000, 2));
    QCOMPARE(InfoPath(Join(trash, "info/" + weird + ".trashinfo")),
             "Path=" + Join(m_pics, "b%FF.jpg"));
    QCOMPARE(ListDir(m_pics), Names{});
    QVERIFY(m_ui.errors.isEmpty());
}

// With no ~/.local/share at all the trash is made there, never below the current folder.
void TestTrash::missingLocalShareIsCreated() {
    qunsetenv("XDG_DATA_HOME");
    const QByteArray home = Join(m_root, "home");
    ::mkdir(home.constData(), 0700);
    QDir::setCurrent(QFile::decodeName(home));
    const QByteArray data = Picture(m_pics, "a.jpg");
    CFileOperations ops(m_ui);
    const CFileOpResult r = ops.Delete(Join(m_pics, "a.jpg"), true);
    QCOMPARE(r.outcome, Outcome::Done);
    QCOMPARE(ReadBytes(Join(home, ".local/share/Trash/files/a.jpg")), data);
    QVERIFY(!InfoPath(Join(home, ".local/share/Trash/info/a.jpg.trashinfo")).isEmpty());
    QCOMPARE(ListDir(home), Names{".local"});
    QCOMPARE(ListDir(m_pics), Names{});
}

void TestTrash::takenNamesInTheTrashAreNumbered() {
    CFileOperations ops(m_ui);
    Picture(m_pics, "a.jpg", 1);
    QVERIFY(ops.Delete(Join(m_pics, "a.jpg"), true).Succeeded());
    Picture(m_pics, "a.jpg", 2);
    const CFileOpResult r = ops.Delete(Join(m_pics, "a.jpg"), true);
    const QByteArray trash = Join(m_root, "data/Trash");
    QCOMPARE(r.target, Join(trash, "files/a (1).jpg"));
    QCOMPARE(ReadBytes(Join(trash, "files/a.jpg")), Pattern(3000, 1));
    QCOMPARE(ReadBytes(Join(trash, "files/a (1).jpg")), Pattern(3000, 2));
    QCOMPARE(ListDir(Join(trash, "info")), (Names{"a (1).jpg.trashinfo", "a.jpg.trashinfo"}));
    QCOMPARE(InfoPath(Join(trash, "info/a (1).jpg.trashinfo")), "Path=" + Join(m_pics, "a.jpg"));
}

void TestTrash::trashOnAnotherDevice() {
    TmpfsMount other;
    REQUIRE_MOUNT(other);
    const QByteArray sub = Join(other.Path(), "sub");
    ::mkdir(sub.constData(), 0755);
    const QByteArray data = Picture(sub, "a.jpg");
    QCOMPARE(CTrashDirectory::TopDir(sub,
                                     [&] {
                                         struct stat st {};
                                         ::stat(sub.constData(), &st);
                                         return st.st_dev;
                                     }()),
             other.Path());
    CFileOperations ops(m_ui);
    const CFileOpResult r = ops.Delete(Join(sub, "a.jpg"), true);
    QCOMPARE(r.outcome, Outcome::Done);
    const QByteArray trash = Join(other.Path(), ".Trash-" + Uid());
    QCOMPARE(ReadBytes(Join(trash, "files/a.jpg")), data);
    // A top directory's trash records the path relative to the top directory.
    QCOMPARE(InfoPath(Join(trash, "info/a.jpg.trashinfo")), QByteArray("Path=sub/a.jpg"));
    QCOMPARE(ListDir(sub), Names{});
    QVERIFY(ListDir(Join(m_root, "data")).isEmpty()); // the home trash was not made for it
}

void TestTrash::sharedTopDirTrash() {
    TmpfsMount other;
    REQUIRE_MOUNT(other);
    const QByteArray shared = Join(other.Path(), ".Trash");
    ::mkdir(shared.constData(), 0777);
    ::chmod(shared.constData(), 01777);
    const QByteArray data = Picture(other.Path(), "a.jpg");
    CFileOperations ops(m_ui);
    QCOMPARE(ops.Delete(Join(other.Path(), "a.jpg"), true).outcome, Outcome::Done);
    QCOMPARE(ReadBytes(Join(shared, Uid() + "/files/a.jpg")), data);
    QCOMPARE(ListDir(other.Path()), Names{".Trash"});

    // Without the sticky bit the shared folder is not trusted: the user's own is made.
    ::chmod(shared.constData(), 0777);
    Picture(other.Path(), "b.jpg", 2);
    QCOMPARE(ops.Delete(Join(other.Path(), "b.jpg"), true).outcome, Outcome::Done);
    QCOMPARE(ReadBytes(Join(other.Path(), ".Trash-" + Uid() + "/files/b.jpg")), Pattern(3000, 2));
}

// A file that cannot be trashed is never removed outright instead.
void TestTrash::untrashableFileStaysWhereItIs() {
    TmpfsMount other;
    REQUIRE_MOUNT(other);
    const QByteArray data = Picture(other.Path(), "a.jpg");
    // The place for the trash is taken by a file, and by a link to elsewhere.
    WriteBytes(Join(other.Path(), ".Trash-" + Uid()), "not a folder");
    CFileOperations ops(m_ui);
    QCOMPARE(ops.Delete(Join(other.Path(), "a.jpg"), true).outcome, Outcome::Failed);
    ::unlink(Join(other.Path(), ".Trash-" + Uid()).constData());
    ::symlink(m_root.constData(), Join(other.Path(), ".Trash-" + Uid()).constData());
    QCOMPARE(ops.Delete(Join(other.Path(), "a.jpg"), true).outcome, Outcome::Failed);
    QCOMPARE(ReadBytes(Join(other.Path(), "a.jpg")), data);
    QCOMPARE(ListDir(m_root), (Names{"pics"}));
    // On a read-only file system neither trash nor delete can take it.
    ::unlink(Join(other.Path(), ".Trash-" + Uid()).constData());
    QVERIFY(other.MakeReadOnly());
    QCOMPARE(ops.Delete(Join(other.Path(), "a.jpg"), true).outcome, Outcome::Failed);
    QCOMPARE(ops.Delete(Join(other.Path(), "a.jpg"), false).outcome, Outcome::Failed);
    QCOMPARE(ReadBytes(Join(other.Path(), "a.jpg")), data);
    QCOMPARE(m_ui.errors.size(), 4);
    QVERIFY(m_ui.errors[0].contains("a.jpg") && m_ui.errors[0].contains("left where it is"));
    QVERIFY(m_ui.errors[2].contains(qt_error_string(EROFS)));
}

void TestTrash::deleteOutright() {
    Picture(m_pics, "a.jpg");
    Picture(m_pics, "b.jpg");
    CFileOperations ops(m_ui);
    QCOMPARE(ops.Delete(Join(m_pics, "a.jpg"), false).outcome, Outcome::Done);
    QCOMPARE(ListDir(m_pics), Names{"b.jpg"});
    QCOMPARE(ListDir(m_root), Names{"pics"}); // no trash was made
    const CFileOpResult r = ops.Delete(Join(m_pics, "a.jpg"), false);
    QCOMPARE(r.outcome, Outcome::Failed);
    QVERIFY(r.error.contains(qt_error_string(ENOENT)));
    QCOMPARE(ops.Delete(m_pics, false).outcome, Outcome::Failed); // folders only to the trash
    QCOMPARE(ListDir(m_pics), Names{"b.jpg"});
}

QTEST_MAIN(TestTrash)
#include "tst_trash.moc"
