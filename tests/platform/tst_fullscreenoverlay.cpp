// The overlay of a picture shown on the whole screen: shown again while it is up, with
// other rows, it is as large as its rows need, every row shown; it lies along the bottom
// edge, within the widget, and hides by itself.
#include "platform/ui/CFullScreenOverlay.h"

#include <QLabel>
#include <QLayout>
#include <QtTest>

class TestFullScreenOverlay : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void shownAgainWithOtherRows_data() {
        QTest::addColumn<int>("firstRows");
        QTest::addColumn<int>("secondRows");
        QTest::newRow("none, then two") << 0 << 2;
        QTest::newRow("two, then two others") << 2 << 2;
        QTest::newRow("two, then twenty") << 2 << 20;
        QTest::newRow("twenty, then one") << 20 << 1;
    }
    void shownAgainWithOtherRows() {
        QFETCH(int, firstRows);
        QFETCH(int, secondRows);
        QWidget screen;
        screen.resize(1000, 700);
        screen.show();
        QVERIFY(QTest::qWaitForWindowExposed(&screen));
        CFullScreenOverlay overlay(&screen);
        const auto rows = [](int count, const QString& name) {
            CFullScreenOverlay::Rows all;
            for (int i = 0; i < count; ++i)
                all.append({QString::number(i + 1), name + QString::number(i + 1)});
            return all;
        };
        overlay.ShowFor("Full screen", rows(firstRows, "First "));
        overlay.ShowFor("Moved a.jpg to Keep", rows(secondRows, "Second "));
        QCoreApplication::processEvents();
        QVERIFY(overlay.isVisible() && overlay.IsCounting());
        QCOMPARE(overlay.Heading(), QStringLiteral("Moved a.jpg to Keep"));
        QCOMPARE(overlay.RowTexts().size(), secondRows);
        QCOMPARE(overlay.RowTexts().constLast(), QStringLiteral("%1 Second %1").arg(secondRows));
        QVERIFY(overlay.height() >= overlay.layout()->sizeHint().height());
        for (QLabel* label : overlay.findChildren<QLabel*>()) {
            QVERIFY2(label->isVisible(), qPrintable(label->text()));
            QVERIFY2(overlay.rect().contains(label->geometry()), qPrintable(label->text()));
            QVERIFY(label->height() >= label->sizeHint().height());
        }
        QVERIFY(screen.rect().contains(overlay.geometry()));
        QCOMPARE(overlay.geometry().bottom(), screen.height() - 24 - 1);
        QCOMPARE(overlay.accessibleName(), QStringLiteral("Moved a.jpg to Keep"));
    }

    // It never takes the focus or the mouse.
    void takesNeitherFocusNorMouse() {
        QWidget screen;
        CFullScreenOverlay overlay(&screen);
        QCOMPARE(overlay.focusPolicy(), Qt::NoFocus);
        QVERIFY(overlay.testAttribute(Qt::WA_TransparentForMouseEvents));
    }
};

QTEST_MAIN(TestFullScreenOverlay)
#include "tst_fullscreenoverlay.moc"
