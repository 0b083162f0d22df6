#pragma once

#include "platform/files/CFileIdentity.h"
#include "platform/files/CFileOpResult.h"
#include "platform/files/CListedFolder.h"
#include "platform/files/FolderNames.h"
#include "sorting/session/Companions.h"
#include "sorting/session/PictureFacts.h"
#include "sorting/session/SortAction.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <memory>

class CFileActionHook;
class CListCtrlModel;
class CPictureOrder;
class QItemSelectionModel;
class CFileOpUi;
class CFileOpDialogs;
class CSortQueue;
class CTakenRows;
class CWorkerFileOpUi;
class QWidget;

// What a sort is about, without any window: the pictures of the listed folder in display
// order, the current one, the actions that send it away (move, copy, delete) and the
// status texts that describe it. It owns the list of pictures (Model) and the selection on
// it: the file list is a view on both, and whatever fills, sorts or changes the rows does
// it there, so the session always acts on what the list shows. The current picture stays
// current by its row wherever the row moves, and is none once its row is gone. Views
// follow the rest through its signals.
//
// Every sort action passes Run: ActionStarting as it is given, ActionFinished once the list
// and the current picture show the outcome. The key does not wait for the disk: the chosen
// pictures (and their listed twins) leave the list and the session moves on at once, and the
// file work runs on the session's worker, one action after the other (CSortQueue). A
// picture that did not go comes back into the list where it stood and is current again;
// the file operations have told why. Questions and errors are put to the user on the GUI
// thread while the worker waits for the answer.
//
// An action acts only on the file that was listed and shown: the folder is opened again
// and must be the one listed (SetFolder), and the picture must be the file its name led to
// when it became current; companions are found through that same folder. Otherwise the
// action is refused as failed and nothing is touched.
class CSortSession : public QObject {
    Q_OBJECT
public:
    explicit CSortSession(QObject* parent = nullptr);
    ~CSortSession() override; // finishes the actions still pending

    // Where the file operations ask and report; not owned. Without one they use message
    // boxes and a progress dialog over DialogParent's window.
    void SetFileOpUi(CFileOpUi* ui) { m_pUi = ui; }
    void SetDialogParent(QWidget* parent);
    // Where every action is recorded before the disk is touched and after (the undo
    // journal); not owned, null to record nothing. It records on the session's worker
    // (see CFileActionHook) and must outlive the actions given while it was set.
    void SetActionRecorder(CFileActionHook* recorder) { m_pRecorder = recorder; }

    // The listed pictures, and the selection the views on them share.
    CListCtrlModel& Model() const { return *m_pModel; }
    QItemSelectionModel& Selection() const { return *m_pSelection; }
    // The names of every entry of the listed folder, which the list keeps as it reads and
    // follows the folder; a picture's companions are found among them.
    SFolderNames& FolderNames() { return m_folderNames; }
    // The order the pictures are shown in (View > Sort By), which the list follows.
    CPictureOrder& Order() const { return *m_pOrder; }
    // Lists these pictures (native paths) in this order, in place of the rows there were,
    // with picture `current` current (-1: none).
    void SetPictures(const QList<QByteArray>& files, int current = -1);
    // The folder the pictures were listed from, as the listing read it. Pictures of
    // another folder make that folder the listed one, taken as it is then.
    void SetFolder(const CListedFolder& folder);
    QList<QByteArray> Pictures() const;
    int Count() const;
    QByteArray PictureAt(int n) const;
    // The row of the picture with this path, or -1.
    int IndexOf(const QByteArray& file) const;

    // Makes picture n current (-1: none), as the user chose it.
    void SetCurrent(int n);
    int Current() const { return m_current.isValid() ? m_current.row() : -1; }
    QByteArray CurrentNative() const;
    QString CurrentPath() const;

    // The sort actions on the current picture, or on every selected one when more than one
    // is selected (one action of the journal); true when the action was given to the worker
    // (false: nothing to act on). The pictures leave the list at once, and the one after the
    // last chosen becomes current (see MovedOn); ActionFinished tells the outcome.
    bool Move(const QString& destDir);
    bool Copy(const QString& destDir);
    bool Delete(bool bToTrash);
    // Other file work of the window (an undo, a redo) on the session's worker, after every
    // action given before it and before those given after it: `work` runs there, asks and
    // reports through a worker's interface to `gui` (put to it on the GUI thread while the
    // worker waits, as an action's questions are), and hands back what follows on the GUI
    // thread. It is pending, as an action is, until that has run.
    using FileWork = std::function<std::function<void()>(CFileOpUi& ui)>;
    void PostFileWork(FileWork work, std::shared_ptr<CFileOpUi> gui);
    // The actions (and other file work) given whose outcome is not shown yet.
    int PendingActions() const { return m_nPending; }
    // Returns once no action is pending and the worker has noted the picture on show; user
    // input waits meanwhile. After half a second the status bar says what is being finished.
    void FinishActions();
    // How many companion files the listed picture `picture` (a native path) has by the
    // listed folder's names, without asking the disk; looked up there only while the
    // folder's names are not known yet.
    int CompanionCount(const QByteArray& picture) const {
        return companions::Count(picture, m_folderNames);
    }
    // How many pictures the next action takes.
    int ChosenCount() const { return int(Chosen(SortAction::Kind::Copy, {}, true).rows.size()); }

    // Whether a picture's companion files (its sidecars and its RAW or JPEG twin) go with it
    // in every action; on unless switched off. They are done as one action with it, after
    // it and only when it went; a companion that was listed leaves the list with it.
    void SetMoveCompanions(bool bMove) { m_bCompanions = bMove; }
    bool MovesCompanions() const { return m_bCompanions; }

    // The pictures most likely shown next, most likely first: after a sort the one the
    // next sort would move on to; when stepping, the next one in the direction of travel,
    // then the one behind. Names that cannot be written as text are left out.
    QStringList PrefetchCandidates() const;

    // How many pictures the file-type filter hides in the listed folder; the window tells
    // it beside the file count (sent with FileCountChanged), never in the status text.
    void SetHiddenCount(int count) { m_nHidden = count; }
    int HiddenCount() const { return m_nHidden; }

    // What the view found out about the current picture.
    void SetPictureFacts(const PictureFacts& facts);
    // Sends the texts of the status bar and the caption (StatusTextChanged, TitleChanged)
    // and the file count (FileCountChanged).
    void PublishStatus();
    void PublishFileCount();
    QString StatusText() const;
    QString Title() const;
    QString FileCountText() const;

Q_SIGNALS:
    // The current picture changed: its path, empty for none.
    void CurrentChanged(const QString& path);
    // Picture n left the list (moved or deleted).
    void PictureRemoved(int n);
    // After an action the session went on to picture n (-1: none left).
    void MovedOn(int n);
    void ActionStarting(const SortAction& action);
    void ActionFinished(const SortAction& action, const CFileOpResult& result);
    // Pictures that did not go came back into the list (their rows may stand out of order).
    void PicturesRestored();
    // No action is pending any more.
    void ActionsIdle();
    void StatusTextChanged(const QString& text);
    void TitleChanged(const QString& title);
    void FileCountChanged(const QString& text);
    // How many pictures are selected changed (text: "12 pictures selected", or empty).
    void SelectionChanged(const QString& text);

private:
    enum class Travel { Forward, Backward, Sorted };

    SortAction Chosen(SortAction::Kind kind, const QByteArray& destDir, bool bToTrash) const;
    bool Run(SortAction action);
    QList<int> RowsLeaving(const SortAction& action) const;
    void Conclude(const SortAction& action, CTakenRows& taken, const QList<QByteArray>& files,
                  const QList<CFileOpResult>& results, const QList<QByteArray>& gone);
    void LetGo(CTakenRows& taken, const QByteArray& file);
    void BringBack(const QByteArray& file);
    CFileOpUi& GuiUi();
    void SetBusyText(QString* slot, const QString& text);
    // Notes, on the worker, which file the current picture's name leads to now.
    void TakeShown();
    void ChangeCurrent(int n);
    void RemoveRow(int n);

    CListCtrlModel* m_pModel;
    QItemSelectionModel* m_pSelection;
    CPictureOrder* m_pOrder;
    CListedFolder m_folder;
    SFolderNames m_folderNames;
    QPersistentModelIndex m_current;
    // The file the current picture's name led to when it became current: noted on the
    // worker, in order with the actions (so an action finds the note of its picture), and
    // read only there.
    struct SShownNote {
        QByteArray file;
        CFileIdentity identity;
    };
    std::shared_ptr<SShownNote> m_pShown = std::make_shared<SShownNote>();
    Travel m_travel = Travel::Forward;
    PictureFacts m_facts;
    int m_nHidden = 0;
    bool m_bCompanions = true;
    CFileOpUi* m_pUi = nullptr;
    std::unique_ptr<CFileOpDialogs> m_pDialogs; // when no interface was set
    CSortQueue* m_pQueue;
    std::unique_ptr<CWorkerFileOpUi> m_pWorkerUi;
    QString m_strProgress;  // how far a long copy has come
    QString m_strFinishing; // the window waits for pending actions
    int m_nPending = 0;     // actions given whose outcome is not shown yet
    CFileActionHook* m_pRecorder = nullptr;
    QPointer<QWidget> m_pDialogParent;
};
