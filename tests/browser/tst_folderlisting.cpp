// A folder is read once, on a worker, for both the folder tree and the file list; the list
// fills batch by batch in its order, and a reading of a folder left is given up.
#include "platform/shell/CFolderLister.h"
#include "platform/shell/CShellItemId.h"
#include "platform/system/CNaturalCompare.h"
#include "platform/system/DirectoryChanges.h"
#include "tests/browser/BrowserHost.h"
#include "tests/support/CDiskTap.h"
#include "tests/support/NativeTempDir.h"
#include "tests/support/PaintWatch.h"
#include "tests/support/ShellLeakCheck.h"
#include "tests/support/TestSupport.h"

#include <QSignalSpy>
#include <QtTest>
#include <filesystem>
#include <memory>
#include <unistd.h>

class TestFolderListing : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() {
        QVERIFY(m_root.isValid());
        qputenv("HOME", m_root.NativePath());
        for (const char* dir : {"odd/sub", "many/inner", "slow", "other", "remote", "live"})
            QVERIFY(std::filesystem::create_directories(Dir(dir).toStdString()));
        for (int i = 0; i < 300; ++i)
            QVERIFY(WriteBytes(Dir("many/p" + QByteArray::number(i) + ".jpg"), ""));
        for (const char* file : {"odd/caf\xe9.jpg", "odd/new\nline.jpg", "odd/.hidden.jpg",
                                 "other/a.jpg", "other/b.jpg", "remote/kept.jpg", "remote/kept.xmp",
                                 "remote/went.jpg", "live/a.jpg", "live/b.jpg"})
            QVERIFY(WriteBytes(Dir(file), ""));
        QCOMPARE(symlink("sub", Dir("odd/link to sub").constData()), 0);
        QCOMPARE(symlink("nowhere", Dir("odd/dangling").constData()), 0);
        // Links cost the reader a look at what they lead to, each slowed by the tap.
        for (int i = 0; i < 200; ++i)
            QCOMPARE(symlink("../other/a.jpg", Dir("slow/l" + QByteArray::number(i)).constData()),
                     0);
    }
    void init() {
        m_leaks = ShellLeakCheck();
        m_host = std::make_unique<BrowserHost>();
    }
    void cleanup() {
        CDiskTap::Instance().SetDelay(0);
        CDiskTap::Instance().Stop();
        m_host.reset();
        m_leaks.Verify();
    }

    // Names are bytes, whatever they hold; the flags come from the directory entry.
    void entriesKeepTheirBytes_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<int>("flags"); // -1: not listed
        QTest::newRow("not UTF-8") << QByteArray("caf\xe9.jpg") << 0;
        QTest::newRow("a newline") << QByteArray("new\nline.jpg") << 0;
        QTest::newRow("a folder") << QByteArray("sub") << int(CShellItemId::IsFolder);
        QTest::newRow("a link to a folder")
            << QByteArray("link to sub") << int(CShellItemId::IsFolder | CShellItemId::IsLink);
        QTest::newRow("a dangling link") << QByteArray("dangling") << int(CShellItemId::IsLink);
        QTest::newRow("hidden") << QByteArray(".hidden.jpg") << -1;
    }
    void entriesKeepTheirBytes() {
        QFETCH(QByteArray, name);
        QFETCH(int, flags);
        CFolderLister lister;
        lister.SetBatchSize(2);
        QHash<QByteArray, int> seen;
        connect(&lister, &CFolderLister::Batch, this, [&](quint64, const ListedEntries& batch) {
            QVERIFY(batch.size() <= 2);
            for (const SListedEntry& e : batch)
                seen.insert(e.name, e.flags);
        });
        QSignalSpy finished(&lister, &CFolderLister::Finished);
        lister.List(Dir("odd"));
        QVERIFY(finished.wait(20000));
        QCOMPARE(finished.at(0).at(1).toBool(), true);
        QCOMPARE(seen.size(), 5);
        QCOMPARE(seen.value(name, -1), flags);
    }

    // What cannot be read ends the reading without entries.
    void unreadableFolderEndsEmpty() {
        CFolderLister lister;
        QSignalSpy batches(&lister, &CFolderLister::Batch);
        QSignalSpy finished(&lister, &CFolderLister::Finished);
        lister.List(Dir("missing"));
        lister.List(Dir("other/a.jpg"));
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 2, 20000);
        QCOMPARE(finished.at(0).at(1).toBool(), false);
        QCOMPARE(finished.at(1).at(1).toBool(), false);
        QCOMPARE(batches.size(), 0);
    }

    // Batches land in the list's order, each in a turn of its own, while a picture chosen
    // meanwhile stays current and the items on show keep their order.
    void fillsInBatchesKeepingTheCurrent() {
        CRecordingListView& list = m_host->List();
        m_host->Tree().Lister()->SetBatchSize(16);
        list.SetMostAddedPerTurn(16);
        QString current;
        int batches = 0;
        bool ordered = true;
        bool stayed = true;
        int turns = 0; // of the event loop
        int lastTurn = -1;
        bool ownTurns = true;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, this, [&] { ++turns; });
        ticker.start(0);
        list.m_onGrew = [&] {
            ownTurns = ownTurns && turns > lastTurn;
            lastTurn = turns;
            ++batches;
            const QStringList texts = list.Texts();
            for (int i = 1; i < texts.size(); ++i)
                ordered = ordered && Before(texts[i - 1], texts[i]);
            if (current.isEmpty() && texts.size() > 2) {
                list.SelectItem(2, true);
                current = texts[2];
            }
            stayed =
                stayed && (current.isEmpty() ||
                           (list.m_nCurItem >= 0 && list.GetItemText(list.m_nCurItem) == current));
        };
        m_host->Tree().SelectPath(QFile::decodeName(Dir("many")));
        QVERIFY(m_host->Settle());
        list.m_onGrew = nullptr;
        QVERIFY(ownTurns);
        QCOMPARE(list.GetItemCount(), 301); // with the folder
        QVERIFY2(batches >= 300 / 16, qPrintable(QString::number(batches)));
        QVERIFY(ordered);
        QVERIFY(stayed);
        QVERIFY(!current.isEmpty());
        QCOMPARE(list.GetItemText(list.m_nCurItem), current);
        QCOMPARE(list.selectionModel()->selectedRows().size(), 1);
        QCOMPARE(list.m_nListFilled, 1);
    }

    // The rows of the folder left wait while the next one is listed, and are let go once
    // its listing has ended.
    void rowsLeftAreFreedAfterTheListing() {
        CRecordingListView& list = m_host->List();
        m_host->Tree().SelectPath(QFile::decodeName(Dir("other")));
        QVERIFY(m_host->Settle());
        QTRY_COMPARE(list.RetiredCount(), 0);
        m_host->Tree().Lister()->SetBatchSize(8);
        list.SetMostAddedPerTurn(8);
        int turns = 0;
        bool waited = true;
        list.m_onGrew = [&] {
            ++turns;
            waited = waited && list.RetiredCount() == 2; // a.jpg and b.jpg
        };
        m_host->Tree().SelectPath(QFile::decodeName(Dir("many")));
        QVERIFY(m_host->Settle());
        list.m_onGrew = nullptr;
        QVERIFY(turns > 10);
        QVERIFY(waited);
        QTRY_COMPARE(list.RetiredCount(), 0);
    }

    // Choosing a folder in the tree opens it once for reading, for the list's items and the
    // tree's sub-folders together.
    void oneReadingFeedsListAndTree_data() {
        QTest::addColumn<QByteArray>("folder");
        QTest::addColumn<int>("subFolders");
        QTest::newRow("with a sub-folder") << QByteArray("many") << 1;
        QTest::newRow("odd names, a link to a folder") << QByteArray("odd") << 2;
        QTest::newRow("no sub-folder") << QByteArray("other") << 0;
    }
    void oneReadingFeedsListAndTree() {
        QFETCH(QByteArray, folder);
        QFETCH(int, subFolders);
        CDiskTap& tap = CDiskTap::Instance();
        tap.Watch(Dir(folder));
        m_host->Tree().SelectPath(QFile::decodeName(Dir(folder)));
        QVERIFY(m_host->Settle());
        tap.Stop();
        QCOMPARE(m_host->Tree().currentItem()->childCount(), subFolders);
        QVERIFY(m_host->List().GetItemCount() > 0);
        int opens = 0;
        for (const QString& call : tap.AllCalls())
            opens += call.startsWith("open .") || call.startsWith("opendir .") ||
                     call.startsWith("openat .");
        QVERIFY2(opens == 1, qPrintable(tap.AllCalls().join(", ")));
        QCOMPARE(tap.CallsOn(CDiskTap::CurrentThread()), QStringList());
    }

    // Leaving a folder while it is read gives its reading up: the worker stops, and what it
    // had read already never reaches the list.
    void readingOfAFolderLeftIsGivenUp() {
        CRecordingListView& list = m_host->List();
        CFolderLister* lister = m_host->Tree().Lister();
        lister->SetBatchSize(4);
        CDiskTap& tap = CDiskTap::Instance();
        tap.Watch(Dir("slow"));
        tap.SetDelay(20);
        bool left = false;
        connect(lister, &CFolderLister::Batch, this, [&](quint64, const ListedEntries&) {
            if (left || !list.IsListing())
                return;
            left = true; // at the first batch, off to another folder
            m_host->Tree().SelectPath(QFile::decodeName(Dir("other")));
        });
        m_host->Tree().SelectPath(QFile::decodeName(Dir("slow")));
        QVERIFY(m_host->Settle());
        QVERIFY(left);
        QCOMPARE(list.Texts(), QStringList({"a.jpg", "b.jpg"}));
        QCOMPARE(list.ListedFolder(), Dir("other"));
        QTRY_COMPARE(list.RetiredCount(), 0); // the reading given up holds no rows back
        tap.Stop();
        QVERIFY(!lister->IsBusy());
        const int looked = int(tap.AllCalls().filter("fstatat").size());
        QVERIFY2(looked < 200, qPrintable(QString::number(looked)));
    }

    // Following the changes of the folder on show reads the disk on the worker alone.
    void liveChangesAreReadOnTheWorker_data() {
        QTest::addColumn<QByteArray>("made");
        QTest::addColumn<QByteArray>("removed");
        QTest::addColumn<bool>("lost"); // the events were lost: the folder is read again
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("a picture made") << QByteArray("c.jpg") << QByteArray() << false
                                        << QStringList({"a.jpg", "b.jpg", "c.jpg"});
        QTest::newRow("a picture removed")
            << QByteArray() << QByteArray("b.jpg") << false << QStringList({"a.jpg"});
        QTest::newRow("events lost") << QByteArray("d.jpg") << QByteArray("a.jpg") << true
                                     << QStringList({"b.jpg", "d.jpg"});
    }
    void liveChangesAreReadOnTheWorker() {
        QFETCH(QByteArray, made);
        QFETCH(QByteArray, removed);
        QFETCH(bool, lost);
        QFETCH(QStringList, listed);
        CRecordingListView& list = m_host->List();
        m_host->Tree().SelectPath(QFile::decodeName(Dir("live")));
        QVERIFY(m_host->Settle());
        list.HoldFolderChanges(lost); // what comes while held is made up for by a reading
        if (!made.isEmpty())
            QVERIFY(WriteBytes(Dir("live/" + made), ""));
        if (!removed.isEmpty())
            QCOMPARE(unlink(Dir("live/" + removed).constData()), 0);
        CDiskTap& tap = CDiskTap::Instance(); // from before the changes are heard of
        tap.Watch(Dir("live"));
        if (lost) {
            QTest::qWait(0);
            list.HoldFolderChanges(false);
            list.ApplyFolderChanges(DirectoryChanges::RescanAll());
        }
        QTRY_COMPARE_WITH_TIMEOUT(list.Texts(), listed, 20000);
        tap.Stop();
        const QStringList calls = tap.CallsOn(CDiskTap::CurrentThread());
        if (!made.isEmpty())
            QCOMPARE(unlink(Dir("live/" + made).constData()), 0);
        if (!removed.isEmpty())
            QVERIFY(WriteBytes(Dir("live/" + removed), ""));
        QVERIFY2(calls.isEmpty(), qPrintable(calls.join(", ")));
    }

    // A folder on a remote file system is read again while the window is active, instead of
    // watched: what other machines add and remove there shows up all the same. A reading
    // that finds only what the filter leaves out (a sidecar) neither lays out nor redraws
    // the list.
    void remoteFolderIsReadAgain() {
        CRecordingListView& list = m_host->List();
        list.ClearExtensions();
        list.AddExtension(QStringLiteral("JPG"));
        CFolderLister* lister = m_host->Tree().Lister();
        lister->MarkRemote(Dir("remote"));
        lister->SetRelistInterval(20);
        m_host->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_host.get()));
        m_host->Tree().SelectPath(QFile::decodeName(Dir("remote")));
        QVERIFY(m_host->Settle());
        QCOMPARE(list.Texts(), QStringList({"kept.jpg", "went.jpg"}));
        list.SelectItem(0, true);
        // Once it has been read again, the watch is off: changes come by reading alone.
        const int before = lister->ListingsStarted();
        QTRY_VERIFY_WITH_TIMEOUT(lister->ListingsStarted() > before && !lister->IsBusy(), 20000);
        PaintWatch paints(*list.viewport());
        const int readings = lister->ListingsStarted();
        QTRY_VERIFY_WITH_TIMEOUT(lister->ListingsStarted() > readings + 3 && !lister->IsBusy(),
                                 20000);
        QCOMPARE(paints.Count(), 0);
        QCOMPARE(list.m_nItemsChanged, 0);
        QCOMPARE(list.Texts(), QStringList({"kept.jpg", "went.jpg"}));
        QVERIFY(WriteBytes(Dir("remote/came.jpg"), ""));
        QCOMPARE(unlink(Dir("remote/went.jpg").constData()), 0);
        QTRY_COMPARE_WITH_TIMEOUT(list.Texts(), QStringList({"came.jpg", "kept.jpg"}), 20000);
        QCOMPARE(list.GetItemText(list.m_nCurItem), QStringLiteral("kept.jpg"));
        QVERIFY(list.m_nItemsChanged > 0);
        QVERIFY(paints.Count() > 0);
    }

private:
    QByteArray Dir(const QByteArray& rel) const { return m_root.NativePath() + '/' + rel; }
    static bool Before(const QString& a, const QString& b) {
        return CNaturalCompare::Compare(QFile::encodeName(a), QFile::encodeName(b)) <= 0 ||
               b == QStringLiteral("inner");
    }

    NativeTempDir m_root;
    ShellLeakCheck m_leaks;
    std::unique_ptr<BrowserHost> m_host;
};

QTEST_MAIN(TestFolderListing)
#include "tst_folderlisting.moc"
