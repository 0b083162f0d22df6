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
    void cleanup();
    void opensInTheCurrentDirectoryCentredOnItsOwner();
    void foldersAreOpenedWithEnterOrADoubleClick();
    void okKeepsOrRestoresTheCurrentDirectory();
    void cancelGivesNoAnswerAndMovesNothing();
    void unreadablePlacesAreRefused();

private:
    QTreeWidgetItem* FindFolder(CSelectDir& d, const QString& name);

    QString m_strSavedDir;
    QTemporaryDir m_root;
    QString m_strStart;  // the test's current directory: <root>/start
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

void TestSelectDir::cleanup() {
    QDir::setCurrent(m_strSavedDir);
}

QTreeWidgetItem* TestSelectDir::FindFolder(CSelectDir& d, const QString& name) {
    auto* tree = CDialogBuilder::ControlAs<QTreeWidget>(&d, IDC_FOLDER_LIST);
    const auto found = tree->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
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
    QCOMPARE(CDialogBuilder::Control(&d, IDC_CURRENT_DIR)->toolTip(), m_strStart);
    // Centred to within a frame's width.
    const QPoint offCentre = d.frameGeometry().center() - owner.frameGeometry().center();
    QVERIFY2(offCentre.manhattanLength() <= 4,
             qPrintable(QStringLiteral("%1,%2").arg(offCentre.x()).arg(offCentre.y())));

    // The folder list shows the path down to here, then the subfolders (no hidden ones).
    auto* tree = CDialogBuilder::ControlAs<QTreeWidget>(&d, IDC_FOLDER_LIST);
    QTreeWidgetItem* here = tree->currentItem();
    QCOMPARE(here->text(0), QStringLiteral("start"));
    QCOMPARE(here->childCount(), 2);
    QCOMPARE(here->child(0)->text(0), QStringLiteral("Beta"));
    QCOMPARE(here->child(1)->text(0), QStringLiteral("chosen"));
    QTreeWidgetItem* top = here;
    while (top->parent())
        top = top->parent();
    QCOMPARE(top->text(0), QDir::rootPath());

    // Only the folders, the drives and the buttons can be seen.
    for (int id : {IDC_FILE_NAME_LABEL, IDC_FILE_NAME, IDC_FILE_LIST, IDC_FILE_TYPE_LABEL,
                   IDC_FILE_TYPES, IDC_HELP, IDC_READ_ONLY})
        QVERIFY2(!CDialogBuilder::Control(&d, id)->isVisible(), qPrintable(QString::number(id)));
    for (int id : {IDC_CURRENT_DIR, IDC_FOLDER_LIST, IDC_DRIVES_LABEL, IDC_DRIVES, 1, 2})
        QVERIFY2(CDialogBuilder::Control(&d, id)->isVisible(), qPrintable(QString::number(id)));
    QCOMPARE(d.focusWidget(), tree);
    QVERIFY(!CDialogBuilder::ControlAs<QComboBox>(&d, IDC_DRIVES)->currentText().isEmpty());
    Click(&d, 2);
}

void TestSelectDir::foldersAreOpenedWithEnterOrADoubleClick() {
    CSelectDir d;
    d.PrepareDirDialog(false);
    d.open();
    auto* tree = CDialogBuilder::ControlAs<QTreeWidget>(&d, IDC_FOLDER_LIST);
    tree->setCurrentItem(FindFolder(d, "chosen"));
    QTest::keyClick(tree, Qt::Key_Return);
    QVERIFY(d.isVisible()); // Enter opens the folder and does not close the picker
    QCOMPARE(d.CurrentDir(), m_strChosen);
    QCOMPARE(tree->currentItem()->child(0)->text(0), QStringLiteral("deeper"));

    // A double click on a folder above walks back up.
    QTreeWidgetItem* start = FindFolder(d, "start");
    const QRect r = tree->visualItemRect(start);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, r.center()); // the first click
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, r.center());
    QTRY_COMPARE(d.CurrentDir(), m_strStart);

    // The drive list goes to the drive's top.
    auto* drives = CDialogBuilder::ControlAs<QComboBox>(&d, IDC_DRIVES);
    const int rootIndex = drives->findData(QDir::rootPath());
    QVERIFY(rootIndex >= 0);
    Q_EMIT drives->activated(rootIndex);
    QCOMPARE(d.CurrentDir(), QDir::rootPath());
    QCOMPARE(QDir::currentPath(), m_strStart); // walking around moves nothing
    Click(&d, 2);
}

void TestSelectDir::okKeepsOrRestoresTheCurrentDirectory() {
    for (bool bChangeDir : {false, true}) {
        QVERIFY(QDir::setCurrent(m_strStart));
        CSelectDir d;
        d.PrepareDirDialog(bChangeDir);
        d.open();
        QVERIFY(d.ChangeDir(m_strChosen));
        Click(&d, 1);
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(d.SelectedDir(), QDir::toNativeSeparators(m_strChosen));
        QCOMPARE(QDir::currentPath(), bChangeDir ? m_strChosen : m_strStart);
    }
    // Closed without walking anywhere, the answer is where it started.
    QVERIFY(QDir::setCurrent(m_strStart));
    CSelectDir d;
    d.PrepareDirDialog(true);
    d.open();
    QTest::keyClick(&d, Qt::Key_Return); // OK is the default button
    QCOMPARE(d.SelectedDir(), m_strStart);
}

void TestSelectDir::cancelGivesNoAnswerAndMovesNothing() {
    for (bool bChangeDir : {false, true}) {
        CSelectDir d;
        d.PrepareDirDialog(bChangeDir);
        d.open();
        QVERIFY(d.ChangeDir(m_strChosen));
        if (bChangeDir)
            Click(&d, 2);
        else
            QTest::keyClick(&d, Qt::Key_Escape);
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QVERIFY(d.SelectedDir().isEmpty());
        QCOMPARE(QDir::currentPath(), m_strStart);
    }
}

void TestSelectDir::unreadablePlacesAreRefused() {
    CSelectDir d;
    d.PrepareDirDialog(true);
    d.open();
    QVERIFY(!d.ChangeDir(m_root.filePath("start/missing")));
    QVERIFY(!d.ChangeDir(QString()));
    QCOMPARE(d.CurrentDir(), m_strStart);

    // A start directory that has gone since the picker was prepared: the nearest folder
    // above it that still exists.
    CSelectDir gone;
    gone.PrepareDirDialog(false);
    QVERIFY(QDir::setCurrent(m_strSavedDir));
    QVERIFY(QDir(m_strStart).removeRecursively());
    gone.open();
    QCOMPARE(gone.CurrentDir(), QDir(m_root.path()).canonicalPath());
    Click(&gone, 2);
    QCOMPARE(QDir::currentPath(), m_strSavedDir);
}

QTEST_MAIN(TestSelectDir)
#include "tst_selectdir.moc"
