#include "tests/support/CDiskTap.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

// The tap that later tests count the window's file-system calls with: it must see the
// calls Qt makes and the program's own, on the thread that made them, and no others.
class TestDiskTap : public QObject {
    Q_OBJECT
public:
    enum Call { QtExists, QtOpen, QtListing, AtDescriptor, OnDescriptor, Rename, Outside };
    Q_ENUM(Call)

private Q_SLOTS:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        QVERIFY(QDir(m_dir->path()).mkdir("share"));
        m_share = QFile::encodeName(QFileInfo(m_dir->filePath("share")).canonicalFilePath());
        QFile file(QFile::decodeName(m_share + "/a.jpg"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("picture") == 7);
        file.close();
        QFile other(m_dir->filePath("b.jpg"));
        QVERIFY(other.open(QIODevice::WriteOnly));
    }
    void cleanup() {
        CDiskTap::Instance().Stop();
        CDiskTap::Instance().SetDelay(0);
    }

    void callsInTheFolderAreNoted_data() {
        QTest::addColumn<Call>("call");
        QTest::addColumn<QString>("expected"); // the note, or empty: nothing noted
        QTest::newRow("a file's existence, through Qt") << QtExists << "a.jpg";
        QTest::newRow("a file opened through Qt") << QtOpen << "a.jpg";
        QTest::newRow("the folder listed through Qt") << QtListing << "opendir .";
        QTest::newRow("a name below a folder's descriptor") << AtDescriptor << "fstatat a.jpg";
        QTest::newRow("a descriptor opened there") << OnDescriptor << "fstat a.jpg";
        QTest::newRow("a rename, by its source") << Rename << "rename a.jpg";
        QTest::newRow("a file outside the folder") << Outside << "";
    }
    void callsInTheFolderAreNoted() {
        QFETCH(Call, call);
        QFETCH(QString, expected);
        const int fd = call == OnDescriptor   ? ::open((m_share + "/a.jpg").constData(), O_RDONLY)
                       : call == AtDescriptor ? ::open(m_share.constData(), O_RDONLY)
                                              : -1;
        CDiskTap& tap = CDiskTap::Instance();
        tap.Watch(m_share);
        Make(call, fd);
        tap.Stop(); // nothing after this is noted
        QFileInfo(QFile::decodeName(m_share + "/a.jpg")).exists();
        if (fd >= 0)
            ::close(fd);
        const QStringList calls = tap.CallsOn(CDiskTap::CurrentThread());
        if (expected.isEmpty())
            QVERIFY2(calls.isEmpty(), qPrintable(calls.join(", ")));
        else
            QVERIFY2(!calls.filter(expected).isEmpty(), qPrintable(calls.join(", ")));
        QCOMPARE(tap.CountOffThread(CDiskTap::CurrentThread()), 0);
    }

    // A call is counted for the thread that made it.
    void callsAreCountedPerThread() {
        CDiskTap& tap = CDiskTap::Instance();
        tap.Watch(m_share);
        const QString path = QFile::decodeName(m_share + "/a.jpg");
        std::thread worker([&path] { QFileInfo(path).exists(); });
        worker.join();
        QVERIFY(tap.CallsOn(CDiskTap::CurrentThread()).isEmpty());
        QVERIFY(tap.CountOffThread(CDiskTap::CurrentThread()) >= 1);
        QFileInfo(path).size();
        QVERIFY(!tap.CallsOn(CDiskTap::CurrentThread()).isEmpty());
    }

    // With a delay, the calls in the folder wait, and only they: each counted one waited.
    void onlyCallsInTheFolderWait() {
        CDiskTap& tap = CDiskTap::Instance();
        tap.SetDelay(1);
        tap.Watch(m_share);
        QVERIFY(QFileInfo(m_dir->filePath("b.jpg")).exists());
        QCOMPARE(tap.Delayed(), 0);
        QVERIFY(QFileInfo(QFile::decodeName(m_share + "/a.jpg")).exists());
        QVERIFY(tap.Delayed() >= 1);
        QCOMPARE(tap.Delayed(), tap.CallsOn(CDiskTap::CurrentThread()).size());
    }

private:
    void Make(Call call, int fd) {
        const QString file = QFile::decodeName(m_share + "/a.jpg");
        struct stat st {};
        switch (call) {
        case QtExists:
            QVERIFY(QFileInfo(file).exists());
            break;
        case QtOpen: {
            QFile f(file);
            QVERIFY(f.open(QIODevice::ReadOnly));
            break;
        }
        case QtListing:
            QVERIFY(QDir(QFile::decodeName(m_share)).entryList(QDir::Files).contains("a.jpg"));
            break;
        case AtDescriptor:
            QCOMPARE(::fstatat(fd, "a.jpg", &st, 0), 0);
            break;
        case OnDescriptor:
            QCOMPARE(::fstat(fd, &st), 0);
            break;
        case Rename:
            QCOMPARE(
                std::rename((m_share + "/a.jpg").constData(), (m_share + "/c.jpg").constData()), 0);
            break;
        case Outside:
            QVERIFY(QFileInfo(m_dir->filePath("b.jpg")).exists());
            break;
        }
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    QByteArray m_share;
};

QTEST_GUILESS_MAIN(TestDiskTap)
#include "tst_disktap.moc"
