#include "tests/support/ScriptedFileOpUi.h"

#include "platform/CFileJob.h"

#include <chrono>
#include <thread>

CFileOpUi::ConflictChoice ScriptedFileOpUi::AskConflict(const CFileFacts& incoming,
                                                        const CFileFacts& existing) {
    asked << incoming << existing;
    return answers.isEmpty() ? ConflictChoice::Skip : answers.takeFirst();
}

void ScriptedFileOpUi::WaitFor(CFileJob& job, const QString& text) {
    waits.append(text);
    if (bCancelEveryCopy)
        job.Cancel();
    while (!job.Finished())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}
