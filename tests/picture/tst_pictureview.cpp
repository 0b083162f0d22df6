#include "picture/CVantrelView.h"
#include "platform/CDialogBuilder.h"

#include <QAbstractScrollArea>
#include <QScrollBar>
#include <QtTest>

// The middle pane: nothing but the imaging control, flush with the pane at every size.
class TestPictureView : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void controlIsHiddenUntilAPictureIsShown();
    void controlCoversThePaneAtEverySize();
};

void TestPictureView::controlIsHiddenUntilAPictureIsShown() {
    CVantrelView view;
    view.resize(300, 200);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QVERIFY(!view.m_imageCtrl.isVisible());
    QCOMPARE(CDialogBuilder::Control(&view, CImageCtrl::kControlId), &view.m_imageCtrl);
    view.m_imageCtrl.show();
    QVERIFY(view.m_imageCtrl.isVisible());
}

void TestPictureView::controlCoversThePaneAtEverySize() {
    CVantrelView view;
    view.m_imageCtrl.show();
    view.show();
    for (const QSize size : {QSize(640, 480), QSize(37, 11), QSize(1, 1), QSize(1200, 300)}) {
        view.resize(size);
        QCOMPARE(view.m_imageCtrl.geometry(), QRect(QPoint(0, 0), size));
        QCOMPARE(view.m_imageCtrl.ClientWidth(), float(size.width()));
        QCOMPARE(view.m_imageCtrl.ClientHeight(), float(size.height()));
    }
    QVERIFY(view.findChildren<QScrollBar*>().isEmpty());
    QVERIFY(view.findChildren<QAbstractScrollArea*>().isEmpty());
}

QTEST_MAIN(TestPictureView)
#include "tst_pictureview.moc"
