// The undo journal's file on disk: it is never written through a link or into a file that
// is not its own, and a damaged line costs that line alone, never the history after it.
#include "tests/sorting/UndoTestBase.h"

#include <QtTest>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Names = QList<QByteArray>;
using State = SortRecord::State;

enum class Planted { LinkToFile, LinkToNowhere, HardLink, Folder, Pipe, OtherUsers, Leftover };

// The check sum that closes each journal line: FNV-1a of the line before it, 16 hex digits.
QByteArray Sealed(const QByteArray& body) {
    quint64 h = 14695981039346656037ull;
    for (char c : body) {
        h ^= quint8(c);
        h *= 1099511628211ull;
    }
    return body + "\t#" + QByteArray::number(h, 16).rightJustified(16, '0') + '\n';
}

QByteArray Stamp(const FileStamp& s, qint64 ctimeNs) {
    return QByteArray::number(s.size) + '\t' + QByteArray::number(s.mtimeNs) + '\t' +
           QByteArray::number(s.dev) + '\t' + QByteArray::number(s.ino) + '\t' +
           QByteArray::number(ctimeNs);
}

} // namespace

Q_DECLARE_METATYPE(Planted)

class TestUndoJournal : public UndoTestBase {
    Q_OBJECT

    QByteArray Journal() const { return state + "/sort-journal"; }
    // Puts `what` at `path`; where it leads to (victim) holds a file of the user's.
    void Plant(Planted what, const QByteArray& path, const QByteArray& victim) {
        switch (what) {
        case Planted::LinkToFile:
            QVERIFY(::symlink(victim.constData(), path.constData()) == 0);
            break;
        case Planted::LinkToNowhere:
            ::unlink(victim.constData());
            QVERIFY(::symlink(victim.constData(), path.constData()) == 0);
            break;
        case Planted::HardLink:
            QVERIFY(::link(victim.constData(), path.constData()) == 0);
            break;
        case Planted::Folder:
            QVERIFY(::mkdir(path.constData(), 0700) == 0);
            break;
        case Planted::Pipe:
            QVERIFY(::mkfifo(path.constData(), 0600) == 0);
            break;
        case Planted::OtherUsers:
            if (::geteuid() != 0)
                QSKIP("giving a file to another user needs root");
            QVERIFY(WriteBytes(path, "someone else's\n"));
            QVERIFY(::chown(path.constData(), 65534, 65534) == 0);
            break;
        case Planted::Leftover:
            QVERIFY(WriteBytes(path, "half a journal"));
            break;
        }
    }
    static mode_t TypeOf(const QByteArray& path) {
        struct stat st {};
        return ::lstat(path.constData(), &st) == 0 ? st.st_mode & S_IFMT : 0;
    }

private Q_SLOTS:
    void init() {
        ResetAll();
        ::mkdir(state.constData(), 0700);
    }

    // Whatever is at the journal's name that is not an ordinary file of the user's own is
    // set aside, untouched, and a new journal started; the user is told once.
    void journalThatIsNotOursIsSetAside_data() {
        QTest::addColumn<Planted>("planted");
        QTest::newRow("link to a file") << Planted::LinkToFile;
        QTest::newRow("link to nowhere") << Planted::LinkToNowhere;
        QTest::newRow("second name of a file") << Planted::HardLink;
        QTest::newRow("folder") << Planted::Folder;
        QTest::newRow("another user's file") << Planted::OtherUsers;
        QTest::newRow("named pipe") << Planted::Pipe;
    }
    void journalThatIsNotOursIsSetAside() {
        QFETCH(Planted, planted);
        const QByteArray victim = root + "/notes.txt";
        const QByteArray notes = Stamped(victim, 300, 4);
        Plant(planted, Journal(), victim);
        const mode_t type = TypeOf(Journal());
        const QByteArray a = src + "/a.jpg", data = Stamped(a);
        auto h = History(3);
        QVERIFY2(h->IsAvailable(), qPrintable(h->UnavailableReason()));
        QVERIFY2(h->Journal().Notice().contains("set aside"), qPrintable(h->Journal().Notice()));
        for (int i = 0; i < 6; ++i) // compactions too
            QVERIFY(Act(*h, Kind::Rename, i % 2 ? src + "/b.jpg" : a, i % 2 ? "a.jpg" : "b.jpg")
                        .Succeeded());
        h.reset();
        if (planted == Planted::LinkToNowhere)
            QVERIFY(!Exists(victim));
        else
            QVERIFY(Intact(victim, notes));
        QCOMPARE(TypeOf(Journal()), mode_t(S_IFREG));
        Names aside = ListDir(state);
        aside.removeIf([](const QByteArray& name) { return !name.contains(".set-aside-"); });
        QCOMPARE(aside.size(), 1);
        QCOMPARE(TypeOf(state + "/" + aside.first()), type);
        h = History(3);
        QVERIFY(h->Journal().Notice().isEmpty()); // told once
        QVERIFY(h->Undo(ui).bDone);
        QVERIFY(Intact(src + "/b.jpg", data));
    }

    // Shortening the journal writes a temporary beside it: whatever is at that name is
    // removed, never written through.
    void compactionNeverWritesThroughItsTemporary_data() {
        QTest::addColumn<Planted>("planted");
        QTest::newRow("link to a file") << Planted::LinkToFile;
        QTest::newRow("link to nowhere") << Planted::LinkToNowhere;
        QTest::newRow("second name of a file") << Planted::HardLink;
        QTest::newRow("leftover of a crash") << Planted::Leftover;
    }
    void compactionNeverWritesThroughItsTemporary() {
        QFETCH(Planted, planted);
        const QByteArray victim = root + "/notes.txt";
        const QByteArray notes = Stamped(victim, 300, 4);
        Stamped(src + "/f0");
        auto h = History(5);
        Plant(planted, Journal() + ".new", victim);
        for (int i = 0; i < 12; ++i)
            QVERIFY(Act(*h, Kind::Rename, src + "/f" + QByteArray::number(i),
                        "f" + QByteArray::number(i + 1))
                        .Succeeded());
        QVERIFY(h->IsAvailable());
        h.reset();
        if (planted == Planted::LinkToNowhere)
            QVERIFY(!Exists(victim));
        else
            QVERIFY(Intact(victim, notes));
        QVERIFY(!Exists(Journal() + ".new"));
        h = History(5);
        QCOMPARE(h->Records().size(), 5);
        QCOMPARE(h->Records().last().seq, 12u);
        QVERIFY(h->Undo(ui).bDone);
        QVERIFY(Exists(src + "/f11"));
    }

    // The journal's folder is the user's alone, however it was found.
    void folderIsKeptPrivate() {
        ::chmod(state.constData(), 0755);
        auto h = History();
        QVERIFY(h->IsAvailable());
        struct stat st {};
        QVERIFY(::stat(state.constData(), &st) == 0);
        QCOMPARE(st.st_mode & 07777, mode_t(0700));
        QCOMPARE(TypeOf(Journal()), mode_t(S_IFREG));
        QVERIFY(::stat(Journal().constData(), &st) == 0);
        QCOMPARE(st.st_mode & 07777, mode_t(0600));
    }

    // A damaged line is passed over and reading goes on after it: the actions it belonged
    // to cannot be undone, every other one can, and only a torn last line is cut off.
    void damagedLinesArePassedOver_data() {
        QTest::addColumn<int>("damage");
        QTest::addColumn<int>("kept");     // actions read
        QTest::addColumn<int>("skipped");  // lines passed over
        QTest::addColumn<Names>("undone"); // the files Undo brings back, newest first
        const Names all{"c.jpg", "b.jpg", "a.jpg"};
        QTest::newRow("torn last line") << 0 << 3 << 0 << all;
        QTest::newRow("flipped byte in an announcement") << 1 << 2 << 2 << Names{"c.jpg", "a.jpg"};
        QTest::newRow("flipped byte in an outcome") << 2 << 3 << 1 << all;
        QTest::newRow("junk after the end") << 3 << 3 << 1 << all;
        QTest::newRow("a sound line out of place") << 4 << 3 << 1 << Names{"c.jpg", "b.jpg"};
        QTest::newRow("an undo's outcome lost") << 5 << 3 << 3 << Names{"b.jpg", "a.jpg"};
        QTest::newRow("junk throughout") << 6 << 0 << -1 << Names{};
    }
    void damagedLinesArePassedOver() {
        QFETCH(int, damage);
        QFETCH(int, kept);
        QFETCH(int, skipped);
        QFETCH(Names, undone);
        auto h = History();
        for (const char* name : {"/a.jpg", "/b.jpg", "/c.jpg", "/d.jpg"})
            Stamped(src + name);
        for (const char* name : {"/a.jpg", "/b.jpg", "/c.jpg"})
            QVERIFY(Act(*h, Kind::Move, src + name, dst).Succeeded());
        if (damage == 5) { // c undone and redone; the line of its undo's outcome goes
            QVERIFY(h->Undo(ui).bDone && h->Redo(ui).bDone);
        }
        h.reset();
        QByteArray text = ReadBytes(Journal());
        QList<qsizetype> starts{0}; // where each line begins
        for (qsizetype i = text.indexOf('\n'); i >= 0; i = text.indexOf('\n', i + 1))
            starts << i + 1;
        switch (damage) {
        case 0:
            text.chop(5);
            break;
        case 1:
        case 2:
            text[starts[damage + 1] + 8] ^= 0x20; // the lines of b.jpg
            break;
        case 3:
            text += QByteArray("\0\xff junk\n", 8);
            break;
        case 4:
            text += sort_lines::Change(1, sort_lines::LineCode::Undone, {});
            break;
        case 5:
            text[starts[7] + 5] ^= 0x01; // A, D, A, D, A, D, u, U, r, R
            break;
        case 6:
            text = Pattern(text.size(), 5);
            break;
        }
        QVERIFY(WriteBytes(Journal(), text));
        h = History();
        QVERIFY(h->IsAvailable());
        QCOMPARE(h->Records().size(), kept);
        if (skipped >= 0)
            QCOMPARE(h->Journal().SkippedLines(), skipped);
        if (damage < 6)
            QCOMPARE(h->Journal().DamagedBytes() > 0, damage == 0);
        QVERIFY(Act(*h, Kind::Move, src + "/d.jpg", dst).Succeeded());
        h.reset();
        if (damage > 0 && damage < 6) // nothing cut off: the damaged lines stay on disk
            QVERIFY(ReadBytes(Journal()).startsWith(text));
        h = History();
        QCOMPARE(h->Records().size(), kept + 1);
        QVERIFY(h->Undo(ui).bDone);
        QVERIFY(Exists(src + "/d.jpg"));
        Names back;
        while (h->UndoCandidate()) {
            const CUndoHistory::Outcome out = h->Undo(ui);
            QVERIFY2(out.bDone, qPrintable(out.message));
            back << CNativePath::FileName(out.restored.first());
        }
        QCOMPARE(back, undone);
        for (const SortRecord& r : h->Records()) // a damaged action stays as it is
            QVERIFY(r.state != State::Damaged || !CUndoHistory::CanBeUndone(r));
    }

    // Lines written by earlier versions are read, with the change time they carry, which
    // tells nothing about the file any more.
    void linesOfEarlierVersionsAreRead() {
        const QByteArray a = src + "/a.jpg", data = Stamped(a);
        const FileStamp before = FileStamp::Of(a);
        QVERIFY(::rename(a.constData(), (dst + "/a.jpg").constData()) == 0);
        const FileStamp after = FileStamp::Of(dst + "/a.jpg");
        const QByteArray path = a.toPercentEncoding("/"), dest = dst.toPercentEncoding("/");
        QVERIFY(WriteBytes(
            Journal(),
            Sealed("A\t1\t1700000000000\t0\t" + dest + "\t1\t" + path + '\t' + Stamp(before, 1)) +
                Sealed("D\t1\t1\t" + dest + "/a.jpg\t" + Stamp(after, 2) + '\t')));
        auto h = History();
        QCOMPARE(h->Journal().SkippedLines(), 0);
        QCOMPARE(h->Records().size(), 1);
        QCOMPARE(int(h->Records().first().state), int(State::Done));
        const CUndoHistory::Outcome out = h->Undo(ui);
        QVERIFY2(out.bDone, qPrintable(out.message));
        QVERIFY(Intact(a, data));
    }
};

QTEST_GUILESS_MAIN(TestUndoJournal)
#include "tst_undojournal.moc"
