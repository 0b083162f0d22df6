// A folder chosen as a destination, looked at when it is chosen.
#include "dialogs/CDestinationCheck.h"
#include "tests/support/MessageAnswerer.h"
#include "tests/support/TmpfsMount.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

class TestDestinationCheck : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QVERIFY(QDir(m_root.path()).mkpath("start/chosen")); }

    // A folder chosen as a destination is looked at once: one that is not there is offered
    // to be made (and is, when the user agrees), one that is no folder or cannot be written
    // to is said at once.
    void chosenFolderIsChecked_data() {
        QTest::addColumn<QString>("rel");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("ready");
        QTest::addColumn<QString>("said");
        QTest::newRow("there") << "start/chosen" << int(QMessageBox::No) << true << "";
        QTest::newRow("missing, made")
            << "made/new/deeper" << int(QMessageBox::Yes) << true << "does not exist";
        QTest::newRow("missing, not made")
            << "unmade/new/deeper" << int(QMessageBox::No) << false << "does not exist";
        QTest::newRow("a file") << "file.jpg" << int(QMessageBox::Yes) << false
                                << "is not a folder";
        QTest::newRow("empty") << "" << int(QMessageBox::Yes) << true << "";
    }
    void chosenFolderIsChecked() {
        QFETCH(QString, rel);
        QFETCH(int, answer);
        QFETCH(bool, ready);
        QFETCH(QString, said);
        QFile file(m_root.filePath("file.jpg"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        const QString dir = rel.isEmpty() ? QString() : m_root.filePath(rel);
        MessageAnswerer answerer{QMessageBox::StandardButton(answer)};
        QCOMPARE(CDestinationCheck::Confirm(nullptr, dir, "destination 3, Keep"), ready);
        QCOMPARE(answerer.m_texts.size(), said.isEmpty() ? 0 : 1);
        if (!said.isEmpty()) {
            QVERIFY2(answerer.m_texts[0].contains(said), qPrintable(answerer.m_texts[0]));
            QVERIFY(answerer.m_texts[0].contains("destination 3, Keep"));
        }
        QCOMPARE(QFileInfo(dir).isDir(), ready && !dir.isEmpty());
    }

    void readOnlyFolderIsSaidAtOnce() {
        TmpfsMount mount(1 << 16, true);
        REQUIRE_MOUNT(mount);
        const QString dir = QFile::decodeName(mount.Path());
        QCOMPARE(CDestinationCheck::StateOf(dir), CDestinationCheck::EState::NotWritable);
        MessageAnswerer answerer;
        QVERIFY(!CDestinationCheck::Confirm(nullptr, dir, "destination 1"));
        QCOMPARE(answerer.m_texts.size(), 1);
        QVERIFY(answerer.m_texts[0].contains("cannot be written"));
    }

private:
    QTemporaryDir m_root;
};

QTEST_MAIN(TestDestinationCheck)
#include "tst_destinationcheck.moc"
