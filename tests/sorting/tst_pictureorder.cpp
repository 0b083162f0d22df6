// The orders of the picture list as plain arithmetic: what goes where by date taken, time,
// size and type, where the pictures not yet read stand, and what descending reverses.
#include "sorting/order/PictureOrder.h"

#include <QtTest>

using picture_order::SFileFacts;
using picture_order::SortBy;

namespace {

// One picture: its name, and its facts as "t<taken>", "m<modified>", "s<size>" (any of
// them, space-separated); "-" for a picture not read yet, "m.." alone for one without a
// date taken. Times are whole seconds.
struct Pic {
    const char* name;
    const char* facts;
};

SFileFacts FactsOf(const char* text) {
    SFileFacts f;
    f.bRead = f.bTakenRead = true;
    for (const QByteArray& part : QByteArray(text).split(' ')) {
        const qint64 value = part.mid(1).toLongLong();
        if (part.startsWith('t')) {
            f.bHasTaken = true;
            f.taken = value * 1000;
        } else if (part.startsWith('m')) {
            f.modified = value * 1000;
        } else if (part.startsWith('s')) {
            f.size = value;
        }
    }
    return f;
}

// The names in the order Arrange gives for pictures listed in name order.
QStringList Arranged(const QList<Pic>& byName, SortBy by, bool bDescending) {
    std::vector<SFileFacts> facts;
    facts.reserve(std::size_t(byName.size()));
    for (const Pic& p : byName)
        facts.push_back(FactsOf(p.facts));
    std::vector<picture_order::SEntry> entries;
    for (qsizetype i = 0; i < byName.size(); ++i)
        entries.push_back({QByteArrayView(byName[i].name),
                           QByteArrayView(byName[i].facts) == "-" ? nullptr : &facts[i]});
    QStringList names;
    for (int i : picture_order::Arrange(entries, by, bDescending))
        names << QLatin1String(byName[i].name);
    return names;
}

} // namespace

Q_DECLARE_METATYPE(SortBy)

class TestPictureOrder : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void arrange_data() {
        QTest::addColumn<QList<Pic>>("byName");
        QTest::addColumn<SortBy>("by");
        QTest::addColumn<bool>("descending");
        QTest::addColumn<QStringList>("expected");

        // Two cameras whose counters both restart at 0001, shots interleaved in time.
        const QList<Pic> twoCameras{{"A_0001.jpg", "t100 m900"},
                                    {"A_0002.jpg", "t300 m901"},
                                    {"B_0001.jpg", "t200 m902"},
                                    {"B_0002.jpg", "t400 m903"}};
        QTest::newRow("two cameras by date taken")
            << twoCameras << SortBy::DateTaken << false
            << QStringList{"A_0001.jpg", "B_0001.jpg", "A_0002.jpg", "B_0002.jpg"};
        QTest::newRow("two cameras, descending")
            << twoCameras << SortBy::DateTaken << true
            << QStringList{"B_0002.jpg", "A_0002.jpg", "B_0001.jpg", "A_0001.jpg"};
        QTest::newRow("by name is the listed order")
            << twoCameras << SortBy::Name << false
            << QStringList{"A_0001.jpg", "A_0002.jpg", "B_0001.jpg", "B_0002.jpg"};

        // Undated pictures stand at their file times and keep their name order among
        // themselves, even where their file times disagree with it.
        QTest::newRow("undated keep name order")
            << QList<Pic>{{"a.jpg", "m500"},
                          {"b.jpg", "t100"},
                          {"c.jpg", "m50"},
                          {"d.jpg", "t400"},
                          {"e.jpg", "m600"}}
            << SortBy::DateTaken << false
            << QStringList{"b.jpg", "d.jpg", "a.jpg", "c.jpg", "e.jpg"};
        QTest::newRow("equal dates keep name order")
            << QList<Pic>{{"x.jpg", "t100"}, {"y.jpg", "t100"}, {"z.jpg", "t50"}}
            << SortBy::DateTaken << false << QStringList{"z.jpg", "x.jpg", "y.jpg"};
        QTest::newRow("an undated file time equal to a date comes by name")
            << QList<Pic>{{"a.jpg", "m100"}, {"b.jpg", "t100"}} << SortBy::DateTaken << false
            << QStringList{"a.jpg", "b.jpg"};

        // Pictures not read yet come last, in name order, in either direction.
        const QList<Pic> partly{
            {"a.jpg", "-"}, {"b.jpg", "t300 s5"}, {"c.jpg", "-"}, {"d.jpg", "t100 s9"}};
        QTest::newRow("not read yet last") << partly << SortBy::DateTaken << false
                                           << QStringList{"d.jpg", "b.jpg", "a.jpg", "c.jpg"};
        QTest::newRow("not read yet last, descending")
            << partly << SortBy::Size << true << QStringList{"d.jpg", "b.jpg", "a.jpg", "c.jpg"};

        const QList<Pic> files{{"a.PNG", "m30 s100"},
                               {"b.jpg", "m10 s300"},
                               {"c.png", "m20 s100"},
                               {"d", "m40 s200"},
                               {"e.Jpg", "m5 s50"}};
        QTest::newRow("by date modified") << files << SortBy::DateModified << false
                                          << QStringList{"e.Jpg", "b.jpg", "c.png", "a.PNG", "d"};
        QTest::newRow("by size, equal sizes by name")
            << files << SortBy::Size << false
            << QStringList{"e.Jpg", "a.PNG", "c.png", "d", "b.jpg"};
        QTest::newRow("by type, either case, none first")
            << files << SortBy::Type << false
            << QStringList{"d", "b.jpg", "e.Jpg", "a.PNG", "c.png"};
        QTest::newRow("by type, descending")
            << files << SortBy::Type << true
            << QStringList{"c.png", "a.PNG", "e.Jpg", "b.jpg", "d"};
    }
    void arrange() {
        QFETCH(QList<Pic>, byName);
        QFETCH(SortBy, by);
        QFETCH(bool, descending);
        QFETCH(QStringList, expected);
        QCOMPARE(Arranged(byName, by, descending), expected);
    }

    // Type needs nothing read; the dates need the date taken looked for as well.
    void needsReading() {
        SFileFacts statOnly;
        statOnly.bRead = true;
        QVERIFY(!picture_order::NeedsReading(SortBy::Type, nullptr));
        QVERIFY(picture_order::NeedsReading(SortBy::Size, nullptr));
        QVERIFY(!picture_order::NeedsReading(SortBy::Size, &statOnly));
        QVERIFY(picture_order::NeedsReading(SortBy::DateTaken, &statOnly));
    }
};

QTEST_APPLESS_MAIN(TestPictureOrder)
#include "tst_pictureorder.moc"
