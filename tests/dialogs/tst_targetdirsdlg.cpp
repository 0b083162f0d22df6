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
using driver::Type;

class TestTargetDirsDlg : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void opensOnTheCurrentSet();
    void tabOrderFollowsTheRows();
    void switchThenCancelKeepsOnlyTheSwitchedEdits();
    void okStoresEveryTextAsTyped();
    void untouchedNamesAreStoredBack();
    void browseFillsTheEditOnlyAfterOk();

private:
    QString m_strStartDir;
};

namespace {
QString Text(const QWidget* d, int id) {
    return CDialogBuilder::Text(d, id);
}

// Set n gets a home and a few destinations of its own; the rest keep "< None >".
CSettings FourSets() {
    CSettings s;
    for (int n = 0; n < kTargetSetCount; ++n) {
        s.SetSelectionSet(n);
        s.SetHomeDirectory(QStringLiteral("/pics/home%1").arg(n));
        for (int i = 0; i < kTargetCount; ++i)
            s.SetTargetName(i, kNoTargetName);
        s.SetTargetName(0, QStringLiteral("Cats%1").arg(n));
        s.SetTargetDir(0, QStringLiteral("/pics/cats%1").arg(n));
        s.SetTargetName(19, QStringLiteral("Last%1").arg(n));
        s.SetTargetDir(19, QStringLiteral("/pics/last%1").arg(n));
    }
    s.SetSelectionSet(0);
    return s;
}
} // namespace

void TestTargetDirsDlg::init() {
    m_strStartDir = QDir::currentPath();
}
void TestTargetDirsDlg::cleanup() {
    QDir::setCurrent(m_strStartDir);
}

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
    QCOMPARE(Text(&d, IDC_DIR_BASE), QStringLiteral("/pics/home1"));
    QCOMPARE(Text(&d, IDC_FIRST_NAME), QStringLiteral("Cats1"));
    QCOMPARE(Text(&d, IDC_FIRST_DIR), QStringLiteral("/pics/cats1"));
    QCOMPARE(Text(&d, IDC_FIRST_NAME + 19), QStringLiteral("Last1"));
    QCOMPARE(Text(&d, IDC_FIRST_DIR + 19), QStringLiteral("/pics/last1"));
    QCOMPARE(Text(&d, IDC_FIRST_NAME + 5), kNoTargetName);
    QCOMPARE(Text(&d, IDC_FIRST_DIR + 5), QString());
    QCOMPARE(Text(&d, 1034), QStringLiteral("Button1:"));
    QCOMPARE(Text(&d, 1053), QStringLiteral("Button20:"));
}

void TestTargetDirsDlg::tabOrderFollowsTheRows() {
    CSettings s = FourSets();
    CTargetDirsDlg d;
    d.SetSettings(&s);
    d.open();
    // OK has the focus; Tab then visits Cancel, the home row and each destination row in
    // turn (the disabled "Home" edit is skipped).
    QList<int> expected{1, 2, IDC_DIR_BASE, IDC_BROWSE_BASE};
    for (int i = 0; i < kTargetCount; ++i)
        expected << IDC_FIRST_NAME + i << IDC_FIRST_DIR + i << IDC_BROWSE_BASE + 1 + i;
    QList<int> seen;
    QWidget* w = CDialogBuilder::Control(&d, 1);
    for (int k = 0; k < expected.size(); ++k) {
        seen.append(CDialogBuilder::ControlId(w));
        do
            w = w->nextInFocusChain();
        while (!(w->focusPolicy() & Qt::TabFocus) || !w->isEnabled());
    }
    QCOMPARE(seen, expected);
    QCOMPARE(d.focusWidget(), CDialogBuilder::Control(&d, 1));
}

void TestTargetDirsDlg::switchThenCancelKeepsOnlyTheSwitchedEdits() {
    CSettings s = FourSets();
    s.SetSelectionSet(0);
    CTargetDirsDlg d;
    d.SetSettings(&s);
    d.open();
    Type(&d, IDC_FIRST_NAME, QStringLiteral("Kittens"));
    Type(&d, IDC_DIR_BASE, QStringLiteral("/new/home"));
    Click(&d, IDC_GROUP_BASE + 2);
    QVERIFY(Checked(&d, IDC_GROUP_BASE + 2) && !Checked(&d, IDC_GROUP_BASE));
    QCOMPARE(s.GetSelectionSet(), 2);
    QCOMPARE(Text(&d, IDC_FIRST_NAME), QStringLiteral("Cats2"));
    QCOMPARE(Text(&d, IDC_DIR_BASE), QStringLiteral("/pics/home2"));
    Type(&d, IDC_FIRST_NAME, QStringLiteral("Dogs"));
    Type(&d, IDC_FIRST_DIR + 3, QStringLiteral("/dogs"));
    Click(&d, 2);

    QCOMPARE(d.result(), int(QDialog::Rejected));
    QCOMPARE(s.GetSelectionSet(), 2);
    QCOMPARE(s.TargetSet(0).m_astrNames[0], QStringLiteral("Kittens"));
    QCOMPARE(s.TargetSet(0).m_strHomeDirectory, QStringLiteral("/new/home"));
    QCOMPARE(s.TargetSet(2).m_astrNames[0], QStringLiteral("Cats2"));
    QCOMPARE(s.TargetSet(2).m_astrDirs[3], QString());

    // Clicking the checked group's button stores the edits and shows them again.
    CTargetDirsDlg again;
    again.SetSettings(&s);
    again.open();
    Type(&again, IDC_FIRST_NAME + 1, QStringLiteral("Birds"));
    Click(&again, IDC_GROUP_BASE + 2);
    QCOMPARE(Text(&again, IDC_FIRST_NAME + 1), QStringLiteral("Birds"));
    QCOMPARE(s.TargetSet(2).m_astrNames[1], QStringLiteral("Birds"));
}

void TestTargetDirsDlg::okStoresEveryTextAsTyped() {
    CSettings s = FourSets();
    s.SetSelectionSet(3);
    const CSettings before = s;
    CTargetDirsDlg d;
    d.SetSettings(&s);
    d.open();
    // Leading and trailing blanks, odd characters and an emptied directory stay as typed.
    const QString home = QStringLiteral("  /home with blanks/ ");
    CDialogBuilder::SetText(&d, IDC_DIR_BASE, home);
    for (int i = 0; i < kTargetCount; ++i) {
        CDialogBuilder::SetText(&d, IDC_FIRST_NAME + i, QStringLiteral(" Name %1 ").arg(i));
        CDialogBuilder::SetText(&d, IDC_FIRST_DIR + i, QStringLiteral("/dir/%1\\&").arg(i));
    }
    Type(&d, IDC_FIRST_DIR + 19, QString());
    Click(&d, 1);

    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(s.GetSelectionSet(), 3);
    const CTargetSet& set = s.TargetSet(3);
    QCOMPARE(set.m_strHomeDirectory, home);
    for (int i = 0; i < kTargetCount; ++i) {
        QCOMPARE(set.m_astrNames[i], QStringLiteral(" Name %1 ").arg(i));
        QCOMPARE(set.m_astrDirs[i], i == 19 ? QString() : QStringLiteral("/dir/%1\\&").arg(i));
    }
    for (int n = 0; n < 3; ++n) { // the other sets are untouched
        QCOMPARE(s.TargetSet(n).m_strHomeDirectory, before.TargetSet(n).m_strHomeDirectory);
        QCOMPARE(s.TargetSet(n).m_astrNames, before.TargetSet(n).m_astrNames);
        QCOMPARE(s.TargetSet(n).m_astrDirs, before.TargetSet(n).m_astrDirs);
    }
}

void TestTargetDirsDlg::untouchedNamesAreStoredBack() {
    CSettings s = FourSets();
    CTargetDirsDlg d;
    d.SetSettings(&s);
    d.open();
    Click(&d, 1);
    QCOMPARE(s.GetTargetName(7), kNoTargetName);
    QCOMPARE(s.GetTargetName(0), QStringLiteral("Cats0"));
    QCOMPARE(s.GetHomeDirectory(), QStringLiteral("/pics/home0"));
}

void TestTargetDirsDlg::browseFillsTheEditOnlyAfterOk() {
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkpath("start/chosen"));
    const QString start = QDir(root.filePath("start")).canonicalPath();
    const QString chosen = QDir(root.filePath("start/chosen")).canonicalPath();
    QVERIFY(QDir::setCurrent(start));

    CSettings s = FourSets();
    CTargetDirsDlg d;
    d.SetSettings(&s);
    d.open();
    const auto pick = [](bool ok, const QString& dir) {
        driver::WhenShown<CSelectDir>([ok, dir](CSelectDir* picker) {
            picker->ChangeDir(dir);
            Click(picker, ok ? 1 : 2);
        });
    };

    // Cancel in the picker leaves the edit and the current directory alone.
    pick(false, chosen);
    Click(&d, IDC_BROWSE_BASE + 4);
    QCOMPARE(Text(&d, IDC_FIRST_DIR + 3), QString());
    pick(false, chosen);
    Click(&d, IDC_BROWSE_BASE);
    QCOMPARE(Text(&d, IDC_DIR_BASE), QStringLiteral("/pics/home0"));
    QCOMPARE(QDir::currentPath(), start);

    // A destination's Browse fills its own edit and returns to the directory it started in.
    pick(true, chosen);
    Click(&d, IDC_BROWSE_BASE + 4);
    QCOMPARE(Text(&d, IDC_FIRST_DIR + 3), QDir::toNativeSeparators(chosen));
    QCOMPARE(Text(&d, IDC_FIRST_DIR + 2), QString());
    QCOMPARE(QDir::currentPath(), start);
    QCOMPARE(s.GetTargetDir(3), QString()); // the settings change only at OK

    // The home directory's Browse stays in the chosen directory, even after Cancel.
    pick(true, chosen);
    Click(&d, IDC_BROWSE_BASE);
    QCOMPARE(Text(&d, IDC_DIR_BASE), QDir::toNativeSeparators(chosen));
    QCOMPARE(QDir::currentPath(), chosen);
    Click(&d, 2);
    QCOMPARE(s.GetHomeDirectory(), QStringLiteral("/pics/home0"));
    QCOMPARE(QDir::currentPath(), chosen);
}

QTEST_MAIN(TestTargetDirsDlg)
#include "tst_targetdirsdlg.moc"
