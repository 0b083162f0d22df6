#pragma once

#include "platform/files/CFileJob.h"
#include "platform/files/CFileOpUi.h"

#include <QList>
#include <QStringList>
#include <QThread>
#include <chrono>
#include <thread>

// The file operations' user interface, answered by the test: conflict answers are taken in
// order (Skip when none are left), errors are collected, a copy can be cancelled; the thread
// of every question and error is noted.
class ScriptedFileOpUi : public CFileOpUi {
public:
    ConflictChoice AskConflict(const CFileFacts& incoming, const CFileFacts& existing) override {
        threads.append(QThread::currentThread());
        asked << incoming << existing;
        return answers.isEmpty() ? ConflictChoice::Skip : answers.takeFirst();
    }
    void WaitFor(CFileJob& job, const QString& text) override {
        waits.append(text);
        if (bCancelEveryCopy)
            job.Cancel();
        while (!job.Finished())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    void ReportError(const QString& message) override {
        threads.append(QThread::currentThread());
        errors.append(message);
    }
    void OfferApplyToAll(bool bOffer) override { bOffered = bOffer; }
    bool AppliedToAll() const override { return bOffered && bApplyToAll; }

    QList<ConflictChoice> answers;
    QList<CFileFacts> asked; // incoming, existing, incoming, existing, ...
    QStringList errors;
    QStringList waits;             // the text of every wait
    QList<QThread*> threads;       // where each question and error came
    bool bCancelEveryCopy = false; // cancel each job as soon as it is waited for
    bool bApplyToAll = false;      // each answer is for the rest of the action, where offered
    bool bOffered = false;
};
