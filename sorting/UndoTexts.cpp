#include "sorting/UndoTexts.h"

#include "platform/CNativePath.h"

namespace undo_texts {
namespace {

using Kind = CFileAction::Kind;

bool AnyDone(const SortRecord& r) {
    for (const SortEntry& e : r.entries)
        if (!e.target.isEmpty())
            return true;
    return false;
}

// "a.jpg", or "a.jpg and 2 more".
QString Names(const QList<QByteArray>& paths) {
    if (paths.isEmpty())
        return {};
    const QString first = CNativePath::Display(CNativePath::FileName(paths.first()));
    if (paths.size() == 1)
        return first;
    return QStringLiteral("%1 and %2 more").arg(first).arg(paths.size() - 1);
}

// The files the action took (all of them while that is not known), or those it left.
QList<QByteArray> Sources(const SortRecord& r, bool bTaken) {
    const bool bKnown = AnyDone(r);
    QList<QByteArray> paths;
    for (const SortEntry& e : r.entries)
        if (bKnown ? e.target.isEmpty() != bTaken : bTaken)
            paths.append(e.source);
    return paths;
}

QString FileNames(const SortRecord& r) {
    return Names(Sources(r, true));
}

} // namespace

QString KindName(CFileAction::Kind kind) {
    switch (kind) {
    case Kind::Move:
        return QStringLiteral("Move");
    case Kind::Copy:
        return QStringLiteral("Copy");
    case Kind::Trash:
        return QStringLiteral("Move to Trash");
    case Kind::Delete:
        return QStringLiteral("Delete");
    case Kind::Rename:
        return QStringLiteral("Rename");
    }
    return {};
}

QString DestinationName(const QByteArray& dest) {
    QByteArray dir = dest;
    while (dir.size() > 1 && dir.endsWith('/'))
        dir.chop(1);
    const QByteArray name = CNativePath::FileName(dir);
    return CNativePath::Display(name.isEmpty() ? dir : name);
}

QString Describe(const SortRecord& r) {
    const QString what = KindName(r.kind) + QStringLiteral(" of ") + FileNames(r);
    switch (r.kind) {
    case Kind::Move:
    case Kind::Copy:
        return what + QStringLiteral(" to ") + DestinationName(r.dest);
    case Kind::Rename:
        return what + QStringLiteral(" to ") + CNativePath::Display(r.dest);
    case Kind::Trash:
    case Kind::Delete:
        break;
    }
    return what;
}

QString WhyNot(const SortRecord& r) {
    if (r.kind == Kind::Delete)
        return QStringLiteral("it was deleted outright");
    if (!AnyDone(r))
        return QStringLiteral("where the file went is not known");
    if (r.kind == Kind::Trash)
        return QStringLiteral("it is no longer in the trash");
    return QStringLiteral("it cannot be undone");
}

QString UndoItem(const SortRecord* record, bool bAvailable) {
    if (!bAvailable)
        return QStringLiteral("Undo Unavailable (no journal)");
    if (!record)
        return QStringLiteral("&Undo");
    return QStringLiteral("&Undo ") + Describe(*record);
}

QString RedoItem(const SortRecord* record) {
    return record ? QStringLiteral("&Redo ") + Describe(*record) : QStringLiteral("&Redo");
}

QString Performed(const SortRecord& r, bool bUndoable) {
    QString text;
    const QString files = FileNames(r);
    switch (r.kind) {
    case Kind::Move:
        text = QStringLiteral("Moved %1 to %2").arg(files, DestinationName(r.dest));
        break;
    case Kind::Copy:
        text = QStringLiteral("Copied %1 to %2").arg(files, DestinationName(r.dest));
        break;
    case Kind::Rename:
        text = QStringLiteral("Renamed %1 to %2").arg(files, CNativePath::Display(r.dest));
        break;
    case Kind::Trash:
        text = QStringLiteral("Moved %1 to the trash").arg(files);
        break;
    case Kind::Delete:
        return QStringLiteral("Deleted %1 — it cannot be undone").arg(files);
    }
    // A companion that stayed behind (skipped, or it failed and the user was told why).
    if (const QList<QByteArray> left = Sources(r, false); !left.isEmpty())
        text += QStringLiteral("; %1 stayed").arg(Names(left));
    return bUndoable ? text + QStringLiteral(" — Ctrl+Z to undo") : text;
}

QString StepDone(const SortRecord& r, bool bUndo) {
    return (bUndo ? QStringLiteral("Undone: ") : QStringLiteral("Redone: ")) + Describe(r);
}

QString Stranded(const QList<QByteArray>& files) {
    if (files.isEmpty())
        return {};
    return QStringLiteral("  %1 could not be put back and %2 in \"%3\", outside the action.")
        .arg(Names(files), files.size() == 1 ? QStringLiteral("stays") : QStringLiteral("stay"),
             CNativePath::Display(CNativePath::DirName(files.first())));
}

QString StateName(const SortRecord& r) {
    using State = SortRecord::State;
    switch (r.state) {
    case State::Done:
        return AnyDone(r) || r.kind == Kind::Delete ? QStringLiteral("done")
                                                    : QStringLiteral("done, file not found");
    case State::Failed:
        return QStringLiteral("failed");
    case State::Undone:
    case State::Dropped:
        return QStringLiteral("undone");
    case State::Skipped:
        return QStringLiteral("skipped");
    case State::Damaged:
        return QStringLiteral("damaged in the journal");
    case State::Intent:
    case State::UndoIntent:
    case State::RedoIntent:
        break;
    }
    return QStringLiteral("unfinished");
}

} // namespace undo_texts
