#include "DialogDriver.h"
#include "dialogs/CConfigDlg.h"
#include "resources/templates/ConfigTemplate.h"
#include "settings/CSettings.h"

using namespace dlg;
using driver::Checked;
using driver::Click;

class TestConfigDlg : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void opensWithTheThreeSwitches();
    void cancelAfterChangingEveryControlChangesNothing();
    void okWithoutChangesStoresTheSameValues();
    void okStoresWhatTheControlsShow();
};

namespace {
CSettings Switches(int move, int fit, int recycle) {
    CSettings s;
    s.SetMoveFiles(move);
    s.SetFitPicToWindow(fit);
    s.SetUseRecyclingBin(recycle);
    return s;
}
} // namespace

void TestConfigDlg::opensWithTheThreeSwitches() {
    // Any non-zero move value shows "Move File", and OK then stores 1.
    CSettings s = Switches(2, 1, 0);
    CConfigDlg d;
    d.SetSettings(&s);
    d.open();
    QCOMPARE(d.windowTitle(), QStringLiteral("Program Configuration"));
    QCOMPARE(CDialogBuilder::Text(&d, IDC_MOVE_FILE), QStringLiteral("Move File"));
    QVERIFY(Checked(&d, IDC_MOVE_FILE));
    QVERIFY(!Checked(&d, IDC_COPY_FILE));
    QVERIFY(Checked(&d, IDC_RESIZE_TO_FIT));
    QVERIFY(!Checked(&d, IDC_RECYCLE_BIN));
    Click(&d, 1);
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(s.GetMoveFiles(), 1);
    QCOMPARE(s.GetFitPicToWindow(), 1);
    QCOMPARE(s.GetUseRecyclingBin(), 0);

    CSettings copy = Switches(0, 0, 1);
    CConfigDlg c;
    c.SetSettings(&copy);
    c.open();
    QVERIFY(Checked(&c, IDC_COPY_FILE));
    QVERIFY(!Checked(&c, IDC_MOVE_FILE));
    QVERIFY(!Checked(&c, IDC_RESIZE_TO_FIT));
    QVERIFY(Checked(&c, IDC_RECYCLE_BIN));
}

void TestConfigDlg::cancelAfterChangingEveryControlChangesNothing() {
    // Cancel, Escape and the close box all leave the settings as they were.
    for (int way = 0; way < 3; ++way) {
        CSettings s = Switches(2, 0, 1);
        CConfigDlg d;
        d.SetSettings(&s);
        d.open();
        Click(&d, IDC_COPY_FILE);
        Click(&d, IDC_RESIZE_TO_FIT);
        Click(&d, IDC_RECYCLE_BIN);
        QVERIFY(Checked(&d, IDC_COPY_FILE) && Checked(&d, IDC_RESIZE_TO_FIT));
        QVERIFY(!Checked(&d, IDC_RECYCLE_BIN));
        if (way == 0)
            Click(&d, 2);
        else if (way == 1)
            QTest::keyClick(&d, Qt::Key_Escape);
        else
            d.close();
        QVERIFY(!d.isVisible());
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QCOMPARE(s.GetMoveFiles(), 2);
        QCOMPARE(s.GetFitPicToWindow(), 0);
        QCOMPARE(s.GetUseRecyclingBin(), 1);
    }
}

void TestConfigDlg::okWithoutChangesStoresTheSameValues() {
    for (const auto& [move, fit, recycle] : {std::tuple{1, 0, 1}, std::tuple{0, 1, 0}}) {
        CSettings s = Switches(move, fit, recycle);
        CConfigDlg d;
        d.SetSettings(&s);
        d.open();
        Click(&d, 1);
        QCOMPARE(s.GetMoveFiles(), move);
        QCOMPARE(s.GetFitPicToWindow(), fit);
        QCOMPARE(s.GetUseRecyclingBin(), recycle);
    }
}

void TestConfigDlg::okStoresWhatTheControlsShow() {
    CSettings s = Switches(1, 0, 1);
    CConfigDlg d;
    d.SetSettings(&s);
    d.open();
    Click(&d, IDC_COPY_FILE);
    Click(&d, IDC_RESIZE_TO_FIT);
    Click(&d, IDC_RECYCLE_BIN);
    QTest::keyClick(&d, Qt::Key_Return); // the default button is OK
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(s.GetMoveFiles(), 0);
    QCOMPARE(s.GetFitPicToWindow(), 1);
    QCOMPARE(s.GetUseRecyclingBin(), 0);

    // Opened again on the same settings, the dialog shows the stored choice.
    d.open();
    QVERIFY(Checked(&d, IDC_COPY_FILE));
    QVERIFY(Checked(&d, IDC_RESIZE_TO_FIT));
    QVERIFY(!Checked(&d, IDC_RECYCLE_BIN));
}

QTEST_MAIN(TestConfigDlg)
#include "tst_configdlg.moc"
