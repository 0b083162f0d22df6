// The destination button bar hosted in a small window of the test's own.
#include "platform/CButtonTabBar.h"
#include "platform/CDialogBuilder.h"
#include "resources/templates/TargetTemplate.h"
#include "settings/CSettings.h"
#include "sorting/CTarget.h"
#include "tests/support/TestSupport.h"

#include <QListWidget>
#include <QPushButton>
#include <QtTest>
#include <memory>

namespace {

// The bar beside a list, with the settings it shows; its signals are recorded.
class TestFrame : public QWidget {
public:
    TestFrame() {
        settings.Load(profile.Store());
        list = new QListWidget(this);
        list->setGeometry(0, 0, 200, 500);
        target = new CTarget(this);
        target->setGeometry(200, 0, 103, 500);
        target->SetSettings(&settings);
        connect(target, &CTarget::SendToTarget, this, [this](int n) { sent.append(n); });
        connect(target, &CTarget::DeletePicture, this, [this] { ++deletes; });
        resize(303, 500);
    }

    TempProfile profile;
    CSettings settings;
    QListWidget* list;
    CTarget* target;
    QList<int> sent;
    int deletes = 0;
};

} // namespace

class TestTarget : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        m_frame = std::make_unique<TestFrame>();
        m_frame->target->OnInitialUpdate();
        m_frame->show();
        QVERIFY(QTest::qWaitForWindowActive(m_frame.get()));
    }
    void cleanup() { m_frame.reset(); }

    void firstRunShowsAnEmptyGroup() {
        CButtonTabBar* tabs = m_frame->target->TabGroups();
        QCOMPARE(tabs, CDialogBuilder::Control(m_frame->target, dlg::IDC_TAB_GROUPS));
        QCOMPARE(tabs->count(), 4);
        for (int n = 0; n < 4; ++n)
            QCOMPARE(tabs->tabText(n), QString::number(n + 1));
        QCOMPARE(tabs->currentIndex(), 0);
        QCOMPARE(tabs->tabRect(1).size(), QSize(18, 16));
        QCOMPARE(tabs->Padding(), QSize(5, 3));
        QCOMPARE(tabs->focusPolicy(), Qt::NoFocus);
        for (int i = 0; i < 20; ++i) {
            QCOMPARE(Button(1100 + i)->text(), QStringLiteral("< None >"));
            QVERIFY(!Button(1100 + i)->isEnabled());
        }
        QVERIFY(!Button(dlg::IDC_HOME)->isEnabled());
        QVERIFY(Button(dlg::IDC_DELETE)->isEnabled());
        QCOMPARE(m_frame->settings.GetSelectionSet(), 0);
    }

    void tabsChooseTheGroup() {
        CSettings& s = m_frame->settings;
        s.SetSelectionSet(1);
        s.SetTargetName(4, "Holidays");
        s.SetTargetDir(4, "/pics/holidays");
        s.SetTargetName(5, "Named only");
        s.SetTargetDir(6, "/pics/unnamed");
        s.SetHomeDirectory("/pics");
        s.SetSelectionSet(0);
        m_frame->target->UpdateButtons();
        QVERIFY(!Button(1104)->isEnabled());

        CButtonTabBar* tabs = m_frame->target->TabGroups();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
        QCOMPARE(s.GetSelectionSet(), 1);
        QCOMPARE(Button(1104)->text(), QStringLiteral("Holidays"));
        QVERIFY(Button(1104)->isEnabled());
        QVERIFY(!Button(1105)->isEnabled()); // a name is not a directory
        QCOMPARE(Button(1106)->text(), QStringLiteral("< None >"));
        QVERIFY(Button(1106)->isEnabled());
        QVERIFY(Button(dlg::IDC_HOME)->isEnabled());

        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(2).center());
        QCOMPARE(s.GetSelectionSet(), 2);
        QCOMPARE(Button(1104)->text(), QStringLiteral("< None >"));
        QVERIFY(!Button(1104)->isEnabled());
        QVERIFY(!Button(dlg::IDC_HOME)->isEnabled());

        // A group chosen elsewhere (Alt+2) is shown by UpdateButtons.
        s.SetSelectionSet(1);
        m_frame->target->UpdateButtons();
        QCOMPARE(tabs->currentIndex(), 1);
        QVERIFY(Button(1104)->isEnabled());
    }

    void sizeHandlerLaysOutOneColumn() {
        CTarget* t = m_frame->target;
        t->resize(103, 500);
        QCOMPARE(CDialogBuilder::Control(t, dlg::IDC_TAB_GROUPS)->geometry(),
                 QRect(0, 2, 103, 498));
        QCOMPARE(Button(dlg::IDC_DELETE)->geometry(), QRect(0, 20, 103, 30));
        for (int i = 0; i < 20; ++i)
            QCOMPARE(Button(1100 + i)->geometry(), QRect(0, 60 + 20 * i, 103, 20));
        QCOMPARE(Button(dlg::IDC_HOME)->geometry(), QRect(0, 470, 103, 30));
        // The buttons lie on the tab control, not under it.
        QCOMPARE(t->childAt(50, 30), Button(dlg::IDC_DELETE));

        t->resize(103, 301); // d = 12, e = 18: the column is centred between Delete and Home
        QCOMPARE(Button(1100)->geometry(), QRect(0, 18 + (301 - 36 - 240 - 20) / 2 + 20, 103, 12));
        QCOMPARE(Button(dlg::IDC_HOME)->geometry(), QRect(0, 283, 103, 18));

        const QRect before = Button(1119)->geometry();
        t->resize(80, 24); // too small: nothing moves
        QCOMPARE(Button(1119)->geometry(), before);
        QCOMPARE(Button(dlg::IDC_HOME)->geometry(), QRect(0, 283, 103, 18));
    }

    void clicksAreAnnounced() {
        m_frame->settings.SetTargetDir(0, "/pics/a");
        m_frame->settings.SetTargetDir(19, "/pics/t");
        m_frame->settings.SetHomeDirectory("/pics");
        m_frame->target->UpdateButtons();
        for (int id : {1100, 1119, int(dlg::IDC_HOME), int(dlg::IDC_DELETE)})
            QTest::mouseClick(Button(id), Qt::LeftButton);
        QCOMPARE(m_frame->sent, (QList<int>{0, 19, 20}));
        QCOMPARE(m_frame->deletes, 1);
        // A disabled destination does nothing at all.
        QTest::mouseClick(Button(1105), Qt::LeftButton);
        QCOMPARE(m_frame->sent.size(), 3);
    }

    void withoutSettingsTheBarShowsNothing() {
        CTarget bare;
        bare.OnInitialUpdate();
        QCOMPARE(bare.TabGroups()->count(), 4);
        bare.TabGroups()->setCurrentIndex(2); // no settings to change: nothing happens
        QCOMPARE(bare.TabGroups()->currentIndex(), 2);
    }

private:
    QPushButton* Button(int id) const {
        return CDialogBuilder::ControlAs<QPushButton>(m_frame->target, id);
    }
    std::unique_ptr<TestFrame> m_frame;
};

QTEST_MAIN(TestTarget)
#include "tst_target.moc"
