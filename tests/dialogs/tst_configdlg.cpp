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
    void opensWithTheSwitchesAndOkStoresThem();
    void cancelChangesNothing();
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

void TestConfigDlg::opensWithTheSwitchesAndOkStoresThem() {
    // Any non-zero move value shows "Move File"; OK without changes stores 1 for it.
    CSettings s = Switches(2, 1, 0);
    CConfigDlg d;
    d.SetSettings(&s);
    d.open();
    QCOMPARE(d.windowTitle(), QStringLiteral("Program Configuration"));
    QVERIFY(Checked(&d, IDC_MOVE_FILE) && !Checked(&d, IDC_COPY_FILE));
    QVERIFY(Checked(&d, IDC_RESIZE_TO_FIT) && !Checked(&d, IDC_RECYCLE_BIN));
    Click(&d, 1);
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(s.GetMoveFiles(), 1);
    QCOMPARE(s.GetFitPicToWindow(), 1);
    QCOMPARE(s.GetUseRecyclingBin(), 0);

    // Opened again: the other value of each switch, then every control changed and OK.
    s = Switches(0, 0, 1);
    d.open();
    QVERIFY(Checked(&d, IDC_COPY_FILE) && !Checked(&d, IDC_MOVE_FILE));
    QVERIFY(!Checked(&d, IDC_RESIZE_TO_FIT) && Checked(&d, IDC_RECYCLE_BIN));
    Click(&d, IDC_MOVE_FILE);
    Click(&d, IDC_RESIZE_TO_FIT);
    Click(&d, IDC_RECYCLE_BIN);
    QTest::keyClick(&d, Qt::Key_Return); // OK is the default button
    QCOMPARE(s.GetMoveFiles(), 1);
    QCOMPARE(s.GetFitPicToWindow(), 1);
    QCOMPARE(s.GetUseRecyclingBin(), 0);
}

void TestConfigDlg::cancelChangesNothing() {
    // Cancel, Escape and the close box, each after changing every control.
    for (int way = 0; way < 3; ++way) {
        CSettings s = Switches(2, 0, 1);
        CConfigDlg d;
        d.SetSettings(&s);
        d.open();
        Click(&d, IDC_COPY_FILE);
        Click(&d, IDC_RESIZE_TO_FIT);
        Click(&d, IDC_RECYCLE_BIN);
        QVERIFY(Checked(&d, IDC_COPY_FILE) && !Checked(&d, IDC_RECYCLE_BIN));
        if (way == 0)
            Click(&d, 2);
        else if (way == 1)
            QTest::keyClick(&d, Qt::Key_Escape);
        else
            d.close();
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QCOMPARE(s.GetMoveFiles(), 2);
        QCOMPARE(s.GetFitPicToWindow(), 0);
        QCOMPARE(s.GetUseRecyclingBin(), 1);
    }
}

QTEST_MAIN(TestConfigDlg)
#include "tst_configdlg.moc"
