#include "app/PrintLayout.h"
#include "dialogs/CAboutDlg.h"

#include <QtTest>

using namespace print_layout;

class TestPrintLayout : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void picturesFitTheLetterFrame_data();
    void picturesFitTheLetterFrame();
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

void TestPrintLayout::aboutBoxShowsTheWholeMemory() {
    QCOMPARE(CAboutDlg::MemoryText(16ull << 20), QStringLiteral("16384 KB"));
    QCOMPARE(CAboutDlg::MemoryText((16ull << 20) + 1023), QStringLiteral("16384 KB"));
    // 24 GB must not wrap around as a 32-bit count would.
    QCOMPARE(CAboutDlg::MemoryText(24ull << 30), QStringLiteral("25165824 KB"));
}

QTEST_GUILESS_MAIN(TestPrintLayout)
#include "tst_printlayout.moc"
