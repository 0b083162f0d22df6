// The zoom arithmetic without a window: the steps after and before any scale, the pan that
// keeps a point under the pointer, the pan's limits, the decode size of a zoomed picture and
// the text the status bar shows.
#include "picture/load/CDecodeJob.h"
#include "picture/view/CZoomSteps.h"

#include <QtTest>
#include <cmath>
#include <limits>

class TestZoomSteps : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void nextAndPrevious_data() {
        QTest::addColumn<double>("scale");
        QTest::addColumn<double>("next");
        QTest::addColumn<double>("previous");
        QTest::newRow("100 %") << 1.0 << 1.5 << 2.0 / 3;
        QTest::newRow("smallest") << 0.125 << 0.25 << 0.125;
        QTest::newRow("largest") << 8.0 << 8.0 << 4.0;
        QTest::newRow("beyond largest") << 12.0 << 8.0 << 8.0;
        QTest::newRow("below smallest") << 0.05 << 0.125 << 0.125;
        QTest::newRow("fitted 23 %") << 0.23 << 0.25 << 0.125;
        QTest::newRow("fitted 34 %") << 0.34 << 0.5 << 1.0 / 3;
        QTest::newRow("33 % as a whole per cent is the third") << 0.33 << 0.5 << 0.25;
        QTest::newRow("67 % as a whole per cent is two thirds") << 0.67 << 1.0 << 0.5;
        QTest::newRow("a hair above 100 %") << 1.0 + 1e-9 << 1.5 << 2.0 / 3;
        QTest::newRow("zero") << 0.0 << 0.125 << 0.125;
        QTest::newRow("negative") << -1.0 << 0.125 << 0.125;
        QTest::newRow("not a number") << std::nan("") << 0.125 << 0.125;
    }
    void nextAndPrevious() {
        QFETCH(double, scale);
        QFETCH(double, next);
        QFETCH(double, previous);
        QCOMPARE(CZoomSteps::Next(scale), next);
        QCOMPARE(CZoomSteps::Previous(scale), previous);
    }

    // Stepping up from the smallest visits every step once, in order, and down again.
    void stepsGoRoundTrip() {
        const auto steps = CZoomSteps::Steps();
        QCOMPARE(int(steps.size()), 11);
        double scale = CZoomSteps::Smallest();
        for (std::size_t i = 1; i < steps.size(); ++i) {
            scale = CZoomSteps::Next(scale);
            QCOMPARE(scale, steps[i]);
        }
        for (std::size_t i = steps.size() - 1; i > 0; --i) {
            scale = CZoomSteps::Previous(scale);
            QCOMPARE(scale, steps[i - 1]);
        }
    }

    void pointStaysUnderThePointer_data() {
        QTest::addColumn<QPointF>("anchor");
        QTest::addColumn<QRectF>("placedBefore");
        QTest::addColumn<QSizeF>("viewAfter");
        QTest::addColumn<QPointF>("pan");
        // A 4000 x 3000 picture fitted at 10 % fills the control; 100 % at its centre.
        QTest::newRow("fit to 100 % at the centre") << QPointF(200, 150) << QRectF(0, 0, 400, 300)
                                                    << QSizeF(4000, 3000) << QPointF(1800, 1350);
        QTest::newRow("fit to 100 % at the top left corner")
            << QPointF(0, 0) << QRectF(0, 0, 400, 300) << QSizeF(4000, 3000) << QPointF(0, 0);
        QTest::newRow("fit to 100 % at the bottom right corner")
            << QPointF(400, 300) << QRectF(0, 0, 400, 300) << QSizeF(4000, 3000)
            << QPointF(3600, 2700);
        QTest::newRow("fit to 100 % off centre") << QPointF(100, 75) << QRectF(0, 0, 400, 300)
                                                 << QSizeF(4000, 3000) << QPointF(900, 675);
        // Already panned: the point at 1000 + 50 of 2000 goes to 2100 of 4000.
        QTest::newRow("200 % panned to 400 %")
            << QPointF(50, 100) << QRectF(-1000, -500, 2000, 1500) << QSizeF(4000, 3000)
            << QPointF(2050, 1100);
        // A picture narrower than the control is centred: no pan sideways.
        QTest::newRow("zoomed out below the control's size")
            << QPointF(200, 150) << QRectF(-1800, -1350, 4000, 3000) << QSizeF(200, 150)
            << QPointF(0, 0);
        // Wider than the control, not as high: panned sideways only.
        QTest::newRow("wide and low") << QPointF(300, 150) << QRectF(100, 75, 200, 150)
                                      << QSizeF(800, 200) << QPointF(400, 0);
        // Beside the picture counts as its nearest edge.
        QTest::newRow("pointer in the margin") << QPointF(10, 150) << QRectF(100, 75, 200, 150)
                                               << QSizeF(2000, 1500) << QPointF(0, 600);
        // Near the far edge the pan stops at what lies beyond the control.
        QTest::newRow("kept within the picture")
            << QPointF(399, 299) << QRectF(0, 0, 400, 300) << QSizeF(800, 600) << QPointF(400, 300);
    }
    void pointStaysUnderThePointer() {
        QFETCH(QPointF, anchor);
        QFETCH(QRectF, placedBefore);
        QFETCH(QSizeF, viewAfter);
        QFETCH(QPointF, pan);
        const QSizeF client(400, 300);
        const QPointF got = CZoomSteps::PanKeeping(anchor, placedBefore, viewAfter, client);
        QVERIFY2(std::abs(got.x() - pan.x()) < 1.01 && std::abs(got.y() - pan.y()) < 1.01,
                 qPrintable(QStringLiteral("%1, %2").arg(got.x()).arg(got.y())));
    }

    void panIsKeptWithinTheEdges_data() {
        QTest::addColumn<QPointF>("pan");
        QTest::addColumn<QSizeF>("view");
        QTest::addColumn<QPointF>("kept");
        QTest::newRow("inside") << QPointF(10, 20) << QSizeF(800, 600) << QPointF(10, 20);
        QTest::newRow("beyond the far edges")
            << QPointF(900, 900) << QSizeF(800, 600) << QPointF(400, 300);
        QTest::newRow("before the near edges")
            << QPointF(-5, -1) << QSizeF(800, 600) << QPointF(0, 0);
        QTest::newRow("smaller than the control")
            << QPointF(50, 50) << QSizeF(100, 100) << QPointF(0, 0);
        QTest::newRow("a fraction beyond is reachable")
            << QPointF(999, 999) << QSizeF(400.5, 300.5) << QPointF(1, 1);
        const double inf = std::numeric_limits<double>::infinity();
        QTest::newRow("no number")
            << QPointF(std::nan(""), inf) << QSizeF(800, 600) << QPointF(0, 0);
    }
    void panIsKeptWithinTheEdges() {
        QFETCH(QPointF, pan);
        QFETCH(QSizeF, view);
        QFETCH(QPointF, kept);
        QCOMPARE(CZoomSteps::ClampPan(pan, view, QSizeF(400, 300)), kept);
    }

    // A zoomed picture is decoded at the shown size, but never beyond its own pixels.
    void zoomedDecodeSize_data() {
        QTest::addColumn<QSize>("own");
        QTest::addColumn<double>("scale");
        QTest::addColumn<double>("ratio");
        QTest::addColumn<QSize>("target");
        QTest::newRow("100 %") << QSize(6000, 4000) << 1.0 << 1.0 << QSize(6000, 4000);
        QTest::newRow("50 %") << QSize(6000, 4000) << 0.5 << 1.0 << QSize(3000, 2000);
        QTest::newRow("12.5 %") << QSize(6000, 4000) << 0.125 << 1.0 << QSize(750, 500);
        QTest::newRow("800 % of 60 megapixels")
            << QSize(9504, 6336) << 8.0 << 1.0 << QSize(9504, 6336);
        QTest::newRow("100 % on a dense screen")
            << QSize(6000, 4000) << 1.0 << 2.0 << QSize(6000, 4000);
        QTest::newRow("25 % on a dense screen")
            << QSize(6000, 4000) << 0.25 << 2.0 << QSize(3000, 2000);
    }
    void zoomedDecodeSize() {
        QFETCH(QSize, own);
        QFETCH(double, scale);
        QFETCH(double, ratio);
        QFETCH(QSize, target);
        QCOMPARE(CDecodeJob::TargetFor(own, QSize(800, 600), false, ratio, scale), target);
        QCOMPARE(CDecodeJob::PixelsFor(QSizeF(own) * scale, ratio, own), target);
    }

    void text_data() {
        QTest::addColumn<double>("scale");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::newRow("100 %") << 1.0 << "C"
                               << "100 %";
        QTest::newRow("12.5 %") << 0.125 << "C"
                                << "12.5 %";
        QTest::newRow("12.5 % in German") << 0.125 << "de_DE"
                                          << "12,5 %";
        QTest::newRow("a third") << 1.0 / 3 << "C"
                                 << "33 %";
        QTest::newRow("two thirds") << 2.0 / 3 << "C"
                                    << "67 %";
        QTest::newRow("800 %") << 8.0 << "C"
                               << "800 %";
        QTest::newRow("fitted 7 %") << 0.07 << "C"
                                    << "7 %";
        QTest::newRow("no number") << std::nan("") << "C"
                                   << "0 %";
    }
    void text() {
        QFETCH(double, scale);
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QCOMPARE(CZoomSteps::Text(scale, QLocale(locale)), text);
    }
};

QTEST_GUILESS_MAIN(TestZoomSteps)
#include "tst_zoomsteps.moc"
