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
    void formatTypeLabel();
    void eachBoxStoresTheBitOfItsFormat();
    void defaultOpensWithOnlyJpg();
    void allFilesDisablesTheFormatBoxes();
    void allUncheckedStoresZero();
    void aviBitIsLostAtOkAndKeptAtCancel();
    void allFilesTwiceRestoresTheBoxes();
};

namespace {
constexpr int kFormatIds[] = {1012, 1013, 1014, 1015, 1016, 1017, 1018,
                              1019, 1020, 1021, 1022, 1023, 1024};

CSettings WithFlags(int flags) {
    CSettings s;
    s.ClearFilterFlags();
    s.AddFilterFlags(flags);
    return s;
}

QList<int> CheckedBoxes(const QWidget* d) {
    QList<int> ids;
    for (int id : kFormatIds)
        if (Checked(d, id))
            ids.append(id);
    return ids;
}

bool AllFormatBoxesEnabled(const QWidget* d, bool enabled) {
    for (int id : kFormatIds)
        if (CDialogBuilder::Control(d, id)->isEnabled() != enabled)
            return false;
    return true;
}
} // namespace

void TestFileTypesDlg::formatTypeLabel() {
    QCOMPARE(CFileTypesDlg::FormatTypeLabel(10), QStringLiteral("*.JPG (JFIF Compliant)"));
    QCOMPARE(CFileTypesDlg::FormatTypeLabel(15),
             QStringLiteral("*.WMF (Extended Windows Metafile)"));

    CSettings s;
    CFileTypesDlg d;
    d.SetSettings(&s);
    d.open();
    QCOMPARE(d.windowTitle(), QStringLiteral("File Types Available"));
    QCOMPARE(CDialogBuilder::Text(&d, 1012), QStringLiteral("*.JPG (JFIF Compliant)"));
    QCOMPARE(CDialogBuilder::Text(&d, 1016), QStringLiteral("*.WMF (Extended Windows Metafile)"));
    QCOMPARE(CDialogBuilder::Text(&d, IDC_ALL_FILES), QStringLiteral("*.* (All Files)"));
}

void TestFileTypesDlg::eachBoxStoresTheBitOfItsFormat() {
    // The box captioned "PNG" in the template stores the bit whose extension is PNG.
    for (int id : kFormatIds) {
        CSettings s = WithFlags(0);
        CFileTypesDlg d;
        d.SetSettings(&s);
        const QString templateCaption = CDialogBuilder::Text(&d, id);
        d.open();
        Click(&d, id);
        Click(&d, 1);
        const filetypes::PictureFileType* type = filetypes::FindByBit(s.GetFilterFlags());
        QVERIFY2(type, qPrintable(templateCaption));
        QCOMPARE(QString::fromLatin1(type->extension), templateCaption);
        QVERIFY(CDialogBuilder::Text(&d, id).startsWith("*." + templateCaption + " ("));
    }
}

void TestFileTypesDlg::defaultOpensWithOnlyJpg() {
    CSettings s; // 1024 by default
    CFileTypesDlg d;
    d.SetSettings(&s);
    d.open();
    QCOMPARE(CheckedBoxes(&d), QList<int>{1012});
    QVERIFY(!Checked(&d, IDC_ALL_FILES));
    QVERIFY(AllFormatBoxesEnabled(&d, true));
}

void TestFileTypesDlg::allFilesDisablesTheFormatBoxes() {
    CSettings s = WithFlags(16385);
    CFileTypesDlg d;
    d.SetSettings(&s);
    d.open();
    QVERIFY(Checked(&d, IDC_ALL_FILES));
    QCOMPARE(CheckedBoxes(&d), QList<int>{1019});
    QVERIFY(AllFormatBoxesEnabled(&d, false));
    QVERIFY(CDialogBuilder::Control(&d, IDC_ALL_FILES)->isEnabled());
    Click(&d, 1012); // a disabled box takes no click
    Click(&d, 1);
    QCOMPARE(s.GetFilterFlags(), 16385);
}

void TestFileTypesDlg::allUncheckedStoresZero() {
    CSettings s = WithFlags(0x1000 | 0x0400 | 0x0001);
    CFileTypesDlg d;
    d.SetSettings(&s);
    d.open();
    for (int id : CheckedBoxes(&d))
        Click(&d, id);
    QVERIFY(CheckedBoxes(&d).isEmpty());
    Click(&d, 1);
    QCOMPARE(s.GetFilterFlags(), 0);
    QVERIFY(filetypes::ExtensionList(s.GetFilterFlags()).isEmpty()); // every file is listed
}

void TestFileTypesDlg::aviBitIsLostAtOkAndKeptAtCancel() {
    CSettings kept = WithFlags(8192 | 1024);
    CFileTypesDlg c;
    c.SetSettings(&kept);
    c.open();
    Click(&c, 1013);
    Click(&c, IDC_ALL_FILES);
    Click(&c, 2);
    QCOMPARE(kept.GetFilterFlags(), 8192 | 1024);
    c.open(); // shown again, it starts from the settings, not from the cancelled marks
    QCOMPARE(CheckedBoxes(&c), QList<int>{1012});
    QVERIFY(!Checked(&c, IDC_ALL_FILES));
    QVERIFY(AllFormatBoxesEnabled(&c, true));

    CSettings lost = WithFlags(8192 | 1024);
    CFileTypesDlg d;
    d.SetSettings(&lost);
    d.open();
    Click(&d, 1);
    QCOMPARE(lost.GetFilterFlags(), 1024);
}

void TestFileTypesDlg::allFilesTwiceRestoresTheBoxes() {
    CSettings s = WithFlags(0x0400 | 0x0002);
    CFileTypesDlg d;
    d.SetSettings(&s);
    d.open();
    Click(&d, IDC_ALL_FILES);
    QVERIFY(Checked(&d, IDC_ALL_FILES));
    QVERIFY(AllFormatBoxesEnabled(&d, false));
    QCOMPARE(CheckedBoxes(&d), (QList<int>{1012, 1014}));
    Click(&d, IDC_ALL_FILES);
    QVERIFY(!Checked(&d, IDC_ALL_FILES));
    QVERIFY(AllFormatBoxesEnabled(&d, true));
    QCOMPARE(CheckedBoxes(&d), (QList<int>{1012, 1014}));
    // The keyboard toggles it the same way.
    CDialogBuilder::Control(&d, IDC_ALL_FILES)->setFocus();
    QTest::keyClick(CDialogBuilder::Control(&d, IDC_ALL_FILES), Qt::Key_Space);
    QVERIFY(AllFormatBoxesEnabled(&d, false));
    Click(&d, 1);
    QCOMPARE(s.GetFilterFlags(), 0x4000 | 0x0400 | 0x0002);
}

QTEST_MAIN(TestFileTypesDlg)
#include "tst_filetypesdlg.moc"
