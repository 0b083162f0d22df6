#pragma once

#include "platform/files/CFileFacts.h"

#include <QString>

class CFileJob;

// What the file operations need from the user interface: an answer when a name is taken,
// a way to wait for a long copy without freezing the window, and a place for errors.
// CFileOpDialogs implements it with message boxes and a progress dialog; tests script it.
class CFileOpUi {
public:
    enum class ConflictChoice { Replace, KeepBoth, Skip };

    virtual ~CFileOpUi() = default;

    // `incoming` wants the name that `existing` has. Whatever cannot be answered is Skip.
    virtual ConflictChoice AskConflict(const CFileFacts& incoming, const CFileFacts& existing) = 0;
    // Returns once job.Finished(); shows its progress with Cancel when it takes more than
    // about half a second, and calls job.Cancel() when the user asks to stop.
    virtual void WaitFor(CFileJob& job, const QString& text) = 0;
    // While an action on many files runs: conflicts are asked with the choice to give the
    // same answer for the rest of the action (see CGroupConflicts).
    virtual void OfferApplyToAll(bool /*bOffer*/) {}
    // Whether the user took that choice with the answer just given.
    virtual bool AppliedToAll() const { return false; }
    // Tells the user that an operation failed and why.
    virtual void ReportError(const QString& message) = 0;
};
