#include "DialogDriver.h"
#include "dialogs/CSelectDir.h"
#include "dialogs/CTargetDirsDlg.h"
#include "resources/templates/TargetDirsTemplate.h"
#include "settings/CSettings.h"

#include <QDir>
#include <QTemporaryDir>

using namespace dlg;
using driver::Checked;
using driver::Click;

class TestTargetDirsDlg : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void opensOnTheCurrentSet();
    void switchThenCancelKeepsOnlyTheSwitchedEdits();
    void okStoresEveryTextAsTyped();
    void browseFillsTheEditOnlyAfterOk();
};

namespace {
QString Text(const QWidget* d, int id) {
    return CDialogBuilder::Text(d, id);
}
void SetText(QWidget* d, int id, const QString& text) {
    CDialogBuilder::SetText(d, id, text);
}

// Set n has home /home<n> and destination 0 "Cats<n>" in /cats<n>; the rest are "< None >".
CSettings FourSets() {
    CSettings s;
    for (int n = kTargetSetCount - 1; n >= 0; --n) {
        s.SetSelectionSet(n);
        s.SetHomeDirectory(QStringLiteral("/home%1").arg(n));
        for (int i = 0; i < kTargetCount; ++i)
            s.SetTargetName(i, kNoTargetName);
        s.SetTargetName(0, QStringLiteral("Cats%1").arg(n));
        s.SetTargetDir(0, QStringLiteral("/cats%1").arg(n));
    }
    return s;
}
} // namespace

void TestTargetDirsDlg::opensOnTheCurrentSet() {
    CSettings s = FourSets();
    s.SetSelectionSet(1);
    CTargetDirsDlg d;
    d.SetSettings(&s);
    d.open();
    QCOMPARE(d.windowTitle(), QStringLiteral("Edit Destination Directories"));
    for (int n = 0; n < kTargetSetCount; ++n)
        QCOMPARE(Checked(&d, IDC_GROUP_BASE + n), n == 1);
    QCOMPARE(Text(&d, IDC_HOME_LABEL), QStringLiteral("Home"));
    QVERIFY(!CDialogBuilder::Control(&d, IDC_HOME_LABEL)->isEnabled());
    QCOMPARE(Text(&d, IDC_DIR_BASE), QStringLiteral("/home1"));
    QCOMPARE(Text(&d, IDC_FIRST_NAME), QStringLiteral("Cats1"));
    QCOMPARE(Text(&d, IDC_FIRST_DIR), QStringLiteral("/cats1"));
    QCOMPARE(Text(&d, IDC_FIRST_NAME + 19), kNoTargetName);
    QCOMPARE(d.focusWidget(), CDialogBuilder::Control(&d, 1)); // the first tab stop
}

void TestTargetDirsDlg::switchThenCancelKeepsOnlyTheSwitchedEdits() {
    CSettings s = FourSets();
    CTargetDirsDlg d;
    d.SetSettings(&s);
    d.open();
    SetText(&d, IDC_FIRST_NAME, QStringLiteral("Kittens"));
    Click(&d, IDC_GROUP_BASE + 2);
    QVERIFY(Checked(&d, IDC_GROUP_BASE + 2) && !Checked(&d, IDC_GROUP_BASE));
    QCOMPARE(Text(&d, IDC_FIRST_NAME), QStringLiteral("Cats2"));
    SetText(&d, IDC_FIRST_NAME, QStringLiteral("Dogs"));
    Click(&d, 2);
    QCOMPARE(s.GetSelectionSet(), 2);
    QCOMPARE(s.TargetSet(0).m_astrNames[0], QStringLiteral("Kittens"));
    QCOMPARE(s.TargetSet(2).m_astrNames[0], QStringLiteral("Cats2"));
}

void TestTargetDirsDlg::okStoresEveryTextAsTyped() {
    CSettings s = FourSets();
    s.SetSelectionSet(3);
    CTargetDirsDlg d;
    d.SetSettings(&s);
    d.open();
    // Blanks at either end stay, an emptied directory stores empty, and a name left at
    // "< None >" is stored back as it stands.
    SetText(&d, IDC_DIR_BASE, QStringLiteral(" /home 3/ "));
    for (int i = 1; i < kTargetCount; ++i) {
        SetText(&d, IDC_FIRST_NAME + i, QStringLiteral(" Name %1 ").arg(i));
        SetText(&d, IDC_FIRST_DIR + i, QStringLiteral("/dir/%1 ").arg(i));
    }
    SetText(&d, IDC_FIRST_DIR, QString());
    Click(&d, 1);
    QCOMPARE(d.result(), int(QDialog::Accepted));
    const CTargetSet& set = s.TargetSet(3);
    QCOMPARE(set.m_strHomeDirectory, QStringLiteral(" /home 3/ "));
    QCOMPARE(set.m_astrNames[0], QStringLiteral("Cats3"));
    QCOMPARE(set.m_astrDirs[0], QString());
    for (int i = 1; i < kTargetCount; ++i) {
        QCOMPARE(set.m_astrNames[i], QStringLiteral(" Name %1 ").arg(i));
        QCOMPARE(set.m_astrDirs[i], QStringLiteral("/dir/%1 ").arg(i));
    }
    QCOMPARE(s.TargetSet(2).m_astrNames[1], kNoTargetName); // other sets untouched
}

void TestTargetDirsDlg::browseFillsTheEditOnlyAfterOk() {
    const QString saved = QDir::currentPath();
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkpath("start/chosen"));
    const QString start = QDir(root.filePath("start")).canonicalPath();
    const QString chosen = QDir(root.filePath("start/chosen")).canonicalPath();
    QVERIFY(QDir::setCurrent(start));
    CSettings s = FourSets();
    CTargetDirsDlg d;
    d.SetSettings(&s);
    d.open();
    const auto pick = [&](bool ok, int browse) {
        driver::WhenShown<CSelectDir>([ok, chosen](CSelectDir* picker) {
            picker->ChangeDir(chosen);
            Click(picker, ok ? 1 : 2);
        });
        Click(&d, IDC_BROWSE_BASE + browse);
    };

    pick(false, 0); // Cancel leaves the edit and the current directory alone
    QCOMPARE(Text(&d, IDC_DIR_BASE), QStringLiteral("/home0"));
    pick(true, 4); // a destination: its own edit, and back to where it started
    QCOMPARE(Text(&d, IDC_FIRST_DIR + 3), QDir::toNativeSeparators(chosen));
    QCOMPARE(QDir::currentPath(), start);
    pick(true, 0); // the home directory: the process stays there, even after Cancel
    QCOMPARE(Text(&d, IDC_DIR_BASE), QDir::toNativeSeparators(chosen));
    Click(&d, 2);
    QCOMPARE(s.GetHomeDirectory(), QStringLiteral("/home0"));
    QCOMPARE(QDir::currentPath(), chosen);
    QDir::setCurrent(saved);
}

QTEST_MAIN(TestTargetDirsDlg)
#include "tst_targetdirsdlg.moc"
