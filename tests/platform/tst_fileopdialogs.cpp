// The window side of the file operations: the conflict question and the progress dialog.
#include "platform/CFileJob.h"
#include "platform/CFileOpDialogs.h"

#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QtTest>
#include <chrono>
#include <functional>
#include <thread>

namespace {

// Runs `act` on the first modal window of type T once it shows.
template <class T> void WhenShown(std::function<void(T*)> act) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
        if (auto* w = qobject_cast<T*>(QApplication::activeModalWidget()); w && w->isVisible()) {
            poll->stop();
            poll->deleteLater();
            act(w);
        }
    });
    poll->start(10);
}

QAbstractButton* ButtonNamed(QMessageBox* box, const QString& text) {
    for (QAbstractButton* b : box->buttons())
        if (b->text() == text)
            return b;
    return nullptr;
}

CFileFacts Facts(const char* path, qint64 size) {
    return {QByteArray(path), size, QDateTime(QDate(2024, 5, 1), QTime(10, 30))};
}

} // namespace

class TestFileOpDialogs : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void conflictOffersReplaceKeepBothSkip();
    void longCopyShowsProgressWithCancel();
};

void TestFileOpDialogs::conflictOffersReplaceKeepBothSkip() {
    QWidget window;
    CFileOpDialogs ui(&window);
    QString shown;
    const auto answer = [&](const QString& button) {
        WhenShown<QMessageBox>([&shown, button](QMessageBox* box) {
            shown = box->text() + '\n' + box->informativeText();
            if (button.isEmpty())
                box->reject(); // closed without an answer
            else
                ButtonNamed(box, button)->click();
        });
        return ui.AskConflict(Facts("/pics/a.jpg", 2048), Facts("/sorted/a.jpg", 1048576));
    };
    QCOMPARE(answer("Keep both"), CFileOpUi::ConflictChoice::KeepBoth);
    QVERIFY(shown.contains("\"a.jpg\"") && shown.contains("\"/sorted\""));
    QVERIFY(shown.contains(QLocale().formattedDataSize(2048)));
    QVERIFY(shown.contains(QLocale().formattedDataSize(1048576)));
    QVERIFY(shown.contains(
        QLocale().toString(QDateTime(QDate(2024, 5, 1), QTime(10, 30)), QLocale::ShortFormat)));
    QCOMPARE(answer("Replace"), CFileOpUi::ConflictChoice::Replace);
    QCOMPARE(answer("Skip"), CFileOpUi::ConflictChoice::Skip);
    QCOMPARE(answer(QString()), CFileOpUi::ConflictChoice::Skip);
}

void TestFileOpDialogs::longCopyShowsProgressWithCancel() {
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
    WhenShown<QProgressDialog>([&label](QProgressDialog* progress) {
        label = progress->labelText();
        progress->findChild<QPushButton*>()->click();
    });
    ui.WaitFor(job, QStringLiteral("Copying \"a.jpg\""));
    QVERIFY(job.Finished());
    QVERIFY(job.Cancelled());
    QCOMPARE(label, QStringLiteral("Copying \"a.jpg\""));
}

QTEST_MAIN(TestFileOpDialogs)
#include "tst_fileopdialogs.moc"
