// A folder's listing merged in batch by batch by kept sort keys ends in the order one sort
// of every name gives, however the names tie and whatever changed in the list between two
// batches, and whether the keys of the rows merged in come made or not; the rows merged in
// are moved in place as a move of the whole list would. A list emptied at once lets go of
// its rows over the next turns (none while held), each exactly once.
#include "browser/controls/CListCtrlModel.h"
#include "browser/namespace/CSortedKeys.h"
#include "platform/system/CNaturalCompare.h"

#include <QRandomGenerator>
#include <QtTest>
#include <algorithm>
#include <deque>
#include <memory>

namespace {
const QByteArray& NameOf(quintptr lParam) {
    return *reinterpret_cast<const QByteArray*>(lParam);
}
int CompareNames(quintptr a, quintptr b, quintptr) {
    return CNaturalCompare::Compare(QByteArrayView(NameOf(a)), QByteArrayView(NameOf(b)));
}
void KeyOfName(quintptr lParam, QByteArray& keys) {
    CNaturalCompare::AppendSortKey(NameOf(lParam), keys);
}

std::vector<quintptr> g_freed; // what the model's deleter was given, in order
void NoteFreed(quintptr lParam) {
    g_freed.push_back(lParam);
}
void Fill(CListCtrlModel& rows, int count, quintptr first) {
    for (int i = 0; i < count; ++i)
        rows.InsertItem(rows.Count(), QString::number(i), 0, first + quintptr(i));
}
// Whether `values` are exactly first, first + 1, ... (in any order, each once).
bool AllOnce(std::vector<quintptr> values, quintptr first, int count) {
    std::sort(values.begin(), values.end());
    for (int i = 0; i < int(values.size()); ++i)
        if (values[std::size_t(i)] != first + quintptr(i))
            return false;
    return int(values.size()) == count;
}

// Names whose keys tie (case, leading zeros), numbers of every width, UTF-8 and stray bytes.
QList<QByteArray> MixedNames(int count, quint32 seed) {
    QRandomGenerator random(seed);
    const QList<QByteArray> stems = {
        "IMG_",  "img_",  "Img_0", "DSC", "photo ", "\xc3\xa9t\xc3\xa9", "\xc3\x89T\xc3\x89",
        "a\xff", "A\xff", ""};
    QList<QByteArray> names;
    for (int i = 0; i < count; ++i) {
        QByteArray name = stems[int(random.bounded(stems.size()))];
        name += QByteArray(int(random.bounded(3)), '0') + QByteArray::number(random.bounded(400));
        name += random.bounded(2) ? ".jpg" : ".JPG";
        if (!names.contains(name))
            names.append(name);
    }
    return names;
}
} // namespace

class TestSortedKeys : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void batchesEndInTheOrderOfOneSort_data() {
        QTest::addColumn<quint32>("seed");
        QTest::addColumn<int>("batch");
        QTest::addColumn<bool>("meddled"); // rows added and removed between batches
        QTest::addColumn<bool>("given");   // the added rows' keys come made
        QTest::newRow("small batches") << 1u << 7 << false << false;
        QTest::newRow("batches of one") << 2u << 1 << false << false;
        QTest::newRow("one batch after the first") << 3u << 1000 << false << false;
        QTest::newRow("rows changed between batches") << 4u << 13 << true << false;
        QTest::newRow("keys given") << 5u << 7 << false << true;
        QTest::newRow("keys given, rows changed") << 6u << 13 << true << true;
    }
    void batchesEndInTheOrderOfOneSort() {
        QFETCH(quint32, seed);
        QFETCH(int, batch);
        QFETCH(bool, meddled);
        QFETCH(bool, given);
        const QList<QByteArray> names = MixedNames(600, seed);
        std::deque<QByteArray> held(names.begin(), names.end());
        CListCtrlModel rows;
        CSortedKeys keys(&KeyOfName, &CompareNames);
        int next = 0;
        for (int round = 0; next < int(held.size()); ++round) {
            if (meddled && round % 3 == 2 && rows.Count() > 2) {
                rows.TakeItem(rows.Count() / 2); // removed, its place shifts the rest
                rows.InsertItem(0, QString(), 0,
                                reinterpret_cast<quintptr>(&held[std::size_t(next++)]));
                rows.ApplyOrder(rows.SortedOrder(&CompareNames, 0, &KeyOfName));
            }
            const int nSorted = rows.Count();
            for (int i = 0; i < batch && next < int(held.size()); ++i)
                rows.InsertItem(rows.Count(), QString(), 0,
                                reinterpret_cast<quintptr>(&held[std::size_t(next++)]));
            QList<QByteArray> before;
            for (int i = 0; i < nSorted; ++i)
                before.append(NameOf(rows.ItemData(i)));
            QList<QByteArray> made; // as a reading's worker makes them
            for (int i = nSorted; given && i < rows.Count(); ++i)
                KeyOfName(rows.ItemData(i), made.emplace_back());
            const std::vector<QByteArrayView> views(made.begin(), made.end());
            rows.ApplyOrder(keys.MergeAppended(rows, nSorted, views), nSorted);
            QList<QByteArray> after; // what was in order stays in its order
            for (int i = 0; i < rows.Count(); ++i)
                if (before.contains(NameOf(rows.ItemData(i))))
                    after.append(NameOf(rows.ItemData(i)));
            QCOMPARE(after, before);
        }
        const std::vector<int> resorted = rows.SortedOrder(&CompareNames, 0, nullptr);
        for (int i = 0; i < rows.Count(); ++i)
            QVERIFY2(resorted[std::size_t(i)] == i, NameOf(rows.ItemData(i)).constData());
        QVERIFY(rows.Count() > 300);
    }

    // Rows added after sorted ones and merged in are moved in place; they end where a move
    // of the whole list puts them, with what they hold and the indexes kept on them, and an
    // order that does not keep the first rows' order is applied whole.
    void mergeInPlaceMovesAsTheWholeDoes_data() {
        QTest::addColumn<std::vector<int>>("order");
        QTest::addColumn<int>("kept");
        QTest::newRow("added rows spread among the kept")
            << std::vector<int>{5, 0, 6, 1, 2, 7, 3, 4} << 5;
        QTest::newRow("added rows all first") << std::vector<int>{5, 6, 7, 0, 1, 2, 3, 4} << 5;
        QTest::newRow("added rows all last") << std::vector<int>{0, 1, 2, 3, 4, 7, 6, 5} << 5;
        QTest::newRow("kept rows out of their order")
            << std::vector<int>{1, 0, 5, 2, 3, 6, 4, 7} << 5;
    }
    void mergeInPlaceMovesAsTheWholeDoes() {
        QFETCH(std::vector<int>, order);
        QFETCH(int, kept);
        CListCtrlModel inPlace, whole;
        for (int i = 0; i < 8; ++i) {
            inPlace.InsertItem(i, QString::number(i), 0, quintptr(100 + i));
            whole.InsertItem(i, QString::number(i), 0, quintptr(100 + i));
        }
        const QPersistentModelIndex keptRow = inPlace.index(2), addedRow = inPlace.index(6);
        inPlace.ApplyOrder(order, kept);
        whole.ApplyOrder(order);
        for (int i = 0; i < 8; ++i) {
            QCOMPARE(inPlace.ItemData(i), quintptr(100 + order[std::size_t(i)]));
            QCOMPARE(inPlace.ItemData(i), whole.ItemData(i));
            QCOMPARE(inPlace.ItemText(i), whole.ItemText(i));
        }
        QCOMPARE(inPlace.ItemData(keptRow.row()), quintptr(102));
        QCOMPARE(inPlace.ItemData(addedRow.row()), quintptr(106));
    }

    // Emptied at once, freed over turns: the rows are gone for the views at once, a few
    // thousand are let go each turn, a second emptying meanwhile adds to them, and nothing is
    // freed twice or left behind, whether the turns run, DeleteAllItems comes or the model
    // goes first; held, none is freed until let go.
    void retiredRowsAreFreedOverTurnsEachOnce_data() {
        QTest::addColumn<QString>("end");
        QTest::newRow("turns run") << "turns";
        QTest::newRow("deleted outright meanwhile") << "delete";
        QTest::newRow("model destroyed meanwhile") << "destroy";
        QTest::newRow("held, then let go") << "held";
        QTest::newRow("model destroyed while held") << "destroy held";
    }
    void retiredRowsAreFreedOverTurnsEachOnce() {
        QFETCH(QString, end);
        g_freed.clear();
        auto rows = std::make_unique<CListCtrlModel>();
        rows->SetDeleter(&NoteFreed);
        Fill(*rows, 20000, 1);
        QSignalSpy reset(rows.get(), &QAbstractItemModel::modelReset);
        const QPersistentModelIndex kept = rows->index(100);
        rows->RetireAllItems();
        QCOMPARE(rows->Count(), 0);
        QCOMPARE(reset.count(), 1);
        QVERIFY(!kept.isValid());
        QVERIFY(g_freed.empty());
        Fill(*rows, 3000, 20001); // listed again, and emptied again before all went
        rows->RetireAllItems();
        QCOMPARE(rows->RetiredCount(), 23000);
        QCoreApplication::sendPostedEvents(); // one turn
        QVERIFY(!g_freed.empty());
        QVERIFY(g_freed.size() < 23000);
        if (end.contains("held")) { // as while a folder is listed: nothing more is freed
            rows->HoldFreeing(true);
            const std::size_t freed = g_freed.size();
            for (int i = 0; i < 10; ++i)
                QCoreApplication::sendPostedEvents();
            QCOMPARE(g_freed.size(), freed);
        }
        if (end == "turns" || end == "held") {
            rows->HoldFreeing(false);
            QTRY_COMPARE(rows->RetiredCount(), 0);
        } else if (end == "delete")
            rows->DeleteAllItems();
        else // destroyed, held or not
            rows.reset();
        QVERIFY(AllOnce(g_freed, 1, 23000));
        QCoreApplication::sendPostedEvents(); // a turn already posted finds nothing to free
        QCOMPARE(g_freed.size(), std::size_t(23000));
    }
};

QTEST_GUILESS_MAIN(TestSortedKeys)
#include "tst_sortedkeys.moc"
