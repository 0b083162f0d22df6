#pragma once

#include "sorting/journal/SortRecord.h"

#include <QString>

class CFileOperations;

// Undo and redo of one file of a recorded action, each whole or not at all: the file goes
// back to its source (or forward to its target) together with the file it replaced there,
// which comes back from the trash on undo and goes to the trash again on redo. Each
// returns why it could not be done, empty when it was; the entry then tells where the
// files are now.
namespace entry_steps {

QString Undo(const SortRecord& record, SortEntry& entry, CFileOperations& ops);
QString Redo(const SortRecord& record, SortEntry& entry, CFileOperations& ops);

// Why a file cannot be taken from `path` any more, empty when it still is the file that
// was left there (`stamp`). `what` names it in the message.
QString ChangedSince(const QByteArray& path, const FileStamp& stamp, const QString& what);

} // namespace entry_steps
