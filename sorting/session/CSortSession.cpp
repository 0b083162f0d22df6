#include "sorting/session/CSortSession.h"

#include "browser/controls/CListCtrlModel.h"
#include "platform/files/CFileActionHook.h"
#include "platform/files/CFileOperations.h"
#include "platform/files/CFolderEntry.h"
#include "platform/files/CFolderHandle.h"
#include "platform/system/CNativePath.h"
#include "platform/ui/CFileOpDialogs.h"
#include "platform/ui/CWaitCursor.h"
#include "resources/FileTypes.h"
#include "sorting/session/Companions.h"
#include "sorting/session/MoveOnRule.h"
#include "sorting/session/PictureStatus.h"

#include <QCoreApplication>
#include <QFile>
#include <QItemSelectionModel>
#include <QWidget>
#include <fcntl.h>
#include <optional>

namespace {
CFileAction::Kind JournalKind(const SortAction& action) {
    switch (action.kind) {
    case SortAction::Kind::Move:
        return CFileAction::Kind::Move;
    case SortAction::Kind::Copy:
        return CFileAction::Kind::Copy;
    case SortAction::Kind::Delete:
        break;
    }
    return action.bToTrash ? CFileAction::Kind::Trash : CFileAction::Kind::Delete;
}

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
      m_pSelection(new QItemSelectionModel(m_pModel, this)) {
    qRegisterMetaType<SortAction>();
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
    return Run(
        {SortAction::Kind::Move, CurrentNative(), CNativePath::FromText(destDir), true, Current()});
}

bool CSortSession::Copy(const QString& destDir) {
    return Run(
        {SortAction::Kind::Copy, CurrentNative(), CNativePath::FromText(destDir), true, Current()});
}

bool CSortSession::Delete(bool bToTrash) {
    return Run({SortAction::Kind::Delete, CurrentNative(), QByteArray(), bToTrash, Current()});
}

// The one way every sort action takes. A failed action leaves the file where it was and
// the same picture current; the file operations have told the user why. The picture and
// its companions are reached through one descriptor of the listed folder.
bool CSortSession::Run(SortAction action) {
    if (action.index < 0)
        return false;
    Q_EMIT ActionStarting(action);
    const QByteArray dir = CNativePath::DirName(action.file);
    const CFolderHandle folder =
        (dir == m_folder.Path() ? m_folder : CListedFolder::Take(dir)).Open();
    QList<CFolderEntry> entries{{folder, CNativePath::FileName(action.file), m_shown}};
    if (m_bCompanions)
        for (const companions::Companion& c : companions::FindIn(folder.Fd(), entries[0].Name()))
            entries.append({folder, c.name, c.identity});
    QList<QByteArray> files;
    for (const CFolderEntry& entry : entries)
        files.append(entry.Path());
    const QList<CFileOpResult> results = PerformGroup(action, entries);
    const CFileOpResult result = results.value(0);
    const bool bDone = result.Succeeded();
    int next = action.index;
    if (action.kind == SortAction::Kind::Copy) {
        next = move_on::AfterCopy(action.index, Count(), bDone);
    } else {
        const int place = RemoveGone(action, files, results);
        next = move_on::AfterRemoval(place, Count());
    }
    m_travel = Travel::Sorted;
    ChangeCurrent(next);
    Q_EMIT MovedOn(next);
    if (bDone && action.kind != SortAction::Kind::Copy)
        PublishFileCount();
    Q_EMIT ActionFinished(action, result);
    return bDone;
}

// The picture, then its companions, as one action of the journal when one is kept, so that
// they are undone together. A companion goes only when the picture went.
QList<CFileOpResult> CSortSession::PerformGroup(const SortAction& action,
                                                const QList<CFolderEntry>& entries) {
    CWaitCursor wait;
    std::optional<CFileOpDialogs> dialogs;
    CFileOpUi* ui = m_pUi;
    if (!ui)
        ui = &dialogs.emplace(m_pDialogParent ? m_pDialogParent->window() : nullptr);
    CFileOperations ops(*ui);
    QList<QByteArray> files;
    for (const CFolderEntry& entry : entries)
        files.append(entry.Path());
    bool bPictureWent = false;
    return CFileActionHook::Perform(
        m_pRecorder, {JournalKind(action), files, action.destDir}, [&](const QByteArray& file) {
            const qsizetype i = files.indexOf(file);
            if (i < 0 || (i > 0 && !bPictureWent)) {
                CFileOpResult stayed;
                stayed.outcome = CFileOpResult::Outcome::Skipped;
                stayed.error = QCoreApplication::translate("CSortSession", "its picture stayed");
                return stayed;
            }
            const CFileOpResult result = Perform(action, entries.at(i), ops);
            bPictureWent = bPictureWent || (i == 0 && result.Succeeded());
            return result;
        });
}

CFileOpResult CSortSession::Perform(const SortAction& action, const CFolderEntry& file,
                                    CFileOperations& ops) {
    switch (action.kind) {
    case SortAction::Kind::Move:
        return ops.Move(file, action.destDir);
    case SortAction::Kind::Copy:
        return ops.Copy(file, action.destDir);
    case SortAction::Kind::Delete:
        return ops.Delete(file, action.bToTrash);
    }
    return CFileOpResult();
}

// Takes the files that left the folder out of the list: the picture, then any companion
// that was listed too (a companion the filter hid is no longer counted as hidden). Returns
// where the picture stood among the files that are left, for the move-on rule.
int CSortSession::RemoveGone(const SortAction& action, const QList<QByteArray>& files,
                             const QList<CFileOpResult>& results) {
    int place = action.index;
    if (!results.value(0).Succeeded())
        return place;
    if (PictureAt(place) == action.file) {
        RemoveRow(place); // nothing is current until the move on
        Q_EMIT PictureRemoved(place);
    }
    for (qsizetype i = 1; i < files.size() && i < results.size(); ++i) {
        if (!results.at(i).Succeeded())
            continue;
        const int at = IndexOf(files.at(i));
        if (at < 0) {
            if (m_nHidden > 0 && IsPictureName(files.at(i)))
                --m_nHidden;
            continue;
        }
        RemoveRow(at);
        if (at < place)
            --place;
        Q_EMIT PictureRemoved(at);
    }
    return place;
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
