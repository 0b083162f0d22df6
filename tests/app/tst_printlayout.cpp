#include "app/PrintLayout.h"
#include "dialogs/CAboutDlg.h"

#include <QtTest>

using namespace print_layout;

class TestPrintLayout : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void picturesFitTheLetterFrame_data();
    void picturesFitTheLetterFrame();
    void frameIsMappedOntoThePrintablePage();
    void aboutBoxShowsTheWholeMemory();
};

void TestPrintLayout::picturesFitTheLetterFrame_data() {
    QTest::addColumn<double>("w");
    QTest::addColumn<double>("h");
    QTest::addColumn<QSizeF>("expected");
    QTest::newRow("wide") << 1600.0 << 1200.0 << QSizeF(5100, 3825);
    QTest::newRow("upright") << 1200.0 << 1600.0 << QSizeF(4950, 6600);
    QTest::newRow("square is not wider than the page") << 1000.0 << 1000.0 << QSizeF(5100, 5100);
    QTest::newRow("very wide") << 4000.0 << 100.0 << QSizeF(5100, 127.5);
    QTest::newRow("very tall") << 10.0 << 4000.0 << QSizeF(16.5, 6600);
    QTest::newRow("empty") << 0.0 << 100.0 << QSizeF();
}

void TestPrintLayout::picturesFitTheLetterFrame() {
    QFETCH(double, w);
    QFETCH(double, h);
    QFETCH(QSizeF, expected);
    QCOMPARE(FrameSize(w, h), expected);
}

void TestPrintLayout::frameIsMappedOntoThePrintablePage() {
    // A4 at 600 dpi printable area 4760 x 6814: the width limits the scale.
    const QRectF a4 = MapToPage(0, 0, FrameSize(1600, 1200), QSizeF(4760, 6814));
    QVERIFY(a4.right() <= 4760.0 + 1e-6);
    QCOMPARE(a4.width() / a4.height(), 1600.0 / 1200.0);
    const QRectF tall = MapToPage(0, 0, FrameSize(1200, 1600), QSizeF(4760, 6814));
    QVERIFY(tall.bottom() <= 6814.0 + 1e-6 && tall.right() <= 4760.0 + 1e-6);
    // On letter paper of the frame's own size nothing changes.
    QCOMPARE(MapToPage(0, 0, QSizeF(5100, 3825), QSizeF(5100, 6600)), QRectF(0, 0, 5100, 3825));
    QVERIFY(MapToPage(0, 0, QSizeF(5100, 3825), QSizeF()).isEmpty());
}

void TestPrintLayout::aboutBoxShowsTheWholeMemory() {
    QCOMPARE(CAboutDlg::MemoryText(16ull << 20), QStringLiteral("16384 KB"));
    QCOMPARE(CAboutDlg::MemoryText((16ull << 20) + 1023), QStringLiteral("16384 KB"));
    // 24 GB must not wrap around as a 32-bit count would.
    QCOMPARE(CAboutDlg::MemoryText(24ull << 30), QStringLiteral("25165824 KB"));
}

QTEST_GUILESS_MAIN(TestPrintLayout)
#include "tst_printlayout.moc"
