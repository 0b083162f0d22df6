// Companion files (sidecars, the RAW or JPEG twin) found beside a picture, and sent, undone
// and redone with it as one action; every byte is followed to where it ended up.
#include "platform/files/CFolderHandle.h"
#include "platform/system/CNativePath.h"
#include "sorting/journal/UndoTexts.h"
#include "sorting/session/CSortSession.h"
#include "sorting/session/Companions.h"
#include "tests/sorting/UndoTestBase.h"

#include <QSignalSpy>
#include <QtTest>
#include <algorithm>
#include <unistd.h>

namespace {

using Names = QList<QByteArray>;
using Choice = CFileOpUi::ConflictChoice;
enum class Sort { Move, Copy, Trash, Delete };

// The content each test file gets: its own name, so that where it ended tells which it was.
QByteArray Content(const QByteArray& name) {
    return "content of " + name;
}

// "dir/name=content of name" for each name: the files that are expected in dir.
QStringList In(const QByteArray& dir, const Names& names) {
    QStringList out;
    for (const QByteArray& name : names)
        out << QString::fromUtf8(dir + "/" + name + "=" + Content(name));
    return out;
}

const Names kGroup{"IMG_1.JPG", "IMG_1.CR2", "IMG_1.xmp", "IMG_1.CR2.xmp"};
const Names kRest{"IMG_2.JPG"};

} // namespace

Q_DECLARE_METATYPE(Sort)

class TestCompanions : public UndoTestBase {
    Q_OBJECT

    void Make(const Names& names) {
        for (const QByteArray& name : names)
            QVERIFY(WriteBytes(src + "/" + name, Content(name)));
    }
    // Every file as "path=content", the trash's info files left out.
    QStringList Layout() const {
        QStringList out;
        const auto files = Files(root, false);
        for (auto it = files.cbegin(); it != files.cend(); ++it)
            out << QString::fromUtf8(it.key() + "=" + it.value());
        out.sort();
        return out;
    }
    bool Move() { return Session().Move(QString::fromUtf8(dst)); }
    bool Do(Sort act) {
        switch (act) {
        case Sort::Move:
            return Move();
        case Sort::Copy:
            return Session().Copy(QString::fromUtf8(dst));
        case Sort::Trash:
            return Session().Delete(true);
        case Sort::Delete:
            return Session().Delete(false);
        }
        return false;
    }
    template <typename List> static List Sorted(List list) {
        std::sort(list.begin(), list.end());
        return list;
    }

private Q_SLOTS:
    void initTestCase() { qRegisterMetaType<SortRecord>(); }
    void init() {
        ResetAll();
        Session().SetMoveCompanions(true);
    }

    // Which files beside a picture belong to it: sidecars in any letter case, the twin of
    // the other kind with its own sidecar, and nothing that is not an ordinary file.
    void findsTheCompanionsOnDisk_data() {
        QTest::addColumn<Names>("disk"); // "name/" a folder, "name@target" a link
        QTest::addColumn<QByteArray>("picture");
        QTest::addColumn<Names>("expected");
        QTest::newRow("jpeg with raw twin and sidecars")
            << Names{"IMG_1.JPG",     "IMG_1.CR2", "IMG_1.xmp",  "IMG_1.JPG.xmp",
                     "IMG_1.CR2.XMP", "IMG_2.JPG", "IMG_10.CR2", "IMG_1.txt"}
            << QByteArray("IMG_1.JPG")
            << Names{"IMG_1.xmp", "IMG_1.JPG.xmp", "IMG_1.CR2", "IMG_1.CR2.XMP"};
        QTest::newRow("raw with jpeg twins of every alias, any case")
            << Names{"a.nef", "a.jpg", "a.JPEG", "a.Jfif", "a.Xmp", "a.png"} << QByteArray("a.nef")
            << Names{"a.Xmp", "a.jpg", "a.JPEG", "a.Jfif"};
        QTest::newRow("two raws are no twins, nor a jpeg and a jpeg")
            << Names{"b.jpg", "b.jpeg", "b.png.xmp"} << QByteArray("b.jpg") << Names{};
        QTest::newRow("other types have sidecars only")
            << Names{"p.png", "p.cr2", "p.png.XMP"} << QByteArray("p.png") << Names{"p.png.XMP"};
        QTest::newRow("spaces and non-ascii")
            << Names{"Été à Paris 1.jpg", "Été à Paris 1.dng", "Été à Paris 1.xmp"}
            << QByteArray("Été à Paris 1.jpg") << Names{"Été à Paris 1.xmp", "Été à Paris 1.dng"};
        QTest::newRow("bytes that are not utf-8")
            << Names{"\xff\xfe.jpg", "\xff\xfe.pef", "\xff.pef"} << QByteArray("\xff\xfe.jpg")
            << Names{"\xff\xfe.pef"};
        QTest::newRow("a.b.jpg: the stem keeps its dot")
            << Names{"a.b.jpg", "a.b.xmp", "a.xmp", "a.b.arw", "a.b.jpg.xmp", "a.jpg"}
            << QByteArray("a.b.jpg") << Names{"a.b.xmp", "a.b.jpg.xmp", "a.b.arw"};
        QTest::newRow("dot-less name: its one sidecar, no twin")
            << Names{"IMG", "IMG.xmp", "IMG.cr2"} << QByteArray("IMG") << Names{"IMG.xmp"};
        QTest::newRow("all extension: no stem to share")
            << Names{".jpg", ".xmp", ".jpg.xmp", ".cr2"} << QByteArray(".jpg") << Names{".jpg.xmp"};
        QTest::newRow("folders and links are skipped, not followed")
            << Names{"c.jpg", "c.xmp/", "c.jpg.xmp@nowhere", "c.raf@real.raf", "real.raf", "c.dng/"}
            << QByteArray("c.jpg") << Names{};
        QTest::newRow("a hard link to the picture is the picture")
            << Names{"d.jpg", "d.cr2@@d.jpg", "d.xmp@@d.jpg"} << QByteArray("d.jpg") << Names{};
    }
    void findsTheCompanionsOnDisk() {
        QFETCH(Names, disk);
        QFETCH(QByteArray, picture);
        QFETCH(Names, expected);
        for (const QByteArray& entry : disk) {
            const QByteArray path = src + "/" + entry.split('@').first();
            if (entry.endsWith('/'))
                QCOMPARE(::mkdir(path.chopped(1).constData(), 0755), 0);
            else if (entry.contains("@@"))
                QCOMPARE(::link((src + "/" + entry.split('@').last()).constData(), path), 0);
            else if (entry.contains('@'))
                QCOMPARE(::symlink(entry.split('@').last().constData(), path.constData()), 0);
            else
                QVERIFY(WriteBytes(path, Content(entry)));
        }
        Names found;
        for (const QByteArray& path : companions::Find(src + "/" + picture)) {
            QCOMPARE(CNativePath::DirName(path), src);
            found << CNativePath::FileName(path);
        }
        QCOMPARE(found, expected);
        // The same from one reading of the folder, as a sort of many pictures finds them.
        const CFolderHandle folder = CFolderHandle::Open(src);
        const QSet<QByteArray> listing = companions::Names(folder.Fd());
        QVERIFY(listing.contains(picture));
        Names fromListing;
        for (const companions::Companion& c : companions::FindIn(folder.Fd(), picture, &listing))
            fromListing << c.name;
        QCOMPARE(fromListing, expected);
        // By the names alone, as a warning counts them before a delete: the same, where no
        // name is a folder or a link (which only the disk can tell).
        if (std::any_of(disk.cbegin(), disk.cend(),
                        [](const QByteArray& e) { return e.contains('/') || e.contains('@'); }))
            return;
        Names byNames;
        for (const companions::Companion& c : companions::FindIn(-1, picture, &listing))
            byNames << c.name;
        QCOMPARE(byNames, expected);
    }

    // Each action takes the picture's group as one journal record; undo brings every file
    // back (an undone copy goes to the trash, never removed outright) and redo sends them
    // again. With the setting off only the picture goes. A group deleted outright, or one of
    // whose files changed since, is not undone at all.
    void theGroupGoesAndComesBack_data() {
        QTest::addColumn<Sort>("act");
        QTest::addColumn<bool>("bCompanions");
        QTest::addColumn<QStringList>("after"); // the layout after the action
        QTest::addColumn<Names>("listed");
        QTest::addColumn<QByteArray>("edited"); // changed in dst before the undo
        QTest::addColumn<QString>("told");
        const Names all = kGroup + kRest;
        const Names listed{"IMG_1.CR2", "IMG_1.JPG", "IMG_2.JPG"};
        QTest::newRow("move") << Sort::Move << true << In("dst", kGroup) + In("src", kRest) << kRest
                              << QByteArray() << "Moved IMG_1.JPG and 3 companion files to dst";
        QTest::newRow("copy") << Sort::Copy << true << In("dst", kGroup) + In("src", all) << listed
                              << QByteArray() << "Copied IMG_1.JPG and 3 companion files to dst";
        QTest::newRow("trash") << Sort::Trash << true
                               << In("data/Trash/files", kGroup) + In("src", kRest) << kRest
                               << QByteArray() << "Trashed IMG_1.JPG and 3 companion files";
        QTest::newRow("delete outright")
            << Sort::Delete << true << In("src", kRest) << kRest << QByteArray()
            << "Deleted IMG_1.JPG and 3 companion files \u2014 it cannot be undone";
        QTest::newRow("move, setting off")
            << Sort::Move << false << In("dst", {"IMG_1.JPG"}) + In("src", all.mid(1))
            << Names{"IMG_1.CR2", "IMG_2.JPG"} << QByteArray() << "Moved IMG_1.JPG to dst";
        QTest::newRow("move, a sidecar edited before the undo")
            << Sort::Move << true << In("dst", kGroup) + In("src", kRest) << kRest
            << QByteArray("IMG_1.xmp") // undone after the RAW, which goes back again
            << "Moved IMG_1.JPG and 3 companion files to dst";
    }
    void theGroupGoesAndComesBack() {
        QFETCH(Sort, act);
        QFETCH(bool, bCompanions);
        QFETCH(QStringList, after);
        QFETCH(Names, listed);
        QFETCH(QByteArray, edited);
        QFETCH(QString, told);
        Make(kGroup + kRest);
        const QStringList before = Layout();
        List({"IMG_1.CR2", "IMG_1.JPG", "IMG_2.JPG"}, "IMG_1.JPG");
        Session().SetMoveCompanions(bCompanions);
        auto h = History();
        Session().SetActionRecorder(h.get());
        QSignalSpy count(&Session(), &CSortSession::FileCountChanged);

        QVERIFY(Went(Do(act)));
        Session().SetActionRecorder(nullptr);
        QCOMPARE(Layout(), Sorted(after));
        QCOMPARE(Listed(), listed);
        QCOMPARE(Current(), QByteArray("IMG_2.JPG"));
        QCOMPARE(count.size(), act == Sort::Copy ? 0 : 1);
        QCOMPARE(h->Records().size(), 1);
        QCOMPARE(h->Records().first().entries.size(), bCompanions ? 4 : 1);
        QCOMPARE(undo_texts::Performed(h->Records().first(), false), told);
        QCOMPARE(ListDir(trash + "/info").size(), act == Sort::Trash ? 4 : 0);

        if (!edited.isEmpty()) {
            QVERIFY(WriteBytes(dst + "/" + edited, Content(edited) + " edited"));
            after.replaceInStrings(Content(edited), Content(edited) + " edited");
        }
        const CUndoHistory::Outcome undone = h->Undo(ui);
        if (act == Sort::Delete || !edited.isEmpty()) { // nothing back, nothing touched
            QVERIFY(!undone.bDone);
            QVERIFY2(edited.isEmpty() || undone.message.contains(edited + "\" in"),
                     qPrintable(undone.message));
            QCOMPARE(Layout(), Sorted(after));
            return;
        }
        QVERIFY2(undone.bDone, qPrintable(undone.message));
        const QStringList binned =
            act == Sort::Copy ? In("data/Trash/files", kGroup) : QStringList();
        QCOMPARE(Layout(), Sorted(before + binned));
        QCOMPARE(undone.restored.last(), src + "/IMG_1.JPG"); // the picture is shown again
        QCOMPARE(ListDir(trash + "/info").size(), binned.size());
        const CUndoHistory::Outcome redone = h->Redo(ui);
        QVERIFY2(redone.bDone, qPrintable(redone.message));
        QCOMPARE(Layout(), Sorted(after + binned));
        QVERIFY(ui.errors.isEmpty());
    }

    // A name already taken by any file of the group is asked about like any other; each
    // answer keeps every byte, and an undo takes back just what was moved. (What Replace
    // does is the file operations' own test.)
    void collisionsAreAskedFileByFile_data() {
        QTest::addColumn<QByteArray>("taken"); // the name already in dst
        QTest::addColumn<Choice>("answer");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<QString>("told");
        const QStringList old = {"dst/IMG_1.xmp=old"};
        const Names rest{"IMG_1.JPG", "IMG_1.CR2", "IMG_1.CR2.xmp"};
        QTest::newRow("picture's name taken, skip: the group stays")
            << QByteArray("IMG_1.JPG") << Choice::Skip
            << QStringList{"dst/IMG_1.JPG=old"} + In("src", kGroup + kRest) << QString();
        QTest::newRow("companion's name taken, keep both")
            << QByteArray("IMG_1.xmp") << Choice::KeepBoth
            << old + In("dst", rest) + QStringList{"dst/IMG_1 (1).xmp=content of IMG_1.xmp"} +
                   In("src", kRest)
            << "Moved IMG_1.JPG and 3 companion files to dst — Ctrl+Z to undo";
        QTest::newRow("companion's name taken, skip: it stays and is named")
            << QByteArray("IMG_1.xmp") << Choice::Skip
            << old + In("dst", rest) + In("src", Names{"IMG_1.xmp"} + kRest)
            << "Moved IMG_1.JPG and 2 companion files to dst; IMG_1.xmp stayed — Ctrl+Z to undo";
    }
    void collisionsAreAskedFileByFile() {
        QFETCH(QByteArray, taken);
        QFETCH(Choice, answer);
        QFETCH(QStringList, after);
        QFETCH(QString, told);
        Make(kGroup + kRest);
        QVERIFY(WriteBytes(dst + "/" + taken, "old"));
        const QStringList before = Layout();
        List({"IMG_1.CR2", "IMG_1.JPG", "IMG_2.JPG"}, "IMG_1.JPG");
        ui.answers = {answer};
        auto h = History();
        Session().SetActionRecorder(h.get());
        QSignalSpy performed(h.get(), &CUndoHistory::Performed);

        const bool bPictureWent = taken != "IMG_1.JPG";
        QCOMPARE(Went(Move()), bPictureWent);
        Session().SetActionRecorder(nullptr);
        QCOMPARE(ui.asked.size(), 2); // one question, about the file whose name was taken
        QCOMPARE(CNativePath::FileName(ui.asked.first().path), taken);
        QCOMPARE(Layout(), Sorted(after));
        QCOMPARE(Listed().contains("IMG_1.CR2"), !bPictureWent);
        QCOMPARE(performed.size(), 1);
        const SortRecord record = performed.first().first().value<SortRecord>();
        if (!bPictureWent) {
            QCOMPARE(record.state, SortRecord::State::Failed);
            QVERIFY(!h->UndoCandidate());
            return;
        }
        QCOMPARE(undo_texts::Performed(record, true), told);
        const CUndoHistory::Outcome undone = h->Undo(ui);
        QVERIFY2(undone.bDone, qPrintable(undone.message));
        QCOMPARE(Layout(), before); // the file that had the name is left alone
    }

    // A twin in the list leaves it with the picture; the move-on rule stays about the
    // picture sorted, and a twin the filter hid is no longer counted as hidden.
    void aListedTwinLeavesTheList_data() {
        QTest::addColumn<Names>("listed");
        QTest::addColumn<QByteArray>("current");
        QTest::addColumn<int>("hidden");
        QTest::addColumn<Names>("left");
        QTest::addColumn<QByteArray>("next");
        QTest::addColumn<QList<int>>("removed"); // the places of PictureRemoved, in order
        QTest::addColumn<int>("hiddenAfter");
        QTest::addColumn<Names>("moved");
        const Names group{"a.cr2", "a.jpg", "a.nef", "a.xmp"};
        QTest::newRow("twin before the picture, both last")
            << Names{"a.cr2", "a.jpg"} << QByteArray("a.jpg") << 0 << Names{} << QByteArray()
            << QList<int>{1, 0} << 0 << group;
        QTest::newRow("twin before, others around")
            << Names{"0.jpg", "a.nef", "a.jpg", "b.jpg"} << QByteArray("a.jpg") << 0
            << Names{"0.jpg", "b.jpg"} << QByteArray("b.jpg") << QList<int>{2, 1} << 0 << group;
        QTest::newRow("raw sorted, its jpeg listed after it")
            << Names{"a.nef", "b.jpg", "a.jpg"} << QByteArray("a.nef") << 0 << Names{"b.jpg"}
            << QByteArray("b.jpg") << QList<int>{2, 0} << 0
            << Names{"a.jpg", "a.nef", "a.xmp"}; // a raw has no raw twin
        QTest::newRow("twins hidden by the filter")
            << Names{"a.jpg", "b.jpg"} << QByteArray("a.jpg") << 3 << Names{"b.jpg"}
            << QByteArray("b.jpg") << QList<int>{0} << 1 << group;
    }
    void aListedTwinLeavesTheList() {
        QFETCH(Names, listed);
        QFETCH(QByteArray, current);
        QFETCH(int, hidden);
        QFETCH(Names, left);
        QFETCH(QByteArray, next);
        QFETCH(QList<int>, removed);
        QFETCH(int, hiddenAfter);
        QFETCH(Names, moved);
        Make({"0.jpg", "a.jpg", "a.nef", "a.cr2", "a.xmp", "b.jpg"});
        List(listed, current);
        Session().SetHiddenCount(hidden);
        QSignalSpy gone(&Session(), &CSortSession::PictureRemoved);
        QSignalSpy count(&Session(), &CSortSession::FileCountChanged);
        QVERIFY(Went(Move()));
        QCOMPARE(Listed(), left);
        QCOMPARE(Current(), next);
        QList<int> places;
        for (const QList<QVariant>& signal : gone)
            places << signal.first().toInt();
        QCOMPARE(places, removed);
        // Told at once, and again once a hidden twin is known to have gone.
        QCOMPARE(count.size(), hiddenAfter == hidden ? 1 : 2);
        QCOMPARE(count.last().first().toString(), Session().FileCountText());
        QCOMPARE(Session().HiddenCount(), hiddenAfter);
        QCOMPARE(ListDir(dst), moved);
    }
};

QTEST_MAIN(TestCompanions)
#include "tst_companions.moc"
