#include "sorting/CUndoHistory.h"

#include "platform/CFileOpUi.h"
#include "platform/CFileOperations.h"
#include "platform/CNativePath.h"
#include "platform/CTrash.h"
#include "sorting/ActionReconciler.h"
#include "sorting/UndoTexts.h"

#include <QCoreApplication>
#include <QDateTime>
#include <cerrno>
#include <sys/stat.h>

namespace {

using Kind = CFileAction::Kind;
using State = SortRecord::State;

bool FolderExists(const QByteArray& dir) {
    struct stat st {};
    return ::stat(dir.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

QString Name(const QByteArray& path) {
    return QLatin1Char('"') + CNativePath::Display(CNativePath::FileName(path)) + QLatin1Char('"');
}
QString Folder(const QByteArray& path) {
    return QLatin1Char('"') + CNativePath::Display(CNativePath::DirName(path)) + QLatin1Char('"');
}

// Why a file cannot be taken from `path` any more, empty when it still is what was left
// there (`stamp`).
QString ChangedSince(const QByteArray& path, const FileStamp& stamp, const QString& what) {
    const FileStamp now = FileStamp::Of(path);
    if (!now.IsValid())
        return QCoreApplication::translate("CUndoHistory", "%1 is no longer in %2")
            .arg(what, Folder(path));
    if (!now.SameFile(stamp))
        return QCoreApplication::translate("CUndoHistory", "%1 in %2 has changed since")
            .arg(what, Folder(path));
    return {};
}

// The outcome of a file operation as the reason it failed, empty when it was done.
QString Failure(const CFileOpResult& result) {
    switch (result.outcome) {
    case CFileOpResult::Outcome::Done:
        return {};
    case CFileOpResult::Outcome::Skipped:
        return QCoreApplication::translate("CUndoHistory", "it was skipped");
    case CFileOpResult::Outcome::Cancelled:
        return QCoreApplication::translate("CUndoHistory", "it was cancelled");
    case CFileOpResult::Outcome::Failed:
        break;
    }
    return result.error.isEmpty()
               ? QCoreApplication::translate("CUndoHistory", "the file operation failed")
               : result.error;
}

} // namespace

CUndoHistory::CUndoHistory(std::unique_ptr<CSortJournal> journal, QObject* parent)
    : QObject(parent), m_journal(std::move(journal)) {
}

CUndoHistory::~CUndoHistory() {
    if (Installed() == this)
        Install(nullptr);
}

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
    const QList<SortRecord>& records = Records();
    for (auto it = records.rbegin(); it != records.rend(); ++it)
        if (it->state == State::Done)
            return &*it;
    return nullptr;
}

const SortRecord* CUndoHistory::RedoCandidate() const {
    const SortRecord* oldest = nullptr;
    const QList<SortRecord>& records = Records();
    for (auto it = records.rbegin(); it != records.rend(); ++it) {
        if (it->state == State::Undone)
            oldest = &*it;
        else if (it->state != State::Failed)
            break;
    }
    return oldest;
}

bool CUndoHistory::CanBeUndone(const SortRecord& record) {
    if (record.kind == Kind::Delete)
        return false;
    for (const SortEntry& e : record.entries) {
        if (e.target.isEmpty())
            continue;
        if (record.kind == Kind::Trash && !FileStamp::Of(e.target).SameFile(e.targetStamp))
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
        else if (it->state != State::Failed)
            break;
    }
    for (quint64 seq : undone)
        Write(sort_lines::Change(seq, 'z'), false);
}

QList<CFileOpResult> CUndoHistory::Run(const CFileAction& action, const Operation& op) {
    SortRecord r;
    r.kind = action.kind;
    r.dest = action.dest;
    r.timeMs = QDateTime::currentMSecsSinceEpoch();
    for (const QByteArray& file : action.files)
        r.entries.append({file, FileStamp::Of(file), {}, {}, {}});
    bool bRecorded = IsAvailable();
    if (bRecorded) {
        DropRedoable();
        r.seq = m_journal->NextSeq();
        bRecorded = Write(sort_lines::Intent(r), true);
    }
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
    }
    At(Point::Operated);
    r.state = bAny ? State::Done : State::Failed;
    if (bRecorded)
        bRecorded =
            Write(bAny ? sort_lines::Change(r.seq, 'D', r.entries) : sort_lines::Change(r.seq, 'F'),
                  true);
    At(Point::Recorded);
    Q_EMIT Performed(r, bRecorded);
    Q_EMIT Changed();
    return results;
}

CUndoHistory::Outcome CUndoHistory::Undo(CFileOpUi& ui) {
    const SortRecord* r = UndoCandidate();
    if (!r)
        return {
            false, QCoreApplication::translate("CUndoHistory", "There is nothing to undo."), {}};
    return Step(*r, true, ui);
}

CUndoHistory::Outcome CUndoHistory::Redo(CFileOpUi& ui) {
    const SortRecord* r = RedoCandidate();
    if (!r)
        return {
            false, QCoreApplication::translate("CUndoHistory", "There is nothing to redo."), {}};
    return Step(*r, false, ui);
}

CUndoHistory::Outcome CUndoHistory::UndoUpTo(quint64 seq, CFileOpUi& ui) {
    Outcome all{true, {}, {}};
    for (;;) {
        const SortRecord* r = UndoCandidate();
        if (!r || r->seq < seq)
            return all;
        Outcome one = Step(*r, true, ui);
        all.restored += one.restored;
        all.message = one.message;
        if (!one.bDone) {
            all.bDone = false;
            return all;
        }
    }
}

// Undoes or redoes one action: announced and flushed first, then the files, then the
// outcome. Files of the action already handled are put back when a later one fails, so
// that an action is always whole on one side.
CUndoHistory::Outcome CUndoHistory::Step(const SortRecord& record, bool bUndo, CFileOpUi& ui) {
    const SortRecord r = record; // the journal's copy changes as lines are written
    const QString what = undo_texts::Describe(r);
    if (bUndo && !CanBeUndone(r))
        return {false,
                QCoreApplication::translate("CUndoHistory", "Cannot undo %1: %2.")
                    .arg(what, undo_texts::WhyNot(r)),
                {}};
    if (!Write(sort_lines::Change(r.seq, bUndo ? 'u' : 'r'), true))
        return {false,
                QCoreApplication::translate("CUndoHistory", "Cannot undo %1: %2.")
                    .arg(what, UnavailableReason()),
                {}};
    At(Point::Announced);
    CFileOperations ops(ui);
    QList<SortEntry> entries = r.entries;
    QString error;
    qsizetype failedAt = -1;
    for (qsizetype i = entries.size() - 1; i >= 0 && error.isEmpty(); --i) {
        if (entries[i].target.isEmpty())
            continue;
        error = bUndo ? UndoEntry(r, entries[i], ops) : RedoEntry(r, entries[i], ops);
        if (!error.isEmpty())
            failedAt = i;
    }
    for (qsizetype i = failedAt + 1; failedAt >= 0 && i < entries.size(); ++i)
        if (!entries[i].target.isEmpty())
            (void)(bUndo ? RedoEntry(r, entries[i], ops) : UndoEntry(r, entries[i], ops));
    At(Point::Operated);
    Outcome out;
    out.bDone = error.isEmpty();
    if (out.bDone) {
        Write(sort_lines::Change(r.seq, bUndo ? 'U' : 'R', entries), true);
        for (auto e = entries.crbegin(); e != entries.crend(); ++e)
            out.restored.append(bUndo ? e->source : e->target);
        out.message = undo_texts::StepDone(r, bUndo);
    } else {
        Write(sort_lines::Change(r.seq, 'x'), true);
        out.message =
            QCoreApplication::translate("CUndoHistory", "Cannot %1 %2: %3.  Nothing was changed.")
                .arg(bUndo ? QCoreApplication::translate("CUndoHistory", "undo")
                           : QCoreApplication::translate("CUndoHistory", "redo"),
                     what, error);
    }
    At(Point::Recorded);
    Q_EMIT Changed();
    return out;
}

QString CUndoHistory::UndoEntry(const SortRecord& r, SortEntry& e, CFileOperations& ops) {
    const QByteArray dir = CNativePath::DirName(e.source);
    const QByteArray name = CNativePath::FileName(e.source);
    switch (r.kind) {
    case Kind::Delete:
        return undo_texts::WhyNot(r);
    case Kind::Copy: {
        const QString changed = ChangedSince(
            e.target, e.targetStamp, QCoreApplication::translate("CUndoHistory", "The copy"));
        if (!changed.isEmpty())
            return changed;
        return Failure(ops.Delete(e.target, true));
    }
    case Kind::Trash: {
        if (!FileStamp::Of(e.target).SameFile(e.targetStamp))
            return QCoreApplication::translate("CUndoHistory",
                                               "the file is no longer in the trash");
        if (!FolderExists(dir))
            return QCoreApplication::translate("CUndoHistory", "the folder %1 is gone")
                .arg(Folder(e.source));
        const int error = CTrash::Restore(e.target, e.info, e.source);
        if (error == 0)
            break;
        if (error != EEXIST)
            return qt_error_string(error);
        const CFileOpResult moved = ops.Move(e.target, dir, name); // the user chooses
        if (!moved.Succeeded())
            return Failure(moved);
        CTrash::DropInfo(e.target, e.info);
        e.source = moved.target;
        break;
    }
    case Kind::Move:
    case Kind::Rename: {
        const QString changed = ChangedSince(e.target, e.targetStamp, Name(e.target));
        if (!changed.isEmpty())
            return changed;
        if (!FolderExists(dir))
            return QCoreApplication::translate("CUndoHistory", "the folder %1 is gone")
                .arg(Folder(e.source));
        // A rename goes back by a rename, which takes folders too and never replaces.
        const CFileOpResult moved =
            r.kind == Kind::Rename ? ops.Rename(e.target, name) : ops.Move(e.target, dir, name);
        if (!moved.Succeeded())
            return Failure(moved);
        e.source = moved.target;
        break;
    }
    }
    e.sourceStamp = FileStamp::Of(e.source);
    return {};
}

QString CUndoHistory::RedoEntry(const SortRecord& r, SortEntry& e, CFileOperations& ops) {
    const QString changed = ChangedSince(e.source, e.sourceStamp, Name(e.source));
    if (!changed.isEmpty())
        return changed;
    CFileOpResult result;
    switch (r.kind) {
    case Kind::Delete:
        return undo_texts::WhyNot(r);
    case Kind::Copy:
    case Kind::Move: {
        const QByteArray dir = r.dest;
        if (!FolderExists(dir))
            return QCoreApplication::translate("CUndoHistory", "the folder %1 is gone")
                .arg(QLatin1Char('"') + CNativePath::Display(dir) + QLatin1Char('"'));
        const QByteArray name = CNativePath::FileName(e.target);
        result =
            r.kind == Kind::Copy ? ops.Copy(e.source, dir, name) : ops.Move(e.source, dir, name);
        break;
    }
    case Kind::Rename:
        result = ops.Rename(e.source, r.dest);
        break;
    case Kind::Trash:
        result = ops.Delete(e.source, true);
        break;
    }
    if (!result.Succeeded())
        return Failure(result);
    e.target = result.target;
    e.targetStamp = FileStamp::Of(e.target);
    e.info = result.info;
    return {};
}
