#include "sorting/journal/UndoTexts.h"

#include <QCoreApplication>
#include <QSet>

#include "platform/system/CNativePath.h"

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
    return QCoreApplication::translate("UndoTexts", "%1 and %2 more")
        .arg(first)
        .arg(paths.size() - 1);
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

// How many pictures there are among an action's files: a companion has the stem (the name
// up to its first dot) of its picture.
qsizetype PictureCount(const QList<QByteArray>& paths) {
    QSet<QByteArray> stems;
    for (const QByteArray& path : paths) {
        const QByteArray name = CNativePath::FileName(path);
        const qsizetype dot = name.indexOf('.', 1);
        stems.insert(dot > 0 ? name.left(dot) : name);
    }
    return stems.size();
}

// The files an action took: its picture and the companions that went with it ("a.jpg and 2
// companion files"), or its pictures ("12 pictures", "12 pictures and 3 companion files").
QString FileNames(const SortRecord& r) {
    const QList<QByteArray> paths = Sources(r, true);
    if (const qsizetype pictures = PictureCount(paths); pictures > 1) {
        const qsizetype others = paths.size() - pictures;
        const QString text = QCoreApplication::translate("UndoTexts", "%1 pictures").arg(pictures);
        if (others == 0)
            return text;
        return others == 1
                   ? QCoreApplication::translate("UndoTexts", "%1 and 1 companion file").arg(text)
                   : QCoreApplication::translate("UndoTexts", "%1 and %2 companion files")
                         .arg(text)
                         .arg(others);
    }
    if (paths.size() <= 1)
        return Names(paths);
    const QString first = CNativePath::Display(CNativePath::FileName(paths.first()));
    return paths.size() == 2
               ? QCoreApplication::translate("UndoTexts", "%1 and 1 companion file").arg(first)
               : QCoreApplication::translate("UndoTexts", "%1 and %2 companion files")
                     .arg(first)
                     .arg(paths.size() - 1);
}

} // namespace

QString KindName(CFileAction::Kind kind) {
    switch (kind) {
    case Kind::Move:
        return QCoreApplication::translate("UndoTexts", "Move");
    case Kind::Copy:
        return QCoreApplication::translate("UndoTexts", "Copy");
    case Kind::Trash:
        return QCoreApplication::translate("UndoTexts", "Move to Trash");
    case Kind::Delete:
        return QCoreApplication::translate("UndoTexts", "Delete");
    case Kind::Rename:
        return QCoreApplication::translate("UndoTexts", "Rename");
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
    const QString what =
        KindName(r.kind) + QCoreApplication::translate("UndoTexts", " of ") + FileNames(r);
    switch (r.kind) {
    case Kind::Move:
    case Kind::Copy:
        return what + QCoreApplication::translate("UndoTexts", " to ") + DestinationName(r.dest);
    case Kind::Rename:
        return what + QCoreApplication::translate("UndoTexts", " to ") +
               CNativePath::Display(r.dest);
    case Kind::Trash:
    case Kind::Delete:
        break;
    }
    return what;
}

QString WhyNot(const SortRecord& r) {
    if (r.kind == Kind::Delete)
        return QCoreApplication::translate("UndoTexts", "it was deleted outright");
    if (!AnyDone(r))
        return QCoreApplication::translate("UndoTexts", "where the file went is not known");
    if (r.kind == Kind::Trash)
        return QCoreApplication::translate("UndoTexts", "it is no longer in the trash");
    return QCoreApplication::translate("UndoTexts", "it cannot be undone");
}

QString UndoItem(const SortRecord* record, bool bAvailable) {
    if (!bAvailable)
        return QCoreApplication::translate("UndoTexts", "Undo Unavailable (no journal)");
    if (!record)
        return QCoreApplication::translate("UndoTexts", "&Undo");
    return QCoreApplication::translate("UndoTexts", "&Undo ") + Describe(*record);
}

QString RedoItem(const SortRecord* record) {
    return record ? QCoreApplication::translate("UndoTexts", "&Redo ") + Describe(*record)
                  : QCoreApplication::translate("UndoTexts", "&Redo");
}

QString Performed(const SortRecord& r, bool bUndoable) {
    QString text;
    const QString files = FileNames(r);
    switch (r.kind) {
    case Kind::Move:
        text = QCoreApplication::translate("UndoTexts", "Moved %1 to %2")
                   .arg(files, DestinationName(r.dest));
        break;
    case Kind::Copy:
        text = QCoreApplication::translate("UndoTexts", "Copied %1 to %2")
                   .arg(files, DestinationName(r.dest));
        break;
    case Kind::Rename:
        text = QCoreApplication::translate("UndoTexts", "Renamed %1 to %2")
                   .arg(files, CNativePath::Display(r.dest));
        break;
    case Kind::Trash:
        text = QCoreApplication::translate("UndoTexts", "Trashed %1").arg(files);
        break;
    case Kind::Delete:
        return QCoreApplication::translate("UndoTexts", "Deleted %1 — it cannot be undone")
            .arg(files);
    }
    // A companion that stayed behind (skipped, or it failed and the user was told why).
    if (const QList<QByteArray> left = Sources(r, false); !left.isEmpty())
        text += QCoreApplication::translate("UndoTexts", "; %1 stayed").arg(Names(left));
    return bUndoable ? text + QCoreApplication::translate("UndoTexts", " — Ctrl+Z to undo") : text;
}

QString StepDone(const SortRecord& r, bool bUndo) {
    return (bUndo ? QCoreApplication::translate("UndoTexts", "Undone: ")
                  : QCoreApplication::translate("UndoTexts", "Redone: ")) +
           Describe(r);
}

QString Stranded(const QList<QByteArray>& files) {
    if (files.isEmpty())
        return {};
    const QString text =
        files.size() == 1
            ? QCoreApplication::translate(
                  "UndoTexts",
                  "  %1 could not be put back and stays in \"%2\", outside the action.")
            : QCoreApplication::translate(
                  "UndoTexts",
                  "  %1 could not be put back and stay in \"%2\", outside the action.");
    return text.arg(Names(files), CNativePath::Display(CNativePath::DirName(files.first())));
}

QString StateName(const SortRecord& r) {
    using State = SortRecord::State;
    switch (r.state) {
    case State::Done:
        return AnyDone(r) || r.kind == Kind::Delete
                   ? QCoreApplication::translate("UndoTexts", "done")
                   : QCoreApplication::translate("UndoTexts", "done, file not found");
    case State::Failed:
        return QCoreApplication::translate("UndoTexts", "failed");
    case State::Undone:
    case State::Dropped:
        return QCoreApplication::translate("UndoTexts", "undone");
    case State::Skipped:
        return QCoreApplication::translate("UndoTexts", "skipped");
    case State::Damaged:
        return QCoreApplication::translate("UndoTexts", "damaged in the journal");
    case State::Intent:
    case State::UndoIntent:
    case State::RedoIntent:
        break;
    }
    return QCoreApplication::translate("UndoTexts", "unfinished");
}

} // namespace undo_texts
