#include "sorting/journal/ActionReconciler.h"

#include "platform/files/CTrash.h"
#include "platform/files/CTrashDirectory.h"
#include "platform/system/CNativePath.h"

#include <QFile>
#include <climits>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

using sort_lines::LineCode;

namespace action_reconciler {
namespace {

using Kind = CFileAction::Kind;
constexpr int kMaxNumbered = 10000;

qint64 ChangeTimeMs(const QByteArray& path) {
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0)
        return -1;
    return qint64(st.st_ctim.tv_sec) * 1000 + st.st_ctim.tv_nsec / 1000000;
}

// The file left at path is still there, whatever happened to its inode's other names.
bool StillAt(const QByteArray& path, const FileStamp& stamp) {
    const FileStamp now = FileStamp::Of(path);
    return now.IsValid() && now.dev == stamp.dev && now.ino == stamp.ino &&
           now.size == stamp.size && now.mtimeNs == stamp.mtimeNs;
}

// `copy` and `original` both exist after an interrupted transfer: the copy goes when it is
// a second name of the same file or holds the same bytes. True when it went.
bool TakeBack(const QByteArray& copy, const QByteArray& original) {
    const FileStamp a = FileStamp::Of(copy);
    const FileStamp b = FileStamp::Of(original);
    const bool bSameInode = a.dev == b.dev && a.ino == b.ino;
    if (!bSameInode && !SameBytes(copy, original))
        return false;
    return ::unlink(copy.constData()) == 0;
}

// Where the file is in the trash, found by its inode; empty when it is not there.
SortEntry FindInTrash(const SortEntry& e) {
    SortEntry found = e;
    found.target.clear();
    char resolved[PATH_MAX];
    if (!::realpath(CNativePath::DirName(e.source).constData(), resolved))
        return found;
    const QByteArray abs = CNativePath::Join(resolved, CNativePath::FileName(e.source));
    const CTrashDirectory::Place place = CTrashDirectory::For(abs, dev_t(e.sourceStamp.dev));
    if (place.error)
        return found;
    const QByteArray name = CNativePath::FileName(e.source);
    for (int n = 0; n < kMaxNumbered; ++n) {
        const QByteArray trashName = CTrash::EntryName(name, n);
        const QByteArray file = CNativePath::Join(place.dir + "/files", trashName);
        const QByteArray info = CNativePath::Join(place.dir + "/info", trashName + ".trashinfo");
        const FileStamp there = FileStamp::Of(file);
        if (!there.IsValid() && !FileStamp::Of(info).IsValid())
            break;
        if (there.IsValid() && there.ino == e.sourceStamp.ino && there.dev == e.sourceStamp.dev) {
            found.target = file;
            found.targetStamp = there;
            found.info = info;
            return found;
        }
        CTrash::DropInfo(file, info); // an info file written just before the end
    }
    return found;
}

// Where the file replaced at the target is after an interrupted step, and that it is where
// the step's outcome leaves it: in the trash when the action stands done, back at the target
// when it stands undone.
void SettleReplaced(SortEntry& e, const QByteArray& place, bool bForward) {
    if (e.replaced.isEmpty() || place.isEmpty())
        return;
    if (FileStamp::Of(place).SameFile(e.replacedStamp)) {
        if (bForward) // the picture is not there after all: nothing to record
            e.replaced = e.replacedInfo = QByteArray(), e.replacedStamp = {};
        return;
    }
    if (!FileStamp::Of(e.replaced).SameFile(e.replacedStamp)) { // trashed anew by a redo
        SortEntry lookFor;
        lookFor.source = place;
        lookFor.sourceStamp = e.replacedStamp;
        const SortEntry found = FindInTrash(lookFor);
        e.replaced = found.target;
        e.replacedInfo = found.info;
        e.replacedStamp = found.targetStamp;
    }
    if (!bForward && !e.replaced.isEmpty())
        CTrash::Restore(e.replaced, e.replacedInfo, place);
}

QByteArray TargetDir(const SortRecord& r, const SortEntry& e) {
    return r.kind == Kind::Rename ? CNativePath::DirName(e.source) : r.dest;
}
QByteArray TargetName(const SortRecord& r, const SortEntry& e) {
    if (r.kind == Kind::Rename)
        return r.dest;
    // A redo goes to the name the file had at its target before.
    return e.target.isEmpty() ? CNativePath::FileName(e.source) : CNativePath::FileName(e.target);
}

// Forward: did the file go from its source to its target? Fills in the target if so.
bool SettleForward(const SortRecord& r, SortEntry& e) {
    const bool bAtSource = StillAt(e.source, e.sourceStamp);
    switch (r.kind) {
    case Kind::Move:
    case Kind::Rename: {
        const QByteArray arrived = FindArrived(TargetDir(r, e), TargetName(r, e), e.sourceStamp);
        if (bAtSource) {
            if (!arrived.isEmpty())
                TakeBack(arrived, e.source);
            SettleReplaced(e, e.target, false);
            return false;
        }
        SettleReplaced(e, e.target, true);
        e.target = arrived;
        e.targetStamp = FileStamp::Of(arrived);
        e.info.clear();
        return true;
    }
    case Kind::Copy: {
        const QByteArray made =
            FindArrived(r.dest, TargetName(r, e), e.sourceStamp, r.timeMs - 2000);
        const bool bMade = !made.isEmpty() && !StillAt(made, e.sourceStamp);
        SettleReplaced(e, e.target, bMade);
        if (!bMade)
            return false;
        e.target = made;
        e.targetStamp = FileStamp::Of(made);
        return true;
    }
    case Kind::Trash:
        if (bAtSource) {
            FindInTrash(e); // drops an info file left without its entry
            return false;
        }
        e = FindInTrash(e);
        return true;
    case Kind::Delete:
        e.target.clear();
        return !bAtSource;
    }
    return false;
}

// Backward: did the file come back from its target to its source?
bool SettleBackward(const SortRecord& r, SortEntry& e) {
    if (e.target.isEmpty())
        return false;
    const bool bAtTarget = StillAt(e.target, e.targetStamp);
    if (r.kind == Kind::Copy) {
        if (!bAtTarget)
            SettleReplaced(e, e.target, false);
        return !bAtTarget;
    }
    const QByteArray back =
        FindArrived(CNativePath::DirName(e.source), CNativePath::FileName(e.source), e.targetStamp);
    if (back.isEmpty())
        return false;
    if (bAtTarget) {
        TakeBack(back, e.target);
        return false;
    }
    SettleReplaced(e, e.target, false);
    if (r.kind == Kind::Trash)
        CTrash::DropInfo(e.target, e.info);
    e.source = back;
    e.sourceStamp = FileStamp::Of(back);
    return true;
}

} // namespace

QByteArray FindArrived(const QByteArray& dir, const QByteArray& name, const FileStamp& stamp,
                       qint64 notBeforeMs) {
    for (int n = 0; n < kMaxNumbered; ++n) {
        const QByteArray path =
            CNativePath::Join(dir, n == 0 ? name : CNativePath::FittedName(name, n, NAME_MAX));
        const FileStamp there = FileStamp::Of(path);
        if (!there.IsValid()) {
            if (n > 0)
                break;
            continue;
        }
        if (there.SameData(stamp) && (notBeforeMs <= 0 || ChangeTimeMs(path) >= notBeforeMs))
            return path;
    }
    return {};
}

bool SameBytes(const QByteArray& a, const QByteArray& b) {
    QFile fa(QFile::decodeName(a));
    QFile fb(QFile::decodeName(b));
    if (!fa.open(QIODevice::ReadOnly) || !fb.open(QIODevice::ReadOnly) || fa.size() != fb.size())
        return false;
    while (!fa.atEnd()) {
        const QByteArray chunk = fa.read(1 << 20);
        if (chunk.isEmpty() || chunk != fb.read(chunk.size()))
            return false;
    }
    return true;
}

QByteArray Settle(const SortRecord& record) {
    using State = SortRecord::State;
    QList<SortEntry> entries = record.entries;
    bool bAny = false;
    if (record.state == State::UndoIntent) {
        for (SortEntry& e : entries)
            bAny = SettleBackward(record, e) || bAny;
        return bAny ? sort_lines::Change(record.seq, LineCode::Undone, entries)
                    : sort_lines::Change(record.seq, LineCode::TakenBack);
    }
    for (SortEntry& e : entries)
        bAny = SettleForward(record, e) || bAny;
    if (record.state == State::RedoIntent)
        return bAny ? sort_lines::Change(record.seq, LineCode::Redone, entries)
                    : sort_lines::Change(record.seq, LineCode::TakenBack);
    return bAny ? sort_lines::Change(record.seq, LineCode::Done, entries)
                : sort_lines::Change(record.seq, LineCode::Failed);
}

} // namespace action_reconciler
