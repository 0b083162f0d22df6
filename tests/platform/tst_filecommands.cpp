// The context menu's Rename... and Move to Trash: where the files end up.
#include "platform/CFileCommandsProvider.h"
#include "platform/CNativePath.h"
#include "tests/support/NativeTempDir.h"
#include "tests/support/TestSupport.h"

#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QtTest>
#include <sys/stat.h>

using Names = QList<QByteArray>;

namespace {
QString g_selected;   // what the name question had selected
QStringList g_errors; // the error boxes of the last command

QStringList Texts(const CShellContextMenu::Item& item) {
    QStringList texts;
    for (const CShellContextMenu::Command& c : CShellContextMenu::CommandsFor(item))
        texts.append(c.text);
    return texts;
}

// Runs the menu command `text` for `path`: the name question is answered with `answer` once
// it has made its selection, error boxes are noted and closed.
bool Run(const QString& text, const QByteArray& path, const QString& answer = {}) {
    g_errors.clear();
    QTimer poll;
    QPointer<QInputDialog> seen;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            g_errors.append(box->text());
            box->accept();
        } else if (modal && modal == seen) {
            g_selected = seen->findChild<QLineEdit*>()->selectedText();
            seen->setTextValue(answer);
            seen->accept();
        }
        seen = qobject_cast<QInputDialog*>(modal);
    });
    poll.start(10);
    struct stat st {};
    const bool bFolder = ::stat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode);
    const QString name = CNativePath::Display(CNativePath::FileName(path));
    for (const CShellContextMenu::Command& c :
         CShellContextMenu::CommandsFor({path, name, bFolder}))
        if (c.text == text)
            return c.invoke(nullptr);
    return false;
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
    void offeredForFilesAndFolders();
    void renameNeverReplaces();
    void moveToTrashKeepsTheBytesOfAnyName();
};

void TestFileCommands::offeredForFilesAndFolders() {
    const QStringList all{"Open", "Copy", "Rename...", "Move to Trash", "Properties"};
    QVERIFY(WriteBytes(Path("o.jpg"), "o"));
    QCOMPARE(Texts({Path("o.jpg"), "o.jpg", false}), all);
    QCOMPARE(Texts({m_tmp.NativePath(), "folder", true}), all);
    QVERIFY(Texts({QByteArray(), "Computer", true}).isEmpty());
    QCOMPARE(Texts({"/", "/", true}), QStringList({"Open", "Copy", "Properties"}));
}

void TestFileCommands::renameNeverReplaces() {
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

void TestFileCommands::moveToTrashKeepsTheBytesOfAnyName() {
    QVERIFY(WriteBytes(Path("x\xff.jpg"), "x") && ::mkdir(Path("sub").constData(), 0755) == 0);
    QVERIFY(Run("Move to Trash", Path("x\xff.jpg")) && Run("Move to Trash", Path("sub")));
    QCOMPARE(ListDir(Path("data/Trash/files")), (Names{"sub", "x\xff.jpg"}));
    QCOMPARE(ReadBytes(Path("data/Trash/files/x\xff.jpg")), "x");
    QVERIFY(ReadBytes(Path("data/Trash/info/x\xff.jpg.trashinfo")).contains("/x%FF.jpg\n"));
    QVERIFY(!Run("Move to Trash", Path("x\xff.jpg")) && g_errors.size() == 1); // gone already
}

QTEST_MAIN(TestFileCommands)
#include "tst_filecommands.moc"
