#include "sorting/session/CWorkerFileOpUi.h"

#include "platform/files/CFileJob.h"
#include "sorting/session/CSortQueue.h"
#include "sorting/session/PictureStatus.h"

#include <chrono>
#include <thread>

namespace {
constexpr auto kPoll = std::chrono::milliseconds(25);
constexpr auto kTellEvery = std::chrono::milliseconds(200);
} // namespace

CWorkerFileOpUi::CWorkerFileOpUi(CSortQueue& queue, GuiUi gui, Progress progress)
    : m_queue(queue), m_gui(std::move(gui)), m_progress(std::move(progress)) {
}

CFileOpUi::ConflictChoice CWorkerFileOpUi::AskConflict(const CFileFacts& incoming,
                                                       const CFileFacts& existing) {
    ConflictChoice choice = ConflictChoice::Skip;
    m_queue.CallOnGui([&] { choice = m_gui().AskConflict(incoming, existing); });
    return choice;
}

void CWorkerFileOpUi::WaitFor(CFileJob& job, const QString& text) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    Clock::time_point told;
    bool bTold = false;
    while (!job.Finished()) {
        std::this_thread::sleep_for(kPoll);
        const Clock::time_point now = Clock::now();
        if (now - start < std::chrono::milliseconds(kShowAfterMs) ||
            (bTold && now - told < kTellEvery))
            continue;
        Tell(picture_status::CopyProgressText(text, job.Done(), job.Total()));
        told = now;
        bTold = true;
    }
    if (bTold)
        Tell(QString());
}

void CWorkerFileOpUi::Tell(const QString& line) {
    m_queue.TellGui([progress = m_progress, line] { progress(line); });
}

void CWorkerFileOpUi::OfferApplyToAll(bool bOffer) {
    m_queue.CallOnGui([&] { m_gui().OfferApplyToAll(bOffer); });
}

bool CWorkerFileOpUi::AppliedToAll() const {
    bool bApplied = false;
    m_queue.CallOnGui([&] { bApplied = m_gui().AppliedToAll(); });
    return bApplied;
}

void CWorkerFileOpUi::ReportError(const QString& message) {
    m_queue.CallOnGui([&] { m_gui().ReportError(message); });
}
