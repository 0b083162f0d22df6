#include "platform/files/CFileOperations.h"

#include <QCoreApplication>

#include "platform/files/CFileCopier.h"
#include "platform/files/CFileJob.h"
#include "platform/files/CFileOpUi.h"
#include "platform/files/CFolderHandle.h"
#include "platform/files/CNoReplaceRename.h"
#include "platform/files/CTrash.h"
#include "platform/system/CNativePath.h"

#include <cerrno>
#include <climits>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kMaxNumberedNames = 10000;

QString Quoted(const QByteArray& path) {
    return QLatin1Char('"') + CNativePath::Display(path) + QLatin1Char('"');
}

// Our own words, then the system's reason in brackets.
QString Because(const QString& what, int error) {
    return QStringLiteral("%1 (%2)").arg(what, qt_error_string(error));
}

// Why a name that is no ordinary file (nor a link to one) is not moved, copied or trashed:
// opening a pipe or a device could wait for ever or act on the device. Empty for a file.
QString NotAFile(mode_t mode) {
    if (S_ISREG(mode))
        return {};
    if (S_ISFIFO(mode))
        return CFileOperations::tr("it is a named pipe, not a file");
    if (S_ISSOCK(mode))
        return CFileOperations::tr("it is a socket, not a file");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return CFileOperations::tr("it is a device, not a file");
    return CFileOperations::tr("it is not an ordinary file");
}

// The target leads to the source (its entry, or what that leads to): the same name, hard
// links, or a link and what it points to.
bool SameFile(const struct stat& entry, const struct stat& resolved, const QByteArray& target) {
    struct stat st {};
    if (::lstat(target.constData(), &st) == 0 && CFileIdentity::Of(st) == CFileIdentity::Of(entry))
        return true;
    return ::stat(target.constData(), &st) == 0 &&
           CFileIdentity::Of(st) == CFileIdentity::Of(resolved);
}

// A path without trailing separators (but "/"), so that its last part is its name.
QByteArray Trimmed(QByteArray path) {
    while (path.size() > 1 && path.endsWith('/'))
        path.chop(1);
    return path;
}

} // namespace

struct CFileOperations::Plan {
    const CFolderEntry* source = nullptr;
    QByteArray destDir;
    QByteArray name;         // the name the file is to have in destDir
    struct stat srcStat {};  // the source's entry
    struct stat resolved {}; // the file the entry leads to
    struct stat dirStat {};
    bool bReplace = false;  // the user chose to replace the file that has the name
    bool bKeepBoth = false; // the user chose a numbered name beside it
    QByteArray replaced;    // the file that had the name, now in the trash
    QByteArray replacedInfo;

    QByteArray Target(int n = 0) const {
        return CNativePath::Join(destDir,
                                 n == 0 ? name : CNativePath::FittedName(name, n, NAME_MAX));
    }
};

CFileOpResult CFileOperations::Move(const QByteArray& file, const QByteArray& destDir,
                                    const QByteArray& name) {
    const CFolderHandle folder = CFolderHandle::Open(CNativePath::DirName(file));
    return Transfer(Mode::Move, CFolderEntry(folder, CNativePath::FileName(file)), destDir, name);
}

CFileOpResult CFileOperations::Move(const CFolderEntry& file, const QByteArray& destDir,
                                    const QByteArray& name) {
    return Transfer(Mode::Move, file, destDir, name);
}

CFileOpResult CFileOperations::Copy(const QByteArray& file, const QByteArray& destDir,
                                    const QByteArray& name) {
    const CFolderHandle folder = CFolderHandle::Open(CNativePath::DirName(file));
    return Transfer(Mode::Copy, CFolderEntry(folder, CNativePath::FileName(file)), destDir, name);
}

CFileOpResult CFileOperations::Copy(const CFolderEntry& file, const QByteArray& destDir,
                                    const QByteArray& name) {
    return Transfer(Mode::Copy, file, destDir, name);
}

CFileOpResult CFileOperations::Transfer(Mode mode, const CFolderEntry& file,
                                        const QByteArray& destDir, const QByteArray& name) {
    Plan plan;
    plan.source = &file;
    plan.destDir = destDir;
    plan.name = name.isEmpty() ? file.Name() : name;
    if (auto refused = Check(mode, plan))
        return *refused;
    const bool bOneDevice = mode == Mode::Move && plan.srcStat.st_dev == plan.dirStat.st_dev;
    if (bOneDevice)
        if (auto moved = RenameIfFree(plan))
            return *moved;
    if (auto settled = ResolveConflict(mode, plan))
        return *settled;
    if (bOneDevice)
        if (auto renamed = RenameInto(plan))
            return *renamed;
    return CopyInto(mode, plan);
}

// On one device the rename that never replaces is itself the test whether the name is free,
// with no moment between a test and the move. Returns nothing when the name is taken (the
// user is asked) or the rename must become a copy (two mounts of one device).
std::optional<CFileOpResult> CFileOperations::RenameIfFree(Plan& plan) {
    const int error = plan.source->RenameTo(plan.Target());
    if (error == 0)
        return Renamed(plan, plan.Target());
    if (error == EEXIST || error == EXDEV)
        return std::nullopt;
    return Fail(Mode::Move, plan, qt_error_string(error));
}

std::optional<CFileOpResult> CFileOperations::Check(Mode mode, Plan& plan) {
    if (plan.destDir.isEmpty())
        return Fail(mode, plan, tr("no destination folder is set"));
    if (plan.name.isEmpty() || plan.name.contains('/') || plan.name == "." || plan.name == "..")
        return Fail(mode, plan, tr("that is not the name of a file"));
    const CFolderEntry& source = *plan.source;
    if (const QString why = source.FolderProblem(); !why.isEmpty())
        return Fail(mode, plan, why);
    if (const int error = source.Stat(plan.srcStat))
        return Fail(mode, plan, Because(tr("the file is not there"), error));
    if (const QString why = source.NotAsShown(plan.srcStat); !why.isEmpty())
        return Fail(mode, plan, why);
    if (S_ISDIR(plan.srcStat.st_mode))
        return Fail(mode, plan, tr("it is a folder, not a file"));
    plan.resolved = plan.srcStat;
    if (S_ISLNK(plan.srcStat.st_mode))
        if (const int error = source.Stat(plan.resolved, true))
            return Fail(mode, plan, Because(tr("the link leads nowhere"), error));
    if (const QString why = NotAFile(plan.resolved.st_mode); !why.isEmpty())
        return Fail(mode, plan, why);
    if (::stat(plan.destDir.constData(), &plan.dirStat) != 0)
        return Fail(mode, plan, Because(tr("the destination folder cannot be opened"), errno));
    if (!S_ISDIR(plan.dirStat.st_mode))
        return Fail(mode, plan, Because(tr("the destination is not a folder"), ENOTDIR));
    return std::nullopt;
}

std::optional<CFileOpResult> CFileOperations::ResolveConflict(Mode mode, Plan& plan) {
    struct stat there {};
    if (::lstat(plan.Target().constData(), &there) != 0)
        return std::nullopt;
    if (SameFile(plan.srcStat, plan.resolved, plan.Target()))
        return Fail(mode, plan, tr("the source and the destination are the same file"));
    if (S_ISDIR(there.st_mode))
        return Fail(mode, plan, tr("a folder of that name is in the way"));
    switch (m_ui.AskConflict(CFileFacts::Of(plan.source->Path(), plan.srcStat),
                             CFileFacts::Of(plan.Target()))) {
    case CFileOpUi::ConflictChoice::Replace:
        plan.bReplace = true;
        return std::nullopt;
    case CFileOpUi::ConflictChoice::KeepBoth:
        plan.bKeepBoth = true;
        return std::nullopt;
    case CFileOpUi::ConflictChoice::Skip:
        break;
    }
    CFileOpResult skipped;
    skipped.outcome = CFileOpResult::Outcome::Skipped;
    return skipped;
}

// A move within one file system: a single rename that never replaces. Returns nothing when
// the rename must become a copy after all (two mounts of one device).
std::optional<CFileOpResult> CFileOperations::RenameInto(Plan& plan) {
    if (plan.bReplace)
        if (auto failed = TrashExisting(Mode::Move, plan))
            return failed;
    int n = plan.bKeepBoth ? 1 : 0;
    for (;; ++n) {
        const int error = plan.source->RenameTo(plan.Target(n));
        if (error == 0)
            return Renamed(plan, plan.Target(n));
        if (error == EXDEV)
            return std::nullopt;
        if (error != EEXIST || !plan.bKeepBoth || n >= kMaxNumberedNames)
            return Fail(Mode::Move, plan, qt_error_string(error));
    }
}

CFileOpResult CFileOperations::CopyInto(Mode mode, Plan& plan) {
    CFileCopier copier(plan.source->Folder().Fd(), plan.source->Name(), plan.destDir);
    copier.ExpectSource(CFileIdentity::Of(plan.resolved));
    copier.PreferNamedTemp(m_bPreferNamed);
    copier.SetChunkSize(m_nChunk);
    copier.UseDiskCalls(Calls());
    CFileJob job;
    job.SetTotal(plan.srcStat.st_size);
    int error = 0;
    job.Start([&copier, &error](CFileJob& j) {
        error = copier.Prepare([&j](qint64 done, qint64 total) {
            j.SetTotal(total);
            j.SetDone(done);
            return !j.Cancelled();
        });
    });
    const QString text = (mode == Mode::Move ? tr("Moving %1 to %2") : tr("Copying %1 to %2"))
                             .arg(Quoted(plan.name), Quoted(plan.destDir));
    m_ui.WaitFor(job, text);
    job.Join();
    if (error == ECANCELED) {
        CFileOpResult cancelled;
        cancelled.outcome = CFileOpResult::Outcome::Cancelled;
        return cancelled;
    }
    if (error == CFileCopier::kNotAFile)
        return Fail(mode, plan, tr("it is not an ordinary file"));
    if (error == CFileCopier::kOtherFile)
        return Fail(mode, plan, CFolderEntry::FileReplacedText());
    if (error)
        return Fail(mode, plan,
                    error == EIO ? Because(tr("the copy did not come out whole"), error)
                                 : qt_error_string(error));
    if (plan.bReplace)
        if (auto failed = TrashExisting(mode, plan))
            return *failed;
    int n = plan.bKeepBoth ? 1 : 0;
    while ((error = copier.Commit(plan.Target(n))) == EEXIST && plan.bKeepBoth &&
           n < kMaxNumberedNames)
        ++n;
    if (error)
        return Fail(mode, plan, qt_error_string(error));
    const QByteArray target = plan.Target(n);
    if (mode == Mode::Move)
        if (const int unlinkError = plan.source->Unlink(CFileIdentity::Of(plan.srcStat), Calls())) {
            // Two copies must not be left behind: the new one is taken back, the source stays.
            ::unlink(target.constData());
            return Fail(mode, plan,
                        unlinkError == ESTALE ? CFolderEntry::FileReplacedText()
                                              : Because(tr("the file cannot be removed from its "
                                                           "folder, so the copy was taken back"),
                                                        unlinkError));
        }
    return Verify(mode, plan, target, copier.SourceSize());
}

std::optional<CFileOpResult> CFileOperations::TrashExisting(Mode mode, Plan& plan) {
    const CTrash::Result trashed = CTrash::Put(plan.Target());
    plan.replaced = trashed.error == 0 ? trashed.file : QByteArray();
    plan.replacedInfo = trashed.error == 0 ? trashed.info : QByteArray();
    if (trashed.error == 0 || trashed.error == ENOENT)
        return std::nullopt;
    return Fail(mode, plan,
                Because(tr("the file already there cannot be moved to the trash"), trashed.error));
}

// A rename takes whatever file has the name at that moment: one that took the place of the
// file checked just before is put back, and the move fails.
CFileOpResult CFileOperations::Renamed(const Plan& plan, const QByteArray& target) {
    if (CFileIdentity::At(AT_FDCWD, target.constData()) == CFileIdentity::Of(plan.srcStat))
        return Verify(Mode::Move, plan, target, 0);
    plan.source->TakeBack(target);
    return Fail(Mode::Move, plan, CFolderEntry::FileReplacedText());
}

// Judged by the disk alone: a move has left its old place and arrived in the new one, a
// copy is in its new place with the size of the data that was read.
CFileOpResult CFileOperations::Verify(Mode mode, const Plan& plan, const QByteArray& target,
                                      qint64 copiedSize) {
    struct stat there {};
    const bool bArrived =
        mode == Mode::Move ? ::lstat(target.constData(), &there) == 0
                           : ::stat(target.constData(), &there) == 0 && there.st_size == copiedSize;
    if (!bArrived)
        return Fail(mode, plan, tr("the file did not arrive"));
    if (mode == Mode::Move && plan.source->Exists())
        return Fail(mode, plan, tr("the file is still in its old place"));
    CFileOpResult done;
    done.outcome = CFileOpResult::Outcome::Done;
    done.target = target;
    done.replaced = plan.replaced;
    done.replacedInfo = plan.replacedInfo;
    return done;
}

CFileOpResult CFileOperations::Delete(const QByteArray& file, bool bToTrash) {
    const QByteArray path = Trimmed(file);
    const CFolderHandle folder = CFolderHandle::Open(CNativePath::DirName(path));
    return Delete(CFolderEntry(folder, CNativePath::FileName(path)), bToTrash);
}

CFileOpResult CFileOperations::Delete(const CFolderEntry& file, bool bToTrash) {
    const QString failed = bToTrash ? tr("Cannot move %1 to the trash: %2.  "
                                         "The file was left where it is.")
                                    : tr("Cannot delete %1: %2.");
    const QString quoted = Quoted(file.Path());
    if (const QString why = file.FolderProblem(); !why.isEmpty())
        return Fail(failed.arg(quoted, why));
    struct stat st {};
    if (const int error = file.Stat(st))
        return Fail(failed.arg(quoted, qt_error_string(error)));
    if (const QString why = file.NotAsShown(st); !why.isEmpty())
        return Fail(failed.arg(quoted, why));
    if (S_ISDIR(st.st_mode) && !bToTrash)
        return Fail(failed.arg(quoted, tr("it is a folder, not a file")));
    if (!S_ISDIR(st.st_mode) && !S_ISLNK(st.st_mode))
        if (const QString why = NotAFile(st.st_mode); !why.isEmpty())
            return Fail(failed.arg(quoted, why));
    CFileOpResult done;
    if (bToTrash) {
        const CTrash::Result trashed = CTrash::PutAt(file.Folder(), file.Name());
        if (trashed.error)
            return Fail(failed.arg(quoted, qt_error_string(trashed.error)));
        // Another file that took the name just before the rename goes back in its place.
        if (!(CFileIdentity::At(AT_FDCWD, trashed.file.constData()) == CFileIdentity::Of(st))) {
            if (file.TakeBack(trashed.file) == 0)
                CTrash::DropInfo(trashed.file, trashed.info);
            return Fail(failed.arg(quoted, CFolderEntry::FileReplacedText()));
        }
        done.target = trashed.file;
        done.info = trashed.info;
    } else if (const int error = file.Unlink(CFileIdentity::Of(st))) {
        return Fail(failed.arg(quoted, error == ESTALE ? CFolderEntry::FileReplacedText()
                                                       : qt_error_string(error)));
    }
    if (file.Exists())
        return Fail(failed.arg(quoted, tr("it is still there")));
    done.outcome = CFileOpResult::Outcome::Done;
    return done;
}

CFileOpResult CFileOperations::Rename(const QByteArray& file, const QByteArray& newName) {
    const QString failed = tr("Cannot rename %1 to %2: %3.");
    const QByteArray target = CNativePath::Join(CNativePath::DirName(file), newName);
    if (newName.isEmpty() || newName == "." || newName == ".." || newName.contains('/') ||
        newName.contains('\0'))
        return Fail(failed.arg(Quoted(file), Quoted(newName), tr("not a valid name")));
    if (newName == CNativePath::FileName(file)) {
        CFileOpResult same;
        same.outcome = CFileOpResult::Outcome::Skipped;
        return same;
    }
    const int error = CNoReplaceRename::Rename(file, target);
    if (error)
        return Fail(
            failed.arg(Quoted(file), Quoted(newName),
                       error == EEXIST ? tr("that name is taken") : qt_error_string(error)));
    CFileOpResult done;
    done.outcome = CFileOpResult::Outcome::Done;
    done.target = target;
    return done;
}

CFileOpResult CFileOperations::Fail(Mode mode, const Plan& plan, const QString& reason) {
    const QString verb = mode == Mode::Move ? tr("move") : tr("copy");
    return Fail(tr("Cannot %1 %2 to %3: %4.")
                    .arg(verb, Quoted(plan.source->Path()), Quoted(plan.destDir), reason));
}

CFileOpResult CFileOperations::Fail(const QString& message) {
    m_ui.ReportError(message);
    CFileOpResult failed;
    failed.outcome = CFileOpResult::Outcome::Failed;
    failed.error = message;
    return failed;
}
