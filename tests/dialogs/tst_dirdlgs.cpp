// The Edit Destination Directories dialog and the directory picker it opens. Each test
// starts in <root>/start, which holds chosen/deeper, Beta and .hidden.
#include "dialogs/CSelectDir.h"
#include "dialogs/CTargetDirsDlg.h"
#include "resources/templates/DirOpenTemplate.h"
#include "resources/templates/TargetDirsTemplate.h"
#include "settings/CSettings.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/MessageAnswerer.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>

using namespace dlg;
using driver::Checked;
using driver::Click;

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

class TestDirectoryDialogs : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        m_strSavedDir = QDir::currentPath();
        QVERIFY(QDir(m_root.path()).mkpath("start/chosen/deeper"));
        QVERIFY(QDir(m_root.path()).mkpath("start/Beta"));
        QVERIFY(QDir(m_root.path()).mkpath("start/.hidden"));
        m_strStart = QDir(m_root.filePath("start")).canonicalPath();
        m_strChosen = QDir(m_root.filePath("start/chosen")).canonicalPath();
        QVERIFY(QDir::setCurrent(m_strStart));
    }

    void cleanup() { QDir::setCurrent(m_strSavedDir); }

    void opensOnTheCurrentSet() {
        CSettings s = FourSets();
        s.SetSelectionSet(1);
        CTargetDirsDlg d;
        Open(d, s);
        for (int n = 0; n < kTargetSetCount; ++n)
            QCOMPARE(Checked(&d, IDC_GROUP_BASE + n), n == 1);
        QCOMPARE(Text(&d, IDC_DIR_BASE), QStringLiteral("/home1"));
        QCOMPARE(Text(&d, IDC_FIRST_NAME), QStringLiteral("Cats1"));
        QCOMPARE(Text(&d, IDC_FIRST_DIR), QStringLiteral("/cats1"));
        QCOMPARE(Text(&d, IDC_FIRST_NAME + 19), kNoTargetName);
        QCOMPARE(d.focusWidget(), CDialogBuilder::Control(&d, 1)); // the first tab stop
    }

    // Edits in two groups, with a switch between them: Cancel leaves every group and the
    // current group as they were; OK stores both groups and makes the one on show current.
    void cancelDiscardsEveryGroupsEditsOkStoresThem() {
        for (bool ok : {false, true}) {
            MessageAnswerer answerer; // OK asks to make the folders typed that are not there
            CSettings s = FourSets();
            CTargetDirsDlg d;
            Open(d, s);
            SetText(&d, IDC_FIRST_NAME, QStringLiteral("Kittens"));
            SetText(&d, IDC_DIR_BASE, QStringLiteral("/new/home"));
            Click(&d, IDC_GROUP_BASE + 2);
            QVERIFY(Checked(&d, IDC_GROUP_BASE + 2) && !Checked(&d, IDC_GROUP_BASE));
            QCOMPARE(Text(&d, IDC_FIRST_NAME), QStringLiteral("Cats2"));
            QCOMPARE(s.GetSelectionSet(), 0); // nothing reaches the settings before OK
            QCOMPARE(s.TargetSet(0).m_astrNames[0], QStringLiteral("Cats0"));
            SetText(&d, IDC_FIRST_DIR + 5, QStringLiteral("/dogs"));
            Click(&d, IDC_GROUP_BASE); // back: the first group's edits are still there
            QCOMPARE(Text(&d, IDC_FIRST_NAME), QStringLiteral("Kittens"));
            Click(&d, IDC_GROUP_BASE + 2);
            Click(&d, ok ? 1 : 2);
            QCOMPARE(s.GetSelectionSet(), ok ? 2 : 0);
            QCOMPARE(s.TargetSet(0).m_astrNames[0],
                     ok ? QStringLiteral("Kittens") : QStringLiteral("Cats0"));
            QCOMPARE(s.TargetSet(0).m_strHomeDirectory,
                     ok ? QStringLiteral("/new/home") : QStringLiteral("/home0"));
            QCOMPARE(s.TargetSet(2).m_astrDirs[5], ok ? QStringLiteral("/dogs") : QString());
            QCOMPARE(s.TargetSet(1).m_astrNames[0], QStringLiteral("Cats1"));
            QCOMPARE(answerer.m_texts.size(), ok ? 2 : 0);
        }
    }

    void okStoresEveryTextAsTyped() {
        MessageAnswerer answerer; // twenty folders that are not there: kept, though not made
        CSettings s = FourSets();
        s.SetSelectionSet(3);
        CTargetDirsDlg d;
        Open(d, s);
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
        QCOMPARE(answerer.m_texts.size(), 20);
        QVERIFY2(answerer.m_texts.last().contains("destination 20,  Name 19 "),
                 qPrintable(answerer.m_texts.last()));
    }

    // Browse opens the picker on the folder its edit names, else on the home folder typed in
    // the dialog; the edit takes the folder chosen there only after OK.
    void browseStartsAtTheEditsFolderAndFillsItAfterOk() {
        CSettings s = FourSets();
        CTargetDirsDlg d;
        Open(d, s);
        const auto pick = [&](int browse, bool ok) {
            QString startedIn;
            driver::WhenShown<CSelectDir>([&startedIn, ok, chosen = m_strChosen](CSelectDir* p) {
                startedIn = p->CurrentDir();
                p->ChangeDir(chosen);
                Click(p, ok ? 1 : 2);
            });
            Click(&d, IDC_BROWSE_BASE + browse);
            return startedIn;
        };
        SetText(&d, IDC_DIR_BASE, m_strStart);
        SetText(&d, IDC_FIRST_DIR + 1, m_strChosen);
        QCOMPARE(pick(2, false), m_strChosen); // Cancel leaves the edit and the process alone
        QCOMPARE(Text(&d, IDC_FIRST_DIR + 1), m_strChosen);
        QCOMPARE(pick(4, true), m_strStart); // an empty edit: the home folder typed
        QCOMPARE(Text(&d, IDC_FIRST_DIR + 3), QDir::toNativeSeparators(m_strChosen));
        pick(0, true); // the home directory, like any other folder
        QCOMPARE(Text(&d, IDC_DIR_BASE), QDir::toNativeSeparators(m_strChosen));
        Click(&d, 2);
        QCOMPARE(s.GetHomeDirectory(), QStringLiteral("/home0"));
        QCOMPARE(QDir::currentPath(), m_strStart); // the process never moves to a chosen folder
    }

    // The picker opens where it is told, never in the process's current directory: without
    // a start folder, in the user's home folder.
    void opensOnItsStartFolderCentredOnItsOwner() {
        {
            CSelectDir d;
            d.PrepareDirDialog();
            d.open();
            QCOMPARE(d.CurrentDir(), QDir(QDir::homePath()).absolutePath());
            d.reject();
        }
        QWidget owner;
        owner.setGeometry(100, 80, 900, 700);
        owner.show();
        CSelectDir d(&owner);
        d.PrepareDirDialog();
        d.SetStartDir(m_strStart + "/missing/deeper"); // the nearest folder that exists
        d.open();
        QCOMPARE(d.CurrentDir(), m_strStart);
        QCOMPARE(d.focusWidget(), CDialogBuilder::Control(&d, IDC_FOLDER_LIST));
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
        for (int id : {IDC_CURRENT_DIR, IDC_FOLDER_LIST, IDC_DRIVES, IDC_NEW_FOLDER, 1, 2})
            QVERIFY(CDialogBuilder::Control(&d, id)->isVisible());
    }

    void walksWithEnterDoubleClickAndDrives() {
        CSelectDir d;
        OpenAtStart(d);
        auto* tree = CDialogBuilder::ControlAs<QTreeWidget>(&d, IDC_FOLDER_LIST);
        tree->setCurrentItem(Item(tree, "chosen"));
        QTest::keyClick(tree, Qt::Key_Return);
        QVERIFY(d.isVisible()); // Enter opens the folder and does not close the picker
        QCOMPARE(d.CurrentDir(), m_strChosen);

        const auto up = Item(tree, "start");
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

    // Neither OK nor Cancel moves the process to a folder: one on a share would make its
    // relative look-ups round trips.
    void currentDirectoryAfterOkAndCancel() {
        QVERIFY(QDir::setCurrent(m_strStart));
        CSelectDir d;
        d.PrepareDirDialog();
        d.SetStartDir(m_strStart);
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
        QCOMPARE(QDir::currentPath(), m_strStart);
    }

    // OK answers the folder highlighted in the list: a subfolder picked with one click, else
    // the folder on show. (The arrow keys and Enter are the keyboard scenario's.)
    void okAnswersTheHighlightedFolder() {
        CSelectDir d;
        OpenAtStart(d);
        auto* tree = CDialogBuilder::ControlAs<QTreeWidget>(&d, IDC_FOLDER_LIST);
        QTreeWidgetItem* chosen = Item(tree, "chosen");
        // The subfolders are on show, however deep the folder lies.
        QVERIFY(tree->viewport()->rect().contains(tree->visualItemRect(chosen)));
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                          tree->visualItemRect(chosen).center());
        QCOMPARE(d.CurrentDir(), m_strStart); // one click only highlights
        Click(&d, 1);
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(d.SelectedDir(), QDir::toNativeSeparators(m_strChosen));
    }

    // A path typed into the picker is gone to with Enter and answered by OK; one that does not
    // exist is refused with a message and the picker stays open.
    void typedPathIsTheAnswer() {
        CSelectDir d;
        OpenAtStart(d);
        auto* path = CDialogBuilder::ControlAs<QLineEdit>(&d, IDC_CURRENT_DIR);
        QCOMPARE(path->text(), QDir::toNativeSeparators(m_strStart));
        path->setText(m_strChosen + "/deeper");
        Click(&d, 1);
        QCOMPARE(d.SelectedDir(), QDir::toNativeSeparators(m_strChosen + "/deeper"));

        d.open();
        int nMessages = 0;
        path->setText(m_strStart + "/missing");
        AnswerMessage(nMessages);
        Click(&d, 1);
        QCOMPARE(nMessages, 1);
        QVERIFY(d.isVisible());
        path->setText(m_strChosen);
        path->setFocus();
        QTest::keyClick(path, Qt::Key_Return); // goes there, stays open
        QVERIFY(d.isVisible());
        QCOMPARE(d.CurrentDir(), m_strChosen);
        QTest::keyClick(path, Qt::Key_Return); // and now chooses it
        QVERIFY(!d.isVisible());
        QCOMPARE(d.SelectedDir(), QDir::toNativeSeparators(m_strChosen));
    }

    // New Folder makes the folder in the highlighted one and highlights it, so OK answers it;
    // a name already taken or no plain name makes nothing.
    void newFolderIsMadeAndHighlighted() {
        CSelectDir d;
        OpenAtStart(d);
        driver::WhenShown<QInputDialog>([](QInputDialog* input) {
            QCOMPARE(input->textValue(), QStringLiteral("New Folder"));
            input->setTextValue(QStringLiteral("Gamma"));
            input->accept();
        });
        Click(&d, IDC_NEW_FOLDER);
        QVERIFY(QFileInfo(m_strStart + "/Gamma").isDir());
        QCOMPARE(d.HighlightedDir(), m_strStart + "/Gamma");
        QCOMPARE(d.CurrentDir(), m_strStart);
        // The next one goes into the folder highlighted now, which is then shown.
        QVERIFY(d.MakeFolder("Delta"));
        QVERIFY(QFileInfo(m_strStart + "/Gamma/Delta").isDir());
        QVERIFY(!QFileInfo::exists(m_strStart + "/Delta"));
        QCOMPARE(d.CurrentDir(), m_strStart + "/Gamma");
        QCOMPARE(d.HighlightedDir(), m_strStart + "/Gamma/Delta");
        QVERIFY(d.ChangeDir(m_strStart));

        int nMessages = 0;
        for (const char* bad : {"Beta", "a/b", "..", " "}) {
            AnswerMessage(nMessages);
            QVERIFY(!d.MakeFolder(QString::fromLatin1(bad)));
        }
        QCOMPARE(nMessages, 4);
        QCOMPARE(
            QDir(m_strStart).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden).size(), 4);
        Click(&d, 1);
        QCOMPARE(d.SelectedDir(), QDir::toNativeSeparators(m_strStart));
    }

private:
    static void Open(CTargetDirsDlg& d, CSettings& s) {
        d.SetSettings(&s);
        d.open();
    }
    // The picker, opened on <root>/start.
    void OpenAtStart(CSelectDir& d) const {
        d.PrepareDirDialog();
        d.SetStartDir(m_strStart);
        d.open();
    }
    static QTreeWidgetItem* Item(QTreeWidget* tree, const char* name) {
        return tree->findItems(name, Qt::MatchExactly | Qt::MatchRecursive).value(0);
    }
    // The next message box is accepted and counted.
    static void AnswerMessage(int& nMessages) {
        driver::WhenShown<QMessageBox>([&nMessages](QMessageBox* box) {
            ++nMessages;
            box->accept();
        });
    }

    QString m_strSavedDir;
    QTemporaryDir m_root;
    QString m_strStart;  // <root>/start, the current directory of each test
    QString m_strChosen; // <root>/start/chosen
};

QTEST_MAIN(TestDirectoryDialogs)
#include "tst_dirdlgs.moc"
