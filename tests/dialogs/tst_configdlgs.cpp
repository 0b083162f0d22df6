// The Program Configuration and File Types dialogs: they edit the live settings on OK only.
#include "dialogs/CConfigDlg.h"
#include "dialogs/CFileTypesDlg.h"
#include "resources/FileTypes.h"
#include "resources/templates/ConfigTemplate.h"
#include "resources/templates/FileTypesTemplate.h"
#include "settings/CSettings.h"
#include "tests/support/DialogDriver.h"

using namespace dlg;
using driver::Checked;
using driver::Click;

namespace {
CSettings Switches(int move, int fit, int recycle) {
    CSettings s;
    s.SetMoveFiles(move);
    s.SetFitPicToWindow(fit);
    s.SetUseRecyclingBin(recycle);
    return s;
}

CSettings WithFlags(int flags) {
    CSettings s;
    s.ClearFilterFlags();
    s.AddFilterFlags(flags);
    return s;
}

QList<int> CheckedBoxes(const QWidget* d) {
    QList<int> ids;
    for (int id = IDC_FIRST_FORMAT; id <= IDC_LAST_FORMAT; ++id)
        if (Checked(d, id))
            ids.append(id);
    return ids;
}

bool FormatBoxesEnabled(const QWidget* d, bool enabled) {
    for (int id = IDC_FIRST_FORMAT; id <= IDC_LAST_FORMAT; ++id)
        if (CDialogBuilder::Control(d, id)->isEnabled() != enabled)
            return false;
    return CDialogBuilder::Control(d, IDC_ALL_FILES)->isEnabled();
}
} // namespace

class TestConfigDialogs : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void opensWithTheSwitchesAndOkStoresThem() {
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

    void cancelChangesNothing() {
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

    // The file types in their bit order, JPG after EPS and BMP, AVI last.
    void extensionListFollowsTheFlags() {
        using namespace filetypes;
        QCOMPARE(ExtensionList(0x0400), QStringList{"JPG"});
        QCOMPARE(ExtensionList(0), QStringList()); // empty: every file is listed
        QCOMPARE(ExtensionList(0x3fff),
                 (QStringList{"PNG", "WPG", "WMF", "TIF", "TGA", "RAS", "PSD", "PCX", "MSP", "MAC",
                              "EPS", "BMP", "JPG", "AVI"}));
        // The all-files bit empties the list whatever else is set; unknown bits are ignored.
        QCOMPARE(ExtensionList(kAllFilesBit | 0x3fff), QStringList());
        QCOMPARE(ExtensionList(0x8000 | 0x0400), QStringList{"JPG"});
        QVERIFY(!FindByBit(0x0401) && FindByBit(kAviBit)->formatCode == kNoFormat);
    }

    void labelsAndTheBitOfEachBox() {
        QCOMPARE(CFileTypesDlg::FormatTypeLabel(10), QStringLiteral("*.JPG (JFIF Compliant)"));
        QCOMPARE(CFileTypesDlg::FormatTypeLabel(15),
                 QStringLiteral("*.WMF (Extended Windows Metafile)"));
        // Each box, captioned with its extension in the template, stores that extension's bit.
        for (int id = IDC_FIRST_FORMAT; id <= IDC_LAST_FORMAT; ++id) {
            CSettings s = WithFlags(0);
            CFileTypesDlg d;
            d.SetSettings(&s);
            const QString ext = CDialogBuilder::Text(&d, id);
            d.open();
            Click(&d, id);
            Click(&d, 1);
            const filetypes::PictureFileType* type = filetypes::FindByBit(s.GetFilterFlags());
            QVERIFY2(type && QString::fromLatin1(type->extension) == ext, qPrintable(ext));
            QCOMPARE(CDialogBuilder::Text(&d, id),
                     CFileTypesDlg::FormatTypeLabel(type->formatCode));
        }
    }

    void allFilesDisablesTheFormatBoxes() {
        CSettings s = WithFlags(16385);
        CFileTypesDlg d;
        d.SetSettings(&s);
        d.open();
        QVERIFY(Checked(&d, IDC_ALL_FILES));
        QCOMPARE(CheckedBoxes(&d), QList<int>{1019});
        QVERIFY(FormatBoxesEnabled(&d, false));
        Click(&d, 1);
        QCOMPARE(s.GetFilterFlags(), 16385);

        // Clicked twice, the boxes come back enabled with their marks.
        s = WithFlags(0x0400 | 0x0002);
        d.open();
        Click(&d, IDC_ALL_FILES);
        QVERIFY(FormatBoxesEnabled(&d, false));
        Click(&d, IDC_ALL_FILES);
        QVERIFY(!Checked(&d, IDC_ALL_FILES) && FormatBoxesEnabled(&d, true));
        QCOMPARE(CheckedBoxes(&d), (QList<int>{1012, 1014}));
    }

    void okStoresOnlyCheckedBoxesAndCancelNothing() {
        CSettings s; // 1024, the default
        CFileTypesDlg d;
        d.SetSettings(&s);
        d.open();
        QCOMPARE(CheckedBoxes(&d), QList<int>{1012});
        QVERIFY(!Checked(&d, IDC_ALL_FILES) && FormatBoxesEnabled(&d, true));
        Click(&d, 1012);
        Click(&d, 1);
        QCOMPARE(s.GetFilterFlags(), 0);

        // The AVI bit, which has no box, is kept at Cancel and lost at OK; a dialog shown
        // again starts from the settings, not from the marks of the cancelled run.
        s = WithFlags(8192 | 1024);
        d.open();
        Click(&d, 1013);
        Click(&d, IDC_ALL_FILES);
        Click(&d, 2);
        QCOMPARE(s.GetFilterFlags(), 8192 | 1024);
        d.open();
        QCOMPARE(CheckedBoxes(&d), QList<int>{1012});
        QVERIFY(!Checked(&d, IDC_ALL_FILES) && FormatBoxesEnabled(&d, true));
        Click(&d, 1);
        QCOMPARE(s.GetFilterFlags(), 1024);
    }
};

QTEST_MAIN(TestConfigDialogs)
#include "tst_configdlgs.moc"
