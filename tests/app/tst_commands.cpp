#include "app/CMainFrame.h"
#include "browser/CFileSelect.h"
#include "picture/CImageCtrl.h"
#include "picture/CVantrelView.h"
#include "platform/CDialogBuilder.h"
#include "resources/CommandIds.h"
#include "sorting/CTarget.h"
#include "tests/support/TestSupport.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QImage>
#include <QPrinter>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

// Runs `edit` on the next modal dialog, then presses its button `buttonId` (1 OK, 2 Cancel).
void AnswerDialog(std::function<void(QWidget*)> edit, int buttonId) {
    QTimer::singleShot(0, [edit, buttonId] {
        QWidget* dlg = QApplication::activeModalWidget();
        QVERIFY(dlg);
        edit(dlg);
        CDialogBuilder::ControlAs<QAbstractButton>(dlg, buttonId)->click();
    });
}

class TestCommands : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void configReloadsOnlyWhenFittingChanged();
    void printWritesOnePageWithThePicture();
    void copyKeyDoesNothingAndPanesTakeTurns();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TempProfile> m_profile;
    std::unique_ptr<CMainFrame> m_frame;
    CPictureFileList& List() { return m_frame->FileList(); }
};

void TestCommands::init() {
    m_frame.reset();
    m_dir = std::make_unique<QTemporaryDir>();
    m_profile = std::make_unique<TempProfile>();
    QImage image(400, 300, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QVERIFY(image.save(m_dir->filePath("one.jpg"), "JPG"));
    QVERIFY(image.save(m_dir->filePath("two.jpg"), "JPG"));
    m_profile->Store().WriteProfileString("TargetSet01", "HomeDirectory", m_dir->path());
    m_frame = std::make_unique<CMainFrame>(m_profile->Store());
    m_frame->show();
    QVERIFY(QTest::qWaitForWindowActive(m_frame.get()));
    List().SelectItem(0, true);
}

void TestCommands::configReloadsOnlyWhenFittingChanged() {
    CImageCtrl& ctrl = m_frame->PictureViewPane()->m_imageCtrl;
    QVERIFY(ctrl.HasPicture());
    // With the file gone, a reload would show the error instead of the picture.
    QVERIFY(QFile::remove(m_dir->filePath("one.jpg")));

    AnswerDialog([](QWidget* d) { CDialogBuilder::ControlAs<QAbstractButton>(d, 1006)->click(); },
                 1);
    m_frame->OnProgramConfig();
    QCOMPARE(m_frame->Settings().GetMoveFiles(), 0);
    QVERIFY(ctrl.HasPicture());                // not reloaded
    QCOMPARE(m_frame->focusWidget(), &List()); // focused again once the window is active

    AnswerDialog([](QWidget* d) { CDialogBuilder::ControlAs<QAbstractButton>(d, 1007)->click(); },
                 2);
    m_frame->OnProgramConfig(); // cancelled: nothing changes, nothing reloads
    QCOMPARE(m_frame->Settings().GetFitPicToWindow(), 0);
    QVERIFY(ctrl.HasPicture());

    AnswerDialog([](QWidget* d) { CDialogBuilder::ControlAs<QAbstractButton>(d, 1007)->click(); },
                 1);
    m_frame->OnProgramConfig();
    QCOMPARE(m_frame->Settings().GetFitPicToWindow(), 1);
    QCOMPARE(List().m_bFitToWindow, 1);
    QVERIFY(!ctrl.HasPicture()); // reloaded
    QVERIFY(m_frame->Action(cmd::ID_TOGGLE_RESIZE)->isChecked());
}

void TestCommands::printWritesOnePageWithThePicture() {
    const QString pdf = m_dir->filePath("out.pdf");
    m_frame->Printer()->setOutputFormat(QPrinter::PdfFormat);
    m_frame->Printer()->setOutputFileName(pdf);
    QVERIFY(m_frame->Action(cmd::ID_FILE_PRINT)->isEnabled());
    m_frame->Action(cmd::ID_FILE_PRINT)->trigger();
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray data = file.readAll();
    QVERIFY(data.startsWith("%PDF"));
    QCOMPARE(data.count("/Type /Page\n") + data.count("/Type /Page\r") + data.count("/Type /Page "),
             1);
    QVERIFY(data.contains("/Subtype /Image"));

    m_frame->Action(cmd::ID_CLEAR_PICTURE)->trigger();
    QVERIFY(!m_frame->Action(cmd::ID_FILE_PRINT)->isEnabled());
}

void TestCommands::copyKeyDoesNothingAndPanesTakeTurns() {
    QApplication::clipboard()->setText("before");
    List().setFocus();
    QTest::keyClick(&List(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("before"));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files).size(), 2);
    QCOMPARE(QFileInfo(List().m_strCurFile).fileName(), QStringLiteral("one.jpg"));

    QTest::keyClick(m_frame.get(), Qt::Key_F6);
    QTRY_VERIFY(m_frame->PictureViewPane()->isAncestorOf(QApplication::focusWidget()) ||
                m_frame->PictureViewPane() == QApplication::focusWidget());
    QTest::keyClick(m_frame.get(), Qt::Key_F6);
    QTRY_VERIFY(m_frame->TargetPane()->isAncestorOf(QApplication::focusWidget()) ||
                m_frame->TargetPane() == QApplication::focusWidget());
    QTest::keyClick(m_frame.get(), Qt::Key_F6, Qt::ShiftModifier);
    QTRY_VERIFY(m_frame->PictureViewPane()->isAncestorOf(QApplication::focusWidget()) ||
                m_frame->PictureViewPane() == QApplication::focusWidget());
}

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
