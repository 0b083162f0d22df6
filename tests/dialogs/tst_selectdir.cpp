#include "DialogDriver.h"
#include "dialogs/CSelectDir.h"
#include "resources/templates/DirOpenTemplate.h"

#include <QComboBox>
#include <QDir>
#include <QTemporaryDir>
#include <QTreeWidget>

using namespace dlg;
using driver::Click;

class TestSelectDir : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup() { QDir::setCurrent(m_strSavedDir); }
    void opensInTheCurrentDirectoryCentredOnItsOwner();
    void walksWithEnterDoubleClickAndDrives();
    void currentDirectoryAfterOkAndCancel();

private:
    QString m_strSavedDir;
    QTemporaryDir m_root;
    QString m_strStart;  // <root>/start, the current directory of each test
    QString m_strChosen; // <root>/start/chosen
};

void TestSelectDir::init() {
    m_strSavedDir = QDir::currentPath();
    QVERIFY(QDir(m_root.path()).mkpath("start/chosen/deeper"));
    QVERIFY(QDir(m_root.path()).mkpath("start/Beta"));
    QVERIFY(QDir(m_root.path()).mkpath("start/.hidden"));
    m_strStart = QDir(m_root.filePath("start")).canonicalPath();
    m_strChosen = QDir(m_root.filePath("start/chosen")).canonicalPath();
    QVERIFY(QDir::setCurrent(m_strStart));
}

void TestSelectDir::opensInTheCurrentDirectoryCentredOnItsOwner() {
    QWidget owner;
    owner.setGeometry(100, 80, 900, 700);
    owner.show();
    CSelectDir d(&owner);
    d.PrepareDirDialog(false);
    d.open();
    QCOMPARE(d.windowTitle(), QStringLiteral("Select Directory"));
    QCOMPARE(d.CurrentDir(), m_strStart);
    const QPoint offCentre = d.frameGeometry().center() - owner.frameGeometry().center();
    QVERIFY(offCentre.manhattanLength() <= 4); // to within the frames' widths

    // The path down to here, then the subfolders in name order, hidden ones left out.
    auto* tree = CDialogBuilder::ControlAs<QTreeWidget>(&d, IDC_FOLDER_LIST);
    QTreeWidgetItem* here = tree->currentItem();
    QCOMPARE(here->text(0), QStringLiteral("start"));
    QCOMPARE(here->childCount(), 2);
    QCOMPARE(here->child(0)->text(0), QStringLiteral("Beta"));
    QCOMPARE(here->child(1)->text(0), QStringLiteral("chosen"));
    // Only the folders, the drives and the buttons can be seen.
    for (int id : {IDC_FILE_NAME, IDC_FILE_LIST, IDC_FILE_TYPES, IDC_HELP, IDC_READ_ONLY})
        QVERIFY(!CDialogBuilder::Control(&d, id)->isVisible());
    for (int id : {IDC_CURRENT_DIR, IDC_FOLDER_LIST, IDC_DRIVES, 1, 2})
        QVERIFY(CDialogBuilder::Control(&d, id)->isVisible());
}

void TestSelectDir::walksWithEnterDoubleClickAndDrives() {
    CSelectDir d;
    d.PrepareDirDialog(false);
    d.open();
    auto* tree = CDialogBuilder::ControlAs<QTreeWidget>(&d, IDC_FOLDER_LIST);
    tree->setCurrentItem(tree->findItems("chosen", Qt::MatchExactly | Qt::MatchRecursive)[0]);
    QTest::keyClick(tree, Qt::Key_Return);
    QVERIFY(d.isVisible()); // Enter opens the folder and does not close the picker
    QCOMPARE(d.CurrentDir(), m_strChosen);

    const auto up = tree->findItems("start", Qt::MatchExactly | Qt::MatchRecursive)[0];
    const QPoint at = tree->visualItemRect(up).center();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, at);
    QTRY_COMPARE(d.CurrentDir(), m_strStart);

    auto* drives = CDialogBuilder::ControlAs<QComboBox>(&d, IDC_DRIVES);
    Q_EMIT drives->activated(drives->findData(QDir::rootPath()));
    QCOMPARE(d.CurrentDir(), QDir::rootPath());
    QVERIFY(!d.ChangeDir(m_root.filePath("missing"))); // refused, nothing changes
    QCOMPARE(d.CurrentDir(), QDir::rootPath());
    QCOMPARE(QDir::currentPath(), m_strStart); // walking moves the process nowhere
}

void TestSelectDir::currentDirectoryAfterOkAndCancel() {
    for (bool bChangeDir : {false, true}) {
        QVERIFY(QDir::setCurrent(m_strStart));
        CSelectDir d;
        d.PrepareDirDialog(bChangeDir);
        d.open();
        QVERIFY(d.ChangeDir(m_strChosen));
        Click(&d, 2);
        QVERIFY(d.SelectedDir().isEmpty());
        QCOMPARE(QDir::currentPath(), m_strStart);

        d.open(); // shown again, it starts where it started before
        QCOMPARE(d.CurrentDir(), m_strStart);
        QVERIFY(d.ChangeDir(m_strChosen));
        Click(&d, 1);
        QCOMPARE(d.SelectedDir(), QDir::toNativeSeparators(m_strChosen));
        QCOMPARE(QDir::currentPath(), bChangeDir ? m_strChosen : m_strStart);
    }
}

QTEST_MAIN(TestSelectDir)
#include "tst_selectdir.moc"
