// The imaging control zoomed: the enlarged pixels at once and then the sharp ones, never
// decoded beyond the picture's own size, the point under the pointer kept, the scale kept
// for the next picture, and panning by the arrows and the wheel.
#include "picture/load/CPictureLoader.h"
#include "picture/view/CImageCtrl.h"
#include "picture/view/CZoomSteps.h"
#include "tests/picture/ImageCtrlFixture.h"
#include "tests/picture/PictureTestSupport.h"
#include "tests/support/PaintWatch.h"

#include <QSignalSpy>
#include <QtTest>

using namespace pictest;

class TestImageZoom : public ImageCtrlFixture {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        SetUp();
        m_wide = WriteBytes(m_dir.filePath("wide.jpg"), MakeJpeg(400, 200));
        m_small = WriteBytes(m_dir.filePath("small.jpg"), MakeJpeg(100, 50));
    }
    void cleanup() { TearDown(); }

    // 800 %: the fitted pixels are drawn enlarged at once, then the picture's own pixels,
    // not the 3200 x 1600 the view would need.
    void zoomingInShowsEnlargedThenOwnSize() {
        QCOMPARE(Show(m_wide, true), 50);
        QCOMPARE(m_ctrl->ZoomScale(), 0.5);
        QSignalSpy changed(m_ctrl.get(), &CImageCtrl::ZoomChanged);
        m_ctrl->ZoomTo(8.0, QPointF(100, 50));
        QVERIFY(changed.count() >= 1);
        QCOMPARE(m_ctrl->ZoomScale(), 8.0);
        QVERIFY(!m_ctrl->IsFitted());
        QVERIFY(m_ctrl->IsPictureShown());
        QVERIFY(!m_ctrl->IsPictureComplete());
        QVERIFY(m_ctrl->WaitForPicture());
        QCOMPARE(m_ctrl->DecodedSize(), QSize(400, 200));
        QVERIFY(m_ctrl->Loader().Cache().Bytes() <= m_ctrl->Loader().Cache().Budget());
    }

    // At 100 % the part of a large JPEG on screen comes first at its own size, drawn as the
    // whole picture then draws it: the whole, when it comes, is not drawn again. Other
    // scales and types wait for the whole picture.
    void partOnScreenComesFirstAtOneToOne_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<double>("scale");
        QTest::addColumn<bool>("part");
        QTest::newRow("JPEG at 100 %") << "jpeg" << 1.0 << true;
        QTest::newRow("JPEG at 200 %") << "jpeg" << 2.0 << false;
        QTest::newRow("PNG at 100 %") << "png" << 1.0 << false;
    }
    void partOnScreenComesFirstAtOneToOne() {
        QFETCH(QString, type);
        QFETCH(double, scale);
        QFETCH(bool, part);
        QImage picture(1600, 1200, QImage::Format_RGB32);
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                picture.setPixel(x, y, qRgb((x * 7 + y) % 256, (y * 5) % 256, (x ^ y) % 256));
        const QString path = m_dir.filePath("large." + type);
        QVERIFY(picture.save(path, qPrintable(type), 90));
        Show(path, true);
        QSignalSpy parts(&m_ctrl->Loader(), &CPictureLoader::PartDecoded);
        QImage withPart; // the control as drawn with the part
        connect(&m_ctrl->Loader(), &CPictureLoader::PartDecoded, this, [&] {
            QVERIFY(!m_ctrl->IsPictureComplete());
            withPart = m_ctrl->grab().toImage();
        });
        int paintsOfTheWhole = 0;
        PaintWatch watch(*m_ctrl, [&] { paintsOfTheWhole += m_ctrl->IsPictureComplete(); });
        m_ctrl->ZoomTo(scale, QPointF(101, 47));
        QVERIFY(m_ctrl->WaitForPicture());
        QCoreApplication::processEvents();
        QCOMPARE(parts.size(), part ? 1 : 0);
        QCOMPARE(paintsOfTheWhole, part ? 0 : 1);
        if (!part)
            return;
        const QRect seen(m_ctrl->PanOffset().toPoint(), m_ctrl->size());
        QVERIFY(parts[0][1].toRect().contains(seen));
        QVERIFY(parts[0][1].toRect().width() < picture.width());
        QCOMPARE(withPart, m_ctrl->grab().toImage());
    }

    // Zoomed at a point of the right (blue) half, that point stays under the pointer.
    void zoomKeepsThePointUnderThePointer_data() {
        QTest::addColumn<double>("scale");
        QTest::addColumn<QPointF>("anchor");
        QTest::addColumn<QPointF>("pan");
        QTest::newRow("200 % in the blue half") << 2.0 << QPointF(150, 50) << QPointF(450, 150);
        QTest::newRow("100 % right of the centre") << 1.0 << QPointF(120, 50) << QPointF(120, 50);
        QTest::newRow("400 % at the top left") << 4.0 << QPointF(0, 0) << QPointF(0, 0);
        QTest::newRow("25 % is centred") << 0.25 << QPointF(110, 50) << QPointF(0, 0);
    }
    void zoomKeepsThePointUnderThePointer() {
        QFETCH(double, scale);
        QFETCH(QPointF, anchor);
        QFETCH(QPointF, pan);
        Show(m_wide, true);
        m_ctrl->ZoomTo(scale, anchor);
        QCOMPARE(m_ctrl->PanOffset(), pan);
        QVERIFY(m_ctrl->WaitForPicture());
        const QImage shown = m_ctrl->grab().toImage().scaled(m_ctrl->size());
        const QColor expected = anchor.x() >= 100 ? Qt::blue : Qt::red;
        QVERIFY(Near(shown.pixel(anchor.toPoint().x() == 0 ? 1 : anchor.toPoint().x(),
                                 std::max(1, anchor.toPoint().y())),
                     expected));
    }

    // The next picture, not fitted, is shown at the chosen scale; fitting again forgets it.
    void theNextPictureKeepsTheScale() {
        Show(m_wide, true);
        m_ctrl->ZoomTo(2.0, QPointF(100, 50));
        QVERIFY(m_ctrl->WaitForPicture());
        Show(m_small, false);
        QCOMPARE(m_ctrl->ZoomScale(), 2.0);
        QCOMPARE(m_ctrl->DecodedSize(), QSize(100, 50)); // its own size, drawn enlarged
        Show(m_wide, true);
        QCOMPARE(m_ctrl->ZoomScale(), 0.5);
        Show(m_small, false);
        QCOMPARE(m_ctrl->ZoomScale(), 1.0);
    }

    // The pictures decoded ahead are decoded again for the new scale: the next one is
    // complete the moment it is shown.
    void picturesAheadFollowTheZoom() {
        Show(m_wide, true);
        m_ctrl->PrefetchFiles({m_small}, true);
        QTRY_COMPARE_WITH_TIMEOUT(m_ctrl->Loader().RunningCount(), 0, 10000);
        m_ctrl->ZoomTo(2.0, QPointF(100, 50));
        QVERIFY(m_ctrl->WaitForPicture());
        QTRY_COMPARE_WITH_TIMEOUT(m_ctrl->Loader().RunningCount(), 0, 10000);
        m_ctrl->ShowPicture(m_small, false);
        QVERIFY(m_ctrl->IsPictureComplete());
        QCOMPARE(m_ctrl->DecodedSize(), QSize(100, 50));
    }

    // With the focus, the arrows move a picture larger than the control, Ctrl by a page;
    // a fitted picture leaves them to others.
    void arrowsPanAZoomedPicture_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QPointF>("pan");
        QTest::newRow("Right") << int(Qt::Key_Right) << 0 << QPointF(320, 150);
        QTest::newRow("Left") << int(Qt::Key_Left) << 0 << QPointF(280, 150);
        QTest::newRow("Down") << int(Qt::Key_Down) << 0 << QPointF(300, 170);
        QTest::newRow("Up") << int(Qt::Key_Up) << 0 << QPointF(300, 130);
        QTest::newRow("Ctrl+Right")
            << int(Qt::Key_Right) << int(Qt::ControlModifier) << QPointF(500, 150);
        QTest::newRow("Shift+Right is not a pan")
            << int(Qt::Key_Right) << int(Qt::ShiftModifier) << QPointF(300, 150);
    }
    void arrowsPanAZoomedPicture() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QPointF, pan);
        Show(m_wide, true);
        QTest::keyClick(m_ctrl.get(), Qt::Key_Right);
        QCOMPARE(m_ctrl->PanOffset(), QPointF(0, 0)); // fitted: nothing to move
        m_ctrl->ZoomTo(2.0, QPointF(100, 50));
        QCOMPARE(m_ctrl->PanOffset(), QPointF(300, 150));
        QTest::keyClick(m_ctrl.get(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(m_ctrl->PanOffset(), pan);
    }

    // Ctrl+wheel asks the owner to zoom, a whole notch at a time, at the pointer; the wheel
    // alone pans.
    void ctrlWheelAsksToZoom() {
        Show(m_wide, true);
        m_ctrl->ZoomTo(2.0, QPointF(0, 0));
        QSignalSpy wheel(m_ctrl.get(), &CImageCtrl::ZoomWheel);
        const auto turn = [this](int delta, Qt::KeyboardModifiers mods) {
            QWheelEvent event(QPointF(30, 40), m_ctrl->mapToGlobal(QPointF(30, 40)), QPoint(),
                              QPoint(0, delta), Qt::NoButton, mods, Qt::NoScrollPhase, false);
            QApplication::sendEvent(m_ctrl.get(), &event);
        };
        turn(60, Qt::ControlModifier);
        QCOMPARE(wheel.count(), 0);
        turn(60, Qt::ControlModifier);
        QCOMPARE(wheel.count(), 1);
        QCOMPARE(wheel.at(0).at(0).toInt(), 1);
        QCOMPARE(wheel.at(0).at(1).toPointF(), QPointF(30, 40));
        turn(-240, Qt::ControlModifier);
        QCOMPARE(wheel.at(1).at(0).toInt(), -2);
        QCOMPARE(m_ctrl->PanOffset(), QPointF(0, 0));
        turn(-120, Qt::NoModifier);
        QCOMPARE(wheel.count(), 2);
        QCOMPARE(m_ctrl->PanOffset(), QPointF(0, 60));
    }

    // Nothing to zoom: no picture, or one that cannot be shown.
    void zoomWithoutAPictureDoesNothing() {
        m_ctrl->ZoomTo(2.0, QPointF(10, 10));
        QCOMPARE(m_ctrl->ZoomScale(), 0.0);
        QVERIFY(m_ctrl->IsFitted());
        const QString broken = WriteBytes(m_dir.filePath("broken.jpg"), "not a picture");
        Show(broken, true);
        m_ctrl->ZoomTo(2.0, QPointF(10, 10));
        QCOMPARE(m_ctrl->ZoomScale(), 0.0);
    }

private:
    QString m_wide;
    QString m_small;
};

QTEST_MAIN(TestImageZoom)
#include "tst_imagezoom.moc"
