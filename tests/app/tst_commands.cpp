#include "app/PrintLayout.h"
#include "dialogs/CAboutDlg.h"
#include "dialogs/CConfigDlg.h"
#include "dialogs/CPrintSetupDlg.h"
#include "resources/CommandIds.h"
#include "resources/CommandTable.h"
#include "sorting/widgets/CTarget.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/PictureDesk.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QtTest>

// The main window's commands on a home folder of two pictures, the first one shown.
class TestCommands : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        m_desk = std::make_unique<PictureDesk>();
        QVERIFY(m_desk->Picture("Pics/one.jpg", 400, 300) && m_desk->Picture("Pics/two.jpg"));
        QVERIFY(QTest::qWaitForWindowActive(&m_desk->Start().Window()));
        m_desk->List().SelectItem(0, true);
        QVERIFY(m_desk->Ctrl().WaitForPicture()); // decoded before the tests touch the file
    }
    void cleanup() { m_desk.reset(); }

    void configReloadsOnlyWhenFittingChanged() {
        WindowDriver& frame = m_desk->Frame();
        CImageCtrl& ctrl = m_desk->Ctrl();
        QVERIFY(ctrl.HasPicture());
        // With the file gone, a reload would show the error instead of the picture.
        QVERIFY(QFile::remove(m_desk->Path("Pics/one.jpg")));
        const auto configure = [&](int clicked, int closeWith) {
            driver::WhenShown<CConfigDlg>([=](CConfigDlg* d) {
                driver::Click(d, clicked);
                driver::Click(d, closeWith);
            });
            frame.Trigger(cmd::ID_PROGRAM_CONFIG);
        };
        configure(1006, 1); // Copy File, OK
        QCOMPARE(frame.Settings().GetMoveFiles(), 0);
        QVERIFY(ctrl.HasPicture()); // not reloaded
        QCOMPARE(frame.Window().focusWidget(),
                 &m_desk->List()); // focused again once the window is active

        configure(1007, 2); // fitting changed, then cancelled: nothing changes or reloads
        QCOMPARE(frame.Settings().GetFitPicToWindow(), 0);
        QVERIFY(ctrl.HasPicture());

        configure(1007, 1);
        QCOMPARE(frame.Settings().GetFitPicToWindow(), 1);
        QCOMPARE(m_desk->List().m_bFitToWindow, 1);
        QVERIFY(frame.Settle());         // the folder is read again on a worker
        QTRY_VERIFY(!ctrl.HasPicture()); // reloaded
        QVERIFY(frame.Action(cmd::ID_TOGGLE_RESIZE)->isChecked());
    }

    // Print goes to the printer Print Setup chose, without a dialog.
    void printWritesOnePageWithThePicture() {
        WindowDriver& frame = m_desk->Frame();
        const QString pdf = m_desk->Path("out.pdf");
        frame.Printer()->setOutputFormat(QPrinter::PdfFormat);
        frame.Printer()->setOutputFileName(pdf);
        QVERIFY(frame.Action(cmd::ID_FILE_PRINT)->isEnabled());
        frame.Action(cmd::ID_FILE_PRINT)->trigger();
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray data = file.readAll();
        QVERIFY(data.startsWith("%PDF"));
        QCOMPARE(data.count("/Type /Page\n") + data.count("/Type /Page\r") +
                     data.count("/Type /Page "),
                 1);
        QVERIFY(data.contains("/Subtype /Image"));
        // VANTREL_KEEP_PDF=<file> keeps the page for a person to look at.
        if (qEnvironmentVariableIsSet("VANTREL_KEEP_PDF"))
            QFile::copy(pdf, qEnvironmentVariable("VANTREL_KEEP_PDF"));
        frame.Action(cmd::ID_CLEAR_PICTURE)->trigger();
        QVERIFY(!frame.Action(cmd::ID_FILE_PRINT)->isEnabled());
    }

    // Every key a menu item names is bound to its command; the menu's "Back" is Backspace,
    // which clears the picture from the list as Escape does.
    void menuKeysAreTheBoundKeys() {
        WindowDriver& frame = m_desk->Frame();
        for (const commands::Popup& popup : commands::MainMenu())
            for (const commands::MenuItem& item : popup.items) {
                const QString text = QString::fromUtf8(item.text ? item.text : "");
                const qsizetype tab = text.indexOf(QLatin1Char('\t'));
                if (tab < 0)
                    continue;
                QString named = text.mid(tab + 1);
                if (named == QLatin1String("Back"))
                    named = QStringLiteral("Backspace");
                const QKeySequence key(named, QKeySequence::PortableText);
                QVERIFY2(frame.Action(item.id)->shortcuts().contains(key), qPrintable(text));
            }
        m_desk->List().setFocus();
        QVERIFY(m_desk->Ctrl().HasPicture());
        QTest::keyClick(&m_desk->List(), Qt::Key_Backspace);
        QVERIFY(!m_desk->Ctrl().isVisible());
        QCOMPARE(m_desk->List().m_nCurItem, -1);
        QCOMPARE(m_desk->Listed().size(), 2);
    }

    // Print Setup sets the printer up and prints nothing: titled so, confirmed with OK, and a
    // file to print to is offered in the documents folder, not in the folder being sorted.
    void printSetupOffersAFileOutsideTheSortedFolder() {
        WindowDriver& frame = m_desk->Frame();
        const QString before = QDir::currentPath();
        const QString docs = m_desk->Path("home/Documents");
        QVERIFY(QDir().mkpath(docs));
        qputenv("HOME", QFile::encodeName(m_desk->Path("home")));
        QString title, okText, offered, whileOpen;
        driver::WhenShown<CPrintSetupDlg>([&](CPrintSetupDlg* d) {
            title = d->windowTitle();
            whileOpen = QDir::currentPath();
            for (auto* combo : d->findChildren<QComboBox*>()) {
                const int toFile = combo->findText("PDF", Qt::MatchContains);
                if (toFile >= 0)
                    combo->setCurrentIndex(toFile);
            }
            for (auto* edit : d->findChildren<QLineEdit*>())
                if (edit->text().endsWith(".pdf"))
                    offered = edit->text();
            for (auto* box : d->findChildren<QDialogButtonBox*>())
                if (QPushButton* ok = box->button(QDialogButtonBox::Ok))
                    okText = ok->text();
            d->accept();
        });
        frame.Action(cmd::ID_FILE_PRINT_SETUP)->trigger();
        QCOMPARE(title, QStringLiteral("Print Setup"));
        QCOMPARE(okText, QStringLiteral("OK"));
        QCOMPARE(QFileInfo(offered).path(), docs);
        QCOMPARE(frame.Printer()->outputFileName(), offered);
        QVERIFY(!QFile::exists(offered)); // set up, not printed
        QCOMPARE(m_desk->OnDisk("Pics"), (QStringList{"one.jpg", "two.jpg"}));
        QCOMPARE(whileOpen, before); // the process's folder is never the user's
        QCOMPARE(QDir::currentPath(), before);
    }

    void copyKeyDoesNothing() {
        QApplication::clipboard()->setText("before");
        m_desk->List().setFocus();
        QTest::keyClick(&m_desk->List(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("before"));
        QCOMPARE(m_desk->OnDisk("Pics").size(), 2);
        QCOMPARE(m_desk->Current(), QStringLiteral("one.jpg"));
    }

    void picturesFitTheLetterFrame_data() {
        QTest::addColumn<double>("w");
        QTest::addColumn<double>("h");
        QTest::addColumn<QSizeF>("expected");
        QTest::newRow("wide") << 1600.0 << 1200.0 << QSizeF(5100, 3825);
        QTest::newRow("upright") << 1200.0 << 1600.0 << QSizeF(4950, 6600);
        QTest::newRow("square is not wider than the page")
            << 1000.0 << 1000.0 << QSizeF(5100, 5100);
        QTest::newRow("very wide") << 4000.0 << 100.0 << QSizeF(5100, 127.5);
        QTest::newRow("very tall") << 10.0 << 4000.0 << QSizeF(16.5, 6600);
        QTest::newRow("empty") << 0.0 << 100.0 << QSizeF();
    }

    void picturesFitTheLetterFrame() {
        QFETCH(double, w);
        QFETCH(double, h);
        QFETCH(QSizeF, expected);
        QCOMPARE(print_layout::FrameSize(w, h), expected);
    }

    void aboutBoxShowsTheWholeMemory() {
        QCOMPARE(CAboutDlg::MemoryText(16ull << 20), QStringLiteral("16384 KB"));
        QCOMPARE(CAboutDlg::MemoryText((16ull << 20) + 1023), QStringLiteral("16384 KB"));
        // 24 GB must not wrap around as a 32-bit count would.
        QCOMPARE(CAboutDlg::MemoryText(24ull << 30), QStringLiteral("25165824 KB"));
    }

private:
    std::unique_ptr<PictureDesk> m_desk;
};

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
