#pragma once

#include "sorting/journal/SortRecord.h"

// Settles an action the journal left unfinished (the program ended between announcing a
// file operation and recording its outcome) by looking at the disk: where the file is
// now tells whether the operation ran. A half-made move across devices (the copy made, the
// original not yet removed) is taken back, so that no file is left twice.
namespace action_reconciler {

// The journal line that records the outcome of `record`, which is in one of the intent
// states.
QByteArray Settle(const SortRecord& record);

// Where a file that was moved or copied under `name` into `dir` is now: the name itself or
// a numbered name beside it ("keep both"), holding the same data as `stamp`. Empty if none.
QByteArray FindArrived(const QByteArray& dir, const QByteArray& name, const FileStamp& stamp,
                       qint64 notBeforeMs = 0);

// True when the two files hold the same bytes.
bool SameBytes(const QByteArray& a, const QByteArray& b);

} // namespace action_reconciler
