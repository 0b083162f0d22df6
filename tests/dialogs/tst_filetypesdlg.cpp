#include "DialogDriver.h"
#include "dialogs/CFileTypesDlg.h"
#include "resources/FileTypes.h"
#include "resources/templates/FileTypesTemplate.h"
#include "settings/CSettings.h"

using namespace dlg;
using driver::Checked;
using driver::Click;

class TestFileTypesDlg : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void labelsAndTheBitOfEachBox();
    void allFilesDisablesTheFormatBoxes();
    void okStoresOnlyCheckedBoxesAndCancelNothing();
};

namespace {
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

void TestFileTypesDlg::labelsAndTheBitOfEachBox() {
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
        QCOMPARE(CDialogBuilder::Text(&d, id), CFileTypesDlg::FormatTypeLabel(type->formatCode));
    }
}

void TestFileTypesDlg::allFilesDisablesTheFormatBoxes() {
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

void TestFileTypesDlg::okStoresOnlyCheckedBoxesAndCancelNothing() {
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

QTEST_MAIN(TestFileTypesDlg)
#include "tst_filetypesdlg.moc"
