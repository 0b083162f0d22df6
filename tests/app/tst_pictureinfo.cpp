// View > Picture Information in the real window: the key, the setting, and the panel
// following the current picture.
#include "resources/CommandIds.h"
#include "sorting/widgets/CPictureInfoPanel.h"
#include "tests/support/MetadataPictures.h"
#include "tests/support/PictureDesk.h"

#include <QAction>
#include <QDockWidget>
#include <QtTest>

class TestPictureInfo : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        m_desk = std::make_unique<PictureDesk>();
        QVERIFY(metatest::WriteJpeg(m_desk->Path("Pics/one.jpg")));
        QVERIFY(m_desk->Picture("Pics/two.jpg"));
    }
    void cleanup() { m_desk.reset(); }

    void hiddenUntilAskedFor() {
        QVERIFY(QTest::qWaitForWindowActive(&m_desk->Start().Window()));
        WindowDriver& frame = m_desk->Frame();
        auto* dock = frame.Window().findChild<QDockWidget*>(QStringLiteral("pictureInfoDock"));
        QVERIFY(dock);
        QVERIFY(!dock->isVisible());
        QVERIFY(!frame.Action(cmd::ID_VIEW_PICTURE_INFO)->isChecked());
        QVERIFY(!frame.Settings().GetShowPictureInfo());
    }

    // I shows the panel on the current picture, it follows Down, and I hides it again; the
    // choice is in the store at once.
    void keyShowsPanelThatFollows() {
        QVERIFY(QTest::qWaitForWindowActive(&m_desk->Start().Window()));
        WindowDriver& frame = m_desk->Frame();
        m_desk->Select(QStringLiteral("one.jpg"));
        auto* panel = frame.Window().findChild<CPictureInfoPanel*>();
        QVERIFY(panel);
        QSignalSpy updated(panel, &CPictureInfoPanel::Updated);
        QTest::keyClick(&m_desk->List(), Qt::Key_I);
        QVERIFY(panel->isVisible());
        QVERIFY(frame.Action(cmd::ID_VIEW_PICTURE_INFO)->isChecked());
        QVERIFY(updated.wait(30000));
        QVERIFY(panel->Lines().contains(QStringLiteral("Camera: Tessaro K7")));
        QCOMPARE(frame.Window().focusWidget(), &m_desk->List()); // the keys stay with the list

        QTest::keyClick(&m_desk->List(), Qt::Key_Down);
        QCOMPARE(m_desk->Current(), QStringLiteral("two.jpg"));
        QVERIFY(updated.wait(30000));
        QCOMPARE(panel->Path(), m_desk->Path("Pics/two.jpg"));
        QVERIFY(panel->Lines().filter(QStringLiteral("Camera")).isEmpty());
        QCOMPARE(m_desk->Store().GetProfileInt("Window", "ShowPictureInfo", 0), 1);

        QTest::keyClick(&m_desk->List(), Qt::Key_I);
        QVERIFY(!panel->isVisible());
        QCoreApplication::processEvents(); // the settings are written once back in the loop
        QCOMPARE(m_desk->Store().GetProfileInt("Window", "ShowPictureInfo", 1), 0);
    }

    // Shown when the program last ended with it shown.
    void remembered() {
        m_desk->Store().WriteProfileInt("Window", "ShowPictureInfo", 1);
        QVERIFY(QTest::qWaitForWindowActive(&m_desk->Start().Window()));
        WindowDriver& frame = m_desk->Frame();
        auto* panel = frame.Window().findChild<CPictureInfoPanel*>();
        QVERIFY(panel->isVisible());
        QVERIFY(frame.Action(cmd::ID_VIEW_PICTURE_INFO)->isChecked());
        QSignalSpy updated(panel, &CPictureInfoPanel::Updated);
        m_desk->Select(QStringLiteral("one.jpg"));
        QVERIFY(updated.wait(30000));
        QVERIFY(panel->Lines().contains(QStringLiteral("ISO: 400")));
    }

private:
    std::unique_ptr<PictureDesk> m_desk;
};

QTEST_MAIN(TestPictureInfo)
#include "tst_pictureinfo.moc"
