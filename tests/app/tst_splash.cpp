#include "app/CSplashWnd.h"

#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

class TestSplash : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() {
        if (CSplashWnd* s = CSplashWnd::Current())
            delete s;
        CSplashWnd::EnableSplash(false);
    }

    void showsCentredAndGoesByItself() {
        CSplashWnd::EnableSplash(true);
        CSplashWnd::ShowSplash(nullptr);
        QPointer<CSplashWnd> splash = CSplashWnd::Current();
        QVERIFY(splash);
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(qAbs(splash->geometry().center().x() - area.center().x()) <= 1);
        QVERIFY(qAbs(splash->geometry().center().y() - area.center().y()) <= 1);
        QTest::qWait(CSplashWnd::kDisplayMs / 2);
        QVERIFY(splash && CSplashWnd::Current());
        QTRY_VERIFY_WITH_TIMEOUT(!splash, 3000);
        QVERIFY(!CSplashWnd::Current());
    }

    // The first key press or mouse click ends it and is swallowed; the next one counts.
    void inputEndsItAndIsSwallowed() {
        QLineEdit edit;
        edit.show();
        QVERIFY(QTest::qWaitForWindowExposed(&edit));
        CSplashWnd::EnableSplash(true);
        CSplashWnd::ShowSplash(&edit);
        QVERIFY(CSplashWnd::Current());
        QTest::keyClick(&edit, Qt::Key_A);
        QVERIFY(!CSplashWnd::Current());
        QTest::keyClick(&edit, Qt::Key_B);
        QCOMPARE(edit.text(), QStringLiteral("b"));

        QPushButton button("press");
        button.show();
        QVERIFY(QTest::qWaitForWindowExposed(&button));
        QSignalSpy clicked(&button, &QPushButton::clicked);
        CSplashWnd::ShowSplash(&button);
        QVERIFY(CSplashWnd::Current());
        QTest::mouseClick(&button, Qt::LeftButton);
        QVERIFY(!CSplashWnd::Current());
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(clicked.count(), 1);
    }

    void onlyOneAtATimeAndNoneWhenDisabledOrMissing() {
        CSplashWnd::ShowSplash(nullptr); // disabled
        QVERIFY(!CSplashWnd::Current());
        CSplashWnd::EnableSplash(true);
        CSplashWnd::ShowSplash(nullptr, ":/no/such/picture.bmp");
        QVERIFY(!CSplashWnd::Current());
        CSplashWnd::ShowSplash(nullptr);
        CSplashWnd* first = CSplashWnd::Current();
        QVERIFY(first);
        CSplashWnd::ShowSplash(nullptr);
        QCOMPARE(CSplashWnd::Current(), first);
        const QWidgetList all = QApplication::topLevelWidgets();
        QCOMPARE(std::count_if(all.begin(), all.end(),
                               [](QWidget* w) { return qobject_cast<CSplashWnd*>(w) != nullptr; }),
                 1);
    }
};

QTEST_MAIN(TestSplash)
#include "tst_splash.moc"
