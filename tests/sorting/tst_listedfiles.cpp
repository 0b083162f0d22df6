// A sort action acts on the file that was listed and shown, and on its companions beside it,
// whatever is done to the folder's path or to the picture's name in between: a folder
// exchanged for a link to another folder with files of the same names, another folder put
// in its place, a picture replaced by another file of its name.
#include "platform/files/CFileActionHook.h"
#include "tests/sorting/SessionTestBase.h"
#include "tests/support/PictureDesk.h"

#include <QMap>
#include <QtTest>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <unistd.h>

namespace {
enum class Act { Trash, Delete, Move, Copy };
// What happens to the listed folder's path: exchanged with a link to the decoy, exchanged
// with the decoy folder itself, or (when it was listed through a link) the link retargeted.
enum class Swap { LinkToDecoy, DecoyFolder, RetargetedLink };

const QList<QByteArray> kGroup{"a.jpg", "a.xmp", "a.CR2", "b.jpg"};

using Contents = QMap<QByteArray, QByteArray>;

Contents Read(const QByteArray& dir) {
    Contents contents;
    for (const QByteArray& name : ListDir(dir))
        contents.insert(name, ReadBytes(dir + "/" + name));
    return contents;
}

bool Exchange(const QByteArray& a, const QByteArray& b) {
    return ::renameat2(AT_FDCWD, a.constData(), AT_FDCWD, b.constData(), RENAME_EXCHANGE) == 0;
}

// Runs a test's step once the action has begun (its folder checked, its companions found),
// before any file is touched.
class CMidwayHook : public CFileActionHook {
public:
    CMidwayHook(CSortSession& session, std::function<void()> step)
        : m_session(session), m_step(std::move(step)) {
        m_session.SetActionRecorder(this);
    }
    ~CMidwayHook() override { m_session.SetActionRecorder(nullptr); }
    QList<CFileOpResult> Run(const CFileAction& action, const Operation& op) override {
        m_step();
        QList<CFileOpResult> results;
        for (const QByteArray& file : action.files)
            results.append(op(file));
        return results;
    }

private:
    CSortSession& m_session;
    std::function<void()> m_step;
};
} // namespace

Q_DECLARE_METATYPE(Act)
Q_DECLARE_METATYPE(Swap)

class TestListedFiles : public SessionTestBase {
    Q_OBJECT

    // The listed folder (src/, or real/ behind the link src when bLinked) with a.jpg, its
    // sidecar and its twin, and b.jpg; decoy/ with files of the same names and other
    // content. a.jpg is current.
    void Lay(bool bLinked = false) {
        m_listed = bLinked ? root + "/real" : src;
        m_decoy = root + "/decoy";
        if (bLinked) {
            QVERIFY(::rmdir(src.constData()) == 0 && ::mkdir(m_listed.constData(), 0755) == 0);
            QVERIFY(::symlink("real", src.constData()) == 0);
        }
        QVERIFY(::mkdir(m_decoy.constData(), 0755) == 0);
        for (int i = 0; i < kGroup.size(); ++i) {
            QVERIFY(WriteBytes(m_listed + "/" + kGroup[i], Pattern(300 + i, i)));
            QVERIFY(WriteBytes(m_decoy + "/" + kGroup[i], "decoy " + kGroup[i]));
        }
        List({"a.jpg", "b.jpg"}, "a.jpg");
        m_before = Read(m_listed);
        m_decoyBefore = Read(m_decoy);
    }
    // The action given and its outcome shown: whether the picture went.
    bool Perform(Act act) { return Went(Give(act)); }
    bool Give(Act act) {
        switch (act) {
        case Act::Trash:
            return Session().Delete(true);
        case Act::Delete:
            return Session().Delete(false);
        case Act::Move:
            return Session().Move(QString::fromUtf8(dst));
        case Act::Copy:
            return Session().Copy(QString::fromUtf8(dst));
        }
        return false;
    }
    // Where the listed folder and the decoy are after the swap.
    void SwapFolder(Swap swap) {
        switch (swap) {
        case Swap::LinkToDecoy:
            QVERIFY(::symlink("decoy", (root + "/swap").constData()) == 0);
            QVERIFY(Exchange(src, root + "/swap"));
            m_listed = root + "/swap";
            break;
        case Swap::DecoyFolder:
            QVERIFY(Exchange(src, m_decoy));
            std::swap(m_listed, m_decoy);
            break;
        case Swap::RetargetedLink:
            QVERIFY(::symlink("decoy", (root + "/new").constData()) == 0);
            QVERIFY(::rename((root + "/new").constData(), src.constData()) == 0);
            break;
        }
    }
    QList<QByteArray> Trashed() const { return ListDir(trash + "/files"); }

private Q_SLOTS:
    void init() { Reset(); }

    // The folder's path leads elsewhere when the action comes: it is refused, says why,
    // and no file anywhere changes; the picture stays listed and current.
    void swappedFolderIsRefused_data() {
        QTest::addColumn<Act>("act");
        QTest::addColumn<Swap>("swap");
        QTest::addColumn<bool>("linked");
        for (Act act : {Act::Trash, Act::Delete, Act::Move, Act::Copy}) {
            const char* name[] = {"trash", "delete", "move", "copy"};
            const QByteArray verb = name[int(act)];
            QTest::newRow(verb + ", exchanged for a link") << act << Swap::LinkToDecoy << false;
            QTest::newRow(verb + ", exchanged for a folder") << act << Swap::DecoyFolder << false;
            QTest::newRow(verb + ", link retargeted") << act << Swap::RetargetedLink << true;
        }
    }
    void swappedFolderIsRefused() {
        QFETCH(Act, act);
        QFETCH(Swap, swap);
        QFETCH(bool, linked);
        Lay(linked);
        SwapFolder(swap);

        QVERIFY(!Perform(act));
        QCOMPARE(Read(m_listed), m_before);
        QCOMPARE(Read(m_decoy), m_decoyBefore);
        QCOMPARE(ListDir(dst), QList<QByteArray>());
        QCOMPARE(Trashed(), QList<QByteArray>());
        QCOMPARE(ui.errors.size(), 1);
        QVERIFY2(ui.errors[0].contains("a.jpg") &&
                     ui.errors[0].contains("folder has been replaced"),
                 qPrintable(ui.errors[0]));
        QCOMPARE(Listed(), (Names{"a.jpg", "b.jpg"}));
        QCOMPARE(Current(), QByteArray("a.jpg"));
    }

    // Another file took the picture's name after it was shown: it is refused, and the new
    // file and the companions stay. Once the picture is looked at again, the file now
    // shown is the one sorted.
    void replacedPictureIsRefusedUntilShownAgain_data() {
        QTest::addColumn<Act>("act");
        QTest::newRow("trash") << Act::Trash;
        QTest::newRow("delete") << Act::Delete;
        QTest::newRow("move") << Act::Move;
        QTest::newRow("copy") << Act::Copy;
    }
    void replacedPictureIsRefusedUntilShownAgain() {
        QFETCH(Act, act);
        Lay();
        Session().FinishActions(); // the session has noted the file on show
        const QByteArray newer = "another picture of the same name";
        QVERIFY(WriteBytes(src + "/.a.jpg.new", newer));
        QVERIFY(::rename((src + "/.a.jpg.new").constData(), (src + "/a.jpg").constData()) == 0);
        Contents now = m_before;
        now["a.jpg"] = newer;

        QVERIFY(!Perform(act));
        QCOMPARE(Read(src), now);
        QCOMPARE(ListDir(dst), QList<QByteArray>());
        QCOMPARE(Trashed(), QList<QByteArray>());
        QCOMPARE(ui.errors.size(), 1);
        QVERIFY2(ui.errors[0].contains("another file has taken its name"),
                 qPrintable(ui.errors[0]));
        QCOMPARE(Current(), QByteArray("a.jpg"));

        Session().SetCurrent(0); // looked at again
        QVERIFY(Perform(act));
        QCOMPARE(ui.errors.size(), 1);
        if (act == Act::Move || act == Act::Copy)
            QCOMPARE(ReadBytes(dst + "/a.jpg"), newer);
        if (act == Act::Trash)
            QCOMPARE(ReadBytes(trash + "/files/a.jpg"), newer);
        QCOMPARE(ListDir(src).contains("a.xmp"), act == Act::Copy);
    }

    // Once the action has checked its folder, the folder's path can change no more than
    // where the files go: the listed picture and its companions are the ones sorted, and
    // the decoy's files of the same names stay as they were.
    void folderSwappedMidwaySortsTheListedFiles_data() {
        replacedPictureIsRefusedUntilShownAgain_data();
    }
    void folderSwappedMidwaySortsTheListedFiles() {
        QFETCH(Act, act);
        Lay();
        const CMidwayHook hook(Session(), [&] { SwapFolder(Swap::LinkToDecoy); });

        QVERIFY(Perform(act));
        QCOMPARE(ui.errors, QStringList());
        QCOMPARE(Read(m_decoy), m_decoyBefore);
        const QList<QByteArray> group{"a.jpg", "a.xmp", "a.CR2"};
        const Contents left = Read(m_listed);
        const Contents arrived = Read(act == Act::Trash ? trash + "/files" : dst);
        for (const QByteArray& name : group) {
            QCOMPARE(left.contains(name), act == Act::Copy);
            if (act != Act::Delete)
                QCOMPARE(arrived.value(name), m_before.value(name));
        }
        QCOMPARE(left.value("b.jpg"), m_before.value("b.jpg"));
        // The trash records where the picture really was.
        if (act == Act::Trash)
            QVERIFY(ReadBytes(trash + "/info/a.jpg.trashinfo").contains("/swap/a.jpg\n"));
    }

    // A companion replaced after it was found is left where it is, with the file that took
    // its name; the picture and the other companion go.
    void replacedCompanionStays() {
        Lay();
        const CMidwayHook hook(Session(), [&] {
            QVERIFY(WriteBytes(src + "/.new", "another sidecar"));
            QVERIFY(::rename((src + "/.new").constData(), (src + "/a.xmp").constData()) == 0);
        });
        QVERIFY(Session().Move(QString::fromUtf8(dst)));
        QVERIFY(Settle());
        QCOMPARE(ListDir(dst), (QList<QByteArray>{"a.CR2", "a.jpg"}));
        QCOMPARE(ReadBytes(src + "/a.xmp"), QByteArray("another sidecar"));
        QCOMPARE(ui.errors.size(), 1);
        QVERIFY(ui.errors[0].contains("a.xmp") && ui.errors[0].contains("taken its name"));
    }

    // A folder listed through a link sorts as any other while the link stays as it was.
    void folderListedThroughALinkSorts_data() { replacedPictureIsRefusedUntilShownAgain_data(); }
    void folderListedThroughALinkSorts() {
        QFETCH(Act, act);
        Lay(true);
        QVERIFY(Perform(act));
        QCOMPARE(ui.errors, QStringList());
        QCOMPARE(ListDir(m_listed).contains("a.jpg"), act == Act::Copy);
        QCOMPARE(ListDir(act == Act::Trash ? trash + "/files" : dst).contains("a.xmp"),
                 act != Act::Delete);
        QCOMPARE(Read(m_decoy), m_decoyBefore);
    }

    // Through the main window: the folder the list was filled from is the one checked.
    void windowRefusesASwappedFolder_data() {
        QTest::addColumn<bool>("move");
        QTest::newRow("delete to the trash") << false;
        QTest::newRow("move") << true;
    }
    void windowRefusesASwappedFolder() {
        QFETCH(bool, move);
        PictureDesk desk;
        QVERIFY(desk.Picture("Pics/one.jpg") && desk.Picture("Pics/two.jpg"));
        QDir(desk.Path("")).mkpath("Decoy");
        QDir(desk.Path("")).mkpath("Elsewhere");
        QVERIFY(desk.Picture("Decoy/one.jpg", 30, 30) && desk.Picture("Decoy/two.jpg", 30, 30));
        desk.Start();
        QCOMPARE(desk.Listed(), (QStringList{"one.jpg", "two.jpg"}));
        desk.Select("one.jpg");
        QCOMPARE(desk.Current(), QStringLiteral("one.jpg"));
        const QByteArray pics = QFile::encodeName(desk.Path("Pics"));
        const QByteArray link = QFile::encodeName(desk.Path("link"));
        QVERIFY(::symlink("Decoy", link.constData()) == 0 && Exchange(pics, link));

        QVERIFY(move ? desk.List().MoveCurFile(desk.Path("Elsewhere"))
                     : desk.List().DeleteCurFile(true));
        QVERIFY(desk.Frame().Settle());
        QCOMPARE(desk.Messages(), 1); // answered while the action waited for it
        QCOMPARE(desk.OnDisk("link"), (QStringList{"one.jpg", "two.jpg"}));
        QCOMPARE(desk.OnDisk("Decoy"), (QStringList{"one.jpg", "two.jpg"}));
        QCOMPARE(desk.OnDisk("Elsewhere"), QStringList());
        QCOMPARE(desk.OnDisk("data/Trash/files"), QStringList());
        QCOMPARE(desk.Listed(), (QStringList{"one.jpg", "two.jpg"}));
    }

private:
    QByteArray m_listed, m_decoy;
    Contents m_before, m_decoyBefore;
};

QTEST_MAIN(TestListedFiles)
#include "tst_listedfiles.moc"
