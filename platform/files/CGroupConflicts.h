#pragma once

#include "platform/files/CFileOpUi.h"

#include <optional>

// The questions of one action on many files: its name conflicts are asked with the offer
// to give the same answer for every further conflict of the action, and once the user took
// that offer, they are answered so without asking again. Everything else goes to `inner`,
// which must outlive it.
class CGroupConflicts : public CFileOpUi {
public:
    explicit CGroupConflicts(CFileOpUi& inner);
    ~CGroupConflicts() override;
    CGroupConflicts(const CGroupConflicts&) = delete;
    CGroupConflicts& operator=(const CGroupConflicts&) = delete;

    ConflictChoice AskConflict(const CFileFacts& incoming, const CFileFacts& existing) override;
    void WaitFor(CFileJob& job, const QString& text) override { m_inner.WaitFor(job, text); }
    void ReportError(const QString& message) override { m_inner.ReportError(message); }

private:
    CFileOpUi& m_inner;
    std::optional<ConflictChoice> m_forAll;
};
