#include "sorting/journal/CUndoHistory.h"

#include "platform/files/CFileOpUi.h"
#include "platform/files/CFileOperations.h"
#include "sorting/journal/ActionReconciler.h"
#include "sorting/journal/EntrySteps.h"
#include "sorting/journal/UndoTexts.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QThread>

using sort_lines::LineCode;

namespace {

using Kind = CFileAction::Kind;
using State = SortRecord::State;

// Actions that Undo and Redo pass over on their way to older ones.
bool PassedOver(State state) {
    return state == State::Failed || state == State::Skipped || state == State::Damaged;
}

} // namespace

CUndoHistory::CUndoHistory(std::unique_ptr<CSortJournal> journal, QObject* parent)
    : QObject(parent), m_journal(std::move(journal)) {
    connect(&m_trash, &CTrashCheck::Changed, this, &CUndoHistory::Changed);
}

CUndoHistory::~CUndoHistory() = default;

bool CUndoHistory::Start() {
    if (!m_journal->Open())
        return false;
    Settle();
    Q_EMIT Changed();
    return IsAvailable();
}

// Actions left between their announcement and their outcome are looked up on disk.
void CUndoHistory::Settle() {
    QList<quint64> open;
    for (const SortRecord& r : Records())
        if (r.state == State::Intent || r.state == State::UndoIntent ||
            r.state == State::RedoIntent)
            open.append(r.seq);
    for (quint64 seq : open)
        for (const SortRecord& r : Records())
            if (r.seq == seq && !Write(action_reconciler::Settle(r), true))
                return;
}

bool CUndoHistory::Write(const QByteArray& line, bool bDurable) {
    return m_journal->Write(line, bDurable);
}

void CUndoHistory::At(Point point) const {
    if (m_fnHook)
        m_fnHook(point);
}

const SortRecord* CUndoHistory::UndoCandidate() const {
    const qsizetype at = UndoPlace(States());
    return at < 0 ? nullptr : &Records().at(at);
}

const SortRecord* CUndoHistory::RedoCandidate() const {
    const qsizetype at = RedoPlace(States());
    return at < 0 ? nullptr : &Records().at(at);
}

QList<State> CUndoHistory::States() const {
    QList<State> states;
    states.reserve(Records().size());
    for (const SortRecord& r : Records())
        states.append(r.state);
    return states;
}

qsizetype CUndoHistory::UndoPlace(const QList<State>& states) {
    for (qsizetype i = states.size() - 1; i >= 0; --i)
        if (states.at(i) == State::Done)
            return i;
    return -1;
}

qsizetype CUndoHistory::RedoPlace(const QList<State>& states) {
    qsizetype oldest = -1;
    for (qsizetype i = states.size() - 1; i >= 0; --i) {
        if (states.at(i) == State::Undone)
            oldest = i;
        else if (!PassedOver(states.at(i)))
            break;
    }
    return oldest;
}

bool CUndoHistory::CanBeUndone(const SortRecord& record, bool bLook) {
    if (record.kind == Kind::Delete || record.state == State::Damaged)
        return false;
    for (const SortEntry& e : record.entries) {
        if (e.target.isEmpty())
            continue;
        if (bLook && record.kind == Kind::Trash && !FileStamp::Of(e.target).SameFile(e.targetStamp))
            return false;
        return true;
    }
    return false;
}

void CUndoHistory::DropRedoable() {
    QList<quint64> undone;
    const QList<SortRecord>& records = Records();
    for (auto it = records.rbegin(); it != records.rend(); ++it) {
        if (it->state == State::Undone)
            undone.append(it->seq);
        else if (!PassedOver(it->state))
            break;
    }
    for (quint64 seq : undone)
        Write(sort_lines::Change(seq, LineCode::Dropped), false);
}

// The files are handled on the caller's thread, which may be a worker; the journal's lines
// are written on the history's own thread, the caller waiting for each.
QList<CFileOpResult> CUndoHistory::Run(const CFileAction& action, const Operation& op) {
    SortRecord r;
    r.kind = action.kind;
    r.dest = action.dest;
    r.timeMs = QDateTime::currentMSecsSinceEpoch();
    for (const QByteArray& file : action.files)
        r.entries.append(SortEntry::Before(file));
    bool bRecorded = false;
    OnOwnThread([this, &r, &bRecorded] { bRecorded = Announce(r); });
    At(Point::Announced);
    QList<CFileOpResult> results;
    bool bAny = false;
    for (qsizetype i = 0; i < r.entries.size(); ++i) {
        results.append(op(r.entries[i].source));
        SortEntry& e = r.entries[i];
        if (!results.last().Succeeded())
            continue;
        bAny = true;
        e.target = r.kind == Kind::Delete ? QByteArray() : results.last().target;
        e.targetStamp = FileStamp::Of(e.target);
        e.info = results.last().info;
        e.replaced = results.last().replaced;
        e.replacedStamp = FileStamp::Of(e.replaced);
        e.replacedInfo = results.last().replacedInfo;
    }
    At(Point::Operated);
    r.state = bAny ? State::Done : State::Failed;
    OnOwnThread([this, &r, &bRecorded] { Conclude(r, bRecorded); });
    At(Point::Recorded);
    return results;
}

void CUndoHistory::OnOwnThread(const std::function<void()>& call) {
    if (QThread::currentThread() == thread())
        call();
    else
        QMetaObject::invokeMethod(this, call, Qt::BlockingQueuedConnection);
}

// The intent, flushed before the first file is touched; false when it is not recorded.
bool CUndoHistory::Announce(SortRecord& r) {
    if (!IsAvailable())
        return false;
    DropRedoable();
    r.seq = m_journal->NextSeq();
    return Write(sort_lines::Intent(r), true);
}

void CUndoHistory::Conclude(const SortRecord& r, bool& bRecorded) {
    const bool bAny = r.state == State::Done;
    if (bRecorded)
        bRecorded = Write(bAny ? sort_lines::Change(r.seq, LineCode::Done, r.entries)
                               : sort_lines::Change(r.seq, LineCode::Failed),
                          true);
    Q_EMIT Performed(r, bRecorded);
    Q_EMIT Changed();
}

// A copy of the action to step, chosen on the history's thread; none when there is none
// (or it is older than `floor`).
// Unless it is judged by the disk (a trashed file still in the trash), its intent is
// written in the same turn there.
std::optional<CUndoHistory::SChosen> CUndoHistory::Choose(bool bUndo, quint64 floor) {
    std::optional<SChosen> chosen;
    OnOwnThread([this, bUndo, floor, &chosen] {
        const SortRecord* r = bUndo ? UndoCandidate() : RedoCandidate();
        if (!r || r->seq < floor)
            return;
        chosen = SChosen{*r, std::nullopt};
        if (!bUndo || (r->kind != Kind::Trash && CanBeUndone(*r)))
            chosen->begun = BeginOwn(*r, bUndo);
    });
    return chosen;
}

CUndoHistory::Outcome CUndoHistory::Undo(CFileOpUi& ui) {
    for (;;) { // again when the action changed between its choice and its step
        const std::optional<SChosen> r = Choose(true);
        if (!r)
            return {false,
                    QCoreApplication::translate("CUndoHistory", "There is nothing to undo."),
                    {}};
        if (std::optional<Outcome> out = Step(*r, true, ui))
            return *out;
    }
}

CUndoHistory::Outcome CUndoHistory::Redo(CFileOpUi& ui) {
    for (;;) {
        const std::optional<SChosen> r = Choose(false);
        if (!r)
            return {false,
                    QCoreApplication::translate("CUndoHistory", "There is nothing to redo."),
                    {}};
        if (std::optional<Outcome> out = Step(*r, false, ui))
            return *out;
    }
}

CUndoHistory::Outcome CUndoHistory::UndoUpTo(quint64 seq, CFileOpUi& ui) {
    Outcome all{true, {}, {}};
    for (;;) {
        const std::optional<SChosen> r = Choose(true, seq);
        if (!r)
            return all;
        const std::optional<Outcome> one = Step(*r, true, ui);
        if (!one)
            continue;
        all.restored += one->restored;
        all.message = one->message;
        if (!one->bDone) {
            all.bDone = false;
            return all;
        }
    }
}

bool CUndoHistory::Skip(quint64 seq) {
    for (const SortRecord& r : Records())
        if (r.seq == seq && r.state == State::Done) {
            const bool bWritten = Write(sort_lines::Change(seq, LineCode::Skipped), true);
            Q_EMIT Changed();
            return bWritten;
        }
    return false;
}

// Undoes or redoes one action: announced and flushed first, then the files, then the
// outcome. The action is whole on one side afterwards: files already handled go back when a
// later one fails, and where they went is recorded with the failure. A file that cannot go
// back either stays out of the action, where it is. The files are handled on the caller's
// thread, the lines written on the history's. None when the record changed after it was
// chosen (skipped meanwhile): the step is chosen again.
std::optional<CUndoHistory::Outcome> CUndoHistory::Step(const SChosen& chosen, bool bUndo,
                                                        CFileOpUi& ui) {
    const SortRecord& r = chosen.record;
    const QString what = undo_texts::Describe(r);
    const QString verb = bUndo ? QCoreApplication::translate("CUndoHistory", "undo")
                               : QCoreApplication::translate("CUndoHistory", "redo");
    if (bUndo && !chosen.begun && !CanBeUndone(r))
        return Outcome{false,
                       QCoreApplication::translate("CUndoHistory", "Cannot undo %1: %2.")
                           .arg(what, undo_texts::WhyNot(r)),
                       {}};
    switch (chosen.begun ? *chosen.begun : Begin(r, bUndo)) {
    case Begun::Yes:
        break;
    case Begun::Changed:
        return std::nullopt;
    case Begun::Unwritten: {
        QString why;
        OnOwnThread([this, &why] { why = UnavailableReason(); });
        return Outcome{
            false,
            QCoreApplication::translate("CUndoHistory", "Cannot %1 %2: %3.").arg(verb, what, why),
            {}};
    }
    }
    At(Point::Announced);
    CFileOperations ops(ui);
    QList<SortEntry> entries = r.entries;
    QString error;
    qsizetype failedAt = -1;
    for (qsizetype i = entries.size() - 1; i >= 0 && error.isEmpty(); --i) {
        if (entries[i].target.isEmpty())
            continue;
        error =
            bUndo ? entry_steps::Undo(r, entries[i], ops) : entry_steps::Redo(r, entries[i], ops);
        if (!error.isEmpty())
            failedAt = i;
    }
    const QList<QByteArray> stranded = TakeBack(r, entries, failedAt, bUndo, ops);
    At(Point::Operated);
    Outcome out;
    out.bDone = error.isEmpty();
    if (out.bDone) {
        RecordOutcome(
            sort_lines::Change(r.seq, bUndo ? LineCode::Undone : LineCode::Redone, entries));
        for (auto e = entries.crbegin(); e != entries.crend(); ++e)
            out.restored.append(bUndo ? e->source : e->target);
        out.message = undo_texts::StepDone(r, bUndo);
    } else {
        bool bMoved = false; // files after the failed one were handled and put back
        for (qsizetype i = failedAt + 1; i < entries.size(); ++i)
            bMoved = bMoved || !r.entries[i].target.isEmpty();
        RecordOutcome(bMoved ? sort_lines::Change(r.seq, LineCode::TakenBack, entries)
                             : sort_lines::Change(r.seq, LineCode::TakenBack));
        out.message = QCoreApplication::translate("CUndoHistory", "Cannot %1 %2: %3.")
                          .arg(verb, what, error) +
                      (stranded.isEmpty()
                           ? QCoreApplication::translate("CUndoHistory", "  Nothing was changed.")
                           : undo_texts::Stranded(stranded));
    }
    return out;
}

// The step's intent, flushed on the history's thread, unless the action is no longer as it
// was chosen.
CUndoHistory::Begun CUndoHistory::Begin(const SortRecord& r, bool bUndo) {
    Begun begun = Begun::Changed;
    OnOwnThread([&] { begun = BeginOwn(r, bUndo); });
    return begun;
}

CUndoHistory::Begun CUndoHistory::BeginOwn(const SortRecord& r, bool bUndo) {
    for (const SortRecord& now : Records())
        if (now.seq == r.seq && now.state == r.state)
            return Write(sort_lines::Change(r.seq,
                                            bUndo ? LineCode::UndoIntent : LineCode::RedoIntent),
                         true)
                       ? Begun::Yes
                       : Begun::Unwritten;
    return Begun::Changed;
}

// A step's outcome, written on the history's thread, which then tells of it. A worker does
// not wait for it: whatever it hands that thread afterwards (its outcome, the next step's
// choice) comes after it.
void CUndoHistory::RecordOutcome(QByteArray line) {
    auto record = [this, line = std::move(line)] {
        Write(line, true);
        At(Point::Recorded);
        Q_EMIT Stepped();
        Q_EMIT Changed();
    };
    if (QThread::currentThread() == thread())
        record();
    else
        QMetaObject::invokeMethod(this, std::move(record), Qt::QueuedConnection);
}

// Puts the files after `failedAt`, which the step handled, back where they were before it.
// Returns the files that could not go back; each stays out of the action, where it is.
QList<QByteArray> CUndoHistory::TakeBack(const SortRecord& r, QList<SortEntry>& entries,
                                         qsizetype failedAt, bool bUndo, CFileOperations& ops) {
    QList<QByteArray> stranded;
    for (qsizetype i = failedAt + 1; failedAt >= 0 && i < entries.size(); ++i) {
        SortEntry& e = entries[i];
        if (e.target.isEmpty())
            continue;
        const QString again = bUndo ? entry_steps::Redo(r, e, ops) : entry_steps::Undo(r, e, ops);
        if (again.isEmpty())
            continue;
        if (!bUndo) { // left at its target, which becomes its place
            e.source = e.target;
            e.sourceStamp = e.targetStamp;
        }
        stranded.append(e.source);
        e.target.clear();
        e.targetStamp = {};
        e.info.clear();
        e.replaced = e.replacedInfo = QByteArray(), e.replacedStamp = {};
    }
    return stranded;
}
