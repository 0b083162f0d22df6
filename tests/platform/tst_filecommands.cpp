// The window side of the file operations: the context menu's Rename... and Move to Trash
// (where the files end up), the conflict question and the progress dialog.
#include "platform/files/CFileActionHook.h"
#include "platform/files/CFileJob.h"
#include "platform/shell/CFileCommandsProvider.h"
#include "platform/system/CNativePath.h"
#include "platform/ui/CFileOpDialogs.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/ModalDriver.h"
#include "tests/support/NativeTempDir.h"
#include "tests/support/TestSupport.h"

#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QtTest>
#include <chrono>
#include <sys/stat.h>
#include <thread>

using Choice = CFileOpUi::ConflictChoice;
using Names = QList<QByteArray>;

namespace {
QString g_selected;   // what the name question had selected
QStringList g_errors; // the error boxes of the last command

// Notes the actions it is handed and runs them.
class CNotingRecorder : public CFileActionHook {
public:
    QList<CFileAction> seen;
    QList<CFileOpResult> Run(const CFileAction& action, const Operation& op) override {
        seen.append(action);
        QList<CFileOpResult> results;
        for (const QByteArray& file : action.files)
            results.append(op(file));
        return results;
    }
};
CFileActionHook* g_recorder = nullptr; // what the commands are run with

QStringList Texts(const CShellContextMenu::Item& item) {
    QStringList texts;
    for (const CShellContextMenu::Command& c : CShellContextMenu::CommandsFor(item))
        texts.append(c.text);
    return texts;
}

// Runs the menu command `text` for `path`: the name question is answered with `answer` once
// it has made its selection, error boxes are noted and closed.
bool Run(const QString& text, const QByteArray& path, const QString& answer = {}) {
    ModalDriver driver;
    driver.AnswerInputsWith(answer);
    struct stat st {};
    const bool bFolder = ::stat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode);
    const QString name = CNativePath::Display(CNativePath::FileName(path));
    bool bDone = false;
    for (const CShellContextMenu::Command& c :
         CShellContextMenu::CommandsFor({path, name, bFolder}))
        if (c.text == text)
            bDone = c.invoke(nullptr, g_recorder);
    g_errors = driver.m_messages;
    g_selected = driver.m_inputSelected;
    return bDone;
}
} // namespace

class TestFileCommands : public QObject {
    Q_OBJECT
    NativeTempDir m_tmp;
    QByteArray Path(const QByteArray& name) const { return m_tmp.NativePath() + "/" + name; }

private Q_SLOTS:
    void initTestCase() {
        qputenv("XDG_DATA_HOME", Path("data"));
        const int handle = CFileCommandsProvider::Register();
        QCOMPARE(CFileCommandsProvider::Register(), handle); // registered once
    }

    void offeredForFilesAndFolders() {
        const QStringList all{"Open", "Copy", "Rename...", "Move to Trash", "Properties"};
        QVERIFY(WriteBytes(Path("o.jpg"), "o"));
        QCOMPARE(Texts({Path("o.jpg"), "o.jpg", false}), all);
        QCOMPARE(Texts({m_tmp.NativePath(), "folder", true}), all);
        QVERIFY(Texts({QByteArray(), "Computer", true}).isEmpty());
        QCOMPARE(Texts({"/", "/", true}), QStringList({"Open", "Copy", "Properties"}));
    }

    void renameNeverReplaces() {
        QVERIFY(::mkdir(Path("r").constData(), 0755) == 0 &&
                ::mkdir(Path("r/sub").constData(), 0755) == 0);
        QVERIFY(WriteBytes(Path("r/a.jpg"), "a") && WriteBytes(Path("r/b.jpg"), "b"));
        QVERIFY(WriteBytes(Path("r/caf\xe9.jpg"), "odd"));
        QVERIFY(Run("Rename...", Path("r/a.jpg"), "c.jpg"));
        QCOMPARE(g_selected, "a"); // the extension stays unselected
        QVERIFY(!Run("Rename...", Path("r/c.jpg"), "b.jpg"));
        QVERIFY(g_errors.size() == 1 && g_errors[0].contains("that name is taken"));
        QVERIFY(!Run("Rename...", Path("r/c.jpg"), "x/y.jpg"));
        QVERIFY(g_errors.size() == 1 && g_errors[0].contains("not a valid name"));
        QVERIFY(Run("Rename...", Path("r/sub"), "album"));
        QCOMPARE(g_selected, "sub");
        // A name that is not UTF-8 keeps its bytes when OK is pressed on its likeness.
        QVERIFY(!Run("Rename...", Path("r/caf\xe9.jpg"), CNativePath::Display("caf\xe9.jpg")));
        QVERIFY(g_errors.isEmpty() && ReadBytes(Path("r/caf\xe9.jpg")) == "odd");
        QVERIFY(Run("Rename...", Path("r/caf\xe9.jpg"), QStringLiteral("café.jpg")));
        QCOMPARE(ReadBytes(Path("r/c.jpg")) + ReadBytes(Path("r/b.jpg")), "ab");
        QCOMPARE(ListDir(Path("r")), (Names{"album", "b.jpg", "c.jpg", "caf\xc3\xa9.jpg"}));
    }

    void moveToTrashKeepsTheBytesOfAnyName() {
        QVERIFY(WriteBytes(Path("x\xff.jpg"), "x") && ::mkdir(Path("sub").constData(), 0755) == 0);
        QVERIFY(Run("Move to Trash", Path("x\xff.jpg")) && Run("Move to Trash", Path("sub")));
        QCOMPARE(ListDir(Path("data/Trash/files")), (Names{"sub", "x\xff.jpg"}));
        QCOMPARE(ReadBytes(Path("data/Trash/files/x\xff.jpg")), "x");
        QVERIFY(ReadBytes(Path("data/Trash/info/x\xff.jpg.trashinfo")).contains("/x%FF.jpg\n"));
        QVERIFY(!Run("Move to Trash", Path("x\xff.jpg")) && g_errors.size() == 1); // gone already
    }

    // The commands record their action with the recorder of the menu that ran them.
    void commandsGoToTheMenusRecorder() {
        CNotingRecorder mine;
        g_recorder = &mine;
        QVERIFY(WriteBytes(Path("n.jpg"), "n") && WriteBytes(Path("t.jpg"), "t"));
        QVERIFY(Run("Rename...", Path("n.jpg"), "m.jpg"));
        QVERIFY(Run("Move to Trash", Path("t.jpg")));
        g_recorder = nullptr;
        QVERIFY(Run("Rename...", Path("m.jpg"), "k.jpg")); // unrecorded, still done
        QCOMPARE(mine.seen.size(), 2);
        QVERIFY(mine.seen[0].kind == CFileAction::Kind::Rename && mine.seen[0].dest == "m.jpg");
        QCOMPARE(mine.seen[0].files, Names{Path("n.jpg")});
        QVERIFY(mine.seen[1].kind == CFileAction::Kind::Trash);
        QCOMPARE(mine.seen[1].files, Names{Path("t.jpg")});
        QCOMPARE(ReadBytes(Path("k.jpg")), "n");
    }

    void conflictOffersReplaceKeepBothSkip() {
        QWidget window;
        CFileOpDialogs ui(&window);
        const QDateTime when(QDate(2024, 5, 1), QTime(10, 30));
        QString shown;
        const auto answer = [&](const QString& button) {
            driver::WhenShown<QMessageBox>([&shown, button](QMessageBox* box) {
                shown = box->text() + '\n' + box->informativeText();
                for (QAbstractButton* b : box->buttons())
                    if (b->text() == button)
                        return b->click();
                box->reject(); // closed without an answer
            });
            return ui.AskConflict({"/pics/a.jpg", 2048, when}, {"/sorted/a.jpg", 1048576, when});
        };
        QCOMPARE(answer("Keep both"), Choice::KeepBoth);
        QVERIFY(shown.contains("\"a.jpg\"") && shown.contains("\"/sorted\""));
        QVERIFY(shown.contains(QLocale().formattedDataSize(2048)));
        QVERIFY(shown.contains(QLocale().formattedDataSize(1048576)));
        QVERIFY(shown.contains(QLocale().toString(when, QLocale::ShortFormat)));
        QCOMPARE(answer("Replace"), Choice::Replace);
        QCOMPARE(answer("Skip"), Choice::Skip);
        QCOMPARE(answer(QString()), Choice::Skip);
    }

    void longCopyShowsProgressWithCancel() {
        QWidget window;
        CFileOpDialogs ui(&window);
        CFileJob job;
        job.SetTotal(100);
        job.Start([](CFileJob& j) {
            for (int i = 0; i < 2000 && !j.Cancelled(); ++i) { // gives up after 20 s at most
                j.SetDone(i % 100);
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
        });
        QString label;
        driver::WhenShown<QProgressDialog>([&label](QProgressDialog* progress) {
            label = progress->labelText();
            progress->findChild<QPushButton*>()->click();
        });
        ui.WaitFor(job, QStringLiteral("Copying \"a.jpg\""));
        QVERIFY(job.Finished() && job.Cancelled());
        QCOMPARE(label, QStringLiteral("Copying \"a.jpg\""));
    }
};

QTEST_MAIN(TestFileCommands)
#include "tst_filecommands.moc"
