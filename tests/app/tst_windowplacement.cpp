// The stored outer rectangle against frames the window manager tells early, late or never.
#include "app/WindowPlacement.h"

#include <QtTest>

namespace {
const QRect kOuter(10, 20, 900, 700);
const QMargins kFrame(1, 24, 1, 1); // what openbox draws around a window
} // namespace

class TestWindowPlacement : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Started maximised, the window passes through the normal state at the maximised size
    // on its way back (seen under load): that is no size of the user's, and the frame still
    // comes off once the window is restored to the client it asked for.
    void restoredAfterAMaximisedStartFitsItsFrame() {
        WindowPlacement placement(kOuter);
        placement.StartMaximised();
        const QRect maximised(0, 24, 1280, 876);
        QVERIFY(!placement.OnGeometry(QMargins(0, 24, 0, 0), maximised, false).isValid());
        QVERIFY(!placement.OnGeometry(kFrame, maximised, true).isValid());
        QVERIFY(!placement.Settled());
        QCOMPARE(placement.OnGeometry(kFrame, kOuter.translated(1, 24), true),
                 QRect(11, 44, 898, 675));
        QVERIFY(placement.Settled());
    }

    // Reports the window sees after its first show; the rectangle stored at the end.
    void storesTheOuterRectangleItWasGiven_data() {
        QTest::addColumn<int>("reportsWithoutFrame"); // before the frame is known
        QTest::addColumn<bool>("frameEver");
        QTest::newRow("no window manager") << 3 << false;
        QTest::newRow("frame known at the first report") << 0 << true;
        QTest::newRow("frame known late") << 5 << true;
    }
    void storesTheOuterRectangleItWasGiven() {
        QFETCH(int, reportsWithoutFrame);
        QFETCH(bool, frameEver);
        WindowPlacement placement(kOuter);
        QRect client = placement.InitialClient();
        QCOMPARE(client, kOuter);
        for (int i = 0; i < reportsWithoutFrame; ++i) {
            QVERIFY(!placement.OnGeometry(QMargins(), client, true).isValid());
            QCOMPARE(placement.ForSaving(QMargins(), client, client, true), kOuter);
        }
        QMargins frame;
        if (frameEver) {
            frame = kFrame;
            // Closed before the client could shrink: still the rectangle it was given.
            QCOMPARE(placement.ForSaving(frame, client.translated(1, 24), client, true), kOuter);
            client = placement.OnGeometry(frame, client.translated(1, 24), true);
            QCOMPARE(client, QRect(11, 44, 898, 675));
            QVERIFY(!placement.OnGeometry(frame, client, true).isValid()); // once only
        }
        QVERIFY(placement.Settled() == frameEver);
        QCOMPARE(placement.ForSaving(frame, client, client, true), kOuter);
        // Run after run the same.
        WindowPlacement next(placement.ForSaving(frame, client, client, true));
        QCOMPARE(next.Outer(), kOuter);
    }

    // A size the user or the window manager chose before the frame was known is kept, and
    // stored with the frame around it; moving the window alone changes only the corner.
    void theirSizeWinsAndMovesAreKept() {
        WindowPlacement resized(kOuter);
        const QRect theirs(50, 60, 640, 480);
        QVERIFY(!resized.OnGeometry(QMargins(), theirs, true).isValid());
        QVERIFY(resized.Settled());
        QVERIFY(!resized.OnGeometry(kFrame, theirs, true).isValid());
        QCOMPARE(resized.ForSaving(kFrame, theirs, theirs, true), theirs + kFrame);

        WindowPlacement moved(kOuter);
        const QRect there(QPoint(300, 200), kOuter.size());
        QCOMPARE(moved.ForSaving(QMargins(), there, there, true), there);
    }

    // Maximised: the normal rectangle with its frame is stored, also when the window was
    // maximised before the frame came off; nothing is fitted while maximised.
    void maximisedStoresTheNormalRectangle() {
        WindowPlacement placement(kOuter);
        const QRect full(1, 24, 1278, 999);
        QVERIFY(!placement.OnGeometry(kFrame, full, false).isValid());
        const QRect normal = kOuter.translated(1, 24); // placed by its frame's corner
        QCOMPARE(placement.ForSaving(kFrame, full, normal, false), kOuter);
        const QRect client = placement.OnGeometry(kFrame, normal, true);
        QCOMPARE(client, kOuter - kFrame);
        QCOMPARE(placement.ForSaving(kFrame, full, client, false), kOuter);
        // Maximised, the window manager draws only the title: the normal frame is stored.
        const QMargins titleOnly(0, 19, 0, 0);
        QVERIFY(!placement.OnGeometry(titleOnly, full, false).isValid());
        QCOMPARE(placement.ForSaving(titleOnly, full, client, false), kOuter);
    }
};

QTEST_GUILESS_MAIN(TestWindowPlacement)
#include "tst_windowplacement.moc"
