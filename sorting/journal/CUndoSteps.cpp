#include "sorting/journal/CUndoSteps.h"

#include "platform/files/CFileOpUi.h"
#include "sorting/session/CSortSession.h"

CUndoSteps::CUndoSteps(CUndoHistory& history, CSortSession& session, UiMaker ui, QObject* parent)
    : QObject(parent), m_history(history), m_session(session), m_fnUi(std::move(ui)) {
    qRegisterMetaType<CUndoHistory::Outcome>();
    // The session's worker takes sort actions and steps in the order given, and its
    // outcomes come back in that order.
    connect(&session, &CSortSession::ActionStarting, this, [this] {
        m_pending.append({Kind::Sort, 0});
    });
    connect(&session, &CSortSession::ActionFinished, this, &CUndoSteps::Done);
    connect(&history, &CUndoHistory::Stepped, this, &CUndoSteps::OnStepped);
}

// The oldest pending step has its outcome recorded: it is foreseen no more, though its
// outcome is still on its way (undoing up to an action may record several).
void CUndoSteps::OnStepped() {
    for (SStep& step : m_pending)
        if (step.kind != Kind::Sort && !step.bRecorded) {
            step.bRecorded = step.kind != Kind::UndoUpTo;
            return;
        }
}

void CUndoSteps::Done() {
    if (!m_pending.isEmpty())
        m_pending.removeFirst();
}

void CUndoSteps::Give(Kind kind, quint64 seq) {
    m_pending.append({kind, seq});
    ++m_nSteps;
    CUndoHistory* history = &m_history;
    QPointer<CUndoSteps> self(this);
    m_session.PostFileWork(
        [history, self, kind, seq](CFileOpUi& ui) -> std::function<void()> {
            auto out = std::make_shared<CUndoHistory::Outcome>(
                kind == Kind::Redo
                    ? history->Redo(ui)
                    : (kind == Kind::Undo ? history->Undo(ui) : history->UndoUpTo(seq, ui)));
            return [self, kind, out] {
                if (!self)
                    return;
                self->Done();
                --self->m_nSteps;
                Q_EMIT self->Finished(kind, *out);
            };
        },
        m_fnUi());
    Q_EMIT Given();
}

// The records' states after the pending steps, in their order, each done as asked.
QList<SortRecord::State> CUndoSteps::Foreseen() const {
    using State = SortRecord::State;
    QList<State> states = m_history.States();
    const QList<SortRecord>& records = m_history.Records();
    for (const SStep& step : m_pending) {
        if (step.bRecorded)
            continue;
        if (step.kind == Kind::Sort) { // a new action: nothing undone before it is redone
            for (qsizetype at = CUndoHistory::RedoPlace(states); at >= 0;
                 at = CUndoHistory::RedoPlace(states))
                states[at] = State::Dropped;
            states.append(State::Done);
            continue;
        }
        if (step.kind == Kind::Redo) {
            if (const qsizetype at = CUndoHistory::RedoPlace(states); at >= 0)
                states[at] = State::Done;
            continue;
        }
        for (qsizetype at = CUndoHistory::UndoPlace(states);
             at >= 0 &&
             (step.kind == Kind::Undo || at >= records.size() || records.at(at).seq >= step.seq);
             at = CUndoHistory::UndoPlace(states)) {
            states[at] = State::Undone;
            if (step.kind == Kind::Undo)
                break;
        }
    }
    return states;
}

// Null for a place past the records: a sort action still pending.
const SortRecord* CUndoSteps::At(qsizetype place) const {
    return place < 0 || place >= m_history.Records().size() ? nullptr
                                                            : &m_history.Records().at(place);
}

const SortRecord* CUndoSteps::ForeseenUndo() const {
    return m_pending.isEmpty() ? m_history.UndoCandidate()
                               : At(CUndoHistory::UndoPlace(Foreseen()));
}

const SortRecord* CUndoSteps::ForeseenRedo() const {
    return m_pending.isEmpty() ? m_history.RedoCandidate()
                               : At(CUndoHistory::RedoPlace(Foreseen()));
}

bool CUndoSteps::RedoForeseen() const {
    return CUndoHistory::RedoPlace(m_pending.isEmpty() ? m_history.States() : Foreseen()) >= 0;
}
