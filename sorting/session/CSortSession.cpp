#include "sorting/session/CSortSession.h"

#include "sorting/order/CPictureOrder.h"

#include "browser/controls/CListCtrlModel.h"
#include "platform/system/CNativePath.h"
#include "platform/ui/CFileOpDialogs.h"
#include "platform/ui/CWaitCursor.h"
#include "resources/FileTypes.h"
#include "sorting/session/CSortGroup.h"
#include "sorting/session/MoveOnRule.h"
#include "sorting/session/PictureStatus.h"

#include <QCoreApplication>
#include <QFile>
#include <QItemSelectionModel>
#include <QWidget>
#include <algorithm>
#include <fcntl.h>
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
      m_pSelection(new QItemSelectionModel(m_pModel, this)), m_pOrder(new CPictureOrder(this)) {
    qRegisterMetaType<SortAction>();
    const auto tellSelection = [this] {
        const auto count = m_pSelection->hasSelection() ? m_pSelection->selectedRows().size() : 0;
        Q_EMIT SelectionChanged(picture_status::SelectedPicturesText(int(count)));
    };
    connect(m_pSelection, &QItemSelectionModel::selectionChanged, this, tellSelection);
    connect(m_pModel, &QAbstractItemModel::modelReset, this, tellSelection);
    qRegisterMetaType<CFileOpResult>();
}

void CSortSession::SetDialogParent(QWidget* parent) {
    m_pDialogParent = parent;
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
    const QByteArray file = CurrentNative();
    m_shown = file.isEmpty() ? CFileIdentity() : CFileIdentity::At(AT_FDCWD, file.constData());
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

// The one way every sort action takes. A failed action leaves the files where they were
// and the same picture current; the file operations have told the user why. The pictures
// and their companions are reached through one descriptor of the listed folder.
bool CSortSession::Run(SortAction action) {
    if (action.rows.isEmpty())
        return false;
    Q_EMIT ActionStarting(action);
    const QByteArray dir = CNativePath::DirName(action.files.first());
    QList<CSortGroup::Picture> pictures;
    for (qsizetype i = 0; i < action.files.size(); ++i)
        pictures.append(
            {CNativePath::FileName(action.files.at(i)),
             action.rows.at(i) == action.index ? std::optional(m_shown) : std::nullopt});
    // Companions are looked for among the names the list read and follows, not on the disk.
    CSortGroup group((dir == m_folder.Path() ? m_folder : CListedFolder::Take(dir)).Open(),
                     pictures, m_bCompanions,
                     m_folderNames.IsOf(dir) ? &m_folderNames.names : nullptr);
    const QList<QByteArray> files = group.Files();
    const QList<CFileOpResult> results = PerformGroup(action, group);
    bool bDone = true;
    for (qsizetype i = 0; i < action.files.size(); ++i)
        bDone = bDone && results.value(i).Succeeded();
    int next = Current();
    if (action.kind == SortAction::Kind::Copy) {
        next = move_on::AfterCopy(results.value(0).Succeeded() ? action.rows.last() : Current(),
                                  Count(), results.value(0).Succeeded());
    } else {
        const int countBefore = Count();
        next = move_on::AfterGroupRemoval(action.rows, RemoveGone(files, results), countBefore,
                                          Current());
    }
    m_travel = Travel::Sorted;
    ChangeCurrent(next);
    Q_EMIT MovedOn(next);
    if (action.kind != SortAction::Kind::Copy)
        PublishFileCount();
    Q_EMIT ActionFinished(action, results.value(0));
    return bDone;
}

QList<CFileOpResult> CSortSession::PerformGroup(const SortAction& action, CSortGroup& group) {
    CWaitCursor wait;
    std::optional<CFileOpDialogs> dialogs;
    CFileOpUi* ui = m_pUi;
    if (!ui)
        ui = &dialogs.emplace(m_pDialogParent ? m_pDialogParent->window() : nullptr);
    return group.Perform(action, m_pRecorder, *ui);
}

// Takes the files that left the folder out of the list: the pictures, and any companion
// that was listed too (a companion the filter hid is no longer counted as hidden). Returns
// the rows that went, where they stood before, ascending.
QList<int> CSortSession::RemoveGone(const QList<QByteArray>& files,
                                    const QList<CFileOpResult>& results) {
    QList<int> gone;
    for (qsizetype i = 0; i < files.size() && i < results.size(); ++i) {
        if (!results.at(i).Succeeded())
            continue;
        const int at = IndexOf(files.at(i));
        if (at >= 0)
            gone.append(at);
        else if (m_nHidden > 0 && IsPictureName(files.at(i)))
            --m_nHidden;
    }
    std::sort(gone.begin(), gone.end());
    for (qsizetype i = gone.size() - 1; i >= 0; --i) {
        RemoveRow(gone.at(i)); // nothing is current until the move on
        Q_EMIT PictureRemoved(gone.at(i));
    }
    return gone;
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
    const QString path = CurrentPath();
    if (path.isEmpty())
        return picture_status::IdleText();
    // Neither shown nor refused yet: its header is still being read (a slow share), and
    // figures of nothing would be wrong.
    if (!m_facts.bShown && m_facts.error.isEmpty())
        return path;
    if (!m_facts.bShown)
        return picture_status::FailedText(path, m_facts.error, m_facts.fileSize,
                                          m_facts.description);
    return picture_status::StatusText(path, m_facts.width, m_facts.height, m_facts.bitsPerPixel,
                                      m_facts.fileSize, m_facts.description);
}

QString CSortSession::Title() const {
    const QString path = CurrentPath();
    return path.isEmpty() ? picture_status::IdleTitle() : picture_status::TitleFileName(path);
}

QString CSortSession::FileCountText() const {
    return picture_status::FileCountText(Count());
}
