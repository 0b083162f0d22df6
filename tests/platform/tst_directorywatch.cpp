// Folder watching: how events fold into one change, and what a real folder reports when
// other programs make, remove and rename things in it.
#include "platform/system/CDirectoryWatch.h"
#include "tests/support/NativeTempDir.h"

#include <QSignalSpy>
#include <QtTest>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using Entry = DirectoryChanges::Entry;
using Entries = QList<Entry>;
Q_DECLARE_METATYPE(Entries)

namespace {
void Touch(const QByteArray& path) {
    const int fd = ::open(path.constData(), O_CREAT | O_WRONLY, 0644);
    QVERIFY2(fd >= 0, path.constData());
    ::close(fd);
}
} // namespace

class TestDirectoryWatch : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Each event is "+name" (appeared), "-name" (vanished), a trailing "/" for a folder.
    void foldsEvents_data() {
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<Entries>("added");
        QTest::addColumn<Entries>("removed");
        const Entry a{"a", false}, b{"b", false}, dirA{"a", true};
        QTest::newRow("one made") << QStringList{"+a"} << Entries{a} << Entries{};
        QTest::newRow("one removed") << QStringList{"-a"} << Entries{} << Entries{a};
        QTest::newRow("made then removed: nothing")
            << QStringList{"+a", "-a"} << Entries{} << Entries{};
        QTest::newRow("removed then made: replaced, nothing")
            << QStringList{"-a", "+a"} << Entries{} << Entries{};
        QTest::newRow("renamed a to b") << QStringList{"-a", "+b"} << Entries{b} << Entries{a};
        QTest::newRow("renamed there and back")
            << QStringList{"-a", "+b", "-b", "+a"} << Entries{} << Entries{};
        QTest::newRow("file became folder")
            << QStringList{"-a", "+a/"} << Entries{dirA} << Entries{a};
        QTest::newRow("replaced then removed")
            << QStringList{"-a", "+a", "-a"} << Entries{} << Entries{a};
        QTest::newRow("order of first sight")
            << QStringList{"+b", "+a/"} << Entries{b, dirA} << Entries{};
    }
    void foldsEvents() {
        QFETCH(QStringList, events);
        QFETCH(Entries, added);
        QFETCH(Entries, removed);
        DirectoryChanges changes;
        for (const QString& e : events) {
            const bool folder = e.endsWith(QLatin1Char('/'));
            const QByteArray name = e.mid(1, e.size() - 1 - (folder ? 1 : 0)).toUtf8();
            if (e.startsWith(QLatin1Char('+')))
                changes.Appeared(name, folder);
            else
                changes.Vanished(name, folder);
        }
        QCOMPARE(changes.Added(), added);
        QCOMPARE(changes.Removed(), removed);
        QCOMPARE(changes.IsEmpty(), added.isEmpty() && removed.isEmpty());
    }

    // Files and folders made, removed and renamed by others, in a burst: one report with
    // the net change, names as the system's bytes.
    void reportsABurstOnce() {
        NativeTempDir tmp;
        const QByteArray& dir = tmp.NativePath();
        Touch(dir + "/old.jpg");
        Touch(dir + "/gone.jpg");
        CDirectoryWatch watch;
        watch.SetDelay(50);
        QVERIFY(watch.Watch(dir));
        QSignalSpy spy(&watch, &CDirectoryWatch::Changed);
        const QByteArray odd("b\xff.jpg");
        for (int i = 0; i < 200; ++i)
            Touch(dir + "/n" + QByteArray::number(i) + ".jpg");
        for (int i = 0; i < 200; ++i)
            QCOMPARE(::unlink((dir + "/n" + QByteArray::number(i) + ".jpg").constData()), 0);
        Touch(dir + "/" + odd);
        QCOMPARE(::mkdir((dir + "/New Folder").constData(), 0755), 0);
        QCOMPARE(::unlink((dir + "/gone.jpg").constData()), 0);
        QCOMPARE(::rename((dir + "/old.jpg").constData(), (dir + "/new.jpg").constData()), 0);
        QTRY_COMPARE(spy.count(), 1);
        QTest::qWait(150);
        QCOMPARE(spy.count(), 1);
        const auto changes = spy.at(0).at(1).value<DirectoryChanges>();
        QCOMPARE(spy.at(0).at(0).toByteArray(), dir);
        QCOMPARE(changes.Added(),
                 (Entries{{odd, false}, {"New Folder", true}, {"new.jpg", false}}));
        QCOMPARE(changes.Removed(), (Entries{{"gone.jpg", false}, {"old.jpg", false}}));
    }

    // A watched folder that is removed or renamed is reported gone and no longer watched;
    // an unwatched folder reports nothing; a path that is no folder cannot be watched.
    void goneAndUnwatched() {
        NativeTempDir tmp;
        const QByteArray a = tmp.NativePath() + "/a", b = tmp.NativePath() + "/b";
        QCOMPARE(::mkdir(a.constData(), 0755), 0);
        QCOMPARE(::mkdir(b.constData(), 0755), 0);
        Touch(tmp.NativePath() + "/file");
        CDirectoryWatch watch;
        watch.SetDelay(20);
        QVERIFY(!watch.Watch(tmp.NativePath() + "/file"));
        QVERIFY(!watch.Watch(tmp.NativePath() + "/missing"));
        QVERIFY(watch.Watch(a));
        QVERIFY(watch.Watch(b));
        QSignalSpy changed(&watch, &CDirectoryWatch::Changed);
        QSignalSpy gone(&watch, &CDirectoryWatch::Gone);
        watch.Unwatch(b);
        Touch(b + "/x");
        QCOMPARE(::rmdir(a.constData()), 0);
        QTRY_COMPARE(gone.count(), 1);
        QCOMPARE(gone.at(0).at(0).toByteArray(), a);
        QVERIFY(!watch.IsWatched(a));
        QTest::qWait(100);
        QCOMPARE(changed.count(), 0);
    }
};

QTEST_GUILESS_MAIN(TestDirectoryWatch)
#include "tst_directorywatch.moc"
