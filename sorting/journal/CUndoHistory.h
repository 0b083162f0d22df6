#pragma once

#include "platform/files/CFileActionHook.h"
#include "sorting/journal/CSortJournal.h"
#include "sorting/journal/CTrashCheck.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class CFileOpUi;
class CFileOperations;

// Every sort action, recorded in the journal as it happens, and undone or done again on
// request. Undo takes back the newest action not yet undone; Redo does again the oldest of
// the actions undone since the last new one. Both pass over actions that failed, that the
// user skipped, or whose record was damaged. An undo or redo that cannot be done safely
// (the file changed or went, the trash entry is gone) is taken back whole and says why.
// Without a journal (its folder cannot be written) the actions still run, unrecorded.
//
// The records and the journal belong to the history's thread (the GUI thread): everything
// but Run, Undo, Redo and UndoUpTo is called there. Those four may be called from a worker
// (the sort session's): the files are handled there, and the action to step is chosen and
// each line of the journal written on the history's thread (the worker waits for each but
// a step's last), so the lines keep their order and the records are never read while they
// change. That thread must therefore never wait for such a worker without serving its
// queued calls.
class CUndoHistory : public QObject, public CFileActionHook {
    Q_OBJECT
public:
    // The points of an action at which a test can stop the program.
    enum class Point { Announced, Operated, Recorded };

    struct Outcome {
        bool bDone = false;
        QString message;            // what happened, or why nothing did
        QList<QByteArray> restored; // for an undo: where the files are back, each action's
                                    // first file (the picture sorted) after its companions
    };

    explicit CUndoHistory(std::unique_ptr<CSortJournal> journal, QObject* parent = nullptr);
    ~CUndoHistory() override;

    // Opens the journal and settles the actions it left unfinished; false when there is no
    // journal this run (UnavailableReason() says why).
    bool Start();
    bool IsAvailable() const { return m_journal->IsOpen(); }
    QString UnavailableReason() const { return m_journal->Error(); }
    const QList<SortRecord>& Records() const { return m_journal->Records(); }
    const CSortJournal& Journal() const { return *m_journal; }
    CSortJournal& Journal() { return *m_journal; }

    // The action Undo would take back, and the one Redo would do again; null for none.
    const SortRecord* UndoCandidate() const;
    const SortRecord* RedoCandidate() const;
    // Whether the action can be taken back at all: not a delete outright nor damaged, and a
    // trashed file is still in the trash (looked at on the disk only with `bLook`).
    static bool CanBeUndone(const SortRecord& record, bool bLook = true);
    // The undo offer's view of the trash, which makes no file-system call on this thread.
    CTrashCheck& Trash() { return m_trash; }
    const CTrashCheck& Trash() const { return m_trash; }
    // The same choices over the records' states alone (oldest first), as places in it; -1
    // for none. What pending steps will leave is foreseen with them.
    static qsizetype UndoPlace(const QList<SortRecord::State>& states);
    static qsizetype RedoPlace(const QList<SortRecord::State>& states);
    QList<SortRecord::State> States() const;

    // On any thread (see above); `ui` is asked and told on the caller's.
    Outcome Undo(CFileOpUi& ui);
    Outcome Redo(CFileOpUi& ui);
    // Undoes the newest actions one by one until `seq` is undone; stops at the first that
    // cannot be undone.
    Outcome UndoUpTo(quint64 seq, CFileOpUi& ui);
    // Marks a done action as skipped: Undo passes over it to the older ones, and leaves its
    // files where they are. False when it is not a done action or cannot be recorded.
    bool Skip(quint64 seq);

    QList<CFileOpResult> Run(const CFileAction& action, const Operation& op) override;

    void SetTestHook(std::function<void(Point)> hook) { m_fnHook = std::move(hook); }

Q_SIGNALS:
    // An action ran (recorded or not) and ended with `record`.
    void Performed(const SortRecord& record, bool bRecorded);
    // An undo or redo of one action has its outcome recorded (just before Changed).
    void Stepped();
    // The journal changed: candidates, texts and the history list may differ.
    void Changed();

private:
    enum class Begun { Yes, Changed, Unwritten };
    struct SChosen {
        SortRecord record;
        std::optional<Begun> begun; // none: to be judged on the disk first
    };
    std::optional<SChosen> Choose(bool bUndo, quint64 floor = 0);
    std::optional<Outcome> Step(const SChosen& chosen, bool bUndo, CFileOpUi& ui);
    Begun Begin(const SortRecord& r, bool bUndo);
    Begun BeginOwn(const SortRecord& r, bool bUndo);
    void RecordOutcome(QByteArray line);
    static QList<QByteArray> TakeBack(const SortRecord& r, QList<SortEntry>& entries,
                                      qsizetype failedAt, bool bUndo, CFileOperations& ops);
    void OnOwnThread(const std::function<void()>& call);
    bool Announce(SortRecord& r);
    void Conclude(const SortRecord& r, bool& bRecorded);
    void DropRedoable();
    void Settle();
    bool Write(const QByteArray& line, bool bDurable);
    void At(Point point) const;

    std::unique_ptr<CSortJournal> m_journal;
    std::function<void(Point)> m_fnHook;
    CTrashCheck m_trash;
};
