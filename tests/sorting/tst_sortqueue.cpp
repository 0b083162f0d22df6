// The sort session's worker on its own: work in order off the GUI thread, what follows it
// on the GUI thread, questions put to the GUI thread while the worker waits, and the
// progress of a long copy.
#include "platform/files/CFileJob.h"
#include "sorting/session/CSortQueue.h"
#include "sorting/session/CWorkerFileOpUi.h"
#include "sorting/session/PictureStatus.h"
#include "tests/support/ScriptedFileOpUi.h"

#include <QThread>
#include <QtTest>
#include <atomic>
#include <mutex>

class TestSortQueue : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Work runs on one thread that is not the GUI thread, in the order given; each
    // completion runs on the GUI thread, in the same order, and only then is the work no
    // longer pending. Finish returns with nothing pending.
    void workRunsInOrderOffTheGuiThread_data() {
        QTest::addColumn<int>("count");
        QTest::newRow("one") << 1;
        QTest::newRow("many") << 25;
    }
    void workRunsInOrderOffTheGuiThread() {
        QFETCH(int, count);
        CSortQueue queue;
        std::mutex mutex;
        QList<int> worked;
        QList<int> completed;
        QSet<QThread*> workers;
        bool bCompletedOnGui = true;
        for (int i = 0; i < count; ++i)
            queue.Post([&, i]() -> CSortQueue::Completion {
                const std::lock_guard lock(mutex);
                worked.append(i);
                workers.insert(QThread::currentThread());
                return [&, i] {
                    bCompletedOnGui = bCompletedOnGui && QThread::currentThread() == thread();
                    completed.append(i);
                };
            });
        QCOMPARE(queue.Pending(), count);
        queue.Finish();
        QCOMPARE(queue.Pending(), 0);
        QList<int> expected;
        for (int i = 0; i < count; ++i)
            expected.append(i);
        QCOMPARE(worked, expected);
        QCOMPARE(completed, expected);
        QVERIFY(bCompletedOnGui);
        QCOMPARE(workers.size(), 1);
        QVERIFY(!workers.contains(thread()));
    }

    // The worker's questions and errors reach the interface on the GUI thread, and the
    // answer comes back to the worker; the offer to answer for all is the interface's.
    void questionsAreAskedOnTheGuiThread() {
        CSortQueue queue;
        ScriptedFileOpUi gui;
        gui.answers = {CFileOpUi::ConflictChoice::KeepBoth};
        gui.bApplyToAll = true;
        CWorkerFileOpUi ui(
            queue, [&]() -> CFileOpUi& { return gui; }, [](const QString&) {});
        CFileOpUi::ConflictChoice answer = CFileOpUi::ConflictChoice::Skip;
        bool bApplied = false;
        queue.Post([&]() -> CSortQueue::Completion {
            ui.OfferApplyToAll(true);
            answer = ui.AskConflict({}, {});
            bApplied = ui.AppliedToAll();
            ui.ReportError(QStringLiteral("Cannot move"));
            return {};
        });
        queue.Finish();
        QCOMPARE(answer, CFileOpUi::ConflictChoice::KeepBoth);
        QVERIFY(bApplied);
        QCOMPARE(gui.errors, QStringList{"Cannot move"});
        QCOMPARE(gui.threads, (QList<QThread*>{thread(), thread()}));
    }

    // A copy that runs longer than half a second tells how far it has come, on the GUI
    // thread, and an empty line once it is over.
    void aLongCopyTellsItsProgress() {
        CSortQueue queue;
        ScriptedFileOpUi gui;
        QStringList lines;
        bool bOnGui = true;
        CWorkerFileOpUi ui(
            queue, [&]() -> CFileOpUi& { return gui; },
            [&](const QString& line) {
                bOnGui = bOnGui && QThread::currentThread() == thread();
                lines.append(line);
            });
        std::atomic<bool> bRelease{false};
        CFileJob job;
        job.SetTotal(1000);
        job.SetDone(400);
        job.Start([&](CFileJob&) {
            while (!bRelease.load())
                QThread::msleep(5);
        });
        queue.Post([&]() -> CSortQueue::Completion {
            ui.WaitFor(job, QStringLiteral("Copying \"a.jpg\" to \"/keep\""));
            return {};
        });
        QVERIFY(QTest::qWaitFor([&] { return !lines.isEmpty(); }, 20000));
        QCOMPARE(lines.first(), picture_status::CopyProgressText(
                                    QStringLiteral("Copying \"a.jpg\" to \"/keep\""), 400, 1000));
        QVERIFY(lines.first().contains("40%"));
        bRelease.store(true);
        queue.Finish();
        job.Join();
        QCOMPARE(lines.last(), QString());
        QVERIFY(bOnGui);
    }

    // The texts of a long copy and of the wait at closing.
    void busyTexts_data() {
        QTest::addColumn<qint64>("done");
        QTest::addColumn<qint64>("total");
        QTest::addColumn<QString>("text");
        QTest::newRow("part") << qint64(1) << qint64(3) << "Moving x: 33% done";
        QTest::newRow("nothing known") << qint64(5) << qint64(0) << "Moving x: 0% done";
        QTest::newRow("more than all") << qint64(7) << qint64(5) << "Moving x: 100% done";
    }
    void busyTexts() {
        QFETCH(qint64, done);
        QFETCH(qint64, total);
        QFETCH(QString, text);
        QCOMPARE(picture_status::CopyProgressText(QStringLiteral("Moving x"), done, total), text);
        QVERIFY(picture_status::FinishingText(3).contains(QLatin1Char('3')));
    }
};

QTEST_MAIN(TestSortQueue)
#include "tst_sortqueue.moc"
