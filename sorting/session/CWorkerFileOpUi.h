#pragma once

#include "platform/files/CFileOpUi.h"

#include <functional>

class CSortQueue;

// The file operations' user interface as the sort worker sees it: questions, errors and the
// offer to answer for a whole action are put to the session's interface on the GUI thread
// while the worker waits for the answer. A long copy is not waited for in a dialog: the
// worker waits itself and, after half a second, tells how far it has come, as a line for
// the status bar (`progress`, called on the GUI thread; an empty line once it is over).
class CWorkerFileOpUi : public CFileOpUi {
public:
    using GuiUi = std::function<CFileOpUi&()>;
    using Progress = std::function<void(const QString& line)>;

    CWorkerFileOpUi(CSortQueue& queue, GuiUi gui, Progress progress);

    ConflictChoice AskConflict(const CFileFacts& incoming, const CFileFacts& existing) override;
    void WaitFor(CFileJob& job, const QString& text) override;
    void OfferApplyToAll(bool bOffer) override;
    bool AppliedToAll() const override;
    void ReportError(const QString& message) override;

    static constexpr int kShowAfterMs = 500;

private:
    void Tell(const QString& line);

    CSortQueue& m_queue;
    GuiUi m_gui;
    Progress m_progress;
};
