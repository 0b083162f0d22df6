#pragma once

#include "sorting/journal/CUndoHistory.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

class CFileOpUi;
class CSortSession;

// Undo, Redo and "undo up to" as a person gives them, run on the sort session's worker
// behind the sort actions given before them, and before those given after them: the key
// never waits for the disk, and each step acts on the journal as the actions before it
// left it. The history chooses the action and writes its lines on the GUI thread while the
// worker waits (see CUndoHistory); questions and errors go to an interface made for the
// step there. The outcome comes
// back by Finished, in the order the steps were given.
class CUndoSteps : public QObject {
    Q_OBJECT
public:
    enum class Kind { Undo, Redo, UndoUpTo, Sort };
    Q_ENUM(Kind)

    // Makes the interface of one step, on the GUI thread.
    using UiMaker = std::function<std::shared_ptr<CFileOpUi>()>;

    // `history` and `session` must outlive the steps given (the session finishes its
    // pending work before it goes).
    CUndoSteps(CUndoHistory& history, CSortSession& session, UiMaker ui, QObject* parent = nullptr);

    void Undo() { Give(Kind::Undo, 0); }
    void Redo() { Give(Kind::Redo, 0); }
    void UndoUpTo(quint64 seq) { Give(Kind::UndoUpTo, seq); }
    // The steps given whose outcome is not told yet.
    int Pending() const { return m_nSteps; }

    // The actions Undo and Redo will act on once the pending steps and sort actions are
    // done, each taken as done; null for none or for a sort action still pending.
    const SortRecord* ForeseenUndo() const;
    const SortRecord* ForeseenRedo() const;
    // Whether Redo will find an action then, one still pending included.
    bool RedoForeseen() const;

Q_SIGNALS:
    // A step was given (the actions' states change).
    void Given();
    void Finished(CUndoSteps::Kind kind, const CUndoHistory::Outcome& outcome);

private:
    struct SStep {
        Kind kind;
        quint64 seq;
        bool bRecorded = false; // its outcome is in the journal, told or not
    };
    void Give(Kind kind, quint64 seq);
    void Done();
    void OnStepped();
    QList<SortRecord::State> Foreseen() const;
    const SortRecord* At(qsizetype place) const;

    CUndoHistory& m_history;
    CSortSession& m_session;
    UiMaker m_fnUi;
    QList<SStep> m_pending; // steps and the session's sort actions, in the order given
    int m_nSteps = 0;
};

Q_DECLARE_METATYPE(CUndoHistory::Outcome)
