#pragma once

#include "sorting/journal/SortRecord.h"

#include <QString>

// The words the undo commands, the status bar and the history use for recorded actions.
namespace undo_texts {

// "Move of DSC_0001.jpg to Keep", "Copy of ...", "Delete of DSC_0001.jpg",
// "Rename of a.jpg to b.jpg".
QString Describe(const SortRecord& record);
// The name of the action alone: "Move", "Copy", "Move to Trash", "Delete", "Rename".
QString KindName(CFileAction::Kind kind);
// The destination as the user knows it: the folder's own name ("Keep" for /pics/Keep/).
QString DestinationName(const QByteArray& dest);
// Why an action cannot be undone: "it was deleted outright", ...
QString WhyNot(const SortRecord& record);

// The menu texts: "Undo Move of DSC_0001.jpg to Keep", "Can't Undo Delete of x.jpg", "Undo".
QString UndoItem(const SortRecord* record, bool bAvailable);
QString RedoItem(const SortRecord* record);

// The status message after an action: "Moved DSC_0001.jpg to Keep — Ctrl+Z to undo".
QString Performed(const SortRecord& record, bool bUndoable);
// After an undo or redo: "Undone: Move of DSC_0001.jpg to Keep".
QString StepDone(const SortRecord& record, bool bUndo);
// After an undo or redo that failed and was taken back, for the files that could not go
// back: "  a.xmp could not be put back and stays in /pics, outside the action."
QString Stranded(const QList<QByteArray>& files);
// The state of a record as the history lists it.
QString StateName(const SortRecord& record);

} // namespace undo_texts
