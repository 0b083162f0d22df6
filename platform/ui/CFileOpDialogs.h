#pragma once

#include "platform/files/CFileOpUi.h"

#include <QPointer>

class QWidget;

// The file operations' questions, progress and errors as windows: a message box with
// Replace, Keep both and Skip (and, in an action on many files, "Do the same for every
// conflict of this action"); a progress dialog with Cancel once a copy has run for half a
// second; a warning box for errors. All of them are modal to `parent`'s window.
class CFileOpDialogs : public CFileOpUi {
public:
    explicit CFileOpDialogs(QWidget* parent) : m_parent(parent) {}

    ConflictChoice AskConflict(const CFileFacts& incoming, const CFileFacts& existing) override;
    void WaitFor(CFileJob& job, const QString& text) override;
    void ReportError(const QString& message) override;
    void OfferApplyToAll(bool bOffer) override { m_bOfferAll = bOffer; }
    bool AppliedToAll() const override { return m_bAppliedAll; }

    static constexpr int kShowAfterMs = 500;

private:
    static QString Describe(const CFileFacts& facts);

    QPointer<QWidget> m_parent;
    bool m_bOfferAll = false;
    bool m_bAppliedAll = false;
};
