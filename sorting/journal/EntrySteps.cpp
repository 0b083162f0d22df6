#include "sorting/journal/EntrySteps.h"

#include "platform/files/CFileOperations.h"
#include "platform/files/CTrash.h"
#include "platform/system/CNativePath.h"
#include "sorting/journal/UndoTexts.h"

#include <QCoreApplication>

#include <cerrno>
#include <sys/stat.h>

namespace entry_steps {
namespace {

using Kind = CFileAction::Kind;

bool FolderExists(const QByteArray& dir) {
    struct stat st {};
    return ::stat(dir.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

QString Quoted(const QByteArray& text) {
    return QLatin1Char('"') + CNativePath::Display(text) + QLatin1Char('"');
}
QString Name(const QByteArray& path) {
    return Quoted(CNativePath::FileName(path));
}
QString Folder(const QByteArray& path) {
    return Quoted(CNativePath::DirName(path));
}

// The outcome of a file operation as the reason it failed, empty when it was done.
QString Failure(const CFileOpResult& result) {
    switch (result.outcome) {
    case CFileOpResult::Outcome::Done:
        return {};
    case CFileOpResult::Outcome::Skipped:
        return QCoreApplication::translate("EntrySteps", "it was skipped");
    case CFileOpResult::Outcome::Cancelled:
        return QCoreApplication::translate("EntrySteps", "it was cancelled");
    case CFileOpResult::Outcome::Failed:
        break;
    }
    return result.error.isEmpty()
               ? QCoreApplication::translate("EntrySteps", "the file operation failed")
               : result.error;
}

// The file itself back from its target to its source.
QString UndoFile(const SortRecord& r, SortEntry& e, CFileOperations& ops) {
    const QByteArray dir = CNativePath::DirName(e.source);
    const QByteArray name = CNativePath::FileName(e.source);
    switch (r.kind) {
    case Kind::Delete:
        return undo_texts::WhyNot(r);
    case Kind::Copy: {
        const QString changed = ChangedSince(e.target, e.targetStamp,
                                             QCoreApplication::translate("EntrySteps", "The copy"));
        if (!changed.isEmpty())
            return changed;
        return Failure(ops.Delete(e.target, true));
    }
    case Kind::Trash: {
        if (!FileStamp::Of(e.target).SameFile(e.targetStamp))
            return QCoreApplication::translate("EntrySteps", "the file is no longer in the trash");
        if (!FolderExists(dir))
            return QCoreApplication::translate("EntrySteps", "the folder %1 is gone")
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
            return QCoreApplication::translate("EntrySteps", "the folder %1 is gone")
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

// The file itself from its source to its target again.
QString RedoFile(const SortRecord& r, SortEntry& e, CFileOperations& ops) {
    CFileOpResult result;
    switch (r.kind) {
    case Kind::Delete:
        return undo_texts::WhyNot(r);
    case Kind::Copy:
    case Kind::Move: {
        const QByteArray dir = r.dest;
        if (!FolderExists(dir))
            return QCoreApplication::translate("EntrySteps", "the folder %1 is gone")
                .arg(Quoted(dir));
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

// The replaced file from the trash back to `place`; empty when it is there.
QString PutBackReplaced(const SortEntry& e, const QByteArray& place) {
    const int error = CTrash::Restore(e.replaced, e.replacedInfo, place);
    if (error == 0)
        return {};
    return QCoreApplication::translate("EntrySteps",
                                       "the file it replaced cannot be put back in %1 (%2)")
        .arg(Folder(place), qt_error_string(error));
}

} // namespace

QString ChangedSince(const QByteArray& path, const FileStamp& stamp, const QString& what) {
    const FileStamp now = FileStamp::Of(path);
    if (!now.IsValid())
        return QCoreApplication::translate("EntrySteps", "%1 is no longer in %2")
            .arg(what, Folder(path));
    if (!now.SameFile(stamp))
        return QCoreApplication::translate("EntrySteps", "%1 in %2 has changed since")
            .arg(what, Folder(path));
    return {};
}

QString Undo(const SortRecord& r, SortEntry& e, CFileOperations& ops) {
    const bool bReplaced = !e.replaced.isEmpty();
    if (bReplaced && !FileStamp::Of(e.replaced).SameFile(e.replacedStamp))
        return QCoreApplication::translate("EntrySteps",
                                           "the file it replaced in %1 is no longer in the trash")
            .arg(Folder(e.target));
    const QByteArray place = e.target;
    if (const QString error = UndoFile(r, e, ops); !error.isEmpty() || !bReplaced)
        return error;
    const QString error = PutBackReplaced(e, place);
    if (!error.isEmpty())
        (void)RedoFile(r, e, ops); // the file goes forward again
    return error;
}

QString Redo(const SortRecord& r, SortEntry& e, CFileOperations& ops) {
    const QString changed = ChangedSince(e.source, e.sourceStamp, Name(e.source));
    if (!changed.isEmpty())
        return changed;
    // The replaced file is back at the target after an undo; it goes to the trash again,
    // unless it has gone from there since (or never came back from the trash).
    const QByteArray place = e.target;
    const bool bReplaced = !e.replaced.isEmpty() && FileStamp::Of(place).SameFile(e.replacedStamp);
    if (!e.replaced.isEmpty() && !bReplaced && !FileStamp::Of(e.replaced).SameFile(e.replacedStamp))
        e.replaced = e.replacedInfo = QByteArray(), e.replacedStamp = {};
    if (bReplaced) {
        const CTrash::Result trashed = CTrash::Put(place);
        if (trashed.error)
            return QCoreApplication::translate(
                       "EntrySteps", "the file it replaced in %1 cannot be moved to the trash (%2)")
                .arg(Folder(place), qt_error_string(trashed.error));
        e.replaced = trashed.file;
        e.replacedInfo = trashed.info;
        e.replacedStamp = FileStamp::Of(trashed.file);
    }
    const QString error = RedoFile(r, e, ops);
    if (!error.isEmpty() && bReplaced)
        (void)PutBackReplaced(e, place);
    return error;
}

} // namespace entry_steps
