#include "platform/CFileOperations.h"

#include <QCoreApplication>

#include "platform/CFileCopier.h"
#include "platform/CFileJob.h"
#include "platform/CFileOpUi.h"
#include "platform/CNativePath.h"
#include "platform/CNoReplaceRename.h"
#include "platform/CTrash.h"

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

bool Exists(const QByteArray& path) {
    struct stat st {};
    return ::lstat(path.constData(), &st) == 0;
}

// Why a name that is no ordinary file (nor a link to one) is not moved, copied or trashed:
// opening a pipe or a device could wait for ever or act on the device. Empty for a file.
QString NotAFile(mode_t mode) {
    if (S_ISREG(mode))
        return {};
    if (S_ISFIFO(mode))
        return QCoreApplication::translate("CFileOperations", "it is a named pipe, not a file");
    if (S_ISSOCK(mode))
        return QCoreApplication::translate("CFileOperations", "it is a socket, not a file");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QCoreApplication::translate("CFileOperations", "it is a device, not a file");
    return QCoreApplication::translate("CFileOperations", "it is not an ordinary file");
}

// Both names lead to one file: the same name, hard links, or a link and what it points to.
bool SameFile(const QByteArray& a, const QByteArray& b) {
    struct stat sa {
    }, sb{};
    const auto same = [&] { return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino; };
    if (::lstat(a.constData(), &sa) == 0 && ::lstat(b.constData(), &sb) == 0 && same())
        return true;
    return ::stat(a.constData(), &sa) == 0 && ::stat(b.constData(), &sb) == 0 && same();
}

} // namespace

struct CFileOperations::Plan {
    QByteArray source;
    QByteArray destDir;
    QByteArray name; // the name the file is to have in destDir
    struct stat srcStat {};
    struct stat dirStat {};
    bool bReplace = false;  // the user chose to replace the file that has the name
    bool bKeepBoth = false; // the user chose a numbered name beside it

    QByteArray Target(int n = 0) const {
        return CNativePath::Join(destDir,
                                 n == 0 ? name : CNativePath::FittedName(name, n, NAME_MAX));
    }
};

CFileOpResult CFileOperations::Move(const QByteArray& file, const QByteArray& destDir,
                                    const QByteArray& name) {
    return Transfer(Mode::Move, file, destDir, name);
}

CFileOpResult CFileOperations::Copy(const QByteArray& file, const QByteArray& destDir,
                                    const QByteArray& name) {
    return Transfer(Mode::Copy, file, destDir, name);
}

CFileOpResult CFileOperations::Transfer(Mode mode, const QByteArray& file,
                                        const QByteArray& destDir, const QByteArray& name) {
    Plan plan;
    plan.source = file;
    plan.destDir = destDir;
    plan.name = name.isEmpty() ? CNativePath::FileName(file) : name;
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
    const int error = CNoReplaceRename::Rename(plan.source, plan.Target());
    if (error == 0)
        return Verify(Mode::Move, plan, plan.Target(), 0);
    if (error == EEXIST || error == EXDEV)
        return std::nullopt;
    return Fail(Mode::Move, plan, qt_error_string(error));
}

std::optional<CFileOpResult> CFileOperations::Check(Mode mode, Plan& plan) {
    if (plan.destDir.isEmpty())
        return Fail(mode, plan,
                    QCoreApplication::translate("CFileOperations", "no destination folder is set"));
    if (plan.name.isEmpty() || plan.name.contains('/') || plan.name == "." || plan.name == "..")
        return Fail(
            mode, plan,
            QCoreApplication::translate("CFileOperations", "that is not the name of a file"));
    if (::lstat(plan.source.constData(), &plan.srcStat) != 0)
        return Fail(mode, plan,
                    Because(QCoreApplication::translate("CFileOperations", "the file is not there"),
                            errno));
    if (S_ISDIR(plan.srcStat.st_mode))
        return Fail(mode, plan,
                    QCoreApplication::translate("CFileOperations", "it is a folder, not a file"));
    struct stat resolved = plan.srcStat;
    if (S_ISLNK(plan.srcStat.st_mode) && ::stat(plan.source.constData(), &resolved) != 0)
        return Fail(
            mode, plan,
            Because(QCoreApplication::translate("CFileOperations", "the link leads nowhere"),
                    errno));
    if (const QString why = NotAFile(resolved.st_mode); !why.isEmpty())
        return Fail(mode, plan, why);
    if (::stat(plan.destDir.constData(), &plan.dirStat) != 0)
        return Fail(mode, plan,
                    Because(QCoreApplication::translate("CFileOperations",
                                                        "the destination folder cannot be opened"),
                            errno));
    if (!S_ISDIR(plan.dirStat.st_mode))
        return Fail(mode, plan,
                    Because(QCoreApplication::translate("CFileOperations",
                                                        "the destination is not a folder"),
                            ENOTDIR));
    return std::nullopt;
}

std::optional<CFileOpResult> CFileOperations::ResolveConflict(Mode mode, Plan& plan) {
    struct stat there {};
    if (::lstat(plan.Target().constData(), &there) != 0)
        return std::nullopt;
    if (SameFile(plan.source, plan.Target()))
        return Fail(mode, plan,
                    QCoreApplication::translate(
                        "CFileOperations", "the source and the destination are the same file"));
    if (S_ISDIR(there.st_mode))
        return Fail(
            mode, plan,
            QCoreApplication::translate("CFileOperations", "a folder of that name is in the way"));
    switch (m_ui.AskConflict(CFileFacts::Of(plan.source), CFileFacts::Of(plan.Target()))) {
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
        const int error = CNoReplaceRename::Rename(plan.source, plan.Target(n));
        if (error == 0)
            return Verify(Mode::Move, plan, plan.Target(n), 0);
        if (error == EXDEV)
            return std::nullopt;
        if (error != EEXIST || !plan.bKeepBoth || n >= kMaxNumberedNames)
            return Fail(Mode::Move, plan, qt_error_string(error));
    }
}

CFileOpResult CFileOperations::CopyInto(Mode mode, Plan& plan) {
    CFileCopier copier(plan.source, plan.destDir);
    copier.PreferNamedTemp(m_bPreferNamed);
    copier.SetChunkSize(m_nChunk);
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
    const QString text =
        (mode == Mode::Move ? QCoreApplication::translate("CFileOperations", "Moving %1 to %2")
                            : QCoreApplication::translate("CFileOperations", "Copying %1 to %2"))
            .arg(Quoted(plan.name), Quoted(plan.destDir));
    m_ui.WaitFor(job, text);
    job.Join();
    if (error == ECANCELED) {
        CFileOpResult cancelled;
        cancelled.outcome = CFileOpResult::Outcome::Cancelled;
        return cancelled;
    }
    if (error == CFileCopier::kNotAFile)
        return Fail(mode, plan,
                    QCoreApplication::translate("CFileOperations", "it is not an ordinary file"));
    if (error)
        return Fail(mode, plan,
                    error == EIO
                        ? Because(QCoreApplication::translate("CFileOperations",
                                                              "the copy did not come out whole"),
                                  error)
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
    if (mode == Mode::Move && ::unlink(plan.source.constData()) != 0) {
        // Two copies must not be left behind: the new one is taken back, the source stays.
        const int unlinkError = errno;
        ::unlink(target.constData());
        return Fail(mode, plan,
                    Because(QStringLiteral("the file cannot be removed from its folder, so the "
                                           "copy was taken back"),
                            unlinkError));
    }
    return Verify(mode, plan, target, copier.SourceSize());
}

std::optional<CFileOpResult> CFileOperations::TrashExisting(Mode mode, const Plan& plan) {
    const CTrash::Result trashed = CTrash::Put(plan.Target());
    if (trashed.error == 0 || trashed.error == ENOENT)
        return std::nullopt;
    return Fail(
        mode, plan,
        Because(QCoreApplication::translate("CFileOperations",
                                            "the file already there cannot be moved to the trash"),
                trashed.error));
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
        return Fail(mode, plan,
                    QCoreApplication::translate("CFileOperations", "the file did not arrive"));
    if (mode == Mode::Move && Exists(plan.source))
        return Fail(
            mode, plan,
            QCoreApplication::translate("CFileOperations", "the file is still in its old place"));
    CFileOpResult done;
    done.outcome = CFileOpResult::Outcome::Done;
    done.target = target;
    return done;
}

CFileOpResult CFileOperations::Delete(const QByteArray& file, bool bToTrash) {
    const QString failed =
        bToTrash ? QStringLiteral("Cannot move %1 to the trash: %2.  "
                                  "The file was left where it is.")
                 : QCoreApplication::translate("CFileOperations", "Cannot delete %1: %2.");
    struct stat st {};
    if (::lstat(file.constData(), &st) != 0)
        return Fail(failed.arg(Quoted(file), qt_error_string(errno)));
    if (S_ISDIR(st.st_mode) && !bToTrash)
        return Fail(failed.arg(Quoted(file), QCoreApplication::translate(
                                                 "CFileOperations", "it is a folder, not a file")));
    if (!S_ISDIR(st.st_mode) && !S_ISLNK(st.st_mode))
        if (const QString why = NotAFile(st.st_mode); !why.isEmpty())
            return Fail(failed.arg(Quoted(file), why));
    CFileOpResult done;
    if (bToTrash) {
        const CTrash::Result trashed = CTrash::Put(file);
        if (trashed.error)
            return Fail(failed.arg(Quoted(file), qt_error_string(trashed.error)));
        done.target = trashed.file;
        done.info = trashed.info;
    } else if (::unlink(file.constData()) != 0) {
        return Fail(failed.arg(Quoted(file), qt_error_string(errno)));
    }
    if (Exists(file))
        return Fail(failed.arg(
            Quoted(file), QCoreApplication::translate("CFileOperations", "it is still there")));
    done.outcome = CFileOpResult::Outcome::Done;
    return done;
}

CFileOpResult CFileOperations::Rename(const QByteArray& file, const QByteArray& newName) {
    const QString failed =
        QCoreApplication::translate("CFileOperations", "Cannot rename %1 to %2: %3.");
    const QByteArray target = CNativePath::Join(CNativePath::DirName(file), newName);
    if (newName.isEmpty() || newName == "." || newName == ".." || newName.contains('/') ||
        newName.contains('\0'))
        return Fail(failed.arg(Quoted(file), Quoted(newName),
                               QCoreApplication::translate("CFileOperations", "not a valid name")));
    if (newName == CNativePath::FileName(file)) {
        CFileOpResult same;
        same.outcome = CFileOpResult::Outcome::Skipped;
        return same;
    }
    const int error = CNoReplaceRename::Rename(file, target);
    if (error)
        return Fail(failed.arg(
            Quoted(file), Quoted(newName),
            error == EEXIST ? QCoreApplication::translate("CFileOperations", "that name is taken")
                            : qt_error_string(error)));
    CFileOpResult done;
    done.outcome = CFileOpResult::Outcome::Done;
    done.target = target;
    return done;
}

CFileOpResult CFileOperations::Fail(Mode mode, const Plan& plan, const QString& reason) {
    const QString verb = mode == Mode::Move
                             ? QCoreApplication::translate("CFileOperations", "move")
                             : QCoreApplication::translate("CFileOperations", "copy");
    return Fail(QCoreApplication::translate("CFileOperations", "Cannot %1 %2 to %3: %4.")
                    .arg(verb, Quoted(plan.source), Quoted(plan.destDir), reason));
}

CFileOpResult CFileOperations::Fail(const QString& message) {
    m_ui.ReportError(message);
    CFileOpResult failed;
    failed.outcome = CFileOpResult::Outcome::Failed;
    failed.error = message;
    return failed;
}
