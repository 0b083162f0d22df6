#pragma once

#include "sorting/journal/CUndoSteps.h"

#include <QObject>
#include <QPointer>
#include <QString>

class QWidget;

class CMessageBar;
class CPictureFileList;
class CProfileStore;
class CHistoryDlg;
class CListPlace;
class QAction;
struct SortRecord;

// The window's Undo, Redo and History commands over the journal of sort actions: it keeps
// their texts and states current, tells in the window's notification what each action did
// (with an Undo button while it can be undone), puts an undone picture back in the list,
// and warns once per run before a delete that cannot be undone. Undo and Redo run on the
// sort session's worker behind the sort actions still pending (CUndoSteps), so that they
// act on the journal as those left it; their outcome is shown when it comes.
class CUndoCommands : public QObject {
    Q_OBJECT
public:
    // What the commands act through: the window's three actions, the picture list (and its
    // session) an undone picture goes back to, the notification that tells what was done,
    // and the window the commands' questions stand over.
    struct Seams {
        QAction* undo = nullptr;
        QAction* redo = nullptr;
        QAction* history = nullptr;
        CPictureFileList* list = nullptr;
        CMessageBar* messages = nullptr;
        QWidget* window = nullptr;
    };
    CUndoCommands(const Seams& seams, CProfileStore& store);
    ~CUndoCommands() override;

    CUndoHistory& History() { return *m_history; }

    void OnUndo();
    void OnRedo();
    void OnHistory();
    void UndoUpTo(quint64 seq);
    // Before a delete with the trash switched off: true when it may go ahead. The first
    // one of a run asks, unless the user chose not to be asked again.
    bool ConfirmOutrightDelete(const QString& file);

    // Settings: 0 once the user chose "Don't ask again" for deletes that cannot be undone.
    static QString WarnSection() { return QStringLiteral("Undo"); }
    static QString WarnEntry() { return QStringLiteral("WarnDeleteWithoutTrash"); }

private:
    void UpdateActions();
    void OnPerformed(const SortRecord& record, bool bRecorded);
    void OnStepFinished(CUndoSteps::Kind kind, const CUndoHistory::Outcome& out);
    void ShowMessage(const QString& text, bool bOfferUndo);
    // After an undo or redo: the picture brought back is shown, else the list keeps its
    // place (CListPlace); the message tells what was done.
    void AfterStep(bool bDone, const QString& message, const QList<QByteArray>& restored,
                   CListPlace& place, bool bOfferUndo);
    void TellUnavailable();
    void TellNotice();

    Seams m_seams;
    CProfileStore& m_store;
    CUndoHistory* m_history = nullptr;
    CUndoSteps* m_steps = nullptr;
    QPointer<CHistoryDlg> m_dlgHistory;
    QString m_strMessage; // the last message told
    bool m_bToldUnavailable = false;
    bool m_bWarnedDelete = false;
};
