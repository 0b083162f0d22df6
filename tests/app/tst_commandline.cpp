// The command line: what it asks for, and that --help, --version and a bad option are
// answered by the real program with no display at all.
#include "app/CCommandLine.h"
#include "app/CVantrelApp.h"

#include <QProcess>
#include <QtTest>

using EAction = CCommandLine::EAction;

class TestCommandLine : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { CVantrelApp::NameProgram(); }

    void parse_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<EAction>("action");
        QTest::addColumn<bool>("splash");
        QTest::addColumn<QString>("path");
        QTest::newRow("plain") << QStringList{} << EAction::Run << true << QString();
        QTest::newRow("folder") << QStringList{"/pics/Trip"} << EAction::Run << true
                                << "/pics/Trip";
        QTest::newRow("embedding")
            << QStringList{"-Embedding"} << EAction::Run << false << QString();
        QTest::newRow("automation, slash and case")
            << QStringList{"/automation", "a.jpg"} << EAction::Run << false << "a.jpg";
        QTest::newRow("embedding, two dashes")
            << QStringList{"--EMBEDDING", "b.jpg"} << EAction::Run << false << "b.jpg";
        QTest::newRow("no splash, first path wins")
            << QStringList{"--no-splash", "x", "y"} << EAction::Run << false << "x";
        QTest::newRow("a name that looks like an option")
            << QStringList{"--", "-odd.jpg"} << EAction::Run << true << "-odd.jpg";
        QTest::newRow("toolkit options pass")
            << QStringList{"-style", "fusion", "-reverse", "dir"} << EAction::Run << true << "dir";
        QTest::newRow("help") << QStringList{"--help"} << EAction::Help << true << QString();
        QTest::newRow("help, short")
            << QStringList{"-h", "dir"} << EAction::Help << true << QString();
        QTest::newRow("version") << QStringList{"--version"} << EAction::Version << true
                                 << QString();
        QTest::newRow("unknown option")
            << QStringList{"-verbose"} << EAction::Error << true << QString();
        QTest::newRow("unknown option after a path")
            << QStringList{"dir", "--fast"} << EAction::Error << true << QString();
        QTest::newRow("the toolkit's own help is not offered")
            << QStringList{"--help-all"} << EAction::Error << true << QString();
        QTest::newRow("option without its value")
            << QStringList{"-style"} << EAction::Error << true << QString();
    }

    void parse() {
        QFETCH(QStringList, args);
        QFETCH(EAction, action);
        QFETCH(bool, splash);
        QFETCH(QString, path);
        const CCommandLine c = CCommandLine::Parse(args);
        QCOMPARE(c.m_action, action);
        QCOMPARE(c.m_bShowSplash, splash);
        QCOMPARE(c.m_strPath, path);
        QCOMPARE(c.ExitCode(), action == EAction::Error ? 2 : 0);
        QCOMPARE(c.m_strMessage.isEmpty(), action == EAction::Run);
    }

    // The program itself, with no display to connect to: the GUI would abort there.
    void answersWithoutDisplay_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("out");
        QTest::addColumn<QStringList>("err");
        QTest::newRow("help") << QStringList{"--help"} << 0
                              << QStringList{"Usage:", "[path]", "--no-splash", "--version"}
                              << QStringList{};
        QTest::newRow("version") << QStringList{"--version"} << 0
                                 << QStringList{"Vantrel " VANTREL_VERSION "\n"} << QStringList{};
        QTest::newRow("version, short, with a toolkit option")
            << QStringList{"-style", "fusion", "-v"} << 0
            << QStringList{"Vantrel " VANTREL_VERSION "\n"} << QStringList{};
        QTest::newRow("bad option") << QStringList{"--frobnicate", "dir"} << 2 << QStringList{}
                                    << QStringList{"frobnicate", "--help"};
    }

    void answersWithoutDisplay() {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QStringList, out);
        QFETCH(QStringList, err);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
        env.insert(QStringLiteral("LANGUAGE"), QStringLiteral("C"));
        QProcess program;
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(VANTREL_PROGRAM), args);
        QVERIFY(program.waitForFinished(-1));
        const QString stdOut = QString::fromLocal8Bit(program.readAllStandardOutput());
        const QString stdErr = QString::fromLocal8Bit(program.readAllStandardError());
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QVERIFY2(program.exitCode() == status, qPrintable(stdErr));
        for (const QString& text : out)
            QVERIFY2(stdOut.contains(text), qPrintable(stdOut));
        for (const QString& text : err)
            QVERIFY2(stdErr.contains(text), qPrintable(stdErr));
        QCOMPARE(stdOut.isEmpty(), out.isEmpty());
        QCOMPARE(stdErr.isEmpty(), err.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
