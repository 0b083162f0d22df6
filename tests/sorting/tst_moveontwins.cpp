// The picture shown after sorting one whose RAW or JPEG twin is listed too: the twin leaves
// the list with it, wherever it stands, and the picture that takes the sorted one's place is
// shown, in every arrangement of twins around it and through several groups sorted in a row.
#include "tests/sorting/SessionTestBase.h"

#include <QtTest>

class TestMoveOnTwins : public SessionTestBase {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        Reset();
        Session().SetMoveCompanions(true);
    }

    void theNextPictureIsShown_data() {
        QTest::addColumn<Names>("listed");
        QTest::addColumn<QByteArray>("current");
        QTest::addColumn<Names>("shown"); // after each move, of the one shown; "" for none
        QTest::addColumn<Names>("left");  // listed after the last move
        // In name order a JPEG comes right before its .nef twin and right after its .cr2 one.
        QTest::newRow("twin right after, at the start")
            << Names{"a.jpg", "a.nef", "b.jpg"} << QByteArray("a.jpg") << Names{"b.jpg"}
            << Names{"b.jpg"};
        QTest::newRow("twin right after, in the middle")
            << Names{"0.jpg", "a.jpg", "a.nef", "b.jpg"} << QByteArray("a.jpg") << Names{"b.jpg"}
            << Names{"0.jpg", "b.jpg"};
        QTest::newRow("twin right after, at the end")
            << Names{"0.jpg", "a.jpg", "a.nef"} << QByteArray("a.jpg") << Names{"0.jpg"}
            << Names{"0.jpg"};
        QTest::newRow("twin right before, at the start")
            << Names{"a.cr2", "a.jpg", "b.jpg"} << QByteArray("a.jpg") << Names{"b.jpg"}
            << Names{"b.jpg"};
        QTest::newRow("twin right before, at the end")
            << Names{"0.jpg", "a.cr2", "a.jpg"} << QByteArray("a.jpg") << Names{"0.jpg"}
            << Names{"0.jpg"};
        QTest::newRow("twins on both sides")
            << Names{"0.jpg", "a.cr2", "a.jpg", "a.nef", "b.jpg"} << QByteArray("a.jpg")
            << Names{"b.jpg"} << Names{"0.jpg", "b.jpg"};
        QTest::newRow("raw sorted, its jpeg right before")
            << Names{"0.jpg", "a.jpg", "a.nef", "b.jpg"} << QByteArray("a.nef") << Names{"b.jpg"}
            << Names{"0.jpg", "b.jpg"};
        QTest::newRow("raw sorted, its jpeg first, nothing else")
            << Names{"a.jpg", "a.nef"} << QByteArray("a.nef") << Names{""} << Names{};
        QTest::newRow("jpeg sorted, its raw last, nothing else")
            << Names{"a.jpg", "a.nef"} << QByteArray("a.jpg") << Names{""} << Names{};
        QTest::newRow("three pairs in a row, from the first")
            << Names{"a.jpg", "a.nef", "b.jpg", "b.nef", "c.jpg", "c.nef"} << QByteArray("a.jpg")
            << Names{"b.jpg", "c.jpg", ""} << Names{};
        QTest::newRow("three pairs in a row, from the middle")
            << Names{"a.jpg", "a.nef", "b.jpg", "b.nef", "c.jpg", "c.nef"} << QByteArray("b.jpg")
            << Names{"c.jpg", "a.nef", ""} << Names{};
        QTest::newRow("pairs and single pictures mixed")
            << Names{"a.jpg", "a.nef", "b.jpg", "c.cr2", "c.jpg", "d.jpg"} << QByteArray("a.jpg")
            << Names{"b.jpg", "c.cr2", "d.jpg"} << Names{"d.jpg"};
    }

    // The sequence matters: each step starts from the list and current picture the one before
    // left behind, as when the user sorts picture after picture.
    void theNextPictureIsShown() {
        QFETCH(Names, listed);
        QFETCH(QByteArray, current);
        QFETCH(Names, shown);
        QFETCH(Names, left);
        for (const QByteArray& name : listed)
            QVERIFY(WriteBytes(src + "/" + name, "content of " + name));
        List(listed, current);
        Names after; // the picture shown after each move, which the next move sorts
        for (qsizetype i = 0; i < shown.size(); ++i) {
            QVERIFY2(Session().Move(QString::fromUtf8(dst)), Current().constData());
            after << Current();
        }
        QCOMPARE(after, shown);
        QCOMPARE(Listed(), left);
        QVERIFY(Settle()); // the outcome on disk agrees with what the list showed at once
        QCOMPARE(Listed(), left);
    }
};

QTEST_MAIN(TestMoveOnTwins)
#include "tst_moveontwins.moc"
