#include "app/CUndoCommands.h"

#include "dialogs/CHistoryDlg.h"
#include "platform/system/CNativePath.h"
#include "platform/system/CProfileStore.h"
#include "platform/ui/CFileOpDialogs.h"
#include "platform/ui/CMessageBar.h"
#include "resources/CommandIds.h"
#include "sorting/journal/CUndoHistory.h"
#include "sorting/journal/UndoTexts.h"
#include "sorting/session/CSortSession.h"
#include "sorting/widgets/CListPlace.h"
#include "sorting/widgets/CPictureFileList.h"
#include "sorting/widgets/CRelistChoice.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QMessageBox>
#include <QTimer>

namespace {

// The dialogs of the file operations, with their errors kept back: an undo reports its
// failure once, with the reason, in a box of its own.
class CQuietErrors : public CFileOpDialogs {
public:
    using CFileOpDialogs::CFileOpDialogs;
    void ReportError(const QString&) override {}
};

} // namespace

CUndoCommands::CUndoCommands(const Seams& seams, CProfileStore& store)
    : QObject(seams.window), m_seams(seams), m_store(store) {
    m_history =
        new CUndoHistory(std::make_unique<CSortJournal>(CSortJournal::DefaultFolder()), this);
    m_history->Start();
    if (!m_history->Journal().Notice().isEmpty())
        QTimer::singleShot(0, this, &CUndoCommands::TellNotice);
    connect(m_history, &CUndoHistory::Changed, this, &CUndoCommands::UpdateActions);
    connect(m_history, &CUndoHistory::Performed, this, &CUndoCommands::OnPerformed);
    connect(seams.undo, &QAction::triggered, this, &CUndoCommands::OnUndo);
    connect(seams.redo, &QAction::triggered, this, &CUndoCommands::OnRedo);
    connect(seams.history, &QAction::triggered, this, &CUndoCommands::OnHistory);
    // While sort actions are pending, Undo comes after them and takes back the newest.
    CSortSession& session = seams.list->Session();
    m_steps = new CUndoSteps(
        *m_history, session,
        [window = QPointer<QWidget>(seams.window)] {
            return std::make_shared<CQuietErrors>(window);
        },
        this);
    connect(m_steps, &CUndoSteps::Given, this, &CUndoCommands::UpdateActions);
    connect(m_steps, &CUndoSteps::Finished, this, &CUndoCommands::OnStepFinished);
    connect(&session, &CSortSession::ActionStarting, this, &CUndoCommands::UpdateActions);
    connect(&session, &CSortSession::ActionsIdle, this, &CUndoCommands::UpdateActions);
    CMessageBar* bar = seams.messages;
    bar->SetActionText(QCoreApplication::translate("CUndoCommands", "Undo"),
                       QCoreApplication::translate("CUndoCommands", "Undo it (Ctrl+Z)"));
    connect(bar, &CMessageBar::ActionClicked, seams.undo, &QAction::trigger);
    UpdateActions();
}

CUndoCommands::~CUndoCommands() = default;

void CUndoCommands::UpdateActions() {
    QAction* undo = m_seams.undo;
    QAction* redo = m_seams.redo;
    const SortRecord* toUndo = m_history->IsAvailable() ? m_steps->ForeseenUndo() : nullptr;
    const SortRecord* toRedo = m_history->IsAvailable() ? m_steps->ForeseenRedo() : nullptr;
    QString undoText = undo_texts::UndoItem(toUndo, m_history->IsAvailable());
    const bool bUndoable = toUndo && m_history->Trash().LooksUndoable(*toUndo);
    if (toUndo)
        m_history->Trash().Check(*toUndo);
    if (toUndo && !bUndoable)
        undoText = QCoreApplication::translate("CUndoCommands", "Can't Undo %1 (%2)")
                       .arg(undo_texts::Describe(*toUndo), undo_texts::WhyNot(*toUndo));
    undo->setText(undoText + QStringLiteral("\tCtrl+Z"));
    undo->setToolTip(QString(undoText).remove(QLatin1Char('&')));
    undo->setEnabled(bUndoable || m_seams.list->Session().PendingActions() > m_steps->Pending());
    const QString redoText = undo_texts::RedoItem(toRedo);
    redo->setText(redoText + QStringLiteral("\tCtrl+Y"));
    redo->setToolTip(QString(redoText).remove(QLatin1Char('&')));
    redo->setEnabled(m_history->IsAvailable() && m_steps->RedoForeseen());
    if (m_dlgHistory)
        m_dlgHistory->Fill();
}

// The message goes up after the list has moved on and shows the next picture.
void CUndoCommands::OnPerformed(const SortRecord& record, bool bRecorded) {
    const bool bUndoable = bRecorded && m_history->Trash().LooksUndoable(record);
    const QString text = undo_texts::Performed(record, bUndoable);
    if (record.state == SortRecord::State::Done)
        QTimer::singleShot(0, this, [this, text, bUndoable] { ShowMessage(text, bUndoable); });
    if (!m_history->IsAvailable())
        QTimer::singleShot(0, this, &CUndoCommands::TellUnavailable);
}

// In the notification over the picture: the status bar keeps telling about the picture.
void CUndoCommands::ShowMessage(const QString& text, bool bOfferUndo) {
    m_strMessage = text;
    m_seams.messages->ShowMessage(text, bOfferUndo);
}

// Once per run, without stopping the sort.
void CUndoCommands::TellUnavailable() {
    if (m_bToldUnavailable)
        return;
    m_bToldUnavailable = true;
    auto* box =
        new QMessageBox(QMessageBox::Information, QStringLiteral("Vantrel"),
                        QCoreApplication::translate(
                            "CUndoCommands", "Undo is not available in this run: %1.  Sorting "
                                             "works as before, but actions cannot be undone.")
                            .arg(m_history->UnavailableReason()),
                        QMessageBox::Ok, m_seams.window);
    box->setObjectName(QStringLiteral("undoUnavailable"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

// Once: the journal found at the start was set aside.
void CUndoCommands::TellNotice() {
    auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Vantrel"),
                                m_history->Journal().Notice(), QMessageBox::Ok, m_seams.window);
    box->setObjectName(QStringLiteral("journalSetAside"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void CUndoCommands::OnUndo() {
    m_steps->Undo();
}

void CUndoCommands::OnRedo() {
    m_steps->Redo();
}

void CUndoCommands::UndoUpTo(quint64 seq) {
    m_steps->UndoUpTo(seq);
}

// The list's place is taken as the outcome comes: the person may have gone on meanwhile.
void CUndoCommands::OnStepFinished(CUndoSteps::Kind kind, const CUndoHistory::Outcome& out) {
    CListPlace place(*m_seams.list);
    const bool bRedo = kind == CUndoSteps::Kind::Redo;
    AfterStep(out.bDone, out.message, bRedo ? QList<QByteArray>() : out.restored, place, bRedo);
    UpdateActions();
}

// An undone picture in the folder on show is selected and shown, ready to be sorted again;
// else the picture that was shown, or the next one.
void CUndoCommands::AfterStep(bool bDone, const QString& message, const QList<QByteArray>& restored,
                              CListPlace& place, bool bOfferUndo) {
    if (!bDone) {
        QMessageBox::warning(m_seams.window, QStringLiteral("Vantrel"), message);
        m_seams.list->setFocus();
        return;
    }
    // Read again on the worker; the newest picture brought back is chosen once listed.
    CRelistChoice::Start(*m_seams.list, QList<QByteArray>(restored.rbegin(), restored.rend()),
                         place);
    ShowMessage(message, bOfferUndo);
    m_seams.list->setFocus();
}

void CUndoCommands::OnHistory() {
    if (!m_dlgHistory) {
        m_dlgHistory = new CHistoryDlg(*m_history, m_seams.window);
        m_dlgHistory->setAttribute(Qt::WA_DeleteOnClose);
        connect(m_dlgHistory, &CHistoryDlg::UndoUpToRequested, this, &CUndoCommands::UndoUpTo);
        connect(m_dlgHistory, &CHistoryDlg::SkipRequested, this, [this](quint64 seq) {
            if (!m_history->Skip(seq))
                QMessageBox::warning(
                    m_seams.window, QStringLiteral("Vantrel"),
                    QCoreApplication::translate("CUndoCommands",
                                                "The action cannot be skipped: %1.")
                        .arg(m_history->IsAvailable()
                                 ? QCoreApplication::translate("CUndoCommands", "it is not done")
                                 : m_history->UnavailableReason()));
        });
    }
    m_dlgHistory->Fill();
    m_dlgHistory->show();
    m_dlgHistory->raise();
    m_dlgHistory->activateWindow();
}

bool CUndoCommands::ConfirmOutrightDelete(const QString& file) {
    if (m_bWarnedDelete || m_store.GetProfileInt(WarnSection(), WarnEntry(), 1) == 0)
        return true;
    QString what = file;
    const CSortSession& session = m_seams.list->Session();
    // Its companions go with it, and as surely: the user should know before, not after.
    if (const int chosen = session.ChosenCount(); chosen > 1)
        what = session.MovesCompanions()
                   ? QCoreApplication::translate("CUndoCommands",
                                                 "%1 pictures with their companion files")
                         .arg(chosen)
                   : QCoreApplication::translate("CUndoCommands", "%1 pictures").arg(chosen);
    else if (session.MovesCompanions())
        if (const int n = session.CompanionCount(CNativePath::FromText(file)); n > 0)
            what +=
                n == 1 ? QCoreApplication::translate("CUndoCommands", " and its companion file")
                       : QCoreApplication::translate("CUndoCommands", " and its %1 companion files")
                             .arg(n);
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Vantrel"),
                    QCoreApplication::translate(
                        "CUndoCommands", "The trash is switched off, so %1 will be deleted at once "
                                         "and this cannot be undone.")
                        .arg(what),
                    QMessageBox::Ok | QMessageBox::Cancel, m_seams.window);
    box.setObjectName(QStringLiteral("deleteWithoutUndo"));
    auto* dontAsk =
        new QCheckBox(QCoreApplication::translate("CUndoCommands", "Don't ask again"), &box);
    box.setCheckBox(dontAsk);
    const bool bGo = box.exec() == QMessageBox::Ok;
    if (bGo) {
        m_bWarnedDelete = true;
        if (dontAsk->isChecked())
            m_store.WriteProfileInt(WarnSection(), WarnEntry(), 0);
    }
    return bGo;
}
