// A folder's listing merged in batch by batch by kept sort keys ends in the order one sort
// of every name gives, however the names tie and whatever changed in the list between two
// batches.
#include "browser/controls/CListCtrlModel.h"
#include "browser/namespace/CSortedKeys.h"
#include "platform/system/CNaturalCompare.h"

#include <QRandomGenerator>
#include <QtTest>
#include <deque>

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
        QTest::newRow("small batches") << 1u << 7 << false;
        QTest::newRow("batches of one") << 2u << 1 << false;
        QTest::newRow("one batch after the first") << 3u << 1000 << false;
        QTest::newRow("rows changed between batches") << 4u << 13 << true;
    }
    void batchesEndInTheOrderOfOneSort() {
        QFETCH(quint32, seed);
        QFETCH(int, batch);
        QFETCH(bool, meddled);
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
            rows.ApplyOrder(keys.MergeAppended(rows, nSorted));
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
};

QTEST_GUILESS_MAIN(TestSortedKeys)
#include "tst_sortedkeys.moc"
