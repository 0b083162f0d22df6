#include "sorting/session/CSortSession.h"

#include "sorting/order/CPictureOrder.h"

#include "browser/controls/CListCtrlModel.h"
#include "platform/system/CNativePath.h"
#include "platform/ui/CFileOpDialogs.h"
#include "resources/FileTypes.h"
#include "sorting/session/CSortJob.h"
#include "sorting/session/CSortQueue.h"
#include "sorting/session/CTakenRows.h"
#include "sorting/session/CWorkerFileOpUi.h"
#include "sorting/session/Companions.h"
#include "sorting/session/MoveOnRule.h"
#include "sorting/session/PictureStatus.h"

#include <QCoreApplication>
#include <QFile>
#include <QItemSelectionModel>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <fcntl.h>
#include <memory>
#include <optional>

namespace {
// A name with the ending of a picture type, as counted among the hidden ones.
bool IsPictureName(const QByteArray& path) {
    static const QStringList endings = filetypes::PictureEndings();
    const QString name = QFile::decodeName(CNativePath::FileName(path));
    for (const QString& ending : endings)
        if (name.endsWith(ending, Qt::CaseInsensitive))
            return true;
    return false;
}
} // namespace

CSortSession::CSortSession(QObject* parent)
    : QObject(parent), m_pModel(new CListCtrlModel(this)),
      m_pSelection(new QItemSelectionModel(m_pModel, this)), m_pOrder(new CPictureOrder(this)),
      m_pQueue(new CSortQueue(this)) {
    qRegisterMetaType<SortAction>();
    m_pWorkerUi = std::make_unique<CWorkerFileOpUi>(
        *m_pQueue, [this]() -> CFileOpUi& { return GuiUi(); },
        [this](const QString& line) { SetBusyText(&m_strProgress, line); });
    const auto tellSelection = [this] {
        const auto count = m_pSelection->hasSelection() ? m_pSelection->selectedRows().size() : 0;
        Q_EMIT SelectionChanged(picture_status::SelectedPicturesText(int(count)));
    };
    connect(m_pSelection, &QItemSelectionModel::selectionChanged, this, tellSelection);
    connect(m_pModel, &QAbstractItemModel::modelReset, this, tellSelection);
    qRegisterMetaType<CFileOpResult>();
}

CSortSession::~CSortSession() {
    m_pQueue->Finish();
}

void CSortSession::SetDialogParent(QWidget* parent) {
    m_pDialogParent = parent;
    m_pDialogs.reset();
}

CFileOpUi& CSortSession::GuiUi() {
    if (m_pUi)
        return *m_pUi;
    if (!m_pDialogs)
        m_pDialogs =
            std::make_unique<CFileOpDialogs>(m_pDialogParent ? m_pDialogParent->window() : nullptr);
    return *m_pDialogs;
}

void CSortSession::FinishActions() {
    if (m_pQueue->Pending() == 0)
        return;
    QTimer tell;
    tell.setSingleShot(true);
    connect(&tell, &QTimer::timeout, this,
            [this] { SetBusyText(&m_strFinishing, picture_status::FinishingText(m_nPending)); });
    tell.start(CWorkerFileOpUi::kShowAfterMs);
    m_pQueue->Finish();
    SetBusyText(&m_strFinishing, QString());
}

void CSortSession::PostFileWork(FileWork work, std::shared_ptr<CFileOpUi> gui) {
    ++m_nPending;
    auto ui = std::make_shared<CWorkerFileOpUi>(
        *m_pQueue, [gui]() -> CFileOpUi& { return *gui; },
        [this](const QString& line) { SetBusyText(&m_strProgress, line); });
    m_pQueue->Post([this, work = std::move(work), ui]() -> CSortQueue::Completion {
        return [this, then = work(*ui), ui] { // the interfaces go on the GUI thread
            --m_nPending;
            if (then)
                then();
            if (m_nPending == 0)
                Q_EMIT ActionsIdle();
        };
    });
}

void CSortSession::SetBusyText(QString* slot, const QString& text) {
    if (*slot == text)
        return;
    *slot = text;
    PublishStatus();
}

void CSortSession::SetPictures(const QList<QByteArray>& files, int current) {
    const QByteArray before = CurrentNative();
    m_pModel->BeginBatch();
    m_pModel->DeleteAllItems();
    for (const QByteArray& file : files)
        m_pModel->InsertItem(Count(), QFile::decodeName(CNativePath::FileName(file)), -1, 0, file);
    m_pModel->EndBatch();
    if (!files.isEmpty() && CNativePath::DirName(files.first()) != m_folder.Path())
        m_folder = CListedFolder::Take(CNativePath::DirName(files.first()));
    m_current = current >= 0 && current < Count() ? m_pModel->index(current) : QModelIndex();
    m_travel = Travel::Forward;
    if (CurrentNative() != before) {
        TakeShown();
        Q_EMIT CurrentChanged(CurrentPath());
    }
}

QList<QByteArray> CSortSession::Pictures() const {
    QList<QByteArray> files;
    files.reserve(Count());
    for (int i = 0; i < Count(); ++i)
        files.append(m_pModel->ItemNative(i));
    return files;
}

int CSortSession::Count() const {
    return m_pModel->Count();
}

QByteArray CSortSession::PictureAt(int n) const {
    return m_pModel->ItemNative(n);
}

int CSortSession::IndexOf(const QByteArray& file) const {
    return m_pModel->FindNative(file);
}

void CSortSession::SetFolder(const CListedFolder& folder) {
    m_folder = folder;
}

void CSortSession::SetCurrent(int n) {
    if (n < -1 || n >= Count())
        n = -1;
    const int current = Current();
    if (n >= 0 && current >= 0 && n != current)
        m_travel = n > current ? Travel::Forward : Travel::Backward;
    const bool bAgain = n >= 0 && n == current;
    ChangeCurrent(n);
    if (bAgain)
        TakeShown(); // chosen again, so shown again as it is now
}

void CSortSession::ChangeCurrent(int n) {
    const QByteArray before = CurrentNative();
    m_current = n >= 0 && n < Count() ? m_pModel->index(n) : QModelIndex();
    if (CurrentNative() != before || n < 0)
        m_facts = PictureFacts();
    if (CurrentNative() != before) {
        TakeShown();
        Q_EMIT CurrentChanged(CurrentPath());
    }
}

void CSortSession::TakeShown() {
    m_pQueue->Post([note = m_pShown, file = CurrentNative()]() -> CSortQueue::Completion {
        note->file = file;
        note->identity =
            file.isEmpty() ? CFileIdentity() : CFileIdentity::At(AT_FDCWD, file.constData());
        return {};
    });
}

QByteArray CSortSession::CurrentNative() const {
    return PictureAt(Current());
}

QString CSortSession::CurrentPath() const {
    return QFile::decodeName(CurrentNative());
}

bool CSortSession::Move(const QString& destDir) {
    return Run(Chosen(SortAction::Kind::Move, CNativePath::FromText(destDir), true));
}

bool CSortSession::Copy(const QString& destDir) {
    return Run(Chosen(SortAction::Kind::Copy, CNativePath::FromText(destDir), true));
}

bool CSortSession::Delete(bool bToTrash) {
    return Run(Chosen(SortAction::Kind::Delete, QByteArray(), bToTrash));
}

// The pictures an action takes: every selected one when more than one is selected, else
// the current one.
SortAction CSortSession::Chosen(SortAction::Kind kind, const QByteArray& destDir,
                                bool bToTrash) const {
    SortAction action{kind, CurrentNative(), destDir, bToTrash, Current(), {}, {}};
    for (const QModelIndex& index : m_pSelection->selectedRows())
        action.rows.append(index.row());
    std::sort(action.rows.begin(), action.rows.end());
    if (action.rows.size() < 2)
        action.rows = action.index >= 0 ? QList<int>{action.index} : QList<int>{};
    for (int row : std::as_const(action.rows))
        action.files.append(PictureAt(row));
    return action;
}

// The one way every sort action takes. The rows leave the list and the session moves on at
// once; the worker then does the file work, through one descriptor of the listed folder.
bool CSortSession::Run(SortAction action) {
    if (action.rows.isEmpty())
        return false;
    ++m_nPending;
    Q_EMIT ActionStarting(action);
    const QByteArray dir = CNativePath::DirName(action.files.first());
    QList<CSortGroup::Picture> pictures;
    for (const QByteArray& file : std::as_const(action.files))
        pictures.append({CNativePath::FileName(file), std::nullopt});
    // Companions are looked for among the names the list read and follows, not on the disk.
    auto job = std::make_shared<const CSortJob>(
        action, m_folder, pictures, m_bCompanions,
        m_folderNames.IsOf(dir) ? std::optional(m_folderNames.names) : std::nullopt);
    auto taken = std::make_shared<CTakenRows>(*m_pModel);
    // Given before the move on, whose note of the next picture follows it on the worker.
    m_pQueue->Post(
        [this, job, taken, recorder = m_pRecorder, note = m_pShown]() -> CSortQueue::Completion {
            // The picture on show must be the file noted when it became current (a note of
            // another file: the picture was never shown as such, and is refused).
            const CFileIdentity shown =
                note->file == job->Action().file ? note->identity : CFileIdentity();
            auto out = std::make_shared<CSortJob::Outcome>(job->Run(recorder, *m_pWorkerUi, shown));
            return [this, job, taken, out] {
                Conclude(job->Action(), *taken, out->files, out->results, out->gone);
            };
        });
    int next = Current();
    if (action.kind == SortAction::Kind::Copy) {
        next = move_on::AfterCopy(action.rows.last(), Count(), true);
    } else {
        const int countBefore = Count();
        const QList<int> leaving = RowsLeaving(action);
        for (qsizetype i = leaving.size() - 1; i >= 0; --i) {
            if (m_pSelection->currentIndex().row() == leaving.at(i))
                m_pSelection->clear(); // nothing is current until the move on
            taken->Take(leaving.at(i));
            Q_EMIT PictureRemoved(leaving.at(i));
        }
        next = move_on::AfterGroupRemoval(action.rows, leaving, countBefore, Current());
    }
    m_travel = Travel::Sorted;
    ChangeCurrent(next);
    Q_EMIT MovedOn(next);
    if (action.kind != SortAction::Kind::Copy)
        PublishFileCount();
    return true;
}

// The rows an action takes out of the list at once: the chosen pictures and, when
// companions go with them, the listed twins of those; ascending.
QList<int> CSortSession::RowsLeaving(const SortAction& action) const {
    QList<int> rows = action.rows;
    if (m_bCompanions)
        for (int row : companions::ListedTwins(action.files, Pictures()))
            if (!rows.contains(row))
                rows.append(row);
    std::sort(rows.begin(), rows.end());
    return rows;
}

// The outcome on the GUI thread: files that went stay out of the list, files that did not
// go come back, and the first chosen picture that stayed is current again.
void CSortSession::Conclude(const SortAction& action, CTakenRows& taken,
                            const QList<QByteArray>& files, const QList<CFileOpResult>& results,
                            const QList<QByteArray>& gone) {
    // The list shows another folder by now: the outcome is the disk's alone, and the rows
    // taken go with their taker.
    const bool bListed = m_folder.Path() == CNativePath::DirName(action.file);
    QByteArray stayed;
    const int countBefore = Count();
    const int hiddenBefore = m_nHidden;
    for (qsizetype i = 0; i < files.size() && bListed; ++i) {
        const QByteArray& file = files.at(i);
        const bool bLeft = results.value(i).Succeeded() && action.kind != SortAction::Kind::Copy;
        if (bLeft || gone.contains(file)) {
            LetGo(taken, file);
        } else if (!results.value(i).Succeeded() && stayed.isEmpty() &&
                   action.files.contains(file) && !gone.contains(file)) {
            stayed = file;
        }
    }
    bool bBack = false; // the last taken goes back first: each finds its neighbours again
    const QList<QByteArray> back = bListed ? taken.Files() : QList<QByteArray>();
    for (auto it = back.crbegin(); it != back.crend(); ++it)
        bBack = taken.PutBack(*it) >= 0 || bBack;
    if (bBack)
        Q_EMIT PicturesRestored();
    if (!stayed.isEmpty())
        BringBack(stayed);
    if (bBack || countBefore != Count() || hiddenBefore != m_nHidden)
        PublishFileCount();
    --m_nPending;
    Q_EMIT ActionFinished(action, results.value(0));
    if (m_nPending == 0)
        Q_EMIT ActionsIdle();
}

// A file that left the folder leaves the list: its row taken already, or any listed
// companion (a companion the filter hid is no longer counted as hidden).
void CSortSession::LetGo(CTakenRows& taken, const QByteArray& file) {
    if (taken.Holds(file)) {
        taken.Drop(file);
    } else if (const int at = IndexOf(file); at >= 0) {
        RemoveRow(at);
        Q_EMIT PictureRemoved(at);
    } else if (m_nHidden > 0 && IsPictureName(file)) {
        --m_nHidden;
    }
}

// A picture that stayed where it was is current and selected again.
void CSortSession::BringBack(const QByteArray& file) {
    const int n = IndexOf(file);
    if (n < 0)
        return;
    m_travel = Travel::Sorted;
    ChangeCurrent(n);
    m_pSelection->setCurrentIndex(m_pModel->index(n), QItemSelectionModel::ClearAndSelect);
    Q_EMIT MovedOn(n);
}

// Without a current row the views select no neighbour by themselves: the move-on rule
// chooses the next picture.
void CSortSession::RemoveRow(int n) {
    if (m_pSelection->currentIndex().row() == n)
        m_pSelection->clear();
    m_pModel->DeleteItem(n);
}

QStringList CSortSession::PrefetchCandidates() const {
    const int n = Current();
    if (n < 0)
        return {};
    const bool bBack = m_travel == Travel::Backward;
    QStringList paths;
    for (int i : {bBack ? n - 1 : n + 1, bBack ? n + 1 : n - 1}) {
        if (i < 0 || i >= Count())
            continue;
        // A name that does not survive the trip through text cannot be opened by it.
        const QByteArray file = PictureAt(i);
        const QString path = QFile::decodeName(file);
        if (QFile::encodeName(path) == file)
            paths.append(path);
    }
    return paths;
}

void CSortSession::SetPictureFacts(const PictureFacts& facts) {
    m_facts = facts;
    PublishStatus();
}

void CSortSession::PublishStatus() {
    Q_EMIT StatusTextChanged(StatusText());
    Q_EMIT TitleChanged(Title());
}

void CSortSession::PublishFileCount() {
    Q_EMIT FileCountChanged(FileCountText());
}

// A picture that could not be shown gets the reason in place of its figures, which would
// otherwise still describe the previous picture.
QString CSortSession::StatusText() const {
    if (!m_strFinishing.isEmpty())
        return m_strFinishing;
    if (!m_strProgress.isEmpty())
        return m_strProgress;
    return picture_status::PictureText(CurrentPath(), m_facts);
}

QString CSortSession::Title() const {
    const QString path = CurrentPath();
    return path.isEmpty() ? picture_status::IdleTitle() : picture_status::TitleFileName(path);
}

QString CSortSession::FileCountText() const {
    return picture_status::FileCountText(Count());
}
